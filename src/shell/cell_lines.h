#pragma once
#include "richtext/wp_rich_text.h"

#include <QByteArray>
#include <functional>

struct TPreferences;

// The default editor font of the preferences laid over base: name, size and colour
// replace base's, styles that are on in the default font are added.
TWPCharAttr DefaultFontAttr(TWPCharAttr base, const TPreferences& preferences);

// A cell's rich text with one more paragraph holding text (what filling a calendar from
// recurring dates writes): in the attributes of the last sized character, or in
// defaultAttr() when the cell is empty. editor is a work editor; it is left holding the
// result.
QByteArray AppendCellLine(TWPRichText& editor, const QByteArray& rtf, const QString& text,
                          const std::function<TWPCharAttr()>& defaultAttr);
