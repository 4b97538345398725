#pragma once
#include "objects/object_font.h"
#include "platform/win_color.h"
#include "special/flat_calendar_types.h"

#include <QString>
#include <QStringList>
#include <optional>

class QPainter;

// A rectangle by its edges, right and bottom exclusive, as the month drawing measures
// it. Edges may cross in a very small calendar; nothing is drawn where they do.
struct TFlatCalRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool operator==(const TFlatCalRect&) const = default;
};

// Everything one month drawing needs, filled from a floating calendar's properties
// before every drawing. The fonts are already zoomed: their point size is the
// property's size times the zoom, truncated.
struct TFlatCalDrawParams {
    TColor BodyColor = clWhite;
    TColor TitleColor = clWhite;
    int TitleTextHeight = 0; // output: the height of "Wy" in the title font
    int Month = 1;
    int Year = 2000;
    TFlatCalRect CalendarRect; // the object's area less the shadow
    int FirstDayOfWeek = 1; // 1 Sunday, 2 Monday
    TFlatCalBorderStyle CalendarBorderStyle = TFlatCalBorderStyle::fcbAll;
    TObjectFont TitleFont;
    bool ShowYear = false;
    TObjectFont DayNameFont;
    TFlatCalBorderStyle DayNameBorderStyle = TFlatCalBorderStyle::fcbAll;
    TFlatCalHeadersStyle DayNameStyle = TFlatCalHeadersStyle::fdsFirstChar;
    TColor DayNameColor = clWhite;
    TObjectFont CellFont;
    TFlatCalBorderStyle CellBorderStyle = TFlatCalBorderStyle::fcbNone;
    QStringList MonthNames; // 12, January first
    QStringList DayNames;   // 7, Sunday first
    TFlatCalRect TitleRect;   // output
    TFlatCalRect DayNameRect; // output
    bool Transparent = false;
    QString TitleText; // replaces the computed title when not empty
};

// The calendar's part of the object and the shadow's, for a shadow of `depth` pixels
// at zoom 1 toward `position`. No shadow when the depth is below 1 or the calendar
// is transparent.
struct TFlatCalAreas {
    TFlatCalRect calendar;
    std::optional<TFlatCalRect> shadow;
};
TFlatCalAreas flatCalendarAreas(int width, int height, int depth, float zoom, TFlatShadowPosition position,
                                bool transparent);

// Calendar arithmetic of the proleptic Gregorian calendar, for any 32-bit year.
int weekdayOfFirst(int year, int month); // 1 Sunday .. 7 Saturday
int daysInMonth(int year, int month);    // 0 outside 1..12
// The column (1..7) of a weekday (1 Sunday .. 7 Saturday) when weeks start on
// `firstDayOfWeek` (1 Sunday, 2 Monday).
int weekdayColumn(int weekday, int firstDayOfWeek);
// The day name as the header style shows it: first letter, first three, or whole.
QString shortDayName(const QString& name, TFlatCalHeadersStyle style);

// The font of a block at a zoom: the point size truncated after scaling.
TObjectFont zoomedFont(const TObjectFont& font, float zoom, int ppi);

// Draws one month into the block's calendar rectangle and stores the title and
// day-name bands in the block. Sizes are pixels of `ppi` per inch.
void DrawMonth(QPainter& painter, TFlatCalDrawParams& block, int ppi);
// The lines of one border style around (l, t, r, b), in black.
void DrawBandBorder(QPainter& painter, const TFlatCalRect& r, TFlatCalBorderStyle style);
