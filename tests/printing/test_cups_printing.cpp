// Printing from the main window through a real CUPS server of the test's own, whose
// queue turns every job into a PDF file that is read back.
#include "../shell/main_window_fixture.h"
#include "private_cups.h"
#include "objects/p_label.h"
#include "platform/zoom_scale.h"
#include "printing/printer_availability.h"
#include "printing/report_printer.h"
#include "special/super_text.h"
#include "test_registry.h"

#include <QFileInfo>
#include <QToolButton>

using ovtest::PrivateCups;

namespace {
const QString kQueue = QStringLiteral("Orvanta_Test");

struct JobResult {
    int documentPages = -1; // pages the program sent
    QSizeF documentSize; // points
    int outputPages = -1; // pages the queue produced
    QString outputText;
    QString logLine;
};
} // namespace

class CupsPrintTest : public QObject {
    Q_OBJECT

    // Prints the fixture's page through the dialog answered with copies; the result is
    // read back from the server once the job is done.
    JobResult print(MainWindowFixture& f, int copies, int driverMaxCopies = -1)
    {
        PrivateCups& cups = PrivateCups::instance();
        const int before = cups.lastJobId();
        f.main->ReportPrinter1().SetDriverMaxCopies(driverMaxCopies);
        f.prompts->printAnswers = {ScriptedPrompter::PrintChoice{copies, {}}};
        f.main->mnuPrintCalendarClick();
        JobResult r;
        if (!cups.waitIdle() || cups.lastJobId() != before + 1)
            return r;
        const QString document = cups.jobDocument(cups.lastJobId());
        r.documentPages = ovtest::pdfPageCount(document);
        r.documentSize = ovtest::pdfPageSize(document);
        r.outputPages = ovtest::pdfPageCount(cups.outputFile(kQueue));
        r.outputText = ovtest::pdfText(cups.outputFile(kQueue));
        const QStringList log = cups.pageLog();
        r.logLine = log.isEmpty() ? QString() : log.last();
        return r;
    }

private slots:
    void initTestCase()
    {
        PrivateCups& cups = PrivateCups::instance();
        QVERIFY2(cups.ok(), qPrintable(cups.error()));
    }

    // Runs first: the server starts with no printers.
    void printerCheckFollowsTheServer()
    {
        PrivateCups& cups = PrivateCups::instance();
        {
            MainWindowFixture f;
            QCOMPARE(QueryPrinterAvailability(), TPrinterAvailability::NoPrinters);
            QVERIFY(!f.main->PrintersAvailable());
            QCOMPARE(f.prompts->texts(QStringLiteral("information")),
                     QStringList{QStringLiteral("There are no installed printers.\n"
                                                "Unable to perform printer related operations")});
            QVERIFY(!f.main->PrinterReady);
            QVERIFY(!f.main->mnuPrint->isEnabled());
            QVERIFY(!f.main->Printbutton->isEnabled());
        }
        QVERIFY2(cups.addQueue(kQueue, false), qPrintable(cups.error()));
        {
            MainWindowFixture f;
            f.prompts->clear();
            QVERIFY(!f.main->PrintersAvailable());
            QCOMPARE(f.prompts->texts(QStringLiteral("information")),
                     QStringList{QStringLiteral("There is no default printer selected.\n"
                                                "Unable to perform printer related operations")});
        }
        QVERIFY2(cups.setDefault(kQueue), qPrintable(cups.error()));
        MainWindowFixture f;
        QVERIFY(f.main->PrinterReady);
        QVERIFY(f.prompts->records.empty());
        QVERIFY(f.main->mnuPrint->isEnabled());
        QVERIFY(f.main->Printbutton->isEnabled());
    }

    void oneCopyIsOnePageWithTheTitleAndTheJobName()
    {
        MainWindowFixture f;
        f.page().SetCalendarLayout(TCalendarLayout(2)); // portrait, minis in the title
        auto* label = new TGPLabel(&f.page());
        label->setGeometry(300, 40, 200, 40);
        label->SetCaption(QStringLiteral("Family Reunion"));
        label->AfterLoad();
        f.main->SetModified(true);
        const JobResult r = print(f, 1);
        QVERIFY2(PrivateCups::instance().ok(), qPrintable(PrivateCups::instance().error()));
        QCOMPARE(r.documentPages, 1);
        QCOMPARE(r.outputPages, 1);
        QCOMPARE(r.documentSize, QSizeF(612, 792));
        QVERIFY2(r.outputText.contains(QStringLiteral("December 1997")), qPrintable(r.outputText));
        QVERIFY2(r.outputText.contains(QStringLiteral("Family Reunion")), qPrintable(r.outputText));
        QVERIFY2(r.logLine.contains(QStringLiteral("ReportPrinter Report")), qPrintable(r.logLine));
        QCOMPARE(f.prompts->texts(QStringLiteral("print")), QStringList{QStringLiteral("Print")});
        QCOMPARE(f.prompts->texts(QStringLiteral("information")),
                 QStringList{QStringLiteral("Print job completed and sent to printer!")});
        // Printing leaves the document's state alone: still unsaved, Save still showing.
        QVERIFY(f.main->Modified);
        QVERIFY(f.main->Savebutton->isVisibleTo(f.main.get()));
        QCOMPARE(f.page().Zoom(), PercentToZoomScale(60));
        QVERIFY(!f.page().Printing);
        QVERIFY(!f.page().PaintSuspended);
    }

    void aPageWithSuperTextGetsTheNoteAboutComplexShapes()
    {
        MainWindowFixture f;
        auto* text = TGSuperText::CreateBordered(&f.page());
        text->setGeometry(300, 40, 300, 90);
        text->SetCaption(QStringLiteral("Reunion"));
        text->AfterLoad();
        QVERIFY(f.main->HasSuperText());
        print(f, 1);
        QVERIFY2(PrivateCups::instance().ok(), qPrintable(PrivateCups::instance().error()));
        QCOMPARE(f.prompts->texts(QStringLiteral("information")),
                 QStringList{QStringLiteral("Print job completed and sent to printer!\n\n"
                                            "Note: this design contains complex shapes or text.\n"
                                            "Please be patient while the printer produces its\noutput...")});
        delete text;
        QVERIFY(!f.main->HasSuperText());
    }

    void copiesMadeByTheDriverOrDrawnAgain()
    {
        MainWindowFixture f;
        // The driver makes the copies: the page is sent once.
        JobResult r = print(f, 3);
        QVERIFY2(PrivateCups::instance().ok(), qPrintable(PrivateCups::instance().error()));
        QCOMPARE(r.documentPages, 1);
        QCOMPARE(r.outputPages, 3);
        QCOMPARE(f.main->PrintCopies, 1);
        // A driver that makes single copies only: the page is drawn three times.
        r = print(f, 3, 1);
        QVERIFY2(PrivateCups::instance().ok(), qPrintable(PrivateCups::instance().error()));
        QCOMPARE(r.documentPages, 3);
        QCOMPARE(r.outputPages, 3);
        QCOMPARE(f.main->PrintCopies, 3);
        QCOMPARE(r.outputText.count(QStringLiteral("December 1997")), 3);
    }

    void landscapePageIsSentLandscape()
    {
        MainWindowFixture f; // layout 3 is a landscape page
        QCOMPARE(f.page().settings().CalendarOrientation, TCalendarOrientation::coLandscape);
        const JobResult r = print(f, 1);
        QVERIFY2(PrivateCups::instance().ok(), qPrintable(PrivateCups::instance().error()));
        QCOMPARE(r.documentSize, QSizeF(792, 612));
        QCOMPARE(r.outputPages, 1);
        QVERIFY(r.outputText.contains(QStringLiteral("December 1997")));
    }

    void marginWarningsOnADeviceWithWideMargins()
    {
        PrivateCups& cups = PrivateCups::instance();
        const QString narrow = QStringLiteral("Orvanta_Wide_Margins");
        QVERIFY2(cups.addQueue(narrow, false, 0.3), qPrintable(cups.error()));
        MainWindowFixture f;
        f.page().SetCalendarLayout(TCalendarLayout(2)); // portrait Letter
        for (auto set : {&TCalendarPage::SetLeftMarginInch, &TCalendarPage::SetTopMarginInch,
                         &TCalendarPage::SetRightMarginInch, &TCalendarPage::SetBottomMarginInch})
            (f.page().*set)(0.25f);
        const QString question = QStringLiteral("Margin Warning:\n"
                                                "\nLeft Margin is possibly outside of Printer printable area"
                                                "\nTop Margin is possibly outside of Printer printable area"
                                                "\nRight Margin is possibly outside of Printer printable area"
                                                "\nBottom Margin is possibly outside of Printer printable area"
                                                "\n\nPrint anyways?");
        // No: nothing is printed and nothing is said.
        const int before = cups.lastJobId();
        f.prompts->printAnswers = {ScriptedPrompter::PrintChoice{1, narrow}};
        f.prompts->yesNoAnswers = {false};
        f.main->mnuPrintCalendarClick();
        QCOMPARE(f.prompts->texts(QStringLiteral("yesno")), QStringList{question});
        QCOMPARE(f.prompts->records.back().caption, QStringLiteral("Margin Warning"));
        QVERIFY(f.prompts->texts(QStringLiteral("information")).isEmpty());
        QVERIFY(cups.waitIdle());
        QCOMPARE(cups.lastJobId(), before);
        QVERIFY(!QFileInfo::exists(cups.outputFile(narrow)));
        // Yes prints anyway; margins inside the device's area ask nothing.
        f.prompts->clear();
        f.prompts->printAnswers = {ScriptedPrompter::PrintChoice{1, narrow}};
        f.prompts->yesNoAnswers = {true};
        f.main->mnuPrintCalendarClick();
        QVERIFY2(cups.waitIdle(), qPrintable(cups.error()));
        QCOMPARE(cups.lastJobId(), before + 1);
        QCOMPARE(ovtest::pdfPageCount(cups.outputFile(narrow)), 1);
        f.page().SetLeftMarginInch(0.3f);
        f.page().SetTopMarginInch(0.5f);
        f.page().SetRightMarginInch(0.31f);
        f.page().SetBottomMarginInch(0.3f);
        f.prompts->clear();
        QVERIFY(f.main->CheckPrinterMargins());
        QVERIFY(f.prompts->records.empty());
        f.page().SetTopMarginInch(0.29f);
        f.main->CheckPrinterMargins();
        QCOMPARE(f.prompts->texts(QStringLiteral("yesno")),
                 QStringList{QStringLiteral("Margin Warning:\n\nTop Margin is possibly outside of Printer printable area"
                                            "\n\nPrint anyways?")});
    }

    void cancelledDialogPrintsNothing()
    {
        MainWindowFixture f;
        PrivateCups& cups = PrivateCups::instance();
        const int before = cups.lastJobId();
        f.main->SetModified(true);
        f.main->mnuPrintCalendarClick(); // no answer queued: the dialog is cancelled
        QCOMPARE(cups.lastJobId(), before);
        QVERIFY(!f.main->PrintDone);
        QVERIFY(f.prompts->texts(QStringLiteral("information")).isEmpty());
        QVERIFY(f.main->Modified);
    }

    void statusTextCountsPages()
    {
        MainWindowFixture f;
        QStringList statuses;
        f.main->ReportPrinter1().OnStatus = [&](const QString& s) { statuses << s; };
        print(f, 2, 1);
        QCOMPARE(statuses, (QStringList{QStringLiteral("Printing page 1"), QStringLiteral("Printing page 2")}));
    }
};

OV_TEST(CupsPrintTest)
#include "test_cups_printing.moc"
