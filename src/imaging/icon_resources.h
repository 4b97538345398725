#pragma once
// Walkers of the files that hold icons: single icons (".ico"), 16-bit NE libraries
// (".icl", ".nil", old ".dll" and ".exe") and 32/64-bit PE programs. Each gives the icons
// in the order ExtractIcon numbers them, every icon as the bytes of its pictures (DIB or
// PNG) in the order its group directory lists them. Damage throws EIconError.
#include "imaging/icon_bytes.h"

#include <QList>
#include <functional>
#include <optional>

enum class IconFileKind { Icon, NeLibrary, Pe32, Pe64, OtherProgram };

using IconPictureBytes = QList<QByteArrayView>;

struct IconResources {
    IconFileKind kind = IconFileKind::Icon;
    QList<IconPictureBytes> icons;
};

// Recognises the file by its content, whatever its name.
IconResources ReadIconResources(const IconBytes& file);

QList<IconPictureBytes> ReadIcoDirectory(const IconBytes& file);
QList<IconPictureBytes> ReadNeIconResources(const IconBytes& file, qint64 neHeader);
QList<IconPictureBytes> ReadPeIconResources(const IconBytes& file, qint64 peHeader, bool* is64);

// Resolves the entries of one group icon resource (RT_GROUP_ICON) to the pictures
// (RT_ICON) their identifiers name. `pictureBudget` bounds the references followed over a
// whole file, so that a small file cannot name the same picture billions of times.
class IconGroupResolver {
public:
    using Lookup = std::function<std::optional<QByteArrayView>(quint16 id)>;
    explicit IconGroupResolver(Lookup lookup) : m_lookup(std::move(lookup)) {}
    IconPictureBytes resolve(QByteArrayView groupResource);

private:
    Lookup m_lookup;
    qint64 m_budget = 1 << 20;
};
