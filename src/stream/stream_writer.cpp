#include "stream_writer.h"

#include "stream/extended_float.h"

TStreamWriter::TStreamWriter(QIODevice& device) : m_dev(&device)
{
    if (!device.isOpen() || !device.isWritable())
        throw EStreamError(QStringLiteral("The file cannot be written."));
}

TStreamWriter::TStreamWriter(QByteArray* target) : m_dev(&m_buffer)
{
    m_buffer.setBuffer(target);
    m_buffer.open(QIODevice::WriteOnly | QIODevice::Append);
}

void TStreamWriter::write(const char* data, qint64 n)
{
    if (n <= 0)
        return;
    if (m_dev->write(data, n) != n)
        throw EStreamError(QStringLiteral("The file could not be written."), m_written);
    m_written += n;
}

void TStreamWriter::writeByte(quint8 b)
{
    const char c = char(b);
    write(&c, 1);
}

void TStreamWriter::writeRawInt16(qint16 v)
{
    const auto u = quint16(v);
    const char b[2] = {char(u), char(u >> 8)};
    write(b, 2);
}

void TStreamWriter::writeRawInt32(qint32 v)
{
    const auto u = quint32(v);
    const char b[4] = {char(u), char(u >> 8), char(u >> 16), char(u >> 24)};
    write(b, 4);
}

void TStreamWriter::writeStr(const QByteArray& s)
{
    if (s.size() > 255)
        throw EStreamError(QStringLiteral("A name is longer than 255 characters."), m_written);
    writeByte(quint8(s.size()));
    write(s);
}

void TStreamWriter::writeInteger(qint64 v)
{
    if (v >= -128 && v <= 127) {
        writeValueType(TValueType::vaInt8);
        writeByte(quint8(qint8(v)));
    } else if (v >= -32768 && v <= 32767) {
        writeValueType(TValueType::vaInt16);
        writeRawInt16(qint16(v));
    } else if (v >= INT32_MIN && v <= INT32_MAX) {
        writeValueType(TValueType::vaInt32);
        writeRawInt32(qint32(v));
    } else {
        throw EStreamError(QStringLiteral("A number is too large to be stored."), m_written);
    }
}

void TStreamWriter::writeStringBytes(const QByteArray& bytes)
{
    if (bytes.size() <= 255) {
        writeValueType(TValueType::vaString);
        writeByte(quint8(bytes.size()));
    } else {
        if (bytes.size() > INT32_MAX)
            throw EStreamError(QStringLiteral("A text is too long to be stored."), m_written);
        writeValueType(TValueType::vaLString);
        writeRawInt32(qint32(bytes.size()));
    }
    write(bytes);
}

void TStreamWriter::writeFloat(double d)
{
    writeValueType(TValueType::vaExtended);
    const TExtended80 x = doubleToExtended(d);
    write(reinterpret_cast<const char*>(x.data()), 10);
}

void TStreamWriter::writeIdent(const QByteArray& id)
{
    writeValueType(TValueType::vaIdent);
    writeStr(id);
}

void TStreamWriter::writeSet(const QList<QByteArray>& names)
{
    writeValueType(TValueType::vaSet);
    for (const QByteArray& n : names) {
        if (n.isEmpty())
            throw EStreamError(QStringLiteral("A set holds an empty name."), m_written);
        writeStr(n);
    }
    writeByte(0);
}

void TStreamWriter::writeBinary(const QByteArray& data)
{
    if (data.size() > INT32_MAX)
        throw EStreamError(QStringLiteral("A data block is too large to be stored."), m_written);
    writeValueType(TValueType::vaBinary);
    writeRawInt32(qint32(data.size()));
    write(data);
}

void TStreamWriter::writeValue(const TStreamValue& v)
{
    switch (v.type) {
    case TValueType::vaNull:
        throw EStreamError(QStringLiteral("An end of list cannot be written as a value."), m_written);
    case TValueType::vaList:
        writeListBegin();
        for (const TStreamValue& item : v.list)
            writeValue(item);
        writeListEnd();
        break;
    case TValueType::vaInt8:
    case TValueType::vaInt16:
    case TValueType::vaInt32:
        writeInteger(v.integer);
        break;
    case TValueType::vaExtended:
        if (v.bytes.size() == 10) {
            writeValueType(TValueType::vaExtended);
            write(v.bytes);
        } else {
            writeFloat(v.real);
        }
        break;
    case TValueType::vaString:
    case TValueType::vaLString:
        writeStringBytes(v.bytes);
        break;
    case TValueType::vaIdent:
        writeIdent(v.bytes);
        break;
    case TValueType::vaFalse:
    case TValueType::vaTrue:
    case TValueType::vaNil:
        writeValueType(v.type);
        break;
    case TValueType::vaBinary:
        writeBinary(v.bytes);
        break;
    case TValueType::vaSet:
        writeSet(v.set);
        break;
    case TValueType::vaCollection:
        writeValueType(TValueType::vaCollection);
        for (const TCollectionItem& item : v.items) {
            if (item.index)
                writeInteger(*item.index);
            writeListBegin();
            for (const TStreamProperty& p : item.properties) {
                writePropertyName(p.name);
                writeValue(p.value);
            }
            writeListEnd();
        }
        writeListEnd();
        break;
    }
}
