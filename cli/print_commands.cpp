// print and the PDF side of render: the printed page through the report engine.
#include "print_commands.h"

#include "calendar/calendar_panel.h"
#include "cli_error.h"
#include "cli_page_setup.h"
#include "page_options.h"
#include "printing/print_error.h"
#include "printing/printer_availability.h"
#include "printing/report_printer.h"
#include "recurring/recurring_store.h"
#include "shell/calendar_pdf.h"
#include "shell/preferences.h"
#include "shell/print_margins.h"

#include <QPrinter>

namespace {

int wholeNumberOption(QStringList& args, const QString& name, int fallback, int low, int high)
{
    QString v;
    if (!TakeOption(args, name, v))
        return fallback;
    bool ok = false;
    const int n = v.toInt(&ok);
    if (!ok || n < low || n > high)
        fail(QStringLiteral("%1 must be a whole number from %2 to %3, not \"%4\"").arg(name).arg(low).arg(high).arg(v));
    return n;
}

void rejectLeftovers(const QStringList& rest)
{
    if (!rest.isEmpty())
        fail(QStringLiteral("unknown option \"%1\"").arg(rest.first()));
}

TPreferences userPreferences()
{
    TPreferences preferences = TPreferences::defaults();
    preferences.LoadPreferences();
    return preferences;
}

} // namespace

int RenderPdf(CliPage& cli, QStringList& args, const QString& outPath)
{
    TCalendarPdfRequest request;
    request.months = wholeNumberOption(args, QStringLiteral("--months"), 1, 1, kMaxPdfMonths);
    QString store;
    if (TakeOption(args, QStringLiteral("--recurring"), store)) {
        const RecurringStoreRead read = ReadRecurringStore(store);
        if (!read.exists)
            fail(QStringLiteral("no recurring-date store \"%1\"").arg(store));
        if (!read.error.isEmpty())
            fail(read.error);
        request.recurringLines = read.lines;
    }
    rejectLeftovers(args);
    cli.page->SetZoom(1.0f); // the printed page: geometry of zoom 1, fonts at paper size
    try {
        WriteCalendarPdf(*cli.page, outPath, request, userPreferences());
    } catch (const EPrintError& e) {
        fail(e.reason());
    }
    return 0;
}

int PrintCommand(QStringList args, QTextStream& out, QTextStream& err)
{
    QString printerName;
    const bool named = TakeOption(args, QStringLiteral("--printer"), printerName);
    const int copies = wholeNumberOption(args, QStringLiteral("--copies"), 1, 1, 999);
    const bool force = args.removeAll(QStringLiteral("--force")) > 0;
    CliPage cli = MakeCliPage(args);
    rejectLeftovers(args);
    TCalendarPanel32& page = *cli.page;

    TReportPrinter job;
    if (named) {
        if (!job.SetPrinterName(printerName))
            fail(QStringLiteral("there is no printer named \"%1\"").arg(printerName));
    } else if (QueryPrinterAvailability() == TPrinterAvailability::NoPrinters) {
        fail(QStringLiteral("There are no installed printers."));
    } else if (QueryPrinterAvailability() == TPrinterAvailability::NoDefault) {
        fail(QStringLiteral("There is no default printer selected."));
    }
    const TCalendarSettings& s = page.settings();
    SetPrinterPage(job, s);
    const QString warnings = PrinterMarginWarnings(job.UnprintableMarginsInch(), s.LeftMarginInch, s.TopMarginInch,
                                                   s.RightMarginInch, s.BottomMarginInch);
    if (!warnings.isEmpty()) {
        err << "Margin Warning:" << warnings.split(QLatin1Char('\n')).join(QStringLiteral("\n  ")) << "\n";
        if (!force) {
            err << "orvanta-cli: not printed (--force prints anyway)\n";
            return 1;
        }
    }
    int drawnCopies = copies;
    if (job.DriverMaxCopies() >= copies) {
        job.SetCopies(copies);
        drawnCopies = 1;
    }
    page.SetZoom(1.0f);
    page.Printing = true;
    try {
        job.Execute([&](TReportCanvas& report) {
            for (int copy = 1; copy <= drawnCopies; ++copy) {
                if (copy > 1)
                    report.NewPage();
                page.PrintOnReport(report, 0, 0);
            }
        });
    } catch (const EPrintError& e) {
        fail(e.reason());
    }
    out << "printed " << copies << (copies == 1 ? " copy" : " copies") << " on " << job.PrinterName() << "\n";
    return 0;
}
