#include "rtf_writer.h"

#include "rtf_codepage.h"
#include "rtf_picture.h"

#include <QColor>
#include <QHash>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>
#include <algorithm>
#include <vector>

namespace {

class RtfWriter {
public:
    explicit RtfWriter(const QTextDocument& doc) : m_doc(doc) {}
    QByteArray write();

private:
    int fontIndex(const QString& family);
    int colorIndex(const QColor& c);
    QByteArray attributes(const QTextCharFormat& f, bool* symbol);
    struct Attributes {
        QByteArray bytes;
        bool symbol = false;
    };
    const Attributes& fragmentAttributes(int formatIndex, const QTextCharFormat& f);
    void writeText(const QString& text, bool symbol, QByteArray& out);
    void writePicture(const TWPRtfPicture& pic, QByteArray& out);

    const QTextDocument& m_doc;
    std::vector<QString> m_fonts;
    std::vector<QRgb> m_colors;
    QHash<QRgb, int> m_colorIndex;
    // The attributes of each of the document's character formats, made at its first use
    // (which is also where its font and colours take their places in the tables).
    QHash<int, Attributes> m_attributes;
};

QString familyOf(const QTextCharFormat& f)
{
    const QStringList list = f.fontFamilies().toStringList();
    if (!list.isEmpty())
        return list.first();
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

QByteArray RtfWriter::attributes(const QTextCharFormat& f, bool* symbol)
{
    QByteArray a;
    const QString family = familyOf(f);
    QString effective = m_fonts.empty() ? QString() : m_fonts.front();
    if (!family.isEmpty()) {
        a += "\\f" + QByteArray::number(fontIndex(family));
        effective = family;
    }
    if (symbol)
        *symbol = rtfcp::isSymbolFontName(effective);
    if (f.hasProperty(QTextFormat::FontPointSize) && f.fontPointSize() > 0) {
        const int fs = std::clamp(int(qRound(f.fontPointSize() * 2)), 1, 3276);
        a += "\\fs" + QByteArray::number(fs);
    }
    if (f.hasProperty(QTextFormat::FontWeight) && f.fontWeight() >= QFont::DemiBold)
        a += "\\b";
    if (f.fontItalic())
        a += "\\i";
    if (f.fontUnderline())
        a += "\\ul";
    if (f.fontStrikeOut())
        a += "\\strike";
    if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush)
        a += "\\cf" + QByteArray::number(colorIndex(f.foreground().color()));
    if (f.hasProperty(QTextFormat::BackgroundBrush) && f.background().style() != Qt::NoBrush)
        a += "\\highlight" + QByteArray::number(colorIndex(f.background().color()));
    if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        a += "\\super";
    else if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
        a += "\\sub";
    return a;
}

const RtfWriter::Attributes& RtfWriter::fragmentAttributes(int formatIndex, const QTextCharFormat& f)
{
    auto it = m_attributes.find(formatIndex);
    if (it == m_attributes.end()) {
        Attributes a;
        a.bytes = attributes(f, &a.symbol);
        it = m_attributes.insert(formatIndex, a);
    }
    return *it;
}

// Characters written as they are: printable ASCII but the three RTF specials.
bool isPlainAscii(char16_t c) { return c >= 0x20 && c < 0x80 && c != '\\' && c != '{' && c != '}'; }

void RtfWriter::writeText(const QString& text, bool symbol, QByteArray& out)
{
    static const char hex[] = "0123456789abcdef";
    const QChar* chars = text.constData();
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = chars[i].unicode();
        if (!symbol && isPlainAscii(c)) {
            qsizetype end = i + 1;
            while (end < n && isPlainAscii(chars[end].unicode()))
                ++end;
            const qsizetype at = out.size();
            out.resize(at + (end - i));
            char* dst = out.data() + at;
            for (qsizetype k = i; k < end; ++k)
                *dst++ = char(chars[k].unicode());
            i = end - 1;
            continue;
        }
        if (c == '\t') {
            out += "\\tab ";
        } else if (c == QChar::LineSeparator) {
            out += "\\line ";
        } else if (c < 0x20 || c == QChar::ObjectReplacementCharacter || c == QChar::ParagraphSeparator) {
            continue; // nothing visible to keep
        } else if (symbol && c != ' ') {
            // Symbol fonts map bytes to their own glyphs: only Unicode is unambiguous.
            out += "\\u" + QByteArray::number(qint16(c)) + '?';
        } else if (c == '\\' || c == '{' || c == '}') {
            out += '\\';
            out += char(c);
        } else if (c < 0x80) {
            out += char(c);
        } else if (const int b = rtfcp::toCp1252(c); b >= 0) {
            out += "\\'";
            out += hex[b >> 4];
            out += hex[b & 15];
        } else {
            out += "\\u" + QByteArray::number(qint16(c)) + '?';
        }
    }
}

void RtfWriter::writePicture(const TWPRtfPicture& p, QByteArray& out)
{
    using K = TWPRtfPicture::Kind;
    out += "{\\pict";
    switch (p.kind) {
    case K::Png: out += "\\pngblip"; break;
    case K::Jpeg: out += "\\jpegblip"; break;
    case K::Dib: out += "\\dibitmap0"; break;
    case K::WBitmap:
        out += "\\wbitmap" + QByteArray::number(p.wbmType) + "\\wbmbitspixel" + QByteArray::number(p.wbmBitsPixel)
            + "\\wbmplanes" + QByteArray::number(p.wbmPlanes) + "\\wbmwidthbytes" + QByteArray::number(p.wbmWidthBytes);
        break;
    case K::Wmf: out += "\\wmetafile" + QByteArray::number(p.mapMode); break;
    case K::Emf: out += "\\emfblip"; break;
    case K::None: break;
    }
    out += "\\picw" + QByteArray::number(p.picw) + "\\pich" + QByteArray::number(p.pich);
    out += "\\picwgoal" + QByteArray::number(p.goalw) + "\\pichgoal" + QByteArray::number(p.goalh);
    if (p.scalex != 100 || p.scaley != 100)
        out += "\\picscalex" + QByteArray::number(p.scalex) + "\\picscaley" + QByteArray::number(p.scaley);
    const QByteArray hexData = p.data.toHex();
    for (qsizetype i = 0; i < hexData.size(); i += 128) {
        out += "\r\n";
        out += hexData.mid(i, 128);
    }
    out += "}";
}

QByteArray RtfWriter::write()
{
    QString deflt = m_doc.defaultFont().family();
    if (deflt.isEmpty())
        deflt = QStringLiteral("Arial");
    fontIndex(deflt);

    QByteArray body;
    for (QTextBlock block = m_doc.begin(); block.isValid(); block = block.next()) {
        body += "\\pard";
        const Qt::Alignment al = block.blockFormat().alignment();
        if (al & Qt::AlignHCenter)
            body += "\\qc";
        else if (al & Qt::AlignJustify)
            body += "\\qj";
        else if (al & Qt::AlignRight)
            body += "\\qr";
        // Runs whose written attributes are equal are merged, so that formats that
        // differ only in what RTF does not carry give the same bytes as one run.
        QByteArray runAttrs, runText, escaped;
        auto flushRun = [&] {
            if (runText.isEmpty())
                return;
            body += '{';
            if (!runAttrs.isEmpty())
                body += runAttrs + ' ';
            body += runText;
            body += '}';
            runText.clear();
        };
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            const QTextCharFormat f = frag.charFormat();
            const QString text = frag.text();
            if (f.isImageFormat()) {
                TWPRtfPicture pic = TWPRtfPicture::fromFormat(f);
                if (!pic.isValid()) {
                    // An image that came from elsewhere (a paste): keep its pixels.
                    const QVariant res = m_doc.resource(QTextDocument::ImageResource, QUrl(f.toImageFormat().name()));
                    const QImage img = res.value<QImage>();
                    if (img.isNull())
                        continue;
                    pic = TWPRtfPicture::fromImage(img, 96);
                }
                flushRun();
                for (QChar c : text)
                    if (c == QChar::ObjectReplacementCharacter)
                        writePicture(pic, body);
                continue;
            }
            const Attributes& a = fragmentAttributes(frag.charFormatIndex(), f);
            escaped.clear();
            writeText(text, a.symbol, escaped);
            if (escaped.isEmpty())
                continue;
            if (a.bytes != runAttrs)
                flushRun();
            runAttrs = a.bytes;
            runText += escaped;
        }
        flushRun();
        const QByteArray mark = fragmentAttributes(block.charFormatIndex(), block.charFormat()).bytes;
        if (mark.isEmpty())
            body += "\\par\r\n";
        else
            body += "{" + mark + "\\par}\r\n";
    }

    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl";
    for (size_t i = 0; i < m_fonts.size(); ++i) {
        const QString& name = m_fonts[i];
        out += "{\\f" + QByteArray::number(qsizetype(i)) + "\\fnil\\fcharset"
            + (rtfcp::isSymbolFontName(name) ? "2" : "0") + ' ';
        QString clean = name;
        clean.remove(QLatin1Char(';'));
        writeText(clean, false, out);
        out += ";}";
    }
    out += "}\r\n{\\colortbl ;";
    for (QRgb c : m_colors)
        out += "\\red" + QByteArray::number(qRed(c)) + "\\green" + QByteArray::number(qGreen(c)) + "\\blue"
            + QByteArray::number(qBlue(c)) + ';';
    out += "}\r\n\\uc1\r\n";
    out += body;
    out += "}\r\n";
    return out;
}

} // namespace

QByteArray WriteRtf(const QTextDocument& doc)
{
    return RtfWriter(doc).write();
}
