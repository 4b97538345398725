// fuzz-link: ov_richtext
// A day cell's rich text drawn as the page draws it, at a few cell sizes and zooms and in
// both display modes: whatever the bytes, drawing returns in time bounded by what the
// cell can show; crashes, hangs, leaks and undefined behaviour are findings.
#include "richtext/rtf_renderer.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // Text needs fonts, and fonts need a GUI application.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const TWPRtfStorage cell(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    struct Drawing {
        QRect rect;
        int zoom;
        TWPDisplayMode mode;
    };
    static const Drawing drawings[] = {
        {QRect(2, 3, 134, 60), 100, TWPDisplayMode::Screen},  // a month cell
        {QRect(0, 0, 67, 30), 50, TWPDisplayMode::Screen},    // the same at 50 %
        {QRect(1, 1, 300, 14), 100, TWPDisplayMode::Print},  // a planner row
        {QRect(0, 0, 9, 90), 200, TWPDisplayMode::Screen},    // narrow and zoomed in
    };
    QImage image(320, 100, QImage::Format_RGB32);
    QPainter painter(&image);
    for (const Drawing& d : drawings)
        RenderRtfToRect(painter, d.rect, cell, d.zoom, d.mode);
    painter.end();
    TWPRtfDocumentCache::instance().clear(); // every input is laid out afresh
    return 0;
}
