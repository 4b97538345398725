#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <algorithm>
#include <charconv>
#include <cstring>

// A growing byte buffer written through a raw pointer. The RTF writer appends a byte or
// a few at a time, where QByteArray's per-call checks would cost more than the bytes:
// callers ask for room once (`room`) and then write up to that many bytes unchecked.
class RtfByteSink {
public:
    explicit RtfByteSink(qsizetype capacity = 256) { grow(capacity); }

    // Makes room for at least n more bytes and returns where they go.
    char* room(qsizetype n)
    {
        if (m_end - m_at < n)
            grow(n);
        return m_at;
    }
    // Takes the bytes written through the pointer `room` gave, up to p.
    void commit(char* p) { m_at = p; }

    void put(char c) { *room(1) = c; ++m_at; }
    void put(QByteArrayView bytes)
    {
        char* p = room(bytes.size());
        if (!bytes.isEmpty())
            std::memcpy(p, bytes.data(), size_t(bytes.size()));
        m_at = p + bytes.size();
    }
    template <qsizetype N>
    void put(const char (&literal)[N])
    {
        put(QByteArrayView(literal, N - 1));
    }
    void putNumber(int value) { m_at = writeNumber(room(11), value); }

    // Writes a decimal number at p (at most 11 bytes) and returns the end.
    static char* writeNumber(char* p, int value) { return std::to_chars(p, p + 11, value).ptr; }

    qsizetype size() const { return m_at - m_buf.constData(); }
    // Drops what was written after the first n bytes.
    void truncate(qsizetype n) { m_at = m_buf.data() + std::clamp<qsizetype>(n, 0, size()); }
    QByteArrayView bytes() const { return QByteArrayView(m_buf.constData(), size()); }

    // Puts bytes before all that was written so far, moving it up in place.
    void prepend(QByteArrayView bytes)
    {
        const qsizetype used = size();
        room(bytes.size());
        char* start = m_buf.data();
        std::memmove(start + bytes.size(), start, size_t(used));
        if (!bytes.isEmpty())
            std::memcpy(start, bytes.data(), size_t(bytes.size()));
        m_at = start + used + bytes.size();
    }

    // The bytes written, handed over without a copy (with the buffer's spare room, as a
    // growing QByteArray has it); the sink is empty afterwards.
    QByteArray take()
    {
        m_buf.resize(size());
        QByteArray out = std::move(m_buf);
        m_buf = QByteArray();
        m_at = m_end = nullptr;
        return out;
    }

private:
    void grow(qsizetype n)
    {
        const qsizetype used = m_at ? size() : 0;
        m_buf.resize(std::max(m_buf.size() * 2, used + n)); // new bytes are left as they are
        m_at = m_buf.data() + used;
        m_end = m_buf.data() + m_buf.size();
    }

    QByteArray m_buf;
    char* m_at = nullptr;
    char* m_end = nullptr;
};
