#pragma once
// Windows bitmaps: BMP files and DIBs (a BMP without its 14-byte file header). Run-length
// encoded bitmaps are decoded here, everything else by Qt's BMP reader after the header
// has been checked.
#include <QByteArrayView>
#include <QImage>
#include <QVector>

namespace ovpic {

bool looksLikeBmp(QByteArrayView bytes);
bool looksLikeDib(QByteArrayView bytes);

// The complete BMP file for a DIB: its file header computed from the DIB's own.
// Throws EPictureError when the DIB header is damaged.
QByteArray dibToBmp(QByteArrayView dib);

// Decodes a complete BMP file. Throws EPictureError for anything damaged.
QImage decodeBmp(QByteArrayView bmp);

// RLE8 (`rle4` false) or RLE4 bits of a bottom-up bitmap. Pixels that the encoding skips
// (deltas, early line or picture ends) take colour index 0, as in a fresh bitmap.
QImage decodeRleBits(int width, int height, bool topDown, bool rle4, const QVector<QRgb>& palette,
                     QByteArrayView bits);

} // namespace ovpic
