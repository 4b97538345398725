#include "imaging/metafile_emfplus.h"

#include "imaging/metafile_player.h"

#include <QFontMetricsF>
#include <QRawFont>
#include <QTextLayout>
#include <cmath>

namespace ovmeta {

using namespace emfplus;

namespace {

constexpr quint32 kEmfPlusSignature = 0x2B464D45; // "EMF+"
constexpr int kMaxDepth = 3;            // metafiles inside metafiles inside metafiles
constexpr int kMaxNestedPlays = 256;    // pictures drawn from nested metafiles, per file
constexpr qint64 kClipWorkBudget = 200000;
constexpr int kMaxClipElements = 2000;
constexpr int kMaxStack = 4096;
constexpr quint32 kMaxObjectBytes = 64u * 1024 * 1024;
constexpr int kMaxTextLength = 32768;
constexpr qreal kMaxTextPixels = 20000;

thread_local int tDepth = 0;
thread_local int tNestedPlays = 0;

qreal lengthAlong(const QTransform& t, QPointF dir)
{
    const qreal len = QLineF(t.map(QPointF(0, 0)), t.map(dir)).length();
    return std::isfinite(len) ? len : 0;
}

qreal uniformScale(const QTransform& t)
{
    const qreal s = std::sqrt(std::abs(t.determinant()));
    return std::isfinite(s) ? s : 0;
}

QPainterPath polygonPath(const QPolygonF& pts, bool closed)
{
    QPainterPath p;
    p.addPolygon(pts);
    if (closed)
        p.closeSubpath();
    return p;
}

QPainterPath rectPath(const QRectF& r)
{
    QPainterPath p;
    p.addRect(r.normalized());
    return p;
}

// Cardinal spline through `pts` as Bezier curves; GDI+ scales the tension by 0.3.
QPainterPath curvePath(const QPolygonF& pts, qreal tension, bool closed, int first = 0, int segments = -1)
{
    QPainterPath path;
    const int n = int(pts.size());
    if (n < 2)
        return path;
    const qreal k = tension * 0.3;
    auto at = [&](int i) {
        if (closed)
            return pts[((i % n) + n) % n];
        return pts[std::clamp(i, 0, n - 1)];
    };
    const int total = closed ? n : n - 1;
    const int last = segments < 0 ? total : std::min(total, first + segments);
    path.moveTo(at(first));
    for (int i = first; i < last; ++i) {
        const QPointF c1 = at(i) + (at(i + 1) - at(i - 1)) * k;
        const QPointF c2 = at(i + 1) - (at(i + 2) - at(i)) * k;
        path.cubicTo(c1, c2, at(i + 1));
    }
    if (closed)
        path.closeSubpath();
    return path;
}

// GDI+ measures angles clockwise on screen; Qt counter-clockwise.
QPainterPath arcPath(const QRectF& box, qreal start, qreal sweep, bool pie)
{
    QPainterPath path;
    if (!std::isfinite(start) || !std::isfinite(sweep))
        return path;
    sweep = std::clamp<qreal>(sweep, -360, 360);
    if (pie) {
        path.moveTo(box.center());
        path.arcTo(box, -start, -sweep);
        path.closeSubpath();
    } else {
        path.arcMoveTo(box, -start);
        path.arcTo(box, -start, -sweep);
    }
    return path;
}

// Plays a nested picture through a further mapping, inside the clip of the record that
// draws it.
class NestedSink : public MetafileSink {
public:
    NestedSink(MetafileSink& inner, const QTransform& t, const std::optional<QPainterPath>& clip)
        : inner_(inner), t_(t), outer_(clip), scale_(uniformScale(t))
    {
        inner_.setClip(outer_);
    }
    void setClip(const std::optional<QPainterPath>& clip) override
    {
        if (!clip) {
            inner_.setClip(outer_);
            return;
        }
        const QPainterPath mapped = t_.map(*clip);
        inner_.setClip(outer_ ? outer_->intersected(mapped) : mapped);
    }
    void drawPolygon(const QPolygonF& polygon, Qt::FillRule rule, const MetafilePaint& paint) override
    {
        inner_.drawPolygon(t_.map(polygon), rule, mapped(paint));
    }
    void drawPolyline(const QPolygonF& polyline, const MetafilePaint& paint) override
    {
        inner_.drawPolyline(t_.map(polyline), mapped(paint));
    }
    void drawPath(const QPainterPath& path, const MetafilePaint& paint) override
    {
        inner_.drawPath(t_.map(path), mapped(paint));
    }
    void drawText(const MetafileText& text) override
    {
        MetafileText t = text;
        const QPointF dir = t_.map(QPointF(1, 0)) - t_.map(QPointF(0, 0));
        t.origin = t_.map(text.origin);
        t.angle += std::atan2(-dir.y(), dir.x()) * 180 / M_PI;
        t.fontScale *= scale_;
        t.pixelSize *= scale_;
        t.width *= scale_;
        t.ascent *= scale_;
        t.descent *= scale_;
        for (qreal& a : t.advances)
            a *= scale_;
        if (t.opaqueRect)
            t.opaqueRect = t_.map(*t.opaqueRect);
        if (t.clipRect)
            t.clipRect = t_.map(*t.clipRect);
        inner_.drawText(t);
    }
    void drawImage(const QRectF& target, const QImage& image, const QRectF& source,
                   QPainter::CompositionMode mode) override
    {
        if (t_.type() <= QTransform::TxScale && t_.m11() > 0 && t_.m22() > 0) {
            inner_.drawImage(t_.mapRect(target), image, source, mode);
            return;
        }
        // Turned or mirrored: the picture fills its parallelogram as a texture.
        const QTransform sourceToTarget = QTransform::fromTranslate(-source.x(), -source.y())
                                          * QTransform::fromScale(target.width() / source.width(),
                                                                  target.height() / source.height())
                                          * QTransform::fromTranslate(target.x(), target.y()) * t_;
        MetafilePaint paint;
        paint.brush = QBrush(image);
        paint.brush.setTransform(sourceToTarget);
        inner_.drawPath(t_.map(rectPath(target)), paint);
    }

private:
    MetafilePaint mapped(const MetafilePaint& paint) const
    {
        MetafilePaint p = paint;
        if (p.pen.style() != Qt::NoPen && !p.pen.isCosmetic())
            p.pen.setWidthF(p.pen.widthF() * scale_);
        if (p.brush.style() != Qt::NoBrush && p.brush.style() != Qt::SolidPattern)
            p.brush.setTransform(p.brush.transform() * t_);
        return p;
    }

    MetafileSink& inner_;
    QTransform t_;
    std::optional<QPainterPath> outer_;
    qreal scale_;
};

} // namespace

EmfPlusPlayer::EmfPlusPlayer(MetafileSink& sink, const QTransform& deviceToTarget, const QRectF& target)
    : sink_(sink), deviceToTarget_(deviceToTarget), target_(target)
{
    if (tDepth == 0)
        tNestedPlays = 0;
    ++tDepth;
    inert_ = tDepth > kMaxDepth;
}

EmfPlusPlayer::~EmfPlusPlayer()
{
    --tDepth;
}

bool EmfPlusPlayer::drawsEmfRecords() const
{
    return !headerSeen_ || dual_ || getDc_;
}

bool EmfPlusPlayer::yieldClip()
{
    const bool had = ownsClip_;
    ownsClip_ = false;
    return had;
}

bool EmfPlusPlayer::comment(QByteArrayView data)
{
    if (data.size() < 4 || qFromLittleEndian<quint32>(data.data()) != kEmfPlusSignature)
        return false;
    if (inert_)
        return true;
    qsizetype pos = 4;
    while (data.size() - pos >= 12) {
        const char* p = data.data() + pos;
        const quint16 type = qFromLittleEndian<quint16>(p);
        const quint16 flags = qFromLittleEndian<quint16>(p + 2);
        const quint32 size = qFromLittleEndian<quint32>(p + 4);
        quint32 dataSize = qFromLittleEndian<quint32>(p + 8);
        if (size < 12 || size > quint64(data.size() - pos))
            break;
        dataSize = std::min(dataSize, size - 12);
        if (type != 0x4004)
            getDc_ = false;
        // A dual file is drawn from its EMF twins: only its header counts here.
        if (!dual_ || type == 0x4001)
            record(type, flags, QByteArrayView(p + 12, dataSize));
        pos += size;
    }
    return true;
}

QTransform EmfPlusPlayer::worldToTarget() const
{
    const qreal k = pagePixelsPerUnit();
    return s_.world * QTransform::fromScale(k, k * dpiY_ / dpiX_) * deviceToTarget_;
}

qreal EmfPlusPlayer::pagePixelsPerUnit() const
{
    const qreal k = s_.pageScale * unitToPixels(s_.pageUnit, dpiX_, videoDevice_);
    return std::isfinite(k) && k > 0 ? k : 1;
}

qreal EmfPlusPlayer::emInWorld(const Font& font) const
{
    if (font.unit == UnitWorld)
        return font.emSize;
    return font.emSize * unitToPixels(font.unit, dpiY_, videoDevice_) / pagePixelsPerUnit();
}

void EmfPlusPlayer::ensureClip()
{
    if (ownsClip_ && clipSent_)
        return;
    sink_.setClip(s_.clip);
    ownsClip_ = true;
    clipSent_ = true;
}

std::optional<MetafilePaint> EmfPlusPlayer::brushPaint(quint16 flags, quint32 brushId) const
{
    MetafilePaint paint;
    if (flags & FlagColor) {
        paint.brush = QBrush(argb(brushId));
        return paint;
    }
    const Brush* b = object<Brush>(brushId);
    if (!b)
        return std::nullopt;
    paint.brush = b->toQBrush(worldToTarget());
    if (b->kind == Brush::Hatch && b->background.alpha() > 0) {
        paint.opaqueBackground = true;
        paint.background = b->background;
    }
    return paint;
}

std::optional<MetafilePaint> EmfPlusPlayer::penPaint(quint32 penId) const
{
    const Pen* pen = object<Pen>(penId);
    if (!pen)
        return std::nullopt;
    const QTransform t = worldToTarget();
    qreal width = pen->unit == UnitWorld
                      ? pen->width * uniformScale(t)
                      : pen->width * unitToPixels(pen->unit, dpiX_, videoDevice_) * uniformScale(deviceToTarget_);
    if (!std::isfinite(width))
        width = 0;
    QPen qpen(pen->brush.toQBrush(t), std::min<qreal>(width, 32000));
    qpen.setCapStyle(pen->cap);
    qpen.setJoinStyle(pen->join);
    qpen.setMiterLimit(pen->miterLimit);
    if (!pen->dashes.isEmpty()) {
        qpen.setDashPattern(pen->dashes);
        qpen.setDashOffset(pen->dashOffset);
    }
    MetafilePaint paint;
    paint.pen = qpen;
    return paint;
}

void EmfPlusPlayer::fill(const QPainterPath& world, quint16 flags, quint32 brushId)
{
    const std::optional<MetafilePaint> paint = brushPaint(flags, brushId);
    if (!paint || world.isEmpty())
        return;
    ensureClip();
    sink_.drawPath(worldToTarget().map(world), *paint);
}

void EmfPlusPlayer::stroke(const QPainterPath& world, quint32 penId)
{
    const std::optional<MetafilePaint> paint = penPaint(penId);
    if (!paint || world.isEmpty())
        return;
    ensureClip();
    sink_.drawPath(worldToTarget().map(world), *paint);
}

void EmfPlusPlayer::combineClip(const QPainterPath& shape, int mode)
{
    std::optional<QPainterPath> next;
    if (mode != 0) {
        clipWork_ += shape.elementCount() + (s_.clip ? s_.clip->elementCount() : 0);
        if (clipWork_ > kClipWorkBudget)
            return;
    }
    const QPainterPath everywhere = rectPath(target_.adjusted(-1, -1, 1, 1));
    const QPainterPath current = s_.clip ? *s_.clip : everywhere;
    switch (mode) {
    case 0: next = shape; break;
    case 1: next = current.intersected(shape); break;
    case 2: if (s_.clip) next = current.united(shape); break;
    case 3: next = current.united(shape).subtracted(current.intersected(shape)); break;
    case 4: next = current.subtracted(shape); break;
    case 5: next = shape.subtracted(current); break;
    default: return;
    }
    if (next && next->elementCount() > kMaxClipElements)
        return;
    s_.clip = next;
    clipSent_ = false;
}

void EmfPlusPlayer::objectRecord(quint16 flags, QByteArrayView data)
{
    const int id = flags & 0xFF;
    const int type = (flags >> 8) & 0x7F;
    if (id >= int(objects_.size()))
        return;
    QByteArrayView body = data;
    if (flags & 0x8000) { // one part of a larger object; the total size leads
        if (data.size() < 4)
            return;
        const quint32 total = qFromLittleEndian<quint32>(data.data());
        if (partId_ != id || partType_ != type || partTotal_ != total) {
            partId_ = id;
            partType_ = type;
            partTotal_ = total;
            partData_.clear();
        }
        if (total > kMaxObjectBytes || partData_.size() + data.size() - 4 > qsizetype(total)) {
            partId_ = -1;
            partData_.clear();
            return;
        }
        partData_.append(data.data() + 4, data.size() - 4);
        return;
    }
    if (partId_ == id && partType_ == type) { // the last part
        partData_.append(data.data(), data.size());
        body = partData_;
    }
    std::optional<Object> obj = readObject(type, body);
    objects_[size_t(id)] = obj ? std::move(*obj) : Object();
    if (partId_ == id) {
        partId_ = -1;
        partData_.clear();
    }
}

void EmfPlusPlayer::record(quint16 type, quint16 flags, QByteArrayView data)
{
    ByteReader r(data.data(), data.size());
    switch (type) {
    case 0x4001: { // header
        r.u32(); // version
        const quint32 plusFlags = r.u32();
        const quint32 dx = r.u32(), dy = r.u32();
        headerSeen_ = true;
        dual_ = flags & 1;
        videoDevice_ = plusFlags & 1;
        if (r.ok() && dx > 0 && dy > 0 && dx < 100000 && dy < 100000) {
            dpiX_ = dx;
            dpiY_ = dy;
        }
        return;
    }
    case 0x4004: // GetDC: the EMF records that follow draw
        getDc_ = true;
        return;
    case 0x4008:
        objectRecord(flags, data);
        return;
    case 0x4009: { // Clear
        const quint32 color = r.u32();
        if (!r.ok())
            return;
        MetafilePaint paint;
        paint.brush = QBrush(argb(color));
        ensureClip();
        sink_.drawPolygon(QPolygonF(target_), Qt::OddEvenFill, paint);
        return;
    }
    case 0x400A: // FillRects
        fillRects(flags, r);
        return;
    case 0x400B: { // DrawRects
        const quint32 count = r.u32();
        if (!r.ok() || qsizetype(count) * ((flags & FlagCompressed) ? 8 : 16) > r.remaining())
            return;
        QPainterPath path;
        for (quint32 i = 0; i < count; ++i)
            path.addRect(readRect(r, flags & FlagCompressed).normalized());
        stroke(path, flags & 0xFF);
        return;
    }
    case 0x400C: { // FillPolygon
        const quint32 brush = r.u32();
        const quint32 count = r.u32();
        const QPolygonF pts = readPoints(r, count, flags);
        if (pts.size() >= 3)
            fill(polygonPath(pts, true), flags, brush);
        return;
    }
    case 0x400D: { // DrawLines
        const quint32 count = r.u32();
        const QPolygonF pts = readPoints(r, count, flags);
        if (pts.size() >= 2)
            stroke(polygonPath(pts, flags & FlagClosed), flags & 0xFF);
        return;
    }
    case 0x400E: { // FillEllipse
        const quint32 brush = r.u32();
        const QRectF box = readRect(r, flags & FlagCompressed);
        if (!r.ok())
            return;
        QPainterPath path;
        path.addEllipse(box.normalized());
        fill(path, flags, brush);
        return;
    }
    case 0x400F: { // DrawEllipse
        const QRectF box = readRect(r, flags & FlagCompressed);
        if (!r.ok())
            return;
        QPainterPath path;
        path.addEllipse(box.normalized());
        stroke(path, flags & 0xFF);
        return;
    }
    case 0x4010:   // FillPie
    case 0x4011:   // DrawPie
    case 0x4012: { // DrawArc
        const quint32 brush = type == 0x4010 ? r.u32() : 0;
        const float start = r.f32(), sweep = r.f32();
        const QRectF box = readRect(r, flags & FlagCompressed).normalized();
        if (!r.ok())
            return;
        const QPainterPath path = arcPath(box, start, sweep, type != 0x4012);
        if (type == 0x4010)
            fill(path, flags, brush);
        else
            stroke(path, flags & 0xFF);
        return;
    }
    case 0x4013: { // FillRegion
        const quint32 brush = r.u32();
        if (const Region* g = object<Region>(flags & 0xFF); g && r.ok())
            fill(g->path, flags, brush);
        return;
    }
    case 0x4014: { // FillPath
        const quint32 brush = r.u32();
        if (const Path* p = object<Path>(flags & 0xFF); p && r.ok())
            fill(p->path, flags, brush);
        return;
    }
    case 0x4015: { // DrawPath
        const quint32 pen = r.u32();
        if (const Path* p = object<Path>(flags & 0xFF); p && r.ok())
            stroke(p->path, pen);
        return;
    }
    case 0x4016:   // FillClosedCurve
    case 0x4017:   // DrawClosedCurve
    case 0x4018: { // DrawCurve
        const quint32 brush = type == 0x4016 ? r.u32() : 0;
        const float tension = r.f32();
        qint64 first = 0, segments = -1;
        if (type == 0x4018) {
            first = r.u32();
            segments = r.u32();
        }
        const quint32 count = r.u32();
        const QPolygonF pts = readPoints(r, count, type == 0x4016 ? flags & ~FlagWinding : flags);
        if (pts.size() < 2 || !std::isfinite(tension) || first >= pts.size())
            return;
        const qreal t = std::clamp<qreal>(tension, 0, 10);
        QPainterPath path = curvePath(pts, t, type != 0x4018, int(first),
                                      segments < 0 ? -1 : int(std::min<qint64>(segments, pts.size())));
        if (type == 0x4016) {
            path.setFillRule((flags & FlagWinding) ? Qt::WindingFill : Qt::OddEvenFill);
            fill(path, flags, brush);
        } else {
            stroke(path, flags & 0xFF);
        }
        return;
    }
    case 0x4019: { // DrawBeziers
        const quint32 count = r.u32();
        const QPolygonF pts = readPoints(r, count, flags);
        if (pts.size() < 4)
            return;
        QPainterPath path(pts[0]);
        for (qsizetype i = 1; i + 2 < pts.size(); i += 3)
            path.cubicTo(pts[i], pts[i + 1], pts[i + 2]);
        stroke(path, flags & 0xFF);
        return;
    }
    case 0x401A: // DrawImage
    case 0x401B: // DrawImagePoints
        drawImage(flags, r, type == 0x401B);
        return;
    case 0x401C:
        drawString(flags, r);
        return;
    case 0x4036:
        drawDriverString(flags, r);
        return;
    case 0x4025:   // Save
    case 0x4028: { // BeginContainerNoParams
        const quint32 index = r.u32();
        if (r.ok() && stack_.size() < size_t(kMaxStack))
            stack_.emplace_back(index, s_);
        return;
    }
    case 0x4027: { // BeginContainer: the source rectangle is mapped onto the destination
        const QRectF dest = readRect(r, false);
        const QRectF src = readRect(r, false);
        const quint32 index = r.u32();
        if (!r.ok() || stack_.size() >= size_t(kMaxStack))
            return;
        stack_.emplace_back(index, s_);
        if (src.width() != 0 && src.height() != 0) {
            const QTransform m = QTransform::fromTranslate(-src.x(), -src.y())
                                 * QTransform::fromScale(dest.width() / src.width(), dest.height() / src.height())
                                 * QTransform::fromTranslate(dest.x(), dest.y());
            if (m.isInvertible())
                s_.world = m * s_.world;
        }
        return;
    }
    case 0x4026:   // Restore
    case 0x4029: { // EndContainer
        const quint32 index = r.u32();
        if (!r.ok())
            return;
        for (size_t i = stack_.size(); i-- > 0;) {
            if (stack_[i].first == index) {
                const bool clipChanged = stack_[i].second.clip != s_.clip;
                s_ = stack_[i].second;
                stack_.resize(i);
                if (clipChanged)
                    clipSent_ = false;
                break;
            }
        }
        return;
    }
    case 0x402A: { // SetWorldTransform
        const QTransform m = readMatrix(r);
        if (r.ok())
            s_.world = m;
        return;
    }
    case 0x402B:
        s_.world = QTransform();
        return;
    case 0x402C:   // MultiplyWorldTransform
    case 0x402D:   // TranslateWorldTransform
    case 0x402E:   // ScaleWorldTransform
    case 0x402F: { // RotateWorldTransform
        QTransform m;
        if (type == 0x402C) {
            m = readMatrix(r);
        } else if (type == 0x402F) {
            const float angle = r.f32();
            if (std::isfinite(angle))
                m.rotate(angle);
        } else {
            const float a = r.f32(), b = r.f32();
            if (std::isfinite(a) && std::isfinite(b) && std::abs(a) < 1e9 && std::abs(b) < 1e9)
                m = type == 0x402D ? QTransform::fromTranslate(a, b) : QTransform::fromScale(a, b);
        }
        if (!r.ok() || !m.isInvertible())
            return;
        s_.world = (flags & FlagAppend) ? s_.world * m : m * s_.world;
        return;
    }
    case 0x4030: { // SetPageTransform
        const float scale = r.f32();
        if (r.ok() && std::isfinite(scale) && scale > 0 && scale < 1e6) {
            s_.pageUnit = flags & 0xFF;
            s_.pageScale = scale;
        }
        return;
    }
    case 0x4031: // ResetClip
        s_.clip.reset();
        clipSent_ = false;
        return;
    case 0x4032: { // SetClipRect
        const QRectF rc = readRect(r, false);
        if (r.ok())
            combineClip(worldToTarget().map(rectPath(rc)), (flags >> 8) & 0xF);
        return;
    }
    case 0x4033: // SetClipPath
        if (const Path* p = object<Path>(flags & 0xFF))
            combineClip(worldToTarget().map(p->path), (flags >> 8) & 0xF);
        return;
    case 0x4034: // SetClipRegion
        if (const Region* g = object<Region>(flags & 0xFF))
            combineClip(worldToTarget().map(g->path), (flags >> 8) & 0xF);
        return;
    case 0x4035: { // OffsetClip
        const float dx = r.f32(), dy = r.f32();
        if (!r.ok() || !s_.clip || !std::isfinite(dx) || !std::isfinite(dy))
            return;
        const QTransform t = worldToTarget();
        s_.clip->translate(t.map(QPointF(dx, dy)) - t.map(QPointF(0, 0)));
        clipSent_ = false;
        return;
    }
    default:
        return; // rendering hints, compositing, comments, effects and the like
    }
}

void EmfPlusPlayer::fillRects(quint16 flags, ByteReader& r)
{
    const quint32 brush = r.u32();
    const quint32 count = r.u32();
    const bool compressed = flags & FlagCompressed;
    if (!r.ok() || qsizetype(count) * (compressed ? 8 : 16) > r.remaining())
        return;
    QPainterPath path;
    for (quint32 i = 0; i < count; ++i)
        path.addRect(readRect(r, compressed).normalized());
    fill(path, flags, brush);
}

void EmfPlusPlayer::emitText(const QString& text, QPointF baselineWorld, const QFont& fontIn, qreal emWorld,
                             const QTransform& toTarget, QColor color, const QVector<qreal>& advancesWorld)
{
    if (text.isEmpty())
        return;
    MetafileText t;
    t.text = text;
    const qreal xScale = lengthAlong(toTarget, QPointF(1, 0));
    qreal px = emWorld * lengthAlong(toTarget, QPointF(0, 1));
    if (!std::isfinite(px) || px <= 0)
        return;
    px = std::min(px, kMaxTextPixels);
    QFont font = fontIn;
    const int nominal = px >= 32 ? int(std::lround(px)) : 32;
    font.setPixelSize(nominal);
    t.font = font;
    t.fontScale = px / nominal;
    t.pixelSize = px;
    const QFontMetricsF fm(font);
    t.ascent = fm.ascent() * t.fontScale;
    t.descent = fm.descent() * t.fontScale;
    for (qreal a : advancesWorld)
        t.advances.append(a * xScale);
    if (!t.advances.isEmpty()) {
        for (qreal a : t.advances)
            t.width += a;
    } else {
        t.width = fm.horizontalAdvance(text) * t.fontScale;
    }
    const QPointF dir = toTarget.map(QPointF(1, 0)) - toTarget.map(QPointF(0, 0));
    t.angle = std::atan2(-dir.y(), dir.x()) * 180 / M_PI;
    t.origin = toTarget.map(baselineWorld);
    if (!std::isfinite(t.origin.x()) || !std::isfinite(t.origin.y()))
        return;
    t.color = color;
    ensureClip();
    sink_.drawText(t);
}

namespace {

QFont qfontOf(const Font& f)
{
    QFont font(f.family.isEmpty() ? QStringLiteral("Arial") : f.family);
    font.setBold(f.style & 1);
    font.setItalic(f.style & 2);
    font.setUnderline(f.style & 4);
    font.setStrikeOut(f.style & 8);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

// Text takes one colour: the brush's, or a gradient's first.
QColor textColor(quint16 flags, quint32 brushId, const Brush* brush)
{
    if (flags & FlagColor)
        return argb(brushId);
    return brush ? brush->color : QColor(Qt::black);
}

} // namespace

void EmfPlusPlayer::drawString(quint16 flags, ByteReader& r)
{
    const quint32 brushId = r.u32();
    const quint32 formatId = r.u32();
    const quint32 length = r.u32();
    const QRectF layout = readRect(r, false);
    const Font* font = object<Font>(flags & 0xFF);
    if (!r.ok() || !font || length == 0 || length > quint32(kMaxTextLength) || !r.has(qsizetype(length) * 2))
        return;
    QString text;
    for (quint32 i = 0; i < length; ++i)
        text.append(QChar(r.u16()));
    StringFormat format;
    if (const StringFormat* f = object<StringFormat>(formatId))
        format = *f;
    const qreal em = emInWorld(*font);
    if (!std::isfinite(em) || em <= 0 || em > 1e7)
        return;
    const Brush* brush = (flags & FlagColor) ? nullptr : object<Brush>(brushId);
    if (!(flags & FlagColor) && !brush)
        return;
    const QColor color = textColor(flags, brushId, brush);

    // Lay out at a fixed size, then scale to the em size in world units.
    constexpr qreal kLayoutPixels = 64;
    const qreal s = em / kLayoutPixels;
    QFont font64 = qfontOf(*font);
    font64.setPixelSize(int(kLayoutPixels));
    text.replace(QChar('\r'), QChar(' '));
    QTextLayout tl(text.replace(QChar('\n'), QChar::LineSeparator), font64);
    QTextOption opt;
    const bool wrap = !(format.flags & 0x1000) && layout.width() > 0;
    opt.setWrapMode(wrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    tl.setTextOption(opt);
    tl.beginLayout();
    qreal y = 0;
    int lines = 0;
    while (lines < 1000) {
        QTextLine line = tl.createLine();
        if (!line.isValid())
            break;
        if (wrap)
            line.setLineWidth(layout.width() / s);
        line.setPosition(QPointF(0, y));
        y += line.height();
        ++lines;
    }
    tl.endLayout();
    const qreal total = y * s;
    qreal top = layout.top();
    if (format.lineAlign == 1)
        top += (layout.height() > 0 ? (layout.height() - total) / 2 : -total / 2);
    else if (format.lineAlign == 2)
        top += layout.height() > 0 ? layout.height() - total : -total;
    const QTransform toTarget = worldToTarget();
    const QFont qf = qfontOf(*font);
    for (int i = 0; i < tl.lineCount(); ++i) {
        const QTextLine line = tl.lineAt(i);
        QString part = text.mid(line.textStart(), line.textLength());
        while (!part.isEmpty() && (part.back().isSpace() || part.back() == QChar::LineSeparator))
            part.chop(1);
        const qreal w = line.naturalTextWidth() * s;
        qreal x = layout.left();
        if (format.align == 1)
            x += layout.width() > 0 ? (layout.width() - w) / 2 : -w / 2;
        else if (format.align == 2)
            x += layout.width() > 0 ? layout.width() - w : -w;
        const qreal baseline = top + (line.y() + line.ascent()) * s;
        emitText(part, QPointF(x, baseline), qf, em, toTarget, color, {});
    }
}

void EmfPlusPlayer::drawDriverString(quint16 flags, ByteReader& r)
{
    const quint32 brushId = r.u32();
    const quint32 options = r.u32();
    const quint32 matrixPresent = r.u32();
    const quint32 count = r.u32();
    const Font* font = object<Font>(flags & 0xFF);
    if (!r.ok() || !font || count == 0 || count > quint32(kMaxTextLength) || !r.has(qsizetype(count) * 10))
        return;
    QVector<quint16> glyphs(count);
    for (quint16& g : glyphs)
        g = r.u16();
    QPolygonF pos = readPoints(r, count, 0);
    QTransform toTarget = worldToTarget();
    if (matrixPresent) {
        const QTransform m = readMatrix(r);
        if (!r.ok())
            return;
        toTarget = m * toTarget;
    }
    if (pos.size() != qsizetype(count))
        return;
    const Brush* brush = (flags & FlagColor) ? nullptr : object<Brush>(brushId);
    if (!(flags & FlagColor) && !brush)
        return;
    const QColor color = textColor(flags, brushId, brush);
    const qreal em = emInWorld(*font);
    if (!std::isfinite(em) || em <= 0 || em > 1e7)
        return;
    const QFont qf = qfontOf(*font);

    if (!(options & 1)) {
        // Glyph indexes of the font itself: drawn as outlines of the font found here.
        QFont sized = qf;
        sized.setPixelSize(64);
        const QRawFont raw = QRawFont::fromFont(sized);
        if (!raw.isValid())
            return;
        const qreal s = em / 64;
        QPainterPath all;
        QPointF at = pos[0];
        const QVector<quint32> indexes(glyphs.begin(), glyphs.end());
        const QList<QPointF> advances = raw.advancesForGlyphIndexes(QList<quint32>(indexes.begin(), indexes.end()));
        for (qsizetype i = 0; i < glyphs.size(); ++i) {
            if (!(options & 4))
                at = pos[i];
            QPainterPath g = raw.pathForGlyph(glyphs[i]);
            all.addPath(QTransform(s, 0, 0, s, at.x(), at.y()).map(g));
            if (i < advances.size())
                at += QPointF(advances[i].x() * s, 0);
        }
        all.setFillRule(Qt::WindingFill);
        MetafilePaint paint;
        paint.brush = brush ? brush->toQBrush(toTarget) : QBrush(color);
        ensureClip();
        sink_.drawPath(toTarget.map(all), paint);
        return;
    }
    QString text;
    for (quint16 g : glyphs)
        text.append(QChar(g));
    if (options & 4) { // positions follow from the font's own advances
        emitText(text, pos[0], qf, em, toTarget, color, {});
        return;
    }
    // Runs of characters on one baseline, spaced as the file places them.
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = start + 1;
        while (end < text.size() && std::abs(pos[end].y() - pos[start].y()) < 1e-3 * std::max<qreal>(1, em)
               && pos[end].x() >= pos[end - 1].x())
            ++end;
        QVector<qreal> advances;
        for (qsizetype i = start; i + 1 < end; ++i)
            advances.append(pos[i + 1].x() - pos[i].x());
        QFont sized = qf;
        sized.setPixelSize(64);
        advances.append(QFontMetricsF(sized).horizontalAdvance(text.at(end - 1)) * em / 64);
        emitText(text.mid(start, end - start), pos[start], qf, em, toTarget, color, advances);
        start = end;
    }
}

void EmfPlusPlayer::drawImage(quint16 flags, ByteReader& r, bool points)
{
    const Image* image = object<Image>(flags & 0xFF);
    r.u32(); // image attributes
    r.i32(); // source unit: pixels in practice
    const QRectF src = readRect(r, false);
    QPolygonF dest;
    if (points) {
        const quint32 count = r.u32();
        dest = readPoints(r, count, flags);
        if (dest.size() != 3)
            return;
    } else {
        const QRectF d = readRect(r, flags & FlagCompressed);
        dest = {d.topLeft(), d.topRight(), d.bottomLeft()};
    }
    if (!r.ok() || !image || src.width() == 0 || src.height() == 0)
        return;
    drawImageAt(*image, src, dest);
}

void EmfPlusPlayer::drawImageAt(const Image& image, const QRectF& src, const QPolygonF& dest)
{
    // Source space onto the parallelogram given by three corners, then onto the target.
    const QPointF o = dest[0], u = dest[1] - dest[0], v = dest[2] - dest[0];
    const QTransform srcToWorld = QTransform::fromTranslate(-src.x(), -src.y())
                                  * QTransform::fromScale(1 / src.width(), 1 / src.height())
                                  * QTransform(u.x(), u.y(), v.x(), v.y(), o.x(), o.y());
    const QTransform full = srcToWorld * worldToTarget();
    if (!full.isInvertible())
        return;
    ensureClip();
    if (!image.bitmap.isNull()) {
        const QRectF inside = src.intersected(QRectF(image.bitmap.rect()));
        if (inside.isEmpty())
            return;
        NestedSink nested(sink_, full, s_.clip);
        nested.drawImage(inside, image.bitmap, inside, QPainter::CompositionMode_SourceOver);
        clipSent_ = false; // the nested sink set the clip it needed
        return;
    }
    if (!image.metafile || ++tNestedPlays > kMaxNestedPlays)
        return;
    const QSizeF natural = image.metafile->naturalSize();
    const bool whole = std::abs(src.width() - natural.width()) <= natural.width() * 0.01
                       && std::abs(src.height() - natural.height()) <= natural.height() * 0.01;
    const QRectF picture(whole ? src.topLeft() : QPointF(0, 0), natural);
    std::optional<QPainterPath> clip = full.map(rectPath(src));
    if (s_.clip)
        clip = s_.clip->intersected(*clip);
    NestedSink nested(sink_, full, clip);
    image.metafile->playTo(nested, picture);
    clipSent_ = false;
}

} // namespace ovmeta
