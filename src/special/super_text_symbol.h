#pragma once
#include <QDialog>
#include <QList>
#include <functional>

class QComboBox;
class QPushButton;
class QTableWidget;

// An installed font as the symbol selector judges it.
struct TInstalledFont {
    QString family;
    bool trueType = false; // an outline font
    bool symbolCharset = false;
};
using TInstalledFontSource = std::function<QList<TInstalledFont>()>;
// The fonts of this machine: scalable ones are outline fonts; a font counts as a symbol
// font when it covers no alphabet but symbols, or calls itself a symbol or dingbat font.
QList<TInstalledFont> InstalledFonts();
// Tests hand in their own list; an empty function restores the machine's.
void setInstalledFontSource(TInstalledFontSource source);

// "Symbol Selector": one character of a symbol font, picked from a grid of the codes
// 32 to 255.
class TSuperTextGetSymbol : public QDialog {
    Q_OBJECT
public:
    explicit TSuperTextGetSymbol(QWidget* parent = nullptr);

    QComboBox* SymbolSets = nullptr;
    QTableWidget* SymbolList = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;

    // Fills the font box; without any symbol font says so and returns false (the dialog
    // is then not to be shown).
    bool Prepare();
    // The chosen character (one) and the font it belongs to.
    QString SymbolText() const { return m_symbol; }
    QString SymbolFontName() const;

    // The character of a grid code: Windows-1252, as the program stores text.
    static QString CharacterOfCode(int code);

private:
    void selectFont(int index);
    void choose(int row, int column);
    void okClick();

    QString m_symbol;
};
