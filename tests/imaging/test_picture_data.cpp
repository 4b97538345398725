// Picture.Data payloads: written exactly as the object stream stores them, read back
// to the same picture, and refused with a reason when damaged; JPEG writing.
#include "imaging/bmp_decoder.h"
#include "imaging/bmp_writer.h"
#include "imaging/jpeg_writer.h"
#include "imaging/metafile_player.h"
#include "imaging/metafile_sink.h"
#include "imaging/picture_loader.h"
#include "picture_builders.h"
#include "picture_test_util.h"
#include "test_registry.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtEndian>

using namespace pictest;

namespace {

QByteArray className(const char* name)
{
    return QByteArray(1, char(qstrlen(name))) + name;
}

QByteArray le32(qsizetype v)
{
    QByteArray n(4, '\0');
    qToLittleEndian<quint32>(quint32(v), n.data());
    return n;
}

quint32 u32At(const QByteArray& b, qsizetype at)
{
    return qFromLittleEndian<quint32>(b.constData() + at);
}

quint16 u16At(const QByteArray& b, qsizetype at)
{
    return qFromLittleEndian<quint16>(b.constData() + at);
}

// Where a picture's drawing lands when played into `target`.
QRectF drawnBounds(const TPicture& p, const QRectF& target)
{
    MetafileRecordingSink sink;
    p.metafile()->playTo(sink, target);
    return sink.drawingBounds();
}

} // namespace

class TestPictureData : public QObject {
    Q_OBJECT
private slots:
    void bitmapKeepsItsBmpByteForByte()
    {
        const QByteArray file = bmp(2, 1, 8, 0, {qRgb(1, 2, 3), qRgb(4, 5, 6)}, QByteArray("\x01\x00\x00\x00", 4));
        const TPicture p = LoadPictureFromData(file);
        const QByteArray data = p.pictureData();
        QCOMPARE(p.graphicClassName(), QStringLiteral("TBitmap"));
        QCOMPARE(data, className("TBitmap") + le32(file.size()) + file);
        const TPicture back = TPicture::fromPictureData(data);
        QCOMPARE(back.kind(), TPicture::Kind::Bitmap);
        QCOMPARE(back.pictureData(), data);
        QCOMPARE(back.image().pixel(0, 0), qRgb(4, 5, 6));
    }

    void otherBitmapsBecomeCompleteBmps()
    {
        QImage img(3, 2, QImage::Format_ARGB32);
        img.fill(qRgba(10, 20, 30, 255));
        img.setPixel(2, 1, qRgba(50, 60, 70, 80));
        for (const QByteArray& file : {encoded(img, "png"), Tga{0, 0, 2, 0, 0, 0, 1, 1, 24, 0, {}, {}, bgr(7, 8, 9)}.build()}) {
            const TPicture p = LoadPictureFromData(file);
            const QByteArray data = p.pictureData();
            QVERIFY(data.startsWith(className("TBitmap")));
            const quint32 size = u32At(data, 8);
            QCOMPARE(qsizetype(size), data.size() - 12);
            const QByteArray bmpFile = data.mid(12);
            QVERIFY(bmpFile.startsWith("BM"));
            QCOMPARE(qsizetype(u32At(bmpFile, 2)), bmpFile.size());
            const QImage decoded = ovpic::decodeBmp(bmpFile).convertToFormat(QImage::Format_ARGB32);
            const QImage original = p.image().convertToFormat(QImage::Format_ARGB32);
            QCOMPARE(decoded.size(), original.size());
            for (int y = 0; y < decoded.height(); ++y)
                for (int x = 0; x < decoded.width(); ++x)
                    QCOMPARE(decoded.pixel(x, y), original.pixel(x, y));
            // Read back it is a BMP now and stays that one file.
            const TPicture back = TPicture::fromPictureData(data);
            QCOMPARE(back.format(), PictureFormat::Bmp);
            QCOMPARE(back.pictureData(), data);
        }
    }

    void iconIsTheIcoFile()
    {
        const QByteArray file = ico({solid(16, 16, Qt::red, QImage::Format_ARGB32),
                                     solid(32, 32, Qt::blue, QImage::Format_ARGB32)});
        const TPicture p = LoadPictureFromData(file);
        QCOMPARE(p.graphicClassName(), QStringLiteral("TIcon"));
        QCOMPARE(p.pictureData(), className("TIcon") + file);
        const TPicture back = TPicture::fromPictureData(p.pictureData());
        QCOMPARE(back.kind(), TPicture::Kind::Icon);
        QCOMPARE(back.size(), QSize(32, 32));
        QCOMPARE(back.pictureData(), p.pictureData());
    }

    void enhancedMetafileIsCountedWithItsCount()
    {
        mftest::Emf e;
        e.brush(1, 0, mftest::rgb(255, 0, 0)).select(1).rectangle(0, 0, 1000, 1000);
        const QByteArray file = e.build();
        const TPicture p = LoadPictureFromData(file);
        const QByteArray data = p.pictureData();
        QCOMPARE(p.graphicClassName(), QStringLiteral("TMetafile"));
        QVERIFY(data.startsWith(className("TMetafile")));
        QCOMPARE(qsizetype(u32At(data, 10)), file.size() + 4); // the count counts itself
        QCOMPARE(data.mid(14), file);
        const TPicture back = TPicture::fromPictureData(data);
        QCOMPARE(back.format(), PictureFormat::Emf);
        QCOMPARE(back.pictureData(), data);
    }

    void placeableMetafileStaysAsItWas()
    {
        mftest::Wmf w;
        w.rectangle(500, 500, 700, 600);
        const QByteArray file = w.buildPlaceable(QRect(500, 500, 200, 100), 1440);
        const TPicture p = LoadPictureFromData(file);
        QCOMPARE(p.pictureData().mid(14), file);
        QCOMPARE(TPicture::fromPictureData(p.pictureData()).pictureData(), p.pictureData());
    }

    void plainMetafileGetsThePlaceableHeader()
    {
        mftest::Wmf w;
        w.mapMode(8).windowOrg(0, 0).windowExt(200, 100).rectangle(0, 0, 200, 100);
        const TPicture p = LoadPictureFromData(w.build());
        QCOMPARE(p.format(), PictureFormat::Wmf);
        const QByteArray bits = p.pictureData().mid(14);
        QCOMPARE(u32At(bits, 0), 0x9AC6CDD7u);
        QCOMPARE(u16At(bits, 4), quint16(0)); // handle
        QCOMPARE(u16At(bits, 6), quint16(0)); // left
        QCOMPARE(u16At(bits, 8), quint16(0)); // top
        // 200 x 100 pixels at 96 per inch in hundredths of a millimetre.
        QCOMPARE(u16At(bits, 10), quint16(5292));
        QCOMPARE(u16At(bits, 12), quint16(2646));
        QCOMPARE(u16At(bits, 14), quint16(2540));
        QCOMPARE(u32At(bits, 16), 0u);
        quint16 sum = 0;
        for (int i = 0; i < 10; ++i)
            sum ^= u16At(bits, 2 * i);
        QCOMPARE(u16At(bits, 20), sum);
        QCOMPARE(bits.mid(22), w.build()); // the records follow unchanged

        const TPicture back = TPicture::fromPictureData(p.pictureData());
        QCOMPARE(back.format(), PictureFormat::PlaceableWmf);
        QCOMPARE(back.size(), p.size());
        const QRectF target(0, 0, 300, 150);
        QCOMPARE(drawnBounds(back, target), drawnBounds(p, target));
    }

    void plainMetafileWithoutWindowKeepsItsPlace()
    {
        // Records that state no window: the picture is what they draw, here 300..500.
        mftest::Wmf w;
        w.rectangle(300, 300, 500, 400);
        const TPicture p = LoadPictureFromData(w.build());
        const TPicture back = TPicture::fromPictureData(p.pictureData());
        const QRectF target(0, 0, 200, 100);
        const QRectF a = drawnBounds(p, target), b = drawnBounds(back, target);
        QVERIFY2(std::abs(a.left() - b.left()) < 1.5 && std::abs(a.right() - b.right()) < 1.5
                     && std::abs(a.top() - b.top()) < 1.5 && std::abs(a.bottom() - b.bottom()) < 1.5,
                 qPrintable(QStringLiteral("%1,%2 %3x%4 vs %5,%6 %7x%8").arg(a.x()).arg(a.y()).arg(a.width())
                                .arg(a.height()).arg(b.x()).arg(b.y()).arg(b.width()).arg(b.height())));
    }

    void svgIsSavedAsEnhancedMetafile()
    {
        const QByteArray svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"50\" height=\"30\">"
                               "<rect width=\"50\" height=\"30\" fill=\"#ff0000\"/></svg>";
        const TPicture p = LoadPictureFromData(svg);
        QCOMPARE(p.format(), PictureFormat::Svg);
        const QByteArray data = p.pictureData();
        QVERIFY(data.startsWith(className("TMetafile")));
        QCOMPARE(u32At(data, 14), 1u);
        QCOMPARE(u32At(data, 14 + 40), 0x464D4520u);
        const TPicture back = TPicture::fromPictureData(data);
        QCOMPARE(back.size(), QSize(50, 30));
        QCOMPARE(back.pictureData(), data);
    }

    void damagedPayloads()
    {
        EXPECT_PICTURE_ERROR(TPicture::fromPictureData(QByteArray()), "damaged");
        EXPECT_PICTURE_ERROR(TPicture::fromPictureData(QByteArray(1, '\0')), "damaged");
        EXPECT_PICTURE_ERROR(TPicture::fromPictureData(QByteArray(1, char(64)) + QByteArray(64, 'A')), "damaged");
        EXPECT_PICTURE_ERROR(TPicture::fromPictureData(className("TJpegImage") + "xxxx"), "unknown kind (TJpegImage)");
        EXPECT_PICTURE_ERROR(TPicture::fromPictureData(className("TBitmap") + "\x10\x00"), "damaged");
        EXPECT_PICTURE_ERROR(TPicture::fromPictureData(className("TBitmap") + QByteArray("\xFF\xFF\x00\x00BM", 6)), "damaged");
        const QByteArray file = EncodeBmp(solid(4, 4, Qt::red));
        EXPECT_PICTURE_ERROR(TPicture::fromPictureData(className("TBitmap") + le32(file.size()) + file.left(file.size() - 8)), "damaged");
        EXPECT_PICTURE_ERROR(TPicture::fromPictureData(className("TMetafile") + QByteArray("\x02\x00\x00\x00", 4)), "damaged");
        EXPECT_PICTURE_ERROR(TPicture::fromPictureData(className("TMetafile") + QByteArray("\x40\x00\x00\x00", 4) + QByteArray(60, 'x')), "metafile");
        EXPECT_PICTURE_ERROR(TPicture::fromPictureData(className("TIcon") + "nonsense"), "icon");
        // An empty bitmap is stored as a count of 0.
        QVERIFY(TPicture::fromPictureData(className("TBitmap") + QByteArray(4, '\0')).isEmpty());
        QVERIFY(TPicture().pictureData().isEmpty());
    }

    void jpegAtAGivenQuality()
    {
        QImage img(64, 64, QImage::Format_ARGB32);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                img.setPixel(x, y, qRgba(x * 4, y * 4, (x ^ y) * 4, x < 8 ? 0 : 255));
        const QByteArray low = EncodeJpeg(img, 10), high = EncodeJpeg(img, 95);
        QVERIFY(low.startsWith("\xFF\xD8\xFF"));
        QVERIFY(high.size() > low.size() * 2);
        const QImage back = LoadPictureFromData(high).image();
        QCOMPARE(back.size(), img.size());
        QVERIFY(std::abs(qRed(back.pixel(40, 20)) - 160) < 10);
        // Transparent parts become white, not black.
        QVERIFY(qRed(back.pixel(2, 30)) > 240 && qBlue(back.pixel(2, 30)) > 240);
        EXPECT_PICTURE_ERROR(EncodeJpeg(QImage(), 80), "no picture");
    }

    void jpegFileWrittenStraightToItsPlace()
    {
        QTemporaryDir dir;
        const QString target = dir.filePath("page.jpg");
        QString reason;
        QVERIFY(SaveBitmapFileAsJpeg(80, target, solid(20, 10, Qt::blue), &reason));
        QCOMPARE(LoadPictureFromFile(target).size(), QSize(20, 10));
        // Nothing but the picture is left in the folder: no hand-over file.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"page.jpg"});

        // A failure keeps the earlier file and says why.
        QVERIFY(!SaveBitmapFileAsJpeg(80, target, QImage(), &reason));
        QVERIFY(reason.contains("no picture"));
        QCOMPARE(LoadPictureFromFile(target).size(), QSize(20, 10));
        QVERIFY(!SaveBitmapFileAsJpeg(80, dir.filePath("missing/folder/x.jpg"), solid(2, 2, Qt::red), &reason));
        QVERIFY2(reason.contains("x.jpg"), qPrintable(reason));
    }
};

OV_TEST(TestPictureData)
#include "test_picture_data.moc"
