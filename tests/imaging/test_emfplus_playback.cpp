// EMF+ records played through the recording sink: which records draw in EMF+ only and
// dual files, objects, shapes, transforms, clipping, text and images.
#include "emfplus_builders.h"
#include "imaging/metafile_player.h"
#include "imaging/metafile_sink.h"
#include "test_registry.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>
#include <QTest>

using namespace eptest;
using Rec = MetafileRecordingSink;

namespace {

// The test pictures map one world unit (a device pixel) onto 0.1 target units.
Rec play(EmfPlus& e, const QRectF& target = QRectF(0, 0, 100, 100))
{
    TMetafile mf;
    const QByteArray bytes = e.build();
    if (!mf.loadFromData(bytes))
        qWarning() << mf.errorText();
    Rec sink;
    mf.playTo(sink, target);
    return sink;
}

bool near(qreal a, qreal b, qreal eps = 0.05)
{
    return std::abs(a - b) < eps;
}

bool nearRect(const QRectF& a, const QRectF& b, qreal eps = 0.05)
{
    return near(a.left(), b.left(), eps) && near(a.top(), b.top(), eps) && near(a.right(), b.right(), eps)
        && near(a.bottom(), b.bottom(), eps);
}

QString str(const QRectF& r)
{
    return QStringLiteral("(%1,%2 %3x%4)").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

#define CHECK_RECT(actual, expected) QVERIFY2(nearRect(actual, expected), qPrintable(str(actual)))

std::vector<const Rec::Call*> drawings(const Rec& sink)
{
    std::vector<const Rec::Call*> out;
    for (const Rec::Call& c : sink.calls)
        if (c.op != "clip")
            out.push_back(&c);
    return out;
}

} // namespace

class TestEmfPlusPlayback : public QObject {
    Q_OBJECT
private slots:
    void emfPlusOnlyFilesDrawTheirRecords()
    {
        EmfPlus e;
        e.fillRects(argb(255, 255, 0, 0), true, {QRectF(100, 200, 300, 100)});
        e.flush();
        // An EMF record outside a GetDC section is not part of the picture.
        e.emf.rectangle(0, 0, 1000, 1000);
        const Rec sink = play(e);
        const auto calls = drawings(sink);
        QCOMPARE(calls.size(), size_t(1));
        QCOMPARE(calls[0]->op, QStringLiteral("path"));
        QCOMPARE(calls[0]->paint.brush.color(), QColor(255, 0, 0));
        CHECK_RECT(calls[0]->path.boundingRect(), QRectF(10, 20, 30, 10));
    }

    void dualFilesKeepDrawingTheirEmfTwins()
    {
        EmfPlus e(true);
        e.fillRects(argb(255, 255, 0, 0), true, {QRectF(100, 200, 300, 100)});
        e.flush();
        e.emf.brush(1, 0, mftest::rgb(0, 0, 255)).select(1).rectangle(100, 200, 400, 300);
        const Rec sink = play(e);
        const auto calls = drawings(sink);
        QCOMPARE(calls.size(), size_t(1));
        QCOMPARE(calls[0]->paint.brush.color(), QColor(0, 0, 255));
    }

    void getDcLetsEmfRecordsDraw()
    {
        EmfPlus e;
        e.clipRect(QRectF(0, 0, 500, 500), 0);
        e.fillRects(argb(255, 0, 255, 0), true, {QRectF(0, 0, 100, 100)});
        e.getDC().flush();
        e.emf.brush(1, 0, mftest::rgb(0, 0, 255)).select(1).rectangle(500, 500, 600, 600);
        e.fillRects(argb(255, 0, 255, 0), true, {QRectF(200, 0, 100, 100)}).flush();
        e.emf.rectangle(700, 700, 800, 800); // after the next EMF+ record: not drawn
        const Rec sink = play(e);
        const auto calls = drawings(sink);
        QCOMPARE(calls.size(), size_t(3));
        QCOMPARE(calls[1]->op, QStringLiteral("polygon"));
        QCOMPARE(calls[1]->paint.brush.color(), QColor(0, 0, 255));
        // The EMF record drew in the device context's own clip (none), the EMF+ records
        // in theirs.
        std::vector<std::optional<QPainterPath>> clips;
        for (const Rec::Call& c : sink.calls)
            if (c.op == "clip")
                clips.push_back(c.clip);
        QVERIFY(clips.size() >= 3);
        QVERIFY(clips[0].has_value());
        QVERIFY(!clips[1].has_value());
        QVERIFY(clips[2].has_value());
        CHECK_RECT(clips[2]->boundingRect(), QRectF(0, 0, 50, 50));
    }

    void brushesOfEveryKind()
    {
        EmfPlus e;
        e.solidBrush(1, argb(128, 10, 20, 30));
        e.hatchBrush(2, 4, argb(255, 255, 0, 0), argb(255, 255, 255, 0));
        QTransform turn;
        turn.rotate(90);
        e.linearBrush(3, QRectF(0, 0, 100, 10), argb(255, 255, 0, 0), argb(255, 0, 0, 255), 4, &turn);
        e.fillRects(1, false, {QRectF(0, 0, 10, 10)});
        e.fillRects(2, false, {QRectF(0, 0, 10, 10)});
        e.fillRects(3, false, {QRectF(0, 0, 100, 100)});
        e.fillRects(9, false, {QRectF(0, 0, 10, 10)}); // no such brush: nothing drawn
        const Rec sink = play(e);
        const auto calls = drawings(sink);
        QCOMPARE(calls.size(), size_t(3));
        QCOMPARE(calls[0]->paint.brush.color(), QColor(10, 20, 30, 128));
        QCOMPARE(calls[1]->paint.brush.style(), Qt::CrossPattern);
        QVERIFY(calls[1]->paint.opaqueBackground);
        QCOMPARE(calls[1]->paint.background, QColor(255, 255, 0));
        const QBrush& g = calls[2]->paint.brush;
        QCOMPARE(g.style(), Qt::LinearGradientPattern);
        const auto* lg = static_cast<const QLinearGradient*>(g.gradient());
        QCOMPARE(lg->stops().first().second, QColor(255, 0, 0));
        QCOMPARE(lg->stops().last().second, QColor(0, 0, 255));
        QCOMPARE(lg->spread(), QGradient::PadSpread);
        // The gradient runs along the rectangle's width, turned a quarter and scaled to
        // the target: from (0, 0) down to (0, 10).
        const QPointF a = g.transform().map(lg->start()), z = g.transform().map(lg->finalStop());
        QVERIFY(near(a.x(), 0) && near(a.y(), 0));
        QVERIFY2(near(z.x(), 0) && near(z.y(), 10), qPrintable(QString("%1 %2").arg(z.x()).arg(z.y())));
    }

    void pensAndOutlines()
    {
        EmfPlus e;
        e.pen(1, 40, argb(255, 0, 0, 255), 0, 1, 2, 2); // 40 world units, dashed, round
        e.pen(2, 0, argb(255, 0, 0, 0));                // hairline
        e.pen(3, 3, argb(255, 0, 0, 0), 2);             // 3 device pixels
        e.drawLines(1, {QPointF(0, 0), QPointF(100, 0), QPointF(100, 100)}, true);
        e.drawRects(2, {QRectF(10, 10, 20, 20)});
        e.ellipse(false, 3, false, QRectF(0, 0, 200, 100));
        e.scale(2, 2);
        e.drawLines(3, {QPointF(0, 0), QPointF(10, 0)});
        e.drawLines(1, {QPointF(0, 0), QPointF(10, 0)});
        const Rec sink = play(e);
        const auto calls = drawings(sink);
        QCOMPARE(calls.size(), size_t(5));
        const QPen& dashed = calls[0]->paint.pen;
        QVERIFY(near(dashed.widthF(), 4));
        QCOMPARE(dashed.capStyle(), Qt::RoundCap);
        QCOMPARE(dashed.joinStyle(), Qt::RoundJoin);
        QCOMPARE(dashed.dashPattern(), QList<qreal>({3, 1}));
        QCOMPARE(dashed.color(), QColor(0, 0, 255));
        QCOMPARE(calls[0]->path.elementCount(), 4); // closed back to the start
        QCOMPARE(calls[1]->paint.pen.widthF(), 0.0); // one device pixel
        QVERIFY(near(calls[2]->paint.pen.widthF(), 0.3));
        CHECK_RECT(calls[2]->path.boundingRect(), QRectF(0, 0, 20, 10));
        // Pixel widths do not follow the world transform; world widths do.
        QVERIFY(near(calls[3]->paint.pen.widthF(), 0.3));
        QVERIFY(near(calls[4]->paint.pen.widthF(), 8));
        QVERIFY(calls[0]->paint.brush.style() == Qt::NoBrush);
    }

    void ellipsesPiesArcsAndPolygons()
    {
        EmfPlus e;
        e.pen(1, 1, argb(255, 0, 0, 0));
        e.ellipse(true, argb(255, 1, 2, 3), true, QRectF(100, 100, 200, 100));
        // GDI+ angles run clockwise on the screen: 0..90 is the lower right quarter.
        e.arc(0x4010, argb(255, 9, 9, 9), 0, 90, QRectF(0, 0, 200, 200));
        e.arc(0x4012, 1, 180, 90, QRectF(0, 0, 200, 200));
        e.fillPolygon(argb(255, 5, 5, 5), true, {QPointF(0, 0), QPointF(100, 0), QPointF(0, 100)});
        const Rec sink = play(e);
        const auto calls = drawings(sink);
        QCOMPARE(calls.size(), size_t(4));
        CHECK_RECT(calls[0]->path.boundingRect(), QRectF(10, 10, 20, 10));
        CHECK_RECT(calls[1]->path.boundingRect(), QRectF(10, 10, 10, 10));
        CHECK_RECT(calls[2]->path.boundingRect(), QRectF(0, 0, 10, 10)); // the upper left quarter
        QVERIFY(calls[2]->paint.brush.style() == Qt::NoBrush);
        CHECK_RECT(calls[3]->path.boundingRect(), QRectF(0, 0, 10, 10));
    }

    void pathObjects()
    {
        EmfPlus e;
        // A triangle closed by its last type, then a Bezier figure.
        e.path(1, {QPointF(0, 0), QPointF(100, 0), QPointF(100, 100), QPointF(200, 0), QPointF(250, 50),
                   QPointF(300, 50), QPointF(400, 0)},
               QByteArray("\x00\x01\x81\x00\x03\x03\x03", 7));
        e.pen(2, 10, argb(255, 0, 128, 0));
        e.fillPath(1, argb(255, 200, 0, 0), true);
        e.drawPath(1, 2);
        // Run-length types and 16-bit points: a square.
        QByteArray d;
        put32(d, kVersion);
        put32(d, 4);
        put32(d, 0x5000); // compressed points, run-length types
        for (int v : {0, 0, 50, 0, 50, 50, 0, 50})
            put16(d, v);
        d.append(QByteArray("\x41\x00\x42\x01\x41\x81", 6)); // a start, two lines, a closing line
        e.object(3, 3, d);
        e.fillPath(3, argb(255, 1, 1, 1), true);
        const Rec sink = play(e);
        const auto calls = drawings(sink);
        QCOMPARE(calls.size(), size_t(3));
        const QPainterPath& p = calls[0]->path;
        QCOMPARE(p.elementAt(3).type, QPainterPath::LineToElement); // the close
        QCOMPARE(p.elementAt(3).x, 0.0);
        QCOMPARE(p.elementAt(5).type, QPainterPath::CurveToElement);
        CHECK_RECT(p.boundingRect(), QRectF(0, 0, 40, 10));
        QCOMPARE(calls[1]->paint.pen.color(), QColor(0, 128, 0));
        CHECK_RECT(calls[2]->path.boundingRect(), QRectF(0, 0, 5, 5));
        QCOMPARE(calls[2]->path.elementCount(), 5);
    }

    void transformsAndSavedStates()
    {
        EmfPlus e;
        const auto box = [&e] { e.fillRects(argb(255, 0, 0, 0), true, {QRectF(0, 0, 100, 100)}); };
        e.translate(100, 0);
        e.scale(2, 1); // prepended: scaling first, then the move
        box();
        e.save(1);
        e.resetWorld().translate(100, 0).scale(2, 1, true); // appended: the move is scaled too
        box();
        e.restore(1);
        box();
        e.resetWorld().rotate(90);
        box();
        e.setWorld(QTransform(1, 0, 0, 1, 500, 500));
        e.multiply(QTransform::fromScale(0.5, 0.5), true);
        box();
        e.resetWorld().pageTransform(4, 0.5); // half inches at 96 per inch
        e.fillRects(argb(255, 0, 0, 0), true, {QRectF(0, 0, 1, 1)});
        e.pageTransform(2, 1).beginContainer(QRectF(100, 100, 200, 200), QRectF(0, 0, 100, 100), 7);
        box();
        e.endContainer(7);
        box();
        const Rec sink = play(e);
        const auto calls = drawings(sink);
        QCOMPARE(calls.size(), size_t(8));
        CHECK_RECT(calls[0]->path.boundingRect(), QRectF(10, 0, 20, 10));
        CHECK_RECT(calls[1]->path.boundingRect(), QRectF(20, 0, 20, 10));
        CHECK_RECT(calls[2]->path.boundingRect(), QRectF(10, 0, 20, 10));
        CHECK_RECT(calls[3]->path.boundingRect(), QRectF(-10, 0, 10, 10));
        CHECK_RECT(calls[4]->path.boundingRect(), QRectF(25, 25, 5, 5));
        CHECK_RECT(calls[5]->path.boundingRect(), QRectF(0, 0, 4.8, 4.8));
        CHECK_RECT(calls[6]->path.boundingRect(), QRectF(10, 10, 20, 20));
        CHECK_RECT(calls[7]->path.boundingRect(), QRectF(0, 0, 10, 10));
    }

    void clipping()
    {
        EmfPlus e;
        const auto box = [&e] { e.fillRects(argb(255, 0, 0, 0), true, {QRectF(0, 0, 10, 10)}); };
        e.clipRect(QRectF(0, 0, 500, 500), 0);
        e.clipRect(QRectF(100, 100, 1000, 1000), 1); // intersect
        box();
        e.save(1);
        e.clipRect(QRectF(200, 200, 100, 100), 4); // exclude
        box();
        e.restore(1);
        box();
        e.path(2, {QPointF(0, 0), QPointF(300, 0), QPointF(0, 300)}, QByteArray("\x00\x01\x81", 3));
        e.clipPath(2, 0);
        box();
        e.rectRegion(3, QRectF(0, 0, 50, 50));
        e.clipRegion(3, 2); // union
        box();
        e.resetClip();
        box();
        const Rec sink = play(e);
        std::vector<std::optional<QPainterPath>> clips;
        for (const Rec::Call& c : sink.calls)
            if (c.op == "clip")
                clips.push_back(c.clip);
        QCOMPARE(clips.size(), size_t(6));
        CHECK_RECT(clips[0]->boundingRect(), QRectF(10, 10, 40, 40));
        QVERIFY(clips[1]->contains(QPointF(15, 15)));
        QVERIFY(!clips[1]->contains(QPointF(25, 25)));
        QVERIFY(clips[2]->contains(QPointF(25, 25)));
        QVERIFY(clips[3]->contains(QPointF(5, 5)) && !clips[3]->contains(QPointF(25, 25)));
        QVERIFY(clips[4]->contains(QPointF(4, 4)) && clips[4]->contains(QPointF(1, 25)));
        QVERIFY(!clips[5].has_value());
    }

    void text()
    {
        EmfPlus e;
        e.font(1, 100, 0, 1, "Liberation Sans"); // 100 world units, bold
        e.stringFormat(2, 1, 0);                   // centred
        e.drawString(1, argb(255, 200, 0, 0), true, 2, QRectF(0, 0, 1000, 500), "Spring");
        // A narrow box wraps the words onto lines of their own.
        e.stringFormat(3, 0, 0);
        e.drawString(1, argb(255, 0, 0, 0), true, 3, QRectF(0, 500, 400, 500), "Happy birthday");
        // Characters placed one by one; then glyph indexes of the font.
        e.drawDriverString(1, argb(255, 0, 0, 255), 1, "Hi", {QPointF(100, 900), QPointF(180, 900)});
        e.drawDriverString(1, argb(255, 0, 0, 255), 0, QString(QChar(36)), {QPointF(100, 900)});
        const Rec sink = play(e);
        const auto texts = sink.ofKind("text");
        QCOMPARE(texts.size(), size_t(4));
        const MetafileText& spring = texts[0]->text;
        QCOMPARE(spring.text, QStringLiteral("Spring"));
        QCOMPARE(spring.color, QColor(200, 0, 0));
        QVERIFY(spring.font.bold());
        QVERIFY(near(spring.pixelSize, 10));
        QVERIFY2(near(spring.origin.x() + spring.width / 2, 50, 0.5), qPrintable(QString::number(spring.origin.x())));
        QCOMPARE(texts[1]->text.text, QStringLiteral("Happy"));
        QCOMPARE(texts[2]->text.text, QStringLiteral("birthday"));
        QVERIFY(texts[2]->text.origin.y() > texts[1]->text.origin.y() + 5);
        QVERIFY(near(texts[1]->text.origin.x(), 0));
        const MetafileText& hi = texts[3]->text;
        QCOMPARE(hi.text, QStringLiteral("Hi"));
        QVERIFY(near(hi.origin.x(), 10) && near(hi.origin.y(), 90));
        QVERIFY(near(hi.advances.value(0), 8));
        // Glyph indexes become outlines.
        const auto paths = sink.ofKind("path");
        QCOMPARE(paths.size(), size_t(1));
        QVERIFY(!paths[0]->path.isEmpty());
        QCOMPARE(paths[0]->paint.brush.color(), QColor(0, 0, 255));
    }

    void images()
    {
        QImage img(4, 2, QImage::Format_ARGB32);
        img.fill(qRgba(255, 0, 0, 255));
        img.setPixel(3, 1, qRgba(0, 0, 255, 128));
        EmfPlus e;
        e.bitmap(1, img);
        e.drawImage(1, QRectF(0, 0, 4, 2), QRectF(100, 100, 400, 200));
        e.drawImagePoints(1, QRectF(0, 0, 4, 2), {QPointF(500, 500), QPointF(500, 900), QPointF(300, 500)});
        // A compressed picture file.
        QByteArray png;
        {
            QBuffer b(&png);
            b.open(QIODevice::WriteOnly);
            QImageWriter(&b, "png").write(img);
        }
        QByteArray d;
        put32(d, kVersion);
        put32(d, 1);
        put32(d, 4);
        put32(d, 2);
        put32(d, 0);
        put32(d, 0);
        put32(d, 1);
        d.append(png);
        e.object(2, 5, d);
        e.drawImage(2, QRectF(2, 0, 2, 2), QRectF(0, 0, 100, 100));
        const Rec sink = play(e);
        const auto images = sink.ofKind("image");
        QCOMPARE(images.size(), size_t(2));
        CHECK_RECT(images[0]->rect, QRectF(10, 10, 40, 20));
        QCOMPARE(images[0]->image.pixel(3, 1), qRgba(0, 0, 255, 128));
        CHECK_RECT(images[1]->rect, QRectF(0, 0, 10, 10));
        QCOMPARE(images[1]->source, QRectF(2, 0, 2, 2));
        // Turned a quarter: a parallelogram filled with the picture.
        const auto paths = sink.ofKind("path");
        QCOMPARE(paths.size(), size_t(1));
        CHECK_RECT(paths[0]->path.boundingRect(), QRectF(30, 50, 20, 40));
        QCOMPARE(paths[0]->paint.brush.style(), Qt::TexturePattern);
        const QPointF corner = paths[0]->paint.brush.transform().map(QPointF(0, 0));
        QVERIFY(near(corner.x(), 50) && near(corner.y(), 50));
    }

    void metafilePictures()
    {
        // A nested EMF drawing a rectangle over its whole frame, drawn into a box.
        mftest::Emf inner;
        inner.brush(1, 0, mftest::rgb(0, 200, 0)).select(1).rectangle(0, 0, 1000, 1000);
        const QByteArray nested = inner.build();
        TMetafile probe;
        QVERIFY(probe.loadFromData(nested));
        const QSizeF size = probe.naturalSize();
        EmfPlus e;
        e.metafileImage(1, nested);
        e.drawImage(1, QRectF(QPointF(0, 0), size), QRectF(200, 200, 400, 200));
        const Rec sink = play(e);
        const auto polys = sink.ofKind("polygon");
        QCOMPARE(polys.size(), size_t(1));
        CHECK_RECT(polys[0]->polygon.boundingRect(), QRectF(20, 20, 40, 20));
        QCOMPARE(polys[0]->paint.brush.color(), QColor(0, 200, 0));
        // Clipped to where the picture goes.
        bool clipped = false;
        for (const Rec::Call& c : sink.calls)
            if (c.op == "clip" && c.clip)
                clipped = nearRect(c.clip->boundingRect(), QRectF(20, 20, 40, 20));
        QVERIFY(clipped);
    }

    void objectsInParts()
    {
        // A solid brush written in two parts: the total size leads each part.
        const QByteArray whole = solidBrushData(argb(255, 7, 8, 9));
        EmfPlus e;
        QByteArray first, second;
        put32(first, whole.size());
        first.append(whole.left(8));
        put32(second, whole.size());
        second.append(whole.mid(8));
        e.rec(0x4008, quint16(0x8000 | (1 << 8) | 4), first);
        e.rec(0x4008, quint16(0x8000 | (1 << 8) | 4), second);
        e.rec(0x4008, quint16((1 << 8) | 4), {}); // the final record closes the object
        e.fillRects(4, false, {QRectF(0, 0, 10, 10)});
        const Rec sink = play(e);
        const auto calls = drawings(sink);
        QCOMPARE(calls.size(), size_t(1));
        QCOMPARE(calls[0]->paint.brush.color(), QColor(7, 8, 9));
    }

    void clearFillsThePicture()
    {
        EmfPlus e;
        e.clear(argb(255, 250, 250, 210));
        const Rec sink = play(e, QRectF(5, 5, 50, 30));
        const auto calls = drawings(sink);
        QCOMPARE(calls.size(), size_t(1));
        CHECK_RECT(calls[0]->polygon.boundingRect(), QRectF(5, 5, 50, 30));
    }

    void damagedRecordsNeverCrash()
    {
        QImage img(3, 3, QImage::Format_ARGB32);
        img.fill(Qt::red);
        EmfPlus e;
        e.solidBrush(1, argb(255, 1, 2, 3)).pen(2, 5, argb(255, 0, 0, 0), 0, 1, 2, 1);
        e.hatchBrush(3, 20, argb(255, 1, 1, 1), argb(255, 2, 2, 2));
        e.font(4, 20, 3, 2, "Liberation Serif").stringFormat(5, 2, 2);
        e.bitmap(6, img).path(7, {QPointF(0, 0), QPointF(9, 9)}, QByteArray("\x00\x01", 2));
        e.clipRect(QRectF(0, 0, 50, 50), 1).save(1).rotate(30).scale(2, 3, true);
        e.fillRects(1, false, {QRectF(0, 0, 10, 10)}).drawRects(2, {QRectF(1, 1, 5, 5)});
        e.drawString(4, 3, false, 5, QRectF(0, 0, 100, 30), "Damaged?");
        e.drawImage(6, QRectF(0, 0, 3, 3), QRectF(0, 0, 30, 30)).fillPath(7, 1, false).drawPath(7, 2);
        e.arc(0x4011, 2, 10, 300, QRectF(0, 0, 40, 40)).restore(1).clipPath(7, 3);
        const QByteArray good = e.build();
        QImage canvas(40, 40, QImage::Format_ARGB32_Premultiplied);
        for (qsizetype n = 0; n <= good.size(); n += 5) {
            for (int variant = 0; variant < 2; ++variant) {
                QByteArray bytes = good.left(n);
                if (variant && n > 200)
                    bytes[n - 1 - (n * 31) % 150] = char(0xFF); // a damaged byte somewhere
                Rec sink;
                TMetafile mf;
                if (mf.loadFromData(bytes)) {
                    mf.playTo(sink, QRectF(0, 0, 40, 40));
                    QPainter p(&canvas);
                    mf.play(p, QRectF(0, 0, 40, 40));
                }
            }
        }
    }
};

OV_TEST(TestEmfPlusPlayback)
#include "test_emfplus_playback.moc"
