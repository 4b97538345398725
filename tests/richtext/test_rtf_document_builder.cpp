// The reader builds documents straight into Qt's piece table, a paragraph at a time.
// Whatever it is asked, the document must come out as a cursor inserting and then
// reformatting the same things would leave it.
#include "richtext/rtf_document_builder.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"
#include "test_registry.h"

#include <QRandomGenerator>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextImageFormat>

namespace {

// Everything a document shows: per block its formats, then its fragments.
QStringList describe(const QTextDocument& doc)
{
    auto props = [](const QTextFormat& f) {
        QStringList out;
        const QMap<int, QVariant> map = f.properties();
        for (auto it = map.begin(); it != map.end(); ++it)
            out << QStringLiteral("%1=%2").arg(it.key()).arg(it.value().toString() + QLatin1Char('/') + QString::fromLatin1(it.value().typeName()));
        return out.join(QLatin1Char(' '));
    };
    QStringList lines;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        lines << QStringLiteral("block [%1] mark [%2]").arg(props(b.blockFormat()), props(b.charFormat()));
        for (auto it = b.begin(); !it.atEnd(); ++it)
            lines << QStringLiteral("  '%1' [%2]").arg(it.fragment().text(), props(it.fragment().charFormat()));
    }
    return lines;
}

// The same requests carried out through a cursor, one by one.
class CursorBuilder {
public:
    explicit CursorBuilder(QTextDocument* doc) : m_doc(doc), m_cursor(doc) { m_cursor.beginEditBlock(); }
    void startBlock(const QTextBlockFormat& b, const QTextCharFormat& m) { m_cursor.insertBlock(b, m); }
    void setBlockFormats(const QTextBlockFormat& b, const QTextCharFormat& m)
    {
        m_cursor.setBlockFormat(b);
        m_cursor.setBlockCharFormat(m);
    }
    void setBlockFormat(const QTextBlockFormat& b) { m_cursor.setBlockFormat(b); }
    void addText(const QString& text, const QTextCharFormat& f) { m_cursor.insertText(text, f); }
    void finish(const QFont& font)
    {
        m_doc->setDefaultFont(font);
        m_cursor.endEditBlock();
    }

private:
    QTextDocument* m_doc;
    QTextCursor m_cursor;
};

QTextCharFormat randomCharFormat(QRandomGenerator& rng)
{
    QTextCharFormat f;
    if (rng.bounded(2))
        f.setFontFamilies({rng.bounded(2) ? QStringLiteral("Arial") : QStringLiteral("Courier New")});
    if (rng.bounded(2))
        f.setFontPointSize(8 + rng.bounded(4));
    if (rng.bounded(3) == 0)
        f.setFontWeight(QFont::Bold);
    if (rng.bounded(3) == 0)
        f.setForeground(QColor::fromRgb(rng.bounded(3) * 100, 0, 0));
    return f;
}

QTextBlockFormat randomBlockFormat(QRandomGenerator& rng)
{
    QTextBlockFormat f;
    const Qt::Alignment aligns[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter, Qt::AlignJustify};
    if (rng.bounded(2))
        f.setAlignment(aligns[rng.bounded(4)]);
    return f;
}

QString randomText(QRandomGenerator& rng, bool* startsBlocks)
{
    static const QString pieces[] = {QStringLiteral("word"), QStringLiteral(" "), QString(QChar(0x2028)), QStringLiteral("\t"),
                                     QString::fromUtf8("Grüße"), QString(QChar(0xFDD0)), QString(QChar(0xFDD1))};
    QString text;
    for (int n = 1 + rng.bounded(4); n > 0; --n)
        text += pieces[rng.bounded(rng.bounded(8) == 0 ? 7 : 5)];
    *startsBlocks = text.contains(QChar(0xFDD0)) || text.contains(QChar(0xFDD1));
    return text;
}

// One random document's requests, in the order the reader makes them, given to both.
void buildBoth(quint32 seed, QTextDocument* fast, QTextDocument* reference)
{
    QRandomGenerator rng(seed);
    TWPRtfDocumentBuilder builder(fast);
    reference->clear();
    CursorBuilder cursor(reference);
    const int paragraphs = 1 + rng.bounded(5);
    for (int p = 0; p < paragraphs; ++p) {
        const QTextBlockFormat start = randomBlockFormat(rng);
        const QTextCharFormat startMark = randomCharFormat(rng);
        if (p > 0) {
            builder.startBlock(builder.blockFormatIndex(start), builder.charFormatIndex(startMark));
            cursor.startBlock(start, startMark);
        } else if (rng.bounded(4)) {
            builder.setBlockFormats(builder.blockFormatIndex(start), builder.charFormatIndex(startMark));
            cursor.setBlockFormats(start, startMark);
        }
        for (int r = rng.bounded(4); r > 0; --r) {
            if (rng.bounded(6) == 0) {
                QTextImageFormat image;
                image.setName(QStringLiteral("picture"));
                image.setWidth(10);
                builder.addText(QString(QChar::ObjectReplacementCharacter), builder.charFormatIndex(image), false);
                cursor.addText(QString(QChar::ObjectReplacementCharacter), image);
                continue;
            }
            bool startsBlocks = false;
            const QString text = randomText(rng, &startsBlocks);
            const QTextCharFormat f = randomCharFormat(rng);
            builder.addText(text, builder.charFormatIndex(f), startsBlocks);
            cursor.addText(text, f);
        }
        if (p + 1 < paragraphs || rng.bounded(2)) {
            const QTextBlockFormat end = randomBlockFormat(rng);
            const QTextCharFormat endMark = randomCharFormat(rng);
            builder.setBlockFormats(builder.blockFormatIndex(end), builder.charFormatIndex(endMark));
            cursor.setBlockFormats(end, endMark);
        } else if (rng.bounded(2)) {
            const QTextBlockFormat end = randomBlockFormat(rng);
            builder.setBlockFormat(builder.blockFormatIndex(end));
            cursor.setBlockFormat(end);
        }
    }
    QFont font(rng.bounded(2) ? QStringLiteral("Arial") : QStringLiteral("Times New Roman"));
    font.setPointSizeF(12);
    builder.finish(font);
    cursor.finish(font);
}

} // namespace

class TestRtfDocumentBuilder : public QObject {
    Q_OBJECT
private slots:
    void buildsWhatACursorWould()
    {
        for (quint32 seed = 1; seed <= 400; ++seed) {
            QTextDocument fast, reference;
            buildBoth(seed, &fast, &reference);
            const QStringList got = describe(fast), want = describe(reference);
            if (got != want)
                QFAIL(qPrintable(QStringLiteral("seed %1\n got:\n%2\n want:\n%3").arg(seed).arg(got.join(QLatin1Char('\n')), want.join(QLatin1Char('\n')))));
            QCOMPARE(WriteRtf(fast), WriteRtf(reference));
            QCOMPARE(fast.defaultFont(), reference.defaultFont());
        }
    }

    // Runs that follow on in one format become one fragment, as a cursor joins them
    // (pictures of one format too); a run in another format keeps them apart.
    void runsInOneFormatJoinAsACursorJoinsThem()
    {
        QTextCharFormat plain, bold;
        plain.setFontFamilies({QStringLiteral("Arial")});
        bold.setFontFamilies({QStringLiteral("Arial")});
        bold.setFontWeight(QFont::Bold);
        QTextImageFormat image;
        image.setName(QStringLiteral("picture"));
        const QList<QPair<QString, QTextCharFormat>> runs = {
            {QStringLiteral("one "), plain}, {QStringLiteral("two "), plain}, {QStringLiteral("three "), bold},
            {QStringLiteral("four"), plain}, {QString(QChar::ObjectReplacementCharacter), image},
            {QString(QChar::ObjectReplacementCharacter), image}, {QStringLiteral("five"), plain}, {QStringLiteral("six"), plain}};
        QTextDocument fast, reference;
        {
            TWPRtfDocumentBuilder builder(&fast);
            reference.clear();
            CursorBuilder cursor(&reference);
            for (int p = 0; p < 3; ++p) {
                if (p > 0) {
                    builder.startBlock(builder.blockFormatIndex(QTextBlockFormat()), builder.charFormatIndex(plain));
                    cursor.startBlock(QTextBlockFormat(), plain);
                }
                for (const auto& [text, format] : runs) {
                    builder.addText(text, builder.charFormatIndex(format), false);
                    cursor.addText(text, format);
                }
            }
            builder.finish(QFont(QStringLiteral("Arial")));
            cursor.finish(QFont(QStringLiteral("Arial")));
        }
        QCOMPARE(describe(fast), describe(reference));
        int fragments = 0;
        for (auto it = fast.begin().begin(); !it.atEnd(); ++it)
            ++fragments;
        QCOMPARE(fragments, 5); // "one two ", "three ", "four", both pictures, "fivesix"
        QCOMPARE(fast.toPlainText(), reference.toPlainText());
    }

    // A document already shown in an editor keeps a working cursor, and a document read
    // twice holds the second text only, formatted alike.
    void readsIntoAShownDocumentAgain()
    {
        const QByteArray rtf = "{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}}{\\colortbl;\\red255\\green0\\blue0;}"
                               "\\pard\\qc{\\f1\\fs40\\cf1 Big}\\b  day\\par\\pard Second \\u64976?line\\par Last}";
        QTextEdit edit;
        edit.setPlainText(QStringLiteral("old text that goes"));
        edit.moveCursor(QTextCursor::End);
        QTextDocument* doc = edit.document();
        QVERIFY(ReadRtf(rtf, doc));
        const QByteArray once = WriteRtf(*doc);
        const QStringList shape = describe(*doc);
        QVERIFY(ReadRtf(rtf, doc));
        QCOMPARE(WriteRtf(*doc), once);
        QCOMPARE(describe(*doc), shape);
        QCOMPARE(doc->toPlainText(), ReadRtfPlainText(rtf));
        QVERIFY(edit.textCursor().position() <= doc->characterCount() - 1);
        edit.moveCursor(QTextCursor::End);
        QTest::keyClicks(&edit, QStringLiteral("!"));
        QVERIFY(doc->toPlainText().endsWith(QStringLiteral("Last!")));
        QCOMPARE(doc->blockCount(), 4); // the U+FDD0 starts a block of its own
        QCOMPARE(doc->begin().blockFormat().alignment(), Qt::AlignHCenter);
        QCOMPARE(doc->begin().charFormat().fontWeight(), int(QFont::Bold)); // the mark takes the state at \par
    }
};

OV_TEST(TestRtfDocumentBuilder)
#include "test_rtf_document_builder.moc"
