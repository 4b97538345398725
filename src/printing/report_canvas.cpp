#include "report_canvas.h"

#include "platform/numeric.h"
#include "printing/print_error.h"

#include <QPainter>

TReportCanvas::TReportCanvas(QPainter& painter, int xdpi, int ydpi, std::function<void()> newPage)
    : m_painter(painter), m_xdpi(xdpi), m_ydpi(ydpi), m_newPage(std::move(newPage))
{
}

int TReportCanvas::XD(double inches) const { return truncToInt(inches * m_xdpi); }

int TReportCanvas::YD(double inches) const { return truncToInt(inches * m_ydpi); }

QRect TReportCanvas::RectToDots(const QRectF& inches) const
{
    const int l = XD(inches.left()), t = YD(inches.top()), r = XD(inches.right()), b = YD(inches.bottom());
    return QRect(l, t, r - l, b - t);
}

int TReportCanvas::PenWidthDots(int width) const
{
    if (width >= 0)
        return width;
    return std::max(1, truncToInt(-width / 100.0 * m_xdpi));
}

void TReportCanvas::StretchDraw(const QRectF& inches, const QSizeF& sourceSize,
                                const std::function<void(QPainter&)>& paint)
{
    if (sourceSize.width() <= 0 || sourceSize.height() <= 0)
        return;
    const QRect target = RectToDots(inches);
    m_painter.save();
    m_painter.translate(target.topLeft());
    m_painter.scale(target.width() / sourceSize.width(), target.height() / sourceSize.height());
    try {
        paint(m_painter);
    } catch (...) {
        m_painter.restore();
        throw;
    }
    m_painter.restore();
}

void TReportCanvas::NewPage()
{
    if (m_newPage)
        m_newPage();
    ++m_page;
}
