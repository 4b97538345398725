#pragma once
#include "richtext/rtf_renderer.h"

#include <memory>

// Rich texts drawn on an image, kept as the pixels they gave: drawing the same text again at
// the same size copies them instead of laying out and rasterising the glyphs once more (the
// way a document viewer keeps its rendered pages). A copy is used only where it gives exactly
// what drawing would: a painter on a 32-bit QImage with no clip, no transform other than a
// move by whole pixels, full opacity and an opaque background. Any other painter (PDF,
// printers, scaled views) is drawn on as RenderRtfToRect always did.
class TWPRtfImageCache {
public:
    explicit TWPRtfImageCache(qsizetype maxBytes = qsizetype(96) << 20);
    ~TWPRtfImageCache();
    TWPRtfImageCache(const TWPRtfImageCache&) = delete;
    TWPRtfImageCache& operator=(const TWPRtfImageCache&) = delete;
    TWPRtfImageCache(TWPRtfImageCache&&) noexcept;
    TWPRtfImageCache& operator=(TWPRtfImageCache&&) noexcept;

    // Draws as RenderRtfToRect does.
    TWPRenderResult render(QPainter& painter, const QRect& rect, const TWPRtfStorage& storage, int zoomPercent,
                           TWPDisplayMode mode = TWPDisplayMode::Screen, const QColor& background = Qt::white);

    // Forgets the texts not drawn since the last sweep (a page sweeps after each drawing, so
    // that only the texts it shows are kept).
    void sweep();
    void clear();
    int size() const;
    qsizetype bytes() const;
    int hits() const { return m_hits; }
    int misses() const { return m_misses; }

private:
    struct Impl;
    std::unique_ptr<Impl> d;
    int m_hits = 0;
    int m_misses = 0;
};
