// Rendered probes, recognition by content and SVG.
#include "imaging/metafile_player.h"
#include "metafile_builders.h"
#include "test_registry.h"

#include <QFile>
#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTest>

using namespace mftest;

namespace {

QImage render(const QByteArray& bytes, QSize size, QRectF target = {})
{
    QImage img(size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::white);
    QPainter p(&img);
    PlayMetafileData(p, target.isNull() ? QRectF(QPointF(0, 0), QSizeF(size)) : target, bytes);
    p.end();
    return img;
}

bool isColor(QRgb px, QColor c, int tolerance = 8)
{
    return std::abs(qRed(px) - c.red()) <= tolerance && std::abs(qGreen(px) - c.green()) <= tolerance
        && std::abs(qBlue(px) - c.blue()) <= tolerance;
}

} // namespace

class TestMetafileRender : public QObject {
    Q_OBJECT
private slots:
    void placeableWmfStretchedToTarget()
    {
        Wmf w;
        w.windowOrg(0, 0).windowExt(1000, 500).brush(0, rgb(255, 0, 0)).select(0);
        w.pen(5, 0, 0).select(1).rectangle(0, 0, 1000, 500);
        const QImage img = render(w.buildPlaceable(QRect(0, 0, 1000, 500), 1440), QSize(200, 200),
                                  QRectF(0, 50, 200, 100));
        for (QPoint p : {QPoint(1, 51), QPoint(198, 51), QPoint(1, 148), QPoint(198, 148), QPoint(100, 100)})
            QVERIFY2(isColor(img.pixel(p), Qt::red), qPrintable(QString::number(p.x()) + "," + QString::number(p.y())));
        QVERIFY(isColor(img.pixel(100, 40), Qt::white));
        QVERIFY(isColor(img.pixel(100, 160), Qt::white));
    }

    void emfTriangleFilledWhereExpected()
    {
        Emf e;
        e.brush(1, 0, rgb(0, 0, 255)).select(1);
        e.polygon(3, QPolygon({QPoint(0, 0), QPoint(1000, 0), QPoint(0, 1000)}));
        const QImage img = render(e.build(), QSize(100, 100));
        QVERIFY(isColor(img.pixel(10, 10), Qt::blue));
        QVERIFY(isColor(img.pixel(90, 90), Qt::white));
        QVERIFY(isColor(img.pixel(30, 60), Qt::blue));
        QVERIFY(isColor(img.pixel(70, 40), Qt::white));
    }

    void clipLimitsTheFill()
    {
        Emf e;
        e.brush(1, 0, rgb(0, 160, 0)).select(1).select(0x80000000u + 8);
        e.intersectClip(0, 0, 500, 1000).rectangle(0, 0, 1000, 1000);
        const QImage img = render(e.build(), QSize(100, 100));
        QVERIFY(isColor(img.pixel(20, 50), QColor(0, 160, 0)));
        QVERIFY(isColor(img.pixel(80, 50), Qt::white));
    }

    void callersClipAndStateSurvive()
    {
        Emf e;
        e.brush(1, 0, rgb(0, 0, 200)).select(1);
        e.clipRegionRects(5, {QRect(0, 0, 1000, 1000)}); // the picture's own clip
        e.rectangle(0, 0, 1000, 1000);
        e.clipRegionRects(5, {});                       // and its reset
        e.rectangle(0, 0, 1000, 1000);
        QImage img(100, 100, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::white);
        QPainter p(&img);
        p.setClipRect(0, 0, 50, 100);
        p.setPen(QColor(1, 2, 3));
        QVERIFY(PlayMetafileData(p, QRectF(0, 0, 100, 100), e.build()));
        QVERIFY(p.hasClipping());
        QCOMPARE(p.pen().color(), QColor(1, 2, 3));
        p.end();
        QVERIFY(isColor(img.pixel(25, 50), QColor(0, 0, 200)));
        QVERIFY(isColor(img.pixel(75, 50), Qt::white));
    }

    void bitmapQuadrants()
    {
        QByteArray info, bits;
        dib24(2, 2, {rgb(255, 0, 0), rgb(0, 255, 0), rgb(0, 0, 255), rgb(255, 255, 0)}, &bits, &info);
        Emf e;
        e.stretchDIBits(QRect(0, 0, 1000, 1000), QRect(0, 0, 2, 2), info, bits);
        const QImage img = render(e.build(), QSize(100, 100));
        QVERIFY(isColor(img.pixel(10, 10), Qt::red, 40));
        QVERIFY(isColor(img.pixel(90, 10), Qt::green, 40));
        QVERIFY(isColor(img.pixel(10, 90), Qt::blue, 40));
        QVERIFY(isColor(img.pixel(90, 90), Qt::yellow, 40));
    }

    void textDrawsInk()
    {
        Wmf w;
        w.windowExt(200, 100).font(-60, 0, "DejaVu Sans", 700).select(0).bkMode(1);
        w.textOut(10, 20, "HHHH");
        const QImage img = render(w.build(), QSize(200, 100));
        int dark = 0;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 200; ++x)
                dark += qGray(img.pixel(x, y)) < 100;
        QVERIFY2(dark > 200, qPrintable(QString::number(dark)));
        // Ink stays below the top-aligned reference line.
        for (int x = 0; x < 200; ++x)
            QVERIFY(qGray(img.pixel(x, 15)) > 200);
    }

    void transparentTextAfterOpaqueShapes()
    {
        // Shapes in the default opaque mode, then text in transparent mode over blue.
        Wmf w;
        w.windowExt(200, 100).brush(0, rgb(0, 0, 255)).select(0).pen(5, 0, 0).select(1).rectangle(0, 0, 200, 100);
        w.pen(1, 1, rgb(0, 0, 0)).select(2).moveTo(0, 95).lineTo(200, 95); // dashed: gaps filled opaque
        w.bkMode(1).font(-60, 0, "DejaVu Sans", 700).select(3).textColor(rgb(0, 0, 0)).textOut(10, 20, "HHHH");
        const QImage img = render(w.build(), QSize(200, 100));
        int white = 0, dark = 0;
        for (int y = 10; y < 90; ++y)
            for (int x = 0; x < 200; ++x) {
                white += isColor(img.pixel(x, y), Qt::white, 40);
                dark += qGray(img.pixel(x, y)) < 20;
            }
        QVERIFY2(dark > 200, qPrintable(QString::number(dark)));
        QCOMPARE(white, 0);
        // The same text in opaque mode does get its white cell.
        Wmf o;
        o.windowExt(200, 100).brush(0, rgb(0, 0, 255)).select(0).pen(5, 0, 0).select(1).rectangle(0, 0, 200, 100);
        o.font(-60, 0, "DejaVu Sans", 700).select(2).textOut(10, 20, "HHHH");
        const QImage opaque = render(o.build(), QSize(200, 100));
        QVERIFY(isColor(opaque.pixel(12, 40), Qt::white, 40));
    }

    void svgStretchedWithoutAspect()
    {
        const QByteArray svg =
            "<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"100\" height=\"50\">"
            "<rect x=\"0\" y=\"25\" width=\"100\" height=\"25\" fill=\"#ff0000\"/></svg>";
        TMetafile mf;
        QVERIFY(mf.loadFromData(svg));
        QCOMPARE(mf.kind(), TMetafile::Kind::Svg);
        QCOMPARE(mf.naturalSize(), QSizeF(100, 50));
        const QImage img = render(svg, QSize(200, 200));
        QVERIFY(isColor(img.pixel(100, 190), Qt::red));
        QVERIFY(isColor(img.pixel(100, 80), Qt::white));
        QVERIFY(isColor(img.pixel(100, 120), Qt::red));
    }

    void recognition_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("kind");
        Wmf w;
        w.windowExt(10, 10).rectangle(0, 0, 10, 10);
        Emf e;
        e.rectangle(0, 0, 10, 10);
        QByteArray disk = w.build();
        disk[0] = 2;
        QByteArray wrongEmfType = e.build();
        wrongEmfType[0] = 2;
        QTest::newRow("placeable") << w.buildPlaceable(QRect(0, 0, 10, 10), 1440) << int(TMetafile::Kind::PlaceableWmf);
        QTest::newRow("memory wmf") << w.build() << int(TMetafile::Kind::Wmf);
        QTest::newRow("disk wmf") << disk << int(TMetafile::Kind::Wmf);
        QTest::newRow("emf") << e.build() << int(TMetafile::Kind::Emf);
        QTest::newRow("emf with wrong record type") << wrongEmfType << int(TMetafile::Kind::None);
        QTest::newRow("svg") << QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"4\" height=\"4\"/>")
                             << int(TMetafile::Kind::Svg);
        QTest::newRow("svg with bom and blanks")
            << QByteArray("\xEF\xBB\xBF \n<?xml version=\"1.0\"?><svg xmlns=\"http://www.w3.org/2000/svg\" width=\"4\" height=\"4\"/>")
            << int(TMetafile::Kind::Svg);
        QTest::newRow("html") << QByteArray("<html><body>no</body></html>") << int(TMetafile::Kind::None);
        QTest::newRow("png") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << int(TMetafile::Kind::None);
        QTest::newRow("empty") << QByteArray() << int(TMetafile::Kind::None);
        QTest::newRow("text") << QByteArray("just some words in a file") << int(TMetafile::Kind::None);
    }
    void recognition()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, kind);
        QCOMPARE(int(DetectMetafileKind(bytes)), kind);
        TMetafile mf;
        QCOMPARE(mf.loadFromData(bytes), kind != int(TMetafile::Kind::None));
        QCOMPARE(mf.isEmpty(), kind == int(TMetafile::Kind::None));
        if (kind == int(TMetafile::Kind::None))
            QVERIFY(!mf.errorText().isEmpty());
    }

    void fileExtensionDoesNotMatter()
    {
        QTemporaryDir dir;
        Emf e;
        e.rectangle(0, 0, 10, 10);
        const QString path = dir.filePath("border.wls");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(e.build());
        f.close();
        TMetafile mf;
        QVERIFY(mf.loadFromFile(path));
        QCOMPARE(mf.kind(), TMetafile::Kind::Emf);
        QCOMPARE(mf.naturalSize().toSize(), QSize(378, 378)); // 100 mm at 96 per inch
        QVERIFY(!mf.loadFromFile(dir.filePath("missing.wpo")));
        QVERIFY(mf.isEmpty());
        QVERIFY(mf.errorText().contains("missing.wpo"));
    }

    void copiesPlayAlike()
    {
        Wmf w;
        w.windowExt(100, 100).brush(0, rgb(255, 0, 0)).select(0).rectangle(0, 0, 100, 100);
        TMetafile a;
        QVERIFY(a.loadFromData(w.buildPlaceable(QRect(0, 0, 100, 100), 1440)));
        const TMetafile b = a;
        QCOMPARE(b.kind(), a.kind());
        QCOMPARE(b.naturalSize(), a.naturalSize());
        QImage img(20, 20, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::white);
        QPainter p(&img);
        b.play(p, QRectF(0, 0, 20, 20));
        p.end();
        QVERIFY(isColor(img.pixel(10, 10), Qt::red));
    }

    void playsIntoPdf()
    {
        // Devices without raster operations: the masked-bitmap pair still draws.
        QByteArray info, bits;
        dib24(1, 1, {rgb(200, 0, 0)}, &bits, &info);
        Emf e;
        e.stretchDIBits(QRect(0, 0, 500, 500), QRect(0, 0, 1, 1), info, bits, 0x008800C6); // SRCAND
        e.stretchDIBits(QRect(0, 0, 500, 500), QRect(0, 0, 1, 1), info, bits, 0x00EE0086); // SRCPAINT
        e.ints(20, {7}).rectangle(0, 0, 100, 100);                                          // XOR pen
        e.font(1, -100).select(1).textW(10, 10, "PDF");
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        {
            QPdfWriter pdf(&out);
            QPainter p(&pdf);
            QVERIFY(PlayMetafileData(p, QRectF(0, 0, 2000, 2000), e.build()));
        }
        QVERIFY(out.data().startsWith("%PDF"));
        QVERIFY(out.data().size() > 500);
    }

    void garbageIsRefused()
    {
        QImage img(10, 10, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::white);
        QPainter p(&img);
        QVERIFY(!PlayMetafileData(p, QRectF(0, 0, 10, 10), QByteArray(100, '\x42')));
        p.end();
        QVERIFY(isColor(img.pixel(5, 5), Qt::white));
    }
};
OV_TEST(TestMetafileRender)
#include "test_metafile_render.moc"
