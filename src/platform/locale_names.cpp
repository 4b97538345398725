#include "locale_names.h"

#include <QLocale>

QString LocaleLongMonthName(int month)
{
    if (month < 1 || month > 12)
        return {};
    return QLocale().standaloneMonthName(month, QLocale::LongFormat);
}

QString LocaleLongDayName(int day)
{
    if (day < 1 || day > 7)
        return {};
    // Qt numbers Monday = 1 .. Sunday = 7.
    const int qtDay = day == 1 ? 7 : day - 1;
    return QLocale().standaloneDayName(qtDay, QLocale::LongFormat);
}

QString LocaleAmString()
{
    const QString s = QLocale().amText();
    return s.isEmpty() ? QStringLiteral("AM") : s;
}

QString LocalePmString()
{
    const QString s = QLocale().pmText();
    return s.isEmpty() ? QStringLiteral("PM") : s;
}
