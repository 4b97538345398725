#include "calendar/calendar_dates.h"
#include "calendar/calendar_page.h"
#include "test_registry.h"

#include <QTest>

Q_DECLARE_METATYPE(TRect)

namespace {
// A page as a user starts one, at 96 PPI and the given layout.
struct Page : TCalendarPage {
    explicit Page(int layout = 0) : TCalendarPage(96)
    {
        rawSettings().MainCalMonth = 12;
        rawSettings().MainCalYear = 1997;
        SetCalendarLayout(TCalendarLayout(layout));
        RecalcLayout(true);
    }
};
} // namespace

class TestLayoutGeometry : public QObject {
    Q_OBJECT
private slots:
    void pageSizes_data()
    {
        QTest::addColumn<int>("layout");
        QTest::addColumn<int>("paper");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("letter portrait") << 0 << 0 << 816 << 1056;
        QTest::newRow("letter landscape") << 1 << 0 << 1056 << 816;
        QTest::newRow("a4 portrait") << 0 << 1 << 793 << 1122;
        QTest::newRow("a4 landscape") << 17 << 1 << 1122 << 793;
        QTest::newRow("planner always portrait") << 21 << 0 << 816 << 1056;
    }
    void pageSizes()
    {
        QFETCH(int, layout);
        QFETCH(int, paper);
        QFETCH(int, width);
        QFETCH(int, height);
        Page page(layout);
        page.SetPaperSize(quint8(paper));
        QCOMPARE(page.layoutGeometry().PageWidthPx, width);
        QCOMPARE(page.layoutGeometry().PageHeightPx, height);
        QCOMPARE(page.settings().CalendarOrientation == TCalendarOrientation::coLandscape, width > height);
    }

    void contentAndMarginRect()
    {
        Page page(0);
        const TLayoutGeometry& g = page.layoutGeometry();
        QCOMPARE(g.ContentRect, TRect(26, 26, 790, 1030));
        QCOMPARE(g.MarginRect, TRect(24, 24, 792, 1032));
        QCOMPARE(g.MainCalendarRect, g.ContentRect);
        QVERIFY(g.ShowMainCalendar && !g.ShowMiniCalendars && !g.IsPlanner);
    }

    void borderInsetShrinksContentOnly()
    {
        // The inset is applied without a border file on disk by computing directly.
        TCalendarSettings s;
        const TLayoutGeometry plain = ComputeLayoutGeometry(s, false, 96);
        const TLayoutGeometry framed = ComputeLayoutGeometry(s, true, 96);
        QCOMPARE(framed.MarginRect, plain.MarginRect);
        // px(0.25 + 0.47) = Trunc(96 × 0.72) = 69.
        QCOMPARE(framed.ContentRect, TRect(71, 71, 816 - 69 - 2, 1056 - 69 - 2));
    }

    void minisInTitle()
    {
        Page page(3);
        const TLayoutGeometry& g = page.layoutGeometry();
        QCOMPARE(int(g.minis.size()), 2);
        const TRect& M = g.MainCalendarRect;
        // s = 144, h = 12 at 96 PPI.
        QCOMPARE(g.minis[0].rect, TRect(M.Left + 12, M.Top + 12, M.Left + 132, M.Top + 132));
        QCOMPARE(g.minis[1].rect, TRect(M.Right - 132, M.Top + 12, M.Right - 12, M.Top + 132));
        QCOMPARE(g.minis[0].month, 11);
        QCOMPARE(g.minis[1].month, 1);
        QCOMPARE(g.minis[1].year, 1998);
    }

    void sixBeforeCrossesYear()
    {
        Page page(4);
        page.SetMainCalMonth(3);
        const auto& m = page.layoutGeometry().minis;
        QCOMPARE(int(m.size()), 12);
        QCOMPARE(m[0].month, 9);
        QCOMPARE(m[0].year, 1996);
        QCOMPARE(m[5].month, 2);
        QCOMPARE(m[5].year, 1997);
        QCOMPARE(m[6].month, 4);
        QCOMPARE(m[11].month, 9);
    }

    void gridsAreFlushAndOrdered_data()
    {
        QTest::addColumn<int>("layout");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("columns");
        for (auto [layout, count, columns] : {std::tuple{8, 6, 2}, {9, 6, 3}, {10, 12, 3}, {11, 12, 4}, {12, 24, 4},
                                              {13, 24, 6}, {14, 48, 6}, {15, 48, 8}, {16, 60, 6}, {17, 60, 10}})
            QTest::addRow("layout %d", layout) << layout << count << columns;
    }
    void gridsAreFlushAndOrdered()
    {
        QFETCH(int, layout);
        QFETCH(int, count);
        QFETCH(int, columns);
        Page page(layout);
        const TLayoutGeometry& g = page.layoutGeometry();
        QCOMPARE(page.MiniCount(), count);
        QCOMPARE(int(g.minis.size()), count);
        const TRect& last = g.minis.back().rect;
        QCOMPARE(last.Right, g.ContentRect.Right);
        QCOMPARE(last.Bottom, g.ContentRect.Bottom);
        QCOMPARE(g.minis.front().rect.Left, g.ContentRect.Left);
        QCOMPARE(g.minis.front().rect.Top, g.ContentRect.Top);
        // Reading order: the second mini is right of the first, the row below starts left.
        QVERIFY(g.minis[1].rect.Left > g.minis[0].rect.Left);
        QCOMPARE(g.minis[size_t(columns)].rect.Left, g.ContentRect.Left);
        QVERIFY(g.minis[size_t(columns)].rect.Top > g.minis[0].rect.Bottom);
        // Months run on from the page's month.
        QCOMPARE(g.minis[0].month, 12);
        QCOMPARE(g.minis[1].month, 1);
        QCOMPARE(g.minis[1].year, 1998);
    }

    void miniFontReset_data()
    {
        QTest::addColumn<int>("layout");
        QTest::addColumn<int>("title");
        QTest::addColumn<int>("cells");
        QTest::newRow("minis in title") << 3 << 10 << 8;
        QTest::newRow("6 months") << 8 << 18 << 14;
        QTest::newRow("24 months") << 12 << 12 << 9;
        QTest::newRow("48 months") << 15 << 10 << 8;
        QTest::newRow("60 months") << 16 << 8 << 6;
    }
    void miniFontReset()
    {
        QFETCH(int, layout);
        QFETCH(int, title);
        QFETCH(int, cells);
        Page page(layout);
        QCOMPARE(page.settings().MiniTitleFont.size, title);
        QCOMPARE(page.settings().MiniHeadersFont.size, cells);
        QCOMPARE(page.settings().MiniCellFont.size, cells);
        // A relayout without the reset keeps what the user chose.
        TCalFont f = page.settings().MiniTitleFont;
        f.size = 30;
        page.SetMiniTitleFont(f);
        page.SetMainCalMonth(5);
        QCOMPARE(page.settings().MiniTitleFont.size, 30);
    }

    void stripLayouts()
    {
        Page six(6);
        const TLayoutGeometry& g = six.layoutGeometry();
        QCOMPARE(g.minis[11].rect.Bottom, 1056 - 24 - 4);
        QCOMPARE(g.minis[11].rect.Right, 816 - 24 - 2);
        QVERIFY(g.MainCalendarRect.Bottom < g.minis[0].rect.Top);

        Page seven(7);
        const TLayoutGeometry& h = seven.layoutGeometry();
        QVERIFY(h.MainCalendarRect.Right > h.minis[0].rect.Left - 20); // the +8 overlap rule
        QCOMPARE(h.minis[11].rect.Right, 1056 - 24 - 4);
    }
};
OV_TEST(TestLayoutGeometry)

class TestCalendarDates : public QObject {
    Q_OBJECT
private slots:
    void leapYears()
    {
        QVERIFY(IsLeapYear(2000));
        QVERIFY(!IsLeapYear(1900));
        QVERIFY(IsLeapYear(1996));
        QVERIFY(!IsLeapYear(1997));
        QCOMPARE(DaysInMonth(2, 2000), 29);
        QCOMPARE(DaysInMonth(2, 2100), 28);
    }

    void saturdayMonthUsesSixthRow()
    {
        // November 1997 starts on a Saturday.
        QCOMPARE(WeekdayOf(1997, 11, 1), 7);
        QCOMPARE(DayOfGridCell(0, 6, 11, 1997, 1), 1);
        QCOMPARE(DayOfGridCell(5, 0, 11, 1997, 1), 30);
        // A 31-day month starting on Saturday fills cells 7..37.
        QCOMPARE(DayOfGridCell(5, 1, 3, 1997, 1), 31); // March 1997 starts on Saturday
    }

    void februaryOnSundayFillsFourRows()
    {
        // February 2015 starts on a Sunday and has 28 days.
        QCOMPARE(DayOfGridCell(0, 0, 2, 2015, 1), 1);
        QCOMPARE(DayOfGridCell(3, 6, 2, 2015, 1), 28);
        for (int r = 4; r < 6; ++r)
            for (int c = 0; c < 7; ++c)
                QCOMPARE(DayOfGridCell(r, c, 2, 2015, 1), 0);
    }

    void mondayWeekStart()
    {
        // June 1997 starts on a Sunday: with weeks from Monday it sits in column 6.
        QCOMPARE(DayOfGridCell(0, 6, 6, 1997, 2), 1);
        QCOMPARE(DayNameIndexOfColumn(0, 2), 2);
        QCOMPARE(DayNameIndexOfColumn(6, 2), 1);
        QCOMPARE(DayNameIndexOfColumn(6, 1), 7);
    }

    void monthShift()
    {
        int m = 1, y = 1997;
        ShiftMonth(m, y, -1);
        QCOMPARE(m, 12);
        QCOMPARE(y, 1996);
        ShiftMonth(m, y, 13);
        QCOMPARE(m, 1);
        QCOMPARE(y, 1998);
    }
};
OV_TEST(TestCalendarDates)

#include "test_layout_geometry.moc"
