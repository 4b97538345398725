#include "label_layout.h"

#include <algorithm>

QPoint shadowOffset(TShadowDirection direction, int d)
{
    switch (direction) {
    case TShadowDirection::sdRight: return {d, 0};
    case TShadowDirection::sdLeft: return {-d, 0};
    case TShadowDirection::sdDownRight: return {d, d};
    case TShadowDirection::sdDownLeft: return {-d, d};
    case TShadowDirection::sdDown: return {0, d};
    default: return {0, 0};
    }
}

QPoint highlightOffset(THighlightDirection direction, int e)
{
    switch (direction) {
    case THighlightDirection::hdright: return {e, 0};
    case THighlightDirection::hdLeft: return {-e, 0};
    case THighlightDirection::hdUpRight: return {e, -e};
    case THighlightDirection::hdUpLeft: return {-e, -e};
    case THighlightDirection::hdUp: return {0, -e};
    default: return {0, 0};
    }
}

namespace {
// The 1.2 factor in the legacy extended precision.
bool exceeds(int v, int base) { return static_cast<long double>(v) > 1.2L * base; }
int shrunk(int base) { return int(1.2L * base); }

// Moves a rectangle by an offset turned with the text: (x, y) at 0°, (y, −x) at 90°,
// (−x, −y) at 180°, (−y, x) at 270°.
LabelRect turned(const LabelRect& r, QPoint o, int angle)
{
    switch (angle) {
    case 90: return r.moved(o.y(), -o.x());
    case 180: return r.moved(-o.x(), -o.y());
    case 270: return r.moved(-o.y(), o.x());
    default: return r.moved(o.x(), o.y());
    }
}

QPoint originOf(const LabelRect& r, int angle)
{
    switch (angle) {
    case 90: return {r.Left, r.Bottom};
    case 180: return {r.Right, r.Bottom};
    case 270: return {r.Right, r.Top};
    default: return {r.Left, r.Top};
    }
}
} // namespace

LabelLayout computeLabelLayout(const LabelLayoutInput& in)
{
    LabelLayout out;
    const int Sx = in.shadow.x(), Sy = in.shadow.y(), Hx = in.highlight.x(), Hy = in.highlight.y();
    int ix = 0, iy = 0;
    if (Sx < 0)
        ix = -Sx;
    if (Hx < 0)
        ix = std::max(ix, -Hx);
    if (Sy < 0)
        iy = -Sy;
    if (Hy < 0)
        iy = std::max(iy, -Hy);
    out.inset = {ix, iy};
    const int L = in.lineH + Sy - Hy;

    int w = in.width, h = in.height;
    const bool upright = in.angle == 0 || in.angle == 180;
    if (upright) {
        if (in.angle == 180 && 2 * in.textW < w)
            w = 2 * in.textW;
        if (w <= 5)
            w = in.textW;
        if (exceeds(h, L))
            h = shrunk(L);
        if (h < L)
            h = L;
    } else {
        if (exceeds(h, in.textW))
            h = shrunk(in.textW);
        if (h < 5)
            h = in.textW;
        if (exceeds(w, L))
            w = shrunk(L);
        if (w < L)
            w = L;
    }
    out.width = w;
    out.height = h;

    LabelRect t = upright ? LabelRect{ix, iy, w, in.lineH + iy} : LabelRect{iy, ix, in.lineH + iy, h - iy};
    const int tw = t.Right - t.Left + 1, th = t.Bottom - t.Top + 1;
    if (in.angle == 90)
        t = t.moved(0, h - th + Hx);
    else if (in.angle == 180)
        t = t.moved(w - tw - Sy, 0);
    out.text = t;
    out.shadow = turned(t, in.shadow, in.angle);
    out.highlight = turned(t, in.highlight, in.angle);
    out.textOrigin = originOf(out.text, in.angle);
    out.shadowOrigin = originOf(out.shadow, in.angle);
    out.highlightOrigin = originOf(out.highlight, in.angle);

    if (in.angle == 0) {
        int x = t.Left;
        if (in.alignment == TAlignment::taRightJustify)
            x = t.Right - in.textW;
        else if (in.alignment == TAlignment::taCenter)
            x = (t.Right - t.Left) / 2 - in.textW / 2;
        out.textOrigin.setX(x);
        out.highlightOrigin.setX(x + Hx);
        out.shadowOrigin.setX(x + Sx);
    }
    return out;
}
