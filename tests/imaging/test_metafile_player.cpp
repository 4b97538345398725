#include "imaging/metafile_player.h"
#include "test_registry.h"
#include <QTest>
class TestMetafilePlayer : public QObject {
    Q_OBJECT
private slots:
    void empty() { TMetafile m; QVERIFY(m.isEmpty()); }
};
OV_TEST(TestMetafilePlayer)
#include "test_metafile_player.moc"
