#include "flat_calendar.h"

#include "objects/object_properties.h"
#include "platform/calendar_languages.h"
#include "platform/numeric.h"
#include "platform/prompter.h"
#include "special/flat_calendar_editor.h"

#include <QDate>
#include <QDialog>
#include <QPainter>

using namespace flatcal;

namespace {
// The floating calendar lists its languages in another order than the table.
TCalendarLanguageId tableLanguage(TFlatCalLanguage language)
{
    switch (language) {
    case TFlatCalLanguage::fclGerman: return TCalendarLanguageId::German;
    case TFlatCalLanguage::fclFrench: return TCalendarLanguageId::French;
    case TFlatCalLanguage::fclItalian: return TCalendarLanguageId::Italian;
    case TFlatCalLanguage::fclSpanish: return TCalendarLanguageId::Spanish;
    case TFlatCalLanguage::fclEnglish: break;
    }
    return TCalendarLanguageId::English;
}
} // namespace

const QStringList& flatCalendarMonthNames(TFlatCalLanguage language)
{
    return calendarLanguage(tableLanguage(language)).monthNames;
}

const QStringList& flatCalendarDayNames(TFlatCalLanguage language)
{
    return calendarLanguage(tableLanguage(language)).dayNames;
}

TGFlatCalendar::TGFlatCalendar(QWidget* parent) : TGGraphicControl(parent)
{
    const QDate today = QDate::currentDate();
    m_month = today.month();
    m_year = today.year();
    m_titleFont = TObjectFont::withSize(QStringLiteral("Arial"), 8, clBlack, ppi());
    m_dayNameFont = TObjectFont::withSize(QStringLiteral("Arial"), 8, clBlack, ppi());
    m_cellFont = TObjectFont::withSize(QStringLiteral("Arial"), 7, clBlack, ppi());
}

// --- Properties ----------------------------------------------------------------------------

template <class V>
void TGFlatCalendar::setValue(V& field, const V& value)
{
    if (field == value)
        return;
    field = value;
    update();
}

void TGFlatCalendar::setFont(TObjectFont& field, const TObjectFont& value)
{
    if (field == value)
        return;
    field = value;
    update();
    // A font reports its own changes, as any font change of a control does.
    NotifyChanged();
}

void TGFlatCalendar::SetStartOfWeek(int v)
{
    if (v == 1 || v == 2)
        setValue(m_startOfWeek, v);
}

void TGFlatCalendar::SetMonth(int v) { setValue(m_month, v); }
void TGFlatCalendar::SetYear(int v) { setValue(m_year, v); }
void TGFlatCalendar::SetTitleFont(const TObjectFont& f) { setFont(m_titleFont, f); }
void TGFlatCalendar::SetDayNameFont(const TObjectFont& f) { setFont(m_dayNameFont, f); }
void TGFlatCalendar::SetCellFont(const TObjectFont& f) { setFont(m_cellFont, f); }
void TGFlatCalendar::SetShowYear(bool v) { setValue(m_showYear, v); }
void TGFlatCalendar::SetDayNameBGColor(TColor v) { setValue(m_dayNameBGColor, v); }
void TGFlatCalendar::SetCalendarBorderStyle(TFlatCalBorderStyle v) { setValue(m_calendarBorderStyle, v); }
void TGFlatCalendar::SetDayNameBorderStyle(TFlatCalBorderStyle v) { setValue(m_dayNameBorderStyle, v); }
void TGFlatCalendar::SetCellBorderStyle(TFlatCalBorderStyle v) { setValue(m_cellBorderStyle, v); }
void TGFlatCalendar::SetDayNameStyle(TFlatCalHeadersStyle v) { setValue(m_dayNameStyle, v); }
void TGFlatCalendar::SetTitleBGcolor(TColor v) { setValue(m_titleBGcolor, v); }
void TGFlatCalendar::SetBackgroundcolor(TColor v) { setValue(m_backgroundcolor, v); }
void TGFlatCalendar::SetShadowColor(TColor v) { setValue(m_shadowColor, v); }

void TGFlatCalendar::SetShadowDepth(int v)
{
    if (v <= 10)
        setValue(m_shadowDepth, v);
}

void TGFlatCalendar::SetShadowPosition(TFlatShadowPosition v) { setValue(m_shadowPosition, v); }
void TGFlatCalendar::SetLanguage(TFlatCalLanguage v) { setValue(m_language, v); }
void TGFlatCalendar::SetCalTransparent(bool v) { setValue(m_calTransparent, v); }

void TGFlatCalendar::AssignCalendarTo(TGFlatCalendar& t) const
{
    // The order the properties dialog copies them in.
    t.SetMonth(m_month);
    t.SetYear(m_year);
    t.SetTitleFont(m_titleFont);
    t.SetDayNameFont(m_dayNameFont);
    t.SetCellFont(m_cellFont);
    t.SetDayNameBGColor(m_dayNameBGColor);
    t.SetTitleBGcolor(m_titleBGcolor);
    t.SetBackgroundcolor(m_backgroundcolor);
    t.SetCalendarBorderStyle(m_calendarBorderStyle);
    t.SetDayNameBorderStyle(m_dayNameBorderStyle);
    t.SetCellBorderStyle(m_cellBorderStyle);
    t.SetShadowColor(m_shadowColor);
    t.SetShadowDepth(m_shadowDepth);
    t.SetShadowPosition(m_shadowPosition);
    t.SetDayNameStyle(m_dayNameStyle);
    t.SetShowYear(m_showYear);
    t.SetStartOfWeek(m_startOfWeek);
    t.SetLanguage(m_language);
    t.SetCalTransparent(m_calTransparent);
}

// --- Stream --------------------------------------------------------------------------------

void TGFlatCalendar::WriteProperties(TObjectPropertyWriter& w) const
{
    TGGraphicControl::WriteProperties(w);
    // No property has a stored default: every one is written.
    w.integer("StartOfWeek", m_startOfWeek);
    w.integer("Month", m_month);
    w.integer("Year", m_year);
    w.font("TitleFont", m_titleFont);
    w.font("DayNameFont", m_dayNameFont);
    w.font("CellFont", m_cellFont);
    w.boolean("ShowYear", m_showYear);
    w.color("DayNameBGColor", m_dayNameBGColor);
    w.ident("CalendarBorderStyle", identOf(kBorderStyleNames, m_calendarBorderStyle));
    w.ident("DayNameBorderStyle", identOf(kBorderStyleNames, m_dayNameBorderStyle));
    w.ident("CellBorderStyle", identOf(kBorderStyleNames, m_cellBorderStyle));
    w.ident("DayNameStyle", identOf(kHeadersStyleNames, m_dayNameStyle));
    w.color("TitleBGcolor", m_titleBGcolor);
    w.color("Backgroundcolor", m_backgroundcolor);
    w.color("ShadowColor", m_shadowColor);
    w.integer("ShadowDepth", m_shadowDepth);
    w.ident("ShadowPosition", identOf(kShadowPositionNames, m_shadowPosition));
    w.ident("Language", identOf(kLanguageNames, m_language));
    w.boolean("CalTransparent", m_calTransparent);
}

TPropertySet<TGFlatCalendar> TGFlatCalendar::Properties()
{
    using C = TGFlatCalendar;
    auto border = [](TStreamReader& r) { return TFlatCalBorderStyle(readEnumIdent(r, kBorderStyleNames)); };
    TPropertySet<C> p;
    p.inherit(CommonProperties());
    p.add("StartOfWeek", [](C& o, TStreamReader& r) { o.SetStartOfWeek(r.readInteger()); });
    p.add("Month", [](C& o, TStreamReader& r) { o.SetMonth(r.readInteger()); });
    p.add("Year", [](C& o, TStreamReader& r) { o.SetYear(r.readInteger()); });
    p.addNested<TObjectFont>("TitleFont", [](C& o) -> TObjectFont& { return o.m_titleFont; }, fontProperties());
    p.addNested<TObjectFont>("DayNameFont", [](C& o) -> TObjectFont& { return o.m_dayNameFont; }, fontProperties());
    p.addNested<TObjectFont>("CellFont", [](C& o) -> TObjectFont& { return o.m_cellFont; }, fontProperties());
    p.add("ShowYear", [](C& o, TStreamReader& r) { o.SetShowYear(r.readBoolean()); });
    p.add("DayNameBGColor", [](C& o, TStreamReader& r) { o.SetDayNameBGColor(readColor(r)); });
    p.add("CalendarBorderStyle", [=](C& o, TStreamReader& r) { o.SetCalendarBorderStyle(border(r)); });
    p.add("DayNameBorderStyle", [=](C& o, TStreamReader& r) { o.SetDayNameBorderStyle(border(r)); });
    p.add("CellBorderStyle", [=](C& o, TStreamReader& r) { o.SetCellBorderStyle(border(r)); });
    p.add("DayNameStyle", [](C& o, TStreamReader& r) {
        o.SetDayNameStyle(TFlatCalHeadersStyle(readEnumIdent(r, kHeadersStyleNames)));
    });
    p.add("TitleBGcolor", [](C& o, TStreamReader& r) { o.SetTitleBGcolor(readColor(r)); });
    p.add("Backgroundcolor", [](C& o, TStreamReader& r) { o.SetBackgroundcolor(readColor(r)); });
    p.add("ShadowColor", [](C& o, TStreamReader& r) { o.SetShadowColor(readColor(r)); });
    p.add("ShadowDepth", [](C& o, TStreamReader& r) { o.SetShadowDepth(r.readInteger()); });
    p.add("ShadowPosition", [](C& o, TStreamReader& r) {
        o.SetShadowPosition(TFlatShadowPosition(readEnumIdent(r, kShadowPositionNames)));
    });
    p.add("Language", [](C& o, TStreamReader& r) { o.SetLanguage(TFlatCalLanguage(readEnumIdent(r, kLanguageNames))); });
    p.add("CalTransparent", [](C& o, TStreamReader& r) { o.SetCalTransparent(r.readBoolean()); });
    return p;
}

// --- Drawing -------------------------------------------------------------------------------

TFlatCalDrawParams TGFlatCalendar::DrawParams() const
{
    const float zoom = Zoom();
    TFlatCalDrawParams b;
    b.BodyColor = m_backgroundcolor;
    b.TitleColor = m_titleBGcolor;
    b.Month = m_month;
    b.Year = m_year;
    b.CalendarRect = flatCalendarAreas(width(), height(), m_shadowDepth, zoom, m_shadowPosition, m_calTransparent)
                         .calendar;
    b.FirstDayOfWeek = m_startOfWeek;
    b.CalendarBorderStyle = m_calendarBorderStyle;
    b.TitleFont = zoomedFont(m_titleFont, zoom, ppi());
    b.ShowYear = m_showYear;
    b.DayNameFont = zoomedFont(m_dayNameFont, zoom, ppi());
    b.DayNameBorderStyle = m_dayNameBorderStyle;
    b.DayNameStyle = m_dayNameStyle;
    b.DayNameColor = m_dayNameBGColor;
    b.CellFont = zoomedFont(m_cellFont, zoom, ppi());
    b.CellBorderStyle = m_cellBorderStyle;
    b.MonthNames = flatCalendarMonthNames(m_language);
    b.DayNames = flatCalendarDayNames(m_language);
    b.Transparent = m_calTransparent;
    return b;
}

TFlatCalDrawParams TGFlatCalendar::DrawCalendar(QPainter& p) const
{
    const TFlatCalAreas areas =
        flatCalendarAreas(width(), height(), m_shadowDepth, Zoom(), m_shadowPosition, m_calTransparent);
    if (areas.shadow && areas.shadow->Right >= areas.shadow->Left && areas.shadow->Bottom >= areas.shadow->Top) {
        // Filled and outlined in the shadow colour, one pixel beyond its right and bottom.
        const TFlatCalRect& s = *areas.shadow;
        p.fillRect(QRect(s.Left, s.Top, s.Right - s.Left + 1, s.Bottom - s.Top + 1), toQColor(m_shadowColor));
    }
    TFlatCalDrawParams block = DrawParams();
    DrawMonth(p, block, ppi());
    return block;
}

void TGFlatCalendar::paintTo(QPainter& p)
{
    // The bitmap export and the printer draw into larger surfaces: keep to the object.
    p.save();
    p.setClipRect(QRect(0, 0, width(), height()), Qt::IntersectClip);
    DrawCalendar(p);
    p.restore();
}

// --- Menu and dialog -----------------------------------------------------------------------

void TGFlatCalendar::AfterLoad()
{
    TGGraphicControl::AfterLoad();
    QMenu* menu = ContextMenu();
    menu->addSeparator();
    addMenuItem(menu, QStringLiteral("Properties"), [this] { ShowProperties(); });
}

void TGFlatCalendar::ShowProperties()
{
    TFlatCalendarEditor dialog(window());
    TGFlatCalendar* sample = dialog.Sample;
    AssignCalendarTo(*sample);
    // The preview shows the calendar at zoom 1.
    sample->resize(truncToInt(double(width()) / double(Zoom())), truncToInt(double(height()) / double(Zoom())));
    if (prompter().execDialog(dialog) != QDialog::Accepted)
        return;
    editProperties([this, sample] { sample->AssignCalendarTo(*this); });
    update();
    NotifyChanged();
}
