#pragma once
#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QTextFormat>
#include <functional>

class QPainter;
class QTextDocument;
class QTextImageFormat;

// A picture embedded in rich text. Its original bytes are kept untouched so that a
// picture read from RTF is written back exactly as it came.
struct TWPRtfPicture {
    enum class Kind { None = 0, Png, Jpeg, Dib, WBitmap, Wmf, Emf };

    Kind kind = Kind::None;
    QByteArray data;      // the picture's bytes (PNG/JPEG file, DIB, DDB bits, metafile records)
    int picw = 0;         // \picw: pixels for bitmaps, 0.01 mm for metafiles
    int pich = 0;
    int goalw = 0;        // \picwgoal / \pichgoal: the wanted size in twips
    int goalh = 0;
    int scalex = 100;     // \picscalex / \picscaley in percent
    int scaley = 100;
    int mapMode = 8;      // \wmetafileN: the metafile's mapping mode
    int wbmType = 0;      // \wbitmapN
    int wbmBitsPixel = 1; // \wbmbitspixel
    int wbmPlanes = 1;    // \wbmplanes
    int wbmWidthBytes = 0;// \wbmwidthbytes

    bool isValid() const { return kind != Kind::None && !data.isEmpty(); }
    bool isMetafile() const { return kind == Kind::Wmf || kind == Kind::Emf; }

    // The size the picture takes in the text, in twips (goal size times scale).
    QSizeF displayTwips() const;

    // Decodes raster kinds; a null image for metafiles and undecodable data.
    QImage decode() const;

    // A PNG picture made from an image, sized at its pixel size on a screen of ppi.
    static TWPRtfPicture fromImage(const QImage& image, int ppi);

    // Round trip through a text format (the object character of the document).
    QTextImageFormat toFormat() const;
    static TWPRtfPicture fromFormat(const QTextFormat& format);
    static bool isPictureFormat(const QTextFormat& format);

    bool operator==(const TWPRtfPicture& o) const;
};

// Draws a metafile picture's bytes (WMF records or EMF) into a rectangle; returns false
// when it cannot, and the picture then keeps its room empty. The imaging module's
// player is the default; an empty function restores it.
using TWPMetafileDrawer = std::function<bool(QPainter&, const QRectF&, const QByteArray&)>;
void setMetafileDrawer(TWPMetafileDrawer drawer);

// Makes a document lay out and draw its embedded pictures (sizes from the twips goal at
// the layout device's resolution, images decoded from the kept bytes).
void InstallPictureHandler(QTextDocument* doc);
