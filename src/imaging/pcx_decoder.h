#pragma once
// PCX pictures: 1, 2, 4 and 8 bits per pixel, one to four planes, run-length encoded or
// raw, with the header's 16-colour palette, the default EGA palette or the trailing
// 256-colour palette.
#include <QByteArrayView>
#include <QImage>

namespace ovpic {

bool looksLikePcx(QByteArrayView bytes);

// Throws EPictureError for anything damaged or unsupported.
QImage decodePcx(QByteArrayView bytes);

} // namespace ovpic
