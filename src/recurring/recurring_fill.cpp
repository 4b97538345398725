#include "recurring_fill.h"

#include "recurring_formula.h"

int RecurringWeekday(int year, int month, int day)
{
    if (day < 1 || day > DaysInMonth(month, year))
        return 0;
    return WeekdayOf(year, month, day);
}

QDate EasterDate(int year)
{
    if (year < 1)
        return {};
    // The anonymous Gregorian computation (Meeus/Jones/Butcher): exact for every
    // Gregorian year, where shorter rules only hold for 1900-2099.
    const int a = year % 19;
    const int b = year / 100;
    const int c = year % 100;
    const int d = b / 4;
    const int e = b % 4;
    const int f = (b + 8) / 25;
    const int g = (b - f + 1) / 3;
    const int h = (19 * a + b - d - g + 15) % 30;
    const int i = c / 4;
    const int k = c % 4;
    const int l = (32 + 2 * e + 2 * i - h - k) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    const int month = (h + l - 7 * m + 114) / 31;
    const int day = (h + l - 7 * m + 114) % 31 + 1;
    return QDate(year, month, day);
}

namespace {

int dayIfInMonth(const QDate& date, int month) { return date.isValid() && date.month() == month ? date.day() : 0; }

int keywordDay(const QString& keyword, int year, int month)
{
    if (keyword == kEasterKeyword)
        return EasterDayInMonth(year, month);
    if (keyword == kGoodFridayKeyword)
        return GoodFridayInMonth(year, month);
    if (keyword == kPalmSundayKeyword)
        return PalmSundayInMonth(year, month);
    return 0;
}

void placeNthWeekday(QList<RecurringPlacement>& out, const QString& name, int occurrence, int weekday, int year,
                     int month)
{
    const int n = DaysInMonth(month, year);
    int day = 0;
    if (weekday == 7) {
        day = occurrence == 5 ? n : occurrence + 1;
    } else if (weekday >= 0 && weekday <= 6) {
        const int wanted = weekday + 1;
        const int count = occurrence + 1;
        if (count == 6) {
            for (int d = n; d >= 1 && day == 0; --d) {
                if (RecurringWeekday(year, month, d) == wanted)
                    day = d;
            }
        } else if (count >= 1 && count <= 5) {
            int seen = 0;
            for (int d = 1; d <= n && day == 0; ++d) {
                if (RecurringWeekday(year, month, d) == wanted && ++seen == count)
                    day = d;
            }
        }
    }
    if (day >= 1 && day <= n)
        out.append({day, name});
}

} // namespace

int EasterDayInMonth(int year, int month) { return dayIfInMonth(EasterDate(year), month); }

int PalmSundayInMonth(int year, int month)
{
    const QDate easter = EasterDate(year);
    return easter.isValid() ? dayIfInMonth(easter.addDays(-7), month) : 0;
}

int GoodFridayInMonth(int year, int month)
{
    const QDate easter = EasterDate(year);
    return easter.isValid() ? dayIfInMonth(easter.addDays(-2), month) : 0;
}

QStringList FilterRecurringEntries(const QStringList& lines, int year, int month)
{
    QStringList kept;
    for (const QString& line : lines) {
        if (line.size() <= kRecurringNameLength) {
            kept.append(line);
            continue;
        }
        const QChar type = RecurringEntryType(line);
        bool keep = true;
        if (type == kKeywordType) {
            const QString keyword = RecurringEntryKeyword(line);
            if (keyword == kEasterKeyword || keyword == kGoodFridayKeyword || keyword == kPalmSundayKeyword)
                keep = keywordDay(keyword, year, month) != 0;
        } else if (type == kNthWeekdayType) {
            int o = 0, w = 0, mo = 0;
            keep = ParseNthWeekdayFormula(RecurringEntryFormula(line), o, w, mo) && (mo == month || mo == 0);
        } else if (type == kDayOfMonthType) {
            int d = 0, mo = 0;
            keep = ParseDayOfMonthFormula(RecurringEntryFormula(line), d, mo) && (mo == month || mo == 0);
        }
        if (keep)
            kept.append(line);
    }
    return kept;
}

QList<RecurringPlacement> PlaceRecurringEntry(const QString& line, int year, int month)
{
    QList<RecurringPlacement> out;
    const int n = DaysInMonth(month, year);
    if (n == 0)
        return out;
    const QChar type = RecurringEntryType(line);
    const QString formula = RecurringEntryFormula(line);
    if (type == kKeywordType) {
        const int day = keywordDay(RecurringEntryKeyword(line), year, month);
        if (day > 0)
            out.append({day, RecurringEntryName(line)});
    } else if (type == kDayOfMonthType) {
        int day = 0, mo = 0;
        // Only days of the month: a hand-edited day 0 or 45 must not land in a cell that
        // shows no date.
        if (ParseDayOfMonthFormula(formula, day, mo) && (mo == month || mo == 0) && day >= 1 && day <= n)
            out.append({day, TrimBlanks(RecurringEntryName(line))});
    } else if (type == kNthWeekdayType) {
        int o = 0, w = 0, mo = 0;
        if (ParseNthWeekdayFormula(formula, o, w, mo) && (mo == month || mo == 0))
            placeNthWeekday(out, TrimBlanks(RecurringEntryName(line)), o, w, year, month);
    } else if (type == kWeekdaysType) {
        const QString name = RecurringEntryName(line);
        for (int d = 1; d <= n; ++d) {
            if (formula.contains(QString::number(RecurringWeekday(year, month, d))))
                out.append({d, name});
        }
    }
    return out;
}

QList<RecurringPlacement> ComputeRecurringPlacements(const QStringList& chosenLines, int year, int month)
{
    QList<RecurringPlacement> out;
    for (const QString& line : chosenLines)
        out.append(PlaceRecurringEntry(line, year, month));
    return out;
}

RecurringFillResult ComputeRecurringFill(const QStringList& storeLines, int year, int month)
{
    RecurringFillResult result;
    result.candidates = FilterRecurringEntries(storeLines, year, month);
    result.noMatch = result.candidates.isEmpty();
    if (!result.noMatch)
        result.placements = ComputeRecurringPlacements(result.candidates, year, month);
    return result;
}
