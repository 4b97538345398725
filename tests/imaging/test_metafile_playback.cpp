// Records turned into sink calls: mapping, state, objects, text, clipping and paths.
#include "imaging/metafile_player.h"
#include "imaging/metafile_sink.h"
#include "metafile_builders.h"
#include "test_registry.h"

#include <QTest>

using namespace mftest;
using Rec = MetafileRecordingSink;

namespace {

Rec playBytes(const QByteArray& bytes, const QRectF& target)
{
    Rec sink;
    TMetafile mf;
    if (!mf.loadFromData(bytes))
        qWarning() << "load failed:" << mf.errorText();
    mf.playTo(sink, target);
    return sink;
}

// EMF device 0..1000 stretched onto 0..100: one logical unit in MM_TEXT = 0.1.
Rec playEmf(const Emf& e, const QRectF& target = QRectF(0, 0, 100, 100))
{
    return playBytes(e.build(), target);
}

bool near(QPointF a, QPointF b, qreal eps = 0.01)
{
    return std::abs(a.x() - b.x()) < eps && std::abs(a.y() - b.y()) < eps;
}

bool nearRect(const QRectF& a, const QRectF& b, qreal eps = 0.01)
{
    return near(a.topLeft(), b.topLeft(), eps) && near(a.bottomRight(), b.bottomRight(), eps);
}

QString str(const QRectF& r)
{
    return QStringLiteral("(%1,%2 %3x%4)").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

} // namespace

class TestMetafilePlayback : public QObject {
    Q_OBJECT
private slots:
    void placeableWmfFillsTarget()
    {
        Wmf w;
        w.windowOrg(0, 0).windowExt(1000, 500).brush(0, rgb(255, 0, 0)).select(0);
        w.rectangle(0, 0, 1000, 500);
        const QByteArray bytes = w.buildPlaceable(QRect(0, 0, 1000, 500), 1000);
        TMetafile mf;
        QVERIFY(mf.loadFromData(bytes));
        QCOMPARE(mf.kind(), TMetafile::Kind::PlaceableWmf);
        QCOMPARE(mf.naturalSize(), QSizeF(96, 48));
        const Rec sink = playBytes(bytes, QRectF(10, 20, 200, 100));
        const auto polys = sink.ofKind("polygon");
        QCOMPARE(polys.size(), size_t(1));
        QVERIFY2(nearRect(polys[0]->polygon.boundingRect(), QRectF(10, 20, 200, 100)),
                 qPrintable(str(polys[0]->polygon.boundingRect())));
        QCOMPARE(polys[0]->paint.brush.color(), QColor(255, 0, 0));
    }

    void placeableBoxOffsetAndOwnWindow()
    {
        // The bounding box starts at (500, 500); the file draws in its own window.
        Wmf w;
        w.rectangle(500, 500, 700, 600);
        const Rec sink = playBytes(w.buildPlaceable(QRect(500, 500, 200, 100), 1440),
                                   QRectF(0, 0, 20, 10));
        const auto polys = sink.ofKind("polygon");
        QCOMPARE(polys.size(), size_t(1));
        QVERIFY(nearRect(polys[0]->polygon.boundingRect(), QRectF(0, 0, 20, 10)));
    }

    void plainWmfWindowWithFlippedY()
    {
        Wmf w;
        w.mapMode(8).windowOrg(100, 100).windowExt(200, -200);
        w.polyline(QPolygon({QPoint(100, 100), QPoint(300, -100), QPoint(200, 0)}));
        const Rec sink = playBytes(w.build(), QRectF(0, 0, 100, 100));
        const auto lines = sink.ofKind("polyline");
        QCOMPARE(lines.size(), size_t(1));
        const QPolygonF& p = lines[0]->polygon;
        QCOMPARE(p.size(), 3);
        QVERIFY(near(p[0], QPointF(0, 0)));
        QVERIFY(near(p[1], QPointF(100, 100)));
        QVERIFY(near(p[2], QPointF(50, 50)));
    }

    void wmfViewportRecordsLeaveThePlayersViewport()
    {
        Wmf w;
        w.mapMode(8).windowOrg(0, 0).windowExt(1000, 1000).viewportOrg(30, 30).viewportExt(96, 96);
        w.rectangle(0, 0, 1000, 1000);
        const Rec sink = playBytes(w.build(), QRectF(0, 0, 100, 100));
        const auto polys = sink.ofKind("polygon");
        QCOMPARE(polys.size(), size_t(1));
        QVERIFY(nearRect(polys[0]->polygon.boundingRect(), QRectF(0, 0, 100, 100)));
    }

    void plainWmfWithoutWindowIsMeasured()
    {
        Wmf w;
        w.rectangle(200, 300, 400, 700);
        TMetafile mf;
        QVERIFY(mf.loadFromData(w.build()));
        Rec sink;
        mf.playTo(sink, QRectF(0, 0, 50, 100));
        const auto polys = sink.ofKind("polygon");
        QCOMPARE(polys.size(), size_t(1));
        QVERIFY(nearRect(polys[0]->polygon.boundingRect(), QRectF(0, 0, 50, 100)));
    }

    void emfMapModes_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QPoint>("logical");
        QTest::addColumn<QPointF>("expected");
        QTest::newRow("text") << 1 << QPoint(100, 100) << QPointF(10, 10);
        QTest::newRow("lometric") << 2 << QPoint(100, -100) << QPointF(10, 10);
        QTest::newRow("himetric") << 3 << QPoint(1000, -1000) << QPointF(10, 10);
        QTest::newRow("loenglish") << 4 << QPoint(100, -100) << QPointF(25.4, 25.4);
        QTest::newRow("hienglish") << 5 << QPoint(1000, -1000) << QPointF(25.4, 25.4);
        QTest::newRow("twips") << 6 << QPoint(1440, -1440) << QPointF(25.4, 25.4);
    }
    void emfMapModes()
    {
        QFETCH(int, mode);
        QFETCH(QPoint, logical);
        QFETCH(QPointF, expected);
        Emf e;
        e.mapMode(mode);
        e.moveTo(0, 0).lineTo(logical.x(), logical.y());
        const Rec sink = playEmf(e);
        const auto lines = sink.ofKind("polyline");
        QCOMPARE(lines.size(), size_t(1));
        QVERIFY(near(lines[0]->polygon.first(), QPointF(0, 0)));
        QVERIFY2(near(lines[0]->polygon.last(), expected),
                 qPrintable(QStringLiteral("%1,%2").arg(lines[0]->polygon.last().x()).arg(lines[0]->polygon.last().y())));
    }

    void isotropicKeepsAspect_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QPointF>("expected");
        QTest::newRow("isotropic") << 7 << QPointF(10, 10);
        QTest::newRow("anisotropic") << 8 << QPointF(20, 10);
    }
    void isotropicKeepsAspect()
    {
        QFETCH(int, mode);
        QFETCH(QPointF, expected);
        Emf e;
        e.mapMode(mode).windowExt(100, 100).viewportExt(400, 200);
        e.moveTo(0, 0).lineTo(50, 50);
        const Rec sink = playEmf(e);
        const auto lines = sink.ofKind("polyline");
        QCOMPARE(lines.size(), size_t(1));
        QVERIFY(near(lines[0]->polygon.last(), expected));
    }

    void viewportOriginShifts()
    {
        Emf e;
        e.mapMode(8).windowExt(10, 10).viewportExt(10, 10).viewportOrg(300, 200).windowOrg(5, 5);
        e.moveTo(5, 5).lineTo(15, 15);
        const Rec sink = playEmf(e);
        const auto lines = sink.ofKind("polyline");
        QCOMPARE(lines.size(), size_t(1));
        QVERIFY(near(lines[0]->polygon.first(), QPointF(30, 20)));
        QVERIFY(near(lines[0]->polygon.last(), QPointF(31, 21)));
    }

    void worldTransform()
    {
        Emf e;
        QByteArray p;
        for (float v : {2.0f, 0.0f, 0.0f, 2.0f, 100.0f, 0.0f})
            putF(p, v);
        e.rec(35, p);
        e.moveTo(0, 0).lineTo(100, 100);
        const Rec sink = playEmf(e);
        const auto lines = sink.ofKind("polyline");
        QCOMPARE(lines.size(), size_t(1));
        QVERIFY(near(lines[0]->polygon.first(), QPointF(10, 0)));
        QVERIFY(near(lines[0]->polygon.last(), QPointF(30, 20)));
    }

    void saveRestore_data()
    {
        QTest::addColumn<int>("restore");
        QTest::addColumn<qreal>("expectedX");
        QTest::newRow("relative -1") << -1 << 5.0;
        QTest::newRow("relative -2") << -2 << 10.0;
        QTest::newRow("absolute 1") << 1 << 10.0;
        QTest::newRow("absolute 2") << 2 << 5.0;
        QTest::newRow("too deep is ignored") << -3 << 8.0;
        QTest::newRow("zero is ignored") << 0 << 8.0;
        QTest::newRow("beyond the stack is ignored") << 3 << 8.0;
    }
    void saveRestore()
    {
        QFETCH(int, restore);
        QFETCH(qreal, expectedX);
        Emf e;
        e.mapMode(8).windowExt(100, 100).viewportExt(100, 100);
        e.saveDC().windowOrg(50, 50).saveDC().windowOrg(20, 20).restoreDC(restore);
        e.moveTo(100, 100).lineTo(100, 100);
        const Rec sink = playEmf(e);
        const auto lines = sink.ofKind("polyline");
        QCOMPARE(lines.size(), size_t(1));
        QCOMPARE(lines[0]->polygon.first().x(), expectedX);
    }

    void restoreBringsBackSelectedObjects()
    {
        Wmf w;
        w.windowExt(100, 100);
        w.brush(0, rgb(255, 0, 0)).brush(0, rgb(0, 0, 255)); // slots 0 and 1
        w.select(0).saveDC().select(1).restoreDC(-1).rectangle(0, 0, 10, 10);
        const Rec sink = playBytes(w.build(), QRectF(0, 0, 100, 100));
        const auto polys = sink.ofKind("polygon");
        QCOMPARE(polys.size(), size_t(1));
        QCOMPARE(polys[0]->paint.brush.color(), QColor(255, 0, 0));
    }

    void objectTableUsesLowestFreeSlot()
    {
        Wmf w;
        w.windowExt(1000, 1000);
        w.pen(0, 1, rgb(255, 0, 0));    // slot 0
        w.brush(0, rgb(0, 0, 255));     // slot 1
        w.select(0).select(1);
        w.deleteObject(0);              // the selected pen stays in use
        w.rectangle(0, 0, 10, 10);
        w.brush(0, rgb(0, 255, 0));     // takes slot 0 again
        w.select(0).rectangle(0, 0, 10, 10);
        w.deleteObject(1).select(1);    // selecting an empty slot changes nothing
        w.rectangle(0, 0, 10, 10);
        const Rec sink = playBytes(w.build(), QRectF(0, 0, 1000, 1000));
        const auto polys = sink.ofKind("polygon");
        QCOMPARE(polys.size(), size_t(3));
        QCOMPARE(polys[0]->paint.pen.color(), QColor(255, 0, 0));
        QCOMPARE(polys[0]->paint.brush.color(), QColor(0, 0, 255));
        QCOMPARE(polys[1]->paint.brush.color(), QColor(0, 255, 0));
        QCOMPARE(polys[1]->paint.pen.color(), QColor(255, 0, 0));
        QCOMPARE(polys[2]->paint.brush.color(), QColor(0, 255, 0));
    }

    void emfStockObjects()
    {
        Emf e;
        e.select(0x80000000u + 5).select(0x80000000u + 8).rectangle(0, 0, 10, 10); // null brush, null pen
        e.select(0x80000000u + 4).select(0x80000000u + 7).rectangle(0, 0, 10, 10); // black, black
        const Rec sink = playEmf(e);
        const auto polys = sink.ofKind("polygon");
        QCOMPARE(polys.size(), size_t(2));
        QCOMPARE(polys[0]->paint.brush.style(), Qt::NoBrush);
        QCOMPARE(polys[0]->paint.pen.style(), Qt::NoPen);
        QCOMPARE(polys[1]->paint.brush.color(), QColor(Qt::black));
        QCOMPARE(polys[1]->paint.pen.style(), Qt::SolidLine);
    }

    void pensAndBrushes()
    {
        Emf e;
        e.pen(1, 0, 20, rgb(1, 2, 3)).select(1);
        e.brush(2, 2, rgb(0, 128, 0), 4).select(2); // hatched cross
        e.rectangle(0, 0, 100, 100);
        e.pen(3, 5, 0, 0).select(3);                // PS_NULL
        e.brush(4, 1, 0).select(4);                 // BS_NULL
        e.ints(18, {1});                            // transparent background
        e.rectangle(0, 0, 100, 100);
        e.pen(5, 0, 0, rgb(9, 9, 9)).select(5);     // cosmetic
        e.moveTo(0, 0).lineTo(10, 10);
        const Rec sink = playEmf(e);
        const auto polys = sink.ofKind("polygon");
        QCOMPARE(polys.size(), size_t(2));
        QCOMPARE(polys[0]->paint.pen.widthF(), 2.0);
        QCOMPARE(polys[0]->paint.pen.color(), QColor(1, 2, 3));
        QCOMPARE(polys[0]->paint.brush.style(), Qt::CrossPattern);
        QVERIFY(polys[0]->paint.opaqueBackground);
        QCOMPARE(polys[1]->paint.pen.style(), Qt::NoPen);
        QCOMPARE(polys[1]->paint.brush.style(), Qt::NoBrush);
        QVERIFY(!polys[1]->paint.opaqueBackground);
        const auto lines = sink.ofKind("polyline");
        QCOMPARE(lines.size(), size_t(1));
        QCOMPARE(lines[0]->paint.pen.widthF(), 0.0);
    }

    void extCreatePenUserStyle()
    {
        Emf e;
        // geometric, user style, flat caps, width 40, two dash entries
        e.ints(95, {1, 0, 0, 0, 0, 0x10000 | 0x200 | 7, 40, 0, rgb(0, 0, 255), 0, 2, 80, 40});
        e.select(1).moveTo(0, 0).lineTo(1000, 0);
        const Rec sink = playEmf(e);
        const auto lines = sink.ofKind("polyline");
        QCOMPARE(lines.size(), size_t(1));
        const QPen& pen = lines[0]->paint.pen;
        QCOMPARE(pen.widthF(), 4.0);
        QCOMPARE(pen.capStyle(), Qt::FlatCap);
        QCOMPARE(pen.style(), Qt::CustomDashLine);
        QCOMPARE(pen.dashPattern(), QList<qreal>({2.0, 1.0}));
    }

    void rop2Nop()
    {
        Wmf w;
        w.windowExt(100, 100).rec(0x0104, {11}).rectangle(0, 0, 10, 10).rec(0x0104, {13});
        w.rectangle(0, 0, 10, 10);
        const Rec sink = playBytes(w.build(), QRectF(0, 0, 100, 100));
        QCOMPARE(sink.ofKind("polygon").size(), size_t(1));
    }

    void textAlignment_data()
    {
        QTest::addColumn<int>("align");
        QTest::addColumn<qreal>("widths");    // offset in text widths
        QTest::addColumn<int>("vertical");    // 0 top, 1 baseline, 2 bottom
        QTest::newRow("left top") << 0 << 0.0 << 0;
        QTest::newRow("right") << 2 << -1.0 << 0;
        QTest::newRow("center") << 6 << -0.5 << 0;
        QTest::newRow("baseline") << 24 << 0.0 << 1;
        QTest::newRow("bottom center") << (8 | 6) << -0.5 << 2;
    }
    void textAlignment()
    {
        QFETCH(int, align);
        QFETCH(qreal, widths);
        QFETCH(int, vertical);
        Emf e;
        e.font(1, -200).select(1).textAlign(align).textW(1000, 2000, "Hello");
        const Rec sink = playEmf(e);
        const auto texts = sink.ofKind("text");
        QCOMPARE(texts.size(), size_t(1));
        const MetafileText& t = texts[0]->text;
        QCOMPARE(t.text, QStringLiteral("Hello"));
        QVERIFY(qAbs(t.pixelSize - 20) < 1e-6);
        QVERIFY(t.width > 0 && t.ascent > 0 && t.descent >= 0);
        const qreal y = vertical == 0 ? 200 + t.ascent : vertical == 1 ? 200 : 200 - t.descent;
        QVERIFY2(near(t.origin, QPointF(100 + widths * t.width, y)),
                 qPrintable(QStringLiteral("%1,%2").arg(t.origin.x()).arg(t.origin.y())));
    }

    void textUpdatesCurrentPosition()
    {
        Emf e;
        e.font(1, -200).select(1).textAlign(24 | 1).moveTo(500, 600);
        e.textW(0, 0, "AB").textW(0, 0, "CD");
        const Rec sink = playEmf(e);
        const auto texts = sink.ofKind("text");
        QCOMPARE(texts.size(), size_t(2));
        QVERIFY(near(texts[0]->text.origin, QPointF(50, 60)));
        QVERIFY(near(texts[1]->text.origin, QPointF(50 + texts[0]->text.width, 60)));
    }

    void textEscapementAndDx()
    {
        Emf e;
        e.font(1, -200, 900).select(1).textW(1000, 1000, "ABC", {100, 200, 300});
        const Rec sink = playEmf(e, QRectF(0, 0, 50, 50)); // scale 0.05
        const auto texts = sink.ofKind("text");
        QCOMPARE(texts.size(), size_t(1));
        const MetafileText& t = texts[0]->text;
        QCOMPARE(t.angle, 90.0);
        QCOMPARE(t.advances, QVector<qreal>({5, 10, 15}));
        QCOMPARE(t.width, 30.0);
        QVERIFY(qAbs(t.pixelSize - 10) < 1e-6);
        // Top alignment moves the baseline "down" the rotated text: to the right.
        QVERIFY(near(t.origin, QPointF(50 + t.ascent, 50)));
    }

    void wmfTextAnsiAndExtTextOut()
    {
        Wmf w;
        w.windowExt(1000, 1000).font(-100).select(0).bkMode(1).textColor(rgb(0, 0, 200));
        w.textOut(10, 10, "\x80 5");
        w.extTextOut(100, 200, "xyz", {10, 20, 30}, 2, QRect(100, 200, 50, 50));
        const Rec sink = playBytes(w.build(), QRectF(0, 0, 100, 100));
        const auto texts = sink.ofKind("text");
        QCOMPARE(texts.size(), size_t(2));
        QCOMPARE(texts[0]->text.text, QString::fromUtf8("\xE2\x82\xAC 5"));
        QCOMPARE(texts[0]->text.color, QColor(0, 0, 200));
        QVERIFY(!texts[0]->text.opaque);
        QVERIFY(qAbs(texts[0]->text.pixelSize - 10) < 1e-6);
        QCOMPARE(texts[1]->text.advances, QVector<qreal>({1, 2, 3}));
        QVERIFY(texts[1]->text.opaqueRect.has_value());
        QVERIFY(nearRect(texts[1]->text.opaqueRect->boundingRect(), QRectF(10, 20, 5, 5)));
    }

    void clipping()
    {
        Emf e;
        e.intersectClip(100, 100, 500, 500);
        e.saveDC().intersectClip(200, 200, 800, 800).rectangle(0, 0, 10, 10);
        e.restoreDC(-1).rectangle(0, 0, 10, 10);
        e.ints(29, {200, 200, 300, 300}); // exclude
        e.rectangle(0, 0, 10, 10);
        e.clipRegionRects(5, {});        // reset
        e.rectangle(0, 0, 10, 10);
        e.clipRegionRects(5, {QRect(0, 0, 100, 100), QRect(500, 500, 100, 100)});
        const Rec sink = playEmf(e);
        const auto clips = sink.ofKind("clip");
        QCOMPARE(clips.size(), size_t(6));
        QVERIFY(nearRect(clips[0]->clip->boundingRect(), QRectF(10, 10, 40, 40)));
        QVERIFY(nearRect(clips[1]->clip->boundingRect(), QRectF(20, 20, 30, 30)));
        QVERIFY(nearRect(clips[2]->clip->boundingRect(), QRectF(10, 10, 40, 40)));
        QVERIFY(clips[3]->clip->contains(QPointF(15, 15)));
        QVERIFY(!clips[3]->clip->contains(QPointF(25, 25)));
        QVERIFY(!clips[4]->clip.has_value());
        QVERIFY(clips[5]->clip->contains(QPointF(5, 5)));
        QVERIFY(clips[5]->clip->contains(QPointF(55, 55)));
        QVERIFY(!clips[5]->clip->contains(QPointF(30, 30)));
        // The calls come in order: clip, draw, clip, draw ...
        QStringList ops;
        for (const auto& c : sink.calls)
            ops << c.op;
        QCOMPARE(ops.join(','), QStringLiteral("clip,clip,polygon,clip,polygon,clip,polygon,clip,polygon,clip"));
    }

    void wmfClipRects()
    {
        Wmf w;
        w.windowExt(100, 100).intersectClip(10, 10, 60, 60).excludeClip(20, 20, 30, 30);
        w.rectangle(0, 0, 100, 100);
        const Rec sink = playBytes(w.build(), QRectF(0, 0, 100, 100));
        const auto clips = sink.ofKind("clip");
        QCOMPARE(clips.size(), size_t(2));
        QVERIFY(clips[1]->clip->contains(QPointF(15, 15)));
        QVERIFY(!clips[1]->clip->contains(QPointF(25, 25)));
        QVERIFY(!clips[1]->clip->contains(QPointF(70, 70)));
    }

    void pathsFillStrokeAndClip()
    {
        Emf e;
        e.beginPath().moveTo(0, 0).lineTo(1000, 0).lineTo(1000, 1000).closeFigure().endPath();
        e.fillPath();
        e.beginPath().moveTo(0, 0).lineTo(500, 500).endPath().strokePath();
        e.beginPath().rectangle(0, 0, 300, 300).endPath().selectClipPath(5);
        e.fillPath(); // the path was used up by the clip
        const Rec sink = playEmf(e);
        QStringList ops;
        for (const auto& c : sink.calls)
            ops << c.op;
        QCOMPARE(ops.join(','), QStringLiteral("path,path,clip"));
        QVERIFY(nearRect(sink.calls[0].path.boundingRect(), QRectF(0, 0, 100, 100)));
        QCOMPARE(sink.calls[0].paint.pen.style(), Qt::NoPen);
        QCOMPARE(sink.calls[0].paint.brush.style(), Qt::SolidPattern);
        QCOMPARE(sink.calls[1].paint.brush.style(), Qt::NoBrush);
        QVERIFY(sink.calls[1].paint.pen.style() != Qt::NoPen);
        QVERIFY(nearRect(sink.calls[2].clip->boundingRect(), QRectF(0, 0, 30, 30)));
    }

    void arcsRunCounterClockwiseOnTheDevice_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QRect>("box");
        QTest::addColumn<QPoint>("start");
        QTest::addColumn<QPoint>("end");
        QTest::addColumn<QRectF>("expected");
        QTest::newRow("text") << 1 << QRect(QPoint(0, 0), QPoint(1000, 1000)) << QPoint(1000, 500)
                              << QPoint(500, 0) << QRectF(50, 0, 50, 50);
        QTest::newRow("y up") << 2 << QRect(QPoint(0, -1000), QPoint(1000, 0)) << QPoint(1000, -500)
                              << QPoint(500, 0) << QRectF(50, 0, 50, 50);
    }
    void arcsRunCounterClockwiseOnTheDevice()
    {
        QFETCH(int, mode);
        QFETCH(QRect, box);
        QFETCH(QPoint, start);
        QFETCH(QPoint, end);
        QFETCH(QRectF, expected);
        Emf e;
        e.mapMode(mode).arc(47, box, start, end); // pie
        const Rec sink = playEmf(e);
        const auto paths = sink.ofKind("path");
        QCOMPARE(paths.size(), size_t(1));
        QVERIFY2(nearRect(paths[0]->path.boundingRect(), expected, 0.05),
                 qPrintable(str(paths[0]->path.boundingRect())));
    }

    void arcChordAndEllipse()
    {
        Emf e;
        e.arc(45, QRect(QPoint(0, 0), QPoint(1000, 1000)), QPoint(1000, 500), QPoint(0, 500));
        e.arc(46, QRect(QPoint(0, 0), QPoint(1000, 1000)), QPoint(0, 500), QPoint(1000, 500));
        e.ellipse(0, 0, 1000, 500);
        const Rec sink = playEmf(e);
        const auto paths = sink.ofKind("path");
        QCOMPARE(paths.size(), size_t(3));
        QVERIFY(nearRect(paths[0]->path.boundingRect(), QRectF(0, 0, 100, 50), 0.05)); // upper half
        QCOMPARE(paths[0]->paint.brush.style(), Qt::NoBrush);
        QVERIFY(nearRect(paths[1]->path.boundingRect(), QRectF(0, 50, 100, 50), 0.05)); // lower chord
        QVERIFY(paths[1]->paint.brush.style() != Qt::NoBrush);
        QVERIFY(nearRect(paths[2]->path.boundingRect(), QRectF(0, 0, 100, 50), 0.05));
    }

    void polyBezierAndPolyPolygon()
    {
        Emf e;
        e.polygon16(85, QPolygon({QPoint(0, 0), QPoint(0, 1000), QPoint(1000, 1000), QPoint(1000, 0)}));
        const Rec sink = playEmf(e);
        const auto paths = sink.ofKind("path");
        QCOMPARE(paths.size(), size_t(1));
        QCOMPARE(paths[0]->path.elementCount(), 4);
        QCOMPARE(paths[0]->path.elementAt(1).type, QPainterPath::CurveToElement);

        Wmf w;
        QByteArray p;
        put16(p, 2);
        put16(p, 4);
        put16(p, 3);
        for (int v : {0, 0, 10, 0, 10, 10, 0, 10, 20, 20, 30, 20, 30, 30})
            put16(p, v);
        w.windowExt(100, 100).raw(0x0538, p);
        const Rec wsink = playBytes(w.build(), QRectF(0, 0, 100, 100));
        const auto wp = wsink.ofKind("path");
        QCOMPARE(wp.size(), size_t(1));
        QCOMPARE(wp[0]->path.toSubpathPolygons().size(), qsizetype(2));
        QCOMPARE(wp[0]->rule, Qt::OddEvenFill);
    }

    void emfBitmapStretchAndMirror()
    {
        QByteArray info, bits;
        dib24(2, 2, {rgb(255, 0, 0), rgb(0, 255, 0), rgb(0, 0, 255), rgb(255, 255, 255)}, &bits, &info);
        Emf e;
        e.stretchDIBits(QRect(100, 100, 200, 100), QRect(0, 0, 2, 2), info, bits);
        e.stretchDIBits(QRect(100, 300, 200, -200), QRect(0, 0, 2, 2), info, bits);
        const Rec sink = playEmf(e);
        const auto images = sink.ofKind("image");
        QCOMPARE(images.size(), size_t(2));
        QVERIFY(nearRect(images[0]->rect, QRectF(10, 10, 20, 10)));
        const QImage& img = images[0]->image;
        QCOMPARE(img.size(), QSize(2, 2));
        QCOMPARE(QColor(img.pixel(0, 0)), QColor(255, 0, 0));
        QCOMPARE(QColor(img.pixel(1, 0)), QColor(0, 255, 0));
        QCOMPARE(QColor(img.pixel(0, 1)), QColor(0, 0, 255));
        QVERIFY(nearRect(images[1]->rect, QRectF(10, 10, 20, 20)));
        QCOMPARE(QColor(images[1]->image.pixel(0, 0)), QColor(0, 0, 255));
    }

    void wmfStretchDibSourcePart()
    {
        // 4x1 picture, only its right half is drawn.
        const QByteArray packed = dib24(4, 1, {rgb(1, 1, 1), rgb(2, 2, 2), rgb(3, 3, 3), rgb(4, 4, 4)});
        Wmf w;
        w.windowExt(100, 100).stretchDib(QRect(0, 0, 50, 50), QRect(2, 0, 2, 1), packed);
        const Rec sink = playBytes(w.build(), QRectF(0, 0, 100, 100));
        const auto images = sink.ofKind("image");
        QCOMPARE(images.size(), size_t(1));
        QCOMPARE(images[0]->source, QRectF(2, 0, 2, 1));
        QVERIFY(nearRect(images[0]->rect, QRectF(0, 0, 50, 50)));
        QCOMPARE(QColor(images[0]->image.pixel(3, 0)), QColor(4, 4, 4));
    }

    void emfPlusCommentsAndUnknownRecordsAreSkipped()
    {
        Emf e;
        QByteArray plus("EMF+");
        put32(plus, 0x4001); // an EMF+ header record would follow
        plus.append(QByteArray(24, '\x55'));
        e.comment(plus);
        e.rec(250, QByteArray(12, '\x7F'));
        e.rectangle(0, 0, 100, 100);
        const Rec sink = playEmf(e);
        QCOMPARE(sink.calls.size(), size_t(1));
        QCOMPARE(sink.calls[0].op, QStringLiteral("polygon"));
    }

    void indexedAndCompressedBitmaps()
    {
        // 1 bit per pixel with a two-colour table: 0 = red, 1 = blue; pixels 0,1,1,0.
        QByteArray mono;
        put32(mono, 40); put32(mono, 4); put32(mono, 1); put16(mono, 1); put16(mono, 1);
        for (int i = 0; i < 6; ++i)
            put32(mono, 0);
        put32(mono, 0x00FF0000); // red, stored as blue, green, red, 0
        put32(mono, 0x000000FF); // blue
        QByteArray monoBits;
        put32(monoBits, 0x60);
        // RLE8: two pixels of index 1, end of line, end of bitmap.
        QByteArray rle;
        put32(rle, 40); put32(rle, 2); put32(rle, 1); put16(rle, 1); put16(rle, 8);
        put32(rle, 1); put32(rle, 6); put32(rle, 0); put32(rle, 0); put32(rle, 2); put32(rle, 0);
        put32(rle, 0);
        put32(rle, 0x0000FF00); // green
        QByteArray rleBits;
        for (int v : {2, 1, 0, 0, 0, 1})
            rleBits.append(char(v));
        Emf e;
        e.stretchDIBits(QRect(0, 0, 100, 100), QRect(0, 0, 4, 1), mono, monoBits);
        e.stretchDIBits(QRect(0, 0, 100, 100), QRect(0, 0, 2, 1), rle, rleBits);
        const Rec sink = playEmf(e);
        const auto images = sink.ofKind("image");
        QCOMPARE(images.size(), size_t(2));
        const QImage& a = images[0]->image;
        QCOMPARE(a.size(), QSize(4, 1));
        QCOMPARE(QColor(a.pixel(0, 0)), QColor(255, 0, 0));
        QCOMPARE(QColor(a.pixel(1, 0)), QColor(0, 0, 255));
        QCOMPARE(QColor(a.pixel(2, 0)), QColor(0, 0, 255));
        QCOMPARE(QColor(a.pixel(3, 0)), QColor(255, 0, 0));
        const QImage& b = images[1]->image;
        QCOMPARE(b.size(), QSize(2, 1));
        QCOMPARE(QColor(b.pixel(1, 0)), QColor(0, 255, 0));
    }

    void fillRegionWithStockBrush()
    {
        Emf e;
        QByteArray p;
        for (int i = 0; i < 4; ++i)
            put32(p, 0);
        put32(p, 48);
        put32(p, 0x80000004u); // BLACK_BRUSH
        put32(p, 32); put32(p, 1); put32(p, 1); put32(p, 16);
        for (int v : {0, 0, 500, 500, 0, 0, 500, 500})
            put32(p, v);
        e.rec(71, p);
        const Rec sink = playEmf(e);
        const auto paths = sink.ofKind("path");
        QCOMPARE(paths.size(), size_t(1));
        QVERIFY(nearRect(paths[0]->path.boundingRect(), QRectF(0, 0, 50, 50)));
        QCOMPARE(paths[0]->paint.brush.color(), QColor(Qt::black));
    }

    void wmfRegionsPalettesAndPatternBrushes()
    {
        Wmf w;
        w.windowExt(100, 100);
        // Region: two scans, [10,20)x[10,40) and [50,60)x[50,70).
        QByteArray rgn;
        for (int v : {0, 6, 0, 0, 0, 2, 0, 10, 10, 60, 70})
            put16(rgn, v);
        for (int v : {2, 10, 40, 10, 20, 2, 2, 50, 70, 50, 60, 2})
            put16(rgn, v);
        w.raw(0x06FF, rgn);                       // slot 0
        // Palette with two entries; a pen coloured by palette index 1.
        QByteArray pal;
        put16(pal, 0x300);
        put16(pal, 2);
        put32(pal, rgb(1, 1, 1));
        put32(pal, rgb(0, 200, 100));
        w.raw(0x00F7, pal);                       // slot 1
        w.rec(0x0234, {1});                       // SelectPalette
        w.pen(0, 0, 0x01000001).select(2);        // slot 2, PALETTEINDEX(1)
        // A DIB pattern brush from a 2x2 picture.
        QByteArray pat;
        put16(pat, 5);
        put16(pat, 0);
        pat.append(dib24(2, 2, {rgb(9, 8, 7), 0, 0, 0}));
        w.raw(0x0142, pat).select(3);             // slot 3
        w.rec(0x012B, {0});                       // PaintRegion with the pattern
        w.rec(0x012C, {0});                       // SelectClipRegion
        w.moveTo(0, 0).lineTo(100, 100);
        const Rec sink = playBytes(w.build(), QRectF(0, 0, 100, 100));
        const auto paths = sink.ofKind("path");
        QCOMPARE(paths.size(), size_t(1));
        QVERIFY(paths[0]->path.contains(QPointF(15, 20)));
        QVERIFY(paths[0]->path.contains(QPointF(55, 60)));
        QVERIFY(!paths[0]->path.contains(QPointF(30, 30)));
        QCOMPARE(paths[0]->paint.brush.style(), Qt::TexturePattern);
        QCOMPARE(QColor(paths[0]->paint.brush.textureImage().pixel(0, 0)), QColor(9, 8, 7));
        const auto clips = sink.ofKind("clip");
        QCOMPARE(clips.size(), size_t(1));
        QVERIFY(clips[0]->clip->contains(QPointF(15, 20)));
        const auto lines = sink.ofKind("polyline");
        QCOMPARE(lines.size(), size_t(1));
        QCOMPARE(lines[0]->paint.pen.color(), QColor(0, 200, 100));
    }

    void wmfBlits()
    {
        Wmf w;
        w.windowExt(100, 100).brush(0, rgb(5, 5, 5)).select(0);
        QByteArray noSource;                      // DIBBITBLT without a bitmap: PATCOPY
        put32(noSource, 0x00F00021);
        for (int v : {0, 0, 0, 10, 20, 30, 40})
            put16(noSource, v);
        w.raw(0x0940, noSource);
        QByteArray withDib;                       // DIBSTRETCHBLT with a 2x1 DIB
        put32(withDib, 0x00CC0020);
        for (int v : {1, 2, 0, 0, 50, 60, 5, 6})
            put16(withDib, v);
        withDib.append(dib24(2, 1, {rgb(10, 20, 30), rgb(40, 50, 60)}));
        w.raw(0x0B41, withDib);
        QByteArray bm16;                          // BITBLT with a monochrome Bitmap16
        put32(bm16, 0x00CC0020);
        for (int v : {0, 0, 1, 8, 0, 0})
            put16(bm16, v);
        for (int v : {0, 8, 1, 2})
            put16(bm16, v);
        bm16.append(char(1));
        bm16.append(char(1));
        bm16.append(char(0x0F));
        bm16.append(char(0));
        w.raw(0x0922, bm16);
        const Rec sink = playBytes(w.build(), QRectF(0, 0, 100, 100));
        const auto polys = sink.ofKind("polygon");
        QCOMPARE(polys.size(), size_t(1));
        QVERIFY(nearRect(polys[0]->polygon.boundingRect(), QRectF(40, 30, 20, 10)));
        QCOMPARE(polys[0]->paint.brush.color(), QColor(5, 5, 5));
        const auto images = sink.ofKind("image");
        QCOMPARE(images.size(), size_t(2));
        QVERIFY(nearRect(images[0]->rect, QRectF(6, 5, 60, 50)));
        QCOMPARE(QColor(images[0]->image.pixel(1, 0)), QColor(40, 50, 60));
        QCOMPARE(images[1]->image.size(), QSize(8, 1));
        QCOMPARE(QColor(images[1]->image.pixel(0, 0)), QColor(Qt::black)); // 0 bits: text colour
        QCOMPARE(QColor(images[1]->image.pixel(7, 0)), QColor(Qt::white)); // 1 bits: background
    }

    void gradientFillRectangles()
    {
        Emf e;
        // Two vertices, red to blue, one horizontal rectangle.
        e.ints(118, {0, 0, 0, 0, 2, 1, 0, 0, 0, 0xFF00, 0, 1000, 500, 0, 0xFF00, 0, 1});
        const Rec sink = playEmf(e);
        const auto polys = sink.ofKind("polygon");
        QCOMPARE(polys.size(), size_t(1));
        QVERIFY(nearRect(polys[0]->polygon.boundingRect(), QRectF(0, 0, 100, 50)));
        const QGradient* g = polys[0]->paint.brush.gradient();
        QVERIFY(g);
        QCOMPARE(g->type(), QGradient::LinearGradient);
        const auto* lg = static_cast<const QLinearGradient*>(g);
        QCOMPARE(lg->start(), QPointF(0, 0));
        QCOMPARE(lg->finalStop(), QPointF(100, 0));
        QCOMPARE(lg->stops().first().second, QColor(255, 0, 0));
    }

    void setPixelAndPatBlt()
    {
        Wmf w;
        w.windowExt(100, 100);
        QByteArray p;
        put32(p, rgb(10, 20, 30));
        put16(p, 5);
        put16(p, 7);
        w.raw(0x041F, p);
        w.brush(0, rgb(0, 0, 99)).select(0);
        QByteArray b;
        put32(b, 0x00F00021); // PATCOPY
        put16(b, 10);
        put16(b, 20);
        put16(b, 30);
        put16(b, 40);
        w.raw(0x061D, b);
        const Rec sink = playBytes(w.build(), QRectF(0, 0, 200, 200));
        const auto polys = sink.ofKind("polygon");
        QCOMPARE(polys.size(), size_t(2));
        QVERIFY(nearRect(polys[0]->polygon.boundingRect(), QRectF(14, 10, 2, 2)));
        QCOMPARE(polys[0]->paint.brush.color(), QColor(10, 20, 30));
        QVERIFY(nearRect(polys[1]->polygon.boundingRect(), QRectF(80, 60, 40, 20)));
        QCOMPARE(polys[1]->paint.brush.color(), QColor(0, 0, 99));
    }
};
OV_TEST(TestMetafilePlayback)
#include "test_metafile_playback.moc"
