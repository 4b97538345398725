// fuzz-link: ov_imaging
// The picture loader as a whole: any bytes under any picture name give a picture or
// EPictureError. A picture must also draw, give its Picture.Data, and read back from
// it; and any bytes read as Picture.Data give a picture or EPictureError.
#include "imaging/picture_error.h"
#include "imaging/picture_loader.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
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
    if (size == 0)
        return 0;
    static const char* const names[] = {"x.bmp", "x.dib", "x.jpg", "x.gif", "x.png", "x.ico", "x.tga",
                                        "x.pcx", "x.wmf", "x.emf", "x.svg", "x"};
    const QString name = QString::fromLatin1(names[data[0] % (sizeof(names) / sizeof(names[0]))]);
    const QByteArray bytes(reinterpret_cast<const char*>(data) + 1, qsizetype(size) - 1);
    try {
        const TPicture p = LoadPictureFromData(bytes, name);
        QImage image(24, 16, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            p.draw(painter, QRectF(1, 1, 22, 14));
        }
        const QByteArray stored = p.pictureData();
        const TPicture back = TPicture::fromPictureData(stored);
        if (back.pictureData() != stored)
            __builtin_trap(); // a stored picture must read back to the same bytes
    } catch (const EPictureError&) {
    }
    try {
        (void)TPicture::fromPictureData(bytes);
    } catch (const EPictureError&) {
    }
    return 0;
}
