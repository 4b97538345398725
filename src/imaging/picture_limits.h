#pragma once
// Bounds every picture reader checks before it allocates anything.
#include "imaging/picture_error.h"

#include <QtGlobal>

namespace ovpic {

// Larger files are not pictures a calendar uses.
constexpr qint64 kMaxPictureFileBytes = 256LL * 1024 * 1024;
// 64 million pixels: a 8000 x 8000 photograph fits, a damaged header asking for more
// does not.
constexpr qint64 kMaxPicturePixels = 64LL * 1024 * 1024;
constexpr qint64 kMaxPictureSide = 65535;

// Throws unless width x height is a picture size we are willing to allocate.
void checkPictureSize(qint64 width, qint64 height, const QString& formatName);

} // namespace ovpic
