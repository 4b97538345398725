// In-place editing of day-cell text: the editor laid over a clicked cell, the commit
// step every other command relies on, the default editor font, and adding lines to days.
#include "calendar/calendar_panel.h"
#include "platform/numeric.h"
#include "platform/prompter.h"
#include "richtext/wp_rich_text.h"
#include "richtext/wp_tool_bar.h"
#include "shell/calendar_main.h"
#include "special/icon_list_box.h"

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPainter>
#include <cmath>

void TCalendarMain::createCellEditor(QWidget* scrollContent)
{
    WPRichText1 = new TWPRichText(scrollContent);
    WPRichText1->setObjectName(QStringLiteral("WPRichText1"));
    WPRichText1->setLineWrapMode(QTextEdit::WidgetWidth);
    WPRichText1->setTabChangesFocus(true);
    WPRichText1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    WPRichText1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    WPRichText1->setFrameShape(QFrame::Box);
    WPRichText1->setBackgroundColor(Qt::white);
    WPRichText1->hide();
    WPRichText1->setAcceptDrops(true);
    WPRichText1->installEventFilter(this);
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
    EditorOpen = true;
    const int w = rFree.Right - rFree.Left + 1;
    const int h = rFree.Bottom - rFree.Top + 1;
    const int ppi = CalendarPanel->ppi();
    WPRichText1->setPageSizeTwips(int(std::lround(double(w) / ppi * 1440.0)),
                                  int(std::lround(double(h) / ppi * 1440.0)));
    WPRichText1->setZoom(truncToInt(double(CalendarPanel->Zoom()) * 100.0));
    WPRichText1->loadFromStorage(storage);
    WPRichText1->setGeometry(rFree.Left + CalendarPanel->x() + 1, rFree.Top + CalendarPanel->y() + 1, w, h);
    WPRichText1->show();
    WPRichText1->raise();
    WPRichText1->setFocus(Qt::MouseFocusReason);
    EditorArmed = true;
}

void TCalendarMain::DoSaveRichtext()
{
    if (!EditorOpen || !EditedStorage)
        return;
    WPRichText1->storeToStorage(*EditedStorage);
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
    TWPCharAttr attr = WPRichText1->currentAttr();
    attr.fontName = Preferences.DefaultFontName;
    attr.size = Preferences.DefaultFontSize;
    // Styles that are on in the default font are added; the others stay as they were.
    attr.bold = attr.bold || Preferences.DefaultFontBold;
    attr.italic = attr.italic || Preferences.DefaultFontItalic;
    attr.underline = attr.underline || Preferences.DefaultFontUnderline;
    attr.strikeout = attr.strikeout || Preferences.DefaultFontStrikeout;
    const QColor wanted = toQColor(Preferences.DefaultFontColor);
    int index = 0;
    const auto& table = TWPRichText::colorTable();
    for (int i = 0; i < int(table.size()); ++i)
        if (table[size_t(i)] == wanted)
            index = i; // the highest matching entry wins
    attr.colorIndex = index;
    WPRichText1->setCurrentAttr(attr);
}

void TCalendarMain::DefaultEditorFont1Click()
{
    Preferences.LoadPreferences();
    QFont initial = Preferences.defaultFont();
    if (const auto chosen = prompter().chooseFont(initial, QStringLiteral("Default Editor Font"))) {
        Preferences.setDefaultFont(*chosen);
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
    WPRichText1->setRtf(CalendarPanel->CellRtf(i));
    const int n = WPRichText1->characterCount();
    TWPCharAttr attr;
    if (WPRichText1->isEmptyText()) {
        SetDefaultFontNow();
        attr = WPRichText1->currentAttr();
    } else {
        int pos = n - 1;
        attr = WPRichText1->attrAt(pos);
        while (attr.size == 0 && pos > -1) {
            --pos;
            attr = WPRichText1->attrAt(pos);
        }
    }
    WPRichText1->addParagraph(text, attr);
    Modified = true; // directly: the command states are refreshed by the caller
    CalendarPanel->SetCellRtf(i, WPRichText1->rtf());
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
    if (WPRichText1->insertBitmap(bitmap))
        SetModified(true);
}
