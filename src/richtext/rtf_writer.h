#pragma once
#include <QByteArray>

class QTextDocument;

// Writes a document as RTF. The output is deterministic: fonts and colours are
// numbered in order of first use, only set character attributes are written, text
// outside Windows-1252 is written as \uN with a "?" fallback, and every picture is
// written from its kept original bytes. Reading the output back and writing it
// again gives the same bytes.
QByteArray WriteRtf(const QTextDocument& doc);
