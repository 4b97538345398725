#pragma once
#include "objects/graphic_control.h"
#include "objects/object_font.h"
#include "special/flat_calendar_drawing.h"

// The floating calendar: a small one-month calendar (a title with the month's name, a
// row of day names, six rows of day numbers) placed anywhere on the page, in one of
// five languages, with its own fonts, colours, lines and an optional shadow.
class TGFlatCalendar : public TGGraphicControl {
    Q_OBJECT
public:
    explicit TGFlatCalendar(QWidget* parent = nullptr);

    // --- Properties (setters compare first, then repaint) ------------------------------
    int StartOfWeek() const { return m_startOfWeek; }
    void SetStartOfWeek(int v); // only 1 (Sunday) and 2 (Monday)
    int Month() const { return m_month; }
    void SetMonth(int v); // not checked: a month outside 1..12 shows no name and no days
    int Year() const { return m_year; }
    void SetYear(int v);
    const TObjectFont& TitleFont() const { return m_titleFont; }
    void SetTitleFont(const TObjectFont& f);
    const TObjectFont& DayNameFont() const { return m_dayNameFont; }
    void SetDayNameFont(const TObjectFont& f);
    const TObjectFont& CellFont() const { return m_cellFont; }
    void SetCellFont(const TObjectFont& f);
    bool ShowYear() const { return m_showYear; }
    void SetShowYear(bool v);
    TColor DayNameBGColor() const { return m_dayNameBGColor; }
    void SetDayNameBGColor(TColor v);
    TFlatCalBorderStyle CalendarBorderStyle() const { return m_calendarBorderStyle; }
    void SetCalendarBorderStyle(TFlatCalBorderStyle v);
    TFlatCalBorderStyle DayNameBorderStyle() const { return m_dayNameBorderStyle; }
    void SetDayNameBorderStyle(TFlatCalBorderStyle v);
    TFlatCalBorderStyle CellBorderStyle() const { return m_cellBorderStyle; }
    void SetCellBorderStyle(TFlatCalBorderStyle v);
    TFlatCalHeadersStyle DayNameStyle() const { return m_dayNameStyle; }
    void SetDayNameStyle(TFlatCalHeadersStyle v);
    TColor TitleBGcolor() const { return m_titleBGcolor; }
    void SetTitleBGcolor(TColor v);
    TColor Backgroundcolor() const { return m_backgroundcolor; }
    void SetBackgroundcolor(TColor v);
    TColor ShadowColor() const { return m_shadowColor; }
    void SetShadowColor(TColor v);
    int ShadowDepth() const { return m_shadowDepth; }
    void SetShadowDepth(int v); // values above 10 are ignored
    TFlatShadowPosition ShadowPosition() const { return m_shadowPosition; }
    void SetShadowPosition(TFlatShadowPosition v);
    TFlatCalLanguage Language() const { return m_language; }
    void SetLanguage(TFlatCalLanguage v);
    bool CalTransparent() const { return m_calTransparent; }
    void SetCalTransparent(bool v);

    // Copies every property the properties dialog edits (all but the size) to `target`.
    void AssignCalendarTo(TGFlatCalendar& target) const;

    // --- Drawing ---------------------------------------------------------------------
    // The month drawing's parameters for the current properties and zoom.
    TFlatCalDrawParams DrawParams() const;
    // The shadow, then the month, in the object's own coordinates at its zoom; returns
    // the block with the bands the drawing measured.
    TFlatCalDrawParams DrawCalendar(QPainter& painter) const;

    // The "Floating Calendar Properties" dialog; on Ok the object takes its settings.
    void ShowProperties();

    // --- TGGraphicControl ------------------------------------------------------------
    QByteArray StreamClassName() const override { return QByteArrayLiteral("TGFlatCalendar"); }
    void WriteProperties(TObjectPropertyWriter& w) const override;
    static TPropertySet<TGFlatCalendar> Properties();
    void AfterLoad() override;
    void paintTo(QPainter& painter) override;

private:
    template <class V>
    void setValue(V& field, const V& value);
    void setFont(TObjectFont& field, const TObjectFont& value);

    int m_startOfWeek = 1;
    int m_month = 1;
    int m_year = 2000;
    TObjectFont m_titleFont;
    TObjectFont m_dayNameFont;
    TObjectFont m_cellFont;
    bool m_showYear = false;
    TColor m_dayNameBGColor = clWhite;
    TFlatCalBorderStyle m_calendarBorderStyle = TFlatCalBorderStyle::fcbAll;
    TFlatCalBorderStyle m_dayNameBorderStyle = TFlatCalBorderStyle::fcbAll;
    TFlatCalBorderStyle m_cellBorderStyle = TFlatCalBorderStyle::fcbNone;
    TFlatCalHeadersStyle m_dayNameStyle = TFlatCalHeadersStyle::fdsFirstChar;
    TColor m_titleBGcolor = clWhite;
    TColor m_backgroundcolor = clWhite;
    TColor m_shadowColor = clBlack;
    int m_shadowDepth = 0;
    TFlatShadowPosition m_shadowPosition = TFlatShadowPosition::fcpLowerRight;
    TFlatCalLanguage m_language = TFlatCalLanguage::fclEnglish;
    bool m_calTransparent = false;
};

// The month and day names of a floating calendar's language.
const QStringList& flatCalendarMonthNames(TFlatCalLanguage language);
const QStringList& flatCalendarDayNames(TFlatCalLanguage language);
