#include "calendar/calendar_file.h"
#include "calendar/calendar_page.h"
#include "calendar/calendar_panel.h"
#include "calendar/page_prefetch.h"
#include "main_window_fixture.h"
#include "platform/ini_file.h"
#include "platform/single_instance.h"
#include "private_cups.h"
#include "richtext/rtf_renderer.h"
#include "shell/mru_file_list.h"
#include "test_registry.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QUuid>

namespace {
// A calendar file of the given month.
QString writeCalendar(const QString& path, int month)
{
    TCalendarPage page(96);
    page.ResetToDefaults();
    page.SetMainCalYear(2027);
    page.SetMainCalMonth(month);
    SaveCalendarFile(page, path);
    return path;
}

QString uniqueName() { return QStringLiteral("ov-test-") + QUuid::createUuid().toString(QUuid::Id128); }

// The most recent file an instance recorded in its settings.
QString mostRecentFile(const QString& ini)
{
    IniFile f;
    f.load(ini);
    return f.readString(QStringLiteral("MRU"), QStringLiteral("F0"));
}

bool usePrinter()
{
    ovtest::PrivateCups& cups = ovtest::PrivateCups::instance();
    return cups.ok() && cups.addQueue(QStringLiteral("Startup_Default"), true);
}

} // namespace

class TestStartupFile : public QObject {
    Q_OBJECT
private slots:
    void secondStartHandsItsRequestToTheFirst()
    {
        const QString name = uniqueName();
        SingleInstance first(name);
        QVERIFY(!first.anotherInstanceRunning());
        int activations = 0;
        QStringList opened;
        first.onActivationRequest = [&] { ++activations; };
        first.onOpenRequest = [&](const QString& path) { opened << path; };

        SingleInstance plain(name);
        QVERIFY(plain.anotherInstanceRunning());
        QTRY_COMPARE(activations, 1);
        QVERIFY(opened.isEmpty());

        // Any path survives the trip, even with blanks, non-ASCII letters and a line break.
        const QString odd = QStringLiteral("/tmp/My Calendars/Jänner\n2027 #1.OVF");
        SingleInstance withFile(name, odd);
        QVERIFY(withFile.anotherInstanceRunning());
        QTRY_COMPARE(opened, QStringList{odd});
        QCOMPARE(activations, 2);
        QCOMPARE(SingleInstance::openMessage(odd).count('\n'), 1);
    }

    void runningWindowAsksToSaveThenOpensTheFile()
    {
        MainWindowFixture f;
        const QString file = writeCalendar(f.path(QStringLiteral("March.OVF")), 3);
        f.main->SetModified(true);
        f.prompts->yesNoAnswers = {false};
        f.main->OpenFileFromDesktop(file);
        QCOMPARE(f.prompts->texts(QStringLiteral("yesno")), QStringList{QStringLiteral("Save changes?")});
        QCOMPARE(f.main->CalendarFileName, file);
        QCOMPARE(f.page().settings().MainCalMonth, 3);
        QVERIFY(!f.main->Modified);
        QCOMPARE(f.main->RecentFiles->Items().first(), file);

        // Only calendar files: anything else is refused before any question.
        f.prompts->clear();
        f.main->SetModified(true);
        f.main->OpenFileFromDesktop(f.path(QStringLiteral("Style.OVS")));
        QCOMPARE(f.prompts->texts(), QStringList{QStringLiteral("Must be a Calendar file (*.OVF)")});
        QCOMPARE(f.main->CalendarFileName, file);
        QVERIFY(f.main->Modified);
    }

    void fileOnTheCommandLineOpensInsteadOfTheMostRecent()
    {
        QTemporaryDir dir;
        setUserDataFolderOverride(dir.path());
        const QString recent = writeCalendar(dir.filePath(QStringLiteral("Recent.OVF")), 5);
        const QString given = writeCalendar(dir.filePath(QStringLiteral("Given.OVF")), 8);
        {
            ScopedScriptedPrompter prompts;
            TCalendarMain first;
            first.show();
            QTRY_VERIFY(first.FirstActivationDone());
            first.OpenCalendarFile(recent); // now the most recent file
        }
        ScopedScriptedPrompter prompts;
        TCalendarMain main;
        main.setStartupFile(given);
        main.show();
        QTRY_VERIFY(main.FirstActivationDone());
        QCOMPARE(main.CalendarFileName, given);
        QCOMPARE(main.CalendarPanel->settings().MainCalMonth, 8);
        QVERIFY(main.CalendarPanel->isVisible());
        // Nothing is asked; only the start-up printer check may have spoken (this process
        // may have met the print system before the test's own server existed).
        for (const QString& text : prompts->texts())
            QVERIFY2(text.contains(QStringLiteral("printer")), qPrintable(text));
        main.Modified = false;
        setUserDataFolderOverride(QString());
    }

    void fileOnTheCommandLineIsDrawnWhileTheWindowIsBuilt()
    {
        QTemporaryDir dir;
        setUserDataFolderOverride(dir.path());
        TCalendarPage page(96);
        page.ResetToDefaults();
        for (int i = 1; i <= TCalendarPage::kCellCount; i += 3)
            page.SetCellRtf(i, "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Day " + QByteArray::number(i)
                                   + "\\par {\\b dentist} at 3pm\\par}");
        const QString given = dir.filePath(QStringLiteral("Given.OVF"));
        SaveCalendarFile(page, given);

        // Only what the Open command takes is drawn ahead.
        QVERIFY(!TCalendarMain::PrefetchPage(dir.filePath(QStringLiteral("Style.OVS"))));
        QVERIFY(!TCalendarMain::PrefetchPage(dir.filePath(QStringLiteral("Missing.OVF"))));
        std::unique_ptr<TPagePrefetch> prefetch = TCalendarMain::PrefetchPage(given);
        QVERIFY(prefetch);

        // The window's first paintings copy what the worker drew: this thread lays out no
        // cell text at all.
        const int layoutsBefore = TWPRtfDocumentCache::instance().misses();
        ScopedScriptedPrompter prompts;
        TCalendarMain main;
        main.setStartupFile(given);
        main.setStartupPrefetch(std::move(prefetch));
        main.show();
        QTRY_VERIFY(main.FirstActivationDone());
        QCOMPARE(main.CalendarFileName, given);
        main.CalendarPanel->DrawToImage();
        QVERIFY(main.CalendarPanel->keptPixels().cells.hits() > 0);
        QCOMPARE(TWPRtfDocumentCache::instance().misses(), layoutsBefore);
        main.Modified = false;
        setUserDataFolderOverride(QString());
    }

    void secondStartOfTheProgramOpensItsFileInTheFirst()
    {
        // The real program, copied so that its folder (and its settings) is ours and its
        // instance name no other run shares.
        QTemporaryDir dir;
        const QString exe = dir.filePath(uniqueName());
        QVERIFY(QFile::copy(QStringLiteral(OV_APP_PATH), exe));
        // The program inherits the private print server: with a default printer there,
        // no message box holds up its first activation.
        QVERIFY2(usePrinter(), qPrintable(ovtest::PrivateCups::instance().error()));
        QFile::setPermissions(exe, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QString january = writeCalendar(dir.filePath(QStringLiteral("January.OVF")), 1);
        const QString july = writeCalendar(dir.filePath(QStringLiteral("July.OVF")), 7);
        const QString ini = dir.filePath(QStringLiteral("OV.ini"));

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        QProcess first;
        first.setProcessEnvironment(env);
        first.start(exe, {january});
        QVERIFY(first.waitForStarted());
        QTRY_COMPARE_WITH_TIMEOUT(mostRecentFile(ini), january, 30000);

        QProcess second;
        second.setProcessEnvironment(env);
        second.setWorkingDirectory(dir.path());
        second.start(exe, {QStringLiteral("July.OVF")}); // relative to the second start's folder
        QVERIFY(second.waitForFinished(30000));
        QCOMPARE(second.exitCode(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(mostRecentFile(ini), july, 30000);
        QCOMPARE(first.state(), QProcess::Running); // one program, now showing July

        first.kill();
        first.waitForFinished(5000);
    }
};

OV_TEST(TestStartupFile)
#include "test_startup_file.moc"
