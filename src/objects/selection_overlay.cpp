#include "selection_overlay.h"

#include "objects/base_panel.h"
#include "objects/handle.h"

#include <QPainter>

SelectionOverlay::SelectionOverlay(TGBasePanel* panel) : QWidget(panel), m_panel(panel)
{
    setObjectName(QStringLiteral("SelectionOverlay"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    hide();
}

QList<QRect> SelectionOverlay::outlines() const
{
    QList<QRect> out;
    if (m_panel->RubberBandActive())
        out << m_panel->RubberBandRect();
    if (const auto r = m_panel->Handle()->DragOutline())
        out << *r;
    if (const auto r = m_panel->Handle()->NudgeOutline())
        out << *r;
    return out;
}

void SelectionOverlay::refresh()
{
    if (outlines().isEmpty()) {
        hide();
        return;
    }
    setGeometry(m_panel->rect());
    show();
    raise();
    update();
}

void SelectionOverlay::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    // White XOR inverts what lies below, so the outline shows on any background.
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    QPen pen(Qt::white, 1, Qt::DotLine);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    for (const QRect& r : outlines())
        p.drawRect(r.adjusted(0, 0, -1, -1).normalized());
}
