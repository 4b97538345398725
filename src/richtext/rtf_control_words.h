#pragma once
#include <cstdint>
#include <string_view>

// The control words the RTF reader acts on. A word is looked up once, as it is read;
// the reader then switches on what it stands for. Spellings that mean the same to the
// reader share one value (the underline styles, "\qj" and "\qd", "\cpg" and "\fcpg").
namespace rtfword {

enum class Word : std::uint8_t {
    None, // a word the reader ignores
    // destinations
    Bin, Ud, Shppict, NestTableProps, FontTable, ColorTable, Pict, Upr,
    SkippedDestination, // a destination whose content never shows
    // font table
    F, FCharset, Cpg,
    // colour table
    Red, Green, Blue,
    // pictures
    PngBlip, JpegBlip, DiBitmap, WBitmap, WMetafile, EmfBlip, OtherPicture, PicW, PicH, PicWGoal,
    PicHGoal, PicScaleX, PicScaleY, WbmBitsPixel, WbmPlanes, WbmWidthBytes,
    // document, paragraph and character properties
    AnsiCpg, Ansi, Mac, Pc, Pca, Deff, Pard, Ql, Qr, Qc, Qj, Plain, B, I, Ul, UlNone, Strike, Super,
    Sub, Up, Dn, NoSuperSub, V, Cf, Cb, Highlight, Fs, U, Uc,
    // text
    Par, Page, Sect, Row, NestRow, Line, Tab, Cell, NestCell, Bullet, EmDash, EnDash, EmSpace,
    EnSpace, LQuote, RQuote, LDblQuote, RDblQuote, Zwj, Zwnj,
};

// What a control word (its letters only, without parameter) stands for; Word::None for
// words the reader does not know, including any longer than the longest it knows.
Word lookUp(std::string_view letters);

} // namespace rtfword
