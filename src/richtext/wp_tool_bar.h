#pragma once
#include <QPointer>
#include <QToolBar>

class QAction;
class QActionGroup;
class QComboBox;
class TFontNameBox;
class TWPRichText;

// The formatting bar of a rich text editor: font name, size and colour lists; bold,
// italic, underline; left, right and centred alignment; copy, cut, paste, select all.
// It follows the attached editor's caret and applies its controls to that editor.
class TWPToolBar : public QToolBar {
    Q_OBJECT
public:
    explicit TWPToolBar(QWidget* parent = nullptr);

    void attach(TWPRichText* editor);
    void detach() { attach(nullptr); }
    TWPRichText* editor() const { return m_editor; }

    TFontNameBox* fontNameBox() const { return m_fontName; }
    QComboBox* fontSizeBox() const { return m_fontSize; }
    QComboBox* fontColorBox() const { return m_fontColor; }
    QAction* boldAction() const { return m_bold; }
    QAction* italicAction() const { return m_italic; }
    QAction* underlineAction() const { return m_underline; }
    QAction* alignLeftAction() const { return m_left; }
    QAction* alignRightAction() const { return m_right; }
    QAction* alignCenterAction() const { return m_center; }
    QAction* copyAction() const { return m_copy; }
    QAction* cutAction() const { return m_cut; }
    QAction* pasteAction() const { return m_paste; }
    QAction* selectAllAction() const { return m_selectAll; }

    // Reads the attached editor's attributes at the caret into the controls.
    void updateFromEditor();

private:
    void applyFontName();
    void applyFontSize();
    void applyColor(int index);
    void applyStyle(QAction* which);
    void applyAlignment(QAction* which);
    QAction* makeAction(const QString& name, const QString& text, const QString& tip, bool checkable);

    QPointer<TWPRichText> m_editor;
    QList<QMetaObject::Connection> m_links;
    bool m_updating = false;

    TFontNameBox* m_fontName = nullptr;
    QComboBox* m_fontSize = nullptr;
    QComboBox* m_fontColor = nullptr;
    QAction* m_bold = nullptr;
    QAction* m_italic = nullptr;
    QAction* m_underline = nullptr;
    QActionGroup* m_alignGroup = nullptr;
    QAction* m_left = nullptr;
    QAction* m_right = nullptr;
    QAction* m_center = nullptr;
    QAction* m_copy = nullptr;
    QAction* m_cut = nullptr;
    QAction* m_paste = nullptr;
    QAction* m_selectAll = nullptr;
};
