#include "rtf_renderer.h"

#include "platform/screen_ppi.h"
#include "rtf_picture.h"
#include "rtf_reader.h"

#include <QAbstractTextDocumentLayout>
#include <QCache>
#include <QImage>
#include <QPainter>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

namespace {

// A document together with the paint device that gives its layout the screen's
// resolution; the device lives exactly as long as the document.
struct DocumentWithDevice {
    QImage device{1, 1, QImage::Format_RGB32};
    QTextDocument doc;

    DocumentWithDevice()
    {
        const int dpm = int(std::lround(ScreenPPI() / 0.0254));
        device.setDotsPerMeterX(dpm);
        device.setDotsPerMeterY(dpm);
    }
};

// True when a paragraph holds more than `longest` characters without a place to break.
bool hasLongUnbreakableRun(const QTextDocument& doc, qsizetype longest)
{
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const QString text = b.text();
        if (text.size() <= longest)
            continue;
        QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, text);
        qsizetype last = 0;
        for (qsizetype at = breaks.toNextBoundary(); at >= 0; at = breaks.toNextBoundary()) {
            if (at - last > longest)
                return true;
            last = at;
        }
    }
    return false;
}

// Lays out what was read into the holder's document (the device is set only now, so
// that reading does not lay out as it goes).
std::shared_ptr<QTextDocument> layOut(const std::shared_ptr<DocumentWithDevice>& holder, qreal layoutWidth)
{
    QTextDocument* doc = &holder->doc;
    doc->setDocumentMargin(0);
    doc->setUseDesignMetrics(true);
    // A null page lays nothing out: the layout made next would otherwise lay the whole text
    // out once without a width, only for the width below to lay it out again.
    doc->setPageSize(QSizeF(0, 0));
    doc->documentLayout()->setPaintDevice(&holder->device);
    InstallPictureHandler(doc);
    // Qt measures a word from its start again for every line it breaks it into, so a word
    // thousands of characters long costs the square of its length. Such a word is broken
    // anywhere in any case, so its document breaks anywhere.
    if (hasLongUnbreakableRun(*doc, 1000)) {
        QTextOption option = doc->defaultTextOption();
        option.setWrapMode(QTextOption::WrapAnywhere);
        doc->setDefaultTextOption(option);
    }
    doc->setTextWidth(std::max<qreal>(1, layoutWidth));
    return std::shared_ptr<QTextDocument>(holder, doc);
}

// Characters are no narrower than this part of an em; most are about half an em wide,
// and in a text that mixes sizes the smallest em is a small part of the usual one.
constexpr qreal kNarrowestCharEm = 0.1;
constexpr qreal kFirstGuessCharEm = 1.5;

// How much of a text can show in a box w × h pixels whose smallest font is emPx pixels
// high: lines are no lower than 0.8 em and characters no narrower than charEm. Two lines
// more than can show are kept, so where the text is cut changes no line that shows.
TWPRtfReadLimit visibleLimit(qreal w, qreal h, qreal emPx, qreal charEm = kNarrowestCharEm)
{
    const qreal em = std::max<qreal>(1, emPx);
    const qreal lines = std::ceil(std::max<qreal>(0, h) / (0.8 * em)) + 2;
    const qreal perLine = std::ceil(std::max<qreal>(1, w) / (charEm * em)) + 1;
    return {qsizetype(std::min<qreal>(lines * perLine, 1e9)), qsizetype(std::min<qreal>(lines, 1e9))};
}

// The height in pixels of the smallest font a document uses (sub- and superscripts are
// drawn at about half their size).
qreal smallestFontPx(const QTextDocument& doc)
{
    const qreal defaultPt = doc.defaultFont().pointSizeF() > 0 ? doc.defaultFont().pointSizeF() : 12;
    qreal smallest = defaultPt;
    auto consider = [&](const QTextCharFormat& f) {
        if (TWPRtfPicture::isPictureFormat(f))
            return;
        qreal pt = f.hasProperty(QTextFormat::FontPointSize) && f.fontPointSize() > 0 ? f.fontPointSize() : defaultPt;
        if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript
            || f.verticalAlignment() == QTextCharFormat::AlignSubScript)
            pt /= 2;
        smallest = std::min(smallest, pt);
    };
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        consider(b.charFormat());
        for (auto it = b.begin(); !it.atEnd(); ++it)
            consider(it.fragment().charFormat());
    }
    return smallest * ScreenPPI() / 72.0;
}

// No larger than the height in pixels of the smallest font the text can use, found from
// its bytes alone: the smallest font size named anywhere in it (12 points where none is),
// halved when it raises or lowers any text.
qreal smallestFontPxInRtf(const QByteArray& rtf)
{
    qreal smallest = 12;
    const char* data = rtf.constData();
    const qsizetype n = rtf.size();
    auto isLetter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    bool shifted = false;
    for (qsizetype i = rtf.indexOf('\\'); i >= 0 && i + 1 < n; i = rtf.indexOf('\\', i + 1)) {
        qsizetype end = i + 1;
        while (end < n && isLetter(data[end]))
            ++end;
        const QByteArrayView word(data + i + 1, end - i - 1);
        if (word == "fs") {
            qint64 halfPoints = 0;
            bool digits = false;
            for (qsizetype d = end; d < n && data[d] >= '0' && data[d] <= '9' && halfPoints < 100000; ++d, digits = true)
                halfPoints = halfPoints * 10 + (data[d] - '0');
            smallest = std::min(smallest, digits ? std::clamp<qint64>(halfPoints, 1, 3276) / 2.0 : 12.0);
        } else if (word == "super" || word == "sub" || word == "up" || word == "dn") {
            shifted = true;
        }
    }
    if (shifted)
        smallest /= 2;
    return smallest * ScreenPPI() / 72.0;
}

bool hasTextFrom(QTextBlock b, int offset)
{
    for (; b.isValid(); b = b.next(), offset = 0) {
        const QString text = b.text();
        for (qsizetype i = offset; i < text.size(); ++i)
            if (!text[i].isSpace())
                return true;
    }
    return false;
}

// Where the whole lines that fit in `height` end, and whether text follows them.
struct LineCut {
    qreal bottom = 0;
    bool more = false;
};

LineCut wholeLinesWithin(const QTextDocument& doc, qreal height)
{
    doc.size(); // lays the document out
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const QTextLayout* layout = b.layout();
        const qreal top = layout->position().y();
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            if (top + line.y() + line.height() > height + 0.01)
                return {top + line.y(), hasTextFrom(b, line.textStart())};
        }
    }
    return {height, false};
}

// Whether a text read only in part shows the whole lines within `height` as the whole
// text would, and that text goes on beyond them. Cutting can change the line the cut falls
// in and the line before it (the cut word may fit there), so both must lie below the box.
bool cutChangesNoLineShown(const QTextDocument& doc, qreal height)
{
    if (!doc.rootFrame()->childFrames().isEmpty())
        return false; // a table row is as high as its highest cell, wherever that is cut
    if (!wholeLinesWithin(doc, height).more)
        return false;
    const QTextLayout* last = doc.lastBlock().layout();
    const int lines = last->lineCount();
    if (lines == 0)
        return false;
    return last->position().y() + last->lineAt(std::max(0, lines - 2)).y() >= height;
}

// How many characters a start of `chars` that reached too little of a box `height` high
// is to grow to: as many more as it fills so far, for the box and two lines below it
// with a quarter to spare, and at least twice as many.
qsizetype moreToRead(const QTextDocument& doc, qsizetype chars, qreal height)
{
    const qreal reached = doc.size().height();
    const QTextLayout* last = doc.lastBlock().layout();
    const qreal lineHeight = last->lineCount() > 0 ? last->lineAt(last->lineCount() - 1).height() : 0;
    const qreal wanted = 1.25 * (height + 2 * lineHeight);
    const qreal grown = reached > 1 ? chars * wanted / reached : 4.0 * chars;
    return qsizetype(std::clamp<qreal>(grown, 2.0 * chars, 1e9));
}

TWPRenderResult drawDocument(QPainter& painter, const QRect& rect, const TWPBoundedLayout& layout, qreal scale,
                             TWPDisplayMode mode, const QColor& background)
{
    QTextDocument& doc = *layout.doc;
    painter.save();
    painter.fillRect(rect, background);
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.translate(rect.topLeft());
    painter.scale(scale, scale);
    QPainter::RenderHints hints = QPainter::TextAntialiasing;
    if (mode == TWPDisplayMode::Print)
        hints |= QPainter::Antialiasing | QPainter::SmoothPixmapTransform;
    painter.setRenderHints(hints, true);
    const LineCut cut = wholeLinesWithin(doc, rect.height() / scale);
    const QRectF shown(0, 0, rect.width() / scale, cut.bottom);
    painter.setClipRect(shown, Qt::IntersectClip);
    QAbstractTextDocumentLayout::PaintContext ctx;
    ctx.palette.setColor(QPalette::Text, Qt::black);
    ctx.clip = shown;
    doc.documentLayout()->draw(&painter, ctx);
    painter.restore();
    return {cut.more || layout.cutShort};
}

} // namespace

std::shared_ptr<QTextDocument> CreateLayoutDocument(const QByteArray& rtf, qreal layoutWidth)
{
    auto holder = std::make_shared<DocumentWithDevice>();
    ReadRtf(rtf, &holder->doc);
    return layOut(holder, layoutWidth);
}

TWPBoundedLayout CreateBoundedLayout(const QByteArray& rtf, qreal layoutWidth, qreal height)
{
    TWPBoundedLayout out;
    out.height = height;
    const qreal bytesEmPx = smallestFontPxInRtf(rtf);
    const TWPRtfReadLimit surely = visibleLimit(layoutWidth, height, bytesEmPx);
    // Shaping text that never shows is most of the work of a long text, and every font it
    // names costs the first time: first a start as long as wide letters fill, kept when
    // it reaches past the box; else one as long as that start says the box needs.
    TWPRtfReadLimit guess = visibleLimit(layoutWidth, height, bytesEmPx, kFirstGuessCharEm);
    for (int attempt = 0; attempt < 2 && guess.maxChars < surely.maxChars; ++attempt) {
        auto holder = std::make_shared<DocumentWithDevice>();
        const bool cut = ReadRtfStart(rtf, &holder->doc, guess);
        std::shared_ptr<QTextDocument> doc = layOut(holder, layoutWidth);
        if (!cut || cutChangesNoLineShown(*doc, height)) {
            out.doc = std::move(doc);
            out.cutShort = cut;
            return out;
        }
        guess.maxChars = moreToRead(*doc, guess.maxChars, height);
    }
    auto holder = std::make_shared<DocumentWithDevice>();
    QTextDocument& doc = holder->doc;
    // First a little more than the smallest font the bytes name could show (never less
    // than the text's own smallest font needs), then, when that holds more than the
    // text's own smallest font can show, just that.
    const TWPRtfReadLimit first = visibleLimit(layoutWidth, height, bytesEmPx);
    out.cutShort = ReadRtfStart(rtf, &doc, {first.maxChars + 1, first.maxLines + 1});
    const TWPRtfReadLimit limit = visibleLimit(layoutWidth, height, smallestFontPx(doc));
    if (out.cutShort || doc.characterCount() - 1 > limit.maxChars || doc.blockCount() - 1 > limit.maxLines)
        out.cutShort = ReadRtfStart(rtf, &doc, limit);
    out.doc = layOut(holder, layoutWidth);
    return out;
}

namespace {
// The layout depends on the bytes, the width and the PPI; zoom only scales drawing. The
// bytes are shared with the storage they came from, not copied.
struct LayoutKey {
    QByteArray rtf;
    qint64 width100 = 0; // hundredths of a pixel
    int ppi = 0;
    bool operator==(const LayoutKey& o) const { return width100 == o.width100 && ppi == o.ppi && rtf == o.rtf; }
};
size_t qHash(const LayoutKey& k, size_t seed = 0) { return qHashMulti(seed, k.rtf, k.width100, k.ppi); }
} // namespace

struct TWPRtfDocumentCache::Impl {
    QCache<LayoutKey, TWPBoundedLayout> cache{256};
};

TWPRtfDocumentCache::TWPRtfDocumentCache() : d(std::make_shared<Impl>()) {}

TWPRtfDocumentCache& TWPRtfDocumentCache::instance()
{
    thread_local TWPRtfDocumentCache c;
    return c;
}

TWPBoundedLayout TWPRtfDocumentCache::layout(const QByteArray& rtf, qreal layoutWidth, qreal height)
{
    // The height matters only for a text too long to show whole.
    const LayoutKey key{rtf, qint64(std::llround(layoutWidth * 100)), ScreenPPI()};
    if (const TWPBoundedLayout* e = d->cache.object(key); e && (!e->cutShort || e->height >= height)) {
        ++m_hits;
        return *e;
    }
    ++m_misses;
    // Room for a little more height, which other zooms round the same box to.
    const qreal covered = std::max<qreal>(64, std::exp2(std::ceil(std::log2(std::max<qreal>(1, height)))));
    auto* e = new TWPBoundedLayout(CreateBoundedLayout(rtf, layoutWidth, covered));
    const TWPBoundedLayout result = *e;
    d->cache.insert(key, e);
    return result;
}

void TWPRtfDocumentCache::clear()
{
    d->cache.clear();
    m_hits = m_misses = 0;
}

int TWPRtfDocumentCache::size() const { return int(d->cache.size()); }

void TWPRtfDocumentCache::setCapacity(int entries) { d->cache.setMaxCost(std::max(1, entries)); }

TWPRenderResult RenderRtfToRect(QPainter& painter, const QRect& rect, const TWPRtfStorage& storage, int zoomPercent,
                                TWPDisplayMode mode, const QColor& background)
{
    const int zoom = std::clamp(zoomPercent, 1, 1000);
    const qreal width100 = rect.width() * 100.0 / zoom;
    const int twips = int(std::lround(width100 * 1440.0 / ScreenPPI()));
    return RenderRtfToRectTwips(painter, rect, storage, zoom, twips, mode, background);
}

TWPRenderResult RenderRtfToRectTwips(QPainter& painter, const QRect& rect, const TWPRtfStorage& storage,
                                     int zoomPercent, int pageWidthTwips, TWPDisplayMode mode,
                                     const QColor& background)
{
    if (rect.isEmpty())
        return {};
    if (storage.rtf().isEmpty()) {
        painter.fillRect(rect, background);
        return {};
    }
    const int zoom = std::clamp(zoomPercent, 1, 1000);
    const qreal scale = zoom / 100.0;
    // Twips are the unit the width is kept in, so equal pages give equal layouts.
    const qreal width100 = std::max(1, pageWidthTwips) * ScreenPPI() / 1440.0;
    const TWPBoundedLayout layout = TWPRtfDocumentCache::instance().layout(storage.rtf(), width100, rect.height() / scale);
    return drawDocument(painter, rect, layout, scale, mode, background);
}
