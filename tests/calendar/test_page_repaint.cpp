// A page drawn again copies what it drew before wherever nothing changed; whatever does
// change, the drawing equals that of a fresh page, pixel for pixel.
#include "calendar/calendar_panel.h"
#include "calendar/grid_image_cache.h"
#include "page_samples.h"
#include "test_registry.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <QPicture>
#include <QTest>
#include <functional>

using pagesamples::fillPage;

namespace {

bool sameGeometry(const TDrawnCalendar& a, const TDrawnCalendar& b)
{
    for (size_t i = 0; i < a.cells.size(); ++i)
        if (!(a.cells[i].rTotal == b.cells[i].rTotal) || !(a.cells[i].rFree == b.cells[i].rFree)
            || a.cells[i].day != b.cells[i].day)
            return false;
    return a.titleRect == b.titleRect && a.headerRect == b.headerRect;
}

QImage blank(const QSize& size, const QColor& color)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

} // namespace

class TestPageRepaint : public QObject {
    Q_OBJECT
private slots:
    void repaintAfterAnyChangeEqualsAFreshPage()
    {
        using Change = std::function<void(TCalendarPanel32&)>;
        TCalFont red;
        red.color = clRed;
        red.size = 30;
        TCalFont bigMini;
        bigMini.size = 12;
        bigMini.bold = true;
        const std::vector<std::tuple<const char*, int, Change>> changes = {
            {"cell text", 0, [](TCalendarPanel32& p) { p.SetCellRtf(10, pagesamples::cellRtf(98)); }},
            {"cell emptied", 0, [](TCalendarPanel32& p) { p.SetCellRtf(11, QByteArray()); }},
            {"title font", 0, [&](TCalendarPanel32& p) { p.SetTitleFont(red); }},
            {"title year", 0, [](TCalendarPanel32& p) { p.SetTitleShowYear(false); }},
            {"own title", 2, [](TCalendarPanel32& p) { p.SetUserTitle(QStringLiteral("Our year")); }},
            {"header colour", 3, [](TCalendarPanel32& p) { p.SetHeadersBGColor(TColor(0x00FFFF)); }},
            {"number position", 0, [](TCalendarPanel32& p) { p.SetNumberPosition(TCalendarNumberPosition::cnpCenter); }},
            {"month", 6, [](TCalendarPanel32& p) { p.SetMainCalMonth(7); }},
            {"week start", 16, [](TCalendarPanel32& p) { p.SetStartOfWeek(2); }},
            {"mini font", 14, [&](TCalendarPanel32& p) { p.SetMiniCellFont(bigMini); }},
            {"mini border", 10, [](TCalendarPanel32& p) { p.SetMiniCellBorder(TCalBorderStyle::cbNone); }},
            {"day name", 0, [](TCalendarPanel32& p) { p.SetDayName(2, QStringLiteral("Lundi")); }},
            {"layout", 0, [](TCalendarPanel32& p) { p.ChooseCalendarLayout(TCalendarLayout::loMC12Month); }},
            {"planner day", 18, [](TCalendarPanel32& p) { p.SetMainCalDay(29); }},
            {"planner hours", 20, [](TCalendarPanel32& p) { p.SetStartingTime(QTime(9, 30)); }},
            {"language of the hours", 21, [](TCalendarPanel32&) { QLocale::setDefault(QLocale(QLocale::Korean)); }},
            {"margins", 4, [](TCalendarPanel32& p) { p.SetLeftMarginInch(1.25f); }},
            {"zoom", 0, [](TCalendarPanel32& p) { p.SetZoom(1.5f); }},
            {"resolution", 0, [](TCalendarPanel32& p) { p.setPpi(120); }},
        };
        const QLocale language;
        for (const auto& [name, layout, change] : changes) {
            QLocale::setDefault(language);
            TCalendarPanel32 page(nullptr, 96), fresh(nullptr, 96);
            fillPage(page, layout);
            fillPage(fresh, layout);
            page.DrawToImage();
            page.DrawToImage();
            change(page);
            change(fresh);
            QVERIFY2(page.DrawToImage() == fresh.DrawToImage(), name);
            if (page.layoutGeometry().ShowMainCalendar || page.layoutGeometry().IsPlanner)
                QVERIFY2(sameGeometry(page.drawn(), fresh.drawn()), name);
            // Printed and exported pages lack only the screen's marks of texts cut short.
            QVERIFY2(page.DrawToImage(TPageTarget::Output) == fresh.DrawToImage(TPageTarget::Output), name);
        }
        QLocale::setDefault(language);
    }

    void largeTextsDrawAlikeWhateverWasDrawnBefore()
    {
        // Titles, day names and numbers over 64 pixels are drawn from glyph outlines.
        TCalendarPanel32 page(nullptr, 300);
        fillPage(page, int(TCalendarLayout::loFC12AfterLS));
        auto draw = [&] {
            QImage image = blank(page.size(), Qt::white);
            QPainter p(&image);
            PaintCalendarPage(p, page, 1.0f, {});
            return image;
        };
        const QImage first = draw();
        QImage scratch = blank(QSize(400, 100), Qt::white);
        {
            QPainter p(&scratch);
            QFont small(QStringLiteral("Times New Roman"));
            small.setPixelSize(42);
            small.setBold(true);
            p.setFont(small);
            p.drawText(QPointF(10.3, 60), QStringLiteral("Zanzibar quoth"));
        }
        QVERIFY(draw() == first);
    }

    void keptGridsFollowThePage()
    {
        TCalendarPanel32 page(nullptr, 96);
        fillPage(page, int(TCalendarLayout::loMC60Month));
        GridImageCache grids;
        auto draw = [&] {
            QImage image = blank(page.size(), Qt::white);
            QPainter p(&image);
            PaintCalendarPage(p, page, 1.0f, {}, TPageTarget::Screen, &grids);
            return image;
        };
        const QImage first = draw();
        QCOMPARE(grids.size(), 60);
        QCOMPARE(draw(), first);
        QCOMPARE(grids.hits(), 60);

        // A picture (as PDF and printed pages) is drawn on as ever, and takes nothing away.
        QPicture picture;
        QPainter recorder(&picture);
        PaintCalendarPage(recorder, page, 1.0f, {}, TPageTarget::Output, &grids);
        recorder.end();
        QCOMPARE(grids.size(), 60);
        QCOMPARE(grids.hits(), 60);

        page.ChooseCalendarLayout(TCalendarLayout::loFullCalendar);
        draw();
        QCOMPARE(grids.size(), 1); // the minis are gone with the layout that showed them
    }

    void gridsDrawingBeyondTheirRectangleAreDrawnEachTime()
    {
        // A title band higher than the calendar: a copy of the rectangle would lose its lower
        // part. A title whose slanted glyphs reach past the calendar's right edge is cut at its
        // box, kept or not.
        TCalDrawRecord tall;
        tall.rect = TRect(40, 40, 300, 120);
        tall.minTitleHeight = 150;
        tall.titleBackground = TColor(0xFFFF00);

        TCalDrawRecord slanted;
        slanted.titleText = QStringLiteral("ff");
        slanted.titleFont.italic = true;
        slanted.titleFont.size = 75; // 100 pixels
        const QFont font = MakeQFont(slanted.titleFont, slanted.titleFont.size, slanted.fontPpi);
        const QFontMetricsF metrics(font);
        const qreal advance = metrics.horizontalAdvance(slanted.titleText);
        QVERIFY2(metrics.boundingRect(slanted.titleText).right() > advance + 4, "the glyphs reach past their box");
        const int width = int(std::ceil(advance)) + 1; // the title just fits its band
        slanted.rect = TRect(60, 30, 60 + width, 30 + 800);

        for (const TCalDrawRecord& rec : {tall, slanted}) {
            GridImageCache grids;
            for (const QColor background : {QColor(Qt::red), QColor(Qt::blue)}) {
                QImage direct = blank(QSize(400, 900), background);
                QImage kept = blank(direct.size(), background);
                TDrawnCalendar outDirect, outKept;
                {
                    QPainter p(&direct);
                    DrawMonthGrid(p, rec, outDirect);
                }
                {
                    QPainter p(&kept);
                    grids.draw(p, GridImageCache::Kind::Month, rec, outKept);
                }
                QVERIFY(kept == direct);
                QVERIFY(sameGeometry(outKept, outDirect));
            }
            QCOMPARE(grids.hits(), 1);
        }
    }
};

OV_TEST(TestPageRepaint)
#include "test_page_repaint.moc"
