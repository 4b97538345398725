#include "color_combo.h"

#include "platform/prompter.h"

#include <QPainter>
#include <QPixmap>

namespace {

QIcon swatch(TColor c)
{
    QPixmap pm(16, 12);
    pm.fill(toQColor(c));
    QPainter p(&pm);
    p.setPen(QColor(96, 96, 96));
    p.drawRect(0, 0, 15, 11);
    return QIcon(pm);
}
} // namespace

const std::vector<std::pair<QString, TColor>>& TColorCombo::namedColors()
{
    static const std::vector<std::pair<QString, TColor>> colors = {
        {QStringLiteral("Black"), 0x000000}, {QStringLiteral("Maroon"), 0x000080},
        {QStringLiteral("Green"), 0x008000}, {QStringLiteral("Olive"), 0x008080},
        {QStringLiteral("Navy"), 0x800000},  {QStringLiteral("Purple"), 0x800080},
        {QStringLiteral("Teal"), 0x808000},  {QStringLiteral("Gray"), 0x808080},
        {QStringLiteral("Silver"), 0xC0C0C0}, {QStringLiteral("Red"), 0x0000FF},
        {QStringLiteral("Lime"), 0x00FF00},  {QStringLiteral("Yellow"), 0x00FFFF},
        {QStringLiteral("Blue"), 0xFF0000},  {QStringLiteral("Fuchsia"), 0xFF00FF},
        {QStringLiteral("Aqua"), 0xFFFF00},  {QStringLiteral("White"), 0xFFFFFF},
    };
    return colors;
}

TColorCombo::TColorCombo(QWidget* parent) : QComboBox(parent)
{
    setIconSize(QSize(16, 12));
    for (const auto& [name, c] : namedColors())
        addItem(swatch(c), name, QVariant::fromValue<qint32>(c));
    m_customRow = count();
    addItem(tr("Custom..."));
    setCurrentIndex(0);
    connect(this, &QComboBox::activated, this, &TColorCombo::onActivated);
}

int TColorCombo::indexOfColor(TColor color) const
{
    for (int i = 0; i < count(); ++i)
        if (i != m_customRow && itemData(i).value<qint32>() == color)
            return i;
    return -1;
}

int TColorCombo::addCustomColor(TColor color)
{
    // Custom colours go after "Custom..." so the named part of the list stays fixed.
    const QColor q = toQColor(color);
    addItem(swatch(color), q.name(QColor::HexRgb).toUpper(), QVariant::fromValue<qint32>(color));
    return count() - 1;
}

void TColorCombo::setColor(TColor color)
{
    m_color = color;
    int i = indexOfColor(color);
    if (i < 0)
        i = addCustomColor(color);
    QSignalBlocker block(this);
    setCurrentIndex(i);
}

void TColorCombo::onActivated(int index)
{
    if (index == m_customRow) {
        const std::optional<QColor> c = prompter().chooseColor(toQColor(m_color), m_dialogTitle);
        if (!c || !c->isValid()) {
            setColor(m_color); // back to the colour we had
            return;
        }
        setColor(fromQColor(*c));
        emit colorChanged(m_color);
        return;
    }
    m_color = itemData(index).value<qint32>();
    emit colorChanged(m_color);
}
