#include "imaging/metafile_dc.h"
#include "imaging/metafile_decoders.h"
#include "imaging/metafile_dib.h"

namespace ovmeta {

namespace {

constexpr quint32 kPlaceableKey = 0x9AC6CDD7;
constexpr qsizetype kPlaceableSize = 22;
constexpr qsizetype kHeaderSize = 18;

struct WmfLayout {
    qsizetype headerStart = 0;
    qsizetype firstRecord = 0;
    int objectCount = 0;
    bool placeable = false;
    QRectF bbox; // placeable bounding box, logical units
    int inch = 0;
};

bool readLayout(const QByteArray& bytes, WmfLayout& l, QString& error)
{
    ByteReader r(bytes.constData(), bytes.size());
    if (r.u32() == kPlaceableKey) {
        r.u16(); // HWmf
        const qint16 left = r.i16(), top = r.i16(), right = r.i16(), bottom = r.i16();
        l.inch = r.u16();
        l.placeable = true;
        l.bbox = QRectF(QPointF(left, top), QPointF(right, bottom));
        l.headerStart = kPlaceableSize;
    }
    r.seek(l.headerStart);
    const quint16 type = r.u16();
    const quint16 headerWords = r.u16();
    r.u16(); // version
    r.u32(); // size in words
    l.objectCount = r.u16();
    if (!r.ok()) {
        error = QStringLiteral("The metafile is truncated.");
        return false;
    }
    if ((type != 1 && type != 2) || headerWords != 9) {
        error = QStringLiteral("The file is not a Windows metafile.");
        return false;
    }
    l.firstRecord = l.headerStart + kHeaderSize;
    return true;
}

QPointF pt(ByteReader& r)
{
    const qint16 x = r.i16();
    const qint16 y = r.i16();
    return QPointF(x, y);
}

// Fields stored y first, as the records do.
QPointF yx(ByteReader& r)
{
    const qint16 y = r.i16();
    const qint16 x = r.i16();
    return QPointF(x, y);
}

QRectF rectBRTL(ByteReader& r)
{
    const qint16 bottom = r.i16(), right = r.i16(), top = r.i16(), left = r.i16();
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

QPolygonF points(ByteReader& r, qsizetype count)
{
    QPolygonF poly;
    if (count <= 0 || !r.has(count * 4))
        return poly;
    poly.reserve(count);
    for (qsizetype i = 0; i < count; ++i)
        poly.append(pt(r));
    return poly;
}

QPainterPath readRegion(ByteReader& r)
{
    r.u16(); // next in chain
    r.u16(); // object type
    r.u32(); // object count
    r.u16(); // region size
    const int scanCount = r.u16();
    r.u16(); // max scan
    const qint16 left = r.i16(), top = r.i16(), right = r.i16(), bottom = r.i16();
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    const QRectF bbox(QPointF(left, top), QPointF(right, bottom));
    bool good = r.ok();
    for (int s = 0; s < scanCount && good; ++s) {
        const int count = r.u16();
        const qint16 stop = r.i16(), sbottom = r.i16();
        if (!r.has(qsizetype(count) * 2 + 2) || count % 2) {
            good = false;
            break;
        }
        for (int i = 0; i < count / 2; ++i) {
            const qint16 l = r.i16(), rr = r.i16();
            if (rr > l && sbottom > stop)
                path.addRect(QRectF(l, stop, rr - l, sbottom - stop));
        }
        r.u16(); // count again
    }
    if (!good || (scanCount > 0 && path.isEmpty() && bbox.isValid())) {
        path = QPainterPath();
        path.addRect(bbox.normalized());
    }
    return path;
}

class WmfPlayer {
public:
    WmfPlayer(MetafileDC& dc) : dc_(dc) {}
    void record(quint16 func, ByteReader& r, qsizetype recordWords);

private:
    QString text(QByteArrayView raw) const { return decodeAnsiText(raw, dc_.currentFont().charset); }
    void bitblt(quint16 func, ByteReader& r, qsizetype recordWords);
    MetafileDC& dc_;
};

void WmfPlayer::bitblt(quint16 func, ByteReader& r, qsizetype recordWords)
{
    const bool stretch = func == 0x0B41 || func == 0x0B23;
    const bool dib = func == 0x0940 || func == 0x0B41;
    const bool noSource = recordWords == qsizetype(func >> 8) + 3;
    const quint32 rop = r.u32();
    qreal srcH = 0, srcW = 0;
    if (stretch) {
        srcH = r.i16();
        srcW = r.i16();
    }
    const qreal ySrc = r.i16(), xSrc = r.i16();
    if (noSource)
        r.u16();
    const qreal h = r.i16(), w = r.i16();
    const QPointF dest = yx(r);
    if (!r.ok())
        return;
    if (!stretch) {
        srcW = w;
        srcH = h;
    }
    const QRectF destRect(dest, QSizeF(w, h));
    if (noSource) {
        dc_.patBlt(destRect, rop);
        return;
    }
    const QByteArrayView rest = r.bytes(r.remaining());
    QImage img = dib ? decodePackedDib(rest, false, {})
                     : decodeBitmap16(rest, dc_.textColor(), dc_.bkColor());
    dc_.drawImage(destRect, img, QRectF(xSrc, ySrc, srcW, srcH), rop);
}

void WmfPlayer::record(quint16 func, ByteReader& r, qsizetype recordWords)
{
    switch (func) {
    case 0x0201: dc_.setBkColor(dc_.colorRef(r.u32())); break;
    case 0x0102: dc_.setBkMode(r.u16()); break;
    case 0x0103: dc_.setMapMode(r.u16()); break;
    case 0x0104: dc_.setRop2(r.u16()); break;
    case 0x0106: dc_.setPolyFillMode(r.u16()); break;
    case 0x0108: dc_.setTextCharExtra(r.i16()); break;
    case 0x0209: dc_.setTextColor(dc_.colorRef(r.u32())); break;
    case 0x020B: dc_.setWindowOrg(yx(r)); break;
    case 0x020C: { const QPointF e = yx(r); dc_.setWindowExt(QSizeF(e.x(), e.y())); break; }
    case 0x020D: // SetViewportOrg
    case 0x020E: // SetViewportExt
    case 0x0211: // OffsetViewportOrg
    case 0x0412: // ScaleViewportExt
        // The player owns the viewport of an old-style metafile: it is the target
        // rectangle. Honouring the file's own would shrink or shift the picture
        // away from the frame it is stretched by.
        break;
    case 0x020F: dc_.offsetWindowOrg(yx(r)); break;
    case 0x0410: {
        const qreal yDen = r.i16(), yNum = r.i16(), xDen = r.i16(), xNum = r.i16();
        if (r.ok())
            dc_.scaleWindowExt(xNum, xDen, yNum, yDen);
        break;
    }
    case 0x0213: { const QPointF p = yx(r); if (r.ok()) dc_.lineTo(p); break; }
    case 0x0214: { const QPointF p = yx(r); if (r.ok()) dc_.moveTo(p); break; }
    case 0x0415: { const QRectF rc = rectBRTL(r); if (r.ok()) dc_.excludeClipRect(rc); break; }
    case 0x0416: { const QRectF rc = rectBRTL(r); if (r.ok()) dc_.intersectClipRect(rc); break; }
    case 0x0817:
    case 0x081A:
    case 0x0830: {
        const QPointF end = yx(r), start = yx(r);
        const QRectF box = rectBRTL(r);
        if (!r.ok())
            break;
        dc_.arc(func == 0x0817 ? ArcOnly : func == 0x081A ? ArcPie : ArcChord, box, start, end);
        break;
    }
    case 0x0418: { const QRectF rc = rectBRTL(r); if (r.ok()) dc_.ellipse(rc); break; }
    case 0x041B: { const QRectF rc = rectBRTL(r); if (r.ok()) dc_.rectangle(rc); break; }
    case 0x061C: {
        const qreal h = r.i16(), w = r.i16();
        const QRectF rc = rectBRTL(r);
        if (r.ok())
            dc_.roundRect(rc, QSizeF(w, h));
        break;
    }
    case 0x061D: {
        const quint32 rop = r.u32();
        const qreal h = r.i16(), w = r.i16();
        const QPointF p = yx(r);
        if (r.ok())
            dc_.patBlt(QRectF(p, QSizeF(w, h)), rop);
        break;
    }
    case 0x001E: dc_.saveDC(); break;
    case 0x0127: { const qint16 n = r.i16(); if (r.ok()) dc_.restoreDC(n); break; }
    case 0x041F: {
        const QColor c = dc_.colorRef(r.u32());
        const QPointF p = yx(r);
        if (r.ok())
            dc_.setPixel(p, c);
        break;
    }
    case 0x0220: { const QPointF d = yx(r); if (r.ok()) dc_.offsetClip(d); break; }
    case 0x0521: { // TextOut
        const int len = r.i16();
        if (len <= 0 || !r.has(len))
            break;
        const QByteArrayView raw = r.bytes(len);
        r.skip(len % 2);
        const QPointF p = yx(r);
        if (r.ok())
            dc_.textOut(p, text(raw), {}, 0, nullptr);
        break;
    }
    case 0x0A32: { // ExtTextOut
        const QPointF p = yx(r);
        const int len = r.i16();
        const quint16 opts = r.u16();
        QRectF rc;
        bool hasRect = false;
        if (opts & 6u) {
            const qint16 left = r.i16(), top = r.i16(), right = r.i16(), bottom = r.i16();
            rc = QRectF(QPointF(left, top), QPointF(right, bottom));
            hasRect = true;
        }
        if (!r.ok() || len < 0)
            break;
        if (len > 0 && !r.has(len))
            break;
        const QByteArrayView raw = r.bytes(len);
        r.skip(len % 2);
        const QString s = text(raw);
        QVector<qreal> dx;
        if (len > 0 && r.has(qsizetype(len) * 2) && s.size() == len) {
            for (int i = 0; i < len; ++i)
                dx.append(r.i16());
        }
        dc_.textOut(p, s, dx, opts, hasRect ? &rc : nullptr);
        break;
    }
    case 0x0922:
    case 0x0B23:
    case 0x0940:
    case 0x0B41:
        bitblt(func, r, recordWords);
        break;
    case 0x0324:
    case 0x0325: {
        const int n = r.i16();
        const QPolygonF poly = points(r, n);
        if (func == 0x0324)
            dc_.polygon(poly);
        else
            dc_.polyline(poly);
        break;
    }
    case 0x0538: { // PolyPolygon
        const int nPolys = r.u16();
        if (!r.has(qsizetype(nPolys) * 2))
            break;
        std::vector<int> counts(nPolys);
        for (int& c : counts)
            c = r.u16();
        std::vector<QPolygonF> polys;
        for (int c : counts) {
            if (!r.has(qsizetype(c) * 4))
                break;
            polys.push_back(points(r, c));
        }
        dc_.polyPolygon(polys);
        break;
    }
    case 0x0228:
    case 0x0429:
    case 0x012B:
    case 0x012A:
    case 0x012C: {
        const quint16 rgnIndex = r.u16();
        const GdiObject* o = dc_.object(rgnIndex);
        const LogRegion* rgn = o ? std::get_if<LogRegion>(o) : nullptr;
        if (func == 0x012C) { // SelectClipRegion; a missing region resets
            dc_.selectClipRegion(rgn ? &rgn->path : nullptr, false, RGN_COPY);
            break;
        }
        if (!rgn)
            break;
        if (func == 0x012B) {
            dc_.fillRegion(rgn->path, false, dc_.currentBrush());
        } else if (func == 0x012A) {
            // Inverting needs the destination; a painted region is the closest thing.
            LogBrush b;
            b.color = Qt::black;
            dc_.fillRegion(rgn->path, false, b);
        } else {
            const quint16 brushIndex = r.u16();
            const GdiObject* bo = dc_.object(brushIndex);
            const LogBrush* brush = bo ? std::get_if<LogBrush>(bo) : nullptr;
            if (!brush)
                break;
            if (func == 0x0228) {
                dc_.fillRegion(rgn->path, false, *brush);
            } else {
                const qreal h = r.i16(), w = r.i16();
                dc_.frameRegion(rgn->path, false, *brush, QSizeF(w, h));
            }
        }
        break;
    }
    case 0x012D: dc_.selectObject(r.u16()); break;
    case 0x012E: dc_.setTextAlign(r.u16()); break;
    case 0x0D33: { // SetDIBitsToDevice
        const quint16 usage = r.u16();
        r.u16(); // scan count
        r.u16(); // start scan
        const qreal yDib = r.i16(), xDib = r.i16();
        const qreal h = r.i16(), w = r.i16();
        const QPointF dest = yx(r);
        if (!r.ok())
            break;
        const QImage img = decodePackedDib(r.bytes(r.remaining()), usage == 1, dc_.palette());
        dc_.drawImage(QRectF(dest, QSizeF(w, h)), img, QRectF(xDib, yDib, w, h), 0x00CC0020, true);
        break;
    }
    case 0x0F43: { // StretchDIB
        const quint32 rop = r.u32();
        const quint16 usage = r.u16();
        const qreal srcH = r.i16(), srcW = r.i16(), ySrc = r.i16(), xSrc = r.i16();
        const qreal h = r.i16(), w = r.i16();
        const QPointF dest = yx(r);
        if (!r.ok())
            break;
        const QImage img = decodePackedDib(r.bytes(r.remaining()), usage == 1, dc_.palette());
        dc_.drawImage(QRectF(dest, QSizeF(w, h)), img, QRectF(xSrc, ySrc, srcW, srcH), rop, true);
        break;
    }
    case 0x0234: dc_.selectPalette(r.u16()); break;
    case 0x01F0: dc_.deleteObject(r.u16()); break;
    case 0x00F7: { // CreatePalette
        r.u16(); // start
        const int n = r.u16();
        LogPalette pal;
        if (r.has(qsizetype(n) * 4)) {
            for (int i = 0; i < n; ++i) {
                const quint8 red = r.u8(), green = r.u8(), blue = r.u8();
                r.u8();
                pal.entries.append(qRgb(red, green, blue));
            }
        }
        dc_.createObject(pal);
        break;
    }
    case 0x01F9: { // CreatePatternBrush (Bitmap16 header, reserved bytes, bits)
        LogBrush b;
        b.kind = LogBrush::Pattern;
        const QByteArrayView all = r.bytes(r.remaining());
        if (all.size() >= 32) {
            QByteArray bm = all.first(10).toByteArray();
            bm.append(all.sliced(32).data(), all.size() - 32);
            b.pattern = decodeBitmap16(bm, Qt::black, Qt::white);
        }
        dc_.createObject(b);
        break;
    }
    case 0x0142: { // DIBCreatePatternBrush
        const quint16 style = r.u16();
        const quint16 usage = r.u16();
        LogBrush b;
        b.kind = LogBrush::Pattern;
        const QByteArrayView rest = r.bytes(r.remaining());
        b.pattern = style == 3 ? decodeBitmap16(rest, Qt::black, Qt::white)
                               : decodePackedDib(rest, usage == 1, dc_.palette());
        dc_.createObject(b);
        break;
    }
    case 0x02FA: { // CreatePenIndirect
        LogPen pen;
        pen.style = r.u16();
        pen.width = std::abs(r.i16());
        r.i16();
        pen.color = dc_.colorRef(r.u32());
        dc_.createObject(pen);
        break;
    }
    case 0x02FB: { // CreateFontIndirect
        LogFont f;
        f.height = r.i16();
        f.width = r.i16();
        f.escapement = r.i16();
        r.i16(); // orientation
        f.weight = r.i16();
        f.italic = r.u8();
        f.underline = r.u8();
        f.strikeOut = r.u8();
        f.charset = r.u8();
        r.skip(4); // precision, clip precision, quality, pitch and family
        QByteArrayView face = r.at(r.pos(), std::min<qsizetype>(32, std::max<qsizetype>(0, r.remaining())));
        const qsizetype nul = face.indexOf('\0');
        if (nul >= 0)
            face = face.first(nul);
        f.face = decodeAnsiText(face, 0).trimmed();
        dc_.createObject(f);
        break;
    }
    case 0x02FC: { // CreateBrushIndirect
        LogBrush b;
        const quint16 style = r.u16();
        b.color = dc_.colorRef(r.u32());
        b.hatch = r.u16();
        b.kind = style == 1 ? LogBrush::Null : style == 2 ? LogBrush::Hatched : LogBrush::Solid;
        dc_.createObject(b);
        break;
    }
    case 0x06FF: { // CreateRegion
        LogRegion rgn;
        rgn.path = readRegion(r);
        dc_.createObject(rgn);
        break;
    }
    default:
        // Palette animation, escapes, flood fills, mapper flags and the like do not
        // change what a vector playback shows.
        break;
    }
}

} // namespace

QTransform frameToTarget(const QRectF& frame, const QRectF& target)
{
    if (frame.width() == 0 || frame.height() == 0)
        return QTransform();
    const qreal sx = target.width() / frame.width();
    const qreal sy = target.height() / frame.height();
    return QTransform(sx, 0, 0, sy, target.x() - frame.x() * sx, target.y() - frame.y() * sy);
}

namespace {

void runRecords(const QByteArray& bytes, const WmfLayout& l, MetafileDC& dc)
{
    WmfPlayer player(dc);
    dc.setTableSize(std::max(l.objectCount, 1));
    const qsizetype n = bytes.size();
    qsizetype pos = l.firstRecord;
    while (pos <= n - 6) {
        ByteReader head(bytes.constData() + pos, n - pos);
        const quint32 words = head.u32();
        const quint16 func = head.u16();
        if (words < 3 || func == 0x0000)
            break;
        qsizetype size = qint64(words) * 2 > n - pos ? n - pos : qsizetype(words) * 2;
        ByteReader params(bytes.constData() + pos + 6, size - 6);
        player.record(func, params, qsizetype(words));
        pos += size;
    }
}

void prepare(MetafileDC& dc, const QRectF& window, const QSizeF& viewport)
{
    // The player's mapping: the picture's window onto a viewport the size of the frame.
    dc.setMapMode(MM_ANISOTROPIC);
    dc.setWindowOrg(window.topLeft());
    dc.setWindowExt(window.size());
    dc.setViewportOrg(QPointF(0, 0));
    dc.setViewportExt(viewport);
    dc.setDeviceMetrics(QSizeF(96, 96), QSizeF(25.4, 25.4));
}

// The window a plain metafile sets first, if any.
bool scanWindow(const QByteArray& bytes, const WmfLayout& l, QRectF& window)
{
    const qsizetype n = bytes.size();
    qsizetype pos = l.firstRecord;
    bool haveExt = false, haveOrg = false;
    QPointF org;
    QSizeF ext;
    while (pos <= n - 6 && !(haveExt && haveOrg)) {
        ByteReader r(bytes.constData() + pos, n - pos);
        const quint32 words = r.u32();
        const quint16 func = r.u16();
        if (words < 3 || func == 0)
            break;
        if (func == 0x020C && !haveExt && r.has(4)) {
            const qint16 y = r.i16(), x = r.i16();
            if (x != 0 && y != 0) {
                ext = QSizeF(x, y);
                haveExt = true;
            }
        } else if (func == 0x020B && !haveOrg && r.has(4)) {
            const qint16 y = r.i16(), x = r.i16();
            org = QPointF(x, y);
            haveOrg = true;
        }
        if (qint64(words) * 2 > n - pos)
            break;
        pos += qsizetype(words) * 2;
    }
    if (!haveExt)
        return false;
    window = QRectF(org, ext);
    return true;
}

} // namespace

bool readWmfFrame(const QByteArray& bytes, MetafileFrame& frame, QString& error)
{
    WmfLayout l;
    if (!readLayout(bytes, l, error))
        return false;
    if (l.placeable && l.bbox.width() != 0 && l.bbox.height() != 0) {
        const qreal inch = l.inch > 0 ? l.inch : 1440;
        frame.device = QRectF(0, 0, std::abs(l.bbox.width()), std::abs(l.bbox.height()));
        frame.window = l.bbox;
        frame.naturalSize = QSizeF(frame.device.width() * 96 / inch, frame.device.height() * 96 / inch);
        return true;
    }
    QRectF window;
    if (scanWindow(bytes, l, window)) {
        frame.device = QRectF(0, 0, std::abs(window.width()), std::abs(window.height()));
        frame.window = window;
        frame.naturalSize = frame.device.size();
        return true;
    }
    // No frame stated: measure what the records draw in their own units.
    MetafileRecordingSink bounds;
    bounds.keepImages = false;
    MetafileDC dc(bounds, QTransform(), true);
    prepare(dc, QRectF(0, 0, 1, 1), QSizeF(1, 1));
    runRecords(bytes, l, dc);
    const QRectF b = bounds.drawingBounds();
    if (b.width() <= 0 || b.height() <= 0 || !std::isfinite(b.width()) || !std::isfinite(b.height())) {
        error = QStringLiteral("The metafile draws nothing.");
        return false;
    }
    frame.device = b;
    frame.naturalSize = b.size();
    return true;
}

void playWmf(const QByteArray& bytes, const MetafileFrame& frame, MetafileSink& sink,
             const QRectF& target)
{
    WmfLayout l;
    QString error;
    if (!readLayout(bytes, l, error))
        return;
    MetafileDC dc(sink, frameToTarget(frame.device, target), true);
    dc.setTargetRect(target);
    if (frame.window.isNull())
        prepare(dc, QRectF(0, 0, 1, 1), QSizeF(1, 1));
    else
        prepare(dc, frame.window, frame.device.size());
    runRecords(bytes, l, dc);
}

} // namespace ovmeta
