// Files with icons: whatever the bytes, reading the icon list and decoding every icon
// must return or throw EIconError; crashes, hangs, leaks, huge allocations and undefined
// behaviour are findings.
// fuzz-link: ov_imaging
#include "imaging/icon_error.h"
#include "imaging/icon_library.h"

#include <QCoreApplication>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // Qt's image readers are plugins, found through the application.
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        const IconLibrary library = IconLibrary::fromData(bytes);
        for (int i = 0; i < library.count() && i < 64; ++i) {
            try {
                (void)library.sizes(i);
                for (const QImage& image : library.images(i))
                    (void)image.pixel(0, 0);
                (void)library.image(i, QSize(16, 16));
            } catch (const EIconError&) {
            }
        }
    } catch (const EIconError&) {
    }
    return 0;
}
