// fuzz-link: ov_imaging
// Targa decoding: any bytes give a picture or EPictureError; crashes, hangs, leaks,
// huge allocations and undefined behaviour are findings.
#include "imaging/picture_error.h"
#include "imaging/tga_decoder.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    (void)ovpic::looksLikeTga(bytes);
    try {
        const QImage img = ovpic::decodeTga(bytes);
        if (img.isNull())
            __builtin_trap(); // success always means a picture
    } catch (const EPictureError&) {
    }
    return 0;
}
