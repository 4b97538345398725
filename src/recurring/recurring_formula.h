#pragma once
#include <QChar>
#include <QString>

// A recurring entry is one line: the event's name in a 120-character field followed by
// a 10-character formula. Positions below are 0-based string indexes.
inline constexpr int kRecurringNameLength = 120;
inline constexpr int kRecurringFormulaLength = 10;
// "#GOODFRIDAY" and "#PALMSUNDAY" are one character longer than the formula field.
inline constexpr int kRecurringKeywordLength = 11;

// Formula types (the first character of the formula).
inline constexpr QChar kDayOfMonthType = QLatin1Char('@');
inline constexpr QChar kNthWeekdayType = QLatin1Char('$');
inline constexpr QChar kWeekdaysType = QLatin1Char('%');
inline constexpr QChar kKeywordType = QLatin1Char('#');

inline const QString kEasterKeyword = QStringLiteral("#EASTER");
inline const QString kGoodFridayKeyword = QStringLiteral("#GOODFRIDAY");
inline const QString kPalmSundayKeyword = QStringLiteral("#PALMSUNDAY");

// s left-aligned in a field of n characters: padded with blanks, cut to n.
QString PadField(const QString& s, int n);
// s without leading and trailing blanks (only the blank character counts).
QString TrimBlanks(const QString& s);

// "@" + month "%2.2d" + day "%2.2d"; month 0 means every month.
QString MakeDayOfMonthFormula(int day, int month);
// Day from positions 4..5, month from 2..3 (1-based), blanks trimmed; false when
// either is not a decimal integer (an empty field is not).
bool ParseDayOfMonthFormula(const QString& formula, int& day, int& month);

// "$" + the three numbers each left-aligned in two characters. occurrence 0..4 is the
// 1st..5th, 5 the last; weekday 0..6 is Sunday..Saturday, 7 any day; month 0 = every.
QString MakeNthWeekdayFormula(int occurrence, int weekday, int month);
bool ParseNthWeekdayFormula(const QString& formula, int& occurrence, int& weekday, int& month);

// 1st, 2nd, 3rd, 4th, 11th, 12th, 13th, 21st ...
QString OrdinalText(int n);

// The names used in readable texts: the locale's long month name (1..12) and
// abbreviated day name (1 = Sunday .. 7 = Saturday), English when the locale has none.
QString RecurringMonthName(int month);
QString RecurringShortDayName(int day);

// Readable texts of the formulas ("1st of April", "Last Sun of October", "Mon,Wed,Fri").
// Empty when a field cannot be read.
QString DayOfMonthFormulaText(const QString& formula);
QString NthWeekdayFormulaText(const QString& formula);
QString WeekdaysFormulaText(const QString& formula);

// How every list shows an entry: "Mother's Day (2nd Sun of May)"; "#" entries and
// entries of unknown type show their name field as it is.
QString RecurringEntryText(const QString& entry);

// PadField(name, 120) + PadField(formula, 10).
QString MakeRecurringEntry(const QString& name, const QString& formula);
// The type character at position 121, or a null QChar when the entry is shorter.
QChar RecurringEntryType(const QString& entry);
// Positions 1..120 as they are (blanks included).
QString RecurringEntryName(const QString& entry);
// Positions 121..130.
QString RecurringEntryFormula(const QString& entry);
// Positions 121..131, blanks trimmed, in capitals ("#EASTER").
QString RecurringEntryKeyword(const QString& entry);
