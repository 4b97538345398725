#pragma once
// Test material the calendar benchmarks share: day-cell texts of formatted RTF as a
// word processor writes them, a month page holding 42 of them, and that page as a
// calendar file of about 1 MB.
#include "calendar/calendar_file.h"
#include "calendar/calendar_panel.h"

#include <QBuffer>
#include <QRandomGenerator>

namespace benchdata {

// One cell of about `bytes` bytes of RTF: paragraphs of runs in three fonts, sizes,
// bold and italic, colours, accented letters and Unicode escapes.
inline QByteArray formattedCellRtf(int seed, int bytes)
{
    QRandomGenerator rng(quint32(seed) + 1);
    static const char* words[] = {"Meeting", "dentist", "birthday", "Caf\\'e9", "Gr\\'fc\\'dfe",
                                  "\\u1042?\\u1089?\\u1090?\\u1088?\\u1077?\\u1095?\\u1072?",
                                  "at", "3pm", "holiday", "\\{x\\}", "with", "the", "office"};
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}"
                     "{\\f1\\fnil\\fcharset0 Times New Roman;}{\\f2\\fnil\\fcharset0 Courier New;}}\r\n"
                     "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue160;\\red0\\green128\\blue0;}\r\n\\uc1\r\n";
    while (rtf.size() < bytes) {
        rtf += "\\pard";
        if (rng.bounded(4) == 0)
            rtf += "\\qc";
        for (int r = 0; r < 4; ++r) {
            rtf += "{\\f" + QByteArray::number(rng.bounded(3)) + "\\fs" + QByteArray::number(16 + 2 * rng.bounded(8));
            if (rng.bounded(2))
                rtf += "\\b";
            if (rng.bounded(3) == 0)
                rtf += "\\i";
            if (rng.bounded(2))
                rtf += "\\cf" + QByteArray::number(1 + rng.bounded(3));
            rtf += ' ';
            for (int w = 0; w < 5; ++w) {
                rtf += words[rng.bounded(int(std::size(words)))];
                rtf += ' ';
            }
            rtf += '}';
        }
        rtf += "\\par\r\n";
    }
    rtf += "}\r\n";
    return rtf;
}

// A December 1997 page in a layout at a resolution, its 42 cells filled.
inline void fillPage(TCalendarPanel32& page, int layout, int cellBytes)
{
    page.ApplyMainFormDesignValues();
    page.ResetToDefaults();
    page.SetMainCalYear(1997);
    page.SetMainCalMonth(12);
    page.SetMainCalDay(1);
    page.SetCalendarLayout(TCalendarLayout(layout));
    for (int i = 1; i <= TCalendarPage::kCellCount; ++i)
        page.CellStorage(i)->setRtf(formattedCellRtf(i, cellBytes));
    page.RecalcLayout(true);
}

// The bytes of a calendar file with 42 cells of about 25 KB each (about 1 MB).
inline const QByteArray& megabyteCalendarFile()
{
    static const QByteArray file = [] {
        TCalendarPanel32 page(nullptr, 96);
        fillPage(page, 0, 25000);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        SaveCalendarFile(page, buffer);
        return bytes;
    }();
    return file;
}

} // namespace benchdata
