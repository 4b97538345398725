#pragma once
#include "calendar/calendar_settings.h"
#include "calendar/drawn_calendar.h"
#include "calendar/layout_geometry.h"
#include "richtext/rtf_storage.h"

#include <QByteArray>
#include <array>
#include <functional>

// The page a user designs, without any window: settings with their setter rules, the
// layout geometry, the 42 day-cell stores and the cell geometry of the last drawing.
// The page widget derives from it and turns relayout/repaint requests into widget work.
class TCalendarPage {
public:
    static constexpr int kCellCount = 42;

    // Fired for a day cell that should be edited (a click, ClickCell, Tab).
    using ClickedInCellHandler =
        std::function<void(const TRect& rTotal, const TRect& rFree, int iCell, int iDay, TWPRtfStorage& storage)>;

    explicit TCalendarPage(int ppi = 0); // 0: the screen's PPI
    virtual ~TCalendarPage() = default;
    TCalendarPage(const TCalendarPage&) = delete;
    TCalendarPage& operator=(const TCalendarPage&) = delete;

    int ppi() const { return m_ppi; }
    void setPpi(int ppi);

    const TCalendarSettings& settings() const { return m_s; }
    // Direct access for readers that store values without running setters (files).
    TCalendarSettings& rawSettings() { return m_s; }
    const TLayoutGeometry& layoutGeometry() const { return m_geo; }
    int MiniCount() const { return m_miniCount; }

    // Setters: compare, store, then relayout or repaint.
    void SetCalendarLayout(TCalendarLayout v);
    void SetCalendarOrientation(TCalendarOrientation v);
    void SetCalendarLineLayout(TCalendarLineLayout v);
    void SetMiniCalendarLineLayout(TMiniCalendarLineLayout v);
    void SetCalendarBorder(TCalBorderStyle v);
    void SetHeadersBorder(TCalBorderStyle v);
    void SetCellBorder(TCalBorderStyle v);
    void SetHeadersStyle(TCalHeadersStyle v);
    void SetMiniHeadersStyle(TCalHeadersStyle v);
    void SetNumberPosition(TCalendarNumberPosition v);
    void SetTitleShowYear(bool v);
    void SetMiniShowYear(bool v);
    void SetTitleBGColor(TColor v);
    void SetHeadersBGColor(TColor v);
    void SetMiniHeadersBGColor(TColor v);
    void SetMiniCalBGColor(TColor v);
    void SetMiniCalBorder(TCalBorderStyle v);
    void SetMiniHeadersBorder(TCalBorderStyle v);
    void SetMiniCellBorder(TCalBorderStyle v);
    void SetTitleFont(const TCalFont& f);
    void SetHeadersFont(const TCalFont& f);
    void SetCellFont(const TCalFont& f);
    void SetMiniTitleFont(const TCalFont& f);
    void SetMiniHeadersFont(const TCalFont& f);
    void SetMiniCellFont(const TCalFont& f);
    void SetMainCalMonth(int v);
    void SetMainCalYear(int v);
    void SetMainCalDay(int v);
    void SetStartOfWeek(int v);
    void SetLeftMarginInch(float v);
    void SetTopMarginInch(float v);
    void SetRightMarginInch(float v);
    void SetBottomMarginInch(float v);
    void SetUserTitle(const QString& v);
    void SetPaperSize(quint8 v);
    void SetStartingTime(const QTime& v);

    // Special border: the base name of a picture pair in the "Borders" folder.
    // A missing file keeps the old border; an unreadable one clears it.
    void SetWMFBorderFile(const QString& name);
    const QByteArray& borderPicture() const { return m_borderPicture; }
    static QString BorderFolder();

    QString GetMonthName(int i) const;
    void SetMonthName(int i, const QString& s);
    QString GetDayName(int i) const;
    void SetDayName(int i, const QString& s);
    void LoadLocaleNames();

    // 0 month layouts, 1 minis only, 2 week, 3 two weeks, 4 ten hours, 5 fifteen hours.
    int LayoutFamily() const { return LayoutFamilyOf(m_s.CalendarLayout); }

    // Settings of a brand-new calendar (today's month, layout 3, 0.5 in margins...).
    void ResetToDefaults();
    // The design values the main window's page starts with.
    void ApplyMainFormDesignValues();
    void AssignSettings(const TCalendarPage& source);
    bool SameSettings(const TCalendarPage& other) const;

    // Geometry (zoom 1, screen pixels). resetMiniFonts gives the minis the layout's sizes.
    void RecalcLayout(bool resetMiniFonts);
    // A layout chosen by the user: the layout, then the font sizes it gives its minis.
    void ChooseCalendarLayout(TCalendarLayout v);

    // Day cells, 1..42.
    TWPRtfStorage* CellStorage(int i);
    const TWPRtfStorage* CellStorage(int i) const;
    QByteArray CellRtf(int i) const;
    void SetCellRtf(int i, const QByteArray& rtf);
    int DayOfCell(int i) const;
    int CellOfDay(int d) const;
    int CellAt(int x, int y) const;
    bool PointInCell(int x, int y) const;
    void ClearAllCells();
    bool HasCellText() const;
    const TCellGeometry& cellGeometry(int i) const;

    // The cell geometry written by the last drawing of the main calendar or planner.
    TDrawnCalendar& drawn() { return m_drawn; }
    const TDrawnCalendar& drawn() const { return m_drawn; }

    ClickedInCellHandler ClickedInCellEvent;
    void ClickCell(int i);
    void ClickCellAt(int x, int y);
    void ClickNextCell(int i);
    void ClickPreviousCell(int i);

protected:
    // The widget resizes and repaints; a window-less page does nothing.
    virtual void layoutChanged() {}
    virtual void repaintNeeded() {}

private:
    void relayout() { RecalcLayout(false); }
    void repaint() { repaintNeeded(); }
    bool loadBorderPicture(const QString& name);

    int m_ppi = 96;
    TCalendarSettings m_s;
    TLayoutGeometry m_geo;
    int m_miniCount = 0;
    QByteArray m_borderPicture;
    std::array<TWPRtfStorage, kCellCount + 1> m_cells; // the extra one stays empty
    TDrawnCalendar m_drawn;
};
