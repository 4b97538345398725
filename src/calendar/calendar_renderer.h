#pragma once
#include "calendar/calendar_settings.h"
#include "calendar/drawn_calendar.h"

#include <QFont>
#include <functional>

class GridImageCache;
class QPainter;
class TCalendarPage;

// Everything one month grid or planner drawing needs; filled before each drawing.
struct TCalDrawRecord {
    TColor background = clWhite;
    TColor titleBackground = clWhite;
    int minTitleHeight = 0;
    int month = 1, year = 1997, day = 1;
    TRect rect; // scaled calendar rectangle
    TCalendarNumberPosition numberPosition = TCalendarNumberPosition::cnpUpperRight;
    int startOfWeek = 1;
    TCalBorderStyle calendarBorder = TCalBorderStyle::cbAll;
    TCalFont titleFont; // sizes already scaled
    bool showYear = true;
    TCalFont headersFont;
    TCalBorderStyle headersBorder = TCalBorderStyle::cbAll;
    TCalHeadersStyle headersStyle = TCalHeadersStyle::dsThreeChars;
    TColor headersBackground = clWhite;
    TCalFont cellFont;
    TCalBorderStyle cellBorder = TCalBorderStyle::cbAll;
    std::array<QString, 12> monthNames;
    std::array<QString, 7> dayNames;
    int plannerDays = 7;
    int plannerHours = 10;
    QTime startingTime{8, 0};
    QString titleText; // replaces the generated title when not empty
    int fontPpi = 96; // pixels per inch that point sizes convert with

    // Printing: the report engine's measures replace what the screen measures from its
    // fonts (a negative value: measure as the screen does).
    int headerBandHeight = -1; // height of the day-name band
    int freeTopOffset = -1; // how far below rTotal's top a cell's text area starts
    int plannerTitleHeight = -1; // height of a planner's title band
    int penWidth = 0; // width of every line in device pixels (0: the thinnest line)

    bool operator==(const TCalDrawRecord&) const = default;
};

// Who a page is drawn for. On the screen a cell whose text goes on beyond what it can
// show gets a small mark in its corner; printed, PDF and exported pages never do.
enum class TPageTarget { Screen, Output };

// Paints a day cell's rich text into its free rectangle (the rich-text engine's job).
using CellTextPainter = std::function<void(QPainter&, int cellIndex, const TRect& rFree, TPageTarget target)>;

// The mark of a cell whose text goes on beyond it: a small triangle in the lower right
// corner of the cell's text area.
void DrawMoreTextMark(QPainter& p, const QRect& area, float zoom);

// A font at a point size, in pixels of the given resolution (as the screen sizes fonts).
QFont MakeQFont(const TCalFont& font, int pointSize, int ppi);
int FontPixelHeight(int pointSize, int ppi);

// Day-name header text in a header style.
QString HeaderText(const QString& dayName, TCalHeadersStyle style);

// One month grid (main calendar or mini); writes the cell and band rectangles into out.
void DrawMonthGrid(QPainter& p, const TCalDrawRecord& rec, TDrawnCalendar& out);
// A week or day planner; writes its rows as cells 1..rows into out.
void DrawPlanner(QPainter& p, const TCalDrawRecord& rec, TDrawnCalendar& out);
// Title of a week planner starting on the record's date, or of a day planner.
QString PlannerTitle(const TCalDrawRecord& rec);

TCalDrawRecord MainDrawRecord(const TCalendarPage& page, float zoom);
TCalDrawRecord MiniDrawRecord(const TCalendarPage& page, float zoom);

// The page onto any painter whose origin is the page's corner: white sheet, border
// picture, main calendar or planner with cell texts, minis. Records the cell geometry
// in the page for hit tests. With grids, a page drawn on an image again copies the
// calendars it drew before.
void PaintCalendarPage(QPainter& p, TCalendarPage& page, float zoom, const CellTextPainter& cellText,
                       TPageTarget target = TPageTarget::Output, GridImageCache* grids = nullptr);

// Hook that draws a special-border picture stretched into a rectangle (set by the program
// once a metafile player exists). Returns false when it could not draw.
using BorderPainter = std::function<bool(QPainter&, const QRectF&, const QByteArray&)>;
void setBorderPainter(BorderPainter painter);
// Draws a border picture through the current hook; false when it could not.
bool PaintBorderPicture(QPainter& p, const QRectF& target, const QByteArray& picture);
