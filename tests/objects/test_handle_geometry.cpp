#include "objects/handle_geometry.h"
#include "test_registry.h"

#include <QTest>

using namespace handlegeom;
Q_DECLARE_METATYPE(handlegeom::Outline)

class TestHandleGeometry : public QObject {
    Q_OBJECT
private slots:
    void zoneAtPoint_data()
    {
        QTest::addColumn<QPoint>("p");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("zone");
        const QSize box(105, 55);
        QTest::newRow("middle moves") << QPoint(50, 27) << box << 0;
        QTest::newRow("top-left corner") << QPoint(0, 0) << box << 1;
        QTest::newRow("top-left, 7 px in") << QPoint(7, 7) << box << 1;
        QTest::newRow("8 px in is outside the corner") << QPoint(8, 8) << box << 0;
        QTest::newRow("top-right") << QPoint(104, 2) << box << 2;
        QTest::newRow("bottom-left") << QPoint(3, 54) << box << 3;
        QTest::newRow("bottom-right") << QPoint(104, 54) << box << 4;
        QTest::newRow("top middle") << QPoint(52, 1) << box << 5;
        QTest::newRow("left middle") << QPoint(1, 27) << box << 6;
        QTest::newRow("bottom middle") << QPoint(57, 54) << box << 7;
        QTest::newRow("right middle") << QPoint(104, 22) << box << 8;
        QTest::newRow("6 px from the middle is no longer the edge") << QPoint(58, 1) << box << 0;
        // On a tiny box every test matches; the last in order wins: right.
        QTest::newRow("tiny box: the right edge wins") << QPoint(5, 5) << QSize(10, 10) << 8;
        QTest::newRow("tiny box: left edge over the corners") << QPoint(0, 5) << QSize(12, 10) << 6;
    }
    void zoneAtPoint()
    {
        QFETCH(QPoint, p);
        QFETCH(QSize, size);
        QFETCH(int, zone);
        QCOMPARE(zoneAt(p, size), zone);
    }

    void resizedBounds_data()
    {
        QTest::addColumn<int>("zone");
        QTest::addColumn<QPoint>("delta");
        QTest::addColumn<int>("grid");
        QTest::addColumn<QRect>("expected");
        // The control around a 100 x 50 object at (100, 100).
        QTest::newRow("move") << 0 << QPoint(10, -3) << 1 << QRect(108, 95, 105, 55);
        QTest::newRow("bottom-right loses a pixel each way") << 4 << QPoint(10, 10) << 1 << QRect(98, 98, 114, 64);
        QTest::newRow("top-left keeps the far edges") << 1 << QPoint(-10, 5) << 1 << QRect(88, 103, 115, 50);
        QTest::newRow("top-right") << 2 << QPoint(10, 5) << 1 << QRect(98, 103, 114, 50);
        QTest::newRow("bottom-left") << 3 << QPoint(-10, 10) << 1 << QRect(88, 98, 115, 64);
        QTest::newRow("top") << 5 << QPoint(7, -4) << 1 << QRect(98, 94, 105, 59);
        QTest::newRow("left") << 6 << QPoint(4, 7) << 1 << QRect(102, 98, 101, 55);
        QTest::newRow("bottom") << 7 << QPoint(0, 1) << 1 << QRect(98, 98, 105, 55);
        QTest::newRow("right") << 8 << QPoint(-1, 0) << 1 << QRect(98, 98, 103, 55);
        QTest::newRow("never below 5") << 4 << QPoint(-200, -200) << 1 << QRect(98, 98, 5, 5);
        QTest::newRow("move snaps to 8") << 0 << QPoint(5, 5) << 8 << QRect(96, 96, 105, 55);
        QTest::newRow("size snaps, then loses a pixel") << 8 << QPoint(6, 0) << 8 << QRect(98, 98, 103, 55);
        QTest::newRow("snapping truncates toward zero") << 0 << QPoint(-101, 0) << 4 << QRect(0, 96, 105, 55);
    }
    void resizedBounds()
    {
        QFETCH(int, zone);
        QFETCH(QPoint, delta);
        QFETCH(int, grid);
        QFETCH(QRect, expected);
        QCOMPARE(resizedRect(QRect(98, 98, 105, 55), zone, delta, grid, grid), expected);
    }

    void selectionBoxesAndSquares()
    {
        const QRect a(100, 100, 100, 50), b(250, 80, 20, 20);
        QCOMPARE(selectionBox({a}), QRect(98, 98, 105, 55));
        QCOMPARE(refitBox({a}), QRect(98, 98, 106, 56));
        QCOMPARE(selectionBox({a, b}), QRect(98, 78, 175, 75));
        const QList<QRect> single = selectionSquares(a, true);
        QCOMPARE(single.size(), 8);
        QCOMPARE(single[0], QRect(98, 98, 5, 5));    // top-left
        QCOMPARE(single[2], QRect(197, 147, 5, 5));  // bottom-right, right edge exclusive at 202
        QCOMPARE(single[4], QRect(148, 98, 5, 5));   // top middle: h = 52
        QCOMPARE(selectionSquares(a, false).size(), 4);
        // Every square lies inside the control's box, which draws them.
        for (const QRect& sq : single)
            QVERIFY(selectionBox({a}).contains(sq));
    }

    void clampingKeepsTheDragOnThePanel()
    {
        QCOMPARE(clampToPanel(QPoint(-50, 10), QPoint(20, 20), QSize(300, 200)), QPoint(-20, 10));
        QCOMPARE(clampToPanel(QPoint(400, 400), QPoint(20, 20), QSize(300, 200)), QPoint(280, 180));
    }

    void nudging_data()
    {
        QTest::addColumn<Outline>("start");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("sizing");
        QTest::addColumn<Outline>("expected");
        const Outline o{10, 10, 109, 59};
        QTest::newRow("left moves") << o << int(NudgeKey::Left) << false << Outline{9, 10, 108, 59};
        QTest::newRow("left stops at the edge") << Outline{0, 5, 50, 30} << int(NudgeKey::Left) << false
                                                << Outline{0, 5, 50, 30};
        QTest::newRow("shift+left narrows") << o << int(NudgeKey::Left) << true << Outline{10, 10, 108, 59};
        QTest::newRow("shift+left stops at 10 wide") << Outline{10, 10, 19, 30} << int(NudgeKey::Left) << true
                                                     << Outline{10, 10, 19, 30};
        QTest::newRow("shift+up stops at 10 high") << Outline{10, 10, 40, 19} << int(NudgeKey::Up) << true
                                                   << Outline{10, 10, 40, 19};
        QTest::newRow("right grows when sizing") << o << int(NudgeKey::Right) << true << Outline{10, 10, 110, 59};
        QTest::newRow("right stops past the panel") << Outline{250, 0, 300, 20} << int(NudgeKey::Right) << false
                                                    << Outline{250, 0, 300, 20};
        QTest::newRow("down moves") << o << int(NudgeKey::Down) << false << Outline{10, 11, 109, 60};
    }
    void nudging()
    {
        QFETCH(Outline, start);
        QFETCH(int, key);
        QFETCH(bool, sizing);
        QFETCH(Outline, expected);
        QCOMPARE(nudged(start, NudgeKey(key), sizing, QSize(300, 200)), expected);
    }

    void outlineAndBoundsAreInverse()
    {
        const QRect b(98, 98, 105, 55);
        QCOMPARE(boundsFor(outlineFor(b)), b);
        QCOMPARE(outlineFor(b), (Outline{100, 100, 200, 150}));
    }
};
OV_TEST(TestHandleGeometry)

#include "test_handle_geometry.moc"
