#include "platform/screen_ppi.h"
#include "richtext/rtf_picture.h"
#include "richtext/rtf_renderer.h"
#include "test_registry.h"
#include "test_support.h"
#include "rtf_test_util.h"

#include <QPainter>
#include <QPdfWriter>
#include <QPicture>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace {

const QColor kOutside(200, 220, 240);

// One paragraph of `words` said `times` over in Arial of halfPoints.
QByteArray repeatedInArial(int halfPoints, const QByteArray& words, int times)
{
    return "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs" + QByteArray::number(halfPoints) + ' ' + words.repeated(times)
        + "\\par}";
}

QImage canvas(int w = 320, int h = 200)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(kOutside);
    return img;
}

// Row bands that hold dark pixels inside r: one band per text line.
int textLines(const QImage& img, const QRect& r)
{
    int lines = 0;
    bool inLine = false;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        bool dark = false;
        for (int x = r.left(); x <= r.right() && !dark; ++x)
            dark = ovtest::isDark(img.pixel(x, y), 170);
        if (dark && !inLine)
            ++lines;
        inLine = dark;
    }
    return lines;
}

QRect darkBounds(const QImage& img, const QRect& r) { return ovtest::darkBounds(img, r, 170); }

int pixelsOf(const QImage& img, const QRect& r, QRgb c)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += (img.pixel(x, y) & 0xFFFFFF) == (c & 0xFFFFFF);
    return n;
}

const QByteArray kWords = "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 one two three four five six seven eight nine ten "
                          "eleven twelve thirteen fourteen fifteen sixteen\\par}";

// Words without ascenders or descenders leave clear gaps between the lines.
const QByteArray kLowWords = "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs40 mum one nine seven over name mower onion "
                             "union summer reason cannon wax moon mum one nine seven over name\\par}";

} // namespace

class TestRtfRenderer : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { setScreenPPIOverride(96); }
    void cleanupTestCase()
    {
        setScreenPPIOverride(0);
        setMetafileDrawer({});
    }
    void init() { TWPRtfDocumentCache::instance().clear(); }

    void textAppearsInsideTheRectOnly()
    {
        QImage img = canvas();
        const QRect r(40, 30, 200, 60);
        {
            QPainter p(&img);
            RenderRtfToRect(p, r, TWPRtfStorage(kWords), 100);
        }
        QVERIFY(ovtest::darkPixelsInRect(img, r) > 50);
        // Background filled, nothing drawn outside (the text overflows the height).
        QCOMPARE(pixelsOf(img, r.adjusted(-1, -1, 1, 1), kOutside.rgb()), 2 * (r.width() + 2) + 2 * r.height());
        QCOMPARE(img.pixel(r.bottomRight()) & 0xFFFFFF, 0xFFFFFFu);
        QVERIFY(darkBounds(img, r).left() < r.left() + 4); // zero margins
        QVERIFY(darkBounds(img, r).top() < r.top() + 6);
    }

    void emptyStorageOnlyFillsBackground()
    {
        QImage img = canvas();
        const QRect r(10, 10, 100, 50);
        {
            QPainter p(&img);
            RenderRtfToRect(p, r, TWPRtfStorage(), 100, TWPDisplayMode::Screen, QColor(255, 255, 0));
        }
        QCOMPARE(pixelsOf(img, r, qRgb(255, 255, 0)), r.width() * r.height());
    }

    void sameLineBreaksAtEveryZoom_data()
    {
        QTest::addColumn<int>("zoom");
        QTest::newRow("60") << 60;
        QTest::newRow("50") << 50;
        QTest::newRow("90") << 90;
    }
    void sameLineBreaksAtEveryZoom()
    {
        QFETCH(int, zoom);
        const QRect full(0, 0, 300, 600);
        const QRect small(0, 0, 300 * zoom / 100, 600);
        QImage a = canvas(320, 620), b = canvas(320, 620);
        {
            QPainter p(&a);
            RenderRtfToRect(p, full, TWPRtfStorage(kLowWords), 100);
        }
        {
            QPainter p(&b);
            RenderRtfToRect(p, small, TWPRtfStorage(kLowWords), zoom);
        }
        const int lines = textLines(a, full);
        QVERIFY(lines >= 4);
        QCOMPARE(textLines(b, small), lines);
        // The same laid-out document served both (zoom only scales drawing).
        QCOMPARE(TWPRtfDocumentCache::instance().misses(), 1);
        // The text shrinks with the zoom.
        const qreal ratio = qreal(darkBounds(b, small).height()) / darkBounds(a, full).height();
        QVERIFY2(qAbs(ratio - zoom / 100.0) < 0.1, qPrintable(QString::number(ratio)));
    }

    void layoutIsShared()
    {
        auto doc1 = CreateLayoutDocument(kWords, 150);
        auto doc2 = CreateLayoutDocument(kWords, 150);
        QCOMPARE(doc1->documentMargin(), 0.0);
        QCOMPARE(doc1->pageCount(), doc2->pageCount());
        QCOMPARE(doc1->size(), doc2->size());
        // 10 pt at 96 PPI is 13.3 px: a line is about 15 px high.
        QVERIFY(doc1->size().height() > 4 * 13 && doc1->size().height() < 8 * 20);
    }

    void pointSizesFollowScreenPpi()
    {
        const QByteArray rtf = "{\\rtf1\\fs40 Wg\\par}";
        const qreal h96 = CreateLayoutDocument(rtf, 500)->size().height();
        setScreenPPIOverride(192);
        const qreal h192 = CreateLayoutDocument(rtf, 500)->size().height();
        setScreenPPIOverride(96);
        QVERIFY2(qAbs(h192 / h96 - 2.0) < 0.15, qPrintable(QStringLiteral("%1 %2").arg(h96).arg(h192)));
    }

    void cacheHitsAndMisses()
    {
        auto& cache = TWPRtfDocumentCache::instance();
        QImage img = canvas();
        QPainter p(&img);
        const TWPRtfStorage s(kWords);
        for (int i = 0; i < 5; ++i)
            RenderRtfToRect(p, QRect(0, 0, 100, 50), s, 100);
        QCOMPARE(cache.misses(), 1);
        QCOMPARE(cache.hits(), 4);
        RenderRtfToRect(p, QRect(0, 0, 100, 50), TWPRtfStorage(kWords + " "), 100);
        RenderRtfToRect(p, QRect(0, 0, 120, 50), s, 100);
        QCOMPARE(cache.misses(), 3);
    }

    void picturesAreDrawn()
    {
        QImage red(10, 10, QImage::Format_RGB32);
        red.fill(Qt::red);
        const TWPRtfPicture pic = TWPRtfPicture::fromImage(red, 96);
        const QByteArray rtf = "{\\rtf1{\\pict\\pngblip\\picw10\\pich10\\picwgoal300\\pichgoal300 " + pic.data.toHex() + "}\\par}";
        QImage img = canvas();
        {
            QPainter p(&img);
            RenderRtfToRect(p, QRect(0, 0, 100, 100), TWPRtfStorage(rtf), 100);
        }
        // 300 twips = 20 px at 96 PPI.
        const int n = pixelsOf(img, QRect(0, 0, 100, 100), qRgb(255, 0, 0));
        QVERIFY2(n >= 18 * 18 && n <= 21 * 21, qPrintable(QString::number(n)));
    }

    void metafileDrawerHook()
    {
        const QByteArray wmf = QByteArray::fromHex("010009000003");
        const QByteArray rtf = "{\\rtf1 {\\pict\\wmetafile8\\picw1000\\pich500\\picwgoal600\\pichgoal300 " + wmf.toHex() + "}\\par}";
        QImage img = canvas();
        {
            QPainter p(&img);
            RenderRtfToRect(p, QRect(0, 0, 200, 100), TWPRtfStorage(rtf), 100);
        }
        QCOMPARE(pixelsOf(img, QRect(0, 0, 200, 100), qRgb(255, 255, 255)), 200 * 100); // unplayable: empty room
        QByteArray seen;
        QRectF where;
        setMetafileDrawer([&](QPainter& p, const QRectF& r, const QByteArray& bytes) {
            seen = bytes;
            where = r;
            p.fillRect(r, Qt::blue);
            return true;
        });
        TWPRtfDocumentCache::instance().clear();
        {
            QPainter p(&img);
            RenderRtfToRect(p, QRect(0, 0, 200, 100), TWPRtfStorage(rtf), 50);
        }
        setMetafileDrawer({});
        QCOMPARE(seen, wmf);
        QCOMPARE(where.size(), QSizeF(40, 20)); // 600 × 300 twips in layout pixels
        const int blue = pixelsOf(img, QRect(0, 0, 200, 100), qRgb(0, 0, 255));
        QVERIFY2(blue >= 19 * 9 && blue <= 21 * 11, qPrintable(QString::number(blue))); // drawn at 50 %
    }

    // A WMF from RTF (records only, no placeable header) is played by the imaging player.
    void wmfPlayedByDefault()
    {
        auto words = [](std::initializer_list<int> w) {
            QByteArray b;
            for (int v : w) {
                b += char(v & 0xFF);
                b += char((v >> 8) & 0xFF);
            }
            return b;
        };
        QByteArray wmf = words({1, 9, 0x0300, 40, 0, 1, 7, 0, 0});
        wmf += words({5, 0, 0x020B, 0, 0});                 // SetWindowOrg
        wmf += words({5, 0, 0x020C, 100, 100});             // SetWindowExt
        wmf += words({7, 0, 0x02FC, 0, 0x00FF, 0x0000, 0}); // CreateBrushIndirect: solid red
        wmf += words({4, 0, 0x012D, 0});                    // SelectObject
        wmf += words({7, 0, 0x041B, 100, 100, 0, 0});       // Rectangle
        wmf += words({3, 0, 0x0000});                       // EOF
        const QByteArray rtf = "{\\rtf1{\\pict\\wmetafile8\\picw2646\\pich2646\\picwgoal1500\\pichgoal1500 " + wmf.toHex() + "}\\par}";
        QImage img = canvas();
        {
            QPainter p(&img);
            RenderRtfToRect(p, QRect(0, 0, 200, 150), TWPRtfStorage(rtf), 100);
        }
        // 1500 twips = 100 px, nearly all of it red inside the outline.
        const int red = pixelsOf(img, QRect(0, 0, 200, 150), qRgb(255, 0, 0));
        QVERIFY2(red > 90 * 90 && red <= 100 * 100, qPrintable(QString::number(red)));
    }

    void anyPaintDevice()
    {
        const TWPRtfStorage s(kWords);
        QPicture picture;
        {
            QPainter p(&picture);
            RenderRtfToRect(p, QRect(0, 0, 150, 100), s, 100, TWPDisplayMode::Print);
        }
        QImage img = canvas();
        {
            QPainter p(&img);
            picture.play(&p);
        }
        QVERIFY(ovtest::darkPixelsInRect(img, QRect(0, 0, 150, 100)) > 50);

        QTemporaryDir dir;
        QPdfWriter pdf(dir.filePath(QStringLiteral("cell.pdf")));
        {
            QPainter p(&pdf);
            RenderRtfToRect(p, QRect(100, 100, 2000, 1000), s, 100, TWPDisplayMode::Print);
        }
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("cell.pdf"))).size() > 500);
    }

    void twipsVariantUsesPageWidth()
    {
        QImage a = canvas(400, 300), b = canvas(400, 300);
        {
            QPainter p(&a);
            RenderRtfToRectTwips(p, QRect(0, 0, 300, 300), TWPRtfStorage(kWords), 100, 1440); // 96 px page
        }
        {
            QPainter p(&b);
            RenderRtfToRect(p, QRect(0, 0, 96, 300), TWPRtfStorage(kWords), 100);
        }
        QCOMPARE(textLines(a, QRect(0, 0, 300, 300)), textLines(b, QRect(0, 0, 96, 300)));
    }
};
OV_TEST(TestRtfRenderer)

// Only whole lines are drawn, and only as much of a text as can show is read and laid out.
class TestRtfRendererBounds : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { setScreenPPIOverride(96); }
    void cleanupTestCase() { setScreenPPIOverride(0); }
    void init() { TWPRtfDocumentCache::instance().clear(); }

    void onlyWholeLinesAreDrawn()
    {
        const auto doc = CreateLayoutDocument(kLowWords, 300);
        const QTextLine first = doc->begin().layout()->lineAt(0);
        const QTextLine second = doc->begin().layout()->lineAt(1);
        const int height = int(second.y() + second.height() / 2); // ends inside the second line
        QImage img = canvas(320, 200);
        TWPRenderResult shown;
        {
            QPainter p(&img);
            shown = RenderRtfToRect(p, QRect(0, 0, 300, height), TWPRtfStorage(kLowWords), 100);
        }
        QVERIFY(shown.textContinues);
        QVERIFY(ovtest::darkPixelsInRect(img, QRect(0, 0, 300, int(first.height()))) > 50);
        const int secondTop = int(std::ceil(second.y()));
        QCOMPARE(ovtest::darkPixelsInRect(img, QRect(0, secondTop, 300, height - secondTop)), 0);
        // The same cut at half the zoom.
        img = canvas(320, 200);
        {
            QPainter p(&img);
            shown = RenderRtfToRect(p, QRect(0, 0, 150, height / 2), TWPRtfStorage(kLowWords), 50);
        }
        QVERIFY(shown.textContinues);
        QCOMPARE(ovtest::darkPixelsInRect(img, QRect(0, secondTop / 2 + 1, 150, height / 2 - secondTop / 2 - 1)), 0);
        // Room for every line: nothing continues.
        img = canvas(320, 600);
        QPainter p(&img);
        const int all = int(std::ceil(doc->size().height()));
        QVERIFY(!RenderRtfToRect(p, QRect(0, 0, 300, all), TWPRtfStorage(kLowWords), 100).textContinues);
    }

    void blankLinesBeyondTheCellAreNoMoreText()
    {
        QImage img = canvas();
        QPainter p(&img);
        const QByteArray blank = "{\\rtf1\\fs20 a\\par\\par\\par\\par\\par\\par\\par\\par \\tab\\par}";
        const QByteArray more = "{\\rtf1\\fs20 a\\par\\par\\par\\par\\par\\par\\par\\par \\tab b\\par}";
        QVERIFY(!RenderRtfToRect(p, QRect(0, 0, 100, 20), TWPRtfStorage(blank), 100).textContinues);
        QVERIFY(RenderRtfToRect(p, QRect(0, 0, 100, 20), TWPRtfStorage(more), 100).textContinues);
    }

    void hugeTextsAreReadOnlyAsFarAsTheyCanShow()
    {
        const QByteArray word = "{\\rtf1 " + QByteArray(1000000, 'x') + "\\par}";
        TWPBoundedLayout layout = CreateBoundedLayout(word, 150, 100);
        QVERIFY(layout.cutShort);
        QVERIFY2(layout.doc->characterCount() < 2000, qPrintable(QString::number(layout.doc->characterCount())));

        QByteArray paragraphs = "{\\rtf1 ";
        for (int i = 0; i < 200000; ++i)
            paragraphs += "a\\par ";
        layout = CreateBoundedLayout(paragraphs + "}", 150, 100);
        QVERIFY(layout.cutShort);
        QVERIFY2(layout.doc->blockCount() < 20, qPrintable(QString::number(layout.doc->blockCount())));

        layout = CreateBoundedLayout(QByteArray(1000000, 'y'), 150, 100); // plain text
        QVERIFY(layout.cutShort);
        QVERIFY(layout.doc->characterCount() < 2000);

        // What fits wholly is read wholly.
        layout = CreateBoundedLayout(kWords, 150, 1000);
        QVERIFY(!layout.cutShort);
        QCOMPARE(layout.doc->toPlainText(), CreateLayoutDocument(kWords, 150)->toPlainText());

        // A drawing tells that the text goes on.
        QImage img = canvas();
        QPainter p(&img);
        QVERIFY(RenderRtfToRect(p, QRect(0, 0, 150, 100), TWPRtfStorage(word), 100).textContinues);
    }

    void tinyFontsBoundTheWorkToo()
    {
        // Half-point letters could show a great many characters; a word longer than
        // any line then breaks anywhere, which Qt lays out in linear time.
        const QByteArray word = "{\\rtf1\\fs1 " + QByteArray(300000, 'x') + "\\par}";
        const TWPBoundedLayout layout = CreateBoundedLayout(word, 150, 100);
        QVERIFY(layout.cutShort);
        QVERIFY(layout.doc->characterCount() < 200000);
        QCOMPARE(layout.doc->defaultTextOption().wrapMode(), QTextOption::WrapAnywhere);
        QCOMPARE(CreateLayoutDocument(kWords, 150)->defaultTextOption().wrapMode(),
                 QTextOption::WrapAtWordBoundaryOrAnywhere);
    }

    void cuttingChangesNoLineThatShows()
    {
        const QByteArray rtf =
            repeatedInArial(20, "alpha beta gamma delta epsilon zeta eta theta iota kappa lambda ", 300);
        const TWPBoundedLayout bounded = CreateBoundedLayout(rtf, 150, 100);
        QVERIFY(bounded.cutShort);
        const auto full = CreateLayoutDocument(rtf, 150);
        bounded.doc->size();
        full->size();
        const QTextBlock a = bounded.doc->begin();
        const QTextBlock b = full->begin();
        int shown = 0;
        for (int i = 0; i < a.layout()->lineCount(); ++i) {
            const QTextLine line = a.layout()->lineAt(i);
            if (line.y() + line.height() > 100)
                break;
            const QTextLine same = b.layout()->lineAt(i);
            QCOMPARE(a.text().mid(line.textStart(), line.textLength()), b.text().mid(same.textStart(), same.textLength()));
            ++shown;
        }
        QVERIFY(shown >= 5);
    }

    // What a cell shows comes out as from the whole text, whatever sizes its lines mix:
    // a large first line, tiny text further on, superscripts.
    void mixedSizesShowAsFromTheWholeText()
    {
        QByteArray rtf = "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs48 Big title\\par";
        for (int i = 0; i < 200; ++i)
            rtf += "\\fs12 small line " + QByteArray::number(i) + "{\\super\\fs10  up}\\par";
        rtf += "}";
        const TWPBoundedLayout bounded = CreateBoundedLayout(rtf, 150, 100);
        QVERIFY(bounded.cutShort);
        const auto full = CreateLayoutDocument(rtf, 150);
        auto shownLines = [](const QTextDocument& doc) {
            doc.size();
            QStringList lines;
            for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
                for (int i = 0; i < b.layout()->lineCount(); ++i) {
                    const QTextLine line = b.layout()->lineAt(i);
                    if (b.layout()->position().y() + line.y() + line.height() > 100)
                        return lines;
                    lines << b.text().mid(line.textStart(), line.textLength());
                }
            }
            return lines;
        };
        const QStringList shown = shownLines(*bounded.doc);
        QVERIFY(shown.size() >= 5);
        QCOMPARE(shown, shownLines(*full));
    }

    // Texts of every kind, cut for boxes of every size, show the lines the whole text shows,
    // in the same places, and tell the same about text going on.
    void randomTextsShowAsFromTheWholeText()
    {
        int readInPart = 0;
        for (int seed = 1; seed <= 80; ++seed) {
            QRandomGenerator rng{quint32(seed)};
            const QByteArray rtf = randomCellText(rng);
            const qreal width = 30 + rng.bounded(300);
            const qreal height = 10 + rng.bounded(400);
            const TWPBoundedLayout bounded = CreateBoundedLayout(rtf, width, height);
            const auto full = CreateLayoutDocument(rtf, width);
            const QString where = QStringLiteral("seed %1, %2 x %3").arg(seed).arg(width).arg(height);
            QCOMPARE(shownLineBoxes(*bounded.doc, height), shownLineBoxes(*full, height));
            QVERIFY2((bounded.cutShort || continuesBelow(*bounded.doc, height)) == continuesBelow(*full, height),
                     qPrintable(where));
            readInPart += bounded.cutShort;
        }
        QVERIFY(readInPart >= 20);
    }

    // Letters narrower than usual end a start read for usual ones near the bottom of the
    // box, above or below it as the box grows: every height shows as the whole text does.
    void cutsNearTheBottomChangeNoLineThatShows()
    {
        for (int narrow = 0; narrow <= 6; ++narrow) {
            QByteArray rtf = "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ";
            for (int i = 0; i < 400; ++i)
                rtf += i % 7 < narrow ? "il i, " : i % 11 == 5 ? "{\\fs28 Wimbledon} " : "meeting ";
            rtf += "\\par}";
            for (qreal width = 40; width < 340; width += 7) {
                const auto full = CreateLayoutDocument(rtf, width);
                for (qreal height = 12; height < 200; height += 3.5) {
                    const TWPBoundedLayout bounded = CreateBoundedLayout(rtf, width, height);
                    QCOMPARE(shownLineBoxes(*bounded.doc, height), shownLineBoxes(*full, height));
                }
            }
        }
    }

    // Letters of a usual width: far less is read than the narrowest letters would need.
    void usualLettersAreReadNoFurtherThanTheyFill()
    {
        const QByteArray rtf = repeatedInArial(16, "meeting at the office ", 2000);
        const TWPBoundedLayout layout = CreateBoundedLayout(rtf, 100, 128);
        QVERIFY(layout.cutShort);
        // Letters a tenth of an em wide would need (128 / 8.5 + 3) x (100 / 1.07 + 1) = 1710.
        QVERIFY2(layout.doc->characterCount() < 500, qPrintable(QString::number(layout.doc->characterCount())));
    }

private:
    static QByteArray randomCellText(QRandomGenerator& rng)
    {
        static const char* words[] = {"a", "at", "the", "meeting", "Caf\\'e9", "Wimbledon", "iiii", "WWW", "3pm,",
                                      "\\u1042?\\u1089?\\u1090?", "\\{x\\}", "supercalifragilistic"};
        static const char* aligns[] = {"", "\\qc", "\\qr", "\\qj"};
        QByteArray rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1 Times New Roman;}{\\f2 Courier New;}}";
        const int paragraphs = 1 + rng.bounded(rng.bounded(2) ? 4 : 60);
        for (int p = 0; p < paragraphs; ++p) {
            rtf += "\\pard";
            rtf += aligns[rng.bounded(4)];
            if (rng.bounded(5) == 0)
                rtf += "\\sb" + QByteArray::number(rng.bounded(200)) + "\\sa" + QByteArray::number(rng.bounded(200));
            const int runs = 1 + rng.bounded(rng.bounded(3) ? 4 : 40);
            for (int r = 0; r < runs; ++r) {
                rtf += "{\\f" + QByteArray::number(rng.bounded(3));
                rtf += "\\fs" + QByteArray::number(8 + 2 * rng.bounded(20));
                if (rng.bounded(2))
                    rtf += "\\b";
                if (rng.bounded(4) == 0)
                    rtf += "\\i";
                if (rng.bounded(12) == 0)
                    rtf += rng.bounded(2) ? "\\super" : "\\sub";
                rtf += ' ';
                for (int w = 1 + rng.bounded(8); w > 0; --w) {
                    if (rng.bounded(40) == 0)
                        rtf += QByteArray(50 + rng.bounded(400), 'm');
                    else
                        rtf += words[rng.bounded(int(std::size(words)))];
                    rtf += rng.bounded(15) == 0 ? "\\line " : " ";
                }
                rtf += '}';
            }
            rtf += "\\par\r\n";
        }
        return rtf + "}";
    }

    // Each whole line within the height: its text and where it stands.
    static QStringList shownLineBoxes(const QTextDocument& doc, qreal height)
    {
        doc.size();
        QStringList lines;
        for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
            const QPointF at = b.layout()->position();
            for (int i = 0; i < b.layout()->lineCount(); ++i) {
                const QTextLine line = b.layout()->lineAt(i);
                if (at.y() + line.y() + line.height() > height + 0.01)
                    return lines;
                lines << QStringLiteral("%1 @%2,%3 h%4 w%5")
                             .arg(b.text().mid(line.textStart(), line.textLength()))
                             .arg(at.x() + line.x())
                             .arg(at.y() + line.y())
                             .arg(line.height())
                             .arg(line.naturalTextWidth());
            }
        }
        return lines;
    }

    // Whether anything but blanks follows the whole lines within the height.
    static bool continuesBelow(const QTextDocument& doc, qreal height)
    {
        doc.size();
        bool below = false;
        for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
            for (int i = 0; i < b.layout()->lineCount(); ++i) {
                const QTextLine line = b.layout()->lineAt(i);
                below = below || b.layout()->position().y() + line.y() + line.height() > height + 0.01;
                if (below && !b.text().mid(line.textStart(), line.textLength()).trimmed().isEmpty())
                    return true;
            }
        }
        return false;
    }
};
OV_TEST(TestRtfRendererBounds)
#include "test_rtf_renderer.moc"
