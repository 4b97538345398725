#include "imaging/tga_decoder.h"

#include "imaging/picture_limits.h"

#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <vector>

namespace ovpic {

namespace {

const QString kName = QStringLiteral("Targa");
constexpr qsizetype kHeaderSize = 18;
constexpr qsizetype kFooterSize = 26;
constexpr char kFooterSignature[] = "TRUEVISION-XFILE.";

struct TgaHeader {
    int idLength = 0;
    int mapType = 0;
    int imageType = 0;
    int mapFirst = 0;
    int mapLength = 0;
    int mapEntryBits = 0;
    int width = 0;
    int height = 0;
    int depth = 0;
    int descriptor = 0;

    int base() const { return imageType & 7; } // 1 colour-mapped, 2 true-colour, 3 grey
    bool rle() const { return imageType & 8; }
    int pixelBytes() const { return (depth + 7) / 8; }
    int mapEntryBytes() const { return (mapEntryBits + 7) / 8; }
    qsizetype dataStart() const
    {
        return kHeaderSize + idLength + (mapType == 1 ? qsizetype(mapLength) * mapEntryBytes() : 0);
    }
};

quint16 le16(QByteArrayView b, qsizetype at)
{
    return qFromLittleEndian<quint16>(b.data() + at);
}

TgaHeader readHeader(QByteArrayView b)
{
    TgaHeader h;
    h.idLength = uchar(b[0]);
    h.mapType = uchar(b[1]);
    h.imageType = uchar(b[2]);
    h.mapFirst = le16(b, 3);
    h.mapLength = le16(b, 5);
    h.mapEntryBits = uchar(b[7]);
    h.width = le16(b, 12);
    h.height = le16(b, 14);
    h.depth = uchar(b[16]);
    h.descriptor = uchar(b[17]);
    return h;
}

bool validEntryBits(int bits)
{
    return bits == 15 || bits == 16 || bits == 24 || bits == 32;
}

bool validHeader(const TgaHeader& h)
{
    if (h.mapType > 1 || h.width == 0 || h.height == 0)
        return false;
    if (h.imageType != 1 && h.imageType != 2 && h.imageType != 3 && h.imageType != 9
        && h.imageType != 10 && h.imageType != 11)
        return false;
    if (h.mapType == 1 && (!validEntryBits(h.mapEntryBits) || h.mapLength == 0))
        return false;
    switch (h.base()) {
    case 1: return h.mapType == 1 && (h.depth == 8 || h.depth == 16);
    case 2: return validEntryBits(h.depth);
    case 3: return h.depth == 8 || h.depth == 16;
    default: return false;
    }
}

bool hasFooter(QByteArrayView b)
{
    return b.size() >= kHeaderSize + kFooterSize
        && std::memcmp(b.data() + b.size() - 18, kFooterSignature, 18) == 0;
}

int expand5(int v)
{
    return (v << 3) | (v >> 2);
}

// One stored colour (a map entry or a true-colour pixel) as ARGB; `alpha` says whether
// its attribute bits count.
QRgb colorAt(const uchar* p, int bits, bool alpha)
{
    switch (bits) {
    case 15:
    case 16: {
        const int v = p[0] | (p[1] << 8);
        const int a = (bits == 16 && alpha) ? ((v & 0x8000) ? 255 : 0) : 255;
        return qRgba(expand5((v >> 10) & 31), expand5((v >> 5) & 31), expand5(v & 31), a);
    }
    case 24: return qRgb(p[2], p[1], p[0]);
    default: return qRgba(p[2], p[1], p[0], alpha ? p[3] : 255);
    }
}

// The pixel stream, raw or expanded from run-length packets, exactly width x height
// pixels long.
QByteArray pixelStream(QByteArrayView b, const TgaHeader& h, qsizetype start)
{
    const qsizetype pixels = qsizetype(h.width) * h.height;
    const int pb = h.pixelBytes();
    const qsizetype need = pixels * pb;
    // A packet of 1 + pb bytes gives at most 128 pixels: a file too short for the
    // picture it announces is refused before anything is allocated.
    const qsizetype avail = start > b.size() ? 0 : b.size() - start;
    if (h.rle() && pixels > (avail / (1 + pb) + 1) * 128)
        throw EPictureError(QStringLiteral("The Targa picture is truncated."));
    if (!h.rle()) {
        if (start > b.size() || b.size() - start < need)
            throw EPictureError(QStringLiteral("The Targa picture is truncated."));
        return b.sliced(start, need).toByteArray();
    }
    QByteArray out(need, Qt::Uninitialized);
    char* dst = out.data();
    qsizetype done = 0;
    qsizetype pos = start;
    while (done < pixels) {
        if (pos >= b.size())
            throw EPictureError(QStringLiteral("The Targa picture is truncated."));
        const int packet = uchar(b[pos++]);
        // Packets may run past the end of a row, and a damaged last packet past the end
        // of the picture: it is cut there.
        const qsizetype count = std::min<qsizetype>((packet & 0x7F) + 1, pixels - done);
        if (packet & 0x80) {
            if (b.size() - pos < pb)
                throw EPictureError(QStringLiteral("The Targa picture is truncated."));
            for (qsizetype i = 0; i < count; ++i)
                std::memcpy(dst + (done + i) * pb, b.data() + pos, size_t(pb));
            pos += pb;
        } else {
            const qsizetype bytes = count * pb;
            if (b.size() - pos < bytes)
                throw EPictureError(QStringLiteral("The Targa picture is truncated."));
            std::memcpy(dst + done * pb, b.data() + pos, size_t(bytes));
            pos += ((packet & 0x7F) + 1) * pb;
        }
        done += count;
    }
    return out;
}

// What the extension area says about the alpha channel: -1 when it says nothing,
// otherwise its attributes type (0..2 no alpha, 3 alpha, 4 premultiplied alpha).
int extensionAlphaType(QByteArrayView b)
{
    if (!hasFooter(b))
        return -1;
    const quint32 ext = qFromLittleEndian<quint32>(b.data() + b.size() - kFooterSize);
    constexpr qsizetype kAttributesAt = 494;
    if (ext == 0 || qint64(ext) + kAttributesAt >= b.size() - kFooterSize)
        return -1;
    if (le16(b, ext) < 495) // the extension area's own size
        return -1;
    return uchar(b[ext + kAttributesAt]);
}

} // namespace

bool looksLikeTga(QByteArrayView b)
{
    if (b.size() < kHeaderSize)
        return false;
    const TgaHeader h = readHeader(b);
    if (!validHeader(h) || (h.descriptor & 0xC0) != 0)
        return false;
    if (hasFooter(b))
        return true;
    const qsizetype start = h.dataStart();
    if (start >= b.size())
        return false;
    if (h.rle())
        return true;
    const qsizetype need = qsizetype(h.width) * h.height * h.pixelBytes();
    // A raw image fills the file, apart from an optional footer and extension area.
    return b.size() - start >= need && b.size() - start - need <= 65536;
}

QImage decodeTga(QByteArrayView b)
{
    if (b.size() < kHeaderSize)
        throw EPictureError(QStringLiteral("The Targa picture is truncated."));
    const TgaHeader h = readHeader(b);
    if (!validHeader(h))
        throw EPictureError(QStringLiteral("The Targa picture has a damaged or unknown header."));
    checkPictureSize(h.width, h.height, kName);

    const int alphaBits = h.descriptor & 0x0F;
    // The extension area, when present, has the last word on the alpha channel.
    const int extAlpha = extensionAlphaType(b);
    const bool alphaAllowed = extAlpha < 0 || extAlpha >= 3;
    bool useAlpha = alphaBits > 0 && alphaAllowed;
    const bool premultiplied = extAlpha == 4;

    std::vector<QRgb> map;
    const qsizetype mapStart = kHeaderSize + h.idLength;
    if (h.mapType == 1) {
        const int eb = h.mapEntryBytes();
        if (b.size() < mapStart + qsizetype(h.mapLength) * eb)
            throw EPictureError(QStringLiteral("The Targa picture is truncated."));
        if (h.base() == 1) {
            // Map entries carry the alpha: 32-bit entries always may, 16-bit ones by
            // their attribute bit.
            useAlpha = alphaAllowed && (h.mapEntryBits == 32 || (h.mapEntryBits == 16 && alphaBits > 0));
            const auto* entries = reinterpret_cast<const uchar*>(b.data()) + mapStart;
            map.resize(size_t(h.mapLength));
            for (int i = 0; i < h.mapLength; ++i)
                map[size_t(i)] = colorAt(entries + i * eb, h.mapEntryBits, useAlpha);
        }
    }

    const QByteArray stream = pixelStream(b, h, h.dataStart());
    const auto* px = reinterpret_cast<const uchar*>(stream.constData());
    const int pb = h.pixelBytes();

    QImage image(h.width, h.height, QImage::Format_ARGB32);
    if (image.isNull())
        throw EPictureError(QStringLiteral("There is not enough memory for the Targa picture."));
    const bool topDown = h.descriptor & 0x20;
    const bool rightToLeft = h.descriptor & 0x10;
    bool anyAlpha = false;
    for (int row = 0; row < h.height; ++row) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(topDown ? row : h.height - 1 - row));
        for (int col = 0; col < h.width; ++col) {
            const uchar* p = px + (qsizetype(row) * h.width + col) * pb;
            QRgb c;
            switch (h.base()) {
            case 1: {
                const int index = (pb == 1 ? p[0] : (p[0] | (p[1] << 8))) - h.mapFirst;
                c = index >= 0 && index < int(map.size()) ? map[size_t(index)] : qRgb(0, 0, 0);
                break;
            }
            case 2:
                c = colorAt(p, h.depth, useAlpha);
                break;
            default:
                c = pb == 1 ? qRgb(p[0], p[0], p[0]) : qRgba(p[0], p[0], p[0], useAlpha ? p[1] : 255);
                break;
            }
            if (qAlpha(c) != 0)
                anyAlpha = true;
            line[rightToLeft ? h.width - 1 - col : col] = c;
        }
    }
    // Writers that leave the alpha field zero mean an opaque picture.
    if (!useAlpha || !anyAlpha)
        return image.convertToFormat(QImage::Format_RGB32);
    if (premultiplied) {
        // Undo the premultiplication, clamped: a damaged file may hold colours
        // brighter than their alpha allows.
        for (int row = 0; row < image.height(); ++row) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(row));
            for (int col = 0; col < image.width(); ++col) {
                const QRgb c = line[col];
                const int a = qAlpha(c);
                auto un = [a](int v) { return a == 0 ? 0 : std::min(255, v * 255 / a); };
                line[col] = qRgba(un(qRed(c)), un(qGreen(c)), un(qBlue(c)), a);
            }
        }
    }
    return image;
}

} // namespace ovpic
