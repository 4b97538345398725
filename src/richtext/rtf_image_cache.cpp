#include "rtf_image_cache.h"

#include "imaging/raster_target.h"
#include "platform/screen_ppi.h"

#include <QCache>
#include <QPainter>

namespace {

// Everything the pixels of a drawn text depend on. The bytes are held, not copied: while a key
// holds them they cannot change in place (a writer detaches first), so the same buffer means
// the same text, and comparing buffers costs nothing however long the text. Equal texts in
// different buffers merely get entries of their own.
struct ImageKey {
    QByteArray rtf;
    QSize size;
    int zoomPercent = 100;
    TWPDisplayMode mode = TWPDisplayMode::Screen;
    QRgb background = 0;
    int screenPpi = 0;
    RasterTarget::Look look;

    bool operator==(const ImageKey& o) const
    {
        return rtf.constData() == o.rtf.constData() && rtf.size() == o.rtf.size() && size == o.size
            && zoomPercent == o.zoomPercent && mode == o.mode && background == o.background
            && screenPpi == o.screenPpi && look == o.look;
    }
};

size_t qHash(const ImageKey& k, size_t seed = 0)
{
    return qHashMulti(seed, quintptr(k.rtf.constData()), k.rtf.size(), k.size.width(), k.size.height(),
                      k.zoomPercent, int(k.mode), k.background, k.screenPpi, k.look.renderHints);
}

struct ImageEntry {
    QImage image;
    TWPRenderResult result;
    bool used = true; // drawn since the last sweep
};

// Bytes that someone else owns (QByteArray::fromRawData) may change under a held key.
bool ownsItsBytes(QByteArray bytes) { return bytes.isEmpty() || bytes.data_ptr().isMutable(); }

} // namespace

struct TWPRtfImageCache::Impl {
    QCache<ImageKey, ImageEntry> cache;
};

TWPRtfImageCache::TWPRtfImageCache(qsizetype maxBytes) : d(std::make_unique<Impl>())
{
    d->cache.setMaxCost(std::max<qsizetype>(1, maxBytes));
}

TWPRtfImageCache::~TWPRtfImageCache() = default;
TWPRtfImageCache::TWPRtfImageCache(TWPRtfImageCache&&) noexcept = default;
TWPRtfImageCache& TWPRtfImageCache::operator=(TWPRtfImageCache&&) noexcept = default;

TWPRenderResult TWPRtfImageCache::render(QPainter& painter, const QRect& rect, const TWPRtfStorage& storage,
                                         int zoomPercent, TWPDisplayMode mode, const QColor& background)
{
    const RasterTarget target = rasterTargetOf(painter);
    if (!target || rect.isEmpty() || background.alpha() != 255 || !ownsItsBytes(storage.rtf())
        || !target.image->rect().contains(rect.translated(target.offset)))
        return RenderRtfToRect(painter, rect, storage, zoomPercent, mode, background);

    const ImageKey key{storage.rtf(), rect.size(), zoomPercent, mode, background.rgba(), ScreenPPI(), target.look};
    if (ImageEntry* e = d->cache.object(key)) {
        ++m_hits;
        e->used = true;
        painter.drawImage(rect.topLeft(), e->image);
        return e->result;
    }
    ++m_misses;
    // Drawn where the painter would draw it, so the glyphs land on the same pixel phases, then
    // kept; the text fills its whole rectangle, so what lay there before does not show.
    const TWPRenderResult result = RenderRtfToRect(painter, rect, storage, zoomPercent, mode, background);
    auto* entry = new ImageEntry{target.image->copy(rect.translated(target.offset)), result};
    d->cache.insert(key, entry, entry->image.sizeInBytes()); // too big for the cache: dropped at once
    return result;
}

void TWPRtfImageCache::sweep()
{
    for (const ImageKey& key : d->cache.keys()) {
        ImageEntry* e = d->cache.object(key);
        if (!e->used)
            d->cache.remove(key);
        else
            e->used = false;
    }
}

void TWPRtfImageCache::clear()
{
    d->cache.clear();
    m_hits = m_misses = 0;
}

int TWPRtfImageCache::size() const { return int(d->cache.size()); }

qsizetype TWPRtfImageCache::bytes() const { return d->cache.totalCost(); }
