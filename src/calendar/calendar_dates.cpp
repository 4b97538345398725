#include "calendar_dates.h"

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int month, int year)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return days[month - 1] + ((month == 2 && IsLeapYear(year)) ? 1 : 0);
}

int WeekdayOf(int year, int month, int day)
{
    // Sakamoto's method, valid for any Gregorian year (negative years too).
    static const int t[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (month < 1 || month > 12)
        return 1;
    long long y = year;
    if (month < 3)
        y -= 1;
    auto floorDiv = [](long long a, long long b) { return a >= 0 ? a / b : -((-a + b - 1) / b); };
    long long w = (y + floorDiv(y, 4) - floorDiv(y, 100) + floorDiv(y, 400) + t[month - 1] + day) % 7;
    if (w < 0)
        w += 7;
    return int(w) + 1; // 0 = Sunday
}

int FirstDayPosition(int month, int year, int startOfWeek)
{
    const int w = WeekdayOf(year, month, 1);
    if (startOfWeek == 1)
        return w;
    return w == 1 ? 7 : w - 1;
}

int DayOfGridCell(int row, int column, int month, int year, int startOfWeek)
{
    const int d = 7 * row + column + 2 - FirstDayPosition(month, year, startOfWeek);
    return (d >= 1 && d <= DaysInMonth(month, year)) ? d : 0;
}

void ShiftMonth(int& month, int& year, int n)
{
    for (; n > 0; --n) {
        if (++month > 12) {
            month = 1;
            ++year;
        }
    }
    for (; n < 0; ++n) {
        if (--month < 1) {
            month = 12;
            --year;
        }
    }
}

int DayNameIndexOfColumn(int column, int startOfWeek)
{
    if (startOfWeek == 1)
        return column + 1;
    return column <= 5 ? column + 2 : 1;
}
