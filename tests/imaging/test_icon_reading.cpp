// Icons of hand-made files: how many, in which order, which sizes and which pixels.
#include "icon_builders.h"
#include "imaging/icon_error.h"
#include "imaging/icon_library.h"
#include "test_registry.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QTest>

using namespace icontest;

namespace {

// Icon number n of a test file is filled with this colour, so order shows in pixels.
QRgb marker(int n) { return qRgba(10 * n + 5, 200 - 10 * n, 40 + n, 255); }

Picture filled(int id, int n, int side = 32) { return {dib32(side, side, marker(n)), id}; }

QRgb centreOf(const IconLibrary& lib, int index)
{
    const QImage image = lib.image(index);
    return image.pixel(image.width() / 2, image.height() / 2);
}

QList<QRgb> centres(const IconLibrary& lib)
{
    QList<QRgb> result;
    for (int i = 0; i < lib.count(); ++i)
        result.append(centreOf(lib, i));
    return result;
}

using Sizes = QList<TIconImageInfo>;

// Qt's reader goes through premultiplied alpha: colour channels of half-transparent
// pixels may move by one.
bool near(QRgb a, QRgb b)
{
    return qAbs(qRed(a) - qRed(b)) <= 1 && qAbs(qGreen(a) - qGreen(b)) <= 1 && qAbs(qBlue(a) - qBlue(b)) <= 1
           && qAlpha(a) == qAlpha(b);
}

} // namespace

class TestIconReading : public QObject {
    Q_OBJECT
private slots:
    void icoFileIsOneIconWithAllItsPictures()
    {
        const QByteArray ico = icoFile({dib32(32, 32, [](int x, int y) { return qRgba(x * 8, y * 8, 77, 128 + x); }),
                                        dib4(16, 16, qRgb(255, 0, 0), qRgb(0, 0, 255), 5)});
        const IconLibrary lib = IconLibrary::fromData(ico);
        QCOMPARE(lib.kind(), IconFileKind::Icon);
        QCOMPARE(lib.count(), 1);
        QCOMPARE(lib.sizes(0), (Sizes{{32, 32, 32}, {16, 16, 4}}));

        const QList<QImage> images = lib.images(0);
        QCOMPARE(images.size(), 2);
        // 32-bit: rows stored bottom-up, straight alpha kept.
        QVERIFY(near(images[0].pixel(3, 7), qRgba(24, 56, 77, 131)));
        QVERIFY(near(images[0].pixel(31, 0), qRgba(248, 0, 77, 159)));
        // 4-bit: palette colours left and right of the split; the AND mask's first bit
        // (top row of the picture, stored last) makes the top-left pixel transparent.
        QCOMPARE(images[1].pixel(4, 3), qRgb(0, 0, 255));
        QCOMPARE(images[1].pixel(5, 3), qRgb(255, 0, 0));
        QCOMPARE(qAlpha(images[1].pixel(0, 0)), 0);
        QCOMPARE(qAlpha(images[1].pixel(1, 0)), 255);
        QCOMPARE(lib.image(0, QSize(16, 16)).size(), QSize(16, 16));
        QCOMPARE(lib.image(0).size(), QSize(32, 32));
    }

    void rebuiltIcoIsAnOrdinaryIcoFile()
    {
        const IconLibrary lib = IconLibrary::fromData(neLibrary({{1, {filled(1, 0), filled(2, 0, 16)}}}));
        const QByteArray ico = lib.icoData(0);
        // Directory: two entries, the pictures right after it in order.
        QCOMPARE(qFromLittleEndian<quint16>(ico.constData() + 4), quint16(2));
        QCOMPARE(quint8(ico[6]), quint8(32));
        QCOMPARE(quint8(ico[6 + 16]), quint8(16));
        QCOMPARE(qFromLittleEndian<quint32>(ico.constData() + 6 + 12), quint32(6 + 2 * 16));
        QImage viaQt;
        QVERIFY(viaQt.loadFromData(ico, "ico"));
        QCOMPARE(viaQt.pixel(16, 16), marker(0));
    }

    void neLibraryKeepsTableOrder_data()
    {
        QTest::addColumn<int>("shift");
        for (int shift : {0, 1, 4, 9})
            QTest::addRow("shift %d", shift) << shift;
    }

    void neLibraryKeepsTableOrder()
    {
        // Offsets and lengths both count in alignment units: with shift 9 a 4264-byte
        // picture is 9 units long, and a reader that forgot to shift the length fails.
        QFETCH(int, shift);
        const QByteArray ne = neLibrary({{QStringLiteral("apple"), {filled(1, 0)}},
                                         {QStringLiteral("Banana"), {filled(2, 1)}},
                                         {3, {filled(3, 2)}},
                                         {10, {filled(4, 3), filled(5, 3, 16)}}},
                                        shift);
        const IconLibrary lib = IconLibrary::fromData(ne);
        QCOMPARE(lib.kind(), IconFileKind::NeLibrary);
        QCOMPARE(lib.count(), 4);
        QCOMPARE(centres(lib), (QList<QRgb>{marker(0), marker(1), marker(2), marker(3)}));
        QCOMPARE(lib.sizes(3), (Sizes{{32, 32, 32}, {16, 16, 32}}));
    }

    void neOrderIsTheTablesEvenWhenUnsorted()
    {
        // The shell walks a 16-bit table as written: ids 7, 2 and a name after them stay so.
        const IconLibrary lib = IconLibrary::fromData(
            neLibrary({{7, {filled(1, 0)}}, {2, {filled(2, 1)}}, {QStringLiteral("ZED"), {filled(3, 2)}}}));
        QCOMPARE(centres(lib), (QList<QRgb>{marker(0), marker(1), marker(2)}));
    }

    void peProgramsNumberNamedGroupsFirstThenIds_data()
    {
        QTest::addColumn<bool>("pe64");
        QTest::newRow("PE32") << false;
        QTest::newRow("PE32+") << true;
    }

    void peProgramsNumberNamedGroupsFirstThenIds()
    {
        QFETCH(bool, pe64);
        // Stored as a resource compiler writes them: names sorted without regard to
        // case, then ids ascending. Picture ids deliberately differ from group order.
        const QByteArray pe = peProgram({{QStringLiteral("alpha"), {filled(40, 0)}},
                                         {QStringLiteral("BETA"), {filled(30, 1), filled(31, 1, 16)}},
                                         {QStringLiteral("gamma"), {filled(20, 2)}},
                                         {1, {filled(10, 3)}},
                                         {2, {filled(9, 4)}},
                                         {100, {filled(8, 5)}}},
                                        pe64);
        const IconLibrary lib = IconLibrary::fromData(pe);
        QCOMPARE(lib.kind(), pe64 ? IconFileKind::Pe64 : IconFileKind::Pe32);
        QCOMPARE(lib.count(), 6);
        QCOMPARE(centres(lib), (QList<QRgb>{marker(0), marker(1), marker(2), marker(3), marker(4), marker(5)}));
        QCOMPARE(lib.sizes(1), (Sizes{{32, 32, 32}, {16, 16, 32}}));
        QCOMPARE(lib.image(1, QSize(16, 16)).size(), QSize(16, 16));
    }

    void peOrderIsTheStoredOrder()
    {
        // A directory stored out of order is enumerated as stored, as Windows does.
        const IconLibrary lib = IconLibrary::fromData(
            peProgram({{5, {filled(1, 0)}}, {QStringLiteral("LATE"), {filled(2, 1)}}, {3, {filled(3, 2)}}}, false));
        QCOMPARE(centres(lib), (QList<QRgb>{marker(0), marker(1), marker(2)}));
    }

    void nearestSizeThenMostBits()
    {
        const IconLibrary lib = IconLibrary::fromData(icoFile(
            {dib32(48, 48, marker(1)), dib4(32, 32, marker(2), marker(2), 0), dib32(32, 32, marker(3)),
             dib32(16, 16, marker(4))}));
        QCOMPARE(lib.image(0).pixel(10, 10), marker(3));
        QCOMPARE(lib.image(0, QSize(20, 20)).size(), QSize(16, 16));
        QCOMPARE(lib.image(0, QSize(256, 256)).size(), QSize(48, 48));
    }

    void pngPicturesAreDecoded()
    {
        QImage source(24, 24, QImage::Format_ARGB32);
        source.fill(qRgba(1, 2, 3, 200));
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(source.save(&buffer, "PNG"));
        const IconLibrary lib = IconLibrary::fromData(icoFile({dib32(16, 16, marker(0)), png}));
        QCOMPARE(lib.sizes(0), (Sizes{{16, 16, 32}, {24, 24, 32}}));
        QCOMPARE(lib.image(0, QSize(24, 24)).pixel(5, 5), qRgba(1, 2, 3, 200));
    }

    void picturesWeCannotShowAreLeftOut()
    {
        // A 16-bit picture is valid but not decodable here: its icon keeps its number,
        // lists only the pictures that can be shown, and says so when there is none.
        QByteArray sixteen = infoHeader(16, 16, 16);
        sixteen.append(QByteArray(16 * 16 * 2 + 4 * 16, '\0'));
        const IconLibrary lib = IconLibrary::fromData(
            neLibrary({{1, {{sixteen, 1}, filled(2, 0)}}, {2, {{sixteen, 3}}}, {3, {filled(4, 2)}}}));
        QCOMPARE(lib.count(), 3);
        QCOMPARE(lib.sizes(0), (Sizes{{32, 32, 32}}));
        QCOMPARE(lib.sizes(1), Sizes());
        QVERIFY_THROWS_EXCEPTION(EIconError, lib.image(1));
        QCOMPARE(centreOf(lib, 2), marker(2));
    }

    void programsWithoutIconsHaveNone()
    {
        QByteArray dos = mzHeader(0x200); // points at nothing that is NE or PE
        dos.append(QByteArray(0x300, '\x90'));
        const IconLibrary plain = IconLibrary::fromData(dos);
        QCOMPARE(plain.kind(), IconFileKind::OtherProgram);
        QCOMPARE(plain.count(), 0);
        QCOMPARE(IconLibrary::fromData(peProgram({}, false)).count(), 0);
        QCOMPARE(IconLibrary::fromData(neLibrary({})).count(), 0);
    }

    void indexOutOfRangeIsAnError()
    {
        const IconLibrary lib = IconLibrary::fromData(icoFile({dib32(16, 16, marker(0))}));
        for (int index : {-1, 1, 1000})
            QVERIFY_THROWS_EXCEPTION(EIconError, lib.sizes(index));
    }

    void fileByNameWhateverItsExtension()
    {
        QTemporaryDir dir;
        const QString nil = dir.filePath("old.nil");
        QFile f(nil);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(neLibrary({{1, {filled(1, 0)}}, {2, {filled(2, 1)}}}));
        f.close();
        const IconLibrary lib = IconLibrary::fromFile(nil);
        QCOMPARE(lib.kind(), IconFileKind::NeLibrary);
        QCOMPARE(lib.count(), 2);
        try {
            IconLibrary::fromFile(dir.filePath("missing.icl"));
            QFAIL("a missing file must throw");
        } catch (const EIconError& e) {
            QVERIFY(e.reason().contains(QLatin1String("cannot be read")));
        }
    }
};
OV_TEST(TestIconReading)
#include "test_icon_reading.moc"
