#pragma once
#include <QByteArray>
#include <QString>

class QTextDocument;

// Reads RTF into a document (replacing its content). Unknown control words and
// "\*" destinations are skipped; damaged or truncated input yields what could be
// read. Bytes that do not start with "{\rtf" are taken as plain Windows-1252 text.
// Returns false when the input was not well-formed RTF (the document still holds
// what was read).
bool ReadRtf(const QByteArray& rtf, QTextDocument* doc);

// How much of a text to read when only its start can be shown. A paragraph or line
// break counts as a character and as a line, a picture as a character.
struct TWPRtfReadLimit {
    qsizetype maxChars = -1; // -1: no limit
    qsizetype maxLines = -1;
};

// The text a document read by ReadRtf gives as its plain text (paragraphs and line
// breaks as "\n", a picture as U+FFFC), read without building the document.
QString ReadRtfPlainText(const QByteArray& rtf);

// Reads like ReadRtf but stops at the limit; true when text was left unread.
bool ReadRtfStart(const QByteArray& rtf, QTextDocument* doc, const TWPRtfReadLimit& limit);

// True when the RTF carries any visible text (anything but blanks, tabs and line
// or paragraph breaks) or a picture. Stops at the first such item.
bool RtfHasContent(const QByteArray& rtf);
