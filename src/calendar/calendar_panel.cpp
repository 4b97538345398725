#include "calendar_panel.h"

#include "platform/numeric.h"
#include "richtext/rtf_renderer.h"

#include <QMouseEvent>
#include <QPainter>

TCalendarPanel32::TCalendarPanel32(QWidget* parent, int ppi) : TGBasePanel(parent), TCalendarPage(ppi)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Each cell's text is drawn into its free area, one pixel larger each way, on white.
    m_cellText = [this](QPainter& p, int cell, const TRect& rFree, TPageTarget target) {
        const TWPRtfStorage* store = CellStorage(cell);
        if (!store)
            return;
        const QRect area(rFree.Left, rFree.Top, rFree.width() + 1, rFree.height() + 1);
        const TWPRenderResult shown = RenderRtfToRect(p, area, *store, truncToInt(double(Zoom()) * 100.0));
        if (shown.textContinues && target == TPageTarget::Screen)
            DrawMoreTextMark(p, area, Zoom());
    };
    layoutChanged();
}

void TCalendarPanel32::layoutChanged()
{
    const TLayoutGeometry& g = layoutGeometry();
    resize(truncToInt(g.PageWidthPx * double(Zoom())), truncToInt(g.PageHeightPx * double(Zoom())));
    update();
}

void TCalendarPanel32::repaintNeeded() { update(); }

QImage TCalendarPanel32::DrawToImage(TPageTarget target)
{
    QImage image(std::max(1, width()), std::max(1, height()), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    PaintCalendarPage(p, *this, Zoom(), m_cellText, target);
    return image;
}

void TCalendarPanel32::paintEvent(QPaintEvent*)
{
    if (m_painting || PaintSuspended || !isVisible())
        return;
    m_painting = true;
    // Composed offscreen and copied in one step, so the page never shows half-drawn.
    const QImage page = DrawToImage();
    QPainter p(this);
    p.drawImage(0, 0, page);
    m_painting = false;
}

bool TCalendarPanel32::HasPlacedObjects() const { return false; }

void TCalendarPanel32::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
    TGBasePanel::mousePressEvent(event);
}

void TCalendarPanel32::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click)
        HandleClickAt(event->position().toPoint().x(), event->position().toPoint().y());
    TGBasePanel::mouseReleaseEvent(event);
}

void TCalendarPanel32::HandleClickAt(int x, int y)
{
    if (PanelState() != TLPanelState::psPointing)
        return;
    if (drawn().titleRect.contains(x, y) && OnClickedHeader)
        OnClickedHeader();
    if (drawn().headerRect.contains(x, y) && OnClickedDaysArea)
        OnClickedDaysArea();
    const int cell = CellAt(x, y);
    if (cell != 0) {
        const bool cellsShown = layoutGeometry().ShowMainCalendar || layoutGeometry().IsPlanner;
        if (cellsShown && ClickedInCellEvent && !PointOnObject(x, y))
            ClickCell(cell);
        return;
    }
    if (OnClick)
        OnClick();
}
