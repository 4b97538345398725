#include "flat_calendar_drawing.h"

#include "platform/numeric.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cstdint>

namespace {
const QColor kLineColor(0, 0, 0);

// Fills the pixels from (l, t) up to but not including (r, b); nothing when empty.
void fillEdges(QPainter& p, int l, int t, int r, int b, TColor color)
{
    if (r > l && b > t)
        p.fillRect(QRect(l, t, r - l, b - t), toQColor(color));
}

// A one-pixel line that, like a pen line on the screen, leaves out its end point.
// Drawn as a thin filled rectangle so the screen shows exactly those pixels and a
// printed page keeps a sharp line.
void lineTo(QPainter& p, int x1, int y1, int x2, int y2)
{
    if (y1 == y2 && x1 != x2) {
        const int from = x1 < x2 ? x1 : x2 + 1;
        p.fillRect(QRect(from, y1, std::abs(x2 - x1), 1), kLineColor);
    } else if (x1 == x2 && y1 != y2) {
        const int from = y1 < y2 ? y1 : y2 + 1;
        p.fillRect(QRect(x1, from, 1, std::abs(y2 - y1)), kLineColor);
    }
}

// One line of text centred both ways in (l, t, r, b), clipped to it.
void drawCentred(QPainter& p, const TFlatCalRect& r, const QString& text)
{
    if (r.Right <= r.Left || r.Bottom <= r.Top || text.isEmpty())
        return;
    p.drawText(QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top), Qt::AlignCenter | Qt::TextSingleLine, text);
}

void selectFont(QPainter& p, const TObjectFont& f, int ppi)
{
    p.setFont(f.toQFont(1.0f, ppi));
    p.setPen(toQColor(f.Color));
}

std::int64_t floorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }
} // namespace

TFlatCalAreas flatCalendarAreas(int w, int h, int depth, float zoom, TFlatShadowPosition position, bool transparent)
{
    if (depth < 1 || transparent)
        return {{0, 0, w, h}, std::nullopt};
    const int a = truncToInt(double(depth) * double(zoom));
    switch (position) {
    case TFlatShadowPosition::fcpLowerLeft: return {{a, 0, w, h - a}, TFlatCalRect{0, a, w - a, h}};
    case TFlatShadowPosition::fcpUpperRight: return {{0, a, w - a, h}, TFlatCalRect{a, 0, w, h - a}};
    case TFlatShadowPosition::fcpUpperLeft: return {{a, a, w, h}, TFlatCalRect{0, 0, w - a, h - a}};
    case TFlatShadowPosition::fcpLowerRight: break;
    }
    return {{0, 0, w - a, h - a}, TFlatCalRect{a, a, w, h}};
}

int weekdayOfFirst(int year, int month)
{
    if (month < 1 || month > 12)
        return 1;
    // Sakamoto's method with floor division, so years before 1 work too.
    static constexpr std::array<int, 12> offsets{0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    std::int64_t y = year;
    if (month < 3)
        --y;
    const std::int64_t d = y + floorDiv(y, 4) - floorDiv(y, 100) + floorDiv(y, 400) + offsets[size_t(month - 1)] + 1;
    return int(d - floorDiv(d, 7) * 7) + 1;
}

int daysInMonth(int year, int month)
{
    static constexpr std::array<int, 12> days{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    return month == 2 && leap ? 29 : days[size_t(month - 1)];
}

int weekdayColumn(int weekday, int firstDayOfWeek)
{
    if (firstDayOfWeek == 1)
        return weekday;
    return weekday == 1 ? 7 : weekday - 1;
}

QString shortDayName(const QString& name, TFlatCalHeadersStyle style)
{
    switch (style) {
    case TFlatCalHeadersStyle::fdsFirstChar: return name.left(1);
    case TFlatCalHeadersStyle::fdsThreeChars: return name.left(3);
    case TFlatCalHeadersStyle::fdsWhole: break;
    }
    return name;
}

TObjectFont zoomedFont(const TObjectFont& font, float zoom, int ppi)
{
    TObjectFont f = font;
    f.SetSize(truncToInt(double(font.Size(ppi)) * double(zoom)), ppi);
    return f;
}

void DrawBandBorder(QPainter& p, const TFlatCalRect& r, TFlatCalBorderStyle style)
{
    const bool top = style == TFlatCalBorderStyle::fcbTop || style == TFlatCalBorderStyle::fcbTopBottom;
    const bool bottom = style == TFlatCalBorderStyle::fcbBottom || style == TFlatCalBorderStyle::fcbTopBottom;
    if (style == TFlatCalBorderStyle::fcbAll) {
        // The closed outline: each side leaves out its end, which the next side draws.
        lineTo(p, r.Left, r.Top, r.Right, r.Top);
        lineTo(p, r.Right, r.Top, r.Right, r.Bottom);
        lineTo(p, r.Right, r.Bottom, r.Left, r.Bottom);
        lineTo(p, r.Left, r.Bottom, r.Left, r.Top);
        return;
    }
    if (top)
        lineTo(p, r.Left, r.Top, r.Right, r.Top);
    if (bottom)
        lineTo(p, r.Left, r.Bottom, r.Right, r.Bottom);
}

void DrawMonth(QPainter& p, TFlatCalDrawParams& b, int ppi)
{
    const TFlatCalRect& P = b.CalendarRect;
    const int c1 = weekdayColumn(weekdayOfFirst(b.Year, b.Month), b.FirstDayOfWeek);
    const int n = daysInMonth(b.Year, b.Month);
    const TFlatCalRect R{P.Left, P.Top, P.Right - 1, P.Bottom - 1};
    if (!b.Transparent)
        fillEdges(p, P.Left, P.Top, P.Right, P.Bottom, clWhite);

    // Title band: 17 % of the height, never lower than its text.
    selectFont(p, b.TitleFont, ppi);
    TFlatCalRect T{R.Left, R.Top, R.Right, R.Top + (17 * (R.Bottom - R.Top)) / 100};
    b.TitleTextHeight = QFontMetrics(p.font()).height();
    if (T.Bottom - T.Top < b.TitleTextHeight)
        T.Bottom = T.Top + b.TitleTextHeight;
    b.TitleRect = T;
    if (!b.Transparent)
        fillEdges(p, T.Left, T.Top, T.Right + 1, T.Bottom, b.TitleColor);
    QString title = b.TitleText;
    if (title.isEmpty() && b.Month >= 1 && b.Month <= b.MonthNames.size()) {
        title = b.MonthNames[b.Month - 1];
        if (b.ShowYear)
            title += QLatin1Char(' ') + QString::number(b.Year);
    }
    drawCentred(p, T, title);

    // Day-name band: one and a half times the day-name font's height.
    const int cw = (R.Right - R.Left) / 7;
    selectFont(p, b.DayNameFont, ppi);
    const TFlatCalRect D{R.Left, T.Bottom, R.Right, T.Bottom + (3 * std::abs(b.DayNameFont.Height)) / 2};
    b.DayNameRect = D;
    if (!b.Transparent) {
        fillEdges(p, D.Left, D.Top, D.Right, D.Bottom + 1, b.DayNameColor);
        fillEdges(p, R.Left, D.Bottom, P.Right, P.Bottom, b.BodyColor);
    }
    DrawBandBorder(p, D, b.DayNameBorderStyle);
    for (int i = 0; i < 7; ++i) {
        const int day = b.FirstDayOfWeek == 1 ? i + 1 : (i < 6 ? i + 2 : 1);
        const QString name = day <= b.DayNames.size() ? b.DayNames[day - 1] : QString();
        const int left = R.Left + i * cw + 1;
        drawCentred(p, {left, D.Top, left + cw - 2, D.Bottom}, shortDayName(name, b.DayNameStyle));
    }

    // Six rows of numbers with the cell grid.
    selectFont(p, b.CellFont, ppi);
    const int y0 = D.Bottom;
    const int rh = (R.Bottom - y0) / 6;
    int firstLine = 0, lastLine = -1;
    switch (b.CellBorderStyle) {
    case TFlatCalBorderStyle::fcbAll:
    case TFlatCalBorderStyle::fcbTopBottom: lastLine = 6; break;
    case TFlatCalBorderStyle::fcbTop: lastLine = 5; break;
    case TFlatCalBorderStyle::fcbBottom: firstLine = 1, lastLine = 6; break;
    case TFlatCalBorderStyle::fcbNone: break;
    }
    for (int j = firstLine; j <= lastLine; ++j) {
        const int y = j == 6 ? R.Bottom : y0 + j * rh;
        lineTo(p, R.Left, y, R.Right, y);
    }
    if (b.CellBorderStyle == TFlatCalBorderStyle::fcbAll) {
        for (int i = 0; i <= 6; ++i)
            lineTo(p, R.Left + i * cw, y0, R.Left + i * cw, R.Bottom);
        lineTo(p, R.Right, y0, R.Right, R.Bottom);
    }
    for (int j = 0; j < 6; ++j)
        for (int i = 0; i < 7; ++i) {
            const int k = i + 7 * j - c1 + 2;
            if (k < 1 || k > n)
                continue;
            const int left = R.Left + i * cw + 1;
            const int top = y0 + j * rh + 1;
            drawCentred(p, {left, top, left + cw - 2, y0 + j * rh + rh}, QString::number(k));
        }

    DrawBandBorder(p, R, b.CalendarBorderStyle);
}
