// The icon libraries and textures shipped in assets/: what the icon window and the
// texture browser will offer, checked as files (counts, sizes, decoding, seams) and
// against another reader of Windows icon libraries (icoutils' wrestool).
#include "imaging/icon_error.h"
#include "imaging/icon_library.h"
#include "test_registry.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString assets() { return qEnvironmentVariable("OV_SOURCE_DIR") + QStringLiteral("/assets/"); }

QString wrestool() { return QStandardPaths::findExecutable(QStringLiteral("wrestool")); }

QByteArray run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return p.readAllStandardOutput();
}

// A seam shows where a tile meets the next one: the step from its last column to its
// first (or last row to first) is larger than every step between neighbouring columns
// (rows) inside it. Regular patterns may have a sharp edge at the border; they then have
// the same edge inside too.
double distance(QRgb a, QRgb b)
{
    return qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) + qAbs(qBlue(a) - qBlue(b));
}

struct Seam {
    double across = 0;     // average step across the border
    double largestInside = 0; // the largest average step between two neighbours inside
};

Seam columnSeam(const QImage& image)
{
    const int w = image.width(), h = image.height();
    Seam s;
    for (int x = 0; x < w; ++x) {
        double step = 0;
        for (int y = 0; y < h; ++y)
            step += distance(image.pixel(x, y), image.pixel((x + 1) % w, y));
        step /= h;
        if (x == w - 1)
            s.across = step;
        else
            s.largestInside = qMax(s.largestInside, step);
    }
    return s;
}

} // namespace

class TestShippedArtwork : public QObject {
    Q_OBJECT
private slots:
    void iconLibraries_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("smallToo"); // Tango's artwork has its own 16 x 16 pictures
        QTest::newRow("activity") << "activity.icl" << 47 << false;
        QTest::newRow("events") << "events.icl" << 42 << false;
        QTest::newRow("holiday") << "holiday.icl" << 41 << false;
        QTest::newRow("misc1") << "misc1.icl" << 41 << false;
        QTest::newRow("misc2") << "misc2.icl" << 46 << false;
        QTest::newRow("Flags") << "BonusIcons/Flags.icl" << 51 << false;
        QTest::newRow("Tango") << "BonusIcons/Tango Desktop.icl" << 48 << true;
    }

    void iconLibraries()
    {
        QFETCH(QString, file);
        QFETCH(int, count);
        QFETCH(bool, smallToo);
        const IconLibrary lib = IconLibrary::fromFile(assets() + file);
        QCOMPARE(lib.kind(), IconFileKind::NeLibrary);
        QCOMPARE(lib.count(), count);
        for (int i = 0; i < lib.count(); ++i) {
            QList<TIconImageInfo> expected{{32, 32, 32}};
            if (smallToo)
                expected.append({16, 16, 32});
            QCOMPARE(lib.sizes(i), expected);
            const QImage image = lib.image(i);
            // Drawn, not empty or faded: enough ink, some of it fully opaque.
            int ink = 0, strongest = 0;
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x) {
                    ink += qAlpha(image.pixel(x, y)) > 128 ? 1 : 0;
                    strongest = qMax(strongest, qAlpha(image.pixel(x, y)));
                }
            QVERIFY2(ink > 24 && strongest >= 230, qPrintable(QStringLiteral("icon %1 is empty or faded").arg(i)));
        }
    }

    void anotherReaderAgrees_data() { iconLibraries_data(); }

    void anotherReaderAgrees()
    {
        // wrestool (icoutils) lists the same group icons and extracts the same pixels.
        QFETCH(QString, file);
        QFETCH(int, count);
        const QString tool = wrestool();
        QVERIFY2(!tool.isEmpty(), "wrestool is missing: install icoutils (scripts/install-deps)");
        const QString path = assets() + file;
        const QList<QByteArray> lines = run(tool, {"-l", path}).split('\n');
        int groups = 0;
        for (const QByteArray& line : lines)
            groups += line.startsWith("--type=14 ") ? 1 : 0;
        QCOMPARE(groups, count);

        const IconLibrary lib = IconLibrary::fromFile(path);
        QTemporaryDir dir;
        for (int id : {1, count}) {
            const QString ico = dir.filePath(QStringLiteral("%1.ico").arg(id));
            run(tool, {"-x", "-t14", QStringLiteral("-n%1").arg(id), "-o", ico, path});
            QImage theirs;
            QVERIFY(theirs.load(ico, "ico"));
            QCOMPARE(theirs.convertToFormat(QImage::Format_ARGB32), lib.image(id - 1));
        }
    }

    void texturesAreSeamlessBitmaps_data()
    {
        QTest::addColumn<QString>("file");
        int n = 0;
        for (const char* folder : {"bmbrush", "Textures"})
            for (const QFileInfo& f : QDir(assets() + folder).entryInfoList({"*.bmp"}, QDir::Files, QDir::Name)) {
                QTest::newRow(qPrintable(f.fileName())) << f.filePath();
                ++n;
            }
        QVERIFY2(n >= 24, "fewer than 24 textures are shipped");
    }

    void texturesAreSeamlessBitmaps()
    {
        QFETCH(QString, file);
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.read(2) == "BM");
        QImage image;
        QVERIFY(image.load(file, "BMP"));
        QVERIFY(image.width() >= 64 && image.width() <= 256 && image.width() == image.height());
        const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
        QTransform turn;
        turn.rotate(90);
        for (const Seam& s : {columnSeam(rgb), columnSeam(rgb.transformed(turn))})
            QVERIFY2(s.across <= s.largestInside + 4,
                     qPrintable(QStringLiteral("seam %1 against at most %2 inside").arg(s.across).arg(s.largestInside)));
    }
};
OV_TEST(TestShippedArtwork)
#include "test_shipped_artwork.moc"
