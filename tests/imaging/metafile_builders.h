#pragma once
// Byte-by-byte writers of small Windows and enhanced metafiles for the tests.
#include <QByteArray>
#include <QPolygon>
#include <QRect>
#include <QString>
#include <QtEndian>
#include <cstring>
#include <initializer_list>
#include <vector>

namespace mftest {

inline void put16(QByteArray& b, int v)
{
    char x[2];
    qToLittleEndian<quint16>(quint16(v), x);
    b.append(x, 2);
}

inline void put32(QByteArray& b, qint64 v)
{
    char x[4];
    qToLittleEndian<quint32>(quint32(v), x);
    b.append(x, 4);
}

inline void putF(QByteArray& b, float f)
{
    quint32 v;
    std::memcpy(&v, &f, 4);
    put32(b, v);
}

inline quint32 rgb(int r, int g, int b)
{
    return quint32(r) | (quint32(g) << 8) | (quint32(b) << 16);
}

// A bottom-up 24-bit DIB (BITMAPINFOHEADER and bits); pixels given top row first.
inline QByteArray dib24(int w, int h, const std::vector<quint32>& topDownRgb, QByteArray* bitsOut = nullptr,
                        QByteArray* infoOut = nullptr)
{
    QByteArray info;
    put32(info, 40);
    put32(info, w);
    put32(info, h);
    put16(info, 1);
    put16(info, 24);
    put32(info, 0);
    put32(info, 0);
    put32(info, 2835);
    put32(info, 2835);
    put32(info, 0);
    put32(info, 0);
    QByteArray bits;
    const int stride = ((w * 24 + 31) / 32) * 4;
    for (int row = h - 1; row >= 0; --row) {
        QByteArray line;
        for (int x = 0; x < w; ++x) {
            const quint32 c = topDownRgb.at(size_t(row * w + x));
            line.append(char((c >> 16) & 0xFF)); // blue
            line.append(char((c >> 8) & 0xFF));
            line.append(char(c & 0xFF));
        }
        line.append(QByteArray(stride - line.size(), '\0'));
        bits.append(line);
    }
    if (bitsOut)
        *bitsOut = bits;
    if (infoOut)
        *infoOut = info;
    return info + bits;
}

class Wmf {
public:
    QByteArray records;
    int maxRecordWords = 0;

    Wmf& raw(quint16 func, const QByteArray& params)
    {
        QByteArray p = params;
        if (p.size() % 2)
            p.append('\0');
        const int words = 3 + int(p.size() / 2);
        maxRecordWords = std::max(maxRecordWords, words);
        put32(records, words);
        put16(records, func);
        records.append(p);
        return *this;
    }
    Wmf& rec(quint16 func, std::initializer_list<int> params)
    {
        QByteArray p;
        for (int v : params)
            put16(p, v);
        return raw(func, p);
    }
    Wmf& windowOrg(int x, int y) { return rec(0x020B, {y, x}); }
    Wmf& windowExt(int x, int y) { return rec(0x020C, {y, x}); }
    Wmf& viewportOrg(int x, int y) { return rec(0x020D, {y, x}); }
    Wmf& viewportExt(int x, int y) { return rec(0x020E, {y, x}); }
    Wmf& mapMode(int m) { return rec(0x0103, {m}); }
    Wmf& saveDC() { return rec(0x001E, {}); }
    Wmf& restoreDC(int n) { return rec(0x0127, {n}); }
    Wmf& select(int i) { return rec(0x012D, {i}); }
    Wmf& deleteObject(int i) { return rec(0x01F0, {i}); }
    Wmf& rectangle(int l, int t, int r, int b) { return rec(0x041B, {b, r, t, l}); }
    Wmf& ellipse(int l, int t, int r, int b) { return rec(0x0418, {b, r, t, l}); }
    Wmf& moveTo(int x, int y) { return rec(0x0214, {y, x}); }
    Wmf& lineTo(int x, int y) { return rec(0x0213, {y, x}); }
    Wmf& intersectClip(int l, int t, int r, int b) { return rec(0x0416, {b, r, t, l}); }
    Wmf& excludeClip(int l, int t, int r, int b) { return rec(0x0415, {b, r, t, l}); }
    Wmf& textAlign(int a) { return rec(0x012E, {a}); }
    Wmf& bkMode(int m) { return rec(0x0102, {m}); }
    Wmf& textColor(quint32 c)
    {
        QByteArray p;
        put32(p, c);
        return raw(0x0209, p);
    }
    Wmf& pen(int style, int width, quint32 color)
    {
        QByteArray p;
        put16(p, style);
        put16(p, width);
        put16(p, 0);
        put32(p, color);
        return raw(0x02FA, p);
    }
    Wmf& brush(int style, quint32 color, int hatch = 0)
    {
        QByteArray p;
        put16(p, style);
        put32(p, color);
        put16(p, hatch);
        return raw(0x02FC, p);
    }
    Wmf& font(int height, int escapement = 0, const QByteArray& face = "Arial", int weight = 400)
    {
        QByteArray p;
        put16(p, height);
        put16(p, 0);
        put16(p, escapement);
        put16(p, escapement);
        put16(p, weight);
        p.append(QByteArray(8, '\0'));
        QByteArray f = face.left(31);
        f.append(QByteArray(32 - f.size(), '\0'));
        p.append(f);
        return raw(0x02FB, p);
    }
    Wmf& poly(quint16 func, const QPolygon& pts)
    {
        QByteArray p;
        put16(p, int(pts.size()));
        for (const QPoint& pt : pts) {
            put16(p, pt.x());
            put16(p, pt.y());
        }
        return raw(func, p);
    }
    Wmf& polygon(const QPolygon& pts) { return poly(0x0324, pts); }
    Wmf& polyline(const QPolygon& pts) { return poly(0x0325, pts); }
    Wmf& textOut(int x, int y, const QByteArray& s)
    {
        QByteArray p;
        put16(p, int(s.size()));
        p.append(s);
        if (s.size() % 2)
            p.append('\0');
        put16(p, y);
        put16(p, x);
        return raw(0x0521, p);
    }
    Wmf& extTextOut(int x, int y, const QByteArray& s, const std::vector<int>& dx, int opts = 0,
                    QRect rc = {})
    {
        QByteArray p;
        put16(p, y);
        put16(p, x);
        put16(p, int(s.size()));
        put16(p, opts);
        if (opts & 6) {
            put16(p, rc.left());
            put16(p, rc.top());
            put16(p, rc.right() + 1);
            put16(p, rc.bottom() + 1);
        }
        p.append(s);
        if (s.size() % 2)
            p.append('\0');
        for (int d : dx)
            put16(p, d);
        return raw(0x0A32, p);
    }
    Wmf& stretchDib(QRect dest, QRect src, const QByteArray& packedDib, quint32 rop = 0x00CC0020)
    {
        QByteArray p;
        put32(p, rop);
        put16(p, 0); // DIB_RGB_COLORS
        put16(p, src.height());
        put16(p, src.width());
        put16(p, src.y());
        put16(p, src.x());
        put16(p, dest.height());
        put16(p, dest.width());
        put16(p, dest.y());
        put16(p, dest.x());
        p.append(packedDib);
        return raw(0x0F43, p);
    }

    QByteArray build(int numObjects = 8) const
    {
        QByteArray out;
        QByteArray body = records;
        put32(body, 3);
        put16(body, 0); // EOF
        put16(out, 1);  // memory metafile
        put16(out, 9);
        put16(out, 0x0300);
        put32(out, (18 + body.size()) / 2);
        put16(out, numObjects);
        put32(out, std::max(maxRecordWords, 3));
        put16(out, 0);
        return out + body;
    }

    QByteArray buildPlaceable(QRect bbox, int inch, int numObjects = 8) const
    {
        QByteArray head;
        put32(head, 0x9AC6CDD7);
        put16(head, 0);
        put16(head, bbox.left());
        put16(head, bbox.top());
        put16(head, bbox.right() + 1);
        put16(head, bbox.bottom() + 1);
        put16(head, inch);
        put32(head, 0);
        quint16 sum = 0;
        for (int i = 0; i < 10; ++i)
            sum ^= qFromLittleEndian<quint16>(head.constData() + 2 * i);
        put16(head, sum);
        return head + build(numObjects);
    }
};

class Emf {
public:
    QByteArray records;
    int count = 1; // the header

    Emf& rec(quint32 type, const QByteArray& params)
    {
        QByteArray p = params;
        while (p.size() % 4)
            p.append('\0');
        put32(records, type);
        put32(records, 8 + p.size());
        records.append(p);
        ++count;
        return *this;
    }
    Emf& ints(quint32 type, std::initializer_list<qint64> values)
    {
        QByteArray p;
        for (qint64 v : values)
            put32(p, v);
        return rec(type, p);
    }
    Emf& mapMode(int m) { return ints(17, {m}); }
    Emf& windowExt(int x, int y) { return ints(9, {x, y}); }
    Emf& windowOrg(int x, int y) { return ints(10, {x, y}); }
    Emf& viewportExt(int x, int y) { return ints(11, {x, y}); }
    Emf& viewportOrg(int x, int y) { return ints(12, {x, y}); }
    Emf& saveDC() { return ints(33, {}); }
    Emf& restoreDC(int n) { return ints(34, {n}); }
    Emf& select(quint32 i) { return ints(37, {i}); }
    Emf& deleteObject(quint32 i) { return ints(40, {i}); }
    Emf& rectangle(int l, int t, int r, int b) { return ints(43, {l, t, r, b}); }
    Emf& ellipse(int l, int t, int r, int b) { return ints(42, {l, t, r, b}); }
    Emf& moveTo(int x, int y) { return ints(27, {x, y}); }
    Emf& lineTo(int x, int y) { return ints(54, {x, y}); }
    Emf& beginPath() { return ints(59, {}); }
    Emf& endPath() { return ints(60, {}); }
    Emf& closeFigure() { return ints(61, {}); }
    Emf& fillPath() { return ints(62, {0, 0, 0, 0}); }
    Emf& strokePath() { return ints(64, {0, 0, 0, 0}); }
    Emf& selectClipPath(int mode) { return ints(67, {mode}); }
    Emf& intersectClip(int l, int t, int r, int b) { return ints(30, {l, t, r, b}); }
    Emf& textAlign(int a) { return ints(22, {a}); }
    Emf& pen(quint32 index, int style, int width, quint32 color)
    {
        return ints(38, {index, style, width, 0, color});
    }
    Emf& brush(quint32 index, int style, quint32 color, int hatch = 0)
    {
        return ints(39, {index, style, color, hatch});
    }
    Emf& arc(quint32 type, QRect box, QPoint start, QPoint end)
    {
        return ints(type, {box.left(), box.top(), box.right(), box.bottom(), start.x(), start.y(),
                           end.x(), end.y()});
    }
    Emf& polygon16(quint32 type, const QPolygon& pts)
    {
        QByteArray p;
        const QRect b = pts.boundingRect();
        put32(p, b.left());
        put32(p, b.top());
        put32(p, b.right());
        put32(p, b.bottom());
        put32(p, pts.size());
        for (const QPoint& pt : pts) {
            put16(p, pt.x());
            put16(p, pt.y());
        }
        return rec(type, p);
    }
    Emf& polygon(quint32 type, const QPolygon& pts)
    {
        QByteArray p;
        const QRect b = pts.boundingRect();
        put32(p, b.left());
        put32(p, b.top());
        put32(p, b.right());
        put32(p, b.bottom());
        put32(p, pts.size());
        for (const QPoint& pt : pts) {
            put32(p, pt.x());
            put32(p, pt.y());
        }
        return rec(type, p);
    }
    Emf& font(quint32 index, int height, int escapement = 0, const QString& face = "Arial")
    {
        QByteArray p;
        put32(p, index);
        put32(p, height);
        put32(p, 0);
        put32(p, escapement);
        put32(p, escapement);
        put32(p, 400);
        p.append(QByteArray(8, '\0'));
        for (int i = 0; i < 32; ++i)
            put16(p, i < face.size() ? face.at(i).unicode() : 0);
        return rec(82, p);
    }
    Emf& textW(int x, int y, const QString& s, const std::vector<int>& dx = {}, int options = 0)
    {
        QByteArray p;
        for (int i = 0; i < 4; ++i)
            put32(p, 0); // bounds
        put32(p, 1);     // GM_COMPATIBLE
        putF(p, 1);
        putF(p, 1);
        put32(p, x);
        put32(p, y);
        put32(p, s.size());
        const int offString = 8 + 16 + 12 + 8 + 4 + 4 + 4 + 16 + 4;
        put32(p, offString);
        put32(p, options);
        for (int i = 0; i < 4; ++i)
            put32(p, 0);
        QByteArray str;
        for (QChar c : s)
            put16(str, c.unicode());
        while (str.size() % 4)
            str.append('\0');
        put32(p, dx.empty() ? 0 : offString + str.size());
        p.append(str);
        for (int d : dx)
            put32(p, d);
        return rec(84, p);
    }
    Emf& stretchDIBits(QRect dest, QRect src, const QByteArray& info, const QByteArray& bits,
                       quint32 rop = 0x00CC0020)
    {
        QByteArray p;
        for (int i = 0; i < 4; ++i)
            put32(p, 0);
        put32(p, dest.x());
        put32(p, dest.y());
        put32(p, src.x());
        put32(p, src.y());
        put32(p, src.width());
        put32(p, src.height());
        const int fixed = 8 + 16 + 24 + 16 + 8 + 8;
        put32(p, fixed);
        put32(p, info.size());
        put32(p, fixed + info.size());
        put32(p, bits.size());
        put32(p, 0);
        put32(p, rop);
        put32(p, dest.width());
        put32(p, dest.height());
        p.append(info);
        p.append(bits);
        return rec(81, p);
    }
    Emf& comment(const QByteArray& data)
    {
        QByteArray p;
        put32(p, data.size());
        p.append(data);
        return rec(70, p);
    }
    Emf& clipRegionRects(int mode, const std::vector<QRect>& rects)
    {
        QByteArray rgn;
        put32(rgn, 32);
        put32(rgn, 1);
        put32(rgn, rects.size());
        put32(rgn, rects.size() * 16);
        for (int i = 0; i < 4; ++i)
            put32(rgn, 0);
        for (const QRect& r : rects) {
            put32(rgn, r.left());
            put32(rgn, r.top());
            put32(rgn, r.right() + 1);
            put32(rgn, r.bottom() + 1);
        }
        QByteArray p;
        put32(p, rects.empty() ? 0 : rgn.size());
        put32(p, mode);
        if (!rects.empty())
            p.append(rgn);
        return rec(75, p);
    }

    // Device 1000 x 1000 pixels on 100 x 100 mm; the frame in hundredths of a mm.
    QByteArray build(QRect frame = QRect(QPoint(0, 0), QPoint(10000, 10000)),
                     QSize devPx = QSize(1000, 1000), QSize devMm = QSize(100, 100)) const
    {
        QByteArray body = records;
        put32(body, 14);
        put32(body, 20);
        put32(body, 0);
        put32(body, 16);
        put32(body, 20);
        QByteArray h;
        put32(h, 1);
        put32(h, 108);
        put32(h, 0);
        put32(h, 0);
        put32(h, devPx.width() - 1);
        put32(h, devPx.height() - 1);
        put32(h, frame.left());
        put32(h, frame.top());
        put32(h, frame.right());
        put32(h, frame.bottom());
        put32(h, 0x464D4520);
        put32(h, 0x10000);
        put32(h, 108 + body.size());
        put32(h, count + 1);
        put16(h, 16);
        put16(h, 0);
        put32(h, 0);
        put32(h, 0);
        put32(h, 0);
        put32(h, devPx.width());
        put32(h, devPx.height());
        put32(h, devMm.width());
        put32(h, devMm.height());
        put32(h, 0);
        put32(h, 0);
        put32(h, 0);
        put32(h, devMm.width() * 1000);
        put32(h, devMm.height() * 1000);
        return h + body;
    }
};

} // namespace mftest
