#include "calendar/document_dump.h"
#include "calendar/style_sheet.h"
#include "calendar_file_golden.h"
#include "platform/program_folder.h"
#include "test_registry.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using golden::Bytes;

namespace {

QByteArray saveSheet(const TCalendarPage& page)
{
    QByteArray out;
    QBuffer buf(&out);
    buf.open(QIODevice::WriteOnly);
    SaveStyleSheet(page, buf);
    return out;
}

void loadSheet(TCalendarPage& page, const QByteArray& data, TCalendarFileInfo* info = nullptr)
{
    QBuffer buf;
    buf.setData(data);
    buf.open(QIODevice::ReadOnly);
    LoadStyleSheet(page, buf, info);
}

QByteArray knownSheet(int version, const QByteArray& border = {})
{
    Bytes x;
    x.listBegin().i8(version).i8(2);
    golden::knownSettings(x);
    if (version >= 4)
        x.sstr(border);
    x.listEnd();
    return x.b;
}

struct BorderFolder {
    QTemporaryDir dir;
    BorderFolder()
    {
        QDir(dir.path()).mkpath(QStringLiteral("Borders"));
        for (const char* n : {"Holly.wls", "Holly.wpo"}) {
            QFile f(dir.path() + QStringLiteral("/Borders/") + QString::fromLatin1(n));
            f.open(QIODevice::WriteOnly);
            f.write("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"10\" height=\"10\"><rect width=\"10\" height=\"10\" fill=\"red\"/></svg>"); // a picture the border loader accepts
        }
        setProgramFolderOverride(dir.path() + QLatin1Char('/'));
    }
    ~BorderFolder() { setProgramFolderOverride(QString()); }
};

QString writeTemp(QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return path;
}

} // namespace

class TestCalendarFileStyleSheet : public QObject {
    Q_OBJECT
private slots:
    void writesByteForByte()
    {
        BorderFolder borders;
        TCalendarPage page(96);
        golden::applyKnownSettings(page);
        QCOMPARE(saveSheet(page), knownSheet(4, ""));
        page.SetWMFBorderFile(QStringLiteral("Holly"));
        QCOMPARE(saveSheet(page), knownSheet(4, "Holly"));
    }

    void loadKeepsDatesAndContent()
    {
        BorderFolder borders;
        TCalendarPage page(96);
        page.rawSettings().MainCalMonth = 11;
        page.rawSettings().MainCalYear = 2030;
        page.rawSettings().StartOfWeek = 1;
        page.rawSettings().StartingTime = QTime(6, 0);
        page.rawSettings().UserTitle = QStringLiteral("mine");
        page.CellStorage(3)->setRtf("{\\rtf1 keep}");
        TCalendarFileInfo info;
        loadSheet(page, knownSheet(4, "Holly"), &info);
        QCOMPARE(info.kind, 2);
        const TCalendarSettings& s = page.settings();
        QCOMPARE(s.TitleFont.name, QStringLiteral("Arial"));
        QCOMPARE(s.LeftMarginInch, 0.34f);
        QCOMPARE(s.WMFBorderFile, QStringLiteral("Holly"));
        QVERIFY(!page.borderPicture().isEmpty());
        QCOMPARE(s.MainCalMonth, 11);
        QCOMPARE(s.MainCalYear, 2030);
        QCOMPARE(s.StartOfWeek, 1);
        QCOMPARE(s.StartingTime, QTime(6, 0));
        QCOMPARE(s.UserTitle, QStringLiteral("mine"));
        QCOMPARE(page.CellRtf(3), QByteArray("{\\rtf1 keep}"));
    }

    void version3ClearsBorder()
    {
        BorderFolder borders;
        TCalendarPage page(96);
        page.SetWMFBorderFile(QStringLiteral("Holly"));
        QVERIFY(!page.settings().WMFBorderFile.isEmpty());
        loadSheet(page, knownSheet(3));
        QVERIFY(page.settings().WMFBorderFile.isEmpty());
        QVERIFY(page.borderPicture().isEmpty());
        QCOMPARE(page.settings().TitleFont.size, 200);
    }

    void borderShrinksCalendar()
    {
        BorderFolder borders;
        TCalendarPage plain(96);
        loadSheet(plain, knownSheet(4, ""));
        TCalendarPage framed(96);
        loadSheet(framed, knownSheet(4, "Holly"));
        // 0.47 inch per side at 96 pixels per inch.
        const int inset = framed.layoutGeometry().ContentRect.Left - plain.layoutGeometry().ContentRect.Left;
        QVERIFY2(inset >= 44 && inset <= 46, qPrintable(QString::number(inset)));
    }

    void calendarFileAsStyleSheetFailsAtListEnd()
    {
        BorderFolder borders;
        TCalendarPage page(96);
        page.rawSettings().MainCalYear = 2001;
        QVERIFY_THROWS_EXCEPTION(EStreamError, loadSheet(page, golden::knownFile(4, "Holly")));
        // Settings and border were read before the failure and stay.
        QCOMPARE(page.settings().TitleFont.size, 200);
        QCOMPARE(page.settings().WMFBorderFile, QStringLiteral("Holly"));
        QCOMPARE(page.settings().MainCalYear, 2001);
    }

    void styleSheetAsCalendarFileFails()
    {
        TCalendarPage page(96);
        QBuffer buf;
        buf.setData(knownSheet(4, ""));
        buf.open(QIODevice::ReadOnly);
        QVERIFY_THROWS_EXCEPTION(EStreamError, LoadCalendarFile(page, buf));
        QCOMPARE(page.settings().TitleFont.size, 200);
    }

    void roundTripThroughFile()
    {
        QTemporaryDir dir;
        TCalendarPage page(96);
        golden::applyKnownSettings(page);
        page.rawSettings().MonthNames[0] = QStringLiteral("\u042f\u043d\u0432\u0430\u0440\u044c");
        const QString path = dir.filePath(QStringLiteral("Mine.OVS"));
        SaveStyleSheet(page, path);
        TCalendarPage back(96);
        LoadStyleSheet(back, path);
        QCOMPARE(back.GetMonthName(1), QStringLiteral("\u042f\u043d\u0432\u0430\u0440\u044c"));
        QCOMPARE(saveSheet(back), saveSheet(page));
    }

    void dumpCalendarFile()
    {
        QTemporaryDir dir;
        Bytes objects;
        objects.raw("TPF0").name("TGPLabel").name("Component0").name("Left").i8(5)
            .name("Caption").sstr("Hi").name("Font.Style").tag(11).name("fsBold").name("").listEnd().listEnd();
        const QString path = writeTemp(dir, QStringLiteral("a.OVF"), golden::knownFile(4, "Holly", objects.b));
        const QJsonObject o = QJsonDocument::fromJson(DumpDocumentJson(path)).object();
        QCOMPARE(o.value("format_version").toInt(), 4);
        QCOMPARE(o.value("file_kind").toInt(), 1);
        QCOMPARE(o.value("WMFBorderFile").toString(), QStringLiteral("Holly"));
        QCOMPARE(o.value("MainCalYear").toInt(), 2024);
        QCOMPARE(o.value("StartingTime").toString(), QStringLiteral("07:30"));
        QCOMPARE(o.value("UserTitle").toString(), QStringLiteral("My year"));
        const QJsonObject s = o.value("settings").toObject();
        QCOMPARE(s.value("CalendarLayout").toString(), QStringLiteral("loFCMinisInTitleLS"));
        QCOMPARE(s.value("CalendarOrientation").toString(), QStringLiteral("coLandscape"));
        QCOMPARE(s.value("LeftMarginInch").toDouble(), 0.34);
        QCOMPARE(s.value("HeadersBorder").toString(), QStringLiteral("cbBottom"));
        QCOMPARE(s.value("MonthNames").toArray().size(), 12);
        QCOMPARE(s.value("DayNames").toArray().at(6).toString(), QStringLiteral("Sat"));
        QCOMPARE(s.value("TitleBGColor").toInt(), 16777215);
        const QJsonObject title = s.value("TitleFont").toObject();
        QCOMPARE(title.value("name").toString(), QStringLiteral("Arial"));
        QCOMPARE(title.value("size").toInt(), 200);
        QCOMPARE(title.value("strikeout").toBool(), true);
        QCOMPARE(s.value("PaperSize").toInt(), 1);
        QCOMPARE(s.size(), 32 - 2 + 2); // 32 groups, month and day names as two lists
        const QJsonArray cells = o.value("cells").toArray();
        QCOMPARE(cells.size(), 42);
        QCOMPARE(cells.at(1).toObject().value("index").toInt(), 2);
        QCOMPARE(cells.at(1).toObject().value("text").toString(), QStringLiteral("Hello\nWorld"));
        QCOMPARE(cells.at(1).toObject().value("rtf").toString(), QString::fromLatin1(golden::cellRtf()));
        QCOMPARE(cells.at(0).toObject().value("text").toString(), QString());
        const QJsonArray objs = o.value("objects").toArray();
        QCOMPARE(objs.size(), 1);
        const QJsonObject label = objs.at(0).toObject();
        QCOMPARE(label.value("class").toString(), QStringLiteral("TGPLabel"));
        QCOMPARE(label.value("name").toString(), QStringLiteral("Component0"));
        QCOMPARE(label.value("properties").toObject().value("Left").toInt(), 5);
        QCOMPARE(label.value("properties").toObject().value("Font.Style").toArray().at(0).toString(),
                 QStringLiteral("fsBold"));
        // Deterministic output.
        QCOMPARE(DumpDocumentJson(path), DumpDocumentJson(path));
    }

    void dumpStyleSheetAndErrors()
    {
        QTemporaryDir dir;
        const QString sheet = writeTemp(dir, QStringLiteral("s.OVS"), knownSheet(3));
        const QJsonObject o = QJsonDocument::fromJson(DumpDocumentJson(sheet)).object();
        QCOMPARE(o.value("file_kind").toInt(), 2);
        QCOMPARE(o.value("format_version").toInt(), 3);
        QVERIFY(o.contains("settings"));
        QVERIFY(!o.contains("cells"));
        QVERIFY_THROWS_EXCEPTION(EStreamError, DumpDocumentJson(dir.filePath(QStringLiteral("missing.OVF"))));
        const QString bad = writeTemp(dir, QStringLiteral("bad.OVF"), golden::knownFile(4).left(300));
        QVERIFY_THROWS_EXCEPTION(EStreamError, DumpDocumentJson(bad));
        const QString empty = writeTemp(dir, QStringLiteral("empty.OVF"), QByteArray());
        QVERIFY_THROWS_EXCEPTION(EStreamError, DumpDocumentJson(empty));
    }
};
OV_TEST(TestCalendarFileStyleSheet)
#include "test_calendar_file_style_sheet.moc"
