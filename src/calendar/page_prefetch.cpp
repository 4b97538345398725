#include "page_prefetch.h"

#include "calendar/calendar_file.h"
#include "calendar/calendar_panel.h"
#include "platform/screen_ppi.h"
#include "richtext/rtf_renderer.h"

#include <QThread>

TPagePrefetch::TPagePrefetch(const Setup& setup) : m_setup(setup)
{
    m_thread.reset(QThread::create([this] { draw(); }));
    m_thread->start();
}

TPagePrefetch::~TPagePrefetch() { m_thread->wait(); }

void TPagePrefetch::draw()
{
    const ScopedThreadScreenPPI ppi(m_setup.ppi);
    try {
        // The page as the main window prepares it before reading a file into it.
        TCalendarPage page(m_setup.ppi);
        page.ApplyMainFormDesignValues();
        page.ResetToDefaults();
        LoadCalendarFile(page, m_setup.fileName); // placed objects are widgets: skipped
        auto cellText = [&](QPainter& p, int cell, const TRect& rFree, TPageTarget target) {
            PaintCellText(p, page, cell, rFree, target, m_setup.zoom, false, m_pixels.cells);
        };
        // At the size the window's page will have: sized whole when it reads the file, then
        // zoomed, so that the window draws over this very image.
        const QSize size = TGBasePanel::ZoomedSize(PageImageSize(page, 1.0f), m_setup.zoom);
        DrawPageImage(m_image, size, page, m_setup.zoom, cellText, TPageTarget::Screen, m_pixels);
        for (int i = 1; i <= TCalendarPage::kCellCount; ++i)
            m_cellTexts.append(page.CellStorage(i)->rtf());
        m_drawn = true;
    } catch (...) {
        // Nothing to hand over: the page widget reads the file itself and reports what it finds.
        m_pixels = TPagePixels();
        m_image = QImage();
        m_cellTexts.clear();
    }
    m_finished.release();
    // The laid-out documents and the font engines they hold belong to this thread; they go
    // while the window shows the page.
    TWPRtfDocumentCache::instance().clear();
}

bool TPagePrefetch::handTo(TCalendarPanel32& page)
{
    if (!m_waited) {
        m_finished.acquire();
        m_waited = true;
    }
    if (!m_drawn)
        return false;
    m_drawn = false;
    page.AdoptPixels(std::move(m_pixels), m_cellTexts, std::move(m_image));
    m_cellTexts.clear();
    return true;
}
