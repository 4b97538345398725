#include "super_text_drawing.h"

#include "platform/numeric.h"

#include <QPainter>
#include <cmath>
#include <cstdlib>

namespace supertext {

QPoint shadowOffset(TShadowOrientation orientation, int depth)
{
    switch (orientation) {
    case TShadowOrientation::sdNone: return {0, 0};
    case TShadowOrientation::sdRight: return {depth, 0};
    case TShadowOrientation::sdLeft: return {-depth, 0};
    case TShadowOrientation::sdDownRight: return {depth, depth};
    case TShadowOrientation::sdDownLeft: return {-depth, depth};
    case TShadowOrientation::sdDown: return {0, depth};
    }
    return {0, 0};
}

Metrics computeMetrics(const MetricsInput& in)
{
    Metrics m;
    m.width = in.width;
    m.height = in.height;
    m.textInset = QPoint(in.dx < 0 ? -in.dx : 0, in.dy < 0 ? -in.dy : 0);
    if (m.width <= 5)
        m.width = in.w;
    const int f = in.h + std::abs(in.dy);
    if (in.transparent && !in.bordered && 1.2 * f < m.height)
        m.height = truncToInt(1.2 * f);
    if (m.height < f)
        m.height = f;
    m.textRect = {m.textInset.x() + 5, m.textInset.y(), m.width, m.textInset.y() + in.h};
    m.shadowRect = m.textRect.moved(in.dx, in.dy);
    m.textOrigin = QPoint(m.textRect.Left, m.textRect.Top);
    m.shadowOrigin = QPoint(m.shadowRect.Left, m.shadowRect.Top);
    return m;
}

int mulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    const double v = double(a) * double(b) / double(c);
    return int(v < 0 ? -std::floor(-v + 0.5) : std::floor(v + 0.5));
}

GradientEnds gradientEnds(TFillDirection direction, TColor from, TColor to)
{
    switch (direction) {
    case TFillDirection::gdUp: return {to, from, true};
    case TFillDirection::gdDown: return {from, to, true};
    case TFillDirection::gdLeft: return {to, from, false};
    case TFillDirection::gdRight: break;
    }
    return {from, to, false};
}

QColor gradientBand(const QColor& c0, const QColor& c1, int i)
{
    auto channel = [i](int a, int b) { return std::clamp(a + mulDiv(i, b - a, 255), 0, 255); };
    return QColor(channel(c0.red(), c1.red()), channel(c0.green(), c1.green()), channel(c0.blue(), c1.blue()));
}

QImage buildGradient(QSize size, TFillDirection direction, TColor from, TColor to)
{
    QImage image(std::max(1, size.width()), std::max(1, size.height()), QImage::Format_RGB32);
    const GradientEnds ends = gradientEnds(direction, from, to);
    // toQColor resolves system colours to what they show.
    const QColor c0 = toQColor(ends.first);
    const QColor c1 = toQColor(ends.last);
    const int extent = ends.vertical ? image.height() : image.width();
    QPainter p(&image);
    for (int i = 0; i < 256; ++i) {
        const int begin = mulDiv(i, extent, 256);
        const int end = mulDiv(i + 1, extent, 256);
        if (end <= begin)
            continue;
        const QRect band = ends.vertical ? QRect(0, begin, image.width(), end - begin)
                                         : QRect(begin, 0, end - begin, image.height());
        p.fillRect(band, gradientBand(c0, c1, i));
    }
    return image;
}

QLinearGradient vectorGradient(QSize size, TFillDirection direction, TColor from, TColor to)
{
    const GradientEnds ends = gradientEnds(direction, from, to);
    const QPointF end = ends.vertical ? QPointF(0, size.height()) : QPointF(size.width(), 0);
    QLinearGradient g(QPointF(0, 0), end);
    g.setColorAt(0, toQColor(ends.first));
    g.setColorAt(1, toQColor(ends.last));
    return g;
}

} // namespace supertext
