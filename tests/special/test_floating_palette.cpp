#include "platform/prompter.h"
#include "special/floating_palette.h"
#include "special/icon_list_box.h"
#include "icon_test_support.h"
#include "test_registry.h"

#include <QAction>
#include <QFileInfo>
#include <QFrame>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

using namespace specialtest;

namespace {
QStringList captions(const QMenu* menu)
{
    QStringList result;
    for (const QAction* a : menu->actions())
        result << a->text();
    return result;
}

QStringList checkedItems(const TFloatingPalette& palette)
{
    QStringList result;
    QList<QAction*> items = palette.FileMenu->actions();
    if (palette.BonusMenu)
        items += palette.BonusMenu->actions();
    for (const QAction* a : items)
        if (a->isChecked())
            result << a->text();
    return result;
}

QAction* bonusItem(const TFloatingPalette& palette, const QString& caption)
{
    for (QAction* a : palette.BonusMenu->actions())
        if (a->text() == caption)
            return a;
    qFatal("no bonus item %s", qPrintable(caption));
}

QString shownFile(const TFloatingPalette& palette) { return QFileInfo(palette.IconListBox->FileName()).fileName(); }
} // namespace

class TestFloatingPalette : public QObject {
    Q_OBJECT
private slots:
    void windowMenuAndFirstLibrary()
    {
        ProgramFolderWithIcons folder;
        TFloatingPalette palette;
        QCOMPARE(palette.windowTitle(), QStringLiteral("Icons"));
        const Qt::WindowFlags flags = palette.windowFlags();
        QVERIFY(flags & Qt::WindowStaysOnTopHint);
        QCOMPARE(flags & Qt::WindowType_Mask, Qt::Tool);
        QVERIFY(!(flags & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint)));
        palette.show();
        QVERIFY(QTest::qWaitForWindowExposed(&palette));
        QCOMPARE(palette.Panel1->size(), QSize(140, 140));
        QCOMPARE(palette.size().width(), 140);
        QCOMPARE(palette.IconListBox->geometry(), QRect(4, 4, 132, 132));
        QCOMPARE(palette.IconListBox->XIcons(), 3);
        QCOMPARE(palette.IconListBox->YIcons(), 3);
        QCOMPARE(palette.IconListBox->palette().color(QPalette::Base), QColor(Qt::white));
        QCOMPARE(shownFile(palette), QStringLiteral("activity.icl"));

        QCOMPARE(palette.MainMenu->actions().size(), 1);
        QCOMPARE(palette.MainMenu->actions().first()->menu(), palette.FileMenu);
        QCOMPARE(palette.MainMenu->actions().first()->text(), QStringLiteral("File"));
        QCOMPARE(captions(palette.FileMenu),
                 (QStringList{"Activities", "Events", "Holidays", "Miscellaneous #1", "Miscellaneous #2",
                              "Bonus Icon Sets", "Other..."}));
        QVERIFY(palette.BonusMenu);
        QCOMPARE(palette.mnuBonusIconSets->menu(), palette.BonusMenu);
        QCOMPARE(captions(palette.BonusMenu), (QStringList{"Flags", "Tango Desktop"}));
    }

    void bonusNamesAreSortedOnceIgnoringCase()
    {
        QTemporaryDir dir;
        for (const char* name : {"zeta.icl", "Alpha.ICL", "a.b.icl", "a.icl", "ALPHA.icl", "readme.txt", "b.icl.bak"})
            QVERIFY(writeFile(dir.filePath(QLatin1String(name)), "x"));
        QCOMPARE(TFloatingPalette::BonusIconSetNames(dir.path()), (QStringList{"a", "Alpha", "zeta"}));
        QCOMPARE(TFloatingPalette::IconSetName(QStringLiteral("/x/My Set.v2.icl")), QStringLiteral("My Set"));
        QCOMPARE(TFloatingPalette::IconSetName(QString(70, QLatin1Char('n')) + QStringLiteral(".icl")),
                 QString(64, QLatin1Char('n')));
    }

    void menuItemsLoadTheirLibraryAndCheckThemselves()
    {
        ProgramFolderWithIcons folder;
        // Names keep whatever case the installation gave them.
        QVERIFY(QFile::rename(folder.path(QStringLiteral("holiday.icl")), folder.path(QStringLiteral("HOLIDAY.ICL"))));
        TFloatingPalette palette;
        palette.mnuHolidaysICL->trigger();
        QCOMPARE(shownFile(palette), QStringLiteral("HOLIDAY.ICL"));
        QVERIFY(palette.IconListBox->NumberOfIcons() >= 40);
        QCOMPARE(checkedItems(palette), QStringList{"Holidays"});

        bonusItem(palette, QStringLiteral("Flags"))->trigger();
        QCOMPARE(palette.IconListBox->FileName(), folder.path(QStringLiteral("BonusIcons/Flags.icl")));
        QCOMPARE(checkedItems(palette), QStringList{"Flags"});

        palette.mnuMisc2ICL->trigger();
        QCOMPARE(checkedItems(palette), QStringList{"Miscellaneous #2"});
        QVERIFY(palette.IconListBox->isEnabled());

        // A standard library missing from the installation: an empty, disabled list.
        QVERIFY(QFile::remove(folder.path(QStringLiteral("events.icl"))));
        ScopedScriptedPrompter prompts;
        palette.mnuEventsICL->trigger();
        QCOMPARE(palette.IconListBox->NumberOfIcons(), -1);
        QVERIFY(!palette.IconListBox->isEnabled());
        QVERIFY(prompts->records.empty());
    }

    void syncMenuChecksFollowsTheFile()
    {
        ProgramFolderWithIcons folder;
        TFloatingPalette palette;
        // The settings file's default name in capitals finds misc1.icl.
        palette.SyncMenuChecks(ProgramFolder() + QStringLiteral("MISC1.ICL"));
        QCOMPARE(shownFile(palette), QStringLiteral("misc1.icl"));
        QCOMPARE(checkedItems(palette), QStringList{"Miscellaneous #1"});

        // A file anywhere whose name is a caption checks that caption.
        QTemporaryDir elsewhere;
        const QString events = elsewhere.filePath(QStringLiteral("Events.icl"));
        QVERIFY(QFile::copy(folder.path(QStringLiteral("handmade.icl")), events));
        palette.SyncMenuChecks(events);
        QCOMPARE(palette.IconListBox->FileName(), events);
        QCOMPARE(checkedItems(palette), QStringList{"Events"});

        palette.SyncMenuChecks(folder.path(QStringLiteral("handmade.icl")));
        QCOMPARE(checkedItems(palette), QStringList{"Other..."});
        QCOMPARE(palette.IconListBox->NumberOfIcons(), 3);

        // A file without icons falls back to Misc1, and the marks follow.
        const QString empty = elsewhere.filePath(QStringLiteral("empty.icl"));
        QVERIFY(writeFile(empty, icontest::neLibrary({})));
        palette.SyncMenuChecks(empty);
        QCOMPARE(shownFile(palette), QStringLiteral("misc1.icl"));
        QCOMPARE(checkedItems(palette), QStringList{"Miscellaneous #1"});

        // A file that is gone changes nothing but the marks.
        palette.SyncMenuChecks(elsewhere.filePath(QStringLiteral("gone.icl")));
        QCOMPARE(shownFile(palette), QStringLiteral("misc1.icl"));
        QVERIFY(checkedItems(palette).isEmpty());
    }

    void otherAsksUntilAFileHasIcons()
    {
        ProgramFolderWithIcons folder;
        TFloatingPalette palette;
        QTemporaryDir elsewhere;
        const QString damaged = elsewhere.filePath(QStringLiteral("broken.icl"));
        QVERIFY(writeFile(damaged, readFile(folder.path(QStringLiteral("misc1.icl"))).left(3000)));
        const QString good = folder.path(QStringLiteral("handmade.icl"));

        ScopedScriptedPrompter prompts;
        prompts->fileAnswers = {damaged, good};
        palette.mnuOtherIconFile->trigger();
        QCOMPARE(prompts->texts(QStringLiteral("open")), (QStringList{"Open", "Open"}));
        const ScriptedPrompter::Record& open = prompts->records.front();
        QCOMPARE(open.caption, ProgramFolder());
        QVERIFY(open.filter.startsWith(QStringLiteral("All Files (*.ICL *.DLL *.EXE *.ICO *.NIL *.icl")));
        QVERIFY(open.filter.endsWith(QStringLiteral(";;ICL and ICO Files (*.ICL *.ICO *.icl *.ico)")));
        QCOMPARE(open.filter.count(QStringLiteral(";;")), 6);
        const QStringList messages = prompts->texts(QStringLiteral("information"));
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages.first(), QStringLiteral("No icons found in ") + damaged
                                       + QStringLiteral("\nThe file is damaged (a resource lies outside the file)."));
        QCOMPARE(palette.IconListBox->FileName(), good);
        QCOMPARE(checkedItems(palette), QStringList{"Other..."});

        // Giving up after an empty file brings Misc1 back.
        prompts->clear();
        const QString empty = elsewhere.filePath(QStringLiteral("empty.ico.icl"));
        QVERIFY(writeFile(empty, icontest::neLibrary({})));
        prompts->fileAnswers = {empty};
        palette.mnuOtherIconFile->trigger();
        QCOMPARE(prompts->texts(QStringLiteral("information")), QStringList{"No icons found in " + empty});
        QCOMPARE(prompts->texts(QStringLiteral("open")).size(), 2);
        QCOMPARE(shownFile(palette), QStringLiteral("misc1.icl"));
        QCOMPARE(checkedItems(palette), QStringList{"Miscellaneous #1"});

        // Cancelling at once keeps the library.
        prompts->clear();
        palette.mnuOtherIconFile->trigger();
        QCOMPARE(shownFile(palette), QStringLiteral("misc1.icl"));
        QVERIFY(prompts->texts(QStringLiteral("information")).isEmpty());
    }

    void damagedStandardLibraryIsReported()
    {
        ProgramFolderWithIcons folder;
        TFloatingPalette palette;
        QVERIFY(writeFile(folder.path(QStringLiteral("holiday.icl")), "MZ broken"));
        ScopedScriptedPrompter prompts;
        palette.mnuHolidaysICL->trigger();
        const QStringList messages = prompts->texts(QStringLiteral("information"));
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages.first().startsWith(QStringLiteral("No icons found in ") + folder.path("holiday.icl") + "\n"),
                 qPrintable(messages.first()));
        QCOMPARE(prompts->records.front().caption, QStringLiteral("Information"));
        QCOMPARE(shownFile(palette), QStringLiteral("misc1.icl"));
    }

    void withoutBonusLibrariesTheItemExplains()
    {
        for (const bool emptyFolder : {false, true}) {
            ProgramFolderWithIcons folder(false);
            if (emptyFolder)
                QDir().mkpath(folder.path(QStringLiteral("BonusIcons")));
            TFloatingPalette palette;
            QVERIFY(!palette.BonusMenu);
            QVERIFY(!palette.mnuBonusIconSets->menu());
            ScopedScriptedPrompter prompts;
            palette.mnuBonusIconSets->trigger();
            const QStringList messages = prompts->texts(QStringLiteral("information"));
            QCOMPARE(messages.size(), 1);
            QVERIFY(messages.first().startsWith(QStringLiteral("No Bonus Sets Found!\n")));
            QVERIFY(!palette.mnuBonusIconSets->isChecked());
            QCOMPARE(shownFile(palette), QStringLiteral("activity.icl"));
        }
    }
};
OV_TEST(TestFloatingPalette)

#include "test_floating_palette.moc"
