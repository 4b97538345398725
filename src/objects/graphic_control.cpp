#include "graphic_control.h"

#include "objects/base_panel.h"
#include "objects/handle.h"
#include "objects/object_filer.h"
#include "objects/object_properties.h"
#include "platform/numeric.h"
#include "platform/scope_flag.h"
#include "platform/screen_ppi.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPaintDevice>
#include <QPainter>

TGGraphicControl::TGGraphicControl(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_NoSystemBackground);
}

TGGraphicControl::~TGGraphicControl()
{
    if (m_menu)
        delete m_menu;
}

// --- The object stream ---------------------------------------------------------------

void TGGraphicControl::WriteProperties(TObjectPropertyWriter& w) const
{
    // Tag, Cursor and Hint are never set on objects, so never written.
    w.integer("Left", x());
    w.integer("Top", y());
    w.integer("Width", width());
    w.integer("Height", height());
    w.boolean("Locked", m_locked);
    w.boolean("Unselectable", m_unselectable);
}

void TGGraphicControl::WriteRecord(TStreamWriter& w) const
{
    beginComponent(w, StreamClassName(), objectName().toLatin1());
    TObjectPropertyWriter props(w);
    WriteProperties(props);
    endComponent(w);
}

QByteArray TGGraphicControl::Record() const
{
    QByteArray out;
    TStreamWriter w(&out);
    WriteRecord(w);
    return out;
}

void TGGraphicControl::RecordRead(const QByteArray&) {}

TPropertySet<TGGraphicControl> TGGraphicControl::CommonProperties()
{
    // Positions stay within what a 16-bit coordinate system can show; more is damage.
    auto coordinate = [](TStreamReader& r) {
        const qint32 v = r.readInteger();
        if (v < -32768 || v > 32767)
            r.fail(streamtext::invalidValue());
        return v;
    };
    auto extent = [](TStreamReader& r) {
        const qint32 v = r.readInteger();
        if (v < 0 || v > 32767)
            r.fail(streamtext::invalidValue());
        return v;
    };
    TPropertySet<TGGraphicControl> p;
    p.add("Tag", [](TGGraphicControl&, TStreamReader& r) { r.readInteger(); });
    p.add("Left", [=](TGGraphicControl& o, TStreamReader& r) { o.move(coordinate(r), o.y()); });
    p.add("Top", [=](TGGraphicControl& o, TStreamReader& r) { o.move(o.x(), coordinate(r)); });
    p.add("Width", [=](TGGraphicControl& o, TStreamReader& r) { o.resize(extent(r), o.height()); });
    p.add("Height", [=](TGGraphicControl& o, TStreamReader& r) { o.resize(o.width(), extent(r)); });
    p.add("Cursor", [](TGGraphicControl&, TStreamReader& r) { r.skipValue(); });
    p.add("Hint", [](TGGraphicControl& o, TStreamReader& r) { o.setToolTip(r.readString()); });
    p.add("Locked", [](TGGraphicControl& o, TStreamReader& r) { o.m_locked = r.readBoolean(); });
    p.add("Unselectable", [](TGGraphicControl& o, TStreamReader& r) { o.m_unselectable = r.readBoolean(); });
    return p;
}

// --- State -----------------------------------------------------------------------------

TGBasePanel* TGGraphicControl::hostPanel() const { return qobject_cast<TGBasePanel*>(parentWidget()); }

int TGGraphicControl::ppi() { return ScreenPPI(); }

void TGGraphicControl::SetLocked(bool value)
{
    if (value == m_locked)
        return;
    m_locked = value;
    if (Reading)
        return;
    if (m_lockedItem)
        m_lockedItem->setChecked(m_locked);
    NotifyChanged();
}

void TGGraphicControl::SetUnselectable(bool value)
{
    if (value == m_unselectable)
        return;
    m_unselectable = value;
    if (Reading)
        return;
    NotifyChanged();
    if (value)
        if (TGBasePanel* panel = hostPanel())
            panel->Handle()->Deselect(this);
}

void TGGraphicControl::ZoomTo(float x)
{
    if (x == m_zoom)
        return;
    const float f = x / m_zoom;
    const double fd = double(f);
    setGeometry(roundHalfEven(this->x() * fd), roundHalfEven(y() * fd), roundHalfEven(width() * fd),
                roundHalfEven(height() * fd));
    m_zoom = x;
    BoundsChanged();
}

// --- Operations ------------------------------------------------------------------------

void TGGraphicControl::BoundsChanged()
{
    if (m_inChange)
        return;
    m_inChange = true;
    if (m_lastBounds.isNull())
        m_lastBounds = geometry();
    if (geometry() != m_lastBounds) {
        NotifyChanged();
        m_lastBounds = geometry();
        // Queued: when several objects move, the frame is fitted once they all have.
        if (TGBasePanel* panel = hostPanel())
            QMetaObject::invokeMethod(panel, "RefitHandle", Qt::QueuedConnection);
    }
    m_inChange = false;
}

void TGGraphicControl::PrintObject(QPainter& painter, double originX, double originY)
{
    // Object pixels are screen pixels: one inch is ppi() of them.
    const double dpiX = painter.device() ? painter.device()->logicalDpiX() : ppi();
    const double dpiY = painter.device() ? painter.device()->logicalDpiY() : ppi();
    painter.save();
    painter.translate(originX * dpiX, originY * dpiY);
    painter.scale(dpiX / ppi(), dpiY / ppi());
    painter.translate(x(), y());
    {
        const ScopeFlag printing(m_printingNow);
        paintTo(painter);
    }
    painter.restore();
}

void TGGraphicControl::drawSingleBorder(QPainter& p) const
{
    p.save();
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(0, 0, width() - 1, height() - 1);
    p.restore();
}

void TGGraphicControl::paintTo(QPainter&) {}

void TGGraphicControl::PaintTo(QPainter& painter, int x, int y)
{
    painter.save();
    painter.translate(x, y);
    painter.setFont(font());
    paintTo(painter);
    painter.restore();
}

void TGGraphicControl::NotifyChanged()
{
    if (TGBasePanel* panel = hostPanel(); panel && !panel->Printing && !Reading)
        panel->NotifyChanged();
}

void TGGraphicControl::editProperties(const std::function<void()>& change)
{
    if (TGBasePanel* panel = hostPanel())
        panel->EditObject(this, change);
    else
        change();
}

void TGGraphicControl::Clone()
{
    TGBasePanel* panel = hostPanel();
    if (!panel)
        return;
    TGGraphicControl* copy = TGLabelObjectFiler::CloneObject(this, panel);
    if (!copy)
        return;
    QCoreApplication::processEvents();
    copy->move(copy->x(), y() + 25);
    copy->raise();
    panel->ObjectCloned();
    TGHandle* handle = panel->Handle();
    if (handle->IndexOf(this) >= 0) {
        handle->Deselect(this);
        handle->Select(copy);
    }
    panel->HookAllObjects();
    panel->ObjectsCreated({copy});
    NotifyChanged();
}

void TGGraphicControl::CenterVertically()
{
    TGBasePanel* panel = hostPanel();
    if (!panel)
        return;
    panel->MoveObjects({{this, QRect(x(), panel->height() / 2 - height() / 2, width(), height())}});
    NotifyChanged();
    QCoreApplication::processEvents();
    panel->update();
}

void TGGraphicControl::CenterHorizontally()
{
    TGBasePanel* panel = hostPanel();
    if (!panel)
        return;
    panel->MoveObjects({{this, QRect(panel->width() / 2 - width() / 2, y(), width(), height())}});
    NotifyChanged();
    QCoreApplication::processEvents();
    panel->update();
}

// --- Context menu ------------------------------------------------------------------------

QAction* TGGraphicControl::addMenuItem(QMenu* menu, const QString& caption, std::function<void()> action)
{
    QAction* a = menu->addAction(caption);
    // The object may be gone when a queued trigger arrives.
    QPointer<TGGraphicControl> self(this);
    connect(a, &QAction::triggered, this, [self, action = std::move(action)] {
        if (self)
            action();
    });
    return a;
}

void TGGraphicControl::AfterLoad()
{
    if (m_menu)
        delete m_menu;
    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("ObjectMenu"));
    connect(m_menu, &QMenu::aboutToShow, this, [this] { UpdateMenuChecks(); });
    auto panelDo = [this](auto fn) {
        return [this, fn] {
            if (TGBasePanel* panel = hostPanel())
                fn(*panel);
        };
    };
    addMenuItem(m_menu, QStringLiteral("Bring To Front"), [this] {
        NotifyChanged();
        raise();
        if (TGBasePanel* panel = hostPanel()) {
            panel->Handle()->raise();
            panel->ObjectOrderChanged();
        }
    });
    addMenuItem(m_menu, QStringLiteral("Send To Back"), [this] {
        NotifyChanged();
        lower();
        if (TGBasePanel* panel = hostPanel()) {
            panel->Handle()->ClearSelection();
            panel->ObjectOrderChanged();
        }
    });
    addMenuItem(m_menu, QStringLiteral("Cut"), panelDo([this](TGBasePanel& p) {
        NotifyChanged();
        p.ObjectClipboardAction(this, TClipboardAction::Cut);
    }));
    addMenuItem(m_menu, QStringLiteral("Copy"),
                panelDo([this](TGBasePanel& p) { p.ObjectClipboardAction(this, TClipboardAction::Copy); }));
    addMenuItem(m_menu, QStringLiteral("Delete"), panelDo([this](TGBasePanel& p) {
        NotifyChanged();
        p.ObjectClipboardAction(this, TClipboardAction::Delete);
    }));
    addMenuItem(m_menu, QStringLiteral("Clone"), [this] { Clone(); });
    m_menu->addSeparator();
    m_lockedItem = addMenuItem(m_menu, QStringLiteral("Locked"), [this] {
        editProperties([this] { SetLocked(!m_locked); });
        m_lockedItem->setChecked(m_locked);
    });
    m_lockedItem->setCheckable(true);
    m_lockedItem->setChecked(m_locked);
    addMenuItem(m_menu, QStringLiteral("Unselectable"), [this] { editProperties([this] { SetUnselectable(true); }); });
    m_menu->addSeparator();
    addMenuItem(m_menu, QStringLiteral("Center Vertically"), [this] { CenterVertically(); });
    addMenuItem(m_menu, QStringLiteral("Center Horizontally"), [this] { CenterHorizontally(); });
}

QAction* TGGraphicControl::MenuItem(const QString& caption) const
{
    if (!m_menu)
        return nullptr;
    QList<QMenu*> menus{m_menu};
    while (!menus.isEmpty()) {
        QMenu* m = menus.takeFirst();
        for (QAction* a : m->actions()) {
            if (a->text() == caption)
                return a;
            if (a->menu())
                menus << a->menu();
        }
    }
    return nullptr;
}

// --- Events ------------------------------------------------------------------------------

void TGGraphicControl::paintEvent(QPaintEvent*)
{
    if (TGBasePanel* panel = hostPanel(); panel && panel->PaintSuspended)
        return;
    QPainter p(this);
    paintTo(p);
}

void TGGraphicControl::mousePressEvent(QMouseEvent* e)
{
    TGBasePanel* panel = hostPanel();
    if (panel && Hooked)
        panel->ObjectMouseDown(this, e->button(), e->modifiers(), e->position().toPoint(),
                               e->globalPosition().toPoint());
}

void TGGraphicControl::mouseMoveEvent(QMouseEvent* e)
{
    TGBasePanel* panel = hostPanel();
    if (panel && Hooked)
        panel->ObjectMouseMove(this, e->buttons(), e->modifiers(), e->position().toPoint());
}

void TGGraphicControl::mouseReleaseEvent(QMouseEvent* e)
{
    TGBasePanel* panel = hostPanel();
    if (panel && Hooked)
        panel->ObjectMouseUp(this, e->button(), e->buttons(), e->modifiers(), e->position().toPoint());
}

void TGGraphicControl::mouseDoubleClickEvent(QMouseEvent* e)
{
    TGBasePanel* panel = hostPanel();
    if (panel && Hooked)
        panel->ObjectDblClick(this, e->globalPosition().toPoint());
}

void TGGraphicControl::moveEvent(QMoveEvent*)
{
    if (!Reading)
        BoundsChanged();
}

void TGGraphicControl::resizeEvent(QResizeEvent*)
{
    if (!Reading)
        BoundsChanged();
}

void TGGraphicControl::leaveEvent(QEvent*)
{
    if (TGBasePanel* panel = hostPanel())
        setCursor(panel->Pointing() ? Qt::ArrowCursor : Qt::DragMoveCursor);
}

void TGGraphicControl::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::FontChange && !Reading)
        NotifyChanged();
    QWidget::changeEvent(e);
}
