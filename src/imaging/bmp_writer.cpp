#include "imaging/bmp_writer.h"

#include "imaging/byte_writer.h"

namespace {

using ovpic::appendLe16;
using ovpic::appendLe32;

int resolution(int dotsPerMeter)
{
    return dotsPerMeter > 0 ? dotsPerMeter : 3780; // 96 per inch
}

} // namespace

QByteArray EncodeBmp(const QImage& source)
{
    if (source.isNull())
        return {};
    QImage image;
    int bits;
    if (source.format() == QImage::Format_Indexed8 || source.format() == QImage::Format_Mono
        || source.format() == QImage::Format_MonoLSB) {
        image = source.convertToFormat(QImage::Format_Indexed8);
        bits = 8;
    } else if (source.hasAlphaChannel()) {
        image = source.convertToFormat(QImage::Format_ARGB32);
        bits = 32;
    } else {
        image = source.convertToFormat(QImage::Format_RGB32);
        bits = 24;
    }
    const int w = image.width(), h = image.height();
    const qsizetype stride = (qsizetype(w) * bits + 31) / 32 * 4;
    const QVector<QRgb> table = bits == 8 ? image.colorTable() : QVector<QRgb>();
    const quint32 headerSize = bits == 32 ? 124 : 40;
    const qsizetype offBits = 14 + headerSize + table.size() * 4;
    const qsizetype total = offBits + stride * h;

    QByteArray out;
    out.reserve(total);
    out.append("BM", 2);
    appendLe32(out, quint32(total));
    appendLe32(out, 0);
    appendLe32(out, quint32(offBits));

    appendLe32(out, headerSize);
    appendLe32(out, quint32(w));
    appendLe32(out, quint32(h));
    appendLe16(out, 1);
    appendLe16(out, quint16(bits));
    appendLe32(out, bits == 32 ? 3 : 0); // BI_BITFIELDS carries the alpha mask
    appendLe32(out, quint32(stride * h));
    appendLe32(out, quint32(resolution(image.dotsPerMeterX())));
    appendLe32(out, quint32(resolution(image.dotsPerMeterY())));
    appendLe32(out, quint32(table.size()));
    appendLe32(out, 0);
    if (bits == 32) {
        appendLe32(out, 0x00FF0000);
        appendLe32(out, 0x0000FF00);
        appendLe32(out, 0x000000FF);
        appendLe32(out, 0xFF000000);
        appendLe32(out, 0x73524742); // 'sRGB'
        out.append(QByteArray(36 + 12, '\0')); // endpoints and gammas, unused for sRGB
        appendLe32(out, 4);                          // LCS_GM_IMAGES
        appendLe32(out, 0);
        appendLe32(out, 0);
        appendLe32(out, 0);
    }
    for (QRgb c : table) {
        out.append(char(qBlue(c)));
        out.append(char(qGreen(c)));
        out.append(char(qRed(c)));
        out.append('\0');
    }
    QByteArray row(stride, '\0');
    for (int y = h - 1; y >= 0; --y) {
        const uchar* line = image.constScanLine(y);
        char* dst = row.data();
        if (bits == 8) {
            std::copy_n(line, w, dst);
        } else {
            const auto* px = reinterpret_cast<const QRgb*>(line);
            for (int x = 0; x < w; ++x) {
                const QRgb c = px[x];
                *dst++ = char(qBlue(c));
                *dst++ = char(qGreen(c));
                *dst++ = char(qRed(c));
                if (bits == 32)
                    *dst++ = char(qAlpha(c));
            }
        }
        out.append(row);
    }
    return out;
}
