#include "imaging/emf_record_writer.h"

#include "imaging/byte_writer.h"

#include <QtEndian>
#include <cmath>
#include <cstring>

namespace {

using ovpic::appendLe16;
using ovpic::appendLe32;

void putRect(QByteArray& b, const QRect& r)
{
    appendLe32(b, quint32(r.left()));
    appendLe32(b, quint32(r.top()));
    appendLe32(b, quint32(r.right()));
    appendLe32(b, quint32(r.bottom()));
}

quint32 colorRef(QColor c)
{
    return quint32(c.red()) | (quint32(c.green()) << 8) | (quint32(c.blue()) << 16);
}

qint32 coord(qreal v)
{
    return qint32(std::clamp<qreal>(std::round(v), -(1 << 30), 1 << 30));
}

// BITMAPINFOHEADER and bottom-up bits, 24-bit or 32-bit premultiplied.
void dib(const QImage& source, bool alpha, QByteArray& info, QByteArray& bits)
{
    const QImage image = source.convertToFormat(alpha ? QImage::Format_ARGB32_Premultiplied
                                                      : QImage::Format_RGB32);
    const int w = image.width(), h = image.height();
    const int bpp = alpha ? 32 : 24;
    const int stride = (w * bpp + 31) / 32 * 4;
    appendLe32(info, 40);
    appendLe32(info, quint32(w));
    appendLe32(info, quint32(h));
    appendLe16(info, 1);
    appendLe16(info, quint16(bpp));
    appendLe32(info, 0);
    appendLe32(info, quint32(stride * h));
    appendLe32(info, 3780);
    appendLe32(info, 3780);
    appendLe32(info, 0);
    appendLe32(info, 0);
    bits.reserve(qsizetype(stride) * h);
    for (int y = h - 1; y >= 0; --y) {
        const auto* px = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        const qsizetype start = bits.size();
        for (int x = 0; x < w; ++x) {
            bits.append(char(qBlue(px[x])));
            bits.append(char(qGreen(px[x])));
            bits.append(char(qRed(px[x])));
            if (alpha)
                bits.append(char(qAlpha(px[x])));
        }
        bits.append(QByteArray(stride - (bits.size() - start), '\0'));
    }
}

} // namespace

EmfRecordWriter::EmfRecordWriter(QSize pixels, int unitsPerPixel) : pixels_(pixels), units_(unitsPerPixel)
{
    QByteArray p;
    appendLe32(p, 8); // MM_ANISOTROPIC
    record(17, p);
    p.clear();
    appendLe32(p, quint32(pixels.width() * units_));
    appendLe32(p, quint32(pixels.height() * units_));
    record(9, p); // SetWindowExtEx
    p.clear();
    appendLe32(p, quint32(pixels.width()));
    appendLe32(p, quint32(pixels.height()));
    record(11, p); // SetViewportExtEx
    p.clear();
    appendLe32(p, 1); // TRANSPARENT: dash gaps show what is below
    record(18, p);
}

void EmfRecordWriter::record(quint32 type, const QByteArray& params)
{
    QByteArray p = params;
    while (p.size() % 4)
        p.append('\0');
    appendLe32(body_, type);
    appendLe32(body_, quint32(8 + p.size()));
    body_.append(p);
    ++records_;
}

void EmfRecordWriter::createSolidBrush(quint32 slot, QColor color)
{
    QByteArray p;
    appendLe32(p, slot);
    appendLe32(p, 0); // BS_SOLID
    appendLe32(p, colorRef(color));
    appendLe32(p, 0);
    record(39, p);
}

void EmfRecordWriter::createPen(quint32 slot, quint32 styleBits, quint32 width, QColor color,
                                const QVector<quint32>& dashes)
{
    QByteArray p;
    appendLe32(p, slot);
    for (int i = 0; i < 4; ++i)
        appendLe32(p, 0); // no pattern bitmap
    appendLe32(p, 0x10000u | styleBits | (dashes.isEmpty() ? 0u : 7u)); // PS_GEOMETRIC, PS_USERSTYLE
    appendLe32(p, width);
    appendLe32(p, 0); // BS_SOLID
    appendLe32(p, colorRef(color));
    appendLe32(p, 0);
    appendLe32(p, quint32(dashes.size()));
    for (quint32 d : dashes)
        appendLe32(p, d);
    record(95, p);
}

void EmfRecordWriter::selectObject(quint32 handle)
{
    QByteArray p;
    appendLe32(p, handle);
    record(37, p);
}

void EmfRecordWriter::deleteObject(quint32 slot)
{
    QByteArray p;
    appendLe32(p, slot);
    record(40, p);
}

void EmfRecordWriter::setPolyFillMode(Qt::FillRule rule)
{
    QByteArray p;
    appendLe32(p, rule == Qt::WindingFill ? 2 : 1);
    record(19, p);
}

void EmfRecordWriter::setMiterLimit(float limit)
{
    QByteArray p;
    quint32 v;
    std::memcpy(&v, &limit, 4);
    appendLe32(p, v);
    record(58, p);
}

void EmfRecordWriter::saveDC()
{
    record(33, {});
}

void EmfRecordWriter::restoreDC()
{
    QByteArray p;
    appendLe32(p, quint32(-1));
    record(34, p);
}

void EmfRecordWriter::pathBracket(const QPainterPath& path)
{
    record(59, {}); // BeginPath
    QVector<QPoint> pts;
    QByteArray types;
    int subpathStart = -1;
    const auto closeIfReturned = [&] {
        if (subpathStart >= 0 && pts.size() - subpathStart > 1 && pts.last() == pts.at(subpathStart))
            types[types.size() - 1] = char(types.at(types.size() - 1) | 1); // PT_CLOSEFIGURE
    };
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        const QPoint pt(coord(e.x), coord(e.y));
        switch (e.type) {
        case QPainterPath::MoveToElement:
            closeIfReturned();
            subpathStart = int(pts.size());
            pts.append(pt);
            types.append(char(6)); // PT_MOVETO
            break;
        case QPainterPath::LineToElement:
            pts.append(pt);
            types.append(char(2)); // PT_LINETO
            break;
        case QPainterPath::CurveToElement:
        case QPainterPath::CurveToDataElement:
            pts.append(pt);
            types.append(char(4)); // PT_BEZIERTO
            break;
        }
    }
    closeIfReturned();
    if (!pts.isEmpty()) {
        QByteArray p;
        QRect bounds = QPolygon(pts).boundingRect();
        bounds = QRect(bounds.topLeft() / units_, bounds.bottomRight() / units_);
        putRect(p, bounds);
        appendLe32(p, quint32(pts.size()));
        for (const QPoint& q : pts) {
            appendLe32(p, quint32(q.x()));
            appendLe32(p, quint32(q.y()));
        }
        p.append(types);
        record(56, p); // PolyDraw
    }
    record(60, {}); // EndPath
}

void EmfRecordWriter::fillPath(const QRect& bounds)
{
    QByteArray p;
    putRect(p, bounds);
    record(62, p);
}

void EmfRecordWriter::strokePath(const QRect& bounds)
{
    QByteArray p;
    putRect(p, bounds);
    record(64, p);
}

void EmfRecordWriter::selectClipPath(int mode)
{
    QByteArray p;
    appendLe32(p, quint32(mode));
    record(67, p);
}

void EmfRecordWriter::resetClip()
{
    QByteArray p;
    appendLe32(p, 0);
    appendLe32(p, 5); // RGN_COPY with no region: no clipping
    record(75, p);
}

void EmfRecordWriter::stretchDIBits(const QRect& dest, const QImage& image)
{
    QByteArray info, bits;
    dib(image, false, info, bits);
    QByteArray p;
    putRect(p, QRect(dest.topLeft() / units_, dest.bottomRight() / units_));
    appendLe32(p, quint32(dest.x()));
    appendLe32(p, quint32(dest.y()));
    appendLe32(p, 0);
    appendLe32(p, 0);
    appendLe32(p, quint32(image.width()));
    appendLe32(p, quint32(image.height()));
    const quint32 fixed = 8 + 16 + 24 + 16 + 8 + 8;
    appendLe32(p, fixed);
    appendLe32(p, quint32(info.size()));
    appendLe32(p, fixed + quint32(info.size()));
    appendLe32(p, quint32(bits.size()));
    appendLe32(p, 0);          // DIB_RGB_COLORS
    appendLe32(p, 0x00CC0020); // SRCCOPY
    appendLe32(p, quint32(dest.width()));
    appendLe32(p, quint32(dest.height()));
    p.append(info);
    p.append(bits);
    record(81, p);
}

void EmfRecordWriter::alphaBlend(const QRect& dest, const QImage& image)
{
    QByteArray info, bits;
    dib(image, true, info, bits);
    QByteArray p;
    putRect(p, QRect(dest.topLeft() / units_, dest.bottomRight() / units_));
    appendLe32(p, quint32(dest.x()));
    appendLe32(p, quint32(dest.y()));
    appendLe32(p, quint32(dest.width()));
    appendLe32(p, quint32(dest.height()));
    appendLe32(p, 0x01FF0000); // AC_SRC_OVER, constant alpha 255, AC_SRC_ALPHA
    appendLe32(p, 0);
    appendLe32(p, 0);
    const float identity[6] = {1, 0, 0, 1, 0, 0};
    for (float f : identity) {
        quint32 v;
        std::memcpy(&v, &f, 4);
        appendLe32(p, v);
    }
    appendLe32(p, 0); // background colour
    appendLe32(p, 0); // DIB_RGB_COLORS
    const quint32 fixed = 8 + 16 + 16 + 4 + 8 + 24 + 8 + 16 + 8;
    appendLe32(p, fixed);
    appendLe32(p, quint32(info.size()));
    appendLe32(p, fixed + quint32(info.size()));
    appendLe32(p, quint32(bits.size()));
    appendLe32(p, quint32(image.width()));
    appendLe32(p, quint32(image.height()));
    p.append(info);
    p.append(bits);
    record(114, p);
}

QByteArray EmfRecordWriter::finish() const
{
    QByteArray body = body_;
    appendLe32(body, 14); // EOF
    appendLe32(body, 20);
    appendLe32(body, 0);
    appendLe32(body, 16);
    appendLe32(body, 20);
    const int w = pixels_.width(), h = pixels_.height();
    QByteArray head;
    appendLe32(head, 1);
    appendLe32(head, 108);
    putRect(head, QRect(0, 0, w, h)); // bounds in device pixels, inclusive
    appendLe32(head, 0);
    appendLe32(head, 0);
    appendLe32(head, quint32(std::lround(w * 2540.0 / 96)));
    appendLe32(head, quint32(std::lround(h * 2540.0 / 96)));
    appendLe32(head, 0x464D4520);
    appendLe32(head, 0x10000);
    appendLe32(head, quint32(108 + body.size()));
    appendLe32(head, quint32(records_ + 2));
    appendLe16(head, 3); // handles: the stock slot 0, a brush and a pen
    appendLe16(head, 0);
    appendLe32(head, 0);
    appendLe32(head, 0);
    appendLe32(head, 0);
    // A reference device of exactly 96 pixels per inch.
    appendLe32(head, 960);
    appendLe32(head, 960);
    appendLe32(head, 254);
    appendLe32(head, 254);
    appendLe32(head, 0);
    appendLe32(head, 0);
    appendLe32(head, 0);
    appendLe32(head, 254000);
    appendLe32(head, 254000);
    return head + body;
}
