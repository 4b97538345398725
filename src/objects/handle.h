#pragma once
#include "objects/handle_geometry.h"
#include "platform/win_color.h"

#include <QList>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>

class TGBasePanel;
class TGGraphicControl;

// The sizing-handle control: one per host panel, a transparent child widget raised
// above the objects that covers the selection's bounding box. It holds the selected
// objects in selection order, draws their selection squares, and moves or resizes them
// with the mouse (eight handles, zone 0 moves) or the arrow keys.
//
// Windows mouse capture becomes a flag: while it is set, the host forwards the mouse
// moves and releases that objects and the panel receive to this control.
class TGHandle : public QWidget {
    Q_OBJECT
public:
    explicit TGHandle(TGBasePanel* panel);

    TColor Color = 0;                 // squares of a single selection
    TColor SecondaryColor = 0x808080; // squares of a multiple selection
    // While set nothing is dragged, sized or re-ordered; cleared with the selection.
    bool Locked = false;

    int GridX() const { return m_gridX; }
    int GridY() const { return m_gridY; }
    void SetGridX(int v);
    void SetGridY(int v);
    bool SnapToGrid() const { return m_activeX > 1 || m_activeY > 1; }
    void SetSnapToGrid(bool on);

    void Select(TGGraphicControl* obj);
    void Deselect(TGGraphicControl* obj);
    void ClearSelection();
    int IndexOf(const TGGraphicControl* obj) const;
    int Count() const;
    TGGraphicControl* Item(int i) const;
    QList<TGGraphicControl*> Selection() const;
    void BringSelectionToFront();
    void SendSelectionToBack();
    void Refit();

    // The control's own bounds setter: every selected, unlocked object moves by the same
    // offset and grows by the same amount; then the control takes the bounds.
    void SetHandleBounds(const QRect& r);

    // The mouse steps, in control coordinates.
    void HandleMouseDown(QPoint p, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint globalPos);
    void HandleMouseMove(QPoint p, Qt::MouseButtons buttons);
    void HandleMouseUp(QPoint p, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    bool Capturing() const { return m_capturing; }
    void ReleaseCapture() { m_capturing = false; }
    bool Dragging() const { return m_dragging; }
    bool Nudging() const { return m_nudging; }
    int Zone() const { return m_zone; }
    void SetDoubleClicked() { m_doubleClick = true; }

    // What the panel's overlay draws (panel coordinates).
    std::optional<QRect> DragOutline() const { return m_dragOutline; }
    std::optional<QRect> NudgeOutline() const;

signals:
    void selectionChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    qint64 now() const;
    QList<QRect> selectedBounds() const;
    TGGraphicControl* selectedAt(QPoint panelPoint) const;
    void setZoneCursor(int zone);
    void setDragOutline(std::optional<QRect> bounds);
    void passToPanel(QPoint p, Qt::MouseButton button, bool press, Qt::KeyboardModifiers modifiers,
                     QPoint globalPos);

    TGBasePanel* m_panel;
    QList<QPointer<TGGraphicControl>> m_selection;
    int m_gridX = 8, m_gridY = 8;
    int m_activeX = 1, m_activeY = 1;
    qint64 m_pressTick = 0;
    QPoint m_anchor;
    int m_zone = 0;
    bool m_dragging = false;
    bool m_capturing = false;
    bool m_doubleClick = false;
    bool m_nudging = false;
    handlegeom::Outline m_nudge;
    std::optional<QRect> m_dragOutline;
};
