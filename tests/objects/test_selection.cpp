// Selecting, moving and sizing objects through real widgets and mouse events.
#include "object_test_support.h"
#include "objects/object_filer.h"
#include "test_registry.h"

#include <QFile>
#include <QMenu>

using ovtest::Gesture;
using ovtest::PanelFixture;

class TestSelection : public QObject {
    Q_OBJECT
private slots:
    void draggingTheBottomRightHandleLosesAPixelEachWay()
    {
        PanelFixture f;
        auto* box = f.box(QRect(100, 100, 100, 50));
        int changes = 0;
        f.panel->LabelChangedEvent = [&] { ++changes; };
        QStringList moved;
        QObject::connect(f.panel.get(), &TGBasePanel::objectBoundsChanged,
                         [&](const QStringList& names, const QList<QRect>&, const QList<QRect>&) { moved << names; });
        {
            Gesture click(f, QPoint(150, 120));
            click.release(QPoint(150, 120));
        }
        QCOMPARE(f.handle().Count(), 1);
        QCOMPARE(f.handle().geometry(), QRect(98, 98, 105, 55));
        QCOMPARE(box->geometry(), QRect(100, 100, 100, 50)); // a click moves nothing

        ovtest::hover(f, QPoint(202, 152)); // over the bottom-right handle
        QCOMPARE(f.handle().Zone(), 4);
        f.tick += 1000;
        Gesture drag(f, QPoint(202, 152));
        QVERIFY(drag.target == &f.handle());
        f.tick += 100;
        drag.move(QPoint(212, 162));
        QVERIFY(f.handle().DragOutline().has_value());
        f.tick += 200;
        drag.release(QPoint(212, 162));
        QCOMPARE(box->geometry(), QRect(100, 100, 109, 59));
        QVERIFY(!f.handle().DragOutline());
        QCOMPARE(moved, QStringList{box->objectName()});
        QVERIFY(changes > 0);
        QTRY_COMPARE(f.handle().geometry(), QRect(98, 98, 115, 65)); // re-fitted once the move is done
    }

    void aQuickClickMovesNothingEvenIfThePointerMoved()
    {
        PanelFixture f;
        auto* box = f.box(QRect(100, 100, 100, 50));
        Gesture g(f, QPoint(150, 120));
        f.tick += 20; // past the 10 ms drag start
        g.move(QPoint(160, 125));
        g.move(QPoint(190, 140));
        QVERIFY(f.handle().Dragging());
        f.tick += 100; // released 120 ms after the press
        g.release(QPoint(190, 140));
        QCOMPARE(box->geometry(), QRect(100, 100, 100, 50));

        // Now selected, the press lands on the sizing-handle control and anchors the drag
        // at once; held longer, the same gesture moves the object.
        Gesture slow(f, QPoint(150, 120));
        QVERIFY(slow.target == &f.handle());
        f.tick += 20;
        slow.move(QPoint(160, 125));
        f.tick += 20;
        slow.move(QPoint(190, 140));
        f.tick += 300;
        slow.release(QPoint(190, 140));
        QCOMPARE(box->geometry(), QRect(140, 120, 100, 50));
    }

    void severalSelectedMoveTogetherExceptTheLockedOne()
    {
        PanelFixture f;
        auto* a = f.box(QRect(50, 50, 40, 40));
        auto* b = f.box(QRect(150, 50, 40, 40));
        b->SetLocked(true);
        {
            Gesture band(f, QPoint(20, 20));
            band.move(QPoint(300, 200));
            QVERIFY(f.panel->RubberBandActive());
            band.release(QPoint(300, 200));
        }
        QCOMPARE(f.handle().Count(), 2);
        ovtest::hover(f, QPoint(89, 89)); // a corner of a: no zones with two selected
        QCOMPARE(f.handle().Zone(), 0);
        f.tick += 1000;
        Gesture drag(f, QPoint(100, 70));
        f.tick += 50;
        drag.move(QPoint(110, 90));
        f.tick += 200;
        drag.release(QPoint(110, 90));
        QCOMPARE(a->geometry(), QRect(60, 70, 40, 40));
        QCOMPARE(b->geometry(), QRect(150, 50, 40, 40));
    }

    void shiftRubberBandTogglesWhatItTouches()
    {
        PanelFixture f;
        auto* a = f.box(QRect(50, 50, 40, 40));
        auto* b = f.box(QRect(150, 50, 40, 40));
        auto* c = f.box(QRect(300, 250, 40, 40));
        f.handle().Select(a);
        f.handle().Select(c);
        Gesture band(f, QPoint(40, 40), Qt::LeftButton, Qt::ShiftModifier);
        band.move(QPoint(200, 100));
        band.release(QPoint(200, 100));
        QCOMPARE(f.handle().Selection(), (QList<TGGraphicControl*>{c, b}));
        QCOMPARE(f.handle().IndexOf(a), -1);
    }

    void unselectableObjectsIgnoreClicksAndSelectAll()
    {
        PanelFixture f;
        auto* a = f.box(QRect(50, 50, 100, 60));
        auto* b = f.box(QRect(300, 50, 40, 40));
        a->SetUnselectable(true);
        Gesture press(f, QPoint(80, 70));
        QVERIFY(press.target == a);
        QVERIFY(f.panel->RubberBandActive()); // the press started a band instead
        press.release(QPoint(80, 70));
        QCOMPARE(f.handle().Count(), 0);
        f.panel->PanelMenuItem(QStringLiteral("Select All"))->trigger();
        QCOMPARE(f.handle().Selection(), QList<TGGraphicControl*>{b});
        QVERIFY(f.panel->PointOnObject(80, 70)); // still an object under the point
        f.panel->PanelMenuItem(QStringLiteral("Mark All Selectable"))->trigger();
        f.panel->SelectAll();
        QCOMPARE(f.handle().Count(), 2);
    }

    void shiftClickOnASelectedObjectDeselectsIt()
    {
        PanelFixture f;
        auto* a = f.box(QRect(50, 50, 40, 40));
        auto* b = f.box(QRect(100, 50, 40, 40));
        f.panel->SelectAll();
        Gesture g(f, QPoint(60, 60), Qt::LeftButton, Qt::ShiftModifier);
        g.release(QPoint(60, 60));
        QCOMPARE(f.handle().Selection(), QList<TGGraphicControl*>{b});
        QCOMPARE(a->geometry(), QRect(50, 50, 40, 40));
    }

    void arrowKeysNudgeAndShiftSizes()
    {
        PanelFixture f;
        auto* box = f.box(QRect(100, 100, 100, 50));
        f.handle().Select(box);
        QTRY_VERIFY(f.handle().hasFocus());
        QTest::keyPress(&f.handle(), Qt::Key_Left);
        QTest::keyPress(&f.handle(), Qt::Key_Left);
        QTest::keyRelease(&f.handle(), Qt::Key_Left);
        QCOMPARE(box->geometry(), QRect(98, 100, 100, 50));
        QCoreApplication::processEvents(); // the frame is re-fitted
        QTest::keyClick(&f.handle(), Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(box->geometry(), QRect(98, 100, 100, 51));
        QCoreApplication::processEvents();
        // Shift+Left narrows the outline down to 10 pixels and no further.
        for (int i = 0; i < 200; ++i)
            QTest::keyPress(&f.handle(), Qt::Key_Left, Qt::ShiftModifier);
        QTest::keyRelease(&f.handle(), Qt::Key_Left, Qt::ShiftModifier);
        QCOMPARE(box->geometry(), QRect(98, 100, 8, 51));
        QCoreApplication::processEvents();
        QTest::keyClick(&f.handle(), Qt::Key_Left, Qt::ShiftModifier);
        QCOMPARE(box->geometry(), QRect(98, 100, 8, 51));
    }

    void deleteKeyDeletesButCtrlDeleteDoesNot()
    {
        PanelFixture f;
        auto* box = f.box(QRect(100, 100, 40, 40));
        f.handle().Select(box);
        QTest::keyClick(&f.handle(), Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(f.panel->Objects().size(), 1);
        QString deleted;
        QObject::connect(f.panel.get(), &TGBasePanel::objectAboutToBeDeleted,
                         [&](const QString& name, const QByteArray&, int) { deleted = name; });
        QTest::keyClick(&f.handle(), Qt::Key_Delete);
        QVERIFY(f.panel->Objects().isEmpty());
        QCOMPARE(deleted, QStringLiteral("Component0"));
        QCOMPARE(f.handle().Count(), 0);
        QVERIFY(!f.handle().isVisible());
    }

    void pasteTwiceWithinASecondPastesOnce()
    {
        PanelFixture f;
        auto* box = f.box(QRect(100, 100, 40, 40));
        f.handle().Select(box);
        QTest::keyClick(&f.handle(), Qt::Key_C, Qt::ControlModifier);
        QVERIFY(QFile::exists(f.panel->ClipboardFileName));
        QVERIFY(f.panel->ClipboardFileName.startsWith(f.dir.path()));
        QTest::keyClick(&f.handle(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.panel->Objects().size(), 2);
        f.tick += 999;
        f.panel->SelectionClipboardAction(TClipboardAction::Paste);
        QCOMPARE(f.panel->Objects().size(), 2);
        f.tick += 1;
        f.panel->SelectionClipboardAction(TClipboardAction::Paste);
        const QList<TGGraphicControl*> objs = f.panel->Objects();
        QCOMPARE(objs.size(), 3);
        // Both copies lie at +15, +15 of the copied object, the second on top.
        QCOMPARE(objs[1]->geometry(), QRect(115, 115, 40, 40));
        QCOMPARE(objs[2]->geometry(), QRect(115, 115, 40, 40));
        QCOMPARE(objs[1]->objectName(), QStringLiteral("Component1"));
        QCOMPARE(objs[2]->objectName(), QStringLiteral("Component2"));
        QVERIFY(objs[2]->Hooked);
    }

    void aDamagedClipboardFilePastesWhatCameBeforeTheDamage()
    {
        PanelFixture f;
        ovtest::Bytes file;
        file.byte(1).record("TTestBox", "a").geometry(10, 10, 30, 30).end().end();
        file.raw("TPF0").str("TTestBox"); // cut off in the middle of the next record
        QFile out(f.panel->ClipboardFileName);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(file.b);
        out.close();
        f.panel->SelectionClipboardAction(TClipboardAction::Paste);
        QCOMPARE(f.panel->Objects().size(), 1);
        TGGraphicControl* pasted = f.panel->Objects().first();
        QCOMPARE(pasted->geometry(), QRect(25, 25, 30, 30));
        QVERIFY(pasted->ContextMenu() && pasted->Hooked);
        QCOMPARE(f.prompts->texts(QStringLiteral("information")).size(), 1);
        QVERIFY(f.prompts->texts(QStringLiteral("information")).first().contains(QStringLiteral("damaged")));
    }

    void cloneLandsTwentyFiveBelowAndTakesTheSelection()
    {
        PanelFixture f;
        auto* box = f.box(QRect(70, 40, 30, 20));
        f.handle().Select(box);
        QStringList created;
        QObject::connect(f.panel.get(), &TGBasePanel::objectsCreated, [&](const QStringList& n) { created << n; });
        box->MenuItem(QStringLiteral("Clone"))->trigger();
        const QList<TGGraphicControl*> objs = f.panel->Objects();
        QCOMPARE(objs.size(), 2);
        QCOMPARE(objs[1]->geometry(), QRect(70, 65, 30, 20));
        QCOMPARE(f.handle().Selection(), QList<TGGraphicControl*>{objs[1]});
        QCOMPARE(created, QStringList{QStringLiteral("Component1")});
    }

    void zoomScalesObjectsWithHalvesToEven()
    {
        PanelFixture f;
        auto* a = f.box(QRect(10, 21, 33, 5));
        f.panel->SetZoom(2.0f);
        QCOMPARE(a->geometry(), QRect(20, 42, 66, 10));
        QCOMPARE(a->Zoom(), 2.0f);
        f.panel->SetZoom(1.0f);
        QCOMPARE(a->geometry(), QRect(10, 21, 33, 5));
        f.panel->SetZoom(0.5f); // 5, 10.5 -> 10, 16.5 -> 16, 2.5 -> 2
        QCOMPARE(a->geometry(), QRect(5, 10, 16, 2));
        f.panel->SetZoom(1.0f); // rounding drift is not corrected
        QCOMPARE(a->geometry(), QRect(10, 20, 32, 4));
    }

    void alignMovesLockedObjectsToo()
    {
        PanelFixture f;
        auto* a = f.box(QRect(50, 50, 40, 40));
        auto* b = f.box(QRect(150, 80, 60, 40));
        b->SetLocked(true);
        f.panel->SelectAll();
        QCOMPARE(f.handle().Count(), 2);
        emit f.panel->PanelMenu()->aboutToShow(); // items follow the selection as the menu opens
        f.panel->PanelMenuItem(QStringLiteral("Align Left"))->trigger();
        QCOMPARE(b->x(), 50);
        f.panel->PanelMenuItem(QStringLiteral("Align Bottoms"))->trigger();
        QCOMPARE(a->y() + a->height(), 120);
        QCOMPARE(b->y() + b->height(), 120);
    }

    void panelMenuEnablesItemsByState()
    {
        PanelFixture f;
        QMenu* menu = f.panel->PanelMenu();
        emit menu->aboutToShow();
        QVERIFY(!f.panel->PanelMenuItem(QStringLiteral("Cut"))->isEnabled());
        QVERIFY(!f.panel->PanelMenuItem(QStringLiteral("Paste"))->isEnabled());
        QVERIFY(!f.panel->PanelMenuItem(QStringLiteral("Lock All"))->isEnabled());
        QVERIFY(f.panel->PanelMenuItem(QStringLiteral("Select All"))->isEnabled());
        auto* box = f.box(QRect(10, 10, 20, 20));
        f.handle().Select(box);
        f.panel->SelectionClipboardAction(TClipboardAction::Copy);
        emit menu->aboutToShow();
        QVERIFY(f.panel->PanelMenuItem(QStringLiteral("Cut"))->isEnabled());
        QVERIFY(f.panel->PanelMenuItem(QStringLiteral("Paste"))->isEnabled());
        QVERIFY(f.panel->PanelMenuItem(QStringLiteral("Lock All"))->isEnabled());
    }

    void keepAndRemoveStrayObjects()
    {
        PanelFixture f;
        auto* far = f.box(QRect(590, 395, 20, 20));
        f.panel->KeepObjectsOnPage();
        QCOMPARE(far->pos(), QPoint(580, 390));
        f.box(QRect(595, 10, 20, 20));
        f.box(QRect(10, 10, 20, 20));
        f.panel->RemoveStrayObjects();
        QCOMPARE(f.panel->Objects().size(), 2);
    }

    void selectionSquaresAreDrawnOverTheObjects()
    {
        PanelFixture f;
        auto* a = f.box(QRect(100, 100, 100, 50));
        auto* b = f.box(QRect(300, 100, 60, 40));
        f.handle().Select(a);
        QImage img = f.panel->grab().toImage();
        QCOMPARE(QColor(img.pixel(99, 99)), QColor(Qt::black));   // top-left square
        QCOMPARE(QColor(img.pixel(150, 99)), QColor(Qt::black));  // top middle
        f.handle().Select(b);
        img = f.panel->grab().toImage();
        QCOMPARE(QColor(img.pixel(99, 99)), QColor(128, 128, 128)); // grey with two selected
        QCOMPARE(QColor(img.pixel(150, 99)), QColor(Qt::white));    // no middle squares
    }
};
OV_TEST(TestSelection)

#include "test_selection.moc"
