#include "private_cups.h"
#include "calendar/calendar_page.h"
#include "calendar/calendar_panel.h"
#include "imaging/picture_loader.h"
#include "objects/image.h"
#include "objects/p_label.h"
#include "objects/p_rich_base_label.h"
#include "test_support.h"
#include "special/flat_calendar.h"
#include "special/super_text.h"
#include "imaging/picture_loader.h"
#include "platform/program_folder.h"
#include "platform/screen_ppi.h"
#include "test_registry.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {
struct Run {
    int code = -1;
    QByteArray out;
    QByteArray err;
};

Run cli(const QStringList& args, const QStringList& environment = {})
{
    QProcess p;
    if (!environment.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString& assignment : environment)
            env.insert(assignment.section(QLatin1Char('='), 0, 0), assignment.section(QLatin1Char('='), 1));
        p.setProcessEnvironment(env);
    }
    p.start(QStringLiteral(OV_CLI_PATH), args);
    p.waitForFinished(60000);
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

QJsonArray rect(int l, int t, int r, int b) { return QJsonArray{l, t, r, b}; }

// A new page at 96 pixels per inch, as the program starts one.
std::unique_ptr<TCalendarPanel32> newPage()
{
    setScreenPPIOverride(96);
    auto page = std::make_unique<TCalendarPanel32>(nullptr, 96);
    page->ApplyMainFormDesignValues();
    page->ResetToDefaults();
    return page;
}

// orvanta-cli save of the file writes the same bytes again.
bool resavedUnchanged(const QTemporaryDir& dir, const QString& ovf)
{
    const QString again = dir.filePath("again.OVF");
    QFile a(ovf), b(again);
    return cli({"save", "--file", ovf, "--out", again}).code == 0 && a.open(QIODevice::ReadOnly)
        && b.open(QIODevice::ReadOnly) && a.readAll() == b.readAll();
}
} // namespace

class TestCli : public QObject {
    Q_OBJECT
private slots:
    void geometryOfALetterPage()
    {
        const Run r = cli({"geometry", "--layout", "0", "--margins", "0.25,0.25,0.25,0.25", "--month", "12",
                           "--year", "1997", "--ppi", "96"});
        QCOMPARE(r.code, 0);
        const QJsonObject o = QJsonDocument::fromJson(r.out).object();
        QCOMPARE(o["page_width"].toInt(), 816);
        QCOMPARE(o["page_height"].toInt(), 1056);
        QCOMPARE(o["orientation"].toString(), QStringLiteral("portrait"));
        QCOMPARE(o["content_rect"].toArray(), rect(26, 26, 790, 1030));
        QCOMPARE(o["main_rect"].toArray(), rect(26, 26, 790, 1030));
        QCOMPARE(o["minis"].toArray().size(), 0);
        const QJsonArray cells = o["cells"].toArray();
        QCOMPARE(cells.size(), 42);
        QCOMPARE(cells[1].toObject()["day"].toInt(), 1); // December 1997 starts on Monday
    }

    void geometryOfMinis()
    {
        const Run r = cli({"geometry", "--layout", "17", "--month", "1", "--year", "2000"});
        QCOMPARE(r.code, 0);
        const QJsonObject o = QJsonDocument::fromJson(r.out).object();
        QCOMPARE(o["main_rect"], QJsonValue(QJsonValue::Null));
        const QJsonArray minis = o["minis"].toArray();
        QCOMPARE(minis.size(), 60);
        QCOMPARE(minis[59].toObject()["month"].toInt(), 12);
        QCOMPARE(minis[59].toObject()["year"].toInt(), 2004);
        QCOMPARE(minis[59].toObject()["rect"].toArray()[2], o["content_rect"].toArray()[2]);
    }

    void renderPictureAndPdf()
    {
        QTemporaryDir dir;
        const QString png = dir.filePath("page.png");
        QCOMPARE(cli({"render", "--layout", "3", "--month", "12", "--year", "1997", "--zoom", "0.5", "--out", png}).code,
                 0);
        const QImage image(png);
        QCOMPARE(image.size(), QSize(528, 408));
        const QString pdf = dir.filePath("page.pdf");
        QCOMPARE(cli({"render", "--layout", "0", "--out", pdf}).code, 0);
        QFile f(pdf);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.read(5).startsWith("%PDF"));
    }

    void objectsInDumpRenderAndSave()
    {
        QTemporaryDir dir;
        const QString ovf = dir.filePath("objects.OVF");
        {
            const auto page = newPage();
            auto* label = new TGPLabel(page.get());
            label->setObjectName(QStringLiteral("Component0"));
            label->setGeometry(40, 50, 142, 33);
            label->SetCaption(QStringLiteral("Party"));
            label->SetTransparent(false);
            label->SetBackColor(0x00FFFF); // yellow, a named colour
            label->SetDepthShadow(2);
            page->SaveToFile(ovf);
        }
        Run r = cli({"dump", ovf});
        QCOMPARE(r.code, 0);
        const QJsonArray objects = QJsonDocument::fromJson(r.out).object()["objects"].toArray();
        QCOMPARE(objects.size(), 1);
        const QJsonObject label = objects[0].toObject();
        QCOMPARE(label["class"].toString(), QStringLiteral("TGPLabel"));
        QCOMPARE(label["name"].toString(), QStringLiteral("Component0"));
        const QJsonObject props = label["properties"].toObject();
        QCOMPARE(props.keys(), (QStringList{"BackColor", "BorderStyle", "Caption", "DepthShadow", "Font.Color",
                                            "Font.Height", "Font.Name", "Font.Style", "Height", "Left", "Locked",
                                            "Top", "Transparent", "Unselectable", "Width"}));
        QCOMPARE(props["Left"].toInt(), 40);
        QCOMPARE(props["BackColor"].toString(), QStringLiteral("clYellow"));
        QCOMPARE(props["BorderStyle"].toString(), QStringLiteral("bsNone"));
        QCOMPARE(props["Font.Style"].toArray(), QJsonArray());
        QCOMPARE(props["Transparent"].toBool(true), false);

        const QString png = dir.filePath("objects.png");
        QCOMPARE(cli({"render", "--file", ovf, "--out", png}).code, 0);
        const QImage img(png);
        QCOMPARE(QColor(img.pixel(170, 55)), QColor(255, 255, 0)); // the label's background

        QVERIFY(resavedUnchanged(dir, ovf));
    }

    void imagesAndRichLabelsInDumpRenderAndSave()
    {
        QTemporaryDir dir;
        const QString ovf = dir.filePath("pictures.OVF");
        const QString clipArt = ovtest::sourceDir() + QStringLiteral("/assets/ClipArt/");
        {
            const auto page = newPage();
            auto* metafile = new TGImage(page.get());
            metafile->setObjectName(QStringLiteral("Component0"));
            metafile->setGeometry(60, 120, 200, 200);
            metafile->SetPicture(LoadPictureFromFile(clipArt + QStringLiteral("Snowman.emf")));
            auto* bitmap = new TGImage(page.get());
            bitmap->setObjectName(QStringLiteral("Component1"));
            bitmap->setGeometry(300, 120, 160, 120);
            QImage quadrants(4, 2, QImage::Format_RGB32);
            quadrants.fill(QColor(0, 0, 255));
            for (int y = 0; y < 2; ++y)
                quadrants.setPixel(0, y, qRgb(255, 0, 0)), quadrants.setPixel(1, y, qRgb(255, 0, 0));
            bitmap->SetPicture(TPicture::fromImage(quadrants));
            bitmap->SetReverse(true);
            bitmap->SetBorderStyle(TBorderStyle::bsSingle);
            auto* rich = new TGPRichBaseLabel(page.get());
            rich->setObjectName(QStringLiteral("Component2"));
            rich->setGeometry(500, 120, 250, 80);
            rich->SetTransparent(false);
            rich->SetBGColor(0x00FFFF);
            rich->SetRTFText(TWPRtfStorage("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red200\\green0\\blue0;}"
                                           "\\f0\\fs40\\b\\cf1 Happy Birthday\\par\\b0\\cf0\\fs24 to you all\\par}"));
            page->SaveToFile(ovf);
        }
        Run r = cli({"dump", ovf});
        QCOMPARE(r.code, 0);
        const QJsonArray objects = QJsonDocument::fromJson(r.out).object()["objects"].toArray();
        QCOMPARE(objects.size(), 3);
        QCOMPARE(objects[0].toObject()["class"].toString(), QStringLiteral("TGImage"));
        const QJsonObject emf = objects[0].toObject()["properties"].toObject();
        QCOMPARE(emf.keys(), (QStringList{"BorderStyle", "Flip", "Height", "Left", "Locked", "Picture.Data", "Reverse",
                                          "Top", "Unselectable", "Width"}));
        QVERIFY(emf["Picture.Data"].toObject()["size"].toInt() > 100);
        QCOMPARE(emf["Picture.Data"].toObject()["sha256"].toString().size(), 64);
        QCOMPARE(objects[1].toObject()["properties"].toObject()["Reverse"].toBool(), true);
        const QJsonObject rich = objects[2].toObject()["properties"].toObject();
        QCOMPARE(objects[2].toObject()["class"].toString(), QStringLiteral("TGPRichBaseLabel"));
        QCOMPARE(rich["RTFText.Data"].toObject()["text"].toString(), QStringLiteral("Happy Birthday\nto you all"));
        QCOMPARE(rich["BGColor"].toString(), QStringLiteral("clYellow"));
        QCOMPARE(rich["Transparent"].toBool(true), false);

        const QString png = dir.filePath("pictures.png");
        QCOMPARE(cli({"render", "--file", ovf, "--out", png}).code, 0);
        const QImage img(png);
        // Reversed: the red half on the right; the frame around it.
        QCOMPARE(QColor(img.pixel(320, 180)), QColor(0, 0, 255));
        QCOMPARE(QColor(img.pixel(440, 180)), QColor(255, 0, 0));
        QCOMPARE(QColor(img.pixel(300, 180)), QColor(0, 0, 0));
        // The rich label: yellow ground, dark red text in its first line.
        QCOMPARE(QColor(img.pixel(740, 190)), QColor(255, 255, 0));
        QVERIFY(ovtest::darkPixelsInRect(img, QRect(502, 122, 240, 60), 120) > 50);
        // The snowman is drawn (not the empty white box).
        int inked = 0;
        for (int y = 125; y < 315; y += 3)
            for (int x = 65; x < 255; x += 3)
                inked += QColor(img.pixel(x, y)) != QColor(Qt::white);
        QVERIFY(inked > 200);

        const QString pdf = dir.filePath("pictures.pdf");
        QCOMPARE(cli({"render", "--file", ovf, "--out", pdf}).code, 0);
        QVERIFY(QFileInfo(pdf).size() > 0);

        QVERIFY(resavedUnchanged(dir, ovf));
        // At another zoom the objects follow the page.
        const QString half = dir.filePath("half.png");
        QCOMPARE(cli({"render", "--file", ovf, "--out", half, "--zoom", "0.5"}).code, 0);
        QCOMPARE(QColor(QImage(half).pixel(220, 90)), QColor(255, 0, 0));
    }

    void floatingCalendarsInDumpRenderAndSave()
    {
        QTemporaryDir dir;
        const QString ovf = dir.filePath("floating.OVF");
        {
            const auto page = newPage();
            auto* calendar = new TGFlatCalendar(page.get());
            calendar->setObjectName(QStringLiteral("Component0"));
            calendar->setGeometry(300, 400, 210, 180);
            calendar->SetMonth(3);
            calendar->SetYear(2025);
            calendar->SetLanguage(TFlatCalLanguage::fclItalian);
            calendar->SetTitleBGcolor(0x0000FF); // red, a named colour
            calendar->SetShadowDepth(6);
            calendar->SetShadowColor(0x336699);
            calendar->SetShadowPosition(TFlatShadowPosition::fcpLowerLeft);
            page->SaveToFile(ovf);
        }
        Run r = cli({"dump", ovf});
        QCOMPARE(r.code, 0);
        const QJsonArray objects = QJsonDocument::fromJson(r.out).object()["objects"].toArray();
        QCOMPARE(objects.size(), 1);
        const QJsonObject calendar = objects[0].toObject();
        QCOMPARE(calendar["class"].toString(), QStringLiteral("TGFlatCalendar"));
        const QJsonObject props = calendar["properties"].toObject();
        QCOMPARE(props.size(), 6 + 19 + 3 * 3); // common, own, and three fonts of four entries
        QCOMPARE(props["Language"].toString(), QStringLiteral("fclItalian"));
        QCOMPARE(props["TitleBGcolor"].toString(), QStringLiteral("clRed"));
        QCOMPARE(props["ShadowColor"].toInt(), 0x336699);
        QCOMPARE(props["ShadowPosition"].toString(), QStringLiteral("fcpLowerLeft"));
        QCOMPARE(props["Month"].toInt(), 3);
        QCOMPARE(props["CellFont.Height"].toInt(), -9);
        QCOMPARE(props["CalTransparent"].toBool(true), false);

        // On the page: the shadow below left, the title band above it in red.
        const QString png = dir.filePath("floating.png");
        QCOMPARE(cli({"render", "--file", ovf, "--out", png}).code, 0);
        const QImage img(png);
        QCOMPARE(QColor(img.pixel(302, 577)), QColor(0x99, 0x66, 0x33));
        QCOMPARE(QColor(img.pixel(320, 403)), QColor(255, 0, 0));
        const QString pdf = dir.filePath("floating.pdf");
        QCOMPARE(cli({"render", "--file", ovf, "--out", pdf}).code, 0);
        QVERIFY(QFileInfo(pdf).size() > 0);

        QVERIFY(resavedUnchanged(dir, ovf));
    }

    void superTextInDumpRenderAndSave()
    {
        QTemporaryDir dir;
        const QString ovf = dir.filePath("supertext.OVF");
        {
            const auto page = newPage();
            auto place = [&](const QRect& r, const QString& caption) {
                auto* t = TGSuperText::CreateBordered(page.get());
                t->setObjectName(QStringLiteral("Component%1").arg(page->Objects().size() - 1));
                t->setGeometry(r);
                t->SetCaption(caption);
                return t;
            };
            // A gradient running down, framed on white (as the tool makes it).
            TGSuperText* gradient = place(QRect(60, 130, 330, 90), QStringLiteral("Summer"));
            gradient->SetFillDirection(TFillDirection::gdDown);
            gradient->SetGradientFromColor(0x0000FF); // red
            gradient->SetGradientToColor(0x00FFFF);   // yellow
            gradient->SetShadowDepth(4);
            // A texture from the shipped set, shadow below left, transparent and frameless.
            TGSuperText* texture = place(QRect(420, 120, 360, 110), QStringLiteral("Oak"));
            texture->SetControlTransparent(true);
            texture->SetBorderStyle(TBorderStyle::bsNone);
            texture->SetSurfaceType(TSurfaceType::stBrushImage);
            texture->SetImage(LoadPictureFromFile(QString::fromLocal8Bit(qgetenv("OV_SOURCE_DIR"))
                                                  + QStringLiteral("/assets/Textures/Oak.bmp")));
            texture->SetShadowOrientation(TShadowOrientation::sdDownLeft);
            texture->SetShadowDepth(6);
            texture->SetOutlineWidth(2);
            // Flat red letters, dashed blue outline.
            TGSuperText* flat = place(QRect(60, 600, 330, 90), QStringLiteral("Party!"));
            flat->SetSurfaceType(TSurfaceType::stNormal);
            TObjectFont font = flat->Font();
            font.Color = 0x0000FF;
            font.Italic = true;
            flat->SetFont(font);
            flat->SetOutlineColor(0xFF0000);
            flat->SetOutlineStyle(TPenStyle::psDash);
            flat->SetShadowOrientation(TShadowOrientation::sdRight);
            flat->SetShadowDepth(3);
            // Empty letters: only outline and shadow.
            TGSuperText* hollow = place(QRect(420, 600, 330, 90), QStringLiteral("Hollow"));
            hollow->SetSurfaceType(TSurfaceType::stBrushTransparent);
            hollow->SetOutlineWidth(3);
            hollow->SetOutlineColor(0x008000);
            hollow->SetShadowOrientation(TShadowOrientation::sdDown);
            hollow->SetShadowDepth(5);
            page->SaveToFile(ovf);
        }
        Run r = cli({"dump", ovf});
        QCOMPARE(r.code, 0);
        const QJsonArray objects = QJsonDocument::fromJson(r.out).object()["objects"].toArray();
        QCOMPARE(objects.size(), 4);
        QCOMPARE(objects[0].toObject()["class"].toString(), QStringLiteral("TGSuperText"));
        const QJsonObject textured = objects[1].toObject()["properties"].toObject();
        QCOMPARE(textured["SurfaceType"].toString(), QStringLiteral("stBrushImage"));
        QCOMPARE(textured["ShadowOrientation"].toString(), QStringLiteral("sdDownLeft"));
        QFile oak(QString::fromLocal8Bit(qgetenv("OV_SOURCE_DIR")) + QStringLiteral("/assets/Textures/Oak.bmp"));
        QVERIFY(oak.open(QIODevice::ReadOnly));
        // The texture's block: a 32-bit count, then the BMP file as it was loaded.
        QCOMPARE(textured["Image.Data"].toObject()["size"].toInt(), int(oak.size()) + 4);
        QCOMPARE(textured["Image.Data"].toObject()["sha256"].toString().size(), 64);
        QCOMPARE(objects[2].toObject()["properties"].toObject()["Font.Color"].toString(), QStringLiteral("clRed"));

        const QString png = dir.filePath("supertext.png");
        QCOMPARE(cli({"render", "--file", ovf, "--out", png}).code, 0);
        const QImage img(png);
        bool red = false, green = false;
        for (int y = 600; y < 690; ++y)
            for (int x = 60; x < 750; ++x) {
                red = red || QColor(img.pixel(x, y)) == QColor(255, 0, 0);
                green = green || QColor(img.pixel(x, y)) == QColor(0, 128, 0);
            }
        QVERIFY(red && green);
        const QString pdf = dir.filePath("supertext.pdf");
        QCOMPARE(cli({"render", "--file", ovf, "--out", pdf}).code, 0);
        QVERIFY(QFileInfo(pdf).size() > 0);
        QVERIFY(resavedUnchanged(dir, ovf));
    }

    void saveDumpAndStyle()
    {
        QTemporaryDir dir;
        const QString ovf = dir.filePath("a.OVF");
        QCOMPARE(cli({"save", "--layout", "2", "--month", "3", "--year", "2001", "--day", "4", "--title", "Ours",
                      "--out", ovf})
                     .code,
                 0);
        Run r = cli({"dump", ovf});
        QCOMPARE(r.code, 0);
        QJsonObject o = QJsonDocument::fromJson(r.out).object();
        QCOMPARE(o["format_version"].toInt(), 4);
        QCOMPARE(o["UserTitle"].toString(), QStringLiteral("Ours"));
        QCOMPARE(o["MainCalMonth"].toInt(), 3);
        QCOMPARE(o["settings"].toObject()["CalendarLayout"].toString(), QStringLiteral("loFCMinisInTitle"));

        const QString ovs = dir.filePath("a.OVS");
        QCOMPARE(cli({"save", "--file", ovf, "--stylesheet-out", ovs}).code, 0);
        const QString png = dir.filePath("styled.png");
        QCOMPARE(cli({"render", "--style", ovs, "--month", "6", "--year", "2001", "--out", png}).code, 0);
        r = cli({"geometry", "--style", ovs});
        QCOMPARE(QJsonDocument::fromJson(r.out).object()["orientation"].toString(), QStringLiteral("portrait"));
    }

    void layoutOptionSizesTheMinisAsTheDialogDoes()
    {
        QTemporaryDir dir;
        for (int layout : {3, 8, 15, 16}) {
            const QString ovf = dir.filePath(QStringLiteral("m%1.OVF").arg(layout));
            QCOMPARE(cli({"save", "--layout", QString::number(layout), "--out", ovf}).code, 0);
            const QJsonObject s = QJsonDocument::fromJson(cli({"dump", ovf}).out).object()["settings"].toObject();
            TCalendarPage page(96);
            page.ApplyMainFormDesignValues();
            page.ResetToDefaults();
            page.ChooseCalendarLayout(TCalendarLayout(layout));
            QCOMPARE(s["MiniTitleFont"].toObject()["size"].toInt(), page.settings().MiniTitleFont.size);
            QCOMPARE(s["MiniHeadersFont"].toObject()["size"].toInt(), page.settings().MiniHeadersFont.size);
            QCOMPARE(s["MiniCellFont"].toObject()["size"].toInt(), page.settings().MiniCellFont.size);
        }
        TCalendarPage sixMonths(96);
        sixMonths.ChooseCalendarLayout(TCalendarLayout(8));
        QCOMPARE(sixMonths.settings().MiniTitleFont.size, 18);
        QCOMPARE(sixMonths.settings().MiniCellFont.size, 14);
    }

    void errorsAreMessagesWithExitCodes()
    {
        QTemporaryDir dir;
        const QString bad = dir.filePath("bad.OVF");
        QFile f(bad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("garbage");
        f.close();
        Run r = cli({"dump", bad});
        QVERIFY(r.code != 0);
        QVERIFY(r.err.contains("Unable to open"));
        r = cli({"render", "--layout", "22", "--out", dir.filePath("x.png")});
        QVERIFY(r.code != 0);
        QVERIFY(r.err.contains("--layout"));
        r = cli({"render", "--out", dir.filePath("x.gif")});
        QVERIFY(r.code != 0);
        r = cli({"geometry", "--bogus"});
        QVERIFY(r.code != 0);
        QVERIFY(r.err.contains("--bogus"));
    }

    void datesFromICalendar()
    {
        QTemporaryDir dir;
        const QString ics = dir.filePath("family.ics");
        QFile f(ics);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("BEGIN:VCALENDAR\r\nVERSION:2.0\r\n"
                "BEGIN:VEVENT\r\nUID:1\r\nDTSTART;VALUE=DATE:19800415\r\nRRULE:FREQ=YEARLY\r\n"
                "SUMMARY:Oma's birthday\r\nEND:VEVENT\r\n"
                "BEGIN:VEVENT\r\nUID:2\r\nDTSTART;TZID=Europe/Berlin:20240101T090000\r\n"
                "RRULE:FREQ=WEEKLY;BYDAY=MO\r\nEXDATE;TZID=Europe/Berlin:20240415T090000\r\n"
                "SUMMARY:Standup\r\nEND:VEVENT\r\n"
                "BEGIN:VEVENT\r\nUID:3\r\nDTSTART;VALUE=DATE:20240415\r\nSUMMARY:Tax day\r\nEND:VEVENT\r\n"
                "END:VCALENDAR\r\n");
        f.close();
        const QStringList args{"dates", "--ics", ics, "--year", "2024", "--month", "4"};
        Run r = cli(args, {"TZ=America/New_York", "LC_ALL=en_US.UTF-8"});
        QCOMPARE(r.code, 0);
        QCOMPARE(QString::fromUtf8(r.out),
                 QStringLiteral("1\t3:00 AM Standup\n8\t3:00 AM Standup\n15\tOma's birthday\n15\tTax day\n"
                                "22\t3:00 AM Standup\n29\t3:00 AM Standup\n"));
        r = cli(args, {"TZ=Europe/Berlin", "LC_ALL=de_DE.UTF-8"});
        QVERIFY(r.out.startsWith("1\t09:00 Standup\n"));

        QFile note(dir.filePath("note.ics"));
        QVERIFY(note.open(QIODevice::WriteOnly));
        note.write("not a calendar");
        note.close();
        r = cli({"dates", "--ics", note.fileName(), "--year", "2024", "--month", "4"});
        QCOMPARE(r.code, 1);
        QVERIFY(r.out.isEmpty());
        QVERIFY(r.err.contains("Unable to open " + note.fileName().toUtf8() + ": it is not an iCalendar file"));
        r = cli({"dates", "--ics", ics, "--store", ics, "--year", "2024", "--month", "4"});
        QCOMPARE(r.code, 2);
        QVERIFY(r.err.contains("--ics"));
    }

    void renderMonthsAsOnePdf()
    {
        QTemporaryDir dir;
        const QString store = dir.filePath("OVRECUR.DAX");
        QFile f(store);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QString("Payday").leftJustified(120).append(QString("@0015").leftJustified(10)).toLatin1() + "\r\n");
        f.close();
        const QString pdf = dir.filePath("year.pdf");
        Run r = cli({"render", "--layout", "0", "--month", "11", "--year", "1998", "--out", pdf, "--months", "3",
                     "--recurring", store});
        QCOMPARE(r.code, 0);
        QCOMPARE(ovtest::pdfPageCount(pdf), 3);
        const QStringList pages = ovtest::pdfText(pdf).split('\f');
        QVERIFY(pages[0].contains("November 1998") && pages[0].contains("Payday"));
        QVERIFY(pages[2].contains("January 1999") && pages[2].contains("Payday"));
        r = cli({"render", "--out", pdf, "--months", "13"});
        QVERIFY(r.code != 0);
        QVERIFY(r.err.contains("--months must be a whole number from 1 to 12"));
        r = cli({"render", "--out", dir.filePath("x.png"), "--months", "2"});
        QVERIFY(r.code != 0);
    }

    void printThroughCups()
    {
        ovtest::PrivateCups& cups = ovtest::PrivateCups::instance();
        QVERIFY2(cups.ok(), qPrintable(cups.error()));
        QVERIFY2(cups.addQueue("Cli_Test", true), qPrintable(cups.error()));
        QVERIFY2(cups.addQueue("Cli_Wide_Margins", false, 0.3), qPrintable(cups.error()));
        Run r = cli({"print", "--layout", "0", "--month", "12", "--year", "1997", "--copies", "2"});
        QCOMPARE(r.code, 0);
        QVERIFY2(cups.waitIdle(), qPrintable(cups.error()));
        QCOMPARE(ovtest::pdfPageCount(cups.outputFile("Cli_Test")), 2);
        QVERIFY(ovtest::pdfText(cups.outputFile("Cli_Test")).contains("December 1997"));
        // Margins the device cannot print: warnings on stderr, nothing printed without --force.
        const int before = cups.lastJobId();
        const QStringList narrow{"print", "--layout", "0", "--margins", "0.25,0.25,0.25,0.25", "--printer",
                                 "Cli_Wide_Margins"};
        r = cli(narrow);
        QCOMPARE(r.code, 1);
        QVERIFY(r.err.contains("Left Margin is possibly outside of Printer printable area"));
        QVERIFY(r.err.contains("Bottom Margin is possibly outside of Printer printable area"));
        QCOMPARE(cups.lastJobId(), before);
        r = cli(narrow + QStringList{"--force"});
        QCOMPARE(r.code, 0);
        QVERIFY(cups.waitIdle());
        QCOMPARE(cups.lastJobId(), before + 1);
        r = cli({"print", "--printer", "No_Such_Printer"});
        QVERIFY(r.code != 0);
        QVERIFY(r.err.contains("there is no printer named"));
    }

    void deterministicOutput()
    {
        const QStringList args{"geometry", "--layout", "5", "--month", "7", "--year", "2010"};
        QCOMPARE(cli(args).out, cli(args).out);
    }
};
OV_TEST(TestCli)

#include "test_cli.moc"
