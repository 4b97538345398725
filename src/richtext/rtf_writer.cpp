#include "rtf_writer.h"

#include "rtf_byte_sink.h"
#include "rtf_codepage.h"
#include "rtf_picture.h"

#include <QColor>
#include <QHash>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>
#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

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
        int attributesAt = 0;     // the attribute control words, in m_attributes
        int attributesSize = -1;  // -1 until learnt
    };
    struct Font {
        int index;
        bool symbol;
    };

    int fontIndex(const QString& family);
    const Font& font(const QString& rawFamily);
    int colorIndex(const QColor& c);
    FormatInfo& formatInfo(int formatIndex);
    void learnAttributes(FormatInfo& info, const QTextCharFormat& f);
    QByteArrayView attributes(const FormatInfo& info) const
    {
        return m_attributes.bytes().sliced(info.attributesAt, info.attributesSize);
    }
    QByteArrayView alignment(const QTextBlock& block);
    void writeImage(const QTextFragment& frag, const QString& docText, int at, bool& runOpen, RtfByteSink& out);
    static void writeText(QStringView text, bool symbol, RtfByteSink& out);
    void writePicture(const TWPRtfPicture& pic, RtfByteSink& out);

    const QTextDocument& m_doc;
    std::vector<QString> m_fonts;
    std::vector<QRgb> m_colors;
    QHash<QRgb, int> m_colorIndex;
    QHash<QString, Font> m_fontOfFamily;    // by the family as the format names it
    std::vector<FormatInfo> m_formats;      // by the document's format index
    RtfByteSink m_attributes;
    bool m_defaultFontIsSymbol = false;
    std::vector<signed char> m_alignments;  // by block format index; -1 = not yet known
};

QString familyOf(const QTextCharFormat& f)
{
    // The list is read where it lies: this runs once for each of a document's formats.
    const QVariant families = f.property(QTextFormat::FontFamilies);
    if (families.metaType() == QMetaType::fromType<QStringList>()) {
        const auto* list = static_cast<const QStringList*>(families.constData());
        if (!list->isEmpty())
            return list->first();
    } else if (const QStringList list = families.toStringList(); !list.isEmpty()) {
        return list.first();
    }
    return f.property(QTextFormat::FontFamily).toString();
}

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

RtfWriter::FormatInfo& RtfWriter::formatInfo(int formatIndex)
{
    const size_t slot = size_t(std::max(formatIndex, -1) + 1);
    if (slot >= m_formats.size())
        m_formats.resize(slot + 1);
    return m_formats[slot];
}

void RtfWriter::learnAttributes(FormatInfo& info, const QTextCharFormat& f)
{
    if (info.attributesSize >= 0)
        return;
    RtfByteSink& a = m_attributes;
    info.attributesAt = int(a.size());
    const QString family = familyOf(f);
    if (!family.isEmpty()) {
        const Font& used = font(family);
        a.put("\\f");
        a.putNumber(used.index);
        info.symbol = used.symbol;
    } else {
        info.symbol = m_defaultFontIsSymbol;
    }
    // Each property is looked for before it is read: most formats set only a few, and
    // finding a property costs less than reading one.
    auto has = [&f](QTextFormat::Property p) { return f.hasProperty(p); };
    if (has(QTextFormat::FontPointSize) && f.fontPointSize() > 0) {
        a.put("\\fs");
        a.putNumber(std::clamp(int(qRound(f.fontPointSize() * 2)), 1, 3276));
    }
    if (has(QTextFormat::FontWeight) && f.fontWeight() >= QFont::DemiBold)
        a.put("\\b");
    if (has(QTextFormat::FontItalic) && f.fontItalic())
        a.put("\\i");
    if ((has(QTextFormat::TextUnderlineStyle) || has(QTextFormat::FontUnderline)) && f.fontUnderline())
        a.put("\\ul");
    if (has(QTextFormat::FontStrikeOut) && f.fontStrikeOut())
        a.put("\\strike");
    if (has(QTextFormat::ForegroundBrush)) {
        if (const QBrush brush = f.foreground(); brush.style() != Qt::NoBrush) {
            a.put("\\cf");
            a.putNumber(colorIndex(brush.color()));
        }
    }
    if (has(QTextFormat::BackgroundBrush)) {
        if (const QBrush brush = f.background(); brush.style() != Qt::NoBrush) {
            a.put("\\highlight");
            a.putNumber(colorIndex(brush.color()));
        }
    }
    if (has(QTextFormat::TextVerticalAlignment)) {
        if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
            a.put("\\super");
        else if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
            a.put("\\sub");
    }
    info.attributesSize = int(a.size()) - info.attributesAt;
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
        for (qsizetype i = from; i < to; ++i) {
            const char16_t c = chars[i];
            if (!symbol && isPlainAscii(c)) {
                *p++ = char(c);
                while (i + 1 < to && isPlainAscii(chars[i + 1]))
                    *p++ = char(chars[++i]);
                continue;
            }
            if (c == '\t') {
                std::memcpy(p, "\\tab ", 5);
                p += 5;
            } else if (c == QChar::LineSeparator) {
                std::memcpy(p, "\\line ", 6);
                p += 6;
            } else if (c < 0x20 || c == QChar::ObjectReplacementCharacter || c == QChar::ParagraphSeparator) {
                continue; // nothing visible to keep
            } else if (symbol && c != ' ') {
                // Symbol fonts map bytes to their own glyphs: only Unicode is unambiguous.
                p = unicode(p, c);
            } else if (c == '\\' || c == '{' || c == '}') {
                *p++ = '\\';
                *p++ = char(c);
            } else if (c < 0x80) {
                *p++ = char(c);
            } else if (const int b = rtfcp::toCp1252(c); b >= 0) {
                *p++ = '\\';
                *p++ = '\'';
                *p++ = hex[b >> 4];
                *p++ = hex[b & 15];
            } else {
                p = unicode(p, c);
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

    // The document's characters at their positions, taken once rather than per fragment.
    const QString docText = m_doc.toRawText();
    RtfByteSink body(docText.size() + docText.size() / 4 + 1024);
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
                const QTextCharFormat f = frag.charFormat();
                const bool image = f.hasProperty(QTextFormat::ObjectType) && f.isImageFormat();
                info.kind = image ? FormatInfo::Kind::Image : FormatInfo::Kind::Text;
                if (info.kind == FormatInfo::Kind::Text)
                    learnAttributes(info, f);
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
            learnAttributes(markInfo, block.charFormat());
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

    QByteArray out;
    out.reserve(head.size() + body.size() + 3);
    out.append(head.bytes());
    out.append(body.bytes());
    out.append("}\r\n");
    return out;
}

} // namespace

QByteArray WriteRtf(const QTextDocument& doc)
{
    return RtfWriter(doc).write();
}
