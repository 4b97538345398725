#include "rtf_document_builder.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <private/qtextdocument_p.h>
#include <private/qtextformat_p.h>

TWPRtfDocumentBuilder::TWPRtfDocumentBuilder(QTextDocument* doc)
    : m_doc(doc)
{
    m_doc->clear();
    m_priv = QTextDocumentPrivate::get(m_doc);
    m_priv->beginEditBlock();
}

TWPRtfDocumentBuilder::~TWPRtfDocumentBuilder()
{
    if (!m_finished)
        finish(m_doc->defaultFont());
}

int TWPRtfDocumentBuilder::charFormatIndex(const QTextCharFormat& format)
{
    return m_priv->formatCollection()->indexForFormat(format);
}

int TWPRtfDocumentBuilder::blockFormatIndex(const QTextBlockFormat& format)
{
    return m_priv->formatCollection()->indexForFormat(format);
}

void TWPRtfDocumentBuilder::startBlock(int blockFormat, int markFormat)
{
    flushParagraph();
    m_pending = true;
    m_newBlock = true;
    m_startBlockFormat = blockFormat;
    m_startMarkFormat = markFormat;
}

void TWPRtfDocumentBuilder::setBlockFormats(int blockFormat, int markFormat)
{
    if (!m_pending) {
        // The document's first block, before any of its text.
        m_pending = true;
        m_startBlockFormat = blockFormat;
        m_startMarkFormat = markFormat;
        return;
    }
    m_endBlockFormat = blockFormat;
    m_endMarkFormat = markFormat;
}

void TWPRtfDocumentBuilder::setBlockFormat(int blockFormat)
{
    m_pending = true;
    m_endBlockFormat = blockFormat;
}

void TWPRtfDocumentBuilder::addText(QStringView text, int format, bool startsBlocks)
{
    if (text.isEmpty())
        return;
    m_pending = true;
    m_frameChars |= startsBlocks;
    m_runs.push_back({qsizetype(m_text.size()), text.size(), format});
    m_text.append(text.utf16(), size_t(text.size()));
}

void TWPRtfDocumentBuilder::flushParagraph()
{
    if (!m_pending)
        return;
    if (m_frameChars) {
        replayThroughCursor();
    } else {
        const int blockFormat = m_endBlockFormat >= 0 ? m_endBlockFormat : m_startBlockFormat;
        const int markFormat = m_endMarkFormat >= 0 ? m_endMarkFormat : m_startMarkFormat;
        if (m_newBlock) {
            m_priv->insertBlock(m_priv->length() - 1, blockFormat, markFormat);
        } else {
            // The first block; no cursor is made for it, since every insertion visits
            // each cursor the document ever had room for.
            const QTextBlock first = m_priv->blocksBegin();
            if (blockFormat >= 0)
                m_priv->setBlockFormat(first, first, m_priv->formatCollection()->blockFormat(blockFormat));
            if (markFormat >= 0)
                m_priv->setCharFormat(-1, 1, m_priv->formatCollection()->charFormat(markFormat),
                                      QTextDocumentPrivate::SetFormatAndPreserveObjectIndices);
        }
        insertRuns();
    }
    m_pending = m_newBlock = m_frameChars = false;
    m_startBlockFormat = m_startMarkFormat = m_endBlockFormat = m_endMarkFormat = -1;
    m_runs.clear();
    m_text.clear(); // keeps its room for the next paragraph
}

// The paragraph's text goes into the document in one insertion, as one fragment in
// the first run's format; that fragment is then cut into one fragment per run. Qt
// would do the same for each run inserted on its own (a fragment per run, joined
// with the one before when the format and the text follow on), but would look up
// the block, the fragment, the format's object and the cursors again for each.
void TWPRtfDocumentBuilder::insertRuns()
{
    if (m_runs.empty())
        return;
    // Runs that follow on in the same format make one fragment, as Qt unites them.
    size_t kept = 0;
    for (size_t i = 1; i < m_runs.size(); ++i) {
        if (m_runs[i].format == m_runs[kept].format)
            m_runs[kept].length += m_runs[i].length;
        else
            m_runs[++kept] = m_runs[i];
    }
    m_runs.resize(kept + 1);

    const int at = m_priv->length() - 1;
    m_priv->insert(at, QString::fromRawData(reinterpret_cast<const QChar*>(m_text.data()), qsizetype(m_text.size())),
                   m_runs.front().format);
    if (m_runs.size() == 1)
        return;
    QTextDocumentPrivate::FragmentMap& fragments = m_priv->fragmentMap();
    // The text's fragment; should Qt have joined it to the one before, that one keeps
    // its own text and the first run.
    const uint first = fragments.findNode(at);
    const int before = int(fragments.size(first)) - int(m_text.size());
    QTextFragmentData* data = fragments.fragment(first);
    const int textStart = data->stringPosition + before;
    fragments.setSize(first, before + int(m_runs.front().length));
    for (size_t i = 1; i < m_runs.size(); ++i) {
        const Run& run = m_runs[i];
        const uint node = fragments.insert_single(at + int(run.start), uint(run.length));
        data = fragments.fragment(node);
        data->format = run.format;
        data->stringPosition = textStart + int(run.start);
    }
}

// The characters that start blocks of their own split the paragraph where they stand;
// a cursor does that, in the order the reader asked for it.
void TWPRtfDocumentBuilder::replayThroughCursor()
{
    const QTextFormatCollection* formats = m_priv->formatCollection();
    QTextCursor c(m_doc);
    c.movePosition(QTextCursor::End);
    if (m_newBlock) {
        c.insertBlock(formats->blockFormat(m_startBlockFormat), formats->charFormat(m_startMarkFormat));
    } else {
        if (m_startBlockFormat >= 0)
            c.setBlockFormat(formats->blockFormat(m_startBlockFormat));
        if (m_startMarkFormat >= 0)
            c.setBlockCharFormat(formats->charFormat(m_startMarkFormat));
    }
    for (const Run& run : m_runs)
        c.insertText(QString(reinterpret_cast<const QChar*>(m_text.data()) + run.start, run.length),
                     formats->charFormat(run.format));
    if (m_endBlockFormat >= 0)
        c.setBlockFormat(formats->blockFormat(m_endBlockFormat));
    if (m_endMarkFormat >= 0)
        c.setBlockCharFormat(formats->charFormat(m_endMarkFormat));
}

void TWPRtfDocumentBuilder::setDefaultFont(const QFont& font)
{
    if (m_defaultFontSet && font == m_defaultFont && font.families() == m_defaultFont.families())
        return;
    m_doc->setDefaultFont(font);
    m_defaultFont = font;
    m_defaultFontSet = true;
}

void TWPRtfDocumentBuilder::finish(const QFont& defaultFont)
{
    if (m_finished)
        return;
    flushParagraph();
    setDefaultFont(defaultFont);
    m_priv->endEditBlock();
    m_finished = true;
}
