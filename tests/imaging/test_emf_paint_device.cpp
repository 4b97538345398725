// Painting recorded as an enhanced metafile: well-formed files, vectors where the format
// can say it, and a picture that plays back like the painting itself.
#include "imaging/emf_paint_device.h"
#include "imaging/metafile_player.h"
#include "imaging/metafile_sink.h"
#include "test_registry.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QTest>
#include <QtEndian>

namespace {

constexpr QSize kSize(200, 150);

MetafileRecordingSink playRecorded(const QByteArray& emf, QSizeF target = kSize)
{
    TMetafile mf;
    if (!mf.loadFromData(emf))
        qWarning() << mf.errorText();
    MetafileRecordingSink sink;
    mf.playTo(sink, QRectF(QPointF(0, 0), target));
    return sink;
}

QImage direct(const std::function<void(QPainter&)>& paint)
{
    QImage img(kSize, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    paint(p);
    return img;
}

QImage replayed(const std::function<void(QPainter&)>& paint)
{
    QImage img(kSize, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::white);
    QPainter p(&img);
    TMetafile mf;
    if (!mf.loadFromData(RecordEmf(kSize, paint)))
        qWarning() << mf.errorText();
    mf.play(p, QRectF(QPointF(0, 0), QSizeF(kSize)));
    return img;
}

int difference(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

// Pixels more than `tolerance` apart, ignoring those next to an edge of the direct
// drawing (antialiasing differs there).
int differingPixels(const QImage& a, const QImage& b, int tolerance)
{
    int n = 0;
    for (int y = 1; y < a.height() - 1; ++y)
        for (int x = 1; x < a.width() - 1; ++x) {
            const QRgb c = a.pixel(x, y);
            bool edge = false;
            for (int dy = -1; dy <= 1 && !edge; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    if (difference(c, a.pixel(x + dx, y + dy)) > 40) {
                        edge = true;
                        break;
                    }
            if (!edge && difference(c, b.pixel(x, y)) > tolerance)
                ++n;
        }
    return n;
}

} // namespace

class TestEmfPaintDevice : public QObject {
    Q_OBJECT
private slots:
    void wellFormedFile()
    {
        const QByteArray emf = RecordEmf(QSize(96, 48), [](QPainter& p) { p.fillRect(0, 0, 10, 10, Qt::red); });
        QCOMPARE(qFromLittleEndian<quint32>(emf.constData()), 1u);
        QCOMPARE(qFromLittleEndian<quint32>(emf.constData() + 40), 0x464D4520u);
        QCOMPARE(qsizetype(qFromLittleEndian<quint32>(emf.constData() + 48)), emf.size());
        // The frame: one inch by half an inch, in hundredths of a millimetre.
        QCOMPARE(qFromLittleEndian<qint32>(emf.constData() + 32), 2540);
        QCOMPARE(qFromLittleEndian<qint32>(emf.constData() + 36), 1270);
        // Records counted in the header, the last one the end of file.
        qsizetype pos = 0;
        quint32 records = 0, last = 0;
        while (pos < emf.size()) {
            last = qFromLittleEndian<quint32>(emf.constData() + pos);
            const quint32 size = qFromLittleEndian<quint32>(emf.constData() + pos + 4);
            QVERIFY(size >= 8 && size % 4 == 0);
            pos += size;
            ++records;
        }
        QCOMPARE(pos, emf.size());
        QCOMPARE(last, 14u);
        QCOMPARE(qFromLittleEndian<quint32>(emf.constData() + 52), records);
        TMetafile mf;
        QVERIFY(mf.loadFromData(emf));
        QCOMPARE(mf.naturalSize(), QSizeF(96, 48));
    }

    void opaqueShapesStayVectors()
    {
        const QByteArray emf = RecordEmf(kSize, [](QPainter& p) {
            p.fillRect(QRectF(10, 20, 50, 30), QColor(255, 0, 0));
            p.setPen(QPen(QColor(0, 0, 255), 4));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QRectF(100, 50, 60, 40));
            p.setFont(QFont("Liberation Sans", 20));
            p.setPen(Qt::black);
            p.drawText(QPointF(20, 130), "Ab");
        });
        const MetafileRecordingSink sink = playRecorded(emf);
        QVERIFY(sink.ofKind("image").empty());
        const auto paths = sink.ofKind("path");
        QVERIFY(paths.size() >= 3);
        QCOMPARE(paths[0]->paint.brush.color(), QColor(255, 0, 0));
        const QRectF r = paths[0]->path.boundingRect();
        QVERIFY2(std::abs(r.left() - 10) < 0.1 && std::abs(r.bottom() - 50) < 0.1, qPrintable(QString::number(r.left())));
        // The outline is the filled shape of the stroke: 4 pixels wide around the ellipse.
        QCOMPARE(paths[1]->paint.brush.color(), QColor(0, 0, 255));
        const QRectF o = paths[1]->path.boundingRect();
        QVERIFY(std::abs(o.left() - 98) < 0.2 && std::abs(o.right() - 162) < 0.2);
        QVERIFY(paths[1]->paint.pen.style() == Qt::NoPen);
        // Text arrives as glyph outlines in black.
        QCOMPARE(paths.back()->paint.brush.color(), QColor(Qt::black));
        QVERIFY(paths.back()->path.boundingRect().intersects(QRectF(20, 100, 40, 30)));
    }

    void gradientsBecomeBandsOfColour()
    {
        const QByteArray emf = RecordEmf(kSize, [](QPainter& p) {
            QLinearGradient g(0, 0, 200, 0);
            g.setColorAt(0, QColor(255, 0, 0));
            g.setColorAt(1, QColor(0, 0, 255));
            p.fillRect(QRectF(0, 0, 200, 150), g);
        });
        const MetafileRecordingSink sink = playRecorded(emf);
        QVERIFY(sink.ofKind("image").empty());
        const auto paths = sink.ofKind("path");
        QVERIFY(paths.size() > 20);
        // From red on the left to blue on the right.
        QVERIFY(paths.front()->paint.brush.color().red() > 240);
        QVERIFY(paths.back()->paint.brush.color().blue() > 240);
        // Clipped to the shape while the bands are painted.
        QVERIFY(!sink.ofKind("clip").empty());
    }

    void transparencyBecomesABlendedBitmap()
    {
        const QByteArray emf = RecordEmf(kSize, [](QPainter& p) {
            p.fillRect(QRectF(10, 10, 40, 20), QColor(0, 128, 0, 100));
        });
        const MetafileRecordingSink sink = playRecorded(emf);
        const auto images = sink.ofKind("image");
        QCOMPARE(images.size(), size_t(1));
        QVERIFY(images[0]->rect.contains(QRectF(10, 10, 40, 20)));
        QVERIFY(images[0]->image.hasAlphaChannel());
        const QImage img = images[0]->image.convertToFormat(QImage::Format_ARGB32);
        const QRgb c = img.pixel(img.width() / 2, img.height() / 2);
        QVERIFY(std::abs(qAlpha(c) - 100) <= 2);
    }

    void playsBackLikeThePainting()
    {
        const auto paint = [](QPainter& p) {
            p.setRenderHint(QPainter::Antialiasing);
            p.fillRect(QRectF(5, 5, 60, 40), QColor(200, 30, 30));
            // Gradients in their three coordinate modes, with a brush transform.
            QLinearGradient object(0, 0, 1, 1);
            object.setCoordinateMode(QGradient::ObjectBoundingMode);
            object.setColorAt(0, Qt::yellow);
            object.setColorAt(1, Qt::darkGreen);
            p.setPen(Qt::NoPen);
            p.setBrush(object);
            p.drawEllipse(QRectF(70, 5, 60, 40));
            QLinearGradient logical(0, 0, 30, 0);
            logical.setSpread(QGradient::ReflectSpread);
            logical.setColorAt(0, Qt::white);
            logical.setColorAt(1, Qt::blue);
            QBrush turned(logical);
            turned.setTransform(QTransform().rotate(30));
            p.setBrush(turned);
            p.drawRect(QRectF(135, 5, 60, 40));
            QRadialGradient radial(QPointF(35, 80), 30);
            radial.setColorAt(0, Qt::white);
            radial.setColorAt(1, Qt::darkBlue);
            p.setBrush(radial);
            p.drawRect(QRectF(5, 50, 60, 60));
            // Transparency, a rotated picture, a dashed outline, clipping, text.
            p.setBrush(QColor(0, 0, 0, 90));
            p.drawRect(QRectF(40, 70, 50, 30));
            QImage checker(4, 4, QImage::Format_RGB32);
            for (int i = 0; i < 16; ++i)
                checker.setPixel(i % 4, i / 4, (i % 4 + i / 4) % 2 ? qRgb(255, 140, 0) : qRgb(20, 20, 20));
            p.save();
            p.translate(130, 80);
            p.rotate(20);
            p.drawImage(QRectF(-20, -20, 40, 40), checker);
            p.restore();
            p.setPen(QPen(Qt::darkMagenta, 3, Qt::DashLine, Qt::FlatCap));
            p.setBrush(Qt::NoBrush);
            p.drawLine(QPointF(5, 120), QPointF(195, 140));
            p.setClipRect(QRectF(150, 100, 40, 45));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0, 160, 160));
            p.drawEllipse(QRectF(140, 95, 70, 70));
        };
        const QImage a = direct(paint);
        const QImage b = replayed(paint);
        // Bands of colour and resampled bitmaps stay within a few levels of the painting.
        const int off = differingPixels(a, b, 24);
        QVERIFY2(off < kSize.width() * kSize.height() / 100, qPrintable(QString::number(off)));
    }
};

OV_TEST(TestEmfPaintDevice)
#include "test_emf_paint_device.moc"
