#include "rtf_writer.h"

#include "rtf_byte_sink.h"
#include "rtf_codepage.h"
#include "rtf_format_facts.h"
#include "rtf_picture.h"

#include <QColor>
#include <QHash>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>
#include <QtAlgorithms>
#include <algorithm>
#include <array>
#include <cstring>
#include <vector>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

class RtfWriter {
public:
    explicit RtfWriter(const QTextDocument& doc) : m_doc(doc) {}
    QByteArray write();

private:
    // What the writer knows of one of the document's character formats, learnt at its
    // first use (which is also where its font and colours take their places in the
    // tables).
    struct FormatInfo {
        enum class Kind : signed char { Unknown, Text, Image };
        Kind kind = Kind::Unknown;
        bool symbol = false;
        int attributesAt = 0;    // where its control words are in m_attributes
        int attributesSize = -1; // -1 until learnt
    };
    struct Font {
        int index;
        bool symbol;
    };

    int fontIndex(const QString& family);
    const Font& font(const QString& rawFamily);
    int colorIndex(const QColor& c);
    FormatInfo& formatInfo(int formatIndex);
    const QTextFormat& format(int formatIndex) const;
    void learnAttributes(FormatInfo& info, const RtfFormatFacts& facts);
    QByteArrayView attributes(const FormatInfo& info) const
    {
        return m_attributes.bytes().sliced(info.attributesAt, info.attributesSize);
    }
    QByteArrayView alignment(const QTextBlock& block);
    void prefetchFormat(int formatIndex) const;
    void writeImage(const QTextFragment& frag, const QString& docText, int at, bool& runOpen, RtfByteSink& out);
    static void writeText(QStringView text, bool symbol, RtfByteSink& out);
    void writePicture(const TWPRtfPicture& pic, RtfByteSink& out);

    const QTextDocument& m_doc;
    QList<QTextFormat> m_allFormats; // the document's, by index
    std::vector<QString> m_fonts;
    std::vector<QRgb> m_colors;
    QHash<QRgb, int> m_colorIndex;
    QHash<QString, Font> m_fontOfFamily;   // by the family as the format names it
    bool m_defaultFontIsSymbol = false;
    std::vector<FormatInfo> m_formats;     // by the document's format index, plus one
    RtfByteSink m_attributes;
    std::vector<signed char> m_alignments; // by block format index, plus one; -1 = not yet known
};

// A font name as the font table can carry it and the reader gives it back: no list
// separator, no control characters, no blanks or quotes around it.
QString cleanFontName(const QString& name)
{
    QString clean;
    clean.reserve(name.size());
    for (QChar c : name)
        if (c != QLatin1Char(';') && c.unicode() >= 0x20 && c.unicode() != 0x7F)
            clean += c;
    // Font families lose surrounding quotes of either kind on their way through QFont.
    auto isQuote = [](QChar c) { return c == QLatin1Char('"') || c == QLatin1Char('\''); };
    clean = clean.trimmed();
    while (!clean.isEmpty() && (isQuote(clean.front()) || isQuote(clean.back()))) {
        if (isQuote(clean.front()))
            clean.remove(0, 1);
        if (!clean.isEmpty() && isQuote(clean.back()))
            clean.chop(1);
        clean = clean.trimmed();
    }
    return clean;
}

int RtfWriter::fontIndex(const QString& rawFamily)
{
    QString family = cleanFontName(rawFamily);
    if (family.isEmpty())
        family = QStringLiteral("Arial"); // what a reader takes for a nameless font
    auto it = std::find(m_fonts.begin(), m_fonts.end(), family);
    if (it != m_fonts.end())
        return int(it - m_fonts.begin());
    m_fonts.push_back(family);
    return int(m_fonts.size()) - 1;
}

int RtfWriter::colorIndex(const QColor& c)
{
    const QRgb rgb = c.rgb() | 0xFF000000u;
    auto it = m_colorIndex.constFind(rgb);
    if (it != m_colorIndex.constEnd())
        return *it;
    m_colors.push_back(rgb);
    m_colorIndex.insert(rgb, int(m_colors.size()));
    return int(m_colors.size());
}

const RtfWriter::Font& RtfWriter::font(const QString& rawFamily)
{
    auto it = m_fontOfFamily.constFind(rawFamily);
    if (it == m_fontOfFamily.constEnd())
        it = m_fontOfFamily.insert(rawFamily, Font{fontIndex(rawFamily), rtfcp::isSymbolFontName(rawFamily)});
    return *it;
}

// A format of the document, read in place rather than copied (a copy touches its shared
// data once more, for each of thousands of formats).
const QTextFormat& RtfWriter::format(int formatIndex) const
{
    static const QTextFormat none;
    return formatIndex >= 0 && formatIndex < m_allFormats.size() ? m_allFormats.at(formatIndex) : none;
}

RtfWriter::FormatInfo& RtfWriter::formatInfo(int formatIndex)
{
    const size_t slot = size_t(std::max(formatIndex, -1) + 1);
    if (slot >= m_formats.size())
        m_formats.resize(slot + 1);
    return m_formats[slot];
}

void RtfWriter::learnAttributes(FormatInfo& info, const RtfFormatFacts& facts)
{
    RtfByteSink& a = m_attributes;
    info.attributesAt = int(a.size());
    if (!facts.family.isEmpty()) {
        const Font& used = font(facts.family);
        a.put("\\f");
        a.putNumber(used.index);
        info.symbol = used.symbol;
    } else {
        info.symbol = m_defaultFontIsSymbol;
    }
    if (facts.points > 0) {
        a.put("\\fs");
        a.putNumber(std::clamp(int(qRound(facts.points * 2)), 1, 3276));
    }
    if (facts.bold)
        a.put("\\b");
    if (facts.italic)
        a.put("\\i");
    if (facts.underline)
        a.put("\\ul");
    if (facts.strike)
        a.put("\\strike");
    if (facts.hasForeground) {
        a.put("\\cf");
        a.putNumber(colorIndex(facts.foreground));
    }
    if (facts.hasBackground) {
        a.put("\\highlight");
        a.putNumber(colorIndex(facts.background));
    }
    if (facts.vertical == QTextCharFormat::AlignSuperScript)
        a.put("\\super");
    else if (facts.vertical == QTextCharFormat::AlignSubScript)
        a.put("\\sub");
    info.attributesSize = int(a.size()) - info.attributesAt;
}

// Formats lie scattered over the heap and the writer reads each one once, so nearly
// every one would be a cache miss. Readers create formats in reading order, so the
// formats a little further on by index are the next ones to be met: their data is
// fetched while this one is read.
constexpr int kPrefetchAhead = 16;

void RtfWriter::prefetchFormat(int formatIndex) const
{
#if defined(__GNUC__)
    if (formatIndex < 0 || formatIndex >= m_allFormats.size())
        return;
    // QTextFormat's first member points to its shared data (qtextformat.h). A hint never
    // faults, so were that to change, only the hint would be lost.
    const void* data;
    std::memcpy(&data, static_cast<const void*>(&m_allFormats.at(formatIndex)), sizeof data);
    __builtin_prefetch(data);
#else
    Q_UNUSED(formatIndex);
#endif
}

QByteArrayView RtfWriter::alignment(const QTextBlock& block)
{
    static constexpr QByteArrayView kWords[] = {"", "\\qc", "\\qj", "\\qr"};
    const size_t slot = size_t(std::max(block.blockFormatIndex(), -1) + 1);
    if (slot >= m_alignments.size())
        m_alignments.resize(slot + 1, -1);
    signed char& word = m_alignments[slot];
    if (word < 0) {
        const Qt::Alignment al = block.blockFormat().alignment();
        word = (al & Qt::AlignHCenter) ? 1 : (al & Qt::AlignJustify) ? 2 : (al & Qt::AlignRight) ? 3 : 0;
    }
    return kWords[word];
}

// Characters written as they are: printable ASCII but the three RTF specials.
constexpr auto kPlainAscii = [] {
    std::array<bool, 128> plain{};
    for (int c = 0x20; c < 0x80; ++c)
        plain[size_t(c)] = c != '\\' && c != '{' && c != '}';
    return plain;
}();
inline bool isPlainAscii(char16_t c) { return c < 0x80 && kPlainAscii[c]; }

// Copies the characters written as they are from the start of s to p, one byte each;
// returns how many. Most text is such runs, so they go eight characters at a time
// where the processor allows (eight bytes are stored only where eight characters
// remain, so p needs room for n bytes).
Q_ALWAYS_INLINE qsizetype copyPlainAscii(const char16_t* s, qsizetype n, char* p)
{
    qsizetype i = 0;
#if defined(__SSE2__)
    const __m128i space = _mm_set1_epi16(0x20), del = _mm_set1_epi16(0x7F);
    const __m128i backslash = _mm_set1_epi16('\\'), open = _mm_set1_epi16('{'), close = _mm_set1_epi16('}');
    for (; i + 8 <= n; i += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        // Signed compares: units from 0x8000 up are negative and so fall below the space.
        const __m128i outside = _mm_or_si128(_mm_cmplt_epi16(v, space), _mm_cmpgt_epi16(v, del));
        const __m128i special =
            _mm_or_si128(_mm_cmpeq_epi16(v, backslash), _mm_or_si128(_mm_cmpeq_epi16(v, open), _mm_cmpeq_epi16(v, close)));
        const int stop = _mm_movemask_epi8(_mm_or_si128(outside, special));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(p + i), _mm_packus_epi16(v, v));
        if (stop)
            return i + qCountTrailingZeroBits(unsigned(stop)) / 2;
    }
#endif
    for (; i < n && isPlainAscii(s[i]); ++i)
        p[i] = char(s[i]);
    return i;
}

void RtfWriter::writeText(QStringView text, bool symbol, RtfByteSink& out)
{
    static const char hex[] = "0123456789abcdef";
    auto unicode = [](char* p, char16_t c) {
        *p++ = '\\';
        *p++ = 'u';
        p = RtfByteSink::writeNumber(p, qint16(c));
        *p++ = '?';
        return p;
    };
    // Room is taken a slice at a time for the widest form a character can take
    // ("\u-32768?"), so a long text never asks for many times its size at once.
    constexpr qsizetype kSlice = 4096, kWidest = 9;
    const char16_t* chars = text.utf16();
    const qsizetype n = text.size();
    for (qsizetype from = 0; from < n; from += kSlice) {
        const qsizetype to = std::min(n, from + kSlice);
        char* p = out.room((to - from) * kWidest);
        for (qsizetype i = from; i < to;) {
            if (!symbol && isPlainAscii(chars[i])) {
                const qsizetype plain = copyPlainAscii(chars + i, to - i, p);
                p += plain;
                i += plain;
                if (i == to)
                    break;
            }
            // The checks come in the order of how often they are needed, but each
            // character is written as the rules below, in this order, say: a tab, a
            // line break, nothing for control and object characters, Unicode for a
            // symbol font (but its spaces), an escape for \ { }, ASCII as it is, then
            // the Windows-1252 byte, else Unicode.
            const char16_t c = chars[i++];
            if (c >= 0x80) {
                if (c == QChar::LineSeparator) {
                    std::memcpy(p, "\\line ", 6);
                    p += 6;
                } else if (c == QChar::ObjectReplacementCharacter || c == QChar::ParagraphSeparator) {
                    continue;
                } else if (const int b = symbol ? -1 : c >= 0xA0 && c <= 0xFF ? c : rtfcp::toCp1252(c); b >= 0) {
                    *p++ = '\\';
                    *p++ = '\'';
                    *p++ = hex[b >> 4];
                    *p++ = hex[b & 15];
                } else {
                    // Symbol fonts map bytes to their own glyphs: only Unicode is unambiguous.
                    p = unicode(p, c);
                }
            } else if (c == '\t') {
                std::memcpy(p, "\\tab ", 5);
                p += 5;
            } else if (c < 0x20) {
                continue; // nothing visible to keep
            } else if (symbol && c != ' ') {
                p = unicode(p, c);
            } else if (c == '\\' || c == '{' || c == '}') {
                *p++ = '\\';
                *p++ = char(c);
            } else {
                *p++ = char(c);
            }
        }
        out.commit(p);
    }
}

void RtfWriter::writePicture(const TWPRtfPicture& p, RtfByteSink& out)
{
    using K = TWPRtfPicture::Kind;
    auto word = [&out](QByteArrayView name, int value) {
        out.put(name);
        out.putNumber(value);
    };
    out.put("{\\pict");
    switch (p.kind) {
    case K::Png: out.put("\\pngblip"); break;
    case K::Jpeg: out.put("\\jpegblip"); break;
    case K::Dib: out.put("\\dibitmap0"); break;
    case K::WBitmap:
        word("\\wbitmap", p.wbmType);
        word("\\wbmbitspixel", p.wbmBitsPixel);
        word("\\wbmplanes", p.wbmPlanes);
        word("\\wbmwidthbytes", p.wbmWidthBytes);
        break;
    case K::Wmf: word("\\wmetafile", p.mapMode); break;
    case K::Emf: out.put("\\emfblip"); break;
    case K::None: break;
    }
    word("\\picw", p.picw);
    word("\\pich", p.pich);
    word("\\picwgoal", p.goalw);
    word("\\pichgoal", p.goalh);
    if (p.scalex != 100 || p.scaley != 100) {
        word("\\picscalex", p.scalex);
        word("\\picscaley", p.scaley);
    }
    const QByteArray hexData = p.data.toHex();
    for (qsizetype i = 0; i < hexData.size(); i += 128) {
        out.put("\r\n");
        out.put(QByteArrayView(hexData).sliced(i, std::min<qsizetype>(128, hexData.size() - i)));
    }
    out.put('}');
}

// An image fragment: its pictures end the open run of text.
void RtfWriter::writeImage(const QTextFragment& frag, const QString& docText, int at, bool& runOpen, RtfByteSink& out)
{
    const QTextCharFormat f = frag.charFormat();
    TWPRtfPicture pic = TWPRtfPicture::fromFormat(f);
    if (!pic.isValid()) {
        // An image that came from elsewhere (a paste): keep its pixels.
        const QVariant res = m_doc.resource(QTextDocument::ImageResource, QUrl(f.toImageFormat().name()));
        const QImage img = res.value<QImage>();
        if (img.isNull())
            return;
        pic = TWPRtfPicture::fromImage(img, 96);
    }
    if (runOpen)
        out.put('}');
    runOpen = false;
    for (QChar c : QStringView(docText).mid(at, frag.length()))
        if (c == QChar::ObjectReplacementCharacter)
            writePicture(pic, out);
}

QByteArray RtfWriter::write()
{
    QString deflt = m_doc.defaultFont().family();
    if (deflt.isEmpty())
        deflt = QStringLiteral("Arial");
    m_defaultFontIsSymbol = rtfcp::isSymbolFontName(m_fonts[size_t(fontIndex(deflt))]);

    m_allFormats = m_doc.allFormats();
    m_formats.resize(size_t(m_allFormats.size()) + 1);
    m_colorIndex.reserve(std::min<qsizetype>(m_allFormats.size(), 4096)); // about a colour a format, at most
    // The document's characters at their positions, taken once rather than per fragment.
    const QString docText = m_doc.toRawText();
    // Room for the usual case (about two bytes written for each character, with the
    // formatting) at once.
    RtfByteSink body(2 * docText.size() + 4096);
    int blockAt = 0;
    for (QTextBlock block = m_doc.begin(); block.isValid(); block = block.next()) {
        body.put("\\pard");
        body.put(alignment(block));
        // Runs whose written attributes are equal are merged, so that formats that
        // differ only in what RTF does not carry give the same bytes as one run. A run
        // is opened before its text is known to write anything, and taken back if not.
        FormatInfo run; // the open run's format
        bool runOpen = false;
        int at = blockAt;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            const int length = frag.length();
            FormatInfo& info = formatInfo(frag.charFormatIndex());
            if (info.kind == FormatInfo::Kind::Unknown) {
                prefetchFormat(frag.charFormatIndex() + kPrefetchAhead);
                const RtfFormatFacts facts = RtfFormatFacts::read(format(frag.charFormatIndex()));
                info.kind = facts.image ? FormatInfo::Kind::Image : FormatInfo::Kind::Text;
                if (info.kind == FormatInfo::Kind::Text && info.attributesSize < 0)
                    learnAttributes(info, facts);
            }
            if (info.kind == FormatInfo::Kind::Image) {
                writeImage(frag, docText, at, runOpen, body);
                at += length;
                continue;
            }
            const qsizetype before = body.size();
            const QByteArrayView attrs = attributes(info);
            if (!runOpen || attrs != attributes(run)) {
                if (runOpen)
                    body.put('}');
                body.put('{');
                if (!attrs.isEmpty()) {
                    body.put(attrs);
                    body.put(' ');
                }
            }
            const qsizetype textStart = body.size();
            writeText(QStringView(docText).mid(at, length), info.symbol, body);
            at += length;
            if (body.size() == textStart) {
                body.truncate(before);
                continue;
            }
            runOpen = true;
            run = info;
        }
        if (runOpen)
            body.put('}');
        FormatInfo& markInfo = formatInfo(block.charFormatIndex());
        if (markInfo.attributesSize < 0)
            learnAttributes(markInfo, RtfFormatFacts::read(format(block.charFormatIndex())));
        const QByteArrayView mark = attributes(markInfo);
        if (mark.isEmpty()) {
            body.put("\\par\r\n");
        } else {
            body.put('{');
            body.put(mark);
            body.put("\\par}\r\n");
        }
        blockAt += block.length();
    }

    RtfByteSink head;
    head.put("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl");
    for (size_t i = 0; i < m_fonts.size(); ++i) {
        const QString& name = m_fonts[i];
        head.put("{\\f");
        head.putNumber(int(i));
        head.put("\\fnil\\fcharset");
        head.put(rtfcp::isSymbolFontName(name) ? '2' : '0');
        head.put(' ');
        QString clean = name;
        clean.remove(QLatin1Char(';'));
        writeText(clean, false, head);
        head.put(";}");
    }
    head.put("}\r\n{\\colortbl ;");
    for (QRgb c : m_colors) {
        head.put("\\red");
        head.putNumber(qRed(c));
        head.put("\\green");
        head.putNumber(qGreen(c));
        head.put("\\blue");
        head.putNumber(qBlue(c));
        head.put(';');
    }
    head.put("}\r\n\\uc1\r\n");

    body.put("}\r\n");
    body.prepend(head.bytes()); // moves the body up in its own buffer: no second copy
    return body.take();
}

} // namespace

QByteArray WriteRtf(const QTextDocument& doc)
{
    return RtfWriter(doc).write();
}
