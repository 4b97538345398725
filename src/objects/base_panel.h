#pragma once
#include "objects/object_font.h"
#include "objects/panel_state.h"

#include <QImage>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <functional>

class QMenu;
class TGGraphicControl;
class TGHandle;
class SelectionOverlay;

enum class TLabelShapeType { lsRectangle, lsRoundRect, lsEllipse };
enum class TGridSize { gs4x4, gs8x8 };
enum class TClipboardAction { Cut, Copy, Paste, Delete };

// The panel on which placed objects live; the calendar page derives from it. Objects are
// its TGGraphicControl children (z-order = child order); one TGHandle child holds the
// selection and moves and sizes it. The panel keeps the zoom factor (1.0 = 100 %) and
// the flags the main window sets around saving, loading and printing.
//
// Every change the user makes to objects passes through one of four funnels, each with
// its own signal (so undo can record it): creation (objectsCreated), deletion
// (objectAboutToBeDeleted), bounds (objectBoundsChanged, from MoveObjects) and stored
// properties (objectRecordChanged, from EditObject); z-order changes raise
// objectOrderChanged. objectsChanged follows every change notification.
class TGBasePanel : public QWidget {
    Q_OBJECT
public:
    explicit TGBasePanel(QWidget* parent = nullptr);
    ~TGBasePanel() override;

    // --- Zoom and flags ------------------------------------------------------------
    float Zoom() const { return m_zoom; }
    // Rescales the panel and every object by the ratio of new to old zoom, rounding
    // halves to even.
    void SetZoom(float x);
    // The size a panel of `size` takes when zoomed by `factor` (new zoom / old zoom).
    static QSize ZoomedSize(QSize size, float factor);
    bool PaintSuspended = false;
    bool Loading = false;
    bool Printing = false;
    bool Zooming() const { return m_zooming; }

    bool Pointing() const { return m_pointing; }
    TLPanelState PanelState() const { return m_panelState; }
    void SetPanelState(TLPanelState state);

    // --- Base painting and grid ----------------------------------------------------
    bool DrawOutline = false;
    QImage Picture;
    QImage ColorPicture;
    TLabelShapeType Shape() const { return m_shape; }
    void SetShape(TLabelShapeType s);
    TGridSize GridSize() const { return m_gridSize; }
    void SetGridSize(TGridSize g);
    bool ShowGrid() const { return m_showGrid; }
    void SetShowGrid(bool on);
    bool SnapToGrid() const { return m_snapToGrid; }
    void SetSnapToGrid(bool on);
    // The font new labels start from and the Font command presets.
    TObjectFont PanelFont;

    // --- Objects -------------------------------------------------------------------
    QList<TGGraphicControl*> Objects() const; // child order, back to front
    TGGraphicControl* FindObject(const QString& name) const;
    TGHandle* Handle() const { return m_handle; }
    // True when a placed object lies under the point (panel coordinates).
    bool PointOnObject(int x, int y) const;
    // prefix + the first free number from 1 (never empty: past 1000 it keeps counting).
    QString UniqueObjectName(const QString& prefix) const;
    // "Component" + the first free number from 0, as objects read from a stream are named.
    QString StreamObjectName() const;
    void PlaceObject(TGGraphicControl* obj, QRect r);
    void HookObjectEvents(TGGraphicControl* obj);
    void HookAllObjects();
    void ClearObjects();
    void SelectObjectsInRect(const QRect& r, Qt::KeyboardModifiers modifiers);
    void SelectAll();
    void ObjectClipboardAction(TGGraphicControl* obj, TClipboardAction action);
    void SelectionClipboardAction(TClipboardAction action);
    void AlignSelection(Qt::Edge edge);
    void CenterSelection(Qt::Orientation orientation);
    void SetAllLocked(bool locked);
    void SetAllUnselectable(bool unselectable);
    void ChooseSelectionFont();
    void BringSelectionToFront();
    void SendSelectionToBack();

    // --- Funnels of user changes ----------------------------------------------------
    // Gives objects new bounds (unchanged ones are left alone).
    void MoveObjects(const QList<std::pair<TGGraphicControl*, QRect>>& changes);
    // Runs a change of an object's stored properties, reporting its record before and
    // after when they differ.
    void EditObject(TGGraphicControl* obj, const std::function<void()>& change);
    // Removes an object from the selection and destroys it (later, so a menu of the
    // object may still be running).
    void DestroyObject(TGGraphicControl* obj);
    // Announces objects that were just created (placed, pasted, cloned).
    void ObjectsCreated(const QList<TGGraphicControl*>& objects);
    void ObjectOrderChanged();

    // --- Clipboard files -----------------------------------------------------------
    QString ClipboardFileName;
    QString TempFileName;
    qint64 LastPasteTick = 0;
    // Milliseconds of a monotonic clock (never 0); tests replace it.
    std::function<qint64()> Clock;

    // --- Hooks for the page and its objects -----------------------------------------
    // Creates an object for the current tool in r (the calendar page supplies it).
    virtual void CreateObjectInRect(QRect& r);
    virtual void ObjectMouseDown(TGGraphicControl* obj, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                                 QPoint pos, QPoint globalPos);
    virtual void ObjectCloned() {}
    // Every object prints itself, in child order.
    virtual void PrintObjects(QPainter& painter, double originX, double originY);
    virtual void KeepObjectsOnPage();
    virtual void RemoveStrayObjects();

    void ObjectMouseMove(TGGraphicControl* obj, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint pos);
    void ObjectMouseUp(TGGraphicControl* obj, Qt::MouseButton button, Qt::MouseButtons buttons,
                       Qt::KeyboardModifiers modifiers, QPoint pos);
    void ObjectDblClick(QObject* sender, QPoint globalPos);

    // The mouse on the empty panel (panel coordinates).
    void PanelMouseDown(QPoint p, Qt::MouseButton button, QPoint globalPos);
    void PanelMouseMove(QPoint p);
    void PanelMouseUp(QPoint p, Qt::KeyboardModifiers modifiers);
    // Handlers the panel installs on its sizing-handle control (panel coordinates).
    void HandleMouseDownHook(QPoint p, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint globalPos);
    // Ctrl+C/V/X and Delete.
    void PanelKeyDown(QKeyEvent* event);

    bool RubberBandActive() const { return m_rubberBand; }
    QRect RubberBandRect() const; // normalized
    QMenu* PanelMenu() const { return m_menu; }
    QAction* PanelMenuItem(const QString& caption) const;

    // Raised after a drawing tool created an object, and whenever objects change.
    std::function<void(QRect&)> DroppedObjectEvent;
    std::function<void()> LabelChangedEvent;
    void NotifyChanged();
    // Repaints the outline overlay (rubber band, drag and nudge outlines).
    void UpdateOverlay();

signals:
    void objectsChanged();
    void objectsCreated(const QStringList& names);
    void objectAboutToBeDeleted(const QString& name, const QByteArray& record, int childIndex);
    void objectBoundsChanged(const QStringList& names, const QList<QRect>& before, const QList<QRect>& after);
    void objectRecordChanged(const QString& name, const QByteArray& before, const QByteArray& after);
    void objectOrderChanged();
    // After SetZoom has rescaled the panel and its objects.
    void zoomChanged();

public slots:
    // Answer to an object's bounds change: fits the sizing-handle control around the
    // selection (queued, so a move of several objects is complete first).
    void RefitHandle();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

    float m_zoom = 1.0f;

private:
    void buildMenu();
    void updateMenu();
    void createFromRect(QRect r);

    TGHandle* m_handle = nullptr;
    SelectionOverlay* m_overlay = nullptr;
    QMenu* m_menu = nullptr;
    bool m_zooming = false;
    bool m_pointing = true;
    TLPanelState m_panelState = TLPanelState::psPointing;
    TLabelShapeType m_shape = TLabelShapeType::lsRoundRect;
    TGridSize m_gridSize = TGridSize::gs4x4;
    bool m_showGrid = false;
    bool m_snapToGrid = false;
    bool m_rubberBand = false;
    int m_rbLeft = 0, m_rbTop = 0, m_rbRight = 0, m_rbBottom = 0;
};
