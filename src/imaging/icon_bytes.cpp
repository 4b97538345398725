#include "imaging/icon_bytes.h"
#include "imaging/icon_error.h"

#include <QtEndian>

void IconBytes::damaged(const char* what)
{
    throw EIconError(QStringLiteral("the file is damaged (%1)").arg(QLatin1String(what)));
}

void IconBytes::need(qint64 at, qint64 length) const
{
    if (!has(at, length))
        damaged("a table or picture lies outside the file");
}

quint8 IconBytes::u8(qint64 at) const
{
    need(at, 1);
    return quint8(m_data[qsizetype(at)]);
}

quint16 IconBytes::u16(qint64 at) const
{
    need(at, 2);
    return qFromLittleEndian<quint16>(m_data.data() + at);
}

quint32 IconBytes::u32(qint64 at) const
{
    need(at, 4);
    return qFromLittleEndian<quint32>(m_data.data() + at);
}

QByteArrayView IconBytes::slice(qint64 at, qint64 length) const
{
    need(at, length);
    return m_data.sliced(qsizetype(at), qsizetype(length));
}
