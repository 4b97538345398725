#pragma once
#include "objects/panel_state.h"

#include <QRect>
#include <QWidget>
#include <functional>

// The panel on which placed objects live; the calendar page derives from it. It holds
// the zoom factor (1.0 = 100 %) and the flags the main window sets around saving,
// loading and printing.
class TGBasePanel : public QWidget {
    Q_OBJECT
public:
    explicit TGBasePanel(QWidget* parent = nullptr);

    float Zoom() const { return m_zoom; }
    // Rescales the panel (and later its objects) by the ratio of new to old zoom,
    // rounding halves to even.
    void SetZoom(float x);

    bool PaintSuspended = false;
    bool Loading = false;
    bool Printing = false;
    bool Zooming() const { return m_zooming; }

    bool Pointing() const { return m_pointing; }
    TLPanelState PanelState() const { return m_panelState; }
    void SetPanelState(TLPanelState state);

    // True when a placed object lies under the point (panel coordinates).
    virtual bool PointOnObject(int x, int y) const;

    // Raised after a drawing tool created an object, and whenever objects change.
    std::function<void(QRect&)> DroppedObjectEvent;
    std::function<void()> LabelChangedEvent;
    void NotifyChanged();

protected:
    float m_zoom = 1.0f;

private:
    bool m_zooming = false;
    bool m_pointing = true;
    TLPanelState m_panelState = TLPanelState::psPointing;
};
