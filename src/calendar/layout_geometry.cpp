#include "layout_geometry.h"

#include "calendar/calendar_dates.h"
#include "platform/numeric.h"

int InchToPx(int ppi, double inches) { return truncToInt(double(ppi) * double(float(inches))); }

void PlaceMinisInGrid(std::vector<TMiniPlacement>& minis, const TRect& strip, int a, int b, int first, int last)
{
    const int l = strip.Left, t = strip.Top, r = strip.Right, bo = strip.Bottom;
    const int d = truncToInt((bo - t) * 0.01);
    const int e = truncToInt((r - l) * 0.01);
    const int f = truncToInt(double(bo - t - d * (a - 1)) / a);
    const int g = truncToInt(double(r - l - e * (b - 1)) / b);
    int mini = first;
    for (int i = 0; i < a; ++i) {
        for (int j = 0; j < b; ++j) {
            if (mini > last || mini > int(minis.size()))
                return;
            const int left = (j == b - 1) ? r - g : l + j * (e + g);
            const int top = (i == a - 1) ? bo - f : t + i * (d + f);
            minis[size_t(mini - 1)].rect = TRect(left, top, left + g, top + f);
            ++mini;
        }
    }
}

namespace {

void assignMonths(std::vector<TMiniPlacement>& minis, int first, int last, int month, int year, int offset)
{
    for (int i = first; i <= last; ++i) {
        int m = month, y = year;
        ShiftMonth(m, y, offset + (i - first));
        minis[size_t(i - 1)].month = m;
        minis[size_t(i - 1)].year = y;
    }
}

} // namespace

TLayoutGeometry ComputeLayoutGeometry(const TCalendarSettings& s, bool hasBorder, int ppi)
{
    TLayoutGeometry g;
    g.ppi = ppi;
    const int layout = int(s.CalendarLayout);

    // Step 1: orientation follows the layout; page and margins.
    g.orientation = isLandscapeLayout(s.CalendarLayout) ? TCalendarOrientation::coLandscape
                                                        : TCalendarOrientation::coPortrait;
    const bool a4 = s.PaperSize == 1;
    const double shortSide = a4 ? 8.27 : 8.5;
    const double longSide = a4 ? 11.69 : 11.0;
    if (g.orientation == TCalendarOrientation::coPortrait) {
        g.PageWidthPx = truncToInt(ppi * shortSide);
        g.PageHeightPx = truncToInt(ppi * longSide);
    } else {
        g.PageWidthPx = truncToInt(ppi * longSide);
        g.PageHeightPx = truncToInt(ppi * shortSide);
    }
    const int W = g.PageWidthPx, H = g.PageHeightPx;
    auto px = [ppi](double inches) { return InchToPx(ppi, inches); };

    g.MarginRect = TRect(px(s.LeftMarginInch), px(s.TopMarginInch), W - px(s.RightMarginInch),
                         H - px(s.BottomMarginInch));

    const double inset = hasBorder ? double(kBorderInsetInch) : 0.0;
    // Each sum is rounded to single precision, as the page always computed it.
    const float L = hasBorder ? float(double(s.LeftMarginInch) + inset) : s.LeftMarginInch;
    const float T = hasBorder ? float(double(s.TopMarginInch) + inset) : s.TopMarginInch;
    const float R = hasBorder ? float(double(s.RightMarginInch) + inset) : s.RightMarginInch;
    const float B = hasBorder ? float(double(s.BottomMarginInch) + inset) : s.BottomMarginInch;
    auto plus = [](float a, double b) { return double(float(double(a) + b)); };

    g.ContentRect = TRect(px(L) + 2, px(T) + 2, W - px(R) - 2, H - px(B) - 2);
    const TRect content = g.ContentRect;

    // Step 2: per layout.
    g.ShowMainCalendar = layout <= 7;
    g.ShowMiniCalendars = layout >= 2 && layout <= 17;
    g.IsPlanner = layout >= 18;

    const int month = s.MainCalMonth, year = s.MainCalYear;
    auto resizeMinis = [&g](int n) { g.minis.assign(size_t(n), TMiniPlacement{}); };

    switch (layout) {
    case 0:
    case 1:
        g.MainCalendarRect = content;
        break;
    case 2:
    case 3: {
        g.MainCalendarRect = content;
        resizeMinis(2);
        const int sq = truncToInt(ppi * 1.5);
        const int h = ppi / 8;
        const TRect& M = g.MainCalendarRect;
        g.minis[0].rect = TRect(M.Left + h, M.Top + h, M.Left + sq - h, M.Top + sq - h);
        g.minis[1].rect = TRect(M.Right - sq + h, M.Top + h, M.Right - h, M.Top + sq - h);
        assignMonths(g.minis, 1, 1, month, year, -1);
        assignMonths(g.minis, 2, 2, month, year, 1);
        g.miniFontBase = 10;
        break;
    }
    case 4: {
        g.MainCalendarRect = TRect(px(L) + 2, px(plus(T, 1.3)) + 2, W - px(R) - 2, H - px(plus(B, 1.3)) - 2);
        resizeMinis(12);
        PlaceMinisInGrid(g.minis, TRect(px(L) + 2, px(T) + 2, W - px(R) - 2, px(plus(T, 1.3)) - 2), 1, 6, 1, 6);
        PlaceMinisInGrid(g.minis, TRect(px(L) + 2, H - px(plus(B, 1.3)) + 2, W - px(R) - 2, H - px(B) - 2), 1, 6, 7,
                         12);
        assignMonths(g.minis, 1, 6, month, year, -6);
        assignMonths(g.minis, 7, 12, month, year, 1);
        g.miniFontBase = 10;
        break;
    }
    case 5: {
        g.MainCalendarRect = TRect(px(plus(L, 1.3)) + 4, px(T) + 2, W - px(plus(R, 1.3)) - 4, H - px(B) - 2);
        resizeMinis(12);
        PlaceMinisInGrid(g.minis, TRect(px(L) + 2, px(T) + 2, px(plus(L, 1.3)), H - px(B) - 2), 6, 1, 1, 6);
        PlaceMinisInGrid(g.minis, TRect(W - px(plus(R, 1.3)) + 2, px(T) + 2, W - px(R) - 2, H - px(B) - 2), 6, 1, 7,
                         12);
        assignMonths(g.minis, 1, 6, month, year, -6);
        assignMonths(g.minis, 7, 12, month, year, 1);
        g.miniFontBase = 10;
        break;
    }
    case 6: {
        g.MainCalendarRect = TRect(px(L) + 2, px(T) + 2, W - px(R) - 2, H - px(plus(B, 2.9)) - 2);
        resizeMinis(12);
        PlaceMinisInGrid(g.minis, TRect(px(L) + 2, H - px(plus(B, 2.8)) + 2, W - px(R) - 2, H - px(B) - 4), 2, 6, 1,
                         12);
        assignMonths(g.minis, 1, 12, month, year, 1);
        g.miniFontBase = 10;
        break;
    }
    case 7: {
        g.MainCalendarRect = TRect(px(L) + 2, px(T) + 2, W - px(plus(R, 2.9)) + 8, H - px(B) - 2);
        resizeMinis(12);
        PlaceMinisInGrid(g.minis, TRect(W - px(plus(R, 2.8)) + 2, px(T) + 2, W - px(R) - 4, H - px(B) - 2), 6, 2, 1,
                         12);
        assignMonths(g.minis, 1, 12, month, year, 1);
        g.miniFontBase = 10;
        break;
    }
    default:
        if (layout >= 8 && layout <= 17) {
            struct Grid {
                int count, portraitRows, portraitColumns, base;
            };
            static const Grid grids[] = {{6, 3, 2, 18}, {12, 4, 3, 18}, {24, 6, 4, 12}, {48, 8, 6, 10}, {60, 10, 6, 8}};
            const Grid& gr = grids[(layout - 8) / 2];
            const bool landscape = (layout % 2) == 1;
            resizeMinis(gr.count);
            const int rows = landscape ? gr.portraitColumns : gr.portraitRows;
            const int columns = landscape ? gr.portraitRows : gr.portraitColumns;
            PlaceMinisInGrid(g.minis, content, rows, columns, 1, gr.count);
            assignMonths(g.minis, 1, gr.count, month, year, 0);
            g.miniFontBase = gr.base;
        } else {
            g.MainCalendarRect = content; // planners
        }
        break;
    }
    return g;
}
