#include "main_window_fixture.h"
#include "test_registry.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>


class TestCalendarMain : public QObject {
    Q_OBJECT
private slots:
    void menuCaptions()
    {
        MainWindowFixture f(false);
        QStringList file;
        for (QAction* a : f.main->FileMenu->actions())
            file << (a->isSeparator() ? QStringLiteral("-") : a->text());
        const QStringList expected = {"&New ", "&Open", "-", "&Save ", "Save &As...", "Save As Bitmap File",
                                      "Save As JPG File", "-", "&Properties", "User Defined Title",
                                      "&Cancel Changes", "Clear &All Cell Contents", "&Default Editor Font", "-",
                                      "Fill Calendar with Recurring Dates", "Edit Recurring Dates", "-",
                                      "P&rint Calendar", "Print Set&up", "-", "E&xit"};
        QCOMPARE(file.mid(0, expected.size()), expected);
        QCOMPARE(f.main->mnuSave->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    }

    void untitledStartState()
    {
        MainWindowFixture f(false);
        QCOMPARE(f.main->windowTitle(), QStringLiteral("Orvanta"));
        QVERIFY(f.main->CalendarPanel->isHidden());
        QVERIFY(!f.main->mnuSave->isEnabled());
        QVERIFY(!f.main->mnuCancelChanges->isEnabled());
        QVERIFY(!f.main->mnuUserTitle->isEnabled());
        QVERIFY(!f.main->Savebutton->isVisibleTo(f.main.get()));
        // The stored zoom of a fresh installation is 60 %.
        QCOMPARE(f.main->ZoomCaption->text(), QStringLiteral("60%"));
    }

    void modifiedShowsOnlySaveButtonWhenUntitled()
    {
        MainWindowFixture f(false);
        f.showPage();
        f.main->SetModified(true);
        QVERIFY(f.main->Savebutton->isVisibleTo(f.main.get()));
        QVERIFY(!f.main->CancelButton->isVisibleTo(f.main.get()));
        f.main->CalendarFileName = QStringLiteral("/tmp/x/Dec1997.OVF");
        f.main->SetButtons();
        f.main->SetCaption();
        QVERIFY(f.main->CancelButton->isVisibleTo(f.main.get()));
        QCOMPARE(f.main->windowTitle(), QStringLiteral("Orvanta  [Dec1997.OVF]"));
    }

    void minisOnlyLayoutDisablesCellCommands()
    {
        MainWindowFixture f(false);
        f.showPage();
        QVERIFY(f.main->mnuUserTitle->isEnabled());
        QVERIFY(f.main->mnuClearAllCellContents->isEnabled());
        f.main->CalendarPanel->SetCalendarLayout(TCalendarLayout::loMC12Month);
        f.main->SetButtons();
        QVERIFY(!f.main->mnuUserTitle->isEnabled());
        QVERIFY(!f.main->mnuClearAllCellContents->isEnabled());
        QVERIFY(!f.main->mnuFillRecurring->isEnabled());
        QVERIFY(!f.main->ShowHideIconTool->isEnabled());
    }

    void zoomSteps()
    {
        MainWindowFixture f(false);
        f.showPage();
        TCalendarPanel32* page = f.main->CalendarPanel;
        page->SetZoom(1.001f);
        f.main->SetCaption();
        f.main->ZoomSpinnerUpClick(); // at 100 % nothing happens
        QCOMPARE(page->Zoom(), 1.001f);
        for (int i = 0; i < 10; ++i)
            f.main->ZoomSpinnerDownClick();
        QCOMPARE(f.main->ZoomCaption->text(), QStringLiteral("50%"));
        const float atFifty = page->Zoom();
        f.main->ZoomSpinnerDownClick();
        QCOMPARE(page->Zoom(), atFifty);

        page->SetZoom(0.201f);
        f.main->ZoomSpinnerDownClick();
        QCOMPARE(page->Zoom(), 0.201f);
        f.main->ZoomSpinnerUpClick();
        f.main->SetCaption();
        QCOMPARE(f.main->ZoomCaption->text(), QStringLiteral("30%"));
        QVERIFY(!f.main->ZoomBusy);
    }

    void pageKeysStepTheZoom()
    {
        MainWindowFixture f(false);
        f.showPage();
        f.main->activateWindow();
        QApplication::setActiveWindow(f.main.get());
        f.main->CalendarPanel->SetZoom(0.601f);
        QTest::keyClick(f.main->CalendarPanel, Qt::Key_PageDown);
        f.main->SetCaption();
        QCOMPARE(f.main->ZoomCaption->text(), QStringLiteral("70%"));
        QTest::keyClick(f.main->CalendarPanel, Qt::Key_PageUp);
        f.main->SetCaption();
        QCOMPARE(f.main->ZoomCaption->text(), QStringLiteral("60%"));
    }

    void toolButtonsSetPanelState()
    {
        MainWindowFixture f(false);
        f.main->DrawLabelButton->click(); // the tools without object classes are disabled
        QCOMPARE(f.main->CalendarPanel->PanelState(), TLPanelState::psLabel);
        QVERIFY(!f.main->CalendarPanel->Pointing());
        f.main->Pointerbutton->click();
        QCOMPARE(f.main->CalendarPanel->PanelState(), TLPanelState::psPointing);
        QVERIFY(f.main->CalendarPanel->Pointing());
    }

    void userTitleDialog()
    {
        MainWindowFixture f(false);
        f.showPage();
        QTimer::singleShot(0, [] {
            auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dlg);
            QCOMPARE(dlg->windowTitle(), QStringLiteral("User Defined Title"));
            dlg->findChild<QLineEdit*>(QStringLiteral("TitleText"))->setText(QStringLiteral("Family"));
            dlg->findChild<QPushButton*>(QStringLiteral("OkButton"))->click();
        });
        f.main->mnuUserTitleClick();
        QCOMPARE(f.main->CalendarPanel->settings().UserTitle, QStringLiteral("Family"));
        QVERIFY(f.main->Modified);
    }

    void aboutBox()
    {
        MainWindowFixture f(false);
        QString version;
        QTimer::singleShot(0, [&] {
            auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dlg);
            QCOMPARE(dlg->windowTitle(), QStringLiteral("About Orvanta"));
            version = dlg->findChild<QLabel*>(QStringLiteral("VersionLabel"))->text();
            dlg->accept();
        });
        f.main->About1Click();
        QCOMPARE(version, QStringLiteral("Version 3.2g"));
    }

    void clearAllCellsMarksModified()
    {
        MainWindowFixture f(false);
        f.showPage();
        f.main->CalendarPanel->SetCellRtf(3, QByteArrayLiteral("{\\rtf1\\ansi x\\par}"));
        f.main->mnuClearAllCellContentsClick();
        QVERIFY(!f.main->CalendarPanel->HasCellText());
        QVERIFY(f.main->Modified);
    }

    void hintsToggleIsStored()
    {
        MainWindowFixture f(false);
        QVERIFY(f.main->mnuShowHints->isChecked());
        f.main->mnuShowHints->trigger();
        QVERIFY(!f.main->ShowHints);
        TPreferences prefs;
        prefs.LoadPreferences();
        QVERIFY(!prefs.ShowHints);
    }
};
OV_TEST(TestCalendarMain)

#include "test_calendar_main.moc"
