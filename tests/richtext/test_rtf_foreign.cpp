// RTF as other programs write it: code pages of Japanese, Chinese and Mac documents,
// nesting deeper than the reader keeps, nested tables, and reading only a text's start.
#include "richtext/rtf_reader.h"
#include "rtf_test_util.h"
#include "test_registry.h"

#include <QTest>
#include <QTextDocument>

using rtftest::describeRtf;

namespace {

QString plainTextOf(const QByteArray& rtf, bool* wellFormed = nullptr)
{
    QTextDocument d;
    const bool ok = ReadRtf(rtf, &d);
    if (wellFormed)
        *wellFormed = ok;
    return d.toPlainText();
}

} // namespace

class TestRtfForeign : public QObject {
    Q_OBJECT
private slots:
    void codePages_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("expected");
        // Latin fonts of Japanese and Chinese documents are Windows-1252 fonts.
        QTest::newRow("fcharset0 under ansicpg932")
            << QByteArray("{\\rtf1\\ansi\\ansicpg932\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
                          "{\\f1\\fnil\\fcharset128 MS Gothic;}}\\f0 J\\'e4rvi \\'a9 \\f1\\'82\\'a0\\par}")
            << QString::fromUtf8("L|{f=Arial}Järvi © {f=MS Gothic}あ{f=MS Gothic}¶");
        QTest::newRow("default fcharset0 font under ansicpg950")
            << QByteArray("{\\rtf1\\ansi\\ansicpg950\\deff0{\\fonttbl{\\f0\\fcharset0 Times New Roman;}}J\\'e4rvi\\par}")
            << QString::fromUtf8("L|{}Järvi{}¶");
        QTest::newRow("font without charset follows ansicpg")
            << QByteArray("{\\rtf1\\ansicpg932{\\fonttbl{\\f0 MS Mincho;}}\\f0\\'82\\'a0\\par}")
            << QString::fromUtf8("L|{f=MS Mincho}あ{f=MS Mincho}¶");
        // Mac Roman.
        QTest::newRow("mac document") << QByteArray("{\\rtf1\\mac\\deff0{\\fonttbl{\\f0\\froman Times;}}\\f0 caf\\'8e \\'a5\\par}")
                                      << QString::fromUtf8("L|{f=Times}café •{f=Times}¶");
        QTest::newRow("fcharset0 in a mac document")
            << QByteArray("{\\rtf1\\mac{\\fonttbl{\\f0\\fcharset0 Times;}}\\f0 caf\\'8e\\par}")
            << QString::fromUtf8("L|{f=Times}café{f=Times}¶");
        QTest::newRow("fcharset77") << QByteArray("{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fnil\\fcharset77 Helvetica;}}\\f0 caf\\'8e\\par}")
                                    << QString::fromUtf8("L|{f=Helvetica}café{f=Helvetica}¶");
        // Mac Japanese: Shift-JIS with the Mac's own single bytes and numbered symbols.
        QTest::newRow("fcharset78") << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0\\fnil\\fcharset78 Osaka;}}\\f0\\'82\\'a0\\'85\\'40\\'fd\\'80\\par}")
                                    << QString::fromUtf8("L|{f=Osaka}あ①©\\{f=Osaka}¶");
        QTest::newRow("ansicpg10001") << QByteArray("{\\rtf1\\ansi\\ansicpg10001{\\fonttbl{\\f0 Osaka;}}\\f0\\'93\\'fa\\'96\\'7b\\'5c\\'b1\\par}")
                                      << QString::fromUtf8("L|{f=Osaka}日本¥ｱ{f=Osaka}¶");
        // UTF-8 fonts.
        QTest::newRow("cpg65001") << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0\\fnil\\fcharset0\\cpg65001 Arial;}}\\f0 J\\'c3\\'a4rvi \\'e2\\'82\\'ac\\par}")
                                  << QString::fromUtf8("L|{f=Arial}Järvi €{f=Arial}¶");
        QTest::newRow("broken UTF-8") << QByteArray("{\\rtf1{\\fonttbl{\\f0\\cpg65001 Arial;}}\\f0 a\\'e2\\'82b\\par}")
                                      << QString::fromUtf8("L|{f=Arial}a\uFFFD\uFFFDb{f=Arial}¶");
    }
    void codePages()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(QString, expected);
        QCOMPARE(describeRtf(rtf), expected);
    }

    void nestingBeyondTheLimitKeepsText()
    {
        const QByteArray deep(300, '{');
        const QByteArray up(300, '}');
        // A skipped destination and formatting inside the flattened groups end with them.
        bool ok = false;
        QCOMPARE(plainTextOf("{\\rtf1 a" + deep + "{\\*\\foo hidden}b{\\b c}{\\fonttbl x}" + up + " d\\par}", &ok),
                 QStringLiteral("abc d"));
        QVERIFY(ok);
        QCOMPARE(describeRtf("{\\rtf1 a" + deep + "\\b b" + up + " c\\par}"), QStringLiteral("L|{}a{b}b{} c{}¶"));
        // Where each flattened group's text goes still nests.
        QCOMPARE(plainTextOf("{\\rtf1 a" + deep + "{\\*\\foo {x} y}z" + up + "\\par}"), QStringLiteral("az"));
        // Damage is still reported.
        QCOMPARE(plainTextOf("{\\rtf1 a" + deep + "b", &ok), QStringLiteral("ab"));
        QVERIFY(!ok);
    }

    void nestedTables()
    {
        const QByteArray table =
            "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\r\n"
            "\\trowd\\cellx4000\\cellx8000\\pard\\intbl A1\\cell\r\n"
            "\\pard\\intbl\\itap2 B1\\nestcell B2\\nestcell{\\*\\nesttableprops\\trowd\\cellx2000\\cellx3900\\nestrow}"
            "{\\nonesttables B1 B2\\par}\r\n"
            "\\pard\\intbl\\itap1 after\\cell\\row\r\n"
            "\\pard last\\par}";
        QCOMPARE(plainTextOf(table), QStringLiteral("A1\tB1\tB2\t\nafter\t\nlast"));
        // Text a writer puts inside the nested row's properties is kept.
        QCOMPARE(plainTextOf("{\\rtf1 x{\\*\\nesttableprops\\trowd\\cellx2000 C1\\nestcell\\nestrow}y\\par}"),
                 QStringLiteral("xC1\t\ny"));
    }

    void readingOnlyTheStart()
    {
        const QByteArray rtf = "{\\rtf1 Hello world\\par second\\line line\\par third\\par}";
        QTextDocument d;
        QVERIFY(ReadRtfStart(rtf, &d, {5, -1}));
        QCOMPARE(d.toPlainText(), QStringLiteral("Hello"));
        QVERIFY(ReadRtfStart(rtf, &d, {-1, 2}));
        QCOMPARE(d.toPlainText(), QStringLiteral("Hello world\nsecond\nline")); // a line break counts as a line
        QVERIFY(!ReadRtfStart(rtf, &d, {1000, 1000}));
        QCOMPARE(d.toPlainText(), QStringLiteral("Hello world\nsecond\nline\nthird"));
        // Pictures count as characters; plain text is limited the same way.
        QVERIFY(ReadRtfStart("{\\rtf1 ab{\\pict\\pngblip 89504e47}c\\par}", &d, {2, -1}));
        QCOMPARE(d.toPlainText(), QStringLiteral("ab"));
        QVERIFY(ReadRtfStart("one\r\ntwo\r\nthree", &d, {-1, 1}));
        QCOMPARE(d.toPlainText(), QStringLiteral("one\ntwo"));
        QVERIFY(!ReadRtfStart("one\r\ntwo", &d, {7, 1}));
    }
};
OV_TEST(TestRtfForeign)
#include "test_rtf_foreign.moc"
