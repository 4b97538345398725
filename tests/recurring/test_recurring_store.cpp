#include "platform/program_folder.h"
#include "recurring/dates_command.h"
#include "recurring/recurring_formula.h"
#include "recurring/recurring_store.h"
#include "test_registry.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray readAll(const QString& name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& name, const QByteArray& bytes)
{
    QFile f(name);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

class TestRecurringStore : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        setUserDataFolderOverride(m_dir.path());
        QFile::remove(RecurringStoreFileName());
        QFile::remove(OldRecurringStoreFileName());
    }
    void cleanupTestCase() { setUserDataFolderOverride(QString()); }

    void fileNamesInUserDataFolder()
    {
        QVERIFY(RecurringStoreFileName().endsWith(QStringLiteral("/OVRECUR.DAX")));
        QVERIFY(RecurringStoreFileName().startsWith(UserDataFolder()));
        QVERIFY(OldRecurringStoreFileName().endsWith(QStringLiteral("/OVRECUR.DAT")));
    }

    void windows1252RoundTrip()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        const QString text = DecodeWindows1252(all);
        QCOMPARE(text.at(0x80), QChar(0x20AC));
        QCOMPARE(text.at(0xE9), QChar(0xE9));
        QCOMPARE(EncodeWindows1252(text).value(), all);
        QVERIFY(!EncodeWindows1252(QStringLiteral("\u0416")).has_value());
    }

    void writeUsesCrlfAndKeepsLengths()
    {
        const QStringList lines{MakeRecurringEntry("Birthday", "@0312"),
                                PadField("Good Friday", 120) + QStringLiteral("#GOODFRIDAY"),
                                PadField("Easter", 120) + QStringLiteral("#EASTER")};
        QVERIFY(WriteRecurringStore(RecurringStoreFileName(), lines));
        const QByteArray bytes = readAll(RecurringStoreFileName());
        QCOMPARE(bytes.size(), 130 + 2 + 131 + 2 + 127 + 2);
        QVERIFY(bytes.endsWith("#EASTER\r\n"));
        QCOMPARE(bytes.count("\r\n"), 3);
        QCOMPARE(bytes.count('\n'), 3);
        const RecurringStoreRead read = ReadRecurringStore(RecurringStoreFileName());
        QVERIFY(read.exists);
        QVERIFY(read.error.isEmpty());
        QCOMPARE(read.lines, lines);
    }

    void legacyCharactersStaySingleBytes()
    {
        const QStringList lines{MakeRecurringEntry(QStringLiteral("Caf\u00e9 \u20ac day"), "@0101")};
        QVERIFY(WriteRecurringStore(RecurringStoreFileName(), lines));
        const QByteArray bytes = readAll(RecurringStoreFileName());
        QCOMPARE(bytes.size(), 132);
        QVERIFY(bytes.startsWith("Caf\xE9 \x80 day"));
        QCOMPARE(ReadRecurringStore(RecurringStoreFileName()).lines, lines);
    }

    void charactersOutside1252UseMarkedUtf8()
    {
        const QStringList lines{MakeRecurringEntry(QStringLiteral("\u0414\u0435\u043d\u044c"), "@0101"),
                                MakeRecurringEntry(QStringLiteral("Caf\u00e9"), "@0202")};
        QVERIFY(WriteRecurringStore(RecurringStoreFileName(), lines));
        const QByteArray bytes = readAll(RecurringStoreFileName());
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        QCOMPARE(ReadRecurringStore(RecurringStoreFileName()).lines, lines);
    }

    void firstLineThatLooksLikeAByteOrderMarkReadsBack_data()
    {
        QTest::addColumn<QString>("start");
        QTest::newRow("UTF-8 mark as Windows-1252") << QString::fromUtf8("ï»¿");
        QTest::newRow("UTF-16 mark as Windows-1252") << QString::fromUtf8("ÿþ");
        QTest::newRow("U+FEFF") << QString(QChar(0xFEFF));
        QTest::newRow("two marks") << QString::fromUtf8("\uFEFFï»¿");
    }
    void firstLineThatLooksLikeAByteOrderMarkReadsBack()
    {
        QFETCH(QString, start);
        const QStringList lines{MakeRecurringEntry(start + QStringLiteral("Name"), "@0101"),
                                MakeRecurringEntry(QStringLiteral("Other"), "@0202")};
        QVERIFY(WriteRecurringStore(RecurringStoreFileName(), lines));
        QCOMPARE(ReadRecurringStore(RecurringStoreFileName()).lines, lines);
        QCOMPARE(DecodeRecurringLines(EncodeRecurringLines(lines)), lines);
    }

    void readToleratesLineEndsAndLongLines()
    {
        const QByteArray longLine = PadField("Long", 120).toLatin1() + "@0704     trailing junk";
        writeAll(RecurringStoreFileName(), "first\nsecond\r\n\r\n" + longLine + "\rlast");
        const QStringList lines = ReadRecurringStore(RecurringStoreFileName()).lines;
        QCOMPARE(lines, (QStringList{"first", "second", QString::fromLatin1(longLine), "last"}));
        QCOMPARE(RecurringEntryFormula(lines[2]), QStringLiteral("@0704     "));
    }

    void damagedUtf8IsReadWithoutLoss()
    {
        const QStringList lines = DecodeRecurringLines(QByteArray("\xEF\xBB\xBF" "ab\xFF\xFE" "cd\r\nnext\r\n"));
        QCOMPARE(lines.size(), 2);
        QVERIFY(lines[0].startsWith(QStringLiteral("ab")));
        QVERIFY(lines[0].endsWith(QStringLiteral("cd")));
        QCOMPARE(lines[1], QStringLiteral("next"));
    }

    void missingAndOversizedStores()
    {
        const RecurringStoreRead none = ReadRecurringStore(RecurringStoreFileName());
        QVERIFY(!none.exists);
        QVERIFY(none.lines.isEmpty());
        QVERIFY(none.error.isEmpty());

        QFile f(RecurringStoreFileName());
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.resize(kMaxRecurringStoreBytes + 1));
        f.close();
        const RecurringStoreRead big = ReadRecurringStore(RecurringStoreFileName());
        QVERIFY(big.exists);
        QVERIFY(!big.error.isEmpty());
        QVERIFY(big.lines.isEmpty());
    }

    void writeFailureIsReported()
    {
        QString error;
        QVERIFY(!WriteRecurringStore(m_dir.path() + QStringLiteral("/no/such/dir/OVRECUR.DAX"), {"x"}, &error));
        QVERIFY(error.startsWith(QStringLiteral("Unable to save ")));
    }

    void oldStoreConversion()
    {
        writeAll(OldRecurringStoreFileName(), "0704Independence\r\n1225Christmas Day\r\n");
        writeAll(RecurringStoreFileName(), "to be replaced\r\n");
        QVERIFY(ConvertOldRecurringStore());
        QVERIFY(!QFile::exists(OldRecurringStoreFileName()));
        const QStringList lines = ReadRecurringStore(RecurringStoreFileName()).lines;
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0].size(), 131);
        QCOMPARE(lines[0], PadField("Independence", 120) + QStringLiteral("@") + PadField("0704", 10));
        QCOMPARE(RecurringEntryFormula(lines[0]), QStringLiteral("@0704     "));
        QCOMPARE(RecurringEntryText(lines[1]), QStringLiteral("Christmas Day (25th of December)"));
        // Nothing to do the second time.
        QVERIFY(ConvertOldRecurringStore());
        QCOMPARE(ReadRecurringStore(RecurringStoreFileName()).lines, lines);
    }

    void oldLineNameIsCutAt150Characters()
    {
        const QString converted = ConvertOldRecurringLine(QStringLiteral("0101") + QString(200, QLatin1Char('n')));
        QCOMPARE(converted.size(), 131);
        QCOMPARE(ConvertOldRecurringLine(QStringLiteral("01")), QString(120, QLatin1Char(' ')) + "@" + PadField("01", 10));
    }

    void datesCommand()
    {
        const QStringList lines{MakeRecurringEntry("Fools", "@0401"), PadField("Easter", 120) + "#EASTER",
                                MakeRecurringEntry("Gym", "%7"), MakeRecurringEntry("Xmas", "@1225")};
        QVERIFY(WriteRecurringStore(RecurringStoreFileName(), lines));
        QString outText, errText;
        QTextStream out(&outText), err(&errText);
        const int rc = runDatesCommand({"--store", RecurringStoreFileName(), "--year", "1998", "--month", "4"}, out, err);
        QCOMPARE(rc, 0);
        QCOMPARE(errText, QString());
        // April 1998 Saturdays: 4, 11, 18, 25.
        QCOMPARE(outText, QStringLiteral("1\tFools\n12\tEaster\n4\tGym\n11\tGym\n18\tGym\n25\tGym\n"));

        outText.clear();
        QCOMPARE(runDatesCommand({"--store=" + RecurringStoreFileName(), "--year=1998", "--month=3"}, out, err), 0);
        QCOMPARE(outText, QStringLiteral("7\tGym\n14\tGym\n21\tGym\n28\tGym\n"));
    }

    void datesCommandErrors_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("no args") << QStringList{};
        QTest::newRow("missing month") << QStringList{"--store", "x", "--year", "1998"};
        QTest::newRow("bad month") << QStringList{"--store", "x", "--year", "1998", "--month", "13"};
        QTest::newRow("bad year") << QStringList{"--store", "x", "--year", "abc", "--month", "1"};
        QTest::newRow("unknown option") << QStringList{"--bogus", "1"};
        QTest::newRow("dangling option") << QStringList{"--store"};
        QTest::newRow("missing store") << QStringList{"--store", "/nonexistent/OVRECUR.DAX", "--year", "1998", "--month", "1"};
    }
    void datesCommandErrors()
    {
        QFETCH(QStringList, args);
        QString outText, errText;
        QTextStream out(&outText), err(&errText);
        QVERIFY(runDatesCommand(args, out, err) != 0);
        err.flush();
        QVERIFY(!errText.isEmpty());
        QVERIFY(outText.isEmpty());
    }
};
OV_TEST(TestRecurringStore)
#include "test_recurring_store.moc"
