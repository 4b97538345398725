#include "imaging/metafile_dib.h"

#include "imaging/bmp_decoder.h"
#include "imaging/picture_error.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>
#include <cstring>

namespace ovmeta {

namespace {

quint32 u32(QByteArrayView d, qsizetype at)
{
    return qFromLittleEndian<quint32>(d.data() + at);
}
quint16 u16(QByteArrayView d, qsizetype at)
{
    return qFromLittleEndian<quint16>(d.data() + at);
}

int maskShift(quint32 mask)
{
    if (!mask)
        return 0;
    int s = 0;
    while (!(mask & 1u)) {
        mask >>= 1;
        ++s;
    }
    return s;
}

int maskBits(quint32 mask)
{
    mask >>= maskShift(mask);
    int n = 0;
    while (mask & 1u) {
        mask >>= 1;
        ++n;
    }
    return n;
}

int channel(quint32 px, quint32 mask)
{
    if (!mask)
        return 0;
    const int bits = maskBits(mask);
    const quint32 v = (px & mask) >> maskShift(mask);
    if (bits >= 8)
        return int(v >> (bits - 8));
    const quint32 maxv = (1u << bits) - 1;
    return maxv ? int(v * 255 / maxv) : 0;
}

// Embedded JPEG and PNG pictures go through Qt's readers.
QImage decodeEmbedded(QByteArrayView bits)
{
    QByteArray file = bits.toByteArray();
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > kMaxBitmapPixels)
        return {};
    return reader.read();
}

} // namespace

QImage decodeDib(QByteArrayView info, QByteArrayView bits, bool palColors,
                 const QVector<QRgb>& palette, bool useAlpha)
{
    if (info.size() < 12)
        return {};
    const quint32 headerSize = u32(info, 0);
    qint64 width = 0, height = 0;
    int bitCount = 0;
    quint32 compression = 0;
    quint32 clrUsed = 0;
    int rgbSize = 4;
    if (headerSize == 12) {
        width = u16(info, 4);
        height = qint16(u16(info, 6));
        bitCount = u16(info, 10);
        rgbSize = 3;
    } else if (headerSize >= 40 && headerSize <= 1024 && info.size() >= 40) {
        width = qint32(u32(info, 4));
        height = qint32(u32(info, 8));
        bitCount = u16(info, 14);
        compression = u32(info, 16);
        clrUsed = u32(info, 32);
    } else {
        return {};
    }
    if (qsizetype(headerSize) > info.size())
        return {};
    const bool topDown = height < 0;
    if (topDown)
        height = -height;
    if (width <= 0 || height <= 0 || width > 65535 || height > 65535
        || width * height > kMaxBitmapPixels)
        return {};

    // Colour table and bit-field masks.
    qsizetype at = headerSize;
    quint32 masks[4] = {0, 0, 0, 0};
    if ((compression == 3 || compression == 6) && headerSize == 40) {
        const int n = compression == 6 ? 4 : 3;
        if (info.size() < at + 4 * n)
            return {};
        for (int i = 0; i < n; ++i)
            masks[i] = u32(info, at + 4 * i);
        at += 4 * n;
    } else if ((compression == 3 || compression == 6) && headerSize >= 56) {
        for (int i = 0; i < 4; ++i)
            masks[i] = u32(info, 40 + 4 * i);
    }
    QVector<QRgb> table;
    if (bitCount <= 8 && bitCount > 0) {
        qint64 entries = clrUsed ? clrUsed : (1u << bitCount);
        if (entries > 256)
            entries = 256;
        const int entrySize = palColors ? 2 : rgbSize;
        const qint64 avail = (info.size() - at) / entrySize;
        if (avail < entries) {
            // Some writers leave the table short; what is missing stays black.
            entries = avail;
        }
        for (qint64 i = 0; i < entries; ++i) {
            const qsizetype e = at + i * entrySize;
            if (palColors) {
                const int idx = u16(info, e);
                table.append(idx < palette.size() ? palette.at(idx) : qRgb(0, 0, 0));
            } else {
                const auto* p = reinterpret_cast<const uchar*>(info.data() + e);
                table.append(qRgb(p[2], p[1], p[0]));
            }
        }
        at += entries * entrySize;
        while (table.size() < (1 << bitCount))
            table.append(qRgb(0, 0, 0));
    }

    if (compression == 1 || compression == 2) { // RLE8, RLE4
        // Decoded here: Qt's reader leaves the pixels a run skips undefined.
        if (bitCount != (compression == 1 ? 8 : 4))
            return {};
        try {
            return ovpic::decodeRleBits(int(width), int(height), topDown, compression == 2, table, bits);
        } catch (const EPictureError&) {
            return {};
        }
    }
    if (compression == 4 || compression == 5) // JPEG, PNG
        return decodeEmbedded(bits);
    if (compression != 0 && compression != 3 && compression != 6)
        return {};
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24
        && bitCount != 32)
        return {};

    const qint64 stride = ((width * bitCount + 31) / 32) * 4;
    // Allow the final row to be short: several writers trim the padding.
    if (stride * (height - 1) + (width * bitCount + 7) / 8 > bits.size())
        return {};
    if (compression == 0 && bitCount == 16) {
        masks[0] = 0x7C00;
        masks[1] = 0x03E0;
        masks[2] = 0x001F;
    } else if (compression == 0 && bitCount == 32) {
        masks[0] = 0xFF0000;
        masks[1] = 0x00FF00;
        masks[2] = 0x0000FF;
        masks[3] = useAlpha ? 0xFF000000 : 0;
    }
    const bool alpha = useAlpha && masks[3] != 0;
    QImage img(int(width), int(height), alpha ? QImage::Format_ARGB32_Premultiplied
                                              : QImage::Format_RGB32);
    if (img.isNull())
        return {};
    const auto* src = reinterpret_cast<const uchar*>(bits.data());
    const qsizetype available = bits.size();
    for (qint64 row = 0; row < height; ++row) {
        const qint64 srcRow = topDown ? row : height - 1 - row;
        const qsizetype base = qsizetype(srcRow * stride);
        auto* out = reinterpret_cast<QRgb*>(img.scanLine(int(row)));
        for (qint64 x = 0; x < width; ++x) {
            QRgb c = qRgb(0, 0, 0);
            switch (bitCount) {
            case 1: {
                const qsizetype i = base + x / 8;
                if (i < available)
                    c = table.value((src[i] >> (7 - x % 8)) & 1);
                break;
            }
            case 4: {
                const qsizetype i = base + x / 2;
                if (i < available)
                    c = table.value((x % 2 ? src[i] : src[i] >> 4) & 0xF);
                break;
            }
            case 8: {
                const qsizetype i = base + x;
                if (i < available)
                    c = table.value(src[i]);
                break;
            }
            case 16: {
                const qsizetype i = base + x * 2;
                if (i + 1 < available) {
                    const quint32 px = src[i] | (src[i + 1] << 8);
                    c = qRgb(channel(px, masks[0]), channel(px, masks[1]), channel(px, masks[2]));
                }
                break;
            }
            case 24: {
                const qsizetype i = base + x * 3;
                if (i + 2 < available)
                    c = qRgb(src[i + 2], src[i + 1], src[i]);
                break;
            }
            case 32: {
                const qsizetype i = base + x * 4;
                if (i + 3 < available) {
                    const quint32 px = quint32(src[i]) | (quint32(src[i + 1]) << 8)
                        | (quint32(src[i + 2]) << 16) | (quint32(src[i + 3]) << 24);
                    const int r = channel(px, masks[0]), g = channel(px, masks[1]),
                              b = channel(px, masks[2]);
                    if (alpha) {
                        const int a = channel(px, masks[3]);
                        // Stored premultiplied already; guard against values above alpha.
                        c = qRgba(std::min(r, a), std::min(g, a), std::min(b, a), a);
                    } else {
                        c = qRgb(r, g, b);
                    }
                }
                break;
            }
            }
            out[x] = c;
        }
    }
    return img;
}

QImage decodePackedDib(QByteArrayView packed, bool palColors, const QVector<QRgb>& palette)
{
    if (packed.size() < 12)
        return {};
    const quint32 headerSize = u32(packed, 0);
    if (headerSize != 12 && (headerSize < 40 || headerSize > 1024))
        return {};
    if (qsizetype(headerSize) > packed.size())
        return {};
    int bitCount;
    quint32 compression = 0, clrUsed = 0;
    int entrySize = palColors ? 2 : 4;
    if (headerSize == 12) {
        bitCount = u16(packed, 10);
        if (!palColors)
            entrySize = 3;
    } else {
        if (packed.size() < 40)
            return {};
        bitCount = u16(packed, 14);
        compression = u32(packed, 16);
        clrUsed = u32(packed, 32);
    }
    qint64 tableBytes = 0;
    if (bitCount >= 1 && bitCount <= 8) {
        qint64 entries = clrUsed ? std::min<quint32>(clrUsed, 256) : (1 << bitCount);
        tableBytes = entries * entrySize;
    } else if (headerSize == 40 && (compression == 3 || compression == 6)) {
        tableBytes = compression == 6 ? 16 : 12;
    } else if (headerSize == 40 && clrUsed > 0 && clrUsed <= 256) {
        tableBytes = qint64(clrUsed) * 4; // optimisation palette of true-colour bitmaps
    }
    const qint64 infoSize = headerSize + tableBytes;
    if (infoSize > packed.size())
        return {};
    return decodeDib(packed.first(infoSize), packed.sliced(infoSize), palColors, palette);
}

QImage decodeBitmap16(QByteArrayView data, QColor foreground, QColor background)
{
    if (data.size() < 10)
        return {};
    const int width = qint16(u16(data, 2));
    const int height = qint16(u16(data, 4));
    const int widthBytes = qint16(u16(data, 6));
    const int planes = quint8(data[8]);
    const int bpp = quint8(data[9]);
    if (width <= 0 || height <= 0 || widthBytes <= 0 || planes != 1
        || qint64(width) * height > kMaxBitmapPixels)
        return {};
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32)
        return {};
    if (qint64(widthBytes) * 8 < qint64(width) * bpp)
        return {};
    const QByteArrayView bits = data.sliced(10);
    if (qint64(widthBytes) * height > bits.size())
        return {};
    QImage img(width, height, QImage::Format_RGB32);
    if (img.isNull())
        return {};
    const auto* src = reinterpret_cast<const uchar*>(bits.data());
    for (int y = 0; y < height; ++y) {
        const uchar* line = src + qsizetype(y) * widthBytes; // device bitmaps are top-down
        auto* out = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < width; ++x) {
            switch (bpp) {
            case 1:
                out[x] = ((line[x / 8] >> (7 - x % 8)) & 1) ? background.rgb() : foreground.rgb();
                break;
            case 4: {
                // No palette travels with these; use grey levels.
                const int v = ((x % 2) ? line[x / 2] : line[x / 2] >> 4) & 0xF;
                out[x] = qRgb(v * 17, v * 17, v * 17);
                break;
            }
            case 8:
                out[x] = qRgb(line[x], line[x], line[x]);
                break;
            case 24:
                out[x] = qRgb(line[x * 3 + 2], line[x * 3 + 1], line[x * 3]);
                break;
            case 32:
                out[x] = qRgb(line[x * 4 + 2], line[x * 4 + 1], line[x * 4]);
                break;
            }
        }
    }
    return img;
}

} // namespace ovmeta
