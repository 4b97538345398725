#include "main_window_fixture.h"
#include "platform/font_choice.h"
#include "richtext/wp_rich_text.h"
#include "test_registry.h"
#include "test_support.h"

#include "platform/ini_file.h"
#include "platform/program_folder.h"
#include "richtext/wp_tool_bar.h"

#include <QAction>
#include <QMimeData>
#include <QScrollBar>
#include <QTextDocument>

namespace {
QString cellText(TCalendarPanel32& page, int cell)
{
    TWPRichText reader;
    reader.setRtf(page.CellRtf(cell));
    return reader.toPlainText();
}

TWPCharAttr firstCharAttr(TCalendarPanel32& page, int cell)
{
    TWPRichText reader;
    reader.setRtf(page.CellRtf(cell));
    return reader.attrAt(0);
}

// Opens a cell and gives the editor the keyboard, as a click does.
void editCell(MainWindowFixture& f, int cell)
{
    QApplication::setActiveWindow(f.main.get());
    f.page().ClickCell(cell);
    f.main->WPRichText1->setFocus();
}

// The ink of the text: from its first dark column and row to its last.
QRect inkBox(const QImage& img, const QRect& area) { return ovtest::darkBounds(img, area, 160); }

QPoint cellCentre(TCalendarPanel32& page, int cell)
{
    const TRect r = page.cellGeometry(cell).rTotal;
    return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
}
} // namespace

class TestCellEditing : public QObject {
    Q_OBJECT
private slots:
    void clickTypeClickElsewhere()
    {
        MainWindowFixture f;
        QTest::mouseClick(&f.page(), Qt::LeftButton, {}, cellCentre(f.page(), 10));
        QCOMPARE(f.main->CurrentCell, 10);
        QVERIFY(f.main->EditorOpen);
        QVERIFY(f.main->WPRichText1->isVisible());
        QVERIFY(!f.main->Modified); // opening a cell changes nothing
        QTest::keyClicks(f.main->WPRichText1, QStringLiteral("Party"));
        QVERIFY(f.main->Modified);
        QTest::mouseClick(&f.page(), Qt::LeftButton, {}, cellCentre(f.page(), 20));
        QCOMPARE(f.main->CurrentCell, 20);
        QCOMPARE(cellText(f.page(), 10), QStringLiteral("Party"));
        QVERIFY(f.page().CellRtf(20).isEmpty() || cellText(f.page(), 20).isEmpty());
    }

    void editorSitsOverTheFreeArea()
    {
        MainWindowFixture f;
        f.page().ClickCell(9);
        const TRect free = f.page().cellGeometry(9).rFree;
        // The text area covers the cell's text area as the page draws it; the single
        // line of its border lies around it.
        TWPRichText* ed = f.main->WPRichText1;
        QCOMPARE(ed->frameWidth(), 1);
        const QRect text(ed->viewport()->mapTo(f.page().parentWidget(), QPoint(0, 0)), ed->viewport()->size());
        QCOMPARE(text.topLeft(), QPoint(free.Left + f.page().x(), free.Top + f.page().y()));
        QCOMPARE(text.size(), QSize(free.width() + 1, free.height() + 1));
        QCOMPARE(f.main->WPRichText1->zoom(), int(f.page().Zoom() * 100));
    }

    void tabMovesBetweenCells()
    {
        MainWindowFixture f;
        f.page().ClickCell(41);
        QApplication::setActiveWindow(f.main.get());
        f.main->WPRichText1->setFocus();
        QTest::keyClick(f.main->WPRichText1, Qt::Key_Tab);
        QCOMPARE(f.main->CurrentCell, 42);
        // At the last cell Tab does nothing, and types nothing.
        QTest::keyClick(f.main->WPRichText1, Qt::Key_Tab);
        QCOMPARE(f.main->CurrentCell, 42);
        QVERIFY(f.main->WPRichText1->isEmptyText());
        QVERIFY(f.main->WPRichText1->hasFocus());
        QTest::keyClick(f.main->WPRichText1, Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(f.main->CurrentCell, 41);
    }

    void ctrlASelectsAll()
    {
        MainWindowFixture f;
        f.page().ClickCell(3);
        QTest::keyClicks(f.main->WPRichText1, QStringLiteral("abc"));
        QTest::keyClick(f.main->WPRichText1, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(f.main->WPRichText1->textCursor().selectedText(), QStringLiteral("abc"));
        QCOMPARE(f.main->WPRichText1->toPlainText(), QStringLiteral("abc"));
    }

    void puttextOnDayAddsLinesAndReturns()
    {
        MainWindowFixture f;
        f.page().ClickCell(5); // the user is in cell 5
        f.main->PuttextOnDay(25, QStringLiteral("Christmas"));
        f.main->PuttextOnDay(25, QStringLiteral("Family"));
        const int cell = f.page().CellOfDay(25);
        QCOMPARE(cellText(f.page(), cell), QStringLiteral("Christmas\nFamily"));
        QCOMPARE(f.main->CurrentCell, 5);
        QVERIFY(f.main->EditorOpen);
        QVERIFY(f.main->Modified);
        // A day the month does not have is skipped.
        f.main->PuttextOnDay(32, QStringLiteral("Nowhere"));
    }

    void puttextOnDayUsesDefaultFontOnEmptyCell()
    {
        MainWindowFixture f;
        f.main->Preferences.DefaultFontName = QStringLiteral("Courier New");
        f.main->Preferences.DefaultFontSize = 14;
        f.main->PuttextOnDay(3, QStringLiteral("Meeting"));
        TWPRichText reader;
        reader.setRtf(f.page().CellRtf(f.page().CellOfDay(3)));
        const TWPCharAttr a = reader.attrAt(1);
        QCOMPARE(a.fontName, QStringLiteral("Courier New"));
        QCOMPARE(a.size, 14);
    }

    void redBoldLastCharacterCarriesToNewLine()
    {
        MainWindowFixture f;
        const int cell = f.page().CellOfDay(8);
        TWPRichText writer;
        TWPCharAttr red;
        red.fontName = QStringLiteral("Arial");
        red.size = 12;
        red.bold = true;
        red.colorIndex = TWPRichText::colorIndexOf(QColor(255, 0, 0));
        writer.addParagraph(QStringLiteral("Birthday"), red);
        f.page().SetCellRtf(cell, writer.rtf());
        f.main->PuttextOnDay(8, QStringLiteral("Cake"));
        TWPRichText reader;
        reader.setRtf(f.page().CellRtf(cell));
        const QString text = reader.toPlainText();
        QVERIFY(text.endsWith(QStringLiteral("Cake")));
        const TWPCharAttr last = reader.attrAt(reader.characterCount() - 2);
        QVERIFY(last.bold);
        QCOMPARE(last.colorIndex, red.colorIndex);
    }

    void clearAllCellsCommits()
    {
        MainWindowFixture f;
        f.page().ClickCell(12);
        QTest::keyClicks(f.main->WPRichText1, QStringLiteral("x"));
        f.main->mnuClearAllCellContentsClick();
        QVERIFY(!f.page().HasCellText());
        QVERIFY(!f.main->EditorOpen);
    }

    void droppedBitmapLandsInTheCell()
    {
        MainWindowFixture f;
        QImage icon(16, 16, QImage::Format_ARGB32);
        icon.fill(Qt::red);
        QMimeData data;
        data.setImageData(icon);
        const QPoint at = cellCentre(f.page(), 15);
        f.main->CalendarPanelDragDrop(at.x(), at.y(), &data);
        QCOMPARE(f.main->CurrentCell, 15);
        QVERIFY(f.main->Modified);
        f.main->DoSaveRichtext();
        QVERIFY(f.page().CellRtf(15).contains("\\pict"));
    }

    void dragOverAcceptsBitmapsOnlyOverCells()
    {
        MainWindowFixture f;
        QImage icon(16, 16, QImage::Format_ARGB32);
        icon.fill(Qt::blue);
        QMimeData data;
        data.setImageData(icon);
        const QPoint inCell = cellCentre(f.page(), 16);
        QDragEnterEvent over(inCell, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&f.page(), &over);
        QVERIFY2(over.isAccepted(), qPrintable(QString::number(f.page().CellAt(inCell.x(), inCell.y()))));
        const TRect title = f.page().drawn().titleRect;
        // Entering is taken anywhere (so that the moves keep coming); a move decides.
        QDragMoveEvent outside(QPoint(title.Left + 300, title.Top + 10), Qt::CopyAction, &data, Qt::LeftButton,
                               Qt::NoModifier);
        QApplication::sendEvent(&f.page(), &outside);
        QVERIFY(!outside.isAccepted());
        QMimeData text;
        text.setText(QStringLiteral("not a picture"));
        QDragEnterEvent wrongKind(inCell, Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&f.page(), &wrongKind);
        QVERIFY(!wrongKind.isAccepted());

        QDropEvent drop(QPointF(inCell), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&f.page(), &drop);
        QCOMPARE(f.main->CurrentCell, 16);
        f.main->DoSaveRichtext();
        QVERIFY(f.page().CellRtf(16).contains("\\pngblip"));
    }

    void zoomCommitsTheEdit()
    {
        MainWindowFixture f;
        f.page().SetZoom(0.601f);
        f.page().DrawToImage();
        f.page().ClickCell(9);
        QTest::keyClicks(f.main->WPRichText1, QStringLiteral("kept"));
        f.main->ZoomSpinnerUpClick();
        QVERIFY(!f.main->EditorOpen);
        QCOMPARE(cellText(f.page(), 9), QStringLiteral("kept"));
    }

    // ---- empty cells, the default editor font and the editor's keys -------------------

    void emptyCellsStartInTheDefaultFont()
    {
        MainWindowFixture f;
        const QColor orange(255, 128, 0);
        f.main->Preferences.DefaultFontName = QStringLiteral("Arial");
        f.main->Preferences.DefaultFontSize = 10;
        f.main->Preferences.DefaultFontColor = fromQColor(QColor(255, 0, 0));

        // The last cell the user wrote in is orange and bold.
        editCell(f, 10);
        TWPCharAttr hot = f.main->WPRichText1->currentAttr();
        hot.bold = true;
        hot.customColor = orange;
        f.main->WPRichText1->setCurrentAttr(hot);
        QTest::keyClicks(f.main->WPRichText1, QStringLiteral("Hot"));
        QCOMPARE(firstCharAttr(f.page(), 10).customColor, QColor()); // not committed yet
        f.main->DoSaveRichtext();
        QCOMPARE(firstCharAttr(f.page(), 10).customColor, orange);

        auto isDefault = [](const TWPCharAttr& a) {
            return a.fontName == QStringLiteral("Arial") && a.size == 10 && !a.bold
                && a.colorIndex == TWPRichText::colorIndexOf(QColor(255, 0, 0)) && !a.customColor.isValid();
        };
        // Typing into an empty cell.
        editCell(f, 10);
        editCell(f, 11);
        QVERIFY(isDefault(f.main->WPRichText1->currentAttr()));
        QTest::keyClicks(f.main->WPRichText1, QStringLiteral("cool"));
        f.main->DoSaveRichtext();
        QVERIFY(isDefault(firstCharAttr(f.page(), 11)));

        // A line added to an empty cell while the orange cell is open.
        editCell(f, 10);
        const int day = f.page().cellGeometry(12).day;
        f.main->PuttextOnDay(day, QStringLiteral("Fill"));
        QVERIFY(isDefault(firstCharAttr(f.page(), f.page().CellOfDay(day))));
    }

    void defaultEditorFontOffersItsColour()
    {
        MainWindowFixture f;
        TPreferences stored = TPreferences::defaults();
        stored.DefaultFontName = QStringLiteral("Courier New");
        stored.DefaultFontColor = fromQColor(QColor(0, 0, 128));
        QVERIFY(stored.SavePreferences());

        // The dialog opens on the stored font and colour; the user keeps the face
        // (drawn as Liberation Mono), makes it bold 12 and maroon.
        QFont picked(DrawnFontFamily(QStringLiteral("Courier New")), 12);
        picked.setBold(true);
        f.prompts->fontAnswers = {picked};
        f.prompts->fontColorAnswers = {QColor(128, 0, 0)};
        f.main->DefaultEditorFont1Click();
        QCOMPARE(f.prompts->records.back().kind, QStringLiteral("font"));
        QCOMPARE(f.prompts->records.back().caption, QStringLiteral("Courier New"));

        TPreferences saved;
        saved.LoadPreferences();
        QCOMPARE(saved.DefaultFontName, QStringLiteral("Courier New"));
        QCOMPARE(saved.DefaultFontSize, 12);
        QVERIFY(saved.DefaultFontBold);
        QCOMPARE(saved.DefaultFontColor, fromQColor(QColor(128, 0, 0)));
        QCOMPARE(f.main->Preferences.DefaultFontColor, saved.DefaultFontColor);

        editCell(f, 20);
        QTest::keyClicks(f.main->WPRichText1, QStringLiteral("x"));
        f.main->DoSaveRichtext();
        const TWPCharAttr a = firstCharAttr(f.page(), 20);
        QCOMPARE(a.fontName, QStringLiteral("Courier New"));
        QCOMPARE(a.size, 12);
        QVERIFY(a.bold);
        QCOMPARE(a.colorIndex, TWPRichText::colorIndexOf(QColor(128, 0, 0)));

        // Cancelled, nothing changes.
        f.prompts->records.clear();
        f.main->DefaultEditorFont1Click();
        TPreferences again;
        again.LoadPreferences();
        QCOMPARE(again.DefaultFontColor, saved.DefaultFontColor);
        QCOMPARE(again.DefaultFontSize, 12);
    }

    void ctrlBIUToggleStyles()
    {
        MainWindowFixture f;
        editCell(f, 4);
        TWPRichText* ed = f.main->WPRichText1;
        QTest::keyClick(ed, Qt::Key_B, Qt::ControlModifier);
        QTest::keyClicks(ed, QStringLiteral("b"));
        QTest::keyClick(ed, Qt::Key_B, Qt::ControlModifier);
        QTest::keyClick(ed, Qt::Key_I, Qt::ControlModifier);
        QTest::keyClicks(ed, QStringLiteral("i"));
        QTest::keyClick(ed, Qt::Key_I, Qt::ControlModifier);
        QTest::keyClick(ed, Qt::Key_U, Qt::ControlModifier);
        QVERIFY(f.main->WPToolBar1->underlineAction()->isChecked());
        QTest::keyClicks(ed, QStringLiteral("u"));
        QTest::keyClick(ed, Qt::Key_U, Qt::ControlModifier);
        QTest::keyClicks(ed, QStringLiteral("p"));
        QCOMPARE(ed->toPlainText(), QStringLiteral("biup"));
        const TWPCharAttr b = ed->attrAt(0), i = ed->attrAt(1), u = ed->attrAt(2), p = ed->attrAt(3);
        QVERIFY(b.bold && !b.italic && !b.underline);
        QVERIFY(!i.bold && i.italic && !i.underline);
        QVERIFY(!u.bold && !u.italic && u.underline);
        QVERIFY(!p.bold && !p.italic && !p.underline);

        // On a selection the style applies to it, and counts as a change.
        f.main->SetModified(false);
        ed->selectAll();
        QTest::keyClick(ed, Qt::Key_B, Qt::ControlModifier);
        QVERIFY(ed->attrAt(1).bold && ed->attrAt(3).bold);
        QVERIFY(f.main->Modified);
    }

    void editorTextStartsWhereThePageDrawsIt()
    {
        MainWindowFixture f;
        f.page().SetZoom(1.0f);
        const int cell = 9;
        TWPRichText writer;
        TWPCharAttr a;
        a.fontName = QStringLiteral("Arial");
        a.size = 10;
        writer.addParagraph(QStringLiteral("Wolfgang Wolfgang Wolfgang Wolfgang"), a);
        writer.addParagraph(QStringLiteral("Jjjj"), a);
        f.page().SetCellRtf(cell, writer.rtf());
        const QImage page = f.page().DrawToImage();
        const TRect free = f.page().cellGeometry(cell).rFree;

        f.page().ClickCell(cell);
        TWPRichText* ed = f.main->WPRichText1;
        ed->setCursorWidth(0); // the caret is no part of the text
        ed->setCaretPosition(0);
        const QImage shown = ed->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QPoint origin = ed->viewport()->mapTo(f.page().parentWidget(), QPoint(0, 0)) - f.page().pos();

        const QRect area(free.Left, free.Top, free.width() + 1, free.height() + 1);
        const QRect onPage = inkBox(page, area);
        const QRect inEditor = inkBox(shown, shown.rect()).translated(origin);
        QVERIFY(!onPage.isEmpty());
        QCOMPARE(inEditor.topLeft(), onPage.topLeft());
        QCOMPARE(inEditor, onPage);
        // Pixel for pixel: the editor shows what the page shows.
        int differing = 0;
        for (int y = onPage.top(); y <= onPage.bottom(); ++y)
            for (int x = onPage.left(); x <= onPage.right(); ++x)
                if (ovtest::isDark(page.pixel(x, y), 160)
                    != ovtest::isDark(shown.pixel(x - origin.x(), y - origin.y()), 160))
                    ++differing;
        QCOMPARE(differing, 0);

        // The page cuts text at the cell's right edge; the editor never scrolls sideways,
        // wherever the caret goes, or the first letters of the lines would be cut.
        for (int pos = 0; pos < ed->characterCount(); ++pos) {
            ed->setCaretPosition(pos);
            QCOMPARE(ed->horizontalScrollBar()->value(), 0);
        }
    }
};
OV_TEST(TestCellEditing)

#include "test_cell_editing.moc"
