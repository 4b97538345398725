#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <algorithm>
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
    static char* writeNumber(char* p, int value)
    {
        unsigned magnitude = unsigned(value);
        if (value < 0) {
            *p++ = '-';
            magnitude = 0u - magnitude;
        }
        char digits[10];
        int n = 0;
        do {
            digits[n++] = char('0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude);
        while (n)
            *p++ = digits[--n];
        return p;
    }

    qsizetype size() const { return m_at - m_buf.constData(); }
    // Drops what was written after the first n bytes.
    void truncate(qsizetype n) { m_at = m_buf.data() + std::min(n, size()); }
    QByteArrayView bytes() const { return QByteArrayView(m_buf.constData(), size()); }

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
