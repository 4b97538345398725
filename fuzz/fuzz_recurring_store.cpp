// fuzz-link: ov_recurring
// Recurring-date stores ("OVRECUR.DAX") as any program or damage may have left them:
// reading never fails, and the lines read are written so that reading them again gives
// the same lines.
#include "recurring/recurring_store.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const QStringList lines = DecodeRecurringLines(bytes);
    const QByteArray written = EncodeRecurringLines(lines);
    if (DecodeRecurringLines(written) != lines)
        std::abort();
    if (EncodeRecurringLines(DecodeRecurringLines(written)) != written)
        std::abort(); // our own output must be a fixed point
    return 0;
}
