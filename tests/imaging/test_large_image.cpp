#include "imaging/large_image.h"
#include "test_registry.h"

#include <QPainter>
#include <QRandomGenerator>
#include <QTest>

namespace {
QImage noise(QSize size, QImage::Format format, quint32 seed)
{
    QImage image(size, format);
    QRandomGenerator rng(seed);
    for (int y = 0; y < image.height(); ++y)
        for (qsizetype x = 0; x < image.bytesPerLine(); ++x)
            image.scanLine(y)[x] = uchar(rng.bounded(256));
    if (format == QImage::Format_Indexed8)
        for (int i = 0; i < 256; ++i)
            image.setColor(i, qRgb(i, 255 - i, i / 2));
    return image;
}
} // namespace

class TestLargeImage : public QObject {
    Q_OBJECT
private slots:
    // Large or small, in any format: an image laid out as QImage lays it out, that can be
    // drawn on, shared and detached like any other.
    void newImagesBehaveAsQImagesDo_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QImage::Format>("format");
        QTest::newRow("small page") << QSize(100, 80) << QImage::Format_RGB32;
        QTest::newRow("screen page") << QSize(490, 635) << QImage::Format_RGB32;
        QTest::newRow("300 ppi page") << QSize(2550, 3300) << QImage::Format_ARGB32_Premultiplied;
        QTest::newRow("odd width, 3 bytes a pixel") << QSize(1001, 700) << QImage::Format_RGB888;
        QTest::newRow("two bytes a pixel") << QSize(1023, 1000) << QImage::Format_RGB16;
    }
    void newImagesBehaveAsQImagesDo()
    {
        QFETCH(QSize, size);
        QFETCH(QImage::Format, format);
        QImage image = NewLargeImage(size, format);
        const QImage plain(size, format);
        QCOMPARE(image.size(), size);
        QCOMPARE(image.format(), format);
        QCOMPARE(image.bytesPerLine(), plain.bytesPerLine());
        image.fill(Qt::white);
        {
            QPainter p(&image);
            p.fillRect(QRect(QPoint(0, 0), size / 2), Qt::black);
        }
        QCOMPARE(image.pixelColor(0, 0), QColor(Qt::black));
        QCOMPARE(image.pixelColor(size.width() - 1, size.height() - 1), QColor(Qt::white));
        const QImage shared = image;
        image.setPixelColor(size.width() - 1, size.height() - 1, Qt::black);
        QCOMPARE(shared.pixelColor(size.width() - 1, size.height() - 1), QColor(Qt::white));
    }

    // Parts copied out equal QImage's own copies, including parts reaching outside.
    void copiesEqualQImagesCopies()
    {
        const QList<QImage::Format> formats{QImage::Format_RGB32, QImage::Format_ARGB32, QImage::Format_RGB888,
                                            QImage::Format_Indexed8, QImage::Format_MonoLSB};
        const QList<QRect> parts{QRect(0, 0, 1200, 900), QRect(37, 11, 1100, 880), QRect(5, 5, 10, 10),
                                 QRect(1100, 800, 300, 300), QRect(-20, -20, 200, 200)};
        quint32 seed = 1;
        for (const QImage::Format format : formats) {
            QImage source = noise(QSize(1200, 900), format, seed++);
            source.setDotsPerMeterX(11811);
            source.setDotsPerMeterY(3937);
            source.setOffset(QPoint(3, 4));
            for (const QRect& part : parts) {
                const QImage copy = CopyLargeImage(source, part);
                const QImage expected = source.copy(part);
                QCOMPARE(copy, expected);
                QCOMPARE(copy.dotsPerMeterX(), expected.dotsPerMeterX());
                QCOMPARE(copy.dotsPerMeterY(), expected.dotsPerMeterY());
                QCOMPARE(copy.offset(), expected.offset());
            }
        }
    }
};
OV_TEST(TestLargeImage)
#include "test_large_image.moc"
