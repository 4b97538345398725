// Damaged files with icons: every cut and absurd value gives a clear EIconError and no
// icons; nothing reads outside the file, nothing crashes.
#include "icon_builders.h"
#include "imaging/icon_error.h"
#include "imaging/icon_library.h"
#include "test_registry.h"

#include <QRandomGenerator>
#include <QTest>

using namespace icontest;

namespace {

QByteArray smallNe()
{
    return neLibrary({{QStringLiteral("A"), {{dib32(4, 4, qRgb(1, 2, 3)), 1}}},
                      {2, {{dib4(8, 2, qRgb(9, 9, 9), qRgb(7, 7, 7), 3), 2}}}});
}

QByteArray smallPe(bool pe64)
{
    return peProgram({{QStringLiteral("A"), {{dib32(4, 4, qRgb(1, 2, 3)), 1}}},
                      {2, {{dib4(8, 2, qRgb(9, 9, 9), qRgb(7, 7, 7), 3), 2}}}},
                     pe64);
}

QByteArray smallIco() { return icoFile({dib32(4, 4, qRgb(1, 2, 3)), dib4(8, 2, qRgb(9, 9, 9), qRgb(7, 7, 7), 3)}); }

// The reason a load fails, or an empty string when it succeeds.
QString failureOf(const QByteArray& bytes)
{
    try {
        IconLibrary::fromData(bytes);
        return QString();
    } catch (const EIconError& e) {
        return e.reason();
    }
}

// Whatever the bytes: load, and show every icon; only EIconError may come out.
void readEverything(const QByteArray& bytes)
{
    try {
        const IconLibrary lib = IconLibrary::fromData(bytes);
        for (int i = 0; i < lib.count(); ++i) {
            try {
                (void)lib.sizes(i);
                (void)lib.images(i);
            } catch (const EIconError&) {
            }
        }
    } catch (const EIconError&) {
    }
}

// The offset of a 16-bit field inside an NE resource table entry of `smallNe()`:
// entry e (0 = the first picture) field f (0 offset, 2 length, 6 id).
qsizetype neEntry(const QByteArray& ne, int e, int f)
{
    const qsizetype table = 64 + qFromLittleEndian<quint16>(ne.constData() + 64 + 0x24);
    const int group = e >= 2 ? 8 : 0; // the group block's own TYPEINFO comes after both pictures
    return table + 2 + 8 + 12 * e + group + f;
}

} // namespace

class TestIconDamage : public QObject {
    Q_OBJECT
private slots:
    void sampleFilesAreSound()
    {
        for (const QByteArray& f : {smallNe(), smallPe(false), smallPe(true), smallIco()})
            QCOMPARE(failureOf(f), QString());
    }

    void everyTruncationIsDamage_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("NE") << smallNe();
        QTest::newRow("PE32") << smallPe(false);
        QTest::newRow("PE32+") << smallPe(true);
        QTest::newRow("ICO") << smallIco();
    }

    void everyTruncationIsDamage()
    {
        // None of the sample files has a byte to spare at its end.
        QFETCH(QByteArray, file);
        for (qsizetype n = 0; n < file.size(); ++n) {
            const QString reason = failureOf(file.left(n));
            if (reason.isEmpty())
                QFAIL(qPrintable(QStringLiteral("a file cut to %1 of %2 bytes was read").arg(n).arg(file.size())));
        }
    }

    void absurdNeValues()
    {
        const QByteArray ne = smallNe();
        const auto damaged = [&](qsizetype at, int value, bool wide = false) {
            QByteArray d = ne;
            wide ? set32(d, at, value) : set16(d, at, value);
            return failureOf(d);
        };
        const qsizetype table = 64 + 64;
        QVERIFY(damaged(table, 25).contains(QLatin1String("alignment")));     // shift
        QVERIFY(!damaged(neEntry(ne, 0, 0), 0xFFFF).isEmpty());               // picture offset
        QVERIFY(!damaged(neEntry(ne, 0, 2), 1).isEmpty());                    // picture length too short
        QVERIFY(damaged(neEntry(ne, 0, 6), 0x8009).contains(QLatin1String("missing"))); // id
        QVERIFY(!damaged(neEntry(ne, 2, 0), 0xFFFF).isEmpty());               // group offset
        QVERIFY(!damaged(table + 2 + 2, 0xFFFF).isEmpty());                   // picture count
        QVERIFY(!damaged(64 + 0x24, 0xFFF0).isEmpty());                       // table offset
        QVERIFY(!damaged(0x3C, 0x7FFFFFF0, true).isEmpty());                  // new header offset
        // A group directory claiming 65535 pictures in a few bytes.
        QByteArray d = ne;
        const qsizetype group = qsizetype(qFromLittleEndian<quint16>(ne.constData() + neEntry(ne, 2, 0))) << 4;
        set16(d, group + 4, 0xFFFF);
        QVERIFY(failureOf(d).contains(QLatin1String("cut short")));
    }

    void absurdPeValues()
    {
        const QByteArray pe = smallPe(false);
        const qsizetype optional = 64 + 24;
        const qsizetype section = optional + 224;
        const qsizetype tree = qFromLittleEndian<quint32>(pe.constData() + section + 20);
        const auto damaged = [&](qsizetype at, quint32 value) {
            QByteArray d = pe;
            set32(d, at, value);
            return failureOf(d);
        };
        QVERIFY(!damaged(section + 20, 0xFFFFFF00).isEmpty());            // section file offset
        QVERIFY(damaged(section + 16, 0xFFFFFF00).isEmpty()); // a section claiming more than the file is
                                                              // harmless while its resources are inside
        QVERIFY(!damaged(section + 16, 16).isEmpty());        // one too small for its resources is not
        QVERIFY(!damaged(optional + 96 + 16, 0x7FFFFFFF).isEmpty());      // resource RVA
        QVERIFY(!damaged(tree + 16 + 4, 0x80000000u | 0x7FFFFFF0).isEmpty()); // icon type subdirectory
        QVERIFY(!damaged(tree + 12, 0xFFFFFFFF).isEmpty());                // entry counts of the root
        QByteArray sections = pe;
        set16(sections, 64 + 4 + 2, 0xFFFF);
        QVERIFY(!failureOf(sections).isEmpty());                           // section count
        // Every data entry pointed far away, one at a time.
        const qsizetype dataEntries = tree + 32 + (16 + 8 * 2) + (16 + 8 * 2) + 4 * 24;
        for (int i = 0; i < 4; ++i) {
            QVERIFY(!damaged(dataEntries + 16 * i, 0xFFFFFFF0).isEmpty());
            QVERIFY(!damaged(dataEntries + 16 * i + 4, 0x7FFFFFFF).isEmpty());
        }
    }

    void absurdPictureHeaders()
    {
        const QByteArray ico = smallIco();
        const qsizetype picture = 6 + 2 * 16;
        const auto damaged = [&](qsizetype at, quint32 value) {
            QByteArray d = ico;
            set32(d, at, value);
            return failureOf(d);
        };
        QVERIFY(!damaged(picture, 0xFFFFFFFF).isEmpty());    // header size
        QVERIFY(!damaged(picture + 4, 0x80000000).isEmpty()); // negative width
        QVERIFY(!damaged(picture + 8, 0).isEmpty());          // no height
        QVERIFY(!damaged(picture + 4, 200).isEmpty());        // wider than its data
        QVERIFY(!damaged(6 + 12, 0xFFFFFFF0).isEmpty());       // directory offset
        QVERIFY(!damaged(6 + 8, 0x7FFFFFFF).isEmpty());        // directory size
    }

    void thingsThatAreNotIconFiles()
    {
        QVERIFY(failureOf(QByteArray()).contains(QLatin1String("empty")));
        QVERIFY(failureOf("[Icons]\r\nFile=MISC1.ICL\r\n").contains(QLatin1String("not an icon")));
        QVERIFY(!failureOf(QByteArray("\0\0\2\0\1\0", 6)).isEmpty()); // a cursor
        QVERIFY(!failureOf(QByteArray("\x89PNG\r\n\x1a\n", 8)).isEmpty());
    }

    void randomByteChangesNeverEscape()
    {
        // Single- and multi-byte changes everywhere in each kind of file.
        QRandomGenerator rng(1997);
        for (const QByteArray& base : {smallNe(), smallPe(false), smallPe(true), smallIco()})
            for (int round = 0; round < 1500; ++round) {
                QByteArray d = base;
                const int changes = 1 + round % 4;
                for (int c = 0; c < changes; ++c)
                    d[rng.bounded(int(d.size()))] = char(rng.bounded(256));
                readEverything(d);
            }
    }
};
OV_TEST(TestIconDamage)
#include "test_icon_damage.moc"
