#pragma once
#include <QByteArray>
#include <QString>

// Strings in files are Windows-1252 bytes. A string that Windows-1252 cannot hold is
// stored as the UTF-8 byte-order mark followed by UTF-8, so no character is lost while
// plain strings stay byte-identical to the legacy format.

// True when every character has a Windows-1252 byte.
bool isWin1252Encodable(const QString& s);

// Plain Windows-1252 bytes; characters without a byte become '?'.
QByteArray toWin1252(const QString& s);
QString fromWin1252(const QByteArray& bytes);

// The bytes a string is stored as: Windows-1252 when possible, else BOM + UTF-8. A
// string whose Windows-1252 bytes would themselves start with the mark is also stored
// as UTF-8, so that reading it back gives the same text.
QByteArray toFileString(const QString& s);
// A leading BOM followed by valid UTF-8 decodes as UTF-8; anything else as Windows-1252.
QString fromFileString(const QByteArray& bytes);
