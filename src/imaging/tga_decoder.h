#pragma once
// Targa pictures: colour-mapped, true-colour and grey images, raw or run-length
// encoded, any origin, with or without the version 2 footer.
#include <QByteArrayView>
#include <QImage>

namespace ovpic {

// A Targa file has no signature at its start: the footer, or failing that a header whose
// fields all make sense (and, for raw images, a matching length), identifies it.
bool looksLikeTga(QByteArrayView bytes);

// Throws EPictureError for anything damaged or unsupported.
QImage decodeTga(QByteArrayView bytes);

} // namespace ovpic
