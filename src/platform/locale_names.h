#pragma once
#include <QString>

// The locale's long month name, 1..12 (empty outside).
QString LocaleLongMonthName(int month);
// The locale's long day name, 1 = Sunday .. 7 = Saturday (empty outside).
QString LocaleLongDayName(int day);
// The locale's AM and PM designators ("AM"/"PM" when the locale has none).
QString LocaleAmString();
QString LocalePmString();
