#pragma once
// Bitmaps as metafiles carry them: device-independent bitmaps (a BITMAPINFO followed
// by the bits, like a BMP without its file header) and old device-dependent Bitmap16.
#include <QByteArrayView>
#include <QColor>
#include <QImage>
#include <QVector>

namespace ovmeta {

// Largest picture a metafile may ask us to allocate (pixels).
constexpr qint64 kMaxBitmapPixels = 64LL * 1024 * 1024;

// Decodes a DIB. `info` is the BITMAPINFO (header and colour table), `bits` the pixel
// data. With `palColors` the colour table holds 16-bit indexes into `palette`.
// `useAlpha` keeps the fourth byte of 32-bit pixels as (premultiplied) alpha.
// Returns a null image for anything damaged or unsupported.
QImage decodeDib(QByteArrayView info, QByteArrayView bits, bool palColors = false,
                 const QVector<QRgb>& palette = {}, bool useAlpha = false);

// A packed DIB: header, colour table and bits in one block.
QImage decodePackedDib(QByteArrayView packed, bool palColors = false,
                       const QVector<QRgb>& palette = {});

// Bitmap16: width, height, bytes per line, planes and bits per pixel followed by bits.
// Monochrome bits map 0 to `foreground` and 1 to `background`.
QImage decodeBitmap16(QByteArrayView data, QColor foreground, QColor background);

} // namespace ovmeta
