#include "imaging/metafile_emfplus_objects.h"

#include "imaging/metafile_dib.h"
#include "imaging/metafile_player.h"

#include <QBuffer>
#include <QImageReader>
#include <QLinearGradient>
#include <QRadialGradient>
#include <cmath>

namespace ovmeta::emfplus {

namespace {

constexpr quint32 kPixelFormatIndexed = 0x00010000;
constexpr int kMaxRegionDepth = 32;
constexpr qreal kEverywhere = 4.0e6;

bool finite(qreal v)
{
    return std::isfinite(v) && std::abs(v) < 1e9;
}

qreal safeFloat(ByteReader& r)
{
    const float f = r.f32();
    return finite(f) ? f : 0;
}

QPointF pointF(ByteReader& r)
{
    const qreal x = safeFloat(r);
    const qreal y = safeFloat(r);
    return {x, y};
}

// One coordinate of a relative point: 7 bits in one byte or 15 bits in two.
int relativeValue(ByteReader& r)
{
    const int b0 = r.u8();
    if (b0 & 0x80) {
        const int v = ((b0 & 0x7F) << 8) | r.u8();
        return v & 0x4000 ? v - 0x8000 : v;
    }
    return b0 & 0x40 ? b0 - 0x80 : b0;
}

QPainterPath readPathObject(ByteReader& r)
{
    r.u32(); // version
    const quint32 count = r.u32();
    const quint32 flags = r.u32();
    QPainterPath path;
    if (!r.ok() || count == 0)
        return path;
    // Even the smallest points take a byte each.
    if (qsizetype(count) > r.remaining())
        return path;
    const QPolygonF pts = readPoints(r, count, quint16(flags));
    if (pts.size() != qsizetype(count))
        return path;
    QByteArray types;
    types.reserve(count);
    if (flags & FlagRleTypes) {
        while (types.size() < qsizetype(count) && r.has(2)) {
            const int head = r.u8();
            const int type = r.u8();
            const int run = head & 0x3F;
            const char t = char((head & 0x80) ? ((type & ~7) | 3) : type);
            for (int i = 0; i < run && types.size() < qsizetype(count); ++i)
                types.append(t);
        }
    } else {
        types = r.bytes(count).toByteArray();
    }
    if (types.size() != qsizetype(count))
        return QPainterPath();
    for (qsizetype i = 0; i < pts.size(); ++i) {
        const int t = uchar(types[i]);
        switch (t & 7) {
        case 0:
            path.moveTo(pts[i]);
            break;
        case 3:
            if (i + 2 < pts.size()) {
                if (path.elementCount() == 0)
                    path.moveTo(pts[i]);
                path.cubicTo(pts[i], pts[i + 1], pts[i + 2]);
                i += 2;
                break;
            }
            [[fallthrough]];
        default:
            if (path.elementCount() == 0)
                path.moveTo(pts[i]);
            else
                path.lineTo(pts[i]);
            break;
        }
        if (uchar(types[i]) & 0x80)
            path.closeSubpath();
    }
    return path;
}

QPainterPath everywhere()
{
    QPainterPath p;
    p.addRect(QRectF(-kEverywhere, -kEverywhere, 2 * kEverywhere, 2 * kEverywhere));
    return p;
}

bool readRegionNode(ByteReader& r, int depth, QPainterPath& out)
{
    if (depth > kMaxRegionDepth || !r.has(4))
        return false;
    const quint32 type = r.u32();
    switch (type) {
    case 0x10000000: { // rectangle
        const QPointF p = pointF(r);
        const qreal w = safeFloat(r), h = safeFloat(r);
        out = QPainterPath();
        out.addRect(QRectF(p, QSizeF(w, h)).normalized());
        return r.ok();
    }
    case 0x10000001: { // path
        const quint32 size = r.u32();
        const QByteArrayView data = r.bytes(size);
        if (!r.ok())
            return false;
        ByteReader sub(data.data(), data.size());
        out = readPathObject(sub);
        return true;
    }
    case 0x10000002: // empty
        out = QPainterPath();
        return true;
    case 0x10000003: // everywhere
        out = everywhere();
        return true;
    case 1: case 2: case 3: case 4: case 5: {
        QPainterPath left, right;
        if (!readRegionNode(r, depth + 1, left) || !readRegionNode(r, depth + 1, right))
            return false;
        switch (type) {
        case 1: out = left.intersected(right); break;
        case 2: out = left.united(right); break;
        case 3: out = left.united(right).subtracted(left.intersected(right)); break;
        case 4: out = left.subtracted(right); break;
        default: out = right.subtracted(left); break;
        }
        return true;
    }
    default:
        return false;
    }
}

QImage readPixels(ByteReader& r, qint32 w, qint32 h, qint32 stride, quint32 format)
{
    QVector<QRgb> palette;
    if (format & kPixelFormatIndexed) {
        r.u32(); // palette style
        const quint32 n = r.u32();
        if (n > 256 || !r.has(qsizetype(n) * 4))
            return {};
        for (quint32 i = 0; i < n; ++i)
            palette.append(argb(r.u32()).rgba());
    }
    const int bits = int((format >> 8) & 0xFF);
    if (w <= 0 || h <= 0 || qint64(w) * h > kMaxBitmapPixels || stride <= 0
        || qint64(stride) * 8 < qint64(w) * bits || !r.has(qint64(stride) * h))
        return {};
    QImage img(w, h, QImage::Format_ARGB32);
    if (img.isNull())
        return {};
    const auto* base = reinterpret_cast<const uchar*>(r.bytes(qsizetype(stride) * h).data());
    for (int y = 0; y < h; ++y) {
        const uchar* s = base + qsizetype(y) * stride;
        auto* out = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            QRgb c = qRgb(0, 0, 0);
            switch (format) {
            case 0x0026200A: // 32bpp ARGB
                c = qRgba(s[4 * x + 2], s[4 * x + 1], s[4 * x], s[4 * x + 3]);
                break;
            case 0x000E200B: { // 32bpp premultiplied ARGB
                const int a = s[4 * x + 3];
                auto un = [a](int v) { return a ? std::min(255, v * 255 / a) : 0; };
                c = qRgba(un(s[4 * x + 2]), un(s[4 * x + 1]), un(s[4 * x]), a);
                break;
            }
            case 0x00022009: // 32bpp RGB
                c = qRgb(s[4 * x + 2], s[4 * x + 1], s[4 * x]);
                break;
            case 0x00021808: // 24bpp RGB
                c = qRgb(s[3 * x + 2], s[3 * x + 1], s[3 * x]);
                break;
            case 0x00021005:   // 16bpp RGB 555
            case 0x00061007: { // 16bpp ARGB 1555
                const int v = s[2 * x] | (s[2 * x + 1] << 8);
                auto e5 = [](int v5) { return (v5 << 3) | (v5 >> 2); };
                c = qRgba(e5((v >> 10) & 31), e5((v >> 5) & 31), e5(v & 31),
                          format == 0x00061007 && !(v & 0x8000) ? 0 : 255);
                break;
            }
            case 0x00021006: { // 16bpp RGB 565
                const int v = s[2 * x] | (s[2 * x + 1] << 8);
                c = qRgb(((v >> 11) & 31) * 255 / 31, ((v >> 5) & 63) * 255 / 63, (v & 31) * 255 / 31);
                break;
            }
            case 0x00101004: // 16bpp grey
                c = qRgb(s[2 * x + 1], s[2 * x + 1], s[2 * x + 1]);
                break;
            case 0x00030803:
                c = palette.value(s[x], qRgb(0, 0, 0));
                break;
            case 0x00030402:
                c = palette.value((x % 2 ? s[x / 2] : s[x / 2] >> 4) & 15, qRgb(0, 0, 0));
                break;
            case 0x00030101:
                c = palette.value((s[x / 8] >> (7 - x % 8)) & 1, qRgb(0, 0, 0));
                break;
            default:
                return {};
            }
            out[x] = c;
        }
    }
    return img;
}

std::optional<Image> readImage(ByteReader& r)
{
    r.u32(); // version
    const quint32 type = r.u32();
    Image image;
    if (type == 1) { // bitmap
        const qint32 w = r.i32(), h = r.i32(), stride = r.i32();
        const quint32 format = r.u32();
        const quint32 kind = r.u32();
        if (!r.ok())
            return std::nullopt;
        if (kind == 1) { // a compressed picture file
            QByteArray file = r.bytes(r.remaining()).toByteArray();
            QBuffer buffer(&file);
            buffer.open(QIODevice::ReadOnly);
            QImageReader reader(&buffer);
            const QSize size = reader.size();
            if (!size.isValid() || qint64(size.width()) * size.height() > kMaxBitmapPixels)
                return std::nullopt;
            image.bitmap = reader.read();
        } else {
            image.bitmap = readPixels(r, w, h, stride, format);
        }
        if (image.bitmap.isNull())
            return std::nullopt;
        return image;
    }
    if (type == 2) { // metafile
        r.u32(); // kind: WMF, placeable WMF, EMF, EMF+ only, EMF+ dual
        const quint32 size = r.u32();
        const QByteArrayView data = r.bytes(size);
        if (!r.ok())
            return std::nullopt;
        auto mf = std::make_shared<TMetafile>();
        if (!mf->loadFromData(data.toByteArray()) || mf->kind() == TMetafile::Kind::Svg)
            return std::nullopt;
        image.metafile = std::move(mf);
        return image;
    }
    return std::nullopt;
}

// The optional data of gradient brushes: a transform, then preset colours or blend
// factors.
void readGradientOptions(ByteReader& r, quint32 flags, Brush& b, QColor start, QColor end)
{
    if (flags & 0x02)
        b.transform = readMatrix(r);
    b.stops = {{0, start}, {1, end}};
    if (flags & 0x04) { // preset colours
        const quint32 n = r.u32();
        if (n >= 2 && n <= 4096 && r.has(qsizetype(n) * 8)) {
            QVector<qreal> pos;
            for (quint32 i = 0; i < n; ++i)
                pos.append(std::clamp<qreal>(safeFloat(r), 0, 1));
            QGradientStops stops;
            for (quint32 i = 0; i < n; ++i)
                stops.append({pos[i], argb(r.u32())});
            b.stops = stops;
        }
    } else if (flags & 0x08) { // blend factors: the share of the end colour at each position
        const quint32 n = r.u32();
        if (n >= 2 && n <= 4096 && r.has(qsizetype(n) * 8)) {
            QVector<qreal> pos;
            for (quint32 i = 0; i < n; ++i)
                pos.append(std::clamp<qreal>(safeFloat(r), 0, 1));
            QGradientStops stops;
            for (quint32 i = 0; i < n; ++i) {
                const qreal f = std::clamp<qreal>(safeFloat(r), 0, 1);
                auto mix = [f](int a, int z) { return int(std::lround(a + (z - a) * f)); };
                stops.append({pos[i], QColor(mix(start.red(), end.red()), mix(start.green(), end.green()),
                                             mix(start.blue(), end.blue()), mix(start.alpha(), end.alpha()))});
            }
            b.stops = stops;
        }
    }
}

QGradient::Spread spreadOf(qint32 wrap)
{
    switch (wrap) {
    case 0: return QGradient::RepeatSpread;
    case 1: case 2: case 3: return QGradient::ReflectSpread;
    default: return QGradient::PadSpread;
    }
}

std::optional<Brush> readBrush(ByteReader& r)
{
    r.u32(); // version
    const quint32 type = r.u32();
    Brush b;
    switch (type) {
    case 0:
        b.kind = Brush::Solid;
        b.color = argb(r.u32());
        break;
    case 1:
        b.kind = Brush::Hatch;
        b.hatchStyle = int(r.u32());
        b.color = argb(r.u32());
        b.background = argb(r.u32());
        break;
    case 2: { // texture
        b.kind = Brush::Texture;
        const quint32 flags = r.u32();
        r.i32(); // wrap mode
        if (flags & 0x02)
            b.transform = readMatrix(r);
        const std::optional<Image> img = readImage(r);
        if (!img || img->bitmap.isNull())
            return std::nullopt;
        b.texture = img->bitmap;
        b.color = QColor(b.texture.pixel(0, 0));
        break;
    }
    case 3: { // path gradient: a radial gradient from the centre to the rim stands in
        b.kind = Brush::PathGradient;
        const quint32 flags = r.u32();
        b.spread = QGradient::PadSpread;
        r.i32();
        const QColor centre = argb(r.u32());
        b.from = pointF(r);
        const quint32 surrounding = r.u32();
        if (!r.ok() || surrounding == 0 || !r.has(qsizetype(surrounding) * 4))
            return std::nullopt;
        const QColor rim = argb(r.u32());
        r.skip(qsizetype(surrounding - 1) * 4);
        QPolygonF boundary;
        if (flags & 0x01) {
            const quint32 size = r.u32();
            const QByteArrayView data = r.bytes(size);
            ByteReader sub(data.data(), data.size());
            boundary = readPathObject(sub).toFillPolygon();
        } else {
            const quint32 n = r.u32();
            boundary = readPoints(r, n, 0);
        }
        if (!r.ok() || boundary.isEmpty())
            return std::nullopt;
        qreal radius = 0;
        for (const QPointF& p : boundary)
            radius = std::max(radius, QLineF(b.from, p).length());
        b.to = b.from + QPointF(radius, 0);
        if (flags & 0x02)
            b.transform = readMatrix(r);
        b.stops = {{0, centre}, {1, rim}};
        b.color = centre;
        break;
    }
    case 4: { // linear gradient
        b.kind = Brush::LinearGradient;
        const quint32 flags = r.u32();
        b.spread = spreadOf(r.i32());
        const QPointF p = pointF(r);
        const qreal w = safeFloat(r);
        safeFloat(r); // the height: colours are constant across it
        const QColor start = argb(r.u32()), end = argb(r.u32());
        r.u32();
        r.u32();
        // The colours run along the rectangle's width; the transform turns them.
        b.from = p;
        b.to = p + QPointF(w, 0);
        readGradientOptions(r, flags, b, start, end);
        b.color = start;
        break;
    }
    default:
        return std::nullopt;
    }
    if (!r.ok())
        return std::nullopt;
    return b;
}

std::optional<Pen> readPen(ByteReader& r)
{
    r.u32(); // version
    r.u32(); // type
    Pen pen;
    const quint32 flags = r.u32();
    pen.unit = int(r.u32());
    pen.width = std::abs(safeFloat(r));
    if (flags & 0x0001)
        readMatrix(r); // pen transforms are rare; the width stands as given
    if (flags & 0x0002) {
        switch (r.i32()) {
        case 1: pen.cap = Qt::SquareCap; break;
        case 2: pen.cap = Qt::RoundCap; break;
        default: pen.cap = Qt::FlatCap; break;
        }
    }
    if (flags & 0x0004)
        r.i32(); // end cap: Qt has one cap for both ends
    if (flags & 0x0008) {
        switch (r.i32()) {
        case 1: pen.join = Qt::BevelJoin; break;
        case 2: pen.join = Qt::RoundJoin; break;
        default: pen.join = Qt::MiterJoin; break;
        }
    }
    if (flags & 0x0010)
        pen.miterLimit = std::clamp<qreal>(safeFloat(r), 1, 100);
    int style = 0;
    if (flags & 0x0020)
        style = r.i32();
    if (flags & 0x0040)
        r.i32(); // dash cap
    if (flags & 0x0080)
        pen.dashOffset = safeFloat(r);
    QList<qreal> custom;
    if (flags & 0x0100) {
        const quint32 n = r.u32();
        if (n > 1024 || !r.has(qsizetype(n) * 4))
            return std::nullopt;
        for (quint32 i = 0; i < n; ++i)
            custom.append(std::max<qreal>(0.01, std::abs(safeFloat(r))));
    }
    if (flags & 0x0200)
        r.i32(); // alignment
    if (flags & 0x0400) {
        const quint32 n = r.u32();
        if (n > 1024 || !r.has(qsizetype(n) * 4))
            return std::nullopt;
        r.skip(qsizetype(n) * 4);
    }
    if (flags & 0x0800)
        r.skip(r.u32()); // custom start cap
    if (flags & 0x1000)
        r.skip(r.u32()); // custom end cap
    switch (style) {
    case 1: pen.dashes = {3, 1}; break;
    case 2: pen.dashes = {1, 1}; break;
    case 3: pen.dashes = {3, 1, 1, 1}; break;
    case 4: pen.dashes = {3, 1, 1, 1, 1, 1}; break;
    case 5: pen.dashes = custom; break;
    default: break;
    }
    if (pen.dashes.size() % 2)
        pen.dashes.append(pen.dashes.last());
    const std::optional<Brush> brush = readBrush(r);
    if (!r.ok() || !brush)
        return std::nullopt;
    pen.brush = *brush;
    return pen;
}

std::optional<Font> readFont(ByteReader& r)
{
    r.u32(); // version
    Font f;
    f.emSize = std::abs(safeFloat(r));
    f.unit = int(r.u32());
    f.style = r.i32();
    r.u32();
    const quint32 length = r.u32();
    if (!r.ok() || length > 256 || !r.has(qsizetype(length) * 2))
        return std::nullopt;
    for (quint32 i = 0; i < length; ++i)
        f.family.append(QChar(r.u16()));
    f.family = f.family.trimmed();
    return f;
}

std::optional<StringFormat> readStringFormat(ByteReader& r)
{
    r.u32(); // version
    StringFormat f;
    f.flags = r.u32();
    r.u32(); // language
    f.align = int(r.u32());
    f.lineAlign = int(r.u32());
    if (!r.ok())
        return std::nullopt;
    return f;
}

} // namespace

QColor argb(quint32 v)
{
    return QColor(int((v >> 16) & 0xFF), int((v >> 8) & 0xFF), int(v & 0xFF), int(v >> 24));
}

qreal unitToPixels(int unit, qreal dpi, bool videoDevice)
{
    switch (unit) {
    case UnitDisplay: return videoDevice ? 1 : dpi / 100;
    case UnitPoint: return dpi / 72;
    case UnitInch: return dpi;
    case UnitDocument: return dpi / 300;
    case UnitMillimeter: return dpi / 25.4;
    default: return 1; // world and pixel
    }
}

QSizeF Image::size() const
{
    if (metafile)
        return metafile->naturalSize();
    return QSizeF(bitmap.size());
}

QBrush Brush::toQBrush(const QTransform& worldToTarget) const
{
    const QTransform toTarget = transform * worldToTarget;
    switch (kind) {
    case Solid:
        return QBrush(color);
    case Hatch: {
        static const Qt::BrushStyle styles[] = {
            Qt::HorPattern, Qt::VerPattern, Qt::FDiagPattern, Qt::BDiagPattern, Qt::CrossPattern,
            Qt::DiagCrossPattern, Qt::Dense7Pattern, Qt::Dense7Pattern, Qt::Dense6Pattern,
            Qt::Dense5Pattern, Qt::Dense4Pattern, Qt::Dense3Pattern, Qt::Dense2Pattern, Qt::Dense1Pattern};
        QBrush b(color, hatchStyle >= 0 && hatchStyle < 14 ? styles[hatchStyle] : Qt::Dense4Pattern);
        return b;
    }
    case LinearGradient: {
        QLinearGradient g(from, to);
        g.setStops(stops);
        g.setSpread(spread);
        QBrush b(g);
        b.setTransform(toTarget);
        return b;
    }
    case PathGradient: {
        QRadialGradient g(from, QLineF(from, to).length());
        g.setStops(stops);
        QBrush b(g);
        b.setTransform(toTarget);
        return b;
    }
    case Texture: {
        QBrush b(texture);
        b.setTransform(toTarget);
        return b;
    }
    }
    return QBrush(color);
}

QPolygonF readPoints(ByteReader& r, quint32 count, quint16 flags)
{
    QPolygonF pts;
    const qsizetype each = (flags & FlagRelative) ? 2 : (flags & FlagCompressed) ? 4 : 8;
    if (qsizetype(count) * each > r.remaining()) // relative points take at least 2 bytes
        return pts;
    pts.reserve(count);
    QPointF at;
    for (quint32 i = 0; i < count && r.ok(); ++i) {
        if (flags & FlagRelative) {
            const int dx = relativeValue(r);
            const int dy = relativeValue(r);
            at += QPointF(dx, dy);
            pts.append(at);
        } else if (flags & FlagCompressed) {
            const qint16 x = r.i16(), y = r.i16();
            pts.append(QPointF(x, y));
        } else {
            pts.append(pointF(r));
        }
    }
    if (!r.ok())
        return {};
    return pts;
}

QRectF readRect(ByteReader& r, bool compressed)
{
    if (compressed) {
        const qint16 x = r.i16(), y = r.i16(), w = r.i16(), h = r.i16();
        return QRectF(x, y, w, h);
    }
    const QPointF p = pointF(r);
    const qreal w = safeFloat(r), h = safeFloat(r);
    return QRectF(p, QSizeF(w, h));
}

QTransform readMatrix(ByteReader& r)
{
    const qreal m11 = safeFloat(r), m12 = safeFloat(r), m21 = safeFloat(r), m22 = safeFloat(r),
                dx = safeFloat(r), dy = safeFloat(r);
    const QTransform t(m11, m12, m21, m22, dx, dy);
    return t.isInvertible() ? t : QTransform();
}

namespace {

template <typename T> std::optional<Object> asObject(std::optional<T> value)
{
    if (!value)
        return std::nullopt;
    return Object(std::move(*value));
}

} // namespace

std::optional<Object> readObject(int type, QByteArrayView data)
{
    ByteReader r(data.data(), data.size());
    switch (type) {
    case 1: return asObject(readBrush(r));
    case 2: return asObject(readPen(r));
    case 3: {
        Path p{readPathObject(r)};
        return r.ok() ? std::optional<Object>(p) : std::nullopt;
    }
    case 4: {
        r.u32(); // version
        r.u32(); // node count
        Region g;
        return readRegionNode(r, 0, g.path) ? std::optional<Object>(g) : std::nullopt;
    }
    case 5: return asObject(readImage(r));
    case 6: return asObject(readFont(r));
    case 7: return asObject(readStringFormat(r));
    default: return std::nullopt;
    }
}

} // namespace ovmeta::emfplus
