// Undo and redo: the Edit menu, its tool-bar buttons, and how inputs and commands
// reach the page's history.
#include "calendar/calendar_panel.h"
#include "objects/handle.h"
#include "richtext/wp_rich_text.h"
#include "shell/calendar_main.h"
#include "shell/page_history.h"

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>

void TCalendarMain::createEditMenu()
{
    EditMenu = menuBar()->addMenu(QStringLiteral("&Edit"));
    mnuUndo = EditMenu->addAction(QStringLiteral("&Undo"));
    mnuUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    mnuRedo = EditMenu->addAction(QStringLiteral("&Redo"));
    mnuRedo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    connect(mnuUndo, &QAction::triggered, this, &TCalendarMain::mnuUndoClick);
    connect(mnuRedo, &QAction::triggered, this, &TCalendarMain::mnuRedoClick);
}

void TCalendarMain::createUndoButtons(QWidget* bar)
{
    auto* layout = static_cast<QBoxLayout*>(bar->layout());
    for (QToolButton** b : {&UndoButton, &RedoButton}) {
        *b = new QToolButton(bar);
        (*b)->setAutoRaise(true);
        layout->addWidget(*b);
    }
    UndoButton->setObjectName(QStringLiteral("UndoButton"));
    UndoButton->setText(QStringLiteral("Undo"));
    RedoButton->setObjectName(QStringLiteral("RedoButton"));
    RedoButton->setText(QStringLiteral("Redo"));
    connect(UndoButton, &QToolButton::clicked, this, &TCalendarMain::mnuUndoClick);
    connect(RedoButton, &QToolButton::clicked, this, &TCalendarMain::mnuRedoClick);
}

void TCalendarMain::createUndoCommands()
{
    m_history = new PageHistory(*CalendarPanel);
    QUndoStack* stack = m_history->stack();
    connect(stack, &QUndoStack::indexChanged, this, &TCalendarMain::updateUndoCommands);
    connect(stack, &QUndoStack::cleanChanged, this, &TCalendarMain::updateUndoCommands);
    // Modified follows the history: back at the state last saved or opened, the page is
    // unchanged. Typing in a cell marks it before its text becomes a step.
    connect(stack, &QUndoStack::indexChanged, this, [this, stack] { SetModified(!stack->isClean()); });
    connect(stack, &QUndoStack::cleanChanged, this, [this](bool clean) { SetModified(!clean); });
    updateUndoCommands();
}

void TCalendarMain::updateUndoCommands()
{
    if (!m_history)
        return;
    const QUndoStack* stack = m_history->stack();
    const QString undo = stack->canUndo() ? QStringLiteral("Undo ") + stack->undoText() : QStringLiteral("Undo");
    const QString redo = stack->canRedo() ? QStringLiteral("Redo ") + stack->redoText() : QStringLiteral("Redo");
    mnuUndo->setText(QLatin1Char('&') + undo);
    mnuRedo->setText(QLatin1Char('&') + redo);
    mnuUndo->setEnabled(stack->canUndo());
    mnuRedo->setEnabled(stack->canRedo());
    UndoButton->setEnabled(stack->canUndo());
    RedoButton->setEnabled(stack->canRedo());
    UndoButton->setToolTip(undo);
    RedoButton->setToolTip(redo);
}

void TCalendarMain::mnuUndoClick()
{
    // The open cell's text is a step too: it is the one taken back first.
    DoSaveRichtext();
    m_history->undo();
    CalendarPanel->update();
    CheckFloaterStatus();
    SetButtons();
    updateUndoCommands();
}

void TCalendarMain::mnuRedoClick()
{
    DoSaveRichtext();
    m_history->redo();
    CalendarPanel->update();
    CheckFloaterStatus();
    SetButtons();
    updateUndoCommands();
}

QString TCalendarMain::typingStepName() const
{
    return QStringLiteral("Typing in ") + QString::number(CalendarPanel->DayOfCell(m_editedCell));
}

void TCalendarMain::commitCellInPlace(const QString& stepName)
{
    if (!EditorOpen || !EditedStorage || !WPRichText1->document()->isModified())
        return;
    PageStep step(m_history, stepName);
    WPRichText1->storeToStorage(*EditedStorage);
    CalendarPanel->update();
}

namespace {

bool isUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return true;
    default:
        return false;
    }
}

// The step a key on the page stands for, when it is one of the panel's own keys.
QString pageKeyStepName(const QKeyEvent* e)
{
    if (e->modifiers() & Qt::ControlModifier) {
        if (e->key() == Qt::Key_X)
            return QStringLiteral("Cut");
        if (e->key() == Qt::Key_V)
            return QStringLiteral("Paste");
        return {};
    }
    return e->key() == Qt::Key_Delete ? QStringLiteral("Delete") : QString();
}

} // namespace

void TCalendarMain::noteUserInput(QObject* watched, QEvent* event)
{
    if (!m_history || !isUserInput(event->type()))
        return;
    // A menu item says what the change it makes is called.
    if (auto* menu = qobject_cast<QMenu*>(watched)) {
        const bool chosen = event->type() == QEvent::MouseButtonRelease
            || (event->type() == QEvent::KeyPress
                && (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Return
                    || static_cast<QKeyEvent*>(event)->key() == Qt::Key_Enter));
        if (chosen && menu->activeAction() && !menu->activeAction()->menu())
            m_history->setNameHint(menu->activeAction()->text());
        return;
    }
    // Inside a dialog or a menu the input belongs to the step that opened it.
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget())
        return;
    // One input passes here once per receiver (the window, then the widget, then the
    // parents it travels up to); it seals the history once.
    const auto* input = static_cast<QInputEvent*>(event);
    if (int(event->type()) != m_lastInputType || input->timestamp() != m_lastInputTime) {
        m_lastInputType = int(event->type());
        m_lastInputTime = input->timestamp();
        m_history->seal();
    }
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()
        && (watched == CalendarPanel || watched == CalendarPanel->Handle()))
        if (const QString name = pageKeyStepName(static_cast<QKeyEvent*>(event)); !name.isEmpty())
            m_history->setNameHint(name);
}
