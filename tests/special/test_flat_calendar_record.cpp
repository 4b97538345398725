// Floating calendars in the object stream: the exact record bytes, reading them back,
// and the setters' refusals.
#include "flat_calendar_bytes.h"
#include "objects/object_filer.h"
#include "platform/calendar_languages.h"
#include "special_test_support.h"
#include "stream/stream_reader.h"
#include "stream/stream_writer.h"
#include "test_registry.h"

namespace {
QByteArray listOf(const QByteArray& record) { return QByteArray("\x01", 1) + record + QByteArray(1, '\0'); }

TObjectReadResult readList(TGBasePanel& panel, const QByteArray& list)
{
    TStreamReader r(list);
    r.readListBegin();
    return TGLabelObjectFiler::ReadRecords(r, &panel);
}
} // namespace

class TestFlatCalendarRecord : public QObject {
    Q_OBJECT
private slots:
    void aNewCalendarWritesEveryPropertyWithItsDefault()
    {
        ovtest::HostFixture f;
        TGFlatCalendar* c = f.calendar(QRect(40, 300, 150, 120));
        const QDate today = QDate::currentDate();
        TGFlatCalendar fresh;
        QCOMPARE(fresh.Month(), today.month());
        QCOMPARE(fresh.Year(), today.year());

        flatbytes::Record expected;
        expected.left = 40;
        expected.top = 300;
        QCOMPARE(c->Record(), expected.bytes());
    }

    void changedCalendarWritesItsValuesAndReadsBackToTheSameBytes()
    {
        ovtest::HostFixture f;
        TGFlatCalendar* c = f.calendar(QRect(-3, 200, 300, 260));
        c->setObjectName(QStringLiteral("Component4"));
        c->SetLocked(true);
        c->SetStartOfWeek(2);
        c->SetMonth(12);
        c->SetYear(100000); // a 32-bit value
        TObjectFont title = c->TitleFont();
        title.Name = QStringLiteral("Times New Roman");
        title.Height = -27;
        title.Bold = title.Italic = true;
        title.Color = 0x123456;
        c->SetTitleFont(title);
        TObjectFont day = c->DayNameFont();
        day.Color = clRed;
        day.Underline = true;
        c->SetDayNameFont(day);
        TObjectFont cell = c->CellFont();
        cell.StrikeOut = true;
        cell.Height = -200;
        c->SetCellFont(cell);
        c->SetShowYear(true);
        c->SetDayNameBGColor(TColor(0x8000000Fu)); // clBtnFace
        c->SetCalendarBorderStyle(TFlatCalBorderStyle::fcbTopBottom);
        c->SetDayNameBorderStyle(TFlatCalBorderStyle::fcbNone);
        c->SetCellBorderStyle(TFlatCalBorderStyle::fcbBottom);
        c->SetDayNameStyle(TFlatCalHeadersStyle::fdsWhole);
        c->SetTitleBGcolor(0xC0FFEE);
        c->SetBackgroundcolor(0x00FFFF); // clYellow
        c->SetShadowColor(0x808080);     // clGray
        c->SetShadowDepth(10);
        c->SetShadowPosition(TFlatShadowPosition::fcpUpperLeft);
        c->SetLanguage(TFlatCalLanguage::fclSpanish);
        c->SetCalTransparent(true);

        flatbytes::Record e;
        e.objectName = "Component4";
        e.left = -3, e.top = 200, e.width = 300, e.height = 260, e.locked = true;
        e.startOfWeek = 2, e.month = 12, e.year = 100000;
        e.title = {0x123456, -27, "Times New Roman", {"fsBold", "fsItalic"}};
        e.dayName = {"clRed", -11, "Arial", {"fsUnderline"}};
        e.cell = {"clBlack", -200, "Arial", {"fsStrikeOut"}};
        e.showYear = true;
        e.dayNameBG = "clBtnFace";
        e.calendarBorder = "fcbTopBottom", e.dayNameBorder = "fcbNone", e.cellBorder = "fcbBottom";
        e.dayNameStyle = "fdsWhole";
        e.titleBG = 0xC0FFEE, e.body = "clYellow", e.shadow = "clGray";
        e.shadowDepth = 10, e.shadowPosition = "fcpUpperLeft", e.language = "fclSpanish";
        e.transparent = true;
        QCOMPARE(c->Record(), e.bytes());

        // Read onto a page (which names it anew) it is the same calendar, byte for byte.
        e.objectName = "Component0";
        const TObjectReadResult read = readList(*f.panel, listOf(e.bytes()));
        QVERIFY2(read.error.isEmpty(), qPrintable(read.error));
        QCOMPARE(read.objects.size(), 1);
        auto* again = qobject_cast<TGFlatCalendar*>(read.objects.first());
        QVERIFY(again);
        QCOMPARE(again->Record(), e.bytes());
        QCOMPARE(again->Language(), TFlatCalLanguage::fclSpanish);
        QCOMPARE(again->TitleFont().Name, QStringLiteral("Times New Roman"));
        QVERIFY(again->ContextMenu() && again->MenuItem(QStringLiteral("Properties")));
    }

    void legacySpellingsAreReadAndWrittenInOurs()
    {
        // Names in another case and a 32-bit tag for a small number read fine; written
        // back, each takes the table's spelling and the smallest tag.
        ovtest::HostFixture f;
        flatbytes::Record e;
        QByteArray legacy = e.bytes();
        legacy.replace("fcpLowerRight", "FCPLOWERRIGHT");
        const QByteArray month("\x05Month\x02\x03", 8);
        QVERIFY(legacy.contains(month));
        legacy.replace(month, QByteArray("\x05Month\x04\x03\x00\x00\x00", 11));
        const TObjectReadResult read = readList(*f.panel, listOf(legacy));
        QVERIFY2(read.error.isEmpty(), qPrintable(read.error));
        e.objectName = "Component0";
        QCOMPARE(read.objects.first()->Record(), e.bytes());
    }

    void badValuesAreReadErrors_data()
    {
        QTest::addColumn<QByteArray>("from");
        QTest::addColumn<QByteArray>("to");
        QTest::newRow("unknown border style") << QByteArray("fcbNone") << QByteArray("fcbSome");
        QTest::newRow("unknown language") << QByteArray("fclSpanish") << QByteArray("fclKlingon");
        QTest::newRow("unknown shadow corner") << QByteArray("fcpLowerRight") << QByteArray("fcpMiddle");
        QTest::newRow("unknown header style") << QByteArray("fdsFirstChar") << QByteArray("fdsLast");
        QTest::newRow("unknown colour name") << QByteArray("\x07" "clWhite") << QByteArray("\x07" "clPlaid");
    }
    void badValuesAreReadErrors()
    {
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        ovtest::HostFixture f;
        flatbytes::Record e;
        e.language = "fclSpanish";
        QByteArray bad = e.bytes();
        const qsizetype at = bad.indexOf(from);
        QVERIFY(at > 0);
        bad.replace(at, from.size(), to);
        const TObjectReadResult read = readList(*f.panel, listOf(bad));
        QVERIFY(read.objects.isEmpty());
        QVERIFY(!read.error.isEmpty());
        QVERIFY(f.panel->Objects().isEmpty());
    }

    void settersRefuseWhatTheCalendarCannotShow()
    {
        TGFlatCalendar c;
        c.SetStartOfWeek(2);
        c.SetStartOfWeek(3);
        QCOMPARE(c.StartOfWeek(), 2);
        c.SetStartOfWeek(0);
        QCOMPARE(c.StartOfWeek(), 2);
        c.SetShadowDepth(10);
        c.SetShadowDepth(11);
        QCOMPARE(c.ShadowDepth(), 10);
        c.SetMonth(13); // not checked: the month drawing copes
        QCOMPARE(c.Month(), 13);

        // Values the setters ignore are ignored when read too, not errors.
        ovtest::HostFixture f;
        flatbytes::Record e;
        e.startOfWeek = 5;
        e.shadowDepth = 40;
        const TObjectReadResult read = readList(*f.panel, listOf(e.bytes()));
        QVERIFY(read.error.isEmpty());
        auto* cal = qobject_cast<TGFlatCalendar*>(read.objects.first());
        QCOMPARE(cal->StartOfWeek(), 1);
        QCOMPARE(cal->ShadowDepth(), 0);
    }

    void onlyFontChangesNotifyTheHost()
    {
        ovtest::HostFixture f;
        TGFlatCalendar* c = f.calendar(QRect(10, 10, 150, 120));
        int changes = 0;
        f.panel->LabelChangedEvent = [&] { ++changes; };
        c->SetLanguage(TFlatCalLanguage::fclGerman);
        c->SetShadowDepth(4);
        QCOMPARE(changes, 0);
        TObjectFont font = c->CellFont();
        font.Bold = true;
        c->SetCellFont(font);
        QCOMPARE(changes, 1);
        c->SetCellFont(font); // the same font again changes nothing
        QCOMPARE(changes, 1);
    }

    void namesAreTheCalendarPropertiesDialogs()
    {
        // Same tables as the calendar's language buttons, in the floating calendar's order.
        const std::pair<TFlatCalLanguage, TCalendarLanguageId> pairs[] = {
            {TFlatCalLanguage::fclEnglish, TCalendarLanguageId::English},
            {TFlatCalLanguage::fclGerman, TCalendarLanguageId::German},
            {TFlatCalLanguage::fclFrench, TCalendarLanguageId::French},
            {TFlatCalLanguage::fclItalian, TCalendarLanguageId::Italian},
            {TFlatCalLanguage::fclSpanish, TCalendarLanguageId::Spanish}};
        for (const auto& [flat, table] : pairs) {
            QCOMPARE(flatCalendarMonthNames(flat), calendarLanguage(table).monthNames);
            QCOMPARE(flatCalendarDayNames(flat), calendarLanguage(table).dayNames);
        }
        QCOMPARE(flatCalendarDayNames(TFlatCalLanguage::fclGerman)[5], QStringLiteral("Freitag "));
        QCOMPARE(flatCalendarMonthNames(TFlatCalLanguage::fclFrench)[7], QString::fromUtf8("Août"));
        QCOMPARE(flatCalendarDayNames(TFlatCalLanguage::fclItalian)[1], QString::fromUtf8("Lunedì"));
        QCOMPARE(flatCalendarDayNames(TFlatCalLanguage::fclSpanish)[3], QString::fromUtf8("Miércoles"));
    }
};
OV_TEST(TestFlatCalendarRecord)

#include "test_flat_calendar_record.moc"
