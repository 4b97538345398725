#include "platform/program_folder.h"
#include "shell/mru_file_list.h"
#include "test_registry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

// Texts of the menu's actions after "E&xit" ("-" for a separator).
QStringList textsAfterExit(const QMenu& menu)
{
    QStringList out;
    bool after = false;
    for (QAction* a : menu.actions()) {
        if (after)
            out << (a->isSeparator() ? QStringLiteral("-") : a->text());
        if (a->text() == QLatin1String("E&xit"))
            after = true;
    }
    return out;
}

} // namespace

class TestMRUFileList : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;

    // Set up the way the main window does it.
    void configure(TMRUFileList& list)
    {
        list.SetRemoveOnClick(true);
        list.SetMaximum(5);
        list.SetAutoSaveName(IniFileName());
        list.SetAutoSaveKey("MRU");
        list.SetAutoSave(false);
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        setProgramFolderOverride(m_dir->path());
        setUserDataFolderOverride(m_dir->path());
    }
    void cleanup()
    {
        setProgramFolderOverride({});
        setUserDataFolderOverride({});
        m_dir.reset();
    }

    void freshInstallationHasNoRecentFiles()
    {
        TMRUFileList list;
        configure(list);
        QVERIFY(list.Load());
        QCOMPARE(list.Count(), 0);
        QMenu menu;
        QAction* exit = menu.addAction("E&xit");
        list.SetFileMenu(&menu, exit);
        QVERIFY(textsAfterExit(menu).isEmpty());
    }

    void sixthFilePushesOutTheOldest()
    {
        TMRUFileList list;
        for (int i = 1; i <= 6; ++i)
            list.AddFile(QStringLiteral("/cal/file%1.OVF").arg(i));
        QCOMPARE(list.Items(), QStringList({"/cal/file6.OVF", "/cal/file5.OVF", "/cal/file4.OVF", "/cal/file3.OVF",
                                            "/cal/file2.OVF"}));
        list.SetMaximum(2);
        QCOMPARE(list.Items(), QStringList({"/cal/file6.OVF", "/cal/file5.OVF"}));
    }

    void reopeningMovesToFront_data()
    {
        QTest::addColumn<QString>("reopened");
        QTest::newRow("same spelling") << "/cal/file3.OVF";
        QTest::newRow("other case") << "/CAL/File3.ovf";
    }
    void reopeningMovesToFront()
    {
        QFETCH(QString, reopened);
        TMRUFileList list;
        for (int i = 1; i <= 5; ++i)
            list.AddFile(QStringLiteral("/cal/file%1.OVF").arg(i));
        // The third entry from the top is file3.
        QCOMPARE(list.Captions().at(2), QStringLiteral("&3 /cal/file3.OVF"));
        list.AddFile(reopened);
        QCOMPARE(list.Count(), 5);
        QCOMPARE(list.Captions(), QStringList({"&1 " + reopened, "&2 /cal/file5.OVF", "&3 /cal/file4.OVF",
                                               "&4 /cal/file2.OVF", "&5 /cal/file1.OVF"}));
    }

    void saveWritesNumberedKeysInOrder()
    {
        writeAll(IniFileName(), "[MRU]\r\nF0=old\r\nF1=older\r\nF2=oldest\r\n\r\n[Zooming]\r\nMain=60\r\n");
        TMRUFileList list;
        configure(list);
        QVERIFY(list.Load());
        QCOMPARE(list.Items(), QStringList({"old", "older", "oldest"}));
        list.AddFile("new");
        list.RemoveFile("OLDER");
        QVERIFY(list.Save());
        // The section is erased and written again, so it moves to the end.
        QCOMPARE(readAll(IniFileName()),
                 QByteArray("[Zooming]\r\nMain=60\r\n\r\n[MRU]\r\nF0=new\r\nF1=old\r\nF2=oldest\r\n"));

        list.Clear();
        QVERIFY(list.Save());
        QVERIFY(!readAll(IniFileName()).contains("[MRU]"));
    }

    void loadTakesEveryEntryOfTheSection()
    {
        // Whatever the keys, each line's text after the first "=" is an entry; empty
        // entries name no file and more than Maximum are not kept.
        writeAll(IniFileName(), "[mru]\r\nF0=C:\\Calendars\\Dec1997.OVF\r\n; note\r\nX=a=b.ovf\r\nF2=\r\n"
                                "F3=\\\\srv\\share\\Caf\xE9, 1.OVF\r\nF4=5\r\nF5=6\r\nF6=7\r\n[Other]\r\nF9=no\r\n");
        TMRUFileList list;
        configure(list);
        QVERIFY(list.Load());
        QCOMPARE(list.Items(), QStringList({"C:\\Calendars\\Dec1997.OVF", "a=b.ovf",
                                            QString::fromUtf8("\\\\srv\\share\\Café, 1.OVF"), "5", "6"}));
    }

    void autoSaveOnDestructionAndFailedSave()
    {
        {
            TMRUFileList unnamed; // saves nothing without a file and a section
            unnamed.AddFile("/nowhere.OVF");
            TMRUFileList list;
            configure(list);
            list.SetAutoSave(true);
            list.AddFile("/a.OVF");
        }
        QCOMPARE(readAll(IniFileName()), QByteArray("[MRU]\r\nF0=/a.OVF\r\n"));

        QVERIFY(QFile::remove(IniFileName()) && QDir().mkpath(IniFileName()));
        TMRUFileList list;
        configure(list);
        list.AddFile("/a.OVF");
        QVERIFY(!list.Save());
        QVERIFY(!list.errorString().isEmpty());
    }

    void menuEntriesFollowExit()
    {
        QMenu menu;
        menu.addAction("&Open");
        menu.addSeparator();
        QAction* exit = menu.addAction("E&xit");
        TMRUFileList list;
        list.SetFileMenu(&menu, exit);
        list.AddFile("/cal/a.OVF");
        list.AddFile("/cal/b.OVF");
        QCOMPARE(textsAfterExit(menu), QStringList({"-", "&1 /cal/b.OVF", "&2 /cal/a.OVF"}));
        list.AddFile("/cal/a.OVF");
        QCOMPARE(textsAfterExit(menu), QStringList({"-", "&1 /cal/a.OVF", "&2 /cal/b.OVF"}));
        for (QAction* a : menu.actions()) {
            if (auto* item = dynamic_cast<TMRUMenuItem*>(a))
                QCOMPARE(item->text().mid(1, 1).toInt(), item->EntryNumber());
        }
        list.Clear();
        QVERIFY(textsAfterExit(menu).isEmpty());
        QCOMPARE(menu.actions().size(), 3);

        // Right after the anchor, not at the end.
        menu.addAction("Later");
        list.AddFile("/x.OVF");
        QCOMPARE(textsAfterExit(menu), QStringList({"-", "&1 /x.OVF", "Later"}));
    }

    void clickRemovesAndReportsThePath()
    {
        QMenu menu;
        QAction* exit = menu.addAction("E&xit");
        TMRUFileList list;
        list.SetFileMenu(&menu, exit);
        list.AddFile("/cal/a.OVF");
        list.AddFile("/cal/b.OVF");
        QStringList opened;
        QStringList menuDuringClick;
        list.OnMRUItemClick = [&](const QString& path) {
            opened << path;
            menuDuringClick = textsAfterExit(menu);
        };
        QAction* second = menu.actions().last();
        QCOMPARE(second->text(), QStringLiteral("&2 /cal/a.OVF"));
        second->trigger();
        QCOMPARE(opened, QStringList{"/cal/a.OVF"});
        // Gone before the open runs; a successful open puts it back first.
        QCOMPARE(menuDuringClick, QStringList({"-", "&1 /cal/b.OVF"}));
        QCOMPARE(list.Items(), QStringList{"/cal/b.OVF"});
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        list.SetRemoveOnClick(false);
        menu.actions().last()->trigger();
        QCOMPARE(opened.last(), QStringLiteral("/cal/b.OVF"));
        QCOMPARE(list.Count(), 1);
        QCOMPARE(FileNoLongerExistsText("/cal/gone.OVF"), QStringLiteral("File /cal/gone.OVF no longer exists"));
    }

    void submenuOnRequest()
    {
        QMenu menu;
        QAction* exit = menu.addAction("E&xit");
        TMRUFileList list;
        list.AddFile("/x.OVF");
        list.SetFileMenu(&menu, exit);
        list.SetUseSubmenu(true);
        QCOMPARE(textsAfterExit(menu), QStringList({"-", "Reopen"}));
        QMenu* sub = menu.actions().last()->menu();
        QVERIFY(sub);
        QCOMPARE(sub->actions().size(), 1);
        QCOMPARE(sub->actions().first()->text(), QStringLiteral("&1 /x.OVF"));
        list.SetSubmenuName("Recent");
        QCOMPARE(textsAfterExit(menu), QStringList({"-", "Recent"}));
    }

    void menuDestroyedFirst()
    {
        TMRUFileList list;
        {
            QMenu menu;
            list.SetFileMenu(&menu);
            list.AddFile("/x.OVF");
        }
        list.AddFile("/y.OVF"); // must not touch the gone menu
        QCOMPARE(list.Count(), 2);
    }
};
OV_TEST(TestMRUFileList)
#include "test_mru_file_list.moc"
