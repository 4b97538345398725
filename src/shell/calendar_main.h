#pragma once
#include "shell/preferences.h"

#include <QMainWindow>
#include <QPointer>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QScrollArea;
class QToolButton;
class QWidget;
class TCalendarPanel32;
class TMRUFileList;
class TSpinButton;
class TWPRtfStorage;
class TWPRichText;
class TWPToolBar;
class QMimeData;
class QRect;
struct TRect;

// The program's one main window: menus, tool bar, zoom, and the page in a scroll area.
class TCalendarMain : public QMainWindow {
    Q_OBJECT
public:
    static inline const QString ProgramVersion = QStringLiteral("3.2g");

    explicit TCalendarMain(QWidget* parent = nullptr);
    ~TCalendarMain() override;

    // Window state.
    QString CalendarFileName;
    bool Modified = false;
    bool FirstActivation = true;
    bool CreatingNew = false;
    bool PropertiesAccepted = false;
    bool PrinterReady = false;
    int CurrentCell = 0;
    TWPRtfStorage* EditedStorage = nullptr;
    bool EditorOpen = false;
    bool EditorArmed = false;
    bool ZoomBusy = false;
    bool PrintDone = false;
    int PrintCopies = 1;
    int MainZoomPercent = 60;
    int PropZoomPercent = 30;
    bool IconToolVisible = false;
    bool ShowHints = true;
    TPreferences Preferences;

    TCalendarPanel32* CalendarPanel = nullptr;
    QScrollArea* ScrollBox2 = nullptr;

    // Menu commands ("&File" then "&Help"), named after their handlers.
    QAction* New1 = nullptr;
    QAction* Open1 = nullptr;
    QAction* mnuSave = nullptr;
    QAction* mnuSaveAs = nullptr;
    QAction* mnuSaveAsBitmap = nullptr;
    QAction* mnuSaveAsJPG = nullptr;
    QAction* mnuProperties = nullptr;
    QAction* mnuUserTitle = nullptr;
    QAction* mnuCancelChanges = nullptr;
    QAction* mnuClearAllCellContents = nullptr;
    QAction* DefaultEditorFont1 = nullptr;
    QAction* mnuFillRecurring = nullptr;
    QAction* mnuEditRecurring = nullptr;
    QAction* mnuPrint = nullptr;
    QAction* mnuPrintSetup = nullptr;
    QAction* mnuExit = nullptr;
    QAction* Contents1 = nullptr;
    QAction* About1 = nullptr;
    QAction* mnuShowHints = nullptr;
    QAction* mnuWebsite = nullptr;
    QAction* mnuConfigInfo = nullptr;
    QAction* mnuTechSupport = nullptr;
    QAction* mnuFAQ = nullptr;
    QMenu* FileMenu = nullptr;

    // Tool bar.
    QWidget* Panel3 = nullptr;
    TSpinButton* ZoomSpinner = nullptr;
    QToolButton* ZoomUpButton = nullptr;
    QToolButton* ZoomDownButton = nullptr;
    QLabel* ZoomCaption = nullptr;
    QToolButton* PropertiesButton = nullptr;
    QToolButton* Printbutton = nullptr;
    QToolButton* ShowHideIconTool = nullptr;
    QToolButton* Pointerbutton = nullptr;
    QToolButton* DrawLabelButton = nullptr;
    QToolButton* DrawImageButton = nullptr;
    QToolButton* DrawRichText = nullptr;
    QToolButton* DrawSuperText = nullptr;
    QToolButton* PSpeedButton1 = nullptr;
    QToolButton* Assistantbutton = nullptr;
    QToolButton* Savebutton = nullptr;
    QToolButton* CancelButton = nullptr;

    void SetModified(bool value);
    void SetButtons();
    void SetCaption();
    bool HasDayCells() const;
    void CheckFloaterStatus();

    void ZoomSpinnerUpClick();
    void ZoomSpinnerDownClick();

    // Day-cell editing.
    TWPRichText* WPRichText1 = nullptr; // the in-place cell editor
    TWPRichText* MASTERWPRICHTEXT = nullptr; // hidden; rich-text labels draw through it
    TWPToolBar* WPToolBar1 = nullptr;
    void CalendarPanelClickedInCellEvent(const TRect& rTotal, const TRect& rFree, int iCell, int iDay,
                                         TWPRtfStorage& storage);
    // Commits the open cell edit (every command that touches cells, zoom or files first).
    void DoSaveRichtext();
    void WPRichText1Change();
    void WPRichText1Enter();
    void SetDefaultFontNow();
    void DefaultEditorFont1Click();
    // Adds one line to the cell of a day (recurring dates), then returns to the user's cell.
    void PuttextOnDay(int day, const QString& text);
    void CalendarPanelDragDrop(int x, int y, const QMimeData* data);
    void WPRichText1DragDrop(const QMimeData* data);
    void mnuFillRecurringClick();

    void FormActivate();
    bool FirstActivationDone() const { return m_firstActivationDone; }

    void mnuUserTitleClick();
    void About1Click();
    void mnuShowHintsClick();
    void mnuClearAllCellContentsClick();
    void mnuEditRecurringClick();
    void mnuPropertiesClick();

    // Document commands.
    void New1Click();
    void Open1Click();
    void OpenCalendarFile(const QString& path);
    bool SaveCalendarFile(const QString& path); // false when the file could not be written
    void mnuSaveClick();
    bool mnuSaveAsClick(); // true when a file was saved
    void SavebuttonClick();
    void mnuCancelChangesClick();
    void CheckSaveNeeded();
    void RecentFileClick(const QString& path);
    TMRUFileList* RecentFiles = nullptr;

    // Placed objects (object_commands.cpp).
    void CalendarPanelDroppedObjectEvent(QRect& r);
    void CalendarPanelLabelChangedEvent();

    // The key hook: true when the key was consumed.
    bool AppMessage(QKeyEvent* event);

    // Commands not available in this build stay disabled whatever SetButtons decides.
    void setCommandAvailable(QObject* command, bool available);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createMenus();
    void createToolBar();
    void createObjectCommands();
    void enable(QObject* command, bool enabled);
    void stepZoom(float delta);
    void createCellEditor(QWidget* scrollContent);
    bool acceptsCellDrop(const QMimeData* data) const;
    bool cellEditorEvent(QObject* watched, QEvent* event);
    void setIconToolHidden(bool hidden);

    bool m_firstActivationDone = false;
    QEvent* m_hookedKeyEvent = nullptr;
    int m_hookedKey = 0;
    bool m_activationScheduled = false;
    QList<QObject*> m_unavailable;
};
