#pragma once
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

// The arithmetic of the sizing-handle control, as pure functions: which handle a point
// hits, the bounds a drag produces, the selection box and its squares, and nudging.
// Rectangles are QRect (left, top, width, height) in panel pixels unless said otherwise.
namespace handlegeom {

// Zones: 0 moves; 1..8 are the handles.
enum Zone { zMove = 0, zTopLeft = 1, zTopRight = 2, zBottomLeft = 3, zBottomRight = 4,
            zTop = 5, zLeft = 6, zBottom = 7, zRight = 8 };

// The handle under p (control coordinates) for a control of the given size. Tests run in
// a fixed order and a later match overrides an earlier one, so on a tiny box the edge
// handles win over the corners and the right/bottom ones over the left/top ones.
int zoneAt(QPoint p, QSize size);

// The control's new bounds after a drag by delta in a zone, snapped to the grid
// (spacing 1 = no snapping). Dragged right and bottom edges lose one pixel; no side
// falls below 5.
QRect resizedRect(const QRect& bounds, int zone, QPoint delta, int gridX = 1, int gridY = 1);

// A drag point (control coordinates) clamped so that it stays on the panel.
QPoint clampToPanel(QPoint p, QPoint controlPos, QSize panel);

// The control's box around objects as selecting builds it: 2 pixels more on the left
// and top, 3 more on the right and bottom than their union.
QRect selectionBox(const QList<QRect>& objects);
// The box after a re-fit: one pixel wider and higher than selectionBox.
QRect refitBox(const QList<QRect>& objects);

// The squares drawn around one selected object: four corners, plus the four edge
// middles when it is the only one selected. Panel coordinates.
QList<QRect> selectionSquares(const QRect& object, bool single);

// An outline as the legacy code held it: Right and Bottom are the far edges as passed
// to a rectangle call (exclusive when drawn).
struct Outline {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool operator==(const Outline&) const = default;
    QRect toRect() const { return QRect(QPoint(Left, Top), QPoint(Right - 1, Bottom - 1)); }
};

// The outline drawn for bounds during a drag or at the start of a nudge.
Outline outlineFor(const QRect& bounds);
// The bounds an outline stands for when a nudge ends.
QRect boundsFor(const Outline& o);

enum class NudgeKey { Left, Up, Right, Down };
// One arrow key: moves the outline by a pixel, or when sizing moves its right or bottom
// edge; never makes it narrower or lower than 10 pixels, never moves it off the panel.
Outline nudged(const Outline& o, NudgeKey key, bool sizing, QSize panel);

} // namespace handlegeom
