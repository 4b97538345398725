#pragma once
// A picture as placed objects hold it: a bitmap, an icon or a metafile (WMF, EMF or
// SVG), with the bytes it was read from, so that it is written back unchanged.
#include "imaging/picture_format.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QRectF>
#include <QSize>
#include <QList>
#include <memory>

class QPainter;
class TMetafile;

class TPicture {
public:
    enum class Kind { Empty, Bitmap, Icon, Metafile };

    TPicture();
    ~TPicture();
    TPicture(const TPicture&);
    TPicture& operator=(const TPicture&);
    TPicture(TPicture&&) noexcept;
    TPicture& operator=(TPicture&&) noexcept;

    // A bitmap made from pixels (no original file bytes).
    static TPicture fromImage(const QImage& image);
    // A bitmap from decoded pixels and the file they came from.
    static TPicture fromBitmap(const QImage& image, PictureFormat format, const QByteArray& fileBytes);
    // An icon from ".ico" bytes; throws EPictureError when they cannot be read.
    static TPicture fromIcoData(const QByteArray& ico);
    // A metafile (WMF, placeable WMF, EMF or SVG); throws EPictureError. An SVG picture
    // is turned into the enhanced metafile it will be saved as: its format() stays Svg,
    // its originalBytes() are the metafile's.
    static TPicture fromMetafileData(const QByteArray& bytes);

    bool isEmpty() const { return kind_ == Kind::Empty; }
    Kind kind() const { return kind_; }
    bool isBitmap() const { return kind_ == Kind::Bitmap; }
    bool isMetafile() const { return kind_ == Kind::Metafile; }
    PictureFormat format() const { return format_; }
    // The bytes the picture was read from: the whole file (a DIB with its computed file
    // header, an SVG picture as its metafile), or empty for a bitmap made from pixels.
    const QByteArray& originalBytes() const { return original_; }

    // Bitmaps: the pixels. Icons: the image of the icon's own size (the one nearest to
    // 32 x 32). Metafiles: null.
    const QImage& image() const { return image_; }
    // Every image of an icon, in file order.
    const QList<QImage>& iconImages() const { return iconImages_; }
    // Metafiles only; null otherwise.
    const TMetafile* metafile() const { return metafile_.get(); }

    // The natural size in pixels on a screen of `ppi` pixels per inch: bitmaps and
    // icons by their pixels, metafiles by their physical size (rounded).
    QSize size(int ppi = 96) const;
    int width(int ppi = 96) const { return size(ppi).width(); }
    int height(int ppi = 96) const { return size(ppi).height(); }

    // Stretched to `target`, the aspect ratio not kept. Metafiles play as vectors (so
    // they stay vectors in PDF and on paper); an icon draws its image best suited to the
    // target's size on the device.
    void draw(QPainter& painter, const QRectF& target) const;
    // The picture rendered into a bitmap of `pixels` (the natural size when empty) on
    // `background` (transparent keeps transparency).
    QImage toImage(QSize pixels = {}, const QColor& background = Qt::transparent) const;

    // The stream's Picture.Data payload: the graphic's class name as a short string
    // ("TBitmap", "TIcon" or "TMetafile") followed by that graphic's data. Empty for an
    // empty picture. Throws EPictureError if a picture cannot be written as one of those.
    QByteArray pictureData() const;
    // "TBitmap", "TIcon", "TMetafile", or empty.
    QString graphicClassName() const;
    // Reads a Picture.Data payload; throws EPictureError for anything damaged.
    static TPicture fromPictureData(QByteArrayView data);

private:
    Kind kind_ = Kind::Empty;
    PictureFormat format_ = PictureFormat::Unknown;
    QByteArray original_;
    QImage image_;
    QList<QImage> iconImages_;
    std::shared_ptr<const TMetafile> metafile_; // immutable once loaded, so shared by copies
};
