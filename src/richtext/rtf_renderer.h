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

// What a drawing of rich text showed.
struct TWPRenderResult {
    bool textContinues = false; // text lies beyond the rectangle and was not drawn
};

// Fills rect with the background, then draws the storage's text at zoomPercent: the
// whole lines that fit in rect, nothing of a line that does not. The text is laid out
// at the width rect has at 100 % (rect.width() × 100 ÷ zoomPercent), with zero margins
// and point sizes at ScreenPPI(), so the line breaks are the same at every zoom. Only
// the start of a text that can show in rect is read and laid out, so a huge text costs
// no more than a small one. Laid-out documents are cached.
TWPRenderResult RenderRtfToRect(QPainter& painter, const QRect& rect, const TWPRtfStorage& storage, int zoomPercent,
                                TWPDisplayMode mode = TWPDisplayMode::Screen, const QColor& background = Qt::white);

// The same with the page width given in twips (a label or editor page) instead of
// being derived from the rectangle.
TWPRenderResult RenderRtfToRectTwips(QPainter& painter, const QRect& rect, const TWPRtfStorage& storage,
                                     int zoomPercent, int pageWidthTwips,
                                     TWPDisplayMode mode = TWPDisplayMode::Screen,
                                     const QColor& background = Qt::white);

// A document laid out for drawing at 100 %: pictures installed, zero margin, design
// metrics, fonts at ScreenPPI(), text width layoutWidth pixels.
std::shared_ptr<QTextDocument> CreateLayoutDocument(const QByteArray& rtf, qreal layoutWidth);

// The start of a text laid out like CreateLayoutDocument: as much as can show in a box
// of layoutWidth × height pixels (at 100 %), and whether text was left out.
struct TWPBoundedLayout {
    std::shared_ptr<QTextDocument> doc;
    bool cutShort = false;
    qreal height = 0; // the box height the start was chosen for
};
TWPBoundedLayout CreateBoundedLayout(const QByteArray& rtf, qreal layoutWidth, qreal height);

// The laid-out documents behind RenderRtfToRect, one cache per thread: a document and the
// font engines its layout holds belong to the thread that made them.
class TWPRtfDocumentCache {
public:
    static TWPRtfDocumentCache& instance();
    // A layout of rtf that covers a box of height pixels at 100 %.
    TWPBoundedLayout layout(const QByteArray& rtf, qreal layoutWidth, qreal height);
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
