#pragma once
#include "printing/report_job.h"

#include <QPageLayout>
#include <QPageSize>
#include <QString>

// A report written as a vector PDF file (text stays text, fonts embedded). The file is
// replaced only when the whole document was written; nothing is left behind otherwise.
class TPdfReport {
public:
    explicit TPdfReport(QString path);

    QString Title; // the document's title in the PDF
    int Resolution = 1200; // dots per inch of the canvas
    QPageSize PageSize{QPageSize::Letter};
    QPageLayout::Orientation Orientation = QPageLayout::Portrait;

    // Throws EPrintError with "Unable to save <path>" and the reason.
    void Execute(const ReportPrintHandler& onPrint);

private:
    QString m_path;
};
