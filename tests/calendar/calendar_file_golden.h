#pragma once
// Calendar files assembled byte by byte, independently of the writer, for the
// calendar-file tests.
#include "calendar/calendar_page.h"

#include <QByteArray>
#include <QString>

namespace golden {

// Typed values with the tag spelled out by the caller.
struct Bytes {
    QByteArray b;
    Bytes& raw(const QByteArray& x) { b += x; return *this; }
    Bytes& tag(int t) { b += char(t); return *this; }
    Bytes& listBegin() { return tag(1); }
    Bytes& listEnd() { return tag(0); }
    Bytes& i8(int v) { tag(2); b += char(qint8(v)); return *this; }
    Bytes& i16(int v) { tag(3); b += char(v & 0xff); b += char((v >> 8) & 0xff); return *this; }
    Bytes& i32(qint32 v)
    {
        tag(4);
        const quint32 u = quint32(v);
        for (int i = 0; i < 4; ++i)
            b += char((u >> (8 * i)) & 0xff);
        return *this;
    }
    Bytes& sstr(const QByteArray& s) { tag(6); b += char(s.size()); b += s; return *this; }
    Bytes& lstr(const QByteArray& s)
    {
        tag(12);
        const quint32 n = quint32(s.size());
        for (int i = 0; i < 4; ++i)
            b += char((n >> (8 * i)) & 0xff);
        b += s;
        return *this;
    }
    Bytes& t() { return tag(9); }
    Bytes& f() { return tag(8); }
    Bytes& boolean(bool v) { return v ? t() : f(); }
    Bytes& name(const QByteArray& s) { b += char(s.size()); b += s; return *this; }
    Bytes& binary(const QByteArray& data)
    {
        tag(10);
        const quint32 n = quint32(data.size());
        for (int i = 0; i < 4; ++i)
            b += char((n >> (8 * i)) & 0xff);
        b += data;
        return *this;
    }
    // A day-cell record: empty, or with the RTF and its four trailing zero bytes.
    Bytes& cell(const QByteArray& rtf = {})
    {
        raw("TPF0").name("TWPRtfStorage").name("");
        if (!rtf.isEmpty())
            name("RtfText.Data").binary(rtf + QByteArray(4, '\0'));
        return listEnd().listEnd();
    }
};

// The known page's settings block, value by value in file order.
inline Bytes& knownSettings(Bytes& x)
{
    x.i8(1);          // PaperSize A4
    x.i8(1);          // CalendarOrientation landscape (layout 3 is landscape)
    x.i8(34);         // LeftMarginInch 0.35 -> 34
    x.i8(50);         // TopMarginInch 0.5
    x.i8(75);         // RightMarginInch 0.75
    x.i16(150);       // BottomMarginInch 1.5
    x.i8(3);          // CalendarLayout loFCMinisInTitleLS
    x.i8(1);          // CalendarBorder cbAll
    x.i8(0);          // CalendarLineLayout llFull
    for (const char* m : {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"})
        x.sstr(m);
    for (const char* d : {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"})
        x.sstr(d);
    x.i32(16777215);  // TitleBGColor white
    x.sstr("Arial").i16(200).t().f().f().t().i16(255); // TitleFont, size 200, bold + strike-out, red
    x.t();            // TitleShowYear
    x.sstr("Times New Roman").i8(16).t().f().f().f().i8(0); // HeadersFont
    x.i8(3);          // HeadersBorder cbBottom
    x.i8(2);          // HeadersStyle dsWhole
    x.i32(0xC0C0C0);  // HeadersBGColor silver
    x.sstr("Courier New").i8(12).f().t().t().f().i32(0x800000); // CellFont, italic + underline, navy
    x.i8(4);          // CellBorder cbTopBottom
    x.i8(1);          // MiniCalendarLineLayout mllBoxed
    x.i8(0);          // MiniCalBorder cbNone
    x.i32(0x00FFFF);  // MiniCalBGColor yellow
    x.f();            // MiniShowYear
    x.sstr("Times New Roman").i8(6).t().f().f().f().i32(qint32(0x80000008u)); // MiniTitleFont, window text
    x.sstr("Times New Roman").i8(8).f().f().f().f().i32(16777215);            // MiniHeadersFont, white
    x.i8(0);          // MiniHeadersBGColor black
    x.i8(1);          // MiniHeadersStyle dsThreeChars
    x.i8(4);          // MiniHeadersBorder cbTopBottom
    x.i8(1);          // MiniCellBorder cbAll
    x.sstr("Times New Roman").i8(6).f().f().f().f().i8(-1); // MiniCellFont, colour -1
    x.i8(0);          // NumberPosition cnpCenter
    return x;
}

// Puts the values knownSettings() spells out into a page.
inline void applyKnownSettings(TCalendarPage& page)
{
    TCalendarSettings& s = page.rawSettings();
    s.PaperSize = 1;
    s.CalendarLayout = TCalendarLayout::loFCMinisInTitleLS;
    s.LeftMarginInch = 0.35f;
    s.TopMarginInch = 0.5f;
    s.RightMarginInch = 0.75f;
    s.BottomMarginInch = 1.5f;
    s.CalendarBorder = TCalBorderStyle::cbAll;
    s.CalendarLineLayout = TCalendarLineLayout::llFull;
    const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    for (int i = 0; i < 12; ++i)
        s.MonthNames[size_t(i)] = QString::fromLatin1(months[i]);
    const char* days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    for (int i = 0; i < 7; ++i)
        s.DayNames[size_t(i)] = QString::fromLatin1(days[i]);
    s.TitleBGColor = 0xFFFFFF;
    s.TitleFont = TCalFont{QStringLiteral("Arial"), 200, true, false, false, true, 255};
    s.TitleShowYear = true;
    s.HeadersFont = TCalFont{QStringLiteral("Times New Roman"), 16, true, false, false, false, 0};
    s.HeadersBorder = TCalBorderStyle::cbBottom;
    s.HeadersStyle = TCalHeadersStyle::dsWhole;
    s.HeadersBGColor = 0xC0C0C0;
    s.CellFont = TCalFont{QStringLiteral("Courier New"), 12, false, true, true, false, 0x800000};
    s.CellBorder = TCalBorderStyle::cbTopBottom;
    s.MiniCalendarLineLayout = TMiniCalendarLineLayout::mllBoxed;
    s.MiniCalBorder = TCalBorderStyle::cbNone;
    s.MiniCalBGColor = 0x00FFFF;
    s.MiniShowYear = false;
    s.MiniTitleFont = TCalFont{QStringLiteral("Times New Roman"), 6, true, false, false, false, TColor(0x80000008u)};
    s.MiniHeadersFont = TCalFont{QStringLiteral("Times New Roman"), 8, false, false, false, false, 0xFFFFFF};
    s.MiniHeadersBGColor = 0;
    s.MiniHeadersStyle = TCalHeadersStyle::dsThreeChars;
    s.MiniHeadersBorder = TCalBorderStyle::cbTopBottom;
    s.MiniCellBorder = TCalBorderStyle::cbAll;
    s.MiniCellFont = TCalFont{QStringLiteral("Times New Roman"), 6, false, false, false, false, -1};
    s.NumberPosition = TCalendarNumberPosition::cnpCenter;
    s.MainCalDay = 15;
    s.MainCalMonth = 3;
    s.MainCalYear = 2024;
    s.StartOfWeek = 2;
    s.StartingTime = QTime(7, 30);
    page.RecalcLayout(false);
}

inline const QByteArray& cellRtf() { static const QByteArray r("{\\rtf1\\ansi Hello\\par World}"); return r; }

// A whole file of the given version with the known settings, cell 2 holding text, the
// title "My year" (version 2 on), an empty object section (3 on), border `border` (4).
inline QByteArray knownFile(int version, const QByteArray& border = {}, const QByteArray& objects = {})
{
    Bytes x;
    x.listBegin().i8(version).i8(1);
    knownSettings(x);
    if (version > 3)
        x.sstr(border);
    x.i8(15).i8(3).i16(2024).i8(2); // day, month, year, week start
    x.i8(7).i8(30);                  // starting time
    for (int i = 1; i <= 42; ++i)
        x.cell(i == 2 ? cellRtf() : QByteArray());
    if (version > 1)
        x.sstr("My year");
    x.listEnd();
    if (version > 2)
        x.listBegin().raw(objects).listEnd();
    return x.b;
}

} // namespace golden
