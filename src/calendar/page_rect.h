#pragma once
#include <QRect>

// A rectangle as the page geometry is specified: left, top, right, bottom, with the
// right and bottom edges exclusive for hit tests (a point on them is outside).
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    constexpr TRect() = default;
    constexpr TRect(int l, int t, int r, int b) : Left(l), Top(t), Right(r), Bottom(b) {}

    int width() const { return Right - Left; }
    int height() const { return Bottom - Top; }
    bool isNull() const { return Left == 0 && Top == 0 && Right == 0 && Bottom == 0; }
    bool contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
    // The same pixels as a QRect (QRect's right/bottom are inclusive).
    QRect toQRect() const { return QRect(QPoint(Left, Top), QPoint(Right - 1, Bottom - 1)); }
    // The rectangle with its coordinates scaled and truncated toward zero.
    TRect scaled(float zoom) const;

    bool operator==(const TRect&) const = default;
};
