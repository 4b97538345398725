// The writer's text and run output where it takes shortcuts: plain ASCII copied in
// blocks, characters that need escapes at every place in and around such blocks,
// runs opened before their text is known to write anything, formats remembered by
// their index within one document, format properties read in place, and the
// Windows-1252 bytes of every character.
#include "richtext/rtf_codepage.h"
#include "richtext/rtf_format_facts.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"
#include "rtf_test_util.h"
#include "test_registry.h"

#include <QTest>
#include <QTextImageFormat>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <map>

namespace {

// How a character of a plain (not symbol) font is written, one character at a time.
QByteArray escaped(QChar ch)
{
    const char16_t c = ch.unicode();
    static const std::map<char16_t, QByteArray> special = {
        {u'\\', "\\\\"}, {u'{', "\\{"}, {u'}', "\\}"}, {u'\t', "\\tab "}, {0x2028, "\\line "},
        {0x2029, ""},    {0xFFFC, ""},  {0xE9, "\\'e9"}, {0x20AC, "\\'80"}, {0x0178, "\\'9f"},
        {0x041F, "\\u1055?"}, {0xFFFD, "\\u-3?"}, {0x8000, "\\u-32768?"}, {0x0081, "\\u129?"}};
    // Others as the rules have them.
    if (auto it = special.find(c); it != special.end())
        return it->second;
    if (c < 0x20)
        return {};
    if (c < 0x80)
        return QByteArray(1, char(c));
    if (const int b = rtfcp::toCp1252(c); b >= 0)
        return "\\'" + QByteArray::number(b, 16);
    return "\\u" + QByteArray::number(qint16(c)) + '?';
}

// The document's only paragraph as written: what stands between "\pard" and "\par".
QByteArray paragraphOf(const QByteArray& rtf)
{
    const qsizetype from = rtf.indexOf("\\pard") + 5;
    return rtf.mid(from, rtf.lastIndexOf("\\par\r\n") - from);
}

QByteArray writtenAlone(const QString& text, const QTextCharFormat& format = {})
{
    QTextDocument doc;
    doc.setDefaultFont(QFont(QStringLiteral("Arial")));
    QTextCursor(&doc).insertText(text, format);
    return paragraphOf(WriteRtf(doc));
}

QTextCharFormat bold()
{
    QTextCharFormat f;
    f.setFontWeight(QFont::Bold);
    return f;
}

QTextCharFormat italic()
{
    QTextCharFormat f;
    f.setFontItalic(true);
    return f;
}

} // namespace

class TestRtfWriterText : public QObject {
    Q_OBJECT
private slots:
    void everySpecialCharacterAtEveryPlaceInAsciiText_data()
    {
        QTest::addColumn<QChar>("special");
        for (char16_t c : {u'\\', u'{', u'}', u'\t', char16_t(0x2028), char16_t(0xFFFC), char16_t(0x01), char16_t(0xE9),
                           char16_t(0x20AC), char16_t(0x0178), char16_t(0x041F), char16_t(0xFFFD), char16_t(0x8000),
                           char16_t(0x0081)})
            QTest::addRow("U+%04X", unsigned(c)) << QChar(c);
    }
    void everySpecialCharacterAtEveryPlaceInAsciiText()
    {
        QFETCH(QChar, special);
        // Lengths about the blocks plain text is copied in, and about 4096 characters.
        for (int length : {1, 2, 7, 8, 9, 15, 16, 17, 24, 25, 4095, 4096, 4097, 4105}) {
            for (int at = 0; at < length; ++at) {
                if (length > 100 && at > 20 && at < length - 20 && at != 4095 && at != 4096)
                    continue;
                QString text(length, QLatin1Char('a'));
                text[at] = special;
                QByteArray want;
                for (QChar c : text)
                    want += escaped(c);
                const QByteArray got = writtenAlone(text);
                if (got != (want.isEmpty() ? QByteArray() : "{" + want + "}"))
                    QFAIL(qPrintable(QStringLiteral("length %1, at %2: %3").arg(length).arg(at).arg(QString::fromLatin1(got.left(80)))));
            }
        }
    }

    void mixedTextLongerThanOneSlice()
    {
        const QString pieces[] = {QStringLiteral("Meeting "), QString::fromUtf8("Café "), QString::fromUtf8("Встреча "),
                                  QStringLiteral("{x} "), QStringLiteral("a\\b\t"), QString(QChar(0x2028))};
        QString text;
        for (int i = 0; text.size() < 20000; ++i)
            text += pieces[(i * 7) % 6];
        QByteArray want;
        for (QChar c : text)
            want += escaped(c);
        QCOMPARE(writtenAlone(text), "{" + want + "}");
    }

    void symbolFontTextIsUnicodeButItsSpaces()
    {
        QTextCharFormat symbol;
        symbol.setFontFamilies({QStringLiteral("Symbol")});
        QCOMPARE(writtenAlone(QStringLiteral("abcdefgh ij{"), symbol),
                 "{\\f1 \\u97?\\u98?\\u99?\\u100?\\u101?\\u102?\\u103?\\u104? \\u105?\\u106?\\u123?}");
    }

    void runsAroundFragmentsThatWriteNothing()
    {
        QTextDocument doc;
        QTextCursor c(&doc);
        // Nothing written by a run of another format: the runs on either side are one.
        c.insertText(QStringLiteral("a}"), bold());
        c.insertText(QString(QChar(0x01)), italic());
        c.insertText(QStringLiteral("{b"), bold());
        // Nothing written by a third format, then the bold run ends for a second one.
        QTextCharFormat underlined;
        underlined.setFontUnderline(true);
        c.insertText(QString(QChar(0x02)), underlined);
        c.insertText(QStringLiteral("\\c"), italic());
        // Formats that differ only in what RTF does not carry write as one run.
        QTextCharFormat spaced = italic();
        spaced.setFontLetterSpacing(150);
        c.insertText(QStringLiteral("d"), spaced);
        QCOMPARE(paragraphOf(WriteRtf(doc)), QByteArray("{\\b a\\}\\{b}{\\i \\\\cd}"));

        // A paragraph that starts with text that writes nothing.
        QTextDocument lead;
        QTextCursor l(&lead);
        l.insertText(QString(QChar(0x03)), bold());
        l.insertText(QStringLiteral("x"), QTextCharFormat());
        QCOMPARE(paragraphOf(WriteRtf(lead)), QByteArray("{x}"));
    }

    void formatsAreKnownByWhatTheyHoldNotByTheirNumber()
    {
        // Two documents whose formats carry the same numbers but different attributes.
        QTextDocument first, second;
        QTextCharFormat red = bold();
        red.setForeground(QColor(255, 0, 0));
        QTextCharFormat blue = italic();
        blue.setForeground(QColor(0, 0, 255));
        QTextCursor(&first).insertText(QStringLiteral("one"), red);
        QTextCursor(&second).insertText(QStringLiteral("two"), blue);
        const QByteArray firstAlone = WriteRtf(first);
        const QByteArray secondAlone = WriteRtf(second);
        QVERIFY(secondAlone.contains("{\\i\\cf1 two}"));
        QVERIFY(secondAlone.contains("\\red0\\green0\\blue255;"));
        QCOMPARE(WriteRtf(first), firstAlone);

        // A document changed after it was written is written as it now is.
        QTextCursor all(&first);
        all.select(QTextCursor::Document);
        QTextCharFormat plain;
        plain.setFontWeight(QFont::Normal);
        all.mergeCharFormat(plain);
        const QByteArray changed = WriteRtf(first);
        QVERIFY(changed.contains("{\\cf1 one}"));

        // The same content built with other format numbers writes the same bytes.
        QTextDocument rebuilt;
        QTextCursor r(&rebuilt);
        r.insertText(QStringLiteral("x"), blue);
        r.insertText(QStringLiteral("y"), italic());
        r.select(QTextCursor::Document);
        r.removeSelectedText();
        QTextCharFormat redPlain = red;
        redPlain.setFontWeight(QFont::Normal);
        r.insertText(QStringLiteral("one"), redPlain);
        QCOMPARE(WriteRtf(rebuilt), changed);
    }

    void tablesLargerThanTheText()
    {
        // Hundreds of colours and fonts, one character each: the tables written ahead of
        // the text are far longer than it.
        QTextDocument doc;
        QTextCursor c(&doc);
        for (int i = 0; i < 600; ++i) {
            QTextCharFormat f;
            f.setForeground(QColor::fromRgb(i * 401 % 256, i % 256, i / 256));
            f.setFontFamilies({QStringLiteral("Font %1").arg(i % 300)});
            c.insertText(QStringLiteral("x"), f);
        }
        const QByteArray rtf = WriteRtf(doc);
        QVERIFY(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0"));
        QVERIFY(rtf.contains("{\\f300\\fnil\\fcharset0 Font 299;}}\r\n"));
        QVERIFY(rtf.endsWith("\\par\r\n}\r\n"));
        QTextDocument back;
        QVERIFY(ReadRtf(rtf, &back));
        QCOMPARE(rtftest::describe(back), rtftest::describe(doc));
        QCOMPARE(WriteRtf(back), rtf);
    }

    void formatFactsReadAsQtReadsThem()
    {
        // Formats with only the common properties, with others beside them, and with
        // values of other types than the getters read (those read as none).
        std::vector<QTextFormat> formats;
        auto add = [&](std::initializer_list<std::pair<int, QVariant>> properties) {
            QTextCharFormat f;
            for (const auto& [id, value] : properties)
                f.setProperty(id, value);
            formats.push_back(f);
        };
        using P = QTextFormat;
        add({});
        add({{P::FontFamilies, QStringList{"Arial", "Other"}}, {P::FontPointSize, 10.5}, {P::FontWeight, 700},
             {P::FontItalic, true}, {P::ForegroundBrush, QBrush(Qt::red)}});
        add({{P::FontFamilies, QStringList{}}, {P::FontFamily, "Single"}, {P::FontPointSize, 9.0f}, {P::FontWeight, 599}});
        add({{P::FontFamilies, "Text"}, {P::FontPointSize, 12}, {P::FontWeight, 700.0}, {P::FontItalic, 1},
             {P::ForegroundBrush, QColor(Qt::red)}, {P::BackgroundBrush, QBrush()}});
        add({{P::ForegroundBrush, QBrush(QColor())}, {P::BackgroundBrush, QBrush(Qt::blue, Qt::Dense4Pattern)}});
        add({{P::FontFamilies, QStringList{"Arial"}}, {P::TextUnderlineStyle, int(QTextCharFormat::DashUnderline)},
             {P::FontUnderline, true}});
        add({{P::FontUnderline, true}, {P::FontStrikeOut, true}, {P::FontLetterSpacing, 120.0}});
        add({{P::FontPointSize, 8.0}, {P::TextVerticalAlignment, int(QTextCharFormat::AlignSubScript)}});
        add({{P::FontPointSize, 8.0}, {P::TextVerticalAlignment, int(QTextCharFormat::AlignSuperScript)},
             {P::FontStrikeOut, 1}});
        QTextImageFormat image;
        image.setName(QStringLiteral("picture"));
        image.setFontPointSize(12);
        formats.push_back(image);

        for (size_t i = 0; i < formats.size(); ++i) {
            const QTextCharFormat want = formats[i].toCharFormat();
            const RtfFormatFacts got = RtfFormatFacts::read(formats[i]);
            const QStringList families = want.fontFamilies().toStringList();
            const QString family = families.isEmpty() ? want.property(QTextFormat::FontFamily).toString() : families.first();
            QVERIFY2(got.family == family, qPrintable(QString::number(i)));
            QCOMPARE(got.points, want.fontPointSize());
            QCOMPARE(got.bold, want.hasProperty(QTextFormat::FontWeight) && want.fontWeight() >= QFont::DemiBold);
            QCOMPARE(got.italic, want.fontItalic());
            QCOMPARE(got.underline, want.fontUnderline());
            QCOMPARE(got.strike, want.fontStrikeOut());
            QCOMPARE(got.hasForeground, want.foreground().style() != Qt::NoBrush);
            if (got.hasForeground)
                QCOMPARE(got.foreground, want.foreground().color());
            QCOMPARE(got.hasBackground, want.background().style() != Qt::NoBrush);
            if (got.hasBackground)
                QCOMPARE(got.background, want.background().color());
            QCOMPARE(got.vertical, want.verticalAlignment());
            QCOMPARE(got.image, want.isImageFormat());
        }
    }

    void windows1252BytesForEveryCharacter()
    {
        // The byte each character decodes from is the byte it is written as; characters
        // no byte decodes to (and the page's unused bytes) have none.
        std::map<char16_t, int> byteOf;
        for (int b = 0; b < 256; ++b) {
            const char16_t u = rtfcp::decodeByte(1252, uchar(b)).unicode();
            if (u != b || b < 0x80 || b >= 0xA0)
                byteOf[u] = b;
        }
        for (int u = 0; u < 0x10000; ++u) {
            const auto it = byteOf.find(char16_t(u));
            const int want = it == byteOf.end() ? -1 : it->second;
            if (rtfcp::toCp1252(char16_t(u)) != want)
                QFAIL(qPrintable(QStringLiteral("U+%1").arg(u, 4, 16, QLatin1Char('0'))));
        }
    }
};
OV_TEST(TestRtfWriterText)
#include "test_rtf_writer_text.moc"
