#pragma once
// The parts of SuperText's drawing that need no object: where the text and its shadow
// go, and the two-colour gradient its letters can be filled with.
#include "objects/label_layout.h"
#include "platform/win_color.h"
#include "special/super_text_types.h"

#include <QColor>
#include <QImage>
#include <QLinearGradient>
#include <QSize>

namespace supertext {

// What the metrics depend on: the zoomed shadow offset, the measured text height (h)
// and width (w, the caption and one blank), the object's size and look.
struct MetricsInput {
    int dx = 0, dy = 0;
    int h = 0, w = 0;
    int width = 0, height = 0;
    bool transparent = true;
    bool bordered = false;
};

struct Metrics {
    int width = 0, height = 0; // the object's size after the size rules
    QPoint textInset;
    LabelRect textRect, shadowRect;
    QPoint textOrigin, shadowOrigin;
    // The larger left edge of the text and its shadow: the text is cut to Width - this.
    int textLeft() const { return std::max(textRect.Left, shadowRect.Left); }
};

Metrics computeMetrics(const MetricsInput& in);

// a x b / c rounded half away from zero, as Windows' MulDiv.
int mulDiv(int a, int b, int c);

// The colours at band 0 and band 255 for a direction, and whether bands run top to
// bottom (else left to right).
struct GradientEnds {
    TColor first, last;
    bool vertical;
};
GradientEnds gradientEnds(TFillDirection direction, TColor from, TColor to);
// Band i (0..255) of the 256 between two colours.
QColor gradientBand(const QColor& c0, const QColor& c1, int i);
// The gradient rendered at a size: 256 bands covering every row (or column) once.
QImage buildGradient(QSize size, TFillDirection direction, TColor from, TColor to);
// The same gradient as a smooth linear gradient over a size, for vector output.
QLinearGradient vectorGradient(QSize size, TFillDirection direction, TColor from, TColor to);

} // namespace supertext
