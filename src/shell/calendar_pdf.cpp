#include "calendar_pdf.h"

#include "calendar/calendar_panel.h"
#include "calendar/calendar_renderer.h"
#include "platform/scope_flag.h"
#include "printing/pdf_report.h"
#include "printing/report_canvas.h"
#include "printing/print_error.h"
#include "recurring/recurring_fill.h"
#include "shell/cell_lines.h"
#include "shell/preferences.h"
#include "shell/print_margins.h"

#include <QDate>
#include <QPainter>
#include <QPicture>
#include <memory>

namespace {

// The design moved on by some months: the same settings, no cell text.
std::unique_ptr<TCalendarPanel32> advancedPage(const TCalendarPanel32& design, int months)
{
    auto page = std::make_unique<TCalendarPanel32>(nullptr, design.ppi());
    page->PaintSuspended = true;
    page->Printing = true;
    page->AssignSettings(design);
    const TCalendarSettings& s = design.settings();
    const QDate first(s.MainCalYear, s.MainCalMonth, 1);
    const QDate next = first.addMonths(months);
    page->SetMainCalDay(1);
    page->SetMainCalYear(next.year());
    page->SetMainCalMonth(next.month());
    page->SetMainCalDay(std::min(s.MainCalDay, next.daysInMonth()));
    return page;
}

// Writes the store's days into the page's cells as filling the month would.
void fillFromStore(TCalendarPanel32& page, const QStringList& lines, const TPreferences& preferences)
{
    const TCalendarSettings& s = page.settings();
    const RecurringFillResult fill = ComputeRecurringFill(lines, s.MainCalYear, s.MainCalMonth);
    if (fill.placements.isEmpty())
        return;
    // The cells of each day come from a drawing; a recorded one needs no pixels.
    QPicture scratch;
    {
        QPainter p(&scratch);
        PaintCalendarPage(p, page, 1.0f, {});
    }
    TWPRichText editor;
    for (const RecurringPlacement& placement : fill.placements) {
        const int cell = page.CellOfDay(placement.day);
        if (cell == -1)
            continue;
        page.SetCellRtf(cell, AppendCellLine(editor, page.CellRtf(cell), placement.text,
                                             [&] { return DefaultFontAttr(editor.currentAttr(), preferences); }));
    }
}

bool fillsDays(const TCalendarPanel32& page) { return layoutHasDayCells(page.settings().CalendarLayout); }

} // namespace

void WriteCalendarPdf(TCalendarPanel32& design, const QString& path, const TCalendarPdfRequest& request,
                      const TPreferences& preferences)
{
    if (request.months < 1 || request.months > kMaxPdfMonths)
        throw EPrintError(QStringLiteral("A PDF holds 1 to %1 months, not %2").arg(kMaxPdfMonths).arg(request.months));
    const TLayoutGeometry& g = design.layoutGeometry();
    TPdfReport pdf(path);
    pdf.Title = QStringLiteral("Calendar");
    pdf.PageSize = CalendarPaperSize(design.settings());
    pdf.Orientation =
        g.orientation == TCalendarOrientation::coLandscape ? QPageLayout::Landscape : QPageLayout::Portrait;
    ScopeFlag printing(design.Printing);
    pdf.Execute([&](TReportCanvas& report) {
        for (int m = 0; m < request.months; ++m) {
            if (m > 0)
                report.NewPage();
            const bool fill = request.recurringLines && fillsDays(design);
            if (m == 0 && !(fill && !design.HasCellText())) {
                design.PrintOnReport(report, 0, 0);
                continue;
            }
            const auto page = advancedPage(design, m);
            if (fill)
                fillFromStore(*page, *request.recurringLines, preferences);
            page->PrintOnReport(report, 0, 0);
            design.PrintObjects(report.painter(), 0, 0); // the design's objects on every month
        }
    });
}
