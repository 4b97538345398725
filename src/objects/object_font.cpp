#include "object_font.h"

#include "platform/numeric.h"

#include <algorithm>
#include <cmath>

namespace {
// a × b / c rounded half away from zero, as Windows' MulDiv.
int mulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    const double v = double(a) * double(b) / double(c);
    return int(v < 0 ? -std::floor(-v + 0.5) : std::floor(v + 0.5));
}
} // namespace

int TObjectFont::Size(int ppi) const { return -mulDiv(Height, 72, ppi); }

void TObjectFont::SetSize(int points, int ppi) { Height = -mulDiv(points, ppi, 72); }

QFont TObjectFont::toQFont(float zoom, int ppi) const
{
    int height = Height;
    if (zoom != 1.0f) {
        TObjectFont zoomed = *this;
        zoomed.SetSize(truncToInt(double(Size(ppi)) * double(zoom)), ppi);
        height = zoomed.Height;
    }
    QFont f(Name.isEmpty() ? QStringLiteral("Arial") : Name);
    // A negative height is the character height; a positive one a cell height, of which
    // the characters take about four fifths.
    const int px = height < 0 ? -height : mulDiv(height, 4, 5);
    f.setPixelSize(std::max(1, px));
    f.setBold(Bold);
    f.setItalic(Italic);
    f.setUnderline(Underline);
    f.setStrikeOut(StrikeOut);
    if (Pitch == TFontPitch::fpFixed)
        f.setFixedPitch(true);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

void TObjectFont::assign(const QFont& f, int ppi)
{
    Name = f.family();
    if (f.pixelSize() > 0)
        Height = -f.pixelSize();
    else
        SetSize(roundHalfEven(f.pointSizeF()), ppi);
    Bold = f.bold();
    Italic = f.italic();
    Underline = f.underline();
    StrikeOut = f.strikeOut();
}

TObjectFont TObjectFont::withSize(const QString& name, int points, TColor color, int ppi)
{
    TObjectFont f;
    f.Name = name;
    f.Color = color;
    f.SetSize(points, ppi);
    return f;
}

const char* fontPitchName(TFontPitch p)
{
    switch (p) {
    case TFontPitch::fpVariable: return "fpVariable";
    case TFontPitch::fpFixed: return "fpFixed";
    default: return "fpDefault";
    }
}
