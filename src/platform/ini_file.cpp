#include "ini_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>
#include <limits>

namespace {

// Windows-1252 bytes 0x80..0x9F; the five unassigned bytes map to the C1 controls of
// the same value, as Windows does, so every byte survives a read and write.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString decodeCp1252(QByteArrayView bytes)
{
    QString out;
    out.resize(bytes.size());
    QChar* d = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        d[i] = (b >= 0x80 && b <= 0x9F) ? QChar(kCp1252High[b - 0x80]) : QChar(char16_t(b));
    }
    return out;
}

// False when some character has no Windows-1252 byte.
bool encodeCp1252(const QString& text, QByteArray& out)
{
    out.clear();
    out.reserve(text.size());
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            out.append(char(u));
            continue;
        }
        int found = -1;
        for (int j = 0; j < 32; ++j) {
            if (kCp1252High[j] == u) {
                found = j;
                break;
            }
        }
        if (found < 0)
            return false;
        out.append(char(0x80 + found));
    }
    return true;
}

const QByteArray kUtf8Bom("\xEF\xBB\xBF", 3);
const QByteArray kUtf16Bom("\xFF\xFE", 2);

// Decodes after a byte-order mark, keeping a U+FEFF that begins the text itself.
QString decodeAfterMark(QStringDecoder::Encoding encoding, QByteArrayView bytes)
{
    QStringDecoder decoder(encoding, QStringDecoder::Flag::ConvertInitialBom);
    return decoder(bytes);
}

bool isQuote(QChar c) { return c == QLatin1Char('"') || c == QLatin1Char('\''); }

// The value as the profile functions return it: trimmed, one pair of matching quotes removed.
QString valueFromRaw(const QString& rawValue)
{
    QString v = rawValue.trimmed();
    if (v.size() >= 2 && isQuote(v.front()) && v.back() == v.front())
        v = v.mid(1, v.size() - 2);
    return v;
}

// How a value is written so that reading it gives it back unchanged.
QString rawFromValue(QString v)
{
    // A line break would split the entry; no file format can carry one here.
    v.replace(QLatin1Char('\r'), QLatin1Char(' '));
    v.replace(QLatin1Char('\n'), QLatin1Char(' '));
    const bool needsQuotes = v != v.trimmed() || (v.size() >= 2 && isQuote(v.front()) && v.back() == v.front());
    return needsQuotes ? QLatin1Char('"') + v + QLatin1Char('"') : v;
}

bool sameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

} // namespace

bool IniFile::load(const QString& fileName)
{
    m_fileName = fileName;
    m_error.clear();
    m_loadFailed = false;
    m_sections.clear();

    QFile file(fileName);
    if (!file.exists())
        return true;
    const qint64 size = QFileInfo(fileName).size();
    if (size > MaxFileSize) {
        m_error = QStringLiteral("%1 is too large to be a settings file").arg(fileName);
        m_loadFailed = true;
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = file.errorString();
        m_loadFailed = true;
        return false;
    }
    const QByteArray bytes = file.read(MaxFileSize + 1);
    if (bytes.size() > MaxFileSize || file.error() != QFileDevice::NoError) {
        m_error = bytes.size() > MaxFileSize ? QStringLiteral("%1 is too large to be a settings file").arg(fileName)
                                             : file.errorString();
        m_loadFailed = true;
        return false;
    }
    parse(bytes);
    return true;
}

void IniFile::parse(const QByteArray& bytes)
{
    m_sections.clear();
    QString text;
    if (bytes.startsWith(kUtf8Bom))
        text = decodeAfterMark(QStringDecoder::Utf8, QByteArrayView(bytes).sliced(kUtf8Bom.size()));
    else if (bytes.startsWith(kUtf16Bom))
        text = decodeAfterMark(QStringDecoder::Utf16LE, QByteArrayView(bytes).sliced(kUtf16Bom.size()));
    else
        text = decodeCp1252(bytes);
    // A broken UTF-16 file may hold halves of surrogate pairs: they become the
    // replacement character, which survives writing and reading back.
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            text[i] = QChar::ReplacementCharacter;
    }

    m_sections.push_back(Section{}); // lines before the first section header
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString raw = lines[i];
        if (raw.endsWith(QLatin1Char('\r')))
            raw.chop(1);
        // The text after the last line break is no line of its own.
        if (i == lines.size() - 1 && raw.isEmpty())
            break;
        const QString trimmed = raw.trimmed();
        if (trimmed.startsWith(QLatin1Char('['))) {
            Section s;
            s.hasHeader = true;
            s.headerRaw = raw;
            const qsizetype close = trimmed.indexOf(QLatin1Char(']'));
            s.name = (close < 0 ? trimmed.mid(1) : trimmed.mid(1, close - 1)).trimmed();
            m_sections.push_back(std::move(s));
            continue;
        }
        Line line;
        line.raw = raw;
        const qsizetype eq = raw.indexOf(QLatin1Char('='));
        if (eq >= 0 && !trimmed.startsWith(QLatin1Char(';'))) {
            line.isEntry = true;
            line.key = raw.left(eq).trimmed();
            line.value = valueFromRaw(raw.mid(eq + 1));
        }
        m_sections.back().lines.push_back(std::move(line));
    }
}

QByteArray IniFile::toBytes() const
{
    QString text;
    for (const Section& s : m_sections) {
        if (s.hasHeader) {
            text += s.headerRaw;
            text += QLatin1String("\r\n");
        }
        for (const Line& l : s.lines) {
            text += l.raw;
            text += QLatin1String("\r\n");
        }
    }
    // Windows-1252 bytes that begin like a byte-order mark ("ï»¿", "ÿþ") would be read
    // back as one: such text is written as UTF-8 behind a mark of its own.
    QByteArray bytes;
    if (encodeCp1252(text, bytes) && !bytes.startsWith(kUtf8Bom) && !bytes.startsWith(kUtf16Bom))
        return bytes;
    return kUtf8Bom + text.toUtf8();
}

bool IniFile::save() { return save(m_fileName); }

bool IniFile::save(const QString& fileName)
{
    m_error.clear();
    if (fileName.isEmpty()) {
        m_error = QStringLiteral("No file name");
        return false;
    }
    if (m_loadFailed && fileName == m_fileName) {
        m_error = QStringLiteral("%1 could not be read and is left as it is").arg(fileName);
        return false;
    }
    const QByteArray bytes = toBytes();
    // A file that already holds these bytes is left alone: settings are saved at every
    // start and end, mostly unchanged, and each write waits for the disk.
    if (QFile current(fileName); current.open(QIODevice::ReadOnly) && current.size() == bytes.size()
                                 && current.readAll() == bytes) {
        m_fileName = fileName;
        return true;
    }
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        m_error = file.errorString();
        return false;
    }
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        m_error = file.errorString();
        file.cancelWriting();
        return false;
    }
    m_fileName = fileName;
    return true;
}

const IniFile::Section* IniFile::findSection(const QString& name) const
{
    for (const Section& s : m_sections)
        if (s.hasHeader && sameName(s.name, name))
            return &s;
    return nullptr;
}

IniFile::Section* IniFile::findSection(const QString& name)
{
    return const_cast<Section*>(static_cast<const IniFile*>(this)->findSection(name));
}

const IniFile::Line* IniFile::findLine(const Section& s, const QString& key)
{
    for (const Line& l : s.lines)
        if (l.isEntry && sameName(l.key, key))
            return &l;
    return nullptr;
}

IniFile::Line IniFile::makeEntry(const QString& key, const QString& value)
{
    Line l;
    l.isEntry = true;
    l.key = key;
    l.value = valueFromRaw(rawFromValue(value));
    l.raw = key + QLatin1Char('=') + rawFromValue(value);
    return l;
}

bool IniFile::sectionExists(const QString& section) const { return findSection(section) != nullptr; }

bool IniFile::valueExists(const QString& section, const QString& key) const
{
    const Section* s = findSection(section);
    return s && findLine(*s, key);
}

QStringList IniFile::sections() const
{
    QStringList out;
    for (const Section& s : m_sections) {
        if (!s.hasHeader)
            continue;
        if (!out.contains(s.name, Qt::CaseInsensitive))
            out << s.name;
    }
    return out;
}

QStringList IniFile::keys(const QString& section) const
{
    QStringList out;
    if (const Section* s = findSection(section))
        for (const Line& l : s->lines)
            if (l.isEntry && !out.contains(l.key, Qt::CaseInsensitive))
                out << l.key;
    return out;
}

QList<QPair<QString, QString>> IniFile::sectionValues(const QString& section) const
{
    QList<QPair<QString, QString>> out;
    if (const Section* s = findSection(section))
        for (const Line& l : s->lines)
            if (l.isEntry)
                out.append({l.key, l.value});
    return out;
}

QString IniFile::readString(const QString& section, const QString& key, const QString& defaultValue) const
{
    const Section* s = findSection(section);
    const Line* l = s ? findLine(*s, key) : nullptr;
    return l ? l->value : defaultValue;
}

int IniFile::readInteger(const QString& section, const QString& key, int defaultValue) const
{
    const QString text = readString(section, key, QString());
    if (text.isEmpty())
        return defaultValue;
    QStringView digits(text);
    bool negative = false;
    if (digits.startsWith(QLatin1Char('-')) || digits.startsWith(QLatin1Char('+'))) {
        negative = digits.front() == QLatin1Char('-');
        digits = digits.mid(1);
    }
    int base = 10;
    if (digits.startsWith(QLatin1Char('$'))) {
        base = 16;
        digits = digits.mid(1);
    } else if (digits.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        base = 16;
        digits = digits.mid(2);
    }
    if (digits.isEmpty())
        return defaultValue;
    for (const QChar c : digits) {
        const bool ok = base == 10 ? c.isDigit() && c.unicode() < 0x80 : QStringLiteral("0123456789abcdefABCDEF").contains(c);
        if (!ok)
            return defaultValue;
    }
    bool ok = false;
    const qlonglong magnitude = digits.toLongLong(&ok, base);
    if (!ok)
        return defaultValue;
    const qlonglong v = negative ? -magnitude : magnitude;
    // Hexadecimal up to 32 bits wraps into int as colour values such as $80000008 need.
    if (base == 16 && !negative && magnitude <= 0xFFFFFFFFLL)
        return int(quint32(magnitude));
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        return defaultValue;
    return int(v);
}

bool IniFile::readBool(const QString& section, const QString& key, bool defaultValue) const
{
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value)
{
    Section* s = findSection(section);
    if (!s) {
        // A new section goes at the end, set off from the previous one by a blank line.
        bool anyLine = false;
        QString lastRaw;
        for (const Section& existing : m_sections) {
            if (existing.hasHeader) {
                anyLine = true;
                lastRaw = existing.headerRaw;
            }
            for (const Line& l : existing.lines) {
                anyLine = true;
                lastRaw = l.raw;
            }
        }
        if (anyLine && !lastRaw.trimmed().isEmpty()) {
            if (m_sections.empty())
                m_sections.push_back(Section{});
            m_sections.back().lines.push_back(Line{});
        }
        Section fresh;
        fresh.hasHeader = true;
        fresh.name = section.trimmed();
        fresh.headerRaw = QLatin1Char('[') + fresh.name + QLatin1Char(']');
        m_sections.push_back(std::move(fresh));
        s = &m_sections.back();
    }
    for (Line& l : s->lines) {
        if (l.isEntry && sameName(l.key, key)) {
            l = makeEntry(l.key, value);
            return;
        }
    }
    // After the last entry, so that blank lines before the next section stay there.
    auto insertAt = s->lines.end();
    while (insertAt != s->lines.begin() && std::prev(insertAt)->raw.trimmed().isEmpty())
        --insertAt;
    s->lines.insert(insertAt, makeEntry(key.trimmed(), value));
}

void IniFile::writeInteger(const QString& section, const QString& key, int value)
{
    writeString(section, key, QString::number(value));
}

void IniFile::writeBool(const QString& section, const QString& key, bool value)
{
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniFile::eraseSection(const QString& section)
{
    std::erase_if(m_sections, [&](const Section& s) { return s.hasHeader && sameName(s.name, section); });
}

void IniFile::deleteKey(const QString& section, const QString& key)
{
    Section* s = findSection(section);
    if (!s)
        return;
    std::erase_if(s->lines, [&](const Line& l) { return l.isEntry && sameName(l.key, key); });
}
