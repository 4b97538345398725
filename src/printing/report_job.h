#pragma once
#include "printing/report_canvas.h"

#include <QString>
#include <functional>

class QPagedPaintDevice;

// Draws the pages of a report; the canvas starts on page 1 and NewPage adds pages.
using ReportPrintHandler = std::function<void(TReportCanvas&)>;
// Told the number of each page as it starts.
using ReportPageHandler = std::function<void(int page)>;

// Runs one report on a paged device: a painter that cannot begin, a page that cannot be
// added or a handler that throws ends the job with EPrintError carrying failureReason
// (or the handler's own EPrintError). The painter is ended on every way out.
void RunReport(QPagedPaintDevice& device, int xdpi, int ydpi, const ReportPrintHandler& onPrint,
               const QString& failureReason, const ReportPageHandler& onPage = {});
