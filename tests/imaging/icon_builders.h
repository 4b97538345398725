#pragma once
// Hand-made files with icons for the reader's tests: DIB pictures, group directories,
// .ico files, 16-bit NE libraries and 32/64-bit PE programs, written byte by byte here so
// that the reader is checked against the formats, not against a writer of our own.
#include <QByteArray>
#include <QColor>
#include <QList>
#include <QString>
#include <QtEndian>
#include <variant>

namespace icontest {

inline void put8(QByteArray& a, int v) { a.append(char(v)); }
inline void put16(QByteArray& a, int v)
{
    char b[2];
    qToLittleEndian(quint16(v), b);
    a.append(b, 2);
}
inline void put32(QByteArray& a, qint64 v)
{
    char b[4];
    qToLittleEndian(quint32(v), b);
    a.append(b, 4);
}
inline void set16(QByteArray& a, qsizetype at, int v) { qToLittleEndian(quint16(v), a.data() + at); }
inline void set32(QByteArray& a, qsizetype at, qint64 v) { qToLittleEndian(quint32(v), a.data() + at); }
inline void padTo(QByteArray& a, qsizetype size) { a.append(QByteArray(qMax<qsizetype>(0, size - a.size()), '\0')); }

inline QByteArray infoHeader(int w, int h, int bits, int coloursUsed = 0)
{
    QByteArray a;
    put32(a, 40);
    put32(a, w);
    put32(a, 2 * h);
    put16(a, 1);
    put16(a, bits);
    put32(a, 0);
    put32(a, 0);
    put32(a, 0);
    put32(a, 0);
    put32(a, coloursUsed);
    put32(a, 0);
    return a;
}

// A 32-bit picture: colour(x, y) with y from the top; its AND mask opaque everywhere.
template <typename F>
QByteArray dib32(int w, int h, F colour)
{
    QByteArray a = infoHeader(w, h, 32);
    for (int y = h - 1; y >= 0; --y)
        for (int x = 0; x < w; ++x) {
            const QRgb c = colour(x, y);
            put8(a, qBlue(c));
            put8(a, qGreen(c));
            put8(a, qRed(c));
            put8(a, qAlpha(c));
        }
    a.append(QByteArray((w + 31) / 32 * 4 * h, '\0'));
    return a;
}

inline QByteArray dib32(int w, int h, QRgb fill)
{
    return dib32(w, h, [fill](int, int) { return fill; });
}

// A 4-bit picture with a two-colour palette (0 = `a`, 1 = `b`): pixel (x, y) uses `b`
// when x < split; the AND mask makes the top-left pixel transparent.
inline QByteArray dib4(int w, int h, QRgb a, QRgb b, int split)
{
    QByteArray d = infoHeader(w, h, 4, 2);
    for (QRgb c : {a, b}) {
        put8(d, qBlue(c));
        put8(d, qGreen(c));
        put8(d, qRed(c));
        put8(d, 0);
    }
    const int row = (w * 4 + 31) / 32 * 4;
    for (int y = h - 1; y >= 0; --y) {
        QByteArray r(row, '\0');
        for (int x = 0; x < w; ++x)
            if (x < split)
                r[x / 2] = char(r[x / 2] | (x % 2 ? 0x01 : 0x10));
        d.append(r);
    }
    const int maskRow = (w + 31) / 32 * 4;
    for (int y = h - 1; y >= 0; --y) {
        QByteArray r(maskRow, '\0');
        if (y == 0)
            r[0] = char(0x80);
        d.append(r);
    }
    return d;
}

struct Picture {
    QByteArray bytes;
    int id = 0; // the RT_ICON id a group entry names
};

// A group icon resource (GRPICONDIR) naming the pictures' ids.
inline QByteArray groupDirectory(const QList<Picture>& pictures)
{
    QByteArray g;
    put16(g, 0);
    put16(g, 1);
    put16(g, int(pictures.size()));
    for (const Picture& p : pictures) {
        const int w = qFromLittleEndian<qint32>(p.bytes.constData() + 4);
        const int h = qFromLittleEndian<qint32>(p.bytes.constData() + 8) / 2;
        put8(g, w & 0xFF);
        put8(g, h & 0xFF);
        put8(g, 0);
        put8(g, 0);
        put16(g, 1);
        put16(g, qFromLittleEndian<quint16>(p.bytes.constData() + 14));
        put32(g, p.bytes.size());
        put16(g, p.id);
    }
    return g;
}

inline QByteArray icoFile(const QList<QByteArray>& pictures)
{
    QByteArray f;
    put16(f, 0);
    put16(f, 1);
    put16(f, int(pictures.size()));
    qint64 offset = 6 + 16 * pictures.size();
    for (const QByteArray& p : pictures) {
        put8(f, qFromLittleEndian<qint32>(p.constData() + 4) & 0xFF);
        put8(f, (qFromLittleEndian<qint32>(p.constData() + 8) / 2) & 0xFF);
        put8(f, 0);
        put8(f, 0);
        put16(f, 1);
        put16(f, qFromLittleEndian<quint16>(p.constData() + 14));
        put32(f, p.size());
        put32(f, offset);
        offset += p.size();
    }
    for (const QByteArray& p : pictures)
        f.append(p);
    return f;
}

inline QByteArray mzHeader(int newHeader)
{
    QByteArray mz(64, '\0');
    mz[0] = 'M';
    mz[1] = 'Z';
    set32(mz, 0x3C, newHeader);
    return mz;
}

// A group icon resource's name: an integer id or a string.
using ResourceName = std::variant<int, QString>;

struct Group {
    ResourceName name;
    QList<Picture> pictures;
};

// A 16-bit NE library: MZ header, NE header, resource table (RT_ICON then RT_GROUP_ICON,
// entries in the order given), names, then the resources, each starting on a multiple of
// 1 << shift and its length counted in those units. The last resource is not padded.
inline QByteArray neLibrary(const QList<Group>& groups, int shift = 4)
{
    QList<Picture> pictures;
    for (const Group& g : groups)
        pictures += g.pictures;
    QList<QByteArray> resources; // pictures first, then groups, as in the table
    for (const Picture& p : pictures)
        resources.append(p.bytes);
    for (const Group& g : groups)
        resources.append(groupDirectory(g.pictures));

    QByteArray names;
    QList<int> nameOffsets; // relative to the table start
    const qsizetype tableFixed = 2 + 8 + 12 * pictures.size() + 8 + 12 * groups.size() + 2;
    for (const Group& g : groups) {
        if (const QString* s = std::get_if<QString>(&g.name)) {
            nameOffsets.append(int(tableFixed + names.size()));
            put8(names, int(s->size()));
            names.append(s->toLatin1());
        } else {
            nameOffsets.append(0x8000 | std::get<int>(g.name));
        }
    }
    names.append('\0');

    const int ne = 64;
    const int tableAt = 64; // relative to the NE header
    const qsizetype tableSize = tableFixed + names.size();
    const int residentAt = int(tableAt + tableSize);
    QByteArray f = mzHeader(ne);
    QByteArray h(64, '\0');
    h[0] = 'N';
    h[1] = 'E';
    set16(h, 0x24, tableAt);
    set16(h, 0x26, residentAt);
    set16(h, 0x28, residentAt + 8);
    set16(h, 0x2A, residentAt + 8);
    set16(h, 0x04, residentAt + 8);
    h[0x36] = 2; // Windows
    f.append(h);

    qsizetype dataAt = ne + residentAt + 8;
    const qsizetype unit = qsizetype(1) << shift;
    dataAt = (dataAt + unit - 1) / unit * unit;
    QList<qsizetype> starts;
    for (const QByteArray& r : resources) {
        starts.append(dataAt);
        dataAt += (r.size() + unit - 1) / unit * unit;
    }
    const auto entry = [&](QByteArray& t, int i, int id) {
        put16(t, int(starts[i] >> shift));
        put16(t, int((resources[i].size() + unit - 1) >> shift));
        put16(t, 0x1C30);
        put16(t, id);
        put32(t, 0);
    };
    QByteArray t;
    put16(t, shift);
    put16(t, 0x8003);
    put16(t, int(pictures.size()));
    put32(t, 0);
    for (int i = 0; i < pictures.size(); ++i)
        entry(t, i, 0x8000 | pictures[i].id);
    put16(t, 0x800E);
    put16(t, int(groups.size()));
    put32(t, 0);
    for (int i = 0; i < groups.size(); ++i)
        entry(t, int(pictures.size()) + i, nameOffsets[i]);
    put16(t, 0);
    t.append(names);
    f.append(t);
    f.append(QByteArray("\x04TEST\0\0\0", 8)); // resident names: module name, end
    for (int i = 0; i < resources.size(); ++i) {
        padTo(f, starts[i]);
        f.append(resources[i]);
    }
    return f;
}

// A PE program with one resource section. Directory entries are stored in the order
// given (the format wants named entries first, sorted, then ids ascending; tests pass
// them so, or not, on purpose).
inline QByteArray peProgram(const QList<Group>& groups, bool pe64)
{
    QList<Picture> pictures;
    for (const Group& g : groups)
        pictures += g.pictures;
    const quint32 sectionRva = 0x3000;

    // Resource tree: root (2 types), type dirs, name dirs (one language each), data
    // entries, names, then the data itself.
    QByteArray tree;
    const auto dirHeader = [](QByteArray& t, int named, int ids) {
        put32(t, 0);
        put32(t, 0);
        put32(t, 0);
        put16(t, named);
        put16(t, ids);
    };
    int namedGroups = 0;
    for (const Group& g : groups)
        namedGroups += std::holds_alternative<QString>(g.name) ? 1 : 0;
    const int leaves = int(pictures.size() + groups.size());
    const int rootSize = 16 + 2 * 8;
    const int iconDirAt = rootSize;
    const int groupDirAt = iconDirAt + 16 + 8 * int(pictures.size());
    const int langDirsAt = groupDirAt + 16 + 8 * int(groups.size());
    const int dataEntriesAt = langDirsAt + leaves * (16 + 8);
    const int namesAt = dataEntriesAt + leaves * 16;
    QByteArray names;
    QList<int> nameOffsets;
    for (const Group& g : groups)
        if (const QString* s = std::get_if<QString>(&g.name)) {
            nameOffsets.append(namesAt + int(names.size()));
            put16(names, int(s->size()));
            for (QChar c : *s)
                put16(names, c.unicode());
        } else {
            nameOffsets.append(-1);
        }
    const int dataAt = (namesAt + int(names.size()) + 7) / 8 * 8;

    dirHeader(tree, 0, 2);
    put32(tree, 3);
    put32(tree, 0x80000000u | iconDirAt);
    put32(tree, 14);
    put32(tree, 0x80000000u | groupDirAt);
    dirHeader(tree, 0, int(pictures.size()));
    for (int i = 0; i < pictures.size(); ++i) {
        put32(tree, pictures[i].id);
        put32(tree, 0x80000000u | (langDirsAt + i * 24));
    }
    dirHeader(tree, namedGroups, int(groups.size()) - namedGroups);
    for (int i = 0; i < groups.size(); ++i) {
        put32(tree, nameOffsets[i] >= 0 ? (0x80000000u | nameOffsets[i]) : std::get<int>(groups[i].name));
        put32(tree, 0x80000000u | (langDirsAt + (int(pictures.size()) + i) * 24));
    }
    QList<QByteArray> data;
    for (const Picture& p : pictures)
        data.append(p.bytes);
    for (const Group& g : groups)
        data.append(groupDirectory(g.pictures));
    for (int i = 0; i < leaves; ++i) {
        dirHeader(tree, 0, 1);
        put32(tree, 0x409);
        put32(tree, dataEntriesAt + i * 16);
    }
    int at = dataAt;
    for (int i = 0; i < leaves; ++i) {
        put32(tree, sectionRva + at);
        put32(tree, data[i].size());
        put32(tree, 0);
        put32(tree, 0);
        at += int((data[i].size() + 7) / 8 * 8);
    }
    tree.append(names);
    for (int i = 0; i < leaves; ++i) {
        padTo(tree, tree.size() + (8 - tree.size() % 8) % 8);
        tree.append(data[i]);
    }

    const int pe = 64;
    const int optionalSize = pe64 ? 240 : 224;
    const int headersEnd = pe + 4 + 20 + optionalSize + 40;
    const int rawAt = (headersEnd + 511) / 512 * 512;
    QByteArray f = mzHeader(pe);
    f.append("PE\0\0", 4);
    put16(f, pe64 ? 0x8664 : 0x14C);
    put16(f, 1); // one section
    put32(f, 0);
    put32(f, 0);
    put32(f, 0);
    put16(f, optionalSize);
    put16(f, 0x2102);
    QByteArray o(optionalSize, '\0');
    set16(o, 0, pe64 ? 0x20B : 0x10B);
    const int directories = pe64 ? 108 : 92;
    set32(o, directories, 16);
    set32(o, directories + 4 + 2 * 8, sectionRva);
    set32(o, directories + 4 + 2 * 8 + 4, tree.size());
    f.append(o);
    f.append(".rsrc\0\0\0", 8);
    put32(f, tree.size()); // virtual size
    put32(f, sectionRva);
    put32(f, tree.size()); // raw size: exactly the data, so any cut damages it
    put32(f, rawAt);
    f.append(QByteArray(16, '\0'));
    padTo(f, rawAt);
    f.append(tree);
    return f;
}

} // namespace icontest
