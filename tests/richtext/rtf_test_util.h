#pragma once
#include <QByteArray>
#include <QImage>
#include <QString>

class QTextDocument;

namespace rtftest {

// A compact, normalised description of a document's text and formatting: one line per
// paragraph, "<align>|" then runs "{attrs}text" and finally "{attrs}¶" for the mark.
// Equal formatting gives equal descriptions however the formats were built.
QString describe(const QTextDocument& doc);

// Reads RTF and describes the result.
QString describeRtf(const QByteArray& rtf);

// write(read(rtf)).
QByteArray normalise(const QByteArray& rtf);

// A small PNG with a few colours, and its bytes.
QImage sampleImage(int w = 6, int h = 4);
QByteArray pngBytes(const QImage& img);

} // namespace rtftest
