#pragma once
// Writers of EMF+ records and objects, wrapped in the comment records of an enhanced
// metafile, for the tests.
#include "metafile_builders.h"

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QTransform>
#include <vector>

namespace eptest {

using mftest::put16;
using mftest::put32;
using mftest::putF;

constexpr quint32 kVersion = 0xDBC01002;

inline quint32 argb(int a, int r, int g, int b)
{
    return (quint32(a) << 24) | (quint32(r) << 16) | (quint32(g) << 8) | quint32(b);
}

inline void putRectF(QByteArray& b, const QRectF& r)
{
    putF(b, float(r.x()));
    putF(b, float(r.y()));
    putF(b, float(r.width()));
    putF(b, float(r.height()));
}

inline void putPointsF(QByteArray& b, const std::vector<QPointF>& pts)
{
    for (const QPointF& p : pts) {
        putF(b, float(p.x()));
        putF(b, float(p.y()));
    }
}

inline void putMatrix(QByteArray& b, const QTransform& t)
{
    for (qreal v : {t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy()})
        putF(b, float(v));
}

inline QByteArray solidBrushData(quint32 color)
{
    QByteArray d;
    put32(d, kVersion);
    put32(d, 0);
    put32(d, color);
    return d;
}

// An EMF+ picture: its records are collected and written into EMF comment records; EMF
// records can be put in between through `emf`.
class EmfPlus {
public:
    mftest::Emf emf;

    explicit EmfPlus(bool dual = false, int dpi = 96)
    {
        QByteArray d;
        put32(d, kVersion);
        put32(d, 1); // reference device is a screen
        put32(d, dpi);
        put32(d, dpi);
        rec(0x4001, dual ? 1 : 0, d);
        flush();
    }

    EmfPlus& rec(quint16 type, quint16 flags, const QByteArray& data)
    {
        QByteArray d = data;
        while (d.size() % 4)
            d.append('\0');
        put16(pending_, type);
        put16(pending_, flags);
        put32(pending_, 12 + d.size());
        put32(pending_, d.size());
        pending_.append(d);
        return *this;
    }
    // Ends the current comment record; EMF records may follow.
    EmfPlus& flush()
    {
        if (!pending_.isEmpty())
            emf.comment(QByteArray("EMF+", 4) + pending_);
        pending_.clear();
        return *this;
    }

    // --- objects
    EmfPlus& object(int id, int type, const QByteArray& data) { return rec(0x4008, quint16((type << 8) | id), data); }
    EmfPlus& solidBrush(int id, quint32 color) { return object(id, 1, solidBrushData(color)); }
    EmfPlus& hatchBrush(int id, int style, quint32 fore, quint32 back)
    {
        QByteArray d;
        put32(d, kVersion);
        put32(d, 1);
        put32(d, style);
        put32(d, fore);
        put32(d, back);
        return object(id, 1, d);
    }
    EmfPlus& linearBrush(int id, const QRectF& r, quint32 c0, quint32 c1, int wrap = 4,
                         const QTransform* t = nullptr)
    {
        QByteArray d;
        put32(d, kVersion);
        put32(d, 4);
        put32(d, t ? 0x02 : 0);
        put32(d, wrap);
        putRectF(d, r);
        put32(d, c0);
        put32(d, c1);
        put32(d, 0);
        put32(d, 0);
        if (t)
            putMatrix(d, *t);
        return object(id, 1, d);
    }
    // A pen: width in `unit`, a line style (0 solid, 1 dash, ...), caps and join.
    EmfPlus& pen(int id, float width, quint32 color, int unit = 0, int lineStyle = 0, int cap = -1, int join = -1)
    {
        QByteArray d;
        put32(d, kVersion);
        put32(d, 0);
        quint32 flags = 0;
        if (cap >= 0)
            flags |= 0x02;
        if (join >= 0)
            flags |= 0x08;
        if (lineStyle)
            flags |= 0x20;
        put32(d, flags);
        put32(d, unit);
        putF(d, width);
        if (cap >= 0)
            put32(d, cap);
        if (join >= 0)
            put32(d, join);
        if (lineStyle)
            put32(d, lineStyle);
        d.append(solidBrushData(color));
        return object(id, 2, d);
    }
    // A path: points as floats; types 0 start, 1 line, 3 Bezier, 0x80 closes.
    EmfPlus& path(int id, const std::vector<QPointF>& pts, const QByteArray& types)
    {
        QByteArray d;
        put32(d, kVersion);
        put32(d, qsizetype(pts.size()));
        put32(d, 0);
        putPointsF(d, pts);
        d.append(types);
        return object(id, 3, d);
    }
    EmfPlus& font(int id, float em, int unit, int style, const QString& family)
    {
        QByteArray d;
        put32(d, kVersion);
        putF(d, em);
        put32(d, unit);
        put32(d, style);
        put32(d, 0);
        put32(d, family.size());
        for (QChar c : family)
            put16(d, c.unicode());
        return object(id, 6, d);
    }
    EmfPlus& stringFormat(int id, int align, int lineAlign, quint32 flags = 0)
    {
        QByteArray d;
        put32(d, kVersion);
        put32(d, flags);
        put32(d, 0);
        put32(d, align);
        put32(d, lineAlign);
        put32(d, 0);
        put32(d, 0);
        putF(d, 0);
        put32(d, 0);
        putF(d, 0);
        putF(d, 0);
        putF(d, 1);
        put32(d, 0);
        put32(d, 0);
        put32(d, 0);
        return object(id, 7, d);
    }
    // A bitmap object with 32-bit ARGB pixels.
    static QByteArray bitmapData(const QImage& source)
    {
        const QImage img = source.convertToFormat(QImage::Format_ARGB32);
        QByteArray d;
        put32(d, kVersion);
        put32(d, 1);
        put32(d, img.width());
        put32(d, img.height());
        put32(d, img.width() * 4);
        put32(d, 0x0026200A);
        put32(d, 0);
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const QRgb c = img.pixel(x, y);
                d.append(char(qBlue(c)));
                d.append(char(qGreen(c)));
                d.append(char(qRed(c)));
                d.append(char(qAlpha(c)));
            }
        return d;
    }
    EmfPlus& bitmap(int id, const QImage& img) { return object(id, 5, bitmapData(img)); }
    EmfPlus& metafileImage(int id, const QByteArray& emfBytes)
    {
        QByteArray d;
        put32(d, kVersion);
        put32(d, 2);
        put32(d, 3); // EMF
        put32(d, emfBytes.size());
        d.append(emfBytes);
        return object(id, 5, d);
    }
    EmfPlus& rectRegion(int id, const QRectF& r)
    {
        QByteArray d;
        put32(d, kVersion);
        put32(d, 0);
        put32(d, 0x10000000);
        putRectF(d, r);
        return object(id, 4, d);
    }

    // --- drawing
    EmfPlus& fillRects(quint32 brush, bool isColor, const std::vector<QRectF>& rects)
    {
        QByteArray d;
        put32(d, brush);
        put32(d, qsizetype(rects.size()));
        for (const QRectF& r : rects)
            putRectF(d, r);
        return rec(0x400A, isColor ? 0x8000 : 0, d);
    }
    EmfPlus& drawRects(int pen, const std::vector<QRectF>& rects)
    {
        QByteArray d;
        put32(d, qsizetype(rects.size()));
        for (const QRectF& r : rects)
            putRectF(d, r);
        return rec(0x400B, quint16(pen), d);
    }
    EmfPlus& drawLines(int pen, const std::vector<QPointF>& pts, bool closed = false)
    {
        QByteArray d;
        put32(d, qsizetype(pts.size()));
        putPointsF(d, pts);
        return rec(0x400D, quint16(pen | (closed ? 0x2000 : 0)), d);
    }
    EmfPlus& fillPolygon(quint32 brush, bool isColor, const std::vector<QPointF>& pts)
    {
        QByteArray d;
        put32(d, brush);
        put32(d, qsizetype(pts.size()));
        putPointsF(d, pts);
        return rec(0x400C, isColor ? 0x8000 : 0, d);
    }
    EmfPlus& ellipse(bool filled, quint32 brushOrPen, bool isColor, const QRectF& r)
    {
        QByteArray d;
        if (filled)
            put32(d, brushOrPen);
        putRectF(d, r);
        return rec(filled ? 0x400E : 0x400F, filled ? (isColor ? 0x8000 : 0) : quint16(brushOrPen), d);
    }
    EmfPlus& arc(quint16 type, quint32 brushOrPen, float start, float sweep, const QRectF& r)
    {
        QByteArray d;
        if (type == 0x4010)
            put32(d, brushOrPen);
        putF(d, start);
        putF(d, sweep);
        putRectF(d, r);
        return rec(type, type == 0x4010 ? 0x8000 : quint16(brushOrPen), d);
    }
    EmfPlus& fillPath(int path, quint32 brush, bool isColor)
    {
        QByteArray d;
        put32(d, brush);
        return rec(0x4014, quint16(path | (isColor ? 0x8000 : 0)), d);
    }
    EmfPlus& drawPath(int path, int pen)
    {
        QByteArray d;
        put32(d, pen);
        return rec(0x4015, quint16(path), d);
    }
    EmfPlus& drawString(int font, quint32 brush, bool isColor, int format, const QRectF& layout, const QString& s)
    {
        QByteArray d;
        put32(d, brush);
        put32(d, format);
        put32(d, s.size());
        putRectF(d, layout);
        for (QChar c : s)
            put16(d, c.unicode());
        return rec(0x401C, quint16(font | (isColor ? 0x8000 : 0)), d);
    }
    EmfPlus& drawDriverString(int font, quint32 color, quint32 options, const QString& s,
                              const std::vector<QPointF>& positions)
    {
        QByteArray d;
        put32(d, color);
        put32(d, options);
        put32(d, 0);
        put32(d, s.size());
        for (QChar c : s)
            put16(d, c.unicode());
        putPointsF(d, positions);
        return rec(0x4036, quint16(font | 0x8000), d);
    }
    EmfPlus& drawImage(int image, const QRectF& src, const QRectF& dest)
    {
        QByteArray d;
        put32(d, 0xFFFFFFFF);
        put32(d, 2); // pixels
        putRectF(d, src);
        putRectF(d, dest);
        return rec(0x401A, quint16(image), d);
    }
    EmfPlus& drawImagePoints(int image, const QRectF& src, const std::vector<QPointF>& three)
    {
        QByteArray d;
        put32(d, 0xFFFFFFFF);
        put32(d, 2);
        putRectF(d, src);
        put32(d, 3);
        putPointsF(d, three);
        return rec(0x401B, quint16(image), d);
    }

    // --- state
    EmfPlus& setWorld(const QTransform& t)
    {
        QByteArray d;
        putMatrix(d, t);
        return rec(0x402A, 0, d);
    }
    EmfPlus& resetWorld() { return rec(0x402B, 0, {}); }
    EmfPlus& translate(float dx, float dy, bool append = false)
    {
        QByteArray d;
        putF(d, dx);
        putF(d, dy);
        return rec(0x402D, append ? 0x2000 : 0, d);
    }
    EmfPlus& scale(float sx, float sy, bool append = false)
    {
        QByteArray d;
        putF(d, sx);
        putF(d, sy);
        return rec(0x402E, append ? 0x2000 : 0, d);
    }
    EmfPlus& rotate(float angle, bool append = false)
    {
        QByteArray d;
        putF(d, angle);
        return rec(0x402F, append ? 0x2000 : 0, d);
    }
    EmfPlus& multiply(const QTransform& t, bool append = false)
    {
        QByteArray d;
        putMatrix(d, t);
        return rec(0x402C, append ? 0x2000 : 0, d);
    }
    EmfPlus& pageTransform(int unit, float scale)
    {
        QByteArray d;
        putF(d, scale);
        return rec(0x4030, quint16(unit), d);
    }
    EmfPlus& save(quint32 index)
    {
        QByteArray d;
        put32(d, index);
        return rec(0x4025, 0, d);
    }
    EmfPlus& restore(quint32 index)
    {
        QByteArray d;
        put32(d, index);
        return rec(0x4026, 0, d);
    }
    EmfPlus& beginContainer(const QRectF& dest, const QRectF& src, quint32 index)
    {
        QByteArray d;
        putRectF(d, dest);
        putRectF(d, src);
        put32(d, index);
        return rec(0x4027, 2 << 8, d);
    }
    EmfPlus& endContainer(quint32 index)
    {
        QByteArray d;
        put32(d, index);
        return rec(0x4029, 0, d);
    }
    EmfPlus& clipRect(const QRectF& r, int mode)
    {
        QByteArray d;
        putRectF(d, r);
        return rec(0x4032, quint16(mode << 8), d);
    }
    EmfPlus& clipPath(int path, int mode) { return rec(0x4033, quint16(path | (mode << 8)), {}); }
    EmfPlus& clipRegion(int region, int mode) { return rec(0x4034, quint16(region | (mode << 8)), {}); }
    EmfPlus& resetClip() { return rec(0x4031, 0, {}); }
    EmfPlus& getDC() { return rec(0x4004, 0, {}); }
    EmfPlus& clear(quint32 color)
    {
        QByteArray d;
        put32(d, color);
        return rec(0x4009, 0, d);
    }

    // The EMF: device 1000 x 1000 pixels on 100 x 100 mm, the whole device framed.
    QByteArray build()
    {
        rec(0x4002, 0, {});
        flush();
        return emf.build();
    }

private:
    QByteArray pending_;
};

} // namespace eptest
