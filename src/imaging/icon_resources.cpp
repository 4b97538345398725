#include "imaging/icon_resources.h"
#include "imaging/icon_error.h"

namespace {
constexpr quint16 kIconDirType = 1; // 2 would be cursors
constexpr qint64 kGroupHeader = 6;
constexpr qint64 kGroupEntry = 14;  // GRPICONDIRENTRY: the .ico entry with a 16-bit id for the offset
constexpr qint64 kIcoEntry = 16;
} // namespace

IconPictureBytes IconGroupResolver::resolve(QByteArrayView groupResource)
{
    const IconBytes group(groupResource);
    if (group.u16(0) != 0 || group.u16(2) != kIconDirType)
        IconBytes::damaged("a group icon is not an icon directory");
    const quint16 n = group.u16(4);
    if (!group.has(kGroupHeader, n * kGroupEntry))
        IconBytes::damaged("a group icon is cut short");
    m_budget -= n;
    if (m_budget < 0)
        IconBytes::damaged("too many pictures");
    IconPictureBytes pictures;
    pictures.reserve(n);
    for (quint16 i = 0; i < n; ++i) {
        const quint16 id = group.u16(kGroupHeader + i * kGroupEntry + 12);
        const std::optional<QByteArrayView> picture = m_lookup(id);
        if (!picture)
            IconBytes::damaged("a group icon names a picture that is missing");
        pictures.append(*picture);
    }
    return pictures;
}

QList<IconPictureBytes> ReadIcoDirectory(const IconBytes& file)
{
    const quint16 n = file.u16(4);
    IconPictureBytes pictures;
    pictures.reserve(n);
    for (quint16 i = 0; i < n; ++i) {
        const qint64 entry = kGroupHeader + i * kIcoEntry;
        pictures.append(file.slice(file.u32(entry + 12), file.u32(entry + 8)));
    }
    return {pictures};
}

IconResources ReadIconResources(const IconBytes& file)
{
    if (file.size() == 0)
        throw EIconError(QStringLiteral("the file is empty"));
    IconResources r;
    if (file.has(0, 2) && file.u16(0) == 0x5A4D) { // "MZ": a program or library
        // The new-format header's offset; a plain DOS program has none and no icons.
        const quint32 newHeader = file.u32(0x3C);
        const quint32 signature = file.u32(newHeader);
        if ((signature & 0xFFFF) == 0x454E) { // "NE"
            r.kind = IconFileKind::NeLibrary;
            r.icons = ReadNeIconResources(file, newHeader);
        } else if (signature == 0x00004550) { // "PE\0\0"
            bool is64 = false;
            r.icons = ReadPeIconResources(file, newHeader, &is64);
            r.kind = is64 ? IconFileKind::Pe64 : IconFileKind::Pe32;
        } else {
            r.kind = IconFileKind::OtherProgram;
        }
        return r;
    }
    if (file.has(0, 6) && file.u16(0) == 0 && file.u16(2) == kIconDirType && file.u16(4) > 0) {
        r.kind = IconFileKind::Icon;
        r.icons = ReadIcoDirectory(file);
        return r;
    }
    throw EIconError(QStringLiteral("it is not an icon, an icon library or a program"));
}
