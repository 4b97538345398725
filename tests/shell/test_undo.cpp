#include "../recurring/ics_test_util.h"
#include "calendar/calendar_file.h"
#include "calendar/properties_dialog.h"
#include "main_window_fixture.h"
#include "modal_helper.h"
#include "objects/handle.h"
#include "objects/p_label.h"
#include "recurring/ics_event_picker.h"
#include "richtext/wp_rich_text.h"
#include "shell/page_history.h"
#include "test_registry.h"

#include <QBuffer>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QRandomGenerator>
#include <QToolButton>

namespace {

// The page as a calendar file holds it.
QByteArray pageBytes(TCalendarPanel32& page)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    SaveCalendarFile(page, buffer, page.objectSectionWriter());
    return buffer.data();
}

// Lets queued work run and ends the input, as the next click would.
void settle(MainWindowFixture& f)
{
    QCoreApplication::processEvents();
    f.main->History()->seal();
}

QUndoStack& stack(MainWindowFixture& f) { return *f.main->History()->stack(); }

// A label drawn with the tool, as one finished input.
TGPLabel* placeLabel(MainWindowFixture& f, QPoint at, const QString& text)
{
    TGPLabel* label = drawLabel(f, at, text);
    settle(f);
    return label;
}

void typeInDay(MainWindowFixture& f, int day, const QString& text)
{
    f.page().ClickCell(f.page().CellOfDay(day));
    QTest::keyClicks(f.main->WPRichText1, text);
}

// A page with text in two cells and two labels, saved and opened again: the history
// starts there, clean.
void prepareDocument(MainWindowFixture& f)
{
    typeInDay(f, 3, QStringLiteral("Dentist"));
    typeInDay(f, 14, QStringLiteral("Party"));
    f.main->DoSaveRichtext();
    placeLabel(f, QPoint(120, 140), QStringLiteral("First"));
    placeLabel(f, QPoint(300, 200), QStringLiteral("Second"));
    const QString path = f.path(QStringLiteral("Start.OVF"));
    QVERIFY(f.main->SaveCalendarFile(path));
    f.main->OpenCalendarFile(path);
    QCOMPARE(stack(f).count(), 0);
    QVERIFY(!f.main->Modified);
}

TGPLabel* label(MainWindowFixture& f, int i) { return qobject_cast<TGPLabel*>(f.page().Objects().at(i)); }

void select(MainWindowFixture& f, std::initializer_list<int> which)
{
    f.page().Handle()->ClearSelection();
    for (int i : which)
        f.page().Handle()->Select(f.page().Objects().at(i));
}

// Chooses a menu item with the mouse, as the user does.
void choose(QMenu* menu, const QString& caption)
{
    QAction* item = nullptr;
    for (QAction* a : menu->actions())
        if (a->text() == caption)
            item = a;
    QVERIFY(item);
    menu->popup(QPoint(10, 10));
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
}

struct Step {
    const char* undoText;
    std::function<void(MainWindowFixture&)> run;
};

} // namespace

class TestUndo : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void editMenuAndButtonsFollowTheHistory()
    {
        MainWindowFixture f;
        QStringList menus;
        for (QAction* a : f.main->menuBar()->actions())
            menus << a->text();
        QCOMPARE(menus, (QStringList{"&File", "&Edit", "&Help"}));
        QCOMPARE(f.main->mnuUndo->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
        QCOMPARE(f.main->mnuRedo->shortcuts(),
                 (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)}));
        QVERIFY(!f.main->mnuUndo->isEnabled());
        QVERIFY(!f.main->UndoButton->isEnabled());
        QCOMPARE(f.main->mnuUndo->text(), QStringLiteral("&Undo"));

        TGPLabel* l = placeLabel(f, QPoint(100, 100), QStringLiteral("Hello"));
        f.page().MoveObjects({{l, l->geometry().translated(10, 0)}});
        settle(f);
        QCOMPARE(f.main->mnuUndo->text(), QStringLiteral("&Undo Move"));
        QCOMPARE(f.main->UndoButton->toolTip(), QStringLiteral("Undo Move"));
        QVERIFY(f.main->UndoButton->isEnabled());
        QVERIFY(!f.main->RedoButton->isEnabled());

        const QString name = l->objectName();
        QTest::mouseClick(f.main->UndoButton, Qt::LeftButton);
        QCOMPARE(f.page().FindObject(name)->pos(), QPoint(100, 100));
        QCOMPARE(f.main->mnuRedo->text(), QStringLiteral("&Redo Move"));
        QCOMPARE(f.main->mnuUndo->text(), QStringLiteral("&Undo Create"));
        QVERIFY(f.main->RedoButton->isEnabled());

        // The shortcuts reach the commands from the page.
        f.page().setFocus();
        QTest::keyClick(&f.page(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(f.page().FindObject(name)->pos(), QPoint(110, 100));
        QTest::keyClick(&f.page(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.page().FindObject(name)->pos(), QPoint(100, 100));
    }

    void everyKindOfStepUndoesToTheSameFile()
    {
        ovtest::ScopedTimeZone zone("Europe/London");
        const QList<Step> steps{
            {"Typing in 14", [](MainWindowFixture& f) { typeInDay(f, 14, QStringLiteral(" and cake")); f.main->DoSaveRichtext(); }},
            {"Clear All Cell Contents", [](MainWindowFixture& f) { f.main->mnuClearAllCellContents->trigger(); }},
            {"User Defined Title",
             [](MainWindowFixture& f) {
                 const auto dialog = ovtest::onModal<QDialog>([](QDialog* d) {
                     d->findChild<QLineEdit*>(QStringLiteral("TitleText"))->setText(QStringLiteral("Family"));
                     d->findChild<QPushButton*>(QStringLiteral("OkButton"))->click();
                 });
                 f.main->mnuUserTitleClick();
             }},
            {"Properties",
             [](MainWindowFixture& f) {
                 // Another month clears the cells: they come back with the settings.
                 const auto dialog = ovtest::onModal<TCalendarProperties>([](TCalendarProperties* d) {
                     d->ExampleCalendar()->SetMainCalMonth(11);
                     d->ExampleCalendar()->SetTitleBGColor(0x00FF00);
                     d->accept();
                 });
                 f.main->mnuPropertiesClick();
                 QVERIFY(!f.page().HasCellText());
             }},
            {"Fill Calendar from iCalendar File",
             [](MainWindowFixture& f) {
                 const QByteArray ics = ovtest::icsCalendar(ovtest::icsEvent(
                     {"UID:a", "DTSTART;VALUE=DATE:19971214", "DTEND;VALUE=DATE:19971215", "SUMMARY:Concert"}));
                 QFile file(f.path(QStringLiteral("fill.ics")));
                 QVERIFY(file.open(QIODevice::WriteOnly));
                 file.write(ics);
                 file.close();
                 f.prompts->fileAnswers = {file.fileName()};
                 const auto picker =
                     ovtest::onModal<IcsEventPicker>([](IcsEventPicker* d) { d->OkButton->click(); });
                 f.main->mnuFillFromIcs->trigger();
             }},
            {"Drop Icon",
             [](MainWindowFixture& f) {
                 QImage icon(16, 16, QImage::Format_ARGB32);
                 icon.fill(Qt::red);
                 QMimeData data;
                 data.setImageData(icon);
                 const TCellGeometry& cell = f.page().drawn().cells[size_t(f.page().CellOfDay(9) - 1)];
                 f.main->CalendarPanelDragDrop(cell.rFree.Left + 3, cell.rFree.Top + 3, &data);
                 QVERIFY(f.main->EditorOpen);
             }},
            {"Move", [](MainWindowFixture& f) { f.page().MoveObjects({{label(f, 0), label(f, 0)->geometry().translated(9, -4)}}); }},
            {"Resize",
             [](MainWindowFixture& f) { f.page().MoveObjects({{label(f, 1), label(f, 1)->geometry().adjusted(0, 0, 30, 12)}}); }},
            {"Move",
             [](MainWindowFixture& f) {
                 select(f, {0});
                 TGHandle* handle = f.page().Handle();
                 QTest::keyPress(handle, Qt::Key_Right);
                 QTest::keyPress(handle, Qt::Key_Right);
                 QTest::keyRelease(handle, Qt::Key_Right);
             }},
            {"Delete",
             [](MainWindowFixture& f) {
                 select(f, {0, 1});
                 QTest::keyClick(&f.page(), Qt::Key_Delete);
                 QVERIFY(f.page().Objects().isEmpty());
             }},
            {"Cut",
             [](MainWindowFixture& f) {
                 select(f, {1});
                 QTest::keyClick(&f.page(), Qt::Key_X, Qt::ControlModifier);
                 QCOMPARE(f.page().Objects().size(), 1);
             }},
            {"Paste",
             [](MainWindowFixture& f) {
                 select(f, {0, 1});
                 QTest::keyClick(&f.page(), Qt::Key_C, Qt::ControlModifier);
                 f.page().LastPasteTick = 0;
                 QTest::keyClick(&f.page(), Qt::Key_V, Qt::ControlModifier);
                 QCOMPARE(f.page().Objects().size(), 4);
             }},
            {"Clone", [](MainWindowFixture& f) { choose(label(f, 0)->ContextMenu(), QStringLiteral("Clone")); }},
            {"Properties", [](MainWindowFixture& f) { label(f, 1)->MenuItem(QStringLiteral("Locked"))->trigger(); }},
            {"Properties", [](MainWindowFixture& f) { label(f, 0)->MenuItem(QStringLiteral("Transparent"))->trigger(); }},
            {"Properties",
             [](MainWindowFixture& f) {
                 f.prompts->dialogAnswers.push_back([](QDialog& d) {
                     d.findChild<QLineEdit*>(QStringLiteral("LabelText"))->setText(QStringLiteral("Changed"));
                     return int(QDialog::Accepted);
                 });
                 label(f, 0)->MenuItem(QStringLiteral("Text"))->trigger();
                 QCOMPARE(label(f, 0)->Caption(), QStringLiteral("Changed"));
             }},
            {"Font",
             [](MainWindowFixture& f) {
                 select(f, {0, 1});
                 f.prompts->fontAnswers = {QFont(QStringLiteral("Liberation Serif"), 18)};
                 choose(f.page().PanelMenu(), QStringLiteral("Font"));
             }},
            {"Lock All", [](MainWindowFixture& f) { choose(f.page().PanelMenu(), QStringLiteral("Lock All")); }},
            {"Mark All Unselectable",
             [](MainWindowFixture& f) { choose(f.page().PanelMenu(), QStringLiteral("Mark All Unselectable")); }},
            {"Center Vertically",
             [](MainWindowFixture& f) {
                 select(f, {1});
                 choose(f.page().PanelMenu(), QStringLiteral("Center Vertically"));
             }},
            {"Bring To Front",
             [](MainWindowFixture& f) {
                 select(f, {0});
                 choose(f.page().PanelMenu(), QStringLiteral("Bring To Front"));
                 QCOMPARE(f.page().Objects().last()->objectName(), QStringLiteral("Component0"));
             }},
            {"Order", [](MainWindowFixture& f) { label(f, 1)->MenuItem(QStringLiteral("Send To Back"))->trigger(); }},
            {"Align Left",
             [](MainWindowFixture& f) {
                 select(f, {0, 1});
                 choose(f.page().PanelMenu(), QStringLiteral("Align Left"));
             }},
            {"Create",
             [](MainWindowFixture& f) {
                 // Placing, the text dialog and the label's own settings: one step.
                 placeLabel(f, QPoint(200, 300), QStringLiteral("Third"));
             }},
        };
        for (qsizetype i = 0; i < steps.size(); ++i) {
            const Step& step = steps[i];
            const QByteArray what = QByteArray::number(i) + ' ' + step.undoText;
            MainWindowFixture f;
            prepareDocument(f);
            const QByteArray before = pageBytes(f.page());
            step.run(f);
            settle(f);
            f.main->DoSaveRichtext(); // a cell the step left open holds nothing new
            const QByteArray after = pageBytes(f.page());
            QVERIFY2(after != before, what.constData());
            QVERIFY2(stack(f).count() == 1, what.constData());
            QCOMPARE(stack(f).undoText(), QString::fromLatin1(step.undoText));
            QVERIFY(f.main->Modified);

            f.main->mnuUndo->trigger();
            QVERIFY2(pageBytes(f.page()) == before, what.constData());
            QVERIFY2(!f.main->Modified, what.constData()); // back where the file was opened
            QVERIFY(!f.main->Savebutton->isVisibleTo(f.main.get()));

            f.main->mnuRedo->trigger();
            QVERIFY2(pageBytes(f.page()) == after, what.constData());
            QVERIFY(f.main->Modified);
            f.main->mnuUndo->trigger();
            QVERIFY2(pageBytes(f.page()) == before, what.constData());
        }
    }

    void undoGivesTheSavedFileBackByteForByte()
    {
        MainWindowFixture f;
        prepareDocument(f);
        const QString a = f.path(QStringLiteral("a.OVF")), b = f.path(QStringLiteral("b.OVF"));
        QVERIFY(f.main->SaveCalendarFile(a));
        typeInDay(f, 20, QStringLiteral("Holiday"));
        f.main->DoSaveRichtext();
        f.page().MoveObjects({{label(f, 0), label(f, 0)->geometry().translated(40, 40)}});
        settle(f);
        QVERIFY(f.main->Modified);
        QCOMPARE(stack(f).count(), 2);
        f.main->mnuUndo->trigger();
        f.main->mnuUndo->trigger();
        QVERIFY(!f.main->Modified);
        QVERIFY(f.main->SaveCalendarFile(b));
        QFile fa(a), fb(b);
        QVERIFY(fa.open(QIODevice::ReadOnly) && fb.open(QIODevice::ReadOnly));
        QCOMPARE(fb.readAll(), fa.readAll());
        // Redoing away from the saved state modifies the page again.
        f.main->mnuRedo->trigger();
        QVERIFY(f.main->Modified);
        QVERIFY(f.main->Savebutton->isVisibleTo(f.main.get()));
    }

    void historyStartsAfreshOnOpenNewAndCancel()
    {
        MainWindowFixture f;
        prepareDocument(f);
        f.page().MoveObjects({{label(f, 0), label(f, 0)->geometry().translated(5, 5)}});
        settle(f);
        QCOMPARE(stack(f).count(), 1);
        f.prompts->yesNoAnswers = {true};
        f.main->mnuCancelChangesClick();
        QCOMPARE(stack(f).count(), 0);
        QVERIFY(!f.main->mnuUndo->isEnabled());

        f.page().MoveObjects({{label(f, 0), label(f, 0)->geometry().translated(5, 5)}});
        settle(f);
        f.prompts->yesNoAnswers = {false};
        f.prompts->fileAnswers = {f.path(QStringLiteral("Start.OVF"))};
        f.main->Open1Click();
        QCOMPARE(stack(f).count(), 0);
        QVERIFY(!f.main->Modified);

        // A new page was never saved: undoing all of it leaves it modified.
        f.page().MoveObjects({{label(f, 0), label(f, 0)->geometry().translated(5, 5)}});
        settle(f);
        f.prompts->yesNoAnswers = {false};
        {
            const auto dialog = ovtest::onModal<TCalendarProperties>([](TCalendarProperties* d) { d->accept(); });
            f.main->New1Click();
        }
        QCOMPARE(stack(f).count(), 0);
        QVERIFY(f.main->Modified);
        typeInDay(f, 4, QStringLiteral("x"));
        f.main->DoSaveRichtext();
        f.main->mnuUndo->trigger();
        QVERIFY(f.main->Modified);
    }

    void aDragIsOneStepAndTwoNudgesAreTwo()
    {
        MainWindowFixture f;
        TGPLabel* l = placeLabel(f, QPoint(100, 100), QStringLiteral("Drag me"));
        const QString name = l->objectName();
        const int start = stack(f).count();
        select(f, {0});
        TGHandle* handle = f.page().Handle();
        qint64 clock = 1000;
        f.page().Clock = [&clock] { return clock; };
        const QPoint grab = l->geometry().center() - handle->pos();
        QTest::mousePress(handle, Qt::LeftButton, {}, grab);
        for (int i = 1; i <= 5; ++i) {
            clock += 50;
            QTest::mouseMove(handle, grab + QPoint(8 * i, 4 * i));
        }
        QTest::mouseRelease(handle, Qt::LeftButton, {}, grab + QPoint(40, 20));
        settle(f);
        QCOMPARE(stack(f).count(), start + 1);
        QVERIFY(l->pos() != QPoint(100, 100));
        handle = f.page().Handle();
        select(f, {0});
        for (int i = 0; i < 2; ++i) {
            QTest::keyPress(handle, Qt::Key_Down);
            QTest::keyRelease(handle, Qt::Key_Down);
        }
        settle(f);
        QCOMPARE(stack(f).count(), start + 3);
        f.main->mnuUndo->trigger();
        f.main->mnuUndo->trigger();
        f.main->mnuUndo->trigger();
        QCOMPARE(f.page().FindObject(name)->pos(), QPoint(100, 100));
    }

    void undoAfterAZoomChangePutsTheObjectBackAtTheNewZoom()
    {
        MainWindowFixture f;
        f.page().SetZoom(1.0f);
        TGPLabel* l = placeLabel(f, QPoint(100, 100), QStringLiteral("Zoomed"));
        const QString name = l->objectName();
        f.page().MoveObjects({{l, QRect(200, 150, l->width(), l->height())}});
        settle(f);
        f.main->ZoomSpinnerDownClick(); // 90 %
        f.main->mnuUndo->trigger();
        TGGraphicControl* back = f.page().FindObject(name);
        QCOMPARE(back->pos(), QPoint(90, 90));
        QCOMPARE(back->Zoom(), f.page().Zoom());
        // A step taken at the new zoom undoes exactly.
        const QByteArray before = pageBytes(f.page());
        f.page().MoveObjects({{back, back->geometry().translated(3, 3)}});
        settle(f);
        f.main->mnuUndo->trigger();
        QCOMPARE(pageBytes(f.page()), before);
    }

    void stepsShareWhatDidNotChange()
    {
        MainWindowFixture f;
        prepareDocument(f);
        // A big cell that no step touches is held once however long the history.
        QByteArray big = "{\\rtf1\\ansi ";
        big += QByteArray(200000, 'x') + "\\par}";
        {
            PageStep step(f.main->History(), QStringLiteral("Big"));
            f.page().SetCellRtf(30, big);
        }
        for (int i = 0; i < 150; ++i) {
            f.page().MoveObjects({{label(f, 0), label(f, 0)->geometry().translated(1, 0)}});
            settle(f);
        }
        QCOMPARE(stack(f).count(), PageHistory::kUndoLimit);
        QVERIFY(f.main->History()->bytesHeld() < 2 * big.size());
    }

    void aLongRandomSequenceUndoesToTheOriginalFile()
    {
        MainWindowFixture f;
        prepareDocument(f);
        const QByteArray original = pageBytes(f.page());
        QRandomGenerator random(20261209);
        int steps = 0;
        for (int n = 0; n < 60; ++n) {
            const QList<TGGraphicControl*> objects = f.page().Objects();
            TGGraphicControl* some = objects.isEmpty() ? nullptr : objects[random.bounded(int(objects.size()))];
            const int kind = random.bounded(7);
            if (kind == 0 || !some) {
                typeInDay(f, 1 + random.bounded(28), QString::number(n));
                f.main->DoSaveRichtext();
            } else if (kind == 1) {
                f.page().MoveObjects({{some, some->geometry().translated(random.bounded(-20, 21), random.bounded(-20, 21))}});
            } else if (kind == 2) {
                placeLabel(f, QPoint(random.bounded(50, 500), random.bounded(50, 400)), QString::number(n));
            } else if (kind == 3) {
                f.page().Handle()->ClearSelection();
                f.page().Handle()->Select(some);
                QTest::keyClick(&f.page(), Qt::Key_Delete);
            } else if (kind == 4) {
                qobject_cast<TGGraphicControl*>(some)->MenuItem(QStringLiteral("Locked"))->trigger();
            } else if (kind == 5) {
                some->MenuItem(QStringLiteral("Clone"))->trigger();
            } else {
                f.page().Handle()->ClearSelection();
                f.page().Handle()->Select(some);
                f.page().PanelMenuItem(QStringLiteral("Send To Back"))->trigger();
            }
            settle(f);
            steps = stack(f).count();
        }
        QVERIFY(steps > 30);
        const QByteArray last = pageBytes(f.page());
        while (stack(f).canUndo())
            f.main->mnuUndo->trigger();
        QCOMPARE(pageBytes(f.page()), original);
        QVERIFY(!f.main->Modified);
        while (stack(f).canRedo())
            f.main->mnuRedo->trigger();
        QCOMPARE(pageBytes(f.page()), last);
    }
};

OV_TEST(TestUndo)

#include "test_undo.moc"
