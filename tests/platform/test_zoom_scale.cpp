#include "platform/zoom_scale.h"
#include "test_registry.h"

#include <QTest>

class TestZoomScale : public QObject {
    Q_OBJECT
private slots:
    void percentToScale_data()
    {
        QTest::addColumn<int>("percent");
        QTest::addColumn<float>("scale");
        QTest::newRow("below 30") << 5 << 0.201f;
        QTest::newRow("29") << 29 << 0.201f;
        QTest::newRow("30") << 30 << 0.301f;
        QTest::newRow("59") << 59 << 0.501f;
        QTest::newRow("60") << 60 << 0.601f;
        QTest::newRow("99") << 99 << 0.901f;
        QTest::newRow("100") << 100 << 1.001f;
        QTest::newRow("400") << 400 << 1.001f;
    }
    void percentToScale()
    {
        QFETCH(int, percent);
        QFETCH(float, scale);
        QCOMPARE(PercentToZoomScale(percent), scale);
    }

    void roundTripEveryStep()
    {
        for (int p = 20; p <= 100; p += 10)
            QCOMPARE(ZoomScaleToPercent(PercentToZoomScale(p)), p);
    }

    void scaleToPercentBoundaries()
    {
        QCOMPARE(ZoomScaleToPercent(0.0f), 20);
        QCOMPARE(ZoomScaleToPercent(0.2999f), 20);
        QCOMPARE(ZoomScaleToPercent(0.3f), 30);
        QCOMPARE(ZoomScaleToPercent(0.999f), 90);
        QCOMPARE(ZoomScaleToPercent(1.0f), 100);
        QCOMPARE(ZoomScaleToPercent(2.0f), 100);
    }
};
OV_TEST(TestZoomScale)
#include "test_zoom_scale.moc"
