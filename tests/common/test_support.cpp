#include "test_support.h"

#include <QColor>

namespace ovtest {

QString sourceDir()
{
    const QString env = qEnvironmentVariable("OV_SOURCE_DIR");
    return env.isEmpty() ? QStringLiteral(".") : env;
}

bool isDark(QRgb c, int threshold)
{
    return qRed(c) < threshold && qGreen(c) < threshold && qBlue(c) < threshold;
}

int darkPixelsInRect(const QImage& img, const QRect& r, int threshold)
{
    int n = 0;
    const QRect clipped = r.intersected(img.rect());
    for (int y = clipped.top(); y <= clipped.bottom(); ++y)
        for (int x = clipped.left(); x <= clipped.right(); ++x)
            if (isDark(img.pixel(x, y), threshold))
                ++n;
    return n;
}

QRect darkBounds(const QImage& img, const QRect& r, int threshold)
{
    QRect bounds;
    const QRect clipped = r.intersected(img.rect());
    for (int y = clipped.top(); y <= clipped.bottom(); ++y)
        for (int x = clipped.left(); x <= clipped.right(); ++x)
            if (isDark(img.pixel(x, y), threshold))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

} // namespace ovtest
