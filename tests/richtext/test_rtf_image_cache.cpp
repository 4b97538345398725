#include "platform/screen_ppi.h"
#include "richtext/rtf_image_cache.h"
#include "test_registry.h"

#include <QPainter>
#include <QPicture>
#include <QTest>
#include <functional>

namespace {

const QByteArray kShort = "{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Times New Roman;}}\\f0\\fs20 Dentist {\\f1\\b\\i at} 3pm\\par}";
const QByteArray kLong = "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs28 one two three four five six seven eight nine ten "
                         "eleven twelve thirteen fourteen fifteen sixteen seventeen eighteen\\par}";

// A canvas whose colour shows wherever a drawing leaves pixels out.
QImage canvas()
{
    QImage img(320, 200, QImage::Format_RGB32);
    img.fill(QColor(200, 220, 240));
    return img;
}

using Draw = std::function<TWPRenderResult(QPainter&)>;

QImage drawnWith(const Draw& draw, TWPRenderResult* result = nullptr,
                 const std::function<void(QPainter&)>& setUp = {})
{
    QImage img = canvas();
    QPainter p(&img);
    if (setUp)
        setUp(p);
    const TWPRenderResult r = draw(p);
    if (result)
        *result = r;
    return img;
}

} // namespace

class TestRtfImageCache : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { setScreenPPIOverride(96); }
    void cleanupTestCase() { setScreenPPIOverride(0); }
    void init() { TWPRtfDocumentCache::instance().clear(); }

    void copiesGiveTheDrawnPixels()
    {
        const QRect r(13, 17, 150, 60);
        for (const QByteArray& rtf : {kShort, kLong, QByteArray()}) {
            const TWPRtfStorage s(rtf);
            TWPRenderResult direct, cached;
            const QImage expected = drawnWith([&](QPainter& p) { return RenderRtfToRect(p, r, s, 100); }, &direct);
            QCOMPARE(direct.textContinues, rtf == kLong);
            TWPRtfImageCache cache;
            for (int pass = 0; pass < 2; ++pass) {
                QCOMPARE(drawnWith([&](QPainter& p) { return cache.render(p, r, s, 100); }, &cached), expected);
                QCOMPARE(cached.textContinues, direct.textContinues);
            }
            QCOMPARE(cache.misses(), 1);
            QCOMPARE(cache.hits(), 1);

            // Elsewhere, and through a painter moved by whole pixels: the same pixels, moved.
            const QImage moved = drawnWith([&](QPainter& p) { return RenderRtfToRect(p, r.translated(40, 9), s, 100); });
            QCOMPARE(drawnWith([&](QPainter& p) { return cache.render(p, r.translated(31, 12), s, 100); }, nullptr,
                               [](QPainter& p) { p.translate(9, -3); }),
                     moved);
            QCOMPARE(cache.hits(), 2);
        }
    }

    void anyChangeDrawsAfresh()
    {
        const TWPRtfStorage base(kShort);
        const QRect r(10, 10, 140, 50);
        TWPRtfImageCache cache;
        auto check = [&](const char* what, const TWPRtfStorage& s, const QRect& rect, int zoom, TWPDisplayMode mode,
                         const QColor& background, const std::function<void(QPainter&)>& setUp = {}) {
            const QImage expected = drawnWith(
                [&](QPainter& p) { return RenderRtfToRect(p, rect, s, zoom, mode, background); }, nullptr, setUp);
            const int misses = cache.misses();
            const QImage got = drawnWith([&](QPainter& p) { return cache.render(p, rect, s, zoom, mode, background); },
                                         nullptr, setUp);
            QVERIFY2(got == expected, what);
            QVERIFY2(cache.misses() == misses + 1, what);
        };
        const auto screen = TWPDisplayMode::Screen;
        check("first", base, r, 100, screen, Qt::white);
        check("other text", TWPRtfStorage(kLong), r, 100, screen, Qt::white);
        QByteArray sameBytes = kShort;
        sameBytes.detach();
        check("same text in other bytes", TWPRtfStorage(sameBytes), r, 100, screen, Qt::white);
        check("size", base, QRect(10, 10, 90, 50), 100, screen, Qt::white);
        check("zoom", base, r, 150, screen, Qt::white);
        check("print mode", base, r, 100, TWPDisplayMode::Print, Qt::white);
        check("background", base, r, 100, screen, QColor(255, 255, 0));
        check("painter hints", base, r, 100, screen, Qt::white,
              [](QPainter& p) { p.setRenderHint(QPainter::Antialiasing); });
        setScreenPPIOverride(120);
        check("screen resolution", base, r, 100, screen, Qt::white);
        setScreenPPIOverride(96);
        QCOMPARE(cache.hits(), 0);
    }

    void otherPaintersAreDrawnOnAsBefore()
    {
        const TWPRtfStorage s(kLong);
        const QRect r(5, 5, 150, 80);
        TWPRtfImageCache cache;
        auto played = [&](const Draw& draw) {
            QPicture picture;
            QPainter recorder(&picture);
            draw(recorder);
            recorder.end();
            return drawnWith([&](QPainter& p) {
                picture.play(&p);
                return TWPRenderResult();
            });
        };
        QCOMPARE(played([&](QPainter& p) { return cache.render(p, r, s, 100, TWPDisplayMode::Print); }),
                 played([&](QPainter& p) { return RenderRtfToRect(p, r, s, 100, TWPDisplayMode::Print); }));

        for (const auto& setUp : std::vector<std::function<void(QPainter&)>>{
                 [](QPainter& p) { p.scale(1.5, 1.5); }, [](QPainter& p) { p.setClipRect(20, 20, 60, 40); },
                 [](QPainter& p) { p.translate(0.5, 0.5); }}) {
            QCOMPARE(drawnWith([&](QPainter& p) { return cache.render(p, r, s, 100); }, nullptr, setUp),
                     drawnWith([&](QPainter& p) { return RenderRtfToRect(p, r, s, 100); }, nullptr, setUp));
        }
        // Bytes someone else owns may change under a kept copy; a half-transparent background
        // would show what lay beneath; a rectangle leaving the image has pixels nobody drew.
        const TWPRtfStorage borrowed(QByteArray::fromRawData(kShort.constData(), kShort.size()));
        drawnWith([&](QPainter& p) { return cache.render(p, r, borrowed, 100); });
        drawnWith([&](QPainter& p) { return cache.render(p, r, s, 100, TWPDisplayMode::Screen, QColor(0, 0, 0, 128)); });
        drawnWith([&](QPainter& p) { return cache.render(p, QRect(250, 150, 150, 80), s, 100); });
        QCOMPARE(cache.size(), 0);
    }

    void keepsToItsBudget()
    {
        const QRect r(0, 0, 100, 50); // 20,000 bytes a copy
        TWPRtfImageCache cache(30000);
        const QByteArray texts[] = {kShort, kLong, kShort + " "};
        for (const QByteArray& rtf : texts) {
            const TWPRtfStorage s(rtf);
            QCOMPARE(drawnWith([&](QPainter& p) { return cache.render(p, r, s, 100); }),
                     drawnWith([&](QPainter& p) { return RenderRtfToRect(p, r, s, 100); }));
            QVERIFY(cache.bytes() <= 30000);
        }
        QCOMPARE(cache.size(), 1);
        const TWPRtfStorage big(kLong);
        QCOMPARE(drawnWith([&](QPainter& p) { return cache.render(p, QRect(0, 0, 300, 200), big, 100); }),
                 drawnWith([&](QPainter& p) { return RenderRtfToRect(p, QRect(0, 0, 300, 200), big, 100); }));
        QVERIFY(cache.bytes() <= 30000);
        cache.clear();
        QCOMPARE(cache.size(), 0);
    }

    void keepsOnlyWhatTheLastDrawingShowed()
    {
        const TWPRtfStorage a(kShort), b(kLong);
        const QRect r(0, 0, 100, 50);
        TWPRtfImageCache cache;
        auto draw = [&](const TWPRtfStorage& s) { return drawnWith([&](QPainter& p) { return cache.render(p, r, s, 100); }); };
        draw(a);
        draw(b);
        cache.sweep();
        QCOMPARE(cache.size(), 2);
        draw(a);
        cache.sweep();
        QCOMPARE(cache.size(), 1);
        QCOMPARE(draw(b), drawnWith([&](QPainter& p) { return RenderRtfToRect(p, r, b, 100); }));
        QCOMPARE(cache.misses(), 3);
    }
};

OV_TEST(TestRtfImageCache)
#include "test_rtf_image_cache.moc"
