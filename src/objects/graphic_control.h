#pragma once
#include "stream/component_record.h"

#include <QByteArray>
#include <QMenu>
#include <QPointer>
#include <QWidget>
#include <functional>

class QPainter;
class TGBasePanel;
class TObjectPropertyWriter;
class TStreamWriter;

// The base of every placed object: a child widget of a host panel that draws itself
// through paintTo() (the screen, bitmap export and printing all call it), with the lock
// and selectability flags, its own zoom, a context menu, cloning and its record in the
// object stream. Selection squares are drawn by the host's sizing-handle control.
class TGGraphicControl : public QWidget {
    Q_OBJECT
public:
    explicit TGGraphicControl(QWidget* parent = nullptr);
    ~TGGraphicControl() override;

    // --- The object stream -------------------------------------------------------
    // The class name records carry ("TGPLabel").
    virtual QByteArray StreamClassName() const = 0;
    // The stored properties in record order: the common ones, then the class's own.
    virtual void WriteProperties(TObjectPropertyWriter& w) const;
    // The whole record: "TPF0", class, name, properties, an empty child list.
    virtual void WriteRecord(TStreamWriter& w) const;
    // The record as bytes: the object's value form (compare two to see a change).
    QByteArray Record() const;
    // Called once the reader has assigned every property, with the record's bytes as
    // stored. Classes that keep records they cannot rebuild use them.
    virtual void RecordRead(const QByteArray& storedRecord);
    // Readers of the common properties, for the class registry.
    static TPropertySet<TGGraphicControl> CommonProperties();

    // --- State -------------------------------------------------------------------
    bool Locked() const { return m_locked; }
    void SetLocked(bool value);
    bool Unselectable() const { return m_unselectable; }
    void SetUnselectable(bool value);
    float Zoom() const { return m_zoom; }
    // Takes the factor without touching the geometry (the host does it after reading).
    void SetZoomFactor(float zoom) { m_zoom = zoom; }
    // Rescales position and size by the ratio of the zooms, halves to even.
    void ZoomTo(float x);
    // True while the stream reader assigns properties: nothing notifies then.
    bool Reading = false;
    // Set by the host's HookObjectEvents: mouse input goes to the host's handlers.
    bool Hooked = false;
    // Optional: a double click runs this instead of opening the context menu.
    std::function<void()> EditAction;

    TGBasePanel* hostPanel() const;
    // The screen's pixels per inch that the object's geometry is measured in.
    static int ppi();

    // --- Operations every class may fill in --------------------------------------
    // After every move or resize, zooming included.
    virtual void BoundsChanged();
    // Runs as the context menu opens, to refresh check marks.
    virtual void UpdateMenuChecks() {}
    // The font chosen with the host's Font command; objects without text ignore it.
    virtual void AssignFont(const QFont&) {}
    // Draws the object on a printed page: `origin` is the panel's top-left corner in
    // inches; the painter's device gives the dots per inch. The base sets the
    // inch-to-device transform and calls paintTo.
    virtual void PrintObject(QPainter& painter, double originX, double originY);
    // Builds the context menu; classes append their own items after the common ones.
    virtual void AfterLoad();
    // Draws the object in its own coordinates (0, 0, width, height) at its zoom.
    virtual void paintTo(QPainter& painter);

    // Draws the object at (x, y) of a foreign painter (bitmap export).
    void PaintTo(QPainter& painter, int x, int y);
    void NotifyChanged();
    void Clone();
    void CenterVertically();
    void CenterHorizontally();

    QMenu* ContextMenu() const { return m_menu; }
    // The menu item with this caption, searched through submenus too (nullptr if none).
    QAction* MenuItem(const QString& caption) const;

protected:
    // True while PrintObject draws: paintTo may then draw for paper (finer, no screen-only
    // backgrounds).
    bool printingNow() const { return m_printingNow; }
    // The thin black frame of a single border, inside (0, 0, width, height).
    void drawSingleBorder(QPainter& painter) const;
    // Runs a change of stored properties so the host sees the record before and after.
    void editProperties(const std::function<void()>& change);
    // Adds an item to the context menu that runs `action`.
    QAction* addMenuItem(QMenu* menu, const QString& caption, std::function<void()> action);

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QPointer<QMenu> m_menu;
    QAction* m_lockedItem = nullptr;
    bool m_locked = false;
    bool m_unselectable = false;
    float m_zoom = 1.0f;
    QRect m_lastBounds;
    bool m_inChange = false;
    bool m_printingNow = false;
};
