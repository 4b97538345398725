#include "color_identifiers.h"

#include <array>
#include <cstdint>

namespace {

struct NamedColor {
    const char* name;
    TColor value;
};

constexpr TColor rgb(int r, int g, int b) { return TColor(r | (g << 8) | (b << 16)); }
constexpr TColor sys(int n) { return TColor(std::uint32_t(0x80000000u) + std::uint32_t(n)); }

// In the order the legacy table lists them: a value with two names takes the first.
constexpr std::array<NamedColor, 42> kColors{{
    {"clBlack", rgb(0, 0, 0)},         {"clMaroon", rgb(128, 0, 0)},       {"clGreen", rgb(0, 128, 0)},
    {"clOlive", rgb(128, 128, 0)},     {"clNavy", rgb(0, 0, 128)},         {"clPurple", rgb(128, 0, 128)},
    {"clTeal", rgb(0, 128, 128)},      {"clGray", rgb(128, 128, 128)},     {"clSilver", rgb(192, 192, 192)},
    {"clRed", rgb(255, 0, 0)},         {"clLime", rgb(0, 255, 0)},         {"clYellow", rgb(255, 255, 0)},
    {"clBlue", rgb(0, 0, 255)},        {"clFuchsia", rgb(255, 0, 255)},    {"clAqua", rgb(0, 255, 255)},
    {"clWhite", rgb(255, 255, 255)},   {"clScrollBar", sys(0)},            {"clBackground", sys(1)},
    {"clActiveCaption", sys(2)},       {"clInactiveCaption", sys(3)},      {"clMenu", sys(4)},
    {"clWindow", sys(5)},              {"clWindowFrame", sys(6)},          {"clMenuText", sys(7)},
    {"clWindowText", sys(8)},          {"clCaptionText", sys(9)},          {"clActiveBorder", sys(10)},
    {"clInactiveBorder", sys(11)},     {"clAppWorkSpace", sys(12)},        {"clHighlight", sys(13)},
    {"clHighlightText", sys(14)},      {"clBtnFace", sys(15)},             {"clBtnShadow", sys(16)},
    {"clGrayText", sys(17)},           {"clBtnText", sys(18)},             {"clInactiveCaptionText", sys(19)},
    {"clBtnHighlight", sys(20)},       {"cl3DDkShadow", sys(21)},          {"cl3DLight", sys(22)},
    {"clInfoText", sys(23)},           {"clInfoBk", sys(24)},              {"clNone", clNone},
}};

} // namespace

QByteArray colorIdentifier(TColor c)
{
    for (const NamedColor& n : kColors)
        if (n.value == c)
            return QByteArray(n.name);
    return QByteArray();
}

std::optional<TColor> colorFromIdentifier(const QByteArray& ident)
{
    for (const NamedColor& n : kColors)
        if (ident.compare(n.name, Qt::CaseInsensitive) == 0)
            return n.value;
    return std::nullopt;
}
