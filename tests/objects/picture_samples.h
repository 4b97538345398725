#pragma once
// Small pictures for the image object's tests, made with Qt's own writers and our
// metafile recorder, so the tests do not depend on the loader they exercise.
#include "imaging/emf_paint_device.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <QtEndian>

namespace ovtest {

// An image of four coloured quadrants: red top-left, green top-right, blue bottom-left,
// yellow bottom-right.
inline QImage quadrants(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool right = x >= w / 2, bottom = y >= h / 2;
            img.setPixel(x, y, bottom ? (right ? qRgb(255, 255, 0) : qRgb(0, 0, 255)) : (right ? qRgb(0, 255, 0) : qRgb(255, 0, 0)));
        }
    return img;
}

inline QByteArray encoded(const QImage& img, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, format);
    return bytes;
}

// A drawing of solid shapes only, so it stays all vectors.
inline QByteArray vectorEmf(QSize pixels = QSize(40, 30))
{
    return RecordEmf(pixels, [pixels](QPainter& p) {
        p.fillRect(QRect(0, 0, pixels.width() / 2, pixels.height()), QColor(200, 0, 0));
        p.fillRect(QRect(pixels.width() / 2, 0, pixels.width() - pixels.width() / 2, pixels.height()), QColor(0, 0, 200));
    });
}

inline QByteArray shortString(const char* s) { return QByteArray(1, char(qstrlen(s))) + s; }

inline QByteArray le32(qsizetype v)
{
    QByteArray n(4, '\0');
    qToLittleEndian<quint32>(quint32(v), n.data());
    return n;
}

} // namespace ovtest
