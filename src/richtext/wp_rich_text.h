#pragma once
#include "richtext/rtf_renderer.h"
#include "richtext/rtf_storage.h"

#include <QColor>
#include <QImage>
#include <QTextCharFormat>
#include <QTextEdit>
#include <array>

// Character attributes as the cell editing works with them. A size of 0 means the
// character carries no size of its own ("no formatting"). The colour is an index into
// the editor's 16-colour table; a colour outside the table is kept in customColor
// (index 0 then), which wins over the index when valid.
struct TWPCharAttr {
    QString fontName;
    int size = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
    int colorIndex = 0;
    QColor customColor;

    bool operator==(const TWPCharAttr& o) const
    {
        return fontName == o.fontName && size == o.size && bold == o.bold && italic == o.italic
            && underline == o.underline && strikeout == o.strikeout && colorIndex == o.colorIndex
            && customColor == o.customColor;
    }
    bool operator!=(const TWPCharAttr& o) const { return !(*this == o); }
};

// The rich text editor used in place over day cells and in rich-text label dialogs.
class TWPRichText : public QTextEdit {
    Q_OBJECT
public:
    explicit TWPRichText(QWidget* parent = nullptr);

    // The classic Windows 16 colours: black, maroon, green, olive, navy, purple, teal,
    // gray, silver, red, lime, yellow, blue, fuchsia, aqua, white.
    static const std::array<QColor, 16>& colorTable();
    // The highest index whose colour equals c (RGB), 0 when none does.
    static int colorIndexOf(const QColor& c);

    // Text in and out (loading never emits changed()).
    void loadFromStorage(const TWPRtfStorage& storage);
    void storeToStorage(TWPRtfStorage& storage) const;
    void setRtf(const QByteArray& rtf);
    QByteArray rtf() const;
    void clearText();

    // The page the text is laid out on, and the zoom it is shown at.
    void setPageSizeTwips(int widthTwips, int heightTwips);
    int pageWidthTwips() const { return m_pageWidthTwips; }
    int pageHeightTwips() const { return m_pageHeightTwips; }
    void setZoom(int percent);
    int zoom() const { return m_zoom; }
    void setBackgroundColor(const QColor& c);
    QColor backgroundColor() const { return m_background; }
    void setDisplayMode(TWPDisplayMode mode) { m_mode = mode; }
    TWPDisplayMode displayMode() const { return m_mode; }

    // Typing attributes.
    TWPCharAttr currentAttr() const;
    void setCurrentAttr(const TWPCharAttr& attr);

    // Positions: every character, picture and paragraph end is one position;
    // characterCount() includes the final paragraph end.
    int characterCount() const;
    TWPCharAttr attrAt(int pos) const;
    void setCaretPosition(int pos);
    int caretPosition() const;
    void selectCharacter(int pos);
    TWPCharAttr selectionAttr() const;

    // Adds text as a new last paragraph (or into the only paragraph when it is empty),
    // every character with attr.
    void addParagraph(const QString& text, const TWPCharAttr& attr);
    // Inserts a bitmap at the caret as an embedded PNG picture at its pixel size.
    bool insertBitmap(const QImage& image);

    // No visible text and no picture.
    bool isEmptyText() const;

    // Paints the whole text into rect of any painter at the editor's zoom and page width.
    void paintTo(QPainter& painter, const QRect& rect) const;

    static QTextCharFormat formatFromAttr(const TWPCharAttr& attr);
    static TWPCharAttr attrFromFormat(const QTextCharFormat& f);

signals:
    // The user (or an editing operation) changed the text or its formatting.
    void changed();
    // The editor received the keyboard focus (the formatting bar attaches here).
    void entered();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    QMimeData* createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    void applyLayout();
    void prepareDocument();
    void onContentsChange(int position, int removed, int added);
    void dropPictureFormatFromTyping();

    int m_pageWidthTwips = 1440 * 2;
    int m_pageHeightTwips = 1440;
    int m_zoom = 100;
    QColor m_background = Qt::white;
    TWPDisplayMode m_mode = TWPDisplayMode::Screen;
    bool m_loading = false;
    QImage m_layoutDevice;
};
