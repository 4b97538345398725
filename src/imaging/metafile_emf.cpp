#include "imaging/metafile_dc.h"
#include "imaging/metafile_decoders.h"
#include "imaging/metafile_dib.h"
#include "imaging/metafile_emfplus.h"

namespace ovmeta {

namespace {

constexpr quint32 kEmfSignature = 0x464D4520; // " EMF"
constexpr qsizetype kMaxRegionRects = 20000;

QRectF rectl(ByteReader& r)
{
    const qint32 l = r.i32(), t = r.i32(), rt = r.i32(), b = r.i32();
    return QRectF(QPointF(l, t), QPointF(rt, b));
}

QPointF pointl(ByteReader& r)
{
    const qint32 x = r.i32();
    const qint32 y = r.i32();
    return QPointF(x, y);
}

QPolygonF pointsl(ByteReader& r, quint32 count, bool small)
{
    QPolygonF poly;
    const qsizetype each = small ? 4 : 8;
    if (count == 0 || !r.has(qsizetype(count) * each))
        return poly;
    poly.reserve(count);
    for (quint32 i = 0; i < count; ++i) {
        if (small) {
            const qint16 x = r.i16();
            const qint16 y = r.i16();
            poly.append(QPointF(x, y));
        } else {
            poly.append(pointl(r));
        }
    }
    return poly;
}

QTransform xform(ByteReader& r)
{
    const float m11 = r.f32(), m12 = r.f32(), m21 = r.f32(), m22 = r.f32(), dx = r.f32(),
                dy = r.f32();
    for (float v : {m11, m12, m21, m22, dx, dy})
        if (!std::isfinite(v) || std::abs(v) > 1e9f)
            return QTransform();
    return QTransform(m11, m12, m21, m22, dx, dy);
}

// RGNDATA: header (size, type, count, region size, bounds) and rectangles.
bool regionData(ByteReader& r, qsizetype cb, QPainterPath& out)
{
    if (cb < 32 || !r.has(cb))
        return false;
    const qsizetype start = r.pos();
    const quint32 headerSize = r.u32();
    r.u32(); // type
    const quint32 count = r.u32();
    r.u32(); // size
    const QRectF bounds = rectl(r);
    if (headerSize < 32 || headerSize > quint32(cb))
        return false;
    r.seek(start + headerSize);
    out = QPainterPath();
    out.setFillRule(Qt::WindingFill);
    const qsizetype avail = (cb - qsizetype(headerSize)) / 16;
    const qsizetype n = std::min<qsizetype>(std::min<qsizetype>(count, avail), kMaxRegionRects);
    if (qsizetype(count) > n) {
        // Too many or missing rectangles: the bounds are the honest fallback.
        out.addRect(bounds.normalized());
        return true;
    }
    for (qsizetype i = 0; i < n; ++i) {
        const QRectF rc = rectl(r).normalized();
        if (!rc.isEmpty())
            out.addRect(rc);
    }
    return true;
}

class EmfPlayer {
public:
    EmfPlayer(MetafileDC& dc) : dc_(dc) {}
    // Returns false at the end-of-file record.
    bool record(quint32 type, ByteReader& r);

private:
    QImage dibAt(ByteReader& r, quint32 offBmi, quint32 cbBmi, quint32 offBits, quint32 cbBits,
                 quint32 usage, bool alpha = false) const
    {
        const QByteArrayView info = r.at(qsizetype(offBmi), qsizetype(cbBmi));
        const QByteArrayView bits = r.at(qsizetype(offBits), qsizetype(cbBits));
        if (info.isEmpty() || bits.isEmpty())
            return {};
        return decodeDib(info, bits, usage == 1, dc_.palette(), alpha);
    }
    void polyRecord(quint32 type, ByteReader& r);
    void polyPolyRecord(quint32 type, ByteReader& r);
    void bltRecord(quint32 type, ByteReader& r);
    void textRecord(quint32 type, ByteReader& r);
    LogFont readLogFont(ByteReader& r);
    MetafileDC& dc_;
};

void EmfPlayer::polyRecord(quint32 type, ByteReader& r)
{
    rectl(r); // bounds
    const quint32 count = r.u32();
    const bool small = type >= 85;
    const QPolygonF pts = pointsl(r, count, small);
    if (pts.isEmpty())
        return;
    switch (small ? type - 83 : type) {
    case 2: dc_.polyBezier(pts); break;
    case 3: dc_.polygon(pts); break;
    case 4: dc_.polyline(pts); break;
    case 5: dc_.polyBezierTo(pts); break;
    case 6: dc_.polylineTo(pts); break;
    default: break;
    }
}

void EmfPlayer::polyPolyRecord(quint32 type, ByteReader& r)
{
    rectl(r);
    const quint32 nPolys = r.u32();
    const quint32 total = r.u32();
    if (!r.has(qsizetype(nPolys) * 4))
        return;
    std::vector<quint32> counts(nPolys);
    quint64 sum = 0;
    for (quint32& c : counts) {
        c = r.u32();
        sum += c;
    }
    if (sum > total)
        return;
    const bool small = type >= 90;
    std::vector<QPolygonF> polys;
    for (quint32 c : counts) {
        if (!r.has(qsizetype(c) * (small ? 4 : 8)))
            break;
        polys.push_back(pointsl(r, c, small));
    }
    if (type == 8 || type == 91)
        dc_.polyPolygon(polys);
    else
        dc_.polyPolyline(polys);
}

void EmfPlayer::bltRecord(quint32 type, ByteReader& r)
{
    rectl(r); // bounds
    switch (type) {
    case 76:    // BitBlt
    case 77:    // StretchBlt
    case 114:   // AlphaBlend
    case 116: { // TransparentBlt
        const qreal x = r.i32(), y = r.i32(), cx = r.i32(), cy = r.i32();
        const quint32 rop = r.u32();
        const qreal xSrc = r.i32(), ySrc = r.i32();
        const QTransform srcXform = xform(r);
        Q_UNUSED(srcXform);
        r.u32(); // background colour of the source
        const quint32 usage = r.u32();
        const quint32 offBmi = r.u32(), cbBmi = r.u32(), offBits = r.u32(), cbBits = r.u32();
        qreal cxSrc = cx, cySrc = cy;
        if (type != 76) {
            cxSrc = r.i32();
            cySrc = r.i32();
        }
        if (!r.ok())
            return;
        const QRectF dest(x, y, cx, cy);
        if (cbBmi == 0 || cbBits == 0) {
            if (type == 76 || type == 77)
                dc_.patBlt(dest, rop);
            return;
        }
        if (type == 114) {
            const int constantAlpha = (rop >> 16) & 0xFF;
            const bool srcAlpha = (rop >> 24) & 1;
            QImage img = dibAt(r, offBmi, cbBmi, offBits, cbBits, usage, srcAlpha);
            if (img.isNull())
                return;
            if (constantAlpha < 255) {
                img = img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
                QImage faded(img.size(), QImage::Format_ARGB32_Premultiplied);
                faded.fill(Qt::transparent);
                QPainter p(&faded);
                p.setOpacity(constantAlpha / 255.0);
                p.drawImage(0, 0, img);
                p.end();
                img = faded;
            }
            dc_.drawImage(dest, img, QRectF(xSrc, ySrc, cxSrc, cySrc), 0x00CC0020);
            return;
        }
        QImage img = dibAt(r, offBmi, cbBmi, offBits, cbBits, usage);
        if (img.isNull())
            return;
        if (type == 116) {
            // The raster-operation field holds the transparent colour.
            const QRgb key = dc_.colorRef(rop).rgb() & 0xFFFFFF;
            img = img.convertToFormat(QImage::Format_ARGB32);
            for (int row = 0; row < img.height(); ++row) {
                auto* line = reinterpret_cast<QRgb*>(img.scanLine(row));
                for (int col = 0; col < img.width(); ++col)
                    if ((line[col] & 0xFFFFFF) == key)
                        line[col] = 0;
            }
            dc_.drawImage(dest, img, QRectF(xSrc, ySrc, cxSrc, cySrc), 0x00CC0020);
            return;
        }
        dc_.drawImage(dest, img, QRectF(xSrc, ySrc, cxSrc, cySrc), rop);
        return;
    }
    case 80: { // SetDIBitsToDevice
        const qreal x = r.i32(), y = r.i32(), xSrc = r.i32(), ySrc = r.i32(), cx = r.i32(),
                    cy = r.i32();
        const quint32 offBmi = r.u32(), cbBmi = r.u32(), offBits = r.u32(), cbBits = r.u32();
        const quint32 usage = r.u32();
        if (!r.ok())
            return;
        const QImage img = dibAt(r, offBmi, cbBmi, offBits, cbBits, usage);
        // Width and height stay in device pixels.
        const QTransform toDev = dc_.logicalToDevice();
        const QPointF d0 = toDev.map(QPointF(x, y));
        QRectF dest(x, y, cx, cy);
        if (toDev.isInvertible())
            dest = QRectF(QPointF(x, y), toDev.inverted().map(d0 + QPointF(cx, cy)));
        dc_.drawImage(dest, img, QRectF(xSrc, ySrc, cx, cy), 0x00CC0020, true);
        return;
    }
    case 81: { // StretchDIBits
        const qreal x = r.i32(), y = r.i32(), xSrc = r.i32(), ySrc = r.i32(), cxSrc = r.i32(),
                    cySrc = r.i32();
        const quint32 offBmi = r.u32(), cbBmi = r.u32(), offBits = r.u32(), cbBits = r.u32();
        const quint32 usage = r.u32();
        const quint32 rop = r.u32();
        const qreal cx = r.i32(), cy = r.i32();
        if (!r.ok())
            return;
        const QRectF dest(x, y, cx, cy);
        if (cbBmi == 0 || cbBits == 0) {
            dc_.patBlt(dest, rop);
            return;
        }
        const QImage img = dibAt(r, offBmi, cbBmi, offBits, cbBits, usage);
        dc_.drawImage(dest, img, QRectF(xSrc, ySrc, cxSrc, cySrc), rop, true);
        return;
    }
    default:
        return;
    }
}

LogFont EmfPlayer::readLogFont(ByteReader& r)
{
    LogFont f;
    f.height = r.i32();
    f.width = r.i32();
    f.escapement = r.i32();
    r.i32(); // orientation
    f.weight = r.i32();
    f.italic = r.u8();
    f.underline = r.u8();
    f.strikeOut = r.u8();
    f.charset = r.u8();
    r.skip(4);
    QString face;
    for (int i = 0; i < 32 && r.has(2); ++i) {
        const quint16 ch = r.u16();
        if (ch == 0)
            break;
        face.append(QChar(ch));
    }
    f.face = face.trimmed();
    f.height = std::clamp(f.height, -1000000, 1000000);
    f.width = std::clamp(f.width, -1000000, 1000000);
    f.escapement = f.escapement % 3600;
    return f;
}

void EmfPlayer::textRecord(quint32 type, ByteReader& r)
{
    if (type == 108) { // SmallTextOut
        const qreal x = r.i32(), y = r.i32();
        const quint32 chars = r.u32();
        const quint32 options = r.u32();
        r.u32(); // graphics mode
        r.f32();
        r.f32();
        QRectF rc;
        const bool hasRect = !(options & 0x100);
        if (hasRect)
            rc = rectl(r);
        const bool ansi = options & 0x200;
        if (!r.ok() || chars > quint32(r.remaining()))
            return;
        QString s;
        if (ansi) {
            s = decodeAnsiText(r.bytes(chars), dc_.currentFont().charset);
        } else {
            if (!r.has(qsizetype(chars) * 2))
                return;
            for (quint32 i = 0; i < chars; ++i)
                s.append(QChar(r.u16()));
        }
        dc_.textOut(QPointF(x, y), s, {}, options, hasRect ? &rc : nullptr);
        return;
    }
    rectl(r); // bounds
    r.u32();  // graphics mode
    r.f32();
    r.f32();
    const QPointF ref = pointl(r);
    const quint32 chars = r.u32();
    const quint32 offString = r.u32();
    const quint32 options = r.u32();
    const QRectF rc = rectl(r);
    const quint32 offDx = r.u32();
    if (!r.ok())
        return;
    const bool wide = type == 84;
    const qsizetype unit = wide ? 2 : 1;
    if (qint64(chars) * unit > r.size())
        return;
    const QByteArrayView raw = r.at(qsizetype(offString), qsizetype(chars) * unit);
    if (raw.size() != qsizetype(chars) * unit)
        return;
    QString s;
    if (wide) {
        s.resize(chars);
        for (quint32 i = 0; i < chars; ++i)
            s[i] = QChar(qFromLittleEndian<quint16>(raw.data() + 2 * i));
    } else {
        s = decodeAnsiText(raw, dc_.currentFont().charset);
    }
    QVector<qreal> dx;
    const qsizetype stride = (options & 0x2000) ? 8 : 4; // ETO_PDY: x and y pairs
    const QByteArrayView dxRaw = offDx ? r.at(qsizetype(offDx), qsizetype(chars) * stride)
                                       : QByteArrayView();
    if (!dxRaw.isEmpty() && s.size() == qsizetype(chars)) {
        for (quint32 i = 0; i < chars; ++i)
            dx.append(qFromLittleEndian<qint32>(dxRaw.data() + i * stride));
    }
    const bool hasRect = (options & 6u) && rc.isValid();
    dc_.textOut(ref, s, dx, options, hasRect ? &rc : nullptr);
}

bool EmfPlayer::record(quint32 type, ByteReader& r)
{
    switch (type) {
    case 1: break; // header
    case 14: return false; // EOF
    case 2: case 3: case 4: case 5: case 6:
    case 85: case 86: case 87: case 88: case 89:
        polyRecord(type, r);
        break;
    case 7: case 8: case 90: case 91:
        polyPolyRecord(type, r);
        break;
    case 9: { const qint32 cx = r.i32(), cy = r.i32(); if (r.ok()) dc_.setWindowExt(QSizeF(cx, cy)); break; }
    case 10: { const QPointF p = pointl(r); if (r.ok()) dc_.setWindowOrg(p); break; }
    case 11: { const qint32 cx = r.i32(), cy = r.i32(); if (r.ok()) dc_.setViewportExt(QSizeF(cx, cy)); break; }
    case 12: { const QPointF p = pointl(r); if (r.ok()) dc_.setViewportOrg(p); break; }
    case 15: {
        const QPointF p = pointl(r);
        const QColor c = dc_.colorRef(r.u32());
        if (r.ok())
            dc_.setPixel(p, c);
        break;
    }
    case 17: dc_.setMapMode(int(r.u32())); break;
    case 18: dc_.setBkMode(int(r.u32())); break;
    case 19: dc_.setPolyFillMode(int(r.u32())); break;
    case 20: dc_.setRop2(int(r.u32())); break;
    case 22: dc_.setTextAlign(r.u32()); break;
    case 24: dc_.setTextColor(dc_.colorRef(r.u32())); break;
    case 25: dc_.setBkColor(dc_.colorRef(r.u32())); break;
    case 26: {
        const QPointF d = pointl(r);
        if (r.ok())
            dc_.offsetClip(d);
        break;
    }
    case 27: { const QPointF p = pointl(r); if (r.ok()) dc_.moveTo(p); break; }
    case 29: { const QRectF rc = rectl(r); if (r.ok()) dc_.excludeClipRect(rc); break; }
    case 30: { const QRectF rc = rectl(r); if (r.ok()) dc_.intersectClipRect(rc); break; }
    case 31:
    case 32: {
        const qint32 xNum = r.i32(), xDen = r.i32(), yNum = r.i32(), yDen = r.i32();
        if (!r.ok())
            break;
        if (type == 31)
            dc_.scaleViewportExt(xNum, xDen, yNum, yDen);
        else
            dc_.scaleWindowExt(xNum, xDen, yNum, yDen);
        break;
    }
    case 33: dc_.saveDC(); break;
    case 34: { const qint32 n = r.i32(); if (r.ok()) dc_.restoreDC(n); break; }
    case 35: { const QTransform t = xform(r); if (r.ok()) dc_.setWorldTransform(t); break; }
    case 36: {
        const QTransform t = xform(r);
        const quint32 mode = r.u32();
        if (r.ok())
            dc_.modifyWorldTransform(t, int(mode));
        break;
    }
    case 37: dc_.selectObject(r.u32()); break;
    case 38: { // CreatePen
        const quint32 index = r.u32();
        LogPen pen;
        pen.style = r.u32();
        pen.width = std::abs(qint64(r.i32()));
        r.i32();
        pen.color = dc_.colorRef(r.u32());
        if (r.ok())
            dc_.putObject(index, pen);
        break;
    }
    case 39: { // CreateBrushIndirect
        const quint32 index = r.u32();
        LogBrush b;
        const quint32 style = r.u32();
        b.color = dc_.colorRef(r.u32());
        b.hatch = int(r.u32());
        b.kind = style == 1 ? LogBrush::Null : style == 2 ? LogBrush::Hatched : LogBrush::Solid;
        if (r.ok())
            dc_.putObject(index, b);
        break;
    }
    case 40: dc_.deleteObject(r.u32()); break;
    case 41: {
        const QPointF c = pointl(r);
        const quint32 radius = r.u32();
        const float start = r.f32(), sweep = r.f32();
        if (r.ok())
            dc_.angleArc(c, radius, start, sweep);
        break;
    }
    case 42: { const QRectF rc = rectl(r); if (r.ok()) dc_.ellipse(rc); break; }
    case 43: { const QRectF rc = rectl(r); if (r.ok()) dc_.rectangle(rc); break; }
    case 44: {
        const QRectF rc = rectl(r);
        const qint32 w = r.i32(), h = r.i32();
        if (r.ok())
            dc_.roundRect(rc, QSizeF(w, h));
        break;
    }
    case 45: case 46: case 47: case 55: {
        const QRectF box = rectl(r);
        const QPointF start = pointl(r), end = pointl(r);
        if (!r.ok())
            break;
        const ArcKind kind = type == 45 ? ArcOnly : type == 46 ? ArcChord : type == 47 ? ArcPie : ArcTo;
        dc_.arc(kind, box, start, end);
        break;
    }
    case 48: dc_.selectPalette(r.u32()); break;
    case 49: { // CreatePalette
        const quint32 index = r.u32();
        r.u16(); // version
        const quint16 n = r.u16();
        LogPalette pal;
        if (r.has(qsizetype(n) * 4)) {
            for (int i = 0; i < n; ++i) {
                const quint8 red = r.u8(), green = r.u8(), blue = r.u8();
                r.u8();
                pal.entries.append(qRgb(red, green, blue));
            }
        }
        dc_.putObject(index, pal);
        break;
    }
    case 54: { const QPointF p = pointl(r); if (r.ok()) dc_.lineTo(p); break; }
    case 56: case 92: { // PolyDraw
        rectl(r);
        const quint32 count = r.u32();
        const bool small = type == 92;
        if (!r.has(qsizetype(count) * (small ? 5 : 9)))
            break;
        const QPolygonF pts = pointsl(r, count, small);
        const QByteArray types = r.bytes(count).toByteArray();
        dc_.polyDraw(pts, types);
        break;
    }
    case 57: dc_.setArcDirection(int(r.u32())); break;
    case 58: { const float m = r.f32(); if (r.ok() && std::isfinite(m)) dc_.setMiterLimit(m); break; }
    case 59: dc_.beginPath(); break;
    case 60: dc_.endPath(); break;
    case 61: dc_.closeFigure(); break;
    case 62: dc_.fillPath(); break;
    case 63: dc_.strokeAndFillPath(); break;
    case 64: dc_.strokePath(); break;
    case 65: dc_.flattenPath(); break;
    case 66: dc_.widenPath(); break;
    case 67: dc_.selectClipPath(int(r.u32())); break;
    case 68: dc_.abortPath(); break;
    case 70: break; // comments; EMF+ ones are taken before they get here
    case 71: case 72: case 74: { // FillRgn, FrameRgn, PaintRgn
        rectl(r);
        const quint32 cb = r.u32();
        quint32 brushIndex = 0;
        QSizeF stroke;
        if (type != 74)
            brushIndex = r.u32();
        if (type == 72) {
            const qint32 w = r.i32(), h = r.i32();
            stroke = QSizeF(w, h);
        }
        QPainterPath rgn;
        if (!r.ok() || !regionData(r, qsizetype(cb), rgn))
            break;
        LogBrush brush = dc_.currentBrush();
        if (type != 74) {
            if (brushIndex & 0x80000000u) {
                brush = MetafileDC::stockBrush(brushIndex & 0x7FFFFFFFu);
            } else {
                const GdiObject* o = dc_.object(brushIndex);
                const LogBrush* b = o ? std::get_if<LogBrush>(o) : nullptr;
                if (!b)
                    break;
                brush = *b;
            }
        }
        if (type == 72)
            dc_.frameRegion(rgn, true, brush, stroke);
        else
            dc_.fillRegion(rgn, true, brush);
        break;
    }
    case 75: { // ExtSelectClipRgn
        const quint32 cb = r.u32();
        const quint32 mode = r.u32();
        if (!r.ok())
            break;
        if (cb == 0 || mode == RGN_COPY) {
            QPainterPath rgn;
            if (cb && regionData(r, qsizetype(cb), rgn))
                dc_.selectClipRegion(&rgn, true, RGN_COPY);
            else
                dc_.selectClipRegion(nullptr, true, RGN_COPY);
            break;
        }
        QPainterPath rgn;
        if (regionData(r, qsizetype(cb), rgn))
            dc_.selectClipRegion(&rgn, true, int(mode));
        break;
    }
    case 76: case 77: case 80: case 81: case 114: case 116:
        bltRecord(type, r);
        break;
    case 118: { // GradientFill
        rectl(r);
        const quint32 nVer = r.u32(), nTri = r.u32(), mode = r.u32();
        if (!r.ok() || mode > 2 || !r.has(qsizetype(nVer) * 16))
            break;
        std::vector<std::pair<QPointF, QColor>> v(nVer);
        for (auto& [p, c] : v) {
            p = pointl(r);
            const int red = r.u16() >> 8, green = r.u16() >> 8, blue = r.u16() >> 8;
            r.u16(); // alpha
            c = QColor(red, green, blue);
        }
        const qsizetype each = mode == 2 ? 12 : 8;
        if (!r.has(qsizetype(nTri) * each))
            break;
        for (quint32 i = 0; i < nTri; ++i) {
            if (mode == 2) {
                const quint32 a = r.u32(), b = r.u32(), c = r.u32();
                if (a >= nVer || b >= nVer || c >= nVer)
                    continue;
                // Three-colour shading has no Qt brush; the mean colour stands in.
                const QColor mean((v[a].second.red() + v[b].second.red() + v[c].second.red()) / 3,
                                  (v[a].second.green() + v[b].second.green() + v[c].second.green()) / 3,
                                  (v[a].second.blue() + v[b].second.blue() + v[c].second.blue()) / 3);
                dc_.gradientFill(QPolygonF({v[a].first, v[b].first, v[c].first}), QPointF(), QPointF(),
                                 mean, mean);
            } else {
                const quint32 a = r.u32(), b = r.u32();
                if (a >= nVer || b >= nVer)
                    continue;
                const QPointF p0 = v[a].first, p1 = v[b].first;
                const QPointF to = mode == 0 ? QPointF(p1.x(), p0.y()) : QPointF(p0.x(), p1.y());
                dc_.gradientFill(QPolygonF(QRectF(p0, p1).normalized()), p0, to, v[a].second,
                                 v[b].second);
            }
        }
        break;
    }
    case 82: { // ExtCreateFontIndirectW
        const quint32 index = r.u32();
        const LogFont f = readLogFont(r);
        if (r.ok())
            dc_.putObject(index, f);
        break;
    }
    case 83: case 84: case 108:
        textRecord(type, r);
        break;
    case 93: case 94: { // CreateMonoBrush, CreateDIBPatternBrushPt
        const quint32 index = r.u32();
        const quint32 usage = r.u32();
        const quint32 offBmi = r.u32(), cbBmi = r.u32(), offBits = r.u32(), cbBits = r.u32();
        if (!r.ok())
            break;
        LogBrush b;
        b.kind = LogBrush::Pattern;
        b.pattern = dibAt(r, offBmi, cbBmi, offBits, cbBits, type == 93 ? 0 : usage);
        dc_.putObject(index, b);
        break;
    }
    case 95: { // ExtCreatePen
        const quint32 index = r.u32();
        const quint32 offBmi = r.u32(), cbBmi = r.u32(), offBits = r.u32(), cbBits = r.u32();
        Q_UNUSED(offBmi);
        Q_UNUSED(cbBmi);
        Q_UNUSED(offBits);
        Q_UNUSED(cbBits);
        LogPen pen;
        pen.style = r.u32();
        pen.width = r.u32();
        const quint32 brushStyle = r.u32();
        pen.color = dc_.colorRef(r.u32());
        r.u32(); // hatch
        const quint32 entries = r.u32();
        if (!r.ok())
            break;
        if (brushStyle == 1) // BS_NULL
            pen.style = (pen.style & ~0xFu) | 5u;
        if (pen.width > 1000000)
            pen.width = 1000000;
        if ((pen.style & 0xF) == 7 && entries <= 64 && r.has(qsizetype(entries) * 4)) {
            for (quint32 i = 0; i < entries; ++i)
                pen.dashes.append(r.u32());
        }
        // A cosmetic pen is one pixel wide whatever its stated width.
        if (!(pen.style & 0x10000u))
            pen.width = 0;
        dc_.putObject(index, pen);
        break;
    }
    default:
        break; // colour management, pixel formats, OpenGL and the like
    }
    return true;
}

bool readEmfHeader(const QByteArray& bytes, QRectF& bounds, QRectF& frame, QSizeF& devPx,
                   QSizeF& devMm, QString& error)
{
    ByteReader r(bytes.constData(), bytes.size());
    const quint32 type = r.u32();
    const quint32 size = r.u32();
    bounds = rectl(r);
    frame = rectl(r);
    const quint32 signature = r.u32();
    r.seek(72);
    const qint32 pxW = r.i32(), pxH = r.i32(), mmW = r.i32(), mmH = r.i32();
    if (!r.ok()) {
        error = QStringLiteral("The metafile is truncated.");
        return false;
    }
    if (type != 1 || signature != kEmfSignature || size < 88) {
        error = QStringLiteral("The file is not an enhanced metafile.");
        return false;
    }
    devPx = QSizeF(pxW, pxH);
    devMm = QSizeF(mmW, mmH);
    if (pxW <= 0 || pxH <= 0 || mmW <= 0 || mmH <= 0) {
        devPx = QSizeF(1024, 768);
        devMm = QSizeF(270.9, 203.2);
    }
    return true;
}

} // namespace

bool readEmfFrame(const QByteArray& bytes, MetafileFrame& out, QString& error)
{
    QRectF bounds, frame;
    QSizeF devPx, devMm;
    if (!readEmfHeader(bytes, bounds, frame, devPx, devMm, error))
        return false;
    // The frame is in hundredths of a millimetre, inclusive.
    const qreal sx = devPx.width() / (devMm.width() * 100);
    const qreal sy = devPx.height() / (devMm.height() * 100);
    const QRectF f = frame.normalized();
    if (f.width() > 0 && f.height() > 0) {
        out.device = QRectF(f.x() * sx, f.y() * sy, f.width() * sx, f.height() * sy);
        out.naturalSize = QSizeF(f.width() * 96 / 2540, f.height() * 96 / 2540);
        return true;
    }
    const QRectF b = bounds.normalized();
    if (b.width() > 0 && b.height() > 0) {
        out.device = b.adjusted(0, 0, 1, 1);
        out.naturalSize = out.device.size() * (96 / (devPx.width() / devMm.width() * 25.4));
        return true;
    }
    // No usable frame: measure the drawing.
    MetafileRecordingSink measure;
    measure.keepImages = false;
    MetafileFrame identity;
    identity.device = QRectF(0, 0, 1e6, 1e6);
    playEmf(bytes, identity, measure, identity.device);
    const QRectF d = measure.drawingBounds();
    if (!(d.width() > 0 && d.height() > 0)) {
        error = QStringLiteral("The metafile draws nothing.");
        return false;
    }
    out.device = d;
    out.naturalSize = d.size();
    return true;
}

void playEmf(const QByteArray& bytes, const MetafileFrame& frame, MetafileSink& sink,
             const QRectF& target)
{
    QRectF bounds, hdrFrame;
    QSizeF devPx, devMm;
    QString error;
    if (!readEmfHeader(bytes, bounds, hdrFrame, devPx, devMm, error))
        return;
    MetafileDC dc(sink, frameToTarget(frame.device, target), false);
    dc.setTargetRect(target);
    dc.setDeviceMetrics(devPx, devMm);
    EmfPlayer player(dc);
    EmfPlusPlayer plus(sink, frameToTarget(frame.device, target), target);
    const qsizetype n = bytes.size();
    qsizetype pos = 0;
    while (pos <= n - 8) {
        ByteReader head(bytes.constData() + pos, n - pos);
        const quint32 type = head.u32();
        const quint32 size = head.u32();
        if (size < 8)
            break;
        const qsizetype len = qint64(size) > n - pos ? n - pos : qsizetype(size);
        // Offsets inside a record count from its start.
        ByteReader rec(bytes.constData() + pos, len);
        rec.seek(8);
        // EMF+ records travel in comments; while they draw, the EMF records do not.
        const bool emfPlus = type == 70 && len > 12 && plus.comment(rec.at(12, len - 12));
        const bool draws = !emfPlus && plus.drawsEmfRecords();
        if (draws || type == 1 || type == 14) {
            if (draws && plus.yieldClip())
                dc.resendClip();
            if (!player.record(type, rec))
                break;
        }
        pos += len;
    }
}

} // namespace ovmeta
