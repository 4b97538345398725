#include "imaging/picture_format.h"

#include "imaging/bmp_decoder.h"
#include "imaging/metafile_player.h"
#include "imaging/pcx_decoder.h"
#include "imaging/tga_decoder.h"

#include <QFileInfo>
#include <QtEndian>

namespace {

bool startsWith(QByteArrayView b, QByteArrayView prefix)
{
    return b.size() >= prefix.size() && b.first(prefix.size()) == prefix;
}

bool looksLikeIco(QByteArrayView b)
{
    if (b.size() < 6 + 16)
        return false;
    const quint16 reserved = qFromLittleEndian<quint16>(b.data());
    const quint16 type = qFromLittleEndian<quint16>(b.data() + 2);
    const quint16 count = qFromLittleEndian<quint16>(b.data() + 4);
    if (reserved != 0 || type != 1 || count == 0 || b.size() < 6 + 16 * qsizetype(count))
        return false;
    // The first image must lie inside the file.
    const quint32 size = qFromLittleEndian<quint32>(b.data() + 6 + 8);
    const quint32 offset = qFromLittleEndian<quint32>(b.data() + 6 + 12);
    return size > 0 && offset >= 6 && qint64(offset) + size <= b.size();
}

} // namespace

PictureFormat PictureFormatForExtension(const QString& fileName)
{
    const QString ext = QFileInfo(fileName).suffix().toUpper();
    if (ext == u"BMP" || ext == u"DIB" || ext == u"RLE")
        return PictureFormat::Bmp;
    if (ext == u"JPG" || ext == u"JPEG" || ext == u"JPE" || ext == u"JIF" || ext == u"JFIF")
        return PictureFormat::Jpeg;
    if (ext == u"GIF")
        return PictureFormat::Gif;
    if (ext == u"PNG")
        return PictureFormat::Png;
    if (ext == u"ICO")
        return PictureFormat::Ico;
    if (ext == u"TGA" || ext == u"VDA" || ext == u"ICB" || ext == u"VST")
        return PictureFormat::Tga;
    if (ext == u"PCX")
        return PictureFormat::Pcx;
    if (ext == u"WMF")
        return PictureFormat::Wmf;
    if (ext == u"EMF")
        return PictureFormat::Emf;
    if (ext == u"SVG" || ext == u"SVGZ")
        return PictureFormat::Svg;
    return PictureFormat::Unknown;
}

PictureFormat DetectPictureFormat(QByteArrayView b, const QString& fileName)
{
    if (ovpic::looksLikeBmp(b))
        return PictureFormat::Bmp;
    if (startsWith(b, "\xFF\xD8\xFF"))
        return PictureFormat::Jpeg;
    if (startsWith(b, "GIF87a") || startsWith(b, "GIF89a"))
        return PictureFormat::Gif;
    if (startsWith(b, "\x89PNG\r\n\x1A\n"))
        return PictureFormat::Png;
    if (looksLikeIco(b))
        return PictureFormat::Ico;
    // Recognition reads no further than the first few kilobytes.
    switch (DetectMetafileKind(b.first(std::min<qsizetype>(b.size(), 4096)).toByteArray())) {
    case TMetafile::Kind::Wmf: return PictureFormat::Wmf;
    case TMetafile::Kind::PlaceableWmf: return PictureFormat::PlaceableWmf;
    case TMetafile::Kind::Emf: return PictureFormat::Emf;
    case TMetafile::Kind::Svg: return PictureFormat::Svg;
    case TMetafile::Kind::None: break;
    }
    if (ovpic::looksLikePcx(b))
        return PictureFormat::Pcx;
    // No signature: a DIB header or a Targa header. The extension decides when both
    // would fit; otherwise the one that fits.
    const PictureFormat hinted = PictureFormatForExtension(fileName);
    const bool dib = ovpic::looksLikeDib(b);
    const bool tga = ovpic::looksLikeTga(b);
    if (dib && (hinted == PictureFormat::Bmp || !tga))
        return PictureFormat::Bmp;
    if (tga)
        return PictureFormat::Tga;
    return PictureFormat::Unknown;
}

const QStringList& PictureFileExtensions()
{
    static const QStringList all = {"BMP", "DIB", "RLE", "JPG", "JPEG", "JIF", "GIF", "PNG",
                                    "ICO", "TGA", "PCX", "WMF", "EMF", "SVG"};
    return all;
}

QString PictureFormatName(PictureFormat format)
{
    switch (format) {
    case PictureFormat::Bmp: return QStringLiteral("BMP");
    case PictureFormat::Jpeg: return QStringLiteral("JPEG");
    case PictureFormat::Gif: return QStringLiteral("GIF");
    case PictureFormat::Png: return QStringLiteral("PNG");
    case PictureFormat::Ico: return QStringLiteral("icon");
    case PictureFormat::Tga: return QStringLiteral("Targa");
    case PictureFormat::Pcx: return QStringLiteral("PCX");
    case PictureFormat::Wmf:
    case PictureFormat::PlaceableWmf: return QStringLiteral("Windows metafile");
    case PictureFormat::Emf: return QStringLiteral("enhanced metafile");
    case PictureFormat::Svg: return QStringLiteral("SVG");
    case PictureFormat::Unknown: break;
    }
    return QStringLiteral("picture");
}
