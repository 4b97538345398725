#pragma once
// Bounded little-endian reading of a file's bytes: every read checks its range first and
// throws EIconError when the file is too short for it, so walkers of resource tables
// never touch memory outside the file.
#include <QByteArrayView>
#include <QtGlobal>

class IconBytes {
public:
    explicit IconBytes(QByteArrayView data) : m_data(data) {}

    qint64 size() const { return m_data.size(); }
    // True when [at, at + length) lies inside the bytes (no overflow for any input).
    bool has(qint64 at, qint64 length) const
    {
        return at >= 0 && length >= 0 && at <= size() && length <= size() - at;
    }
    quint8 u8(qint64 at) const;
    quint16 u16(qint64 at) const;
    quint32 u32(qint64 at) const;
    QByteArrayView slice(qint64 at, qint64 length) const;

    // The one failure of every walker: a table or picture lies outside the file.
    [[noreturn]] static void damaged(const char* what);

private:
    void need(qint64 at, qint64 length) const;
    QByteArrayView m_data;
};
