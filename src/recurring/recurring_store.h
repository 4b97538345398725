#pragma once
#include <QString>
#include <QStringList>

#include <optional>

// The user's recurring dates: "OVRECUR.DAX" in the user-data folder, one entry per
// line, CRLF line ends, no header. Text is Windows-1252; a store holding a character
// 1252 cannot represent, or whose first line begins like the UTF-8 byte-order mark, is
// written as UTF-8 behind a byte-order mark.

// Sanity limit for the store; a real one holds a few hundred lines.
inline constexpr qint64 kMaxRecurringStoreBytes = 16 * 1024 * 1024;

QString RecurringStoreFileName(); // UserDataFolder() + "OVRECUR.DAX"
QString OldRecurringStoreFileName(); // UserDataFolder() + "OVRECUR.DAT"

// Decodes store bytes: a leading UTF-8 mark means UTF-8, anything else is Windows-1252.
// Lines may end in CRLF, LF or CR; empty lines are no entries and are skipped.
QStringList DecodeRecurringLines(const QByteArray& bytes);
// Each line followed by CRLF, in Windows-1252 when every line fits it.
QByteArray EncodeRecurringLines(const QStringList& lines);

struct RecurringStoreRead {
    bool exists = false;
    QStringList lines;
    QString error; // non-empty when the file exists but could not be read
};

// Reads a store file (any path; the program uses RecurringStoreFileName()).
RecurringStoreRead ReadRecurringStore(const QString& fileName);
// Replaces the file through QSaveFile; false (with *error set) on failure.
bool WriteRecurringStore(const QString& fileName, const QStringList& lines, QString* error = nullptr);

// The one-time conversion of the older store: every "MMDD<name>" line of
// "OVRECUR.DAT" becomes PadField(name, 120) + "@" + PadField(MMDD, 10) in
// "OVRECUR.DAX" (replacing it), then the old file is deleted. Nothing happens without
// an old store; the old store is kept when the new one cannot be written.
// Returns false only when an old store existed and could not be converted.
bool ConvertOldRecurringStore(QString* error = nullptr);
// The conversion of one old line.
QString ConvertOldRecurringLine(const QString& line);

// Windows-1252 helpers (exposed for tests).
QString DecodeWindows1252(const QByteArray& bytes);
std::optional<QByteArray> EncodeWindows1252(const QString& text);
