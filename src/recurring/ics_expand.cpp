#include "ics_expand.h"

#include <QRegularExpression>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>

namespace {

// libical expands a zone's changes only up to this year; asked about a later year it
// expands them again on every call and then applies the last change it found. Later
// years are therefore converted as their calendar twin in 2010..2037.
constexpr int kLastExpandedYear = 2582;
constexpr int kFirstTwinYear = 2010;
constexpr int kLastTwinYear = 2037;

// Events longer than this are taken as this long (some exports write "forever").
constexpr qint64 kMaxEventDays = 3660;

QString eventError(const QString& summary, const QString& what)
{
    return QStringLiteral("the event \"%1\" %2").arg(summary, what);
}

bool isValidTime(const icaltimetype& t)
{
    if (icaltime_is_null_time(t) || t.year < 1 || t.year > 9999 || t.month < 1 || t.month > 12 || t.day < 1
        || t.day > QDate(t.year, t.month, 1).daysInMonth())
        return false;
    return t.is_date || (t.hour >= 0 && t.hour < 24 && t.minute >= 0 && t.minute < 60 && t.second >= 0 && t.second <= 60);
}

QDate dateOf(const icaltimetype& t) { return QDate(t.year, t.month, t.day); }

bool isFloating(const icaltimetype& t) { return !t.is_date && t.zone == nullptr; }

// Seconds of the wall clock as written (a leap second counts as the one before it).
qint64 wallSeconds(const icaltimetype& t)
{
    const qint64 day = dateOf(t).toJulianDay() - QDate(1970, 1, 1).toJulianDay();
    const qint64 time = t.is_date ? 0 : t.hour * 3600 + t.minute * 60 + std::min(t.second, 59);
    return day * 86400 + time;
}

// The year of 2010..2037 whose calendar is the same (leap year, weekday of January 1st).
int calendarTwinYear(int year)
{
    const int weekday = QDate(year, 1, 1).dayOfWeek();
    for (int y = kFirstTwinYear; y <= kLastTwinYear; ++y) {
        if (QDate::isLeapYear(y) == QDate::isLeapYear(year) && QDate(y, 1, 1).dayOfWeek() == weekday)
            return y;
    }
    return kLastTwinYear; // not reached: 28 years of one century hold every calendar
}

qint64 zonedSeconds(icaltimetype t)
{
    qint64 shift = 0;
    if (t.year > kLastExpandedYear) {
        const int twin = calendarTwinYear(t.year);
        shift = (QDate(t.year, 1, 1).toJulianDay() - QDate(twin, 1, 1).toJulianDay()) * 86400;
        t.year = twin;
    }
    return qint64(icaltime_as_timet_with_zone(t, t.zone)) + shift;
}

QDateTime wallClock(const QDate& date, qint64 secondsOfDay)
{
    return QDateTime(date, QTime(0, 0), Qt::UTC).addSecs(secondsOfDay);
}

QDateTime wallClockOf(const icaltimetype& t) { return wallClock(dateOf(t), wallSeconds(t) % 86400); }

QDateTime localWallClock(qint64 utcSeconds)
{
    const QDateTime local = QDateTime::fromSecsSinceEpoch(utcSeconds, Qt::LocalTime);
    return QDateTime(local.date(), local.time(), Qt::UTC);
}

// A time zone name of the system's zone database ("Europe/Berlin"); nothing that could
// name another file.
bool isSystemZoneName(const char* tzid)
{
    static const QRegularExpression name(QStringLiteral("^[A-Za-z][A-Za-z0-9_+-]*(/[A-Za-z0-9_+-]+){0,3}$"));
    const QString text = QString::fromUtf8(tzid);
    return text.size() <= 64 && name.match(text).hasMatch();
}

const icaltimezone* zoneOf(icalproperty* prop, icalcomponent* event)
{
    icalparameter* param = icalproperty_get_first_parameter(prop, ICAL_TZID_PARAMETER);
    const char* tzid = param ? icalparameter_get_tzid(param) : nullptr;
    if (!tzid || !*tzid)
        return nullptr;
    for (icalcomponent* c = event; c; c = icalcomponent_get_parent(c)) {
        if (icaltimezone* zone = icalcomponent_get_timezone(c, tzid))
            return zone;
    }
    return isSystemZoneName(tzid) ? icaltimezone_get_builtin_timezone(tzid) : nullptr;
}

// A time read from a property gets the property's zone unless it is a date or in UTC.
icaltimetype withZone(icaltimetype t, const icaltimezone* zone)
{
    if (!t.is_date && !icaltime_is_utc(t) && zone)
        t.zone = zone;
    return t;
}

qint64 durationSeconds(const icaldurationtype& d)
{
    const qint64 s = qint64(d.weeks) * 604800 + qint64(d.days) * 86400 + qint64(d.hours) * 3600
        + qint64(d.minutes) * 60 + qint64(d.seconds);
    return d.is_neg ? -s : s;
}

// How long each occurrence lasts: whole days for all-day events, seconds otherwise.
struct Span {
    qint64 days = 0;
    qint64 seconds = 0;
};

Span clampSpan(Span span, bool allDay)
{
    if (allDay)
        span.days = std::clamp<qint64>(span.days, 1, kMaxEventDays);
    else
        span.seconds = std::clamp<qint64>(span.seconds, 0, kMaxEventDays * 86400);
    return span;
}

Span spanBetween(const icaltimetype& start, const icaltimetype& end)
{
    Span span;
    if (start.is_date)
        span.days = dateOf(end).toJulianDay() - dateOf(start).toJulianDay();
    else if (start.zone == end.zone || isFloating(start) || isFloating(end))
        span.seconds = wallSeconds(end) - wallSeconds(start);
    else
        span.seconds = zonedSeconds(end) - zonedSeconds(start);
    return clampSpan(span, start.is_date);
}

Span spanOf(const icaldurationtype& d, bool allDay)
{
    const qint64 seconds = durationSeconds(d);
    return clampSpan(allDay ? Span{seconds / 86400, 0} : Span{0, seconds}, allDay);
}

Span eventSpan(icalcomponent* event, const icaltimetype& start)
{
    if (icalproperty* end = icalcomponent_get_first_property(event, ICAL_DTEND_PROPERTY)) {
        const icaltimetype t = IcsPropertyTime(end, event);
        if (isValidTime(t))
            return spanBetween(start, t);
    } else if (icalproperty* duration = icalcomponent_get_first_property(event, ICAL_DURATION_PROPERTY)) {
        return spanOf(icalproperty_get_duration(duration), start.is_date);
    }
    return clampSpan({}, start.is_date); // a day for dates, an instant for times
}

qint64 frequencySeconds(icalrecurrencetype_frequency freq)
{
    switch (freq) {
    case ICAL_SECONDLY_RECURRENCE: return 1;
    case ICAL_MINUTELY_RECURRENCE: return 60;
    case ICAL_HOURLY_RECURRENCE: return 3600;
    case ICAL_DAILY_RECURRENCE: return 86400;
    case ICAL_WEEKLY_RECURRENCE: return 7 * 86400;
    case ICAL_MONTHLY_RECURRENCE: return 28 * 86400;
    default: return 365 * 86400;
    }
}

bool hasFilters(const icalrecurrencetype& r)
{
    for (const short* list : {r.by_second, r.by_minute, r.by_hour, r.by_day, r.by_month_day, r.by_year_day,
                              r.by_week_no, r.by_month, r.by_set_pos}) {
        if (list[0] != ICAL_RECURRENCE_ARRAY_MAX)
            return true;
    }
    return false;
}

// The same kind of time as `like` (date or date-time, same zone) at midnight of `date`.
icaltimetype timeLike(const QDate& date, const icaltimetype& like)
{
    icaltimetype t = like;
    t.year = date.year();
    t.month = date.month();
    t.day = date.day();
    t.hour = t.minute = t.second = 0;
    t.is_daylight = 0;
    return t;
}

struct Expansion {
    icalcomponent* event;
    const QString& summary;
    const IcsWindow& window;
    IcsWorkBudget& budget;
    icaltimetype dtstart;
    Span span;
    QDate seek; // occurrences starting before this day cannot reach the window

    [[noreturn]] void tooOften() const { throw EIcsError(eventError(summary, QStringLiteral("repeats too often to be shown"))); }

    // RRULE: expanded from near the window where libical can start there (no COUNT, and
    // daily or slower: for faster rules it loses the INTERVAL's phase), and never past
    // the window's end, whatever UNTIL says.
    void rule(icalproperty* prop, const std::function<void(const icaltimetype&)>& produce) const
    {
        icalrecurrencetype rule = icalproperty_get_rrule(prop);
        if (rule.freq == ICAL_NO_RECURRENCE)
            throw EIcsError(eventError(summary, QStringLiteral("has a repeat rule that cannot be read")));
        const icaltimetype end = timeLike(window.last.addDays(3), dtstart);
        if (!icaltime_is_null_time(rule.until) && !dtstart.is_date && !rule.until.is_date)
            rule.until = icaltime_convert_to_zone(rule.until, const_cast<icaltimezone*>(dtstart.zone));
        if (!isValidTime(rule.until) || icaltime_compare(rule.until, end) > 0)
            rule.until = end;
        std::unique_ptr<icalrecur_iterator, void (*)(icalrecur_iterator*)> it(icalrecur_iterator_new(rule, dtstart),
                                                                                 icalrecur_iterator_free);
        if (!it)
            return; // a rule that can never occur
        icaltimetype from = dtstart;
        if (rule.count == 0 && rule.freq >= ICAL_DAILY_RECURRENCE && seek.year() >= 1 && dateOf(dtstart) < seek) {
            const icaltimetype near = timeLike(seek, dtstart);
            if (icalrecur_iterator_set_start(it.get(), near))
                from = near;
        }
        if (!budget.startRule(estimatedSteps(rule, from)))
            tooOften();
        for (;;) {
            icaltimetype t = icalrecur_iterator_next(it.get());
            if (icaltime_is_null_time(t) || !isValidTime(t) || wallSeconds(t) > wallSeconds(end))
                break;
            if (!budget.step())
                tooOften();
            // Occurrences are on the wall clock of DTSTART.
            t.is_date = dtstart.is_date;
            t.zone = dtstart.zone;
            if (dateOf(t) >= seek)
                produce(t);
        }
    }

    // Steps of the rule's frequency from `from` to where it ends. libical may search
    // that far for one occurrence when BY parts filter; without them a COUNT rule takes
    // one step per occurrence.
    static qint64 estimatedSteps(const icalrecurrencetype& rule, const icaltimetype& from)
    {
        const qint64 unit = frequencySeconds(rule.freq) * std::max<qint64>(1, rule.interval);
        const qint64 span = std::max<qint64>(0, wallSeconds(rule.until) - wallSeconds(from)) / unit + 1;
        return rule.count > 0 && !hasFilters(rule) ? std::min<qint64>(span, rule.count) : span;
    }

    // RDATE: single starts, or periods with their own length.
    void rdate(icalproperty* prop, const std::function<void(const icaltimetype&, const Span&)>& produce) const
    {
        if (!budget.listEntry())
            tooOften();
        const icaldatetimeperiodtype value = icalproperty_get_rdate(prop);
        const icaltimezone* zone = zoneOf(prop, event);
        if (!icaltime_is_null_time(value.period.start)) {
            const icaltimetype start = withZone(value.period.start, zone);
            if (!isValidTime(start))
                return;
            if (!icaltime_is_null_time(value.period.end) && isValidTime(value.period.end))
                produce(start, spanBetween(start, withZone(value.period.end, zone)));
            else
                produce(start, spanOf(value.period.duration, start.is_date));
        } else {
            const icaltimetype start = withZone(value.time, zone);
            if (isValidTime(start))
                produce(start, span);
        }
    }

    // The occurrence in local time, when it touches the window.
    std::optional<IcsOccurrence> occurrence(const icaltimetype& t, const Span& length) const
    {
        IcsOccurrence o;
        o.summary = summary;
        o.allDay = t.is_date;
        if (t.is_date) {
            o.start = wallClock(dateOf(t), 0);
            o.end = o.start.addDays(length.days);
        } else if (isFloating(t)) {
            o.start = wallClockOf(t);
            o.end = o.start.addSecs(length.seconds);
        } else {
            const qint64 s = zonedSeconds(t);
            o.start = localWallClock(s);
            o.end = localWallClock(s + length.seconds);
        }
        const QDateTime first = wallClock(window.first, 0);
        const QDateTime pastLast = wallClock(window.last.addDays(1), 0);
        if (!o.start.isValid() || o.start >= pastLast || (o.end <= first && o.start < first))
            return std::nullopt;
        return o;
    }
};

} // namespace

bool IcsWorkBudget::startRule(qint64 steps)
{
    m_rule = steps;
    m_file += steps;
    return m_rule <= m_limits.ruleWork && m_file <= m_limits.fileWork;
}

bool IcsWorkBudget::step()
{
    ++m_rule;
    ++m_file;
    return m_rule <= m_limits.ruleWork && m_file <= m_limits.fileWork;
}

bool IcsWorkBudget::listEntry() { return ++m_file <= m_limits.fileWork; }

bool IcsWorkBudget::addOccurrence() { return ++m_occurrences <= m_limits.occurrences; }

void IcsExclusions::add(const icaltimetype& t)
{
    if (!isValidTime(t))
        return;
    if (t.is_date)
        dates.insert(dateOf(t).toJulianDay());
    else
        instants.insert(IcsSeconds(t));
}

bool IcsExclusions::contains(const icaltimetype& t) const
{
    return dates.contains(dateOf(t).toJulianDay()) || (!t.is_date && instants.contains(IcsSeconds(t)));
}

icaltimetype IcsPropertyTime(icalproperty* prop, icalcomponent* event)
{
    const icalvalue* value = icalproperty_get_value(prop);
    if (!value)
        return icaltime_null_time();
    const icalvalue_kind kind = icalvalue_isa(value);
    if (kind != ICAL_DATE_VALUE && kind != ICAL_DATETIME_VALUE)
        return icaltime_null_time();
    return withZone(icalvalue_get_datetime(value), zoneOf(prop, event));
}

qint64 IcsSeconds(const icaltimetype& t) { return t.is_date || !t.zone ? wallSeconds(t) : zonedSeconds(t); }

QList<IcsOccurrence> ExpandIcsEvent(icalcomponent* event, const QString& summary, const IcsWindow& window,
                                    const IcsExclusions& excluded, IcsWorkBudget& budget)
{
    icalproperty* startProp = icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY);
    const icaltimetype dtstart = startProp ? IcsPropertyTime(startProp, event) : icaltime_null_time();
    if (!isValidTime(dtstart))
        throw EIcsError(eventError(summary, QStringLiteral("has no start that can be read")));
    const Span span = eventSpan(event, dtstart);
    const qint64 reach = span.days + span.seconds / 86400 + 1;
    const Expansion ex{event, summary, window, budget, dtstart, span, window.first.addDays(-reach - 2)};

    QList<IcsOccurrence> out;
    QSet<qint64> seen; // RFC 5545: a start produced twice is one occurrence
    auto add = [&](const icaltimetype& t, const Span& length) {
        if (excluded.contains(t))
            return;
        const qint64 key = IcsSeconds(t) * 2 + (t.is_date ? 1 : 0);
        if (seen.contains(key))
            return;
        if (auto o = ex.occurrence(t, length)) {
            if (!budget.addOccurrence())
                throw EIcsError(QStringLiteral("the file has more than %1 entries in this month")
                                    .arg(budget.occurrenceLimit()));
            seen.insert(key);
            out.append(*o);
        }
    };
    add(dtstart, span); // DTSTART is always the first occurrence
    for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY); p;
         p = icalcomponent_get_next_property(event, ICAL_RRULE_PROPERTY))
        ex.rule(p, [&](const icaltimetype& t) { add(t, span); });
    for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY); p;
         p = icalcomponent_get_next_property(event, ICAL_RDATE_PROPERTY))
        ex.rdate(p, add);
    std::stable_sort(out.begin(), out.end(),
                     [](const IcsOccurrence& a, const IcsOccurrence& b) { return a.start < b.start; });
    return out;
}
