#include "color_palette.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int kColumns = 4;
constexpr int kSwatchSize = 20;

QIcon swatchIcon(TColor color, bool current)
{
    QPixmap pm(kSwatchSize, kSwatchSize);
    pm.fill(toQColor(color));
    QPainter p(&pm);
    p.setPen(QColor(128, 128, 128));
    p.drawRect(0, 0, kSwatchSize - 1, kSwatchSize - 1);
    if (current) {
        p.setPen(QPen(QColor(0, 0, 0), 2));
        p.drawRect(1, 1, kSwatchSize - 3, kSwatchSize - 3);
        p.setPen(QPen(QColor(255, 255, 255), 1));
        p.drawRect(3, 3, kSwatchSize - 7, kSwatchSize - 7);
    }
    return QIcon(pm);
}
} // namespace

const std::vector<TColor>& TColorPalette::standardColors()
{
    // Windows colour values (red in the low byte).
    static const std::vector<TColor> colors = {
        0x000000, 0x000080, 0x008000, 0x008080, // black, maroon, green, olive
        0x800000, 0x800080, 0x808000, 0x808080, // navy, purple, teal, gray
        0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF, // silver, red, lime, yellow
        0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF, // blue, fuchsia, aqua, white
        0xC0DCC0, 0xF0CAA6, 0xF0FBFF, 0xA4A0A0, // money green, sky blue, cream, medium gray
    };
    return colors;
}

TColorPalette::TColorPalette(QWidget* parent) : QFrame(parent, Qt::Popup)
{
    setFrameShape(QFrame::StyledPanel);
    setAttribute(Qt::WA_DeleteOnClose, false);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);
    outer->setSpacing(4);
    auto* grid = new QGridLayout;
    grid->setSpacing(2);
    const auto& colors = standardColors();
    for (int i = 0; i < int(colors.size()); ++i) {
        auto* b = new QToolButton(this);
        b->setObjectName(QStringLiteral("swatch_%1").arg(i));
        b->setAutoRaise(true);
        b->setIconSize(QSize(kSwatchSize, kSwatchSize));
        b->setIcon(swatchIcon(colors[size_t(i)], false));
        b->setFocusPolicy(Qt::StrongFocus);
        const TColor c = colors[size_t(i)];
        connect(b, &QToolButton::clicked, this, [this, c] {
            hide();
            emit colorPicked(c);
        });
        grid->addWidget(b, i / kColumns, i % kColumns);
        m_swatches.push_back(b);
    }
    outer->addLayout(grid);
    m_other = new QToolButton(this);
    m_other->setObjectName(QStringLiteral("otherColor"));
    m_other->setText(tr("Other..."));
    m_other->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_other->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(m_other, &QToolButton::clicked, this, [this] {
        hide();
        emit otherRequested();
    });
    outer->addWidget(m_other);
}

void TColorPalette::setCurrentColor(TColor color)
{
    m_current = color;
    const auto& colors = standardColors();
    for (size_t i = 0; i < colors.size(); ++i)
        m_swatches[i]->setIcon(swatchIcon(colors[i], colors[i] == color));
}

QToolButton* TColorPalette::swatch(int index) const
{
    return index >= 0 && index < int(m_swatches.size()) ? m_swatches[size_t(index)] : nullptr;
}

void TColorPalette::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    QFrame::keyPressEvent(event);
}
