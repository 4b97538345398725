// Golden decoding of small hand-made Targa and PCX files of every kind, pixel by pixel,
// and their damaged forms.
#include "imaging/pcx_decoder.h"
#include "imaging/picture_error.h"
#include "imaging/tga_decoder.h"
#include "picture_builders.h"
#include "picture_test_util.h"
#include "test_registry.h"

#include <QTest>

using namespace pictest;

namespace {

QRgb px(const QImage& img, int x, int y)
{
    return img.pixel(x, y);
}

} // namespace

class TestTgaDecoder : public QObject {
    Q_OBJECT
private slots:
    void trueColour24BottomUp()
    {
        // Stored bottom row first: red green / blue white.
        Tga t;
        t.width = 2;
        t.height = 2;
        t.data = bgr(0, 0, 255) + bgr(255, 255, 255) + bgr(255, 0, 0) + bgr(0, 255, 0);
        const QImage img = ovpic::decodeTga(t.build());
        QCOMPARE(img.size(), QSize(2, 2));
        QCOMPARE(img.format(), QImage::Format_RGB32);
        QCOMPARE(px(img, 0, 0), qRgb(255, 0, 0));
        QCOMPARE(px(img, 1, 0), qRgb(0, 255, 0));
        QCOMPARE(px(img, 0, 1), qRgb(0, 0, 255));
        QCOMPARE(px(img, 1, 1), qRgb(255, 255, 255));
    }

    void originBits()
    {
        Tga t;
        t.width = 2;
        t.height = 2;
        t.data = bgr(1, 0, 0) + bgr(2, 0, 0) + bgr(3, 0, 0) + bgr(4, 0, 0);
        t.descriptor = 0x20; // top-left origin
        QImage img = ovpic::decodeTga(t.build());
        QCOMPARE(qRed(px(img, 0, 0)), 1);
        QCOMPARE(qRed(px(img, 1, 1)), 4);
        t.descriptor = 0x30; // top-right origin
        img = ovpic::decodeTga(t.build());
        QCOMPARE(qRed(px(img, 1, 0)), 1);
        QCOMPARE(qRed(px(img, 0, 0)), 2);
        t.descriptor = 0x10; // bottom-right origin
        img = ovpic::decodeTga(t.build());
        QCOMPARE(qRed(px(img, 1, 1)), 1);
        QCOMPARE(qRed(px(img, 0, 0)), 4);
    }

    void trueColour32Alpha()
    {
        Tga t;
        t.width = 2;
        t.depth = 32;
        t.descriptor = 0x28;
        t.data = bgra(10, 20, 30, 255) + bgra(40, 50, 60, 128);
        QImage img = ovpic::decodeTga(t.build());
        QVERIFY(img.hasAlphaChannel());
        QCOMPARE(px(img, 0, 0), qRgba(10, 20, 30, 255));
        QCOMPARE(px(img, 1, 0), qRgba(40, 50, 60, 128));

        // All alpha zero: the writer left the field empty, the picture is opaque.
        t.data = bgra(10, 20, 30, 0) + bgra(40, 50, 60, 0);
        img = ovpic::decodeTga(t.build());
        QVERIFY(!img.hasAlphaChannel());
        QCOMPARE(px(img, 1, 0), qRgb(40, 50, 60));

        // No alpha bits in the descriptor: the fourth byte is ignored.
        t.descriptor = 0x20;
        t.data = bgra(10, 20, 30, 255) + bgra(40, 50, 60, 7);
        img = ovpic::decodeTga(t.build());
        QCOMPARE(px(img, 1, 0), qRgb(40, 50, 60));
    }

    void extensionAreaDecidesAlpha()
    {
        Tga t;
        t.width = 1;
        t.depth = 32;
        t.descriptor = 0x28;
        t.data = bgra(100, 50, 20, 128);
        t.footer = true;
        t.extension = tgaExtension(2); // "undefined, retain": not alpha
        QCOMPARE(px(ovpic::decodeTga(t.build()), 0, 0), qRgb(100, 50, 20));
        t.extension = tgaExtension(4); // premultiplied
        const QRgb c = px(ovpic::decodeTga(t.build()), 0, 0);
        QCOMPARE(qAlpha(c), 128);
        QCOMPARE(qRed(c), 199); // 100 * 255 / 128
        QCOMPARE(qGreen(c), 99);
        t.extension = tgaExtension(3);
        QCOMPARE(px(ovpic::decodeTga(t.build()), 0, 0), qRgba(100, 50, 20, 128));
    }

    void fifteenAndSixteenBits()
    {
        Tga t;
        t.width = 2;
        t.depth = 16;
        t.descriptor = 0x21; // one attribute bit: alpha
        t.data = rgb555(31, 0, 0, true) + rgb555(0, 16, 31, false);
        QImage img = ovpic::decodeTga(t.build());
        QCOMPARE(px(img, 0, 0), qRgba(255, 0, 0, 255));
        QCOMPARE(px(img, 1, 0), qRgba(0, 132, 255, 0));
        t.depth = 15;
        t.descriptor = 0x20;
        img = ovpic::decodeTga(t.build());
        QCOMPARE(px(img, 1, 0), qRgb(0, 132, 255)); // no alpha in 15-bit pixels
    }

    void colourMapped()
    {
        Tga t;
        t.imageType = 1;
        t.mapType = 1;
        t.mapFirst = 2; // indexes start at 2
        t.mapLength = 3;
        t.mapBits = 24;
        t.map = bgr(255, 0, 0) + bgr(0, 255, 0) + bgr(0, 0, 255);
        t.width = 4;
        t.depth = 8;
        t.descriptor = 0x20;
        t.data = QByteArray("\x02\x03\x04\x09", 4); // 9 lies outside the map: black
        QImage img = ovpic::decodeTga(t.build());
        QCOMPARE(px(img, 0, 0), qRgb(255, 0, 0));
        QCOMPARE(px(img, 1, 0), qRgb(0, 255, 0));
        QCOMPARE(px(img, 2, 0), qRgb(0, 0, 255));
        QCOMPARE(px(img, 3, 0), qRgb(0, 0, 0));

        // 16-bit indexes into a 15-bit map, with an image id before the map.
        t.id = "hello";
        t.mapFirst = 0;
        t.mapLength = 2;
        t.mapBits = 15;
        t.map = rgb555(0, 31, 0) + rgb555(31, 31, 0);
        t.width = 2;
        t.depth = 16;
        t.data.clear();
        put16(t.data, 1);
        put16(t.data, 0);
        img = ovpic::decodeTga(t.build());
        QCOMPARE(px(img, 0, 0), qRgb(255, 255, 0));
        QCOMPARE(px(img, 1, 0), qRgb(0, 255, 0));

        // 32-bit map entries carry alpha.
        t.id.clear();
        t.mapBits = 32;
        t.map = bgra(1, 2, 3, 40) + bgra(4, 5, 6, 255);
        t.depth = 8;
        t.data = QByteArray("\x00\x01", 2);
        img = ovpic::decodeTga(t.build());
        QCOMPARE(px(img, 0, 0), qRgba(1, 2, 3, 40));
    }

    void grey()
    {
        Tga t;
        t.imageType = 3;
        t.depth = 8;
        t.width = 3;
        t.descriptor = 0x20;
        t.data = QByteArray("\x00\x80\xFF", 3);
        QImage img = ovpic::decodeTga(t.build());
        QCOMPARE(px(img, 1, 0), qRgb(128, 128, 128));
        QCOMPARE(px(img, 2, 0), qRgb(255, 255, 255));
        t.depth = 16; // grey and alpha
        t.descriptor = 0x28;
        t.data = QByteArray("\x10\xFF\x20\x80\x30\x00", 6);
        img = ovpic::decodeTga(t.build());
        QCOMPARE(px(img, 1, 0), qRgba(32, 32, 32, 128));
    }

    void runLengthEveryType()
    {
        // True-colour: a run of 3 crossing into the second row, then 1 raw pixel.
        Tga t;
        t.imageType = 10;
        t.width = 2;
        t.height = 2;
        t.descriptor = 0x20;
        t.data = QByteArray(1, char(0x82)) + bgr(9, 8, 7) + QByteArray(1, char(0x00)) + bgr(1, 2, 3);
        QImage img = ovpic::decodeTga(t.build());
        QCOMPARE(px(img, 0, 0), qRgb(9, 8, 7));
        QCOMPARE(px(img, 1, 0), qRgb(9, 8, 7));
        QCOMPARE(px(img, 0, 1), qRgb(9, 8, 7));
        QCOMPARE(px(img, 1, 1), qRgb(1, 2, 3));

        // Colour-mapped.
        Tga m;
        m.imageType = 9;
        m.mapType = 1;
        m.mapLength = 2;
        m.mapBits = 24;
        m.map = bgr(10, 10, 10) + bgr(200, 100, 50);
        m.depth = 8;
        m.width = 4;
        m.descriptor = 0x20;
        m.data = QByteArray("\x01\x00\x01\x81\x00", 5); // raw 2: [0,1]; run 2 of 0
        img = ovpic::decodeTga(m.build());
        QCOMPARE(px(img, 0, 0), qRgb(10, 10, 10));
        QCOMPARE(px(img, 1, 0), qRgb(200, 100, 50));
        QCOMPARE(px(img, 3, 0), qRgb(10, 10, 10));

        // Grey, bottom-up, with the footer.
        Tga g;
        g.imageType = 11;
        g.depth = 8;
        g.width = 2;
        g.height = 2;
        g.data = QByteArray("\x81\x40\x81\xC0", 4);
        g.footer = true;
        img = ovpic::decodeTga(g.build());
        QCOMPARE(px(img, 0, 1), qRgb(0x40, 0x40, 0x40)); // first stored row is the bottom one
        QCOMPARE(px(img, 1, 0), qRgb(0xC0, 0xC0, 0xC0));
    }

    void recognisedWithoutSignature()
    {
        Tga t;
        t.width = 2;
        t.data = bgr(1, 2, 3) + bgr(4, 5, 6);
        QVERIFY(ovpic::looksLikeTga(t.build()));
        QVERIFY(!ovpic::looksLikeTga("plain text, not a picture at all"));
        t.imageType = 10; // run-length: no length check, but the header still must fit
        t.depth = 7;
        QVERIFY(!ovpic::looksLikeTga(t.build()));
    }

    void damaged()
    {
        Tga t;
        t.width = 4;
        t.height = 4;
        t.data = QByteArray(4 * 4 * 3 - 1, '\x01'); // one byte short
        EXPECT_PICTURE_ERROR(ovpic::decodeTga(t.build()), "truncated");
        EXPECT_PICTURE_ERROR(ovpic::decodeTga(t.build().left(10)), "truncated");
        t.imageType = 10;
        t.data = QByteArray(1, char(0x85)); // a run with no pixel after it
        EXPECT_PICTURE_ERROR(ovpic::decodeTga(t.build()), "truncated");
        t.imageType = 32; // Huffman-compressed kinds are not supported
        EXPECT_PICTURE_ERROR(ovpic::decodeTga(t.build()), "header");
        t.imageType = 1; // colour-mapped without a map
        t.depth = 8;
        EXPECT_PICTURE_ERROR(ovpic::decodeTga(t.build()), "header");

        // 65535 x 65535 announced by a tiny file: refused before any allocation.
        Tga huge;
        huge.imageType = 10;
        huge.width = 65535;
        huge.height = 65535;
        huge.data = QByteArray(1, char(0xFF)) + bgr(1, 1, 1);
        EXPECT_PICTURE_ERROR(ovpic::decodeTga(huge.build()), "too large");
        huge.width = 4000;
        huge.height = 4000;
        EXPECT_PICTURE_ERROR(ovpic::decodeTga(huge.build()), "truncated");
    }
};

class TestPcxDecoder : public QObject {
    Q_OBJECT
private slots:
    void eightBitTrailingPalette()
    {
        // 3 x 2, lines of 4 bytes (even), a run crossing the line end.
        Pcx p;
        p.width = 3;
        p.height = 2;
        p.bytesPerLine = 4;
        p.data = QByteArray("\x01\x02", 2) + QByteArray("\xC3\x05", 2) + QByteArray("\x07\x00\x00", 3);
        // line 1: 1 2 5 5 | line 2: 5 7 0 0
        QByteArray pal(768, '\0');
        for (int i = 0; i < 256; ++i) {
            pal[3 * i] = char(i);
            pal[3 * i + 1] = char(255 - i);
            pal[3 * i + 2] = char(i / 2);
        }
        p.trailingPalette = pal;
        const QImage img = ovpic::decodePcx(p.build());
        QCOMPARE(img.size(), QSize(3, 2));
        QCOMPARE(px(img, 0, 0), qRgb(1, 254, 0));
        QCOMPARE(px(img, 2, 0), qRgb(5, 250, 2));
        QCOMPARE(px(img, 0, 1), qRgb(5, 250, 2));
        QCOMPARE(px(img, 1, 1), qRgb(7, 248, 3));
    }

    void eightBitWithoutPaletteIsGrey()
    {
        Pcx p;
        p.width = 2;
        p.bytesPerLine = 2;
        p.paletteInfo = 2;
        p.data = QByteArray("\x10\x80", 2);
        const QImage img = ovpic::decodePcx(p.build());
        QCOMPARE(px(img, 1, 0), qRgb(0x80, 0x80, 0x80));
    }

    void trueColourPlanes()
    {
        Pcx p;
        p.width = 2;
        p.planes = 3;
        p.bytesPerLine = 2;
        p.data = pcxRle(QByteArray("\xFF\x10" "\x00\x20" "\xC0\x30", 6)); // R plane, G plane, B plane
        QImage img = ovpic::decodePcx(p.build());
        QCOMPARE(px(img, 0, 0), qRgb(255, 0, 192));
        QCOMPARE(px(img, 1, 0), qRgb(0x10, 0x20, 0x30));
        p.planes = 4;
        p.data = pcxRle(QByteArray("\xFF\x10" "\x00\x20" "\xC0\x30" "\x80\xFF", 8));
        img = ovpic::decodePcx(p.build());
        QCOMPARE(px(img, 0, 0), qRgba(255, 0, 192, 128));
    }

    void sixteenColourPlanes()
    {
        // 1 bit in 4 planes: plane n holds bit n of each index. Pixels 0..7 = 0,1,2,..,15?
        Pcx p;
        p.bits = 1;
        p.planes = 4;
        p.width = 8;
        p.bytesPerLine = 2;
        // indexes: 1, 2, 4, 8, 15, 0, 0, 0
        QByteArray raw;
        raw += QByteArray("\x88\x00", 2); // plane 0: pixels 0 and 4
        raw += QByteArray("\x48\x00", 2); // plane 1: pixels 1 and 4
        raw += QByteArray("\x28\x00", 2); // plane 2: pixels 2 and 4
        raw += QByteArray("\x18\x00", 2); // plane 3: pixels 3 and 4
        p.data = pcxRle(raw);
        QByteArray pal(48, '\0');
        for (int i = 0; i < 16; ++i)
            pal[3 * i] = char(i * 10);
        p.headerPalette = pal;
        QImage img = ovpic::decodePcx(p.build());
        QCOMPARE(qRed(px(img, 0, 0)), 10);
        QCOMPARE(qRed(px(img, 1, 0)), 20);
        QCOMPARE(qRed(px(img, 2, 0)), 40);
        QCOMPARE(qRed(px(img, 3, 0)), 80);
        QCOMPARE(qRed(px(img, 4, 0)), 150);
        QCOMPARE(qRed(px(img, 5, 0)), 0);
        // Version 3 carries no palette: the standard EGA colours apply.
        p.version = 3;
        img = ovpic::decodePcx(p.build());
        QCOMPARE(px(img, 0, 0), qRgb(0, 0, 0xAA));
        QCOMPARE(px(img, 4, 0), qRgb(255, 255, 255));
    }

    void packedFewBits()
    {
        // 4 bits in one plane, raw (encoding 0).
        Pcx p;
        p.bits = 4;
        p.encoding = 0;
        p.width = 3;
        p.bytesPerLine = 2;
        p.data = QByteArray("\x1F\x20", 2);
        p.version = 3;
        QImage img = ovpic::decodePcx(p.build());
        QCOMPARE(px(img, 0, 0), qRgb(0, 0, 0xAA));      // 1
        QCOMPARE(px(img, 1, 0), qRgb(255, 255, 255));   // 15
        QCOMPARE(px(img, 2, 0), qRgb(0, 0xAA, 0));      // 2
        // Monochrome: black and white whatever the empty header palette says.
        Pcx m;
        m.bits = 1;
        m.width = 10;
        m.bytesPerLine = 2;
        m.data = pcxRle(QByteArray("\xA0\x40", 2));
        img = ovpic::decodePcx(m.build());
        QCOMPARE(px(img, 0, 0), qRgb(255, 255, 255));
        QCOMPARE(px(img, 1, 0), qRgb(0, 0, 0));
        QCOMPARE(px(img, 2, 0), qRgb(255, 255, 255));
        QCOMPARE(px(img, 9, 0), qRgb(255, 255, 255));
        // Two bits: the CGA default colours.
        Pcx c;
        c.bits = 2;
        c.width = 4;
        c.bytesPerLine = 2;
        c.version = 3;
        c.data = pcxRle(QByteArray("\x1B\x00", 2)); // 0 1 2 3
        img = ovpic::decodePcx(c.build());
        QCOMPARE(px(img, 1, 0), qRgb(0, 0xAA, 0xAA));
        QCOMPARE(px(img, 3, 0), qRgb(0xAA, 0xAA, 0xAA));
    }

    void damaged()
    {
        Pcx p;
        p.width = 4;
        p.height = 4;
        p.bytesPerLine = 4;
        p.data = pcxRle(QByteArray(15, '\x03')); // one byte short of 16
        QVERIFY(ovpic::looksLikePcx(p.build()));
        EXPECT_PICTURE_ERROR(ovpic::decodePcx(p.build()), "truncated");
        p.data = QByteArray(1, char(0xC5)); // a run marker without its value
        EXPECT_PICTURE_ERROR(ovpic::decodePcx(p.build()), "truncated");
        p.bytesPerLine = 1; // too few bytes for the width
        EXPECT_PICTURE_ERROR(ovpic::decodePcx(p.build()), "header");
        p.bytesPerLine = 4;
        p.bits = 8;
        p.planes = 2; // no such layout
        EXPECT_PICTURE_ERROR(ovpic::decodePcx(p.build()), "header");
        EXPECT_PICTURE_ERROR(ovpic::decodePcx(QByteArray(100, '\x0A')), "truncated");

        Pcx huge;
        huge.width = 60000;
        huge.height = 60000;
        huge.bytesPerLine = 60000;
        huge.data = QByteArray(10, char(0xFF));
        EXPECT_PICTURE_ERROR(ovpic::decodePcx(huge.build()), "too large");
        huge.width = 5000;
        huge.height = 5000;
        huge.bytesPerLine = 5000;
        EXPECT_PICTURE_ERROR(ovpic::decodePcx(huge.build()), "truncated");
    }
};

OV_TEST(TestTgaDecoder)
OV_TEST(TestPcxDecoder)
#include "test_tga_pcx_decoders.moc"
