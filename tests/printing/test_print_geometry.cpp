// The printed page against the screen's drawing: what printing measures differently, by
// geometry and pixel probes at two printer resolutions.
#include "print_probe.h"
#include "test_registry.h"
#include "test_support.h"

#include <QTest>

namespace {

std::unique_ptr<TCalendarPanel32> newPage(int layout)
{
    auto page = std::make_unique<TCalendarPanel32>(nullptr, 96);
    page->ApplyMainFormDesignValues();
    page->ResetToDefaults();
    page->SetCalendarLayout(TCalendarLayout(layout));
    page->SetMainCalYear(1997);
    page->SetMainCalMonth(12);
    page->SetMainCalDay(5);
    page->SetTitleBGColor(clRed);
    page->SetHeadersBGColor(clBlue);
    return page;
}

TCalFont sized(TCalFont f, int points)
{
    f.size = points;
    return f;
}

// Rows of column x whose colour is c, as [first, last].
QPair<int, int> rowsOf(const QImage& img, int x, QRgb c)
{
    int first = -1, last = -1;
    for (int y = 0; y < img.height(); ++y)
        if ((img.pixel(x, y) & 0xffffff) == (c & 0xffffff)) {
            if (first < 0)
                first = y;
            last = y;
        }
    return {first, last};
}

int dots(int px, int dpi) { return int(double(px) / 96 * dpi); }

} // namespace

class PrintGeometryTest : public QObject {
    Q_OBJECT
private slots:
    void monthGridMeasuresFromTheReportFont_data()
    {
        QTest::addColumn<int>("dpi");
        QTest::newRow("300 dpi") << 300;
        QTest::newRow("600 dpi") << 600;
    }
    void monthGridMeasuresFromTheReportFont()
    {
        QFETCH(int, dpi);
        auto page = newPage(0);
        page->SetHeadersFont(sized(page->settings().HeadersFont, 12));
        page->SetCellFont(sized(page->settings().CellFont, 10));
        const ovtest::PrintedPage printed = ovtest::printToImage(*page, dpi, 4.0);
        const TDrawnCalendar& c = printed.cells;
        const TRect main = page->layoutGeometry().MainCalendarRect;

        // The calendar rectangle converted through inches.
        QCOMPARE(c.titleRect.Left, dots(main.Left, dpi));
        QCOMPARE(c.titleRect.Top, dots(main.Top, dpi) + 1);
        // Header band: 1.5 × 12 pt in dots; text area: 10 pt in dots below the cell top.
        QCOMPARE(c.headerRect.height(), int(1.5 * 12 / 72.0 * dpi));
        QCOMPARE(c.cells[10].rFree.Top - c.cells[10].rTotal.Top, int(10 / 72.0 * dpi));
        // The title band is at least 1.5 inches of the printer, not of the screen.
        const int titleBottom = c.headerRect.Top - 1;
        QVERIFY(titleBottom - c.titleRect.Top >= int(dpi * 1.5));

        // The bands as painted: red title down to the blue day-name band.
        const int x = c.cells[3].rTotal.Left + 10;
        const auto red = rowsOf(printed.image, x, qRgb(255, 0, 0));
        const auto blue = rowsOf(printed.image, x, qRgb(0, 0, 255));
        // (the outline's half width covers its first rows)
        QVERIFY(red.first >= c.titleRect.Top && red.first <= c.titleRect.Top + dpi / 200 + 1);
        QVERIFY(red.second - red.first + 1 >= int(dpi * 1.5));
        QVERIFY(blue.first > red.second);
        QVERIFY(std::abs((blue.second - blue.first) - c.headerRect.height()) <= 2 * int(dpi / 100));

        // Lines are 1/100 inch wide.
        const int lineY = c.cells[7].rTotal.Top - 1;
        int thick = 0;
        for (int y = lineY - dpi / 50; y <= lineY + dpi / 50; ++y)
            thick += ovtest::isDark(printed.image.pixel(x, y)) ? 1 : 0;
        QCOMPARE(thick, dpi / 100);
    }

    void plannerTitleBandFromTheTitleFont()
    {
        for (int dpi : {300, 600}) {
            auto page = newPage(18);
            page->SetTitleFont(sized(page->settings().TitleFont, 20));
            const ovtest::PrintedPage printed = ovtest::printToImage(*page, dpi, 3.0);
            QCOMPARE(printed.cells.titleRect.height(), int(1.6 * 20 / 72.0 * dpi));
            QCOMPARE(printed.cells.titleRect.Left, dots(page->layoutGeometry().MainCalendarRect.Left, dpi) + 5);
        }
    }

    void minisOneScreenPixelLarger()
    {
        const int dpi = 300;
        auto page = newPage(10); // twelve minis, no main calendar
        page->SetMiniCalBGColor(TColor(0x00FFFF));
        const ovtest::PrintedPage printed = ovtest::printToImage(*page, dpi);
        const TRect first = page->layoutGeometry().minis[0].rect;
        // The first mini's yellow background reaches one screen pixel past its right edge.
        const int y = dots(first.Top + first.height() / 2, dpi);
        int right = -1;
        for (int x = dots(first.Left, dpi); x < printed.image.width(); ++x)
            if ((printed.image.pixel(x, y) & 0xffffff) == 0xffff00)
                right = x;
            else if (right >= 0 && !ovtest::isDark(printed.image.pixel(x, y)))
                break;
        const int expected = dots(first.Right + 1, dpi);
        QVERIFY2(std::abs(right - expected) <= 1 + dpi / 100, qPrintable(QStringLiteral("%1 vs %2").arg(right).arg(expected)));
    }

    void printingKeepsTheScreensClickGeometry()
    {
        auto page = newPage(0);
        page->DrawToImage();
        const TDrawnCalendar before = page->drawn();
        ovtest::printToImage(*page, 300, 2.0);
        QCOMPARE(page->drawn().cells[10].rTotal, before.cells[10].rTotal);
        QCOMPARE(page->drawn().titleRect, before.titleRect);
    }

    void cellTextKeepsOffTheGridLines()
    {
        const int dpi = 300;
        auto page = newPage(0);
        page->DrawToImage();
        const int cell = page->CellOfDay(10);
        page->SetCellRtf(cell, QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Dentist\\par}"));
        const ovtest::PrintedPage printed = ovtest::printToImage(*page, dpi);
        const TCellGeometry& c = printed.cells.cells[size_t(cell - 1)];
        // Text is drawn inside the cell, and the line under the cell is still there.
        QVERIFY(ovtest::darkPixelsInRect(printed.image, QRect(c.rFree.Left, c.rFree.Top, c.rFree.width(), dpi / 5)) > 20);
        const int below = c.rTotal.Bottom + 1;
        int dark = 0;
        for (int y = below - 2; y <= below + dpi / 100 + 1; ++y)
            dark += ovtest::isDark(printed.image.pixel(c.rFree.Left + c.rFree.width() / 2, y)) ? 1 : 0;
        QVERIFY(dark >= dpi / 100);
    }
};

OV_TEST(PrintGeometryTest)
#include "test_print_geometry.moc"
