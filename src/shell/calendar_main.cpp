#include "calendar_main.h"

#include "calendar/calendar_panel.h"
#include "calendar/page_prefetch.h"
#include "platform/numeric.h"
#include "printing/report_printer.h"
#include "platform/program_folder.h"
#include "platform/shell_helpers.h"
#include "platform/zoom_scale.h"
#include "recurring/recurring_commands.h"
#include "richtext/wp_rich_text.h"
#include "richtext/wp_tool_bar.h"
#include "calendar/properties_dialog.h"
#include "platform/screen_ppi.h"
#include "shell/splash_form.h"
#include "shell/mru_file_list.h"
#include "shell/page_history.h"
#include "shell/user_title_form.h"
#include "special/floating_palette.h"
#include "widgets/spin_button.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QScrollArea>
#include <QTimer>
#include <QToolButton>

namespace {
QToolButton* toolButton(QWidget* parent, const QString& text, const QString& hint, const QString& objectName)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(objectName);
    b->setText(text);
    b->setToolTip(hint);
    b->setAutoRaise(true);
    return b;
}
} // namespace

void SetApplicationTitle()
{
    // The name only: a display name would be appended by the window system to every
    // caption that does not end in it ("Orvanta  [Dec1997.OVF] — Orvanta").
    QApplication::setApplicationName(QStringLiteral("Orvanta"));
}

TCalendarMain::TCalendarMain(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("CalendarMain"));
    setMainForm(this);
    HourglassOn();

    createMenus();
    createToolBar();
    createHelpCommands();
    WPToolBar1 = new TWPToolBar(this);
    WPToolBar1->setObjectName(QStringLiteral("WPToolBar1"));
    WPToolBar1->setEnabled(false);

    // The page sits at (5, 5) inside the scrolled area, hidden until a calendar exists.
    ScrollBox2 = new QScrollArea(this);
    ScrollBox2->setObjectName(QStringLiteral("ScrollBox2"));
    ScrollBox2->setWidgetResizable(false);
    ScrollBox2->setBackgroundRole(QPalette::Dark);
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("ScrollContent"));
    CalendarPanel = new TCalendarPanel32(content);
    CalendarPanel->setObjectName(QStringLiteral("CalendarPanel"));
    CalendarPanel->ApplyMainFormDesignValues();
    CalendarPanel->move(5, 5);
    CalendarPanel->hide();
    ScrollBox2->setWidget(content);
    createCellEditor(content);
    createObjectCommands();
    createUndoCommands();

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(WPToolBar1);
    layout->addWidget(Panel3);
    layout->addWidget(ScrollBox2, 1);
    setCentralWidget(central);

    // FormCreate.
    ZoomBusy = PrintDone = CreatingNew = EditorArmed = false;
    CalendarFileName.clear();
    FirstActivation = true;
    CurrentCell = 0;
    Preferences.LoadPreferences();
    MainZoomPercent = Preferences.MainZoomPercent;
    PropZoomPercent = Preferences.PropZoomPercent;
    IconToolVisible = Preferences.IconToolVisible;
    ShowHints = Preferences.ShowHints;
    SetModified(false);
    CalendarPanel->SetZoom(PercentToZoomScale(MainZoomPercent));
    CalendarPanel->SetCalendarLayout(TCalendarLayout::LOFullCalendarLS);
    RecentFiles = new TMRUFileList(this);
    RecentFiles->SetFileMenu(FileMenu, mnuExit);
    RecentFiles->SetRemoveOnClick(true);
    RecentFiles->SetMaximum(5);
    RecentFiles->SetAutoSaveName(IniFileName());
    RecentFiles->SetAutoSaveKey(QStringLiteral("MRU"));
    RecentFiles->SetAutoSave(false);
    RecentFiles->OnMRUItemClick = [this](const QString& path) { RecentFileClick(path); };
    RecentFiles->Load();
    mnuShowHints->setChecked(ShowHints);
    SetHintDelay(1200);
    // One filter for the whole application (the key hook, and the page's and the
    // editor's drag, drop and size events). It is installed on no single object as
    // well: an event would then pass twice, and a page key step twice.
    qApp->installEventFilter(this);
    RunOldRecurringStoreConversion();

    resize(1000, 760);
    createIconTool();
    SetButtons();
    SetCaption();
    HourglassOff();
}

TCalendarMain::~TCalendarMain()
{
    // The history goes first: clearing it on the way out must not reach this window.
    delete m_history;
    m_history = nullptr;
    qApp->removeEventFilter(this);
    if (mainForm() == this)
        setMainForm(nullptr);
}

void TCalendarMain::createMenus()
{
    FileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    New1 = FileMenu->addAction(QStringLiteral("&New "));
    Open1 = FileMenu->addAction(QStringLiteral("&Open"));
    FileMenu->addSeparator();
    mnuSave = FileMenu->addAction(QStringLiteral("&Save "));
    mnuSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    mnuSaveAs = FileMenu->addAction(QStringLiteral("Save &As..."));
    mnuSaveAsBitmap = FileMenu->addAction(QStringLiteral("Save As Bitmap File"));
    mnuSaveAsJPG = FileMenu->addAction(QStringLiteral("Save As JPG File"));
    mnuSaveAsPNG = FileMenu->addAction(QStringLiteral("Save As PNG File"));
    mnuSaveAsPDF = FileMenu->addAction(QStringLiteral("Save As PDF File"));
    FileMenu->addSeparator();
    mnuProperties = FileMenu->addAction(QStringLiteral("&Properties"));
    mnuUserTitle = FileMenu->addAction(QStringLiteral("User Defined Title"));
    mnuCancelChanges = FileMenu->addAction(QStringLiteral("&Cancel Changes"));
    mnuClearAllCellContents = FileMenu->addAction(QStringLiteral("Clear &All Cell Contents"));
    DefaultEditorFont1 = FileMenu->addAction(QStringLiteral("&Default Editor Font"));
    FileMenu->addSeparator();
    mnuFillRecurring = FileMenu->addAction(QStringLiteral("Fill Calendar with Recurring Dates"));
    mnuFillFromIcs = FileMenu->addAction(QStringLiteral("Fill Calendar from iCalendar File..."));
    mnuEditRecurring = FileMenu->addAction(QStringLiteral("Edit Recurring Dates"));
    FileMenu->addSeparator();
    mnuPrint = FileMenu->addAction(QStringLiteral("P&rint Calendar"));
    mnuPrintSetup = FileMenu->addAction(QStringLiteral("Print Set&up"));
    FileMenu->addSeparator();
    mnuExit = FileMenu->addAction(QStringLiteral("E&xit"));

    createEditMenu();
    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    Contents1 = help->addAction(QStringLiteral("&Contents"));
    About1 = help->addAction(QStringLiteral("&About"));
    mnuShowHints = help->addAction(QStringLiteral("&Show Hints"));
    mnuShowHints->setCheckable(true);
    help->addSeparator();
    mnuWebsite = help->addAction(QStringLiteral("Visit Our Internet Website"));
    mnuConfigInfo = help->addAction(QStringLiteral("Configuration Information"));
    mnuTechSupport = help->addAction(QStringLiteral("Technical Support"));
    mnuFAQ = help->addAction(QStringLiteral("Frequently Asked Questions"));

    connect(New1, &QAction::triggered, this, &TCalendarMain::New1Click);
    connect(Open1, &QAction::triggered, this, &TCalendarMain::Open1Click);
    connect(mnuSave, &QAction::triggered, this, &TCalendarMain::mnuSaveClick);
    connect(mnuSaveAs, &QAction::triggered, this, [this] { mnuSaveAsClick(); });
    connect(mnuCancelChanges, &QAction::triggered, this, &TCalendarMain::mnuCancelChangesClick);
    connect(mnuProperties, &QAction::triggered, this, &TCalendarMain::mnuPropertiesClick);
    connect(mnuUserTitle, &QAction::triggered, this, &TCalendarMain::mnuUserTitleClick);
    connect(mnuClearAllCellContents, &QAction::triggered, this, &TCalendarMain::mnuClearAllCellContentsClick);
    connect(mnuExit, &QAction::triggered, this, &QWidget::close);
    connect(About1, &QAction::triggered, this, &TCalendarMain::About1Click);
    connect(mnuShowHints, &QAction::triggered, this, &TCalendarMain::mnuShowHintsClick);
    connect(mnuFillRecurring, &QAction::triggered, this, &TCalendarMain::mnuFillRecurringClick);
    connect(mnuFillFromIcs, &QAction::triggered, this, &TCalendarMain::mnuFillFromIcsClick);
    connect(DefaultEditorFont1, &QAction::triggered, this, &TCalendarMain::DefaultEditorFont1Click);
    connect(mnuEditRecurring, &QAction::triggered, this, &TCalendarMain::mnuEditRecurringClick);

    connectPrintCommands();
    connectExportCommands();
}

void TCalendarMain::createToolBar()
{
    Panel3 = new QWidget(this);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setMouseTracking(true);
    auto* bar = new QHBoxLayout(Panel3);
    bar->setContentsMargins(4, 2, 4, 2);
    bar->setSpacing(3);

    // "+" and "-" on the keyboard step the zoom while the spinner has the focus.
    const QString zoomHint =
        QStringLiteral("Press plus (+) or minus (-) to \nincrease or decrease the zoom percentage");
    ZoomSpinner = new TSpinButton(Panel3);
    ZoomSpinner->setObjectName(QStringLiteral("ZoomSpinner"));
    ZoomSpinner->setToolTip(zoomHint);
    ZoomSpinner->setUpHint(zoomHint);
    ZoomSpinner->setDownHint(zoomHint);
    ZoomUpButton = ZoomSpinner->upButton();
    ZoomDownButton = ZoomSpinner->downButton();
    connect(ZoomSpinner, &TSpinButton::upClick, this, &TCalendarMain::ZoomSpinnerUpClick);
    connect(ZoomSpinner, &TSpinButton::downClick, this, &TCalendarMain::ZoomSpinnerDownClick);
    bar->addWidget(ZoomSpinner);

    ZoomCaption = new QLabel(QStringLiteral("100%"), Panel3);
    ZoomCaption->setObjectName(QStringLiteral("ZoomCaption"));
    ZoomCaption->setMinimumWidth(40);
    bar->addWidget(ZoomCaption);

    PropertiesButton = toolButton(Panel3, QStringLiteral("Properties"), QStringLiteral("Set/change Properties for the calendar"),
                                  QStringLiteral("PropertiesButton"));
    Printbutton = toolButton(Panel3, QStringLiteral("Print"), QStringLiteral("Print the calendar"),
                             QStringLiteral("Printbutton"));
    ShowHideIconTool = toolButton(Panel3, QStringLiteral("Show Icon Tool"), QString(), QStringLiteral("ShowHideIconTool"));
    bar->addWidget(PropertiesButton);
    bar->addWidget(Printbutton);
    bar->addWidget(ShowHideIconTool);
    createUndoButtons(Panel3);
    bar->addSpacing(8);

    struct Tool {
        QToolButton** button;
        const char* text;
        const char* hint;
        const char* name;
        TLPanelState state;
    };
    const Tool toolList[] = {
        {&Pointerbutton, "Select", "Selection tool", "Pointerbutton", TLPanelState::psPointing},
        {&DrawLabelButton, "Label", "Label tool", "DrawLabelButton", TLPanelState::psLabel},
        {&DrawImageButton, "Clip Art", "Clip Art Tool", "DrawImageButton", TLPanelState::psImage},
        {&DrawRichText, "Rich Text", "Rich Text tool \nMixed fonts, colors and styles", "DrawRichText",
         TLPanelState::psRichLabel},
        {&DrawSuperText, "SuperText", "SuperText tool \nSpecial Effects Text - fill with gradients or bitmaps",
         "DrawSuperText", TLPanelState::psSuperText},
        {&PSpeedButton1, "Calendar", "Floating Calendar tool \nMini Calendar that you can place anywhere",
         "PSpeedButton1", TLPanelState::psFlatCalendar},
    };
    for (const Tool& t : toolList) {
        QToolButton* b = toolButton(Panel3, QString::fromUtf8(t.text), QString::fromUtf8(t.hint), QString::fromUtf8(t.name));
        b->setCheckable(true);
        b->setAutoExclusive(true);
        *t.button = b;
        const TLPanelState state = t.state;
        connect(b, &QToolButton::clicked, this, [this, state] {
            CalendarPanel->SetPanelState(state);
            // A creation tool turns day clicks into placing an object: the cross says so.
            CalendarPanel->setCursor(state == TLPanelState::psPointing ? Qt::ArrowCursor : Qt::CrossCursor);
        });
        bar->addWidget(b);
    }
    Pointerbutton->setChecked(true);
    // The creation tools wait for the placed objects they make; until those exist a
    // chosen tool would only leave the page deaf to day clicks.
    for (QToolButton* tool : {DrawLabelButton, DrawImageButton, DrawRichText, DrawSuperText, PSpeedButton1})
        m_unavailable.append(tool);

    Assistantbutton = toolButton(Panel3, QStringLiteral("Tips"), QStringLiteral("Show Quick Tips"),
                                 QStringLiteral("Assistantbutton"));
    bar->addWidget(Assistantbutton);

    Savebutton = toolButton(Panel3, QStringLiteral("&Save"), QStringLiteral("Save changes to the calendar"),
                            QStringLiteral("Savebutton"));
    Savebutton->setStyleSheet(QStringLiteral("QToolButton { color: green; font-weight: bold; }"));
    Savebutton->hide();
    CancelButton = toolButton(Panel3, QStringLiteral("&Cancel"), QStringLiteral("Cancel all changes"),
                              QStringLiteral("CancelButton"));
    CancelButton->setStyleSheet(QStringLiteral("QToolButton { color: red; font-weight: bold; }"));
    CancelButton->hide();
    bar->addWidget(Savebutton);
    bar->addWidget(CancelButton);
    bar->addStretch(1);

    connect(PropertiesButton, &QToolButton::clicked, this, &TCalendarMain::mnuPropertiesClick);
    connect(Printbutton, &QToolButton::clicked, this, &TCalendarMain::mnuPrintCalendarClick);
    connect(Savebutton, &QToolButton::clicked, this, &TCalendarMain::SavebuttonClick);
    connect(CancelButton, &QToolButton::clicked, this, &TCalendarMain::mnuCancelChangesClick);
}

void TCalendarMain::setCommandAvailable(QObject* command, bool available)
{
    if (available)
        m_unavailable.removeAll(command);
    else if (!m_unavailable.contains(command))
        m_unavailable.append(command);
    SetButtons();
}

void TCalendarMain::enable(QObject* command, bool enabled)
{
    const bool on = enabled && !m_unavailable.contains(command);
    if (auto* a = qobject_cast<QAction*>(command))
        a->setEnabled(on);
    else if (auto* w = qobject_cast<QWidget*>(command))
        w->setEnabled(on);
}

void TCalendarMain::SetModified(bool value)
{
    if (value == Modified)
        return;
    Modified = value;
    SetButtons();
}

bool TCalendarMain::HasDayCells() const
{
    return CalendarPanel && !CalendarPanel->isHidden() && layoutHasDayCells(CalendarPanel->settings().CalendarLayout);
}

void TCalendarMain::SetButtons()
{
    if (!CalendarPanel)
        return;
    const bool cells = HasDayCells();
    const bool visible = !CalendarPanel->isHidden();
    const bool named = !CalendarFileName.isEmpty();
    for (QObject* c : {static_cast<QObject*>(mnuFillRecurring), static_cast<QObject*>(mnuFillFromIcs),
                       static_cast<QObject*>(mnuUserTitle),
                       static_cast<QObject*>(ShowHideIconTool), static_cast<QObject*>(mnuClearAllCellContents)})
        enable(c, cells);
    enable(mnuSave, named);
    for (QObject* c : {static_cast<QObject*>(mnuSaveAs), static_cast<QObject*>(mnuProperties),
                       static_cast<QObject*>(PropertiesButton), static_cast<QObject*>(mnuPrintSetup),
                       static_cast<QObject*>(ZoomSpinner), static_cast<QObject*>(mnuSaveAsBitmap),
                       static_cast<QObject*>(mnuSaveAsJPG), static_cast<QObject*>(mnuSaveAsPNG),
                       static_cast<QObject*>(mnuSaveAsPDF)})
        enable(c, visible);
    enable(mnuPrint, visible && PrinterReady);
    enable(Printbutton, visible && PrinterReady);
    enable(mnuCancelChanges, visible && named);
    // The editor's focus as the window keeps it, so a window that is not active keeps
    // its formatting bar.
    enable(WPToolBar1, visible && WPRichText1 && WPRichText1->isVisible() && focusWidget() == WPRichText1);
    Savebutton->setVisible(Modified);
    CancelButton->setVisible(Modified && named);
    ShowHideIconTool->setText(IconToolShowing() ? QStringLiteral("Hide Icon Tool") : QStringLiteral("Show Icon Tool"));
    // Commands that need no page.
    for (QObject* c : {static_cast<QObject*>(New1), static_cast<QObject*>(Open1), static_cast<QObject*>(mnuEditRecurring),
                       static_cast<QObject*>(DefaultEditorFont1), static_cast<QObject*>(Contents1),
                       static_cast<QObject*>(mnuConfigInfo), static_cast<QObject*>(mnuTechSupport),
                       static_cast<QObject*>(mnuFAQ), static_cast<QObject*>(Assistantbutton)})
        enable(c, true);
    // The drawing tools are always there, as far as this build has them.
    for (QToolButton* tool :
         {Pointerbutton, DrawLabelButton, DrawImageButton, DrawRichText, DrawSuperText, PSpeedButton1})
        enable(tool, true);
}

void TCalendarMain::SetCaption()
{
    QString caption = QStringLiteral("Orvanta");
    if (!CalendarFileName.isEmpty())
        caption += QStringLiteral("  [") + QFileInfo(CalendarFileName).fileName() + QLatin1Char(']');
    else if (!CalendarPanel->isHidden())
        caption += QStringLiteral(" [untitled]"); // as New names it, so a zoom step keeps it
    setWindowTitle(caption);
    ZoomCaption->setText(QString::number(roundHalfEven(double(CalendarPanel->Zoom()) * 100.0)) + QLatin1Char('%'));
    QCoreApplication::processEvents();
}

void TCalendarMain::stepZoom(float delta)
{
    if (ZoomBusy)
        return;
    ZoomBusy = true;
    // Cleared on every way out, also when setting the zoom fails.
    struct Clear {
        bool& flag;
        ~Clear() { flag = false; }
    } clear{ZoomBusy};
    DoSaveRichtext();
    const float next = CalendarPanel->Zoom() + delta;
    QCoreApplication::processEvents();
    CalendarPanel->SetZoom(next);
    SetCaption();
}

void TCalendarMain::ZoomSpinnerUpClick()
{
    if (CalendarPanel->Zoom() <= 0.95f)
        stepZoom(0.1f);
}

void TCalendarMain::ZoomSpinnerDownClick()
{
    if (0.6f < CalendarPanel->Zoom())
        stepZoom(-0.1f);
}

void TCalendarMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_firstActivationDone && !m_activationScheduled) {
        m_activationScheduled = true;
        QTimer::singleShot(0, this, &TCalendarMain::FormActivate);
    }
}

void TCalendarMain::FormActivate()
{
    // Runs once: later activations (a message box closing during an open) must not
    // reopen the last file again.
    if (m_firstActivationDone)
        return;
    m_firstActivationDone = true;
    HourglassOn();
    FloatingPalette->SyncMenuChecks(Preferences.LastIconFile);
    LoadFormPlacement(this, QStringLiteral("TCalendarMain"));
    PrinterReady = PrintersAvailable();
    CalendarPanel->ResetToDefaults();
    if (!m_startupFile.isEmpty())
        openStartupFile();
    else if (RecentFiles->Count() > 0 && QFileInfo::exists(RecentFiles->Items().first()))
        OpenCalendarFile(RecentFiles->Items().first());
    QCoreApplication::processEvents();
    CalendarPanel->setVisible(!CalendarFileName.isEmpty());
    QCoreApplication::processEvents();
    enable(mnuSave, false);
    m_history->clear(true);
    SetModified(false);
    FirstActivation = false;
    SetButtons();
    SetCaption();
    HourglassOff();
    CheckFloaterStatus();
    setIconToolHidden(false);
    SetButtons();
    CalendarPanel->PaintSuspended = false;
    CalendarPanel->update();
}

void TCalendarMain::mnuUserTitleClick()
{
    TUserTitleForm form(this);
    form.setTitle(CalendarPanel->settings().UserTitle);
    CenterForm(&form);
    if (form.exec() == QDialog::Accepted) {
        PageStep step(m_history, QStringLiteral("User Defined Title"));
        CalendarPanel->SetUserTitle(form.title());
        SetModified(true);
    }
}

void TCalendarMain::About1Click()
{
    TSplashform about(ProgramVersion, this);
    CenterForm(&about);
    about.exec();
}

void TCalendarMain::mnuShowHintsClick()
{
    ShowHints = mnuShowHints->isChecked();
    Preferences.ShowHints = ShowHints;
    TakeIconToolState();
    Preferences.SavePreferences();
}

void TCalendarMain::mnuPropertiesClick()
{
    setIconToolHidden(true);
    const int month = CalendarPanel->settings().MainCalMonth;
    const int year = CalendarPanel->settings().MainCalYear;
    DoSaveRichtext();
    // Settings, and the cell texts a new month or layout family clears, in one step.
    PageStep step(m_history, QStringLiteral("Properties"));
    TCalendarProperties dialog(this, CalendarPanel->ppi());
    CenterForm(&dialog);
    dialog.ExampleCalendar()->SetZoom(PercentToZoomScale(PropZoomPercent));
    dialog.setCreatingNew(CreatingNew);
    if (CreatingNew)
        dialog.setCurrentDocumentInfo(CalendarPanel->LayoutFamily(), false, false);
    else if (!CalendarPanel->isHidden())
        dialog.setCurrentDocumentInfo(CalendarPanel->LayoutFamily(), CalendarPanel->HasCellText(),
                                      CalendarPanel->HasPlacedObjects());
    dialog.ExampleCalendar()->AssignSettings(*CalendarPanel);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    PropertiesAccepted = false;
    PropZoomPercent = ZoomScaleToPercent(dialog.ExampleCalendar()->Zoom());
    if (accepted) {
        if (!CalendarPanel->SameSettings(*dialog.ExampleCalendar()))
            SetModified(true);
        PropertiesAccepted = true;
        const int family = CalendarPanel->LayoutFamily();
        CalendarPanel->AssignSettings(*dialog.ExampleCalendar());
        if (family != CalendarPanel->LayoutFamily())
            CalendarPanel->ClearAllCells();
        const TCalendarSettings& s = CalendarPanel->settings();
        if ((s.MainCalMonth != month || s.MainCalYear != year) && HasDayCells())
            CalendarPanel->ClearAllCells();
    }
    CreatingNew = false;
    CalendarPanel->update();
    CheckFloaterStatus();
    setIconToolHidden(false);
    SetButtons();
    Preferences.PropZoomPercent = PropZoomPercent;
    TakeIconToolState();
    Preferences.SavePreferences();
}

void TCalendarMain::mnuFillRecurringClick()
{
    DoSaveRichtext();
    PageStep step(m_history, QStringLiteral("Fill Calendar with Recurring Dates"));
    const TCalendarSettings& s = CalendarPanel->settings();
    RunFillCalendarCommand(
        this, s.MainCalYear, s.MainCalMonth, [this](int day, const QString& text) { PuttextOnDay(day, text); },
        [this](bool hidden) { setIconToolHidden(hidden); });
    SetButtons();
}

void TCalendarMain::mnuEditRecurringClick()
{
    RunEditRecurringDatesCommand(this, [this](bool hidden) { setIconToolHidden(hidden); });
    SetButtons();
}

void TCalendarMain::mnuClearAllCellContentsClick()
{
    DoSaveRichtext();
    PageStep step(m_history, QStringLiteral("Clear All Cell Contents"));
    CalendarPanel->ClearAllCells();
    CalendarPanel->update();
    SetModified(true);
}

bool TCalendarMain::AppMessage(QKeyEvent* event)
{
    if (QApplication::activeWindow() != this)
        return false;
    switch (event->key()) {
    case Qt::Key_PageDown:
        ZoomSpinnerUpClick();
        return false;
    case Qt::Key_PageUp:
        ZoomSpinnerDownClick();
        return false;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        if (WPRichText1->isVisible() && WPRichText1->hasFocus()) {
            if (event->key() == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier))
                CalendarPanel->ClickPreviousCell(CurrentCell);
            else
                CalendarPanel->ClickNextCell(CurrentCell);
            return true;
        }
        return false;
    default:
        return false;
    }
}

bool TCalendarMain::eventFilter(QObject* watched, QEvent* event)
{
    noteUserInput(watched, event);
    if ((watched == CalendarPanel || watched == WPRichText1) && cellEditorEvent(watched, event))
        return true;
    switch (event->type()) {
    case QEvent::KeyPress: {
        if (!watched->isWidgetType() || isSamePressTravellingUp(static_cast<QWidget*>(watched), event))
            break;
        const bool consumed = AppMessage(static_cast<QKeyEvent*>(event));
        // Remembered afterwards: presses handled while the step let events run must not
        // take this one's place.
        rememberPress(static_cast<QWidget*>(watched), event);
        if (consumed)
            return true;
        break;
    }
    case QEvent::ToolTip:
        if (!ShowHints)
            return true;
        break;
    case QEvent::Resize:
    case QEvent::Move:
        if (watched == CalendarPanel && ScrollBox2 && ScrollBox2->widget())
            ScrollBox2->widget()->resize(CalendarPanel->x() + CalendarPanel->width() + 5,
                                         CalendarPanel->y() + CalendarPanel->height() + 5);
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TCalendarMain::isSamePressTravellingUp(QWidget* receiver, QEvent* event)
{
    // A key its receiver ignores travels up the parents and passes here once for each.
    // The hook acts on its first sight only. A new press may reuse the address of the
    // last one and even its time stamp, but it starts again at a focused widget, not at
    // a parent of where the last one got to.
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool same = event == m_hookedKeyEvent && key->key() == m_hookedKey && key->timestamp() == m_hookedTime
        && m_hookedReceiver && receiver != m_hookedReceiver && receiver->isAncestorOf(m_hookedReceiver);
    if (same)
        m_hookedReceiver = receiver;
    return same;
}

void TCalendarMain::rememberPress(QWidget* receiver, QEvent* event)
{
    m_hookedKeyEvent = event;
    m_hookedKey = static_cast<QKeyEvent*>(event)->key();
    m_hookedTime = static_cast<QKeyEvent*>(event)->timestamp();
    m_hookedReceiver = receiver;
}

void TCalendarMain::closeEvent(QCloseEvent* event)
{
    // FormCloseQuery offers to save. Closing would lose the changes when the user
    // wanted them saved and they were not (Save dialog cancelled, save failed): the
    // window stays open then. FormClose keeps the zoom and the placement for next time.
    if (!CheckSaveNeeded()) {
        event->ignore();
        return;
    }
    MainZoomPercent = ZoomScaleToPercent(CalendarPanel->Zoom());
    Preferences.MainZoomPercent = MainZoomPercent;
    Preferences.PropZoomPercent = PropZoomPercent;
    Preferences.ShowHints = ShowHints;
    TakeIconToolState();
    Preferences.SavePreferences();
    SaveFormPlacement(this, QStringLiteral("TCalendarMain"));
    closeIconTool();
    event->accept();
}
