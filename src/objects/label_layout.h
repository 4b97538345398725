#pragma once
#include <QPoint>
#include <QRect>

// The label's enumerations, with the ordinals and identifiers records store.
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class THighlightDirection { hdNone, hdright, hdLeft, hdUpRight, hdUpLeft, hdUp };
enum class TShadowDirection { sdNone, sdRight, sdLeft, sdDownRight, sdDownLeft, sdDown };
enum class TBorderStyle { bsNone, bsSingle };

// A rectangle as the label's layout keeps it (Right and Bottom are the far edges,
// excluded when drawn or clipped).
struct LabelRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool operator==(const LabelRect&) const = default;
    LabelRect moved(int dx, int dy) const { return {Left + dx, Top + dy, Right + dx, Bottom + dy}; }
    QRect toQRect() const { return QRect(QPoint(Left, Top), QPoint(Right - 1, Bottom - 1)); }
};

QPoint shadowOffset(TShadowDirection direction, int depth);
QPoint highlightOffset(THighlightDirection direction, int depth);

// What the layout depends on: the measured line height (height plus internal and
// external leading) and text width (the caption and one space) of the zoomed font, the
// label's size, angle, alignment and the two offsets.
struct LabelLayoutInput {
    int lineH = 0;
    int textW = 0;
    int width = 0;
    int height = 0;
    int angle = 0;
    TAlignment alignment = TAlignment::taLeftJustify;
    QPoint shadow;    // (Sx, Sy)
    QPoint highlight; // (Hx, Hy)
};

struct LabelLayout {
    int width = 0, height = 0; // the label's size after the size rules
    QPoint inset;              // (Ix, Iy)
    LabelRect text, shadow, highlight;
    QPoint textOrigin, shadowOrigin, highlightOrigin;
};

// The label's layout: the size rules (a 0° label is never much taller than its line, a
// rotated one never much wider), the three rectangles and where each copy of the text
// starts.
LabelLayout computeLabelLayout(const LabelLayoutInput& in);
