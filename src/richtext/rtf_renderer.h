#pragma once
#include "richtext/rtf_storage.h"

#include <QColor>
#include <QRect>
#include <memory>

class QPainter;
class QTextDocument;

// Screen mode draws for the monitor; print mode adds smooth picture scaling and
// full antialiasing for printers, PDF and metafiles. The layout is the same in both.
enum class TWPDisplayMode { Screen, Print };

// Fills rect with the background, then draws the storage's whole text clipped to rect
// at zoomPercent. The text is laid out at the width rect has at 100 % (rect.width() ×
// 100 ÷ zoomPercent), with zero margins and point sizes at ScreenPPI(), so the line
// breaks are the same at every zoom. Parsed documents are cached.
void RenderRtfToRect(QPainter& painter, const QRect& rect, const TWPRtfStorage& storage, int zoomPercent,
                     TWPDisplayMode mode = TWPDisplayMode::Screen, const QColor& background = Qt::white);

// The same with the page width given in twips (a label or editor page) instead of
// being derived from the rectangle.
void RenderRtfToRectTwips(QPainter& painter, const QRect& rect, const TWPRtfStorage& storage, int zoomPercent,
                          int pageWidthTwips, TWPDisplayMode mode = TWPDisplayMode::Screen,
                          const QColor& background = Qt::white);

// A document laid out for drawing at 100 %: pictures installed, zero margin, design
// metrics, fonts at ScreenPPI(), text width layoutWidth pixels.
std::shared_ptr<QTextDocument> CreateLayoutDocument(const QByteArray& rtf, qreal layoutWidth);

// The parsed-document cache behind RenderRtfToRect (one per thread of use: the GUI).
class TWPRtfDocumentCache {
public:
    static TWPRtfDocumentCache& instance();
    std::shared_ptr<QTextDocument> document(const QByteArray& rtf, qreal layoutWidth);
    void clear();
    int size() const;
    int hits() const { return m_hits; }
    int misses() const { return m_misses; }
    void setCapacity(int entries);

private:
    TWPRtfDocumentCache();
    struct Impl;
    std::shared_ptr<Impl> d;
    int m_hits = 0;
    int m_misses = 0;
};
