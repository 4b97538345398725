#include "imaging/raster_target.h"
#include "test_registry.h"

#include <QBuffer>
#include <QPdfWriter>
#include <QPicture>
#include <QTest>
#include <functional>

class TestRasterTarget : public QObject {
    Q_OBJECT
private slots:
    void imagePaintersAtWholePixelsTakeCopies()
    {
        for (QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied}) {
            QImage image(60, 40, format);
            QPainter p(&image);
            p.translate(7, -3);
            p.translate(0.5, 0.25);
            p.translate(-0.5, -0.25);
            const RasterTarget target = rasterTargetOf(p);
            QVERIFY(target);
            QCOMPARE(target.image, &image);
            QCOMPARE(target.offset, QPoint(7, -3));
            QCOMPARE(target.look.format, format);

            // What changes how a drawing comes out changes the look.
            const RasterTarget::Look plain = target.look;
            p.setRenderHint(QPainter::Antialiasing, true);
            QVERIFY(!(rasterTargetOf(p).look == plain));
            p.setRenderHint(QPainter::Antialiasing, false);
            p.setLayoutDirection(Qt::RightToLeft);
            QVERIFY(!(rasterTargetOf(p).look == plain));
        }
    }

    void paintersWhereACopyWouldDifferHaveNone()
    {
        const std::vector<std::pair<const char*, std::function<void(QPainter&)>>> states = {
            {"half-pixel move", [](QPainter& p) { p.translate(0.5, 0); }},
            {"scale", [](QPainter& p) { p.scale(2, 2); }},
            {"rotation", [](QPainter& p) { p.rotate(90); }},
            {"clip", [](QPainter& p) { p.setClipRect(0, 0, 10, 10); }},
            {"opacity", [](QPainter& p) { p.setOpacity(0.5); }},
            {"composition", [](QPainter& p) { p.setCompositionMode(QPainter::CompositionMode_Multiply); }},
        };
        for (const auto& [name, apply] : states) {
            QImage image(40, 40, QImage::Format_RGB32);
            QPainter p(&image);
            apply(p);
            QVERIFY2(!rasterTargetOf(p), name);
        }

        QImage gray(40, 40, QImage::Format_Grayscale8);
        QPainter onGray(&gray);
        QVERIFY(!rasterTargetOf(onGray));

        QImage hiDpi(80, 80, QImage::Format_RGB32);
        hiDpi.setDevicePixelRatio(2);
        QPainter onHiDpi(&hiDpi);
        QVERIFY(!rasterTargetOf(onHiDpi));

        QPicture picture;
        QPainter onPicture(&picture);
        QVERIFY(!rasterTargetOf(onPicture));

        QByteArray pdf;
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        QPainter onPdf(&writer);
        QVERIFY(!rasterTargetOf(onPdf));

        QPainter idle;
        QVERIFY(!rasterTargetOf(idle));
    }
};

OV_TEST(TestRasterTarget)
#include "test_raster_target.moc"
