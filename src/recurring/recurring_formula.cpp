#include "recurring_formula.h"

#include "platform/locale_names.h"

#include <QLocale>

namespace {

const char* const kEnglishMonths[12] = {"January", "February", "March",     "April",   "May",      "June",
                                        "July",    "August",   "September", "October", "November", "December"};
const char* const kEnglishShortDays[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

// Strict decimal: optional sign and at least one digit, nothing else. Field widths are
// tiny, so overflow cannot happen.
bool parseDecimal(const QString& text, int& value)
{
    const QString s = TrimBlanks(text);
    int i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-'))) {
        negative = s[i] == QLatin1Char('-');
        ++i;
    }
    if (i >= s.size() || s.size() - i > 9)
        return false;
    int v = 0;
    for (; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
        v = v * 10 + (c.unicode() - '0');
    }
    value = negative ? -v : v;
    return true;
}

// Positions first..first+count-1 (1-based), as much of them as the string holds.
QString positions(const QString& s, int first, int count)
{
    if (first - 1 >= s.size())
        return {};
    return s.mid(first - 1, count);
}

} // namespace

QString PadField(const QString& s, int n)
{
    if (n <= 0)
        return {};
    if (s.size() >= n) {
        QString cut = s.left(n);
        // Never leave half of a surrogate pair at the end of the field.
        if (cut.at(n - 1).isHighSurrogate())
            cut[n - 1] = QLatin1Char(' ');
        return cut;
    }
    return s + QString(n - s.size(), QLatin1Char(' '));
}

QString TrimBlanks(const QString& s)
{
    int first = 0;
    int last = int(s.size()) - 1;
    while (first <= last && s[first] == QLatin1Char(' '))
        ++first;
    while (last >= first && s[last] == QLatin1Char(' '))
        --last;
    return s.mid(first, last - first + 1);
}

QString MakeDayOfMonthFormula(int day, int month)
{
    return QLatin1Char('@') + QString::asprintf("%2.2d", month) + QString::asprintf("%2.2d", day);
}

bool ParseDayOfMonthFormula(const QString& formula, int& day, int& month)
{
    int d = 0;
    int m = 0;
    if (!parseDecimal(positions(formula, 4, 2), d) || !parseDecimal(positions(formula, 2, 2), m))
        return false;
    day = d;
    month = m;
    return true;
}

QString MakeNthWeekdayFormula(int occurrence, int weekday, int month)
{
    return QLatin1Char('$') + PadField(QString::number(occurrence), 2) + PadField(QString::number(weekday), 2)
        + PadField(QString::number(month), 2);
}

bool ParseNthWeekdayFormula(const QString& formula, int& occurrence, int& weekday, int& month)
{
    int o = 0;
    int w = 0;
    int m = 0;
    if (!parseDecimal(positions(formula, 2, 2), o) || !parseDecimal(positions(formula, 4, 2), w)
        || !parseDecimal(positions(formula, 6, 2), m))
        return false;
    occurrence = o;
    weekday = w;
    month = m;
    return true;
}

QString OrdinalText(int n)
{
    QString suffix = QStringLiteral("th");
    if (n < 11 || n > 19) {
        switch ((n < 0 ? -n : n) % 10) {
        case 1: suffix = QStringLiteral("st"); break;
        case 2: suffix = QStringLiteral("nd"); break;
        case 3: suffix = QStringLiteral("rd"); break;
        default: break;
        }
    }
    return QString::number(n) + suffix;
}

QString RecurringMonthName(int month)
{
    if (month < 1 || month > 12)
        return {};
    const QString name = LocaleLongMonthName(month);
    return name.isEmpty() ? QString::fromLatin1(kEnglishMonths[month - 1]) : name;
}

QString RecurringShortDayName(int day)
{
    if (day < 1 || day > 7)
        return {};
    // Qt numbers Monday = 1 .. Sunday = 7.
    const int qtDay = day == 1 ? 7 : day - 1;
    const QString name = QLocale().dayName(qtDay, QLocale::ShortFormat);
    return name.isEmpty() ? QString::fromLatin1(kEnglishShortDays[day - 1]) : name;
}

QString DayOfMonthFormulaText(const QString& formula)
{
    int day = 0;
    int month = 0;
    if (!ParseDayOfMonthFormula(formula, day, month) || month < 0 || month > 12)
        return {};
    return OrdinalText(day) + QStringLiteral(" of ")
        + (month == 0 ? QStringLiteral("Each Month") : RecurringMonthName(month));
}

QString NthWeekdayFormulaText(const QString& formula)
{
    int occurrence = 0;
    int weekday = 0;
    int month = 0;
    if (!ParseNthWeekdayFormula(formula, occurrence, weekday, month) || weekday < 0 || weekday > 7 || month < 0
        || month > 12)
        return {};
    QString text = occurrence == 5 ? QStringLiteral("Last ") : OrdinalText(occurrence + 1) + QLatin1Char(' ');
    if (weekday == 7)
        text += QStringLiteral("Day ");
    else
        text += RecurringShortDayName(weekday + 1) + QStringLiteral(" of ");
    text += month == 0 ? QStringLiteral("Each Month") : RecurringMonthName(month);
    return text;
}

QString WeekdaysFormulaText(const QString& formula)
{
    const QString days = TrimBlanks(positions(formula, 2, 9));
    QString text;
    for (int d = 1; d <= 7; ++d) {
        if (days.contains(QChar(QLatin1Char('0' + d))))
            text += RecurringShortDayName(d) + QLatin1Char(',');
    }
    if (!text.isEmpty())
        text.chop(1);
    return text;
}

QString RecurringEntryText(const QString& entry)
{
    const QChar type = RecurringEntryType(entry);
    const QString formula = RecurringEntryFormula(entry);
    QString readable;
    if (type == kNthWeekdayType)
        readable = NthWeekdayFormulaText(formula);
    else if (type == kWeekdaysType)
        readable = WeekdaysFormulaText(formula);
    else if (type == kDayOfMonthType)
        readable = DayOfMonthFormulaText(formula);
    else
        return RecurringEntryName(entry);
    return TrimBlanks(RecurringEntryName(entry)) + QStringLiteral(" (") + readable + QLatin1Char(')');
}

QString MakeRecurringEntry(const QString& name, const QString& formula)
{
    return PadField(name, kRecurringNameLength) + PadField(formula, kRecurringFormulaLength);
}

QChar RecurringEntryType(const QString& entry)
{
    return entry.size() > kRecurringNameLength ? entry.at(kRecurringNameLength) : QChar();
}

QString RecurringEntryName(const QString& entry) { return entry.left(kRecurringNameLength); }

QString RecurringEntryFormula(const QString& entry)
{
    return positions(entry, kRecurringNameLength + 1, kRecurringFormulaLength);
}

QString RecurringEntryKeyword(const QString& entry)
{
    return TrimBlanks(positions(entry, kRecurringNameLength + 1, kRecurringKeywordLength)).toUpper();
}
