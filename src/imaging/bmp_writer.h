#pragma once
#include <QByteArray>
#include <QImage>

// A complete BMP file (file header, DIB header, colour table, bottom-up rows): 8-bit with
// its colour table for pictures of up to 256 indexed colours, 24-bit for opaque pictures,
// 32-bit with an alpha mask (version 5 header) for pictures with transparency.
QByteArray EncodeBmp(const QImage& image);
