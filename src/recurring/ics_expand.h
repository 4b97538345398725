#pragma once
// The occurrences of one VEVENT around a month, through libical (used by the
// iCalendar reader only; nothing outside this module sees libical).
#include "ics_reader.h"

#include <libical/ical.h>

#include <QDate>
#include <QList>
#include <QSet>

// The shown month in local dates.
struct IcsWindow {
    QDate first;
    QDate last;
};

// Counts the work of one file against its limits.
class IcsWorkBudget {
public:
    explicit IcsWorkBudget(const IcsLimits& limits)
        : m_limits(limits)
    {
    }
    // Starts a rule whose expansion needs about `steps` steps; false when that is
    // already more than a rule or the rest of the file may use.
    bool startRule(qint64 steps);
    // One step of the running rule; false past a limit.
    bool step();
    // One value of a list property (RDATE, EXDATE); false past the file's limit.
    bool listEntry();
    // One more occurrence in the month; false past the limit.
    bool addOccurrence();
    int occurrenceLimit() const { return m_limits.occurrences; }

private:
    IcsLimits m_limits;
    qint64 m_rule = 0;
    qint64 m_file = 0;
    int m_occurrences = 0;
};

// Starts that are not occurrences: EXDATE values and the RECURRENCE-IDs of moved
// occurrences.
struct IcsExclusions {
    QSet<qint64> instants; // exact starts, as seconds (zoned starts in UTC)
    QSet<qint64> dates; // whole days, as Julian day numbers of the event's own dates
    void add(const icaltimetype& t);
    bool contains(const icaltimetype& t) const;
};

// The value of a date or date-time property with its time zone resolved (a VTIMEZONE of
// the file, else a zone of the system with that name); a null time when it has none.
icaltimetype IcsPropertyTime(icalproperty* prop, icalcomponent* event);

// Seconds of a libical time on its own clock: UTC for zoned times, the wall clock as
// written for floating times and dates.
qint64 IcsSeconds(const icaltimetype& t);

// The event's occurrences that touch the window, converted to local time and ordered
// by start. `summary` is given to each occurrence. Throws EIcsError (naming the event)
// when the event has no start, or when its rules exceed the budget.
QList<IcsOccurrence> ExpandIcsEvent(icalcomponent* event, const QString& summary, const IcsWindow& window,
                                    const IcsExclusions& excluded, IcsWorkBudget& budget);
