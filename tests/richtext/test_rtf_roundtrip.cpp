#include "richtext/rtf_picture.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"
#include "rtf_test_util.h"
#include "test_registry.h"

#include <QRandomGenerator>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// Builds a document of random paragraphs, runs and pictures.
void generate(QTextDocument& d, QRandomGenerator& rng)
{
    static const QStringList fonts = {QStringLiteral("Arial"), QStringLiteral("Times New Roman"),
                                      QStringLiteral("Courier New"), QStringLiteral("Symbol"),
                                      QStringLiteral("Wingdings"), QStringLiteral("Comic Sans MS")};
    static const QString alphabet = QString::fromUtf8("abcXYZ 019.,;{}\\\t€éäßœŠŽ¡¿ÿПрдαβΩşğąč中文あ—–“”•…™\u00a0");
    static const QString emoji = QString::fromUtf8("😀");
    QTextCursor c(&d);
    const int paragraphs = 1 + rng.bounded(6);
    for (int p = 0; p < paragraphs; ++p) {
        QTextBlockFormat bf;
        const Qt::Alignment aligns[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter, Qt::AlignJustify};
        bf.setAlignment(aligns[rng.bounded(4)]);
        QTextCharFormat mark;
        if (rng.bounded(2))
            mark.setFontPointSize(8 + rng.bounded(30));
        if (p == 0)
            c.setBlockFormat(bf), c.setBlockCharFormat(mark);
        else
            c.insertBlock(bf, mark);
        const int runs = rng.bounded(6);
        for (int r = 0; r < runs; ++r) {
            if (rng.bounded(12) == 0) {
                const QImage img = rtftest::sampleImage(1 + rng.bounded(8), 1 + rng.bounded(8));
                c.insertImage(TWPRtfPicture::fromImage(img, 96).toFormat());
                continue;
            }
            QTextCharFormat f;
            if (rng.bounded(3))
                f.setFontFamilies({fonts[rng.bounded(fonts.size())]});
            if (rng.bounded(3))
                f.setFontPointSize((8 * 2 + rng.bounded(120)) / 2.0);
            if (rng.bounded(3) == 0)
                f.setFontWeight(rng.bounded(2) ? QFont::Bold : QFont::Normal);
            f.setFontItalic(rng.bounded(4) == 0);
            f.setFontUnderline(rng.bounded(4) == 0);
            f.setFontStrikeOut(rng.bounded(6) == 0);
            if (rng.bounded(3) == 0)
                f.setForeground(QColor(rng.bounded(256), rng.bounded(256), rng.bounded(256)));
            if (rng.bounded(10) == 0)
                f.setBackground(QColor(rng.bounded(256), rng.bounded(256), rng.bounded(256)));
            if (rng.bounded(10) == 0)
                f.setVerticalAlignment(rng.bounded(2) ? QTextCharFormat::AlignSuperScript : QTextCharFormat::AlignSubScript);
            QString text;
            const int len = 1 + rng.bounded(12);
            for (int i = 0; i < len; ++i) {
                const int k = rng.bounded(40);
                if (k == 0)
                    text += emoji;
                else if (k == 1)
                    text += QChar(QChar::LineSeparator);
                else
                    text += alphabet[rng.bounded(alphabet.size())];
            }
            c.insertText(text, f);
        }
    }
}

} // namespace

class TestRtfRoundTrip : public QObject {
    Q_OBJECT
private slots:
    void generatedDocuments()
    {
        QRandomGenerator rng(4711);
        for (int i = 0; i < 300; ++i) {
            QTextDocument doc;
            doc.setDefaultFont(QFont(QStringLiteral("Arial")));
            generate(doc, rng);
            const QByteArray first = WriteRtf(doc);
            QTextDocument back;
            QVERIFY2(ReadRtf(first, &back), first.constData());
            // Same text and formatting...
            const QStringList got = rtftest::describe(back).split(QLatin1Char('\n'));
            const QStringList want = rtftest::describe(doc).split(QLatin1Char('\n'));
            for (int k = 0; k < std::min(got.size(), want.size()); ++k)
                QCOMPARE(got[k], want[k]);
            QCOMPARE(got.size(), want.size());
            // ...and the same bytes when written again.
            const QByteArray second = WriteRtf(back);
            if (second != first) {
                int k = 0;
                while (k < first.size() && k < second.size() && first[k] == second[k])
                    ++k;
                QCOMPARE(second.mid(std::max(0, k - 60), 120), first.mid(std::max(0, k - 60), 120));
            }
        }
    }

    void writerOutputIsPlainAscii()
    {
        QRandomGenerator rng(99);
        for (int i = 0; i < 50; ++i) {
            QTextDocument doc;
            generate(doc, rng);
            const QByteArray rtf = WriteRtf(doc);
            for (char ch : rtf)
                QVERIFY(uchar(ch) < 0x80 && (uchar(ch) >= 0x20 || ch == '\r' || ch == '\n'));
        }
    }

    void emptyDocument()
    {
        QTextDocument doc;
        const QByteArray rtf = WriteRtf(doc);
        QTextDocument back;
        QVERIFY(ReadRtf(rtf, &back));
        QCOMPARE(back.blockCount(), 1);
        QVERIFY(back.toPlainText().isEmpty());
        QCOMPARE(WriteRtf(back), rtf);
    }

    void emptyParagraphsKept()
    {
        QTextDocument doc;
        QTextCursor c(&doc);
        c.insertText(QStringLiteral("a"));
        c.insertBlock();
        c.insertBlock();
        QTextDocument back;
        ReadRtf(WriteRtf(doc), &back);
        QCOMPARE(back.blockCount(), 3);
        QCOMPARE(back.toPlainText(), QStringLiteral("a\n\n"));
    }
};
OV_TEST(TestRtfRoundTrip)
#include "test_rtf_roundtrip.moc"
