#include "main_window_fixture.h"
#include "richtext/wp_rich_text.h"
#include "test_registry.h"

#include <QMimeData>
#include <QTextDocument>

namespace {
QString cellText(TCalendarPanel32& page, int cell)
{
    TWPRichText reader;
    reader.setRtf(page.CellRtf(cell));
    return reader.toPlainText();
}

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
        const QRect g = f.main->WPRichText1->geometry();
        QCOMPARE(g.topLeft(), QPoint(free.Left + f.page().x() + 1, free.Top + f.page().y() + 1));
        QCOMPARE(g.size(), QSize(free.width() + 1, free.height() + 1));
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
};
OV_TEST(TestCellEditing)

#include "test_cell_editing.moc"
