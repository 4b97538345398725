// SuperText drawn: where text and shadow go, each surface and shadow direction probed
// on the rendered object, the gradient's bands and ends, zoom, cut captions, and the
// PDF keeping letters and gradient as vectors.
#include "imaging/bmp_writer.h"
#include "imaging/picture_loader.h"
#include "special/super_text_drawing.h"
#include "super_text_test_support.h"
#include "test_registry.h"

#include <QBuffer>
#include <QPdfWriter>

using ovtest::glyphs;
using ovtest::interiorPoint;
using ovtest::kBackdrop;
using ovtest::picture;

namespace {
// A wide, solid caption: probes find room inside its strokes.
TGSuperText* plain(ovtest::SuperTextHost& f, const QString& caption = QStringLiteral("HM"))
{
    TGSuperText* t = f.superText(QRect(10, 10, 260, 120));
    t->SetCaption(caption);
    t->SetOutlineStyle(TPenStyle::psClear);
    return t;
}

// Mean position of the pixels of one colour.
QPointF centroid(const QImage& img, const QColor& c)
{
    double sx = 0, sy = 0;
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixelColor(x, y) == c) {
                sx += x;
                sy += y;
                ++n;
            }
    return n ? QPointF(sx / n, sy / n) : QPointF(-1, -1);
}
} // namespace

class TestSuperTextDrawing : public QObject {
    Q_OBJECT
private slots:
    void newObjectAndShadowPlacement()
    {
        ovtest::SuperTextHost f;
        TGSuperText t;
        QCOMPARE(t.Caption(), QStringLiteral("Text"));
        QCOMPARE(t.Font().Size(96), 48);
        QVERIFY(t.Font().Bold);
        QCOMPARE(t.size(), QSize(142, 33));
        QVERIFY(t.ControlTransparent());
        QCOMPARE(t.BorderStyle(), TBorderStyle::bsNone);
        QCOMPARE(t.SurfaceType(), TSurfaceType::stGradientFill);

        t.SetShadowDepth(4);
        t.SetShadowOrientation(TShadowOrientation::sdLeft);
        t.CalcMetrics();
        QCOMPARE(t.CurrentMetrics().textOrigin, QPoint(9, 0));
        QCOMPARE(t.CurrentMetrics().shadowOrigin, QPoint(5, 0));
        t.SetShadowOrientation(TShadowOrientation::sdDownRight);
        t.CalcMetrics();
        QCOMPARE(t.CurrentMetrics().textOrigin, QPoint(5, 0));
        QCOMPARE(t.CurrentMetrics().shadowOrigin, QPoint(9, 4));
    }

    void heightRulesForTransparentAndFramedObjects()
    {
        ovtest::SuperTextHost f;
        TGSuperText* t = f.superText(QRect(0, 0, 300, 400));
        const int h = QFontMetrics(t->ZoomedFont()).height();
        t->CalcMetrics();
        QCOMPARE(t->height(), int(1.2 * h));
        TGSuperText* framed = f.superText(QRect(0, 0, 300, 400));
        framed->SetBorderStyle(TBorderStyle::bsSingle);
        framed->CalcMetrics();
        QCOMPARE(framed->height(), 400);
        framed->resize(300, 10);
        framed->CalcMetrics();
        QCOMPARE(framed->height(), h);
    }

    void eachSurfaceFillsTheLetters()
    {
        ovtest::SuperTextHost f;
        TGSuperText* t = plain(f);
        const auto inside = interiorPoint(glyphs(*t));
        QVERIFY(inside);
        const QPoint p = *inside;

        t->SetSurfaceType(TSurfaceType::stNormal);
        t->SetFontColor(clRed);
        QCOMPARE(picture(*t).pixelColor(p), QColor(Qt::red));

        t->SetSurfaceType(TSurfaceType::stGradientFill);
        QCOMPARE(picture(*t).pixelColor(p), t->GradientBitmap().pixelColor(p));

        // A texture tiles from the object's corner.
        QImage tex(8, 8, QImage::Format_RGB32);
        tex.fill(Qt::green);
        for (int y = 0; y < 8; ++y)
            for (int x = 4; x < 8; ++x)
                tex.setPixelColor(x, y, Qt::blue);
        t->SetSurfaceType(TSurfaceType::stBrushImage);
        t->SetImage(LoadPictureFromData(EncodeBmp(tex), QStringLiteral("t.bmp")));
        QImage img = picture(*t);
        QCOMPARE(img.pixelColor(p), tex.pixelColor(p.x() % 8, p.y() % 8));
        // At zoom 2 the tiles are twice as large.
        t->SetZoomFactor(2.0f);
        t->resize(520, 240);
        const auto zoomed = interiorPoint(glyphs(*t));
        QVERIFY(zoomed);
        img = picture(*t);
        QCOMPARE(img.pixelColor(*zoomed), tex.pixelColor((zoomed->x() % 16) / 2, (zoomed->y() % 16) / 2));
        t->SetZoomFactor(1.0f);
        t->resize(260, 120);

        // Without a texture, and with the transparent surface, the letters stay empty
        // and only the outline shows.
        t->SetImage(TPicture());
        QCOMPARE(picture(*t).pixelColor(p), kBackdrop);
        t->SetSurfaceType(TSurfaceType::stBrushTransparent);
        t->SetOutlineStyle(TPenStyle::psSolid);
        t->SetOutlineWidth(3);
        t->SetOutlineColor(clBlue);
        img = picture(*t);
        QCOMPARE(img.pixelColor(p), kBackdrop);
        int outlinePixels = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                outlinePixels += img.pixelColor(x, y) == QColor(Qt::blue);
        QVERIFY(outlinePixels > 100);
    }

    void shadowFallsInItsDirectionAndUnderTheFace_data()
    {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<int>("sx");
        QTest::addColumn<int>("sy");
        QTest::newRow("right") << int(TShadowOrientation::sdRight) << 1 << 0;
        QTest::newRow("left") << int(TShadowOrientation::sdLeft) << -1 << 0;
        QTest::newRow("down right") << int(TShadowOrientation::sdDownRight) << 1 << 1;
        QTest::newRow("down left") << int(TShadowOrientation::sdDownLeft) << -1 << 1;
        QTest::newRow("down") << int(TShadowOrientation::sdDown) << 0 << 1;
    }
    void shadowFallsInItsDirectionAndUnderTheFace()
    {
        QFETCH(int, orientation);
        QFETCH(int, sx);
        QFETCH(int, sy);
        ovtest::SuperTextHost f;
        TGSuperText* t = plain(f);
        t->SetSurfaceType(TSurfaceType::stNormal);
        t->SetFontColor(clRed);
        t->SetShadowcolor(clBlue);
        t->SetShadowDepth(8);
        t->SetShadowOrientation(TShadowOrientation(orientation));
        const QPoint offset = t->ShadowOffset();
        QCOMPARE(offset, QPoint(8 * sx, 8 * sy));
        const QImage img = picture(*t);
        const auto shadowOnly = interiorPoint(glyphs(*t, offset), glyphs(*t));
        const auto face = interiorPoint(glyphs(*t));
        QVERIFY(shadowOnly && face);
        QCOMPARE(img.pixelColor(*shadowOnly), QColor(Qt::blue));
        QCOMPARE(img.pixelColor(*face), QColor(Qt::red)); // the face covers the shadow
        // The whole shadow, seen through empty letters, lies at its offset from the face.
        const QPointF faceCentre = centroid(img, Qt::red);
        t->SetSurfaceType(TSurfaceType::stBrushTransparent);
        t->SetOutlineStyle(TPenStyle::psClear);
        const QPointF d = centroid(picture(*t), Qt::blue) - faceCentre;
        QVERIFY2(std::abs(d.x() - 8 * sx) < 1.5 && std::abs(d.y() - 8 * sy) < 1.5,
                 qPrintable(QStringLiteral("%1,%2").arg(d.x()).arg(d.y())));
        t->SetSurfaceType(TSurfaceType::stNormal);

        // No shadow at depth 0 or with sdNone.
        t->SetShadowDepth(0);
        QCOMPARE(centroid(picture(*t), Qt::blue), QPointF(-1, -1));
    }

    void gradientBandsAndEnds_data()
    {
        QTest::addColumn<int>("direction");
        QTest::addColumn<QPoint>("fromAt"); // where GradientFromColor shows, in a 300 x 300 bitmap
        QTest::addColumn<QPoint>("toAt");
        QTest::newRow("up") << int(TFillDirection::gdUp) << QPoint(150, 299) << QPoint(150, 0);
        QTest::newRow("down") << int(TFillDirection::gdDown) << QPoint(150, 0) << QPoint(150, 299);
        QTest::newRow("left") << int(TFillDirection::gdLeft) << QPoint(299, 150) << QPoint(0, 150);
        QTest::newRow("right") << int(TFillDirection::gdRight) << QPoint(0, 150) << QPoint(299, 150);
    }
    void gradientBandsAndEnds()
    {
        QFETCH(int, direction);
        QFETCH(QPoint, fromAt);
        QFETCH(QPoint, toAt);
        const TColor from = 0xFF0000, to = 0x00FFFF; // blue, yellow
        const QImage g = supertext::buildGradient(QSize(300, 300), TFillDirection(direction), from, to);
        QCOMPARE(g.pixelColor(fromAt), QColor(0, 0, 255));
        QCOMPARE(g.pixelColor(toAt), QColor(255, 255, 0));
        // In an object shorter than 256 pixels some bands are empty, yet every row is
        // painted: the rows run through the bands in order, in steps of one or two.
        const bool vertical = direction <= int(TFillDirection::gdDown);
        const QImage s = supertext::buildGradient(QSize(50, 50), TFillDirection(direction), from, to);
        const bool fromFirst = direction == int(TFillDirection::gdDown) || direction == int(TFillDirection::gdRight);
        int previous = -1;
        for (int i = 0; i < 50; ++i) {
            const QColor c = vertical ? s.pixelColor(25, i) : s.pixelColor(i, 25);
            QCOMPARE(vertical ? s.pixelColor(0, i) : s.pixelColor(i, 0), c); // the band spans the object
            const int red = fromFirst ? c.red() : 255 - c.red();
            QVERIFY(red > previous && red - previous <= 7);
            previous = red;
        }
        QCOMPARE(supertext::gradientBand(QColor(0, 0, 255), QColor(255, 255, 0), 128), QColor(128, 128, 127));

        // On the object the gradient bitmap follows its size.
        ovtest::SuperTextHost f;
        TGSuperText* t = plain(f);
        t->SetFillDirection(TFillDirection(direction));
        t->SetBorderStyle(TBorderStyle::bsSingle);
        t->resize(200, 100);
        picture(*t);
        QCOMPARE(t->GradientBitmap().size(), QSize(200, 100));
    }

    void zoomCutCaptionAndPlaceholder()
    {
        ovtest::SuperTextHost f;
        TGSuperText* t = f.superText(QRect(0, 0, 400, 100));
        t->SetZoomFactor(0.5f);
        QCOMPARE(t->ZoomedFont().pixelSize(), 32); // 24 points at 96 pixels per inch
        t->SetShadowDepth(5);
        t->SetShadowOrientation(TShadowOrientation::sdRight);
        t->CalcMetrics();
        QCOMPARE(t->CurrentMetrics().shadowOrigin - t->CurrentMetrics().textOrigin, QPoint(2, 0));
        t->SetZoomFactor(1.0f);

        // Too narrow for any character: a framed box with both diagonals.
        t->SetCaption(QStringLiteral("WWW"));
        t->resize(20, 80);
        const QImage img = picture(*t);
        QCOMPARE(img.pixelColor(0, 40), QColor(Qt::black));
        QCOMPARE(img.pixelColor(10, t->height() / 2), QColor(Qt::black));
        // An empty caption keeps a visible, selectable object.
        t->SetCaption(QString());
        t->resize(2, 2);
        t->CalcMetrics();
        QVERIFY(t->width() >= 5);
        QVERIFY(t->height() >= QFontMetrics(t->ZoomedFont()).height());
        QCOMPARE(picture(*t).pixelColor(0, 0), QColor(Qt::black));
    }

    void pdfKeepsOutlinesAndTheGradient()
    {
        ovtest::SuperTextHost f;
        TGSuperText* t = plain(f);
        QByteArray pdf;
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        {
            QPdfWriter writer(&buffer);
            writer.setResolution(300);
            QPainter p(&writer);
            t->PrintObject(p, 0.5, 0.5);
        }
        QVERIFY(pdf.contains("/ShadingType 2"));
        QVERIFY(!pdf.contains("/Subtype /Image"));
    }
};

OV_TEST(TestSuperTextDrawing)
#include "test_super_text_drawing.moc"
