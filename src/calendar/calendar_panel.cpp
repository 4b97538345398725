#include "calendar_panel.h"

#include "calendar/calendar_print.h"
#include "calendar/page_image.h"
#include "calendar/page_prefetch.h"
#include "printing/report_canvas.h"
#include "objects/handle.h"
#include "objects/object_classes.h"
#include "objects/object_filer.h"
#include "objects/image.h"
#include "objects/p_label.h"
#include "objects/p_rich_base_label.h"
#include "platform/numeric.h"
#include "platform/prompter.h"
#include "richtext/rtf_renderer.h"
#include "special/flat_calendar.h"
#include "special/super_text.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

TCalendarPanel32::TCalendarPanel32(QWidget* parent, int ppi) : TGBasePanel(parent), TCalendarPage(ppi)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    RegisterStandardObjectClasses();
    RegisterObjectClass<TGFlatCalendar>("TGFlatCalendar", TGFlatCalendar::Properties());
    RegisterObjectClass<TGSuperText>("TGSuperText", TGSuperText::Properties());
    m_cellText = [this](QPainter& p, int cell, const TRect& rFree, TPageTarget target) {
        PaintCellText(p, *this, cell, rFree, target, Zoom(), Printing, m_kept.cells);
    };
    layoutChanged();
}

TCalendarPanel32::~TCalendarPanel32() = default;

void TCalendarPanel32::layoutChanged()
{
    const TLayoutGeometry& g = layoutGeometry();
    resize(truncToInt(g.PageWidthPx * double(Zoom())), truncToInt(g.PageHeightPx * double(Zoom())));
    update();
}

void TCalendarPanel32::repaintNeeded() { update(); }

QImage TCalendarPanel32::DrawToImage(TPageTarget target)
{
    if (m_prefetched)
        m_prefetched->handTo(*this); // once; later calls find nothing more to hand over
    DrawPageImage(m_pageImage, size(), *this, Zoom(), m_cellText, target, m_kept);
    return m_pageImage;
}

void TCalendarPanel32::SetPrefetchedPage(std::unique_ptr<TPagePrefetch> prefetch)
{
    m_prefetched = std::move(prefetch);
}

void TCalendarPanel32::AdoptPixels(TPagePixels&& pixels, const QList<QByteArray>& cellTexts, QImage&& pageImage)
{
    if (!pageImage.isNull())
        m_pageImage = std::move(pageImage);
    for (int i = 1; i <= kCellCount && i <= cellTexts.size(); ++i) {
        TWPRtfStorage* store = CellStorage(i);
        const QByteArray& text = cellTexts[i - 1];
        if (store && !text.isEmpty() && store->rtf() == text)
            store->setRtf(text);
    }
    m_kept = std::move(pixels);
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

QImage TCalendarPanel32::DrawToBitmap(TPageTarget target)
{
    QImage image = DrawToImage(target);
    QPainter p(&image);
    for (TGGraphicControl* o : Objects())
        o->PaintTo(p, o->x(), o->y());
    return image;
}

bool TCalendarPanel32::HasPlacedObjects() const { return !Objects().isEmpty(); }

bool TCalendarPanel32::HasSuperText() const
{
    const QList<TGGraphicControl*> objects = Objects();
    return std::any_of(objects.cbegin(), objects.cend(),
                       [](const TGGraphicControl* o) { return qobject_cast<const TGSuperText*>(o) != nullptr; });
}

ObjectSectionWriter TCalendarPanel32::objectSectionWriter() const
{
    return [this](TStreamWriter& w) { TGLabelObjectFiler::WriteRecords(w, Objects()); };
}

ObjectSectionReader TCalendarPanel32::objectSectionReader()
{
    return [this](TStreamReader& r) {
        const TObjectReadResult read = TGLabelObjectFiler::ReadRecords(r, this);
        if (!read.error.isEmpty())
            throw EStreamError(read.error); // the loader keeps what was read
    };
}

void TCalendarPanel32::SaveToFile(const QString& fileName) const
{
    SaveCalendarFile(*this, fileName, objectSectionWriter());
}

void TCalendarPanel32::LoadFromFile(const QString& fileName, TCalendarFileInfo* info)
{
    m_prefetched.reset();
    LoadCalendarFile(*this, fileName, objectSectionReader(), info);
}

void TCalendarPanel32::CreateObjectInRect(QRect& r)
{
    if (m_creating)
        return;
    m_creating = true;
    if (r.width() < 25)
        r.setWidth(50);
    if (r.height() < 15)
        r.setHeight(15);
    const TLPanelState state = PanelState();
    // What opens once the object is placed and the tool is back to selection.
    std::function<void()> editAfterCreate;
    if (state == TLPanelState::psLabel) {
        auto* label = new TGPLabel;
        label->AfterLoad();
        label->SetCaption(QStringLiteral("Enter text..."));
        TObjectFont font = PanelFont;
        font.SetSize(20, TGGraphicControl::ppi());
        label->SetFont(font);
        PlaceObject(label, r);
        label->SetTransparent(false);
        label->SetBorderStyle(TBorderStyle::bsSingle);
        editAfterCreate = [label] { label->EditAfterCreate(); };
    } else if (state == TLPanelState::psSuperText) {
        auto* superText = TGSuperText::CreateBordered();
        superText->AfterLoad();
        PlaceObject(superText, r);
        editAfterCreate = [superText] { superText->ShowProperties(); };
    } else if (state == TLPanelState::psImage) {
        auto* image = new TGImage;
        image->AfterLoad();
        PlaceObject(image, r);
        editAfterCreate = [image] { image->EditAfterCreate(); };
    } else if (state == TLPanelState::psRichLabel) {
        // Created on the page, so that it finds the master editor of the page's window.
        auto* rich = new TGPRichBaseLabel(this);
        rich->hide();
        try {
            rich->AfterLoad();
        } catch (const std::exception&) {
            delete rich;
            rich = nullptr;
            prompter().error(ENoMasterWPRich::Message(), QStringLiteral("Orvanta"));
        }
        if (rich) {
            // Set before placing, so the object announced as created is the finished one.
            rich->SetTransparent(false);
            rich->SetBorderStyle(TBorderStyle::bsSingle);
            PlaceObject(rich, r);
            editAfterCreate = [rich] { rich->EditAfterCreate(); };
        }
    } else if (state == TLPanelState::psFlatCalendar) {
        auto* calendar = new TGFlatCalendar;
        calendar->AfterLoad();
        PlaceObject(calendar, r);
    }
    unsetCursor();
    SetPanelState(TLPanelState::psPointing);
    m_creating = false;
    if (editAfterCreate)
        editAfterCreate();
}

void TCalendarPanel32::PrintOnReport(TReportCanvas& report, double offsetX, double offsetY)
{
    ::PrintOnReport(report, *this, offsetX, offsetY, m_cellText);
    PrintObjects(report.painter(), offsetX, offsetY);
}

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
