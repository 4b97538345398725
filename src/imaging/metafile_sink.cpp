#include "imaging/metafile_sink.h"

#include <QFontMetricsF>
#include <QPaintEngine>
#include <cmath>

namespace {

bool isRasterOp(QPainter::CompositionMode m)
{
    return m >= QPainter::RasterOp_SourceOrDestination;
}

// Dashing a very long outline makes the stroker produce millions of segments; such
// input only comes from damaged files, so those outlines are drawn solid instead.
QPen tamedPen(QPen pen, const QRectF& bounds, int elementCount)
{
    if (pen.style() == Qt::SolidLine || pen.style() == Qt::NoPen)
        return pen;
    const qreal unit = std::max<qreal>(1.0, pen.widthF());
    const qreal extent = (bounds.width() + bounds.height()) * std::max(1, elementCount);
    if (!std::isfinite(extent) || extent / unit > 200000.0)
        pen.setStyle(Qt::SolidLine);
    return pen;
}

} // namespace

MetafilePainterSink::MetafilePainterSink(QPainter& painter) : p_(painter)
{
    p_.save(); // the state the picture started from; setClip() returns to it
    p_.save();
    if (QPaintEngine* engine = p_.paintEngine())
        rasterOps_ = engine->hasFeature(QPaintEngine::RasterOpModes);
    p_.setRenderHint(QPainter::Antialiasing, true);
    p_.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

MetafilePainterSink::~MetafilePainterSink()
{
    p_.restore();
    p_.restore();
}

void MetafilePainterSink::setClip(const std::optional<QPainterPath>& clip)
{
    p_.restore();
    p_.save();
    p_.setRenderHint(QPainter::Antialiasing, true);
    p_.setRenderHint(QPainter::SmoothPixmapTransform, true);
    if (clip)
        p_.setClipPath(*clip, p_.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
}

bool MetafilePainterSink::applyPaint(const MetafilePaint& paint, bool stroke, bool fill)
{
    if (isRasterOp(paint.mode) && !rasterOps_) {
        // Printers and PDF cannot combine with what is already there. AND/OR with
        // the pen keep the shape; inverting effects are left out.
        if (paint.mode != QPainter::RasterOp_SourceAndDestination
            && paint.mode != QPainter::RasterOp_SourceOrDestination)
            return false;
        p_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    } else {
        p_.setCompositionMode(paint.mode);
    }
    p_.setPen(stroke ? paint.pen : QPen(Qt::NoPen));
    p_.setBrush(fill ? paint.brush : QBrush(Qt::NoBrush));
    p_.setBackgroundMode(paint.opaqueBackground ? Qt::OpaqueMode : Qt::TransparentMode);
    p_.setBackground(paint.background);
    return true;
}

void MetafilePainterSink::drawPolygon(const QPolygonF& polygon, Qt::FillRule rule,
                                      const MetafilePaint& paint)
{
    MetafilePaint tamed = paint;
    tamed.pen = tamedPen(paint.pen, polygon.boundingRect(), int(polygon.size()));
    if (!applyPaint(tamed, true, true))
        return;
    p_.drawPolygon(polygon, rule);
}

void MetafilePainterSink::drawPolyline(const QPolygonF& polyline, const MetafilePaint& paint)
{
    MetafilePaint tamed = paint;
    tamed.pen = tamedPen(paint.pen, polyline.boundingRect(), int(polyline.size()));
    if (!applyPaint(tamed, true, false))
        return;
    p_.drawPolyline(polyline);
}

void MetafilePainterSink::drawPath(const QPainterPath& path, const MetafilePaint& paint)
{
    MetafilePaint tamed = paint;
    tamed.pen = tamedPen(paint.pen, path.boundingRect(), path.elementCount());
    if (!applyPaint(tamed, true, true))
        return;
    p_.drawPath(path);
}

void MetafilePainterSink::drawText(const MetafileText& t)
{
    if (t.text.isEmpty() && !t.opaqueRect)
        return;
    p_.save();
    p_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    // The text's own background mode applies, not that of the last shape: an opaque
    // cell is filled below, and QPainter must not fill one of its own.
    p_.setBackgroundMode(Qt::TransparentMode);
    if (t.opaqueRect) {
        p_.setPen(Qt::NoPen);
        p_.setBrush(t.background);
        p_.drawPolygon(*t.opaqueRect);
    }
    if (t.clipRect) {
        QPainterPath clip;
        clip.addPolygon(*t.clipRect);
        p_.setClipPath(clip, p_.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    }
    p_.translate(t.origin);
    p_.rotate(-t.angle);
    if (t.opaque && !t.text.isEmpty())
        p_.fillRect(QRectF(0, -t.ascent, t.width, t.ascent + t.descent), t.background);
    const qreal s = t.fontScale > 0 ? t.fontScale : 1;
    p_.scale(s, s);
    p_.setFont(t.font);
    p_.setPen(t.color);
    p_.setBrush(Qt::NoBrush);
    if (t.advances.isEmpty()) {
        p_.drawText(QPointF(0, 0), t.text);
    } else {
        qreal x = 0; // target units along the baseline
        const int n = int(t.text.size());
        for (int i = 0; i < n; ++i) {
            QString piece = t.text.mid(i, 1);
            // Keep surrogate pairs together.
            if (t.text.at(i).isHighSurrogate() && i + 1 < n) {
                piece = t.text.mid(i, 2);
            }
            p_.drawText(QPointF(x / s, 0), piece);
            x += i < t.advances.size() ? t.advances.at(i) : 0;
            if (piece.size() == 2)
                ++i;
        }
    }
    p_.restore();
}

void MetafilePainterSink::drawImage(const QRectF& target, const QImage& image,
                                    const QRectF& source, QPainter::CompositionMode mode)
{
    if (image.isNull())
        return;
    if (isRasterOp(mode) && !rasterOps_) {
        // The classic transparent-bitmap pair is an AND mask followed by an OR of an
        // image on black. Without raster operations: skip the mask, and draw the
        // image with its black made transparent.
        if (mode == QPainter::RasterOp_SourceAndDestination)
            return;
        if (mode == QPainter::RasterOp_SourceOrDestination
            || mode == QPainter::RasterOp_SourceXorDestination) {
            QImage keyed = image.convertToFormat(QImage::Format_ARGB32);
            for (int y = 0; y < keyed.height(); ++y) {
                auto* line = reinterpret_cast<QRgb*>(keyed.scanLine(y));
                for (int x = 0; x < keyed.width(); ++x)
                    if ((line[x] & 0xFFFFFF) == 0)
                        line[x] = 0;
            }
            p_.setCompositionMode(QPainter::CompositionMode_SourceOver);
            p_.drawImage(target, keyed, source);
            return;
        }
        mode = QPainter::CompositionMode_SourceOver;
    }
    p_.setCompositionMode(mode);
    p_.drawImage(target, image, source);
    p_.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

// ---------------------------------------------------------------- recording sink

QRectF MetafileRecordingSink::Call::bounds() const
{
    if (op == "polygon" || op == "polyline")
        return polygon.boundingRect();
    if (op == "path")
        return path.boundingRect();
    if (op == "image")
        return rect.normalized();
    if (op == "text") {
        QTransform t;
        t.translate(text.origin.x(), text.origin.y());
        t.rotate(-text.angle);
        QRectF r = t.mapRect(QRectF(0, -text.ascent, text.width, text.ascent + text.descent));
        if (text.opaqueRect)
            r = r.united(text.opaqueRect->boundingRect());
        return r;
    }
    return {};
}

void MetafileRecordingSink::setClip(const std::optional<QPainterPath>& clip)
{
    Call c;
    c.op = "clip";
    c.clip = clip;
    calls.push_back(std::move(c));
}

void MetafileRecordingSink::drawPolygon(const QPolygonF& polygon, Qt::FillRule rule,
                                        const MetafilePaint& paint)
{
    Call c;
    c.op = "polygon";
    c.polygon = polygon;
    c.rule = rule;
    c.paint = paint;
    calls.push_back(std::move(c));
}

void MetafileRecordingSink::drawPolyline(const QPolygonF& polyline, const MetafilePaint& paint)
{
    Call c;
    c.op = "polyline";
    c.polygon = polyline;
    c.paint = paint;
    calls.push_back(std::move(c));
}

void MetafileRecordingSink::drawPath(const QPainterPath& path, const MetafilePaint& paint)
{
    Call c;
    c.op = "path";
    c.path = path;
    c.rule = path.fillRule();
    c.paint = paint;
    calls.push_back(std::move(c));
}

void MetafileRecordingSink::drawText(const MetafileText& text)
{
    Call c;
    c.op = "text";
    c.text = text;
    calls.push_back(std::move(c));
}

void MetafileRecordingSink::drawImage(const QRectF& target, const QImage& image,
                                      const QRectF& source, QPainter::CompositionMode mode)
{
    Call c;
    c.op = "image";
    c.rect = target;
    if (keepImages)
        c.image = image;
    c.source = source;
    c.mode = mode;
    calls.push_back(std::move(c));
}

std::vector<const MetafileRecordingSink::Call*> MetafileRecordingSink::ofKind(const QString& op) const
{
    std::vector<const Call*> out;
    for (const Call& c : calls)
        if (c.op == op)
            out.push_back(&c);
    return out;
}

QRectF MetafileRecordingSink::drawingBounds() const
{
    QRectF r;
    for (const Call& c : calls) {
        if (c.op == "clip")
            continue;
        const QRectF b = c.bounds();
        if (b.isNull() && b.topLeft().isNull())
            continue;
        r = r.isNull() ? b : r.united(b);
    }
    return r;
}
