#pragma once
#include <QFont>
#include <QString>
#include <string>
#include <vector>

class QTextBlockFormat;
class QTextCharFormat;
class QTextDocument;
class QTextDocumentPrivate;

// Builds a document paragraph by paragraph, appending at its end. A paragraph's
// formats are known only when it ends (its mark takes the character format current at
// the paragraph mark), so each one is held until then and inserted in one go, with
// its final formats, straight into the document's piece table: the document comes out
// exactly as if built through a cursor that inserts and then reformats, at a fraction
// of the cost.
class TWPRtfDocumentBuilder {
public:
    explicit TWPRtfDocumentBuilder(QTextDocument* doc); // clears the document
    ~TWPRtfDocumentBuilder();
    TWPRtfDocumentBuilder(const TWPRtfDocumentBuilder&) = delete;
    TWPRtfDocumentBuilder& operator=(const TWPRtfDocumentBuilder&) = delete;

    int charFormatIndex(const QTextCharFormat& format);
    int blockFormatIndex(const QTextBlockFormat& format);

    // Starts a new block after the current one, with these formats.
    void startBlock(int blockFormat, int markFormat);
    // Gives the current block these formats (the first block, or the block at its end).
    void setBlockFormats(int blockFormat, int markFormat);
    void setBlockFormat(int blockFormat);
    // Text in a character format; startsBlocks: it holds U+FDD0 or U+FDD1, which the
    // document takes as the start of a block of their own.
    void addText(QStringView text, int format, bool startsBlocks);
    // The font text without a font of its own shows in; formats made after it is given
    // need not be resolved again.
    void setDefaultFont(const QFont& font);
    // Sets the default font and ends the edit; nothing may be added afterwards.
    void finish(const QFont& defaultFont);

private:
    void flushParagraph();
    void insertRuns();
    void replayThroughCursor();

    QTextDocument* m_doc;
    QTextDocumentPrivate* m_priv;
    bool m_finished = false;
    bool m_defaultFontSet = false;
    QFont m_defaultFont;

    // The paragraph held back.
    struct Run {
        qsizetype start, length; // in m_text
        int format;
    };
    bool m_newBlock = false;      // it starts with a block of its own (else: the first block)
    int m_startBlockFormat = -1;  // formats it started with; -1: none given
    int m_startMarkFormat = -1;
    int m_endBlockFormat = -1;    // formats given later (at its end); -1: none
    int m_endMarkFormat = -1;
    bool m_frameChars = false;    // a run holds a character that starts a block
    std::u16string m_text; // the paragraph's text, its runs one after the other
    std::vector<Run> m_runs;
    bool m_pending = false;
};
