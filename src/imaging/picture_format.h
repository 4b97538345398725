#pragma once
// The picture formats the loader reads, and how each is recognised.
#include <QByteArrayView>
#include <QString>
#include <QStringList>

enum class PictureFormat {
    Unknown,
    Bmp,          // a BMP file (RLE4/RLE8 included) or a DIB given its file header
    Jpeg,         // JPEG and JIF
    Gif,
    Png,
    Ico,
    Tga,
    Pcx,
    Wmf,          // a plain Windows metafile
    PlaceableWmf, // a Windows metafile after the 22-byte placeable header
    Emf,          // enhanced metafiles, EMF+ included
    Svg,
};

// Decides by the bytes: every format with a signature is recognised by it, whatever the
// file is called. Only a headerless DIB and a Targa file have no signature; for those
// the name's extension settles a doubt. `fileName` may be empty.
PictureFormat DetectPictureFormat(QByteArrayView bytes, const QString& fileName = {});

// The format a file name's extension promises (Unknown for any other extension).
PictureFormat PictureFormatForExtension(const QString& fileName);

// Upper-case extensions of every file the loader reads ("BMP", "DIB", "JPG", ...), for
// file choosers.
const QStringList& PictureFileExtensions();

// A short name for messages ("Targa", "PCX", "Windows metafile", ...).
QString PictureFormatName(PictureFormat format);
