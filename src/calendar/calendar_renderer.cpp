#include "calendar_renderer.h"

#include "calendar/calendar_dates.h"
#include "calendar/calendar_page.h"
#include "calendar/grid_image_cache.h"
#include "calendar/outline_glyphs.h"
#include "imaging/metafile_player.h"
#include "platform/locale_names.h"
#include "platform/numeric.h"

#include <QDate>
#include <QFontMetrics>
#include <QPainter>
#include <QRegion>
#include <algorithm>
#include <array>

namespace {

BorderPainter& borderPainter()
{
    static BorderPainter painter = [](QPainter& p, const QRectF& r, const QByteArray& bytes) {
        return PlayMetafileData(p, r, bytes);
    };
    return painter;
}

int mulDiv(int a, int b, int c)
{
    if (c == 0)
        return 0;
    const long long n = (long long)a * b;
    const long long half = c / 2;
    return int(n >= 0 ? (n + half) / c : -((-n + half) / c));
}

void fill(QPainter& p, int l, int t, int r, int b, TColor color)
{
    if (r > l && b > t)
        p.fillRect(QRect(l, t, r - l, b - t), toQColor(color));
}

void blackPen(QPainter& p, int width = 0)
{
    QPen pen(Qt::black);
    pen.setWidth(width);
    pen.setCosmetic(width == 0);
    p.setPen(pen);
}

void line(QPainter& p, int x1, int y1, int x2, int y2) { p.drawLine(x1, y1, x2, y2); }

void drawBorder(QPainter& p, int l, int t, int r, int b, TCalBorderStyle style, int penWidth)
{
    blackPen(p, penWidth);
    switch (style) {
    case TCalBorderStyle::cbNone:
        break;
    case TCalBorderStyle::cbAll: {
        const QPoint pts[] = {{l, t}, {r, t}, {r, b}, {l, b}, {l, t}};
        p.drawPolyline(pts, 5);
        break;
    }
    case TCalBorderStyle::cbTop:
        line(p, l, t, r, t);
        break;
    case TCalBorderStyle::cbBottom:
        line(p, l, b, r, b);
        break;
    case TCalBorderStyle::cbTopBottom:
        line(p, l, t, r, t);
        line(p, l, b, r, b);
        break;
    }
}

// Draws single-line texts, giving the painter a font or pen only when it changes: each
// setting makes the painter resolve the font anew for the next text.
class TextPainter {
public:
    explicit TextPainter(QPainter& p) : m_p(p) {}

    void draw(const QRect& r, int flags, const QString& s, const QFont& font, TColor color)
    {
        if (r.width() <= 0 || r.height() <= 0)
            return;
        if (m_font != &font) {
            m_p.setFont(font);
            m_font = &font;
            ResetOutlineGlyphOffset(m_p, font);
        }
        if (!m_penKnown || m_color != color) {
            m_p.setPen(toQColor(color));
            m_color = color;
            m_penKnown = true;
        }
        m_p.drawText(r, flags | Qt::TextSingleLine, s);
    }
    // The pen was set for something else.
    void penChanged() { m_penKnown = false; }

private:
    QPainter& m_p;
    const QFont* m_font = nullptr;
    TColor m_color = clBlack;
    bool m_penKnown = false;
};

// "1" to "31", made once.
const QString& dayNumberText(int day)
{
    static const std::array<QString, 32> texts = [] {
        std::array<QString, 32> t;
        for (int d = 0; d < 32; ++d)
            t[size_t(d)] = QString::number(d);
        return t;
    }();
    return texts[size_t(day)];
}

QRect qrect(int l, int t, int r, int b) { return QRect(l, t, r - l, b - t); }

TCalFont scaledFont(TCalFont f, float zoom)
{
    f.size = truncToInt(double(f.size) * double(zoom));
    return f;
}

QDate safeDate(int year, int month, int day)
{
    month = qBound(1, month, 12);
    day = qBound(1, day, DaysInMonth(month, year));
    return QDate(year, month, day);
}

QString monthName(const TCalDrawRecord& rec, int month)
{
    return (month >= 1 && month <= 12) ? rec.monthNames[size_t(month - 1)] : QString();
}

// Day-name index 1 (Sunday) .. 7 of a date.
int dayNameIndex(const QDate& d) { return d.dayOfWeek() % 7 + 1; }

// What a grid drawing covers: its rectangle, down to the lowest row it drew on (bands higher
// than the rectangle reach below it), widened by half of a wide pen.
TRect paintedArea(const TCalDrawRecord& rec, int lowestRow)
{
    const TRect& r = rec.rect;
    const int pen = (rec.penWidth + 1) / 2;
    return TRect(r.Left - pen, r.Top - pen, r.Right + pen, std::max(r.Bottom, lowestRow + 1) + pen);
}

} // namespace

void setBorderPainter(BorderPainter painter) { borderPainter() = std::move(painter); }

bool PaintBorderPicture(QPainter& p, const QRectF& target, const QByteArray& picture)
{
    return borderPainter() && borderPainter()(p, target, picture);
}

int FontPixelHeight(int pointSize, int ppi) { return std::abs(mulDiv(pointSize, ppi, 72)); }

QFont MakeQFont(const TCalFont& f, int pointSize, int ppi)
{
    QFont font(f.name);
    font.setPixelSize(std::max(1, FontPixelHeight(pointSize, ppi)));
    font.setBold(f.bold);
    font.setItalic(f.italic);
    font.setUnderline(f.underline);
    font.setStrikeOut(f.strikeout);
    return font;
}

QString HeaderText(const QString& name, TCalHeadersStyle style)
{
    switch (style) {
    case TCalHeadersStyle::dsFirstChar:
        return name.left(1);
    case TCalHeadersStyle::dsThreeChars:
        return name.left(3);
    case TCalHeadersStyle::dsWhole:
        break;
    }
    return name;
}

void DrawMonthGrid(QPainter& p, const TCalDrawRecord& rec, TDrawnCalendar& out)
{
    int l = rec.rect.Left, t = rec.rect.Top, r = rec.rect.Right, b = rec.rect.Bottom;
    const int ppi = rec.fontPpi;

    // 1. Background (the rectangle less its last column and row lies within it).
    fill(p, l, t, r, b, rec.background);
    r -= 1;
    b -= 1;
    TextPainter text(p);

    // 2. Title band.
    const int titleTop = t + 1;
    const int recordedHeight = truncToInt((b - t) * 0.17);
    out.titleRect = TRect(l, titleTop, r, titleTop + recordedHeight);
    const int titleHeight = std::max(recordedHeight, rec.minTitleHeight);
    const int titleBottom = titleTop + titleHeight;
    fill(p, l, titleTop, r, titleBottom + 1, rec.titleBackground);
    QString title = rec.titleText;
    if (title.isEmpty()) {
        title = monthName(rec, rec.month);
        if (rec.showYear)
            title += QLatin1Char(' ') + QString::number(rec.year);
    }
    const QFont titleFont = MakeQFont(rec.titleFont, rec.titleFont.size, ppi);
    text.draw(qrect(l, titleTop, r, titleBottom), Qt::AlignCenter, title, titleFont, rec.titleFont.color);

    // 3. Day-name band.
    const int cw = (r - l) / 7;
    const int headerTop = titleBottom + 1;
    const int headerHeight = rec.headerBandHeight >= 0 ? rec.headerBandHeight
                                                       : truncToInt(1.5 * FontPixelHeight(rec.headersFont.size, ppi));
    const int headerBottom = headerTop + headerHeight;
    out.headerRect = TRect(l, headerTop, r, headerBottom);
    fill(p, l, headerTop, r, headerBottom + 1, rec.headersBackground);
    drawBorder(p, l, headerTop, r, headerBottom, rec.headersBorder, rec.penWidth);
    text.penChanged();
    const QFont headersFont = MakeQFont(rec.headersFont, rec.headersFont.size, ppi);
    for (int c = 0; c < 7; ++c) {
        const int left = l + c * cw + 1;
        const QString name = rec.dayNames[size_t(DayNameIndexOfColumn(c, rec.startOfWeek) - 1)];
        text.draw(qrect(left, headerTop, left + cw - 2, headerBottom), Qt::AlignCenter, HeaderText(name, rec.headersStyle),
                  headersFont, rec.headersFont.color);
    }

    // 4. Cell lines.
    const int top = headerBottom;
    const int bottom = b;
    const int rh = (bottom - top) / 6;
    auto hy = [&](int k) { return k == 6 ? bottom : top + k * rh; };
    auto vx = [&](int c) { return c == 7 ? r : l + c * cw; };
    blackPen(p, rec.penWidth);
    text.penChanged();
    int firstLine = 0, lastLine = -1;
    switch (rec.cellBorder) {
    case TCalBorderStyle::cbAll:
    case TCalBorderStyle::cbTopBottom:
        firstLine = 0, lastLine = 6;
        break;
    case TCalBorderStyle::cbTop:
        firstLine = 0, lastLine = 5;
        break;
    case TCalBorderStyle::cbBottom:
        firstLine = 1, lastLine = 6;
        break;
    case TCalBorderStyle::cbNone:
        break;
    }
    std::array<QLine, 15> lines;
    size_t lineCount = 0;
    for (int k = firstLine; k <= lastLine; ++k)
        lines[lineCount++] = QLine(l, hy(k), r, hy(k));
    if (rec.cellBorder == TCalBorderStyle::cbAll)
        for (int c = 0; c <= 7; ++c)
            lines[lineCount++] = QLine(vx(c), top, vx(c), bottom);
    if (lineCount > 0)
        p.drawLines(lines.data(), int(lineCount));

    // 5. Day numbers and the cell records.
    const QFont cellFont = MakeQFont(rec.cellFont, rec.cellFont.size, ppi);
    const int nineHeight = rec.freeTopOffset >= 0 ? rec.freeTopOffset : QFontMetrics(cellFont).height();
    const bool upperRight = rec.numberPosition == TCalendarNumberPosition::cnpUpperRight;
    for (int i = 0; i < 6; ++i) {
        for (int c = 0; c < 7; ++c) {
            TCellGeometry& cell = out.cells[size_t(7 * i + c)];
            TRect total(l + c * cw + 1, top + i * rh + 1, l + c * cw + cw - 1, top + i * rh + rh - 1);
            if (upperRight) {
                total.Left += 4;
                total.Right -= 5;
            }
            cell.rTotal = total;
            cell.day = DayOfGridCell(i, c, rec.month, rec.year, rec.startOfWeek);
            if (upperRight) {
                cell.rFree = total;
                cell.rFree.Top += nineHeight;
            } else {
                cell.rFree = TRect();
            }
            if (cell.day > 0)
                text.draw(total.toQRect(), upperRight ? (Qt::AlignRight | Qt::AlignTop) : Qt::AlignCenter,
                          dayNumberText(std::min(cell.day, 31)), cellFont, rec.cellFont.color);
        }
    }

    // 6. Outline.
    drawBorder(p, l, t, r, b, rec.calendarBorder, rec.penWidth);
    out.paintedRect = paintedArea(rec, std::max({b, titleBottom, headerBottom}));
}

QString PlannerTitle(const TCalDrawRecord& rec)
{
    if (!rec.titleText.isEmpty())
        return rec.titleText;
    const QDate first = safeDate(rec.year, rec.month, rec.day);
    const bool dayPlanner = rec.plannerHours > 0 && rec.plannerDays == 0;
    if (dayPlanner)
        return QStringLiteral("%1, %2 %3, %4")
            .arg(rec.dayNames[size_t(dayNameIndex(first) - 1)], monthName(rec, first.month()))
            .arg(first.day())
            .arg(first.year());
    const QDate last = first.addDays(rec.plannerDays - 1);
    if (first.year() == last.year() && first.month() == last.month())
        return QStringLiteral("%1 %2-%3, %4")
            .arg(monthName(rec, first.month()))
            .arg(first.day())
            .arg(last.day())
            .arg(first.year());
    if (first.year() == last.year())
        return QStringLiteral("%1 %2 - %3 %4, %5")
            .arg(monthName(rec, first.month()))
            .arg(first.day())
            .arg(monthName(rec, last.month()))
            .arg(last.day())
            .arg(first.year());
    return QStringLiteral("%1 %2, %3 - %4 %5, %6")
        .arg(monthName(rec, first.month()))
        .arg(first.day())
        .arg(first.year())
        .arg(monthName(rec, last.month()))
        .arg(last.day())
        .arg(last.year());
}

void DrawPlanner(QPainter& p, const TCalDrawRecord& rec, TDrawnCalendar& out)
{
    int l = rec.rect.Left, t = rec.rect.Top, r = rec.rect.Right, b = rec.rect.Bottom;
    const int ppi = rec.fontPpi;
    const bool dayPlanner = rec.plannerDays == 0;
    const int n = dayPlanner ? rec.plannerHours : rec.plannerDays;
    const int rows = n + 1;

    // 1. Background (the rectangle less its last column and row lies within it).
    fill(p, l, t, r, b, clWhite);
    r -= 1;
    b -= 1;
    TextPainter text(p);

    // 2. Title.
    const QFont titleFont = MakeQFont(rec.titleFont, rec.titleFont.size, ppi);
    // The band is as high as the text "Weekly Planner" whatever the title says: one line.
    const int titleHeight = rec.plannerTitleHeight >= 0 ? rec.plannerTitleHeight : QFontMetrics(titleFont).height();
    const TRect title(l + 5, t + 1, r - 5, t + 1 + titleHeight);
    out.titleRect = title;
    out.headerRect = TRect();
    text.draw(title.toQRect(), Qt::AlignCenter, PlannerTitle(rec), titleFont, rec.titleFont.color);

    // 3. Box and label column.
    const int boxTop = title.Bottom + 1;
    const int boxBottom = b;
    const int rh = (boxBottom - boxTop) / rows;
    const int lx = l + truncToInt(0.15 * (r - l));
    p.setBrush(Qt::white);
    blackPen(p, rec.penWidth);
    p.drawRect(QRect(l, boxTop, r - l - 1, boxBottom - boxTop - 1));
    p.setBrush(Qt::NoBrush);
    text.penChanged();
    fill(p, l + 1, boxTop + 1, lx, boxBottom - 1, rec.headersBackground);

    // 4. Labels.
    const QFont headersFont = MakeQFont(rec.headersFont, rec.headersFont.size, ppi);
    const QDate first = safeDate(rec.year, rec.month, rec.day);
    for (int i = 0; i < rows; ++i) {
        const int upperTop = boxTop + rh * i + 1;
        const int half = rh / 2;
        const QRect upper = qrect(l + 1, upperTop, lx, upperTop + half);
        const QRect lower = qrect(l + 1, upperTop + half, lx, upperTop + 2 * half);
        QString upperText, lowerText;
        int upperFlags = Qt::AlignHCenter | Qt::AlignBottom;
        if (i == rows - 1) {
            upperText = QStringLiteral("Notes");
        } else if (!dayPlanner) {
            const QDate d = first.addDays(i);
            upperText = HeaderText(rec.dayNames[size_t(dayNameIndex(d) - 1)], rec.headersStyle);
            lowerText = QString::number(d.day()) + QLatin1Char(' ') + monthName(rec, d.month()).left(3);
        } else {
            // Each hour is added as 60 × 0.000694445 of a day, as the page always did.
            const double dayFraction = (rec.startingTime.msecsSinceStartOfDay() / 86400000.0) + i * 60 * 0.000694445;
            const double frac = dayFraction - std::floor(dayFraction);
            const int totalSeconds = truncToInt(frac * 86400.0 + 1e-6);
            const int hour = (totalSeconds / 3600) % 24;
            const int minute = (totalSeconds / 60) % 60;
            const int h12 = hour % 12 == 0 ? 12 : hour % 12;
            upperText = QStringLiteral("%1:%2 %3")
                            .arg(h12)
                            .arg(minute, 2, 10, QLatin1Char('0'))
                            .arg(hour < 12 ? LocaleAmString() : LocalePmString());
        }
        text.draw(upper, upperFlags, upperText, headersFont, rec.headersFont.color);
        if (!lowerText.isEmpty())
            text.draw(lower, Qt::AlignHCenter | Qt::AlignTop, lowerText, headersFont, rec.headersFont.color);
    }

    // 5. Lines, ending on the outline (its right and bottom edges are r - 1 and
    // boxBottom - 1: the outline's rectangle excludes its right and bottom).
    blackPen(p, rec.penWidth);
    line(p, lx, boxTop, lx, boxBottom - 1);
    for (int k = 1; k <= rows - 1; ++k)
        line(p, l, boxTop + rh * k, r - 1, boxTop + rh * k);

    // 6. Rows as cells.
    for (auto& cell : out.cells)
        cell = TCellGeometry();
    for (int i = 0; i < rows && i < 42; ++i) {
        TCellGeometry& cell = out.cells[size_t(i)];
        const int bottomEdge = (i == rows - 1) ? boxBottom - 4 : boxTop + rh * (i + 1) - 4;
        cell.rTotal = TRect(lx + 4, boxTop + rh * i + 4, r - 4, bottomEdge);
        cell.rFree = cell.rTotal;
        cell.day = (!dayPlanner && i < n) ? first.addDays(i).day() : 0;
    }
    out.paintedRect = paintedArea(rec, std::max(b, boxTop));
}

TCalDrawRecord MainDrawRecord(const TCalendarPage& page, float zoom)
{
    const TCalendarSettings& s = page.settings();
    TCalDrawRecord rec;
    rec.background = clWhite;
    rec.titleBackground = s.TitleBGColor;
    rec.minTitleHeight = truncToInt(page.ppi() * 1.5 * double(zoom));
    rec.month = s.MainCalMonth;
    rec.year = s.MainCalYear;
    rec.day = s.MainCalDay;
    rec.rect = page.layoutGeometry().MainCalendarRect.scaled(zoom);
    rec.numberPosition = s.NumberPosition;
    rec.startOfWeek = s.StartOfWeek;
    rec.calendarBorder = s.CalendarBorder;
    rec.titleFont = scaledFont(s.TitleFont, zoom);
    rec.showYear = s.TitleShowYear;
    rec.headersFont = scaledFont(s.HeadersFont, zoom);
    rec.headersBorder = s.HeadersBorder;
    rec.headersStyle = s.HeadersStyle;
    rec.headersBackground = s.HeadersBGColor;
    rec.cellFont = scaledFont(s.CellFont, zoom);
    rec.cellBorder = s.CellBorder;
    rec.monthNames = s.MonthNames;
    rec.dayNames = s.DayNames;
    rec.startingTime = s.StartingTime;
    rec.titleText = s.UserTitle;
    rec.fontPpi = page.ppi();
    switch (s.CalendarLayout) {
    case TCalendarLayout::loWeek: rec.plannerDays = 7, rec.plannerHours = 0; break;
    case TCalendarLayout::lo2Week: rec.plannerDays = 14, rec.plannerHours = 0; break;
    case TCalendarLayout::loDay10: rec.plannerDays = 0, rec.plannerHours = 10; break;
    case TCalendarLayout::loDay15: rec.plannerDays = 0, rec.plannerHours = 15; break;
    default: break;
    }
    return rec;
}

TCalDrawRecord MiniDrawRecord(const TCalendarPage& page, float zoom)
{
    const TCalendarSettings& s = page.settings();
    TCalDrawRecord rec;
    rec.background = s.MiniCalBGColor;
    rec.titleBackground = s.MiniCalBGColor;
    rec.minTitleHeight = 0;
    rec.numberPosition = TCalendarNumberPosition::cnpCenter;
    rec.startOfWeek = s.StartOfWeek;
    rec.calendarBorder = s.MiniCalBorder;
    rec.titleFont = scaledFont(s.MiniTitleFont, zoom);
    rec.showYear = s.MiniShowYear;
    rec.headersFont = scaledFont(s.MiniHeadersFont, zoom);
    rec.headersBorder = s.MiniHeadersBorder;
    rec.headersStyle = s.MiniHeadersStyle;
    rec.headersBackground = s.MiniHeadersBGColor;
    rec.cellFont = scaledFont(s.MiniCellFont, zoom);
    rec.cellBorder = s.MiniCellBorder;
    rec.monthNames = s.MonthNames;
    rec.dayNames = s.DayNames;
    rec.fontPpi = page.ppi();
    return rec;
}

void DrawMoreTextMark(QPainter& p, const QRect& area, float zoom)
{
    const int size = std::clamp(truncToInt(8.0 * double(zoom)), 5, 12);
    if (area.width() < 2 * size || area.height() < 2 * size)
        return;
    // One pixel in from the cell's lines, on a white rim that sets it off from a glyph
    // it may touch.
    const QPointF corner(area.right(), area.bottom());
    auto triangle = [&](qreal side, const QColor& color) {
        const QPointF points[] = {corner, corner - QPointF(side, 0), corner - QPointF(0, side)};
        p.setBrush(color);
        p.drawPolygon(points, 3);
    };
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    triangle(size + 2.5, Qt::white);
    triangle(size, QColor(96, 96, 96));
    p.restore();
}

void PaintCalendarPage(QPainter& p, TCalendarPage& page, float zoom, const CellTextPainter& cellText,
                       TPageTarget target, GridImageCache* grids)
{
    const TLayoutGeometry& g = page.layoutGeometry();
    const TCalendarSettings& s = page.settings();
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    // Kept pixels serve drawings on an image only: PDF and printed pages draw as ever.
    if (!rasterTargetOf(p))
        grids = nullptr;
    auto drawGrid = [&](GridImageCache::Kind kind, const TCalDrawRecord& rec, TDrawnCalendar& out) {
        if (grids)
            grids->draw(p, kind, rec, out);
        else
            GridImageCache::drawUncached(p, kind, rec, out);
    };
    const bool plannerLayout = int(s.CalendarLayout) >= 18;
    const bool mainShown = plannerLayout || g.ShowMainCalendar;

    // 1. The white sheet; on an image, not where a calendar fills its rectangle anyway.
    QRegion sheet(QRect(0, 0, truncToInt(g.PageWidthPx * double(zoom)), truncToInt(g.PageHeightPx * double(zoom))));
    if (grids) {
        if (mainShown)
            sheet -= MainDrawRecord(page, zoom).rect.toQRect();
        for (int i = 0; g.ShowMiniCalendars && i < page.MiniCount() && i < int(g.minis.size()); ++i)
            sheet -= g.minis[size_t(i)].rect.scaled(zoom).toQRect();
    }
    for (const QRect& r : sheet)
        p.fillRect(r, Qt::white);

    // 2. Special border; a picture that fails to draw leaves the rest of the page intact.
    if (!s.WMFBorderFile.isEmpty() && !page.borderPicture().isEmpty() && borderPainter()) {
        const TRect m = g.MarginRect.scaled(zoom);
        p.save();
        borderPainter()(p, QRectF(m.Left, m.Top, m.width(), m.height()), page.borderPicture());
        p.restore();
    }

    // 3. Main calendar or planner, then its cell texts.
    TDrawnCalendar& drawn = page.drawn();
    if (plannerLayout) {
        const TCalDrawRecord rec = MainDrawRecord(page, zoom);
        drawGrid(GridImageCache::Kind::Planner, rec, drawn);
        if (cellText) {
            const int rows = (rec.plannerDays == 0 ? rec.plannerHours : rec.plannerDays) + 1;
            for (int i = 1; i <= rows; ++i) {
                const TCellGeometry& c = drawn.cells[size_t(i - 1)];
                const TWPRtfStorage* store = page.CellStorage(i);
                const bool weekPlanner = rec.plannerDays > 0;
                if (weekPlanner && (!store || store->isEmpty()))
                    continue;
                if (c.rFree.isNull() || c.rFree.width() <= 0 || c.rFree.height() <= 0)
                    continue;
                cellText(p, i, c.rFree, target);
            }
        }
    } else if (g.ShowMainCalendar) {
        drawGrid(GridImageCache::Kind::Month, MainDrawRecord(page, zoom), drawn);
        if (cellText)
            for (int i = 1; i <= TCalendarPage::kCellCount; ++i) {
                const TCellGeometry& c = drawn.cells[size_t(i - 1)];
                if (!c.rFree.isNull())
                    cellText(p, i, c.rFree, target);
            }
    }

    // 5. Minis.
    if (g.ShowMiniCalendars) {
        TCalDrawRecord rec = MiniDrawRecord(page, zoom);
        TDrawnCalendar scratch;
        for (int i = 0; i < page.MiniCount() && i < int(g.minis.size()); ++i) {
            rec.month = g.minis[size_t(i)].month;
            rec.year = g.minis[size_t(i)].year;
            rec.rect = g.minis[size_t(i)].rect.scaled(zoom);
            drawGrid(GridImageCache::Kind::Month, rec, scratch);
        }
    }
    if (grids)
        grids->pageDrawn();
    p.restore();
}
