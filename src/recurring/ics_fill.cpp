#include "ics_fill.h"

#include <algorithm>
#include <tuple>

namespace {

struct DayRange {
    QDate first;
    QDate last;
};

// The days of the month an occurrence covers (first > last when none).
DayRange coveredDays(const IcsOccurrence& o, int year, int month)
{
    QDate last = o.end.date();
    if (o.allDay || (o.end > o.start && o.end.time() == QTime(0, 0)))
        last = last.addDays(-1); // the end is exclusive
    const QDate monthFirst(year, month, 1);
    const QDate monthLast = monthFirst.addDays(monthFirst.daysInMonth() - 1);
    return {std::max(o.start.date(), monthFirst), std::min(std::max(last, o.start.date()), monthLast)};
}

struct OrderedPlacement {
    RecurringPlacement placement;
    bool timed; // the first day of a timed occurrence
    QDateTime start;
    int event;
    int sequence;

    auto key() const { return std::tie(placement.day, timed, start, placement.text, event, sequence); }
};

} // namespace

QList<RecurringPlacement> ComputeIcsPlacements(const QList<IcsEvent>& events, const QList<int>& chosen, int year,
                                               int month, const QLocale& locale)
{
    std::vector<OrderedPlacement> all;
    int sequence = 0;
    for (int e : chosen) {
        if (e < 0 || e >= events.size())
            continue;
        for (const IcsOccurrence& o : events[e].occurrences) {
            const DayRange days = coveredDays(o, year, month);
            for (QDate d = days.first; d <= days.last; d = d.addDays(1)) {
                const bool timed = !o.allDay && d == o.start.date();
                const QString text =
                    timed ? locale.toString(o.start.time(), QLocale::ShortFormat) + QLatin1Char(' ') + o.summary : o.summary;
                all.push_back({{d.day(), text}, timed, o.start, e, sequence++});
            }
        }
    }
    std::stable_sort(all.begin(), all.end(),
                     [](const OrderedPlacement& a, const OrderedPlacement& b) { return a.key() < b.key(); });
    QList<RecurringPlacement> out;
    out.reserve(qsizetype(all.size()));
    for (const OrderedPlacement& p : all)
        out.append(p.placement);
    return out;
}

QList<RecurringPlacement> ComputeIcsPlacements(const QList<IcsEvent>& events, int year, int month,
                                               const QLocale& locale)
{
    QList<int> every;
    for (int i = 0; i < events.size(); ++i)
        every.append(i);
    return ComputeIcsPlacements(events, every, year, month, locale);
}

QList<int> IcsEventOrder(const QList<IcsEvent>& events)
{
    QList<int> order;
    for (int i = 0; i < events.size(); ++i)
        order.append(i);
    auto firstStart = [&](int i) { return events[i].occurrences.isEmpty() ? QDateTime() : events[i].occurrences.first().start; };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return std::make_tuple(firstStart(a), events[a].summary, a) < std::make_tuple(firstStart(b), events[b].summary, b);
    });
    return order;
}

QString IcsEventRowText(const IcsEvent& event, int year, int month)
{
    QList<int> days;
    for (const IcsOccurrence& o : event.occurrences) {
        const DayRange range = coveredDays(o, year, month);
        for (QDate d = range.first; d <= range.last; d = d.addDays(1))
            days.append(d.day());
    }
    std::sort(days.begin(), days.end());
    days.erase(std::unique(days.begin(), days.end()), days.end());
    QStringList runs;
    for (int i = 0; i < days.size();) {
        int j = i;
        while (j + 1 < days.size() && days[j + 1] == days[j] + 1)
            ++j;
        runs.append(j > i ? QStringLiteral("%1\u2013%2").arg(days[i]).arg(days[j]) : QString::number(days[i]));
        i = j + 1;
    }
    return event.summary + QStringLiteral(" (") + runs.join(QStringLiteral(", ")) + QLatin1Char(')');
}
