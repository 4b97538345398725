#include "platform/path_ignoring_case.h"
#include "platform/program_folder.h"
#include "test_registry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestPathIgnoringCase : public QObject {
    Q_OBJECT
private slots:
    void findsNamesWhateverTheirCase()
    {
        QTemporaryDir dir;
        const QString root = dir.path() + QLatin1Char('/');
        QVERIFY(QDir().mkpath(root + QStringLiteral("BonusIcons")));
        for (const char* name : {"misc1.icl", "BonusIcons/Flags.icl", "Both.icl", "both.icl"}) {
            QFile f(root + QLatin1String(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        QCOMPARE(FindPathIgnoringCase(root + QStringLiteral("MISC1.ICL")), root + QStringLiteral("misc1.icl"));
        // Every folder on the way is found too.
        QCOMPARE(FindPathIgnoringCase(root + QStringLiteral("bonusicons/FLAGS.icl")),
                 root + QStringLiteral("BonusIcons/Flags.icl"));
        QCOMPARE(FindPathIgnoringCase(root + QStringLiteral("BONUSICONS")), root + QStringLiteral("BonusIcons"));
        // An exact name wins over another case; otherwise the first by name, every time.
        QCOMPARE(FindPathIgnoringCase(root + QStringLiteral("both.icl")), root + QStringLiteral("both.icl"));
        QCOMPARE(FindPathIgnoringCase(root + QStringLiteral("BOTH.ICL")), root + QStringLiteral("Both.icl"));
        // What is not there comes back unchanged.
        for (const QString& missing : {root + QStringLiteral("misc2.icl"), root + QStringLiteral("Nowhere/misc1.icl"),
                                       root + QStringLiteral("misc1.icl/inside"), QString()})
            QCOMPARE(FindPathIgnoringCase(missing), missing);

        setProgramFolderOverride(dir.path());
        QCOMPARE(ProgramFile(QStringLiteral("Misc1.icl")), root + QStringLiteral("misc1.icl"));
        setProgramFolderOverride(QString());
    }
};
OV_TEST(TestPathIgnoringCase)

#include "test_path_ignoring_case.moc"
