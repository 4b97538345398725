#include "win1252.h"

#include <QStringDecoder>

namespace {

// 0x80..0x9F. The five bytes Windows leaves undefined map to the C1 control with the
// same number, as the system's own conversion does, which keeps decoding lossless.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char kBom[] = "\xEF\xBB\xBF";

// -1 when the character has no Windows-1252 byte.
int byteFor(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == c)
            return 0x80 + i;
    return -1;
}

} // namespace

bool isWin1252Encodable(const QString& s)
{
    for (QChar c : s)
        if (byteFor(c.unicode()) < 0)
            return false;
    return true;
}

QByteArray toWin1252(const QString& s)
{
    QByteArray out;
    out.reserve(s.size());
    for (QChar c : s) {
        const int b = byteFor(c.unicode());
        out.append(char(b < 0 ? '?' : b));
    }
    return out;
}

QString fromWin1252(const QByteArray& bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        out.append(QChar(b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : char16_t(b)));
    }
    return out;
}

QByteArray toFileString(const QString& s)
{
    if (isWin1252Encodable(s)) {
        QByteArray bytes = toWin1252(s);
        if (!bytes.startsWith(kBom))
            return bytes;
    }
    return QByteArray(kBom) + s.toUtf8();
}

QString fromFileString(const QByteArray& bytes)
{
    if (bytes.startsWith(kBom)) {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
        QString text = decoder.decode(QByteArrayView(bytes).sliced(3));
        if (!decoder.hasError())
            return text;
    }
    return fromWin1252(bytes);
}
