// Metafile playback: whatever the bytes, loading and playing into a small image must
// return (a refusal is fine); crashes, hangs, leaks, huge allocations and undefined
// behaviour are findings.
#include "imaging/metafile_player.h"
#include "imaging/metafile_sink.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // Text needs fonts, and fonts need a GUI application.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));

    QImage image(48, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        PlayMetafileData(painter, QRectF(2, 2, 44, 28), bytes);
    }

    // The same records through the recording sink, into a flipped and offset target.
    TMetafile mf;
    if (mf.loadFromData(bytes) && mf.kind() != TMetafile::Kind::Svg) {
        MetafileRecordingSink sink;
        sink.keepImages = false;
        mf.playTo(sink, QRectF(100, 50, -80, -40));
        (void)sink.drawingBounds();
    }
    return 0;
}
