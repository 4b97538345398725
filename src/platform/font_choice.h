#pragma once
#include <QColor>
#include <QFont>
#include <QString>
#include <optional>

// The family Qt actually draws for a family name: the name itself when the machine has
// it, else its substitute ("Times New Roman" → "Liberation Serif", "Arial" →
// "Liberation Sans", "Courier New" → "Liberation Mono").
QString DrawnFontFamily(const QString& family);

// The font dialog for a font as a document stores it (every font button uses this).
// The dialog opens on the face actually drawn and shows the stored name; accepting
// that face keeps the stored family name, so a file's "Arial" stays "Arial" on a
// machine that draws it with its Liberation twin. Only picking another family changes
// the name. Size and styles are the dialog's. color: as Prompter::chooseFont.
std::optional<QFont> ChooseStoredFont(const QFont& stored, const QString& title, QColor* color = nullptr);
