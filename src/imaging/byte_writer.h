#pragma once
// Little-endian fields appended to a byte array, for the file formats we write.
#include <QByteArray>
#include <QtEndian>

namespace ovpic {

inline void appendLe16(QByteArray& b, quint16 v)
{
    char x[2];
    qToLittleEndian(v, x);
    b.append(x, 2);
}

inline void appendLe32(QByteArray& b, quint32 v)
{
    char x[4];
    qToLittleEndian(v, x);
    b.append(x, 4);
}

} // namespace ovpic
