#include "imaging/jpeg_writer.h"

#include "imaging/picture_error.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>

QByteArray EncodeJpeg(const QImage& picture, int quality)
{
    if (picture.isNull())
        throw EPictureError(QStringLiteral("There is no picture to save."));
    QImage opaque = picture;
    if (picture.hasAlphaChannel()) {
        opaque = QImage(picture.size(), QImage::Format_RGB32);
        opaque.fill(Qt::white);
        QPainter p(&opaque);
        p.drawImage(0, 0, picture);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(std::clamp(quality, 0, 100));
    if (!writer.write(opaque))
        throw EPictureError(QStringLiteral("The JPEG picture cannot be made."));
    return bytes;
}

bool SaveBitmapFileAsJpeg(int quality, const QString& targetFileName, const QImage& picture, QString* reason)
{
    try {
        const QByteArray bytes = EncodeJpeg(picture, quality);
        QSaveFile file(targetFileName);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
            throw EPictureError(QStringLiteral("Cannot write \"%1\".").arg(QFileInfo(targetFileName).fileName()));
        return true;
    } catch (const EPictureError& e) {
        if (reason)
            *reason = e.reason();
        return false;
    }
}
