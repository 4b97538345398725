#include "calendar/calendar_panel.h"
#include "calendar/properties_dialog.h"
#include "platform/program_folder.h"
#include "platform/prompter.h"
#include "test_registry.h"
#include "widgets/color_button.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {
// The smallest picture the border loader accepts (pictures are recognised by content).
const char kBorderPicture[] = R"(<svg xmlns="http://www.w3.org/2000/svg" width="100" height="100">)"
                              R"(<rect x="2" y="2" width="96" height="96" fill="none" stroke="black"/></svg>)";
const QString kInformation = QStringLiteral("Information");

QPushButton* button(const QWidget& d, const char* name)
{
    auto* b = d.findChild<QPushButton*>(QString::fromLatin1(name));
    if (!b)
        qFatal("no button %s", name);
    return b;
}

// A program folder with one border, so style sheets can carry it.
struct Folder {
    QTemporaryDir dir;
    Folder()
    {
        QDir(dir.path()).mkdir(QStringLiteral("Borders"));
        for (const char* f : {"Frame.wls", "Frame.wpo"}) {
            QFile file(dir.path() + QStringLiteral("/Borders/") + QLatin1String(f));
            file.open(QIODevice::WriteOnly);
            file.write(kBorderPicture);
        }
        setProgramFolderOverride(dir.path() + QLatin1Char('/'));
    }
    ~Folder() { setProgramFolderOverride(QString()); }
    QString path(const QString& name) const { return dir.path() + QLatin1Char('/') + name; }
};
} // namespace

class TestPropertiesStyleSheets : public QObject {
    Q_OBJECT
private slots:
    void saveChecksTheExtension()
    {
        Folder folder;
        ScopedScriptedPrompter sp;
        sp->fileAnswers = {folder.path("style.txt"), folder.path("style.ovs")};
        TCalendarProperties d(nullptr, 96);
        d.show();
        button(d, "btnSaveStyle")->click();
        QCOMPARE(sp->records.size(), size_t(2));
        QCOMPARE(sp->records[0].kind, QStringLiteral("save"));
        QCOMPARE(sp->records[0].text, QStringLiteral("Save As Calendar Style Sheet"));
        QCOMPARE(sp->records[0].caption, QStringLiteral("MyStyle.OVS"));
        QCOMPARE(sp->records[1].text, QStringLiteral("Must save as a Calendar Style Sheet (*.OVS)"));
        QCOMPARE(sp->records[1].caption, kInformation);
        QVERIFY(!QFile::exists(folder.path("style.txt")));
        // Lower case is accepted.
        button(d, "btnSaveStyle")->click();
        QVERIFY(QFile::exists(folder.path("style.ovs")));
        QCOMPARE(sp->records.size(), size_t(3));
    }

    void loadRefillsTheControls()
    {
        Folder folder;
        ScopedScriptedPrompter sp;
        const QString file = folder.path("Framed.OVS");
        {
            TCalendarProperties src(nullptr, 96);
            TCalendarPanel32& p = *src.ExampleCalendar();
            p.SetCalendarLayout(TCalendarLayout::loMC12MonthLS);
            p.SetWMFBorderFile(QStringLiteral("Frame"));
            p.SetTitleBGColor(clRed);
            p.SetLeftMarginInch(1.0f);
            sp->fileAnswers = {file};
            src.show();
            button(src, "btnSaveStyle")->click();
        }
        TCalendarProperties d(nullptr, 96);
        TCalendarPanel32& p = *d.ExampleCalendar();
        p.SetMainCalYear(2030);
        p.SetMainCalMonth(7);
        d.show();
        sp->clear();
        sp->fileAnswers = {file};
        button(d, "btnLoadStyle")->click();
        QCOMPARE(sp->records.size(), size_t(1));
        QCOMPARE(sp->records[0].kind, QStringLiteral("open"));
        QCOMPARE(sp->records[0].text, QStringLiteral("Open Calendar Style Sheet"));
        QCOMPARE(p.settings().CalendarLayout, TCalendarLayout::loMC12MonthLS);
        QCOMPARE(p.settings().WMFBorderFile, QStringLiteral("Frame"));
        QCOMPARE(p.settings().MainCalYear, 2030);
        QCOMPARE(p.settings().MainCalMonth, 7);
        QCOMPARE(d.findChild<QListWidget*>("LayoutList")->currentRow(), 5);
        QCOMPARE(d.findChild<QListWidget*>("BorderList")->currentItem()->text(), QStringLiteral("Frame"));
        QCOMPARE(d.findChild<TColorButton*>("TitleColorButton")->color(), clRed);
        QCOMPARE(d.findChild<QComboBox*>("LeftMarginList")->currentText(), QStringLiteral("1 Inch"));
        // The controls work again after loading (the guard is cleared).
        d.findChild<QListWidget*>("BorderList")->setCurrentRow(0);
        QCOMPARE(p.settings().WMFBorderFile, QString());
    }

    void loadRejectsOtherExtensions()
    {
        Folder folder;
        ScopedScriptedPrompter sp;
        sp->fileAnswers = {folder.path("calendar.OVF")};
        TCalendarProperties d(nullptr, 96);
        d.show();
        const TCalendarLayout before = d.ExampleCalendar()->settings().CalendarLayout;
        button(d, "btnLoadStyle")->click();
        QCOMPARE(sp->texts(QStringLiteral("information")),
                 QStringList{QStringLiteral("Must be a Calendar Style Sheet (*.OVS)")});
        QCOMPARE(d.ExampleCalendar()->settings().CalendarLayout, before);
    }

    void damagedFileReportsAndKeepsDialogUsable()
    {
        Folder folder;
        ScopedScriptedPrompter sp;
        const QString bad = folder.path("Broken.OVS");
        QFile f(bad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("\x01\x02\x04", 3); // list begin, then the file ends
        f.close();
        sp->fileAnswers = {bad};
        TCalendarProperties d(nullptr, 96);
        d.show();
        button(d, "btnLoadStyle")->click();
        QCOMPARE(sp->texts(QStringLiteral("information")),
                 QStringList{QStringLiteral("Unable to open ") + bad
                             + QStringLiteral(". Possibly \ncorrupted, possibly not a Calendar Style file")});
        // Still live: a colour pick reaches the preview.
        d.findChild<TColorButton*>("TitleColorButton")->pickColor(clBlue);
        QCOMPARE(d.ExampleCalendar()->settings().TitleBGColor, clBlue);
    }

    void cancelledFileDialogsDoNothing()
    {
        ScopedScriptedPrompter sp;
        TCalendarProperties d(nullptr, 96);
        d.show();
        button(d, "btnSaveStyle")->click();
        button(d, "btnLoadStyle")->click();
        QCOMPARE(sp->texts(QStringLiteral("information")), QStringList());
        QCOMPARE(sp->records.size(), size_t(2));
    }
};
OV_TEST(TestPropertiesStyleSheets)
#include "test_properties_style_sheets.moc"
