#pragma once
#include <QMarginsF>
#include <QPageSize>
#include <QString>

class TReportPrinter;
struct TCalendarSettings;

// The calendar's paper: Letter or A4.
QPageSize CalendarPaperSize(const TCalendarSettings& settings);
// The calendar's paper and orientation on the printer (a Letter page printed on A4
// would lose its edges).
void SetPrinterPage(TReportPrinter& printer, const TCalendarSettings& settings);

// The margin warnings of a printer whose unprintable margins (inches, each truncated to
// hundredths first) exceed the calendar's: left, top, right, bottom, each line starting
// with a line break. Empty when the page fits.
QString PrinterMarginWarnings(const QMarginsF& printerInch, float left, float top, float right, float bottom);
