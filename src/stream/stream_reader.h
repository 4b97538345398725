#pragma once
#include "stream/stream_error.h"
#include "stream/stream_value.h"
#include "stream/value_type.h"

#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QString>

// Reads the typed-value encoding from memory or from a device. Nothing is ever read
// past the end: every length is checked against what remains (and against sane
// limits) before anything is allocated. Every failure throws EStreamError.
class TStreamReader {
public:
    // Largest single string, data block or byte run accepted, whatever the file claims.
    static constexpr qint64 kMaxBlockSize = qint64(256) * 1024 * 1024;
    // Deepest nesting of lists, collections and child components.
    static constexpr int kMaxDepth = 64;
    // Most values one reader builds generically (readValue), which bounds the memory a
    // file of many tiny values can make us use.
    static constexpr qint64 kMaxValues = 1000000;

    explicit TStreamReader(const QByteArray& data);
    // Reads from the device's current position to its end. A sequential device is read
    // into memory first (up to kMaxBlockSize).
    explicit TStreamReader(QIODevice& device);

    TStreamReader(const TStreamReader&) = delete;
    TStreamReader& operator=(const TStreamReader&) = delete;

    qint64 position() const { return m_position; }

    // While a sink is set, every byte consumed (read or skipped) is also appended to it,
    // so a caller can keep a record exactly as stored. nullptr stops capturing.
    void setCapture(QByteArray* sink) { m_capture = sink; }
    qint64 remaining() const;
    bool atEnd() const { return remaining() == 0; }

    // Raw bytes.
    void read(char* dst, qint64 n);
    QByteArray readBytes(qint64 n);
    void skip(qint64 n);
    quint8 readByte();
    qint16 readRawInt16();
    qint32 readRawInt32();
    // A short string without tag: one length byte and bytes (class, component and
    // property names).
    QByteArray readStr();
    // The component record signature "TPF0".
    void readSignature();

    // Tags.
    TValueType readValueType();     // consumes the tag; an unknown tag is an error
    TValueType nextValue();         // looks at the next tag without consuming it
    // The next byte is an end-of-list tag (whatever else it is, nothing is consumed).
    bool endOfList() { return peekByte() == 0; }
    void checkValue(TValueType expected); // consumes a tag that must be `expected`
    void readListBegin() { checkValue(TValueType::vaList); }
    void readListEnd() { checkValue(TValueType::vaNull); }

    // Typed values.
    qint32 readInteger();             // any of the three integer tags
    QByteArray readStringBytes();     // short or long string, raw file bytes
    QString readString();             // decoded per the file string rules
    bool readBoolean();               // true exactly when the tag is vaTrue
    double readFloat();               // extended float, or an integer
    QByteArray readIdent();           // identifier (False/True/nil/Null tags give those names)
    QList<QByteArray> readSet();
    QByteArray readBinary();          // data block
    // The rest of a set after its tag.
    QList<QByteArray> readSetBody();

    // Generic values.
    TStreamValue readValue();
    void skipValue();

    [[noreturn]] void fail(const QString& reason) const;

private:
    quint8 peekByte();
    qint64 checkedLength(qint64 n);
    void refill(qint64 want);
    TStreamValue readValueAt(int depth);
    void skipValueAt(int depth);
    void readCollectionBody(TStreamValue& v, int depth);

    QByteArray m_buf;
    qint64 m_bufPos = 0;
    QIODevice* m_dev = nullptr;
    qint64 m_devRemaining = 0;
    qint64 m_position = 0;
    qint64 m_valuesBuilt = 0;
    QByteArray* m_capture = nullptr;
};

// Messages shared by the stream readers.
namespace streamtext {
QString endOfData();
QString invalidValue();
QString invalidFormat();
}
