#pragma once
// Pages the calendar tests draw: every layout, its day cells filled with texts as a word
// processor writes them.
#include "calendar/calendar_panel.h"

#include <QRandomGenerator>

namespace pagesamples {

// A day's text as a word processor writes it; some days hold a few words, some more
// than their cell can show, some nothing.
inline QByteArray cellRtf(int cell)
{
    QRandomGenerator rng(quint32(cell) * 7919u);
    const int paragraphs = cell % 9 == 0 ? 0 : cell % 5 == 0 ? 40 : 1 + rng.bounded(4);
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}"
                     "{\\f1\\fnil\\fcharset0 Times New Roman;}{\\f2\\fnil\\fcharset0 Courier New;}"
                     "{\\f3\\fnil\\fcharset204 Arial;}}\r\n"
                     "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue160;\\red0\\green128\\blue0;}\r\n\\uc1\r\n";
    static const char* words[] = {"Meeting", "dentist", "birthday", "Caf\\'e9", "{\\f3 \\'c2\\'f1\\'f2}", "at",
                                  "3pm", "\\u8364?", "holiday", "\\{x\\}", "WWW", "i"};
    for (int p = 0; p < paragraphs; ++p) {
        rtf += "\\pard";
        if (rng.bounded(4) == 0)
            rtf += rng.bounded(2) ? "\\qc" : "\\qr";
        for (int r = 1 + rng.bounded(3); r > 0; --r) {
            rtf += "{\\f" + QByteArray::number(rng.bounded(3)) + "\\fs" + QByteArray::number(12 + 2 * rng.bounded(10));
            if (rng.bounded(2))
                rtf += "\\b";
            if (rng.bounded(3) == 0)
                rtf += "\\i";
            if (rng.bounded(5) == 0)
                rtf += "\\ul";
            if (rng.bounded(2))
                rtf += "\\cf" + QByteArray::number(1 + rng.bounded(3));
            rtf += ' ';
            for (int w = 1 + rng.bounded(5); w > 0; --w) {
                rtf += words[rng.bounded(int(std::size(words)))];
                rtf += rng.bounded(6) == 0 ? "\\tab " : " ";
            }
            rtf += '}';
        }
        rtf += "\\par\r\n";
    }
    return rtf + "}\r\n";
}

// A December 1997 page in a layout, its cells filled; the layouts cycle through the
// number positions, header styles, border styles and title choices.
inline void fillPage(TCalendarPanel32& page, int layout)
{
    page.ApplyMainFormDesignValues();
    page.ResetToDefaults();
    page.SetMainCalYear(1997);
    page.SetMainCalMonth(12);
    page.SetMainCalDay(1);
    page.SetCalendarLayout(TCalendarLayout(layout));
    if (layout % 3 == 1)
        page.SetNumberPosition(TCalendarNumberPosition::cnpCenter);
    page.SetHeadersStyle(TCalHeadersStyle(layout % 3));
    page.SetMiniHeadersStyle(TCalHeadersStyle((layout + 1) % 3));
    page.SetCellBorder(TCalBorderStyle(layout % 5));
    page.SetHeadersBorder(TCalBorderStyle((layout + 2) % 5));
    page.SetMiniCellBorder(TCalBorderStyle((layout + 3) % 5));
    page.SetTitleShowYear(layout % 2 == 0);
    if (layout % 7 == 3)
        page.SetStartOfWeek(2);
    if (layout == 5)
        page.SetUserTitle(QStringLiteral("My own title"));
    for (int i = 1; i <= TCalendarPage::kCellCount; ++i)
        page.CellStorage(i)->setRtf(cellRtf(i));
    page.RecalcLayout(true);
}

} // namespace pagesamples
