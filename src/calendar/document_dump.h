#pragma once
#include <QByteArray>
#include <QString>

// The document in a calendar file or style sheet as indented JSON, for
// `orvanta-cli dump`: format_version, file_kind, settings (keyed by the page's property
// names, enumerations by name, colours as integers, fonts as objects), WMFBorderFile as
// stored, and for calendar files the dates, StartingTime ("HH:MM"), UserTitle, the 42
// cells ({"index", "text", "rtf"}) and the placed objects ({"class", "name",
// "properties"}). A file whose kind is 2 is read as a style sheet.
// Throws EStreamError when the file cannot be read.
QByteArray DumpDocumentJson(const QString& path);
