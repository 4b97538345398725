#include "imaging/icon_picture.h"
#include "imaging/icon_bytes.h"
#include "imaging/icon_error.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>

namespace {
constexpr int kMaxSide = 256;     // what an .ico directory entry can hold
constexpr int kMaxPngSide = 1024; // PNG pictures are decoded by size, so bound them
constexpr qint64 kInfoHeader = 40;
const char kPngSignature[] = "\x89PNG\r\n\x1a\n";

int pngChannels(int colourType)
{
    switch (colourType) {
    case 0: return 1; // grey
    case 2: return 3; // RGB
    case 3: return 1; // palette
    case 4: return 2; // grey + alpha
    case 6: return 4; // RGBA
    default: return 0;
    }
}

IconPicture inspectPng(QByteArrayView bytes)
{
    // Signature, then the IHDR chunk: length 13, "IHDR", width, height, depth, colour type.
    if (bytes.size() < 33 || qFromBigEndian<quint32>(bytes.data() + 8) != 13 || bytes.sliced(12, 4) != "IHDR")
        IconBytes::damaged("a PNG picture has no header");
    const quint32 w = qFromBigEndian<quint32>(bytes.data() + 16);
    const quint32 h = qFromBigEndian<quint32>(bytes.data() + 20);
    const int channels = pngChannels(quint8(bytes[25]));
    if (w == 0 || h == 0 || channels == 0)
        IconBytes::damaged("a PNG picture has a bad header");
    IconPicture p;
    p.bytes = bytes;
    p.decodable = w <= quint32(kMaxPngSide) && h <= quint32(kMaxPngSide);
    p.info = {int(qMin<quint32>(w, 1u << 30)), int(qMin<quint32>(h, 1u << 30)), quint8(bytes[24]) * channels};
    return p;
}

IconPicture inspectDib(QByteArrayView bytes)
{
    const IconBytes b(bytes);
    const quint32 headerSize = b.u32(0);
    if (headerSize < kInfoHeader || headerSize > quint32(b.size()))
        IconBytes::damaged("a picture has a bad header");
    const qint32 width = qint32(b.u32(4));
    const qint32 doubleHeight = qint32(b.u32(8)); // the colour bits and the AND mask
    const quint16 bits = b.u16(14);
    const quint32 compression = b.u32(16);
    const quint32 coloursUsed = b.u32(32);
    if (width <= 0 || doubleHeight < 2)
        IconBytes::damaged("a picture has a bad size");
    IconPicture p;
    p.bytes = bytes;
    p.info = {width, doubleHeight / 2, bits};
    const bool paletted = bits == 1 || bits == 4 || bits == 8;
    if (headerSize != kInfoHeader || compression != 0 || !(paletted || bits == 24 || bits == 32)
        || width > kMaxSide || p.info.height > kMaxSide || (paletted && coloursUsed > (1u << bits))
        || (!paletted && coloursUsed != 0))
        return p; // a kind Qt's ico reader would misread
    const qint64 colours = paletted ? (coloursUsed ? coloursUsed : 1u << bits) : 0;
    const qint64 colourRow = (qint64(width) * bits + 31) / 32 * 4;
    const qint64 maskRow = (qint64(width) + 31) / 32 * 4;
    if (kInfoHeader + colours * 4 + (colourRow + maskRow) * p.info.height > b.size())
        IconBytes::damaged("a picture is cut short");
    p.decodable = true;
    return p;
}

void put16(QByteArray& a, quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    a.append(b, 2);
}

void put32(QByteArray& a, quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    a.append(b, 4);
}
} // namespace

IconPicture InspectIconPicture(QByteArrayView bytes)
{
    if (bytes.startsWith(QByteArrayView(kPngSignature, 8)))
        return inspectPng(bytes);
    return inspectDib(bytes);
}

QByteArray BuildIcoFile(const QList<IconPicture>& pictures)
{
    QByteArray ico;
    put16(ico, 0);
    put16(ico, 1);
    put16(ico, quint16(pictures.size()));
    quint32 offset = quint32(6 + 16 * pictures.size());
    for (const IconPicture& p : pictures) {
        ico.append(char(p.info.width >= 256 ? 0 : p.info.width));
        ico.append(char(p.info.height >= 256 ? 0 : p.info.height));
        ico.append(char(p.info.bits < 8 ? 1 << p.info.bits : 0));
        ico.append('\0');
        put16(ico, 1);
        put16(ico, quint16(p.info.bits));
        put32(ico, quint32(p.bytes.size()));
        put32(ico, offset);
        offset += quint32(p.bytes.size());
    }
    for (const IconPicture& p : pictures)
        ico.append(p.bytes);
    return ico;
}

QList<QImage> DecodeIcoFile(const QByteArray& ico)
{
    QBuffer buffer;
    buffer.setData(ico);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ico");
    QList<QImage> images;
    const int n = reader.imageCount();
    for (int i = 0; i < n; ++i) {
        if (!reader.jumpToImage(i))
            break;
        QImage image;
        if (!reader.read(&image) || image.isNull())
            throw EIconError(QStringLiteral("a picture of the icon cannot be decoded"));
        images.append(image.convertToFormat(QImage::Format_ARGB32));
    }
    if (images.isEmpty())
        throw EIconError(QStringLiteral("the icon has no picture that can be shown"));
    return images;
}
