#pragma once
// JPEG writing through Qt's writer, at a given quality (0..100; the export uses 80).
#include <QByteArray>
#include <QImage>
#include <QString>

// The picture as JPEG bytes; transparency is flattened onto white. Throws EPictureError.
QByteArray EncodeJpeg(const QImage& picture, int quality);

// Writes the picture straight to `targetFileName` (through a temporary file renamed into
// place, so a failure leaves any earlier file intact). False with `reason` set on failure.
bool SaveBitmapFileAsJpeg(int quality, const QString& targetFileName, const QImage& picture,
                          QString* reason = nullptr);
