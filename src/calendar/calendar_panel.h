#pragma once
#include "calendar/calendar_page.h"
#include "calendar/calendar_renderer.h"
#include "objects/base_panel.h"

#include <QImage>

// The page widget: a calendar page drawn as the background of the object host panel.
class TCalendarPanel32 : public TGBasePanel, public TCalendarPage {
    Q_OBJECT
public:
    explicit TCalendarPanel32(QWidget* parent = nullptr, int ppi = 0);

    // Events of the page besides ClickedInCellEvent.
    std::function<void()> OnClickedHeader;
    std::function<void()> OnClickedDaysArea;
    std::function<void()> OnClick;

    // The page with its cell texts at the current zoom, as the screen shows it (or
    // without the screen's marks for the output of printing and export).
    QImage DrawToImage(TPageTarget target = TPageTarget::Screen);

    // The rich-text engine draws cell texts through this hook.
    void setCellTextPainter(CellTextPainter painter) { m_cellText = std::move(painter); }
    const CellTextPainter& cellTextPainter() const { return m_cellText; }

    // Click handling at a point in panel coordinates (what a mouse click does).
    void HandleClickAt(int x, int y);

    bool HasPlacedObjects() const;

protected:
    void layoutChanged() override;
    void repaintNeeded() override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    CellTextPainter m_cellText;
    bool m_painting = false;
    bool m_pressed = false;
};
