#include "recurring/recurring_formula.h"
#include "test_registry.h"

#include <QLocale>
#include <QTest>

class TestRecurringFormula : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void padField_data()
    {
        QTest::addColumn<QString>("s");
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("expected");
        QTest::newRow("pads") << "ab" << 4 << "ab  ";
        QTest::newRow("exact") << "abcd" << 4 << "abcd";
        QTest::newRow("cuts") << "abcdef" << 4 << "abcd";
        QTest::newRow("empty") << "" << 3 << "   ";
        QTest::newRow("zero width") << "abc" << 0 << "";
    }
    void padField()
    {
        QFETCH(QString, s);
        QFETCH(int, n);
        QFETCH(QString, expected);
        QCOMPARE(PadField(s, n), expected);
    }

    void padFieldNeverSplitsSurrogatePair()
    {
        const QString s = QStringLiteral("ab") + QString::fromUcs4(U"\U0001F600");
        const QString padded = PadField(s, 3);
        QCOMPARE(padded.size(), 3);
        QVERIFY(!padded.at(2).isSurrogate());
    }

    void trimBlanksOnlyBlanks()
    {
        QCOMPARE(TrimBlanks(QStringLiteral("  a b  ")), QStringLiteral("a b"));
        QCOMPARE(TrimBlanks(QStringLiteral("\ta\t")), QStringLiteral("\ta\t"));
        QCOMPARE(TrimBlanks(QStringLiteral("    ")), QString());
    }

    void makeFormulas()
    {
        QCOMPARE(MakeDayOfMonthFormula(1, 4), QStringLiteral("@0401"));
        QCOMPARE(MakeDayOfMonthFormula(31, 0), QStringLiteral("@0031"));
        QCOMPARE(MakeDayOfMonthFormula(15, 12), QStringLiteral("@1215"));
        QCOMPARE(MakeNthWeekdayFormula(2, 6, 5), QStringLiteral("$2 6 5 "));
        QCOMPARE(MakeNthWeekdayFormula(5, 0, 10), QStringLiteral("$5 0 10"));
        QCOMPARE(MakeNthWeekdayFormula(0, 7, 0), QStringLiteral("$0 7 0 "));
    }

    void parseDayOfMonth_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("day");
        QTest::addColumn<int>("month");
        QTest::newRow("april fools") << "@0401" << true << 1 << 4;
        QTest::newRow("every month") << "@0031     " << true << 31 << 0;
        QTest::newRow("blank in field") << "@ 4 1" << true << 1 << 4;
        QTest::newRow("bare type") << "@" << false << 0 << 0;
        QTest::newRow("day missing") << "@04" << false << 0 << 0;
        QTest::newRow("blank field") << "@04  " << false << 0 << 0;
        QTest::newRow("letters") << "@ab01" << false << 0 << 0;
    }
    void parseDayOfMonth()
    {
        QFETCH(QString, formula);
        QFETCH(bool, ok);
        QFETCH(int, day);
        QFETCH(int, month);
        int d = -1, m = -1;
        QCOMPARE(ParseDayOfMonthFormula(formula, d, m), ok);
        if (ok) {
            QCOMPARE(d, day);
            QCOMPARE(m, month);
        } else {
            QCOMPARE(d, -1); // untouched on failure
        }
    }

    void parseNthWeekday()
    {
        int o = 0, w = 0, m = 0;
        QVERIFY(ParseNthWeekdayFormula(QStringLiteral("$3 4 11   "), o, w, m));
        QCOMPARE(o, 3);
        QCOMPARE(w, 4);
        QCOMPARE(m, 11);
        QVERIFY(ParseNthWeekdayFormula(MakeNthWeekdayFormula(5, 7, 2), o, w, m));
        QCOMPARE(o, 5);
        QCOMPARE(w, 7);
        QCOMPARE(m, 2);
        QVERIFY(!ParseNthWeekdayFormula(QStringLiteral("$3 4"), o, w, m));
        QVERIFY(!ParseNthWeekdayFormula(QStringLiteral("$3 x 11"), o, w, m));
        QVERIFY(!ParseNthWeekdayFormula(QStringLiteral("$"), o, w, m));
    }

    void ordinalText_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("text");
        const std::pair<int, const char*> rows[] = {{1, "1st"},   {2, "2nd"},   {3, "3rd"},   {4, "4th"},
                                                    {10, "10th"}, {11, "11th"}, {12, "12th"}, {13, "13th"},
                                                    {19, "19th"}, {20, "20th"}, {21, "21st"}, {22, "22nd"},
                                                    {23, "23rd"}, {30, "30th"}, {31, "31st"}, {0, "0th"}};
        for (const auto& [n, text] : rows)
            QTest::newRow(text) << n << QString::fromLatin1(text);
    }
    void ordinalText()
    {
        QFETCH(int, n);
        QFETCH(QString, text);
        QCOMPARE(OrdinalText(n), text);
    }

    void readableTexts_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<QString>("text");
        QTest::newRow("@0401") << "@0401" << "1st of April";
        QTest::newRow("$2 6 5") << "$2 6 5" << "3rd Sat of May";
        QTest::newRow("$5 0 10") << "$5 0 10" << "Last Sun of October";
        QTest::newRow("$3 4 11") << "$3 4 11" << "4th Thu of November";
        QTest::newRow("@0015") << "@0015" << "15th of Each Month";
        QTest::newRow("@0031") << "@0031" << "31st of Each Month";
        QTest::newRow("$0 7 0") << "$0 7 0" << "1st Day Each Month";
        QTest::newRow("$5 7 2") << "$5 7 2" << "Last Day February";
        QTest::newRow("%246") << "%246" << "Mon,Wed,Fri";
        QTest::newRow("%1234567") << "%1234567" << "Sun,Mon,Tue,Wed,Thu,Fri,Sat";
        QTest::newRow("% unordered") << "%73" << "Tue,Sat";
        QTest::newRow("% none") << "%" << "";
        QTest::newRow("@ bad") << "@" << "";
        QTest::newRow("@ month 13") << "@1301" << "";
        QTest::newRow("$ bad") << "$1" << "";
        QTest::newRow("$ weekday 9") << "$1 9 1" << "";
    }
    void readableTexts()
    {
        QFETCH(QString, formula);
        QFETCH(QString, text);
        QString actual;
        if (formula.startsWith(QLatin1Char('@')))
            actual = DayOfMonthFormulaText(formula);
        else if (formula.startsWith(QLatin1Char('$')))
            actual = NthWeekdayFormulaText(formula);
        else
            actual = WeekdaysFormulaText(formula);
        QCOMPARE(actual, text);
    }

    void ordinalDaysInTexts()
    {
        const std::pair<int, const char*> rows[] = {{11, "11th"}, {12, "12th"}, {13, "13th"},
                                                    {21, "21st"}, {22, "22nd"}, {23, "23rd"}};
        for (const auto& [day, ordinal] : rows)
            QCOMPARE(DayOfMonthFormulaText(MakeDayOfMonthFormula(day, 0)),
                     QString::fromLatin1(ordinal) + QStringLiteral(" of Each Month"));
    }

    void entryLayout()
    {
        const QString entry = MakeRecurringEntry(QStringLiteral("Mother's Day"), MakeNthWeekdayFormula(1, 0, 5));
        QCOMPARE(entry.size(), 130);
        QCOMPARE(RecurringEntryType(entry), QLatin1Char('$'));
        QCOMPARE(RecurringEntryFormula(entry), QStringLiteral("$1 0 5    "));
        QCOMPARE(RecurringEntryName(entry), PadField(QStringLiteral("Mother's Day"), 120));
        QCOMPARE(MakeRecurringEntry(QString(200, QLatin1Char('x')), QStringLiteral("@01011234567")).size(), 130);
        QCOMPARE(RecurringEntryType(QStringLiteral("short")), QChar());
    }

    void entryText_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("text");
        QTest::newRow("mother's day") << MakeRecurringEntry("Mother's Day", "$1 0 5") << "Mother's Day (2nd Sun of May)";
        QTest::newRow("leading blanks trimmed")
            << MakeRecurringEntry("  Payday", "@0015") << "Payday (15th of Each Month)";
        QTest::newRow("weekdays") << MakeRecurringEntry("Gym", "%246") << "Gym (Mon,Wed,Fri)";
        QTest::newRow("easter kept as is")
            << PadField("Easter", 120) + "#EASTER" << PadField("Easter", 120);
        QTest::newRow("unknown type") << PadField("Note", 120) + "?xyz" << PadField("Note", 120);
        QTest::newRow("unreadable formula") << MakeRecurringEntry("Odd", "@") << "Odd ()";
        QTest::newRow("short line") << "Just a name" << "Just a name";
    }
    void entryText()
    {
        QFETCH(QString, entry);
        QFETCH(QString, text);
        QCOMPARE(RecurringEntryText(entry), text);
    }

    void keywords()
    {
        QCOMPARE(RecurringEntryKeyword(PadField("Good Friday", 120) + "#GoodFriday"), kGoodFridayKeyword);
        QCOMPARE(RecurringEntryKeyword(PadField("Easter", 120) + "#easter    "), kEasterKeyword);
        QCOMPARE(RecurringEntryKeyword(PadField("Palm", 120) + "#PALMSUNDAYextra"), kPalmSundayKeyword);
    }
};
OV_TEST(TestRecurringFormula)
#include "test_recurring_formula.moc"
