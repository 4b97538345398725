#pragma once
#include "calendar/calendar_file.h"
#include "calendar/calendar_page.h"
#include "calendar/calendar_renderer.h"
#include "calendar/page_image.h"
#include "objects/base_panel.h"

#include <QImage>
#include <memory>

class TPagePrefetch;

class TReportCanvas;

// The page widget: a calendar page drawn as the background of the object host panel.
class TCalendarPanel32 : public TGBasePanel, public TCalendarPage {
    Q_OBJECT
public:
    explicit TCalendarPanel32(QWidget* parent = nullptr, int ppi = 0);
    ~TCalendarPanel32() override;

    // Events of the page besides ClickedInCellEvent.
    std::function<void()> OnClickedHeader;
    std::function<void()> OnClickedDaysArea;
    std::function<void()> OnClick;

    // The page with its cell texts at the current zoom (the background the placed
    // objects are drawn on): as the screen shows it, or for printing and export, which
    // never show the screen's marks.
    QImage DrawToImage(TPageTarget target = TPageTarget::Screen);
    // The page with its placed objects, as exported (or as the screen shows it).
    QImage DrawToBitmap(TPageTarget target = TPageTarget::Output);

    // Takes over what a drawing of the same file elsewhere kept (the page drawn on a worker
    // thread at start), so that the first painting copies it. Cells holding the same texts
    // as cellTexts (by cell number, from 1) take over those bytes, which the pixels are kept
    // under; other cells are simply drawn. The image the page was drawn on, when given, is
    // drawn over next instead of a new one: its memory is in use already, where a new page's
    // megabytes would first have to be handed to the process page by page.
    void AdoptPixels(TPagePixels&& pixels, const QList<QByteArray>& cellTexts, QImage&& pageImage = QImage());
    const TPagePixels& keptPixels() const { return m_kept; }
    // The page of the file just read, drawn ahead on another thread: the next drawing takes
    // over its pixels (waiting for it if it is not done yet), so that everything else
    // before the first painting runs while the other thread still draws. Reading another
    // file lets it go.
    void SetPrefetchedPage(std::unique_ptr<TPagePrefetch> prefetch);

    // The rich-text engine draws cell texts through this hook.
    void setCellTextPainter(CellTextPainter painter) { m_cellText = std::move(painter); }
    const CellTextPainter& cellTextPainter() const { return m_cellText; }

    // Click handling at a point in panel coordinates (what a mouse click does).
    void HandleClickAt(int x, int y);

    bool HasSuperText() const;
    bool HasPlacedObjects() const;

    // The whole page on a report page, at the given offsets in inches (printing): the
    // calendar, then every placed object in child order.
    void PrintOnReport(TReportCanvas& report, double offsetX, double offsetY);
    // Calendar files with the placed objects (objects are read onto this page and
    // still need HookAllObjects).
    void SaveToFile(const QString& fileName) const;
    void LoadFromFile(const QString& fileName, TCalendarFileInfo* info = nullptr);
    ObjectSectionWriter objectSectionWriter() const;
    ObjectSectionReader objectSectionReader();

    // Creates an object for the current tool (the label and floating-calendar tools).
    void CreateObjectInRect(QRect& r) override;

protected:
    void layoutChanged() override;
    void repaintNeeded() override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    CellTextPainter m_cellText;
    QImage m_pageImage; // the last drawing, reused for the next
    TPagePixels m_kept; // what the last drawings gave, copied when the page is drawn again unchanged
    std::unique_ptr<TPagePrefetch> m_prefetched;
    bool m_painting = false;
    bool m_pressed = false;
    bool m_creating = false;
};
