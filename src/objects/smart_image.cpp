#include "smart_image.h"

#include "imaging/picture_loader.h"

#include <QPainter>
#include <cmath>

namespace {
// The image with every pixel of colour `key` made transparent.
QImage withoutColor(QImage image, QRgb key)
{
    image = image.convertToFormat(QImage::Format_ARGB32);
    key |= 0xFF000000u;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((line[x] | 0xFF000000u) == key && qAlpha(line[x]) == 255)
                line[x] = qRgba(0, 0, 0, 0);
    }
    return image;
}
} // namespace

TSmartImage::TSmartImage(QWidget* parent) : QWidget(parent) {}

void TSmartImage::SetAutoSize(bool v)
{
    m_autoSize = v;
    fitToPicture();
    update();
}

void TSmartImage::SetCenter(bool v)
{
    m_center = v;
    update();
}

void TSmartImage::SetStretch(bool v)
{
    m_stretch = v;
    update();
}

void TSmartImage::SetMaintainAspect(bool v)
{
    m_maintainAspect = v;
    update();
}

void TSmartImage::SetTransparent(bool v)
{
    m_transparent = v;
    update();
}

void TSmartImage::SetPicture(const TPicture& picture)
{
    m_picture = picture;
    fitToPicture();
    updateGeometry();
    update();
}

void TSmartImage::LoadFromFile(const QString& fileName) { SetPicture(LoadPictureFromFile(fileName)); }

void TSmartImage::fitToPicture()
{
    if (m_autoSize && !m_picture.isEmpty())
        resize(m_picture.size(logicalDpiX()).expandedTo(QSize(1, 1)));
}

QSize TSmartImage::sizeHint() const
{
    return m_picture.isEmpty() ? QSize(105, 105) : m_picture.size(logicalDpiX());
}

QRect TSmartImage::PictureRect() const
{
    const QSize natural = m_picture.size(logicalDpiX());
    if (natural.isEmpty())
        return {};
    if (!m_stretch) {
        if (!m_center)
            return QRect(QPoint(0, 0), natural);
        return QRect((width() - natural.width()) / 2, (height() - natural.height()) / 2, natural.width(),
                     natural.height());
    }
    if (!m_maintainAspect)
        return rect();
    // The largest size that fits with the picture's proportions, rounded.
    const double ratio = double(natural.width()) / natural.height();
    int w = width();
    int h = int(std::lround(w / ratio));
    if (h > height()) {
        h = height();
        w = int(std::lround(h * ratio));
    }
    if (!m_center)
        return QRect(0, 0, w, h);
    return QRect((width() - w) / 2, (height() - h) / 2, w, h);
}

void TSmartImage::paintTo(QPainter& p) const
{
    const QRect target = PictureRect();
    if (target.isEmpty())
        return;
    if (m_picture.kind() == TPicture::Kind::Icon) {
        // An icon becomes a bitmap on the control's colour, drawn without that colour.
        const QColor back = palette().color(backgroundRole());
        p.drawImage(target, withoutColor(m_picture.toImage(target.size(), back), back.rgb()));
        return;
    }
    if (!m_transparent) {
        m_picture.draw(p, target);
        return;
    }
    const QImage image = m_picture.toImage(target.size(), Qt::white);
    p.drawImage(target, withoutColor(image, image.pixel(0, 0)));
}

void TSmartImage::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    paintTo(p);
}
