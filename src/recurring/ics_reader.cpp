#include "ics_reader.h"

#include "ics_expand.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// Time zones of a file that libical could be made to expand without end are not used;
// times in them fall back to the system's zone of the same name, else to floating time.
constexpr int kMaxTimezones = 100;
constexpr int kMaxObservances = 200;
constexpr int kMaxRuleYears = 20'000; // years of yearly changes one zone may expand
constexpr int kLastZoneYear = 2038;

const QString kNotICalendar = QStringLiteral("it is not an iCalendar file");
const QString kDamaged = QStringLiteral("the iCalendar file is damaged or incomplete");
constexpr int kMaxSummaryLength = 200;

// libical must report errors, never abort the program.
void makeLibicalErrorsNonFatal()
{
    static const bool done = [] {
        icalerror_set_errors_are_fatal(0);
        for (int e = ICAL_BADARG_ERROR; e <= ICAL_UNKNOWN_ERROR; ++e)
            icalerror_set_error_state(icalerrorenum(e), ICAL_ERROR_NONFATAL);
        return true;
    }();
    (void)done;
}

// iCalendar is UTF-8; a few programs write UTF-16 with a byte-order mark.
QByteArray utf8Text(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return bytes.mid(3);
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder decode(bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
        return QString(decode(bytes.mid(2))).toUtf8();
    }
    return bytes;
}

bool startsLikeICalendar(const QByteArray& text)
{
    int i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n'))
        ++i;
    return text.mid(i, 15).toUpper() == "BEGIN:VCALENDAR";
}

QString cleanSummary(const char* text)
{
    QString s = QString::fromUtf8(text ? text : "");
    for (QChar& c : s) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = QLatin1Char(' ');
    }
    s = s.simplified();
    if (s.size() > kMaxSummaryLength)
        s = s.left(kMaxSummaryLength - 1) + QChar(0x2026);
    return s.isEmpty() ? kIcsNoTitle : s;
}

template <typename F>
void forEachChild(icalcomponent* parent, icalcomponent_kind kind, F f)
{
    std::vector<icalcomponent*> children; // collected first: f may remove a child
    for (icalcomponent* c = icalcomponent_get_first_component(parent, kind); c;
         c = icalcomponent_get_next_component(parent, kind))
        children.push_back(c);
    for (icalcomponent* c : children)
        f(c);
}

int listSize(const short* list, int capacity)
{
    int n = 0;
    while (n < capacity && list[n] != ICAL_RECURRENCE_ARRAY_MAX)
        ++n;
    return n;
}

// Real zones change their offset at most once a year per observance; anything else
// could make libical expand millions of changes.
bool isYearlyChangeRule(const icalrecurrencetype& r)
{
    return r.freq == ICAL_YEARLY_RECURRENCE && listSize(r.by_month, ICAL_BY_MONTH_SIZE) <= 1
        && listSize(r.by_day, ICAL_BY_DAY_SIZE) <= 1 && listSize(r.by_month_day, ICAL_BY_MONTHDAY_SIZE) <= 7
        && listSize(r.by_second, ICAL_BY_SECOND_SIZE) == 0 && listSize(r.by_minute, ICAL_BY_MINUTE_SIZE) == 0
        && listSize(r.by_hour, ICAL_BY_HOUR_SIZE) == 0 && listSize(r.by_year_day, ICAL_BY_YEARDAY_SIZE) == 0
        && listSize(r.by_week_no, ICAL_BY_WEEKNO_SIZE) == 0 && listSize(r.by_set_pos, ICAL_BY_SETPOS_SIZE) == 0;
}

bool isUsableTimezone(icalcomponent* zone)
{
    int observances = 0;
    qint64 ruleYears = 0;
    for (icalcomponent* o = icalcomponent_get_first_component(zone, ICAL_ANY_COMPONENT); o;
         o = icalcomponent_get_next_component(zone, ICAL_ANY_COMPONENT)) {
        const icalcomponent_kind kind = icalcomponent_isa(o);
        if (kind != ICAL_XSTANDARD_COMPONENT && kind != ICAL_XDAYLIGHT_COMPONENT)
            continue;
        if (++observances > kMaxObservances)
            return false;
        icalproperty* start = icalcomponent_get_first_property(o, ICAL_DTSTART_PROPERTY);
        const int firstYear = start ? icalproperty_get_dtstart(start).year : 0;
        for (icalproperty* p = icalcomponent_get_first_property(o, ICAL_RRULE_PROPERTY); p;
             p = icalcomponent_get_next_property(o, ICAL_RRULE_PROPERTY)) {
            if (!isYearlyChangeRule(icalproperty_get_rrule(p)))
                return false;
            ruleYears += std::max(0, kLastZoneYear - firstYear);
        }
    }
    return observances > 0 && ruleYears <= kMaxRuleYears;
}

void dropUnusableTimezones(icalcomponent* calendar, int& kept)
{
    forEachChild(calendar, ICAL_VTIMEZONE_COMPONENT, [&](icalcomponent* zone) {
        if (kept < kMaxTimezones && isUsableTimezone(zone)) {
            ++kept;
            return;
        }
        icalcomponent_remove_component(calendar, zone);
        icalcomponent_free(zone);
    });
}

// libical keeps a property it cannot read as an X-LIC-ERROR naming it.
void checkReadable(icalcomponent* event, const QString& summary)
{
    static const QRegularExpression named(QStringLiteral(" in ([A-Z-]+) property"));
    static const QStringList essential = {QStringLiteral("DTSTART"), QStringLiteral("DTEND"),
                                          QStringLiteral("DURATION"), QStringLiteral("RRULE"),
                                          QStringLiteral("RDATE"), QStringLiteral("EXDATE"),
                                          QStringLiteral("RECURRENCE-ID")};
    for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_XLICERROR_PROPERTY); p;
         p = icalcomponent_get_next_property(event, ICAL_XLICERROR_PROPERTY)) {
        const QRegularExpressionMatch m = named.match(QString::fromUtf8(icalproperty_get_xlicerror(p)));
        if (m.hasMatch() && essential.contains(m.captured(1)))
            throw EIcsError(QStringLiteral("the event \"%1\" is damaged (its %2 cannot be read)")
                                .arg(summary, m.captured(1)));
    }
}

// A VEVENT with what the reader needs of it.
struct EventRecord {
    icalcomponent* comp = nullptr;
    QString summary;
    QString uid;
    bool cancelled = false;
    bool moved = false; // has a RECURRENCE-ID: replaces one occurrence of its series
    icaltimetype recurrenceId = icaltime_null_time();
};

EventRecord recordOf(icalcomponent* comp)
{
    EventRecord r;
    r.comp = comp;
    r.summary = cleanSummary(icalcomponent_get_summary(comp));
    checkReadable(comp, r.summary);
    r.uid = QString::fromUtf8(icalcomponent_get_uid(comp));
    r.cancelled = icalcomponent_get_status(comp) == ICAL_STATUS_CANCELLED;
    if (icalproperty* id = icalcomponent_get_first_property(comp, ICAL_RECURRENCEID_PROPERTY)) {
        r.recurrenceId = IcsPropertyTime(id, comp);
        r.moved = !icaltime_is_null_time(r.recurrenceId);
    }
    return r;
}

std::vector<icalcomponent*> calendarsOf(icalcomponent* root)
{
    std::vector<icalcomponent*> out;
    if (icalcomponent_isa(root) == ICAL_VCALENDAR_COMPONENT)
        out.push_back(root);
    else
        forEachChild(root, ICAL_VCALENDAR_COMPONENT, [&](icalcomponent* c) { out.push_back(c); });
    return out;
}

// Series and their moved occurrences become one event each; cancelled series and
// cancelled occurrences are dropped.
QList<IcsEvent> collectEvents(const std::vector<EventRecord>& records, const IcsWindow& window, IcsWorkBudget& budget)
{
    QHash<QString, size_t> seriesOf; // UID -> index of its first series record
    for (size_t i = 0; i < records.size(); ++i) {
        if (!records[i].moved && !records[i].uid.isEmpty() && !seriesOf.contains(records[i].uid))
            seriesOf.insert(records[i].uid, i);
    }
    std::vector<IcsExclusions> excluded(records.size());
    for (size_t i = 0; i < records.size(); ++i) {
        const EventRecord& r = records[i];
        for (icalproperty* p = icalcomponent_get_first_property(r.comp, ICAL_EXDATE_PROPERTY); p;
             p = icalcomponent_get_next_property(r.comp, ICAL_EXDATE_PROPERTY)) {
            if (!budget.listEntry())
                throw EIcsError(QStringLiteral("the event \"%1\" repeats too often to be shown").arg(r.summary));
            excluded[i].add(IcsPropertyTime(p, r.comp));
        }
        if (r.moved && seriesOf.contains(r.uid))
            excluded[seriesOf.value(r.uid)].add(r.recurrenceId);
    }

    QList<IcsEvent> events;
    std::vector<int> eventOf(records.size(), -1);
    for (size_t i = 0; i < records.size(); ++i) {
        const EventRecord& r = records[i];
        const bool attached = r.moved && seriesOf.contains(r.uid);
        const size_t owner = attached ? seriesOf.value(r.uid) : i;
        if (r.cancelled || records[owner].cancelled)
            continue;
        const QList<IcsOccurrence> occurrences = ExpandIcsEvent(r.comp, r.summary, window, excluded[i], budget);
        if (occurrences.isEmpty())
            continue;
        if (eventOf[owner] < 0) {
            eventOf[owner] = int(events.size());
            events.append(IcsEvent{records[owner].summary, {}});
        }
        IcsEvent& e = events[eventOf[owner]];
        e.occurrences.append(occurrences);
        std::stable_sort(e.occurrences.begin(), e.occurrences.end(),
                         [](const IcsOccurrence& a, const IcsOccurrence& b) { return a.start < b.start; });
    }
    return events;
}

} // namespace

QList<IcsEvent> ReadIcsMonth(const QByteArray& bytes, int year, int month, const IcsLimits& limits)
{
    makeLibicalErrorsNonFatal();
    const QByteArray text = utf8Text(bytes);
    if (!startsLikeICalendar(text))
        throw EIcsError(kNotICalendar);
    if (text.contains('\0'))
        throw EIcsError(kDamaged);
    const QDate first(year, month, 1);
    if (!first.isValid())
        return {};
    icalerror_clear_errno();
    std::unique_ptr<icalcomponent, void (*)(icalcomponent*)> root(icalparser_parse_string(text.constData()),
                                                                   icalcomponent_free);
    if (!root)
        throw EIcsError(kDamaged);
    const std::vector<icalcomponent*> calendars = calendarsOf(root.get());
    if (calendars.empty())
        throw EIcsError(kDamaged);

    int zones = 0;
    std::vector<EventRecord> records;
    for (icalcomponent* calendar : calendars) {
        dropUnusableTimezones(calendar, zones);
        forEachChild(calendar, ICAL_VEVENT_COMPONENT, [&](icalcomponent* e) { records.push_back(recordOf(e)); });
    }
    IcsWorkBudget budget(limits);
    return collectEvents(records, IcsWindow{first, first.addDays(first.daysInMonth() - 1)}, budget);
}

QList<IcsEvent> ReadIcsFileMonth(const QString& fileName, int year, int month)
{
    const QString prefix = QStringLiteral("Unable to open ") + fileName;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EIcsError(prefix);
    if (file.size() > kMaxIcsFileBytes)
        throw EIcsError(prefix + QStringLiteral(": the file is too large"));
    const QByteArray bytes = file.read(kMaxIcsFileBytes + 1);
    if (bytes.size() > kMaxIcsFileBytes) // a device or a file that grew while we read it
        throw EIcsError(prefix + QStringLiteral(": the file is too large"));
    try {
        return ReadIcsMonth(bytes, year, month);
    } catch (const EIcsError& e) {
        throw EIcsError(prefix + QStringLiteral(": ") + e.reason());
    }
}
