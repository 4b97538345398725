// The host panel's mouse, keyboard, context menu and base painting.
#include "base_panel.h"

#include "objects/graphic_control.h"
#include "objects/handle.h"

#include <QFile>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

// --- The empty panel ---------------------------------------------------------------------

QRect TGBasePanel::RubberBandRect() const
{
    const int l = std::min(m_rbLeft, m_rbRight), r = std::max(m_rbLeft, m_rbRight);
    const int t = std::min(m_rbTop, m_rbBottom), b = std::max(m_rbTop, m_rbBottom);
    return QRect(l, t, r - l, b - t);
}

void TGBasePanel::PanelMouseDown(QPoint p, Qt::MouseButton button, QPoint globalPos)
{
    m_handle->ReleaseCapture();
    if (button == Qt::LeftButton) {
        m_rubberBand = true;
        m_rbLeft = m_rbRight = p.x();
        m_rbTop = m_rbBottom = p.y();
        setCursor(Qt::PointingHandCursor);
        UpdateOverlay();
    } else {
        m_menu->popup(globalPos);
    }
}

void TGBasePanel::PanelMouseMove(QPoint p)
{
    if (!m_rubberBand)
        return;
    setCursor(Qt::PointingHandCursor);
    m_rbRight = p.x();
    m_rbBottom = p.y();
    UpdateOverlay();
}

void TGBasePanel::PanelMouseUp(QPoint p, Qt::KeyboardModifiers modifiers)
{
    if (!m_rubberBand)
        return;
    if (m_rbLeft > m_rbRight) {
        m_rbRight = m_rbLeft;
        m_rbLeft = p.x();
    }
    if (m_rbTop > m_rbBottom) {
        m_rbBottom = m_rbTop;
        m_rbTop = p.y();
    }
    // GDI's rectangles: the right and bottom edges are outside.
    const QRect r(m_rbLeft, m_rbTop, m_rbRight - m_rbLeft, m_rbBottom - m_rbTop);
    m_rubberBand = false;
    UpdateOverlay();
    update(r);
    if (m_pointing) {
        SelectObjectsInRect(r, modifiers);
        m_handle->update();
        unsetCursor();
    } else {
        createFromRect(r);
    }
}

void TGBasePanel::mousePressEvent(QMouseEvent* e)
{
    PanelMouseDown(e->position().toPoint(), e->button(), e->globalPosition().toPoint());
    QWidget::mousePressEvent(e);
}

void TGBasePanel::mouseMoveEvent(QMouseEvent* e)
{
    const QPoint p = e->position().toPoint();
    if (m_handle->Capturing() && !m_rubberBand)
        m_handle->HandleMouseMove(p - m_handle->pos(), e->buttons());
    else
        PanelMouseMove(p);
    QWidget::mouseMoveEvent(e);
}

void TGBasePanel::mouseReleaseEvent(QMouseEvent* e)
{
    const QPoint p = e->position().toPoint();
    if (m_handle->Capturing() && !m_rubberBand)
        m_handle->HandleMouseUp(p - m_handle->pos(), e->button(), e->modifiers());
    else
        PanelMouseUp(p, e->modifiers());
    QWidget::mouseReleaseEvent(e);
}

// --- Objects and the sizing-handle control -----------------------------------------------

void TGBasePanel::ObjectMouseDown(TGGraphicControl* obj, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                                  QPoint pos, QPoint globalPos)
{
    // A creation tool or an unselectable object: the press starts a band on the panel.
    if (!m_pointing || obj->Unselectable()) {
        PanelMouseDown(pos + obj->pos(), button, globalPos);
        return;
    }
    if (!(modifiers & Qt::ShiftModifier))
        m_handle->ClearSelection();
    m_handle->Select(obj);
    m_handle->update();
    if (m_handle->Count() == 1 && button == Qt::RightButton && obj->ContextMenu())
        obj->ContextMenu()->popup(globalPos);
}

void TGBasePanel::ObjectMouseMove(TGGraphicControl* obj, Qt::MouseButtons buttons, Qt::KeyboardModifiers, QPoint pos)
{
    const QPoint p = pos + obj->pos();
    if (m_handle->Capturing() && !m_rubberBand) {
        m_handle->HandleMouseMove(p - m_handle->pos(), buttons);
        return;
    }
    if (m_pointing)
        obj->setCursor(Qt::PointingHandCursor);
    PanelMouseMove(p);
}

void TGBasePanel::ObjectMouseUp(TGGraphicControl* obj, Qt::MouseButton button, Qt::MouseButtons,
                                Qt::KeyboardModifiers modifiers, QPoint pos)
{
    const QPoint p = pos + obj->pos();
    if (m_handle->Capturing() && !m_rubberBand)
        m_handle->HandleMouseUp(p - m_handle->pos(), button, modifiers);
    else
        PanelMouseUp(p, modifiers);
}

void TGBasePanel::ObjectDblClick(QObject* sender, QPoint globalPos)
{
    if (sender == m_handle) {
        if (m_handle->Count() <= 1) {
            const QPoint p = mapFromGlobal(globalPos);
            for (TGGraphicControl* o : m_handle->Selection()) {
                if (!o->geometry().adjusted(-2, -2, 2, 2).contains(p))
                    continue;
                if (o->EditAction)
                    o->EditAction();
                else if (o->ContextMenu())
                    o->ContextMenu()->popup(globalPos);
                break;
            }
        }
    } else if (auto* o = qobject_cast<TGGraphicControl*>(sender); o && o->ContextMenu()) {
        o->ContextMenu()->popup(globalPos);
    }
    m_handle->SetDoubleClicked();
}

void TGBasePanel::HandleMouseDownHook(QPoint p, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                                      QPoint globalPos)
{
    if (!m_pointing) {
        PanelMouseDown(p, button, globalPos);
        return;
    }
    if (!(modifiers & Qt::ShiftModifier))
        return;
    // Shift-click on a selected object takes it out of the selection.
    QList<TGGraphicControl*> keep = m_handle->Selection();
    m_handle->ClearSelection();
    keep.removeIf([p](TGGraphicControl* o) { return o->geometry().contains(p); });
    for (TGGraphicControl* o : keep)
        m_handle->Select(o);
}

// --- Keyboard ----------------------------------------------------------------------------

void TGBasePanel::PanelKeyDown(QKeyEvent* e)
{
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    if (ctrl) {
        switch (e->key()) {
        case Qt::Key_C: SelectionClipboardAction(TClipboardAction::Copy); e->accept(); return;
        case Qt::Key_V: SelectionClipboardAction(TClipboardAction::Paste); e->accept(); return;
        case Qt::Key_X: SelectionClipboardAction(TClipboardAction::Cut); e->accept(); return;
        default: break;
        }
    } else if (e->key() == Qt::Key_Delete) {
        SelectionClipboardAction(TClipboardAction::Delete);
        e->accept();
        return;
    }
    e->ignore();
}

void TGBasePanel::keyPressEvent(QKeyEvent* e)
{
    PanelKeyDown(e);
    if (!e->isAccepted())
        QWidget::keyPressEvent(e);
}

void TGBasePanel::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    UpdateOverlay();
}

// --- Context menu ------------------------------------------------------------------------

void TGBasePanel::buildMenu()
{
    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("PanelMenu"));
    auto item = [this](const QString& caption, auto fn) { connect(m_menu->addAction(caption), &QAction::triggered, this, fn); };
    item(QStringLiteral("Bring To Front"), [this] { BringSelectionToFront(); });
    item(QStringLiteral("Send To Back"), [this] { SendSelectionToBack(); });
    m_menu->addSeparator();
    item(QStringLiteral("Cut"), [this] { SelectionClipboardAction(TClipboardAction::Cut); });
    item(QStringLiteral("Copy"), [this] { SelectionClipboardAction(TClipboardAction::Copy); });
    item(QStringLiteral("Paste"), [this] { SelectionClipboardAction(TClipboardAction::Paste); });
    m_menu->addSeparator();
    item(QStringLiteral("Delete"), [this] { SelectionClipboardAction(TClipboardAction::Delete); });
    m_menu->addSeparator();
    item(QStringLiteral("Align Left"), [this] { AlignSelection(Qt::LeftEdge); });
    item(QStringLiteral("Align Right"), [this] { AlignSelection(Qt::RightEdge); });
    item(QStringLiteral("Align Tops"), [this] { AlignSelection(Qt::TopEdge); });
    item(QStringLiteral("Align Bottoms"), [this] { AlignSelection(Qt::BottomEdge); });
    m_menu->addSeparator();
    item(QStringLiteral("Center Vertically"), [this] { CenterSelection(Qt::Vertical); });
    item(QStringLiteral("Center Horizontally"), [this] { CenterSelection(Qt::Horizontal); });
    m_menu->addSeparator();
    item(QStringLiteral("Lock All"), [this] { SetAllLocked(true); });
    item(QStringLiteral("Unlock All"), [this] { SetAllLocked(false); });
    m_menu->addSeparator();
    item(QStringLiteral("Mark All Selectable"), [this] { SetAllUnselectable(false); });
    item(QStringLiteral("Mark All Unselectable"), [this] { SetAllUnselectable(true); });
    item(QStringLiteral("Select All"), [this] { SelectAll(); });
    m_menu->addSeparator();
    item(QStringLiteral("Font"), [this] { ChooseSelectionFont(); });
    connect(m_menu, &QMenu::aboutToShow, this, &TGBasePanel::updateMenu);
    updateMenu();
}

QAction* TGBasePanel::PanelMenuItem(const QString& caption) const
{
    for (QAction* a : m_menu->actions())
        if (a->text() == caption)
            return a;
    return nullptr;
}

void TGBasePanel::updateMenu()
{
    const bool selected = m_handle->Count() > 0;
    const bool anyObject = !Objects().isEmpty();
    for (const char* c : {"Bring To Front", "Send To Back", "Cut", "Copy", "Delete", "Align Left", "Align Right",
                          "Align Tops", "Align Bottoms", "Center Vertically", "Center Horizontally", "Font"})
        PanelMenuItem(QString::fromLatin1(c))->setEnabled(selected);
    PanelMenuItem(QStringLiteral("Paste"))->setEnabled(QFile::exists(ClipboardFileName));
    PanelMenuItem(QStringLiteral("Lock All"))->setEnabled(anyObject);
    PanelMenuItem(QStringLiteral("Unlock All"))->setEnabled(anyObject);
}

// --- Base painting -----------------------------------------------------------------------

void TGBasePanel::paintEvent(QPaintEvent*)
{
    if (PaintSuspended)
        return;
    QImage canvas(size(), QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QPainter p(&canvas);
    QPainterPath shape;
    const QRectF whole(0, 0, width() + 1, height() + 1);
    switch (m_shape) {
    case TLabelShapeType::lsRectangle: shape.addRect(whole); break;
    case TLabelShapeType::lsRoundRect: shape.addRoundedRect(whole, 12, 12); break;
    case TLabelShapeType::lsEllipse: shape.addEllipse(whole); break;
    }
    for (const QImage* pic : {&Picture, &ColorPicture}) {
        if (pic->isNull())
            continue;
        p.save();
        p.setClipPath(shape);
        p.drawImage(rect(), *pic);
        p.restore();
    }
    if (DrawOutline) {
        p.setPen(QPen(Qt::black, 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawPath(shape);
    }
    p.end();
    if (m_showGrid) {
        // A green dot wherever x and y are both 2 modulo the spacing.
        const int step = m_gridSize == TGridSize::gs4x4 ? 4 : 8;
        const QRgb green = qRgb(0, 128, 0);
        for (int y = 2; y < canvas.height(); y += step)
            for (int x = 2; x < canvas.width(); x += step)
                if (shape.contains(QPointF(x + 0.5, y + 0.5)))
                    canvas.setPixel(x, y, green);
    }
    QPainter(this).drawImage(0, 0, canvas);
}
