#pragma once
#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <vector>

// A sectioned initialisation file ("[Section]" lines, "key=value" lines) read and
// written the way the Windows profile functions do it, so files written by the
// older Windows program open unchanged and ours stay readable there:
// - section and key look-up ignores case; names are kept as written ("[Default Font]");
// - blanks around names and values are dropped; a value wrapped in one pair of
//   matching quotes loses them; everything else (backslashes, commas, '=') is verbatim;
// - the first of duplicated sections or keys wins;
// - lines that are neither (comments, blanks, junk) and entries we do not know are
//   kept where they were when the file is written back;
// - lines end in CR LF; the bytes are Windows-1252, or UTF-8 with a byte-order mark
//   when some text cannot be held by Windows-1252 or its bytes would begin like a
//   byte-order mark. A leading UTF-8 mark is honoured on reading (a UTF-16 mark too).
// Changes are made in memory; save() writes the whole file through QSaveFile.
class IniFile {
public:
    // A file larger than this is refused rather than read into memory.
    static constexpr qint64 MaxFileSize = 8 * 1024 * 1024;

    IniFile() = default;

    // Reads fileName and remembers it for save(). A missing file is an empty,
    // successfully loaded file. False (with errorString()) when the file exists but
    // cannot be read or is too large; the content is then empty and save() refuses
    // to write over the file, so nothing of it is lost.
    bool load(const QString& fileName);
    // Replaces the content with the parsed bytes (no file involved).
    void parse(const QByteArray& bytes);

    // Writes the content to the file given to load() (or to fileName); a file that holds
    // exactly these bytes already is not written again.
    bool save();
    bool save(const QString& fileName);
    QString fileName() const { return m_fileName; }
    QString errorString() const { return m_error; }

    // The file's bytes as save() would write them.
    QByteArray toBytes() const;

    bool sectionExists(const QString& section) const;
    bool valueExists(const QString& section, const QString& key) const;
    // Section names as written, in file order (first of duplicates only).
    QStringList sections() const;
    // Keys of a section as written, in file order (first of duplicates only).
    QStringList keys(const QString& section) const;
    // Every key=value entry of a section in file order, duplicates included.
    QList<QPair<QString, QString>> sectionValues(const QString& section) const;

    QString readString(const QString& section, const QString& key, const QString& defaultValue = {}) const;
    // Decimal with an optional sign, or hexadecimal after "$" or "0x"; anything else,
    // or a number outside int, yields the default.
    int readInteger(const QString& section, const QString& key, int defaultValue) const;
    // An integer value that is not 0 reads as true; a value that is no integer yields the default.
    bool readBool(const QString& section, const QString& key, bool defaultValue) const;

    // Replaces the first entry of the key, or adds one after the section's last
    // entry, or adds the section at the end of the file.
    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInteger(const QString& section, const QString& key, int value);
    void writeBool(const QString& section, const QString& key, bool value); // "1" / "0"

    void eraseSection(const QString& section); // every section of that name, with its lines
    void deleteKey(const QString& section, const QString& key);

private:
    struct Line {
        QString raw; // the line as read or as we composed it
        bool isEntry = false;
        QString key; // trimmed, as written
        QString value; // as returned by readString
    };
    struct Section {
        bool hasHeader = false; // false only for the lines before the first section
        QString name; // trimmed, as written
        QString headerRaw;
        std::vector<Line> lines;
    };

    const Section* findSection(const QString& name) const;
    Section* findSection(const QString& name);
    static const Line* findLine(const Section& s, const QString& key);
    static Line makeEntry(const QString& key, const QString& value);

    std::vector<Section> m_sections;
    QString m_fileName;
    QString m_error;
    bool m_loadFailed = false;
};
