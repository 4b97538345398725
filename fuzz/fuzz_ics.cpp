// The iCalendar reader: parsing, time zones and the expansion of repeat rules.
// fuzz-link: ov_recurring
#include "recurring/ics_fill.h"
#include "recurring/ics_reader.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>
#include <ctime>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool zoneSet = [] {
        setenv("TZ", "Europe/Berlin", 1); // a zone with daylight saving, whatever the machine says
        tzset();
        return true;
    }();
    (void)zoneSet;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    // Smaller limits than the program's keep every input quick; the bounds work the same.
    const IcsLimits limits{20'000, 100'000, 500};
    for (const auto& [year, month] : {std::pair{2024, 3}, std::pair{2000, 2}}) {
        try {
            const QList<IcsEvent> events = ReadIcsMonth(bytes, year, month, limits);
            ComputeIcsPlacements(events, year, month, QLocale::c());
            for (const IcsEvent& e : events)
                (void)IcsEventRowText(e, year, month);
        } catch (const EIcsError&) {
            // Refused with a reason: what the program shows the user.
        }
    }
    return 0;
}
