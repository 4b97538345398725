#include "calendar_page.h"

#include "imaging/metafile_player.h"
#include "platform/locale_names.h"
#include "platform/program_folder.h"
#include "platform/screen_ppi.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

template <typename T>
bool change(T& field, const T& value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

// Names in files written on Windows may differ in case from the file on disk.
QString resolveBorderPath(const QString& folder, const QString& fileName)
{
    if (QFileInfo::exists(folder + fileName))
        return folder + fileName;
    // Compared one by one: a name filter would treat *, ? and [ as wildcards.
    const QStringList entries = QDir(folder).entryList(QDir::Files);
    for (const QString& e : entries)
        if (e.compare(fileName, Qt::CaseInsensitive) == 0)
            return folder + e;
    return {};
}

// A border name comes from files too: never let it reach outside the border folder.
bool isSafeBorderName(const QString& name)
{
    return !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) && !name.contains(QLatin1String(".."))
        && !name.contains(QLatin1Char(':'));
}

} // namespace

TCalendarPage::TCalendarPage(int ppi) : m_ppi(ppi > 0 ? ppi : ScreenPPI())
{
    LoadLocaleNames();
    m_s.StartingTime = QTime(8, 0);
    RecalcLayout(true);
}

void TCalendarPage::setPpi(int ppi)
{
    if (ppi <= 0 || ppi == m_ppi)
        return;
    m_ppi = ppi;
    relayout();
}

void TCalendarPage::LoadLocaleNames()
{
    for (int i = 1; i <= 12; ++i)
        m_s.MonthNames[size_t(i - 1)] = LocaleLongMonthName(i);
    for (int i = 1; i <= 7; ++i)
        m_s.DayNames[size_t(i - 1)] = LocaleLongDayName(i);
}

void TCalendarPage::SetCalendarLayout(TCalendarLayout v)
{
    if (!change(m_s.CalendarLayout, v))
        return;
    relayout();
    // The orientation may have changed: the border picture of the other orientation applies.
    if (!m_s.WMFBorderFile.isEmpty())
        SetWMFBorderFile(QString(m_s.WMFBorderFile));
}

void TCalendarPage::SetCalendarOrientation(TCalendarOrientation v)
{
    if (change(m_s.CalendarOrientation, v))
        relayout();
}

void TCalendarPage::SetCalendarLineLayout(TCalendarLineLayout v)
{
    if (!change(m_s.CalendarLineLayout, v))
        return;
    using B = TCalBorderStyle;
    switch (v) {
    case TCalendarLineLayout::llFull:
        m_s.CalendarBorder = B::cbAll, m_s.HeadersBorder = B::cbAll, m_s.CellBorder = B::cbAll;
        break;
    case TCalendarLineLayout::llHeadersAndCells:
        m_s.CalendarBorder = B::cbNone, m_s.HeadersBorder = B::cbAll, m_s.CellBorder = B::cbAll;
        break;
    case TCalendarLineLayout::llCellsOnly:
        m_s.CalendarBorder = B::cbNone, m_s.HeadersBorder = B::cbNone, m_s.CellBorder = B::cbAll;
        break;
    }
    repaint();
}

void TCalendarPage::SetMiniCalendarLineLayout(TMiniCalendarLineLayout v)
{
    if (!change(m_s.MiniCalendarLineLayout, v))
        return;
    using B = TCalBorderStyle;
    switch (v) {
    case TMiniCalendarLineLayout::mllFull:
        m_s.MiniCalBorder = B::cbAll, m_s.MiniCellBorder = B::cbAll, m_s.MiniHeadersBorder = B::cbAll;
        break;
    case TMiniCalendarLineLayout::mllBoxed:
        m_s.MiniCalBorder = B::cbAll, m_s.MiniCellBorder = B::cbNone, m_s.MiniHeadersBorder = B::cbTopBottom;
        break;
    case TMiniCalendarLineLayout::mllMinimal:
        m_s.MiniCalBorder = B::cbNone, m_s.MiniCellBorder = B::cbNone, m_s.MiniHeadersBorder = B::cbTop;
        break;
    }
    repaint();
}

#define OV_REPAINT_SETTER(Name, Type)                                                                                  \
    void TCalendarPage::Set##Name(Type v)                                                                              \
    {                                                                                                                  \
        if (change(m_s.Name, v))                                                                                       \
            repaint();                                                                                                 \
    }
#define OV_RELAYOUT_SETTER(Name, Type)                                                                                 \
    void TCalendarPage::Set##Name(Type v)                                                                              \
    {                                                                                                                  \
        if (change(m_s.Name, v))                                                                                       \
            relayout();                                                                                                \
    }

OV_REPAINT_SETTER(CalendarBorder, TCalBorderStyle)
OV_REPAINT_SETTER(HeadersBorder, TCalBorderStyle)
OV_REPAINT_SETTER(CellBorder, TCalBorderStyle)
OV_REPAINT_SETTER(HeadersStyle, TCalHeadersStyle)
OV_REPAINT_SETTER(MiniHeadersStyle, TCalHeadersStyle)
OV_REPAINT_SETTER(NumberPosition, TCalendarNumberPosition)
OV_REPAINT_SETTER(TitleShowYear, bool)
OV_REPAINT_SETTER(MiniShowYear, bool)
OV_REPAINT_SETTER(TitleBGColor, TColor)
OV_REPAINT_SETTER(HeadersBGColor, TColor)
OV_REPAINT_SETTER(MiniHeadersBGColor, TColor)
OV_REPAINT_SETTER(MiniCalBGColor, TColor)
OV_REPAINT_SETTER(MiniCalBorder, TCalBorderStyle)
OV_REPAINT_SETTER(MiniHeadersBorder, TCalBorderStyle)
OV_REPAINT_SETTER(MiniCellBorder, TCalBorderStyle)
OV_REPAINT_SETTER(TitleFont, const TCalFont&)
OV_REPAINT_SETTER(HeadersFont, const TCalFont&)
OV_REPAINT_SETTER(CellFont, const TCalFont&)
OV_REPAINT_SETTER(MiniTitleFont, const TCalFont&)
OV_REPAINT_SETTER(MiniHeadersFont, const TCalFont&)
OV_REPAINT_SETTER(MiniCellFont, const TCalFont&)
OV_REPAINT_SETTER(StartOfWeek, int)
OV_REPAINT_SETTER(UserTitle, const QString&)
OV_RELAYOUT_SETTER(MainCalMonth, int)
OV_RELAYOUT_SETTER(MainCalYear, int)
OV_RELAYOUT_SETTER(MainCalDay, int)
OV_RELAYOUT_SETTER(LeftMarginInch, float)
OV_RELAYOUT_SETTER(TopMarginInch, float)
OV_RELAYOUT_SETTER(RightMarginInch, float)
OV_RELAYOUT_SETTER(BottomMarginInch, float)
OV_RELAYOUT_SETTER(PaperSize, quint8)
OV_RELAYOUT_SETTER(StartingTime, const QTime&)

#undef OV_REPAINT_SETTER
#undef OV_RELAYOUT_SETTER

QString TCalendarPage::BorderFolder() { return ProgramFolder() + QStringLiteral("Borders/"); }

bool TCalendarPage::loadBorderPicture(const QString& name)
{
    const QString ext = m_s.CalendarOrientation == TCalendarOrientation::coPortrait ? QStringLiteral(".wpo")
                                                                                     : QStringLiteral(".wls");
    const QString path = resolveBorderPath(BorderFolder(), name + ext);
    if (path.isEmpty())
        return true; // keep what we had
    QFile file(path);
    QByteArray bytes;
    constexpr qint64 kMaxBorderBytes = 64 * 1024 * 1024;
    if (file.open(QIODevice::ReadOnly) && file.size() <= kMaxBorderBytes)
        bytes = file.readAll();
    // A file the metafile player cannot read clears the border rather than drawing nothing.
    TMetafile picture;
    if (bytes.isEmpty() || !picture.loadFromData(bytes)) {
        m_s.WMFBorderFile.clear();
        m_borderPicture.clear();
        return false;
    }
    m_s.WMFBorderFile = name;
    m_borderPicture = bytes;
    return true;
}

void TCalendarPage::SetWMFBorderFile(const QString& name)
{
    if (name.isEmpty() || !isSafeBorderName(name)) {
        m_s.WMFBorderFile.clear();
        m_borderPicture.clear();
    } else {
        loadBorderPicture(name);
    }
    relayout();
}

QString TCalendarPage::GetMonthName(int i) const
{
    return (i >= 1 && i <= 12) ? m_s.MonthNames[size_t(i - 1)] : QString();
}

void TCalendarPage::SetMonthName(int i, const QString& s)
{
    if (i >= 1 && i <= 12 && change(m_s.MonthNames[size_t(i - 1)], s))
        repaint();
}

QString TCalendarPage::GetDayName(int i) const { return (i >= 1 && i <= 7) ? m_s.DayNames[size_t(i - 1)] : QString(); }

void TCalendarPage::SetDayName(int i, const QString& s)
{
    if (i >= 1 && i <= 7 && change(m_s.DayNames[size_t(i - 1)], s))
        repaint();
}

void TCalendarPage::ResetToDefaults()
{
    const QDate today = QDate::currentDate();
    m_s.PaperSize = 0;
    m_s.UserTitle.clear();
    m_s.CalendarLayout = TCalendarLayout::loFCMinisInTitleLS;
    m_s.StartOfWeek = 1;
    LoadLocaleNames();
    m_s.MainCalDay = today.day();
    m_s.MainCalMonth = today.month();
    m_s.MainCalYear = today.year();
    m_s.TitleBGColor = clWhite;
    m_s.HeadersBGColor = clWhite;
    m_s.MiniCalBGColor = clWhite;
    m_s.MiniHeadersBGColor = clWhite;
    m_s.MiniHeadersFont.color = clBlack;
    m_s.MiniHeadersStyle = TCalHeadersStyle::dsFirstChar;
    m_s.TitleShowYear = true;
    m_s.MiniShowYear = true;
    m_s.LeftMarginInch = m_s.TopMarginInch = m_s.RightMarginInch = m_s.BottomMarginInch = 0.5f;
    m_s.StartingTime = QTime(8, 0);
    SetCalendarLineLayout(TCalendarLineLayout::llFull);
    SetMiniCalendarLineLayout(TMiniCalendarLineLayout::mllBoxed);
    m_s.WMFBorderFile.clear();
    m_borderPicture.clear();
    RecalcLayout(true);
}

void TCalendarPage::ApplyMainFormDesignValues()
{
    const QString times = QStringLiteral("Times New Roman");
    m_s.TitleFont = TCalFont{times, 26, true, false, false, false, clBlack};
    m_s.HeadersFont = TCalFont{times, 16, true, false, false, false, clBlack};
    m_s.CellFont = TCalFont{times, 16, true, false, false, false, clBlack};
    m_s.MiniTitleFont = TCalFont{times, 10, true, false, false, false, clWindowText};
    m_s.MiniHeadersFont = TCalFont{times, 8, false, false, false, false, clWhite};
    m_s.MiniCellFont = TCalFont{times, 8, false, false, false, false, clWindowText};
    m_s.MiniHeadersBGColor = clBlack;
    m_s.MiniCellBorder = TCalBorderStyle::cbAll;
    m_s.MiniHeadersBorder = TCalBorderStyle::cbBottom;
    m_s.CalendarLayout = TCalendarLayout::loFCMinisInTitleLS;
    m_s.LeftMarginInch = m_s.TopMarginInch = m_s.RightMarginInch = m_s.BottomMarginInch = 0.25f;
    RecalcLayout(false);
}

void TCalendarPage::AssignSettings(const TCalendarPage& src)
{
    const TCalendarSettings& o = src.m_s;
    m_s.PaperSize = o.PaperSize;
    m_s.CalendarLayout = o.CalendarLayout;
    m_s.CalendarOrientation = o.CalendarOrientation;
    m_s.StartOfWeek = o.StartOfWeek;
    m_s.MonthNames = o.MonthNames;
    m_s.DayNames = o.DayNames;
    m_s.MainCalDay = o.MainCalDay;
    m_s.MainCalMonth = o.MainCalMonth;
    m_s.MainCalYear = o.MainCalYear;
    m_s.TitleFont = o.TitleFont;
    m_s.TitleBGColor = o.TitleBGColor;
    m_s.HeadersFont = o.HeadersFont;
    m_s.HeadersBGColor = o.HeadersBGColor;
    m_s.HeadersStyle = o.HeadersStyle;
    m_s.CellFont = o.CellFont;
    m_s.MiniCalBGColor = o.MiniCalBGColor;
    m_s.MiniTitleFont = o.MiniTitleFont;
    m_s.MiniHeadersFont = o.MiniHeadersFont;
    m_s.MiniHeadersBGColor = o.MiniHeadersBGColor;
    m_s.MiniHeadersStyle = o.MiniHeadersStyle;
    m_s.MiniCellFont = o.MiniCellFont;
    m_s.TitleShowYear = o.TitleShowYear;
    m_s.MiniShowYear = o.MiniShowYear;
    m_s.LeftMarginInch = o.LeftMarginInch;
    m_s.TopMarginInch = o.TopMarginInch;
    m_s.RightMarginInch = o.RightMarginInch;
    m_s.BottomMarginInch = o.BottomMarginInch;
    m_s.StartingTime = o.StartingTime;
    SetCalendarLineLayout(o.CalendarLineLayout);
    SetMiniCalendarLineLayout(o.MiniCalendarLineLayout);
    SetUserTitle(o.UserTitle);
    SetWMFBorderFile(o.WMFBorderFile);
    RecalcLayout(false);
}

bool TCalendarPage::SameSettings(const TCalendarPage& other) const
{
    const TCalendarSettings& a = m_s;
    const TCalendarSettings& b = other.m_s;
    return a.PaperSize == b.PaperSize && a.CalendarLayout == b.CalendarLayout && a.StartOfWeek == b.StartOfWeek
        && a.CalendarOrientation == b.CalendarOrientation && a.MonthNames == b.MonthNames && a.DayNames == b.DayNames
        && a.MainCalDay == b.MainCalDay && a.MainCalMonth == b.MainCalMonth && a.MainCalYear == b.MainCalYear
        && a.TitleFont.sameLook(b.TitleFont) && a.TitleBGColor == b.TitleBGColor
        && a.HeadersFont.sameLook(b.HeadersFont) && a.HeadersBGColor == b.HeadersBGColor
        && a.HeadersStyle == b.HeadersStyle && a.CellFont.sameLook(b.CellFont) && a.MiniCalBGColor == b.MiniCalBGColor
        && a.MiniTitleFont.sameLook(b.MiniTitleFont) && a.MiniHeadersFont.sameLook(b.MiniHeadersFont)
        && a.MiniHeadersBGColor == b.MiniHeadersBGColor && a.MiniHeadersStyle == b.MiniHeadersStyle
        && a.MiniCellFont.sameLook(b.MiniCellFont) && a.TitleShowYear == b.TitleShowYear
        && a.MiniShowYear == b.MiniShowYear && a.LeftMarginInch == b.LeftMarginInch
        && a.TopMarginInch == b.TopMarginInch && a.RightMarginInch == b.RightMarginInch
        && a.BottomMarginInch == b.BottomMarginInch && a.StartingTime == b.StartingTime
        && a.CalendarLineLayout == b.CalendarLineLayout && a.MiniCalendarLineLayout == b.MiniCalendarLineLayout
        && a.UserTitle == b.UserTitle && a.WMFBorderFile == b.WMFBorderFile;
}

void TCalendarPage::RecalcLayout(bool resetMiniFonts)
{
    m_geo = ComputeLayoutGeometry(m_s, !m_s.WMFBorderFile.isEmpty(), m_ppi);
    m_s.CalendarOrientation = m_geo.orientation;
    if (m_geo.ShowMiniCalendars)
        m_miniCount = int(m_geo.minis.size());
    if (resetMiniFonts && m_geo.miniFontBase > 0) {
        const int base = m_geo.miniFontBase;
        m_s.MiniTitleFont.size = base;
        m_s.MiniHeadersFont.size = int(base * 0.8);
        m_s.MiniCellFont.size = int(base * 0.8);
    }
    layoutChanged();
}

void TCalendarPage::ChooseCalendarLayout(TCalendarLayout v)
{
    SetCalendarLayout(v);
    RecalcLayout(true);
}

TWPRtfStorage* TCalendarPage::CellStorage(int i)
{
    return (i >= 1 && i <= kCellCount) ? &m_cells[size_t(i - 1)] : nullptr;
}

const TWPRtfStorage* TCalendarPage::CellStorage(int i) const
{
    return (i >= 1 && i <= kCellCount) ? &m_cells[size_t(i - 1)] : nullptr;
}

QByteArray TCalendarPage::CellRtf(int i) const
{
    const TWPRtfStorage* s = CellStorage(i);
    return s ? s->rtf() : QByteArray();
}

void TCalendarPage::SetCellRtf(int i, const QByteArray& rtf)
{
    if (TWPRtfStorage* s = CellStorage(i)) {
        s->setRtf(rtf);
        repaint();
    }
}

const TCellGeometry& TCalendarPage::cellGeometry(int i) const
{
    static const TCellGeometry none;
    return (i >= 1 && i <= kCellCount) ? m_drawn.cells[size_t(i - 1)] : none;
}

int TCalendarPage::DayOfCell(int i) const { return cellGeometry(i).day; }

int TCalendarPage::CellOfDay(int d) const
{
    for (int i = 1; i <= kCellCount; ++i)
        if (m_drawn.cells[size_t(i - 1)].day == d)
            return i;
    return -1;
}

int TCalendarPage::CellAt(int x, int y) const
{
    for (int i = 1; i <= kCellCount; ++i)
        if (m_drawn.cells[size_t(i - 1)].rTotal.contains(x, y))
            return i;
    return 0;
}

bool TCalendarPage::PointInCell(int x, int y) const { return CellAt(x, y) != 0; }

void TCalendarPage::ClearAllCells()
{
    for (int i = 0; i < kCellCount; ++i) {
        m_cells[size_t(i)].assign(m_cells[kCellCount]);
        m_drawn.cells[size_t(i)].rTotal = TRect();
        m_drawn.cells[size_t(i)].rFree = TRect();
    }
    repaint();
}

bool TCalendarPage::HasCellText() const
{
    for (int i = 0; i < kCellCount; ++i)
        if (!m_cells[size_t(i)].isEmpty())
            return true;
    return false;
}

void TCalendarPage::ClickCell(int i)
{
    if (i < 1 || i > kCellCount || !ClickedInCellEvent)
        return;
    const TCellGeometry& c = m_drawn.cells[size_t(i - 1)];
    ClickedInCellEvent(c.rTotal, c.rFree, i, c.day, m_cells[size_t(i - 1)]);
}

void TCalendarPage::ClickCellAt(int x, int y)
{
    if (const int i = CellAt(x, y))
        ClickCell(i);
}

void TCalendarPage::ClickNextCell(int i)
{
    if (i >= 1 && i < kCellCount && !m_drawn.cells[size_t(i)].rFree.isNull())
        ClickCell(i + 1);
}

void TCalendarPage::ClickPreviousCell(int i)
{
    if (i > 1 && i <= kCellCount && !m_drawn.cells[size_t(i - 2)].rFree.isNull())
        ClickCell(i - 1);
}
