#pragma once
#include "calendar/calendar_page.h"
#include "stream/component_record.h"
#include "stream/stream_error.h"
#include "stream/stream_reader.h"
#include "stream/stream_writer.h"

#include <QFile>
#include <QIODevice>
#include <QString>
#include <functional>

// Calendar files (".OVF"): the page settings, the border name, dates, the day-planner
// starting time, 42 day-cell records, the user title and the placed objects, in the
// typed-value encoding. We write format version 4 and read versions 1 to 4.
//
// Every read failure throws EStreamError with a reason for the user; settings read
// before the failure stay in the page. Write failures throw EStreamError too.

constexpr int kCalendarFormatVersion = 4;
constexpr int kCalendarFileKind = 1;
constexpr int kStyleSheetFileKind = 2;

// Writes the records of the placed objects, between the list tags the file writes
// itself (so writing nothing gives an empty list).
using ObjectSectionWriter = std::function<void(TStreamWriter&)>;
// Reads the object section: called right after its list-begin tag, it reads records up
// to and including the closing end-of-list tag. Whatever it throws is swallowed by the
// loader (objects read so far stay). Without one the records are skipped.
using ObjectSectionReader = std::function<void(TStreamReader&)>;

// What a load saw besides the settings: the format version and file kind as stored,
// and the border name as stored in the file (the page keeps it only when it is a
// plain name whose picture exists).
struct TCalendarFileInfo {
    int version = 0;
    int kind = 0;
    QString borderName;
    bool objectSectionFailed = false; // an error inside the object section was swallowed
};

void SaveCalendarFile(const TCalendarPage& page, QIODevice& device, const ObjectSectionWriter& objects = {});
// Writes through QSaveFile: an existing file is replaced only when all went well.
void SaveCalendarFile(const TCalendarPage& page, const QString& fileName, const ObjectSectionWriter& objects = {});

// The caller empties the page (cells and placed objects) first. Ends with a relayout
// (without the mini-font reset), also when it fails.
void LoadCalendarFile(TCalendarPage& page, QIODevice& device, const ObjectSectionReader& objects = {},
                      TCalendarFileInfo* info = nullptr);
void LoadCalendarFile(TCalendarPage& page, const QString& fileName, const ObjectSectionReader& objects = {},
                      TCalendarFileInfo* info = nullptr);

// The 32 groups of settings shared by calendar files and style sheets.
void WriteSettingsBlock(TStreamWriter& w, const TCalendarSettings& s);
// What a calendar file stores of the page before its cells: the settings block, the
// border name, the dates and the day planner's starting time.
void WritePageSettings(TStreamWriter& w, const TCalendarSettings& s);
// Stores each value directly as it is read (no setters). Values no page can hold (an
// enumeration ordinal out of range, month 13, a negative margin, an absurd font size)
// are errors.
void ReadSettingsBlock(TStreamReader& r, TCalendarSettings& s);

// The header every calendar file and style sheet starts with: list begin, version, kind.
void ReadFileHeader(TStreamReader& r, int& version, int& kind);

// A border name read from a file is only used as a file name when it is a plain name:
// no path separator, no "..", no drive colon, no control character.
bool isPlainBorderName(const QString& name);

// Day-cell records: class "TWPRtfStorage", an empty name, "RtfText.Data" when the cell
// holds text (RTF followed by four zero bytes).
void WriteCellRecord(TStreamWriter& w, const TWPRtfStorage& cell);
void ReadCellRecord(TStreamReader& r, TWPRtfStorage& cell);

// Opens a file for reading or throws EStreamError.
void openDocumentFile(QFile& file);
