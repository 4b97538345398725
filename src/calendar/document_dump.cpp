#include "document_dump.h"

#include "calendar/calendar_file.h"
#include "calendar/style_sheet.h"
#include "richtext/rtf_reader.h"

#include <QCryptographicHash>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

namespace {

QJsonObject fontJson(const TCalFont& f)
{
    return QJsonObject{{QStringLiteral("name"), f.name},           {QStringLiteral("size"), f.size},
                       {QStringLiteral("bold"), f.bold},           {QStringLiteral("italic"), f.italic},
                       {QStringLiteral("underline"), f.underline}, {QStringLiteral("strikeout"), f.strikeout},
                       {QStringLiteral("color"), double(f.color)}};
}

// Single-precision inches shown as they were typed (0.34, not 0.3400000035762787).
double inches(float v) { return QString::number(double(v), 'g', 7).toDouble(); }

QJsonArray namesJson(const auto& names)
{
    QJsonArray a;
    for (const QString& n : names)
        a.append(n);
    return a;
}

QJsonObject settingsJson(const TCalendarSettings& s)
{
    QJsonObject o;
    o.insert(QStringLiteral("PaperSize"), int(s.PaperSize));
    o.insert(QStringLiteral("CalendarOrientation"), QString::fromLatin1(orientationName(s.CalendarOrientation)));
    o.insert(QStringLiteral("LeftMarginInch"), inches(s.LeftMarginInch));
    o.insert(QStringLiteral("TopMarginInch"), inches(s.TopMarginInch));
    o.insert(QStringLiteral("RightMarginInch"), inches(s.RightMarginInch));
    o.insert(QStringLiteral("BottomMarginInch"), inches(s.BottomMarginInch));
    o.insert(QStringLiteral("CalendarLayout"), QString::fromLatin1(layoutName(s.CalendarLayout)));
    o.insert(QStringLiteral("CalendarBorder"), QString::fromLatin1(borderStyleName(s.CalendarBorder)));
    o.insert(QStringLiteral("CalendarLineLayout"), QString::fromLatin1(lineLayoutName(s.CalendarLineLayout)));
    o.insert(QStringLiteral("MonthNames"), namesJson(s.MonthNames));
    o.insert(QStringLiteral("DayNames"), namesJson(s.DayNames));
    o.insert(QStringLiteral("TitleBGColor"), double(s.TitleBGColor));
    o.insert(QStringLiteral("TitleFont"), fontJson(s.TitleFont));
    o.insert(QStringLiteral("TitleShowYear"), s.TitleShowYear);
    o.insert(QStringLiteral("HeadersFont"), fontJson(s.HeadersFont));
    o.insert(QStringLiteral("HeadersBorder"), QString::fromLatin1(borderStyleName(s.HeadersBorder)));
    o.insert(QStringLiteral("HeadersStyle"), QString::fromLatin1(headersStyleName(s.HeadersStyle)));
    o.insert(QStringLiteral("HeadersBGColor"), double(s.HeadersBGColor));
    o.insert(QStringLiteral("CellFont"), fontJson(s.CellFont));
    o.insert(QStringLiteral("CellBorder"), QString::fromLatin1(borderStyleName(s.CellBorder)));
    o.insert(QStringLiteral("MiniCalendarLineLayout"),
             QString::fromLatin1(miniLineLayoutName(s.MiniCalendarLineLayout)));
    o.insert(QStringLiteral("MiniCalBorder"), QString::fromLatin1(borderStyleName(s.MiniCalBorder)));
    o.insert(QStringLiteral("MiniCalBGColor"), double(s.MiniCalBGColor));
    o.insert(QStringLiteral("MiniShowYear"), s.MiniShowYear);
    o.insert(QStringLiteral("MiniTitleFont"), fontJson(s.MiniTitleFont));
    o.insert(QStringLiteral("MiniHeadersFont"), fontJson(s.MiniHeadersFont));
    o.insert(QStringLiteral("MiniHeadersBGColor"), double(s.MiniHeadersBGColor));
    o.insert(QStringLiteral("MiniHeadersStyle"), QString::fromLatin1(headersStyleName(s.MiniHeadersStyle)));
    o.insert(QStringLiteral("MiniHeadersBorder"), QString::fromLatin1(borderStyleName(s.MiniHeadersBorder)));
    o.insert(QStringLiteral("MiniCellBorder"), QString::fromLatin1(borderStyleName(s.MiniCellBorder)));
    o.insert(QStringLiteral("MiniCellFont"), fontJson(s.MiniCellFont));
    o.insert(QStringLiteral("NumberPosition"), QString::fromLatin1(numberPositionName(s.NumberPosition)));
    return o;
}

QString plainText(const QByteArray& rtf)
{
    if (rtf.isEmpty())
        return QString();
    return ReadRtfPlainText(rtf);
}

// An object's stored entries keyed by their paths; data blocks as their size and digest
// (and the text of a rich-text block), everything else as the stream value reads.
QJsonObject objectPropertiesJson(const std::vector<TStreamProperty>& props)
{
    QJsonObject o;
    for (const TStreamProperty& p : props) {
        if (p.value.type != TValueType::vaBinary) {
            o.insert(QString::fromLatin1(p.name), p.value.toJson());
            continue;
        }
        const QByteArray& data = p.value.bytes;
        QJsonObject block{{QStringLiteral("size"), double(data.size())},
                          {QStringLiteral("sha256"),
                           QString::fromLatin1(QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex())}};
        if (p.name.compare("RTFText.Data", Qt::CaseInsensitive) == 0) {
            QByteArray rtf = data;
            while (rtf.endsWith('\0')) // the trailing 32-bit zero carries no text
                rtf.chop(1);
            block.insert(QStringLiteral("text"), plainText(rtf));
        }
        o.insert(QString::fromLatin1(p.name), block);
    }
    return o;
}

} // namespace

QByteArray DumpDocumentJson(const QString& path)
{
    QFile file(path);
    openDocumentFile(file);
    int version = 0, kind = 0;
    {
        TStreamReader header(file);
        ReadFileHeader(header, version, kind);
    }
    file.seek(0);

    TCalendarPage page(96);
    page.rawSettings().MonthNames.fill(QString());
    page.rawSettings().DayNames.fill(QString());
    TCalendarFileInfo info;
    QJsonObject root;
    std::vector<TComponentRecord> objects;

    if (kind == kStyleSheetFileKind) {
        LoadStyleSheet(page, file, &info);
    } else {
        // Objects are dumped as stored, whatever their class; what was read before any
        // damage in their section is kept, as loading does.
        LoadCalendarFile(page, file, [&](TStreamReader& r) {
            while (!r.endOfList())
                objects.push_back(readComponentRecord(r, true));
            r.readListEnd();
        }, &info);
    }

    const TCalendarSettings& s = page.settings();
    root.insert(QStringLiteral("format_version"), info.version);
    root.insert(QStringLiteral("file_kind"), info.kind);
    root.insert(QStringLiteral("settings"), settingsJson(s));
    root.insert(QStringLiteral("WMFBorderFile"), info.borderName);
    if (kind != kStyleSheetFileKind) {
        root.insert(QStringLiteral("MainCalDay"), s.MainCalDay);
        root.insert(QStringLiteral("MainCalMonth"), s.MainCalMonth);
        root.insert(QStringLiteral("MainCalYear"), s.MainCalYear);
        root.insert(QStringLiteral("StartOfWeek"), s.StartOfWeek);
        root.insert(QStringLiteral("StartingTime"), s.StartingTime.toString(QStringLiteral("HH:mm")));
        root.insert(QStringLiteral("UserTitle"), s.UserTitle);
        QJsonArray cells;
        for (int i = 1; i <= TCalendarPage::kCellCount; ++i) {
            const QByteArray rtf = page.CellRtf(i);
            cells.append(QJsonObject{{QStringLiteral("index"), i},
                                     {QStringLiteral("text"), plainText(rtf)},
                                     {QStringLiteral("rtf"), QString::fromLatin1(rtf)}});
        }
        root.insert(QStringLiteral("cells"), cells);
        QJsonArray objs;
        for (const TComponentRecord& rec : objects)
            objs.append(QJsonObject{{QStringLiteral("class"), QString::fromLatin1(rec.className)},
                                    {QStringLiteral("name"), QString::fromLatin1(rec.name)},
                                    {QStringLiteral("properties"), objectPropertiesJson(rec.properties)}});
        root.insert(QStringLiteral("objects"), objs);
    }
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}
