#pragma once
#include "calendar/calendar_renderer.h"
#include "imaging/raster_target.h"

#include <QImage>
#include <vector>

// The month grids and planners of a page drawn on an image, kept as the pixels they gave, so
// that repainting an unchanged page copies them instead of drawing lines and texts again. A
// grid is kept with everything its pixels depend on (its whole drawing record and the look of
// the painter), and only where the copy is exact (see RasterTarget). A grid whose drawing
// reaches beyond its rectangle, which a copy of the rectangle would lose, is drawn every time.
class GridImageCache {
public:
    enum class Kind { Month, Planner };

    // Draws as DrawMonthGrid or DrawPlanner does, recording the geometry into out.
    void draw(QPainter& p, Kind kind, const TCalDrawRecord& rec, TDrawnCalendar& out);
    static void drawUncached(QPainter& p, Kind kind, const TCalDrawRecord& rec, TDrawnCalendar& out);
    // Forgets the grids that were not drawn since the last call: one page's grids are kept.
    void pageDrawn();

    int size() const { return int(m_entries.size()); }
    int hits() const { return m_hits; }
    int misses() const { return m_misses; }

private:
    struct Entry {
        Kind kind = Kind::Month;
        TCalDrawRecord rec;
        RasterTarget::Look look;
        QPoint offset;
        QString amText, pmText; // the day planner's hour labels follow the locale
        QImage pixels; // null: drawn every time
        TDrawnCalendar out;
        bool used = true;
    };
    Entry* find(Kind kind, const TCalDrawRecord& rec, const RasterTarget& target, const QString& am,
                const QString& pm);

    std::vector<Entry> m_entries;
    int m_hits = 0;
    int m_misses = 0;
};
