#include "recurring_store.h"

#include "platform/program_folder.h"
#include "recurring_formula.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace {

// 0x80..0x9F of Windows-1252; 0 marks the five unassigned bytes, which are read as the
// C1 control of the same value (as Windows itself does).
const char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

const QByteArray kUtf8Mark("\xEF\xBB\xBF", 3);

} // namespace

QString DecodeWindows1252(const QByteArray& bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b >= 0x80 && b <= 0x9F && kCp1252High[b - 0x80] != 0)
            out.append(QChar(kCp1252High[b - 0x80]));
        else
            out.append(QChar(char16_t(b)));
    }
    return out;
}

std::optional<QByteArray> EncodeWindows1252(const QString& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            out.append(char(u));
            continue;
        }
        int found = -1;
        for (int i = 0; i < 32; ++i) {
            const char16_t mapped = kCp1252High[i] != 0 ? kCp1252High[i] : char16_t(0x80 + i);
            if (mapped == u) {
                found = i;
                break;
            }
        }
        if (found < 0)
            return std::nullopt;
        out.append(char(0x80 + found));
    }
    return out;
}

QString RecurringStoreFileName() { return UserDataFolder() + QStringLiteral("OVRECUR.DAX"); }
QString OldRecurringStoreFileName() { return UserDataFolder() + QStringLiteral("OVRECUR.DAT"); }

QStringList DecodeRecurringLines(const QByteArray& bytes)
{
    QString text;
    if (bytes.startsWith(kUtf8Mark)) {
        // A U+FEFF that begins the first line itself is kept.
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
        text = decoder(QByteArrayView(bytes).sliced(kUtf8Mark.size()));
    } else {
        text = DecodeWindows1252(bytes);
    }
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i <= n; ++i) {
        if (i < n && text[i] != QLatin1Char('\r') && text[i] != QLatin1Char('\n'))
            continue;
        if (i > start)
            lines.append(text.mid(start, i - start));
        if (i + 1 < n && text[i] == QLatin1Char('\r') && text[i + 1] == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    return lines;
}

QByteArray EncodeRecurringLines(const QStringList& lines)
{
    QString text;
    for (const QString& line : lines)
        text += line + QStringLiteral("\r\n");
    // A first line beginning with "ï»¿" would read back as a mark: such a store is
    // written as UTF-8 behind a mark of its own.
    if (const auto legacy = EncodeWindows1252(text); legacy && !legacy->startsWith(kUtf8Mark))
        return *legacy;
    return kUtf8Mark + text.toUtf8();
}

RecurringStoreRead ReadRecurringStore(const QString& fileName)
{
    RecurringStoreRead result;
    const QFileInfo info(fileName);
    if (!info.exists())
        return result;
    result.exists = true;
    if (!info.isFile()) {
        result.error = QStringLiteral("Unable to open ") + fileName;
        return result;
    }
    if (info.size() > kMaxRecurringStoreBytes) {
        result.error = QStringLiteral("Unable to open ") + fileName + QStringLiteral(" (the file is too large)");
        return result;
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = QStringLiteral("Unable to open ") + fileName;
        return result;
    }
    // Read at most one byte past the limit, in case the file grew since the check.
    const QByteArray bytes = file.read(kMaxRecurringStoreBytes + 1);
    if (bytes.size() > kMaxRecurringStoreBytes) {
        result.error = QStringLiteral("Unable to open ") + fileName + QStringLiteral(" (the file is too large)");
        return result;
    }
    result.lines = DecodeRecurringLines(bytes);
    return result;
}

bool WriteRecurringStore(const QString& fileName, const QStringList& lines, QString* error)
{
    QSaveFile file(fileName);
    const QByteArray bytes = EncodeRecurringLines(lines);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = QStringLiteral("Unable to save ") + fileName;
        return false;
    }
    return true;
}

QString ConvertOldRecurringLine(const QString& line)
{
    return PadField(line.mid(4, 150), kRecurringNameLength) + QLatin1Char('@')
        + PadField(line.left(4), kRecurringFormulaLength);
}

bool ConvertOldRecurringStore(QString* error)
{
    const QString oldName = OldRecurringStoreFileName();
    if (!QFileInfo::exists(oldName))
        return true;
    const RecurringStoreRead old = ReadRecurringStore(oldName);
    if (!old.error.isEmpty()) {
        if (error)
            *error = old.error;
        return false;
    }
    QStringList converted;
    converted.reserve(old.lines.size());
    for (const QString& line : old.lines)
        converted.append(ConvertOldRecurringLine(line));
    if (!WriteRecurringStore(RecurringStoreFileName(), converted, error))
        return false;
    if (!QFile::remove(oldName)) {
        if (error)
            *error = QStringLiteral("Unable to delete ") + oldName;
        return false;
    }
    return true;
}
