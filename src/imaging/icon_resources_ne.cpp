// 16-bit NE resources. The resource table starts with the alignment shift; each type
// block (TYPEINFO) is followed by its entries (NAMEINFO), whose offsets AND lengths count
// in units of 1 << shift. Integer type and resource ids carry the high bit.
//
// Order: ExtractIcon numbers the group icons of an NE file in the order of their entries
// in the table, as written; it does not sort them (Windows cannot enumerate 16-bit
// resources through the loader, so the shell walks this table itself). Our own libraries
// are written with named groups first, sorted without regard to case, then numeric ids
// ascending, so for them table order and that rule agree.
#include "imaging/icon_resources.h"

#include <QHash>

namespace {
constexpr quint16 kTypeIcon = 0x8003;
constexpr quint16 kTypeGroupIcon = 0x800E;
constexpr qint64 kTypeInfo = 8;
constexpr qint64 kNameInfo = 12;
constexpr int kMaxShift = 24; // 16 MiB units: far beyond any real library

struct TypeBlock {
    qint64 entries = -1; // file offset of the first NAMEINFO
    quint16 count = 0;
};
} // namespace

QList<IconPictureBytes> ReadNeIconResources(const IconBytes& file, qint64 ne)
{
    const quint16 resourceTable = file.u16(ne + 0x24);
    const quint16 residentNames = file.u16(ne + 0x26);
    if (resourceTable == residentNames)
        return {}; // no resource table
    const qint64 table = ne + resourceTable;
    // The table ends where the resident-name table begins (when that follows it).
    const qint64 tableEnd = residentNames > resourceTable ? qMin(ne + residentNames, file.size()) : file.size();
    const IconBytes tableBytes(file.slice(0, tableEnd));

    const quint16 shift = tableBytes.u16(table);
    if (shift > kMaxShift)
        IconBytes::damaged("the resource alignment is out of range");

    TypeBlock icons, groups;
    qint64 at = table + 2;
    for (;;) {
        const quint16 type = tableBytes.u16(at);
        if (type == 0)
            break;
        const quint16 count = tableBytes.u16(at + 2);
        const qint64 entries = at + kTypeInfo;
        if (!tableBytes.has(entries, count * kNameInfo))
            IconBytes::damaged("the resource table is cut short");
        TypeBlock& block = type == kTypeIcon ? icons : groups;
        if ((type == kTypeIcon || type == kTypeGroupIcon) && block.entries < 0)
            block = {entries, count};
        at = entries + count * kNameInfo;
    }

    // A resource's bytes: its length in units may run past the end of the file when the
    // last resource was not padded; the pictures inside are checked on their own.
    const auto resourceAt = [&](qint64 entry) {
        const qint64 start = qint64(file.u16(entry)) << shift;
        const qint64 length = qint64(file.u16(entry + 2)) << shift;
        if (start >= file.size())
            IconBytes::damaged("a resource lies outside the file");
        return file.slice(start, qMin(length, file.size() - start));
    };

    QHash<quint16, qint64> iconEntryById;
    for (quint16 i = 0; i < icons.count; ++i) {
        const qint64 entry = icons.entries + i * kNameInfo;
        const quint16 id = file.u16(entry + 6);
        if (!iconEntryById.contains(id)) // the first of two pictures with one id wins
            iconEntryById.insert(id, entry);
    }
    IconGroupResolver resolver([&](quint16 id) -> std::optional<QByteArrayView> {
        const auto it = iconEntryById.constFind(quint16(id | 0x8000));
        if (it == iconEntryById.constEnd())
            return std::nullopt;
        return resourceAt(*it);
    });
    QList<IconPictureBytes> result;
    result.reserve(groups.count);
    for (quint16 i = 0; i < groups.count; ++i)
        result.append(resolver.resolve(resourceAt(groups.entries + i * kNameInfo)));
    return result;
}
