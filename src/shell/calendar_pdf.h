#pragma once
#include <QString>
#include <QStringList>
#include <optional>

class TCalendarPanel32;
struct TPreferences;

// What "Save As PDF File" and `orvanta-cli render --months` write.
struct TCalendarPdfRequest {
    int months = 1; // 1..12: the page's month and the following ones
    // Lines of the recurring-date store: every page without text of its own gets the
    // days filling would place with all entries chosen, in the default editor font.
    std::optional<QStringList> recurringLines;
};

constexpr int kMaxPdfMonths = 12;

// Writes the printed page as a vector PDF, one page per month: the design itself first,
// then the same design advanced one month at a time with empty day cells (or filled)
// and the design's placed objects.
// The design must be at zoom 1 (see PagePrintScope) and is not changed. Throws
// EPrintError with the reason the user sees.
void WriteCalendarPdf(TCalendarPanel32& design, const QString& path, const TCalendarPdfRequest& request,
                      const TPreferences& preferences);
