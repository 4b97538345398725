#include "pdf_report.h"

#include "printing/print_error.h"

#include <QPdfWriter>
#include <QSaveFile>

TPdfReport::TPdfReport(QString path) : m_path(std::move(path)) {}

void TPdfReport::Execute(const ReportPrintHandler& onPrint)
{
    const QString reason = QStringLiteral("Unable to save ") + m_path;
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        throw EPrintError(reason + QLatin1Char('\n') + file.errorString());
    {
        QPdfWriter pdf(&file);
        pdf.setCreator(QStringLiteral("Orvanta"));
        pdf.setTitle(Title);
        pdf.setResolution(Resolution);
        pdf.setPageLayout(QPageLayout(PageSize, Orientation, QMarginsF(0, 0, 0, 0)));
        RunReport(pdf, Resolution, Resolution, onPrint, reason);
    }
    if (file.error() != QFileDevice::NoError || !file.commit())
        throw EPrintError(reason + QLatin1Char('\n') + file.errorString());
}
