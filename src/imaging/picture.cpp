#include "imaging/picture.h"

#include "imaging/emf_paint_device.h"
#include "imaging/icon_error.h"
#include "imaging/icon_library.h"
#include "imaging/metafile_player.h"
#include "imaging/picture_error.h"
#include "imaging/picture_limits.h"

#include <QPainter>
#include <cmath>

namespace {

qint64 roundHalfAway(double v)
{
    return qint64(v < 0 ? std::ceil(v - 0.5) : std::floor(v + 0.5));
}

} // namespace

TPicture::TPicture() = default;
TPicture::~TPicture() = default;
TPicture::TPicture(const TPicture&) = default;
TPicture& TPicture::operator=(const TPicture&) = default;
TPicture::TPicture(TPicture&&) noexcept = default;
TPicture& TPicture::operator=(TPicture&&) noexcept = default;

TPicture TPicture::fromImage(const QImage& image)
{
    return fromBitmap(image, PictureFormat::Unknown, {});
}

TPicture TPicture::fromBitmap(const QImage& image, PictureFormat format, const QByteArray& fileBytes)
{
    TPicture p;
    if (image.isNull())
        return p;
    p.kind_ = Kind::Bitmap;
    p.format_ = format;
    p.original_ = fileBytes;
    p.image_ = image;
    return p;
}

TPicture TPicture::fromIcoData(const QByteArray& ico)
{
    TPicture p;
    p.kind_ = Kind::Icon;
    p.format_ = PictureFormat::Ico;
    p.original_ = ico;
    try {
        const IconLibrary icon = IconLibrary::fromData(ico);
        if (icon.kind() != IconFileKind::Icon || icon.count() != 1)
            throw EPictureError(QStringLiteral("The file is not an icon."));
        p.iconImages_ = icon.images(0);
        p.image_ = icon.image(0); // the one Windows shows: nearest 32 x 32, most colours
    } catch (const EIconError& e) {
        throw EPictureError(QStringLiteral("The icon cannot be read: %1.").arg(e.reason()));
    }
    if (p.image_.isNull())
        throw EPictureError(QStringLiteral("The icon cannot be read."));
    return p;
}

TPicture TPicture::fromMetafileData(const QByteArray& bytes)
{
    auto mf = std::make_shared<TMetafile>();
    if (!mf->loadFromData(bytes))
        throw EPictureError(mf->errorText());
    if (mf->kind() == TMetafile::Kind::Svg) {
        // An SVG picture becomes the enhanced metafile it is saved as at once, so that it
        // looks the same before and after the calendar is saved and read again.
        const QSizeF natural = mf->naturalSize();
        const qint64 w = std::max<qint64>(1, qint64(std::ceil(std::min(natural.width(), 1e9))));
        const qint64 h = std::max<qint64>(1, qint64(std::ceil(std::min(natural.height(), 1e9))));
        ovpic::checkPictureSize(w, h, QStringLiteral("SVG"));
        const QSize pixels{int(w), int(h)};
        TPicture p = fromMetafileData(RecordEmf(pixels, [&](QPainter& painter) {
            mf->play(painter, QRectF(QPointF(0, 0), QSizeF(pixels)));
        }));
        p.format_ = PictureFormat::Svg;
        return p;
    }
    TPicture p;
    p.kind_ = Kind::Metafile;
    switch (mf->kind()) {
    case TMetafile::Kind::Wmf: p.format_ = PictureFormat::Wmf; break;
    case TMetafile::Kind::PlaceableWmf: p.format_ = PictureFormat::PlaceableWmf; break;
    case TMetafile::Kind::Emf: p.format_ = PictureFormat::Emf; break;
    default: p.format_ = PictureFormat::Svg; break;
    }
    p.original_ = bytes;
    p.metafile_ = std::move(mf);
    return p;
}

QSize TPicture::size(int ppi) const
{
    switch (kind_) {
    case Kind::Empty:
        return {};
    case Kind::Bitmap:
    case Kind::Icon:
        return image_.size();
    case Kind::Metafile: {
        const QSizeF natural = metafile_->naturalSize(); // at 96 per inch
        const auto scaled = [ppi](qreal v) {
            return int(std::clamp<qint64>(roundHalfAway(v * ppi / 96.0), 0, 1 << 24));
        };
        return QSize(scaled(natural.width()), scaled(natural.height()));
    }
    }
    return {};
}

void TPicture::draw(QPainter& painter, const QRectF& target) const
{
    switch (kind_) {
    case Kind::Empty:
        return;
    case Kind::Bitmap:
        painter.drawImage(target, image_);
        return;
    case Kind::Icon: {
        // The smallest image at least as large as the target on the device, else the
        // largest.
        const QSizeF want = painter.deviceTransform().mapRect(target).size();
        const QImage* pick = nullptr;
        const QImage* largest = nullptr;
        for (const QImage& img : iconImages_) {
            if (!largest || qint64(img.width()) * img.height() > qint64(largest->width()) * largest->height())
                largest = &img;
            if (img.width() >= want.width() && img.height() >= want.height()
                && (!pick || qint64(img.width()) * img.height() < qint64(pick->width()) * pick->height()))
                pick = &img;
        }
        painter.drawImage(target, pick ? *pick : *largest);
        return;
    }
    case Kind::Metafile:
        metafile_->play(painter, target);
        return;
    }
}

QImage TPicture::toImage(QSize pixels, const QColor& background) const
{
    if (isEmpty())
        return {};
    if (pixels.isEmpty())
        pixels = size();
    if (pixels.isEmpty())
        return {};
    ovpic::checkPictureSize(pixels.width(), pixels.height(), QStringLiteral("rendered"));
    QImage out(pixels, QImage::Format_ARGB32_Premultiplied);
    if (out.isNull())
        throw EPictureError(QStringLiteral("There is not enough memory to draw the picture."));
    out.fill(background);
    QPainter painter(&out);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    draw(painter, QRectF(QPointF(0, 0), QSizeF(pixels)));
    painter.end();
    return out;
}
