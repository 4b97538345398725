#include "grid_image_cache.h"

#include "imaging/large_image.h"
#include "platform/locale_names.h"

#include <algorithm>

namespace {

bool within(const TRect& inner, const TRect& outer)
{
    return inner.Left >= outer.Left && inner.Top >= outer.Top && inner.Right <= outer.Right
        && inner.Bottom <= outer.Bottom;
}

} // namespace

void GridImageCache::drawUncached(QPainter& p, Kind kind, const TCalDrawRecord& rec, TDrawnCalendar& out)
{
    if (kind == Kind::Planner)
        DrawPlanner(p, rec, out);
    else
        DrawMonthGrid(p, rec, out);
}

GridImageCache::Entry* GridImageCache::find(Kind kind, const TCalDrawRecord& rec, const RasterTarget& target,
                                            const QString& am, const QString& pm)
{
    for (Entry& e : m_entries)
        if (e.kind == kind && e.look == target.look && e.offset == target.offset && e.amText == am
            && e.pmText == pm && e.rec == rec)
            return &e;
    return nullptr;
}

void GridImageCache::draw(QPainter& p, Kind kind, const TCalDrawRecord& rec, TDrawnCalendar& out)
{
    const RasterTarget target = rasterTargetOf(p);
    if (!target) {
        drawUncached(p, kind, rec, out);
        return;
    }
    const bool hourLabels = kind == Kind::Planner && rec.plannerDays == 0;
    const QString am = hourLabels ? LocaleAmString() : QString();
    const QString pm = hourLabels ? LocalePmString() : QString();
    if (Entry* e = find(kind, rec, target, am, pm)) {
        ++m_hits;
        e->used = true;
        if (e->pixels.isNull()) {
            drawUncached(p, kind, rec, out);
        } else {
            p.drawImage(QPoint(rec.rect.Left, rec.rect.Top), e->pixels);
            out = e->out;
        }
        return;
    }

    // Drawn in place, then the rectangle is kept, unless the drawing reached beyond it (bands
    // higher than the calendar). Texts cannot: they are clipped to their boxes in the bands.
    ++m_misses;
    drawUncached(p, kind, rec, out);
    Entry e{kind, rec, target.look, target.offset, am, pm, QImage(), out, true};
    const QRect onImage = rec.rect.toQRect().translated(target.offset);
    if (!onImage.isEmpty() && target.image->rect().contains(onImage) && within(out.paintedRect, rec.rect))
        e.pixels = CopyLargeImage(*target.image, onImage);
    m_entries.push_back(std::move(e));
}

void GridImageCache::pageDrawn()
{
    std::erase_if(m_entries, [](const Entry& e) { return !e.used; });
    for (Entry& e : m_entries)
        e.used = false;
}
