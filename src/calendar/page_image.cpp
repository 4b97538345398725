#include "page_image.h"

#include "calendar/calendar_page.h"
#include "imaging/large_image.h"
#include "platform/numeric.h"
#include "richtext/rtf_storage.h"

#include <QPainter>
#include <algorithm>

void PaintCellText(QPainter& p, const TCalendarPage& page, int cell, const TRect& rFree, TPageTarget target,
                   float zoom, bool printing, TWPRtfImageCache& cells)
{
    const TWPRtfStorage* store = page.CellStorage(cell);
    if (!store)
        return;
    const QRect area(rFree.Left, rFree.Top, rFree.width() + 1, rFree.height() + 1);
    const TWPRenderResult shown = cells.render(p, area, *store, truncToInt(double(zoom) * 100.0),
                                               printing ? TWPDisplayMode::Print : TWPDisplayMode::Screen);
    if (shown.textContinues && target == TPageTarget::Screen && !printing)
        DrawMoreTextMark(p, area, zoom);
}

QSize PageImageSize(const TCalendarPage& page, float zoom)
{
    const TLayoutGeometry& g = page.layoutGeometry();
    return {truncToInt(g.PageWidthPx * double(zoom)), truncToInt(g.PageHeightPx * double(zoom))};
}

void DrawPageImage(QImage& image, QSize size, TCalendarPage& page, float zoom, const CellTextPainter& cellText,
                   TPageTarget target, TPagePixels& kept)
{
    size = size.expandedTo(QSize(1, 1));
    if (image.size() != size || !image.isDetached())
        image = NewLargeImage(size, QImage::Format_RGB32);
    if (!QRect(QPoint(0, 0), PageImageSize(page, zoom)).contains(image.rect()))
        image.fill(Qt::white); // the page paints its white sheet itself
    {
        QPainter p(&image);
        PaintCalendarPage(p, page, zoom, cellText, target, &kept.grids);
    }
    kept.cells.sweep();
}
