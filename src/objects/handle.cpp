#include "handle.h"

#include "objects/base_panel.h"
#include "objects/graphic_control.h"

#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

using namespace handlegeom;

TGHandle::TGHandle(TGBasePanel* panel) : QWidget(panel), m_panel(panel)
{
    setObjectName(QStringLiteral("SizingHandle"));
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    resize(24, 24);
    setEnabled(false);
    hide();
}

qint64 TGHandle::now() const { return m_panel->Clock(); }

void TGHandle::SetGridX(int v)
{
    v = std::clamp(v, 1, 32);
    if (v == m_gridX)
        return;
    m_gridX = m_activeX = v;
    update();
}

void TGHandle::SetGridY(int v)
{
    v = std::clamp(v, 1, 32);
    if (v == m_gridY)
        return;
    m_gridY = m_activeY = v;
    update();
}

void TGHandle::SetSnapToGrid(bool on)
{
    m_activeX = on ? m_gridX : 1;
    m_activeY = on ? m_gridY : 1;
}

// --- Selection ---------------------------------------------------------------------------

QList<TGGraphicControl*> TGHandle::Selection() const
{
    QList<TGGraphicControl*> out;
    for (const QPointer<TGGraphicControl>& o : m_selection)
        if (o)
            out << o.data();
    return out;
}

int TGHandle::Count() const { return int(Selection().size()); }

int TGHandle::IndexOf(const TGGraphicControl* obj) const { return int(Selection().indexOf(obj)); }

TGGraphicControl* TGHandle::Item(int i) const
{
    const QList<TGGraphicControl*> sel = Selection();
    return i >= 0 && i < sel.size() ? sel[i] : nullptr;
}

QList<QRect> TGHandle::selectedBounds() const
{
    QList<QRect> out;
    for (TGGraphicControl* o : Selection())
        out << o->geometry();
    return out;
}

TGGraphicControl* TGHandle::selectedAt(QPoint panelPoint) const
{
    for (TGGraphicControl* o : Selection())
        if (o->geometry().adjusted(-2, -2, 2, 2).contains(panelPoint))
            return o;
    return nullptr;
}

void TGHandle::Select(TGGraphicControl* obj)
{
    if (obj && obj->Unselectable())
        return;
    // Lets a press that selects an object turn straight into a drag.
    m_pressTick = now();
    if (!obj || IndexOf(obj) >= 0)
        return;
    setCursor(Qt::OpenHandCursor);
    if (Count() == 0) {
        m_dragOutline.reset();
        setEnabled(true);
        show();
        setGeometry(selectionBox({obj->geometry()}));
    } else {
        setGeometry(selectionBox({QRect(x() + 2, y() + 2, width() - 5, height() - 5), obj->geometry()}));
    }
    m_selection.removeAll(nullptr);
    m_selection << obj;
    m_zone = zMove;
    raise();
    m_capturing = true;
    if (isVisible() && isEnabled())
        setFocus();
    m_panel->UpdateOverlay();
    update();
    emit selectionChanged();
}

void TGHandle::Deselect(TGGraphicControl* obj)
{
    const qsizetype before = m_selection.size();
    m_selection.removeAll(obj);
    m_selection.removeAll(nullptr);
    if (m_selection.size() == before)
        return;
    if (!m_selection.isEmpty()) {
        setGeometry(selectionBox(selectedBounds()));
    } else {
        Locked = false;
        setEnabled(false);
        hide();
        m_dragOutline.reset();
        m_dragging = false;
        m_capturing = false;
        m_panel->UpdateOverlay();
    }
    update();
    emit selectionChanged();
}

void TGHandle::ClearSelection()
{
    const bool had = !m_selection.isEmpty();
    m_selection.clear();
    Locked = false;
    hide();
    resize(24, 24);
    setEnabled(false);
    m_dragOutline.reset();
    m_dragging = false;
    m_capturing = false;
    m_nudging = false;
    m_panel->UpdateOverlay();
    if (had)
        emit selectionChanged();
}

void TGHandle::BringSelectionToFront()
{
    if (m_selection.isEmpty() || Locked)
        return;
    for (TGGraphicControl* o : Selection())
        o->raise();
    raise();
    m_panel->UpdateOverlay();
    if (isVisible() && isEnabled())
        setFocus();
}

void TGHandle::SendSelectionToBack()
{
    if (m_selection.isEmpty() || Locked)
        return;
    for (TGGraphicControl* o : Selection())
        o->lower();
    raise();
    m_panel->UpdateOverlay();
    if (isVisible() && isEnabled())
        setFocus();
}

void TGHandle::Refit()
{
    if (Count() == 0)
        return;
    raise();
    setGeometry(refitBox(selectedBounds()));
    m_panel->UpdateOverlay();
    update();
}

void TGHandle::SetHandleBounds(const QRect& r)
{
    const QRect old = geometry();
    QList<std::pair<TGGraphicControl*, QRect>> changes;
    for (TGGraphicControl* o : Selection())
        if (!o->Locked())
            changes.append({o, QRect(r.x() + o->x() - old.x(), r.y() + o->y() - old.y(),
                                     r.width() + o->width() - old.width(), r.height() + o->height() - old.height())});
    m_panel->MoveObjects(changes);
    setGeometry(r);
}

std::optional<QRect> TGHandle::NudgeOutline() const
{
    if (!m_nudging)
        return std::nullopt;
    return m_nudge.toRect();
}

// --- Mouse -------------------------------------------------------------------------------

void TGHandle::setZoneCursor(int zone)
{
    switch (zone) {
    case zTopLeft:
    case zBottomRight:
        setCursor(Qt::SizeFDiagCursor);
        break;
    case zTopRight:
    case zBottomLeft:
        setCursor(Qt::SizeBDiagCursor);
        break;
    case zTop:
    case zBottom:
        setCursor(Qt::SizeVerCursor);
        break;
    case zLeft:
    case zRight:
        setCursor(Qt::SizeHorCursor);
        break;
    default:
        break;
    }
}

void TGHandle::setDragOutline(std::optional<QRect> bounds)
{
    if (bounds) {
        const Outline o = outlineFor(*bounds);
        m_dragOutline = o.toRect();
    } else {
        m_dragOutline.reset();
    }
    m_panel->UpdateOverlay();
}

void TGHandle::passToPanel(QPoint p, Qt::MouseButton button, bool press, Qt::KeyboardModifiers modifiers,
                           QPoint globalPos)
{
    // Nothing windowed lies between the panel and this control, so the panel gets it.
    if (press)
        m_panel->PanelMouseDown(p + pos(), button, globalPos);
    else
        m_panel->PanelMouseUp(p + pos(), modifiers);
}

void TGHandle::HandleMouseDown(QPoint p, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint globalPos)
{
    m_pressTick = now();
    const QPoint panelPoint = p + pos();
    TGGraphicControl* under = selectedAt(panelPoint);
    if (m_panel->Pointing() && button == Qt::LeftButton && (under || Count() > 0)) {
        if (!Locked) {
            m_anchor = p;
            m_dragging = true;
        }
        m_panel->HandleMouseDownHook(panelPoint, button, modifiers, globalPos);
    } else if (button == Qt::RightButton) {
        if (under && Count() == 1 && under->ContextMenu())
            under->ContextMenu()->popup(globalPos);
        else if (m_panel->PanelMenu())
            m_panel->PanelMenu()->popup(globalPos);
    } else {
        unsetCursor();
        passToPanel(p, button, true, modifiers, globalPos);
    }
}

void TGHandle::HandleMouseMove(QPoint p, Qt::MouseButtons buttons)
{
    if (m_doubleClick) {
        m_dragging = false;
        m_doubleClick = false;
    }
    const bool left = buttons & Qt::LeftButton;
    if (!m_panel->Pointing()) {
        setCursor(Qt::DragMoveCursor);
    } else if (!left || m_dragging || Locked) {
        if (!left)
            m_capturing = false;
        int hit = zMove;
        if (!m_dragging)
            setCursor(Qt::OpenHandCursor);
        if (Count() == 1) {
            hit = zoneAt(p, size());
            setZoneCursor(hit);
        }
        if (Locked)
            setCursor(Qt::ForbiddenCursor);
        if (m_dragging) {
            const QPoint c = clampToPanel(p, pos(), m_panel->size());
            setDragOutline(resizedRect(geometry(), m_zone, c - m_anchor, m_activeX, m_activeY));
        } else {
            m_zone = hit;
        }
    } else if (m_pressTick > 0 && now() - m_pressTick > 10) {
        m_anchor = p;
        m_dragging = true;
    }
    m_panel->PanelMouseMove(p + pos());
}

void TGHandle::HandleMouseUp(QPoint p, Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    // A quick click moves nothing, even if the pointer moved.
    if (m_dragging && now() - m_pressTick < 150)
        m_anchor = p;
    m_pressTick = 0;
    if (!m_dragging || button != Qt::LeftButton) {
        passToPanel(p, button, false, modifiers, QPoint());
    } else {
        const QPoint c = clampToPanel(p, pos(), m_panel->size());
        if (c != m_anchor) {
            update();
            SetHandleBounds(resizedRect(geometry(), m_zone, c - m_anchor, m_activeX, m_activeY));
        }
        setDragOutline(std::nullopt);
        if (isVisible() && isEnabled())
            setFocus();
        m_dragging = false;
        unsetCursor();
        m_capturing = false;
        m_panel->PanelMouseUp(p + pos(), modifiers);
    }
    update();
}

void TGHandle::mousePressEvent(QMouseEvent* e)
{
    HandleMouseDown(e->position().toPoint(), e->button(), e->modifiers(), e->globalPosition().toPoint());
}

void TGHandle::mouseMoveEvent(QMouseEvent* e) { HandleMouseMove(e->position().toPoint(), e->buttons()); }

void TGHandle::mouseReleaseEvent(QMouseEvent* e)
{
    HandleMouseUp(e->position().toPoint(), e->button(), e->modifiers());
}

void TGHandle::mouseDoubleClickEvent(QMouseEvent* e)
{
    m_doubleClick = true;
    m_panel->ObjectDblClick(this, e->globalPosition().toPoint());
}

void TGHandle::leaveEvent(QEvent*)
{
    if (!m_dragging)
        setCursor(m_panel->Pointing() ? Qt::ArrowCursor : Qt::DragMoveCursor);
}

// --- Keyboard ----------------------------------------------------------------------------

void TGHandle::keyPressEvent(QKeyEvent* e)
{
    std::optional<NudgeKey> key;
    switch (e->key()) {
    case Qt::Key_Left: key = NudgeKey::Left; break;
    case Qt::Key_Up: key = NudgeKey::Up; break;
    case Qt::Key_Right: key = NudgeKey::Right; break;
    case Qt::Key_Down: key = NudgeKey::Down; break;
    default: break;
    }
    if (key && Count() > 0) {
        if (!m_nudging) {
            m_nudging = true;
            m_nudge = outlineFor(geometry());
        }
        const bool sizing = (e->modifiers() & Qt::ShiftModifier) && Count() == 1;
        m_nudge = nudged(m_nudge, *key, sizing, m_panel->size());
        m_panel->UpdateOverlay();
        e->accept();
    }
    m_panel->PanelKeyDown(e);
    if (key)
        e->accept();
}

void TGHandle::keyReleaseEvent(QKeyEvent* e)
{
    // Holding a key repeats presses; the nudge ends when the key comes up for real.
    if (e->isAutoRepeat() || !m_nudging)
        return;
    m_nudging = false;
    m_panel->UpdateOverlay();
    SetHandleBounds(boundsFor(m_nudge));
    update();
    m_panel->update();
}

// --- Painting ----------------------------------------------------------------------------

void TGHandle::paintEvent(QPaintEvent*)
{
    if (m_panel->PaintSuspended)
        return;
    const QList<TGGraphicControl*> sel = Selection();
    if (sel.isEmpty())
        return;
    QPainter p(this);
    const bool single = sel.size() == 1;
    const QColor c = toQColor(single ? Color : SecondaryColor);
    for (TGGraphicControl* o : sel)
        for (const QRect& sq : selectionSquares(o->geometry(), single))
            p.fillRect(sq.translated(-pos()), c);
}
