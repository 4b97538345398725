#pragma once
// Byte-by-byte writers of small Targa, PCX, BMP and icon files for the tests.
#include "metafile_builders.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>
#include <QVector>
#include <vector>

namespace pictest {

using mftest::put16;
using mftest::put32;

// --- Targa

struct Tga {
    int idLength = 0;
    int mapType = 0;
    int imageType = 2;
    int mapFirst = 0;
    int mapLength = 0;
    int mapBits = 0;
    int width = 1;
    int height = 1;
    int depth = 24;
    int descriptor = 0;
    QByteArray id;
    QByteArray map;  // colour map entries as stored
    QByteArray data; // pixels or packets as stored
    QByteArray extension; // an extension area (without footer it is never found)
    bool footer = false;

    QByteArray build() const
    {
        QByteArray b;
        b.append(char(id.size()));
        b.append(char(mapType));
        b.append(char(imageType));
        put16(b, mapFirst);
        put16(b, mapLength);
        b.append(char(mapBits));
        put16(b, 0);
        put16(b, 0);
        put16(b, width);
        put16(b, height);
        b.append(char(depth));
        b.append(char(descriptor));
        b.append(id);
        b.append(map);
        b.append(data);
        if (footer) {
            const qsizetype extAt = extension.isEmpty() ? 0 : b.size();
            b.append(extension);
            put32(b, extAt);
            put32(b, 0);
            b.append("TRUEVISION-XFILE.", 17);
            b.append('\0');
        }
        return b;
    }
};

// Stored pixel values.
inline QByteArray bgr(int r, int g, int b)
{
    const char v[] = {char(b), char(g), char(r)};
    return QByteArray(v, 3);
}
inline QByteArray bgra(int r, int g, int b, int a)
{
    const char v[] = {char(b), char(g), char(r), char(a)};
    return QByteArray(v, 4);
}
inline QByteArray rgb555(int r5, int g5, int b5, bool attribute = false)
{
    QByteArray out;
    put16(out, (attribute ? 0x8000 : 0) | (r5 << 10) | (g5 << 5) | b5);
    return out;
}

// An extension area of 495 bytes whose attributes type (alpha meaning) is `type`.
inline QByteArray tgaExtension(int attributesType)
{
    QByteArray e(495, '\0');
    e[0] = char(495 & 0xFF);
    e[1] = char(495 >> 8);
    e[494] = char(attributesType);
    return e;
}

// --- PCX

struct Pcx {
    int version = 5;
    int encoding = 1;
    int bits = 8;
    int planes = 1;
    int width = 1;
    int height = 1;
    int bytesPerLine = 2;
    int paletteInfo = 1;
    QByteArray headerPalette = QByteArray(48, '\0');
    QByteArray data;           // encoded lines
    QByteArray trailingPalette; // 768 bytes, written after the marker 12 when not empty

    QByteArray build() const
    {
        QByteArray b;
        b.append(char(0x0A));
        b.append(char(version));
        b.append(char(encoding));
        b.append(char(bits));
        put16(b, 0);
        put16(b, 0);
        put16(b, width - 1);
        put16(b, height - 1);
        put16(b, 96);
        put16(b, 96);
        b.append(headerPalette.left(48).leftJustified(48, '\0'));
        b.append('\0');
        b.append(char(planes));
        put16(b, bytesPerLine);
        put16(b, paletteInfo);
        put16(b, 0);
        put16(b, 0);
        b.append(QByteArray(54, '\0'));
        b.append(data);
        if (!trailingPalette.isEmpty()) {
            b.append(char(12));
            b.append(trailingPalette.leftJustified(768, '\0'));
        }
        return b;
    }
};

// The PCX run encoding of one buffer.
inline QByteArray pcxRle(const QByteArray& raw)
{
    QByteArray out;
    for (qsizetype i = 0; i < raw.size();) {
        qsizetype run = 1;
        while (i + run < raw.size() && raw[i + run] == raw[i] && run < 63)
            ++run;
        if (run > 1 || (uchar(raw[i]) & 0xC0) == 0xC0) {
            out.append(char(0xC0 | run));
            out.append(raw[i]);
        } else {
            out.append(raw[i]);
        }
        i += run;
    }
    return out;
}

// --- BMP

// A BMP with a 40-byte header; `bits` as stored (possibly RLE), palette as RGB triples.
inline QByteArray bmp(int w, int h, int bitCount, int compression, const std::vector<QRgb>& palette,
                      const QByteArray& bits)
{
    QByteArray info;
    put32(info, 40);
    put32(info, w);
    put32(info, h);
    put16(info, 1);
    put16(info, bitCount);
    put32(info, compression);
    put32(info, bits.size());
    put32(info, 2835);
    put32(info, 2835);
    put32(info, qsizetype(palette.size()));
    put32(info, 0);
    for (QRgb c : palette) {
        info.append(char(qBlue(c)));
        info.append(char(qGreen(c)));
        info.append(char(qRed(c)));
        info.append('\0');
    }
    QByteArray file("BM");
    put32(file, 14 + info.size() + bits.size());
    put32(file, 0);
    put32(file, 14 + info.size());
    return file + info + bits;
}

// The CRC of PNG chunks.
inline quint32 crc32(const QByteArray& bytes)
{
    quint32 crc = 0xFFFFFFFFu;
    for (char ch : bytes) {
        crc ^= uchar(ch);
        for (int k = 0; k < 8; ++k)
            crc = (crc & 1) ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
    }
    return ~crc;
}

// --- via Qt's writers

inline QByteArray encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.write(image);
    return bytes;
}

inline QImage solid(int w, int h, QColor c, QImage::Format f = QImage::Format_RGB32)
{
    QImage img(w, h, f);
    img.fill(c);
    return img;
}

// An icon file with one BMP-style image per given image (32-bit with an empty mask) or,
// with `png`, PNG-compressed images.
inline QByteArray ico(const std::vector<QImage>& images, bool png = false)
{
    QByteArray dir, data;
    put16(dir, 0);
    put16(dir, 1);
    put16(dir, int(images.size()));
    const qsizetype dataStart = 6 + 16 * qsizetype(images.size());
    for (const QImage& source : images) {
        const QImage img = source.convertToFormat(QImage::Format_ARGB32);
        QByteArray one;
        if (png) {
            one = encoded(img, "png");
        } else {
            put32(one, 40);
            put32(one, img.width());
            put32(one, img.height() * 2);
            put16(one, 1);
            put16(one, 32);
            put32(one, 0);
            put32(one, 0);
            put32(one, 0);
            put32(one, 0);
            put32(one, 0);
            put32(one, 0);
            for (int y = img.height() - 1; y >= 0; --y)
                for (int x = 0; x < img.width(); ++x) {
                    const QRgb c = img.pixel(x, y);
                    one.append(char(qBlue(c)));
                    one.append(char(qGreen(c)));
                    one.append(char(qRed(c)));
                    one.append(char(qAlpha(c)));
                }
            const int maskStride = (img.width() + 31) / 32 * 4;
            one.append(QByteArray(qsizetype(maskStride) * img.height(), '\0'));
        }
        dir.append(char(img.width() >= 256 ? 0 : img.width()));
        dir.append(char(img.height() >= 256 ? 0 : img.height()));
        dir.append('\0');
        dir.append('\0');
        put16(dir, 1);
        put16(dir, 32);
        put32(dir, one.size());
        put32(dir, dataStart + data.size());
        data.append(one);
    }
    return dir + data;
}

// --- GIF

// A GIF with a 4-colour global table. The codes are written without compression: a
// clear code before every second pixel keeps the code width at 3 bits.
inline QByteArray gif(int w, int h, const std::vector<QRgb>& palette, const std::vector<int>& indexes)
{
    QByteArray b("GIF89a");
    put16(b, w);
    put16(b, h);
    b.append(char(0x91)); // global table of 4 entries
    b.append('\0');
    b.append('\0');
    for (int i = 0; i < 4; ++i) {
        const QRgb c = i < int(palette.size()) ? palette[size_t(i)] : 0;
        b.append(char(qRed(c)));
        b.append(char(qGreen(c)));
        b.append(char(qBlue(c)));
    }
    b.append(char(0x2C));
    put16(b, 0);
    put16(b, 0);
    put16(b, w);
    put16(b, h);
    b.append('\0');
    b.append(char(2)); // minimum code size
    QByteArray bits;
    quint32 acc = 0;
    int n = 0;
    auto code = [&](int c) {
        acc |= quint32(c) << n;
        n += 3;
        while (n >= 8) {
            bits.append(char(acc & 0xFF));
            acc >>= 8;
            n -= 8;
        }
    };
    for (size_t i = 0; i < indexes.size(); ++i) {
        if (i % 2 == 0)
            code(4);
        code(indexes[i]);
    }
    code(5);
    if (n > 0)
        bits.append(char(acc & 0xFF));
    for (qsizetype at = 0; at < bits.size(); at += 255) {
        const QByteArray block = bits.mid(at, 255);
        b.append(char(block.size()));
        b.append(block);
    }
    b.append('\0');
    b.append(char(0x3B));
    return b;
}

} // namespace pictest
