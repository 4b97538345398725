// fuzz-link: ov_imaging
// Bitmaps: whole BMP files and headerless DIBs, and the run-length decoder on its own
// (the first bytes choose its size and kind, the rest are the encoded bits).
#include "imaging/bmp_decoder.h"
#include "imaging/picture_error.h"

#include <QGuiApplication>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        (void)ovpic::decodeBmp(bytes);
    } catch (const EPictureError&) {
    }
    if (ovpic::looksLikeDib(bytes)) {
        try {
            (void)ovpic::decodeBmp(ovpic::dibToBmp(bytes));
        } catch (const EPictureError&) {
        }
    }
    if (size >= 4) {
        const int width = 1 + data[0] % 64, height = 1 + data[1] % 64;
        QVector<QRgb> palette;
        for (int i = 0; i < data[2] % 20; ++i)
            palette.append(qRgb(i, i, i));
        try {
            const QImage img = ovpic::decodeRleBits(width, height, data[3] & 2, data[3] & 1, palette, bytes.sliced(4));
            for (int y = 0; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x)
                    (void)img.pixel(x, y); // every pixel set to an index the table holds
        } catch (const EPictureError&) {
        }
    }
    return 0;
}
