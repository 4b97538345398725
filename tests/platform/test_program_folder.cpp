#include "platform/program_folder.h"
#include "test_registry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// Where the user's files go: beside a portable program, in the XDG folder for an
// installed one.
class TestProgramFolder : public QObject {
    Q_OBJECT
private slots:
    void portableCopyKeepsUserFilesBesideItInstalledCopyDoesNot()
    {
        QTemporaryDir program;
        QTemporaryDir config;
        const QByteArray previous = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
        setProgramFolderOverride(program.path());

        const QString portable = program.path() + QLatin1Char('/');
        QCOMPARE(ProgramFolder(), portable);
        QCOMPARE(UserDataFolder(), portable);
        QCOMPARE(IniFileName(), portable + QStringLiteral("OV.ini"));
        QCOMPARE(DocumentsStartFolder(), portable);

        QFile marker(program.filePath(QStringLiteral(".installed")));
        QVERIFY(marker.open(QIODevice::WriteOnly));
        marker.close();
        const QString xdg = config.path() + QStringLiteral("/orvanta/");
        QCOMPARE(UserDataFolder(), xdg);
        QVERIFY(QDir(xdg).exists()); // made on first use
        QCOMPARE(IniFileName(), xdg + QStringLiteral("OV.ini"));
        QVERIFY(DocumentsStartFolder() != portable);
        QCOMPARE(ProgramFolder(), portable); // data is still read from the program folder

        setProgramFolderOverride(QString());
        if (previous.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", previous);
    }
};

OV_TEST(TestProgramFolder)
#include "test_program_folder.moc"
