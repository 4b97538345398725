#pragma once
#include "calendar/calendar_types.h"
#include "platform/win_color.h"

#include <QString>
#include <QTime>
#include <array>

// A font as the page stores it: the five values of a font record in a calendar file.
struct TCalFont {
    QString name = QStringLiteral("Times New Roman");
    int size = 10; // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
    TColor color = clBlack;

    bool operator==(const TCalFont&) const = default;
    // Fonts of two pages count as the same when name, style and colour agree (not size).
    bool sameLook(const TCalFont& o) const
    {
        return name == o.name && bold == o.bold && italic == o.italic && underline == o.underline
            && strikeout == o.strikeout && color == o.color;
    }
};

// Every setting of a page, as plain values. Defaults are the page's constructor values.
struct TCalendarSettings {
    TCalendarLayout CalendarLayout = TCalendarLayout::loFullCalendar;
    TCalendarOrientation CalendarOrientation = TCalendarOrientation::coPortrait;
    TCalendarLineLayout CalendarLineLayout = TCalendarLineLayout::llFull;
    TMiniCalendarLineLayout MiniCalendarLineLayout = TMiniCalendarLineLayout::mllFull;
    TCalBorderStyle CalendarBorder = TCalBorderStyle::cbAll;
    TCalBorderStyle HeadersBorder = TCalBorderStyle::cbAll;
    TCalBorderStyle CellBorder = TCalBorderStyle::cbAll;
    TCalHeadersStyle HeadersStyle = TCalHeadersStyle::dsThreeChars;
    TCalHeadersStyle MiniHeadersStyle = TCalHeadersStyle::dsFirstChar;
    TCalendarNumberPosition NumberPosition = TCalendarNumberPosition::cnpUpperRight;
    bool TitleShowYear = true;
    bool MiniShowYear = true;
    TColor TitleBGColor = clWhite;
    TColor HeadersBGColor = clWhite;
    TColor MiniHeadersBGColor = clWhite;
    TColor MiniCalBGColor = clWhite;
    TCalBorderStyle MiniCalBorder = TCalBorderStyle::cbAll;
    TCalBorderStyle MiniHeadersBorder = TCalBorderStyle::cbBottom;
    TCalBorderStyle MiniCellBorder = TCalBorderStyle::cbNone;
    TCalFont TitleFont{QStringLiteral("Times New Roman"), 26, true};
    TCalFont HeadersFont{QStringLiteral("Times New Roman"), 16, true};
    TCalFont CellFont{QStringLiteral("Times New Roman"), 16, true};
    TCalFont MiniTitleFont{QStringLiteral("Times New Roman"), 6, true};
    TCalFont MiniHeadersFont{QStringLiteral("Times New Roman"), 8, false, false, false, false, clWhite};
    TCalFont MiniCellFont{QStringLiteral("Times New Roman"), 6};
    int MainCalMonth = 1;
    int MainCalYear = 1997;
    int MainCalDay = 0;
    int StartOfWeek = 1; // 1 = Sunday, anything else = Monday
    float LeftMarginInch = 0.25f;
    float TopMarginInch = 0.25f;
    float RightMarginInch = 0.25f;
    float BottomMarginInch = 0.25f;
    QString UserTitle;
    QString WMFBorderFile;
    quint8 PaperSize = 0; // 0 Letter, 1 A4
    QTime StartingTime{8, 0};
    std::array<QString, 12> MonthNames;
    std::array<QString, 7> DayNames; // 1 = Sunday
};
