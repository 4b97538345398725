#pragma once
// Helpers for the iCalendar tests: calendars written line by line, and the machine's
// time zone set for the duration of a test, so results do not depend on where it runs.
#include "recurring/recurring_fill.h"

#include <QByteArray>
#include <QStringList>

#include <ctime>

namespace ovtest {

// A calendar holding the given lines, each ended by CRLF as RFC 5545 writes them.
inline QByteArray icsCalendar(const QList<QByteArray>& lines)
{
    QByteArray out = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Orvanta tests//EN\r\n";
    for (const QByteArray& line : lines)
        out += line + "\r\n";
    return out + "END:VCALENDAR\r\n";
}

// The European rules under a name no system zone has.
inline const QList<QByteArray> kCustomZone = {
    "BEGIN:VTIMEZONE", "TZID:Custom/Zone",
    "BEGIN:STANDARD", "DTSTART:19701025T030000", "RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU",
    "TZOFFSETFROM:+0200", "TZOFFSETTO:+0100", "END:STANDARD",
    "BEGIN:DAYLIGHT", "DTSTART:19700329T020000", "RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU",
    "TZOFFSETFROM:+0100", "TZOFFSETTO:+0200", "END:DAYLIGHT",
    "END:VTIMEZONE"};

// One VEVENT from its property lines.
inline QList<QByteArray> icsEvent(const QList<QByteArray>& properties)
{
    return QList<QByteArray>{"BEGIN:VEVENT"} + properties + QList<QByteArray>{"END:VEVENT"};
}

// "day<TAB>text" per placement, as orvanta-cli prints them.
inline QStringList placementLines(const QList<RecurringPlacement>& placements)
{
    QStringList out;
    for (const RecurringPlacement& p : placements)
        out.append(QString::number(p.day) + QLatin1Char('\t') + p.text);
    return out;
}

// Sets TZ for the lifetime of the guard.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* zone)
        : m_had(qEnvironmentVariableIsSet("TZ")), m_old(qgetenv("TZ"))
    {
        qputenv("TZ", zone);
        tzset();
    }
    ~ScopedTimeZone()
    {
        if (m_had)
            qputenv("TZ", m_old);
        else
            qunsetenv("TZ");
        tzset();
    }
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

private:
    bool m_had;
    QByteArray m_old;
};

} // namespace ovtest
