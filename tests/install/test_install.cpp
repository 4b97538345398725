#include "test_registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {
struct Run {
    int code = -1;
    QByteArray out;
    QByteArray err;
};

Run run(const QString& program, const QStringList& args, const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForFinished(120000))
        p.kill();
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

QString tool(const char* name)
{
    const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
    if (path.isEmpty())
        qFatal("%s is missing: scripts/install-deps installs it", name);
    return path;
}
} // namespace

// One installation into a temporary prefix, checked as a desktop would see it.
class TestInstall : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_prefix;

    QString prefixed(const QString& relative) const { return m_prefix + QLatin1Char('/') + relative; }

    // The environment of a desktop session that knows only the system's data and ours.
    QProcessEnvironment desktopEnvironment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_DIRS"), prefixed(QStringLiteral("share")) + QStringLiteral(":/usr/share"));
        env.insert(QStringLiteral("XDG_DATA_HOME"), m_dir.filePath(QStringLiteral("home-data")));
        env.remove(QStringLiteral("XDG_CURRENT_DESKTOP"));
        env.remove(QStringLiteral("DESKTOP_SESSION"));
        env.remove(QStringLiteral("KDE_FULL_SESSION"));
        env.remove(QStringLiteral("GNOME_DESKTOP_SESSION_ID"));
        return env;
    }

    QString mimeTypeOf(const QString& file, const QString& desktop = {}) const
    {
        QProcessEnvironment env = desktopEnvironment();
        if (!desktop.isEmpty())
            env.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), desktop);
        const Run r = run(tool("xdg-mime"), {QStringLiteral("query"), QStringLiteral("filetype"), file}, env);
        return QString::fromUtf8(r.out).trimmed();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_prefix = m_dir.filePath(QStringLiteral("prefix"));
        const Run r = run(QStringLiteral(OV_CMAKE_COMMAND),
                          {QStringLiteral("--install"), QStringLiteral(OV_BUILD_DIR), QStringLiteral("--prefix"), m_prefix});
        QVERIFY2(r.code == 0, r.err.constData());
    }

    void programFolderHoldsProgramsAndDataBehindBinLinks()
    {
        for (const char* exe : {"orvanta", "orvanta-cli"}) {
            const QFileInfo link(prefixed(QStringLiteral("bin/") + QString::fromLatin1(exe)));
            QVERIFY2(link.isSymLink(), exe);
            QCOMPARE(link.symLinkTarget(), QFileInfo(prefixed(QStringLiteral("lib/orvanta/") + QString::fromLatin1(exe))).absoluteFilePath());
            QVERIFY(QFileInfo(link.symLinkTarget()).isExecutable());
        }
        for (const char* data : {"lib/orvanta/help/contents.html", "lib/orvanta/help/whatsthis.ini", "lib/orvanta/Borders",
                                 "lib/orvanta/.installed"})
            QVERIFY2(QFileInfo::exists(prefixed(QString::fromLatin1(data))), data);
    }

    void desktopEntryAndMetainfoValidate()
    {
        const QString desktop = prefixed(QStringLiteral("share/applications/org.example.orvanta.desktop"));
        Run r = run(tool("desktop-file-validate"), {desktop});
        QVERIFY2(r.code == 0 && r.out.trimmed().isEmpty(), (r.out + r.err).constData());
        const QString metainfo = prefixed(QStringLiteral("share/metainfo/org.example.orvanta.metainfo.xml"));
        r = run(tool("appstreamcli"), {QStringLiteral("validate"), QStringLiteral("--no-net"), metainfo});
        QVERIFY2(r.code == 0, (r.out + r.err).constData());
    }

    void iconsExistInEverySize()
    {
        QVERIFY(QFileInfo::exists(prefixed(QStringLiteral("share/icons/hicolor/scalable/apps/org.example.orvanta.svg"))));
        for (int size : {16, 48, 256}) {
            const QString dir = prefixed(QStringLiteral("share/icons/hicolor/%1x%1/").arg(size));
            for (const QString& icon : {QStringLiteral("apps/org.example.orvanta.png"),
                                        QStringLiteral("mimetypes/application-x-orvanta-calendar.png"),
                                        QStringLiteral("mimetypes/application-x-orvanta-stylesheet.png")}) {
                const QImage image(dir + icon);
                QCOMPARE(image.size(), QSize(size, size));
                // Drawn, not blank: the middle of the icon is opaque.
                QVERIFY2(qAlpha(image.pixel(size / 2, size / 2)) > 0, qPrintable(dir + icon));
            }
        }
    }

    void savedFilesGetOurMimeTypesByNameAndByContent()
    {
        const Run db = run(tool("update-mime-database"), {prefixed(QStringLiteral("share/mime"))});
        QVERIFY2(db.code == 0, db.err.constData());
        const QString cli = prefixed(QStringLiteral("bin/orvanta-cli"));
        const QString calendar = m_dir.filePath(QStringLiteral("Dec1997.OVF"));
        const QString style = m_dir.filePath(QStringLiteral("MyStyle.OVS"));
        QCOMPARE(run(cli, {"save", "--layout", "3", "--month", "12", "--year", "1997", "--out", calendar}).code, 0);
        QCOMPARE(run(cli, {"save", "--layout", "3", "--stylesheet-out", style}).code, 0);
        // Without the name's help, the first bytes tell.
        const QString calendarBytes = m_dir.filePath(QStringLiteral("calendar-without-extension"));
        const QString styleBytes = m_dir.filePath(QStringLiteral("style-without-extension"));
        QVERIFY(QFile::copy(calendar, calendarBytes));
        QVERIFY(QFile::copy(style, styleBytes));

        for (const QString& desktop : {QString(), QStringLiteral("GNOME")}) {
            QCOMPARE(mimeTypeOf(calendar, desktop), QStringLiteral("application/x-orvanta-calendar"));
            QCOMPARE(mimeTypeOf(style, desktop), QStringLiteral("application/x-orvanta-stylesheet"));
            QCOMPARE(mimeTypeOf(calendarBytes, desktop), QStringLiteral("application/x-orvanta-calendar"));
            QCOMPARE(mimeTypeOf(styleBytes, desktop), QStringLiteral("application/x-orvanta-stylesheet"));
        }
    }

    void installedProgramKeepsUserFilesInTheConfigFolder()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        const QString config = m_dir.filePath(QStringLiteral("config"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
        const Run r = run(prefixed(QStringLiteral("bin/orvanta-cli")), {QStringLiteral("paths")}, env);
        QVERIFY2(r.code == 0, r.err.constData());
        const QJsonObject paths = QJsonDocument::fromJson(r.out).object();
        // Started through the bin/ link, it still finds its data in the program folder.
        QCOMPARE(paths[QStringLiteral("program_folder")].toString(),
                 QFileInfo(prefixed(QStringLiteral("lib/orvanta"))).canonicalFilePath() + QLatin1Char('/'));
        QCOMPARE(paths[QStringLiteral("user_data_folder")].toString(), config + QStringLiteral("/orvanta/"));
        QCOMPARE(paths[QStringLiteral("ini_file")].toString(), config + QStringLiteral("/orvanta/OV.ini"));
        QVERIFY(!QFileInfo::exists(prefixed(QStringLiteral("lib/orvanta/OV.ini"))));
    }
};

OV_TEST(TestInstall)
#include "test_install.moc"
