#include "imaging/emf_paint_device.h"

#include "imaging/emf_record_writer.h"

#include <QLinearGradient>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPathStroker>
#include <QPixmap>
#include <QRadialGradient>
#include <cmath>
#include <optional>

namespace {

constexpr int kUnits = 16;           // logical units per pixel
constexpr qreal kPatchScale = 3;     // bitmaps stand in at 288 per inch
constexpr qint64 kMaxPatchPixels = 4LL * 1024 * 1024;
constexpr int kMaxBands = 512;

QColor stopColor(const QGradientStops& stops, qreal t)
{
    if (stops.isEmpty())
        return Qt::black;
    if (t <= stops.first().first)
        return stops.first().second;
    for (int i = 1; i < stops.size(); ++i) {
        const auto& [p1, c1] = stops.at(i);
        if (t <= p1) {
            const auto& [p0, c0] = stops.at(i - 1);
            const qreal f = p1 > p0 ? (t - p0) / (p1 - p0) : 1;
            return QColor::fromRgbF(float(c0.redF() + (c1.redF() - c0.redF()) * f),
                                    float(c0.greenF() + (c1.greenF() - c0.greenF()) * f),
                                    float(c0.blueF() + (c1.blueF() - c0.blueF()) * f));
        }
    }
    return stops.last().second;
}

qreal spreadT(qreal t, QGradient::Spread spread)
{
    switch (spread) {
    case QGradient::RepeatSpread:
        return t - std::floor(t);
    case QGradient::ReflectSpread: {
        const qreal m = std::fmod(std::abs(t), 2.0);
        return m > 1 ? 2 - m : m;
    }
    default:
        return std::clamp<qreal>(t, 0, 1);
    }
}

bool opaqueStops(const QGradientStops& stops)
{
    for (const auto& s : stops)
        if (s.second.alpha() != 255)
            return false;
    return !stops.isEmpty();
}

QPainterPath polygonPath(const QPolygonF& poly)
{
    QPainterPath p;
    p.addPolygon(poly);
    p.closeSubpath();
    return p;
}

} // namespace

class EmfPaintEngine : public QPaintEngine {
public:
    explicit EmfPaintEngine(QSize pixels)
        : QPaintEngine(QPaintEngine::AllFeatures), pixels_(pixels), out_(pixels, kUnits)
    {
    }

    bool begin(QPaintDevice*) override { return true; }
    bool end() override
    {
        data_ = out_.finish();
        return true;
    }
    Type type() const override { return QPaintEngine::User; }
    void updateState(const QPaintEngineState& s) override;
    void drawPath(const QPainterPath& path) override;
    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override;
    void drawPixmap(const QRectF& r, const QPixmap& pm, const QRectF& sr) override
    {
        drawImage(r, pm.toImage(), sr, Qt::AutoColor);
    }
    void drawImage(const QRectF& r, const QImage& image, const QRectF& sr,
                   Qt::ImageConversionFlags flags) override;

    const QByteArray& data() const { return data_; }

private:
    void fillShape(const QPainterPath& logical);
    void strokeShape(const QPainterPath& logical);
    void vectorFill(const QPainterPath& device, QColor color);
    bool bandedFill(const QPainterPath& logical, const QPainterPath& device);
    void raster(const QRectF& deviceBounds, const std::function<void(QPainter&)>& paint);
    void syncClip();
    void useBrush(QColor color);
    void useFillRule(Qt::FillRule rule);
    void forgetSelections();
    static QPainterPath inUnits(const QPainterPath& device)
    {
        return QTransform::fromScale(kUnits, kUnits).map(device);
    }
    static QRect unitsRect(const QRectF& device)
    {
        return QRectF(device.x() * kUnits, device.y() * kUnits, device.width() * kUnits,
                      device.height() * kUnits)
            .toAlignedRect();
    }
    bool simpleColor(const QBrush& b) const
    {
        return opacity_ >= 1 && b.style() == Qt::SolidPattern && b.color().alpha() == 255;
    }

    QSize pixels_;
    EmfRecordWriter out_;
    QByteArray data_;
    QPen pen_;
    QBrush brush_;
    QPointF brushOrigin_;
    QTransform matrix_;
    qreal opacity_ = 1;
    QPainter::RenderHints hints_;
    std::optional<QPainterPath> clip_; // device pixels
    bool clipEnabled_ = false;
    bool clipDirty_ = false;
    std::optional<QColor> brushColor_; // the brush in its slot, selected
    std::optional<Qt::FillRule> fillRule_;
};

void EmfPaintEngine::updateState(const QPaintEngineState& s)
{
    const DirtyFlags f = s.state();
    if (f & DirtyTransform)
        matrix_ = s.transform();
    if (f & DirtyPen)
        pen_ = s.pen();
    if (f & DirtyBrush)
        brush_ = s.brush();
    if (f & DirtyBrushOrigin)
        brushOrigin_ = s.brushOrigin();
    if (f & DirtyOpacity)
        opacity_ = s.opacity();
    if (f & DirtyHints)
        hints_ = s.renderHints();
    if (f & DirtyClipEnabled) {
        clipEnabled_ = s.isClipEnabled();
        clipDirty_ = true;
    }
    if (f & (DirtyClipPath | DirtyClipRegion)) {
        QPainterPath p;
        if (f & DirtyClipPath) {
            p = matrix_.map(s.clipPath());
        } else {
            p.addRegion(s.clipRegion());
            p = matrix_.map(p);
        }
        switch (s.clipOperation()) {
        case Qt::NoClip: clip_.reset(); break;
        case Qt::ReplaceClip: clip_ = p; break;
        case Qt::IntersectClip: clip_ = clip_ ? clip_->intersected(p) : p; break;
        }
        clipEnabled_ = clip_.has_value();
        clipDirty_ = true;
    }
}

void EmfPaintEngine::syncClip()
{
    if (!clipDirty_)
        return;
    clipDirty_ = false;
    if (clipEnabled_ && clip_) {
        useFillRule(clip_->fillRule());
        out_.pathBracket(inUnits(*clip_));
        out_.selectClipPath(5); // RGN_COPY
    } else {
        out_.resetClip();
    }
}

void EmfPaintEngine::forgetSelections()
{
    brushColor_.reset();
    fillRule_.reset();
}

void EmfPaintEngine::useBrush(QColor color)
{
    if (brushColor_ && *brushColor_ == color)
        return;
    if (brushColor_) {
        // An object is deleted only once nothing has it selected.
        out_.selectObject(EmfRecordWriter::kWhiteBrush);
        out_.deleteObject(EmfRecordWriter::BrushSlot);
    }
    out_.createSolidBrush(EmfRecordWriter::BrushSlot, color);
    out_.selectObject(EmfRecordWriter::BrushSlot);
    out_.selectObject(EmfRecordWriter::kNullPen);
    brushColor_ = color;
}

void EmfPaintEngine::useFillRule(Qt::FillRule rule)
{
    if (fillRule_ == rule)
        return;
    out_.setPolyFillMode(rule);
    fillRule_ = rule;
}

void EmfPaintEngine::vectorFill(const QPainterPath& device, QColor color)
{
    if (device.isEmpty())
        return;
    useBrush(color);
    useFillRule(device.fillRule());
    out_.pathBracket(inUnits(device));
    out_.fillPath(device.boundingRect().toAlignedRect());
}

void EmfPaintEngine::drawPath(const QPainterPath& path)
{
    if (brush_.style() != Qt::NoBrush)
        fillShape(path);
    if (pen_.style() != Qt::NoPen)
        strokeShape(path);
}

void EmfPaintEngine::drawPolygon(const QPointF* points, int count, PolygonDrawMode mode)
{
    if (count < 2)
        return;
    QPainterPath path;
    path.setFillRule(mode == WindingMode ? Qt::WindingFill : Qt::OddEvenFill);
    path.moveTo(points[0]);
    for (int i = 1; i < count; ++i)
        path.lineTo(points[i]);
    if (mode == PolylineMode) {
        if (pen_.style() != Qt::NoPen)
            strokeShape(path);
        return;
    }
    path.closeSubpath();
    drawPath(path);
}

void EmfPaintEngine::fillShape(const QPainterPath& logical)
{
    const QPainterPath device = matrix_.map(logical);
    if (device.isEmpty())
        return;
    syncClip();
    if (simpleColor(brush_)) {
        vectorFill(device, brush_.color());
        return;
    }
    if (opacity_ >= 1 && bandedFill(logical, device))
        return;
    raster(device.boundingRect(), [&](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(brush_);
        p.setBrushOrigin(brushOrigin_);
        p.drawPath(logical);
    });
}

void EmfPaintEngine::strokeShape(const QPainterPath& logical)
{
    // Outlines are written as the filled shape of the stroke: caps, joins, dashes and
    // uneven scaling come out exactly as the painter would draw them.
    QPainterPathStroker stroker(pen_);
    QPainterPath outline;
    if (pen_.isCosmetic()) {
        stroker.setWidth(std::max<qreal>(1, pen_.widthF()));
        outline = stroker.createStroke(matrix_.map(logical));
    } else {
        outline = matrix_.map(stroker.createStroke(logical));
    }
    outline.setFillRule(Qt::WindingFill);
    if (outline.isEmpty())
        return;
    syncClip();
    if (simpleColor(pen_.brush())) {
        vectorFill(outline, pen_.color());
        return;
    }
    raster(outline.boundingRect(), [&](QPainter& p) {
        p.setPen(pen_);
        p.setBrush(Qt::NoBrush);
        p.drawPath(logical);
    });
}

bool EmfPaintEngine::bandedFill(const QPainterPath& logical, const QPainterPath& device)
{
    const QGradient* g = brush_.gradient();
    if (!g || !opaqueStops(g->stops()))
        return false;
    const QRectF b = logical.boundingRect();
    const QTransform toUser(b.width(), 0, 0, b.height(), b.x(), b.y());
    QTransform toLogical;
    switch (g->coordinateMode()) {
    case QGradient::LogicalMode: toLogical = brush_.transform(); break;
    case QGradient::ObjectBoundingMode: toLogical = toUser * brush_.transform(); break;
    case QGradient::ObjectMode: toLogical = brush_.transform() * toUser; break;
    default: return false;
    }
    const QTransform t = toLogical * matrix_; // gradient space to device
    if (!t.isInvertible() || t.type() == QTransform::TxProject)
        return false;
    const QTransform inv = t.inverted();
    const QPolygonF corners = inv.map(QPolygonF(device.boundingRect()));
    const QGradientStops stops = g->stops();
    const QGradient::Spread spread = g->spread();

    std::vector<std::pair<QPainterPath, QColor>> bands;
    if (g->type() == QGradient::LinearGradient) {
        const auto* lg = static_cast<const QLinearGradient*>(g);
        const QPointF s = lg->start(), d = lg->finalStop() - lg->start();
        const qreal len2 = QPointF::dotProduct(d, d);
        if (len2 <= 0)
            return false;
        const QPointF perp = QPointF(-d.y(), d.x()) / std::sqrt(len2);
        qreal tMin = 1e300, tMax = -1e300, reach = 0;
        for (const QPointF& c : corners) {
            const qreal tc = QPointF::dotProduct(c - s, d) / len2;
            tMin = std::min(tMin, tc);
            tMax = std::max(tMax, tc);
            reach = std::max(reach, std::abs(QPointF::dotProduct(c - s, perp)));
        }
        reach = reach * 1.01 + 1;
        const qreal deviceLength = QLineF(t.map(s), t.map(lg->finalStop())).length();
        const int perUnit = std::clamp(int(std::ceil(deviceLength / 1.5)), 2, 128);
        auto strip = [&](qreal t0, qreal t1) {
            const QPointF a = s + d * t0, z = s + d * t1;
            return polygonPath(t.map(QPolygonF({a - perp * reach, z - perp * reach, z + perp * reach,
                                                a + perp * reach})));
        };
        qreal from = tMin, to = tMax;
        if (spread == QGradient::PadSpread) {
            if (tMin < 0)
                bands.emplace_back(strip(tMin - 1, 0), stopColor(stops, 0));
            if (tMax > 1)
                bands.emplace_back(strip(1, tMax + 1), stopColor(stops, 1));
            from = std::max<qreal>(0, tMin);
            to = std::min<qreal>(1, tMax);
        }
        const qreal step = 1.0 / perUnit;
        const qreal first = std::floor(from / step) * step;
        if ((to - first) / step > kMaxBands)
            return false;
        for (qreal t0 = first; t0 < to; t0 += step) {
            // Each band reaches a little into the next, which is painted over it, so
            // no hairline gap shows between them.
            bands.emplace_back(strip(t0, t0 + step * 1.25), stopColor(stops, spreadT(t0 + step / 2, spread)));
        }
    } else if (g->type() == QGradient::RadialGradient) {
        const auto* rg = static_cast<const QRadialGradient*>(g);
        if (rg->focalPoint() != rg->center() || rg->focalRadius() != 0 || spread != QGradient::PadSpread
            || rg->radius() <= 0)
            return false;
        const qreal deviceRadius = QLineF(t.map(rg->center()), t.map(rg->center() + QPointF(rg->radius(), 0))).length();
        const int rings = std::clamp(int(std::ceil(deviceRadius / 1.5)), 2, 128);
        QPainterPath everywhere;
        everywhere.addRect(device.boundingRect().adjusted(-1, -1, 1, 1));
        bands.emplace_back(everywhere, stopColor(stops, 1));
        for (int k = rings; k >= 1; --k) {
            QPainterPath disk;
            const qreal r = rg->radius() * k / rings;
            disk.addEllipse(rg->center(), r, r);
            bands.emplace_back(t.map(disk), stopColor(stops, (k - 0.5) / rings));
        }
    } else {
        return false;
    }

    // The saved state holds stock objects only, so that whatever is created and deleted
    // inside never stays selected after the restore.
    out_.selectObject(EmfRecordWriter::kWhiteBrush);
    if (brushColor_)
        out_.deleteObject(EmfRecordWriter::BrushSlot);
    forgetSelections();
    out_.saveDC();
    useFillRule(device.fillRule());
    out_.pathBracket(inUnits(device));
    out_.selectClipPath(1); // RGN_AND: the shape within the current clip
    for (auto& [path, color] : bands) {
        path.setFillRule(Qt::WindingFill);
        vectorFill(path, color);
    }
    out_.selectObject(EmfRecordWriter::kWhiteBrush);
    out_.deleteObject(EmfRecordWriter::BrushSlot);
    out_.restoreDC();
    forgetSelections();
    return true;
}

void EmfPaintEngine::raster(const QRectF& deviceBounds, const std::function<void(QPainter&)>& paint)
{
    QRectF area = deviceBounds.adjusted(-1, -1, 1, 1).intersected(QRectF(QPointF(0, 0), QSizeF(pixels_)));
    if (clipEnabled_ && clip_)
        area = area.intersected(clip_->boundingRect());
    const QRect px = area.toAlignedRect();
    if (px.isEmpty())
        return;
    const qreal pixels = qreal(px.width()) * px.height();
    const qreal scale = std::min(kPatchScale, std::sqrt(kMaxPatchPixels / pixels));
    QImage patch(std::max(1, int(std::ceil(px.width() * scale))), std::max(1, int(std::ceil(px.height() * scale))),
                 QImage::Format_ARGB32_Premultiplied);
    if (patch.isNull())
        return;
    patch.fill(Qt::transparent);
    {
        QPainter p(&patch);
        p.setRenderHints(hints_);
        p.scale(qreal(patch.width()) / px.width(), qreal(patch.height()) / px.height());
        p.translate(-px.topLeft());
        if (clipEnabled_ && clip_)
            p.setClipPath(*clip_);
        p.setOpacity(opacity_);
        p.setTransform(matrix_, true);
        paint(p);
    }
    bool any = false;
    for (int y = 0; y < patch.height() && !any; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(patch.constScanLine(y));
        for (int x = 0; x < patch.width(); ++x)
            if (qAlpha(line[x])) {
                any = true;
                break;
            }
    }
    if (any)
        out_.alphaBlend(unitsRect(px), patch);
}

void EmfPaintEngine::drawImage(const QRectF& r, const QImage& image, const QRectF& sr,
                               Qt::ImageConversionFlags)
{
    if (image.isNull() || r.isEmpty())
        return;
    syncClip();
    const QRect src = sr.toAlignedRect().intersected(image.rect());
    if (src.isEmpty())
        return;
    const bool axisAligned = matrix_.type() <= QTransform::TxScale;
    if (axisAligned && opacity_ >= 1) {
        const QImage part = (src == image.rect() ? image : image.copy(src))
                                .mirrored(matrix_.m11() < 0, matrix_.m22() < 0);
        const QRect dest = unitsRect(matrix_.mapRect(r));
        if (part.hasAlphaChannel())
            out_.alphaBlend(dest, part);
        else
            out_.stretchDIBits(dest, part);
        return;
    }
    raster(matrix_.mapRect(r), [&](QPainter& p) { p.drawImage(r, image, sr); });
}

EmfPaintDevice::EmfPaintDevice(QSize pixels)
    : size_(pixels.expandedTo(QSize(1, 1))), engine_(std::make_unique<EmfPaintEngine>(size_))
{
}

EmfPaintDevice::~EmfPaintDevice() = default;

QPaintEngine* EmfPaintDevice::paintEngine() const
{
    return engine_.get();
}

QByteArray EmfPaintDevice::data() const
{
    return engine_->data();
}

int EmfPaintDevice::metric(PaintDeviceMetric m) const
{
    switch (m) {
    case PdmWidth: return size_.width();
    case PdmHeight: return size_.height();
    case PdmWidthMM: return qRound(size_.width() * 25.4 / 96);
    case PdmHeightMM: return qRound(size_.height() * 25.4 / 96);
    case PdmNumColors: return INT_MAX;
    case PdmDepth: return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY: return 96;
    case PdmDevicePixelRatio: return 1;
    case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
    }
    return 0;
}

QByteArray RecordEmf(QSize pixels, const std::function<void(QPainter&)>& paint)
{
    EmfPaintDevice device(pixels);
    {
        QPainter painter(&device);
        paint(painter);
    }
    return device.data();
}
