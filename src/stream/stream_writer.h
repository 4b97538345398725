#pragma once
#include "stream/stream_error.h"
#include "stream/stream_value.h"
#include "stream/value_type.h"

#include <QBuffer>
#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QString>

// Writes the typed-value encoding. Integers take the smallest tag that holds them,
// strings the short tag up to 255 bytes. Write failures throw EStreamError.
class TStreamWriter {
public:
    explicit TStreamWriter(QIODevice& device);
    explicit TStreamWriter(QByteArray* target); // appends

    TStreamWriter(const TStreamWriter&) = delete;
    TStreamWriter& operator=(const TStreamWriter&) = delete;

    void write(const char* data, qint64 n);
    void write(const QByteArray& bytes) { write(bytes.constData(), bytes.size()); }
    void writeByte(quint8 b);
    void writeRawInt16(qint16 v);
    void writeRawInt32(qint32 v);
    void writeValueType(TValueType t) { writeByte(quint8(t)); }

    // A short string without tag (at most 255 bytes).
    void writeStr(const QByteArray& s);
    void writeSignature() { write("TPF0", 4); }
    void writePropertyName(const QByteArray& name) { writeStr(name); }

    void writeListBegin() { writeValueType(TValueType::vaList); }
    void writeListEnd() { writeValueType(TValueType::vaNull); }
    void writeInteger(qint64 v); // must fit 32 bits
    void writeStringBytes(const QByteArray& bytes);
    void writeString(const QString& s) { writeStringBytes(toFileString(s)); }
    void writeBoolean(bool b) { writeValueType(b ? TValueType::vaTrue : TValueType::vaFalse); }
    void writeFloat(double d);
    void writeIdent(const QByteArray& id);
    void writeSet(const QList<QByteArray>& names);
    void writeBinary(const QByteArray& data);
    void writeNil() { writeValueType(TValueType::vaNil); }
    void writeValue(const TStreamValue& v);

    qint64 bytesWritten() const { return m_written; }

private:
    QBuffer m_buffer;
    QIODevice* m_dev;
    qint64 m_written = 0;
};
