#include "win_color.h"

#include <QPainter>
#include <QPixmap>

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

const std::array<TBasicColor, 16>& BasicColors()
{
    static const std::array<TBasicColor, 16> colors = {{
        {"Black", QColor(0, 0, 0)},          {"Maroon", QColor(128, 0, 0)},    {"Green", QColor(0, 128, 0)},
        {"Olive", QColor(128, 128, 0)},      {"Navy", QColor(0, 0, 128)},      {"Purple", QColor(128, 0, 128)},
        {"Teal", QColor(0, 128, 128)},       {"Gray", QColor(128, 128, 128)},  {"Silver", QColor(192, 192, 192)},
        {"Red", QColor(255, 0, 0)},          {"Lime", QColor(0, 255, 0)},      {"Yellow", QColor(255, 255, 0)},
        {"Blue", QColor(0, 0, 255)},         {"Fuchsia", QColor(255, 0, 255)}, {"Aqua", QColor(0, 255, 255)},
        {"White", QColor(255, 255, 255)},
    }};
    return colors;
}

QIcon ColorSwatch(const QColor& c)
{
    QPixmap pm(16, 12);
    pm.fill(c);
    QPainter p(&pm);
    p.setPen(Qt::gray);
    p.drawRect(0, 0, 15, 11);
    return QIcon(pm);
}
