#include "rtf_renderer.h"

#include "platform/screen_ppi.h"
#include "rtf_picture.h"
#include "rtf_reader.h"

#include <QAbstractTextDocumentLayout>
#include <QCache>
#include <QImage>
#include <QPainter>
#include <QTextDocument>
#include <algorithm>
#include <cmath>

namespace {

// The paint device that gives a layout its resolution; documents share one per PPI.
QImage* layoutDevice(int ppi)
{
    static QHash<int, QImage*> devices;
    QImage*& dev = devices[ppi];
    if (!dev) {
        dev = new QImage(1, 1, QImage::Format_RGB32);
        const int dpm = int(std::lround(ppi / 0.0254));
        dev->setDotsPerMeterX(dpm);
        dev->setDotsPerMeterY(dpm);
    }
    return dev;
}

struct Entry {
    std::shared_ptr<QTextDocument> doc;
};

void drawDocument(QPainter& painter, const QRect& rect, QTextDocument& doc, qreal scale, TWPDisplayMode mode,
                  const QColor& background)
{
    painter.save();
    painter.fillRect(rect, background);
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.translate(rect.topLeft());
    painter.scale(scale, scale);
    QPainter::RenderHints hints = QPainter::TextAntialiasing;
    if (mode == TWPDisplayMode::Print)
        hints |= QPainter::Antialiasing | QPainter::SmoothPixmapTransform;
    painter.setRenderHints(hints, true);
    QAbstractTextDocumentLayout::PaintContext ctx;
    ctx.palette.setColor(QPalette::Text, Qt::black);
    ctx.clip = QRectF(0, 0, rect.width() / scale, rect.height() / scale);
    doc.documentLayout()->draw(&painter, ctx);
    painter.restore();
}

} // namespace

std::shared_ptr<QTextDocument> CreateLayoutDocument(const QByteArray& rtf, qreal layoutWidth)
{
    auto doc = std::make_shared<QTextDocument>();
    ReadRtf(rtf, doc.get());
    doc->setDocumentMargin(0);
    doc->setUseDesignMetrics(true);
    doc->documentLayout()->setPaintDevice(layoutDevice(ScreenPPI()));
    InstallPictureHandler(doc.get());
    doc->setTextWidth(std::max<qreal>(1, layoutWidth));
    return doc;
}

struct TWPRtfDocumentCache::Impl {
    QCache<QByteArray, Entry> cache{256};
};

TWPRtfDocumentCache::TWPRtfDocumentCache() : d(std::make_shared<Impl>()) {}

TWPRtfDocumentCache& TWPRtfDocumentCache::instance()
{
    static TWPRtfDocumentCache c;
    return c;
}

std::shared_ptr<QTextDocument> TWPRtfDocumentCache::document(const QByteArray& rtf, qreal layoutWidth)
{
    // The layout depends on the bytes, the width and the PPI; zoom only scales drawing.
    QByteArray key;
    key.reserve(rtf.size() + 24);
    key += QByteArray::number(qint64(std::llround(layoutWidth * 100))) + ':' + QByteArray::number(ScreenPPI()) + ':';
    key += rtf;
    if (Entry* e = d->cache.object(key)) {
        ++m_hits;
        return e->doc;
    }
    ++m_misses;
    auto* e = new Entry{CreateLayoutDocument(rtf, layoutWidth)};
    auto doc = e->doc;
    d->cache.insert(key, e);
    return doc;
}

void TWPRtfDocumentCache::clear()
{
    d->cache.clear();
    m_hits = m_misses = 0;
}

int TWPRtfDocumentCache::size() const { return int(d->cache.size()); }

void TWPRtfDocumentCache::setCapacity(int entries) { d->cache.setMaxCost(std::max(1, entries)); }

void RenderRtfToRect(QPainter& painter, const QRect& rect, const TWPRtfStorage& storage, int zoomPercent,
                     TWPDisplayMode mode, const QColor& background)
{
    const int zoom = std::clamp(zoomPercent, 1, 1000);
    const qreal width100 = rect.width() * 100.0 / zoom;
    const int twips = int(std::lround(width100 * 1440.0 / ScreenPPI()));
    RenderRtfToRectTwips(painter, rect, storage, zoom, twips, mode, background);
}

void RenderRtfToRectTwips(QPainter& painter, const QRect& rect, const TWPRtfStorage& storage, int zoomPercent,
                          int pageWidthTwips, TWPDisplayMode mode, const QColor& background)
{
    if (rect.isEmpty())
        return;
    if (storage.rtf().isEmpty()) {
        painter.fillRect(rect, background);
        return;
    }
    const int zoom = std::clamp(zoomPercent, 1, 1000);
    // Twips are the unit the width is kept in, so equal pages give equal layouts.
    const qreal width100 = std::max(1, pageWidthTwips) * ScreenPPI() / 1440.0;
    auto doc = TWPRtfDocumentCache::instance().document(storage.rtf(), width100);
    drawDocument(painter, rect, *doc, zoom / 100.0, mode, background);
}
