// fuzz-link: ov_richtext
// RTF from any source (cells, pasted text, other programs' files): reading either yields
// what could be read or nothing; what we write from it must read back and write again
// to the same bytes.
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"

#include <QGuiApplication>
#include <QTextDocument>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    RtfHasContent(bytes);
    QTextDocument doc;
    ReadRtf(bytes, &doc);
    const QByteArray written = WriteRtf(doc);
    QTextDocument again;
    ReadRtf(written, &again);
    if (WriteRtf(again) != written)
        std::abort(); // our own output must be a fixed point
    return 0;
}
