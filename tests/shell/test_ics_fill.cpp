#include "../recurring/ics_test_util.h"
#include "modal_helper.h"
#include "main_window_fixture.h"
#include "recurring/ics_event_picker.h"
#include "richtext/wp_rich_text.h"
#include "test_registry.h"

#include <QAction>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

using ovtest::icsCalendar;
using ovtest::icsEvent;
using ovtest::onModal;
using ovtest::ScopedTimeZone;

namespace {

QString cellText(TCalendarPanel32& page, int cell)
{
    TWPRichText reader;
    reader.setRtf(page.CellRtf(cell));
    return reader.toPlainText();
}

QString writeDecember(const MainWindowFixture& f)
{
    const QByteArray ics = icsCalendar(
        icsEvent({"UID:dentist", "DTSTART;TZID=Europe/Berlin:19971205T100000", "DTEND;TZID=Europe/Berlin:19971205T110000",
                  "SUMMARY:Dentist"})
        + icsEvent({"UID:eve", "DTSTART;VALUE=DATE:19971224", "DTEND;VALUE=DATE:19971227",
                    "SUMMARY:Weihnachten bei M\xc3\xbcllers"})
        + icsEvent({"UID:choir", "DTSTART:19971103T193000", "RRULE:FREQ=WEEKLY;BYDAY=WE", "EXDATE:19971224T193000",
                    "SUMMARY:Choir"}));
    const QString path = f.path(QStringLiteral("december.ics"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(ics) != ics.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

ovtest::ModalGuard acceptPicker()
{
    return onModal<IcsEventPicker>([](IcsEventPicker* d) { d->OkButton->click(); });
}

} // namespace

class TestIcsFill : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void menuFillsTheDaysOfTheMonth()
    {
        ScopedTimeZone zone("Europe/London");
        MainWindowFixture f;
        const int eve = f.page().CellOfDay(24);
        f.page().ClickCell(eve);
        QTest::keyClicks(f.main->WPRichText1, QStringLiteral("Party"));
        f.page().ClickCell(3); // the user is in the cell of day 2 when filling
        const int userCell = f.main->CurrentCell;
        f.main->Modified = false;

        f.prompts->fileAnswers = {writeDecember(f)};
        const auto picker = acceptPicker();
        QVERIFY(f.main->mnuFillFromIcs->isEnabled());
        f.main->mnuFillFromIcs->trigger();

        QCOMPARE(cellText(f.page(), f.page().CellOfDay(5)), QStringLiteral("9:00 AM Dentist"));
        QCOMPARE(cellText(f.page(), f.page().CellOfDay(3)), QStringLiteral("7:30 PM Choir"));
        QCOMPARE(cellText(f.page(), eve), QString::fromUtf8("Party\nWeihnachten bei M\xc3\xbcllers"));
        QCOMPARE(cellText(f.page(), f.page().CellOfDay(26)), QString::fromUtf8("Weihnachten bei M\xc3\xbcllers"));
        QCOMPARE(cellText(f.page(), f.page().CellOfDay(31)), QStringLiteral("7:30 PM Choir"));
        QVERIFY(f.main->Modified);
        QVERIFY(f.main->Savebutton->isVisibleTo(f.main.get())); // the command states were refreshed
        QCOMPARE(f.main->CurrentCell, userCell);
        QVERIFY(f.main->EditorOpen);
    }

    void plannersGetTheRowsOfTheirDays()
    {
        ScopedTimeZone zone("Europe/London");
        MainWindowFixture f;
        f.page().SetCalendarLayout(TCalendarLayout::loWeek);
        f.page().SetMainCalDay(22); // rows for December 22nd to 28th
        f.page().DrawToImage();
        f.main->SetButtons();
        f.prompts->fileAnswers = {writeDecember(f)};
        const auto picker = acceptPicker();
        f.main->mnuFillFromIcs->trigger();
        const QString christmas = QString::fromUtf8("Weihnachten bei M\xc3\xbcllers");
        QCOMPARE(f.page().CellOfDay(24), 3);
        QCOMPARE(cellText(f.page(), 3), christmas); // no choir: excluded that evening
        QCOMPARE(cellText(f.page(), 4), christmas);
        QCOMPARE(cellText(f.page(), 5), christmas);
        QCOMPARE(cellText(f.page(), 1), QString());
        QCOMPARE(f.page().CellOfDay(5), -1); // the dentist has no row this week
    }
};
OV_TEST(TestIcsFill)
#include "test_ics_fill.moc"
