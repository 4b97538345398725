// fuzz-link: ov_imaging
// PCX decoding: any bytes give a picture or EPictureError; crashes, hangs, leaks, huge
// allocations and undefined behaviour are findings.
#include "imaging/pcx_decoder.h"
#include "imaging/picture_error.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    (void)ovpic::looksLikePcx(bytes);
    try {
        const QImage img = ovpic::decodePcx(bytes);
        if (img.isNull())
            __builtin_trap();
    } catch (const EPictureError&) {
    }
    return 0;
}
