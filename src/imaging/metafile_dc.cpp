#include "imaging/metafile_dc.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPathStroker>
#include <QStringDecoder>
#include <cmath>

namespace ovmeta {

namespace {

constexpr int kMaxObjects = 65536;
constexpr int kMaxSaveDepth = 4096;
constexpr int kMaxClipElements = 2000;
// Boolean operations on paths grow costly; a picture gets this much clip work in total.
constexpr qint64 kClipWorkBudget = 200000;
constexpr qreal kMaxTextPixels = 20000;

const QRectF kEverywhere(-1e7, -1e7, 2e7, 2e7);

QPainterPath rectPath(const QRectF& r)
{
    QPainterPath p;
    p.addRect(r);
    return p;
}

qreal safeDiv(qreal a, qreal b)
{
    return b == 0 ? 1 : a / b;
}

// An axis-aligned rectangle, as rectangles and rectangle clips produce.
bool asRect(const QPainterPath& p, QRectF* out)
{
    const int n = p.elementCount();
    if (n < 4 || n > 5)
        return false;
    const QRectF b = p.boundingRect();
    for (int i = 0; i < n; ++i) {
        const QPainterPath::Element e = p.elementAt(i);
        if ((e.x != b.left() && e.x != b.right()) || (e.y != b.top() && e.y != b.bottom()))
            return false;
        if (i > 0 && e.type != QPainterPath::LineToElement)
            return false;
    }
    *out = b;
    return true;
}

bool finitePoint(QPointF p)
{
    return std::isfinite(p.x()) && std::isfinite(p.y());
}

const char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

QString decodeAnsiText(QByteArrayView bytes, int charset)
{
    const char* codec = nullptr;
    switch (charset) {
    case 238: codec = "windows-1250"; break;
    case 204: codec = "windows-1251"; break;
    case 161: codec = "windows-1253"; break;
    case 162: codec = "windows-1254"; break;
    case 177: codec = "windows-1255"; break;
    case 178: codec = "windows-1256"; break;
    case 186: codec = "windows-1257"; break;
    case 163: codec = "windows-1258"; break;
    case 222: codec = "windows-874"; break;
    case 128: codec = "Shift_JIS"; break;
    case 134: codec = "GBK"; break;
    case 129: codec = "windows-949"; break;
    case 136: codec = "Big5"; break;
    default: break;
    }
    if (codec) {
        QStringDecoder decoder(codec);
        if (decoder.isValid())
            return decoder.decode(bytes);
    }
    QString out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const auto b = uchar(ch);
        out.append(b >= 0x80 && b < 0xA0 ? QChar(kCp1252High[b - 0x80]) : QChar(b));
    }
    return out;
}

MetafileDC::MetafileDC(MetafileSink& sink, const QTransform& deviceToTarget, bool wmf)
    : sink_(sink), deviceToTarget_(deviceToTarget), wmf_(wmf)
{
    objects_.resize(16);
    s_.pen.color = Qt::black;
    s_.brush.kind = LogBrush::Solid;
    s_.brush.color = Qt::white;
}

void MetafileDC::setTargetRect(const QRectF& target)
{
    const qreal diag = std::hypot(target.width(), target.height());
    if (std::isfinite(diag))
        maxTextPixels_ = std::clamp<qreal>(4 * diag, 64, kMaxTextPixels);
}

// ------------------------------------------------------------------ objects

void MetafileDC::setTableSize(int size)
{
    objects_.resize(std::clamp(size, 1, kMaxObjects));
}

int MetafileDC::createObject(GdiObject object)
{
    for (size_t i = 0; i < objects_.size(); ++i) {
        if (std::holds_alternative<std::monostate>(objects_[i])) {
            objects_[i] = std::move(object);
            return int(i);
        }
    }
    // The writer numbered objects by the lowest free slot, so growing the table keeps
    // the numbering the file expects even when its header understated the count.
    if (objects_.size() >= size_t(kMaxObjects))
        return -1;
    objects_.push_back(std::move(object));
    return int(objects_.size() - 1);
}

void MetafileDC::putObject(quint32 index, GdiObject object)
{
    if (index >= quint32(kMaxObjects))
        return;
    if (index >= objects_.size())
        objects_.resize(index + 1);
    objects_[index] = std::move(object);
}

const GdiObject* MetafileDC::object(quint32 index) const
{
    if (index >= objects_.size())
        return nullptr;
    const GdiObject& o = objects_[index];
    return std::holds_alternative<std::monostate>(o) ? nullptr : &o;
}

void MetafileDC::selectObject(quint32 index)
{
    if (!wmf_ && (index & 0x80000000u)) {
        selectStockObject(index & 0x7FFFFFFFu);
        return;
    }
    const GdiObject* o = object(index);
    if (!o)
        return;
    if (auto* pen = std::get_if<LogPen>(o))
        s_.pen = *pen;
    else if (auto* brush = std::get_if<LogBrush>(o))
        s_.brush = *brush;
    else if (auto* font = std::get_if<LogFont>(o))
        s_.font = *font;
    else if (auto* pal = std::get_if<LogPalette>(o))
        s_.palette = *pal;
    else if (auto* rgn = std::get_if<LogRegion>(o))
        selectClipRegion(&rgn->path, !wmf_, RGN_COPY);
}

LogBrush MetafileDC::stockBrush(quint32 stock)
{
    LogBrush b;
    switch (stock) {
    case 0: case 18: b.color = Qt::white; break;
    case 1: b.color = QColor(0xC0, 0xC0, 0xC0); break;
    case 2: b.color = QColor(0x80, 0x80, 0x80); break;
    case 3: b.color = QColor(0x40, 0x40, 0x40); break;
    case 4: b.color = Qt::black; break;
    default: b.kind = LogBrush::Null; break;
    }
    return b;
}

void MetafileDC::selectStockObject(quint32 stock)
{
    auto brush = [&](LogBrush::Kind, QColor) { s_.brush = stockBrush(stock); };
    auto pen = [&](quint32 style, QColor c) {
        s_.pen = LogPen();
        s_.pen.style = style;
        s_.pen.color = c;
    };
    switch (stock) {
    case 0: brush(LogBrush::Solid, Qt::white); break;
    case 1: brush(LogBrush::Solid, QColor(0xC0, 0xC0, 0xC0)); break;
    case 2: brush(LogBrush::Solid, QColor(0x80, 0x80, 0x80)); break;
    case 3: brush(LogBrush::Solid, QColor(0x40, 0x40, 0x40)); break;
    case 4: brush(LogBrush::Solid, Qt::black); break;
    case 5: brush(LogBrush::Null, Qt::black); break;
    case 6: pen(0, Qt::white); break;
    case 7: pen(0, Qt::black); break;
    case 8: pen(5, Qt::black); break;
    case 10: case 11: case 12: case 13: case 14: case 16: case 17:
        s_.font = LogFont();
        break;
    case 15: s_.palette = LogPalette(); break;
    case 18: brush(LogBrush::Solid, Qt::white); break;
    case 19: pen(0, Qt::black); break;
    default: break;
    }
}

void MetafileDC::deleteObject(quint32 index)
{
    if (index < objects_.size())
        objects_[index] = std::monostate();
}

void MetafileDC::selectPalette(quint32 index)
{
    if (!wmf_ && (index & 0x80000000u)) {
        s_.palette = LogPalette();
        return;
    }
    if (const GdiObject* o = object(index))
        if (auto* pal = std::get_if<LogPalette>(o))
            s_.palette = *pal;
}

QColor MetafileDC::colorRef(quint32 ref) const
{
    if ((ref >> 24) == 1) { // PALETTEINDEX
        const int idx = int(ref & 0xFFFF);
        if (idx < s_.palette.entries.size())
            return QColor(s_.palette.entries.at(idx));
        return Qt::black;
    }
    return QColor(int(ref & 0xFF), int((ref >> 8) & 0xFF), int((ref >> 16) & 0xFF));
}

// ------------------------------------------------------------------ mapping

QTransform MetafileDC::logicalToDevice() const
{
    const qreal sx = safeDiv(s_.vpExt.width(), s_.winExt.width());
    const qreal sy = safeDiv(s_.vpExt.height(), s_.winExt.height());
    const QTransform page(sx, 0, 0, sy, s_.vpOrg.x() - s_.winOrg.x() * sx,
                          s_.vpOrg.y() - s_.winOrg.y() * sy);
    return s_.world * page;
}

QTransform MetafileDC::logicalToTarget() const
{
    return logicalToDevice() * deviceToTarget_;
}

void MetafileDC::setDeviceMetrics(QSizeF pixels, QSizeF millimetres)
{
    if (pixels.width() > 0 && pixels.height() > 0 && millimetres.width() > 0
        && millimetres.height() > 0) {
        devicePixels_ = pixels;
        deviceMillimetres_ = millimetres;
    }
}

void MetafileDC::setMapMode(int mode)
{
    if (mode < MM_TEXT || mode > MM_ANISOTROPIC)
        return;
    const int old = s_.mapMode;
    s_.mapMode = mode;
    qreal unitsPerMm = 0;
    switch (mode) {
    case MM_TEXT:
        s_.winExt = s_.vpExt = QSizeF(1, 1);
        return;
    case MM_LOMETRIC: unitsPerMm = 10; break;
    case MM_HIMETRIC: unitsPerMm = 100; break;
    case MM_LOENGLISH: unitsPerMm = 100 / 25.4; break;
    case MM_HIENGLISH: unitsPerMm = 1000 / 25.4; break;
    case MM_TWIPS: unitsPerMm = 1440 / 25.4; break;
    case MM_ISOTROPIC:
        // The player owns a WMF's viewport: switching keeps the extents. A real DC
        // starts an isotropic mapping from the metric extents.
        if (wmf_ || old == MM_ISOTROPIC)
            return adjustIsotropic();
        unitsPerMm = 10;
        break;
    case MM_ANISOTROPIC:
        return;
    }
    s_.winExt = QSizeF(deviceMillimetres_.width() * unitsPerMm,
                       deviceMillimetres_.height() * unitsPerMm);
    s_.vpExt = QSizeF(devicePixels_.width(), -devicePixels_.height());
}

void MetafileDC::adjustIsotropic()
{
    if (s_.mapMode != MM_ISOTROPIC)
        return;
    const qreal sx = safeDiv(s_.vpExt.width(), s_.winExt.width());
    const qreal sy = safeDiv(s_.vpExt.height(), s_.winExt.height());
    const qreal ax = std::abs(sx), ay = std::abs(sy);
    if (ax == 0 || ay == 0)
        return;
    if (ax > ay)
        s_.vpExt.setWidth(s_.vpExt.width() * ay / ax);
    else if (ay > ax)
        s_.vpExt.setHeight(s_.vpExt.height() * ax / ay);
}

void MetafileDC::setWindowOrg(QPointF p)
{
    s_.winOrg = p;
}

void MetafileDC::setWindowExt(QSizeF s)
{
    if (s.width() == 0 || s.height() == 0)
        return;
    if (s_.mapMode != MM_ISOTROPIC && s_.mapMode != MM_ANISOTROPIC)
        return;
    s_.winExt = s;
    adjustIsotropic();
}

void MetafileDC::setViewportOrg(QPointF p)
{
    s_.vpOrg = p;
}

void MetafileDC::setViewportExt(QSizeF s)
{
    if (s.width() == 0 || s.height() == 0)
        return;
    if (s_.mapMode != MM_ISOTROPIC && s_.mapMode != MM_ANISOTROPIC)
        return;
    s_.vpExt = s;
    adjustIsotropic();
}

void MetafileDC::offsetWindowOrg(QPointF d)
{
    s_.winOrg += d;
}

void MetafileDC::offsetViewportOrg(QPointF d)
{
    s_.vpOrg += d;
}

void MetafileDC::scaleWindowExt(qreal xNum, qreal xDen, qreal yNum, qreal yDen)
{
    if (xDen == 0 || yDen == 0 || xNum == 0 || yNum == 0)
        return;
    setWindowExt(QSizeF(s_.winExt.width() * xNum / xDen, s_.winExt.height() * yNum / yDen));
}

void MetafileDC::scaleViewportExt(qreal xNum, qreal xDen, qreal yNum, qreal yDen)
{
    if (xDen == 0 || yDen == 0 || xNum == 0 || yNum == 0)
        return;
    setViewportExt(QSizeF(s_.vpExt.width() * xNum / xDen, s_.vpExt.height() * yNum / yDen));
}

void MetafileDC::setWorldTransform(const QTransform& t)
{
    if (t.isInvertible())
        s_.world = t;
}

void MetafileDC::modifyWorldTransform(const QTransform& t, int mode)
{
    switch (mode) {
    case 1: s_.world = QTransform(); break;
    case 2: if (t.isInvertible()) s_.world = t * s_.world; break;
    case 3: if (t.isInvertible()) s_.world = s_.world * t; break;
    case 4: setWorldTransform(t); break;
    default: break;
    }
}

void MetafileDC::saveDC()
{
    if (stack_.size() < size_t(kMaxSaveDepth))
        stack_.push_back(s_);
}

void MetafileDC::restoreDC(int which)
{
    // Negative: relative to the top; positive: the absolute save level.
    size_t keep;
    if (which < 0) {
        if (size_t(-qint64(which)) > stack_.size())
            return;
        keep = stack_.size() - size_t(-qint64(which));
    } else {
        if (which == 0 || size_t(which) > stack_.size())
            return;
        keep = size_t(which) - 1;
    }
    s_ = stack_[keep];
    stack_.resize(keep);
    pushClip();
}

// ------------------------------------------------------------------ clipping

void MetafileDC::pushClip()
{
    if (!clipSent_ && !s_.clip)
        return;
    if (clipSent_ && lastClip_.has_value() == s_.clip.has_value()
        && (!s_.clip || *lastClip_ == *s_.clip))
        return;
    resendClip();
}

void MetafileDC::resendClip()
{
    lastClip_ = s_.clip;
    clipSent_ = true;
    sink_.setClip(s_.clip);
}

void MetafileDC::applyClip(const QPainterPath& shape, int mode)
{
    std::optional<QPainterPath> next;
    QRectF a, b;
    if (mode != RGN_COPY) {
        clipWork_ += shape.elementCount() + (s_.clip ? s_.clip->elementCount() : 0);
        if (clipWork_ > kClipWorkBudget)
            return;
    }
    switch (mode) {
    case RGN_COPY:
        next = shape;
        break;
    case RGN_AND:
        if (s_.clip && asRect(*s_.clip, &a) && asRect(shape, &b))
            next = rectPath(a.intersected(b));
        else
            next = s_.clip ? s_.clip->intersected(shape) : shape;
        break;
    case RGN_OR:
        if (s_.clip)
            next = s_.clip->united(shape);
        break;
    case RGN_XOR: {
        const QPainterPath base = s_.clip ? *s_.clip : rectPath(kEverywhere);
        next = base.united(shape).subtracted(base.intersected(shape));
        break;
    }
    case RGN_DIFF:
        next = (s_.clip ? *s_.clip : rectPath(kEverywhere)).subtracted(shape);
        break;
    default:
        return;
    }
    // Endless clip edits from a damaged file would make the region ever more costly.
    if (next && next->elementCount() > kMaxClipElements)
        return;
    s_.clip = next;
    pushClip();
}

void MetafileDC::intersectClipRect(const QRectF& logical)
{
    QPainterPath p;
    p.addPolygon(logicalToTarget().map(QPolygonF(logical.normalized())));
    p.closeSubpath();
    applyClip(p, RGN_AND);
}

void MetafileDC::excludeClipRect(const QRectF& logical)
{
    QPainterPath p;
    p.addPolygon(logicalToTarget().map(QPolygonF(logical.normalized())));
    p.closeSubpath();
    applyClip(p, RGN_DIFF);
}

QPainterPath MetafileDC::regionToTarget(const QPainterPath& region, bool isDevice) const
{
    return (isDevice ? deviceToTarget_ : logicalToTarget()).map(region);
}

void MetafileDC::selectClipRegion(const QPainterPath* region, bool regionIsDevice, int mode)
{
    if (!region) {
        if (mode == RGN_COPY) {
            s_.clip.reset();
            pushClip();
        }
        return;
    }
    applyClip(regionToTarget(*region, regionIsDevice), mode);
}

void MetafileDC::offsetClip(QPointF logicalDelta)
{
    if (!s_.clip)
        return;
    const QTransform t = logicalToTarget();
    const QPointF d = t.map(logicalDelta) - t.map(QPointF(0, 0));
    s_.clip->translate(d);
    pushClip();
}

void MetafileDC::selectClipPath(int mode)
{
    if (!pathValid_)
        return;
    QPainterPath p = path_;
    p.setFillRule(s_.polyFillMode == 2 ? Qt::WindingFill : Qt::OddEvenFill);
    pathValid_ = false;
    path_ = QPainterPath();
    applyClip(p.simplified(), mode);
}

// ------------------------------------------------------------------ pens and brushes

QPainter::CompositionMode MetafileDC::rop2Mode() const
{
    switch (s_.rop2) {
    case 2: return QPainter::RasterOp_NotSourceAndNotDestination;
    case 3: return QPainter::RasterOp_NotSourceAndDestination;
    case 5: return QPainter::RasterOp_SourceAndNotDestination;
    case 6: return QPainter::RasterOp_NotDestination;
    case 7: return QPainter::RasterOp_SourceXorDestination;
    case 8: return QPainter::RasterOp_NotSourceOrNotDestination;
    case 9: return QPainter::RasterOp_SourceAndDestination;
    case 10: return QPainter::RasterOp_NotSourceXorDestination;
    case 12: return QPainter::RasterOp_NotSourceOrDestination;
    case 15: return QPainter::RasterOp_SourceOrDestination;
    default: return QPainter::CompositionMode_SourceOver;
    }
}

bool MetafileDC::ropDrawsNothing() const
{
    return s_.rop2 == 11; // R2_NOP
}

qreal MetafileDC::scaleAlong(QPointF dir) const
{
    const QTransform t = logicalToTarget();
    const QPointF a = t.map(QPointF(0, 0));
    const QPointF b = t.map(dir);
    const qreal len = std::hypot(b.x() - a.x(), b.y() - a.y());
    return std::isfinite(len) ? len : 0;
}

QPen MetafileDC::makePen() const
{
    const LogPen& lp = s_.pen;
    const int style = int(lp.style & 0xF);
    if (style == 5)
        return QPen(Qt::NoPen);
    QColor color = lp.color;
    if (s_.rop2 == 1)
        color = Qt::black;
    else if (s_.rop2 == 16)
        color = Qt::white;
    else if (s_.rop2 == 4)
        color = QColor(255 - color.red(), 255 - color.green(), 255 - color.blue());
    QPen pen(color);
    const QTransform t = logicalToTarget();
    const qreal scale = std::sqrt(std::abs(t.determinant()));
    qreal width = lp.width > 0 ? lp.width * scale : 0;
    if (!std::isfinite(width))
        width = 0;
    width = std::min<qreal>(width, 32000); // QPen limit; wider than any printed page
    pen.setWidthF(width); // 0 draws one device pixel, as a GDI cosmetic pen
    const bool geometric = (lp.style & 0x10000u) != 0;
    Qt::PenStyle qs = Qt::SolidLine;
    switch (style) {
    case 1: qs = Qt::DashLine; break;
    case 2: qs = Qt::DotLine; break;
    case 3: qs = Qt::DashDotLine; break;
    case 4: qs = Qt::DashDotDotLine; break;
    case 7: qs = Qt::CustomDashLine; break;
    case 8: qs = Qt::DotLine; break;
    default: break;
    }
    // Styled lines wider than a pixel draw solid unless the pen is geometric.
    if (!geometric && qs != Qt::SolidLine && width > 1.5)
        qs = Qt::SolidLine;
    if (qs == Qt::CustomDashLine) {
        QList<qreal> pattern;
        const qreal unit = width > 0 ? width : 1;
        for (qreal d : lp.dashes)
            pattern.append(std::max<qreal>(0.01, d * (geometric ? scale : 1) / unit));
        if (pattern.size() % 2)
            pattern.append(pattern.last());
        if (pattern.isEmpty())
            qs = Qt::SolidLine;
        else
            pen.setDashPattern(pattern);
    } else {
        pen.setStyle(qs);
    }
    switch (lp.style & 0xF00u) {
    case 0x100: pen.setCapStyle(Qt::SquareCap); break;
    case 0x200: pen.setCapStyle(Qt::FlatCap); break;
    default: pen.setCapStyle(Qt::RoundCap); break;
    }
    switch (lp.style & 0xF000u) {
    case 0x1000: pen.setJoinStyle(Qt::BevelJoin); break;
    case 0x2000:
        pen.setJoinStyle(Qt::MiterJoin);
        pen.setMiterLimit(std::clamp<qreal>(s_.miterLimit, 1, 100));
        break;
    default: pen.setJoinStyle(Qt::RoundJoin); break;
    }
    return pen;
}

QBrush MetafileDC::makeBrush(const LogBrush& b) const
{
    QColor color = b.color;
    if (s_.rop2 == 1)
        return QBrush(Qt::black);
    if (s_.rop2 == 16)
        return QBrush(Qt::white);
    if (s_.rop2 == 4)
        color = QColor(255 - color.red(), 255 - color.green(), 255 - color.blue());
    switch (b.kind) {
    case LogBrush::Null:
        return QBrush(Qt::NoBrush);
    case LogBrush::Solid:
        return QBrush(color);
    case LogBrush::Hatched: {
        static const Qt::BrushStyle hatches[] = {Qt::HorPattern, Qt::VerPattern,
                                                 Qt::FDiagPattern, Qt::BDiagPattern,
                                                 Qt::CrossPattern, Qt::DiagCrossPattern};
        const int h = b.hatch >= 0 && b.hatch < 6 ? b.hatch : 0;
        return QBrush(color, hatches[h]);
    }
    case LogBrush::Pattern:
        if (b.pattern.isNull())
            return QBrush(Qt::gray);
        return QBrush(b.pattern);
    }
    return QBrush(Qt::NoBrush);
}

MetafilePaint MetafileDC::strokePaint() const
{
    MetafilePaint p;
    p.pen = makePen();
    p.mode = rop2Mode();
    p.opaqueBackground = s_.bkMode == 2;
    p.background = s_.bkColor;
    return p;
}

MetafilePaint MetafileDC::fillPaint() const
{
    MetafilePaint p = strokePaint();
    p.brush = makeBrush(s_.brush);
    return p;
}

// ------------------------------------------------------------------ paths

void MetafileDC::beginPath()
{
    inPath_ = true;
    pathValid_ = false;
    path_ = QPainterPath();
}

void MetafileDC::endPath()
{
    if (!inPath_)
        return;
    inPath_ = false;
    pathValid_ = true;
}

void MetafileDC::abortPath()
{
    inPath_ = false;
    pathValid_ = false;
    path_ = QPainterPath();
}

void MetafileDC::closeFigure()
{
    if (inPath_)
        path_.closeSubpath();
}

void MetafileDC::fillPath()
{
    if (!pathValid_)
        return;
    path_.setFillRule(s_.polyFillMode == 2 ? Qt::WindingFill : Qt::OddEvenFill);
    MetafilePaint p = fillPaint();
    p.pen = QPen(Qt::NoPen);
    if (!ropDrawsNothing())
        sink_.drawPath(path_, p);
    abortPath();
}

void MetafileDC::strokePath()
{
    if (!pathValid_)
        return;
    if (!ropDrawsNothing())
        sink_.drawPath(path_, strokePaint());
    abortPath();
}

void MetafileDC::strokeAndFillPath()
{
    if (!pathValid_)
        return;
    path_.setFillRule(s_.polyFillMode == 2 ? Qt::WindingFill : Qt::OddEvenFill);
    if (!ropDrawsNothing())
        sink_.drawPath(path_, fillPaint());
    abortPath();
}

void MetafileDC::flattenPath()
{
    if (!pathValid_)
        return;
    QPainterPath flat;
    for (const QPolygonF& poly : path_.toSubpathPolygons())
        flat.addPolygon(poly);
    path_ = flat;
}

void MetafileDC::widenPath()
{
    if (!pathValid_)
        return;
    const QPen pen = makePen();
    QPainterPathStroker stroker(pen);
    stroker.setWidth(std::max<qreal>(1, pen.widthF()));
    path_ = stroker.createStroke(path_);
}

// ------------------------------------------------------------------ drawing

void MetafileDC::emitShape(const QPainterPath& target, bool fill, bool stroke)
{
    if (inPath_) {
        path_.addPath(target);
        return;
    }
    if (ropDrawsNothing())
        return;
    MetafilePaint p = fill ? fillPaint() : strokePaint();
    if (!stroke)
        p.pen = QPen(Qt::NoPen);
    QPainterPath path = target;
    path.setFillRule(s_.polyFillMode == 2 ? Qt::WindingFill : Qt::OddEvenFill);
    sink_.drawPath(path, p);
}

void MetafileDC::emitPolyline(const QPolygonF& target)
{
    if (target.size() < 2)
        return;
    if (inPath_) {
        path_.moveTo(target.first());
        for (int i = 1; i < target.size(); ++i)
            path_.lineTo(target.at(i));
        return;
    }
    if (!ropDrawsNothing())
        sink_.drawPolyline(target, strokePaint());
}

void MetafileDC::moveTo(QPointF p)
{
    s_.cur = p;
    if (inPath_)
        path_.moveTo(logicalToTarget().map(p));
}

void MetafileDC::lineTo(QPointF p)
{
    const QTransform t = logicalToTarget();
    if (inPath_) {
        if (path_.elementCount() == 0)
            path_.moveTo(t.map(s_.cur));
        path_.lineTo(t.map(p));
    } else {
        emitPolyline(QPolygonF({t.map(s_.cur), t.map(p)}));
    }
    s_.cur = p;
}

void MetafileDC::polyline(const QPolygonF& pts)
{
    emitPolyline(logicalToTarget().map(pts));
}

void MetafileDC::polylineTo(const QPolygonF& pts)
{
    if (pts.isEmpty())
        return;
    QPolygonF all;
    all.reserve(pts.size() + 1);
    all.append(s_.cur);
    all.append(pts);
    const QTransform t = logicalToTarget();
    if (inPath_) {
        if (path_.elementCount() == 0)
            path_.moveTo(t.map(s_.cur));
        for (QPointF p : pts)
            path_.lineTo(t.map(p));
    } else {
        emitPolyline(t.map(all));
    }
    s_.cur = pts.last();
}

void MetafileDC::polygon(const QPolygonF& pts)
{
    if (pts.size() < 2)
        return;
    const QPolygonF target = logicalToTarget().map(pts);
    if (inPath_) {
        path_.addPolygon(target);
        path_.closeSubpath();
        return;
    }
    if (ropDrawsNothing())
        return;
    sink_.drawPolygon(target, s_.polyFillMode == 2 ? Qt::WindingFill : Qt::OddEvenFill,
                      fillPaint());
}

void MetafileDC::polyPolygon(const std::vector<QPolygonF>& polys)
{
    const QTransform t = logicalToTarget();
    QPainterPath path;
    for (const QPolygonF& poly : polys) {
        if (poly.size() < 2)
            continue;
        path.addPolygon(t.map(poly));
        path.closeSubpath();
    }
    if (!path.isEmpty())
        emitShape(path, true, true);
}

void MetafileDC::polyPolyline(const std::vector<QPolygonF>& polys)
{
    for (const QPolygonF& poly : polys)
        polyline(poly);
}

void MetafileDC::polyBezier(const QPolygonF& pts)
{
    if (pts.size() < 4)
        return;
    const QPolygonF t = logicalToTarget().map(pts);
    QPainterPath path(t.first());
    for (int i = 1; i + 2 < t.size(); i += 3)
        path.cubicTo(t.at(i), t.at(i + 1), t.at(i + 2));
    emitShape(path, false, true);
}

void MetafileDC::polyBezierTo(const QPolygonF& pts)
{
    if (pts.size() < 3)
        return;
    const QTransform tr = logicalToTarget();
    const QPolygonF t = tr.map(pts);
    const int usable = int(t.size() / 3) * 3;
    if (inPath_) {
        if (path_.elementCount() == 0)
            path_.moveTo(tr.map(s_.cur));
        for (int i = 0; i + 2 < usable; i += 3)
            path_.cubicTo(t.at(i), t.at(i + 1), t.at(i + 2));
    } else {
        QPainterPath path(tr.map(s_.cur));
        for (int i = 0; i + 2 < usable; i += 3)
            path.cubicTo(t.at(i), t.at(i + 1), t.at(i + 2));
        emitShape(path, false, true);
    }
    s_.cur = pts.at(usable - 1);
}

void MetafileDC::polyDraw(const QPolygonF& pts, const QByteArray& types)
{
    const QTransform tr = logicalToTarget();
    QPainterPath path(tr.map(s_.cur));
    const int n = int(std::min<qsizetype>(pts.size(), types.size()));
    QPointF start = s_.cur;
    for (int i = 0; i < n; ++i) {
        const int type = uchar(types.at(i));
        switch (type & ~1) {
        case 6:
            path.moveTo(tr.map(pts.at(i)));
            start = pts.at(i);
            s_.cur = pts.at(i);
            break;
        case 2:
            path.lineTo(tr.map(pts.at(i)));
            s_.cur = pts.at(i);
            break;
        case 4:
            if (i + 2 < n) {
                path.cubicTo(tr.map(pts.at(i)), tr.map(pts.at(i + 1)), tr.map(pts.at(i + 2)));
                i += 2;
                s_.cur = pts.at(i);
            }
            break;
        default:
            break;
        }
        if (i < n && (uchar(types.at(i)) & 1)) {
            path.closeSubpath();
            s_.cur = start;
        }
    }
    emitShape(path, false, true);
}

void MetafileDC::rectangle(const QRectF& r)
{
    polygon(QPolygonF(r.normalized()));
}

void MetafileDC::roundRect(const QRectF& r, QSizeF corner)
{
    QPainterPath path;
    path.addRoundedRect(r.normalized(), std::abs(corner.width()) / 2,
                        std::abs(corner.height()) / 2);
    emitShape(logicalToTarget().map(path), true, true);
}

void MetafileDC::ellipse(const QRectF& r)
{
    QPainterPath path;
    path.addEllipse(r.normalized());
    emitShape(logicalToTarget().map(path), true, true);
}

void MetafileDC::arc(ArcKind kind, const QRectF& boxIn, QPointF start, QPointF end)
{
    const QRectF box = boxIn.normalized();
    const QTransform tr = logicalToTarget();
    const qreal rx = box.width() / 2, ry = box.height() / 2;
    if (rx <= 0 || ry <= 0)
        return;
    const QPointF c = box.center();
    auto angleOf = [&](QPointF p) {
        return std::atan2(-(p.y() - c.y()) / ry, (p.x() - c.x()) / rx) * 180 / M_PI;
    };
    const qreal a0 = angleOf(start);
    const qreal a1 = angleOf(end);
    // Arcs run counter-clockwise as seen on the device; a flipped mapping reverses
    // what that means in logical space.
    const bool clockwiseLogical = (tr.determinant() < 0) != s_.arcClockwise;
    qreal sweep;
    if (!clockwiseLogical) {
        sweep = std::fmod(a1 - a0 + 720, 360);
        if (sweep <= 1e-9)
            sweep = 360;
    } else {
        sweep = -std::fmod(a0 - a1 + 720, 360);
        if (sweep >= -1e-9)
            sweep = -360;
    }
    QPainterPath path;
    if (kind == ArcPie) {
        path.moveTo(c);
        path.arcTo(box, a0, sweep);
        path.closeSubpath();
    } else {
        path.arcMoveTo(box, a0);
        if (kind == ArcTo) {
            QPainterPath lead(s_.cur);
            lead.lineTo(path.currentPosition());
            lead.arcTo(box, a0, sweep);
            path = lead;
        } else {
            path.arcTo(box, a0, sweep);
        }
        if (kind == ArcChord)
            path.closeSubpath();
    }
    if (kind == ArcTo) {
        s_.cur = path.currentPosition();
        if (inPath_) {
            if (path_.elementCount() == 0)
                path_.moveTo(tr.map(path.elementAt(0)));
            path_.connectPath(tr.map(path));
            return;
        }
    }
    const bool filled = kind == ArcPie || kind == ArcChord;
    emitShape(tr.map(path), filled, true);
}

void MetafileDC::angleArc(QPointF center, qreal radius, qreal startDeg, qreal sweepDeg)
{
    if (!(radius > 0) || !std::isfinite(startDeg) || !std::isfinite(sweepDeg))
        return;
    sweepDeg = std::clamp<qreal>(sweepDeg, -360, 360);
    const QRectF box(center.x() - radius, center.y() - radius, 2 * radius, 2 * radius);
    QPainterPath path(s_.cur);
    QPainterPath probe;
    probe.arcMoveTo(box, startDeg);
    path.lineTo(probe.currentPosition());
    path.arcTo(box, startDeg, sweepDeg);
    s_.cur = path.currentPosition();
    const QTransform tr = logicalToTarget();
    if (inPath_) {
        if (path_.elementCount() == 0)
            path_.moveTo(tr.map(path.elementAt(0)));
        path_.connectPath(tr.map(path));
        return;
    }
    emitShape(tr.map(path), false, true);
}

void MetafileDC::setPixel(QPointF p, QColor c)
{
    if (inPath_)
        return;
    const QPointF d = logicalToDevice().map(p);
    const QPolygonF px = deviceToTarget_.map(QPolygonF(QRectF(std::floor(d.x()), std::floor(d.y()), 1, 1)));
    MetafilePaint paint;
    paint.brush = QBrush(c);
    sink_.drawPolygon(px, Qt::OddEvenFill, paint);
}

void MetafileDC::fillRegion(const QPainterPath& region, bool regionIsDevice, const LogBrush& brush)
{
    if (inPath_)
        return;
    MetafilePaint paint;
    paint.brush = makeBrush(brush);
    paint.opaqueBackground = s_.bkMode == 2;
    paint.background = s_.bkColor;
    sink_.drawPath(regionToTarget(region, regionIsDevice), paint);
}

void MetafileDC::frameRegion(const QPainterPath& region, bool regionIsDevice, const LogBrush& brush,
                             QSizeF logicalStroke)
{
    if (inPath_)
        return;
    const QPainterPath target = regionToTarget(region, regionIsDevice);
    const qreal w = std::max<qreal>(0, scaleAlong(QPointF(logicalStroke.width(), 0)));
    QPainterPathStroker stroker;
    stroker.setWidth(std::clamp<qreal>(w * 2, 0.5, 32000));
    // Frames lie inside the region.
    const QPainterPath band = stroker.createStroke(target).intersected(target);
    MetafilePaint paint;
    paint.brush = makeBrush(brush);
    sink_.drawPath(band, paint);
}

void MetafileDC::patBlt(const QRectF& r, quint32 rop)
{
    if (inPath_)
        return;
    MetafilePaint paint;
    switch ((rop >> 16) & 0xFF) {
    case 0xF0: paint.brush = makeBrush(s_.brush); break;
    case 0x00: paint.brush = QBrush(Qt::black); break;
    case 0xFF: paint.brush = QBrush(Qt::white); break;
    case 0x55:
        paint.brush = QBrush(Qt::white);
        paint.mode = QPainter::RasterOp_NotDestination;
        break;
    case 0x5A:
        paint.brush = makeBrush(s_.brush);
        paint.mode = QPainter::RasterOp_SourceXorDestination;
        break;
    case 0xAA:
        return;
    default: paint.brush = makeBrush(s_.brush); break;
    }
    if (paint.brush.style() == Qt::NoBrush)
        return;
    sink_.drawPolygon(logicalToTarget().map(QPolygonF(r.normalized())), Qt::OddEvenFill, paint);
}

void MetafileDC::gradientFill(const QPolygonF& logical, QPointF from, QPointF to, QColor c0,
                              QColor c1)
{
    if (inPath_ || logical.size() < 3)
        return;
    const QTransform tr = logicalToTarget();
    MetafilePaint paint;
    if (from == to) {
        paint.brush = QBrush(c0);
    } else {
        QLinearGradient g(tr.map(from), tr.map(to));
        g.setColorAt(0, c0);
        g.setColorAt(1, c1);
        paint.brush = QBrush(g);
    }
    sink_.drawPolygon(tr.map(logical), Qt::OddEvenFill, paint);
}

void MetafileDC::drawImage(const QRectF& dest, const QImage& imageIn, QRectF source, quint32 rop,
                           bool bottomUpSource)
{
    if (inPath_ || imageIn.isNull())
        return;
    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
    QImage image = imageIn;
    switch ((rop >> 16) & 0xFF) {
    case 0xCC: case 0xC0: break;
    case 0x88: mode = QPainter::RasterOp_SourceAndDestination; break;
    case 0xEE: mode = QPainter::RasterOp_SourceOrDestination; break;
    case 0x66: mode = QPainter::RasterOp_SourceXorDestination; break;
    case 0x44: mode = QPainter::RasterOp_SourceAndNotDestination; break;
    case 0xBB: mode = QPainter::RasterOp_NotSourceOrDestination; break;
    case 0x11: mode = QPainter::RasterOp_NotSourceAndNotDestination; break;
    case 0x22: mode = QPainter::RasterOp_NotSourceAndDestination; break;
    case 0x33: image.invertPixels(); break;
    case 0xF0: case 0x00: case 0xFF: case 0x55: case 0x5A: case 0xAA:
        patBlt(dest, rop);
        return;
    default: break;
    }
    if (bottomUpSource)
        source.moveTop(image.height() - source.top() - source.height());
    source = source.normalized();
    if (source.isEmpty())
        source = QRectF(image.rect());
    // Only the part of the source inside the bitmap draws; shrink the destination to match.
    const QRectF inside = source.intersected(QRectF(image.rect()));
    if (inside.isEmpty())
        return;
    QRectF d = dest;
    if (inside != source) {
        const qreal fx = d.width() / source.width(), fy = d.height() / source.height();
        d = QRectF(d.x() + (inside.x() - source.x()) * fx, d.y() + (inside.y() - source.y()) * fy,
                   inside.width() * fx, inside.height() * fy);
        source = inside;
    }
    const QTransform tr = logicalToTarget();
    const QPointF a = tr.map(d.topLeft());
    const QPointF b = tr.map(d.bottomRight());
    if (!finitePoint(a) || !finitePoint(b))
        return;
    const bool mirrorX = b.x() < a.x(), mirrorY = b.y() < a.y();
    if (mirrorX || mirrorY) {
        const QRect src = source.toAlignedRect().intersected(image.rect());
        image = image.copy(src).mirrored(mirrorX, mirrorY);
        source = QRectF(image.rect());
    }
    sink_.drawImage(QRectF(a, b).normalized(), image, source, mode);
}

QFont MetafileDC::makeFont(qreal* pixelSize) const
{
    const LogFont& lf = s_.font;
    QFont font;
    font.setFamily(lf.face.isEmpty() ? QStringLiteral("Arial") : lf.face);
    font.setWeight(QFont::Weight(std::clamp(lf.weight == 0 ? 400 : lf.weight, 100, 900)));
    font.setItalic(lf.italic);
    font.setUnderline(lf.underline);
    font.setStrikeOut(lf.strikeOut);
    font.setStyleStrategy(QFont::PreferAntialias);
    qreal px;
    if (lf.height == 0)
        px = 16 * std::sqrt(std::abs(deviceToTarget_.determinant())); // the system font
    else
        px = std::abs(lf.height) * scaleAlong(QPointF(0, 1));
    if (lf.height > 0) {
        // A positive height is the cell height: ascent plus descent.
        QFont probe = font;
        probe.setPixelSize(100);
        const qreal cell = QFontMetricsF(probe).height();
        if (cell > 0)
            px = px * 100 / cell;
    }
    if (!std::isfinite(px) || px < 0)
        px = 0;
    *pixelSize = std::min(px, maxTextPixels_);
    return font;
}

void MetafileDC::textOut(QPointF ref, const QString& text, const QVector<qreal>& dx,
                         quint32 options, const QRectF* rect)
{
    const QTransform tr = logicalToTarget();
    const bool updateCp = s_.textAlign & TA_UPDATECP;
    if (updateCp)
        ref = s_.cur;

    MetafileText t;
    t.text = text;
    qreal px = 0;
    QFont font = makeFont(&px);
    const int nominal = px >= 32 ? int(std::lround(px)) : 32;
    font.setPixelSize(nominal);
    t.fontScale = px / nominal;
    t.pixelSize = px;
    const qreal xScale = scaleAlong(QPointF(1, 0));
    if (s_.font.width != 0 && px > 0) {
        const qreal avg = QFontMetricsF(font).averageCharWidth() * t.fontScale;
        const qreal want = std::abs(s_.font.width) * xScale;
        if (avg > 0)
            font.setStretch(std::clamp(int(std::lround(want / avg * 100)), 25, 400));
    }
    t.font = font;
    const QFontMetricsF fm(font);
    t.ascent = fm.ascent() * t.fontScale;
    t.descent = fm.descent() * t.fontScale;
    if (!dx.isEmpty()) {
        for (qreal d : dx)
            t.advances.append(d * xScale);
    } else if (s_.charExtra != 0) {
        for (QChar ch : text)
            t.advances.append(fm.horizontalAdvance(ch) * t.fontScale + s_.charExtra * xScale);
    }
    if (!t.advances.isEmpty()) {
        for (int i = 0; i < t.advances.size() && i < text.size(); ++i)
            t.width += t.advances.at(i);
    } else {
        t.width = fm.horizontalAdvance(text) * t.fontScale;
    }

    // Baseline direction: the mapping's own rotation plus the font's escapement.
    qreal angle = s_.font.escapement / 10.0;
    if (tr.m12() != 0 || tr.m21() != 0) {
        const QPointF dir = tr.map(QPointF(1, 0)) - tr.map(QPointF(0, 0));
        angle += std::atan2(-dir.y(), dir.x()) * 180 / M_PI;
    }
    t.angle = angle;
    const qreal rad = angle * M_PI / 180;
    const qreal ca = std::cos(rad), sa = std::sin(rad);

    qreal offX = 0, offY = 0;
    switch (s_.textAlign & 6u) {
    case TA_RIGHT: offX = -t.width; break;
    case TA_CENTER: offX = -t.width / 2; break;
    default: break;
    }
    switch (s_.textAlign & 24u) {
    case TA_BASELINE: break;
    case TA_BOTTOM: offY = -t.descent; break;
    default: offY = t.ascent; break;
    }
    const QPointF anchor = tr.map(ref);
    if (!finitePoint(anchor))
        return;
    t.origin = anchor + QPointF(offX * ca + offY * sa, -offX * sa + offY * ca);
    t.color = s_.textColor;
    t.opaque = s_.bkMode == 2;
    t.background = s_.bkColor;
    if (rect && (options & 2u))
        t.opaqueRect = tr.map(QPolygonF(rect->normalized()));
    if (rect && (options & 4u))
        t.clipRect = tr.map(QPolygonF(rect->normalized()));

    if (updateCp && tr.isInvertible()) {
        QPointF next = anchor;
        const QPointF along(t.width * ca, -t.width * sa);
        if ((s_.textAlign & 6u) == 0)
            next += along;
        else if ((s_.textAlign & 6u) == TA_RIGHT)
            next -= along;
        s_.cur = tr.inverted().map(next);
    }

    if (inPath_) {
        QPainterPath glyphs;
        if (t.advances.isEmpty()) {
            glyphs.addText(QPointF(0, 0), font, text);
        } else {
            qreal x = 0;
            for (int i = 0; i < text.size(); ++i) {
                glyphs.addText(QPointF(x / t.fontScale, 0), font, text.mid(i, 1));
                x += i < t.advances.size() ? t.advances.at(i) : 0;
            }
        }
        QTransform g;
        g.translate(t.origin.x(), t.origin.y());
        g.rotate(-angle);
        g.scale(t.fontScale, t.fontScale);
        path_.addPath(g.map(glyphs));
        return;
    }
    if (px <= 0 && !t.opaqueRect)
        return;
    sink_.drawText(t);
}

} // namespace ovmeta
