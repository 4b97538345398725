#include "handle_geometry.h"

#include <algorithm>
#include <cstdlib>

namespace handlegeom {

int zoneAt(QPoint p, QSize size)
{
    const int x = p.x(), y = p.y(), w = size.width(), h = size.height();
    auto near = [](int a, int limit) { return std::abs(a) < limit; };
    int zone = zMove;
    if (near(x, 8) && near(y, 8))
        zone = zTopLeft;
    if (near(x - w, 8) && near(y - h, 8))
        zone = zBottomRight;
    if (near(x - w, 8) && near(y, 8))
        zone = zTopRight;
    if (near(x, 8) && near(y - h, 8))
        zone = zBottomLeft;
    if (near(x - w / 2, 6) && near(y, 8))
        zone = zTop;
    if (near(x - w / 2, 6) && near(y - h, 8))
        zone = zBottom;
    if (near(y - h / 2, 6) && near(x, 8))
        zone = zLeft;
    if (near(y - h / 2, 6) && near(x - w, 8))
        zone = zRight;
    return zone;
}

QRect resizedRect(const QRect& b, int zone, QPoint delta, int gridX, int gridY)
{
    gridX = std::max(1, gridX);
    gridY = std::max(1, gridY);
    // Integer division truncates toward zero, as the legacy div did.
    auto snapX = [gridX](int v) { return (v / gridX) * gridX; };
    auto snapY = [gridY](int v) { return (v / gridY) * gridY; };
    const int L = b.left(), T = b.top(), W = b.width(), H = b.height();
    const int dx = delta.x(), dy = delta.y();
    int l = L, t = T, w = W, h = H;
    switch (zone) {
    case zMove:
        l = snapX(L + dx);
        t = snapY(T + dy);
        break;
    case zTopLeft:
        l = snapX(L + dx);
        t = snapY(T + dy);
        w = W + L - l;
        h = H + T - t;
        break;
    case zTopRight:
        t = snapY(T + dy);
        w = snapX(W + dx) - 1;
        h = H + T - t;
        break;
    case zBottomLeft:
        l = snapX(L + dx);
        w = W + L - l;
        h = snapY(H + dy) - 1;
        break;
    case zBottomRight:
        w = snapX(W + dx) - 1;
        h = snapY(H + dy) - 1;
        break;
    case zTop:
        t = snapY(T + dy);
        h = H + T - t;
        break;
    case zLeft:
        l = snapX(L + dx);
        w = W + L - l;
        break;
    case zBottom:
        h = snapY(H + dy) - 1;
        break;
    case zRight:
        w = snapX(W + dx) - 1;
        break;
    default:
        break;
    }
    return QRect(l, t, std::max(5, w), std::max(5, h));
}

QPoint clampToPanel(QPoint p, QPoint controlPos, QSize panel)
{
    const int x = std::clamp(controlPos.x() + p.x(), 0, std::max(0, panel.width())) - controlPos.x();
    const int y = std::clamp(controlPos.y() + p.y(), 0, std::max(0, panel.height())) - controlPos.y();
    return QPoint(x, y);
}

namespace {
QRect boxAround(const QList<QRect>& objects, int extra)
{
    if (objects.isEmpty())
        return QRect();
    int minL = objects.first().left(), minT = objects.first().top();
    int maxR = minL + objects.first().width(), maxB = minT + objects.first().height();
    for (const QRect& r : objects) {
        minL = std::min(minL, r.left());
        minT = std::min(minT, r.top());
        maxR = std::max(maxR, r.left() + r.width());
        maxB = std::max(maxB, r.top() + r.height());
    }
    return QRect(minL - 2, minT - 2, maxR - minL + extra, maxB - minT + extra);
}
} // namespace

QRect selectionBox(const QList<QRect>& objects) { return boxAround(objects, 5); }
QRect refitBox(const QList<QRect>& objects) { return boxAround(objects, 6); }

QList<QRect> selectionSquares(const QRect& o, bool single)
{
    // R's right and bottom are exclusive, as the squares' are.
    const int rl = o.left() - 2, rt = o.top() - 2;
    const int rr = o.left() + o.width() + 2, rb = o.top() + o.height() + 2;
    auto sq = [](int l, int t, int r, int b) { return QRect(l, t, r - l, b - t); };
    QList<QRect> out{sq(rl, rt, rl + 5, rt + 5), sq(rr - 5, rt, rr, rt + 5), sq(rr - 5, rb - 5, rr, rb),
                     sq(rl, rb - 5, rl + 5, rb)};
    if (single) {
        const int h = (rr - rl) / 2, v = (rb - rt) / 2;
        out << sq(rl + h - 2, rt, rl + h + 3, rt + 5) << sq(rl + h - 2, rb - 5, rl + h + 3, rb)
            << sq(rl, rt + v - 2, rl + 5, rt + v + 3) << sq(rr - 5, rt + v - 2, rr, rt + v + 3);
    }
    return out;
}

Outline outlineFor(const QRect& b)
{
    return Outline{b.left() + 2, b.top() + 2, b.left() + b.width() - 3, b.top() + b.height() - 3};
}

QRect boundsFor(const Outline& o) { return QRect(o.Left - 2, o.Top - 2, o.Right - o.Left + 5, o.Bottom - o.Top + 5); }

Outline nudged(const Outline& o, NudgeKey key, bool sizing, QSize panel)
{
    Outline n = o;
    const int w = o.Right - o.Left + 1, h = o.Bottom - o.Top + 1;
    switch (key) {
    case NudgeKey::Left:
        if (sizing) {
            if (w > 10)
                --n.Right;
        } else if (o.Left > 0) {
            --n.Left;
            --n.Right;
        }
        break;
    case NudgeKey::Up:
        if (sizing) {
            if (h > 10)
                --n.Bottom;
        } else if (o.Top > 0) {
            --n.Top;
            --n.Bottom;
        }
        break;
    case NudgeKey::Right:
        if (panel.width() >= o.Left + w) {
            ++n.Right;
            if (!sizing)
                ++n.Left;
        }
        break;
    case NudgeKey::Down:
        if (panel.height() >= o.Top + h) {
            ++n.Bottom;
            if (!sizing)
                ++n.Top;
        }
        break;
    }
    return n;
}

} // namespace handlegeom
