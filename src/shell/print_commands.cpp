// Printing: the printer check at start-up, Print Setup, Print Calendar with its margin
// check and copies, and the job's page drawing.
#include "calendar/calendar_panel.h"
#include "platform/numeric.h"
#include "platform/prompter.h"
#include "platform/shell_helpers.h"
#include "printing/print_error.h"
#include "printing/printer_availability.h"
#include "printing/report_canvas.h"
#include "printing/report_printer.h"
#include "shell/calendar_main.h"
#include "shell/print_margins.h"
#include "shell/print_scope.h"

#include <QAction>
#include <QStatusBar>

namespace {
const QString kUnableToPrint = QStringLiteral("Unable to perform printer related operations");

double truncToHundredths(double inches) { return std::trunc(inches * 100) * 0.01; }
} // namespace

QString PrinterMarginWarnings(const QMarginsF& printer, float left, float top, float right, float bottom)
{
    QString text;
    const auto check = [&](double printerInch, float calendarInch, const char* side) {
        if (truncToHundredths(printerInch) > double(calendarInch))
            text += QLatin1Char('\n') + QLatin1String(side)
                + QStringLiteral(" Margin is possibly outside of Printer printable area");
    };
    check(printer.left(), left, "Left");
    check(printer.top(), top, "Top");
    check(printer.right(), right, "Right");
    check(printer.bottom(), bottom, "Bottom");
    return text;
}

QPageSize CalendarPaperSize(const TCalendarSettings& s)
{
    return QPageSize(s.PaperSize == 1 ? QPageSize::A4 : QPageSize::Letter);
}

void SetPrinterPage(TReportPrinter& printer, const TCalendarSettings& s)
{
    printer.SetPageSize(CalendarPaperSize(s));
    printer.SetOrientation(s.CalendarOrientation == TCalendarOrientation::coLandscape ? QPageLayout::Landscape
                                                                                    : QPageLayout::Portrait);
}

void TCalendarMain::connectPrintCommands()
{
    connect(mnuPrint, &QAction::triggered, this, &TCalendarMain::mnuPrintCalendarClick);
    connect(mnuPrintSetup, &QAction::triggered, this, &TCalendarMain::mnuPrintSetupClick);
}

TReportPrinter& TCalendarMain::ReportPrinter1()
{
    // Made on first use: asking CUPS for the default printer is not free.
    if (!m_reportPrinter) {
        m_reportPrinter = std::make_unique<TReportPrinter>();
        m_reportPrinter->OnStatus = [this](const QString& status) { statusBar()->showMessage(status); };
    }
    return *m_reportPrinter;
}

bool TCalendarMain::PrintersAvailable()
{
    switch (QueryPrinterAvailability()) {
    case TPrinterAvailability::NoPrinters:
        ShowInformation(QStringLiteral("There are no installed printers.\n") + kUnableToPrint);
        return false;
    case TPrinterAvailability::NoDefault:
        ShowInformation(QStringLiteral("There is no default printer selected.\n") + kUnableToPrint);
        return false;
    case TPrinterAvailability::Ready:
        break;
    }
    return true;
}

void TCalendarMain::mnuPrintSetupClick() { ReportPrinter1().PrinterDialog(QStringLiteral("Print Setup")); }

bool TCalendarMain::CheckPrinterMargins()
{
    const TCalendarSettings& s = CalendarPanel->settings();
    const QString warnings = PrinterMarginWarnings(ReportPrinter1().UnprintableMarginsInch(), s.LeftMarginInch,
                                                   s.TopMarginInch, s.RightMarginInch, s.BottomMarginInch);
    if (warnings.isEmpty())
        return true;
    return AskYesNo(QStringLiteral("Margin Warning:\n") + warnings + QStringLiteral("\n\nPrint anyways?"),
                    QStringLiteral("Margin Warning"));
}

void TCalendarMain::mnuPrintCalendarClick()
{
    PrintDone = false;
    const bool modified = Modified;
    TReportPrinter& report = ReportPrinter1();
    if (report.PrinterDialog(QStringLiteral("Print"))) {
        SetPrinterPage(report, CalendarPanel->settings());
        if (!CheckPrinterMargins())
            return;
        PrintCopies = std::max(1, report.CopiesChosen());
        if (report.DriverMaxCopies() >= PrintCopies) {
            report.SetCopies(PrintCopies);
            PrintCopies = 1;
        } else {
            report.SetCopies(1);
        }
        try {
            report.Execute([this](TReportCanvas& canvas) { ReportPrinter1Print(canvas); });
        } catch (const EPrintError& e) {
            // A job that failed must not look like one that was sent.
            PrintDone = false;
            ShowInformation(e.reason());
        }
        statusBar()->clearMessage();
    }
    if (PrintDone) {
        QString done = QStringLiteral("Print job completed and sent to printer!");
        if (HasSuperText())
            done += QStringLiteral("\n\nNote: this design contains complex shapes or text.\n"
                                   "Please be patient while the printer produces its\noutput...");
        ShowInformation(done);
    }
    SetModified(modified);
}

bool TCalendarMain::HasSuperText() const { return CalendarPanel->HasSuperText(); }

void TCalendarMain::ReportPrinter1Print(TReportCanvas& report)
{
    DoSaveRichtext();
    SetModified(false);
    PrintDone = true;
    {
        const PagePrintScope scope(*CalendarPanel);
        for (int copy = 1; copy <= PrintCopies; ++copy) {
            if (copy > 1)
                report.NewPage();
            CalendarPanel->PrintOnReport(report, 0, 0);
        }
    }
    SetModified(false);
}
