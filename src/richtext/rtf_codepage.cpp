#include "rtf_codepage.h"

#include <QHash>
#include <QMutex>
#include <algorithm>
#include <array>
#include <cerrno>
#include <iconv.h>
#include <memory>

namespace rtfcp {
namespace {

constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Adobe Symbol encoding, 0x20..0xFF (0 = no character: the private-use code Windows
// uses for symbol fonts is kept).
constexpr char16_t kSymbol[224] = {
    // 0x20
    0x0020, 0x0021, 0x2200, 0x0023, 0x2203, 0x0025, 0x0026, 0x220B, 0x0028, 0x0029, 0x2217,
    0x002B, 0x002C, 0x2212, 0x002E, 0x002F,
    // 0x30
    0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037, 0x0038, 0x0039, 0x003A,
    0x003B, 0x003C, 0x003D, 0x003E, 0x003F,
    // 0x40
    0x2245, 0x0391, 0x0392, 0x03A7, 0x0394, 0x0395, 0x03A6, 0x0393, 0x0397, 0x0399, 0x03D1,
    0x039A, 0x039B, 0x039C, 0x039D, 0x039F,
    // 0x50
    0x03A0, 0x0398, 0x03A1, 0x03A3, 0x03A4, 0x03A5, 0x03C2, 0x03A9, 0x039E, 0x03A8, 0x0396,
    0x005B, 0x2234, 0x005D, 0x22A5, 0x005F,
    // 0x60
    0x203E, 0x03B1, 0x03B2, 0x03C7, 0x03B4, 0x03B5, 0x03C6, 0x03B3, 0x03B7, 0x03B9, 0x03D5,
    0x03BA, 0x03BB, 0x03BC, 0x03BD, 0x03BF,
    // 0x70
    0x03C0, 0x03B8, 0x03C1, 0x03C3, 0x03C4, 0x03C5, 0x03D6, 0x03C9, 0x03BE, 0x03C8, 0x03B6,
    0x007B, 0x007C, 0x007D, 0x223C, 0,
    // 0x80, 0x90
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    // 0xA0
    0x20AC, 0x03D2, 0x2032, 0x2264, 0x2044, 0x221E, 0x0192, 0x2663, 0x2666, 0x2665, 0x2660,
    0x2194, 0x2190, 0x2191, 0x2192, 0x2193,
    // 0xB0
    0x00B0, 0x00B1, 0x2033, 0x2265, 0x00D7, 0x221D, 0x2202, 0x2022, 0x00F7, 0x2260, 0x2261,
    0x2248, 0x2026, 0x23D0, 0x23AF, 0x21B5,
    // 0xC0
    0x2135, 0x2111, 0x211C, 0x2118, 0x2297, 0x2295, 0x2205, 0x2229, 0x222A, 0x2283, 0x2287,
    0x2284, 0x2282, 0x2286, 0x2208, 0x2209,
    // 0xD0
    0x2220, 0x2207, 0x00AE, 0x00A9, 0x2122, 0x220F, 0x221A, 0x22C5, 0x00AC, 0x2227, 0x2228,
    0x21D4, 0x21D0, 0x21D1, 0x21D2, 0x21D3,
    // 0xE0
    0x25CA, 0x2329, 0x00AE, 0x00A9, 0x2122, 0x2211, 0x239B, 0x239C, 0x239D, 0x23A1, 0x23A2,
    0x23A3, 0x23A7, 0x23A8, 0x23A9, 0x23AA,
    // 0xF0
    0, 0x232A, 0x222B, 0x2320, 0x23AE, 0x2321, 0x239E, 0x239F, 0x23A0, 0x23A4, 0x23A5, 0x23A6,
    0x23AB, 0x23AC, 0x23AD, 0};

const char* iconvName(int cp)
{
    switch (cp) {
    case 437: return "CP437";
    case 850: return "CP850";
    case 852: return "CP852";
    case 866: return "CP866";
    case 874: return "CP874";
    case 932: return "CP932";
    case 936: return "CP936";
    case 949: return "CP949";
    case 950: return "BIG5";
    case 1250: return "CP1250";
    case 1251: return "CP1251";
    case 1253: return "CP1253";
    case 1254: return "CP1254";
    case 1255: return "CP1255";
    case 1256: return "CP1256";
    case 1257: return "CP1257";
    case 1258: return "CP1258";
    case 1361: return "JOHAB";
    case kMacRomanCodePage: return "MACINTOSH";
    case 28591: return "ISO-8859-1";
    case 65001: return "UTF-8";
    default: return nullptr;
    }
}

// Converts with iconv into UTF-16; false when the page is unknown or the bytes invalid.
bool iconvDecode(const char* name, const QByteArray& in, QString& out)
{
    if (!name || in.isEmpty())
        return false;
    iconv_t cd = iconv_open("UTF-16LE", name);
    if (cd == iconv_t(-1))
        return false;
    QByteArray buf(in.size() * 4 + 8, '\0');
    char* src = const_cast<char*>(in.constData());
    size_t srcLeft = size_t(in.size());
    char* dst = buf.data();
    size_t dstLeft = size_t(buf.size());
    bool ok = true;
    while (srcLeft > 0) {
        if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) == size_t(-1)) {
            if (errno == EILSEQ || errno == EINVAL) {
                // Skip one undecodable byte and mark it.
                if (dstLeft < 2)
                    break;
                *dst++ = char(0xFD);
                *dst++ = char(0xFF);
                dstLeft -= 2;
                ++src;
                --srcLeft;
                ok = false;
                continue;
            }
            break;
        }
    }
    iconv_close(cd);
    const qsizetype bytes = buf.size() - qsizetype(dstLeft);
    out = QString(reinterpret_cast<const QChar*>(buf.constData()), bytes / 2);
    return ok || !out.isEmpty();
}

struct Table {
    std::array<char16_t, 256> map{};
};

const Table& tableFor(int cp)
{
    // Text runs in one page: the last page asked for answers without a look-up.
    thread_local int lastCp = 0;
    thread_local const Table* lastTable = nullptr;
    if (lastTable && lastCp == cp)
        return *lastTable;
    // Tables are made once and kept for good, for every thread that reads.
    static QMutex mutex;
    static QHash<int, std::shared_ptr<Table>> cache;
    QMutexLocker lock(&mutex);
    auto it = cache.find(cp);
    if (it != cache.end()) {
        lastCp = cp;
        lastTable = it->get();
        return **it;
    }
    auto t = std::make_shared<Table>();
    for (int b = 0; b < 256; ++b)
        t->map[size_t(b)] = char16_t(b);
    if (cp == 1252) {
        for (int b = 0x80; b < 0xA0; ++b)
            t->map[size_t(b)] = kCp1252High[b - 0x80];
    } else if (iconvName(cp)) {
        for (int b = 0x80; b < 256; ++b) {
            QString s;
            QByteArray one(1, char(b));
            if (iconvDecode(iconvName(cp), one, s) && s.size() == 1 && s[0].unicode() != 0xFFFD)
                t->map[size_t(b)] = s[0].unicode();
        }
    }
    cache.insert(cp, t);
    lastCp = cp;
    lastTable = t.get();
    return *t;
}

// Mac OS Japanese is Shift-JIS with its own single bytes and extra rows of numbered
// symbols; the rows of units and vertical forms it also has are not mapped.
struct PairRange {
    quint16 first, last;
    char16_t unicode;
};
constexpr PairRange kMacJapanesePairs[] = {
    {0x8540, 0x8553, 0x2460}, // circled 1..20
    {0x855E, 0x8571, 0x2474}, // parenthesized 1..20
    {0x857C, 0x857E, 0x2776}, // negative circled 1..3
    {0x8580, 0x8585, 0x2779}, // negative circled 4..9
    {0x8592, 0x859A, 0x2488}, // 1. .. 9.
    {0x859F, 0x85AA, 0x2160}, // Roman numerals I..XII
    {0x85B3, 0x85BE, 0x2170}, // small Roman numerals i..xii
    {0x85DB, 0x85F4, 0x249C}, // parenthesized a..z
};

bool isShiftJisLead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

char16_t macJapaneseSingle(unsigned char b)
{
    switch (b) {
    case 0x5C: return 0x00A5;
    case 0x80: return 0x005C;
    case 0xA0: return 0x00A0;
    case 0xFD: return 0x00A9;
    case 0xFE: return 0x2122;
    default: break;
    }
    if (b < 0x80)
        return b;
    if (b >= 0xA1 && b <= 0xDF)
        return char16_t(0xFF61 + (b - 0xA1)); // half-width katakana
    return 0xFFFD;
}

char16_t macJapanesePair(quint16 pair)
{
    for (const PairRange& r : kMacJapanesePairs)
        if (pair >= r.first && pair <= r.last)
            return char16_t(r.unicode + (pair - r.first));
    return 0;
}

QString decodeMacJapanese(const QByteArray& bytes)
{
    QString out;
    out.reserve(bytes.size());
    QByteArray shiftJis; // consecutive plain Shift-JIS pairs, converted together
    auto flush = [&] {
        QString s;
        if (!shiftJis.isEmpty() && iconvDecode("SHIFT_JIS", shiftJis, s))
            out += s;
        else
            out += QString(shiftJis.size() / 2, QChar(0xFFFD));
        shiftJis.clear();
    };
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (isShiftJisLead(b) && i + 1 < bytes.size()) {
            const auto trail = static_cast<unsigned char>(bytes[i + 1]);
            const quint16 pair = quint16(b << 8 | trail);
            ++i;
            if (const char16_t extra = macJapanesePair(pair)) {
                flush();
                out += QChar(extra);
            } else {
                shiftJis += char(b);
                shiftJis += char(trail);
            }
            continue;
        }
        flush();
        out += QChar(macJapaneseSingle(b));
    }
    flush();
    return out;
}

} // namespace

int codePageForCharset(int charset)
{
    switch (charset) {
    case 2: return kSymbolCodePage;
    case 77: return kMacRomanCodePage;
    case 78: return kMacJapaneseCodePage;
    case 128: return 932;
    case 129: return 949;
    case 130: return 1361;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 255: return 437;
    default: return 0;
    }
}

bool isSingleByte(int codePage)
{
    return !(codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950 || codePage == 1361
             || codePage == kMacJapaneseCodePage || codePage == kUtf8CodePage);
}

QChar decodeByte(int codePage, unsigned char byte)
{
    if (codePage == kSymbolCodePage)
        return symbolToUnicode(byte);
    if (byte < 0x80)
        return QChar(byte);
    return QChar(tableFor(codePage).map[byte]);
}

QString decode(int codePage, const QByteArray& bytes)
{
    if (isSingleByte(codePage)) {
        QString s;
        s.reserve(bytes.size());
        for (char c : bytes)
            s.append(decodeByte(codePage, static_cast<unsigned char>(c)));
        return s;
    }
    if (codePage == kMacJapaneseCodePage)
        return decodeMacJapanese(bytes);
    QString s;
    if (!iconvDecode(iconvName(codePage), bytes, s))
        return QString(bytes.size(), QChar(0xFFFD));
    return s;
}

QChar symbolToUnicode(unsigned char byte)
{
    if (byte < 0x20)
        return QChar(byte);
    const char16_t u = kSymbol[byte - 0x20];
    return u ? QChar(u) : QChar(char16_t(0xF000 + byte));
}

int toCp1252(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    // The characters of 0x80..0x9F that lie above Latin-1, sorted, for a binary search:
    // writers ask this for every character outside ASCII.
    struct Entry {
        char16_t unicode;
        unsigned char byte;
    };
    static constexpr auto kSorted = [] {
        std::array<Entry, 32> all{};
        size_t n = 0;
        for (int i = 0; i < 32; ++i)
            if (kCp1252High[i] > 0xFF)
                all[n++] = Entry{kCp1252High[i], static_cast<unsigned char>(0x80 + i)};
        for (size_t i = 1; i < n; ++i) // insertion sort: std::sort is not constexpr here
            for (size_t j = i; j > 0 && all[j].unicode < all[j - 1].unicode; --j)
                std::swap(all[j], all[j - 1]);
        return std::pair{all, n};
    }();
    static constexpr auto kRowHasOne = [] { // by the high byte: whole scripts are none of them
        std::array<bool, 256> rows{};
        for (char16_t u : kCp1252High)
            rows[u >> 8] = true;
        return rows;
    }();
    if (!kRowHasOne[c >> 8])
        return -1;
    const auto& [entries, count] = kSorted;
    const Entry* end = entries.data() + count;
    const Entry* it = std::lower_bound(entries.data(), end, c, [](const Entry& e, char16_t u) { return e.unicode < u; });
    return it != end && it->unicode == c ? it->byte : -1;
}

bool isSymbolFontName(const QString& family)
{
    static const char* names[] = {"Symbol", "Wingdings", "Wingdings 2", "Wingdings 3", "Webdings",
                                  "Marlett", "MT Extra"};
    for (const char* n : names)
        if (family.compare(QLatin1String(n), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

} // namespace rtfcp
