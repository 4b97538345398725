#include "objects/base_panel.h"
#include "test_registry.h"

#include <QTest>

class TestBasePanel : public QObject {
    Q_OBJECT
private slots:
    void zoomRescalesWithHalvesToEven()
    {
        TGBasePanel panel;
        panel.resize(105, 50);
        panel.SetZoom(0.5f); // 52.5 -> 52, 25
        QCOMPARE(panel.size(), QSize(52, 25));
        QCOMPARE(panel.Zoom(), 0.5f);
        panel.SetZoom(1.0f); // back by 2: 104, not the 105 we started with
        QCOMPARE(panel.size(), QSize(104, 50));
    }

    void sameZoomDoesNothing()
    {
        TGBasePanel panel;
        panel.resize(101, 33);
        panel.SetZoom(1.0f);
        QCOMPARE(panel.size(), QSize(101, 33));
        QVERIFY(!panel.Zooming());
    }

    void toolStateDrivesPointing()
    {
        TGBasePanel panel;
        QVERIFY(panel.Pointing());
        panel.SetPanelState(TLPanelState::psLabel);
        QVERIFY(!panel.Pointing());
        QCOMPARE(panel.cursor().shape(), Qt::DragMoveCursor);
        panel.SetPanelState(TLPanelState::psPointing);
        QVERIFY(panel.Pointing());
        QCOMPARE(panel.cursor().shape(), Qt::ArrowCursor);
    }

    void changeNotificationIsQuietWhileLoading()
    {
        TGBasePanel panel;
        int raised = 0;
        panel.LabelChangedEvent = [&] { ++raised; };
        panel.NotifyChanged();
        panel.Loading = true;
        panel.NotifyChanged();
        QCOMPARE(raised, 1);
    }
};
OV_TEST(TestBasePanel)

#include "test_base_panel.moc"
