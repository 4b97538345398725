#include "imaging/picture_loader.h"

#include "imaging/bmp_decoder.h"
#include "imaging/pcx_decoder.h"
#include "imaging/picture_error.h"
#include "imaging/picture_limits.h"
#include "imaging/tga_decoder.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace {

// Qt's JPEG reader fills the part missing from a cut-off file with grey. Entropy-coded
// data never holds the end marker, so its absence after the first scan means the file
// was cut short.
bool jpegComplete(const QByteArray& bytes)
{
    const qsizetype scan = bytes.indexOf("\xFF\xDA");
    return scan >= 0 && bytes.indexOf("\xFF\xD9", scan) >= 0;
}

// Qt's GIF reader also fills what a cut-off file lacks. The blocks up to the end of the
// first image's data are walked: a file that ends before them was cut short.
bool gifComplete(const QByteArray& b)
{
    const auto at = [&b](qsizetype i) { return i < b.size() ? int(uchar(b[i])) : -1; };
    const auto skipSubBlocks = [&](qsizetype i) {
        while (at(i) > 0)
            i += 1 + at(i);
        return at(i) == 0 ? i + 1 : qsizetype(-1);
    };
    qsizetype i = 13;
    if (at(10) & 0x80)
        i += 3 * (qsizetype(2) << (at(10) & 7)); // global colour table
    while (i >= 0 && i < b.size()) {
        switch (at(i)) {
        case 0x21: // extension: label, then sub-blocks
            i = skipSubBlocks(i + 2);
            break;
        case 0x2C: { // image: descriptor, local colour table, code size, sub-blocks
            const int packed = at(i + 9);
            if (packed < 0)
                return false;
            i += 10;
            if (packed & 0x80)
                i += 3 * (qsizetype(2) << (packed & 7));
            return skipSubBlocks(i + 1) >= 0;
        }
        default:
            return false;
        }
    }
    return false;
}

// JPEG, GIF and PNG through Qt's readers, their size checked before decoding.
QImage decodeWithQt(const QByteArray& bytes, PictureFormat format)
{
    const char* qtFormat = format == PictureFormat::Jpeg ? "jpeg" : format == PictureFormat::Gif ? "gif" : "png";
    const QString name = PictureFormatName(format);
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, qtFormat);
    reader.setAutoTransform(true); // photographs stand the way the camera was held
    const QSize size = reader.size();
    if (!size.isValid())
        throw EPictureError(QStringLiteral("The %1 picture is damaged.").arg(name));
    ovpic::checkPictureSize(size.width(), size.height(), name);
    if ((format == PictureFormat::Jpeg && !jpegComplete(bytes)) || (format == PictureFormat::Gif && !gifComplete(bytes)))
        throw EPictureError(QStringLiteral("The %1 picture is truncated.").arg(name));
    const QImage image = reader.read();
    if (image.isNull())
        throw EPictureError(QStringLiteral("The %1 picture is damaged.").arg(name));
    return image;
}

TPicture decode(const QByteArray& bytes, PictureFormat format)
{
    switch (format) {
    case PictureFormat::Bmp: {
        const QByteArray bmp = bytes.startsWith("BM") ? bytes : ovpic::dibToBmp(bytes);
        return TPicture::fromBitmap(ovpic::decodeBmp(bmp), format, bmp);
    }
    case PictureFormat::Jpeg:
    case PictureFormat::Gif:
    case PictureFormat::Png:
        return TPicture::fromBitmap(decodeWithQt(bytes, format), format, bytes);
    case PictureFormat::Ico:
        return TPicture::fromIcoData(bytes);
    case PictureFormat::Tga:
        return TPicture::fromBitmap(ovpic::decodeTga(bytes), format, bytes);
    case PictureFormat::Pcx:
        return TPicture::fromBitmap(ovpic::decodePcx(bytes), format, bytes);
    case PictureFormat::Wmf:
    case PictureFormat::PlaceableWmf:
    case PictureFormat::Emf:
    case PictureFormat::Svg:
        return TPicture::fromMetafileData(bytes);
    case PictureFormat::Unknown:
        break;
    }
    throw EPictureError(QStringLiteral("The file is not a picture of a kind this program can read."));
}

} // namespace

TPicture LoadPictureFromData(const QByteArray& bytes, const QString& fileName)
{
    if (bytes.isEmpty())
        throw EPictureError(QStringLiteral("The file is empty."));
    if (bytes.size() > ovpic::kMaxPictureFileBytes)
        throw EPictureError(QStringLiteral("The file is too large for a picture."));
    const PictureFormat format = DetectPictureFormat(bytes, fileName);
    if (format != PictureFormat::Unknown)
        return decode(bytes, format);
    // Bytes that match no format are reported as what the name promises. Our own
    // decoders say what is wrong with a damaged header; Qt's readers are never given
    // bytes without their format's signature (they would make a blank picture of them).
    const PictureFormat hinted = PictureFormatForExtension(fileName);
    if (hinted == PictureFormat::Tga || hinted == PictureFormat::Pcx
        || (hinted == PictureFormat::Bmp && bytes.startsWith("BM")))
        return decode(bytes, hinted);
    if (hinted != PictureFormat::Unknown)
        throw EPictureError(QStringLiteral("The %1 picture is damaged.").arg(PictureFormatName(hinted)));
    return decode(bytes, PictureFormat::Unknown);
}

TPicture LoadPictureFromFile(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EPictureError(QStringLiteral("Cannot open \"%1\".").arg(name));
    if (file.size() > ovpic::kMaxPictureFileBytes)
        throw EPictureError(QStringLiteral("\"%1\" is too large for a picture.").arg(name));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EPictureError(QStringLiteral("Cannot read \"%1\".").arg(name));
    return LoadPictureFromData(bytes, path);
}
