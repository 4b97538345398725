// Control words are looked up once and dispatched by what they stand for: every
// spelling must reach its own handling, with or without a parameter, and nothing
// else may be taken for a known word.
#include "richtext/rtf_control_words.h"
#include "richtext/rtf_reader.h"
#include "rtf_test_util.h"
#include "test_registry.h"

#include <QTest>
#include <QTextDocument>

using rtfword::Word;
using rtftest::describeRtf;

namespace {

QByteArray doc(const QByteArray& body)
{
    return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset204 Arial Cyr;}{\\f2\\fcharset2 Wingdings;}}"
           "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
        + body + "}";
}

} // namespace

class TestRtfControlWords : public QObject {
    Q_OBJECT
private slots:
    void knownSpellingsAndNothingElse()
    {
        QCOMPARE(rtfword::lookUp("par"), Word::Par);
        QCOMPARE(rtfword::lookUp("pard"), Word::Pard);
        QCOMPARE(rtfword::lookUp("u"), Word::U);
        QCOMPARE(rtfword::lookUp("uc"), Word::Uc);
        QCOMPARE(rtfword::lookUp("ud"), Word::Ud);
        QCOMPARE(rtfword::lookUp("ul"), Word::Ul);
        QCOMPARE(rtfword::lookUp("ulthdashdd"), Word::Ul);
        QCOMPARE(rtfword::lookUp("ulnone"), Word::UlNone);
        QCOMPARE(rtfword::lookUp("qd"), Word::Qj);
        QCOMPARE(rtfword::lookUp("fcpg"), Word::Cpg);
        QCOMPARE(rtfword::lookUp("mmathPr"), Word::SkippedDestination);
        QCOMPARE(rtfword::lookUp("colorschememapping"), Word::SkippedDestination);
        QCOMPARE(rtfword::lookUp("nonesttables"), Word::SkippedDestination);
        QCOMPARE(rtfword::lookUp("nesttableprops"), Word::NestTableProps);
        // Prefixes, extensions, other cases and other lengths of known words.
        for (const char* w : {"", "p", "pa", "parx", "PAR", "Par", "uu", "ulthdashddd", "mmathpr", "colorschememappings",
                              "colorschememappingcolorschememapping", "chftn", "fonttb", "fonttbls", "x"})
            QCOMPARE(rtfword::lookUp(w), Word::None);
    }

    // The same word means what its destination makes of it.
    void dispatch_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("expected");
        QTest::newRow("toggles with and without parameter")
            << QByteArray("\\b a\\b0 b\\b1 c\\i d\\i0\\ul e\\ulnone f\\uldb g\\ul0 h\\strike i\\striked0 j\\par")
            << QString::fromUtf8("L|{f=Arial,b}a{f=Arial}b{f=Arial,b}c{f=Arial,b,i}d{f=Arial,b,u}e{f=Arial,b}f{f=Arial,b,u}g"
                                 "{f=Arial,b}h{f=Arial,b,x}i{f=Arial,b}j{f=Arial,b}¶");
        QTest::newRow("sizes, negative and missing parameters")
            << QByteArray("\\fs40 a\\fs b\\fs-7 c\\fs99999 d\\par")
            << QString::fromUtf8("L|{f=Arial,s=20}a{f=Arial,s=12}b{f=Arial,s=0.5}c{f=Arial,s=1638}d{f=Arial,s=1638}¶");
        QTest::newRow("colours, negative index none")
            << QByteArray("\\cf1 a\\cf-1 b\\cb2 c\\highlight1 d\\cf7 e\\par")
            << QString::fromUtf8("L|{f=Arial,c=#ff0000}a{f=Arial}b{f=Arial,bg=#0000ff}c{f=Arial,bg=#ff0000}de{f=Arial,bg=#ff0000}¶");
        QTest::newRow("super, sub and their ends")
            << QByteArray("\\super a\\nosupersub b\\sub c\\up0 d\\up4 e\\dn f\\plain g\\par")
            << QString::fromUtf8("L|{f=Arial,sup}a{f=Arial}b{f=Arial,sub}c{f=Arial}d{f=Arial,sup}e{f=Arial,sub}f{}g{}¶");
        QTest::newRow("alignments")
            << QByteArray("\\qc a\\par\\qr b\\par\\qd c\\par\\qj d\\par\\pard e\\par\\ql f")
            << QString::fromUtf8("C|{f=Arial}a{f=Arial}¶\nR|{f=Arial}b{f=Arial}¶\nJ|{f=Arial}c{f=Arial}¶\n"
                                 "J|{f=Arial}d{f=Arial}¶\nL|{f=Arial}e{f=Arial}¶\nL|{f=Arial}f{}¶");
        QTest::newRow("font table words do not format text")
            << QByteArray("\\f1\\fcharset0\\cpg1252\\red9 \\'c0\\par")
            << QString::fromUtf8("L|{f=Arial Cyr}А{f=Arial Cyr}¶");
    }

    void dispatch()
    {
        QFETCH(QByteArray, body);
        QFETCH(QString, expected);
        QCOMPARE(describeRtf(doc("\\f0 " + body)), expected);
    }

    void text_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("expected");
        QTest::newRow("symbols and special characters")
            << QByteArray("a\\tab b\\bullet\\emdash\\endash\\emspace\\enspace\\lquote\\rquote\\ldblquote\\rdblquote\\zwj\\zwnj"
                          "\\~\\_\\-\\{\\}\\\\c\\line d\\cell e\\nestcell f")
            << QString::fromUtf8("a\tb•—–\u2003\u2002‘’“”\u200D\u200C\u00A0\u2011{}\\c\u2028d\te\tf");
        QTest::newRow("paragraph words")
            << QByteArray("a\\par b\\page c\\sect d\\row e\\nestrow f\\chftn g")
            << QStringLiteral("a\u2029b\u2029c\u2029d\u2029e\u2029fg");
        QTest::newRow("unknown words with and without parameters")
            << QByteArray("a\\foo b\\bar12 c\\baz-3 d\\qux-x e\\PAR f\\colorschememappingx g")
            << QStringLiteral("abcd-x efg");
        QTest::newRow("negative and large unicode values")
            << QByteArray("\\u-10179?\\u-8704?\\u233?\\u65. \\u99999?")
            << QString::fromUtf8("😀éA \u869F");
        QTest::newRow("uc skips inside a group")
            << QByteArray("\\uc2\\u233 XYa\\uc0\\u233?b")
            << QString::fromUtf8("éaé?b");
        QTest::newRow("skips end with their group")
            << QByteArray("{\\u233}?{\\uc3 a}\\u233?b{\\uc2\\u233\\'e9 x}y")
            << QString::fromUtf8("é?aéb\u00E9xy");
        QTest::newRow("skip takes a hex escape, a symbol and a word")
            << QByteArray("\\uc3\\u233\\'41\\~\\b c\\b0 d")
            << QString::fromUtf8("écd");
        QTest::newRow("hex escapes in code pages")
            << QByteArray("\\'e9{\\f1\\'c0\\'e1}{\\f2\\'41}\\ansicpg1251\\'c0")
            << QString::fromUtf8("éАб\uF041А");
        QTest::newRow("starred and skipped destinations")
            << QByteArray("a{\\*\\foo hidden}b{\\*\\fldinst x}{\\fldrslt c}{\\stylesheet s}{\\info{\\title t}}"
                          "{\\unknown d}{\\*\\shppict e}{\\upr{f}{\\*\\ud g}}h{\\v i}j")
            << QStringLiteral("abcdeghj");
        QTest::newRow("bin skips its bytes everywhere")
            << QByteArray("a\\bin3 {}\\b{\\*\\x\\bin2 }}}c")
            << QStringLiteral("abc");
    }

    void text()
    {
        QFETCH(QByteArray, body);
        QFETCH(QString, expected);
        const QByteArray rtf = doc(body);
        QTextDocument d;
        QVERIFY(ReadRtf(rtf, &d));
        QString want = expected;
        want.replace(QChar(0x2029), QLatin1Char('\n')).replace(QChar(0x2028), QLatin1Char('\n')).replace(QChar(0xA0), QLatin1Char(' '));
        QCOMPARE(d.toPlainText(), want);
        QCOMPARE(ReadRtfPlainText(rtf), d.toPlainText());
    }

    // Truncated anywhere inside a word, its parameter or an escape: the input is reported
    // as damaged, what came before the cut stays, and the text read is no longer than all.
    void truncatedWords()
    {
        const QByteArray full = doc("ab\\fs30 c\\u233?d\\'e9e\\uc2\\u-10179xyf\\par");
        QTextDocument d;
        QVERIFY(ReadRtf(full, &d));
        const QString whole = d.toPlainText();
        for (qsizetype n = full.indexOf("ab") + 2; n < full.size(); ++n) {
            const QByteArray cut = full.left(n);
            QTextDocument part;
            QVERIFY2(!ReadRtf(cut, &part), cut.constData());
            QVERIFY2(part.toPlainText().startsWith(QLatin1String("ab")), cut.constData());
            QVERIFY2(part.toPlainText().size() <= whole.size(), cut.constData());
            QCOMPARE(ReadRtfPlainText(cut), part.toPlainText());
        }
    }
};

OV_TEST(TestRtfControlWords)
#include "test_rtf_control_words.moc"
