// The reader's and writer's exact results for a varied corpus, pinned as digests: every
// block and fragment of the document with all of its format properties, the bytes
// written back, the plain text, the bounded starts the renderer reads and the content
// test. Any change to what is read or written shows here, however small.
//
// The digests live in data/reader_output.txt. After a deliberate change of output,
// run the test with OV_UPDATE_PINNED_OUTPUT=1 to write them anew, and review the diff.
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"
#include "rtf_samples.h"
#include "rtf_test_util.h"
#include "test_registry.h"
#include "test_support.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDebug>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <map>

namespace {

struct Case {
    QString name;
    QByteArray rtf;
};

QString digest(const QByteArray& bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().left(20));
}

QString propertiesOf(const QTextFormat& f)
{
    const QMap<int, QVariant> props = f.properties();
    QString out;
    QDebug d(&out);
    d.nospace() << "type=" << f.type() << " object=" << f.objectIndex();
    for (auto it = props.begin(); it != props.end(); ++it)
        d << ' ' << Qt::hex << it.key() << Qt::dec << '=' << it.value();
    return out;
}

// Every block, fragment and format property of the document.
QByteArray dumpDocument(const QTextDocument& doc)
{
    QString out;
    out += QStringLiteral("font=%1 blocks=%2 chars=%3\n")
               .arg(doc.defaultFont().toString())
               .arg(doc.blockCount())
               .arg(doc.characterCount());
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        out += QStringLiteral("B %1 %2 | %3 | %4\n")
                   .arg(b.position())
                   .arg(b.length())
                   .arg(propertiesOf(b.blockFormat()), propertiesOf(b.charFormat()));
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            out += QStringLiteral("F %1 %2 [%3] | %4\n")
                       .arg(frag.position())
                       .arg(frag.length())
                       .arg(QString::fromLatin1(frag.text().toUtf8().toHex()), propertiesOf(frag.charFormat()));
        }
    }
    return out.toUtf8();
}

QList<QByteArray> storedCorpus()
{
    QFile file(ovtest::sourceDir() + QStringLiteral("/tests/richtext/data/reader_corpus.bin"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray all = file.readAll();
    QList<QByteArray> out;
    qsizetype at = 0;
    while (at < all.size() && all.mid(at, 3) == "@@ ") {
        const qsizetype eol = all.indexOf('\n', at);
        const qsizetype len = all.mid(at + 3, eol - at - 3).toLongLong();
        out << all.mid(eol + 1, len);
        at = eol + 1 + len + 1;
    }
    return out;
}

// Text as word processors write it, with everything the reader keeps apart: fonts in
// several charsets, sizes, styles, colours and highlights, raised and lowered text,
// hidden text, alignment, tabs and line breaks, table cells, Unicode escapes.
QByteArray variedDocument(int seed, int bytes)
{
    QRandomGenerator rng{quint32(seed)};
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
                     "{\\f1\\froman\\fcharset0 Times New Roman;}{\\f2\\fnil\\fcharset204 Arial Cyr;}"
                     "{\\f3\\fnil\\fcharset2 Symbol;}{\\f4\\fnil\\fcharset161 Greek;}{\\f5\\fnil\\fcharset128 MS Mincho;}}"
                     "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;\\red0\\green128\\blue0;}"
                     "{\\*\\generator Writer 1.0;}{\\info{\\title A title}}\\viewkind4\\uc1\r\n";
    static const char* texts[] = {"Meeting", "caf\\'e9", "\\'c2\\'f1\\'f2\\'f0\\'e5\\'f7\\'e0", "\\'e1\\'e2",
                                  "\\u8364?", "\\u-3913?", "\\{braces\\}", "back\\\\slash", "a\\tab b",
                                  "x\\line y", "\\~nb", "\\emdash", "\\'82\\'a0", "\\ldblquote q\\rdblquote",
                                  "plain text ", "3pm"};
    static const char* attrs[] = {"\\b", "\\b0", "\\i", "\\ul", "\\ulnone", "\\strike", "\\super", "\\sub",
                                  "\\nosupersub", "\\cf1", "\\cf2", "\\cf0", "\\highlight3", "\\fs16", "\\fs30",
                                  "\\f1", "\\f2", "\\f3", "\\f4", "\\f5", "\\plain", "\\v", "\\v0", "\\up6",
                                  "\\cb2", "\\scaps"};
    static const char* paras[] = {"\\pard", "\\pard\\qc", "\\pard\\qr", "\\pard\\qj", "\\pard\\intbl", ""};
    while (rtf.size() < bytes) {
        rtf += paras[rng.bounded(int(std::size(paras)))];
        const int runs = 1 + rng.bounded(5);
        for (int r = 0; r < runs; ++r) {
            const bool group = rng.bounded(2);
            if (group)
                rtf += '{';
            for (int a = rng.bounded(4); a > 0; --a)
                rtf += attrs[rng.bounded(int(std::size(attrs)))];
            rtf += ' ';
            for (int w = 1 + rng.bounded(4); w > 0; --w) {
                rtf += texts[rng.bounded(int(std::size(texts)))];
                rtf += ' ';
            }
            if (group)
                rtf += '}';
            if (rng.bounded(8) == 0)
                rtf += "\\cell ";
        }
        rtf += rng.bounded(10) == 0 ? "\\row\r\n" : "\\par\r\n";
    }
    return rtf + "}";
}

QByteArray pictureDocument()
{
    const QImage img = rtftest::sampleImage(7, 5);
    const QByteArray png = rtftest::pngBytes(img);
    QByteArray bmp;
    QBuffer buf(&bmp);
    buf.open(QIODevice::WriteOnly);
    img.convertToFormat(QImage::Format_RGB888).save(&buf, "BMP");
    return "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 before {\\pict\\pngblip\\picw7\\pich5\\picwgoal300\\pichgoal200 "
        + png.toHex() + "} middle {\\*\\shppict{\\pict\\pngblip\\picscalex50\\picscaley200 " + png.toHex()
        + "}}{\\nonshppict{\\pict\\wmetafile8 0100}}\\par{\\pict\\dibitmap0\\picw7\\pich5 " + bmp.mid(14).toHex()
        + "}\\par{\\pict\\pngblip\\bin" + QByteArray::number(png.size()) + " " + png + "} after\\par}";
}

// A document made through the editing interface (as the editor builds one), written.
QByteArray writtenEditedDocument()
{
    QRandomGenerator rng(7);
    QTextDocument doc;
    doc.setDefaultFont(QFont(QStringLiteral("Arial")));
    QTextCursor c(&doc);
    const QStringList fonts = {QStringLiteral("Arial"), QStringLiteral("Times New Roman"), QStringLiteral("Symbol"),
                               QStringLiteral("\"Quoted; Font\"")};
    const QStringList words = {QStringLiteral("Meeting"), QString::fromUtf8("Café"), QString::fromUtf8("Встреча"),
                               QStringLiteral("{x}\\"), QString::fromUtf8("€ ≠"), QStringLiteral("a\tb")};
    for (int p = 0; p < 60; ++p) {
        QTextBlockFormat bf;
        bf.setAlignment(p % 4 == 0 ? Qt::AlignHCenter : p % 4 == 1 ? Qt::AlignRight : Qt::AlignLeft);
        c.insertBlock(bf);
        for (int r = 0; r < 3; ++r) {
            QTextCharFormat f;
            f.setFontFamilies({fonts[rng.bounded(fonts.size())]});
            f.setFontPointSize(6 + rng.bounded(20) / 2.0);
            f.setFontWeight(rng.bounded(2) ? QFont::Bold : QFont::Normal);
            f.setFontItalic(rng.bounded(3) == 0);
            f.setFontUnderline(rng.bounded(4) == 0);
            if (rng.bounded(2))
                f.setForeground(QColor::fromRgb(rng.bounded(256), 0, rng.bounded(256)));
            if (rng.bounded(5) == 0)
                f.setBackground(QColor(Qt::yellow));
            if (rng.bounded(6) == 0)
                f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
            c.insertText(words[rng.bounded(words.size())] + QChar::LineSeparator + words[rng.bounded(words.size())], f);
        }
    }
    return WriteRtf(doc);
}

QList<Case> corpus()
{
    QList<Case> out;
    int i = 0;
    for (const QByteArray& rtf : storedCorpus())
        out << Case{QStringLiteral("stored-%1").arg(i++, 3, 10, QLatin1Char('0')), rtf};
    for (const rtfsamples::Sample& s : rtfsamples::all())
        out << Case{QString::fromLatin1(s.name).replace(QLatin1Char(' '), QLatin1Char('_')), s.rtf};
    for (int seed = 1; seed <= 6; ++seed)
        out << Case{QStringLiteral("varied-%1").arg(seed), variedDocument(seed, seed * 6000)};
    out << Case{QStringLiteral("pictures"), pictureDocument()};
    out << Case{QStringLiteral("edited"), writtenEditedDocument()};
    out << Case{QStringLiteral("plain-1252"), QByteArray("plain caf\xe9\r\nsecond line\r\n")};
    out << Case{QStringLiteral("plain-utf8"), QByteArray("\xEF\xBB\xBFUTF-8 \xe2\x82\xac text")};
    out << Case{QStringLiteral("empty"), QByteArray()};
    out << Case{QStringLiteral("blanks-only"), QByteArray("{\\rtf1\\ansi {\\b   }\\tab\\line\\par\\par}")};
    return out;
}

// Everything the reader and writer make of one input, as one line of digests.
QString resultLine(const Case& c)
{
    QTextDocument doc;
    const bool ok = ReadRtf(c.rtf, &doc);
    const QByteArray written = WriteRtf(doc);
    QTextDocument again;
    ReadRtf(written, &again);
    QStringList fields{c.name,
                       QString::number(int(ok)),
                       QString::number(int(RtfHasContent(c.rtf))),
                       digest(dumpDocument(doc)),
                       digest(written),
                       digest(doc.toPlainText().toUtf8()),
                       digest(WriteRtf(again))};
    for (const TWPRtfReadLimit limit : {TWPRtfReadLimit{40, 3}, TWPRtfReadLimit{600, 12}}) {
        QTextDocument start;
        const bool cut = ReadRtfStart(c.rtf, &start, limit);
        fields << QString::number(int(cut)) + QLatin1Char(':') + digest(dumpDocument(start));
    }
    return fields.join(QLatin1Char(' '));
}

QString pinnedPath() { return ovtest::sourceDir() + QStringLiteral("/tests/richtext/data/reader_output.txt"); }

} // namespace

class TestRtfPinnedOutput : public QObject {
    Q_OBJECT
private slots:
    void corpusIsThere() { QVERIFY2(storedCorpus().size() > 100, "tests/richtext/data/reader_corpus.bin is missing"); }

    void everyInputReadsAndWritesAsPinned()
    {
        QStringList lines;
        for (const Case& c : corpus())
            lines << resultLine(c);
        if (qEnvironmentVariableIntValue("OV_UPDATE_PINNED_OUTPUT")) {
            QFile out(pinnedPath());
            QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
            out.write(lines.join(QLatin1Char('\n')).toUtf8() + '\n');
            QSKIP("pinned output written anew");
        }
        QFile in(pinnedPath());
        QVERIFY2(in.open(QIODevice::ReadOnly), qPrintable(pinnedPath()));
        const QStringList expected = QString::fromUtf8(in.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), expected.size());
        for (qsizetype i = 0; i < lines.size(); ++i)
            QCOMPARE(lines[i], expected[i]);
    }

    // Reading only the plain text gives exactly what the document read from the same
    // bytes gives as its plain text.
    void plainTextWithoutDocument()
    {
        QList<Case> cases = corpus();
        cases << Case{QStringLiteral("frame marks"), QByteArray("{\\rtf1 a\\u-560?b\\u-559?c\\line d\\~e\\par}")};
        cases << Case{QStringLiteral("plain controls"), QByteArray("a\rb\xa0" "c\r\n\r\n")};
        cases << Case{QStringLiteral("cut picture"), QByteArray("{\\rtf1 x{\\pict\\pngblip 89504e47")};
        for (const Case& c : cases) {
            QTextDocument doc;
            ReadRtf(c.rtf, &doc);
            QVERIFY2(ReadRtfPlainText(c.rtf) == doc.toPlainText(), qPrintable(c.name));
        }
    }
};

OV_TEST(TestRtfPinnedOutput)
#include "test_rtf_pinned_output.moc"
