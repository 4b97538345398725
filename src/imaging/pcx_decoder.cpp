#include "imaging/pcx_decoder.h"

#include "imaging/picture_limits.h"

#include <QtEndian>
#include <vector>

namespace ovpic {

namespace {

const QString kName = QStringLiteral("PCX");
constexpr qsizetype kHeaderSize = 128;
constexpr qsizetype kTrailingPaletteSize = 769; // marker byte 12 and 256 RGB triples

const QRgb kEgaPalette[16] = {
    0xFF000000, 0xFF0000AA, 0xFF00AA00, 0xFF00AAAA, 0xFFAA0000, 0xFFAA00AA,
    0xFFAA5500, 0xFFAAAAAA, 0xFF555555, 0xFF5555FF, 0xFF55FF55, 0xFF55FFFF,
    0xFFFF5555, 0xFFFF55FF, 0xFFFFFF55, 0xFFFFFFFF};
const QRgb kCgaPalette[4] = {0xFF000000, 0xFF00AAAA, 0xFFAA00AA, 0xFFAAAAAA};

struct PcxHeader {
    int version = 0;
    int encoding = 0;
    int bitsPerPixel = 0;
    int xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    int planes = 0;
    int bytesPerLine = 0;
    int paletteInfo = 0;

    qint64 width() const { return qint64(xMax) - xMin + 1; }
    qint64 height() const { return qint64(yMax) - yMin + 1; }
    qint64 lineBytes() const { return qint64(planes) * bytesPerLine; }
};

quint16 le16(QByteArrayView b, qsizetype at)
{
    return qFromLittleEndian<quint16>(b.data() + at);
}

PcxHeader readHeader(QByteArrayView b)
{
    PcxHeader h;
    h.version = uchar(b[1]);
    h.encoding = uchar(b[2]);
    h.bitsPerPixel = uchar(b[3]);
    h.xMin = le16(b, 4);
    h.yMin = le16(b, 6);
    h.xMax = le16(b, 8);
    h.yMax = le16(b, 10);
    h.planes = uchar(b[65]);
    h.bytesPerLine = le16(b, 66);
    h.paletteInfo = le16(b, 68);
    return h;
}

bool supportedLayout(int bits, int planes)
{
    if (bits == 1)
        return planes >= 1 && planes <= 4;
    if (bits == 2 || bits == 4)
        return planes == 1;
    return bits == 8 && (planes == 1 || planes == 3 || planes == 4);
}

bool validHeader(QByteArrayView b, const PcxHeader& h)
{
    if (b.size() <= kHeaderSize || uchar(b[0]) != 0x0A)
        return false;
    if (h.version != 0 && h.version != 2 && h.version != 3 && h.version != 4 && h.version != 5)
        return false;
    if (h.encoding > 1 || !supportedLayout(h.bitsPerPixel, h.planes))
        return false;
    if (h.xMax < h.xMin || h.yMax < h.yMin || h.bytesPerLine == 0)
        return false;
    return qint64(h.bytesPerLine) * 8 >= h.width() * h.bitsPerPixel;
}

// The colours of a picture with at most 16 of them.
QVector<QRgb> smallPalette(QByteArrayView b, const PcxHeader& h, int colors)
{
    QVector<QRgb> pal(colors);
    bool blank = true;
    for (int i = 0; i < colors; ++i) {
        const auto* p = reinterpret_cast<const uchar*>(b.data()) + 16 + 3 * i;
        pal[i] = qRgb(p[0], p[1], p[2]);
        if ((pal[i] & 0xFFFFFF) != 0)
            blank = false;
    }
    if (colors == 2 && (blank || pal[0] == pal[1]))
        return {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    // Version 3 files carry no palette; neither do files that leave it empty.
    if (h.version == 3 || blank) {
        for (int i = 0; i < colors; ++i)
            pal[i] = colors == 4 ? kCgaPalette[i] : kEgaPalette[i];
    }
    return pal;
}

QVector<QRgb> largePalette(QByteArrayView b)
{
    QVector<QRgb> pal(256);
    const qsizetype at = b.size() - kTrailingPaletteSize;
    if (at >= kHeaderSize && uchar(b[at]) == 12) {
        const auto* p = reinterpret_cast<const uchar*>(b.data()) + at + 1;
        for (int i = 0; i < 256; ++i)
            pal[i] = qRgb(p[3 * i], p[3 * i + 1], p[3 * i + 2]);
        return pal;
    }
    // Without the trailing palette an 8-bit picture can only be shown as greys.
    for (int i = 0; i < 256; ++i)
        pal[i] = qRgb(i, i, i);
    return pal;
}

// Reads the picture's lines one after another; runs may cross line ends.
class LineReader {
public:
    LineReader(QByteArrayView b, bool rle) : b_(b), pos_(kHeaderSize), rle_(rle) {}
    void next(std::vector<uchar>& line)
    {
        size_t i = 0;
        while (i < line.size()) {
            if (runLeft_ > 0) {
                const size_t n = std::min<size_t>(runLeft_, line.size() - i);
                std::fill_n(line.begin() + qsizetype(i), n, runValue_);
                runLeft_ -= int(n);
                i += n;
                continue;
            }
            if (pos_ >= b_.size())
                throw EPictureError(QStringLiteral("The PCX picture is truncated."));
            const uchar c = uchar(b_[pos_++]);
            if (rle_ && (c & 0xC0) == 0xC0) {
                if (pos_ >= b_.size())
                    throw EPictureError(QStringLiteral("The PCX picture is truncated."));
                runValue_ = uchar(b_[pos_++]);
                runLeft_ = c & 0x3F;
            } else {
                line[i++] = c;
            }
        }
    }

private:
    QByteArrayView b_;
    qsizetype pos_;
    bool rle_;
    int runLeft_ = 0;
    uchar runValue_ = 0;
};

} // namespace

bool looksLikePcx(QByteArrayView b)
{
    return b.size() > kHeaderSize && validHeader(b, readHeader(b));
}

QImage decodePcx(QByteArrayView b)
{
    if (b.size() <= kHeaderSize)
        throw EPictureError(QStringLiteral("The PCX picture is truncated."));
    const PcxHeader h = readHeader(b);
    if (!validHeader(b, h))
        throw EPictureError(QStringLiteral("The PCX picture has a damaged or unknown header."));
    checkPictureSize(h.width(), h.height(), kName);
    // A run of two bytes gives at most 63; a file too short for the picture it
    // announces is refused before anything is allocated.
    const qint64 data = b.size() - kHeaderSize;
    const qint64 need = h.lineBytes() * h.height();
    if (need > (h.encoding == 1 ? data / 2 * 63 + 63 : data))
        throw EPictureError(QStringLiteral("The PCX picture is truncated."));

    const int w = int(h.width());
    const int height = int(h.height());
    const int bits = h.bitsPerPixel;
    const bool trueColor = bits == 8 && h.planes >= 3;
    QImage image(w, height,
                 trueColor ? (h.planes == 4 ? QImage::Format_ARGB32 : QImage::Format_RGB32)
                           : QImage::Format_Indexed8);
    if (image.isNull())
        throw EPictureError(QStringLiteral("There is not enough memory for the PCX picture."));
    if (!trueColor) {
        const int colors = 1 << (bits * h.planes);
        image.setColorTable(colors == 256 ? largePalette(b) : smallPalette(b, h, colors));
    }

    std::vector<uchar> line(size_t(h.lineBytes()));
    LineReader reader(b, h.encoding == 1);
    const int bpl = h.bytesPerLine;
    for (int y = 0; y < height; ++y) {
        reader.next(line);
        uchar* out = image.scanLine(y);
        if (trueColor) {
            auto* px = reinterpret_cast<QRgb*>(out);
            for (int x = 0; x < w; ++x) {
                const int a = h.planes == 4 ? line[size_t(3 * bpl + x)] : 255;
                px[x] = qRgba(line[size_t(x)], line[size_t(bpl + x)], line[size_t(2 * bpl + x)], a);
            }
        } else if (bits == 8) {
            std::copy_n(line.begin(), w, out);
        } else if (h.planes == 1) {
            const int perByte = 8 / bits;
            const int mask = (1 << bits) - 1;
            for (int x = 0; x < w; ++x) {
                const int shift = 8 - bits * (x % perByte + 1);
                out[x] = uchar((line[size_t(x / perByte)] >> shift) & mask);
            }
        } else {
            // One bit per plane: plane n gives bit n of the colour index.
            for (int x = 0; x < w; ++x) {
                int index = 0;
                for (int plane = 0; plane < h.planes; ++plane)
                    index |= ((line[size_t(plane * bpl + x / 8)] >> (7 - x % 8)) & 1) << plane;
                out[x] = uchar(index);
            }
        }
    }
    return image;
}

} // namespace ovpic
