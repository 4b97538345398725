#include "calendar_file.h"

#include "platform/numeric.h"
#include "richtext/rtf_reader.h"

#include <QFile>
#include <QSaveFile>

namespace {

const QByteArray kCellClass = QByteArrayLiteral("TWPRtfStorage");
const QByteArray kRtfProperty = QByteArrayLiteral("RtfText.Data");

QString invalidSetting() { return QStringLiteral("The file holds a setting no calendar can have."); }

// Windows limits font sizes to 1638 points; anything beyond is damage.
constexpr int kMaxFontSize = 1638;
// Margins in hundredths of an inch: more than any page is wide is damage.
constexpr int kMaxMargin = 2000;

template <typename E>
E readEnum(TStreamReader& r, int count)
{
    const qint32 v = r.readInteger();
    if (v < 0 || v >= count)
        r.fail(invalidSetting());
    return E(v);
}

template <typename E>
void writeEnum(TStreamWriter& w, E v)
{
    w.writeInteger(int(v));
}

qint32 readRanged(TStreamReader& r, qint32 lo, qint32 hi)
{
    const qint32 v = r.readInteger();
    if (v < lo || v > hi)
        r.fail(invalidSetting());
    return v;
}

// Hundredths of an inch. Writing truncates the single-precision product (0.35 is
// 0.349999994 and gives 34); reading multiplies by 0.01 in extended precision and
// rounds to single, as the legacy program did.
void writeMargin(TStreamWriter& w, float inches) { w.writeInteger(truncToInt(double(inches) * 100.0)); }

float readMargin(TStreamReader& r)
{
    const qint32 v = readRanged(r, 0, kMaxMargin);
    return float(static_cast<long double>(v) * 0.01L);
}

void writeFont(TStreamWriter& w, const TCalFont& f)
{
    w.writeString(f.name);
    w.writeInteger(f.size);
    w.writeBoolean(f.bold);
    w.writeBoolean(f.italic);
    w.writeBoolean(f.underline);
    w.writeBoolean(f.strikeout);
    w.writeInteger(f.color);
}

void readFont(TStreamReader& r, TCalFont& f)
{
    f.name = r.readString();
    f.size = readRanged(r, -kMaxFontSize, kMaxFontSize);
    f.bold = r.readBoolean();
    f.italic = r.readBoolean();
    f.underline = r.readBoolean();
    f.strikeout = r.readBoolean();
    f.color = r.readInteger();
}

constexpr int kEnumLineLayouts = 3, kEnumMiniLineLayouts = 3, kEnumBorders = 5, kEnumHeaders = 3,
              kEnumNumberPositions = 2, kEnumOrientations = 2;

void skipObjects(TStreamReader& r)
{
    while (!r.endOfList())
        skipComponentRecord(r, true);
    r.readListEnd();
}

} // namespace

bool isPlainBorderName(const QString& name)
{
    for (QChar c : name)
        if (c.unicode() < 0x20) // control characters (a NUL would cut the name short)
            return false;
    return !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) && !name.contains(QLatin1String(".."))
        && !name.contains(QLatin1Char(':'));
}

void openDocumentFile(QFile& file)
{
    if (!file.open(QIODevice::ReadOnly))
        throw EStreamError(QStringLiteral("The file cannot be opened: %1").arg(file.errorString()));
}

void WriteSettingsBlock(TStreamWriter& w, const TCalendarSettings& s)
{
    w.writeInteger(s.PaperSize);
    writeEnum(w, s.CalendarOrientation);
    writeMargin(w, s.LeftMarginInch);
    writeMargin(w, s.TopMarginInch);
    writeMargin(w, s.RightMarginInch);
    writeMargin(w, s.BottomMarginInch);
    writeEnum(w, s.CalendarLayout);
    writeEnum(w, s.CalendarBorder);
    writeEnum(w, s.CalendarLineLayout);
    for (const QString& m : s.MonthNames)
        w.writeString(m);
    for (const QString& d : s.DayNames)
        w.writeString(d);
    w.writeInteger(s.TitleBGColor);
    writeFont(w, s.TitleFont);
    w.writeBoolean(s.TitleShowYear);
    writeFont(w, s.HeadersFont);
    writeEnum(w, s.HeadersBorder);
    writeEnum(w, s.HeadersStyle);
    w.writeInteger(s.HeadersBGColor);
    writeFont(w, s.CellFont);
    writeEnum(w, s.CellBorder);
    writeEnum(w, s.MiniCalendarLineLayout);
    writeEnum(w, s.MiniCalBorder);
    w.writeInteger(s.MiniCalBGColor);
    w.writeBoolean(s.MiniShowYear);
    writeFont(w, s.MiniTitleFont);
    writeFont(w, s.MiniHeadersFont);
    w.writeInteger(s.MiniHeadersBGColor);
    writeEnum(w, s.MiniHeadersStyle);
    writeEnum(w, s.MiniHeadersBorder);
    writeEnum(w, s.MiniCellBorder);
    writeFont(w, s.MiniCellFont);
    writeEnum(w, s.NumberPosition);
}

void ReadSettingsBlock(TStreamReader& r, TCalendarSettings& s)
{
    s.PaperSize = quint8(readRanged(r, 0, 1));
    s.CalendarOrientation = readEnum<TCalendarOrientation>(r, kEnumOrientations);
    s.LeftMarginInch = readMargin(r);
    s.TopMarginInch = readMargin(r);
    s.RightMarginInch = readMargin(r);
    s.BottomMarginInch = readMargin(r);
    s.CalendarLayout = readEnum<TCalendarLayout>(r, kLayoutCount);
    s.CalendarBorder = readEnum<TCalBorderStyle>(r, kEnumBorders);
    s.CalendarLineLayout = readEnum<TCalendarLineLayout>(r, kEnumLineLayouts);
    for (QString& m : s.MonthNames)
        m = r.readString();
    for (QString& d : s.DayNames)
        d = r.readString();
    s.TitleBGColor = r.readInteger();
    readFont(r, s.TitleFont);
    s.TitleShowYear = r.readBoolean();
    readFont(r, s.HeadersFont);
    s.HeadersBorder = readEnum<TCalBorderStyle>(r, kEnumBorders);
    s.HeadersStyle = readEnum<TCalHeadersStyle>(r, kEnumHeaders);
    s.HeadersBGColor = r.readInteger();
    readFont(r, s.CellFont);
    s.CellBorder = readEnum<TCalBorderStyle>(r, kEnumBorders);
    s.MiniCalendarLineLayout = readEnum<TMiniCalendarLineLayout>(r, kEnumMiniLineLayouts);
    s.MiniCalBorder = readEnum<TCalBorderStyle>(r, kEnumBorders);
    s.MiniCalBGColor = r.readInteger();
    s.MiniShowYear = r.readBoolean();
    readFont(r, s.MiniTitleFont);
    readFont(r, s.MiniHeadersFont);
    s.MiniHeadersBGColor = r.readInteger();
    s.MiniHeadersStyle = readEnum<TCalHeadersStyle>(r, kEnumHeaders);
    s.MiniHeadersBorder = readEnum<TCalBorderStyle>(r, kEnumBorders);
    s.MiniCellBorder = readEnum<TCalBorderStyle>(r, kEnumBorders);
    readFont(r, s.MiniCellFont);
    s.NumberPosition = readEnum<TCalendarNumberPosition>(r, kEnumNumberPositions);
}

void ReadFileHeader(TStreamReader& r, int& version, int& kind)
{
    r.readListBegin();
    version = r.readInteger();
    kind = r.readInteger(); // read, not checked
}

namespace {
// Whether a cell holds anything the user typed. Blanks count: a cell of blanks is kept
// as typed, though it shows nothing.
bool cellHoldsText(const TWPRtfStorage& cell)
{
    if (!cell.isEmpty())
        return true;
    if (cell.rtf().isEmpty())
        return false;
    return !ReadRtfPlainText(cell.rtf()).isEmpty(); // more than one empty paragraph
}
} // namespace

void WriteCellRecord(TStreamWriter& w, const TWPRtfStorage& cell)
{
    beginComponent(w, kCellClass, QByteArray());
    if (cellHoldsText(cell)) {
        w.writePropertyName(kRtfProperty);
        w.writeBinary(cell.rtf() + QByteArray(4, '\0'));
    }
    endComponent(w);
}

void ReadCellRecord(TStreamReader& r, TWPRtfStorage& cell)
{
    r.readSignature();
    r.readStr(); // the class name is not checked: the properties go into the existing storage
    r.readStr(); // component name
    cell.clear();
    while (!r.endOfList()) {
        const QByteArray name = r.readStr();
        if (propertyKey(name) == propertyKey(kRtfProperty)) {
            QByteArray data = r.readBinary();
            // The trailing 32-bit zero carries no text.
            while (data.endsWith('\0'))
                data.chop(1);
            cell.setRtf(data);
        } else {
            r.skipValue();
        }
    }
    r.readListEnd();
    while (!r.endOfList())
        skipComponentRecord(r, false);
    r.readListEnd();
}

void WritePageSettings(TStreamWriter& w, const TCalendarSettings& s)
{
    WriteSettingsBlock(w, s);
    w.writeString(s.WMFBorderFile);
    w.writeInteger(s.MainCalDay);
    w.writeInteger(s.MainCalMonth);
    w.writeInteger(s.MainCalYear);
    w.writeInteger(s.StartOfWeek);
    const QTime t = s.StartingTime.isValid() ? s.StartingTime : QTime(0, 0);
    w.writeInteger(t.hour());
    w.writeInteger(t.minute());
}

void SaveCalendarFile(const TCalendarPage& page, QIODevice& device, const ObjectSectionWriter& objects)
{
    const TCalendarSettings& s = page.settings();
    TStreamWriter w(device);
    w.writeListBegin();
    w.writeInteger(kCalendarFormatVersion);
    w.writeInteger(kCalendarFileKind);
    WritePageSettings(w, s);
    for (int i = 1; i <= TCalendarPage::kCellCount; ++i)
        WriteCellRecord(w, *page.CellStorage(i));
    w.writeString(s.UserTitle);
    w.writeListEnd();
    w.writeListBegin();
    if (objects)
        objects(w);
    w.writeListEnd();
}

void SaveCalendarFile(const TCalendarPage& page, const QString& fileName, const ObjectSectionWriter& objects)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw EStreamError(QStringLiteral("The file cannot be created: %1").arg(file.errorString()));
    SaveCalendarFile(page, file, objects); // throws before commit: the old file stays
    if (!file.commit())
        throw EStreamError(QStringLiteral("The file could not be written: %1").arg(file.errorString()));
}

namespace {

void loadBody(TCalendarPage& page, TStreamReader& r, const ObjectSectionReader& objects, TCalendarFileInfo& info)
{
    TCalendarSettings& s = page.rawSettings();
    int v = 0;
    ReadFileHeader(r, v, info.kind);
    info.version = v;
    ReadSettingsBlock(r, s);

    page.SetWMFBorderFile(QString());
    if (v > 3) {
        info.borderName = r.readString();
        // A name with a path in it would reach files outside the border folder.
        if (!info.borderName.isEmpty() && isPlainBorderName(info.borderName))
            page.SetWMFBorderFile(info.borderName);
    }

    const qint32 day = readRanged(r, 0, 31);
    const qint32 month = readRanged(r, 1, 12);
    const qint32 year = readRanged(r, 1, 9999);
    s.MainCalDay = day;
    s.MainCalMonth = month;
    s.MainCalYear = year;
    s.StartOfWeek = r.readInteger();
    const int hour = quint16(r.readInteger());
    const int minute = quint16(r.readInteger());
    if (hour > 23 || minute > 59)
        r.fail(QStringLiteral("The file holds an invalid starting time."));
    s.StartingTime = QTime(hour, minute);

    for (int i = 1; i <= TCalendarPage::kCellCount; ++i)
        ReadCellRecord(r, *page.CellStorage(i));
    if (v > 1)
        s.UserTitle = r.readString();
    r.readListEnd();

    if (v > 2) {
        try {
            r.readListBegin();
            if (objects)
                objects(r);
            else
                skipObjects(r);
        } catch (const std::exception&) {
            // A damaged object section keeps what was read before the damage.
            info.objectSectionFailed = true;
        }
    }
}

} // namespace

void LoadCalendarFile(TCalendarPage& page, QIODevice& device, const ObjectSectionReader& objects,
                      TCalendarFileInfo* info)
{
    TCalendarFileInfo local;
    TCalendarFileInfo& out = info ? *info : local;
    out = TCalendarFileInfo();
    TStreamReader r(device);
    try {
        loadBody(page, r, objects, out);
    } catch (...) {
        page.RecalcLayout(false); // the geometry follows whatever settings were read
        throw;
    }
    page.RecalcLayout(false);
}

void LoadCalendarFile(TCalendarPage& page, const QString& fileName, const ObjectSectionReader& objects,
                      TCalendarFileInfo* info)
{
    QFile file(fileName);
    openDocumentFile(file);
    LoadCalendarFile(page, file, objects, info);
}
