#pragma once
#include "calendar/calendar_print.h"
#include "calendar/calendar_panel.h"
#include "printing/report_canvas.h"

#include <QImage>
#include <QPainter>

namespace ovtest {

// A page printed onto a white picture at a printer resolution (the top `inches` of it),
// with the cells as printed.
struct PrintedPage {
    QImage image;
    TDrawnCalendar cells;
};

inline PrintedPage printToImage(TCalendarPanel32& page, int dpi, double inches = 11.0)
{
    PrintedPage out;
    const TLayoutGeometry& g = page.layoutGeometry();
    const int w = int(double(g.PageWidthPx) / g.ppi * dpi);
    const int h = std::min(int(double(g.PageHeightPx) / g.ppi * dpi), int(inches * dpi));
    out.image = QImage(w, h, QImage::Format_RGB32);
    out.image.fill(Qt::white);
    // Placed objects take the resolution from the device.
    out.image.setDotsPerMeterX(qRound(dpi / 0.0254));
    out.image.setDotsPerMeterY(qRound(dpi / 0.0254));
    QPainter p(&out.image);
    TReportCanvas canvas(p, dpi, dpi, {});
    PrintOnReport(canvas, page, 0, 0, page.cellTextPainter(), &out.cells);
    return out;
}

} // namespace ovtest
