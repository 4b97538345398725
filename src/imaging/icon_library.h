#pragma once
// The icons of any file that holds them, numbered as Windows' ExtractIcon numbers them:
// a single icon (".ico"), a 16-bit icon library (".icl", ".nil" and old programs, NE) or
// a 32/64-bit program or library (".exe", ".dll", PE). The kind comes from the content,
// never from the name. Each icon is rebuilt as an .ico file and decoded by Qt's reader.
#include "imaging/icon_picture.h"
#include "imaging/icon_resources.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

class IconLibrary {
public:
    // Reads and checks the whole file. Throws EIconError, with the reason fit for the
    // user, when it cannot be read, holds no icon resources of any kind we know
    // (a text file, a picture) or is damaged; a damaged file gives no icons at all.
    // A program without icons is not an error: it has count() 0.
    static IconLibrary fromFile(const QString& path);
    static IconLibrary fromData(QByteArray bytes);

    IconFileKind kind() const { return m_kind; }
    int count() const { return int(m_icons.size()); }

    // Icon `index` (0 .. count() - 1; others throw EIconError):
    // the size and depth of every picture we can show, in the file's order;
    QList<TIconImageInfo> sizes(int index) const;
    // those pictures as one .ico file (throws when there is none);
    QByteArray icoData(int index) const;
    // those pictures decoded (ARGB32), in the same order;
    QList<QImage> images(int index) const;
    // the picture Windows would show for `wanted`: the nearest size, then the most bits.
    QImage image(int index, QSize wanted = QSize(32, 32)) const;

private:
    const QList<IconPicture>& picturesOf(int index) const;
    const QList<IconPicture>& showablePicturesOf(int index) const;

    IconFileKind m_kind = IconFileKind::Icon;
    QByteArray m_bytes; // never changed, so copies share it and the views below stay valid
    QList<QList<IconPicture>> m_icons; // decodable pictures only
};
