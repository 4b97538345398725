#pragma once
#include "calendar/page_image.h"

#include <QByteArray>
#include <QList>
#include <QSemaphore>
#include <QString>
#include <memory>

class QThread;
class TCalendarPanel32;

// A calendar file's page drawn on a second thread while the window that will show it is
// built: once the page widget has read the same file, it takes over the pixels the drawing
// kept, and its first painting copies them instead of laying out every cell text. A wrong
// guess (another zoom, other settings) costs only a fresh drawing; a file the thread cannot
// read leaves nothing to take over, and the widget's own reading reports it.
class TPagePrefetch {
public:
    struct Setup {
        QString fileName;
        int ppi = 96; // the screen's, as the GUI thread found it
        float zoom = 1.0f; // the zoom the page will be shown at
    };

    explicit TPagePrefetch(const Setup& setup);
    ~TPagePrefetch(); // waits for the drawing
    TPagePrefetch(const TPagePrefetch&) = delete;
    TPagePrefetch& operator=(const TPagePrefetch&) = delete;

    const QString& fileName() const { return m_setup.fileName; }
    // Waits for the drawing, then hands what it kept to page (see AdoptPixels). True when
    // there was a drawing to hand over.
    bool handTo(TCalendarPanel32& page);

private:
    void draw(); // on the worker thread

    const Setup m_setup;
    std::unique_ptr<QThread> m_thread;
    QSemaphore m_finished; // released once the drawing is done, before the worker tidies up
    bool m_waited = false;
    // Written by the worker before it releases m_finished.
    bool m_drawn = false;
    TPagePixels m_pixels;
    QImage m_image; // the page as drawn: its memory is already the process's to draw on
    QList<QByteArray> m_cellTexts;
};
