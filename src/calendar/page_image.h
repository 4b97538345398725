#pragma once
// The page as the screen shows it, drawn onto an image: by the page widget, and at start by
// a worker thread while the window that will show the page is built.
#include "calendar/calendar_renderer.h"
#include "calendar/grid_image_cache.h"
#include "richtext/rtf_image_cache.h"

#include <QImage>
#include <QSize>

class TCalendarPage;

// What the drawings of a page keep, copied when the page is drawn again unchanged.
struct TPagePixels {
    GridImageCache grids;
    TWPRtfImageCache cells;
};

// A cell's text drawn into its free area, one pixel larger each way, on white, through the
// kept pixels; on screen a mark tells that the text goes on beyond the cell.
void PaintCellText(QPainter& p, const TCalendarPage& page, int cell, const TRect& rFree, TPageTarget target,
                   float zoom, bool printing, TWPRtfImageCache& cells);

// The size in pixels of the page's sheet at zoom.
QSize PageImageSize(const TCalendarPage& page, float zoom);

// Draws the page without its placed objects onto image, which is made anew at size unless it
// has that size and nobody else holds it (a page image is megabytes, and fresh memory costs
// more than drawing over the last one).
void DrawPageImage(QImage& image, QSize size, TCalendarPage& page, float zoom, const CellTextPainter& cellText,
                   TPageTarget target, TPagePixels& kept);
