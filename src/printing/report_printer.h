#pragma once
#include "printing/report_job.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QString>
#include <functional>
#include <memory>

class QPrinter;

// A print job on the system's printers (CUPS through Qt): the printer dialog, the
// orientation, the device's unprintable margins, copies, and running the job that
// draws its pages on a canvas addressed in inches from the paper's corner.
class TReportPrinter {
public:
    // Copies a CUPS queue accepts in one job.
    static constexpr int kSpoolerMaxCopies = 9999;

    TReportPrinter(); // the default printer, portrait
    ~TReportPrinter();
    TReportPrinter(const TReportPrinter&) = delete;
    TReportPrinter& operator=(const TReportPrinter&) = delete;

    QString Title = QStringLiteral("ReportPrinter Report"); // the job's name
    QString StatusFormat = QStringLiteral("Printing page %p"); // %p: the page number
    // Told the status text as each page starts.
    std::function<void(const QString&)> OnStatus;

    QPrinter& printer() { return *m_printer; }
    const QPrinter& printer() const { return *m_printer; }

    // The printer dialog on the current device; false when cancelled.
    bool PrinterDialog(const QString& title);

    // Selects a printer by name; false when there is no such printer.
    bool SetPrinterName(const QString& name);
    QString PrinterName() const;

    void SetOrientation(QPageLayout::Orientation orientation);
    void SetPageSize(const QPageSize& size);
    QPageLayout::Orientation Orientation() const;

    // What the device cannot print on, in inches from each paper edge.
    QMarginsF UnprintableMarginsInch() const;

    // Copies chosen in the printer's settings (1 when none is set).
    int CopiesChosen() const;
    // The most copies the driver makes by itself: the spooler's limit when the device
    // makes copies, else 1. A queue known to make single copies only can say so.
    int DriverMaxCopies() const;
    void SetDriverMaxCopies(int copies) { m_driverMaxCopies = copies; }
    // Copies the driver is asked to make of the job.
    int Copies() const { return m_copies; }
    void SetCopies(int copies) { m_copies = std::max(1, copies); }

    // Runs the job: onPrint draws on page 1 and starts further pages itself. Throws
    // EPrintError when the printer cannot be opened or reports an error.
    void Execute(const ReportPrintHandler& onPrint);

    QString StatusText(int page) const;

private:
    std::unique_ptr<QPrinter> m_printer;
    int m_copies = 1;
    int m_driverMaxCopies = -1;
};
