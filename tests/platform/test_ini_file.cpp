#include "platform/ini_file.h"
#include "test_registry.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

namespace {

// As the older Windows program leaves it: CR LF, Windows-1252 bytes, Windows paths,
// a comment and sections this program does not use.
const QByteArray kLegacy = "[Zooming]\r\nMain=80\r\n\r\n; kept by hand\r\n"
                           "[Default Font]\r\nName=Caf\xE9 Sans\r\nSize=12\r\n\r\n"
                           "[Other Tool]\r\nOptions=a,b,,c\r\nMoney=\x80 5\r\nQuoted=\"C:\\Program Files\\x\"\r\n\r\n"
                           "[MRU]\r\nF0=C:\\My Calendars\\D\xFCsseldorf, 1997.OVF\r\n";

// The file's inode: a save through QSaveFile puts a new file in the old one's place.
ino_t inodeOf(const QString& path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestIniFile : public QObject {
    Q_OBJECT
private slots:
    void brokenUtf16WritesAFixedPoint_data()
    {
        // Found by fuzzing.
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("lone surrogate half") << QByteArray::fromBase64("//4A3Q==");
        QTest::newRow("byte-order marks inside the text") << QByteArray::fromBase64("//7//v/+BQ==");
    }
    void brokenUtf16WritesAFixedPoint()
    {
        QFETCH(QByteArray, bytes);
        IniFile first;
        first.parse(bytes);
        const QByteArray written = first.toBytes();
        IniFile second;
        second.parse(written);
        QCOMPARE(second.toBytes(), written);
    }

    void legacyFileReadsVerbatimAndWritesBackUnchanged()
    {
        IniFile ini;
        ini.parse(kLegacy);
        QCOMPARE(ini.readString("Default Font", "Name"), QString::fromUtf8("Café Sans"));
        QCOMPARE(ini.readString("Other Tool", "Options"), QStringLiteral("a,b,,c"));
        QCOMPARE(ini.readString("Other Tool", "Money"), QString::fromUtf8("€ 5"));
        QCOMPARE(ini.readString("Other Tool", "Quoted"), QStringLiteral("C:\\Program Files\\x"));
        QCOMPARE(ini.readString("MRU", "F0"), QString::fromUtf8("C:\\My Calendars\\Düsseldorf, 1997.OVF"));
        QCOMPARE(ini.sections(), QStringList({"Zooming", "Default Font", "Other Tool", "MRU"}));
        QCOMPARE(ini.toBytes(), kLegacy);
        ini.writeString("default font", "name", QString::fromUtf8("Café Sans"));
        QCOMPARE(ini.toBytes(), kLegacy);

        QByteArray everyByte = "[S]\r\nk=x";
        for (int b = 0x20; b < 0x100; ++b)
            everyByte.append(char(b));
        everyByte += "\r\n";
        ini.parse(everyByte);
        QCOMPARE(ini.toBytes(), everyByte);
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

    void writesKeepLayout()
    {
        IniFile ini;
        ini.parse("; top\r\n[Zooming]\r\nmain=70\r\n\r\n[Keep]\r\nx=1\r\n\r\n[MRU]\r\nF0=a\r\n");
        ini.writeInteger("Zooming", "Main", 60); // keeps the key's spelling
        ini.writeInteger("Zooming", "Prop", 30); // after the last entry, before the blank line
        ini.eraseSection("mru");
        ini.writeBool("Hints", "On", true);
        ini.writeBool("Hints", "Off", false);
        QCOMPARE(ini.toBytes(), QByteArray("; top\r\n[Zooming]\r\nmain=60\r\nProp=30\r\n\r\n[Keep]\r\nx=1\r\n"
                                           "\r\n[Hints]\r\nOn=1\r\nOff=0\r\n"));
        ini.deleteKey("ZOOMING", "prop");
        QVERIFY(!ini.valueExists("Zooming", "Prop"));

        IniFile fresh; // no blank line before the first section
        fresh.writeString("Icons", "File", "x");
        QCOMPARE(fresh.toBytes(), QByteArray("[Icons]\r\nFile=x\r\n"));
    }

    void readNumbers_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("integer"); // default -1
        QTest::addColumn<bool>("boolean"); // default false
        QTest::newRow("1") << QByteArray("1") << 1 << true;
        QTest::newRow("0") << QByteArray("0") << 0 << false;
        QTest::newRow("negative") << QByteArray("-5") << -5 << true;
        QTest::newRow("plus") << QByteArray("+7") << 7 << true;
        QTest::newRow("dollar hex") << QByteArray("$1F") << 31 << true;
        QTest::newRow("0x hex") << QByteArray("0x10") << 16 << true;
        QTest::newRow("system colour") << QByteArray("$80000008") << int(0x80000008u) << true;
        QTest::newRow("word") << QByteArray("true") << -1 << false;
        QTest::newRow("trailing junk") << QByteArray("60%") << -1 << false;
        QTest::newRow("too large") << QByteArray("99999999999") << -1 << false;
        QTest::newRow("hex too long") << QByteArray("$123456789") << -1 << false;
        QTest::newRow("empty") << QByteArray("") << -1 << false;
        QTest::newRow("sign only") << QByteArray("-") << -1 << false;
    }
    void readNumbers()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, integer);
        QFETCH(bool, boolean);
        IniFile ini;
        ini.parse("[S]\r\nk=" + text + "\r\n");
        QCOMPARE(ini.readInteger("S", "k", -1), integer);
        QCOMPARE(ini.readBool("S", "k", false), boolean);
        QVERIFY(ini.readBool("S", "missing", true));
    }

    void valuesSurviveRoundTrip_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("equals and semicolon") << QStringLiteral("a=b;c");
        QTest::newRow("blanks around") << QStringLiteral("  padded ");
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
        IniFile again;
        again.parse(ini.toBytes());
        QCOMPARE(again.readString("S", "k", "default"), value);
    }

    void lineBreakInValueCannotSplitTheEntry()
    {
        IniFile ini;
        ini.writeString("S", "k", "a\nb=c");
        IniFile again;
        again.parse(ini.toBytes());
        QCOMPARE(again.keys("S"), QStringList{"k"});
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
        again.deleteKey("MRU", "F2"); // fits Windows-1252 again: back to it
        QCOMPARE(again.toBytes(), kLegacy);
    }

    void textThatLooksLikeAByteOrderMarkReadsBack_data()
    {
        QTest::addColumn<QString>("start");
        QTest::newRow("UTF-8 mark as Windows-1252") << QString::fromUtf8("ï»¿");
        QTest::newRow("UTF-16 mark as Windows-1252") << QString::fromUtf8("ÿþ");
        QTest::newRow("U+FEFF") << QString(QChar(0xFEFF));
    }
    void textThatLooksLikeAByteOrderMarkReadsBack()
    {
        QFETCH(QString, start);
        // In keys and values, and on the file's first line (a line before any section).
        IniFile ini;
        ini.parse((QStringLiteral("\uFEFF") + start + QStringLiteral("first=line\r\n")).toUtf8());
        QCOMPARE(ini.toBytes().left(3), QByteArray("\xEF\xBB\xBF"));
        ini.writeString("S", start + "key", start + "value");
        ini.writeString("S", "plain", start);
        IniFile again;
        again.parse(ini.toBytes());
        QCOMPARE(again.keys("S"), QStringList({start + "key", "plain"}));
        QCOMPARE(again.readString("S", start + "key"), start + "value");
        QCOMPARE(again.readString("S", "plain"), start);
        QCOMPARE(again.toBytes(), ini.toBytes());
        IniFile first;
        first.parse(ini.toBytes());
        first.deleteKey("S", start + "key");
        first.deleteKey("S", "plain");
        IniFile firstAgain;
        firstAgain.parse(first.toBytes());
        QCOMPARE(firstAgain.toBytes(), first.toBytes());
        QVERIFY(QString::fromUtf8(first.toBytes()).contains(start + "first=line"));
    }

    void lineFeedOnlyAndMissingFinalBreak()
    {
        IniFile ini;
        ini.parse("[S]\na=1\nb=2");
        QCOMPARE(ini.readInteger("S", "b", 0), 2);
        QCOMPARE(ini.toBytes(), QByteArray("[S]\r\na=1\r\nb=2\r\n"));
    }

    void randomBytesParseAndSettle()
    {
        QRandomGenerator rng(1997);
        const char alphabet[] = "[]=;\"' \r\nab\x80\xE9\xFF\xEF\xBB\xBF";
        for (int round = 0; round < 500; ++round) {
            QByteArray junk;
            const int n = rng.bounded(80);
            for (int i = 0; i < n; ++i)
                junk.append(alphabet[rng.bounded(int(sizeof alphabet - 1))]);
            IniFile ini;
            ini.parse(junk);
            const QByteArray once = ini.toBytes();
            ini.parse(once);
            QCOMPARE(ini.toBytes(), once);
        }
    }

    void saveThroughFiles()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("OV.ini");
        IniFile ini;
        QVERIFY(ini.load(path)); // no file yet: empty, no error
        ini.writeInteger("Zooming", "Main", 60);
        QVERIFY(ini.save());
        QCOMPARE(readAll(path), QByteArray("[Zooming]\r\nMain=60\r\n"));

        // Something unreadable where the file should be is never written over.
        const QString blocked = dir.filePath("blocked.ini");
        QVERIFY(QDir().mkpath(blocked));
        IniFile bad;
        QVERIFY(!bad.load(blocked));
        QVERIFY(!bad.errorString().isEmpty());
        bad.writeInteger("S", "k", 1);
        QVERIFY(!bad.save());
        QVERIFY(QFileInfo(blocked).isDir());
    }

    void savingUnchangedContentLeavesTheFileAlone()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("OV.ini");
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(kLegacy);
        }
        const ino_t before = inodeOf(path);
        QVERIFY(before != 0);
        IniFile ini;
        QVERIFY(ini.load(path));
        ini.writeString("Zooming", "Main", "80"); // what it holds already
        QVERIFY(ini.save());
        QCOMPARE(inodeOf(path), before);
        QCOMPARE(readAll(path), kLegacy);

        // A change is written, and so is content the file lost in the meantime.
        ini.writeString("Zooming", "Main", "90");
        QVERIFY(ini.save());
        QVERIFY(inodeOf(path) != before);
        QVERIFY(readAll(path).contains("Main=90\r\n"));
        const QByteArray ours = readAll(path);
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(ours.left(ours.size() - 1)); // same length but one byte
            f.write("X");
        }
        QVERIFY(ini.save());
        QCOMPARE(readAll(path), ours);
    }
};
OV_TEST(TestIniFile)
#include "test_ini_file.moc"
