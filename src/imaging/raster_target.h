#pragma once
#include <QImage>
#include <QPainter>

// The image under a painter, when pixels kept from an earlier drawing can be copied onto it
// in place of drawing again: copying then gives exactly the pixels drawing would. That holds
// for the raster engine on a 32-bit image at device pixel ratio 1, painting at full opacity
// in source-over mode, without a clip and with no transform other than a move by whole
// pixels. PDF writers, printers and scaled painters have no such image.
struct RasterTarget {
    QImage* image = nullptr;
    QPoint offset; // where the painter's origin lies on the image

    explicit operator bool() const { return image != nullptr; }
    // What else decides how the same drawing comes out on this painter.
    struct Look {
        QImage::Format format = QImage::Format_Invalid;
        int dotsPerMeterX = 0;
        int dotsPerMeterY = 0;
        int renderHints = 0;
        int layoutDirection = 0;
        bool operator==(const Look&) const = default;
    };
    Look look;
};

RasterTarget rasterTargetOf(QPainter& painter);
