#include "../special/icon_test_support.h"
#include "main_window_fixture.h"
#include "platform/ini_file.h"
#include "platform/screen_ppi.h"
#include "richtext/rtf_picture.h"
#include "richtext/wp_rich_text.h"
#include "special/floating_palette.h"
#include "special/icon_list_box.h"
#include "test_registry.h"

#include <QAction>
#include <QDialog>
#include <QDrag>
#include <QMimeData>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>

using namespace specialtest;

namespace {

QPoint cellCentre(TCalendarPanel32& page, int cell)
{
    const TRect r = page.cellGeometry(cell).rTotal;
    return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
}

// A point of the page that lies in no day cell (the title).
QPoint outsideEveryCell(TCalendarPanel32& page)
{
    const TRect title = page.drawn().titleRect;
    return QPoint((title.Left + title.Right) / 2, title.Top + 5);
}

// What a window system does with a drag over the page: it enters at `entry`, moves to
// `target` and drops there. Each event as the page gets it, accepted or not.
struct DragOverPage {
    bool entered = false, takenAtEntry = false, takenAtTarget = false, dropped = false;

    void run(QWidget* page, const QMimeData* data, QPoint entry, QPoint target)
    {
        const Qt::DropActions copy = Qt::CopyAction;
        QDragEnterEvent enter(entry, copy, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(page, &enter);
        entered = enter.isAccepted();
        QDragMoveEvent atEntry(entry, copy, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(page, &atEntry);
        takenAtEntry = atEntry.isAccepted();
        QDragMoveEvent atTarget(target, copy, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(page, &atTarget);
        takenAtTarget = atTarget.isAccepted();
        if (!takenAtTarget)
            return; // the window system drops only where the last move was taken
        QDropEvent drop(QPointF(target), copy, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(page, &drop);
        dropped = drop.isAccepted();
    }
};

QList<TWPRtfPicture> picturesIn(const QByteArray& rtf)
{
    TWPRichText reader;
    reader.setRtf(rtf);
    QList<TWPRtfPicture> result;
    for (QTextBlock b = reader.document()->begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (TWPRtfPicture::isPictureFormat(it.fragment().charFormat()))
                for (int i = 0; i < it.fragment().length(); ++i)
                    result << TWPRtfPicture::fromFormat(it.fragment().charFormat());
    return result;
}

QString cellText(TCalendarPanel32& page, int cell)
{
    TWPRichText reader;
    reader.setRtf(page.CellRtf(cell));
    return reader.toPlainText();
}

// The fixture's page saved as a calendar file with another layout.
void saveWithLayout(MainWindowFixture& f, TCalendarLayout layout, const QString& path)
{
    f.page().SetCalendarLayout(layout);
    QVERIFY(f.main->SaveCalendarFile(path));
}

} // namespace

class TestIconTool : public QObject {
    Q_OBJECT
private slots:
    void buttonShowsAndHidesAndDayCellsDecide()
    {
        ProgramFolderWithIcons folder;
        MainWindowFixture f;
        TFloatingPalette* tool = f.main->FloatingPalette;
        QToolButton* button = f.main->ShowHideIconTool;
        // Started without a calendar: nothing to drop icons on.
        QVERIFY(tool->isHidden());
        QVERIFY(!f.main->IconToolVisible);
        QVERIFY(button->isEnabled());
        QCOMPARE(button->text(), QStringLiteral("Show Icon Tool"));

        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(tool->isVisible());
        QVERIFY(f.main->IconToolVisible);
        QCOMPARE(button->text(), QStringLiteral("Hide Icon Tool"));
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(tool->isHidden());
        QVERIFY(!f.main->IconToolVisible);
        QCOMPARE(button->text(), QStringLiteral("Show Icon Tool"));
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(tool->isVisible());

        // Closed through the window system, it stays closed as the button would leave it.
        tool->close();
        QVERIFY(!f.main->IconToolVisible);
        QCOMPARE(button->text(), QStringLiteral("Show Icon Tool"));
        QTest::mouseClick(button, Qt::LeftButton);

        // A page without day cells puts it away and disables the button.
        const QString minis = f.path(QStringLiteral("minis.OVF"));
        const QString month = f.path(QStringLiteral("month.OVF"));
        saveWithLayout(f, TCalendarLayout::loMC12Month, minis);
        saveWithLayout(f, TCalendarLayout::LOFullCalendarLS, month);
        f.main->OpenCalendarFile(minis);
        QVERIFY(tool->isHidden());
        QVERIFY(!f.main->IconToolVisible);
        QVERIFY(!button->isEnabled());
        DragOverPage refused;
        std::unique_ptr<QMimeData> icon(tool->IconListBox->IconDragData(0));
        refused.run(&f.page(), icon.get(), QPoint(100, 300), QPoint(200, 400));
        QVERIFY(!refused.takenAtTarget);

        // Back on a month it waits for the button.
        f.main->OpenCalendarFile(month);
        QVERIFY(button->isEnabled());
        QVERIFY(tool->isHidden());
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(tool->isVisible());
        QCOMPARE(button->text(), QStringLiteral("Hide Icon Tool"));
    }

    void dialogsPutTheToolAwayMeanwhile()
    {
        ProgramFolderWithIcons folder;
        MainWindowFixture f;
        TFloatingPalette* tool = f.main->FloatingPalette;
        QTest::mouseClick(f.main->ShowHideIconTool, Qt::LeftButton);
        bool seen = false, hiddenMeanwhile = false;
        QTimer poll;
        poll.setInterval(5);
        connect(&poll, &QTimer::timeout, [&] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                seen = true;
                hiddenMeanwhile = tool->isHidden();
                dialog->reject();
            }
        });
        poll.start();
        f.main->mnuPropertiesClick();
        poll.stop();
        QVERIFY(seen);
        QVERIFY(hiddenMeanwhile);
        QVERIFY(tool->isVisible());
        QVERIFY(f.main->IconToolVisible);
    }

    void libraryVisibilityAndPlacementKeptInTheSettings()
    {
        ProgramFolderWithIcons folder;
        QTemporaryDir userData;
        setUserDataFolderOverride(userData.path());
        ScopedScriptedPrompter prompts;
        const QString calendar = userData.filePath(QStringLiteral("days.OVF"));
        const QString ini = userData.filePath(QStringLiteral("OV.ini"));
        QSize designed;
        QRect placed;
        {
            TCalendarMain main;
            main.show();
            QTRY_VERIFY(main.FirstActivationDone());
            QCOMPARE(main.FloatingPalette->IconListBox->FileName(), folder.path(QStringLiteral("misc1.icl")));
            designed = main.FloatingPalette->size();
            main.CalendarPanel->show();
            main.SetButtons();
            prompts->fileAnswers = {calendar};
            QVERIFY(main.mnuSaveAsClick());
            QTest::mouseClick(main.ShowHideIconTool, Qt::LeftButton);
            main.FloatingPalette->mnuHolidaysICL->trigger();
            main.FloatingPalette->move(123, 77);
            placed = main.FloatingPalette->geometry();
            QVERIFY(main.close());
            QVERIFY(main.FloatingPalette->isHidden());
        }
        IniFile settings;
        QVERIFY(settings.load(ini));
        QCOMPARE(settings.readString(QStringLiteral("Icons"), QStringLiteral("File")), folder.path(QStringLiteral("holiday.icl")));
        QCOMPARE(settings.readString(QStringLiteral("Icons"), QStringLiteral("Visible")), QStringLiteral("1"));
        const QString placement = placementSectionName(QStringLiteral("TFloatingPalette"), ScreenPPI());
        QCOMPARE(settings.readInteger(placement, QStringLiteral("Left"), -1), placed.left());
        QCOMPARE(settings.readInteger(placement, QStringLiteral("Top"), -1), placed.top());
        QCOMPARE(settings.readInteger(placement, QStringLiteral("Right"), -1), placed.left() + designed.width());

        {
            // The next start reopens the calendar and the tool as they were.
            TCalendarMain main;
            main.show();
            QTRY_VERIFY(main.FirstActivationDone());
            QCOMPARE(main.CalendarFileName, calendar);
            TFloatingPalette* tool = main.FloatingPalette;
            QVERIFY(tool->isVisible());
            QCOMPARE(tool->IconListBox->FileName(), folder.path(QStringLiteral("holiday.icl")));
            QVERIFY(tool->mnuHolidaysICL->isChecked());
            QCOMPARE(tool->geometry().topLeft(), placed.topLeft());
            QCOMPARE(tool->size(), designed);
            QTest::mouseClick(main.ShowHideIconTool, Qt::LeftButton);
            QVERIFY(main.close());
        }
        QVERIFY(settings.load(ini));
        QCOMPARE(settings.readString(QStringLiteral("Icons"), QStringLiteral("Visible")), QStringLiteral("0"));
        setUserDataFolderOverride(QString());
    }

    void iconDraggedFromTheListLandsInTheCell()
    {
        ProgramFolderWithIcons folder;
        MainWindowFixture f;
        QTest::mouseClick(f.main->ShowHideIconTool, Qt::LeftButton);
        TIconListBox* list = f.main->FloatingPalette->IconListBox;
        f.main->FloatingPalette->SyncMenuChecks(folder.path(QStringLiteral("handmade.icl")));
        QCOMPARE(list->NumberOfIcons(), 3);

        // The drag enters the page between cells and is dropped on day 15's cell.
        DragOverPage over;
        bool started = false;
        const TIconListBox::DragLoop previous = TIconListBox::SetDragLoop([&](QDrag& drag) {
            started = true;
            over.run(&f.page(), drag.mimeData(), outsideEveryCell(f.page()), cellCentre(f.page(), 15));
            return over.dropped ? Qt::CopyAction : Qt::IgnoreAction;
        });
        const QPoint onBlue = list->visualItemRect(list->item(2)).center();
        QTest::mousePress(list->viewport(), Qt::LeftButton, {}, onBlue);
        QTest::mouseMove(list->viewport(), onBlue + QPoint(0, 2)); // not a drag yet
        QVERIFY(!started);
        QTest::mouseMove(list->viewport(), onBlue + QPoint(0, 20));
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, onBlue + QPoint(0, 20));
        TIconListBox::SetDragLoop(previous);

        QVERIFY(started);
        QVERIFY(over.entered);
        QVERIFY(!over.takenAtEntry);
        QVERIFY(over.takenAtTarget);
        QVERIFY(over.dropped);
        QCOMPARE(f.main->CurrentCell, 15);
        QVERIFY(f.main->EditorOpen);
        QVERIFY(f.main->Modified);
        f.main->DoSaveRichtext();
        const QList<TWPRtfPicture> pictures = picturesIn(f.page().CellRtf(15));
        QCOMPARE(pictures.size(), 1);
        const QImage picture = pictures.first().decode();
        QCOMPARE(picture.size(), QSize(32, 32));
        QCOMPARE(picture.pixel(0, 0), qRgb(0, 0, 255));
        QCOMPARE(picture.pixel(31, 31), qRgb(0, 0, 255));
    }

    void droppedPictureIsTheIconOnWhiteAtTheCaretAndSurvivesSaving()
    {
        ProgramFolderWithIcons folder;
        MainWindowFixture f;
        TIconListBox* list = f.main->FloatingPalette->IconListBox;
        f.main->FloatingPalette->SyncMenuChecks(folder.path(QStringLiteral("handmade.icl")));
        std::unique_ptr<QMimeData> halfRed(list->IconDragData(0));

        f.page().ClickCell(20);
        QTest::keyClicks(f.main->WPRichText1, QStringLiteral("Party"));
        f.main->DoSaveRichtext();
        f.main->Modified = false;

        // Opened by the drop, the cell takes the icon where its caret stands: after the text.
        DragOverPage onCell;
        onCell.run(&f.page(), halfRed.get(), outsideEveryCell(f.page()), cellCentre(f.page(), 20));
        QVERIFY(onCell.dropped);
        QVERIFY(f.main->Modified);
        QCOMPARE(f.main->CurrentCell, 20);
        // On the open editor, wherever it lands, at the caret too: here before the text.
        QTest::keyClick(f.main->WPRichText1, Qt::Key_Home, Qt::ControlModifier);
        DragOverPage onEditor;
        const QPoint farCorner(f.main->WPRichText1->width() - 3, f.main->WPRichText1->height() - 3);
        onEditor.run(f.main->WPRichText1, halfRed.get(), farCorner, farCorner);
        QVERIFY(onEditor.dropped);
        f.main->DoSaveRichtext();
        const QChar object(QChar::ObjectReplacementCharacter);
        QCOMPARE(cellText(f.page(), 20), QString(object) + QStringLiteral("Party") + object);

        // Each picture is the icon drawn on a white bitmap of its size, kept as PNG.
        const QByteArray rtf = f.page().CellRtf(20);
        const int goal = int(qRound64(32 * 1440.0 / ScreenPPI()));
        const QByteArray header = "{\\pict\\pngblip\\picw32\\pich32\\picwgoal" + QByteArray::number(goal)
                                  + "\\pichgoal" + QByteArray::number(goal);
        QCOMPARE(rtf.count(header), 2);
        const QList<TWPRtfPicture> pictures = picturesIn(rtf);
        QCOMPARE(pictures.size(), 2);
        // Drawn here as the drop must draw it: the icon on a white bitmap of its size.
        QImage expected(32, 32, QImage::Format_RGB32);
        expected.fill(Qt::white);
        QPainter(&expected).drawImage(0, 0, list->GetIcon(0));
        for (const TWPRtfPicture& p : pictures) {
            QCOMPARE(p.kind, TWPRtfPicture::Kind::Png);
            const QImage picture = p.decode();
            QVERIFY(!picture.hasAlphaChannel());
            QCOMPARE(picture.convertToFormat(QImage::Format_RGB32), expected);
            QCOMPARE(picture.pixel(3, 3), qRgb(255, 255, 255));
            QCOMPARE(picture.pixel(20, 3), qRgb(255, 0, 0));
        }

        // Saved and opened again, byte for byte.
        const QString first = f.path(QStringLiteral("icons.OVF"));
        const QString second = f.path(QStringLiteral("again.OVF"));
        QVERIFY(f.main->SaveCalendarFile(first));
        f.main->OpenCalendarFile(first);
        QCOMPARE(f.page().CellRtf(20), rtf);
        QVERIFY(f.main->SaveCalendarFile(second));
        QCOMPARE(readFile(second), readFile(first));
    }
};
OV_TEST(TestIconTool)

#include "test_icon_tool.moc"
