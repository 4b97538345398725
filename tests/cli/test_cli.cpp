#include "calendar/calendar_page.h"
#include "calendar/calendar_panel.h"
#include "objects/p_label.h"
#include "platform/screen_ppi.h"
#include "test_registry.h"

#include <QFile>
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

Run cli(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(OV_CLI_PATH), args);
    p.waitForFinished(60000);
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

QJsonArray rect(int l, int t, int r, int b) { return QJsonArray{l, t, r, b}; }
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
            setScreenPPIOverride(96);
            TCalendarPanel32 page(nullptr, 96);
            page.ApplyMainFormDesignValues();
            page.ResetToDefaults();
            auto* label = new TGPLabel(&page);
            label->setObjectName(QStringLiteral("Component0"));
            label->setGeometry(40, 50, 142, 33);
            label->SetCaption(QStringLiteral("Party"));
            label->SetTransparent(false);
            label->SetBackColor(0x00FFFF); // yellow, a named colour
            label->SetDepthShadow(2);
            page.SaveToFile(ovf);
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

        const QString again = dir.filePath("again.OVF");
        QCOMPARE(cli({"save", "--file", ovf, "--out", again}).code, 0);
        QFile a(ovf), b(again);
        QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        QCOMPARE(b.readAll(), a.readAll());
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

    void deterministicOutput()
    {
        const QStringList args{"geometry", "--layout", "5", "--month", "7", "--year", "2010"};
        QCOMPARE(cli(args).out, cli(args).out);
    }
};
OV_TEST(TestCli)

#include "test_cli.moc"
