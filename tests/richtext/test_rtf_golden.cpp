#include "richtext/rtf_picture.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_storage.h"
#include "richtext/rtf_writer.h"
#include "rtf_test_util.h"
#include "test_registry.h"

#include <QBuffer>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

using rtftest::describeRtf;

namespace {

QList<TWPRtfPicture> picturesOf(const QTextDocument& d)
{
    QList<TWPRtfPicture> out;
    for (QTextBlock b = d.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (TWPRtfPicture::isPictureFormat(it.fragment().charFormat()))
                for (int i = 0; i < it.fragment().length(); ++i)
                    out << TWPRtfPicture::fromFormat(it.fragment().charFormat());
    return out;
}

QByteArray hexLines(const QByteArray& data)
{
    QByteArray hex = data.toHex();
    QByteArray out;
    for (int i = 0; i < hex.size(); i += 60)
        out += hex.mid(i, 60) + "\r\n";
    return out;
}

QByteArray dibOf(const QImage& img)
{
    QByteArray bmp;
    QBuffer buf(&bmp);
    buf.open(QIODevice::WriteOnly);
    img.convertToFormat(QImage::Format_RGB888).save(&buf, "BMP");
    return bmp.mid(14);
}

} // namespace

class TestRtfGolden : public QObject {
    Q_OBJECT
private slots:
    void formatting_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << QByteArray("{\\rtf1 Hello\\par}") << "L|{}Hello{}¶";
        QTest::newRow("styles") << QByteArray("{\\rtf1 a{\\b b}{\\i i}{\\ul u}{\\strike s}\\b\\b0 n\\par}")
                                << "L|{}a{b}b{i}i{u}u{x}s{}n{}¶";
        QTest::newRow("plain resets") << QByteArray("{\\rtf1\\b\\i\\ul x\\plain y\\ulnone\\par}") << "L|{b,i,u}x{}y{}¶";
        QTest::newRow("underline kinds") << QByteArray("{\\rtf1\\uldb a\\ulnone b\\ulwave c\\ul0 d\\par}")
                                         << "L|{u}a{}b{u}c{}d{}¶";
        QTest::newRow("sizes") << QByteArray("{\\rtf1\\fs20 a\\fs21 b\\fs\\par}") << "L|{s=10}a{s=10.5}b{s=12}¶";
        QTest::newRow("colours") << QByteArray("{\\rtf1{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
                                               "\\cf1 r\\cf2 b\\cf0 a\\cf9 z\\highlight2 h\\par}")
                                 << "L|{c=#ff0000}r{c=#0000ff}b{}az{bg=#0000ff}h{bg=#0000ff}¶";
        QTest::newRow("auto colour entry") << QByteArray("{\\rtf1{\\colortbl;;\\red0\\green128\\blue0;}\\cf1 a\\cf2 g\\cf0\\par}")
                                           << "L|{}a{c=#008000}g{}¶";
        QTest::newRow("alignment") << QByteArray("{\\rtf1\\pard\\qc c\\par\\pard\\qr r\\par\\qj j\\par\\pard l\\par}")
                                   << "C|{}c{}¶\nR|{}r{}¶\nJ|{}j{}¶\nL|{}l{}¶";
        QTest::newRow("alignment at paragraph end") << QByteArray("{\\rtf1 late\\qc\\par}") << "C|{}late{}¶";
        QTest::newRow("line and tab") << QByteArray("{\\rtf1 a\\line b\\tab c\td\\par}") << "L|{}a<br>b\tc\td{}¶";
        QTest::newRow("paragraphs") << QByteArray("{\\rtf1 a\\par\\par b}") << "L|{}a{}¶\nL|{}¶\nL|{}b{}¶";
        QTest::newRow("final par closes the last paragraph") << QByteArray("{\\rtf1 a\\par}") << "L|{}a{}¶";
        QTest::newRow("paragraph mark formatting") << QByteArray("{\\rtf1 a{\\fs40\\b\\par}b\\par}")
                                                   << "L|{}a{s=20,b}¶\nL|{}b{}¶";
        QTest::newRow("super and sub") << QByteArray("{\\rtf1 x\\super 2\\nosupersub y\\sub i\\par}")
                                       << "L|{}x{sup}2{}y{sub}i{sub}¶";
        QTest::newRow("symbols") << QByteArray("{\\rtf1 \\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote\\~\\_\\\\\\{\\}\\par}")
                                 << QString::fromUtf8("L|{}—–•‘’“”\u00a0\u2011\\{}{}¶");
        QTest::newRow("hidden text") << QByteArray("{\\rtf1 a{\\v secret}b\\v c\\v0 d\\par}") << "L|{}abd{}¶";
        QTest::newRow("groups restore state") << QByteArray("{\\rtf1\\b a{\\b0\\i b}c\\par}") << "L|{b}a{i}b{b}c{b}¶";
    }
    void formatting()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(QString, expected);
        QCOMPARE(describeRtf(rtf), expected);
    }

    void fontsAndCharsets_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("expected");
        QTest::newRow("font table") << QByteArray("{\\rtf1\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\froman Times New Roman;}}"
                                                  "\\f1 t\\f0 a\\f7 u\\par}")
                                    << "L|{f=Times New Roman}t{f=Arial}a{}u{}¶";
        QTest::newRow("flat font table") << QByteArray("{\\rtf1{\\fonttbl\\f0\\fnil Courier New;\\f1\\fnil Arial;}\\f1 x\\par}")
                                         << "L|{f=Arial}x{f=Arial}¶";
        QTest::newRow("panose and alt names skipped")
            << QByteArray("{\\rtf1{\\fonttbl{\\f0\\froman\\fcharset0\\fprq2{\\*\\panose 02020603050405020304}Times New Roman{\\*\\falt Times};}}\\f0 x\\par}")
            << "L|{f=Times New Roman}x{f=Times New Roman}¶";
        QTest::newRow("cp1252 default") << QByteArray("{\\rtf1\\ansi \\'e9\\'80\\'9c\\'81\\par}")
                                        << QString::fromUtf8("L|{}é€œ\u0081{}¶");
        QTest::newRow("ansicpg1251") << QByteArray("{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8\\par}") << QString::fromUtf8("L|{}При{}¶");
        QTest::newRow("raw 8-bit bytes") << QByteArray("{\\rtf1\\ansi\\ansicpg1251 \xcf\xf0\xe8\\par}") << QString::fromUtf8("L|{}При{}¶");
        QTest::newRow("fcharset238 (1250)")
            << QByteArray("{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset238 Arial CE;}}\\f1 \\'b9\\'e8\\f0 \\'b9\\par}")
            << QString::fromUtf8("L|{f=Arial CE}ąč{f=Arial}¹{f=Arial}¶");
        QTest::newRow("fcharset161 (1253)") << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fcharset161 Arial Greek;}}\\f0 \\'e1\\'c1\\par}")
                                            << QString::fromUtf8("L|{f=Arial Greek}αΑ{f=Arial Greek}¶");
        QTest::newRow("fcharset162 (1254)") << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fcharset162 Arial Tur;}}\\f0 \\'fe\\'f0\\par}")
                                            << QString::fromUtf8("L|{f=Arial Tur}şğ{f=Arial Tur}¶");
        QTest::newRow("fcharset204 (1251)") << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fcharset204 Arial Cyr;}}\\f0 \\'e0\\par}")
                                            << QString::fromUtf8("L|{f=Arial Cyr}а{f=Arial Cyr}¶");
        QTest::newRow("symbol charset")
            << QByteArray("{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset2 Symbol;}{\\f2\\fcharset2 Wingdings;}}\\f1 a\\'b7\\u-3913?\\f2 J\\par}")
            << QString::fromUtf8("L|{f=Symbol}α••{f=Wingdings}\uF04A{f=Wingdings}¶");
        QTest::newRow("shift-jis") << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fcharset128 MS Mincho;}}\\f0 \\'82\\'a0\\'82\\'a2\\par}")
                                   << QString::fromUtf8("L|{f=MS Mincho}あい{f=MS Mincho}¶");
        QTest::newRow("font name in its charset") << QByteArray("{\\rtf1\\ansicpg1251{\\fonttbl{\\f0\\fcharset204 \\'c0\\'f0;}}\\f0 x\\par}")
                                                  << QString::fromUtf8("L|{f=Ар}x{f=Ар}¶");
    }
    void fontsAndCharsets()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(QString, expected);
        QCOMPARE(describeRtf(rtf), expected);
    }

    void unicode_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("expected");
        QTest::newRow("uc1 with surrogates") << QByteArray("{\\rtf1\\uc1 \\u1055?\\u8364?\\u-10179?\\u-8704?\\par}")
                                             << QString::fromUtf8("L|{}П€😀{}¶");
        QTest::newRow("uc2 skips hex escapes") << QByteArray("{\\rtf1\\uc2\\u1055\\'cf\\'f0x\\par}") << QString::fromUtf8("L|{}Пx{}¶");
        QTest::newRow("uc0") << QByteArray("{\\rtf1\\uc0\\u1055 x\\par}") << QString::fromUtf8("L|{}Пx{}¶");
        QTest::newRow("uc is scoped") << QByteArray("{\\rtf1{\\uc2\\u1055??}\\u1056?y\\par}") << QString::fromUtf8("L|{}ПРy{}¶");
        QTest::newRow("control word counts as one") << QByteArray("{\\rtf1\\u1055\\tab z\\par}") << QString::fromUtf8("L|{}Пz{}¶");
        QTest::newRow("skip ends at group end") << QByteArray("{\\rtf1\\uc3{\\u1055}ab\\par}") << QString::fromUtf8("L|{}Пab{}¶");
        QTest::newRow("upr and ud") << QByteArray("{\\rtf1{\\upr{ansi text}{\\*\\ud{uni \\u1055?}}}\\par}") << QString::fromUtf8("L|{}uni П{}¶");
    }
    void unicode()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(QString, expected);
        QCOMPARE(describeRtf(rtf), expected);
    }

    void writerGolden()
    {
        QTextDocument d;
        d.setDefaultFont(QFont(QStringLiteral("Arial")));
        QTextCursor c(&d);
        QTextBlockFormat centred;
        centred.setAlignment(Qt::AlignHCenter);
        c.setBlockFormat(centred);
        QTextCharFormat f;
        f.setFontFamilies({QStringLiteral("Times New Roman")});
        f.setFontPointSize(10);
        f.setFontWeight(QFont::Bold);
        f.setForeground(QColor(255, 0, 0));
        c.insertText(QStringLiteral("Hi {x}\\"), f);
        c.insertBlock(QTextBlockFormat(), QTextCharFormat());
        c.insertText(QString::fromUtf8("€ Привет\tä") + QChar(QChar::LineSeparator) + QStringLiteral("z"));
        QTextCharFormat sym;
        sym.setFontFamilies({QStringLiteral("Symbol")});
        c.insertText(QStringLiteral("a "), sym);
        const QByteArray expected =
            "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}{\\f1\\fnil\\fcharset0 Times New Roman;}"
            "{\\f2\\fnil\\fcharset2 Symbol;}}\r\n"
            "{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
            "\\uc1\r\n"
            "\\pard\\qc{\\f1\\fs20\\b\\cf1 Hi \\{x\\}\\\\}\\par\r\n"
            "\\pard{\\'80 \\u1055?\\u1088?\\u1080?\\u1074?\\u1077?\\u1090?\\tab \\'e4\\line z}{\\f2 \\u97? }\\par\r\n"
            "}\r\n";
        QCOMPARE(WriteRtf(d), expected);
        QCOMPARE(rtftest::normalise(expected), expected);
    }

    void pictures()
    {
        const QImage img = rtftest::sampleImage(6, 4);
        const QByteArray png = rtftest::pngBytes(img);
        const QByteArray rtf = "{\\rtf1 a{\\pict\\pngblip\\picw6\\pich4\\picwgoal90\\pichgoal60\r\n" + hexLines(png) + "}b\\par}";
        QTextDocument d;
        QVERIFY(ReadRtf(rtf, &d));
        QCOMPARE(d.toPlainText().size(), 3);
        auto pics = picturesOf(d);
        QCOMPARE(pics.size(), 1);
        QCOMPARE(int(pics[0].kind), int(TWPRtfPicture::Kind::Png));
        QCOMPARE(pics[0].data, png);
        QCOMPARE(pics[0].decode().size(), QSize(6, 4));
        QCOMPARE(pics[0].goalw, 90);
        // Written back with the same bytes and read back equal.
        QTextDocument d2;
        QVERIFY(ReadRtf(WriteRtf(d), &d2));
        QCOMPARE(picturesOf(d2), pics);
        QCOMPARE(rtftest::describe(d2), rtftest::describe(d));
    }

    void pictureKinds_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QSize>("decoded");
        QTest::addColumn<QSizeF>("twips");
        const QImage img = rtftest::sampleImage(5, 3);
        QByteArray jpeg;
        {
            QBuffer b(&jpeg);
            b.open(QIODevice::WriteOnly);
            img.save(&b, "JPEG");
        }
        QTest::newRow("jpeg via bin") << QByteArray("{\\rtf1{\\pict\\jpegblip\\picw5\\pich3\\bin" + QByteArray::number(jpeg.size()) + " " + jpeg + "}\\par}")
                                      << int(TWPRtfPicture::Kind::Jpeg) << jpeg << QSize(5, 3) << QSizeF(75, 45);
        const QByteArray dib = dibOf(img);
        QTest::newRow("dibitmap") << QByteArray("{\\rtf1{\\pict\\dibitmap0\\picw5\\pich3\\picwgoal150\\pichgoal90 " + dib.toHex() + "}\\par}")
                                  << int(TWPRtfPicture::Kind::Dib) << dib << QSize(5, 3) << QSizeF(150, 90);
        const QByteArray ddb = QByteArray::fromHex("ff00" "00ff"); // 8x2 monochrome, 2 bytes a row
        QTest::newRow("wbitmap") << QByteArray("{\\rtf1{\\pict\\wbitmap0\\wbmbitspixel1\\wbmplanes1\\wbmwidthbytes2\\picw8\\pich2 ff0000ff}\\par}")
                                 << int(TWPRtfPicture::Kind::WBitmap) << ddb << QSize(8, 2) << QSizeF(120, 30);
        const QByteArray wmf = QByteArray::fromHex("0100090000030a00000000000300000000000000");
        QTest::newRow("wmf size in hundredths of mm") << QByteArray("{\\rtf1{\\pict\\wmetafile8\\picw2540\\pich1270 " + wmf.toHex() + "}\\par}")
                                                      << int(TWPRtfPicture::Kind::Wmf) << wmf << QSize(0, 0) << QSizeF(1440, 720);
        const QByteArray emf = QByteArray::fromHex("01000000600000000000000000000000");
        QTest::newRow("emf scaled") << QByteArray("{\\rtf1{\\pict\\emfblip\\picwgoal1000\\pichgoal500\\picscalex50\\picscaley200 " + emf.toHex() + "}\\par}")
                                    << int(TWPRtfPicture::Kind::Emf) << emf << QSize(0, 0) << QSizeF(500, 1000);
        QTest::newRow("odd digit and junk in hex") << QByteArray("{\\rtf1{\\pict\\emfblip\\picwgoal10\\pichgoal10 01 0x2\r\n0z3 4}\\par}")
                                                   << int(TWPRtfPicture::Kind::Emf) << QByteArray::fromHex("010203") << QSize(0, 0) << QSizeF(10, 10);
    }
    void pictureKinds()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(int, kind);
        QFETCH(QByteArray, data);
        QFETCH(QSize, decoded);
        QFETCH(QSizeF, twips);
        QTextDocument d;
        ReadRtf(rtf, &d);
        const auto pics = picturesOf(d);
        QCOMPARE(pics.size(), 1);
        QCOMPARE(int(pics[0].kind), kind);
        QCOMPARE(pics[0].data, data);
        QCOMPARE(pics[0].decode().size(), decoded);
        QCOMPARE(pics[0].displayTwips(), twips);
        // Load and save keep the picture's bytes and size.
        QTextDocument d2;
        ReadRtf(WriteRtf(d), &d2);
        QCOMPARE(picturesOf(d2), pics);
        QCOMPARE(picturesOf(d2)[0].displayTwips(), twips);
    }

    void pictureAlternatives_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("text");
        const QByteArray png = rtftest::pngBytes(rtftest::sampleImage(2, 2)).toHex();
        QTest::newRow("shppict shown, nonshppict skipped")
            << QByteArray("{\\rtf1 a{\\*\\shppict{\\pict{\\*\\picprop{\\sp{\\sn x}{\\sv 1}}}\\pngblip\\picw2\\pich2 " + png
                          + "}}{\\nonshppict{\\pict\\wmetafile8\\picw10\\pich10 0100}}b\\par}")
            << 1 << QString::fromUtf8("a\uFFFCb");
        QTest::newRow("unsupported kind dropped") << QByteArray("{\\rtf1 a{\\pict\\macpict 0011}b\\par}") << 0 << "ab";
        QTest::newRow("picture without data dropped") << QByteArray("{\\rtf1 a{\\pict\\pngblip}b\\par}") << 0 << "ab";
        QTest::newRow("picture in skipped destination") << QByteArray("{\\rtf1 a{\\*\\foo{\\pict\\pngblip " + png + "}}b\\par}") << 0 << "ab";
    }
    void pictureAlternatives()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(int, count);
        QFETCH(QString, text);
        QTextDocument d;
        ReadRtf(rtf, &d);
        QCOMPARE(picturesOf(d).size(), count);
        QCOMPARE(d.toPlainText(), text);
    }

    void malformed_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("wellFormed");
        QTest::newRow("truncated") << QByteArray("{\\rtf1 Hello {\\b wor") << "Hello wor" << false;
        QTest::newRow("unknown words and destinations")
            << QByteArray("{\\rtf1{\\*\\foo bar}\\foo12 x{\\*\\generator Riched20 10.0;}\\bar-5 y{\\info{\\title T}}\\par}") << "xy" << true;
        QTest::newRow("stray closing brace") << QByteArray("{\\rtf1 a}}b") << "a" << false;
        QTest::newRow("huge bin") << QByteArray("{\\rtf1 a{\\pict\\pngblip\\bin2000000000 xyz}b\\par}") << "a" << false;
        QTest::newRow("negative bin") << QByteArray("{\\rtf1 a\\bin-5 b\\par}") << "ab" << true;
        QTest::newRow("bad hex escape") << QByteArray("{\\rtf1 a\\'zzb\\'4\\par}") << "azzb" << false;
        QTest::newRow("huge numbers") << QByteArray("{\\rtf1\\fs99999999999999999 a\\u99999999999? b\\uc-7\\u65 c\\par}") << QString::fromUtf8("a\uFFFF bAc") << true;
        QTest::newRow("backslash at end") << QByteArray("{\\rtf1 a\\") << "a" << false;
        QTest::newRow("nul bytes") << QByteArray("{\\rtf1 a\0b\\par}", 15) << "ab" << true;
        QTest::newRow("plain text") << QByteArray("Hello\r\nW\xf6rld") << QString::fromUtf8("Hello\nWörld") << false;
        QTest::newRow("empty") << QByteArray() << "" << true;
        QTest::newRow("no outer group") << QByteArray("{\\rtf1") << "" << false;
    }
    void malformed()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(QString, text);
        QFETCH(bool, wellFormed);
        QTextDocument d;
        QCOMPARE(ReadRtf(rtf, &d), wellFormed);
        QCOMPARE(d.toPlainText(), text);
    }

    void deepNesting()
    {
        const int depth = 100000;
        QByteArray rtf = "{\\rtf1 a";
        rtf += QByteArray(depth, '{') + "\\b x" + QByteArray(depth, '}') + " y\\par}";
        QTextDocument d;
        QVERIFY(ReadRtf(rtf, &d));
        QCOMPARE(d.toPlainText(), QStringLiteral("ax y"));
        QVERIFY(TWPRtfStorage(QByteArray("{\\rtf1") + QByteArray(depth, '{')).isEmpty());
    }

    void storageEmptiness_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<bool>("empty");
        QTest::newRow("no bytes") << QByteArray() << true;
        QTest::newRow("header only") << QByteArray("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}{\\colortbl ;\\red1\\green2\\blue3;}}") << true;
        QTest::newRow("empty paragraphs") << QByteArray("{\\rtf1\\pard\\par\\par}") << true;
        QTest::newRow("blanks and tabs") << QByteArray("{\\rtf1 \\tab  \t\\line\\~\\par}") << true;
        QTest::newRow("hidden destinations") << QByteArray("{\\rtf1{\\*\\generator Msftedit;}{\\info{\\author Me}}{\\stylesheet{\\s0 Normal;}}}") << true;
        QTest::newRow("text") << QByteArray("{\\rtf1 x}") << false;
        QTest::newRow("escaped brace") << QByteArray("{\\rtf1 \\{}") << false;
        QTest::newRow("hex char") << QByteArray("{\\rtf1 \\'e9}") << false;
        QTest::newRow("unicode") << QByteArray("{\\rtf1 \\u1055?}") << false;
        QTest::newRow("bullet word") << QByteArray("{\\rtf1 \\bullet}") << false;
        QTest::newRow("picture") << QByteArray("{\\rtf1{\\pict\\pngblip 00}}") << false;
        QTest::newRow("plain text") << QByteArray("hello") << false;
        QTest::newRow("plain blanks") << QByteArray(" \r\n") << true;
    }
    void storageEmptiness()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(bool, empty);
        TWPRtfStorage s(rtf);
        QCOMPARE(s.isEmpty(), empty);
        TWPRtfStorage copy;
        copy.assign(s);
        QVERIFY(copy == s);
        copy.clear();
        QVERIFY(copy.isEmpty());
        QCOMPARE(copy != s, !rtf.isEmpty());
    }
};
OV_TEST(TestRtfGolden)
#include "test_rtf_golden.moc"
