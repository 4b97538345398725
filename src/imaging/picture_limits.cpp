#include "imaging/picture_limits.h"

namespace ovpic {

void checkPictureSize(qint64 width, qint64 height, const QString& formatName)
{
    if (width <= 0 || height <= 0)
        throw EPictureError(QStringLiteral("The %1 picture has no pixels.").arg(formatName));
    if (width > kMaxPictureSide || height > kMaxPictureSide || width * height > kMaxPicturePixels)
        throw EPictureError(QStringLiteral("The %1 picture is too large (%2 x %3 pixels).")
                                .arg(formatName)
                                .arg(width)
                                .arg(height));
}

} // namespace ovpic
