#include "main_window_fixture.h"
#include "shell/mru_file_list.h"
#include "test_registry.h"

#include "richtext/wp_rich_text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>

namespace {
void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

class TestDocumentCommands : public QObject {
    Q_OBJECT
private slots:
    void saveAsProposesMonthAndYear()
    {
        MainWindowFixture f;
        f.main->mnuSaveAsClick(); // cancelled: no file answer
        QCOMPARE(f.prompts->records.back().kind, QStringLiteral("save"));
        QCOMPARE(f.prompts->records.back().text, QStringLiteral("Save Calendar File"));
        QCOMPARE(f.prompts->records.back().caption, QStringLiteral("Dec1997.OVF"));
    }

    void saveAsThenReopenKeepsEverything()
    {
        MainWindowFixture f;
        f.page().SetUserTitle(QStringLiteral("Our year"));
        f.main->PuttextOnDay(24, QStringLiteral("Eve"));
        f.main->SetModified(true);
        const QString file = f.path(QStringLiteral("family"));
        f.prompts->fileAnswers = {file};
        QVERIFY(f.main->mnuSaveAsClick());
        const QString saved = file + QStringLiteral(".OVF"); // the default extension
        QVERIFY(QFileInfo::exists(saved));
        QCOMPARE(f.main->CalendarFileName, saved);
        QVERIFY(!f.main->Modified);
        QCOMPARE(f.main->windowTitle(), QStringLiteral("Orvanta  [family.OVF]"));
        QCOMPARE(f.main->RecentFiles->Items().first(), saved);

        f.page().SetUserTitle(QString());
        f.page().ClearAllCells();
        f.main->OpenCalendarFile(saved);
        QCOMPARE(f.page().settings().UserTitle, QStringLiteral("Our year"));
        QVERIFY(f.page().HasCellText());
        QVERIFY(!f.page().isHidden());
    }

    void zoomIsKeptAroundOpenAndSave()
    {
        MainWindowFixture f;
        const QString file = f.path(QStringLiteral("zoom.OVF"));
        f.page().SetZoom(0.601f);
        QVERIFY(f.main->SaveCalendarFile(file));
        QCOMPARE(f.page().Zoom(), 0.601f);
        f.main->OpenCalendarFile(file);
        QCOMPARE(f.page().Zoom(), 0.601f);
        // 100 % is the scale 1.001: saving leaves exactly 1.
        f.page().SetZoom(1.001f);
        QVERIFY(f.main->SaveCalendarFile(file));
        QCOMPARE(f.page().Zoom(), 1.0f);
        f.main->SetCaption();
        QCOMPARE(f.main->ZoomCaption->text(), QStringLiteral("100%"));
    }

    void openMissingFile()
    {
        MainWindowFixture f;
        const QString file = f.path(QStringLiteral("gone.OVF"));
        f.main->OpenCalendarFile(file);
        QCOMPARE(f.prompts->texts(QStringLiteral("information")).last(),
                 QStringLiteral("File ") + file + QStringLiteral(" no longer exists"));
        QVERIFY(f.page().isHidden());
        QVERIFY(f.main->CalendarFileName.isEmpty());
    }

    void openCorruptFile()
    {
        MainWindowFixture f;
        const QString file = f.path(QStringLiteral("bad.OVF"));
        writeFile(file, "this is not a calendar");
        f.main->OpenCalendarFile(file);
        QCOMPARE(f.prompts->texts(QStringLiteral("information")).last(),
                 QStringLiteral("Unable to open ") + file
                     + QStringLiteral(". Possibly \ncorrupted, possibly not a Calendar file"));
        QVERIFY(f.page().isHidden());
        QCOMPARE(f.main->RecentFiles->Count(), 0);
    }

    void openRefusesOtherExtensions()
    {
        MainWindowFixture f;
        f.prompts->fileAnswers = {f.path(QStringLiteral("picture.png"))};
        f.main->Open1Click();
        QCOMPARE(f.prompts->texts(QStringLiteral("information")).last(),
                 QStringLiteral("Must be a Calendar file (*.OVF)"));
    }

    void failedSaveIsReportedAndKeepsChanges()
    {
        MainWindowFixture f;
        f.main->SetModified(true);
        const QString file = f.path(QStringLiteral("no/such/folder/x.OVF"));
        QVERIFY(!f.main->SaveCalendarFile(file));
        QVERIFY(f.main->Modified);
        QVERIFY(f.main->CalendarFileName.isEmpty());
        QVERIFY(f.prompts->texts(QStringLiteral("information")).last().startsWith(QStringLiteral("Unable to save ")
                                                                                    + file));
    }

    void cancelledSaveAsKeepsModified()
    {
        MainWindowFixture f;
        f.main->SetModified(true);
        f.prompts->yesNoAnswers = {true}; // "Save changes?" Yes, then the dialog is cancelled
        f.main->CheckSaveNeeded();
        QCOMPARE(f.prompts->texts(QStringLiteral("yesno")), QStringList{QStringLiteral("Save changes?")});
        QVERIFY(f.main->Modified);
    }

    void revertUntitledOnlyClearsModified()
    {
        MainWindowFixture f;
        f.page().SetUserTitle(QStringLiteral("mine"));
        f.main->SetModified(true);
        f.prompts->yesNoAnswers = {true};
        f.main->mnuCancelChangesClick();
        QCOMPARE(f.prompts->records.front().caption, QStringLiteral("CANCEL"));
        QVERIFY(!f.main->Modified);
        QCOMPARE(f.page().settings().UserTitle, QStringLiteral("mine"));
    }

    void recentFileAsksToSaveFirst()
    {
        MainWindowFixture f;
        const QString file = f.path(QStringLiteral("recent.OVF"));
        QVERIFY(f.main->SaveCalendarFile(file));
        f.main->SetModified(true);
        f.prompts->yesNoAnswers = {false};
        f.main->RecentFileClick(file);
        QCOMPARE(f.prompts->texts(QStringLiteral("yesno")), QStringList{QStringLiteral("Save changes?")});
        QCOMPARE(f.main->CalendarFileName, file);
    }

    void firstActivationReopensMostRecentFile()
    {
        QString file;
        QTemporaryDir keep;
        {
            MainWindowFixture f;
            file = keep.filePath(QStringLiteral("last.OVF"));
            f.page().SetUserTitle(QStringLiteral("again"));
            f.prompts->fileAnswers = {file};
            QVERIFY(f.main->mnuSaveAsClick());
            // The next start uses the same user-data folder.
            const QString ini = f.dir.filePath(QStringLiteral("OV.ini"));
            QFile::copy(ini, keep.filePath(QStringLiteral("OV.ini")));
        }
        setUserDataFolderOverride(keep.path());
        ScopedScriptedPrompter prompts;
        TCalendarMain main;
        main.show();
        QTRY_VERIFY(main.FirstActivationDone());
        QCOMPARE(main.CalendarFileName, file);
        QCOMPARE(main.CalendarPanel->settings().UserTitle, QStringLiteral("again"));
        QVERIFY(!main.CalendarPanel->isHidden());
        setUserDataFolderOverride(QString());
    }

    // ---- no save, revert or close loses or replaces work unasked ----------------------

    void saveAsAsksBeforeReplacingWhenTheExtensionIsAdded()
    {
        MainWindowFixture f;
        const QString existing = f.path(QStringLiteral("Dec1997.OVF"));
        writeFile(existing, "older calendar");
        const QString question = QStringLiteral("Dec1997.OVF already exists.\nDo you want to replace it?");

        // "No" shows the dialog again, on the name that would have been written; a
        // cancel there leaves the file alone.
        f.prompts->fileAnswers = {f.path(QStringLiteral("Dec1997"))};
        f.prompts->yesNoAnswers = {false};
        QVERIFY(!f.main->mnuSaveAsClick());
        QCOMPARE(f.prompts->texts(QStringLiteral("yesno")), QStringList{question});
        QCOMPARE(f.prompts->records.back().kind, QStringLiteral("save"));
        QCOMPARE(f.prompts->records.back().caption, QStringLiteral("Dec1997.OVF"));
        QCOMPARE(f.prompts->records.front().filter.section(QLatin1Char('|'), 1), QStringLiteral("OVF"));
        QCOMPARE(fileBytes(existing), QByteArray("older calendar"));
        QVERIFY(f.main->CalendarFileName.isEmpty());

        // "Yes" replaces it.
        f.prompts->clear();
        f.prompts->fileAnswers = {f.path(QStringLiteral("Dec1997"))};
        f.prompts->yesNoAnswers = {true};
        QVERIFY(f.main->mnuSaveAsClick());
        QCOMPARE(f.prompts->records.front().kind, QStringLiteral("save"));
        QCOMPARE(f.prompts->texts(QStringLiteral("yesno")), QStringList{question});
        QCOMPARE(f.main->CalendarFileName, existing);
        QVERIFY(fileBytes(existing) != QByteArray("older calendar"));

        // A new name is not asked about.
        f.prompts->clear();
        f.prompts->fileAnswers = {f.path(QStringLiteral("fresh"))};
        QVERIFY(f.main->mnuSaveAsClick());
        QVERIFY(f.prompts->texts(QStringLiteral("yesno")).isEmpty());
        QCOMPARE(f.main->CalendarFileName, f.path(QStringLiteral("fresh.OVF")));
    }

    void cancelChangesReadsTheFileAgain()
    {
        MainWindowFixture f;
        const QString file = f.path(QStringLiteral("revert.OVF"));
        f.page().SetUserTitle(QStringLiteral("as saved"));
        QVERIFY(f.main->SaveCalendarFile(file));
        f.page().SetUserTitle(QStringLiteral("changed"));
        f.main->PuttextOnDay(5, QStringLiteral("added"));
        f.main->SetModified(true);
        QVERIFY(f.main->mnuCancelChanges->isEnabled());

        f.prompts->yesNoAnswers = {true};
        f.main->mnuCancelChangesClick();
        QCOMPARE(f.prompts->texts(), QStringList{QStringLiteral("Cancel all changes?")});
        QCOMPARE(f.main->CalendarFileName, file);
        QCOMPARE(f.page().settings().UserTitle, QStringLiteral("as saved"));
        QVERIFY(!f.page().HasCellText());
        QVERIFY(!f.page().isHidden());
        QVERIFY(!f.main->Modified);
        QCOMPARE(f.main->windowTitle(), QStringLiteral("Orvanta  [revert.OVF]"));
    }

    void closingKeepsTheWorkWhenTheSaveDoesNotHappen_data()
    {
        QTest::addColumn<bool>("named");
        QTest::newRow("untitled, Save dialog cancelled") << false;
        QTest::newRow("named, save fails") << true;
    }
    void closingKeepsTheWorkWhenTheSaveDoesNotHappen()
    {
        QFETCH(bool, named);
        MainWindowFixture f;
        if (named) {
            const QString folder = f.path(QStringLiteral("gone"));
            QVERIFY(QDir().mkpath(folder));
            QVERIFY(f.main->SaveCalendarFile(folder + QStringLiteral("/work.OVF")));
            QVERIFY(QDir(folder).removeRecursively()); // the next save cannot be written
        }
        f.page().SetUserTitle(QStringLiteral("unsaved work"));
        f.main->SetModified(true);
        f.prompts->yesNoAnswers = {true}; // "Save changes?" Yes, then no file comes of it
        QVERIFY(!f.main->close());
        QVERIFY(f.main->isVisible());
        QVERIFY(f.main->Modified);
        QCOMPARE(f.page().settings().UserTitle, QStringLiteral("unsaved work"));
        QCOMPARE(f.prompts->texts(QStringLiteral("yesno")), QStringList{QStringLiteral("Save changes?")});

        // The same holds for the commands that replace the document.
        f.prompts->clear();
        f.prompts->yesNoAnswers = {true};
        f.main->RecentFileClick(f.path(QStringLiteral("other.OVF")));
        QCOMPARE(f.prompts->texts(QStringLiteral("yesno")), QStringList{QStringLiteral("Save changes?")});
        QVERIFY(!f.prompts->texts(QStringLiteral("information")).join(QString()).contains(QStringLiteral("exists")));
        QCOMPARE(f.page().settings().UserTitle, QStringLiteral("unsaved work"));
        QVERIFY(!f.page().isHidden());

        // Saved or answered No, the window closes.
        f.prompts->clear();
        f.prompts->yesNoAnswers = {false};
        QVERIFY(f.main->close());
    }

    void cellOfBlanksIsKept()
    {
        MainWindowFixture f;
        f.page().ClickCell(9);
        QTest::keyClicks(f.main->WPRichText1, QStringLiteral("   "));
        f.main->DoSaveRichtext();
        const QString file = f.path(QStringLiteral("blanks.OVF"));
        QVERIFY(f.main->SaveCalendarFile(file));
        f.page().ClearAllCells();
        f.main->OpenCalendarFile(file);
        TWPRichText reader;
        reader.setRtf(f.page().CellRtf(9));
        QCOMPARE(reader.toPlainText(), QStringLiteral("   "));
    }
};
OV_TEST(TestDocumentCommands)

#include "test_document_commands.moc"
