// In-place editing of day-cell text: the editor laid over a clicked cell, the commit
// step every other command relies on, the default editor font, and adding lines to days.
#include "calendar/calendar_panel.h"
#include "platform/font_choice.h"
#include "platform/numeric.h"
#include "richtext/wp_rich_text.h"
#include "richtext/wp_tool_bar.h"
#include "shell/calendar_main.h"
#include "shell/cell_lines.h"
#include "shell/page_history.h"
#include "special/icon_list_box.h"

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <cmath>

void TCalendarMain::createCellEditor(QWidget* scrollContent)
{
    WPRichText1 = new TWPRichText(scrollContent);
    WPRichText1->setObjectName(QStringLiteral("WPRichText1"));
    WPRichText1->setLineWrapMode(QTextEdit::WidgetWidth);
    WPRichText1->setTabChangesFocus(true);
    WPRichText1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    WPRichText1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    WPRichText1->setFrameStyle(QFrame::Box | QFrame::Plain); // a single line
    WPRichText1->setBackgroundColor(Qt::white);
    WPRichText1->hide();
    WPRichText1->setAcceptDrops(true);
    // The page cuts cell text at the cell's right edge, and so does the editor: it never
    // scrolls sideways, which would hide the first letters of every line.
    QScrollBar* sideways = WPRichText1->horizontalScrollBar();
    connect(sideways, &QScrollBar::rangeChanged, this, [sideways](int, int max) {
        if (max != 0)
            sideways->setRange(0, 0);
    });
    connect(WPRichText1, &TWPRichText::changed, this, &TCalendarMain::WPRichText1Change);
    connect(WPRichText1, &TWPRichText::entered, this, &TCalendarMain::WPRichText1Enter);

    // Rich-text labels find this hidden editor by name and draw through it.
    MASTERWPRICHTEXT = new TWPRichText(Panel3);
    MASTERWPRICHTEXT->setObjectName(QStringLiteral("MASTERWPRICHTEXT"));
    MASTERWPRICHTEXT->hide();

    CalendarPanel->setAcceptDrops(true);
    CalendarPanel->ClickedInCellEvent = [this](const TRect& rTotal, const TRect& rFree, int iCell, int iDay,
                                               TWPRtfStorage& storage) {
        CalendarPanelClickedInCellEvent(rTotal, rFree, iCell, iDay, storage);
    };
}

void TCalendarMain::CalendarPanelClickedInCellEvent(const TRect&, const TRect& rFree, int iCell, int,
                                                    TWPRtfStorage& storage)
{
    CurrentCell = iCell;
    EditorArmed = false;
    DoSaveRichtext();
    EditedStorage = &storage;
    m_editedCell = iCell;
    EditorOpen = true;
    const int w = rFree.Right - rFree.Left + 1;
    const int h = rFree.Bottom - rFree.Top + 1;
    const int ppi = CalendarPanel->ppi();
    WPRichText1->setPageSizeTwips(int(std::lround(double(w) / ppi * 1440.0)),
                                  int(std::lround(double(h) / ppi * 1440.0)));
    WPRichText1->setZoom(truncToInt(double(CalendarPanel->Zoom()) * 100.0));
    WPRichText1->loadFromStorage(storage);
    // The editor's text area lies exactly where the page draws the cell's text (w by h
    // pixels at rFree's corner), so the text does not move when the editor opens; the
    // border goes around it.
    const int frame = WPRichText1->frameWidth();
    WPRichText1->setGeometry(rFree.Left + CalendarPanel->x() - frame, rFree.Top + CalendarPanel->y() - frame,
                             w + 2 * frame, h + 2 * frame);
    WPRichText1->show();
    WPRichText1->raise();
    WPRichText1->setFocus(Qt::MouseFocusReason);
    EditorArmed = true;
}

void TCalendarMain::DoSaveRichtext()
{
    if (!EditorOpen || !EditedStorage)
        return;
    // A cell only looked at keeps its bytes: the text is stored when it was edited.
    if (WPRichText1->document()->isModified()) {
        PageStep step(m_history, typingStepName());
        WPRichText1->storeToStorage(*EditedStorage);
    }
    WPRichText1->hide();
    EditorOpen = false;
    if (WPToolBar1)
        WPToolBar1->setEnabled(false);
    CalendarPanel->update();
}

void TCalendarMain::WPRichText1Change()
{
    if (EditorArmed)
        SetModified(true);
}

void TCalendarMain::WPRichText1Enter()
{
    if (WPToolBar1) {
        WPToolBar1->attach(WPRichText1);
        WPToolBar1->setEnabled(true);
    }
    if (WPRichText1->isEmptyText())
        SetDefaultFontNow();
}

void TCalendarMain::SetDefaultFontNow()
{
    WPRichText1->setCurrentAttr(DefaultFontAttr(WPRichText1->currentAttr(), Preferences));
}

void TCalendarMain::DefaultEditorFont1Click()
{
    Preferences.LoadPreferences();
    QColor color = toQColor(Preferences.DefaultFontColor);
    if (const auto chosen = ChooseStoredFont(Preferences.defaultFont(), QStringLiteral("Default Editor Font"), &color)) {
        Preferences.setDefaultFont(*chosen);
        Preferences.DefaultFontColor = fromQColor(color);
        TakeIconToolState();
        Preferences.SavePreferences();
    }
    SetDefaultFontNow();
}

void TCalendarMain::PuttextOnDay(int day, const QString& text)
{
    const int c0 = CurrentCell;
    DoSaveRichtext();
    const int i = CalendarPanel->CellOfDay(day);
    if (i == -1)
        return;
    const QByteArray rtf = AppendCellLine(*WPRichText1, CalendarPanel->CellRtf(i), text, [this] {
        SetDefaultFontNow();
        return WPRichText1->currentAttr();
    });
    Modified = true; // directly: the command states are refreshed by the caller
    CalendarPanel->SetCellRtf(i, rtf);
    if (c0 > 0)
        CalendarPanel->ClickCell(c0);
}

bool TCalendarMain::acceptsCellDrop(const QMimeData* data) const
{
    return data && (data->hasImage() || data->hasFormat(TIconListBox::IconMimeType));
}

bool TCalendarMain::cellEditorEvent(QObject* watched, QEvent* event)
{
    const bool onPanel = watched == CalendarPanel;
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
        auto* e = static_cast<QDragMoveEvent*>(event);
        const QPoint p = e->position().toPoint();
        // The page takes icons only over a day cell, the open editor anywhere. Entering
        // the page anywhere is accepted, though: a refused entry would end the drag for
        // the whole page, and the move that always follows decides for the point.
        const bool here = !onPanel || event->type() == QEvent::DragEnter || CalendarPanel->PointInCell(p.x(), p.y());
        if (acceptsCellDrop(e->mimeData()) && here)
            e->acceptProposedAction();
        else
            e->ignore();
        return true;
    }
    if (event->type() == QEvent::Drop) {
        auto* e = static_cast<QDropEvent*>(event);
        const QPoint p = e->position().toPoint();
        if (onPanel && !CalendarPanel->PointInCell(p.x(), p.y())) {
            e->ignore();
            return true;
        }
        if (onPanel)
            CalendarPanelDragDrop(p.x(), p.y(), e->mimeData());
        else
            WPRichText1DragDrop(e->mimeData());
        e->acceptProposedAction();
        // The icon came from another window: typing goes on next to it.
        activateWindow();
        return true;
    }
    return false;
}

void TCalendarMain::CalendarPanelDragDrop(int x, int y, const QMimeData* data)
{
    DoSaveRichtext();
    CalendarPanel->ClickCellAt(x, y);
    if (EditorOpen)
        WPRichText1DragDrop(data);
    CurrentCell = CalendarPanel->CellAt(x, y);
}

void TCalendarMain::WPRichText1DragDrop(const QMimeData* data)
{
    QImage icon;
    if (data && data->hasImage())
        icon = qvariant_cast<QImage>(data->imageData());
    if (icon.isNull() && data && data->hasFormat(TIconListBox::IconMimeType))
        icon.loadFromData(data->data(TIconListBox::IconMimeType));
    if (icon.isNull())
        return;
    // The icon is drawn onto a bitmap of its own size, then embedded at the caret.
    QImage bitmap(icon.size(), QImage::Format_RGB32);
    bitmap.fill(Qt::white);
    {
        QPainter p(&bitmap);
        p.drawImage(0, 0, icon);
    }
    QCoreApplication::processEvents();
    // What was typed before the drop and the dropped picture are a step each; the editor
    // stays open so typing goes on next to the picture.
    commitCellInPlace(typingStepName());
    if (WPRichText1->insertBitmap(bitmap)) {
        SetModified(true);
        commitCellInPlace(QStringLiteral("Drop Icon"));
    }
}
