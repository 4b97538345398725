#include "calendar/calendar_page.h"
#include "calendar/calendar_panel.h"
#include "calendar/calendar_renderer.h"
#include "test_registry.h"
#include "test_support.h"

#include <QPainter>
#include <QTest>

namespace {
struct CountingPage : TCalendarPage {
    CountingPage() : TCalendarPage(96) {}
    int layouts = 0;
    int repaints = 0;
    void layoutChanged() override { ++layouts; }
    void repaintNeeded() override { ++repaints; }
};

// The smallest rectangle holding every dark pixel of r (null when none).
QRect inkBounds(const QImage& img, const QRect& r)
{
    QRect ink;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (ovtest::isDark(img.pixel(x, y)))
                ink |= QRect(x, y, 1, 1);
    return ink;
}

QImage render(TCalendarPage& page, float zoom = 1.0f)
{
    const TLayoutGeometry& g = page.layoutGeometry();
    QImage img(int(g.PageWidthPx * zoom), int(g.PageHeightPx * zoom), QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    PaintCalendarPage(p, page, zoom, {});
    return img;
}
} // namespace

class TestCalendarSettings : public QObject {
    Q_OBJECT
private slots:
    void constructorValues()
    {
        TCalendarPage page(96);
        const TCalendarSettings& s = page.settings();
        QCOMPARE(s.CalendarLayout, TCalendarLayout::loFullCalendar);
        QCOMPARE(s.MiniHeadersBorder, TCalBorderStyle::cbBottom);
        QCOMPARE(s.MiniCellBorder, TCalBorderStyle::cbNone);
        QCOMPARE(s.MainCalYear, 1997);
        QCOMPARE(s.MainCalDay, 0);
        QCOMPARE(s.StartingTime, QTime(8, 0));
        QCOMPARE(s.LeftMarginInch, 0.25f);
        QCOMPARE(s.TitleFont.size, 26);
        QVERIFY(!page.GetMonthName(1).isEmpty());
        QVERIFY(!page.GetDayName(7).isEmpty());
    }

    void settersCompareFirst()
    {
        CountingPage page;
        page.layouts = page.repaints = 0;
        page.SetTitleShowYear(true); // unchanged
        page.SetMainCalYear(1997); // unchanged
        QCOMPARE(page.layouts + page.repaints, 0);
        page.SetTitleShowYear(false);
        QCOMPARE(page.repaints, 1);
        QCOMPARE(page.layouts, 0);
        page.SetLeftMarginInch(1.0f);
        QCOMPARE(page.layouts, 1);
    }

    void lineLayoutsSetBorders()
    {
        TCalendarPage page(96);
        page.SetCalendarLineLayout(TCalendarLineLayout::llCellsOnly);
        QCOMPARE(page.settings().CalendarBorder, TCalBorderStyle::cbNone);
        QCOMPARE(page.settings().HeadersBorder, TCalBorderStyle::cbNone);
        QCOMPARE(page.settings().CellBorder, TCalBorderStyle::cbAll);
        // Re-choosing the current line layout keeps a border changed afterwards.
        page.SetCellBorder(TCalBorderStyle::cbTop);
        page.SetCalendarLineLayout(TCalendarLineLayout::llCellsOnly);
        QCOMPARE(page.settings().CellBorder, TCalBorderStyle::cbTop);

        page.SetMiniCalendarLineLayout(TMiniCalendarLineLayout::mllMinimal);
        QCOMPARE(page.settings().MiniCalBorder, TCalBorderStyle::cbNone);
        QCOMPARE(page.settings().MiniHeadersBorder, TCalBorderStyle::cbTop);
        page.SetMiniCalendarLineLayout(TMiniCalendarLineLayout::mllBoxed);
        QCOMPARE(page.settings().MiniHeadersBorder, TCalBorderStyle::cbTopBottom);
    }

    void resetToDefaults()
    {
        TCalendarPage page(96);
        page.SetNumberPosition(TCalendarNumberPosition::cnpCenter);
        page.SetUserTitle(QStringLiteral("Mine"));
        page.ResetToDefaults();
        const TCalendarSettings& s = page.settings();
        QCOMPARE(s.CalendarLayout, TCalendarLayout::loFCMinisInTitleLS);
        QCOMPARE(s.CalendarOrientation, TCalendarOrientation::coLandscape);
        QCOMPARE(s.LeftMarginInch, 0.5f);
        QCOMPARE(s.MainCalMonth, QDate::currentDate().month());
        QVERIFY(s.UserTitle.isEmpty());
        QCOMPARE(s.MiniCalendarLineLayout, TMiniCalendarLineLayout::mllBoxed);
        QCOMPARE(s.NumberPosition, TCalendarNumberPosition::cnpCenter); // kept
        QCOMPARE(s.MiniTitleFont.size, 10);
    }

    void assignAndCompare()
    {
        TCalendarPage a(96), b(96);
        a.ResetToDefaults();
        b.ResetToDefaults();
        QVERIFY(a.SameSettings(b));
        a.SetMonthName(3, QStringLiteral("März"));
        QVERIFY(!a.SameSettings(b));
        b.AssignSettings(a);
        QVERIFY(a.SameSettings(b));
        // Font sizes do not count; the look does.
        TCalFont f = a.settings().CellFont;
        f.size += 4;
        a.SetCellFont(f);
        QVERIFY(a.SameSettings(b));
        f.italic = true;
        a.SetCellFont(f);
        QVERIFY(!a.SameSettings(b));
        // Cell texts are never copied.
        a.SetCellRtf(5, QByteArrayLiteral("{\\rtf1 hello}"));
        b.AssignSettings(a);
        QVERIFY(b.CellRtf(5).isEmpty());
    }

    void outOfRangeIndexesIgnored()
    {
        TCalendarPage page(96);
        page.SetMonthName(13, QStringLiteral("x"));
        page.SetDayName(0, QStringLiteral("x"));
        QVERIFY(page.GetMonthName(0).isEmpty());
        QCOMPARE(page.CellRtf(43), QByteArray());
        page.SetCellRtf(0, "x");
        QCOMPARE(page.DayOfCell(99), 0);
    }

    void borderNamesNeverLeaveTheFolder()
    {
        TCalendarPage page(96);
        page.SetWMFBorderFile(QStringLiteral("../../etc/passwd"));
        QVERIFY(page.settings().WMFBorderFile.isEmpty());
        page.SetWMFBorderFile(QStringLiteral("sub/name"));
        QVERIFY(page.settings().WMFBorderFile.isEmpty());
    }

    void layoutFamilies()
    {
        TCalendarPage page(96);
        const int expected[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2, 3, 4, 5};
        for (int l = 0; l < 22; ++l) {
            page.SetCalendarLayout(TCalendarLayout(l));
            QCOMPARE(page.LayoutFamily(), expected[l]);
        }
    }
};
OV_TEST(TestCalendarSettings)

class TestCalendarCells : public QObject {
    Q_OBJECT
private slots:
    void noClickBeforeFirstDrawing()
    {
        TCalendarPage page(96);
        QCOMPARE(page.CellAt(100, 400), 0);
    }

    void hitTestAfterDrawing()
    {
        TCalendarPage page(96);
        page.rawSettings().MainCalMonth = 12;
        page.RecalcLayout(false);
        render(page);
        const TCellGeometry& c9 = page.cellGeometry(9);
        QCOMPARE(page.CellAt(c9.rTotal.Left + 2, c9.rTotal.Top + 2), 9);
        QCOMPARE(page.DayOfCell(2), 1); // December 1997 starts on Monday
        QCOMPARE(page.CellOfDay(31), 32);
        QCOMPARE(page.CellOfDay(40), -1);
        // Grid lines lie between cells and hit nothing.
        QCOMPARE(page.CellAt(c9.rTotal.Left - 5, c9.rTotal.Top + 2), 0);
        QCOMPARE(page.CellAt(c9.rTotal.Right, c9.rTotal.Top + 2), 0);
        page.ClearAllCells();
        QCOMPARE(page.CellAt(c9.rTotal.Left + 2, c9.rTotal.Top + 2), 0);
    }

    void clickNeighbours()
    {
        TCalendarPage page(96);
        render(page);
        QList<int> fired;
        page.ClickedInCellEvent = [&](const TRect&, const TRect&, int i, int, TWPRtfStorage&) { fired << i; };
        page.ClickNextCell(42);
        page.ClickPreviousCell(1);
        QVERIFY(fired.isEmpty());
        page.ClickNextCell(41);
        page.ClickPreviousCell(2);
        QCOMPARE(fired, QList<int>({42, 1}));
        // Centred numbers leave no text area: Tab cannot move there.
        page.SetNumberPosition(TCalendarNumberPosition::cnpCenter);
        render(page);
        fired.clear();
        page.ClickNextCell(3);
        QVERIFY(fired.isEmpty());
    }

    void cellTextKeptByPosition()
    {
        TCalendarPage page(96);
        page.SetCellRtf(10, QByteArrayLiteral("{\\rtf1\\ansi Hello\\par}"));
        QVERIFY(page.HasCellText());
        page.SetMainCalMonth(5);
        QVERIFY(!page.CellRtf(10).isEmpty());
        page.ClearAllCells();
        QVERIFY(!page.HasCellText());
    }

    void plannerRowsAreCells()
    {
        TCalendarPage page(96);
        page.SetCalendarLayout(TCalendarLayout::loWeek);
        page.SetMainCalMonth(1);
        page.SetMainCalDay(5);
        render(page);
        QCOMPARE(page.DayOfCell(1), 5);
        QCOMPARE(page.DayOfCell(7), 11);
        QCOMPARE(page.DayOfCell(8), 0); // Notes
        QVERIFY(!page.cellGeometry(8).rFree.isNull());
        QVERIFY(page.cellGeometry(9).rFree.isNull());
    }
};
OV_TEST(TestCalendarCells)

class TestCalendarRendering : public QObject {
    Q_OBJECT
private slots:
    void plannerTitles_data()
    {
        QTest::addColumn<int>("days");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("day");
        QTest::addColumn<QString>("title");
        QTest::newRow("same month") << 7 << 1 << 5 << "January 5-11, 1997";
        QTest::newRow("two months") << 7 << 1 << 29 << "January 29 - February 4, 1997";
        QTest::newRow("two years") << 14 << 12 << 25 << "December 25, 1997 - January 7, 1998";
        QTest::newRow("day planner") << 0 << 1 << 5 << "Sunday, January 5, 1997";
    }
    void plannerTitles()
    {
        QFETCH(int, days);
        QFETCH(int, month);
        QFETCH(int, day);
        QFETCH(QString, title);
        TCalDrawRecord rec;
        const char* months[] = {"January", "February", "March", "April", "May", "June", "July", "August",
                                "September", "October", "November", "December"};
        const char* dayNames[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
        for (int i = 0; i < 12; ++i)
            rec.monthNames[size_t(i)] = QString::fromLatin1(months[i]);
        for (int i = 0; i < 7; ++i)
            rec.dayNames[size_t(i)] = QString::fromLatin1(dayNames[i]);
        rec.year = 1997;
        rec.month = month;
        rec.day = day;
        rec.plannerDays = days;
        rec.plannerHours = days == 0 ? 10 : 0;
        QCOMPARE(PlannerTitle(rec), title);
        rec.titleText = QStringLiteral("Mine");
        QCOMPARE(PlannerTitle(rec), QStringLiteral("Mine"));
    }

    void headerStyles()
    {
        QCOMPARE(HeaderText(QStringLiteral("Sunday"), TCalHeadersStyle::dsFirstChar), QStringLiteral("S"));
        QCOMPARE(HeaderText(QStringLiteral("Sunday"), TCalHeadersStyle::dsThreeChars), QStringLiteral("Sun"));
        QCOMPARE(HeaderText(QStringLiteral("Di"), TCalHeadersStyle::dsThreeChars), QStringLiteral("Di"));
        QCOMPARE(HeaderText(QStringLiteral("Sunday"), TCalHeadersStyle::dsWhole), QStringLiteral("Sunday"));
    }

    void cellLinesFollowBorderStyle()
    {
        TCalendarPage page(96);
        render(page);
        const TCellGeometry first = page.cellGeometry(1);
        const TCellGeometry last = page.cellGeometry(36);
        const int x = (first.rTotal.Left + first.rTotal.Right) / 2;
        const int topLine = first.rTotal.Top - 1;
        const int bottomLine = page.layoutGeometry().MainCalendarRect.Bottom - 1;
        Q_UNUSED(last);

        // Without the header and calendar outlines, which share those lines.
        page.SetHeadersBorder(TCalBorderStyle::cbNone);
        page.SetCalendarBorder(TCalBorderStyle::cbNone);
        page.SetCellBorder(TCalBorderStyle::cbBottom);
        QImage img = render(page);
        QVERIFY(!ovtest::isDark(img.pixel(x, topLine)));
        QVERIFY(ovtest::isDark(img.pixel(x, bottomLine)));

        page.SetCellBorder(TCalBorderStyle::cbTop);
        img = render(page);
        QVERIFY(ovtest::isDark(img.pixel(x, topLine)));
        QVERIFY(!ovtest::isDark(img.pixel(x, bottomLine)));
    }

    void numbersWhereTheRulesPutThem()
    {
        TCalendarPage page(96);
        page.rawSettings().MainCalMonth = 12;
        page.RecalcLayout(false);
        QImage img = render(page);
        const TCellGeometry c = page.cellGeometry(2); // day 1
        const QRect numberArea(c.rTotal.Right - 20, c.rTotal.Top, 20, 25);
        QVERIFY(ovtest::darkPixelsInRect(img, numberArea) > 10);
        // Nothing in the lower-left of that cell.
        QCOMPARE(ovtest::darkPixelsInRect(img, QRect(c.rTotal.Left + 2, c.rTotal.Bottom - 30, 30, 25)), 0);
        // An empty cell (day 0) shows nothing.
        const TCellGeometry e = page.cellGeometry(1);
        QCOMPARE(ovtest::darkPixelsInRect(img, e.rTotal.toQRect().adjusted(1, 1, -1, -1)), 0);
    }

    void userTitleReplacesMainTitleOnly()
    {
        TCalendarPage page(96);
        page.SetCalendarLayout(TCalendarLayout::loFCMinisInTitle);
        QImage before = render(page);
        page.SetUserTitle(QStringLiteral("X"));
        QImage after = render(page);
        const TRect mini = page.layoutGeometry().minis[0].rect;
        QCOMPARE(before.copy(mini.toQRect()), after.copy(mini.toQRect()));
        const TRect title = page.drawn().titleRect;
        const QRect centre(title.Left + 200, title.Top, title.width() - 400, 80);
        QVERIFY(before.copy(centre) != after.copy(centre));
    }

    void dayPlannerHoursUseAmPm()
    {
        TCalendarPage page(96);
        page.SetCalendarLayout(TCalendarLayout::loDay10);
        QImage img = render(page);
        QVERIFY(ovtest::darkPixelsInRect(img, QRect(0, 0, img.width(), img.height())) > 500);
    }

    void plannerLinesEndOnTheOutline()
    {
        for (auto layout : {TCalendarLayout::loWeek, TCalendarLayout::loDay10}) {
            TCalendarPage page(96);
            page.SetCalendarLayout(layout);
            const QImage img = render(page);
            const TRect first = page.cellGeometry(1).rTotal;
            const int rows = layout == TCalendarLayout::loWeek ? 8 : 11;
            const TRect last = page.cellGeometry(rows).rTotal;
            const int lineY = first.Bottom + 4; // between the first two rows
            const int outlineRight = first.Right + 3;
            const int labelLine = first.Left - 4;
            const int outlineBottom = last.Bottom + 3;
            QVERIFY(ovtest::isDark(img.pixel(outlineRight, lineY)));
            QVERIFY(!ovtest::isDark(img.pixel(outlineRight + 1, lineY)));
            QVERIFY(ovtest::isDark(img.pixel(labelLine, outlineBottom)));
            QVERIFY(!ovtest::isDark(img.pixel(labelLine, outlineBottom + 1)));
        }
    }

    void numbersAndTitlesStayInsideTheirRectangles()
    {
        // The right and bottom edges of a cell's rectangle are outside it.
        for (auto position : {TCalendarNumberPosition::cnpUpperRight, TCalendarNumberPosition::cnpCenter}) {
            TCalendarPage page(96);
            page.SetNumberPosition(position);
            const QImage img = render(page);
            int touchingRight = 0;
            for (int i = 1; i <= TCalendarPage::kCellCount; ++i) {
                const TCellGeometry& c = page.cellGeometry(i);
                if (c.day == 0)
                    continue;
                const QRect ink = inkBounds(img, c.rTotal.toQRect().adjusted(0, 0, 1, 1));
                QVERIFY2(ink.right() < c.rTotal.Right, qPrintable(QString::number(c.day)));
                touchingRight += ink.right() == c.rTotal.Right - 1;
            }
            if (position == TCalendarNumberPosition::cnpUpperRight)
                QVERIFY(touchingRight > 0); // right-aligned digits end on the last column inside
        }
        TCalendarPage planner(96);
        planner.SetCalendarLayout(TCalendarLayout::loWeek);
        planner.SetUserTitle(QStringLiteral("IIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIII"));
        const QImage img = render(planner);
        const TRect title = planner.drawn().titleRect;
        const QRect ink = inkBounds(img, title.toQRect().adjusted(0, 0, 1, 0));
        QVERIFY(ink.right() < title.Right);
    }

    void moreTextMarkOnTheScreenOnly()
    {
        TCalendarPanel32 page(nullptr, 96);
        page.SetMainCalMonth(12);
        const QByteArray longText = "{\\rtf1\\fs20 Dentist at 3pm\\par Call Anna about the party on Saturday and bring "
                                    "the cake, the candles and the presents\\par Pick up the car\\par Gym\\par}";
        page.SetCellRtf(10, longText);
        page.SetCellRtf(11, "{\\rtf1\\fs20 Dentist\\par}");
        const QImage screen = page.DrawToImage();
        const QImage output = page.DrawToImage(TPageTarget::Output);
        auto markPixels = [](const QImage& img, const TCellGeometry& c) {
            const QRect corner(c.rFree.Right - 12, c.rFree.Bottom - 12, 13, 13);
            int n = 0;
            for (int y = corner.top(); y <= corner.bottom(); ++y)
                for (int x = corner.left(); x <= corner.right(); ++x)
                    n += (img.pixel(x, y) & 0xFFFFFF) == 0x606060;
            return n;
        };
        QVERIFY(markPixels(screen, page.cellGeometry(10)) >= 10);
        QCOMPARE(markPixels(output, page.cellGeometry(10)), 0);
        QCOMPARE(markPixels(page.DrawToBitmap(), page.cellGeometry(10)), 0); // exported
        QCOMPARE(markPixels(screen, page.cellGeometry(11)), 0);
        // Apart from the mark the two drawings are the same.
        QImage unmarked = screen;
        const TCellGeometry& c = page.cellGeometry(10);
        const QRect corner(c.rFree.Right - 12, c.rFree.Bottom - 12, 13, 13);
        for (int y = corner.top(); y <= corner.bottom(); ++y)
            for (int x = corner.left(); x <= corner.right(); ++x)
                unmarked.setPixel(x, y, output.pixel(x, y));
        QCOMPARE(unmarked, output);
    }

    void everyLayoutAtEveryZoomDraws()
    {
        for (int l = 0; l < 22; ++l) {
            TCalendarPage page(96);
            page.SetCalendarLayout(TCalendarLayout(l));
            for (float z : {0.201f, 0.601f, 1.0f}) {
                QImage img = render(page, z);
                QVERIFY2(ovtest::darkPixelsInRect(img, img.rect()) > 50, qPrintable(QString::number(l)));
            }
        }
    }
};
OV_TEST(TestCalendarRendering)

#include "test_calendar_page.moc"
