// fuzz-link: ov_imaging
// EMF+ records: the input is the body of the comment records of an EMF+ only picture
// (after its EMF+ header), split at each "\n#\n" into comments with an EMF rectangle
// between them. Playing into an image and into the recording sink must return; crashes,
// hangs, leaks, huge allocations and undefined behaviour are findings.
#include "imaging/byte_writer.h"
#include "imaging/metafile_player.h"
#include "imaging/metafile_sink.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstddef>
#include <cstdint>

namespace {

using ovpic::appendLe32;

void record(QByteArray& body, quint32 type, const QByteArray& params)
{
    QByteArray p = params;
    while (p.size() % 4)
        p.append('\0');
    appendLe32(body, type);
    appendLe32(body, quint32(8 + p.size()));
    body.append(p);
}

void comment(QByteArray& body, const QByteArray& emfPlus)
{
    QByteArray p;
    appendLe32(p, quint32(emfPlus.size() + 4));
    p.append("EMF+", 4);
    p.append(emfPlus);
    record(body, 70, p);
}

QByteArray picture(const QByteArray& input)
{
    QByteArray body;
    QByteArray header; // EMF+ header: not dual, screen, 96 per inch
    for (quint32 v : {0x00044001u, 28u, 16u, 0xDBC01002u, 1u, 96u, 96u})
        appendLe32(header, v);
    comment(body, header);
    const QList<QByteArray> parts = input.split('#');
    for (const QByteArray& part : parts) {
        comment(body, part);
        QByteArray rect;
        for (quint32 v : {0u, 0u, 500u, 500u})
            appendLe32(rect, v);
        record(body, 43, rect);
    }
    QByteArray eof;
    for (quint32 v : {0u, 16u, 20u})
        appendLe32(eof, v);
    record(body, 14, eof);
    QByteArray h;
    for (quint32 v : {1u, 108u, 0u, 0u, 999u, 999u, 0u, 0u, 10000u, 10000u, 0x464D4520u, 0x10000u})
        appendLe32(h, v);
    appendLe32(h, quint32(108 + body.size()));
    for (quint32 v : {100u, 0u, 0u, 0u, 0u, 1000u, 1000u, 100u, 100u, 0u, 0u, 0u, 100000u, 100000u})
        appendLe32(h, v);
    return h + body;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = picture(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    TMetafile mf;
    if (!mf.loadFromData(bytes))
        return 0;
    QImage image(48, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        mf.play(painter, QRectF(2, 2, 44, 28));
    }
    MetafileRecordingSink sink;
    sink.keepImages = false;
    mf.playTo(sink, QRectF(100, 50, -80, -40));
    (void)sink.drawingBounds();
    return 0;
}
