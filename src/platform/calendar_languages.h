#pragma once
#include <QString>
#include <QStringList>

// The month and day names in the five languages the program offers; the calendar
// properties dialog and floating calendars share them. Day names start with Sunday.
// The German Friday keeps the trailing blank it always had, so existing calendars
// compare equal.
struct TCalendarLanguage {
    QString buttonCaption;
    QStringList monthNames; // 12
    QStringList dayNames; // 7
};

enum class TCalendarLanguageId { English, French, German, Italian, Spanish };
constexpr int kCalendarLanguageCount = 5;

const TCalendarLanguage& calendarLanguage(TCalendarLanguageId id);
