// The floating calendar's drawing: calendar arithmetic, the bands and cells it lays out
// and pixel probes of the painted month.
#include "special/flat_calendar_drawing.h"
#include "special_test_support.h"
#include "test_registry.h"
#include "test_support.h"

#include <QFontMetrics>

using ovtest::darkPixelsInRect;
using ovtest::kUnpainted;
using ovtest::picture;

namespace {
// The layout of a 210 × 180 calendar with the default fonts at 96 pixels per inch:
// R = (0, 0, 209, 179); title band 17 % = 30 pixels; day names 1.5 × 11 = 16 pixels;
// columns 209 / 7 = 29; rows (179 − 46) / 6 = 22 from y 46.
constexpr int kCol = 29, kY0 = 46, kRow = 22;
QRect cell(int row, int column) { return QRect(column * kCol + 1, kY0 + row * kRow + 1, kCol - 2, kRow - 1); }

TGFlatCalendar* march2025(ovtest::HostFixture& f)
{
    return f.calendar(QRect(20, 20, 210, 180));
}
} // namespace

class TestFlatCalendarDrawing : public QObject {
    Q_OBJECT
private slots:
    void calendarArithmetic()
    {
        QCOMPARE(weekdayOfFirst(2025, 3), 7);  // a Saturday
        QCOMPARE(weekdayOfFirst(1997, 12), 2); // a Monday
        QCOMPARE(weekdayOfFirst(2000, 1), 7);
        QCOMPARE(weekdayOfFirst(1900, 1), 2);
        QCOMPARE(weekdayOfFirst(1, 1), 2);     // proleptic Gregorian
        QCOMPARE(weekdayOfFirst(0, 3), 4);     // 1 March of 1 BC: a Wednesday
        QCOMPARE(daysInMonth(1900, 2), 28);
        QCOMPARE(daysInMonth(2000, 2), 29);
        QCOMPARE(daysInMonth(2024, 2), 29);
        QCOMPARE(daysInMonth(2025, 4), 30);
        QCOMPARE(daysInMonth(2025, 13), 0);
        QCOMPARE(weekdayColumn(7, 1), 7); // Saturday, Sunday first
        QCOMPARE(weekdayColumn(7, 2), 6); // Saturday, Monday first
        QCOMPARE(weekdayColumn(1, 2), 7); // Sunday, Monday first
        QCOMPARE(shortDayName(QStringLiteral("Freitag "), TFlatCalHeadersStyle::fdsThreeChars), QStringLiteral("Fre"));
        QCOMPARE(shortDayName(QStringLiteral("Freitag "), TFlatCalHeadersStyle::fdsWhole), QStringLiteral("Freitag "));
        QCOMPARE(shortDayName(QString::fromUtf8("Sábado"), TFlatCalHeadersStyle::fdsFirstChar), QStringLiteral("S"));
    }

    void paintedShadowFallsTowardItsCorner_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QPoint>("shadowed");   // a pixel only the shadow covers
        QTest::addColumn<QPoint>("uncovered");  // a pixel neither covers
        QTest::newRow("lower right") << 0 << QPoint(205, 177) << QPoint(207, 2);
        QTest::newRow("lower left") << 1 << QPoint(2, 177) << QPoint(2, 2);
        QTest::newRow("upper right") << 2 << QPoint(205, 2) << QPoint(2, 2);
        QTest::newRow("upper left") << 3 << QPoint(2, 2) << QPoint(207, 2);
    }
    void paintedShadowFallsTowardItsCorner()
    {
        QFETCH(int, position);
        QFETCH(QPoint, shadowed);
        QFETCH(QPoint, uncovered);
        ovtest::HostFixture f;
        TGFlatCalendar* c = march2025(f);
        c->SetShadowDepth(8);
        c->SetShadowColor(0x008000); // clGreen
        c->SetShadowPosition(TFlatShadowPosition(position));
        const QImage img = picture(*c);
        QCOMPARE(QColor(img.pixel(shadowed)), QColor(0, 128, 0));
        QCOMPARE(QColor(img.pixel(uncovered)), kUnpainted);
        // The shadow reaches the object's last row and column on its own side.
        const bool right = position == 0 || position == 2, bottom = position == 0 || position == 1;
        QCOMPARE(QColor(img.pixel(right ? 209 : 0, bottom ? 179 : 0)), QColor(0, 128, 0));

        // Transparent: neither the shadow nor any background, but the lines still.
        c->SetCalTransparent(true);
        const QImage clear = picture(*c);
        QCOMPARE(QColor(clear.pixel(shadowed)), kUnpainted);
        QCOMPARE(QColor(clear.pixel(89, 136)), kUnpainted); // a corner of a day's cell
        QCOMPARE(QColor(clear.pixel(100, 0)), QColor(Qt::black)); // the calendar's top line
    }

    void titleBandAndDayNameBand()
    {
        ovtest::HostFixture f;
        TGFlatCalendar* c = march2025(f);
        c->SetTitleBGcolor(clRed);
        c->SetDayNameBGColor(0x00FFFF); // yellow
        c->SetBackgroundcolor(0xFF0000); // blue
        c->SetCalendarBorderStyle(TFlatCalBorderStyle::fcbNone);
        c->SetDayNameBorderStyle(TFlatCalBorderStyle::fcbNone);
        QImage img = picture(*c);
        QCOMPARE(QColor(img.pixel(2, 1)), QColor(255, 0, 0));
        QCOMPARE(QColor(img.pixel(2, 29)), QColor(255, 0, 0));   // the band's last row
        QCOMPARE(QColor(img.pixel(209, 29)), QColor(255, 0, 0)); // one beyond R on the right
        QCOMPARE(QColor(img.pixel(2, 30)), QColor(255, 255, 0)); // day names from y 30
        QCOMPARE(QColor(img.pixel(2, 45)), QColor(255, 255, 0));
        QCOMPARE(QColor(img.pixel(2, 46)), QColor(0, 0, 255)); // the body from the band's bottom
        QCOMPARE(QColor(img.pixel(209, 179)), QColor(0, 0, 255));

        TFlatCalDrawParams block;
        {
            QImage scratch(210, 180, QImage::Format_RGB32);
            QPainter p(&scratch);
            block = c->DrawCalendar(p);
        }
        QCOMPARE(block.TitleRect, (TFlatCalRect{0, 0, 209, 30}));
        QCOMPARE(block.DayNameRect, (TFlatCalRect{0, 30, 209, 46}));
        QCOMPARE(block.TitleTextHeight, QFontMetrics(block.TitleFont.toQFont(1.0f, 96)).height());

        // The title is the month name, and with ShowYear a blank and the year.
        c->SetShowYear(true);
        const QImage withYear = picture(*c);
        TFlatCalDrawParams fixed = c->DrawParams();
        fixed.ShowYear = false;
        fixed.TitleText = QStringLiteral("March 2025");
        QImage spelled(210, 180, QImage::Format_RGB32);
        spelled.fill(kUnpainted);
        {
            QPainter p(&spelled);
            DrawMonth(p, fixed, 96);
        }
        QCOMPARE(withYear, spelled);
        QVERIFY(withYear != img);
    }

    void aMonthOfSixRowsSundayOrMondayFirst()
    {
        ovtest::HostFixture f;
        TGFlatCalendar* c = march2025(f);
        c->SetCalendarBorderStyle(TFlatCalBorderStyle::fcbNone);
        const QImage sundayFirst = picture(*c);
        QImage img = sundayFirst;
        // Sunday first: the 1st (a Saturday) in column 7; the 30th and 31st in row 6.
        QVERIFY(darkPixelsInRect(img, cell(0, 6)) > 0);
        QCOMPARE(darkPixelsInRect(img, cell(0, 5)), 0);
        QVERIFY(darkPixelsInRect(img, cell(5, 0)) > 0);
        QVERIFY(darkPixelsInRect(img, cell(5, 1)) > 0);
        QCOMPARE(darkPixelsInRect(img, cell(5, 2)), 0);

        // Monday first: the 1st moves to column 6; row 6 holds only the 31st.
        c->SetStartOfWeek(2);
        img = picture(*c);
        QVERIFY(darkPixelsInRect(img, cell(0, 5)) > 0);
        QCOMPARE(darkPixelsInRect(img, cell(0, 4)), 0);
        QVERIFY(darkPixelsInRect(img, cell(5, 0)) > 0);
        QCOMPARE(darkPixelsInRect(img, cell(5, 1)), 0);
        // The day names begin with Monday and end with Sunday.
        const QRect firstName(1, 31, kCol - 2, 15), lastName(6 * kCol + 1, 31, kCol - 2, 15);
        QCOMPARE(img.copy(lastName), sundayFirst.copy(firstName));
        QVERIFY(img.copy(firstName) != sundayFirst.copy(firstName));
    }

    void cellGridOfEachBorderStyle_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<QList<int>>("rows"); // y of the horizontal lines drawn
        QTest::addColumn<bool>("columns");
        const QList<int> all{46, 68, 90, 112, 134, 156, 179};
        QTest::newRow("none") << 0 << QList<int>{} << false;
        QTest::newRow("all") << 1 << all << true;
        QTest::newRow("top") << 2 << all.mid(0, 6) << false;
        QTest::newRow("bottom") << 3 << all.mid(1) << false;
        QTest::newRow("top & bottom") << 4 << all << false;
    }
    void cellGridOfEachBorderStyle()
    {
        QFETCH(int, style);
        QFETCH(QList<int>, rows);
        QFETCH(bool, columns);
        ovtest::HostFixture f;
        TGFlatCalendar* c = march2025(f);
        c->SetCalendarBorderStyle(TFlatCalBorderStyle::fcbNone);
        c->SetDayNameBorderStyle(TFlatCalBorderStyle::fcbNone);
        c->SetCellBorderStyle(TFlatCalBorderStyle(style));
        const QImage img = picture(*c);
        // Probe x = 3: inside the first column, left of its numbers.
        for (int y = 47; y <= 179; ++y)
            QCOMPARE(QColor(img.pixel(3, y)) == QColor(Qt::black), rows.contains(y));
        QCOMPARE(QColor(img.pixel(2 * kCol, 100)) == QColor(Qt::black), columns);
        QCOMPARE(QColor(img.pixel(209, 100)) == QColor(Qt::black), columns);
        // A row line leaves out its end point at R.right, where only a column line lies.
        if (!rows.isEmpty() && !columns) {
            QCOMPARE(QColor(img.pixel(208, rows.last())), QColor(Qt::black));
            QVERIFY(QColor(img.pixel(209, rows.last())) != QColor(Qt::black));
        }
    }

    void bandBordersOfEachStyle()
    {
        QImage img(20, 20, QImage::Format_RGB32);
        auto draw = [&](TFlatCalBorderStyle s) {
            img.fill(Qt::white);
            QPainter p(&img);
            DrawBandBorder(p, {2, 3, 12, 9}, s);
        };
        auto black = [&](int x, int y) { return QColor(img.pixel(x, y)) == QColor(Qt::black); };
        draw(TFlatCalBorderStyle::fcbAll);
        QVERIFY(black(2, 3) && black(12, 3) && black(12, 9) && black(2, 9) && black(7, 9) && black(2, 6));
        QCOMPARE(ovtest::darkPixelsInRect(img, img.rect()), 2 * 11 + 2 * 5);
        draw(TFlatCalBorderStyle::fcbTop);
        QVERIFY(black(2, 3) && black(11, 3) && !black(12, 3) && !black(2, 9));
        draw(TFlatCalBorderStyle::fcbBottom);
        QVERIFY(black(2, 9) && !black(12, 9) && !black(2, 3));
        draw(TFlatCalBorderStyle::fcbTopBottom);
        QVERIFY(black(5, 3) && black(5, 9) && !black(2, 6));
        draw(TFlatCalBorderStyle::fcbNone);
        QCOMPARE(ovtest::darkPixelsInRect(img, img.rect()), 0);
    }

    void fontsAndShadowFollowTheZoom()
    {
        ovtest::HostFixture f;
        TGFlatCalendar* c = march2025(f);
        c->SetShadowDepth(10);
        c->ZoomTo(1.5f);
        QCOMPARE(c->size(), QSize(315, 270));
        TFlatCalDrawParams b = c->DrawParams();
        QCOMPARE(b.TitleFont.Size(96), 12);  // 8 × 1.5
        QCOMPARE(b.CellFont.Size(96), 10);   // 7 × 1.5 = 10.5, truncated
        QCOMPARE(b.TitleFont.Height, -16);
        QCOMPARE(b.CalendarRect, (TFlatCalRect{0, 0, 300, 255})); // a 15-pixel shadow
        c->ZoomTo(0.25f);
        b = c->DrawParams();
        QCOMPARE(b.TitleFont.Size(96), 2);
        QCOMPARE(b.CalendarRect.Right, c->width() - 2);
        // The stored fonts keep their size.
        QCOMPARE(c->TitleFont().Size(96), 8);
    }

    void degenerateCalendarsDrawWithoutFailing()
    {
        ovtest::HostFixture f;
        TGFlatCalendar* tiny = f.calendar(QRect(0, 0, 50, 15));
        QImage scratch(50, 15, QImage::Format_RGB32);
        QPainter p(&scratch);
        const TFlatCalDrawParams b = tiny->DrawCalendar(p);
        // The title band is as tall as its text although the object is lower.
        QCOMPARE(b.TitleRect.Bottom - b.TitleRect.Top, b.TitleTextHeight);
        QVERIFY(b.TitleTextHeight > (17 * 14) / 100);

        // Months a file may hold that no calendar has, years far from ours, a shadow
        // larger than the object.
        TGFlatCalendar* odd = f.calendar(QRect(0, 0, 120, 100));
        // (Body of a 120 × 100 calendar: y 32 to 99 inside the frame.)
        for (int month : {0, 13, -5, 1000000}) {
            odd->SetMonth(month);
            QCOMPARE(darkPixelsInRect(picture(*odd), QRect(1, 33, 117, 65)), 0); // no numbers
        }
        odd->SetMonth(2);
        for (int year : {-2147483647 - 1, 2147483647, 0}) {
            odd->SetYear(year);
            QVERIFY(darkPixelsInRect(picture(*odd), QRect(1, 33, 117, 65)) > 0);
        }
        odd->SetShadowDepth(10);
        odd->ZoomTo(8.0f);
        odd->resize(30, 30);
        picture(*odd);
    }
};
OV_TEST(TestFlatCalendarDrawing)

#include "test_flat_calendar_drawing.moc"
