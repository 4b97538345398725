// fuzz-link: ov_platform
// "OV.ini" files as any program may have left them: parsing never fails, and what we
// write from them parses back to the same bytes.
#include "platform/ini_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    IniFile ini;
    ini.parse(bytes);
    const QByteArray written = ini.toBytes();
    IniFile again;
    again.parse(written);
    if (again.toBytes() != written)
        std::abort();
    return 0;
}
