// 32- and 64-bit PE resources. The resource directory is a tree (type, name, language)
// addressed from the start of the resource data; the data entries at its leaves hold
// RVAs, turned into file offsets through the section table.
//
// Order: ExtractIcon numbers the group icons by enumerating the RT_GROUP_ICON directory
// in stored order. The format stores named entries first, sorted by name without regard
// to case (resource compilers write names in upper case), then numeric ids in ascending
// order; we take the stored order as it is, which is that rule for every well-formed
// file and what Windows does for the others too.
#include "imaging/icon_resources.h"

#include <QHash>

namespace {
constexpr quint32 kTypeIcon = 3;
constexpr quint32 kTypeGroupIcon = 14;
constexpr qint64 kSectionHeader = 40;
constexpr qint64 kDirHeader = 16;
constexpr qint64 kDirEntry = 8;
constexpr quint32 kHighBit = 0x80000000u;

class PeImage {
public:
    PeImage(const IconBytes& file, qint64 sections, quint16 sectionCount)
        : m_file(file), m_sections(sections), m_count(sectionCount)
    {
        if (!file.has(sections, sectionCount * kSectionHeader))
            IconBytes::damaged("the section table lies outside the file");
    }

    // File offset of [rva, rva + length), which must lie in one section's file data.
    qint64 offsetOf(quint32 rva, quint32 length) const
    {
        for (quint16 i = 0; i < m_count; ++i) {
            const qint64 s = m_sections + i * kSectionHeader;
            const qint64 va = m_file.u32(s + 12);
            const qint64 rawSize = m_file.u32(s + 16);
            const qint64 rawStart = m_file.u32(s + 20);
            if (rva < va || rva - va >= rawSize)
                continue;
            if (rva - va + length > rawSize)
                IconBytes::damaged("a resource runs past the end of its section");
            const qint64 at = rawStart + (rva - va);
            if (!m_file.has(at, length))
                IconBytes::damaged("a resource lies outside the file");
            return at;
        }
        IconBytes::damaged("a resource lies in no section of the file");
    }

    // The file data of the section holding `rva`, from that address to its end.
    QByteArrayView sectionFrom(quint32 rva) const
    {
        const qint64 at = offsetOf(rva, 0);
        for (quint16 i = 0; i < m_count; ++i) {
            const qint64 s = m_sections + i * kSectionHeader;
            const qint64 va = m_file.u32(s + 12);
            const qint64 rawSize = m_file.u32(s + 16);
            if (rva >= va && rva - va < rawSize)
                return m_file.slice(at, qMin(rawSize - (rva - va), m_file.size() - at));
        }
        IconBytes::damaged("a resource lies in no section of the file");
    }

private:
    const IconBytes& m_file;
    qint64 m_sections;
    quint16 m_count;
};

struct DirEntry {
    quint32 name; // an id, or (high bit set) the offset of a name
    quint32 target; // high bit set: a subdirectory
};

// The entries of one directory of the resource tree, named ones first as stored.
QList<DirEntry> readDirectory(const IconBytes& tree, quint32 offset)
{
    const qint64 n = qint64(tree.u16(qint64(offset) + 12)) + tree.u16(qint64(offset) + 14);
    if (!tree.has(qint64(offset) + kDirHeader, n * kDirEntry))
        IconBytes::damaged("the resource directory is cut short");
    QList<DirEntry> entries;
    entries.reserve(n);
    for (qint64 i = 0; i < n; ++i) {
        const qint64 e = qint64(offset) + kDirHeader + i * kDirEntry;
        entries.append({tree.u32(e), tree.u32(e + 4)});
    }
    return entries;
}

std::optional<quint32> subdirectoryOfId(const QList<DirEntry>& entries, quint32 id)
{
    for (const DirEntry& e : entries)
        if (!(e.name & kHighBit) && e.name == id) {
            if (!(e.target & kHighBit))
                IconBytes::damaged("the resource directory is not a tree");
            return e.target & ~kHighBit;
        }
    return std::nullopt;
}

// The data of a name's first language, as Windows takes it without a preferred language.
QByteArrayView firstLanguageData(const IconBytes& tree, const PeImage& image, const IconBytes& file,
                                 const DirEntry& nameEntry)
{
    if (!(nameEntry.target & kHighBit))
        IconBytes::damaged("the resource directory is not a tree");
    const QList<DirEntry> languages = readDirectory(tree, nameEntry.target & ~kHighBit);
    if (languages.isEmpty() || (languages.first().target & kHighBit))
        IconBytes::damaged("a resource has no data");
    const quint32 data = languages.first().target;
    const quint32 rva = tree.u32(data);
    const quint32 size = tree.u32(qint64(data) + 4);
    return file.slice(image.offsetOf(rva, size), size);
}
} // namespace

QList<IconPictureBytes> ReadPeIconResources(const IconBytes& file, qint64 pe, bool* is64)
{
    const qint64 coff = pe + 4;
    const quint16 sectionCount = file.u16(coff + 2);
    const quint16 optionalSize = file.u16(coff + 16);
    const qint64 optional = coff + 20;
    qint64 directories = 0;
    switch (file.u16(optional)) {
    case 0x10B: directories = optional + 92; *is64 = false; break;
    case 0x20B: directories = optional + 108; *is64 = true; break;
    default: IconBytes::damaged("the program header is of an unknown kind");
    }
    // The resource table is data directory 2, after a count of directories.
    if (directories + 4 + 3 * 8 > optional + optionalSize || file.u32(directories) <= 2)
        return {};
    const quint32 resourceRva = file.u32(directories + 4 + 2 * 8);
    if (resourceRva == 0)
        return {};
    const PeImage image(file, optional + optionalSize, sectionCount);
    const IconBytes tree(image.sectionFrom(resourceRva));

    const QList<DirEntry> types = readDirectory(tree, 0);
    const std::optional<quint32> groupDir = subdirectoryOfId(types, kTypeGroupIcon);
    if (!groupDir)
        return {};
    const std::optional<quint32> iconDir = subdirectoryOfId(types, kTypeIcon);
    const QList<DirEntry> icons = iconDir ? readDirectory(tree, *iconDir) : QList<DirEntry>();
    QHash<quint16, DirEntry> iconById;
    for (const DirEntry& e : icons)
        if (!(e.name & kHighBit) && e.name <= 0xFFFF && !iconById.contains(quint16(e.name)))
            iconById.insert(quint16(e.name), e);

    IconGroupResolver resolver([&](quint16 id) -> std::optional<QByteArrayView> {
        const auto it = iconById.constFind(id);
        if (it == iconById.constEnd())
            return std::nullopt;
        return firstLanguageData(tree, image, file, *it);
    });
    QList<IconPictureBytes> result;
    for (const DirEntry& group : readDirectory(tree, *groupDir))
        result.append(resolver.resolve(firstLanguageData(tree, image, file, group)));
    return result;
}
