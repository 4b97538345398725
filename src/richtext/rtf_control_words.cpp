#include "rtf_control_words.h"

#include <algorithm>
#include <array>

namespace rtfword {
namespace {

struct Entry {
    std::string_view name;
    Word word;
};

constexpr Entry kWords[] = {
    {"bin", Word::Bin}, {"ud", Word::Ud}, {"shppict", Word::Shppict}, {"nesttableprops", Word::NestTableProps},
    {"fonttbl", Word::FontTable}, {"colortbl", Word::ColorTable}, {"pict", Word::Pict}, {"upr", Word::Upr},

    // Destinations whose content never shows.
    {"info", Word::SkippedDestination}, {"stylesheet", Word::SkippedDestination},
    {"header", Word::SkippedDestination}, {"headerl", Word::SkippedDestination},
    {"headerr", Word::SkippedDestination}, {"headerf", Word::SkippedDestination},
    {"footer", Word::SkippedDestination}, {"footerl", Word::SkippedDestination},
    {"footerr", Word::SkippedDestination}, {"footerf", Word::SkippedDestination},
    {"footnote", Word::SkippedDestination}, {"annotation", Word::SkippedDestination},
    {"nonshppict", Word::SkippedDestination}, {"listtable", Word::SkippedDestination},
    {"listoverridetable", Word::SkippedDestination}, {"revtbl", Word::SkippedDestination},
    {"rsidtbl", Word::SkippedDestination}, {"filetbl", Word::SkippedDestination},
    {"pgdsctbl", Word::SkippedDestination}, {"xmlnstbl", Word::SkippedDestination},
    {"themedata", Word::SkippedDestination}, {"colorschememapping", Word::SkippedDestination},
    {"latentstyles", Word::SkippedDestination}, {"datastore", Word::SkippedDestination},
    {"generator", Word::SkippedDestination}, {"objdata", Word::SkippedDestination},
    {"objclass", Word::SkippedDestination}, {"fldinst", Word::SkippedDestination},
    {"bkmkstart", Word::SkippedDestination}, {"bkmkend", Word::SkippedDestination},
    {"pn", Word::SkippedDestination}, {"pnseclvl", Word::SkippedDestination},
    {"atnid", Word::SkippedDestination}, {"atnauthor", Word::SkippedDestination},
    {"atrfstart", Word::SkippedDestination}, {"atrfend", Word::SkippedDestination},
    {"atndate", Word::SkippedDestination}, {"shpinst", Word::SkippedDestination},
    {"xe", Word::SkippedDestination}, {"tc", Word::SkippedDestination}, {"tcn", Word::SkippedDestination},
    {"do", Word::SkippedDestination}, {"template", Word::SkippedDestination},
    {"author", Word::SkippedDestination}, {"operator", Word::SkippedDestination},
    {"title", Word::SkippedDestination}, {"subject", Word::SkippedDestination},
    {"keywords", Word::SkippedDestination}, {"comment", Word::SkippedDestination},
    {"doccomm", Word::SkippedDestination}, {"company", Word::SkippedDestination},
    {"category", Word::SkippedDestination}, {"hlinkbase", Word::SkippedDestination},
    {"creatim", Word::SkippedDestination}, {"revtim", Word::SkippedDestination},
    {"printim", Word::SkippedDestination}, {"buptim", Word::SkippedDestination},
    {"private", Word::SkippedDestination}, {"userprops", Word::SkippedDestination},
    {"mmathPr", Word::SkippedDestination}, {"listpicture", Word::SkippedDestination},
    {"txe", Word::SkippedDestination}, {"blipuid", Word::SkippedDestination},
    {"picprop", Word::SkippedDestination}, {"pgptbl", Word::SkippedDestination},
    {"defchp", Word::SkippedDestination}, {"defpap", Word::SkippedDestination},
    {"wgrffmtfilter", Word::SkippedDestination}, {"docvar", Word::SkippedDestination},
    {"ftnsep", Word::SkippedDestination}, {"ftnsepc", Word::SkippedDestination},
    {"ftncn", Word::SkippedDestination}, {"aftnsep", Word::SkippedDestination},
    {"aftnsepc", Word::SkippedDestination}, {"aftncn", Word::SkippedDestination},
    {"fchars", Word::SkippedDestination}, {"lchars", Word::SkippedDestination},
    {"panose", Word::SkippedDestination}, {"falt", Word::SkippedDestination},
    {"fname", Word::SkippedDestination}, {"listname", Word::SkippedDestination},
    // What readers without nested tables show instead of them: we show the tables.
    {"nonesttables", Word::SkippedDestination},

    {"f", Word::F}, {"fcharset", Word::FCharset}, {"cpg", Word::Cpg}, {"fcpg", Word::Cpg},
    {"red", Word::Red}, {"green", Word::Green}, {"blue", Word::Blue},

    {"pngblip", Word::PngBlip}, {"jpegblip", Word::JpegBlip}, {"dibitmap", Word::DiBitmap},
    {"wbitmap", Word::WBitmap}, {"wmetafile", Word::WMetafile}, {"emfblip", Word::EmfBlip},
    {"macpict", Word::OtherPicture}, {"pmmetafile", Word::OtherPicture}, {"picw", Word::PicW},
    {"pich", Word::PicH}, {"picwgoal", Word::PicWGoal}, {"pichgoal", Word::PicHGoal},
    {"picscalex", Word::PicScaleX}, {"picscaley", Word::PicScaleY},
    {"wbmbitspixel", Word::WbmBitsPixel}, {"wbmplanes", Word::WbmPlanes},
    {"wbmwidthbytes", Word::WbmWidthBytes},

    {"ansicpg", Word::AnsiCpg}, {"ansi", Word::Ansi}, {"mac", Word::Mac}, {"pc", Word::Pc},
    {"pca", Word::Pca}, {"deff", Word::Deff}, {"pard", Word::Pard}, {"ql", Word::Ql}, {"qr", Word::Qr},
    {"qc", Word::Qc}, {"qj", Word::Qj}, {"qd", Word::Qj}, {"plain", Word::Plain}, {"b", Word::B},
    {"i", Word::I}, {"ul", Word::Ul}, {"uld", Word::Ul}, {"uldb", Word::Ul}, {"ulw", Word::Ul},
    {"uldash", Word::Ul}, {"uldashd", Word::Ul}, {"uldashdd", Word::Ul}, {"ulwave", Word::Ul},
    {"ulth", Word::Ul}, {"ulthd", Word::Ul}, {"ulhwave", Word::Ul}, {"ulldash", Word::Ul},
    {"ululdbwave", Word::Ul}, {"ulthdash", Word::Ul}, {"ulthldash", Word::Ul},
    {"ulthdashd", Word::Ul}, {"ulthdashdd", Word::Ul}, {"ulnone", Word::UlNone},
    {"strike", Word::Strike}, {"striked", Word::Strike}, {"super", Word::Super}, {"sub", Word::Sub},
    {"up", Word::Up}, {"dn", Word::Dn}, {"nosupersub", Word::NoSuperSub}, {"v", Word::V},
    {"cf", Word::Cf}, {"cb", Word::Cb}, {"highlight", Word::Highlight}, {"fs", Word::Fs},
    {"u", Word::U}, {"uc", Word::Uc},

    {"par", Word::Par}, {"page", Word::Page}, {"sect", Word::Sect}, {"row", Word::Row},
    {"nestrow", Word::NestRow}, {"line", Word::Line}, {"tab", Word::Tab}, {"cell", Word::Cell},
    {"nestcell", Word::NestCell}, {"bullet", Word::Bullet}, {"emdash", Word::EmDash},
    {"endash", Word::EnDash}, {"emspace", Word::EmSpace}, {"enspace", Word::EnSpace},
    {"lquote", Word::LQuote}, {"rquote", Word::RQuote}, {"ldblquote", Word::LDblQuote},
    {"rdblquote", Word::RDblQuote}, {"zwj", Word::Zwj}, {"zwnj", Word::Zwnj},
};

constexpr size_t kLongest = [] {
    size_t n = 0;
    for (const Entry& e : kWords)
        n = std::max(n, e.name.size());
    return n;
}();
constexpr size_t kSlots = 1024; // a few times the number of words; slotFor gives ten bits

// From the length and three letters in one multiplication: no loop over the word, and
// few words share a slot.
constexpr size_t slotFor(std::string_view w)
{
    const auto at = [&](size_t i) { return std::uint64_t(static_cast<unsigned char>(w[i])); };
    const std::uint64_t key = std::uint64_t(w.size()) | at(0) << 8 | at(w.size() - 1) << 16 | at(w.size() / 2) << 24;
    return size_t((key * 0x9E3779B97F4A7C15ull) >> 54); // the top ten bits: kSlots == 1024
}

struct Slot {
    char name[kLongest] = {};
    std::uint8_t length = 0; // 0: empty
    Word word = Word::None;
};

// Open addressing, laid out at compile time.
constexpr std::array<Slot, kSlots> kTable = [] {
    std::array<Slot, kSlots> t{};
    for (const Entry& e : kWords) {
        size_t i = slotFor(e.name);
        while (t[i].length)
            i = (i + 1) & (kSlots - 1);
        for (size_t k = 0; k < e.name.size(); ++k)
            t[i].name[k] = e.name[k];
        t[i].length = std::uint8_t(e.name.size());
        t[i].word = e.word;
    }
    return t;
}();

// One-letter words (u, f, b and i make most of a document's words) by their letter.
constexpr std::array<Word, 256> kOneLetter = [] {
    std::array<Word, 256> t{};
    for (const Entry& e : kWords)
        if (e.name.size() == 1)
            t[static_cast<unsigned char>(e.name[0])] = e.word;
    return t;
}();

} // namespace

Word lookUp(std::string_view letters)
{
    if (letters.size() == 1)
        return kOneLetter[static_cast<unsigned char>(letters[0])];
    if (letters.empty() || letters.size() > kLongest)
        return Word::None;
    for (size_t i = slotFor(letters);; i = (i + 1) & (kSlots - 1)) {
        const Slot& slot = kTable[i];
        if (!slot.length)
            return Word::None;
        if (slot.length == letters.size()) {
            size_t k = 0;
            while (k < letters.size() && slot.name[k] == letters[k])
                ++k;
            if (k == letters.size())
                return slot.word;
        }
    }
}

} // namespace rtfword
