#include "win_color.h"

QColor toQColor(TColor c)
{
    const auto u = std::uint32_t(c);
    if ((u & 0xFF000000u) == 0x80000000u) {
        // System colours as a classic light desktop shows them.
        switch (u & 0xFF) {
        case 5: return QColor(255, 255, 255); // window
        case 8: return QColor(0, 0, 0); // window text
        case 15: return QColor(240, 240, 240); // button face
        case 18: return QColor(0, 0, 0); // button text
        case 13: return QColor(0, 120, 215); // highlight
        case 14: return QColor(255, 255, 255); // highlight text
        case 16: return QColor(160, 160, 160); // button shadow
        case 20: return QColor(255, 255, 255); // button highlight
        default: return QColor(0, 0, 0);
        }
    }
    return QColor(int(u & 0xFF), int((u >> 8) & 0xFF), int((u >> 16) & 0xFF));
}

TColor fromQColor(const QColor& c)
{
    return TColor(std::uint32_t(c.red()) | (std::uint32_t(c.green()) << 8) | (std::uint32_t(c.blue()) << 16));
}
