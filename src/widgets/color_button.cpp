#include "color_button.h"

#include "color_palette.h"
#include "platform/prompter.h"

#include <QGuiApplication>
#include <algorithm>
#include <QPainter>
#include <QScreen>

TColorButton::TColorButton(QWidget* parent) : TColorButton(QString(), parent) {}

TColorButton::TColorButton(const QString& text, QWidget* parent) : QPushButton(text, parent)
{
    setIconSize(QSize(28, 14));
    updateSwatch();
    connect(this, &QPushButton::clicked, this, &TColorButton::showPalette);
}

void TColorButton::setColor(TColor color)
{
    if (color == m_color)
        return;
    m_color = color;
    updateSwatch();
}

void TColorButton::updateSwatch()
{
    const QSize s = iconSize();
    QPixmap pm(s);
    pm.fill(toQColor(m_color));
    QPainter p(&pm);
    p.setPen(QColor(64, 64, 64));
    p.drawRect(0, 0, s.width() - 1, s.height() - 1);
    p.end();
    setIcon(QIcon(pm));
}

TColorPalette* TColorButton::palettePopup()
{
    if (!m_palette) {
        m_palette = new TColorPalette(this);
        connect(m_palette, &TColorPalette::colorPicked, this, &TColorButton::pickColor);
        connect(m_palette, &TColorPalette::otherRequested, this, &TColorButton::chooseOtherColor);
    }
    return m_palette;
}

void TColorButton::showPalette()
{
    TColorPalette* pal = palettePopup();
    pal->setCurrentColor(m_color);
    pal->adjustSize();
    QPoint pos = mapToGlobal(QPoint(0, height()));
    if (const QScreen* scr = screen()) {
        const QRect area = scr->availableGeometry();
        if (pos.y() + pal->height() > area.bottom())
            pos.setY(mapToGlobal(QPoint(0, 0)).y() - pal->height());
        pos.setX(std::clamp(pos.x(), area.left(), std::max(area.left(), area.right() - pal->width())));
    }
    pal->move(pos);
    pal->show();
}

void TColorButton::pickColor(TColor color)
{
    setColor(color);
    emit colorChanged(m_color);
}

void TColorButton::chooseOtherColor()
{
    const std::optional<QColor> c = prompter().chooseColor(toQColor(m_color), m_dialogTitle);
    if (c && c->isValid())
        pickColor(fromQColor(*c));
}
