#include "imaging/icon_library.h"
#include "imaging/icon_error.h"

#include <QFile>

namespace {
constexpr qint64 kMaxFileSize = qint64(256) << 20; // larger than any program's resources we could show
}

IconLibrary IconLibrary::fromFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EIconError(QStringLiteral("the file cannot be read (%1)").arg(file.errorString()));
    if (file.size() > kMaxFileSize)
        throw EIconError(QStringLiteral("the file is too large"));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EIconError(QStringLiteral("the file cannot be read (%1)").arg(file.errorString()));
    return fromData(std::move(bytes));
}

IconLibrary IconLibrary::fromData(QByteArray bytes)
{
    IconLibrary library;
    library.m_bytes = std::move(bytes);
    library.m_bytes.detach(); // own the bytes (they may be raw data of the caller's): views point into them
    const IconResources resources = ReadIconResources(IconBytes(library.m_bytes));
    library.m_kind = resources.kind;
    library.m_icons.reserve(resources.icons.size());
    for (const IconPictureBytes& icon : resources.icons) {
        QList<IconPicture> pictures;
        for (QByteArrayView bytes : icon) {
            IconPicture p = InspectIconPicture(bytes);
            if (p.decodable)
                pictures.append(p);
        }
        library.m_icons.append(pictures);
    }
    return library;
}

const QList<IconPicture>& IconLibrary::picturesOf(int index) const
{
    if (index < 0 || index >= count())
        throw EIconError(QStringLiteral("there is no icon %1 (the file holds %2)").arg(index).arg(count()));
    return m_icons[index];
}

QList<TIconImageInfo> IconLibrary::sizes(int index) const
{
    QList<TIconImageInfo> result;
    for (const IconPicture& p : picturesOf(index))
        result.append(p.info);
    return result;
}

const QList<IconPicture>& IconLibrary::showablePicturesOf(int index) const
{
    const QList<IconPicture>& pictures = picturesOf(index);
    if (pictures.isEmpty())
        throw EIconError(QStringLiteral("icon %1 has no picture of a kind that can be shown").arg(index));
    return pictures;
}

QByteArray IconLibrary::icoData(int index) const
{
    return BuildIcoFile(showablePicturesOf(index));
}

QList<QImage> IconLibrary::images(int index) const
{
    return DecodeIcoFile(icoData(index));
}

QImage IconLibrary::image(int index, QSize wanted) const
{
    const QList<IconPicture>& pictures = showablePicturesOf(index);
    const auto distance = [&](const TIconImageInfo& i) {
        return qAbs(qint64(i.width) - wanted.width()) + qAbs(qint64(i.height) - wanted.height());
    };
    const IconPicture* best = &pictures.first();
    for (const IconPicture& p : pictures) {
        const qint64 d = distance(p.info), bestD = distance(best->info);
        if (d < bestD || (d == bestD && p.info.bits > best->info.bits))
            best = &p;
    }
    return DecodeIcoFile(BuildIcoFile({*best})).first();
}
