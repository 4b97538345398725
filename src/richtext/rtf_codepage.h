#pragma once
#include <QByteArray>
#include <QString>

// Byte-to-Unicode decoding for the code pages RTF files name through \ansicpg,
// \fcharset and \cpg. Single-byte pages decode through a 256-entry table; the
// East Asian double-byte pages and UTF-8 go through the C library's iconv; Mac OS
// Japanese is Shift-JIS with the Mac's own single bytes and numbered symbols.
namespace rtfcp {

// The code page a font charset (\fcharsetN) stands for; 0 means "use \ansicpg".
// Charset 2 (symbol) returns kSymbolCodePage.
constexpr int kSymbolCodePage = -2;
constexpr int kMacRomanCodePage = 10000;
constexpr int kMacJapaneseCodePage = 10001;
constexpr int kUtf8CodePage = 65001;
int codePageForCharset(int charset);

// True for pages where one byte is one character.
bool isSingleByte(int codePage);

// Decodes one byte of a single-byte page (never fails: unknown bytes map to
// the same code point, as Windows does for the holes of cp1252).
QChar decodeByte(int codePage, unsigned char byte);

// Decodes bytes of any supported page; bytes that cannot be decoded become U+FFFD.
QString decode(int codePage, const QByteArray& bytes);

// The Adobe Symbol font's byte for a Unicode character of the symbol table.
QChar symbolToUnicode(unsigned char byte);

// The Windows-1252 byte for a character, or -1 when 1252 cannot hold it.
int toCp1252(char16_t c);

// Fonts whose glyphs sit on symbol code points rather than on Unicode text.
bool isSymbolFontName(const QString& family);

} // namespace rtfcp
