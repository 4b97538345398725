#pragma once
#include <QColor>
#include <QIcon>
#include <array>
#include <cstdint>

// A Windows colour value: 0x00BBGGRR, or a system colour (high byte 0x80, index low).
using TColor = std::int32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clGreen = 0x008000;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clWindowText = TColor(0x80000008u);
constexpr TColor clWindow = TColor(0x80000005u);
constexpr TColor clBtnFace = TColor(0x8000000Fu);

QColor toQColor(TColor c);
TColor fromQColor(const QColor& c);

// The 16 colours of the classic Windows palette, in its order: black, maroon, green,
// olive, navy, purple, teal, gray, silver, red, lime, yellow, blue, fuchsia, aqua,
// white. Rich-text colour tables and the font dialog's colour list offer these.
struct TBasicColor {
    const char* name;
    QColor color;
};
const std::array<TBasicColor, 16>& BasicColors();
// A 16 x 12 sample of a colour with a grey edge, for colour lists.
QIcon ColorSwatch(const QColor& c);
