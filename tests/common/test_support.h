#pragma once
#include <QImage>
#include <QString>
#include <QTemporaryDir>

namespace ovtest {

// The source tree, for test data (set by ctest; falls back to the build-time path).
QString sourceDir();

// Pixel helpers for rendering probes.
bool isDark(QRgb c, int threshold = 100);
int darkPixelsInRect(const QImage& img, const QRect& r, int threshold = 100);
// The smallest rectangle holding every dark pixel of r (empty when there is none).
QRect darkBounds(const QImage& img, const QRect& r, int threshold = 100);

} // namespace ovtest
