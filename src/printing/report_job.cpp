#include "report_job.h"

#include "printing/print_error.h"

#include <QPagedPaintDevice>
#include <QPainter>

void RunReport(QPagedPaintDevice& device, int xdpi, int ydpi, const ReportPrintHandler& onPrint,
               const QString& failureReason, const ReportPageHandler& onPage)
{
    QPainter painter;
    if (!painter.begin(&device))
        throw EPrintError(failureReason);
    int page = 1;
    if (onPage)
        onPage(page);
    TReportCanvas canvas(painter, xdpi, ydpi, [&] {
        if (!device.newPage())
            throw EPrintError(failureReason);
        if (onPage)
            onPage(++page);
    });
    try {
        onPrint(canvas);
    } catch (const EPrintError&) {
        painter.end();
        throw;
    } catch (const std::exception& e) {
        painter.end();
        throw EPrintError(failureReason + QLatin1Char('\n') + QString::fromUtf8(e.what()));
    }
    if (!painter.end())
        throw EPrintError(failureReason);
}
