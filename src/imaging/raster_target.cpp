#include "raster_target.h"

#include <QPaintEngine>
#include <cmath>

RasterTarget rasterTargetOf(QPainter& painter)
{
    RasterTarget target;
    QPaintDevice* device = painter.device();
    if (!painter.isActive() || !device || device->devType() != QInternal::Image || !painter.paintEngine()
        || painter.paintEngine()->type() != QPaintEngine::Raster)
        return target;
    auto* image = static_cast<QImage*>(device);
    if ((image->format() != QImage::Format_RGB32 && image->format() != QImage::Format_ARGB32_Premultiplied)
        || image->devicePixelRatio() != 1.0)
        return target;
    if (painter.hasClipping() || painter.opacity() != 1.0
        || painter.compositionMode() != QPainter::CompositionMode_SourceOver)
        return target;
    const QTransform t = painter.combinedTransform();
    if (t.type() > QTransform::TxTranslate || t.dx() != std::floor(t.dx()) || t.dy() != std::floor(t.dy()))
        return target;
    target.image = image;
    target.offset = QPoint(int(t.dx()), int(t.dy()));
    target.look = {image->format(), image->dotsPerMeterX(), image->dotsPerMeterY(), int(painter.renderHints()),
                   int(painter.layoutDirection())};
    return target;
}
