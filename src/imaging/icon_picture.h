#pragma once
// One picture of an icon as stored in a file (a DIB with its AND mask, or a PNG): its
// size and depth read from its own header, whether Qt's ico reader can decode it, and
// the .ico file rebuilt from an icon's pictures.
#include <QByteArray>
#include <QImage>
#include <QList>

struct TIconImageInfo {
    int width = 0;
    int height = 0;
    int bits = 0; // bits per pixel
    bool operator==(const TIconImageInfo&) const = default;
};

struct IconPicture {
    QByteArrayView bytes;
    TIconImageInfo info;
    bool decodable = false; // a kind Qt's ico reader handles (1/4/8/24/32-bit DIB, PNG)
};

// Throws EIconError when the picture is damaged (a header out of range, data cut short).
// Pictures of kinds we do not decode (16-bit, compressed DIBs, other header versions,
// larger than 256 pixels) are not damage: they come back with `decodable` false.
IconPicture InspectIconPicture(QByteArrayView bytes);

// An .ico file holding the pictures in their order; its directory is made from the
// pictures' own headers, so that the reader never reads past a picture.
QByteArray BuildIcoFile(const QList<IconPicture>& pictures);

// Every picture of an .ico file through Qt's ico reader, as ARGB32. Throws EIconError
// when the reader refuses one.
QList<QImage> DecodeIcoFile(const QByteArray& ico);
