#include "recurring/recurring_fill.h"
#include "recurring/recurring_formula.h"
#include "test_registry.h"

#include <QTest>

namespace {

QString entry(const char* name, const char* formula) { return MakeRecurringEntry(QString::fromLatin1(name), QString::fromLatin1(formula)); }
// "#" lines as the holiday list stores them: the keyword right after the name field.
QString feast(const char* name, const char* keyword) { return PadField(QString::fromLatin1(name), 120) + QString::fromLatin1(keyword); }

QList<int> days(const QList<RecurringPlacement>& placements)
{
    QList<int> out;
    for (const auto& p : placements)
        out.append(p.day);
    return out;
}

// The short rule that holds from 1900 to 2099.
QDate shortRuleEaster(int y)
{
    const int b = 225 - 11 * (y % 19);
    int d = ((b - 21) % 30) + 21;
    if (d > 48)
        d -= 1;
    const int e = (y + y / 4 + d + 1) % 7;
    const int q = d + 7 - e;
    return q < 32 ? QDate(y, 3, q) : QDate(y, 4, q - 31);
}

} // namespace

class TestRecurringFill : public QObject {
    Q_OBJECT
private slots:
    void leapYearsAndMonthLengths()
    {
        QVERIFY(IsLeapYear(2000));
        QVERIFY(!IsLeapYear(1900));
        QVERIFY(IsLeapYear(2024));
        QVERIFY(!IsLeapYear(2023));
        QCOMPARE(DaysInMonth(2, 2000), 29);
        QCOMPARE(DaysInMonth(2, 1900), 28);
        QCOMPARE(DaysInMonth(4, 1998), 30);
        QCOMPARE(DaysInMonth(12, 1998), 31);
        QCOMPARE(DaysInMonth(13, 1998), 0);
    }

    void easterKnownDates_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<QDate>("easter");
        const int table[][3] = {{1583, 4, 10}, {1600, 4, 2},  {1700, 4, 11}, {1761, 3, 22}, {1800, 4, 13},
                                {1818, 3, 22}, {1886, 4, 25}, {1899, 4, 2},  {1900, 4, 15}, {1943, 4, 25},
                                {1998, 4, 12}, {2000, 4, 23}, {2008, 3, 23}, {2024, 3, 31}, {2038, 4, 25},
                                {2100, 3, 28}, {2200, 4, 6},  {2285, 3, 22}, {3000, 4, 13}};
        for (const auto& row : table)
            QTest::newRow(QByteArray::number(row[0]).constData()) << row[0] << QDate(row[0], row[1], row[2]);
    }
    void easterKnownDates()
    {
        QFETCH(int, year);
        QFETCH(QDate, easter);
        QCOMPARE(EasterDate(year), easter);
    }

    void easterAgreesWithShortRuleFrom1900To2099()
    {
        for (int y = 1900; y <= 2099; ++y)
            QCOMPARE(EasterDate(y), shortRuleEaster(y));
    }

    void easterIsAlwaysASundayInRange()
    {
        for (int y = 1583; y <= 4099; ++y) {
            const QDate e = EasterDate(y);
            QCOMPARE(e.dayOfWeek(), 7);
            QVERIFY(e >= QDate(y, 3, 22) && e <= QDate(y, 4, 25));
        }
        QVERIFY(!EasterDate(0).isValid());
    }

    void movableFeasts_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("easter");
        QTest::addColumn<int>("goodFriday");
        QTest::addColumn<int>("palmSunday");
        QTest::newRow("April 1998") << 1998 << 4 << 12 << 10 << 5;
        QTest::newRow("March 1998") << 1998 << 3 << 0 << 0 << 0;
        QTest::newRow("March 2024") << 2024 << 3 << 31 << 29 << 24;
        QTest::newRow("April 2024") << 2024 << 4 << 0 << 0 << 0;
        // Easter on April 1st: both feasts before it fall in March.
        QTest::newRow("March 2018") << 2018 << 3 << 0 << 30 << 25;
        QTest::newRow("April 2018") << 2018 << 4 << 1 << 0 << 0;
        QTest::newRow("March 2100") << 2100 << 3 << 28 << 26 << 21;
    }
    void movableFeasts()
    {
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(int, easter);
        QFETCH(int, goodFriday);
        QFETCH(int, palmSunday);
        QCOMPARE(EasterDayInMonth(year, month), easter);
        QCOMPARE(GoodFridayInMonth(year, month), goodFriday);
        QCOMPARE(PalmSundayInMonth(year, month), palmSunday);
    }

    void feastsFilteredOutOfOtherMonths()
    {
        const QStringList store{feast("Easter", "#EASTER"), feast("Good Friday", "#GOODFRIDAY"),
                                feast("Palm Sunday", "#PALMSUNDAY")};
        QVERIFY(FilterRecurringEntries(store, 1998, 3).isEmpty());
        const RecurringFillResult march = ComputeRecurringFill(store, 1998, 3);
        QVERIFY(march.noMatch);
        QVERIFY(march.placements.isEmpty());

        const RecurringFillResult april = ComputeRecurringFill(store, 1998, 4);
        QVERIFY(!april.noMatch);
        QCOMPARE(april.candidates, store);
        QCOMPARE(days(april.placements), (QList<int>{12, 10, 5}));
        // "#" names are passed on as stored, padding included.
        QCOMPARE(april.placements[0].text, PadField("Easter", 120));
    }

    void nthWeekday_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("last Sunday of October 1998") << "$5 0 10" << 1998 << 10 << QList<int>{25};
        QTest::newRow("4th Thursday of November 1998") << "$3 4 11" << 1998 << 11 << QList<int>{26};
        QTest::newRow("1st day of every month") << "$0 7 0" << 1998 << 7 << QList<int>{1};
        QTest::newRow("last day of February 2000") << "$5 7 2" << 2000 << 2 << QList<int>{29};
        QTest::newRow("last day of February 1900") << "$5 7 2" << 1900 << 2 << QList<int>{28};
        QTest::newRow("3rd Saturday of May 1998") << "$2 6 5" << 1998 << 5 << QList<int>{16};
        QTest::newRow("5th Monday missing") << "$4 1 0" << 1998 << 2 << QList<int>{};
        QTest::newRow("5th Monday present") << "$4 1 0" << 1998 << 8 << QList<int>{31};
        QTest::newRow("other month") << "$3 4 11" << 1998 << 10 << QList<int>{};
        QTest::newRow("3rd day of each month") << "$2 7 0" << 1998 << 9 << QList<int>{3};
        QTest::newRow("unknown weekday") << "$1 8 0" << 1998 << 9 << QList<int>{};
    }
    void nthWeekday()
    {
        QFETCH(QString, formula);
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(QList<int>, expected);
        const auto placed = PlaceRecurringEntry(MakeRecurringEntry(QStringLiteral("  Event  "), formula), year, month);
        QCOMPARE(days(placed), expected);
        for (const auto& p : placed)
            QCOMPARE(p.text, QStringLiteral("Event")); // "$" names are trimmed
    }

    void weekdaysFormula()
    {
        // June 1998: Mondays 1, 8, 15, 22, 29; Wednesdays 3, 10, 17, 24; Fridays 5, 12, 19, 26.
        const QString line = entry("Gym", "%246");
        const auto placed = PlaceRecurringEntry(line, 1998, 6);
        QCOMPARE(days(placed), (QList<int>{1, 3, 5, 8, 10, 12, 15, 17, 19, 22, 24, 26, 29}));
        QCOMPARE(placed[0].text, PadField("Gym", 120)); // "%" names keep their padding
        QVERIFY(PlaceRecurringEntry(entry("Never", "%89"), 1998, 6).isEmpty());
    }

    void dayOfMonth()
    {
        QCOMPARE(days(PlaceRecurringEntry(entry("Fools", "@0401"), 1998, 4)), QList<int>{1});
        QVERIFY(PlaceRecurringEntry(entry("Fools", "@0401"), 1998, 5).isEmpty());
        QCOMPARE(days(PlaceRecurringEntry(entry("Rent", "@0015"), 1998, 5)), QList<int>{15});
        // Days the month does not have, and a hand-edited day 0, place nothing.
        QVERIFY(PlaceRecurringEntry(entry("End", "@0031"), 1998, 4).isEmpty());
        QVERIFY(PlaceRecurringEntry(entry("Zero", "@0000"), 1998, 4).isEmpty());
        QCOMPARE(days(PlaceRecurringEntry(entry("End", "@0031"), 1998, 5)), QList<int>{31});
    }

    void twoEntriesOnOneDayKeepStoreOrder()
    {
        const QStringList store{entry("Zed's birthday", "@0704"), entry("Independence Day", "@0704")};
        const auto fill = ComputeRecurringFill(store, 1998, 7);
        QCOMPARE(fill.placements.size(), 2);
        QCOMPARE(fill.placements[0], (RecurringPlacement{4, QStringLiteral("Zed's birthday")}));
        QCOMPARE(fill.placements[1], (RecurringPlacement{4, QStringLiteral("Independence Day")}));
    }

    void placementOrderIsLineByLine()
    {
        const QStringList chosen{entry("Weekly", "%2"), entry("Fools", "@0401")};
        // April 1998 Mondays: 6, 13, 20, 27.
        QCOMPARE(days(ComputeRecurringPlacements(chosen, 1998, 4)), (QList<int>{6, 13, 20, 27, 1}));
    }

    void filterKeepsWhatCannotBeJudged()
    {
        const QStringList store{
            QStringLiteral("short line without formula"),
            entry("Weekly", "%1"),
            entry("Other feast", "#ASCENSION"),
            PadField("Unknown", 120) + QStringLiteral("?0101"),
            entry("Other month", "@0501"),
            entry("Other month nth", "$0 1 5"),
            entry("Broken", "@xx"),
            entry("Every month", "$0 1 0"),
        };
        const QStringList kept = FilterRecurringEntries(store, 1998, 4);
        QCOMPARE(kept, (QStringList{store[0], store[1], store[2], store[3], store[7]}));
        // Lines that stay without a formula place nothing.
        QVERIFY(PlaceRecurringEntry(store[0], 1998, 4).isEmpty());
        QVERIFY(PlaceRecurringEntry(store[2], 1998, 4).isEmpty());
        QVERIFY(PlaceRecurringEntry(store[3], 1998, 4).isEmpty());
        // Such lines still count as matches: the picker shows them.
        QVERIFY(!ComputeRecurringFill({store[0]}, 1998, 4).noMatch);
        QVERIFY(ComputeRecurringFill({}, 1998, 4).noMatch);
    }

    void weekdayNumbering()
    {
        QCOMPARE(RecurringWeekday(1998, 4, 12), 1); // Sunday
        QCOMPARE(RecurringWeekday(1998, 4, 18), 7); // Saturday
        QCOMPARE(RecurringWeekday(1998, 4, 13), 2); // Monday
    }
};
OV_TEST(TestRecurringFill)
#include "test_recurring_fill.moc"
