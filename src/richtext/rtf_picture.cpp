#include "rtf_picture.h"

#include "imaging/metafile_player.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QCache>
#include <QCryptographicHash>
#include <QMutex>
#include <QPaintDevice>
#include <QPainter>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QtEndian>
#include <algorithm>

namespace {

enum PictureProperty {
    PropKind = QTextFormat::UserProperty + 0x5710,
    PropData,
    PropPicW,
    PropPicH,
    PropGoalW,
    PropGoalH,
    PropScaleX,
    PropScaleY,
    PropMapMode,
    PropWbmType,
    PropWbmBits,
    PropWbmPlanes,
    PropWbmWidthBytes,
};

constexpr int kMaxTwips = 1440 * 200; // nothing in a cell is 200 inches wide
constexpr int kMaxPixels = 20000;

TWPMetafileDrawer& metafileDrawer()
{
    static TWPMetafileDrawer d = PlayMetafileData;
    return d;
}

QImage decodeDib(const QByteArray& dib)
{
    if (dib.size() < 16)
        return {};
    const auto* p = reinterpret_cast<const uchar*>(dib.constData());
    const quint32 hdr = qFromLittleEndian<quint32>(p);
    if (hdr < 12 || hdr > quint32(dib.size()))
        return {};
    quint32 colors = 0;
    quint16 bits = 0;
    quint32 compression = 0;
    if (hdr == 12) {
        bits = qFromLittleEndian<quint16>(p + 10);
        colors = bits <= 8 ? (1u << bits) : 0;
        colors *= 3; // RGBTRIPLE entries: count bytes below as 3 each
    } else {
        if (dib.size() < 40)
            return {};
        bits = qFromLittleEndian<quint16>(p + 14);
        compression = qFromLittleEndian<quint32>(p + 16);
        colors = qFromLittleEndian<quint32>(p + 32);
        if (colors == 0 && bits <= 8)
            colors = 1u << bits;
        if (colors > 256)
            colors = 256;
        colors *= 4;
        if (hdr == 40 && (compression == 3 || compression == 6))
            colors += compression == 3 ? 12 : 16;
    }
    const quint32 offset = 14 + hdr + colors;
    QByteArray file;
    file.reserve(dib.size() + 14);
    file.append("BM", 2);
    uchar tmp[4];
    qToLittleEndian<quint32>(quint32(dib.size() + 14), tmp);
    file.append(reinterpret_cast<const char*>(tmp), 4);
    file.append(4, '\0');
    qToLittleEndian<quint32>(offset, tmp);
    file.append(reinterpret_cast<const char*>(tmp), 4);
    file.append(dib);
    return QImage::fromData(file, "BMP");
}

QImage decodeDdb(const TWPRtfPicture& p)
{
    const int w = p.picw, h = p.pich;
    if (w <= 0 || h <= 0 || w > kMaxPixels || h > kMaxPixels || p.wbmPlanes != 1)
        return {};
    const int stride = p.wbmWidthBytes > 0 ? p.wbmWidthBytes : ((w * p.wbmBitsPixel + 15) / 16) * 2;
    if (qint64(stride) * h > p.data.size())
        return {};
    const auto* bits = reinterpret_cast<const uchar*>(p.data.constData());
    QImage img;
    if (p.wbmBitsPixel == 1) {
        if (stride * 8 < w)
            return {};
        img = QImage(w, h, QImage::Format_Mono);
        img.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
        for (int y = 0; y < h; ++y)
            memcpy(img.scanLine(y), bits + qint64(y) * stride, size_t((w + 7) / 8));
    } else if (p.wbmBitsPixel == 24 || p.wbmBitsPixel == 32) {
        const int bpp = p.wbmBitsPixel / 8;
        if (stride < w * bpp)
            return {};
        img = QImage(w, h, QImage::Format_RGB32);
        for (int y = 0; y < h; ++y) {
            const uchar* s = bits + qint64(y) * stride;
            auto* d = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < w; ++x, s += bpp)
                d[x] = qRgb(s[2], s[1], s[0]);
        }
    }
    return img;
}

// Decoded pictures, shared by every thread that draws texts (a page may be drawn on a
// worker thread while the window is built).
struct DecodedPictures {
    QMutex mutex;
    QCache<QByteArray, QImage> cache{64 * 1024 * 1024};
};

DecodedPictures& decodedPictures()
{
    static DecodedPictures pictures;
    return pictures;
}

QImage cachedImage(const TWPRtfPicture& pic)
{
    const QByteArray key =
        QCryptographicHash::hash(pic.data, QCryptographicHash::Sha1) + char(int(pic.kind));
    DecodedPictures& pictures = decodedPictures();
    {
        QMutexLocker lock(&pictures.mutex);
        if (QImage* img = pictures.cache.object(key))
            return *img;
    }
    QImage img = pic.decode();
    const qint64 cost = std::max<qint64>(1, img.sizeInBytes() / 1024);
    QMutexLocker lock(&pictures.mutex);
    pictures.cache.insert(key, new QImage(img), int(std::min<qint64>(cost, 1 << 30)));
    return img;
}

class PictureHandler : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)
public:
    explicit PictureHandler(QObject* parent) : QObject(parent) {}

    QSizeF intrinsicSize(QTextDocument* doc, int, const QTextFormat& format) override
    {
        const TWPRtfPicture pic = TWPRtfPicture::fromFormat(format);
        QSizeF tw = pic.displayTwips();
        qreal dpiX = 96, dpiY = 96;
        if (QPaintDevice* dev = doc && doc->documentLayout() ? doc->documentLayout()->paintDevice() : nullptr) {
            dpiX = dev->logicalDpiX();
            dpiY = dev->logicalDpiY();
        }
        return QSizeF(tw.width() / 1440.0 * dpiX, tw.height() / 1440.0 * dpiY);
    }

    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument*, int, const QTextFormat& format) override
    {
        const TWPRtfPicture pic = TWPRtfPicture::fromFormat(format);
        if (pic.isMetafile()) {
            // A metafile the player cannot show keeps its room and draws nothing.
            if (metafileDrawer()) {
                painter->save();
                metafileDrawer()(*painter, rect, pic.data);
                painter->restore();
            }
            return;
        }
        const QImage img = cachedImage(pic);
        if (img.isNull())
            return;
        painter->save();
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        painter->drawImage(rect, img);
        painter->restore();
    }
};

} // namespace

QSizeF TWPRtfPicture::displayTwips() const
{
    qreal w = goalw, h = goalh;
    if (w <= 0 || h <= 0) {
        if (isMetafile()) {
            w = picw * 1440.0 / 2540.0;
            h = pich * 1440.0 / 2540.0;
        } else {
            QSize px(picw, pich);
            if (px.width() <= 0 || px.height() <= 0)
                px = cachedImage(*this).size();
            w = px.width() * 15.0;
            h = px.height() * 15.0;
        }
    }
    w = w * std::clamp(scalex, 1, 1000) / 100.0;
    h = h * std::clamp(scaley, 1, 1000) / 100.0;
    return QSizeF(std::clamp<qreal>(w, 0, kMaxTwips), std::clamp<qreal>(h, 0, kMaxTwips));
}

QImage TWPRtfPicture::decode() const
{
    switch (kind) {
    case Kind::Png: return QImage::fromData(data, "PNG");
    case Kind::Jpeg: return QImage::fromData(data, "JPEG");
    case Kind::Dib: return decodeDib(data);
    case Kind::WBitmap: return decodeDdb(*this);
    default: return {};
    }
}

TWPRtfPicture TWPRtfPicture::fromImage(const QImage& image, int ppi)
{
    TWPRtfPicture p;
    p.kind = Kind::Png;
    QBuffer buf(&p.data);
    buf.open(QIODevice::WriteOnly);
    image.save(&buf, "PNG");
    p.picw = image.width();
    p.pich = image.height();
    const int dpi = ppi > 0 ? ppi : 96;
    p.goalw = int(qRound64(image.width() * 1440.0 / dpi));
    p.goalh = int(qRound64(image.height() * 1440.0 / dpi));
    return p;
}

QTextImageFormat TWPRtfPicture::toFormat() const
{
    QTextImageFormat f;
    const QByteArray digest = QCryptographicHash::hash(data, QCryptographicHash::Sha1).toHex().left(16);
    f.setName(QStringLiteral("rtfpict:") + QString::fromLatin1(digest));
    f.setProperty(PropKind, int(kind));
    f.setProperty(PropData, data);
    f.setProperty(PropPicW, picw);
    f.setProperty(PropPicH, pich);
    f.setProperty(PropGoalW, goalw);
    f.setProperty(PropGoalH, goalh);
    f.setProperty(PropScaleX, scalex);
    f.setProperty(PropScaleY, scaley);
    f.setProperty(PropMapMode, mapMode);
    f.setProperty(PropWbmType, wbmType);
    f.setProperty(PropWbmBits, wbmBitsPixel);
    f.setProperty(PropWbmPlanes, wbmPlanes);
    f.setProperty(PropWbmWidthBytes, wbmWidthBytes);
    return f;
}

bool TWPRtfPicture::isPictureFormat(const QTextFormat& format)
{
    return format.isImageFormat() && format.hasProperty(PropKind);
}

TWPRtfPicture TWPRtfPicture::fromFormat(const QTextFormat& f)
{
    TWPRtfPicture p;
    if (!isPictureFormat(f))
        return p;
    const int k = f.intProperty(PropKind);
    p.kind = (k >= 0 && k <= int(Kind::Emf)) ? Kind(k) : Kind::None;
    p.data = f.property(PropData).toByteArray();
    p.picw = f.intProperty(PropPicW);
    p.pich = f.intProperty(PropPicH);
    p.goalw = f.intProperty(PropGoalW);
    p.goalh = f.intProperty(PropGoalH);
    p.scalex = f.intProperty(PropScaleX);
    p.scaley = f.intProperty(PropScaleY);
    p.mapMode = f.intProperty(PropMapMode);
    p.wbmType = f.intProperty(PropWbmType);
    p.wbmBitsPixel = f.intProperty(PropWbmBits);
    p.wbmPlanes = f.intProperty(PropWbmPlanes);
    p.wbmWidthBytes = f.intProperty(PropWbmWidthBytes);
    return p;
}

bool TWPRtfPicture::operator==(const TWPRtfPicture& o) const
{
    return kind == o.kind && data == o.data && picw == o.picw && pich == o.pich && goalw == o.goalw
        && goalh == o.goalh && scalex == o.scalex && scaley == o.scaley && mapMode == o.mapMode
        && wbmType == o.wbmType && wbmBitsPixel == o.wbmBitsPixel && wbmPlanes == o.wbmPlanes
        && wbmWidthBytes == o.wbmWidthBytes;
}

void setMetafileDrawer(TWPMetafileDrawer drawer)
{
    metafileDrawer() = drawer ? std::move(drawer) : TWPMetafileDrawer(PlayMetafileData);
}

void InstallPictureHandler(QTextDocument* doc)
{
    if (!doc)
        return;
    QAbstractTextDocumentLayout* layout = doc->documentLayout();
    if (layout->property("ovPictureHandler").toBool())
        return;
    layout->registerHandler(QTextFormat::ImageObject, new PictureHandler(layout));
    layout->setProperty("ovPictureHandler", true);
}

#include "rtf_picture.moc"
