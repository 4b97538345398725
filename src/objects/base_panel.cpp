#include "base_panel.h"

#include "platform/numeric.h"

#include <QCoreApplication>

TGBasePanel::TGBasePanel(QWidget* parent) : QWidget(parent)
{
    setAutoFillBackground(false);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
}

void TGBasePanel::SetZoom(float x)
{
    if (x == m_zoom)
        return;
    m_zooming = true;
    if (m_zoom * 10 == 0)
        m_zoom = 1.0f;
    const float f = x / m_zoom;
    resize(roundHalfEven(width() * double(f)), roundHalfEven(height() * double(f)));
    m_zoom = x;
    QCoreApplication::processEvents();
    m_zooming = false;
}

void TGBasePanel::SetPanelState(TLPanelState state)
{
    if (state == m_panelState)
        return;
    m_panelState = state;
    m_pointing = state == TLPanelState::psPointing;
    if (m_pointing)
        unsetCursor();
    else
        setCursor(Qt::DragMoveCursor);
}

bool TGBasePanel::PointOnObject(int, int) const { return false; }

void TGBasePanel::NotifyChanged()
{
    if (m_zooming || Loading || !LabelChangedEvent)
        return;
    LabelChangedEvent();
}
