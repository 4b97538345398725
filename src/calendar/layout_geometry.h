#pragma once
#include "calendar/calendar_settings.h"
#include "calendar/page_rect.h"

#include <vector>

struct TMiniPlacement {
    TRect rect;
    int month = 1;
    int year = 1997;
};

// Geometry of a page at zoom 1 in screen pixels: a pure function of the settings, the
// presence of a special border and the screen's pixels per inch.
struct TLayoutGeometry {
    int ppi = 96;
    TCalendarOrientation orientation = TCalendarOrientation::coPortrait;
    int PageWidthPx = 0;
    int PageHeightPx = 0;
    TRect MarginRect; // plain margins: where a special border is drawn
    TRect ContentRect; // margins (+0.47 in with a border) inset by 2 pixels
    TRect MainCalendarRect;
    std::vector<TMiniPlacement> minis; // in mini order; size is the mini count
    bool ShowMainCalendar = false;
    bool ShowMiniCalendars = false;
    bool IsPlanner = false;
    int miniFontBase = 0; // the layout's mini title size S for the mini-font reset, 0 = none
};

// Extra inset on every side that makes room for a special border.
constexpr float kBorderInsetInch = 0.47f;

// Computes the page for the given settings. previousMiniCount is kept for layouts that
// show no minis (the page keeps its old count there).
TLayoutGeometry ComputeLayoutGeometry(const TCalendarSettings& settings, bool hasBorder, int ppi);

// Pixels of an inch value given in single precision (a sum is rounded to single first).
int InchToPx(int ppi, double inches);

// Fills mini rectangles first..last of minis row by row into a rows × columns grid of strip.
void PlaceMinisInGrid(std::vector<TMiniPlacement>& minis, const TRect& strip, int rows, int columns, int first,
                      int last);
