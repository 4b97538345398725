#include "platform/ini_file.h"
#include "test_registry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// As the older Windows program leaves it: CR LF, Windows-1252 bytes, Windows paths,
// a comment and sections this program does not use.
const QByteArray kLegacy =
    "[Zooming]\r\n"
    "Main=80\r\n"
    "Prop=40\r\n"
    "\r\n"
    "; kept by hand\r\n"
    "[Default Font]\r\n"
    "Name=Caf\xE9 Sans\r\n"
    "Size=12\r\n"
    "Color=255\r\n"
    "\r\n"
    "[Other Tool]\r\n"
    "Options=a,b,,c\r\n"
    "Money=\x80 5\r\n"
    "\r\n"
    "[MRU]\r\n"
    "F0=C:\\My Calendars\\D\xFCsseldorf, 1997.OVF\r\n"
    "F1=\\\\server\\share\\x.ovf\r\n";

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

class TestIniFile : public QObject {
    Q_OBJECT
private slots:
    void legacyFileReadsVerbatim()
    {
        IniFile ini;
        ini.parse(kLegacy);
        QCOMPARE(ini.readInteger("Zooming", "Main", 0), 80);
        QCOMPARE(ini.readString("Default Font", "Name"), QString::fromUtf8("Café Sans"));
        QCOMPARE(ini.readString("Other Tool", "Options"), QStringLiteral("a,b,,c"));
        QCOMPARE(ini.readString("Other Tool", "Money"), QString::fromUtf8("€ 5"));
        QCOMPARE(ini.readString("MRU", "F0"), QString::fromUtf8("C:\\My Calendars\\Düsseldorf, 1997.OVF"));
        QCOMPARE(ini.readString("MRU", "F1"), QStringLiteral("\\\\server\\share\\x.ovf"));
        QCOMPARE(ini.sections(), QStringList({"Zooming", "Default Font", "Other Tool", "MRU"}));
    }

    void unchangedFileIsWrittenByteForByte()
    {
        IniFile ini;
        ini.parse(kLegacy);
        QCOMPARE(ini.toBytes(), kLegacy);
        // Rewriting a value with its own text changes nothing either.
        ini.writeString("default font", "name", QString::fromUtf8("Café Sans"));
        QCOMPARE(ini.toBytes(), kLegacy);
    }

    void lookUpIgnoresCaseAndBlanks_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::newRow("as written") << "Default Font" << "Size";
        QTest::newRow("lower") << "default font" << "size";
        QTest::newRow("upper") << "DEFAULT FONT" << "SIZE";
    }
    void lookUpIgnoresCaseAndBlanks()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        IniFile ini;
        ini.parse("[ Default Font ]\r\n  Size  =  14  \r\n");
        QCOMPARE(ini.readInteger(section, key, 0), 14);
        QVERIFY(ini.valueExists(section, key));
        QCOMPARE(ini.keys(section), QStringList{"Size"});
    }

    void firstOfDuplicatesWins()
    {
        IniFile ini;
        ini.parse("[A]\r\nk=1\r\nK=2\r\n[a]\r\nk=3\r\nj=4\r\n");
        QCOMPARE(ini.readInteger("A", "k", 0), 1);
        QVERIFY(!ini.valueExists("A", "j"));
        ini.writeInteger("A", "K", 9);
        QCOMPARE(ini.toBytes(), QByteArray("[A]\r\nk=9\r\nK=2\r\n[a]\r\nk=3\r\nj=4\r\n"));
    }

    void newKeysAndSectionsKeepLayout()
    {
        IniFile ini;
        ini.parse("; top\r\n[Zooming]\r\nmain=70\r\n\r\n[Keep]\r\nx=1\r\n");
        ini.writeInteger("Zooming", "Main", 60);
        ini.writeInteger("Zooming", "Prop", 30);
        ini.writeBool("Hints", "On", true);
        QCOMPARE(ini.toBytes(), QByteArray("; top\r\n[Zooming]\r\nmain=60\r\nProp=30\r\n\r\n[Keep]\r\nx=1\r\n"
                                           "\r\n[Hints]\r\nOn=1\r\n"));
    }

    void freshFileHasNoLeadingBlankLine()
    {
        IniFile ini;
        ini.writeString("Default Font", "Name", "Arial");
        ini.writeString("Icons", "File", "x");
        QCOMPARE(ini.toBytes(), QByteArray("[Default Font]\r\nName=Arial\r\n\r\n[Icons]\r\nFile=x\r\n"));
    }

    void eraseAndDelete()
    {
        IniFile ini;
        ini.parse(kLegacy);
        ini.eraseSection("mru");
        ini.deleteKey("Zooming", "PROP");
        QVERIFY(!ini.sectionExists("MRU"));
        QVERIFY(!ini.valueExists("Zooming", "Prop"));
        QVERIFY(ini.toBytes().endsWith("Money=\x80 5\r\n\r\n"));
        ini.writeString("MRU", "F0", "a");
        QVERIFY(ini.toBytes().endsWith("Money=\x80 5\r\n\r\n[MRU]\r\nF0=a\r\n"));
    }

    void readInteger_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("expected");
        QTest::newRow("decimal") << QByteArray("60") << 60;
        QTest::newRow("negative") << QByteArray("-5") << -5;
        QTest::newRow("plus") << QByteArray("+7") << 7;
        QTest::newRow("dollar hex") << QByteArray("$1F") << 31;
        QTest::newRow("0x hex") << QByteArray("0x10") << 16;
        QTest::newRow("system colour") << QByteArray("$80000008") << int(0x80000008u);
        QTest::newRow("word") << QByteArray("sixty") << -1;
        QTest::newRow("trailing junk") << QByteArray("60%") << -1;
        QTest::newRow("too large") << QByteArray("99999999999") << -1;
        QTest::newRow("empty") << QByteArray("") << -1;
        QTest::newRow("sign only") << QByteArray("-") << -1;
        QTest::newRow("hex too long") << QByteArray("$123456789") << -1;
    }
    void readInteger()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, expected);
        IniFile ini;
        ini.parse("[S]\r\nk=" + text + "\r\n");
        QCOMPARE(ini.readInteger("S", "k", -1), expected);
    }

    void readBool_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("defaultValue");
        QTest::addColumn<bool>("expected");
        QTest::newRow("1") << QByteArray("k=1") << false << true;
        QTest::newRow("0") << QByteArray("k=0") << true << false;
        QTest::newRow("2 is true") << QByteArray("k=2") << false << true;
        QTest::newRow("-1 is true") << QByteArray("k=-1") << false << true;
        QTest::newRow("word keeps default") << QByteArray("k=true") << false << false;
        QTest::newRow("missing keeps default") << QByteArray("other=0") << true << true;
    }
    void readBool()
    {
        QFETCH(QByteArray, line);
        QFETCH(bool, defaultValue);
        QFETCH(bool, expected);
        IniFile ini;
        ini.parse("[S]\r\n" + line + "\r\n");
        QCOMPARE(ini.readBool("S", "k", defaultValue), expected);
    }

    void boolsAreWrittenAsDigits()
    {
        IniFile ini;
        ini.writeBool("S", "a", true);
        ini.writeBool("S", "b", false);
        QCOMPARE(ini.toBytes(), QByteArray("[S]\r\na=1\r\nb=0\r\n"));
    }

    void valuesSurviveRoundTrip_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("equals and semicolon") << QStringLiteral("a=b;c");
        QTest::newRow("leading blank") << QStringLiteral("  padded ");
        QTest::newRow("quoted") << QStringLiteral("\"quoted\"");
        QTest::newRow("single quoted") << QStringLiteral("'x'");
        QTest::newRow("lone quote") << QStringLiteral("\"half");
        QTest::newRow("empty") << QString();
    }
    void valuesSurviveRoundTrip()
    {
        QFETCH(QString, value);
        IniFile ini;
        ini.writeString("S", "k", value);
        QCOMPARE(ini.readString("S", "k", "default"), value);
        IniFile again;
        again.parse(ini.toBytes());
        QCOMPARE(again.readString("S", "k", "default"), value);
    }

    void quotesWrittenByOthersAreStripped()
    {
        IniFile ini;
        ini.parse("[S]\r\nk=\"C:\\Program Files\\x.ovf\"\r\n");
        QCOMPARE(ini.readString("S", "k"), QStringLiteral("C:\\Program Files\\x.ovf"));
    }

    void textBeyondWindows1252IsWrittenAsUtf8()
    {
        IniFile ini;
        ini.parse(kLegacy);
        const QString greek = QString::fromUtf8("/home/u/Ημερολόγιο.ovf");
        ini.writeString("MRU", "F2", greek);
        const QByteArray bytes = ini.toBytes();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF[Zooming]\r\n"));
        IniFile again;
        again.parse(bytes);
        QCOMPARE(again.readString("MRU", "F2"), greek);
        QCOMPARE(again.readString("Other Tool", "Money"), QString::fromUtf8("€ 5"));

        // Once the text fits Windows-1252 again, the file goes back to it.
        again.deleteKey("MRU", "F2");
        QCOMPARE(again.toBytes(), kLegacy);
    }

    void everyByteSurvives()
    {
        QByteArray all;
        for (int b = 0x20; b < 0x100; ++b)
            all.append(char(b));
        const QByteArray file = "[S]\r\nk=x" + all + "\r\n";
        IniFile ini;
        ini.parse(file);
        QCOMPARE(ini.toBytes(), file);
    }

    void lineFeedOnlyAndMissingFinalBreak()
    {
        IniFile ini;
        ini.parse("[S]\na=1\nb=2");
        QCOMPARE(ini.readInteger("S", "b", 0), 2);
        QCOMPARE(ini.toBytes(), QByteArray("[S]\r\na=1\r\nb=2\r\n"));
    }

    void lineBreakInValueCannotSplitTheEntry()
    {
        IniFile ini;
        ini.writeString("S", "k", "a\nb=c");
        IniFile again;
        again.parse(ini.toBytes());
        QCOMPARE(again.keys("S"), QStringList{"k"});
    }

    void fileSaveAndLoad()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("OV.ini");
        IniFile missing;
        QVERIFY(missing.load(path)); // no file yet: empty, no error
        QVERIFY(missing.sections().isEmpty());
        missing.writeInteger("Zooming", "Main", 60);
        QVERIFY(missing.save());
        QCOMPARE(readAll(path), QByteArray("[Zooming]\r\nMain=60\r\n"));

        writeAll(path, kLegacy);
        IniFile ini;
        QVERIFY(ini.load(path));
        ini.writeInteger("Zooming", "Main", 90);
        QVERIFY(ini.save());
        QByteArray expected = kLegacy;
        expected.replace("Main=80", "Main=90");
        QCOMPARE(readAll(path), expected);
    }

    void unreadableFileIsNeverOverwritten()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("OV.ini");
        QVERIFY(QDir().mkpath(path)); // a folder where the file should be
        IniFile ini;
        QVERIFY(!ini.load(path));
        QVERIFY(!ini.errorString().isEmpty());
        ini.writeInteger("S", "k", 1);
        QVERIFY(!ini.save());
        QVERIFY(QFileInfo(path).isDir());
    }

    void failedSaveLeavesOldFile()
    {
        QTemporaryDir dir;
        const QString sub = dir.filePath("ro");
        QVERIFY(QDir().mkpath(sub));
        const QString path = sub + "/OV.ini";
        writeAll(path, kLegacy);
        QFile::setPermissions(sub, QFile::ReadOwner | QFile::ExeOwner);
        if (QFileInfo(sub).isWritable())
            QSKIP("running with rights that ignore folder permissions");
        IniFile ini;
        QVERIFY(ini.load(path));
        ini.writeInteger("Zooming", "Main", 20);
        QVERIFY(!ini.save());
        QFile::setPermissions(sub, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(readAll(path), kLegacy);
    }
};
OV_TEST(TestIniFile)
#include "test_ini_file.moc"
