#include "base_panel.h"

#include "objects/graphic_control.h"
#include "objects/handle.h"
#include "objects/object_filer.h"
#include "objects/selection_overlay.h"
#include "platform/numeric.h"
#include "platform/program_folder.h"
#include "platform/font_choice.h"
#include "platform/prompter.h"
#include "platform/shell_helpers.h"
#include "stream/stream_error.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>

namespace {
qint64 monotonicMs()
{
    static QElapsedTimer timer;
    if (!timer.isValid())
        timer.start();
    return timer.elapsed() + 1; // 0 means "never" to the callers
}
} // namespace

TGBasePanel::TGBasePanel(QWidget* parent) : QWidget(parent)
{
    setAutoFillBackground(false);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setFocusPolicy(Qt::ClickFocus);
    Clock = monotonicMs;
    PanelFont = TObjectFont::withSize(QStringLiteral("Arial"), 8, clWindowText, TGGraphicControl::ppi());
    m_handle = new TGHandle(this);
    m_overlay = new SelectionOverlay(this);
    ClipboardFileName = UserDataFolder() + QStringLiteral("Clipbrd.tmp");
    TempFileName = UserDataFolder() + QStringLiteral("TempFile.tmp");
    buildMenu();
}

TGBasePanel::~TGBasePanel()
{
    QFile::remove(ClipboardFileName);
    QFile::remove(TempFileName);
}

// --- Zoom, tool state, grid --------------------------------------------------------------

QSize TGBasePanel::ZoomedSize(QSize size, float factor)
{
    return {roundHalfEven(size.width() * double(factor)), roundHalfEven(size.height() * double(factor))};
}

void TGBasePanel::SetZoom(float x)
{
    if (x == m_zoom)
        return;
    m_zooming = true;
    if (m_zoom * 10 == 0)
        m_zoom = 1.0f;
    resize(ZoomedSize(size(), x / m_zoom));
    m_zoom = x;
    for (TGGraphicControl* o : Objects())
        o->ZoomTo(x);
    QCoreApplication::processEvents();
    m_zooming = false;
    emit zoomChanged();
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

void TGBasePanel::SetShape(TLabelShapeType s)
{
    m_shape = s;
    update();
}

void TGBasePanel::SetGridSize(TGridSize g)
{
    if (g == m_gridSize)
        return;
    m_gridSize = g;
    const int spacing = g == TGridSize::gs4x4 ? 4 : 8;
    m_handle->SetGridX(spacing);
    m_handle->SetGridY(spacing);
    update();
}

void TGBasePanel::SetShowGrid(bool on)
{
    m_showGrid = on;
    update();
}

void TGBasePanel::SetSnapToGrid(bool on)
{
    if (on == m_snapToGrid)
        return;
    m_snapToGrid = on;
    if (on) {
        const int spacing = m_gridSize == TGridSize::gs4x4 ? 4 : 8;
        m_handle->SetGridX(spacing);
        m_handle->SetGridY(spacing);
    }
    m_handle->SetSnapToGrid(on);
}

// --- Objects -----------------------------------------------------------------------------

QList<TGGraphicControl*> TGBasePanel::Objects() const
{
    QList<TGGraphicControl*> out;
    for (QObject* c : children())
        if (auto* o = qobject_cast<TGGraphicControl*>(c))
            out << o;
    return out;
}

TGGraphicControl* TGBasePanel::FindObject(const QString& name) const
{
    for (TGGraphicControl* o : Objects())
        if (o->objectName() == name)
            return o;
    return nullptr;
}

bool TGBasePanel::PointOnObject(int x, int y) const
{
    for (TGGraphicControl* o : Objects())
        if (o->geometry().contains(x, y))
            return true;
    return false;
}

QString TGBasePanel::UniqueObjectName(const QString& prefix) const
{
    // Past 1000 the count goes on, so an object never ends up without a name.
    for (int n = 1;; ++n) {
        const QString name = prefix + QString::number(n);
        if (!FindObject(name))
            return name;
    }
}

QString TGBasePanel::StreamObjectName() const
{
    for (int n = 0;; ++n) {
        const QString name = QStringLiteral("Component") + QString::number(n);
        if (!FindObject(name))
            return name;
    }
}

void TGBasePanel::PlaceObject(TGGraphicControl* obj, QRect r)
{
    obj->hide();
    obj->setParent(this);
    obj->setObjectName(UniqueObjectName(QStringLiteral("Special")));
    obj->setGeometry(r.left(), r.top(), std::max(10, r.width()), std::max(15, r.height()));
    HookObjectEvents(obj);
    obj->SetZoomFactor(m_zoom);
    obj->show();
    m_handle->raise();
    UpdateOverlay();
    ObjectsCreated({obj});
    NotifyChanged();
    QCoreApplication::processEvents();
}

void TGBasePanel::HookObjectEvents(TGGraphicControl* obj)
{
    if (obj)
        obj->Hooked = true;
}

void TGBasePanel::HookAllObjects()
{
    const QList<TGGraphicControl*> objs = Objects();
    for (auto it = objs.rbegin(); it != objs.rend(); ++it) {
        HookObjectEvents(*it);
        (*it)->SetZoomFactor(m_zoom);
    }
}

void TGBasePanel::ClearObjects()
{
    m_handle->ClearSelection();
    const QList<TGGraphicControl*> objs = Objects();
    for (auto it = objs.rbegin(); it != objs.rend(); ++it)
        delete *it;
}

void TGBasePanel::SelectObjectsInRect(const QRect& r, Qt::KeyboardModifiers modifiers)
{
    const bool shift = modifiers & Qt::ShiftModifier;
    QList<TGGraphicControl*> list = shift ? m_handle->Selection() : QList<TGGraphicControl*>();
    m_handle->ClearSelection();
    const QList<TGGraphicControl*> objs = Objects();
    // GDI rectangles meet when they share any pixel; an empty band (a click) counts as
    // its one pixel.
    const QRect band = r.isEmpty() ? QRect(r.topLeft(), QSize(1, 1)) : r;
    for (auto it = objs.rbegin(); it != objs.rend(); ++it) {
        TGGraphicControl* o = *it;
        if (!o->geometry().intersects(band))
            continue;
        if (shift && list.contains(o))
            list.removeAll(o);
        else
            list.append(o);
    }
    for (TGGraphicControl* o : list)
        m_handle->Select(o);
}

void TGBasePanel::SelectAll()
{
    m_handle->ClearSelection();
    for (TGGraphicControl* o : Objects())
        m_handle->Select(o);
}

// --- Funnels -----------------------------------------------------------------------------

void TGBasePanel::MoveObjects(const QList<std::pair<TGGraphicControl*, QRect>>& changes)
{
    QStringList names;
    QList<QRect> before, after;
    for (const auto& [obj, r] : changes) {
        if (!obj || obj->geometry() == r)
            continue;
        names << obj->objectName();
        before << obj->geometry();
        obj->setGeometry(r);
        after << obj->geometry();
    }
    if (!names.isEmpty())
        emit objectBoundsChanged(names, before, after);
}

void TGBasePanel::EditObject(TGGraphicControl* obj, const std::function<void()>& change)
{
    const QByteArray before = obj->Record();
    const QString name = obj->objectName();
    QPointer<TGGraphicControl> guard(obj);
    change();
    if (!guard)
        return;
    const QByteArray after = obj->Record();
    if (after == before)
        return;
    emit objectRecordChanged(name, before, after);
    // Some setters (angle, shadow) raise no notification of their own; every stored
    // change must still mark the document modified.
    NotifyChanged();
}

void TGBasePanel::DestroyObject(TGGraphicControl* obj)
{
    if (!obj)
        return;
    emit objectAboutToBeDeleted(obj->objectName(), obj->Record(), int(children().indexOf(obj)));
    m_handle->Deselect(obj);
    // Detached at once so it no longer counts as an object; freed once its menu (which
    // may be what asked for this) has returned.
    obj->hide();
    obj->setParent(nullptr);
    obj->deleteLater();
}

void TGBasePanel::ObjectsCreated(const QList<TGGraphicControl*>& objects)
{
    QStringList names;
    for (TGGraphicControl* o : objects)
        names << o->objectName();
    if (!names.isEmpty())
        emit objectsCreated(names);
}

void TGBasePanel::ObjectOrderChanged()
{
    UpdateOverlay();
    emit objectOrderChanged();
}

void TGBasePanel::NotifyChanged()
{
    if (m_zooming || Loading)
        return;
    emit objectsChanged();
    if (LabelChangedEvent)
        LabelChangedEvent();
}

void TGBasePanel::RefitHandle() { m_handle->Refit(); }

void TGBasePanel::UpdateOverlay() { m_overlay->refresh(); }

// --- Commands on the selection -----------------------------------------------------------

void TGBasePanel::AlignSelection(Qt::Edge edge)
{
    const QList<TGGraphicControl*> sel = m_handle->Selection();
    if (sel.isEmpty())
        return;
    NotifyChanged();
    int m = 0;
    switch (edge) {
    case Qt::LeftEdge:
        m = width();
        for (TGGraphicControl* o : sel)
            m = std::min(m, o->x());
        break;
    case Qt::TopEdge:
        m = height();
        for (TGGraphicControl* o : sel)
            m = std::min(m, o->y());
        break;
    case Qt::RightEdge:
        for (TGGraphicControl* o : sel)
            m = std::max(m, o->x() + o->width());
        break;
    case Qt::BottomEdge:
        for (TGGraphicControl* o : sel)
            m = std::max(m, o->y() + o->height());
        break;
    }
    QList<std::pair<TGGraphicControl*, QRect>> changes;
    for (TGGraphicControl* o : sel) {
        QRect r = o->geometry();
        switch (edge) {
        case Qt::LeftEdge: r.moveLeft(m); break;
        case Qt::TopEdge: r.moveTop(m); break;
        case Qt::RightEdge: r.moveLeft(m - o->width()); break;
        case Qt::BottomEdge: r.moveTop(m - o->height()); break;
        }
        changes.append({o, r});
    }
    MoveObjects(changes);
    update();
}

void TGBasePanel::CenterSelection(Qt::Orientation orientation)
{
    for (TGGraphicControl* o : m_handle->Selection()) {
        if (orientation == Qt::Vertical)
            o->CenterVertically();
        else
            o->CenterHorizontally();
    }
    update();
}

void TGBasePanel::SetAllLocked(bool locked)
{
    for (TGGraphicControl* o : Objects())
        if (o->Locked() != locked)
            EditObject(o, [o, locked] { o->SetLocked(locked); });
}

void TGBasePanel::SetAllUnselectable(bool unselectable)
{
    for (TGGraphicControl* o : Objects())
        EditObject(o, [o, unselectable] { o->SetUnselectable(unselectable); });
}

void TGBasePanel::ChooseSelectionFont()
{
    const QList<TGGraphicControl*> sel = m_handle->Selection();
    if (sel.isEmpty())
        return;
    const auto chosen = ChooseStoredFont(PanelFont.toQFont(1.0f, TGGraphicControl::ppi()), QStringLiteral("Font"));
    if (!chosen)
        return;
    for (TGGraphicControl* o : sel)
        EditObject(o, [o, &chosen] { o->AssignFont(*chosen); });
    update();
}

void TGBasePanel::BringSelectionToFront()
{
    if (m_handle->Count() == 0)
        return;
    m_handle->BringSelectionToFront();
    ObjectOrderChanged();
    NotifyChanged();
}

void TGBasePanel::SendSelectionToBack()
{
    if (m_handle->Count() == 0)
        return;
    m_handle->SendSelectionToBack();
    m_handle->ClearSelection();
    ObjectOrderChanged();
    NotifyChanged();
}

void TGBasePanel::KeepObjectsOnPage()
{
    m_handle->ClearSelection();
    QList<std::pair<TGGraphicControl*, QRect>> changes;
    for (TGGraphicControl* o : Objects()) {
        QRect r = o->geometry();
        if (r.top() > height() - 10)
            r.moveTop(height() - 10);
        if (r.left() > width() - 20)
            r.moveLeft(width() - 20);
        changes.append({o, r});
    }
    MoveObjects(changes);
}

void TGBasePanel::RemoveStrayObjects()
{
    m_handle->ClearSelection();
    const QList<TGGraphicControl*> objs = Objects();
    for (auto it = objs.rbegin(); it != objs.rend(); ++it) {
        TGGraphicControl* o = *it;
        if (o->y() > height() - 10 || o->x() > width() - 10 || o->width() < 1 || o->height() < 1)
            DestroyObject(o);
    }
}

void TGBasePanel::PrintObjects(QPainter& painter, double originX, double originY)
{
    for (TGGraphicControl* o : Objects())
        o->PrintObject(painter, originX, originY);
}

// --- Clipboard ---------------------------------------------------------------------------

void TGBasePanel::SelectionClipboardAction(TClipboardAction action)
{
    switch (action) {
    case TClipboardAction::Copy:
    case TClipboardAction::Cut:
        if (m_handle->Count() == 0)
            return;
        try {
            TGLabelObjectFiler::WriteSelection(*m_handle, ClipboardFileName);
        } catch (const EStreamError& e) {
            // Cut must not delete what could not be kept.
            ShowInformation(QStringLiteral("Unable to copy the selected objects.\n") + e.reason());
            return;
        }
        if (action == TClipboardAction::Cut)
            SelectionClipboardAction(TClipboardAction::Delete);
        return;
    case TClipboardAction::Delete: {
        const QList<TGGraphicControl*> sel = m_handle->Selection();
        for (auto it = sel.rbegin(); it != sel.rend(); ++it) {
            DestroyObject(*it);
            NotifyChanged();
        }
        return;
    }
    case TClipboardAction::Paste: {
        const qint64 tick = Clock();
        if (LastPasteTick != 0 && tick < LastPasteTick + 1000)
            return;
        LastPasteTick = tick;
        const TObjectReadResult read = TGLabelObjectFiler::ReadObjects(this, ClipboardFileName);
        HookAllObjects();
        m_handle->raise();
        UpdateOverlay();
        ObjectsCreated(read.objects);
        NotifyChanged();
        if (!read.error.isEmpty())
            ShowInformation(QStringLiteral("The object clipboard is damaged: only the objects before the damage "
                                           "were pasted.\n")
                            + read.error);
        QCoreApplication::processEvents();
        LastPasteTick = Clock();
        return;
    }
    }
}

void TGBasePanel::ObjectClipboardAction(TGGraphicControl* obj, TClipboardAction action)
{
    if (m_handle->IndexOf(obj) >= 0) {
        SelectionClipboardAction(action);
        return;
    }
    if (action == TClipboardAction::Copy || action == TClipboardAction::Cut) {
        try {
            TGLabelObjectFiler::WriteObject(obj, ClipboardFileName);
        } catch (const EStreamError& e) {
            ShowInformation(QStringLiteral("Unable to copy the object.\n") + e.reason());
            return;
        }
        if (action == TClipboardAction::Copy)
            return;
    }
    if (action == TClipboardAction::Cut || action == TClipboardAction::Delete) {
        NotifyChanged();
        DestroyObject(obj);
    }
}

// --- Creation ----------------------------------------------------------------------------

void TGBasePanel::CreateObjectInRect(QRect&) {}

void TGBasePanel::createFromRect(QRect r)
{
    CreateObjectInRect(r);
    if (DroppedObjectEvent)
        DroppedObjectEvent(r);
}
