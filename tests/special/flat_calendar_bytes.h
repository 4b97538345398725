#pragma once
// Floating-calendar records spelled out byte by byte from the record layout, without
// our writer: the stored properties in their order, each with its value tag.
#include <QByteArray>
#include <QList>

namespace flatbytes {

// A colour as stored: a named colour's identifier, or an integer.
struct Color {
    QByteArray ident;
    qint64 value = 0;
    Color(const char* name) : ident(name) {}
    Color(qint64 v) : value(v) {}
};

struct Font {
    Color color = "clBlack";
    int height = -11;
    QByteArray name = "Arial";
    QList<QByteArray> style;
};

// Defaults are those of a new floating calendar at 96 pixels per inch.
struct Record {
    QByteArray objectName = "Component0";
    int left = 0, top = 0, width = 150, height = 120;
    bool locked = false, unselectable = false;
    int startOfWeek = 1, month = 3, year = 2025;
    Font title{"clBlack", -11}, dayName{"clBlack", -11}, cell{"clBlack", -9};
    bool showYear = false;
    Color dayNameBG = "clWhite";
    QByteArray calendarBorder = "fcbAll", dayNameBorder = "fcbAll", cellBorder = "fcbNone";
    QByteArray dayNameStyle = "fdsFirstChar";
    Color titleBG = "clWhite", body = "clWhite", shadow = "clBlack";
    int shadowDepth = 0;
    QByteArray shadowPosition = "fcpLowerRight", language = "fclEnglish";
    bool transparent = false;

    QByteArray bytes() const
    {
        QByteArray b("TPF0");
        str(b, "TGFlatCalendar");
        str(b, objectName);
        integer(b, "Left", left);
        integer(b, "Top", top);
        integer(b, "Width", width);
        integer(b, "Height", height);
        boolean(b, "Locked", locked);
        boolean(b, "Unselectable", unselectable);
        integer(b, "StartOfWeek", startOfWeek);
        integer(b, "Month", month);
        integer(b, "Year", year);
        font(b, "TitleFont", title);
        font(b, "DayNameFont", dayName);
        font(b, "CellFont", cell);
        boolean(b, "ShowYear", showYear);
        color(b, "DayNameBGColor", dayNameBG);
        ident(b, "CalendarBorderStyle", calendarBorder);
        ident(b, "DayNameBorderStyle", dayNameBorder);
        ident(b, "CellBorderStyle", cellBorder);
        ident(b, "DayNameStyle", dayNameStyle);
        color(b, "TitleBGcolor", titleBG);
        color(b, "Backgroundcolor", body);
        color(b, "ShadowColor", shadow);
        integer(b, "ShadowDepth", shadowDepth);
        ident(b, "ShadowPosition", shadowPosition);
        ident(b, "Language", language);
        boolean(b, "CalTransparent", transparent);
        b += char(0); // end of the properties
        b += char(0); // no children
        return b;
    }

    static void str(QByteArray& b, const QByteArray& s)
    {
        b += char(s.size());
        b += s;
    }
    static void value(QByteArray& b, qint64 v)
    {
        const int bytes = (v >= -128 && v <= 127) ? 1 : (v >= -32768 && v <= 32767) ? 2 : 4;
        b += char(bytes == 1 ? 2 : bytes == 2 ? 3 : 4);
        for (int i = 0; i < bytes; ++i)
            b += char((v >> (8 * i)) & 0xFF);
    }
    static void integer(QByteArray& b, const QByteArray& name, qint64 v)
    {
        str(b, name);
        value(b, v);
    }
    static void boolean(QByteArray& b, const QByteArray& name, bool v)
    {
        str(b, name);
        b += char(v ? 9 : 8);
    }
    static void ident(QByteArray& b, const QByteArray& name, const QByteArray& id)
    {
        str(b, name);
        b += char(7);
        str(b, id);
    }
    static void color(QByteArray& b, const QByteArray& name, const Color& c)
    {
        if (!c.ident.isEmpty())
            return ident(b, name, c.ident);
        integer(b, name, c.value);
    }
    static void font(QByteArray& b, const QByteArray& name, const Font& f)
    {
        color(b, name + ".Color", f.color);
        integer(b, name + ".Height", f.height);
        str(b, name + ".Name");
        b += char(6);
        str(b, f.name);
        str(b, name + ".Style");
        b += char(11);
        for (const QByteArray& m : f.style)
            str(b, m);
        b += char(0);
    }
};

} // namespace flatbytes
