#include "calendar_types.h"

#include <cstddef>

using std::size_t;

namespace {
template <typename E, size_t N>
const char* nameOf(E v, const char* const (&names)[N])
{
    const auto i = size_t(v);
    return i < N ? names[i] : "";
}
} // namespace

const char* layoutName(TCalendarLayout v)
{
    static const char* const names[] = {
        "loFullCalendar", "LOFullCalendarLS", "loFCMinisInTitle", "loFCMinisInTitleLS",
        "loFC6Before6After", "loFC6Before6AfterLS", "loFC12After", "loFC12AfterLS",
        "lopMC6Month", "lopMC6MonthLS", "loMC12Month", "loMC12MonthLS", "loMC24Month", "loMC24MonthLS",
        "loMC48Month", "loMC48MonthLS", "loMC60Month", "loMC60MonthLS",
        "loWeek", "lo2Week", "loDay10", "loDay15"};
    return nameOf(v, names);
}

const char* orientationName(TCalendarOrientation v)
{
    static const char* const names[] = {"coPortrait", "coLandscape"};
    return nameOf(v, names);
}

const char* lineLayoutName(TCalendarLineLayout v)
{
    static const char* const names[] = {"llFull", "llHeadersAndCells", "llCellsOnly"};
    return nameOf(v, names);
}

const char* miniLineLayoutName(TMiniCalendarLineLayout v)
{
    static const char* const names[] = {"mllFull", "mllBoxed", "mllMinimal"};
    return nameOf(v, names);
}

const char* borderStyleName(TCalBorderStyle v)
{
    static const char* const names[] = {"cbNone", "cbAll", "cbTop", "cbBottom", "cbTopBottom"};
    return nameOf(v, names);
}

const char* headersStyleName(TCalHeadersStyle v)
{
    static const char* const names[] = {"dsFirstChar", "dsThreeChars", "dsWhole"};
    return nameOf(v, names);
}

const char* numberPositionName(TCalendarNumberPosition v)
{
    static const char* const names[] = {"cnpCenter", "cnpUpperRight"};
    return nameOf(v, names);
}

int LayoutFamilyOf(TCalendarLayout layout)
{
    const int l = int(layout);
    if (l <= 7)
        return 0;
    if (l <= 17)
        return 1;
    return l - 16; // 18..21 -> 2..5
}

bool isLandscapeLayout(TCalendarLayout layout)
{
    const int l = int(layout);
    return l <= 17 && (l % 2) == 1;
}

bool isPlannerLayout(TCalendarLayout layout) { return int(layout) >= 18; }

bool layoutHasDayCells(TCalendarLayout layout)
{
    const int l = int(layout);
    return l <= 7 || l >= 18;
}
