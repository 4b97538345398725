#pragma once
#include <QMarginsF>
#include <QString>

// The margin warnings of a printer whose unprintable margins (inches, each truncated to
// hundredths first) exceed the calendar's: left, top, right, bottom, each line starting
// with a line break. Empty when the page fits.
QString PrinterMarginWarnings(const QMarginsF& printerInch, float left, float top, float right, float bottom);
