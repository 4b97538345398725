// fuzz-link: ov_stream
// Generic typed values and component records: whatever the bytes, the reader either
// returns or throws EStreamError; anything else (crash, leak, hang, huge allocation,
// undefined behaviour) is a finding.
#include "stream/component_record.h"
#include "stream/stream_reader.h"
#include "stream/stream_writer.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));

    // A value, and what we read must write and read back identically.
    try {
        TStreamReader r(bytes);
        const TStreamValue v = r.readValue();
        QByteArray out;
        TStreamWriter w(&out);
        w.writeValue(v);
        TStreamReader again(out);
        QByteArray out2;
        TStreamWriter w2(&out2);
        w2.writeValue(again.readValue());
        if (out != out2)
            std::abort();
    } catch (const EStreamError&) {
    }

    // A list of component records, read and skipped.
    try {
        TStreamReader r(bytes);
        r.readListBegin();
        (void)readComponentList(r);
    } catch (const EStreamError&) {
    }
    try {
        TStreamReader r(bytes);
        while (!r.atEnd())
            skipComponentRecord(r, true);
    } catch (const EStreamError&) {
    }
    return 0;
}
