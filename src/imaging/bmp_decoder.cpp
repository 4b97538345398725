#include "imaging/bmp_decoder.h"

#include "imaging/picture_limits.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>

namespace ovpic {

namespace {

const QString kName = QStringLiteral("BMP");
constexpr qsizetype kFileHeaderSize = 14;
enum Compression { BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3, BI_ALPHABITFIELDS = 6 };

quint16 le16(QByteArrayView b, qsizetype at)
{
    return qFromLittleEndian<quint16>(b.data() + at);
}
quint32 le32(QByteArrayView b, qsizetype at)
{
    return qFromLittleEndian<quint32>(b.data() + at);
}

// The fields of a DIB header (at `at` in `b`) that sizing and decoding need.
struct DibInfo {
    quint32 headerSize = 0;
    qint64 width = 0;
    qint64 height = 0; // negative: top-down
    int bitCount = 0;
    quint32 compression = 0;
    quint32 colorsUsed = 0;
    bool core = false; // the 12-byte OS/2 header: three-byte colour entries

    int paletteEntries() const
    {
        if (bitCount <= 8) {
            const quint32 full = 1u << bitCount;
            return int(colorsUsed == 0 || colorsUsed > full ? full : colorsUsed);
        }
        return int(std::min<quint32>(colorsUsed, 256));
    }
    qsizetype masksSize() const
    {
        if (headerSize != 40)
            return 0;
        return compression == BI_BITFIELDS ? 12 : compression == BI_ALPHABITFIELDS ? 16 : 0;
    }
    // Header, masks and colour table.
    qsizetype infoSize() const
    {
        return qsizetype(headerSize) + masksSize() + qsizetype(paletteEntries()) * (core ? 3 : 4);
    }
};

bool readDibInfo(QByteArrayView b, qsizetype at, DibInfo& d)
{
    if (b.size() - at < 12)
        return false;
    d.headerSize = le32(b, at);
    if (d.headerSize == 12) {
        d.core = true;
        d.width = le16(b, at + 4);
        d.height = le16(b, at + 6);
        if (le16(b, at + 8) != 1)
            return false;
        d.bitCount = le16(b, at + 10);
        return d.bitCount == 1 || d.bitCount == 4 || d.bitCount == 8 || d.bitCount == 24;
    }
    if (d.headerSize != 40 && d.headerSize != 52 && d.headerSize != 56 && d.headerSize != 64
        && d.headerSize != 108 && d.headerSize != 124)
        return false;
    if (b.size() - at < 40)
        return false;
    d.width = qFromLittleEndian<qint32>(b.data() + at + 4);
    d.height = qFromLittleEndian<qint32>(b.data() + at + 8);
    if (le16(b, at + 12) != 1)
        return false;
    d.bitCount = le16(b, at + 14);
    d.compression = le32(b, at + 16);
    d.colorsUsed = le32(b, at + 32);
    const int bc = d.bitCount;
    if (bc != 1 && bc != 4 && bc != 8 && bc != 16 && bc != 24 && bc != 32)
        return false;
    if (d.compression > 6)
        return false;
    return d.width > 0 && d.height != 0;
}

QVector<QRgb> readPalette(QByteArrayView b, qsizetype at, const DibInfo& d, int minimum)
{
    QVector<QRgb> pal;
    const int entries = d.paletteEntries();
    const int each = d.core ? 3 : 4;
    for (int i = 0; i < entries && at + (i + 1) * each <= b.size(); ++i) {
        const auto* p = reinterpret_cast<const uchar*>(b.data()) + at + i * each;
        pal.append(qRgb(p[2], p[1], p[0]));
    }
    // Indexes the table does not cover draw black.
    while (pal.size() < minimum)
        pal.append(qRgb(0, 0, 0));
    return pal;
}

QImage decodeWithQt(QByteArrayView bmp)
{
    QByteArray copy = bmp.toByteArray();
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    QImage image = reader.read();
    if (image.isNull())
        throw EPictureError(QStringLiteral("The BMP picture is damaged or of a kind that cannot be read."));
    return image;
}

} // namespace

bool looksLikeBmp(QByteArrayView b)
{
    DibInfo d;
    return b.size() > kFileHeaderSize + 12 && b[0] == 'B' && b[1] == 'M'
        && readDibInfo(b, kFileHeaderSize, d);
}

bool looksLikeDib(QByteArrayView b)
{
    DibInfo d;
    return readDibInfo(b, 0, d) && d.infoSize() < b.size();
}

QByteArray dibToBmp(QByteArrayView dib)
{
    DibInfo d;
    if (!readDibInfo(dib, 0, d))
        throw EPictureError(QStringLiteral("The DIB picture has a damaged or unknown header."));
    const qint64 total = kFileHeaderSize + dib.size();
    if (total > 0x7FFFFFFF)
        throw EPictureError(QStringLiteral("The DIB picture is too large."));
    QByteArray out(kFileHeaderSize, '\0');
    out[0] = 'B';
    out[1] = 'M';
    qToLittleEndian<quint32>(quint32(total), out.data() + 2);
    qToLittleEndian<quint32>(quint32(kFileHeaderSize + d.infoSize()), out.data() + 10);
    out.append(dib.data(), dib.size());
    return out;
}

QImage decodeBmp(QByteArrayView b)
{
    DibInfo d;
    if (b.size() < kFileHeaderSize + 12 || b[0] != 'B' || b[1] != 'M')
        throw EPictureError(QStringLiteral("The BMP picture is truncated."));
    if (!readDibInfo(b, kFileHeaderSize, d))
        throw EPictureError(QStringLiteral("The BMP picture has a damaged or unknown header."));
    const qint64 height = d.height < 0 ? -d.height : d.height;
    checkPictureSize(d.width, height, kName);
    const qint64 offBits = le32(b, 10);
    if (offBits < kFileHeaderSize + d.headerSize || offBits > b.size())
        throw EPictureError(QStringLiteral("The BMP picture is truncated."));

    const bool rle = (d.compression == BI_RLE8 && d.bitCount == 8)
                     || (d.compression == BI_RLE4 && d.bitCount == 4);
    if (rle) {
        const QVector<QRgb> pal = readPalette(b, kFileHeaderSize + d.headerSize, d, 1 << d.bitCount);
        return decodeRleBits(int(d.width), int(height), d.height < 0, d.compression == BI_RLE4, pal,
                             b.sliced(qsizetype(offBits)));
    }
    if (d.compression == BI_RGB || d.compression == BI_BITFIELDS || d.compression == BI_ALPHABITFIELDS) {
        const qint64 stride = (d.width * d.bitCount + 31) / 32 * 4;
        if (offBits + stride * height > b.size())
            throw EPictureError(QStringLiteral("The BMP picture is truncated."));
    }
    return decodeWithQt(b);
}

QImage decodeRleBits(int width, int height, bool topDown, bool rle4, const QVector<QRgb>& palette,
                     QByteArrayView bits)
{
    checkPictureSize(width, height, kName);
    QImage image(width, height, QImage::Format_Indexed8);
    if (image.isNull())
        throw EPictureError(QStringLiteral("There is not enough memory for the BMP picture."));
    image.setColorTable(palette.isEmpty() ? QVector<QRgb>{qRgb(0, 0, 0)} : palette);
    image.fill(0);
    const int maxIndex = int(image.colorCount()) - 1;
    const auto* p = reinterpret_cast<const uchar*>(bits.data());
    const qsizetype n = bits.size();
    qsizetype pos = 0;
    int x = 0, y = 0; // y counts rows from the first one stored
    // Pixels past the right edge are dropped; x never passes the edge.
    auto put = [&](int index) {
        if (x < width) {
            image.scanLine(topDown ? y : height - 1 - y)[x] = uchar(std::min(index, maxIndex));
            ++x;
        }
    };
    while (y < height) {
        if (n - pos < 2)
            throw EPictureError(QStringLiteral("The BMP picture is truncated."));
        const int count = p[pos];
        const int value = p[pos + 1];
        pos += 2;
        if (count > 0) {
            for (int i = 0; i < count && x < width; ++i)
                put(rle4 ? ((i & 1) ? value & 15 : value >> 4) : value);
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            ++y;
        } else if (value == 1) { // end of picture
            break;
        } else if (value == 2) { // delta
            if (n - pos < 2)
                throw EPictureError(QStringLiteral("The BMP picture is truncated."));
            x = std::min(x + p[pos], width);
            y += p[pos + 1];
            pos += 2;
        } else { // a literal run, padded to a 16-bit boundary
            const qsizetype bytes = rle4 ? (value + 1) / 2 : value;
            if (n - pos < bytes)
                throw EPictureError(QStringLiteral("The BMP picture is truncated."));
            for (int i = 0; i < value; ++i)
                put(rle4 ? ((i & 1) ? p[pos + i / 2] & 15 : p[pos + i / 2] >> 4) : p[pos + i]);
            pos += bytes + (bytes & 1);
        }
    }
    return image;
}

} // namespace ovpic
