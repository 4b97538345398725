#pragma once
#include "calendar/page_rect.h"

#include <array>

// What the last drawing of a month grid or planner recorded, for hit tests and editing.
struct TCellGeometry {
    TRect rTotal; // the whole cell
    int day = 0; // day number drawn in it, 0 when none
    TRect rFree; // where its text goes (empty: no text area)
};

struct TDrawnCalendar {
    std::array<TCellGeometry, 42> cells{};
    TRect titleRect;
    TRect headerRect;
    // Every pixel the drawing filled or drew a line on; its texts stay inside it but for
    // glyphs reaching past their boxes. More than the calendar rectangle when the bands are
    // higher than the calendar.
    TRect paintedRect;
};
