#include "rtf_reader.h"

#include "rtf_codepage.h"
#include "rtf_control_words.h"
#include "rtf_document_builder.h"
#include "rtf_picture.h"

#include <QColor>
#include <QHash>
#include <QTextDocument>
#include <QTextImageFormat>
#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <vector>

namespace {

constexpr int kMaxDepth = 256;
constexpr int kPuaCodePage = -3; // symbol fonts other than Symbol: bytes map to U+F0xx

struct CharState {
    int font = -1; // \fN as written; -1 = none given (the default font applies)
    int fs = -1;   // half points; -1 = none given
    int cf = 0, cb = 0;
    bool bold = false, italic = false, underline = false, strike = false;
    bool hidden = false; // \v: text that never shows
    std::uint8_t vert = 0; // 1 superscript, 2 subscript
    std::uint8_t unused[2] = {0, 0}; // no padding: states compare as bytes, for every character read

    bool operator==(const CharState& o) const { return std::memcmp(this, &o, sizeof(CharState)) == 0; }
    bool operator!=(const CharState& o) const { return !(*this == o); }
};
static_assert(std::has_unique_object_representations_v<CharState>);

struct CharStateHash {
    size_t operator()(const CharState& c) const
    {
        const quint64 flags = quint64(c.bold) | quint64(c.italic) << 1 | quint64(c.underline) << 2
            | quint64(c.strike) << 3 | quint64(c.hidden) << 4 | quint64(c.vert & 3) << 5;
        quint64 h = quint64(quint32(c.font)) | quint64(quint32(c.fs)) << 32;
        h ^= quint64(quint32(c.cf)) * 0x100000001B3ull ^ quint64(quint32(c.cb)) << 40 ^ flags << 57;
        h *= 0x9E3779B97F4A7C15ull;
        return size_t(h ^ (h >> 31));
    }
};

enum class Dest { Text, Skip, FontTable, ColorTable, Pict };

struct GroupState {
    CharState ch;
    int align = 0; // 0 left, 1 right, 2 centre, 3 justified
    Dest dest = Dest::Text;
    int uc = 1;
    bool allowUd = false;
};

struct FontEntry {
    QString name;
    int charset = -1; // -1: none given
    int cpg = 0;
};

using rtfword::Word;

// A hexadecimal digit's value, -1 for other bytes.
int hexValue(char c)
{
    static constexpr auto values = [] {
        std::array<std::int8_t, 256> t{};
        for (int b = 0; b < 256; ++b)
            t[size_t(b)] = std::int8_t(b >= '0' && b <= '9' ? b - '0' : b >= 'a' && b <= 'f' ? b - 'a' + 10
                                        : b >= 'A' && b <= 'F' ? b - 'A' + 10 : -1);
        return t;
    }();
    return values[static_cast<unsigned char>(c)];
}

bool isKnownCodePage(int cp)
{
    switch (cp) {
    case 437: case 850: case 852: case 866: case 874: case 932: case 936: case 949: case 950:
    case 1250: case 1251: case 1252: case 1253: case 1254: case 1255: case 1256: case 1257:
    case 1258: case 1361: case rtfcp::kMacRomanCodePage: case rtfcp::kMacJapaneseCodePage: case rtfcp::kUtf8CodePage:
        return true;
    default:
        return false;
    }
}

class RtfParser {
public:
    RtfParser(const QByteArray& in, QTextDocument* doc, const TWPRtfReadLimit& limit = {})
        : m_in(in), m_doc(doc), m_limit(limit)
    {
    }

    // Reads into a plain text instead of a document: the text the document would
    // give as its plain text.
    void setPlainTextOut(QString* out) { m_plain = out; }

    // Parses everything; in content-test mode (no document, no plain text) stops at the
    // first content.
    bool run();
    bool foundContent() const { return m_found; }
    bool cutShort() const { return m_cutShort; }

private:
    // tokens
    void controlWord();
    void handleWord(Word w, bool hasParam, int param);
    void fontTableWord(Word w, int param);
    void pictureWord(Word w, bool hasParam, int param);
    void textWord(Word w, bool hasParam, int param);
    void pushGroup();
    void popGroup();
    void leaveGroup(const GroupState& outer);

    // text
    [[gnu::always_inline]] inline int codePage() const;
    void textByte(unsigned char b);
    void textChar(QChar c);
    bool plainAsciiRun();
    FontEntry& fontEntry(int number);
    void addColor(const QColor& color);
    void flushPending();
    void flushRun();
    bool building() const { return m_doc || m_plain; }
    void appendPlain(QStringView run);
    void paragraph();
    void ensureBlock();
    void emitPicture();
    void skipBinary(int n, bool keep);
    bool takeRoom(bool lineBreak);

    QTextCharFormat fontFormat(const CharState& ch) const;
    QTextCharFormat charFormat(const CharState& ch);
    int charFormatIndex(const CharState& ch);
    int blockFormatIndex(int align);
    QFont defaultFont() const;
    void applyBlockFormats();

    const QByteArray& m_in;
    QTextDocument* m_doc;
    QString* m_plain = nullptr;
    std::optional<TWPRtfDocumentBuilder> m_builder;
    qsizetype m_pos = 0;

    GroupState m_st;
    std::vector<GroupState> m_stack;
    // Groups nested deeper than kMaxDepth are flattened: they share the state the first
    // of them started from, and only where each one's text goes is kept.
    GroupState m_excessBase;
    std::vector<Dest> m_excess;
    bool m_malformed = false;
    bool m_star = false;
    int m_ucSkip = 0;
    bool m_stop = false;
    bool m_found = false;

    int m_ansiCp = 1252;
    int m_deff = 0;
    QHash<int, FontEntry> m_fonts;
    int m_curFont = 0;
    QByteArray m_fontName;
    bool m_haveFontName = false;
    std::vector<QColor> m_colors;
    int m_red = -1, m_green = -1, m_blue = -1;
    // Counts changes of the font and colour tables: what was derived from them
    // (code pages, character formats) is derived anew after a change.
    quint64 m_tablesGen = 1;

    // What the code page follows; compared as bytes for every stretch of text.
    struct CodePageKey {
        int font, deff, curFont, ansiCp;
        int fontTable;
        int unused = 0;
        quint64 gen;
        bool operator==(const CodePageKey& o) const { return std::memcmp(this, &o, sizeof(CodePageKey)) == 0; }
    };
    static_assert(std::has_unique_object_representations_v<CodePageKey>);
    mutable CodePageKey m_cpKey{0, 0, 0, 0, 0, 0, 0};
    mutable int m_cp = 0;
    mutable bool m_cpByByte = true; // m_cp decodes byte by byte
    int computeCodePage() const;
    [[gnu::noinline]] void updateCodePage(const CodePageKey& key) const;
    // Single-byte pages decode through a table, made once per page met.
    struct ByteTable {
        int codePage;
        std::array<char16_t, 256> chars;
    };
    std::vector<ByteTable> m_byteTables;
    const ByteTable* m_byteTable = nullptr; // the last used
    const std::array<char16_t, 256>& byteTable(int cp);

    // The document's format for each character state met (runs and paragraphs repeat
    // a few states), made once.
    std::unordered_map<CharState, int, CharStateHash> m_formats;
    std::unordered_map<CharState, QTextCharFormat, CharStateHash> m_fontFormats;
    quint64 m_formatsGen = 0;
    CharState m_lastState; // the state asked for last, and its format
    int m_lastFormat = -1;
    std::array<int, 4> m_blockFormats{-1, -1, -1, -1};
    bool m_defaultFontGiven = false;
    // What the current block was last given, so that giving it the same again is skipped.
    bool m_blockFormatsKnown = false;
    int m_blockAlign = 0;
    CharState m_blockCharState;
    quint64 m_blockGen = 0;

    QByteArray m_pending;
    int m_pendingCp = 0;

    std::u16string m_run; // the run being read; appended to character by character
    CharState m_runState;
    bool m_runStartsBlocks = false; // the run holds U+FDD0 or U+FDD1
    bool m_needBlock = false;
    bool m_blockStarted = false;

    TWPRtfPicture m_pict;
    int m_nibble = -1;

    TWPRtfReadLimit m_limit;
    qsizetype m_chars = 0;
    qsizetype m_lines = 0;
    bool m_cutShort = false;
};

bool isMacCodePage(int cp) { return cp == rtfcp::kMacRomanCodePage || cp == rtfcp::kMacJapaneseCodePage; }

// True for the pages whose bytes decode one by one (symbol fonts' private-use area too).
bool decodesByByte(int cp)
{
    return cp == kPuaCodePage || rtfcp::isSingleByte(cp);
}

inline int RtfParser::codePage() const
{
    const CodePageKey key{m_st.ch.font, m_deff, m_curFont, m_ansiCp, m_st.dest == Dest::FontTable, 0, m_tablesGen};
    if (!(key == m_cpKey)) [[unlikely]]
        updateCodePage(key);
    return m_cp;
}

void RtfParser::updateCodePage(const CodePageKey& key) const
{
    m_cp = computeCodePage();
    m_cpByByte = decodesByByte(m_cp);
    m_cpKey = key;
}

const std::array<char16_t, 256>& RtfParser::byteTable(int cp)
{
    if (m_byteTable && m_byteTable->codePage == cp) [[likely]]
        return m_byteTable->chars;
    auto it = std::find_if(m_byteTables.begin(), m_byteTables.end(), [cp](const ByteTable& t) { return t.codePage == cp; });
    if (it == m_byteTables.end()) {
        ByteTable t{cp, {}};
        for (int b = 0; b < 256; ++b)
            t.chars[size_t(b)] = cp == kPuaCodePage ? char16_t(b > 0x20 ? 0xF000 + b : b)
                                                    : rtfcp::decodeByte(cp, static_cast<unsigned char>(b)).unicode();
        m_byteTables.push_back(t);
        it = m_byteTables.end() - 1;
    }
    m_byteTable = &*it;
    return it->chars;
}

int RtfParser::computeCodePage() const
{
    const int num = m_st.ch.font >= 0 ? m_st.ch.font : m_deff;
    auto it = m_fonts.constFind(num);
    if (m_st.dest == Dest::FontTable)
        it = m_fonts.constFind(m_curFont);
    if (it != m_fonts.constEnd()) {
        if (it->cpg > 0 && isKnownCodePage(it->cpg))
            return it->cpg;
        // The ANSI charset is Windows-1252 whatever \ansicpg says (a Japanese document's
        // Latin fonts); only documents written on a Mac keep their own page for it.
        if (it->charset == 0)
            return isMacCodePage(m_ansiCp) ? m_ansiCp : 1252;
        const int cp = rtfcp::codePageForCharset(it->charset);
        if (cp == rtfcp::kSymbolCodePage)
            return it->name.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0 ? cp : kPuaCodePage;
        if (cp)
            return cp;
    }
    return m_ansiCp;
}

void RtfParser::textByte(unsigned char b)
{
    if (m_ucSkip > 0) {
        --m_ucSkip;
        return;
    }
    m_star = false;
    if (m_st.dest == Dest::Skip || m_st.dest == Dest::ColorTable || m_st.dest == Dest::Pict)
        return;
    int cp = codePage();
    bool byByte = m_cpByByte;
    if (m_st.dest == Dest::FontTable && (cp == kPuaCodePage || cp == rtfcp::kSymbolCodePage)) {
        cp = m_ansiCp; // a symbol font's own name is plain text
        byByte = decodesByByte(cp);
    }
    if (byByte) {
        flushPending();
        textChar(QChar(byteTable(cp)[b]));
    } else {
        if (!m_pending.isEmpty() && m_pendingCp != cp)
            flushPending();
        m_pendingCp = cp;
        m_pending.append(char(b));
    }
}

void RtfParser::flushPending()
{
    if (m_pending.isEmpty())
        return;
    const QByteArray bytes = std::exchange(m_pending, QByteArray());
    const QString s = rtfcp::decode(m_pendingCp, bytes);
    for (QChar c : s)
        textChar(c);
}

void RtfParser::textChar(QChar c)
{
    switch (m_st.dest) {
    case Dest::FontTable:
        if (c == QLatin1Char(';')) {
            FontEntry& e = fontEntry(m_curFont);
            e.name = QString::fromUtf8(m_fontName).trimmed();
            m_fontName.clear();
            m_haveFontName = false;
        } else {
            m_fontName += QString(c).toUtf8();
            m_haveFontName = true;
        }
        return;
    case Dest::Text:
        break;
    default:
        return;
    }
    if (c == QChar::ParagraphSeparator) {
        paragraph();
        return;
    }
    if (m_st.ch.hidden)
        return;
    if ((c.unicode() < 0x20 && c != QLatin1Char('\t')) || c == QChar::ObjectReplacementCharacter)
        return; // controls show nothing; object characters come only with pictures
    if (!building()) {
        if (!(c.isSpace() || c == QChar(0xA0) || c.unicode() < 0x20))
            m_found = m_stop = true;
        return;
    }
    if (!takeRoom(c == QChar::LineSeparator))
        return;
    if (!m_run.empty() && m_runState != m_st.ch)
        flushRun();
    if (m_run.empty())
        m_runState = m_st.ch;
    m_run.push_back(c.unicode());
    if (c.unicode() == 0xFDD0 || c.unicode() == 0xFDD1) {
        m_blockFormatsKnown = false; // the document starts a block of its own for these
        m_runStartsBlocks = true;
    }
}

// A stretch of printable ASCII text, in a code page where such bytes stand for
// themselves, taken into the run at once; false when the next byte needs the general path.
bool RtfParser::plainAsciiRun()
{
    if (!building() || m_st.dest != Dest::Text || m_ucSkip > 0 || m_st.ch.hidden || m_cutShort)
        return false;
    const int cp = codePage();
    if (cp == kPuaCodePage || cp == rtfcp::kSymbolCodePage || !m_cpByByte)
        return false;
    static const auto plain = [] {
        std::array<bool, 256> t{};
        for (int b = 0x20; b <= 0x7E; ++b)
            t[size_t(b)] = b != '\\' && b != '{' && b != '}';
        return t;
    }();
    const auto* data = reinterpret_cast<const unsigned char*>(m_in.constData());
    const qsizetype n = m_in.size();
    qsizetype end = m_pos;
    while (end < n && plain[data[end]])
        ++end;
    qsizetype len = end - m_pos;
    if (m_limit.maxChars >= 0)
        len = std::min(len, m_limit.maxChars - m_chars);
    if (len <= 0)
        return false;
    flushPending();
    m_star = false;
    if (!m_run.empty() && m_runState != m_st.ch)
        flushRun();
    if (m_run.empty())
        m_runState = m_st.ch;
    const size_t at = m_run.size();
    m_run.resize(at + size_t(len));
    std::copy(data + m_pos, data + m_pos + len, m_run.begin() + qsizetype(at));
    m_chars += len;
    m_pos += len;
    return true;
}

// The properties that come before the colours, in the order formats hold them.
QTextCharFormat RtfParser::fontFormat(const CharState& ch) const
{
    QTextCharFormat f;
    if (ch.font >= 0) {
        auto it = m_fonts.constFind(ch.font);
        if (it != m_fonts.constEnd() && !it->name.isEmpty())
            f.setFontFamilies(QStringList{it->name});
    }
    if (ch.fs > 0)
        f.setFontPointSize(ch.fs / 2.0);
    if (ch.bold)
        f.setFontWeight(QFont::Bold);
    if (ch.italic)
        f.setFontItalic(true);
    if (ch.underline)
        f.setFontUnderline(true);
    if (ch.strike)
        f.setFontStrikeOut(true);
    return f;
}

// A state's format: its font part made once for all states sharing it (documents
// colour runs far more often than they change fonts), then colours and position.
QTextCharFormat RtfParser::charFormat(const CharState& ch)
{
    CharState fontPart = ch;
    fontPart.cf = fontPart.cb = fontPart.vert = 0;
    fontPart.hidden = false;
    auto it = m_fontFormats.find(fontPart);
    if (it == m_fontFormats.end())
        it = m_fontFormats.emplace(fontPart, fontFormat(fontPart)).first;
    QTextCharFormat f = it->second;
    if (ch.cf > 0 && ch.cf < int(m_colors.size()) && m_colors[size_t(ch.cf)].isValid())
        f.setForeground(m_colors[size_t(ch.cf)]);
    if (ch.cb > 0 && ch.cb < int(m_colors.size()) && m_colors[size_t(ch.cb)].isValid())
        f.setBackground(m_colors[size_t(ch.cb)]);
    if (ch.vert == 1)
        f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (ch.vert == 2)
        f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    return f;
}

int RtfParser::charFormatIndex(const CharState& ch)
{
    if (!m_defaultFontGiven) {
        // Formats take the default font as they are made; giving it before the first
        // saves resolving every one again at the end.
        m_builder->setDefaultFont(defaultFont());
        m_defaultFontGiven = true;
    }
    if (m_formatsGen != m_tablesGen) {
        m_formats.clear();
        m_fontFormats.clear();
        m_lastFormat = -1;
        m_formatsGen = m_tablesGen;
    }
    if (m_lastFormat >= 0 && m_lastState == ch)
        return m_lastFormat;
    auto it = m_formats.find(ch);
    if (it == m_formats.end())
        it = m_formats.emplace(ch, m_builder->charFormatIndex(charFormat(ch))).first;
    m_lastState = ch;
    m_lastFormat = it->second;
    return it->second;
}

int RtfParser::blockFormatIndex(int align)
{
    const size_t a = size_t(align >= 1 && align <= 3 ? align : 0);
    if (m_blockFormats[a] < 0) {
        QTextBlockFormat f;
        if (a == 1)
            f.setAlignment(Qt::AlignRight);
        else if (a == 2)
            f.setAlignment(Qt::AlignHCenter);
        else if (a == 3)
            f.setAlignment(Qt::AlignJustify);
        m_blockFormats[a] = m_builder->blockFormatIndex(f);
    }
    return m_blockFormats[a];
}

// The document's default font: the default RTF font at 12 points.
QFont RtfParser::defaultFont() const
{
    QString family = QStringLiteral("Arial");
    auto it = m_fonts.constFind(m_deff);
    if (it != m_fonts.constEnd() && !it->name.isEmpty())
        family = it->name;
    QFont f(family);
    f.setPointSizeF(12);
    return f;
}

// Gives the current block the paragraph's alignment and the character state as its
// mark's format, unless it has exactly these already.
void RtfParser::applyBlockFormats()
{
    if (m_blockFormatsKnown && m_blockAlign == m_st.align && m_blockCharState == m_st.ch && m_blockGen == m_tablesGen)
        return;
    m_builder->setBlockFormats(blockFormatIndex(m_st.align), charFormatIndex(m_st.ch));
    m_blockFormatsKnown = true;
    m_blockAlign = m_st.align;
    m_blockCharState = m_st.ch;
    m_blockGen = m_tablesGen;
}

void RtfParser::ensureBlock()
{
    if (m_plain) {
        if (m_needBlock)
            m_plain->append(QLatin1Char('\n'));
        m_needBlock = false;
        m_blockStarted = true;
        return;
    }
    if (m_needBlock) {
        m_builder->startBlock(blockFormatIndex(m_st.align), charFormatIndex(m_st.ch));
        m_needBlock = false;
        m_blockFormatsKnown = true;
        m_blockAlign = m_st.align;
        m_blockCharState = m_st.ch;
        m_blockGen = m_tablesGen;
    } else if (!m_blockStarted) {
        applyBlockFormats();
    }
    m_blockStarted = true;
}

void RtfParser::flushRun()
{
    if (m_run.empty() || !building())
        return;
    ensureBlock();
    if (m_plain)
        appendPlain(QStringView(m_run.data(), qsizetype(m_run.size())));
    else
        m_builder->addText(QStringView(m_run.data(), qsizetype(m_run.size())), charFormatIndex(m_runState), m_runStartsBlocks);
    m_run.clear(); // keeps its room for the next run
    m_runStartsBlocks = false;
}

// As a document shows a run in its plain text: line breaks and the characters that
// start a block of their own become line ends, no-break spaces plain spaces.
void RtfParser::appendPlain(QStringView run)
{
    const qsizetype at = m_plain->size();
    m_plain->append(run);
    QChar* c = m_plain->data() + at;
    for (QChar* end = m_plain->data() + m_plain->size(); c != end; ++c) {
        const char16_t u = c->unicode();
        if (u == 0x2028 || u == 0xFDD0 || u == 0xFDD1)
            *c = QLatin1Char('\n');
        else if (u == 0xA0)
            *c = QLatin1Char(' ');
    }
}

FontEntry& RtfParser::fontEntry(int number)
{
    ++m_tablesGen;
    return m_fonts[number];
}

void RtfParser::addColor(const QColor& color)
{
    ++m_tablesGen;
    m_colors.push_back(color);
}

void RtfParser::paragraph()
{
    if (m_st.dest != Dest::Text)
        return;
    flushPending();
    if (!building() || !takeRoom(true))
        return;
    flushRun();
    ensureBlock();
    if (m_doc)
        applyBlockFormats();
    m_needBlock = true;
}

void RtfParser::emitPicture()
{
    if (m_nibble >= 0)
        m_nibble = -1; // an odd trailing digit carries no byte
    TWPRtfPicture pic = std::exchange(m_pict, TWPRtfPicture());
    if (!pic.isValid())
        return;
    if (!building()) {
        m_found = m_stop = true;
        return;
    }
    if (!takeRoom(false))
        return;
    flushRun();
    ensureBlock();
    if (m_plain) {
        m_plain->append(QChar::ObjectReplacementCharacter);
        return;
    }
    if (pic.goalw <= 0 || pic.goalh <= 0) {
        const QSizeF tw = TWPRtfPicture(pic).displayTwips();
        const qreal sx = std::clamp(pic.scalex, 1, 1000) / 100.0;
        const qreal sy = std::clamp(pic.scaley, 1, 1000) / 100.0;
        pic.goalw = int(qRound64(tw.width() / sx));
        pic.goalh = int(qRound64(tw.height() / sy));
    }
    m_builder->addText(QString(QChar::ObjectReplacementCharacter), m_builder->charFormatIndex(pic.toFormat()), false);
}

// Counts a character (or a break) about to be read into the document; false, and
// reading stops, once the limit is reached.
bool RtfParser::takeRoom(bool lineBreak)
{
    if (m_cutShort)
        return false;
    const bool full = (m_limit.maxChars >= 0 && m_chars >= m_limit.maxChars)
        || (lineBreak && m_limit.maxLines >= 0 && m_lines >= m_limit.maxLines);
    if (full) {
        m_cutShort = m_stop = true;
        return false;
    }
    ++m_chars;
    if (lineBreak)
        ++m_lines;
    return true;
}

void RtfParser::pushGroup()
{
    flushPending();
    m_ucSkip = 0;
    m_star = false;
    if (int(m_stack.size()) >= kMaxDepth) {
        if (m_excess.empty())
            m_excessBase = m_st;
        m_excess.push_back(m_st.dest);
        return;
    }
    m_stack.push_back(m_st);
}

void RtfParser::popGroup()
{
    flushPending();
    m_ucSkip = 0;
    m_star = false;
    GroupState outer;
    if (!m_excess.empty()) {
        outer = m_excessBase;
        outer.dest = m_excess.back();
        m_excess.pop_back();
    } else if (!m_stack.empty()) {
        outer = m_stack.back();
        m_stack.pop_back();
    } else {
        m_malformed = true; // a stray closing brace
        m_stop = true;
        return;
    }
    leaveGroup(outer);
}

void RtfParser::leaveGroup(const GroupState& outer)
{
    const Dest leaving = m_st.dest;
    if (leaving == Dest::FontTable && m_haveFontName) {
        fontEntry(m_curFont).name = QString::fromUtf8(m_fontName).trimmed();
        m_fontName.clear();
        m_haveFontName = false;
    }
    m_st = outer;
    if (leaving == Dest::Pict && outer.dest != Dest::Pict) {
        // The picture belongs to the enclosing text.
        if (m_st.dest == Dest::Text)
            emitPicture();
        else
            m_pict = TWPRtfPicture();
        return;
    }
    if (m_stack.empty())
        m_stop = true; // the document's outermost group is closed
}

void RtfParser::skipBinary(int n, bool keep)
{
    const qsizetype avail = m_in.size() - m_pos;
    const qsizetype len = std::clamp<qsizetype>(n, 0, avail);
    if (keep)
        m_pict.data.append(m_in.constData() + m_pos, len);
    m_pos += len;
}

void RtfParser::controlWord()
{
    ++m_pos; // the backslash
    if (m_pos >= m_in.size()) {
        m_malformed = true;
        return;
    }
    const char c = m_in[m_pos];
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
        // Scanned through locals: the members would be read again for every byte.
        const char* const data = m_in.constData();
        const qsizetype n = m_in.size();
        auto isLetter = [](char b) { return (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z'); };
        auto isDigit = [](char b) { return b >= '0' && b <= '9'; };
        const qsizetype start = m_pos;
        qsizetype pos = m_pos;
        while (pos < n && isLetter(data[pos]))
            ++pos;
        const Word word = rtfword::lookUp(std::string_view(data + start, size_t(pos - start)));
        bool hasParam = false;
        bool neg = false;
        qint64 value = 0;
        if (pos + 1 < n && data[pos] == '-' && isDigit(data[pos + 1])) {
            neg = true;
            ++pos;
        }
        while (pos < n && isDigit(data[pos])) {
            hasParam = true;
            if (value < 100000000000LL)
                value = value * 10 + (data[pos] - '0');
            ++pos;
        }
        if (pos < n && data[pos] == ' ')
            ++pos;
        m_pos = pos;
        value = std::clamp<qint64>(neg ? -value : value, -2147483647LL, 2147483647LL);
        const int param = int(value);
        if (m_ucSkip > 0) {
            --m_ucSkip;
            if (word == Word::Bin)
                skipBinary(param, false);
            return;
        }
        flushPending();
        handleWord(word, hasParam, param);
        return;
    }
    ++m_pos;
    if (c == '\'') {
        int v = 0;
        int digits = 0;
        while (digits < 2 && m_pos < m_in.size()) {
            const int h = hexValue(m_in[m_pos]);
            if (h < 0)
                break;
            v = v * 16 + h;
            ++digits;
            ++m_pos;
        }
        if (digits == 2)
            textByte(static_cast<unsigned char>(v));
        else
            m_malformed = true;
        return;
    }
    if (c == '*') {
        m_star = true;
        return;
    }
    flushPending();
    if (m_ucSkip > 0) {
        --m_ucSkip;
        return;
    }
    m_star = false;
    switch (c) {
    case '\\': case '{': case '}': textChar(QLatin1Char(c)); break;
    case '~': textChar(QChar(0x00A0)); break;
    case '-': break; // optional hyphen: only a break opportunity
    case '_': textChar(QChar(0x2011)); break;
    case '\r': case '\n': paragraph(); break;
    case '\t': textChar(QLatin1Char('\t')); break;
    default: break;
    }
}

void RtfParser::handleWord(Word w, bool hasParam, int param)
{
    const bool star = std::exchange(m_star, false);
    if (w == Word::Bin) {
        skipBinary(hasParam ? param : 0, m_st.dest == Dest::Pict);
        return;
    }
    if (m_st.dest == Dest::Skip) {
        if (w == Word::Ud && m_st.allowUd) {
            m_st.dest = Dest::Text;
            m_st.allowUd = false;
        }
        return;
    }
    if (star) {
        if (w == Word::Shppict || w == Word::NestTableProps)
            return; // the picture inside is the one to show; a nested row ends inside its properties
        if (w == Word::Ud && m_st.allowUd) {
            m_st.allowUd = false;
            return;
        }
        m_st.dest = Dest::Skip;
        return;
    }
    switch (w) {
    case Word::FontTable: m_st.dest = Dest::FontTable; m_curFont = 0; return;
    case Word::ColorTable: m_st.dest = Dest::ColorTable; m_red = m_green = m_blue = -1; return;
    case Word::Pict:
        if (m_st.dest == Dest::Text) {
            m_st.dest = Dest::Pict;
            m_pict = TWPRtfPicture();
            m_nibble = -1;
        } else {
            m_st.dest = Dest::Skip;
        }
        return;
    case Word::Upr: m_st.dest = Dest::Skip; m_st.allowUd = true; return;
    case Word::SkippedDestination: m_st.dest = Dest::Skip; return;
    default: break;
    }

    switch (m_st.dest) {
    case Dest::FontTable:
        fontTableWord(w, param);
        return;
    case Dest::ColorTable:
        if (w == Word::Red) m_red = std::clamp(param, 0, 255);
        else if (w == Word::Green) m_green = std::clamp(param, 0, 255);
        else if (w == Word::Blue) m_blue = std::clamp(param, 0, 255);
        return;
    case Dest::Pict:
        pictureWord(w, hasParam, param);
        return;
    default:
        break;
    }
    textWord(w, hasParam, param);
}

void RtfParser::fontTableWord(Word w, int param)
{
    switch (w) {
    case Word::F:
        if (m_haveFontName)
            fontEntry(m_curFont).name = QString::fromUtf8(m_fontName).trimmed();
        m_fontName.clear();
        m_haveFontName = false;
        m_curFont = param;
        fontEntry(m_curFont);
        break;
    case Word::FCharset: fontEntry(m_curFont).charset = param; break;
    case Word::Cpg: fontEntry(m_curFont).cpg = param; break;
    case Word::U:
        textChar(QChar(char16_t(param & 0xFFFF)));
        m_ucSkip = m_st.uc;
        break;
    case Word::Uc: m_st.uc = std::clamp(param, 0, 16); break;
    default: break;
    }
}

void RtfParser::pictureWord(Word w, bool hasParam, int param)
{
    using K = TWPRtfPicture::Kind;
    switch (w) {
    case Word::PngBlip: m_pict.kind = K::Png; break;
    case Word::JpegBlip: m_pict.kind = K::Jpeg; break;
    case Word::DiBitmap: m_pict.kind = K::Dib; break;
    case Word::WBitmap: m_pict.kind = K::WBitmap; m_pict.wbmType = param; break;
    case Word::WMetafile: m_pict.kind = K::Wmf; m_pict.mapMode = hasParam ? param : 1; break;
    case Word::EmfBlip: m_pict.kind = K::Emf; break;
    case Word::OtherPicture: m_pict.kind = K::None; break;
    case Word::PicW: m_pict.picw = std::clamp(param, 0, 1000000); break;
    case Word::PicH: m_pict.pich = std::clamp(param, 0, 1000000); break;
    case Word::PicWGoal: m_pict.goalw = std::clamp(param, 0, 1000000); break;
    case Word::PicHGoal: m_pict.goalh = std::clamp(param, 0, 1000000); break;
    case Word::PicScaleX: m_pict.scalex = std::clamp(param, 1, 1000); break;
    case Word::PicScaleY: m_pict.scaley = std::clamp(param, 1, 1000); break;
    case Word::WbmBitsPixel: m_pict.wbmBitsPixel = std::clamp(param, 1, 32); break;
    case Word::WbmPlanes: m_pict.wbmPlanes = std::clamp(param, 1, 8); break;
    case Word::WbmWidthBytes: m_pict.wbmWidthBytes = std::clamp(param, 0, 1000000); break;
    default: break;
    }
}

void RtfParser::textWord(Word w, bool hasParam, int param)
{
    const bool on = !hasParam || param != 0;
    CharState& ch = m_st.ch;
    switch (w) {
    case Word::AnsiCpg: m_ansiCp = isKnownCodePage(param) ? param : 1252; break;
    case Word::Ansi: m_ansiCp = 1252; break;
    case Word::Mac: m_ansiCp = rtfcp::kMacRomanCodePage; break;
    case Word::Pc: m_ansiCp = 437; break;
    case Word::Pca: m_ansiCp = 850; break;
    case Word::Deff: m_deff = param; break;
    case Word::Pard: m_st.align = 0; break;
    case Word::Ql: m_st.align = 0; break;
    case Word::Qr: m_st.align = 1; break;
    case Word::Qc: m_st.align = 2; break;
    case Word::Qj: m_st.align = 3; break;
    case Word::Plain: ch = CharState(); break;
    case Word::B: ch.bold = on; break;
    case Word::I: ch.italic = on; break;
    case Word::Ul: ch.underline = on; break;
    case Word::UlNone: ch.underline = false; break;
    case Word::Strike: ch.strike = on; break;
    case Word::Super: case Word::Up: ch.vert = on ? 1 : 0; break;
    case Word::Sub: case Word::Dn: ch.vert = on ? 2 : 0; break;
    case Word::NoSuperSub: ch.vert = 0; break;
    case Word::V: ch.hidden = on; break;
    case Word::Cf: ch.cf = std::max(0, param); break;
    case Word::Cb: case Word::Highlight: ch.cb = std::max(0, param); break;
    case Word::F: ch.font = param; break;
    case Word::Fs: ch.fs = hasParam ? std::clamp(param, 1, 3276) : 24; break;
    case Word::U: {
        char16_t code = char16_t(param & 0xFFFF);
        if (code >= 0xF020 && code <= 0xF0FF && codePage() == rtfcp::kSymbolCodePage)
            code = rtfcp::symbolToUnicode(static_cast<unsigned char>(code - 0xF000)).unicode();
        textChar(QChar(code));
        m_ucSkip = m_st.uc;
        break;
    }
    case Word::Uc: m_st.uc = std::clamp(param, 0, 16); break;
    case Word::Par: case Word::Page: case Word::Sect: case Word::Row: case Word::NestRow: paragraph(); break;
    case Word::Line: textChar(QChar::LineSeparator); break;
    case Word::Tab: case Word::Cell: case Word::NestCell: textChar(QLatin1Char('\t')); break;
    case Word::Bullet: textChar(QChar(0x2022)); break;
    case Word::EmDash: textChar(QChar(0x2014)); break;
    case Word::EnDash: textChar(QChar(0x2013)); break;
    case Word::EmSpace: textChar(QChar(0x2003)); break;
    case Word::EnSpace: textChar(QChar(0x2002)); break;
    case Word::LQuote: textChar(QChar(0x2018)); break;
    case Word::RQuote: textChar(QChar(0x2019)); break;
    case Word::LDblQuote: textChar(QChar(0x201C)); break;
    case Word::RDblQuote: textChar(QChar(0x201D)); break;
    case Word::Zwj: textChar(QChar(0x200D)); break;
    case Word::Zwnj: textChar(QChar(0x200C)); break;
    default: break;
    }
}

bool RtfParser::run()
{
    if (m_doc)
        m_builder.emplace(m_doc);
    // The outermost group ("{\rtf1 ...}") is opened here like any other.
    const qsizetype n = m_in.size();
    bool opened = false;
    while (m_pos < n && !m_stop) {
        const char c = m_in[m_pos];
        if (c == '{') {
            ++m_pos;
            pushGroup();
            opened = true;
        } else if (c == '}') {
            ++m_pos;
            popGroup();
        } else if (c == '\\') {
            controlWord();
        } else if (c == '\r' || c == '\n' || c == 0) {
            ++m_pos;
        } else if (m_st.dest == Dest::Pict) {
            ++m_pos;
            const int h = hexValue(c);
            if (h >= 0) {
                if (m_nibble < 0) {
                    m_nibble = h;
                } else {
                    m_pict.data.append(char(m_nibble * 16 + h));
                    m_nibble = -1;
                }
            }
        } else if (m_st.dest == Dest::ColorTable) {
            ++m_pos;
            if (c == ';') {
                if (m_red < 0 && m_green < 0 && m_blue < 0)
                    addColor(QColor());
                else
                    addColor(QColor(std::max(0, m_red), std::max(0, m_green), std::max(0, m_blue)));
                m_red = m_green = m_blue = -1;
            }
        } else {
            if (c >= 0x20 && c <= 0x7E) {
                if (m_ucSkip > 0) {
                    // The character standing in for a \u character, as textByte would skip it.
                    --m_ucSkip;
                    ++m_pos;
                    continue;
                }
                if (plainAsciiRun())
                    continue;
            }
            ++m_pos;
            if (c == '\t') {
                flushPending();
                if (m_ucSkip > 0) { --m_ucSkip; continue; }
                textChar(QLatin1Char('\t'));
            } else {
                textByte(static_cast<unsigned char>(c));
            }
        }
    }
    if (!m_stack.empty() || !m_excess.empty() || !opened)
        m_malformed = true;
    m_excess.clear(); // an unclosed flattened group ends with the document
    if (m_pos < n) {
        // Only blanks may follow the closing brace.
        for (qsizetype i = m_pos; i < n; ++i)
            if (!QChar::fromLatin1(m_in[i]).isSpace() && m_in[i] != 0) {
                m_malformed = true;
                break;
            }
    }
    flushPending();
    if (m_st.dest == Dest::Pict || std::any_of(m_stack.begin(), m_stack.end(), [](const GroupState& g) { return g.dest == Dest::Pict; })) {
        // A truncated picture: keep it when its data decodes.
        while (!m_stack.empty() && m_st.dest == Dest::Pict && m_stack.back().dest == Dest::Pict) {
            m_st = m_stack.back();
            m_stack.pop_back();
        }
        if (m_st.dest == Dest::Pict && !m_stack.empty()) {
            TWPRtfPicture pic = m_pict;
            if (pic.isMetafile() || !pic.decode().isNull()) {
                m_st = m_stack.back();
                m_stack.pop_back();
                if (m_st.dest == Dest::Text)
                    emitPicture();
            }
        }
    }
    if (m_plain)
        flushRun();
    if (m_doc) {
        flushRun();
        if (m_blockStarted && !m_needBlock)
            m_builder->setBlockFormat(blockFormatIndex(m_st.align));
        m_builder->finish(defaultFont());
    }
    return !m_malformed;
}

bool looksLikeRtf(const QByteArray& b)
{
    qsizetype i = 0;
    while (i < b.size() && (b[i] == ' ' || b[i] == '\r' || b[i] == '\n' || b[i] == '\t'))
        ++i;
    return b.mid(i, 5) == "{\\rtf";
}

// Bytes that are not RTF as text: UTF-8 after a byte-order mark, else Windows-1252;
// line ends as "\n", without a last one.
QString plainInputText(const QByteArray& rtf)
{
    QString text;
    if (rtf.startsWith("\xEF\xBB\xBF"))
        text = QString::fromUtf8(rtf.mid(3));
    else
        text = rtfcp::decode(1252, rtf);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text;
}

// The start of plain text that fits the limit; *cutShort tells whether text was left out.
QString limitedText(const QString& text, const TWPRtfReadLimit& limit, bool* cutShort)
{
    qsizetype end = limit.maxChars >= 0 ? std::min(text.size(), limit.maxChars) : text.size();
    if (limit.maxLines >= 0) {
        qsizetype lines = 0;
        for (qsizetype i = 0; i < end; ++i)
            if (text[i] == QLatin1Char('\n') && ++lines > limit.maxLines)
                end = i;
    }
    *cutShort = end < text.size();
    return text.left(end);
}

// Reads rtf into doc within limit; returns whether it was well-formed.
bool readDocument(const QByteArray& rtf, QTextDocument* doc, const TWPRtfReadLimit& limit, bool* cutShort)
{
    const bool undo = doc->isUndoRedoEnabled();
    doc->setUndoRedoEnabled(false);
    bool ok = true;
    if (!looksLikeRtf(rtf)) {
        const QString text = plainInputText(rtf);
        doc->setPlainText(limitedText(text, limit, cutShort));
        QFont f(QStringLiteral("Arial"));
        f.setPointSizeF(12);
        doc->setDefaultFont(f);
        ok = rtf.isEmpty();
    } else {
        RtfParser parser(rtf, doc, limit);
        ok = parser.run();
        *cutShort = parser.cutShort();
    }
    doc->setUndoRedoEnabled(undo);
    return ok;
}

} // namespace

bool ReadRtf(const QByteArray& rtf, QTextDocument* doc)
{
    bool cutShort = false;
    return doc && readDocument(rtf, doc, {}, &cutShort);
}

bool ReadRtfStart(const QByteArray& rtf, QTextDocument* doc, const TWPRtfReadLimit& limit)
{
    bool cutShort = false;
    if (doc)
        readDocument(rtf, doc, limit, &cutShort);
    return cutShort;
}

QString ReadRtfPlainText(const QByteArray& rtf)
{
    if (!looksLikeRtf(rtf)) {
        // As a document holding the text gives it back: every kind of line or block end
        // becomes a line end, a no-break space a space.
        QString text = plainInputText(rtf);
        for (QChar& c : text) {
            const char16_t u = c.unicode();
            if (u == '\r' || u == 0x2028 || u == 0x2029 || u == 0xFDD0 || u == 0xFDD1)
                c = QLatin1Char('\n');
            else if (u == 0xA0)
                c = QLatin1Char(' ');
        }
        return text;
    }
    QString out;
    RtfParser parser(rtf, nullptr);
    parser.setPlainTextOut(&out);
    parser.run();
    return out;
}

bool RtfHasContent(const QByteArray& rtf)
{
    if (!looksLikeRtf(rtf)) {
        for (char c : rtf)
            if (!QChar::fromLatin1(c).isSpace())
                return true;
        return false;
    }
    RtfParser parser(rtf, nullptr);
    parser.run();
    return parser.foundContent();
}
