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
    // The highest matching entry of the colour table, 0 when none matches. The custom
    // colour agrees with it: cleared, so a colour of the text the caret stood in cannot
    // win, or the default colour itself when the table lacks it.
    const QColor wanted = toQColor(preferences.DefaultFontColor);
    attr.colorIndex = TWPRichText::colorIndexOf(wanted);
    const bool inTable = TWPRichText::colorTable()[size_t(attr.colorIndex)].rgb() == wanted.rgb();
    attr.customColor = inTable ? QColor() : wanted;
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
