#pragma once
#include <QRect>
#include <QRectF>
#include <QSizeF>
#include <functional>

class QPainter;

// The page of a report: a painter on a printer or PDF page whose device pixels ("dots")
// count from the paper's corner, with conversions from inches. Knows nothing of what
// is drawn on it.
class TReportCanvas {
public:
    TReportCanvas(QPainter& painter, int xdpi, int ydpi, std::function<void()> newPage);

    QPainter& painter() { return m_painter; }
    int XDPI() const { return m_xdpi; }
    int YDPI() const { return m_ydpi; }
    // 1-based number of the page being drawn.
    int PageNumber() const { return m_page; }

    // Inches to dots, truncated toward zero.
    int XD(double inches) const;
    int YD(double inches) const;
    // Each edge converted on its own, so neighbouring rectangles share their edges.
    QRect RectToDots(const QRectF& inches) const;

    // The height in inches of a font of the given point size (its em height).
    static double FontHeightInches(int pointSize) { return pointSize / 72.0; }
    // A pen width: dots when positive, hundredths of an inch when negative.
    int PenWidthDots(int width) const;

    // Maps a picture of sourceSize pixels into an inch rectangle and calls paint with the
    // painter so transformed (saved and restored around the call).
    void StretchDraw(const QRectF& inches, const QSizeF& sourceSize, const std::function<void(QPainter&)>& paint);

    // Ends the page and starts the next one.
    void NewPage();

private:
    QPainter& m_painter;
    int m_xdpi;
    int m_ydpi;
    int m_page = 1;
    std::function<void()> m_newPage;
};
