#include "cell_lines.h"

#include "shell/preferences.h"

TWPCharAttr DefaultFontAttr(TWPCharAttr attr, const TPreferences& preferences)
{
    attr.fontName = preferences.DefaultFontName;
    attr.size = preferences.DefaultFontSize;
    // Styles that are on in the default font are added; the others stay as they were.
    attr.bold = attr.bold || preferences.DefaultFontBold;
    attr.italic = attr.italic || preferences.DefaultFontItalic;
    attr.underline = attr.underline || preferences.DefaultFontUnderline;
    attr.strikeout = attr.strikeout || preferences.DefaultFontStrikeout;
    attr.colorIndex = TWPRichText::colorIndexOf(toQColor(preferences.DefaultFontColor));
    return attr;
}

QByteArray AppendCellLine(TWPRichText& editor, const QByteArray& rtf, const QString& text,
                          const std::function<TWPCharAttr()>& defaultAttr)
{
    editor.setRtf(rtf);
    TWPCharAttr attr;
    if (editor.isEmptyText()) {
        attr = defaultAttr();
    } else {
        int pos = editor.characterCount() - 1;
        attr = editor.attrAt(pos);
        while (attr.size == 0 && pos > -1) {
            --pos;
            attr = editor.attrAt(pos);
        }
    }
    editor.addParagraph(text, attr);
    return editor.rtf();
}
