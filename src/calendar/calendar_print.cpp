#include "calendar_print.h"

#include "calendar/calendar_page.h"
#include "platform/numeric.h"
#include "printing/report_canvas.h"

#include <QPainter>

namespace {

// The printed pen: black, solid, 1/100 inch.
constexpr int kPrintPenWidth = -1;

class PageToDots {
public:
    PageToDots(const TReportCanvas& report, int ppi, double offsetX, double offsetY)
        : m_report(report), m_ppi(ppi), m_ox(offsetX), m_oy(offsetY)
    {
    }
    // A rectangle of screen pixels at zoom 1 in the report's dots; grow widens it to the
    // right and bottom by that many screen pixels first.
    TRect operator()(const TRect& r, int grow = 0) const
    {
        const QRect d = m_report.RectToDots(QRectF(QPointF(inch(r.Left, m_ox), inch(r.Top, m_oy)),
                                                   QPointF(inch(r.Right + grow, m_ox), inch(r.Bottom + grow, m_oy))));
        return TRect(d.left(), d.top(), d.left() + d.width(), d.top() + d.height());
    }

private:
    double inch(int px, double offset) const { return double(px) / m_ppi + offset; }
    const TReportCanvas& m_report;
    int m_ppi;
    double m_ox, m_oy;
};

double fontDots(int pointSize, int dpi) { return TReportCanvas::FontHeightInches(pointSize) * dpi; }

void applyPrintMeasures(TCalDrawRecord& rec, const TReportCanvas& report)
{
    const TPrintMeasures m = PrintMeasures(rec, report.YDPI());
    rec.fontPpi = report.YDPI();
    rec.headerBandHeight = m.headerBandHeight;
    rec.freeTopOffset = m.freeTopOffset;
    rec.plannerTitleHeight = m.plannerTitleHeight;
    rec.penWidth = report.PenWidthDots(kPrintPenWidth);
}

// Every cell with text, drawn by the cell painter in screen pixels mapped onto its
// printed text area.
void printCellTexts(TReportCanvas& report, const TCalendarPage& page, const TDrawnCalendar& drawn, int cells,
                    const CellTextPainter& cellText)
{
    if (!cellText)
        return;
    QPainter& p = report.painter();
    const double sx = double(report.XDPI()) / page.ppi();
    const double sy = double(report.YDPI()) / page.ppi();
    for (int i = 1; i <= cells; ++i) {
        const TCellGeometry& c = drawn.cells[size_t(i - 1)];
        const TWPRtfStorage* store = page.CellStorage(i);
        if (!store || store->isEmpty() || c.rFree.width() <= 0 || c.rFree.height() <= 0)
            continue;
        p.save();
        p.translate(c.rFree.Left, c.rFree.Top);
        p.scale(sx, sy);
        // The painter adds a pixel each way for the screen; here that pixel would cover the
        // printed grid lines, so the area ends one pixel early.
        cellText(p, i, TRect(0, 0, truncToInt(c.rFree.width() / sx) - 1, truncToInt(c.rFree.height() / sy) - 1),
                 TPageTarget::Output);
        p.restore();
    }
}

} // namespace

TPrintMeasures PrintMeasures(const TCalDrawRecord& rec, int dpi)
{
    return {truncToInt(dpi * 1.5), truncToInt(1.5 * fontDots(rec.headersFont.size, dpi)),
            truncToInt(fontDots(rec.cellFont.size, dpi)), truncToInt(1.6 * fontDots(rec.titleFont.size, dpi))};
}

void PrintOnReport(TReportCanvas& report, TCalendarPage& page, double offsetX, double offsetY,
                   const CellTextPainter& cellText, TDrawnCalendar* printed)
{
    const TLayoutGeometry& g = page.layoutGeometry();
    const TCalendarSettings& s = page.settings();
    const PageToDots toDots(report, page.ppi(), offsetX, offsetY);
    QPainter& p = report.painter();
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, true);

    // 1, 2. The border picture in the margin rectangle.
    if (!s.WMFBorderFile.isEmpty() && !page.borderPicture().isEmpty()) {
        const TRect m = toDots(g.MarginRect);
        p.save();
        PaintBorderPicture(p, QRectF(m.Left, m.Top, m.width(), m.height()), page.borderPicture());
        p.restore();
    }

    // 3. Black solid pen, white solid brush.
    QPen pen(Qt::black);
    pen.setWidth(report.PenWidthDots(kPrintPenWidth));
    p.setPen(pen);
    p.setBrush(Qt::white);

    // 4, 5. Main calendar or planner in dots, then the cell texts.
    TDrawnCalendar local;
    TDrawnCalendar& drawn = printed ? *printed : local;
    TCalDrawRecord rec = MainDrawRecord(page, 1.0f);
    rec.rect = toDots(g.MainCalendarRect);
    rec.minTitleHeight = PrintMeasures(rec, report.YDPI()).minTitleHeight;
    applyPrintMeasures(rec, report);
    if (g.IsPlanner) {
        DrawPlanner(p, rec, drawn);
        printCellTexts(report, page, drawn, (rec.plannerDays == 0 ? rec.plannerHours : rec.plannerDays) + 1, cellText);
    } else if (g.ShowMainCalendar) {
        DrawMonthGrid(p, rec, drawn);
        printCellTexts(report, page, drawn, TCalendarPage::kCellCount, cellText);
    }

    // 6. Minis, each one screen pixel larger to the right and bottom.
    if (g.ShowMiniCalendars) {
        TCalDrawRecord mini = MiniDrawRecord(page, 1.0f);
        applyPrintMeasures(mini, report);
        TDrawnCalendar scratch;
        for (int i = 0; i < page.MiniCount() && i < int(g.minis.size()); ++i) {
            mini.month = g.minis[size_t(i)].month;
            mini.year = g.minis[size_t(i)].year;
            mini.rect = toDots(g.minis[size_t(i)].rect, 1);
            DrawMonthGrid(p, mini, scratch);
        }
    }
    p.restore();
}
