#pragma once
#include "calendar/calendar_renderer.h"

class TCalendarPage;
class TReportCanvas;

// Draws the page on a printer or PDF page: the geometry of zoom 1 converted from screen
// pixels to inches (plus the offsets, in inches) and on to the report's dots; fonts at
// their point sizes for the device; day-name band, cell text offset and planner title
// band from the report font's height; lines 1/100 inch wide; minis one screen pixel
// larger to the right and bottom. cellText draws a cell's text into a rectangle of screen
// pixels at zoom 1 (the painter is transformed to the cell's place on the page); only
// cells with text are drawn.
// The cells as printed (in dots) go to printed when given; the page's own record keeps
// the screen geometry for its click tests.
void PrintOnReport(TReportCanvas& report, TCalendarPage& page, double offsetX, double offsetY,
                   const CellTextPainter& cellText, TDrawnCalendar* printed = nullptr);

// The measures the report engine gives the month grid and planner at a resolution.
struct TPrintMeasures {
    int minTitleHeight; // Trunc(dpi × 1.5)
    int headerBandHeight; // Trunc(1.5 × headers font height in dots)
    int freeTopOffset; // Trunc(cell font height in dots)
    int plannerTitleHeight; // Trunc(1.6 × title font height in dots)
};
TPrintMeasures PrintMeasures(const TCalDrawRecord& rec, int dpi);
