#include "calendar/calendar_file.h"
#include "calendar_file_golden.h"
#include "platform/program_folder.h"
#include "test_registry.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using golden::Bytes;

namespace {

QByteArray save(const TCalendarPage& page, const ObjectSectionWriter& objects = {})
{
    QByteArray out;
    QBuffer buf(&out);
    buf.open(QIODevice::WriteOnly);
    SaveCalendarFile(page, buf, objects);
    return out;
}

void load(TCalendarPage& page, const QByteArray& data, const ObjectSectionReader& objects = {},
          TCalendarFileInfo* info = nullptr)
{
    QBuffer buf;
    buf.setData(data);
    buf.open(QIODevice::ReadOnly);
    LoadCalendarFile(page, buf, objects, info);
}

void makeKnownPage(TCalendarPage& page)
{
    golden::applyKnownSettings(page);
    page.CellStorage(2)->setRtf(golden::cellRtf());
    page.rawSettings().UserTitle = QStringLiteral("My year");
}

// A program folder with one border picture pair, for the tests that need a border.
struct BorderFolder {
    QTemporaryDir dir;
    explicit BorderFolder(const QString& name = QStringLiteral("Holly"))
    {
        QDir(dir.path()).mkpath(QStringLiteral("Borders"));
        for (const char* ext : {".wls", ".wpo"}) {
            QFile f(dir.path() + QStringLiteral("/Borders/") + name + QString::fromLatin1(ext));
            f.open(QIODevice::WriteOnly);
            f.write("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"10\" height=\"10\"><rect width=\"10\" height=\"10\" fill=\"red\"/></svg>"); // a picture the border loader accepts
        }
        setProgramFolderOverride(dir.path() + QLatin1Char('/'));
    }
    ~BorderFolder() { setProgramFolderOverride(QString()); }
};

} // namespace

class TestCalendarFile : public QObject {
    Q_OBJECT
private slots:
    void writesVersion4ByteForByte()
    {
        TCalendarPage page(96);
        makeKnownPage(page);
        QCOMPARE(save(page), golden::knownFile(4));
    }

    void writesBorderAndObjectRecords()
    {
        BorderFolder borders;
        TCalendarPage page(96);
        makeKnownPage(page);
        page.SetWMFBorderFile(QStringLiteral("Holly"));
        QCOMPARE(page.settings().WMFBorderFile, QStringLiteral("Holly"));
        Bytes record;
        record.raw("TPF0").name("TGPLabel").name("Component0").name("Left").i8(5).listEnd().listEnd();
        const QByteArray bytes = save(page, [&](TStreamWriter& w) { w.write(record.b); });
        QCOMPARE(bytes, golden::knownFile(4, "Holly", record.b));
    }

    void marginTruncatesAndReadsBack()
    {
        TCalendarPage page(96);
        page.rawSettings().LeftMarginInch = 0.35f;
        page.rawSettings().TopMarginInch = 0.29f; // 0.28999999 -> 28
        const QByteArray bytes = save(page);
        // list, version, kind, paper, orientation, then the four margins.
        QCOMPARE(bytes.mid(9, 4), QByteArray("\x02\x22\x02\x1c", 4));
        TCalendarPage back(96);
        load(back, bytes);
        QCOMPARE(back.settings().LeftMarginInch, 0.34f);
        QCOMPARE(back.settings().TopMarginInch, 0.28f);
        QCOMPARE(save(back).mid(9, 4), QByteArray("\x02\x22\x02\x1c", 4));
    }

    void marginReadMatchesExtendedPrecision()
    {
        // Every legal margin reads as the extended product rounded once to single.
        for (int n = 0; n <= 2000; ++n) {
            Bytes x;
            x.listBegin().i8(4).i8(1).i8(0).i8(0);
            x.i32(n).i32(n).i32(n).i32(n);
            TCalendarPage page(96);
            QBuffer buf;
            buf.setData(x.b);
            buf.open(QIODevice::ReadOnly);
            QVERIFY_THROWS_EXCEPTION(EStreamError, LoadCalendarFile(page, buf)); // ends early
            QCOMPARE(page.settings().LeftMarginInch, float(static_cast<long double>(n) * 0.01L));
            QCOMPARE(truncf(page.settings().LeftMarginInch * 100.0f) <= float(n), true);
        }
    }

    void longMonthNameUsesLongStringTag()
    {
        TCalendarPage page(96);
        const QString longName(300, QLatin1Char('M'));
        page.rawSettings().MonthNames[0] = longName;
        const QByteArray bytes = save(page);
        Bytes expected;
        expected.lstr(QByteArray(300, 'M'));
        QVERIFY(bytes.contains(expected.b));
        QCOMPARE(expected.b.left(5), QByteArray("\x0c\x2c\x01\x00\x00", 5));
        TCalendarPage back(96);
        load(back, bytes);
        QCOMPARE(back.GetMonthName(1), longName);
    }

    void sizeAndColourTags()
    {
        // Asserted through the golden file too; here the exact bytes in isolation.
        Bytes font;
        font.sstr("Arial").i16(200).t().f().f().t().i16(255);
        QVERIFY(font.b.contains(QByteArray("\x03\xc8\x00", 3)));
        Bytes white;
        white.i32(16777215);
        QCOMPARE(white.b, QByteArray("\x04\xff\xff\xff\x00", 5));
        TCalendarPage page(96);
        makeKnownPage(page);
        const QByteArray bytes = save(page);
        QVERIFY(bytes.contains(font.b));
        QVERIFY(bytes.contains(white.b));
    }

    void emptyCellHasNoRtfProperty()
    {
        TCalendarPage page(96);
        const QByteArray bytes = save(page);
        const QByteArray emptyCell("TPF0\x0dTWPRtfStorage\x00\x00\x00", 21);
        QCOMPARE(bytes.count(emptyCell), 42);
        QVERIFY(!bytes.contains("RtfText.Data"));
        // A cell whose RTF shows nothing counts as empty as well.
        page.CellStorage(5)->setRtf("{\\rtf1\\ansi\\par}");
        QCOMPARE(save(page).count(emptyCell), 42);
    }

    void readsEveryVersion_data()
    {
        QTest::addColumn<int>("version");
        for (int v = 1; v <= 4; ++v)
            QTest::newRow(qPrintable(QStringLiteral("version %1").arg(v))) << v;
    }
    void readsEveryVersion()
    {
        QFETCH(int, version);
        BorderFolder borders;
        TCalendarPage page(96);
        page.rawSettings().UserTitle = QStringLiteral("kept");
        page.SetWMFBorderFile(QStringLiteral("Holly")); // loading clears it for versions 1..3
        int objectCalls = 0;
        TCalendarFileInfo info;
        load(page, golden::knownFile(version, "Holly"), [&](TStreamReader& r) {
            ++objectCalls;
            r.readListEnd();
        }, &info);
        QCOMPARE(info.version, version);
        QCOMPARE(info.kind, 1);
        const TCalendarSettings& s = page.settings();
        QCOMPARE(s.PaperSize, quint8(1));
        QCOMPARE(s.CalendarLayout, TCalendarLayout::loFCMinisInTitleLS);
        QCOMPARE(s.LeftMarginInch, 0.34f);
        QCOMPARE(s.BottomMarginInch, 1.5f);
        QCOMPARE(s.TitleFont.size, 200);
        QVERIFY(s.TitleFont.strikeout && !s.TitleFont.italic);
        QCOMPARE(s.CellFont.color, TColor(0x800000));
        QCOMPARE(s.MiniCellFont.color, TColor(-1));
        QCOMPARE(page.GetMonthName(12), QStringLiteral("Dec"));
        QCOMPARE(page.GetDayName(1), QStringLiteral("Sun"));
        QCOMPARE(s.MainCalDay, 15);
        QCOMPARE(s.MainCalMonth, 3);
        QCOMPARE(s.MainCalYear, 2024);
        QCOMPARE(s.StartOfWeek, 2);
        QCOMPARE(s.StartingTime, QTime(7, 30));
        QCOMPARE(page.CellRtf(2), golden::cellRtf());
        QVERIFY(page.CellRtf(1).isEmpty());
        QCOMPARE(s.UserTitle, version > 1 ? QStringLiteral("My year") : QStringLiteral("kept"));
        QCOMPARE(objectCalls, version > 2 ? 1 : 0);
        QCOMPARE(s.WMFBorderFile, version > 3 ? QStringLiteral("Holly") : QString());
        QCOMPARE(page.borderPicture().isEmpty(), version <= 3);
    }

    void version2WithoutObjectsAndBorder()
    {
        TCalendarPage page(96);
        bool objectsRead = false;
        load(page, golden::knownFile(2), [&](TStreamReader&) { objectsRead = true; });
        QVERIFY(!objectsRead);
        QVERIFY(page.settings().WMFBorderFile.isEmpty());
        QCOMPARE(page.settings().UserTitle, QStringLiteral("My year"));
    }

    void writeReadWriteIsIdentical()
    {
        BorderFolder borders(QStringLiteral("Vines"));
        TCalendarPage page(96);
        makeKnownPage(page);
        page.SetWMFBorderFile(QStringLiteral("Vines"));
        page.rawSettings().LeftMarginInch = 0.34f; // 0.35 would come back as 0.34
        page.rawSettings().MonthNames[4] = QStringLiteral("\u041c\u0430\u0439"); // not Windows-1252
        page.rawSettings().DayNames[3] = QStringLiteral("Mi\u00e9rcoles");       // Windows-1252
        page.rawSettings().UserTitle = QStringLiteral("\u65e5\u66c6 2024");
        page.rawSettings().HeadersFont.name = QStringLiteral("\u5b8b\u4f53");
        for (int i = 1; i <= 42; i += 5)
            page.CellStorage(i)->setRtf(QByteArray("{\\rtf1\\ansi Cell ") + QByteArray::number(i) + "}");
        page.CellStorage(42)->setRtf(QByteArray("{\\rtf1 ") + QByteArray(70000, 'x') + "}");
        const QByteArray first = save(page);
        TCalendarPage back(96);
        load(back, first);
        QVERIFY(back.SameSettings(page));
        QCOMPARE(back.GetMonthName(5), QStringLiteral("\u041c\u0430\u0439"));
        QCOMPARE(back.settings().UserTitle, QStringLiteral("\u65e5\u66c6 2024"));
        QCOMPARE(back.settings().HeadersFont.name, QStringLiteral("\u5b8b\u4f53"));
        QCOMPARE(save(back), first);
    }

    void utf8FallbackBytes()
    {
        TCalendarPage page(96);
        page.rawSettings().UserTitle = QStringLiteral("\u0391");
        page.rawSettings().MonthNames[0] = QStringLiteral("J\u00e4nner"); // stays single-byte
        const QByteArray bytes = save(page);
        QVERIFY(bytes.contains(QByteArray("\x06\x05\xef\xbb\xbf\xce\x91", 7)));
        QVERIFY(bytes.contains(QByteArray("\x06\x06J\xe4nner", 8)));
    }

    void objectSectionErrorsAreSwallowed()
    {
        // A record of an unknown shape, then garbage: the hook fails after one record.
        Bytes objects;
        objects.raw("TPF0").name("TGPLabel").name("Special1").name("Left").i8(1).listEnd().listEnd();
        objects.raw("TPF0").name("TGPLabel").name("X").name("Top").tag(77);
        QByteArray file = golden::knownFile(4, "", objects.b);
        TCalendarPage page(96);
        QStringList names;
        TCalendarFileInfo info;
        load(page, file, [&](TStreamReader& r) {
            while (!r.endOfList()) {
                names << QString::fromLatin1(readComponentRecord(r).name);
            }
            r.readListEnd();
        }, &info);
        QCOMPARE(names, QStringList{QStringLiteral("Special1")});
        QVERIFY(info.objectSectionFailed);
        QCOMPARE(page.CellRtf(2), golden::cellRtf());
        QCOMPARE(page.settings().UserTitle, QStringLiteral("My year"));

        // Without a reader the records are skipped; a missing section is no error either.
        TCalendarPage p2(96);
        load(p2, golden::knownFile(4, "", objects.b.left(objects.b.size() - 2)));
        QCOMPARE(p2.settings().UserTitle, QStringLiteral("My year"));
        const QByteArray noSection = golden::knownFile(3).chopped(2);
        TCalendarPage p3(96);
        load(p3, noSection, {}, &info);
        QVERIFY(info.objectSectionFailed);
    }

    void errorsBeforeObjectsFailWithSettingsKept()
    {
        QByteArray file = golden::knownFile(4);
        // Cut inside the cells: settings, border and dates are in, the error reaches the caller.
        const int cut = file.indexOf("TPF0") + 10;
        TCalendarPage page(96);
        try {
            load(page, file.left(cut));
            QFAIL("no error");
        } catch (const EStreamError& e) {
            QVERIFY(!e.reason().isEmpty());
        }
        QCOMPARE(page.settings().TitleFont.size, 200);
        QCOMPARE(page.settings().MainCalYear, 2024);
    }

    void invalidValuesAreErrors_data()
    {
        QTest::addColumn<QByteArray>("from");
        QTest::addColumn<QByteArray>("to");
        // Patterns located right after the header: paper size, orientation, then the margins.
        QTest::newRow("paper size 2") << QByteArray("\x01\x02\x04\x02\x01\x02\x01\x02\x01", 9)
                                      << QByteArray("\x01\x02\x04\x02\x01\x02\x02\x02\x01", 9);
        QTest::newRow("orientation 5") << QByteArray("\x01\x02\x04\x02\x01\x02\x01\x02\x01", 9)
                                       << QByteArray("\x01\x02\x04\x02\x01\x02\x01\x02\x05", 9);
        QTest::newRow("negative margin") << QByteArray("\x02\x22\x02\x32", 4) << QByteArray("\x02\xde\x02\x32", 4);
        QTest::newRow("layout 22") << QByteArray("\x03\x96\x00\x02\x03", 5) << QByteArray("\x03\x96\x00\x02\x16", 5);
        QTest::newRow("font size 5000") << QByteArray("Arial\x03\xc8\x00", 8) << QByteArray("Arial\x03\x88\x13", 8);
        QTest::newRow("month 13") << QByteArray("\x02\x0f\x02\x03\x03\xe8\x07", 7)
                                  << QByteArray("\x02\x0f\x02\x0d\x03\xe8\x07", 7);
        QTest::newRow("hour 24") << QByteArray("\x02\x07\x02\x1e", 4) << QByteArray("\x02\x18\x02\x1e", 4);
        QTest::newRow("minute 60") << QByteArray("\x02\x07\x02\x1e", 4) << QByteArray("\x02\x07\x02\x3c", 4);
        QTest::newRow("not a list") << QByteArray("\x01\x02\x04", 3) << QByteArray("\x02\x02\x04", 3);
    }
    void invalidValuesAreErrors()
    {
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        QByteArray file = golden::knownFile(4);
        const qsizetype at = file.indexOf(from);
        QVERIFY(at >= 0);
        file.replace(at, from.size(), to);
        TCalendarPage page(96);
        QVERIFY_THROWS_EXCEPTION(EStreamError, load(page, file));
    }

    // Only the low 16 bits of hour and minute count.
    void startingTimeLow16Bits()
    {
        QByteArray file = golden::knownFile(4);
        const QByteArray from("\x02\x07\x02\x1e", 4);
        Bytes to;
        to.i32(0x10009).i32(0x7002d);
        file.replace(file.indexOf(from), from.size(), to.b);
        TCalendarPage page(96);
        load(page, file);
        QCOMPARE(page.settings().StartingTime, QTime(9, 45));
    }

    void borderNameWithPathIsNotUsed_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("parent") << QByteArray("../evil");
        QTest::newRow("slash") << QByteArray("sub/evil");
        QTest::newRow("backslash") << QByteArray("..\\evil");
        QTest::newRow("absolute") << QByteArray("/tmp/evil");
        QTest::newRow("drive") << QByteArray("C:evil");
        QTest::newRow("nul") << QByteArray("evil\0x", 6);
    }
    void borderNameWithPathIsNotUsed()
    {
        QFETCH(QByteArray, name);
        BorderFolder borders;
        // A picture the name would reach: the program folder itself.
        for (const char* ext : {".wls", ".wpo"}) {
            QFile f(borders.dir.path() + QStringLiteral("/evil") + QString::fromLatin1(ext));
            f.open(QIODevice::WriteOnly);
            f.write("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"10\" height=\"10\"><rect width=\"10\" height=\"10\" fill=\"red\"/></svg>"); // a picture the border loader accepts
        }
        TCalendarPage page(96);
        TCalendarFileInfo info;
        load(page, golden::knownFile(4, name), {}, &info);
        QVERIFY(page.settings().WMFBorderFile.isEmpty());
        QVERIFY(page.borderPicture().isEmpty());
        QCOMPARE(info.borderName, QString::fromLatin1(name));
    }

    void missingBorderPictureLeavesNoBorder()
    {
        TCalendarPage page(96);
        load(page, golden::knownFile(4, "NoSuchBorder"));
        QVERIFY(page.settings().WMFBorderFile.isEmpty());
    }

    void saveToFileReplacesOnlyOnSuccess()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("My.OVF"));
        TCalendarPage page(96);
        makeKnownPage(page);
        SaveCalendarFile(page, path);
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray good = f.readAll();
        f.close();
        QCOMPARE(good, golden::knownFile(4));
        // A failing object writer leaves the old file in place.
        QVERIFY_THROWS_EXCEPTION(EStreamError, SaveCalendarFile(page, path, [](TStreamWriter&) {
            throw EStreamError(QStringLiteral("object failed"));
        }));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), good);
        f.close();
        TCalendarPage back(96);
        LoadCalendarFile(back, path);
        QCOMPARE(back.settings().UserTitle, QStringLiteral("My year"));
        QVERIFY_THROWS_EXCEPTION(EStreamError, LoadCalendarFile(back, dir.filePath(QStringLiteral("none.OVF"))));
    }

    void cellRecordTolerance()
    {
        // Another class name, an extra property and a block without the trailing zeros.
        Bytes cell;
        cell.raw("TPF0").name("TSomethingElse").name("Cell9").name("Tag").i8(3)
            .name("RtfText.Data").binary("{\\rtf1 x}").listEnd().listEnd();
        QByteArray file = golden::knownFile(4);
        const QByteArray empty("TPF0\x0dTWPRtfStorage\x00\x00\x00", 21);
        file.replace(file.indexOf(empty), empty.size(), cell.b);
        TCalendarPage page(96);
        load(page, file);
        QCOMPARE(page.CellRtf(1), QByteArray("{\\rtf1 x}"));
        QCOMPARE(page.CellRtf(2), golden::cellRtf());
    }
};
OV_TEST(TestCalendarFile)
#include "test_calendar_file.moc"
