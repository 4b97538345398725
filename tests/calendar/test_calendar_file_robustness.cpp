#include "calendar/calendar_file.h"
#include "calendar/style_sheet.h"
#include "calendar_file_golden.h"
#include "test_registry.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QTest>

using golden::Bytes;

namespace {

enum class Outcome { Loaded, Failed };

// Loads into a fresh page; anything but success or EStreamError fails the test run.
Outcome tryLoad(const QByteArray& data, bool styleSheet, bool* objectsFailed = nullptr)
{
    TCalendarPage page(96);
    QBuffer buf;
    buf.setData(data);
    buf.open(QIODevice::ReadOnly);
    TCalendarFileInfo info;
    try {
        if (styleSheet)
            LoadStyleSheet(page, buf, &info);
        else
            LoadCalendarFile(page, buf, [](TStreamReader& r) {
                while (!r.endOfList())
                    (void)readComponentRecord(r);
                r.readListEnd();
            }, &info);
    } catch (const EStreamError& e) {
        if (e.reason().isEmpty())
            qFatal("error without a reason");
        return Outcome::Failed;
    }
    if (objectsFailed)
        *objectsFailed = info.objectSectionFailed;
    return Outcome::Loaded;
}

QByteArray sampleFile()
{
    Bytes objects;
    objects.raw("TPF0").name("TGPLabel").name("Component0").name("Left").i8(5).name("Caption").sstr("Hi")
        .name("Font.Style").tag(11).name("fsBold").name("").name("Width").i16(300)
        .name("RTFText.Data").binary("{\\rtf1 x}").listEnd().listEnd();
    objects.raw("TPF0").name("TGImage").name("Component1").name("Picture.Data").binary(QByteArray(40, 'p'))
        .name("Angle").tag(5).raw(QByteArray(10, '\x01')).listEnd().listEnd();
    return golden::knownFile(4, "Holly", objects.b);
}

} // namespace

class TestCalendarFileRobustness : public QObject {
    Q_OBJECT
private slots:
    // Cut anywhere before the object section: an error. Cut inside it: a load with the
    // section's error swallowed.
    void truncationAtEveryByte()
    {
        const QByteArray file = sampleFile();
        const qsizetype objectsStart = golden::knownFile(4, "Holly").size() - 2;
        for (qsizetype n = 0; n < file.size(); ++n) {
            bool objectsFailed = false;
            const Outcome o = tryLoad(file.left(n), false, &objectsFailed);
            if (n <= objectsStart - 1)
                QVERIFY2(o == Outcome::Failed, qPrintable(QString::number(n)));
            else
                QVERIFY2(o == Outcome::Loaded && objectsFailed, qPrintable(QString::number(n)));
        }
        QCOMPARE(tryLoad(file, false), Outcome::Loaded);
    }

    void styleSheetTruncation()
    {
        Bytes sheet;
        sheet.listBegin().i8(4).i8(2);
        golden::knownSettings(sheet);
        sheet.sstr("Holly").listEnd();
        for (qsizetype n = 0; n < sheet.b.size(); ++n)
            QCOMPARE(tryLoad(sheet.b.left(n), true), Outcome::Failed);
        QCOMPARE(tryLoad(sheet.b, true), Outcome::Loaded);
    }

    // Every byte replaced by several values: never a crash, a hang or a runaway allocation
    // (a huge length claims more than remains and fails at once).
    void byteFlips()
    {
        const QByteArray file = sampleFile();
        QElapsedTimer timer;
        timer.start();
        int failed = 0, loaded = 0;
        for (qsizetype i = 0; i < file.size(); ++i) {
            for (const char v : {char(0x00), char(0xff), char(0x7f), char(0x80), char(file[i] ^ 0x01)}) {
                QByteArray damaged = file;
                damaged[i] = v;
                (tryLoad(damaged, false) == Outcome::Failed ? failed : loaded)++;
                (void)tryLoad(damaged, true);
            }
        }
        QVERIFY(failed > 0);
        QVERIFY(loaded > 0);
    }

    void garbageInputs_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("one list tag") << QByteArray(1, '\x01');
        QTest::newRow("nested lists") << QByteArray(100000, '\x01');
        QTest::newRow("zeros") << QByteArray(1000, '\0');
        QTest::newRow("huge string claim") << QByteArray("\x01\x02\x04\x02\x01\x0c\xff\xff\xff\x7f", 10);
        QTest::newRow("text file") << QByteArray("This is not a calendar file.\n");
        QByteArray deepObjects = golden::knownFile(3).chopped(1);
        deepObjects += "TPF0\x05TName\x01N";
        deepObjects += QByteArray(50000, '\x01');
        QTest::newRow("deep object values") << deepObjects;
    }
    void garbageInputs()
    {
        QFETCH(QByteArray, data);
        (void)tryLoad(data, false);
        (void)tryLoad(data, true);
    }
};
OV_TEST(TestCalendarFileRobustness)
#include "test_calendar_file_robustness.moc"
