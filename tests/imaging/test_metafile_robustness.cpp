// Damaged input: every truncation and many single-byte changes must play without
// crashing or hanging; absurd counts and sizes are refused before anything is allocated.
#include "imaging/metafile_player.h"
#include "imaging/metafile_sink.h"
#include "metafile_builders.h"
#include "test_registry.h"

#include <QPainter>
#include <QRandomGenerator>
#include <QTest>

using namespace mftest;

namespace {

void playAnything(const QByteArray& bytes)
{
    QImage img(24, 24, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::white);
    QPainter p(&img);
    PlayMetafileData(p, QRectF(0, 0, 24, 24), bytes);
}

QByteArray richWmf()
{
    Wmf w;
    w.mapMode(8).windowOrg(0, 0).windowExt(1000, 1000);
    w.pen(0, 10, rgb(1, 2, 3)).brush(2, rgb(9, 9, 9), 3).font(-100, 450);
    w.select(0).select(1).select(2).saveDC().intersectClip(0, 0, 900, 900).excludeClip(10, 10, 20, 20);
    w.rectangle(0, 0, 500, 500).ellipse(100, 100, 600, 400);
    w.rec(0x0817, {0, 0, 500, 1000, 1000, 1000, 0, 0});
    w.rec(0x081A, {0, 500, 500, 1000, 1000, 1000, 0, 0});
    w.polygon(QPolygon({QPoint(0, 0), QPoint(100, 0), QPoint(50, 80)}));
    w.polyline(QPolygon({QPoint(0, 0), QPoint(100, 0), QPoint(50, 80)}));
    w.textOut(10, 10, "Text").extTextOut(20, 20, "abc", {5, 6, 7}, 6, QRect(0, 0, 40, 40));
    w.stretchDib(QRect(0, 0, 100, 100), QRect(0, 0, 2, 2), dib24(2, 2, {1, 2, 3, 4}));
    w.moveTo(0, 0).lineTo(100, 100).restoreDC(-1).deleteObject(0).deleteObject(1);
    return w.buildPlaceable(QRect(0, 0, 1000, 1000), 1440);
}

QByteArray richEmf()
{
    QByteArray info, bits;
    dib24(2, 2, {1, 2, 3, 4}, &bits, &info);
    Emf e;
    e.mapMode(8).windowExt(1000, 1000).viewportExt(1000, 1000);
    e.pen(1, 0, 10, rgb(1, 2, 3)).brush(2, 0, rgb(4, 5, 6)).font(3, -100, 300);
    e.select(1).select(2).select(3).saveDC().intersectClip(0, 0, 900, 900);
    e.clipRegionRects(1, {QRect(0, 0, 500, 500), QRect(600, 600, 100, 100)});
    e.rectangle(0, 0, 500, 500).ellipse(0, 0, 200, 100);
    e.arc(47, QRect(0, 0, 100, 100), QPoint(100, 50), QPoint(50, 0));
    e.polygon16(86, QPolygon({QPoint(0, 0), QPoint(10, 0), QPoint(5, 8)}));
    e.polygon(2, QPolygon({QPoint(0, 0), QPoint(10, 0), QPoint(5, 8), QPoint(3, 3)}));
    e.beginPath().moveTo(0, 0).lineTo(10, 10).closeFigure().endPath().strokePath();
    e.textW(5, 5, "Hi", {10, 10}, 4);
    e.stretchDIBits(QRect(0, 0, 100, 100), QRect(0, 0, 2, 2), info, bits);
    e.restoreDC(-1).deleteObject(1);
    return e.build();
}

} // namespace

class TestMetafileRobustness : public QObject {
    Q_OBJECT
private slots:
    void everyTruncation_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("wmf") << richWmf();
        QTest::newRow("emf") << richEmf();
    }
    void everyTruncation()
    {
        QFETCH(QByteArray, bytes);
        for (qsizetype n = 0; n <= bytes.size(); ++n)
            playAnything(bytes.left(n));
    }

    void everyByteChanged_data() { everyTruncation_data(); }
    void everyByteChanged()
    {
        QFETCH(QByteArray, bytes);
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            for (char v : {'\x00', '\xFF', '\x7F', '\x80'}) {
                QByteArray damaged = bytes;
                damaged[i] = v;
                playAnything(damaged);
            }
        }
    }

    void randomDamage()
    {
        QRandomGenerator rng(20261208);
        const QByteArray sources[] = {richWmf(), richEmf()};
        for (int round = 0; round < 600; ++round) {
            QByteArray damaged = sources[round % 2];
            const int hits = 1 + int(rng.bounded(8));
            for (int h = 0; h < hits; ++h)
                damaged[qsizetype(rng.bounded(quint32(damaged.size())))] = char(rng.bounded(256));
            playAnything(damaged);
        }
    }

    void absurdCountsAndSizes()
    {
        // A record claiming far more than the file holds.
        Wmf w;
        w.windowExt(10, 10);
        QByteArray hugeRecord;
        put32(hugeRecord, 0x7FFFFFFF);
        put16(hugeRecord, 0x0324);
        put16(hugeRecord, 32767); // points
        w.records.append(hugeRecord);
        playAnything(w.build());

        // A polygon count larger than its record.
        Wmf w2;
        w2.windowExt(10, 10).rec(0x0324, {30000, 1, 2, 3, 4});
        w2.rec(0x0538, {60000, 1, 1});
        playAnything(w2.build());

        // An EMF bitmap header asking for 4 billion pixels, and offsets past the record.
        QByteArray info, bits;
        dib24(1, 1, {0}, &bits, &info);
        qToLittleEndian<qint32>(65535, info.data() + 4);
        qToLittleEndian<qint32>(65535, info.data() + 8);
        Emf e;
        e.stretchDIBits(QRect(0, 0, 10, 10), QRect(0, 0, 65535, 65535), info, bits);
        e.ints(81, {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 0x7FFFFFF0, 40, 0x7FFFFFF0, 40, 0, 0xCC0020, 10, 10});
        e.ints(8, {0, 0, 0, 0, 0x7FFFFFFF, 0x7FFFFFFF, 1, 2});  // polypolygon
        e.ints(84, {0, 0, 0, 0, 1, 0, 0, 0, 0, 0x7FFFFFFF, 76, 0, 0, 0, 0, 0, 0x7FFFFFF0});
        e.ints(38, {0x7FFFFFFF, 0, 5, 0, 0});                   // object index far out
        e.ints(75, {0x7FFFFFFF, 1});                            // region size beyond the record
        e.ints(34, {-2000000000});                              // restore far below the stack
        for (int i = 0; i < 10000; ++i)
            e.ints(33, {});                                     // saves beyond the limit
        e.ints(36, {0x7F800000, 0, 0, 0x7F800000, 0, 0, 4});    // infinite world transform
        e.rectangle(-2000000000, -2000000000, 2000000000, 2000000000);
        playAnything(e.build());

        // Record size zero stops the loop instead of spinning.
        QByteArray spin = Emf().build();
        spin.insert(108, QByteArray("\x03\0\0\0\0\0\0\0", 8));
        playAnything(spin);
    }

    void absurdTextIsBounded()
    {
        Emf e;
        e.ints(82, {1, -1000000, 1, 1507, 1507, 400, 0, 0}); // huge, nearly zero width, rotated
        e.select(1).textW(500, 500, "WWWW");
        const QByteArray bytes = e.build();
        MetafileRecordingSink sink;
        TMetafile mf;
        QVERIFY(mf.loadFromData(bytes));
        mf.playTo(sink, QRectF(2, 2, 44, 28));
        const auto texts = sink.ofKind("text");
        QCOMPARE(texts.size(), size_t(1));
        QVERIFY(texts[0]->text.pixelSize <= 4 * std::hypot(44.0, 28.0) + 1e-6);
        QVERIFY(texts[0]->text.font.stretch() >= 25);
        playAnything(bytes);
    }

    void manyClipEditsStayBounded()
    {
        Emf e;
        for (int i = 0; i < 3000; ++i)
            e.ints(29, {i * 3, i * 2, i * 3 + 2, i * 2 + 1}); // exclude
        e.rectangle(0, 0, 1000, 1000);
        MetafileRecordingSink sink;
        TMetafile mf;
        QVERIFY(mf.loadFromData(e.build()));
        mf.playTo(sink, QRectF(0, 0, 100, 100));
        QCOMPARE(sink.ofKind("polygon").size(), size_t(1));
    }
};
OV_TEST(TestMetafileRobustness)
#include "test_metafile_robustness.moc"
