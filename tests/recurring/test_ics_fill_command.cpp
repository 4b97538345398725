#include "ics_test_util.h"
#include "modal_helper.h"
#include "platform/prompter.h"
#include "recurring/ics_event_picker.h"
#include "recurring/ics_fill.h"
#include "recurring/ics_fill_command.h"
#include "test_registry.h"

#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <stdexcept>

using ovtest::icsCalendar;
using ovtest::icsEvent;
using ovtest::onModal;
using ovtest::ScopedTimeZone;

namespace {

using Placed = QList<QPair<int, QString>>;

QByteArray aprilSample()
{
    return icsCalendar(
        icsEvent({"UID:gym", "DTSTART:20240401T180000", "RRULE:FREQ=WEEKLY;BYDAY=MO;UNTIL=20240416T000000Z",
                  "SUMMARY:Gym"})
        + icsEvent({"UID:tax", "DTSTART;VALUE=DATE:20240415", "SUMMARY:Tax day"})
        + icsEvent({"UID:old", "DTSTART;VALUE=DATE:20230415", "SUMMARY:Last year"})
        + icsEvent({"UID:trip", "DTSTART;VALUE=DATE:20240329", "DTEND;VALUE=DATE:20240403", "SUMMARY:Trip"}));
}

} // namespace

class TestIcsFillCommand : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    QString writeFile(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    void noFileChosenDoesNothing()
    {
        ScopedScriptedPrompter prompts;
        QList<bool> hider;
        int calls = 0;
        QCOMPARE(RunFillFromIcsCommand(nullptr, 2024, 4, [&](int, const QString&) { ++calls; },
                                       [&](bool h) { hider.append(h); }),
                 IcsFillOutcome::NoFile);
        QCOMPARE(calls, 0);
        QVERIFY(hider.isEmpty());
        QCOMPARE(prompts->records.size(), size_t(1));
        QCOMPARE(prompts->records[0].kind, QStringLiteral("open"));
        QCOMPARE(prompts->records[0].text, QStringLiteral("Fill Calendar from iCalendar File"));
        QVERIFY(prompts->records[0].filter.contains(QStringLiteral("*.ics")));
    }

    void pickerOffersTheMonthsEventsAndWritesTheChosenOnes()
    {
        ScopedTimeZone zone("UTC");
        ScopedScriptedPrompter prompts;
        prompts->fileAnswers = {writeFile("april.ics", aprilSample())};
        QString title;
        QStringList rows;
        int selectedOnShow = -1;
        const auto picker = onModal<IcsEventPicker>([&](IcsEventPicker* d) {
            title = d->windowTitle();
            for (int i = 0; i < d->Dates->count(); ++i)
                rows.append(d->Dates->item(i)->text());
            selectedOnShow = int(d->Dates->selectedItems().size());
            d->Dates->item(1)->setSelected(false); // not the gym
            d->OkButton->click();
        });
        Placed placed;
        QList<bool> hider;
        QCOMPARE(RunFillFromIcsCommand(nullptr, 2024, 4,
                                       [&](int day, const QString& text) { placed.append({day, text}); },
                                       [&](bool h) { hider.append(h); }),
                 IcsFillOutcome::Filled);
        QCOMPARE(title, QStringLiteral("Select iCalendar Events To Use"));
        QCOMPARE(rows, (QStringList{"Trip (1\u20132)", "Gym (1, 8, 15)", "Tax day (15)"}));
        QCOMPARE(selectedOnShow, 3);
        QCOMPARE(placed, (Placed{{1, "Trip"}, {2, "Trip"}, {15, "Tax day"}}));
        QCOMPARE(hider, (QList<bool>{true, false}));
        QVERIFY(prompts->texts(QStringLiteral("information")).isEmpty());
    }

    void unusableFilesAreReportedAndChangeNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        QTest::newRow("text") << QByteArray("Dear diary,\n") << QStringLiteral("it is not an iCalendar file");
        const QByteArray whole = aprilSample();
        QTest::newRow("cut off") << whole.left(whole.size() / 2)
                                 << QStringLiteral("the iCalendar file is damaged or incomplete");
        QTest::newRow("bad rule") << icsCalendar(icsEvent({"UID:a", "DTSTART;VALUE=DATE:20240401", "SUMMARY:Fine"})
                                                 + icsEvent({"UID:b", "DTSTART:20240402T100000",
                                                             "RRULE:FREQ=DAILY;COUNT=many", "SUMMARY:Broken"}))
                                  << QStringLiteral("the event \"Broken\" is damaged (its RRULE cannot be read)");
    }

    void unusableFilesAreReportedAndChangeNothing()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        ScopedScriptedPrompter prompts;
        const QString path = writeFile("bad.ics", bytes);
        prompts->fileAnswers = {path};
        int calls = 0;
        QCOMPARE(RunFillFromIcsCommand(nullptr, 2024, 4, [&](int, const QString&) { ++calls; }),
                 IcsFillOutcome::ReadFailed);
        QCOMPARE(calls, 0);
        QCOMPARE(prompts->texts(QStringLiteral("information")),
                 QStringList{QStringLiteral("Unable to open ") + path + QStringLiteral(": ") + reason});
    }

    void monthWithoutEventsSaysSo()
    {
        ScopedScriptedPrompter prompts;
        prompts->fileAnswers = {writeFile("april.ics", aprilSample())};
        QCOMPARE(RunFillFromIcsCommand(nullptr, 2024, 6, {}), IcsFillOutcome::NoMatch);
        QCOMPARE(prompts->texts(QStringLiteral("information")),
                 QStringList{QStringLiteral("No events of this file fall in the current month")});
    }

    void noneSelectedStaysOpenAndCancelWritesNothing()
    {
        ScopedScriptedPrompter prompts;
        prompts->fileAnswers = {writeFile("april.ics", aprilSample())};
        bool stayed = false;
        const auto picker = onModal<IcsEventPicker>([&](IcsEventPicker* d) {
            d->NoneButton->click();
            d->OkButton->click(); // nothing selected: beeps and stays
            stayed = d->isVisible();
            d->AllButton->click();
            QCOMPARE(d->selectedEvents().size(), 3);
            d->CancelButton->click();
        });
        int calls = 0;
        QCOMPARE(RunFillFromIcsCommand(nullptr, 2024, 4, [&](int, const QString&) { ++calls; }),
                 IcsFillOutcome::Cancelled);
        QVERIFY(stayed);
        QCOMPARE(calls, 0);
    }

    void failingLineIsAbandonedOthersGoOn()
    {
        ScopedTimeZone zone("UTC");
        ScopedScriptedPrompter prompts;
        prompts->fileAnswers = {writeFile("april.ics", aprilSample())};
        const auto picker = onModal<IcsEventPicker>([](IcsEventPicker* d) { d->OkButton->click(); });
        QStringList placed;
        RunFillFromIcsCommand(nullptr, 2024, 4, [&](int day, const QString& text) {
            if (day == 8)
                throw std::runtime_error("cell failed");
            placed.append(QString::number(day) + QLatin1Char(' ') + text);
        });
        QCOMPARE(placed, (QStringList{"1 Trip", "1 6:00 PM Gym", "2 Trip", "15 Tax day", "15 6:00 PM Gym"}));
    }
};
OV_TEST(TestIcsFillCommand)
#include "test_ics_fill_command.moc"
