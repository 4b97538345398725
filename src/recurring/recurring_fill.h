#pragma once
#include "calendar/calendar_dates.h" // IsLeapYear, DaysInMonth(month, year)
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

// Gregorian date arithmetic; weekdays are 1 = Sunday .. 7 = Saturday.
int RecurringWeekday(int year, int month, int day);

// Easter Sunday of the Gregorian calendar for any year (invalid QDate for year < 1).
QDate EasterDate(int year);
// The day of the feast when it falls in the given month, else 0.
int EasterDayInMonth(int year, int month);
int PalmSundayInMonth(int year, int month);
int GoodFridayInMonth(int year, int month);

// One name written into one day of the month.
struct RecurringPlacement {
    int day = 0;
    QString text;
    bool operator==(const RecurringPlacement& o) const { return day == o.day && text == o.text; }
};

inline const QString kNoRecurringMatchMessage = QStringLiteral("No predefined dates match the current month");

// The store lines that can fall in the month, in store order. Lines of 120 characters
// or fewer, "%" lines, "#" lines with an unknown keyword and lines of unknown type
// stay; "$" and "@" lines whose formula cannot be read are dropped (they place nothing).
QStringList FilterRecurringEntries(const QStringList& lines, int year, int month);

// The days one line places in the month, in placing order. The name is trimmed for
// "$" and "@" lines and passed as stored (trailing blanks included) for "#" and "%".
QList<RecurringPlacement> PlaceRecurringEntry(const QString& line, int year, int month);

// Every placement of the chosen lines, line after line, in the given order.
QList<RecurringPlacement> ComputeRecurringPlacements(const QStringList& chosenLines, int year, int month);

struct RecurringFillResult {
    // True when no store line can fall in the month: the caller shows
    // kNoRecurringMatchMessage and places nothing.
    bool noMatch = false;
    QStringList candidates; // the filtered lines, offered to the user in this order
    QList<RecurringPlacement> placements; // with every candidate chosen
};

// The whole fill with every candidate chosen (what the command-line tool prints).
RecurringFillResult ComputeRecurringFill(const QStringList& storeLines, int year, int month);
