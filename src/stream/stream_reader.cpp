#include "stream_reader.h"

#include "stream/extended_float.h"

#include <QCoreApplication>
#include <cstring>

namespace {
constexpr qint64 kChunk = 64 * 1024;
}

namespace streamtext {
QString endOfData() { return QStringLiteral("The file ends unexpectedly."); }
QString invalidValue() { return QStringLiteral("Invalid property value."); }
QString invalidFormat() { return QStringLiteral("Invalid stream format."); }
} // namespace streamtext

TStreamReader::TStreamReader(const QByteArray& data) : m_buf(data) {}

TStreamReader::TStreamReader(QIODevice& device)
{
    if (!device.isOpen() || !device.isReadable())
        throw EStreamError(QStringLiteral("The file cannot be read."));
    if (device.isSequential()) {
        // No size to check against: take what the device delivers, within the limit.
        while (true) {
            const QByteArray chunk = device.read(kChunk);
            if (chunk.isEmpty() && !device.waitForReadyRead(1000))
                break;
            m_buf.append(chunk);
            if (m_buf.size() > kMaxBlockSize)
                throw EStreamError(QStringLiteral("The file is too large."));
        }
        return;
    }
    m_dev = &device;
    m_devRemaining = std::max<qint64>(0, device.size() - device.pos());
}

qint64 TStreamReader::remaining() const { return (m_buf.size() - m_bufPos) + m_devRemaining; }

void TStreamReader::fail(const QString& reason) const { throw EStreamError(reason, m_position); }

void TStreamReader::refill(qint64 want)
{
    // Keep the unread tail at the front, then top up from the device. Moved by hand: a
    // removal from the front would only move where the array starts, and growing it again
    // would then take fresh memory for every chunk of the file.
    const qint64 tail = m_buf.size() - m_bufPos;
    if (m_bufPos > 0) {
        std::memmove(m_buf.data(), m_buf.constData() + m_bufPos, size_t(tail));
        m_buf.truncate(tail);
    }
    m_bufPos = 0;
    const qint64 n = std::min(m_devRemaining, std::max(want, kChunk));
    if (n <= 0)
        return;
    const qint64 old = m_buf.size();
    m_buf.resize(old + n);
    const qint64 got = m_dev->read(m_buf.data() + old, n);
    if (got != n) {
        m_buf.resize(old + std::max<qint64>(0, got));
        m_devRemaining = 0;
        fail(QStringLiteral("The file could not be read completely."));
    }
    m_devRemaining -= n;
}

void TStreamReader::read(char* dst, qint64 n)
{
    if (n < 0 || n > remaining())
        fail(streamtext::endOfData());
    qint64 buffered = m_buf.size() - m_bufPos;
    if (n > buffered && m_dev) {
        if (n - buffered >= kChunk) {
            // Large runs go straight from the device into the destination.
            std::memcpy(dst, m_buf.constData() + m_bufPos, size_t(buffered));
            m_bufPos += buffered;
            const qint64 rest = n - buffered;
            const qint64 got = m_dev->read(dst + buffered, rest);
            if (got != rest) {
                m_devRemaining = 0;
                fail(QStringLiteral("The file could not be read completely."));
            }
            m_devRemaining -= rest;
            m_position += n;
            if (m_capture)
                m_capture->append(dst, n);
            return;
        }
        refill(n - buffered);
        buffered = m_buf.size() - m_bufPos;
    }
    std::memcpy(dst, m_buf.constData() + m_bufPos, size_t(n));
    m_bufPos += n;
    m_position += n;
    if (m_capture)
        m_capture->append(dst, n);
}

qint64 TStreamReader::checkedLength(qint64 n)
{
    if (n < 0 || n > remaining())
        fail(streamtext::endOfData());
    if (n > kMaxBlockSize)
        fail(QStringLiteral("A value in the file is too large."));
    return n;
}

QByteArray TStreamReader::readBytes(qint64 n)
{
    checkedLength(n);
    QByteArray out(n, Qt::Uninitialized);
    read(out.data(), n);
    return out;
}

quint8 TStreamReader::peekByte()
{
    if (remaining() < 1)
        fail(streamtext::endOfData());
    if (m_bufPos >= m_buf.size())
        refill(1);
    return quint8(m_buf[m_bufPos]);
}

quint8 TStreamReader::readByte()
{
    char c;
    read(&c, 1);
    return quint8(c);
}

qint16 TStreamReader::readRawInt16()
{
    unsigned char b[2];
    read(reinterpret_cast<char*>(b), 2);
    return qint16(quint16(b[0] | (b[1] << 8)));
}

qint32 TStreamReader::readRawInt32()
{
    unsigned char b[4];
    read(reinterpret_cast<char*>(b), 4);
    return qint32(quint32(b[0]) | (quint32(b[1]) << 8) | (quint32(b[2]) << 16) | (quint32(b[3]) << 24));
}

QByteArray TStreamReader::readStr()
{
    const quint8 len = readByte();
    return readBytes(len);
}

void TStreamReader::readSignature()
{
    char sig[4];
    read(sig, 4);
    if (std::memcmp(sig, "TPF0", 4) != 0)
        fail(streamtext::invalidFormat());
}

TValueType TStreamReader::readValueType()
{
    const quint8 tag = readByte();
    if (!isValidValueType(tag))
        throw EStreamError(streamtext::invalidValue(), m_position - 1); // the offset of the bad tag
    return TValueType(tag);
}

TValueType TStreamReader::nextValue()
{
    const quint8 tag = peekByte();
    if (!isValidValueType(tag))
        fail(streamtext::invalidValue());
    return TValueType(tag);
}

void TStreamReader::checkValue(TValueType expected)
{
    if (readValueType() != expected)
        fail(streamtext::invalidValue());
}

qint32 TStreamReader::readInteger()
{
    switch (readValueType()) {
    case TValueType::vaInt8:
        return qint8(readByte());
    case TValueType::vaInt16:
        return readRawInt16();
    case TValueType::vaInt32:
        return readRawInt32();
    default:
        fail(streamtext::invalidValue());
    }
}

QByteArray TStreamReader::readStringBytes()
{
    switch (readValueType()) {
    case TValueType::vaString:
        return readBytes(readByte());
    case TValueType::vaLString: {
        const qint32 len = readRawInt32();
        return readBytes(len); // a negative length fails the check
    }
    default:
        fail(streamtext::invalidValue());
    }
}

QString TStreamReader::readString() { return fromFileString(readStringBytes()); }

bool TStreamReader::readBoolean() { return readValueType() == TValueType::vaTrue; }

double TStreamReader::readFloat()
{
    if (nextValue() == TValueType::vaExtended) {
        readValueType();
        std::uint8_t raw[10];
        read(reinterpret_cast<char*>(raw), 10);
        return extendedToDouble(raw);
    }
    return readInteger();
}

QByteArray TStreamReader::readIdent()
{
    switch (readValueType()) {
    case TValueType::vaIdent:
        return readBytes(readByte());
    case TValueType::vaFalse:
        return QByteArrayLiteral("False");
    case TValueType::vaTrue:
        return QByteArrayLiteral("True");
    case TValueType::vaNil:
        return QByteArrayLiteral("nil");
    case TValueType::vaNull:
        return QByteArrayLiteral("Null");
    default:
        fail(streamtext::invalidValue());
    }
}

QList<QByteArray> TStreamReader::readSetBody()
{
    QList<QByteArray> names;
    while (true) {
        const QByteArray name = readStr();
        if (name.isEmpty())
            return names; // the zero length byte ends the set
        names.append(name);
    }
}

QList<QByteArray> TStreamReader::readSet()
{
    checkValue(TValueType::vaSet);
    return readSetBody();
}

QByteArray TStreamReader::readBinary()
{
    checkValue(TValueType::vaBinary);
    const qint32 len = readRawInt32();
    return readBytes(len);
}

TStreamValue TStreamReader::readValue() { return readValueAt(0); }

void TStreamReader::skip(qint64 n)
{
    if (n < 0 || n > remaining())
        fail(streamtext::endOfData());
    if (m_capture) {
        readBytes(n); // captured on the way
        return;
    }
    const qint64 buffered = m_buf.size() - m_bufPos;
    if (n <= buffered) {
        m_bufPos += n;
    } else {
        const qint64 rest = n - buffered;
        m_buf.clear();
        m_bufPos = 0;
        if (m_dev->skip(rest) != rest) {
            m_devRemaining = 0;
            fail(QStringLiteral("The file could not be read completely."));
        }
        m_devRemaining -= rest;
    }
    m_position += n;
}

void TStreamReader::skipValue() { skipValueAt(0); }

void TStreamReader::skipValueAt(int depth)
{
    if (depth > kMaxDepth)
        fail(QStringLiteral("The file nests values too deeply."));
    switch (readValueType()) {
    case TValueType::vaNull:
        fail(streamtext::invalidValue());
    case TValueType::vaList:
        while (!endOfList())
            skipValueAt(depth + 1);
        readListEnd();
        break;
    case TValueType::vaInt8:
        skip(1);
        break;
    case TValueType::vaInt16:
        skip(2);
        break;
    case TValueType::vaInt32:
        skip(4);
        break;
    case TValueType::vaExtended:
        skip(10);
        break;
    case TValueType::vaString:
    case TValueType::vaIdent:
        skip(readByte());
        break;
    case TValueType::vaFalse:
    case TValueType::vaTrue:
    case TValueType::vaNil:
        break;
    case TValueType::vaBinary:
    case TValueType::vaLString:
        skip(readRawInt32());
        break;
    case TValueType::vaSet:
        while (true) {
            const quint8 len = readByte();
            if (len == 0)
                break;
            skip(len);
        }
        break;
    case TValueType::vaCollection:
        while (!endOfList()) {
            const TValueType next = nextValue();
            if (next == TValueType::vaInt8 || next == TValueType::vaInt16 || next == TValueType::vaInt32)
                readInteger();
            readListBegin();
            while (!endOfList()) {
                skip(readByte()); // property name
                skipValueAt(depth + 1);
            }
            readListEnd();
        }
        readListEnd();
        break;
    }
}

void TStreamReader::readCollectionBody(TStreamValue& v, int depth)
{
    while (!endOfList()) {
        TCollectionItem item;
        const TValueType next = nextValue();
        if (next == TValueType::vaInt8 || next == TValueType::vaInt16 || next == TValueType::vaInt32)
            item.index = readInteger();
        readListBegin();
        while (!endOfList()) {
            TStreamProperty p;
            p.name = readStr();
            p.value = readValueAt(depth + 1);
            item.properties.push_back(std::move(p));
        }
        readListEnd();
        v.items.push_back(std::move(item));
    }
    readListEnd();
}

TStreamValue TStreamReader::readValueAt(int depth)
{
    if (depth > kMaxDepth)
        fail(QStringLiteral("The file nests values too deeply."));
    if (++m_valuesBuilt > kMaxValues)
        fail(QStringLiteral("The file holds too many values."));
    TStreamValue v;
    v.type = readValueType();
    switch (v.type) {
    case TValueType::vaNull:
        fail(streamtext::invalidValue()); // an end of list where a value belongs
    case TValueType::vaList:
        while (!endOfList())
            v.list.push_back(readValueAt(depth + 1));
        readListEnd();
        break;
    case TValueType::vaInt8:
        v.integer = qint8(readByte());
        break;
    case TValueType::vaInt16:
        v.integer = readRawInt16();
        break;
    case TValueType::vaInt32:
        v.integer = readRawInt32();
        break;
    case TValueType::vaExtended: {
        v.bytes = readBytes(10); // kept, so copying the value keeps its exact bits
        v.real = extendedToDouble(reinterpret_cast<const std::uint8_t*>(v.bytes.constData()));
        break;
    }
    case TValueType::vaString:
    case TValueType::vaIdent:
        v.bytes = readBytes(readByte());
        break;
    case TValueType::vaFalse:
    case TValueType::vaTrue:
    case TValueType::vaNil:
        break;
    case TValueType::vaBinary:
    case TValueType::vaLString: {
        const qint32 len = readRawInt32();
        v.bytes = readBytes(len);
        break;
    }
    case TValueType::vaSet:
        v.set = readSetBody();
        break;
    case TValueType::vaCollection:
        readCollectionBody(v, depth);
        break;
    }
    return v;
}
