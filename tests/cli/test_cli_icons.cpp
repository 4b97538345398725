// orvanta-cli icons: the JSON listing and the extraction of one icon, run through the
// real executable.
#include "../imaging/icon_builders.h"
#include "test_registry.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace icontest;

namespace {
struct IconsRun {
    int code = -1;
    QByteArray out;
    QByteArray err;
};

IconsRun icons(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(OV_CLI_PATH), QStringList{QStringLiteral("icons")} + args);
    p.waitForFinished(60000);
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return path;
}

QByteArray sampleLibrary()
{
    return neLibrary({{1, {{dib32(32, 32, qRgb(200, 10, 10)), 1}, {dib32(16, 16, qRgb(1, 1, 1)), 2}}},
                      {2, {{dib4(32, 32, qRgb(0, 0, 0), qRgb(10, 200, 10), 32), 3}}}});
}
} // namespace

class TestCliIcons : public QObject {
    Q_OBJECT
private slots:
    void listsIconsWithTheirSizes()
    {
        QTemporaryDir dir;
        const IconsRun r = icons({writeFile(dir, "sample.icl", sampleLibrary())});
        QCOMPARE(r.code, 0);
        const QJsonObject o = QJsonDocument::fromJson(r.out).object();
        QCOMPARE(o["count"].toInt(), 2);
        const QJsonArray list = o["icons"].toArray();
        QCOMPARE(list.size(), 2);
        QCOMPARE(list[1].toObject()["index"].toInt(), 1);
        QCOMPARE(list[0].toObject()["sizes"].toArray(), (QJsonArray{QJsonArray{32, 32, 32}, QJsonArray{16, 16, 32}}));
        QCOMPARE(list[1].toObject()["sizes"].toArray(), (QJsonArray{QJsonArray{32, 32, 4}}));
        // Deterministic: the same bytes again.
        QCOMPARE(icons({dir.filePath("sample.icl")}).out, r.out);
    }

    void extractsOneIcon()
    {
        QTemporaryDir dir;
        const QString lib = writeFile(dir, "sample.nil", sampleLibrary());
        const QString png = dir.filePath("one.png");
        QCOMPARE(icons({lib, "--index", "1", "--out", png}).code, 0);
        const QImage image(png);
        QCOMPARE(image.size(), QSize(32, 32));
        QCOMPARE(image.pixelColor(20, 20), QColor(10, 200, 10));
        QCOMPARE(image.pixelColor(0, 0).alpha(), 0); // the mask's transparent corner
    }

    void refusesWhatItCannotDo()
    {
        QTemporaryDir dir;
        const QString lib = writeFile(dir, "sample.icl", sampleLibrary());
        const QString png = dir.filePath("x.png");
        IconsRun r = icons({lib, "--index", "2", "--out", png});
        QVERIFY(r.code != 0);
        QVERIFY(r.err.contains("there is no icon 2"));
        QVERIFY(icons({lib, "--index", "0"}).code != 0);
        QVERIFY(icons({}).code != 0);
        QVERIFY(icons({lib, "--index", "one", "--out", png}).code != 0);

        const QString cut = writeFile(dir, "cut.icl", sampleLibrary().left(300));
        r = icons({cut});
        QVERIFY(r.code != 0);
        QVERIFY(r.err.contains("Unable to open"));
        QVERIFY(r.err.contains("damaged"));
        QVERIFY(r.out.isEmpty());
    }

    void readsAShippedLibrary()
    {
        const QString holiday = qEnvironmentVariable("OV_SOURCE_DIR") + QStringLiteral("/assets/holiday.icl");
        const IconsRun r = icons({holiday});
        QCOMPARE(r.code, 0);
        QVERIFY(QJsonDocument::fromJson(r.out).object()["count"].toInt() >= 40);
    }
};
OV_TEST(TestCliIcons)
#include "test_cli_icons.moc"
