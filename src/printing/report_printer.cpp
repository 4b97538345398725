#include "report_printer.h"

#include "platform/prompter.h"
#include "printing/print_error.h"

#include <QPrinter>
#include <QPrinterInfo>

TReportPrinter::TReportPrinter() : m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    m_printer->setPageOrientation(QPageLayout::Portrait);
    // Page positions count from the paper's corner, not from the printable area.
    m_printer->setFullPage(true);
}

TReportPrinter::~TReportPrinter() = default;

bool TReportPrinter::PrinterDialog(const QString& title) { return prompter().printDialog(*m_printer, title); }

bool TReportPrinter::SetPrinterName(const QString& name)
{
    if (!QPrinterInfo::availablePrinterNames().contains(name))
        return false;
    m_printer->setPrinterName(name);
    return m_printer->printerName() == name;
}

QString TReportPrinter::PrinterName() const
{
    return m_printer->outputFileName().isEmpty() ? m_printer->printerName() : m_printer->outputFileName();
}

void TReportPrinter::SetOrientation(QPageLayout::Orientation orientation)
{
    m_printer->setPageOrientation(orientation);
}

void TReportPrinter::SetPageSize(const QPageSize& size) { m_printer->setPageSize(size); }

QPageLayout::Orientation TReportPrinter::Orientation() const { return m_printer->pageLayout().orientation(); }

QMarginsF TReportPrinter::UnprintableMarginsInch() const
{
    QPageLayout layout = m_printer->pageLayout();
    layout.setUnits(QPageLayout::Inch);
    return layout.minimumMargins();
}

int TReportPrinter::CopiesChosen() const { return std::max(1, m_printer->copyCount()); }

int TReportPrinter::DriverMaxCopies() const
{
    if (m_driverMaxCopies >= 0)
        return m_driverMaxCopies;
    return m_printer->supportsMultipleCopies() ? kSpoolerMaxCopies : 1;
}

QString TReportPrinter::StatusText(int page) const
{
    QString s = StatusFormat;
    return s.replace(QStringLiteral("%p"), QString::number(page));
}

void TReportPrinter::Execute(const ReportPrintHandler& onPrint)
{
    const int chosen = m_printer->copyCount();
    m_printer->setDocName(Title);
    m_printer->setFullPage(true);
    m_printer->setCopyCount(m_copies);
    // The dialog shows the user's own choice again next time, whoever made the copies.
    struct RestoreChosen {
        QPrinter& printer;
        int copies;
        ~RestoreChosen() { printer.setCopyCount(copies); }
    } restore{*m_printer, chosen};

    const QString reason = QStringLiteral("Unable to print on %1").arg(PrinterName());
    if (PrinterName().isEmpty())
        throw EPrintError(QStringLiteral("There is no printer to print on."));
    RunReport(*m_printer, m_printer->logicalDpiX(), m_printer->logicalDpiY(), onPrint, reason, [this](int page) {
        if (OnStatus)
            OnStatus(StatusText(page));
    });
    if (m_printer->printerState() == QPrinter::Error)
        throw EPrintError(reason);
}
