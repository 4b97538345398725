// The loader: recognition by content, every format decoded, our run-length BMP decoder
// pixel by pixel, and damaged pictures of every format refused with a reason.
#include "imaging/bmp_decoder.h"
#include "imaging/bmp_writer.h"
#include "imaging/metafile_player.h"
#include "imaging/metafile_sink.h"
#include "imaging/picture_loader.h"
#include "picture_builders.h"
#include "picture_test_util.h"
#include "test_registry.h"

#include <QLoggingCategory>
#include <QPainter>
#include <QTemporaryDir>

using namespace pictest;

namespace {

const std::vector<QRgb> kPalette = {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255),
                                    qRgb(255, 255, 255)};

QByteArray pngOf(const QImage& img)
{
    return encoded(img, "png");
}

QByteArray samplePng()
{
    QImage img = solid(4, 3, Qt::red);
    img.setPixel(1, 1, qRgb(0, 0, 255));
    return pngOf(img);
}

QByteArray sampleTga()
{
    Tga t;
    t.width = 2;
    t.data = bgr(10, 20, 30) + bgr(40, 50, 60);
    return t.build();
}

QByteArray samplePcx()
{
    Pcx p;
    p.width = 2;
    p.bytesPerLine = 2;
    p.data = QByteArray("\x01\x02", 2);
    p.trailingPalette = QByteArray(768, '\x33');
    return p.build();
}

QByteArray sampleWmf()
{
    mftest::Wmf w;
    w.windowOrg(0, 0).windowExt(100, 50).rectangle(0, 0, 100, 50);
    return w.build();
}

QByteArray sampleEmf()
{
    mftest::Emf e;
    e.rectangle(0, 0, 500, 500);
    return e.build();
}

const QByteArray kSvg = "<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"40\" "
                        "height=\"20\"><rect x=\"0\" y=\"0\" width=\"40\" height=\"20\" fill=\"#00ff00\"/></svg>";

// Every prefix and a few corrupted copies: each is a picture or a clear refusal.
void survivesDamage(const QByteArray& good, const QString& name)
{
    for (qsizetype n = 0; n < good.size(); n += std::max<qsizetype>(1, good.size() / 97)) {
        try {
            const TPicture p = LoadPictureFromData(good.left(n), name);
            QVERIFY(!p.isEmpty());
        } catch (const EPictureError& e) {
            QVERIFY(!e.reason().isEmpty());
        }
    }
    for (int i = 0; i < 40; ++i) {
        QByteArray bad = good;
        bad[(i * 7919) % bad.size()] = char(0xFF - i);
        try {
            (void)LoadPictureFromData(bad, name);
        } catch (const EPictureError&) {
        }
    }
}

} // namespace

class TestPictureLoader : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // Qt's readers report every flaw of the damaged pictures below.
        QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio*=false"));
    }

    void contentDecidesNotTheName()
    {
        QCOMPARE(DetectPictureFormat(samplePng(), "picture.bmp"), PictureFormat::Png);
        QCOMPARE(DetectPictureFormat(encoded(solid(2, 2, Qt::red), "jpeg"), "x.gif"), PictureFormat::Jpeg);
        QCOMPARE(DetectPictureFormat(EncodeBmp(solid(2, 2, Qt::red)), "x.jpg"), PictureFormat::Bmp);
        QCOMPARE(DetectPictureFormat(gif(1, 1, kPalette, {1}), ""), PictureFormat::Gif);
        QCOMPARE(DetectPictureFormat(ico({solid(16, 16, Qt::red)}), ""), PictureFormat::Ico);
        QCOMPARE(DetectPictureFormat(samplePcx(), "x.tga"), PictureFormat::Pcx);
        QCOMPARE(DetectPictureFormat(sampleWmf(), "x.emf"), PictureFormat::Wmf);
        QCOMPARE(DetectPictureFormat(sampleEmf(), "x.wmf"), PictureFormat::Emf);
        QCOMPARE(DetectPictureFormat(kSvg, "x.png"), PictureFormat::Svg);
        // No signature: a raw Targa is recognised by its header and length alone.
        QCOMPARE(DetectPictureFormat(sampleTga(), "x.dat"), PictureFormat::Tga);
        QCOMPARE(DetectPictureFormat(QByteArray("hello world, this is text"), "x.png"), PictureFormat::Unknown);
        // The loader's own format for a picture is the content's.
        QCOMPARE(LoadPictureFromData(samplePng(), "picture.bmp").format(), PictureFormat::Png);
    }

    void everyFormatDecodes()
    {
        TPicture p = LoadPictureFromData(samplePng());
        QCOMPARE(p.kind(), TPicture::Kind::Bitmap);
        QCOMPARE(p.size(), QSize(4, 3));
        QCOMPARE(p.image().pixel(1, 1), qRgb(0, 0, 255));
        QCOMPARE(p.originalBytes(), samplePng());

        p = LoadPictureFromData(encoded(solid(8, 8, QColor(200, 40, 40)), "jpeg"), "photo.jif");
        QCOMPARE(p.format(), PictureFormat::Jpeg);
        QVERIFY(std::abs(qRed(p.image().pixel(4, 4)) - 200) < 8);

        p = LoadPictureFromData(gif(2, 2, kPalette, {1, 2, 3, 0}));
        QCOMPARE(p.format(), PictureFormat::Gif);
        QCOMPARE(p.image().pixel(0, 0), qRgb(255, 0, 0));
        QCOMPARE(p.image().pixel(0, 1), qRgb(0, 0, 255));
        QCOMPARE(p.image().pixel(1, 1), qRgb(0, 0, 0));

        p = LoadPictureFromData(sampleTga(), "a.tga");
        QCOMPARE(p.image().pixel(1, 0), qRgb(40, 50, 60));
        p = LoadPictureFromData(samplePcx(), "a.pcx");
        QCOMPARE(p.image().pixel(0, 0), qRgb(0x33, 0x33, 0x33));

        for (const QByteArray& mf : {sampleWmf(), sampleEmf(), kSvg}) {
            p = LoadPictureFromData(mf);
            QCOMPARE(p.kind(), TPicture::Kind::Metafile);
            QVERIFY(p.metafile());
            QVERIFY(p.image().isNull());
        }
        QCOMPARE(LoadPictureFromData(kSvg).size(), QSize(40, 20));
        // An SVG picture is kept as the enhanced metafile it is saved as.
        QCOMPARE(LoadPictureFromData(kSvg).metafile()->kind(), TMetafile::Kind::Emf);
    }

    void runLengthBitmapsPixelByPixel()
    {
        // RLE8, 4 x 3, stored bottom row first:
        //   bottom: a run of 4 of index 1
        //   middle: 3 literal pixels (odd count, padded) 2 3 4, then a run of 1 of 2
        //   top:    a delta of 2 right, then a run of 2 of index 3; end of picture
        const QByteArray rle8("\x04\x01\x00\x00"
                              "\x00\x03\x02\x03\x04\x00\x01\x02\x00\x00"
                              "\x00\x02\x02\x00\x02\x03\x00\x01", 22);
        QImage img = LoadPictureFromData(bmp(4, 3, 8, 1, kPalette, rle8), "x.rle").image();
        QCOMPARE(img.size(), QSize(4, 3));
        for (int x = 0; x < 4; ++x)
            QCOMPARE(img.pixel(x, 2), qRgb(255, 0, 0));
        QCOMPARE(img.pixel(0, 1), qRgb(0, 255, 0));
        QCOMPARE(img.pixel(1, 1), qRgb(0, 0, 255));
        QCOMPARE(img.pixel(2, 1), qRgb(255, 255, 255));
        QCOMPARE(img.pixel(3, 1), qRgb(0, 255, 0));
        // Pixels the delta skipped keep colour 0, as in a fresh bitmap.
        QCOMPARE(img.pixel(0, 0), qRgb(0, 0, 0));
        QCOMPARE(img.pixel(1, 0), qRgb(0, 0, 0));
        QCOMPARE(img.pixel(2, 0), qRgb(0, 0, 255));
        QCOMPARE(img.pixel(3, 0), qRgb(0, 0, 255));

        // RLE4, 5 x 2: a run alternating 1 and 2 over 5 pixels; then 3 literal nibbles
        // 3 4 1 (padded to a word) and a run of 2 of index 2 (one past the edge, dropped).
        const QByteArray rle4("\x05\x12\x00\x00"
                              "\x00\x03\x34\x10\x03\x22\x00\x01", 12);
        img = LoadPictureFromData(bmp(5, 2, 4, 2, kPalette, rle4)).image();
        const QRgb bottom[] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(255, 0, 0)};
        const QRgb top[] = {qRgb(0, 0, 255), qRgb(255, 255, 255), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 255, 0)};
        for (int x = 0; x < 5; ++x) {
            QCOMPARE(img.pixel(x, 1), bottom[x]);
            QCOMPARE(img.pixel(x, 0), top[x]);
        }

        // Indexes past the colour table draw black; a missing end marker after the last
        // line is tolerated.
        img = LoadPictureFromData(bmp(2, 1, 8, 1, {qRgb(9, 9, 9)}, QByteArray("\x02\x07\x00\x00", 4))).image();
        QCOMPARE(img.pixel(1, 0), qRgb(0, 0, 0));

        EXPECT_PICTURE_ERROR(LoadPictureFromData(bmp(4, 3, 8, 1, kPalette, rle8.left(9))), "truncated");
        EXPECT_PICTURE_ERROR(LoadPictureFromData(bmp(4, 3, 8, 1, kPalette, QByteArray("\x00\x05\x01", 3))), "truncated");
    }

    void runLengthBitmapsInsideMetafiles()
    {
        // A 4 x 2 RLE8 bitmap drawn by an EMF record: the bottom row is a run of index 1,
        // the top row skips two pixels by a delta, then a run of 2 of index 3.
        const QByteArray rle("\x04\x01\x00\x00\x00\x02\x02\x00\x02\x03\x00\x01", 12);
        const QByteArray file = bmp(4, 2, 8, 1, kPalette, rle);
        const QByteArray info = file.mid(14, 40 + 4 * qsizetype(kPalette.size()));
        mftest::Emf e;
        e.stretchDIBits(QRect(0, 0, 400, 200), QRect(0, 0, 4, 2), info, rle);
        TMetafile mf;
        QVERIFY(mf.loadFromData(e.build()));
        MetafileRecordingSink sink;
        mf.playTo(sink, QRectF(0, 0, 100, 100));
        const auto images = sink.ofKind("image");
        QCOMPARE(images.size(), size_t(1));
        const QImage img = images[0]->image;
        QCOMPARE(img.pixel(0, 1), qRgb(255, 0, 0));
        QCOMPARE(img.pixel(0, 0), qRgb(0, 0, 0)); // skipped: colour 0, not whatever memory held
        QCOMPARE(img.pixel(1, 0), qRgb(0, 0, 0));
        QCOMPARE(img.pixel(3, 0), qRgb(0, 0, 255));
    }

    void headerlessDibAndOurBmps()
    {
        const QByteArray full = bmp(2, 1, 8, 0, kPalette, QByteArray("\x01\x03\x00\x00", 4));
        const QByteArray dib = full.mid(14);
        QVERIFY(ovpic::looksLikeDib(dib));
        const TPicture p = LoadPictureFromData(dib, "x.dib");
        QCOMPARE(p.format(), PictureFormat::Bmp);
        QCOMPARE(p.originalBytes(), full); // the file header is computed
        QCOMPARE(p.image().pixel(1, 0), qRgb(0, 0, 255));

        // Our writer: opaque pictures as 24-bit, transparency as 32-bit with an alpha
        // mask, indexed pictures with their colour table; all read back the same.
        QImage rgb(3, 2, QImage::Format_RGB32);
        rgb.fill(qRgb(1, 2, 3));
        rgb.setPixel(2, 1, qRgb(200, 100, 50));
        QImage back = ovpic::decodeBmp(EncodeBmp(rgb));
        QCOMPARE(back.pixel(2, 1), qRgb(200, 100, 50));
        QCOMPARE(back.pixel(0, 0), qRgb(1, 2, 3));
        QCOMPARE(qFromLittleEndian<quint16>(EncodeBmp(rgb).constData() + 28), quint16(24));

        QImage argb(2, 2, QImage::Format_ARGB32);
        argb.fill(qRgba(10, 20, 30, 255));
        argb.setPixel(1, 0, qRgba(90, 80, 70, 60));
        back = ovpic::decodeBmp(EncodeBmp(argb)).convertToFormat(QImage::Format_ARGB32);
        QVERIFY(back.hasAlphaChannel());
        QCOMPARE(qAlpha(back.pixel(1, 0)), 60);
        QCOMPARE(back.pixel(0, 1), qRgba(10, 20, 30, 255));

        QImage indexed(2, 1, QImage::Format_Indexed8);
        indexed.setColorTable({qRgb(5, 5, 5), qRgb(250, 0, 250)});
        indexed.setPixel(0, 0, 1);
        indexed.setPixel(1, 0, 0);
        const QByteArray eight = EncodeBmp(indexed);
        QCOMPARE(qFromLittleEndian<quint16>(eight.constData() + 28), quint16(8));
        QCOMPARE(ovpic::decodeBmp(eight).pixel(0, 0), qRgb(250, 0, 250));
    }

    void iconsKeepEveryImage()
    {
        const QByteArray bytes = ico({solid(16, 16, Qt::red, QImage::Format_ARGB32),
                                      solid(48, 48, Qt::blue, QImage::Format_ARGB32),
                                      solid(32, 32, Qt::green, QImage::Format_ARGB32)});
        TPicture p = LoadPictureFromData(bytes, "x.ico");
        QCOMPARE(p.kind(), TPicture::Kind::Icon);
        QCOMPARE(p.iconImages().size(), qsizetype(3));
        QCOMPARE(p.size(), QSize(32, 32)); // the icon's own size
        QCOMPARE(p.image().pixel(5, 5), QColor(Qt::green).rgb());
        QCOMPARE(p.originalBytes(), bytes);
        // Drawn at 40 pixels the 48-pixel image serves; at 10 pixels the 16-pixel one.
        QImage canvas(40, 40, QImage::Format_ARGB32);
        canvas.fill(Qt::white);
        {
            QPainter painter(&canvas);
            p.draw(painter, QRectF(0, 0, 40, 40));
        }
        QCOMPARE(canvas.pixel(20, 20), QColor(Qt::blue).rgb());
        {
            QPainter painter(&canvas);
            p.draw(painter, QRectF(0, 0, 10, 10));
        }
        QCOMPARE(canvas.pixel(5, 5), QColor(Qt::red).rgb());
        // PNG-compressed images, as newer icons hold them.
        p = LoadPictureFromData(ico({solid(24, 24, Qt::yellow, QImage::Format_ARGB32)}, true));
        QCOMPARE(p.size(), QSize(24, 24));
        QCOMPARE(p.image().pixel(3, 3), QColor(Qt::yellow).rgb());
    }

    void metafileSizeFollowsTheScreen()
    {
        // A placeable WMF of 1 x 0.5 inch.
        mftest::Wmf w;
        w.rectangle(0, 0, 1440, 720);
        const TPicture p = LoadPictureFromData(w.buildPlaceable(QRect(0, 0, 1440, 720), 1440));
        QCOMPARE(p.size(96), QSize(96, 48));
        QCOMPARE(p.size(120), QSize(120, 60));
        QCOMPARE(p.size(150), QSize(150, 75));
    }

    void damagedPicturesOfEveryFormat()
    {
        EXPECT_PICTURE_ERROR(LoadPictureFromData(QByteArray(), "x.png"), "empty");
        EXPECT_PICTURE_ERROR(LoadPictureFromData("not a picture at all", "x.txt"), "not a picture");
        // Garbage named as a format is reported as that format.
        EXPECT_PICTURE_ERROR(LoadPictureFromData("not a picture at all", "x.jpg"), "JPEG");
        EXPECT_PICTURE_ERROR(LoadPictureFromData("not a picture at all", "x.tga"), "Targa");
        EXPECT_PICTURE_ERROR(LoadPictureFromData("not a picture at all", "x.pcx"), "PCX");
        EXPECT_PICTURE_ERROR(LoadPictureFromData("not a picture at all", "x.wmf"), "metafile");

        const QByteArray png = samplePng();
        EXPECT_PICTURE_ERROR(LoadPictureFromData(png.left(png.size() - 20)), "PNG");
        const QByteArray jpeg = encoded(solid(64, 64, Qt::red), "jpeg");
        EXPECT_PICTURE_ERROR(LoadPictureFromData(jpeg.left(jpeg.size() * 9 / 10)), "truncated");
        EXPECT_PICTURE_ERROR(LoadPictureFromData(jpeg.left(jpeg.size() / 3)), "JPEG");
        const QByteArray g = gif(2, 2, kPalette, {1, 2, 3, 0});
        EXPECT_PICTURE_ERROR(LoadPictureFromData(g.left(20)), "GIF");
        // Cut inside the picture's data: Qt's reader would fill the rest with blank.
        const QByteArray bigGif = gif(40, 40, kPalette, std::vector<int>(1600, 1));
        QVERIFY(!LoadPictureFromData(bigGif).isEmpty());
        EXPECT_PICTURE_ERROR(LoadPictureFromData(bigGif.left(bigGif.size() - 30)), "truncated");
        // Bytes without a GIF's signature, named as one, are not read as a blank picture.
        const QByteArray notGif = QByteArray::fromHex("00000000ff000000ff000000ff2c00d500000300020300020"
                                                      "0e808002801010101000000020002");
        EXPECT_PICTURE_ERROR(LoadPictureFromData(notGif, "x.gif"), "GIF picture is damaged");
        EXPECT_PICTURE_ERROR(LoadPictureFromData(notGif, "x.png"), "PNG picture is damaged");
        const QByteArray b = EncodeBmp(solid(16, 16, Qt::red));
        EXPECT_PICTURE_ERROR(LoadPictureFromData(b.left(b.size() - 1)), "truncated");
        const QByteArray i = ico({solid(16, 16, Qt::red)});
        EXPECT_PICTURE_ERROR(LoadPictureFromData(i.left(i.size() - 1), "x.ico"), "icon");
        EXPECT_PICTURE_ERROR(LoadPictureFromData(sampleEmf().left(60), "x.emf"), "metafile");
        EXPECT_PICTURE_ERROR(LoadPictureFromData("<svg xmlns=\"http://www.w3.org/2000/svg\"><rect", "x.svg"), "SVG");

        // Absurd sizes are refused from the header, before anything is allocated.
        QByteArray hugePng = png;
        qToBigEndian<quint32>(100000, hugePng.data() + 16);
        qToBigEndian<quint32>(100000, hugePng.data() + 20);
        qToBigEndian<quint32>(crc32(hugePng.mid(12, 17)), hugePng.data() + 29);
        EXPECT_PICTURE_ERROR(LoadPictureFromData(hugePng), "too large");
        QByteArray hugeBmp = b;
        qToLittleEndian<qint32>(60000, hugeBmp.data() + 18);
        qToLittleEndian<qint32>(60000, hugeBmp.data() + 22);
        EXPECT_PICTURE_ERROR(LoadPictureFromData(hugeBmp), "too large");
        QByteArray hugeGif = g;
        qToLittleEndian<quint16>(65535, hugeGif.data() + 6);
        qToLittleEndian<quint16>(65535, hugeGif.data() + 8);
        qToLittleEndian<quint16>(65535, hugeGif.data() + 13 + 12 + 5);
        qToLittleEndian<quint16>(65535, hugeGif.data() + 13 + 12 + 7);
        EXPECT_PICTURE_ERROR(LoadPictureFromData(hugeGif), "too large");
        QByteArray hugeIco = i;
        qToLittleEndian<qint32>(30000, hugeIco.data() + 22 + 4);
        qToLittleEndian<qint32>(60000, hugeIco.data() + 22 + 8);
        EXPECT_PICTURE_ERROR(LoadPictureFromData(hugeIco), "icon");
    }

    void noDamageCrashesTheLoader()
    {
        survivesDamage(samplePng(), "x.png");
        survivesDamage(encoded(solid(16, 16, Qt::red), "jpeg"), "x.jpg");
        survivesDamage(gif(2, 2, kPalette, {1, 2, 3, 0}), "x.gif");
        survivesDamage(EncodeBmp(solid(5, 3, Qt::red)), "x.bmp");
        survivesDamage(bmp(4, 3, 8, 1, kPalette, QByteArray("\x04\x01\x00\x00\x00\x03\x02\x03\x04\x00\x00\x01", 12)), "x.rle");
        survivesDamage(ico({solid(16, 16, Qt::red)}), "x.ico");
        survivesDamage(sampleTga(), "x.tga");
        survivesDamage(samplePcx(), "x.pcx");
        survivesDamage(sampleWmf(), "x.wmf");
        survivesDamage(sampleEmf(), "x.emf");
        survivesDamage(kSvg, "x.svg");
    }

    void files()
    {
        QTemporaryDir dir;
        EXPECT_PICTURE_ERROR(LoadPictureFromFile(dir.filePath("missing.png")), "Cannot open \"missing.png\"");
        QFile f(dir.filePath("pic.tga"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(sampleTga());
        f.close();
        QCOMPARE(LoadPictureFromFile(f.fileName()).format(), PictureFormat::Tga);
        QVERIFY(PictureFileExtensions().contains("PCX"));
        QVERIFY(PictureFileExtensions().contains("SVG"));
    }
};

OV_TEST(TestPictureLoader)
#include "test_picture_loader.moc"
