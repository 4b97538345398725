#pragma once
// The calendar's own date arithmetic (proleptic Gregorian, weekday 1 = Sunday .. 7 = Saturday).

bool IsLeapYear(int year);
int DaysInMonth(int month, int year);
// 1 = Sunday .. 7 = Saturday.
int WeekdayOf(int year, int month, int day);
// Position (1..7) of the 1st of the month in the first week row.
int FirstDayPosition(int month, int year, int startOfWeek);
// Day number shown in grid cell (row, column from 0), or 0 when outside the month.
int DayOfGridCell(int row, int column, int month, int year, int startOfWeek);
// Moves (month, year) by n months, one month at a time.
void ShiftMonth(int& month, int& year, int n);
// Day-name index (1 = Sunday) shown in header column c (from 0).
int DayNameIndexOfColumn(int column, int startOfWeek);
