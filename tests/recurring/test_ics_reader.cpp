#include "ics_test_util.h"
#include "recurring/ics_fill.h"
#include "recurring/ics_reader.h"
#include "test_registry.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using ovtest::icsCalendar;
using ovtest::icsEvent;
using ovtest::kCustomZone;
using ovtest::placementLines;
using ovtest::ScopedTimeZone;

namespace {

const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);

QStringList fill(const QByteArray& ics, int year, int month, const IcsLimits& limits = {})
{
    return placementLines(ComputeIcsPlacements(ReadIcsMonth(ics, year, month, limits), year, month, kEnglish));
}

QString failure(const QByteArray& ics, int year = 2024, int month = 4, const IcsLimits& limits = {})
{
    try {
        ReadIcsMonth(ics, year, month, limits);
    } catch (const EIcsError& e) {
        return e.reason();
    }
    return QStringLiteral("no error");
}

QByteArray zonesSample()
{
    return icsCalendar(kCustomZone
                       + icsEvent({"UID:a", "DTSTART;VALUE=DATE:20240410", "SUMMARY:Dentist day"})
                       + icsEvent({"UID:b", "DTSTART;TZID=Europe/Berlin:20240412T150000", "SUMMARY:Call Berlin"})
                       + icsEvent({"UID:c", "DTSTART;TZID=Custom/Zone:20240416T020000", "SUMMARY:Night train"})
                       + icsEvent({"UID:d", "DTSTART:20240418T120000Z", "SUMMARY:UTC meeting"})
                       + icsEvent({"UID:e", "DTSTART:20240420T193000", "SUMMARY:Floating dinner"})
                       + icsEvent({"UID:f", "DTSTART;TZID=Nowhere/Land:20240422T100000", "SUMMARY:Unknown zone"})
                       + icsEvent({"UID:g", "DTSTART;TZID=../../../../etc/passwd:20240423T110000",
                                   "SUMMARY:Odd zone"}));
}

QByteArray rulesSample()
{
    return icsCalendar(
        icsEvent({"UID:standup", "DTSTART:20240101T090000", "RRULE:FREQ=WEEKLY;BYDAY=MO",
                  "EXDATE:20240415T090000", "SUMMARY:Standup"})
        + icsEvent({"UID:anna", "DTSTART;VALUE=DATE:19800415", "RRULE:FREQ=YEARLY", "SUMMARY:Anna's birthday"})
        + icsEvent({"UID:course", "DTSTART:20240410T070000", "RRULE:FREQ=DAILY;UNTIL=20240412T235959",
                    "SUMMARY:Course"})
        + icsEvent({"UID:count", "DTSTART;VALUE=DATE:20240326", "RRULE:FREQ=WEEKLY;COUNT=3", "SUMMARY:Three times"})
        + icsEvent({"UID:market", "DTSTART;VALUE=DATE:20240405", "RDATE;VALUE=DATE:20240419,20240426",
                    "SUMMARY:Market"})
        + icsEvent({"UID:review", "DTSTART:20240403T100000", "RRULE:FREQ=WEEKLY;COUNT=4", "SUMMARY:Review"})
        + icsEvent({"UID:review", "RECURRENCE-ID:20240410T100000", "DTSTART:20240411T140000",
                    "SUMMARY:Review (moved)"})
        + icsEvent({"UID:review", "RECURRENCE-ID:20240417T100000", "DTSTART:20240417T100000", "STATUS:CANCELLED",
                    "SUMMARY:Review"})
        + icsEvent({"UID:drinks", "DTSTART:20230127T170000", "RRULE:FREQ=MONTHLY;BYDAY=-1FR", "SUMMARY:Drinks"}));
}

QByteArray multiDaySample()
{
    return icsCalendar(
        icsEvent({"UID:trip", "DTSTART;VALUE=DATE:20240329", "DTEND;VALUE=DATE:20240403", "SUMMARY:Holiday trip"})
        + icsEvent({"UID:night", "DTSTART:20240331T230000", "DTEND:20240401T010000", "SUMMARY:Overnight"})
        + icsEvent({"UID:party", "DTSTART:20240405T220000", "DTEND:20240406T020000", "SUMMARY:Party"})
        + icsEvent({"UID:show", "DTSTART:20240407T200000", "DTEND:20240408T000000", "SUMMARY:Late show"})
        + icsEvent({"UID:conf", "DTSTART;VALUE=DATE:20240428", "DURATION:P5D", "SUMMARY:Conference"}));
}

} // namespace

class TestIcsReader : public QObject {
    Q_OBJECT
private slots:
    void zonedTimesAreShownInTheMachinesZone()
    {
        {
            ScopedTimeZone zone("America/New_York");
            QCOMPARE(fill(zonesSample(), 2024, 4),
                     (QStringList{"10\tDentist day", "12\t9:00 AM Call Berlin", "15\t8:00 PM Night train",
                                  "18\t8:00 AM UTC meeting", "20\t7:30 PM Floating dinner",
                                  "22\t10:00 AM Unknown zone", "23\t11:00 AM Odd zone"}));
        }
        {
            // The same file on a machine in Berlin; floating times do not move.
            ScopedTimeZone zone("Europe/Berlin");
            QCOMPARE(fill(zonesSample(), 2024, 4),
                     (QStringList{"10\tDentist day", "12\t3:00 PM Call Berlin", "16\t2:00 AM Night train",
                                  "18\t2:00 PM UTC meeting", "20\t7:30 PM Floating dinner",
                                  "22\t10:00 AM Unknown zone", "23\t11:00 AM Odd zone"}));
        }
    }

    void zoneRulesHoldInFarYears()
    {
        // libical stops expanding zone changes in 2582; July 3000 is still summer time.
        ScopedTimeZone zone("UTC");
        const QByteArray ics = icsCalendar(
            kCustomZone + icsEvent({"UID:x", "DTSTART;TZID=Custom/Zone:20500712T100000", "SUMMARY:Far away",
                                    "RRULE:FREQ=YEARLY"})
            + icsEvent({"UID:y", "DTSTART;TZID=Custom/Zone:30000112T100000", "SUMMARY:Winter"}));
        QCOMPARE(fill(ics, 2050, 7), QStringList{"12\t8:00 AM Far away"});
        QCOMPARE(fill(ics, 3000, 7), QStringList{"12\t8:00 AM Far away"});
        QCOMPARE(fill(ics, 3000, 1), QStringList{"12\t9:00 AM Winter"});
    }

    void zonesThatCouldRunAwayAreNotUsed()
    {
        // A zone whose offset would change every second is dropped: its times count as
        // floating, and reading stays quick.
        ScopedTimeZone zone("UTC");
        const QByteArray ics = icsCalendar(
            {"BEGIN:VTIMEZONE", "TZID:Mad/Zone", "BEGIN:STANDARD", "DTSTART:19000101T000000",
             "RRULE:FREQ=SECONDLY", "TZOFFSETFROM:+0100", "TZOFFSETTO:+0200", "END:STANDARD", "END:VTIMEZONE",
             "BEGIN:VEVENT", "UID:x", "DTSTART;TZID=Mad/Zone:20240405T100000", "SUMMARY:Odd", "END:VEVENT"});
        QCOMPARE(fill(ics, 2024, 4), QStringList{"5\t10:00 AM Odd"});
    }

    void repeatRules()
    {
        ScopedTimeZone zone("UTC");
        QCOMPARE(fill(rulesSample(), 2024, 4),
                 (QStringList{"1\t9:00 AM Standup", "2\tThree times", "3\t10:00 AM Review", "5\tMarket",
                              "8\t9:00 AM Standup", "9\tThree times", "10\t7:00 AM Course", "11\t7:00 AM Course",
                              "11\t2:00 PM Review (moved)", "12\t7:00 AM Course", "15\tAnna's birthday",
                              "19\tMarket", "22\t9:00 AM Standup", "24\t10:00 AM Review", "26\tMarket",
                              "26\t5:00 PM Drinks", "29\t9:00 AM Standup"}));
        // The birthday keeps coming back; the COUNT and UNTIL rules have ended.
        QCOMPARE(fill(rulesSample(), 2031, 4),
                 (QStringList{"7\t9:00 AM Standup", "14\t9:00 AM Standup", "15\tAnna's birthday",
                              "21\t9:00 AM Standup", "25\t5:00 PM Drinks", "28\t9:00 AM Standup"}));
    }

    void pickerRowsAndOrder()
    {
        ScopedTimeZone zone("UTC");
        const QList<IcsEvent> events = ReadIcsMonth(rulesSample(), 2024, 4);
        QStringList rows;
        for (int i : IcsEventOrder(events))
            rows.append(IcsEventRowText(events[i], 2024, 4));
        QCOMPARE(rows, (QStringList{"Standup (1, 8, 22, 29)", "Three times (2, 9)", "Review (3, 11, 24)",
                                    "Market (5, 19, 26)", "Course (10\u201312)", "Anna's birthday (15)",
                                    "Drinks (26)"}));
        // Only the chosen events are placed.
        const int drinks = int(events.size()) - 1;
        QCOMPARE(placementLines(ComputeIcsPlacements(events, {drinks}, 2024, 4, kEnglish)),
                 QStringList{"26\t5:00 PM Drinks"});
    }

    void multiDayEvents()
    {
        ScopedTimeZone zone("UTC");
        QCOMPARE(fill(multiDaySample(), 2024, 4),
                 (QStringList{"1\tHoliday trip", "1\tOvernight", "2\tHoliday trip", "5\t10:00 PM Party", "6\tParty",
                              "7\t8:00 PM Late show", "28\tConference", "29\tConference", "30\tConference"}));
        QCOMPARE(fill(multiDaySample(), 2024, 3),
                 (QStringList{"29\tHoliday trip", "30\tHoliday trip", "31\tHoliday trip", "31\t11:00 PM Overnight"}));
        QCOMPARE(fill(multiDaySample(), 2024, 5), (QStringList{"1\tConference", "2\tConference"}));
    }

    void cancelledEventsAreLeftOut()
    {
        ScopedTimeZone zone("UTC");
        const QByteArray ics = icsCalendar(
            icsEvent({"UID:a", "DTSTART;VALUE=DATE:20240402", "STATUS:CANCELLED", "SUMMARY:Called off"})
            + icsEvent({"UID:b", "DTSTART;VALUE=DATE:20240403", "STATUS:CONFIRMED", "SUMMARY:Kept"})
            // A cancelled series takes its moved occurrences with it.
            + icsEvent({"UID:c", "DTSTART:20240401T080000", "RRULE:FREQ=DAILY;COUNT=5", "STATUS:CANCELLED",
                        "SUMMARY:Series"})
            + icsEvent({"UID:c", "RECURRENCE-ID:20240402T080000", "DTSTART:20240402T090000", "SUMMARY:Series"}));
        QCOMPARE(fill(ics, 2024, 4), QStringList{"3\tKept"});
        QCOMPARE(fill(icsCalendar(icsEvent({"UID:a", "DTSTART;VALUE=DATE:20240402", "STATUS:CANCELLED",
                                            "SUMMARY:Called off"})),
                      2024, 4),
                 QStringList{});
    }

    void summaryText()
    {
        ScopedTimeZone zone("UTC");
        const QByteArray ics = icsCalendar(
            icsEvent({"UID:1", "DTSTART;VALUE=DATE:20240401", "SUMMARY:Geburtstag J\xc3\xbcrgen \xf0\x9f\x8e\x82"})
            + icsEvent({"UID:2", "DTSTART;VALUE=DATE:20240402", "SUMMARY:\xe4\xbc\x9a\xe8\xad\xb0"})
            + icsEvent({"UID:3", "DTSTART;VALUE=DATE:20240403",
                        "SUMMARY:This is a very long summary that a calendar program has fo\r\n"
                        " lded over several lines because iCalendar lines are limit\r\n"
                        "\ted to 75 octets"})
            + icsEvent({"UID:4", "DTSTART;VALUE=DATE:20240404", "SUMMARY:Caf\xc3\r\n \xa9 au lait"})
            + icsEvent({"UID:5", "DTSTART;VALUE=DATE:20240405", "SUMMARY:Lunch\\, then\\; talk\\nsecond line"})
            + icsEvent({"UID:6", "DTSTART;VALUE=DATE:20240406"})
            + icsEvent({"UID:7", "DTSTART;VALUE=DATE:20240407", "SUMMARY:" + QByteArray(300, 'x')}));
        const QStringList lines = fill(ics, 2024, 4);
        QCOMPARE(lines.mid(0, 6),
                 (QStringList{QString::fromUtf8("1\tGeburtstag J\xc3\xbcrgen \xf0\x9f\x8e\x82"),
                              QString::fromUtf8("2\t\xe4\xbc\x9a\xe8\xad\xb0"),
                              "3\tThis is a very long summary that a calendar program has folded over several lines "
                              "because iCalendar lines are limited to 75 octets",
                              QString::fromUtf8("4\tCaf\xc3\xa9 au lait"), "5\tLunch, then; talk second line",
                              "6\t(No title)"}));
        QCOMPARE(lines[6], QStringLiteral("7\t") + QString(199, QLatin1Char('x')) + QChar(0x2026));

        // Byte-order marks: UTF-8 and UTF-16 files read alike.
        const QByteArray plain = icsCalendar(icsEvent({"UID:1", "DTSTART;VALUE=DATE:20240401", "SUMMARY:Sm\xc3\xb8rrebr\xc3\xb8\x64"}));
        const QString text = QString::fromUtf8(plain);
        QByteArray utf16("\xff\xfe");
        utf16.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
        const QStringList expected{QString::fromUtf8("1\tSm\xc3\xb8rrebr\xc3\xb8\x64")};
        QCOMPARE(fill("\xef\xbb\xbf" + plain, 2024, 4), expected);
        QCOMPARE(fill(utf16, 2024, 4), expected);
    }

    void badInputIsRefusedWithAReason()
    {
        const QString notICalendar = QStringLiteral("it is not an iCalendar file");
        const QString damaged = QStringLiteral("the iCalendar file is damaged or incomplete");
        QCOMPARE(failure(""), notICalendar);
        QCOMPARE(failure("Hello, world\n"), notICalendar);
        QCOMPARE(failure("\x89PNG\r\n\x1a\n"), notICalendar);
        QCOMPARE(failure("BEGIN:VCARD\r\nFN:Anna\r\nEND:VCARD\r\n"), notICalendar);

        const QByteArray whole = icsCalendar(icsEvent({"UID:1", "DTSTART;VALUE=DATE:20240401", "SUMMARY:X"}));
        QCOMPARE(failure(whole.left(whole.size() - 20)), damaged); // cut off
        QCOMPARE(failure(QByteArray(whole).insert(40, '\0')), damaged);

        QCOMPARE(failure(icsCalendar(icsEvent({"UID:1", "DTSTART:2024041", "SUMMARY:Bad start"}))),
                 QStringLiteral("the event \"Bad start\" is damaged (its DTSTART cannot be read)"));
        QCOMPARE(failure(icsCalendar(icsEvent({"UID:1", "SUMMARY:No start"}))),
                 QStringLiteral("the event \"No start\" has no start that can be read"));
        QCOMPARE(failure(icsCalendar(icsEvent({"UID:1", "DTSTART:20240231T100000", "SUMMARY:February 31st"}))),
                 QStringLiteral("the event \"February 31st\" has no start that can be read"));
        QCOMPARE(failure(icsCalendar(
                     icsEvent({"UID:1", "DTSTART:20240401T100000", "RRULE:FREQ=SOMETIMES", "SUMMARY:Bad rule"}))),
                 QStringLiteral("the event \"Bad rule\" is damaged (its RRULE cannot be read)"));
        // A calendar without events is no failure: nothing falls in the month.
        QCOMPARE(ReadIcsMonth(icsCalendar({}), 2024, 4).size(), 0);
    }

    void filesAreBounded()
    {
        QTemporaryDir dir;
        const QString missing = dir.filePath("missing.ics");
        try {
            ReadIcsFileMonth(missing, 2024, 4);
            QFAIL("a missing file was read");
        } catch (const EIcsError& e) {
            QCOMPARE(e.reason(), QStringLiteral("Unable to open ") + missing);
        }
        const QString huge = dir.filePath("huge.ics");
        QFile f(huge);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("BEGIN:VCALENDAR\r\n");
        QVERIFY(f.resize(kMaxIcsFileBytes + 1)); // sparse: costs no disk
        f.close();
        try {
            ReadIcsFileMonth(huge, 2024, 4);
            QFAIL("a huge file was read");
        } catch (const EIcsError& e) {
            QCOMPARE(e.reason(), QStringLiteral("Unable to open ") + huge + QStringLiteral(": the file is too large"));
        }
    }

    void endlessRulesStopAtTheMonth()
    {
        ScopedTimeZone zone("UTC");
        // No COUNT, no UNTIL, started long ago: only the month's days come out.
        const QByteArray daily =
            icsCalendar(icsEvent({"UID:1", "DTSTART;VALUE=DATE:19000101", "RRULE:FREQ=DAILY", "SUMMARY:Daily"}));
        const QStringList april = fill(daily, 2024, 4, IcsLimits{1000, 1000, 100});
        QCOMPARE(april.size(), 30);
        QCOMPARE(april.first(), QStringLiteral("1\tDaily"));
        QCOMPARE(april.last(), QStringLiteral("30\tDaily"));
        // A rule that never matches ends at the month instead of searching the centuries.
        QCOMPARE(fill(icsCalendar(icsEvent({"UID:1", "DTSTART:20240401T100000",
                                            "RRULE:FREQ=HOURLY;BYMONTH=2;BYMONTHDAY=30", "SUMMARY:Never"})),
                      2024, 4, IcsLimits{5000, 5000, 100}),
                 QStringList{"1\t10:00 AM Never"});
    }

    void rulesBeyondTheLimitsAreRefused()
    {
        const QString tooOften = QStringLiteral("the event \"Tick\" repeats too often to be shown");
        QCOMPARE(failure(icsCalendar(
                     icsEvent({"UID:1", "DTSTART:20240101T000000", "RRULE:FREQ=SECONDLY", "SUMMARY:Tick"}))),
                 tooOften);
        // A COUNT rule is counted from its start.
        QCOMPARE(failure(icsCalendar(icsEvent(
                     {"UID:1", "DTSTART:19700101T000000", "RRULE:FREQ=HOURLY;COUNT=999999", "SUMMARY:Tick"}))),
                 tooOften);
        // A short fast rule of long ago takes a step per occurrence, however far back.
        QCOMPARE(ReadIcsMonth(icsCalendar(icsEvent({"UID:1", "DTSTART:20000101T000000",
                                                    "RRULE:FREQ=SECONDLY;COUNT=10", "SUMMARY:Tick"})),
                              2024, 4)
                     .size(),
                 0);
        // Each rule may be fine while the file together is not.
        QList<QByteArray> many;
        for (int i = 0; i < 5; ++i)
            many += icsEvent({"UID:" + QByteArray::number(i), "DTSTART;VALUE=DATE:20000101",
                              "RRULE:FREQ=DAILY;COUNT=8000", "SUMMARY:Tick"});
        QCOMPARE(failure(icsCalendar(many), 2024, 4, IcsLimits{20000, 40000, 5000}), tooOften);
        QCOMPARE(ReadIcsMonth(icsCalendar(many), 2024, 4, IcsLimits{20000, 100000, 5000}).size(), 0);
        // Occurrences in the month are bounded too.
        QCOMPARE(failure(icsCalendar(icsEvent({"UID:1", "DTSTART:20240401T000000", "RRULE:FREQ=MINUTELY;COUNT=200",
                                               "SUMMARY:Tick"})),
                         2024, 4, IcsLimits{100000, 100000, 100}),
                 QStringLiteral("the file has more than 100 entries in this month"));
    }

    void startingNearTheMonthAgreesWithCountingFromTheStart_data()
    {
        QTest::addColumn<QByteArray>("start");
        QTest::addColumn<QByteArray>("rule");
        const QList<QByteArray> starts = {"20000131T093000", "19991231T235900", "20230228T120000", "20200229"};
        const QList<QByteArray> rules = {"FREQ=DAILY;INTERVAL=3",
                                         "FREQ=WEEKLY;BYDAY=MO,WE",
                                         "FREQ=WEEKLY;INTERVAL=2;BYDAY=TU;WKST=SU",
                                         "FREQ=MONTHLY;BYMONTHDAY=31",
                                         "FREQ=MONTHLY;BYMONTHDAY=-1",
                                         "FREQ=MONTHLY;BYDAY=2TU",
                                         "FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-1",
                                         "FREQ=MONTHLY;INTERVAL=5",
                                         "FREQ=YEARLY;BYMONTH=4;BYDAY=1SU",
                                         "FREQ=YEARLY;BYYEARDAY=100",
                                         "FREQ=YEARLY;BYWEEKNO=15;BYDAY=MO",
                                         "FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=29",
                                         "FREQ=DAILY;BYMONTH=4"};
        for (const QByteArray& s : starts)
            for (const QByteArray& r : rules)
                QTest::newRow((s + " " + r).constData()) << s << r;
        // Faster rules keep the phase of their INTERVAL (walked from a nearer start: quicker).
        for (const QByteArray& s : {QByteArray("20221113T080000"), QByteArray("20240301T120000")})
            for (const QByteArray& r : {QByteArray("FREQ=HOURLY;INTERVAL=7"), QByteArray("FREQ=MINUTELY;INTERVAL=1000")})
                QTest::newRow((s + " " + r).constData()) << s << r;
    }

    void startingNearTheMonthAgreesWithCountingFromTheStart()
    {
        // Rules without COUNT start near the month; with a COUNT that ends long after it,
        // the same rule is walked from its start. Both must give the same days.
        QFETCH(QByteArray, start);
        QFETCH(QByteArray, rule);
        ScopedTimeZone zone("UTC");
        const QByteArray value = start.size() == 8 ? "DTSTART;VALUE=DATE:" : "DTSTART:";
        auto calendar = [&](const QByteArray& r) {
            return icsCalendar(icsEvent({"UID:1", value + start, "RRULE:" + r, "SUMMARY:R"}));
        };
        for (int month : {2, 4}) {
            const QStringList nearStart = fill(calendar(rule), 2024, month);
            QCOMPARE(fill(calendar(rule + ";COUNT=100000"), 2024, month), nearStart);
        }
    }
};
OV_TEST(TestIcsReader)
#include "test_ics_reader.moc"
