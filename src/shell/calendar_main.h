#pragma once
#include "shell/preferences.h"

#include <QMainWindow>
#include <QPointer>
#include <memory>

class HelpViewer;
class PageHistory;
class QAction;
class QLabel;
class TAssistantTip;
class QMenu;
class QScrollArea;
class QToolButton;
class QWidget;
class TCalendarPanel32;
class TPagePrefetch;
class TFloatingPalette;
class TMRUFileList;
class TReportCanvas;
class TReportPrinter;
class TSpinButton;
class TWPRtfStorage;
class TWPRichText;
class TWPToolBar;
class QMimeData;
class QRect;
struct TRect;

// Program body: the application's title is "Orvanta".
void SetApplicationTitle();

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
    QAction* mnuSaveAsPNG = nullptr;
    QAction* mnuSaveAsPDF = nullptr;
    QAction* mnuProperties = nullptr;
    QAction* mnuUserTitle = nullptr;
    QAction* mnuCancelChanges = nullptr;
    QAction* mnuClearAllCellContents = nullptr;
    QAction* DefaultEditorFont1 = nullptr;
    QAction* mnuFillRecurring = nullptr;
    QAction* mnuFillFromIcs = nullptr;
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
    QMenu* EditMenu = nullptr;
    QAction* mnuUndo = nullptr; // "&Undo <step>"
    QAction* mnuRedo = nullptr; // "&Redo <step>"

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
    QToolButton* UndoButton = nullptr;
    QToolButton* RedoButton = nullptr;
    QToolButton* Savebutton = nullptr;
    QToolButton* CancelButton = nullptr;

    void SetModified(bool value);
    void SetButtons();
    void SetCaption();
    bool HasDayCells() const;

    // The icon tool window (icon_tool_commands.cpp).
    TFloatingPalette* FloatingPalette = nullptr;
    void CheckFloaterStatus();
    void ShowHideIconToolClick();
    bool IconToolShowing() const;
    // The icon tool's library and visibility go into the preferences before they are saved.
    void TakeIconToolState();

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
    void mnuFillFromIcsClick(); // ics_commands.cpp

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
    void OpenCalendarFile(QString path);
    bool SaveCalendarFile(const QString& path); // false when the file could not be written
    void mnuSaveClick();
    bool mnuSaveAsClick(); // true when a file was saved
    void SavebuttonClick();
    void mnuCancelChangesClick();
    // Offers to save changes. False when the user wanted them saved and they were not
    // (Save dialog cancelled, or the save failed): the calling command then stops.
    bool CheckSaveNeeded();
    void RecentFileClick(const QString& path);
    TMRUFileList* RecentFiles = nullptr;

    // Printing (print_commands.cpp).
    TReportPrinter& ReportPrinter1();
    bool PrintersAvailable();
    void mnuPrintSetupClick();
    void mnuPrintCalendarClick();
    bool CheckPrinterMargins();
    void ReportPrinter1Print(TReportCanvas& report);
    // Whether the page holds SuperText, which printers take long to produce.
    bool HasSuperText() const;

    // Export (export_commands.cpp).
    enum class TPictureFormat { Bmp, Jpeg, Png };
    void mnuSaveAsBitmapClick();
    void mnuSaveAsJPGClick();
    void mnuSaveAsPNGClick();
    void mnuSaveAsPDFClick();
    bool SaveCalendarToBitmap(const QString& path, TPictureFormat format);

    // Help menu and quick tips (help_commands.cpp).
    void Contents1Click();
    void mnuTechSupportClick();
    void mnuFAQClick();
    void mnuWebsiteClick();
    void ConfigurationInformation1Click();
    void AssistantbuttonClick();
    TAssistantTip* AssistantTip1 = nullptr;
    HelpViewer* Help = nullptr; // answers every help request of the program

    // A calendar file handed over by the desktop (startup_file.cpp): given on the
    // command line, it opens at the first activation instead of the most recent file;
    // handed over later by a second start, it opens after "Save changes?".
    void setStartupFile(const QString& path) { m_startupFile = path; }
    void OpenFileFromDesktop(const QString& path);
    // Starts drawing the page of a calendar file given on the command line on another
    // thread, at the zoom the remembered settings will show it at, before the window
    // exists; nothing for a file the Open command would not take.
    static std::unique_ptr<TPagePrefetch> PrefetchPage(const QString& path);
    // The first opening of that file takes over what the drawing kept.
    void setStartupPrefetch(std::unique_ptr<TPagePrefetch> prefetch);

    // Placed objects (object_commands.cpp).
    void CalendarPanelDroppedObjectEvent(QRect& r);
    void CalendarPanelLabelChangedEvent();

    // Undo and redo (undo_commands.cpp). Every change to the page is a step of the history;
    // New, Open and Cancel Changes start it afresh, and Modified follows it.
    PageHistory* History() const { return m_history; }
    void mnuUndoClick();
    void mnuRedoClick();

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
    void createIconTool();
    void closeIconTool();
    void enable(QObject* command, bool enabled);
    void stepZoom(float delta);
    void createCellEditor(QWidget* scrollContent);
    bool acceptsCellDrop(const QMimeData* data) const;
    bool cellEditorEvent(QObject* watched, QEvent* event);
    void setIconToolHidden(bool hidden);
    void connectPrintCommands();
    void connectExportCommands();
    void exportPicture(TPictureFormat format);
    QString proposedExportName(const QString& extension) const;
    void createHelpCommands();
    void openStartupFile();
    void createEditMenu();
    void createUndoButtons(QWidget* bar);
    void createUndoCommands();
    void updateUndoCommands();
    // What an input tells the history: a new step begins, and what a menu item or key is called.
    void noteUserInput(QObject* watched, QEvent* event);
    // Stores the open cell's text without closing the editor, as a step of its own.
    void commitCellInPlace(const QString& stepName);
    QString typingStepName() const;

    bool m_firstActivationDone = false;
    bool isSamePressTravellingUp(QWidget* receiver, QEvent* event);
    void rememberPress(QWidget* receiver, QEvent* event);

    QEvent* m_hookedKeyEvent = nullptr;
    int m_hookedKey = 0;
    quint64 m_hookedTime = 0;
    QPointer<QWidget> m_hookedReceiver;
    bool m_activationScheduled = false;
    QList<QObject*> m_unavailable;
    std::unique_ptr<TReportPrinter> m_reportPrinter;
    QString m_startupFile;
    std::unique_ptr<TPagePrefetch> m_startupPrefetch;
    PageHistory* m_history = nullptr;
    int m_editedCell = 0; // the cell the editor shows
    int m_lastInputType = 0;
    quint64 m_lastInputTime = 0;
};
