#include "main_window_fixture.h"
#include "modal_helper.h"
#include "richtext/wp_rich_text.h"
#include "richtext/wp_tool_bar.h"
#include "widgets/spin_button.h"
#include "test_registry.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QDialog>
#include <QKeyEvent>
#include <QStyle>
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
                                      "Save As JPG File", "Save As PNG File", "Save As PDF File", "-", "&Properties", "User Defined Title",
                                      "&Cancel Changes", "Clear &All Cell Contents", "&Default Editor Font", "-",
                                      "Fill Calendar with Recurring Dates", "Fill Calendar from iCalendar File...",
                                      "Edit Recurring Dates", "-",
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
        QVERIFY(!f.main->mnuFillFromIcs->isEnabled());
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
        QString title;
        {
            const auto dialog = ovtest::onModal<QDialog>([&](QDialog* dlg) {
                title = dlg->windowTitle();
                dlg->findChild<QLineEdit*>(QStringLiteral("TitleText"))->setText(QStringLiteral("Family"));
                dlg->findChild<QPushButton*>(QStringLiteral("OkButton"))->click();
            });
            f.main->mnuUserTitleClick();
        }
        QCOMPARE(title, QStringLiteral("User Defined Title"));
        QCOMPARE(f.main->CalendarPanel->settings().UserTitle, QStringLiteral("Family"));
        QVERIFY(f.main->Modified);
    }

    void aboutBox()
    {
        MainWindowFixture f(false);
        QString version;
        QString title;
        {
            const auto dialog = ovtest::onModal<QDialog>([&](QDialog* dlg) {
                title = dlg->windowTitle();
                version = dlg->findChild<QLabel*>(QStringLiteral("VersionLabel"))->text();
                dlg->accept();
            });
            f.main->About1Click();
        }
        QCOMPARE(title, QStringLiteral("About Orvanta"));
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

    // ---- caption, zoom keys, tools and command states ---------------------------------

    void captionIsExactAndSurvivesZooming()
    {
        MainWindowFixture f; // an untitled calendar on show, at 60 %
        f.main->SetCaption();
        QCOMPARE(f.main->windowTitle(), QStringLiteral("Orvanta [untitled]"));
        f.main->ZoomSpinnerDownClick();
        QCOMPARE(f.main->ZoomCaption->text(), QStringLiteral("50%"));
        QCOMPARE(f.main->windowTitle(), QStringLiteral("Orvanta [untitled]"));
        const QString file = f.path(QStringLiteral("Family.OVF"));
        QVERIFY(f.main->SaveCalendarFile(file));
        QCOMPARE(f.main->windowTitle(), QStringLiteral("Orvanta  [Family.OVF]"));
        f.main->ZoomSpinnerUpClick();
        QCOMPARE(f.main->windowTitle(), QStringLiteral("Orvanta  [Family.OVF]"));

        // The window system appends the application's display name to every caption
        // that does not end in it: the program sets none. Without one, the display name
        // follows the application name, which is how it shows that none was set.
        const QString appName = QCoreApplication::applicationName();
        SetApplicationTitle();
        QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Orvanta"));
        QCoreApplication::setApplicationName(QStringLiteral("Probe"));
        QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("Probe"));
        QCoreApplication::setApplicationName(appName);
    }

    void pageKeysStepOnceForEachPress()
    {
        MainWindowFixture f;
        QApplication::setActiveWindow(f.main.get());
        f.page().SetZoom(0.501f);
        f.main->SetCaption();
        // A button leaves the page keys alone, so they travel up through its parents;
        // the key's release may come while the step lets pending events run.
        QWidget* target = f.main->Pointerbutton;
        auto press = [&](Qt::Key key) {
            QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier));
            QTest::keyPress(target, key);
            return f.main->ZoomCaption->text();
        };
        QCOMPARE(press(Qt::Key_PageDown), QStringLiteral("60%"));
        QCOMPARE(press(Qt::Key_PageDown), QStringLiteral("70%"));
        QCOMPARE(press(Qt::Key_PageDown), QStringLiteral("80%"));
        QCOMPARE(press(Qt::Key_PageUp), QStringLiteral("70%"));
        QCOMPARE(press(Qt::Key_PageUp), QStringLiteral("60%"));
        QVERIFY(!f.main->ZoomBusy);
    }

    void zoomLabelAfterOpenShowsTheZoomDrawn()
    {
        MainWindowFixture f;
        const QString file = f.path(QStringLiteral("zoom.OVF"));
        QVERIFY(f.main->SaveCalendarFile(file));
        f.page().SetZoom(0.701f);
        f.main->OpenCalendarFile(file);
        QCOMPARE(f.page().Zoom(), 0.701f);
        QCOMPARE(f.main->ZoomCaption->text(), QStringLiteral("70%"));
    }

    void creationToolsAreAvailableAndLeaveDayClicksToTheEditor()
    {
        MainWindowFixture f;
        for (QToolButton* tool : {f.main->DrawLabelButton, f.main->DrawImageButton, f.main->DrawRichText,
                                  f.main->DrawSuperText, f.main->PSpeedButton1})
            QVERIFY2(tool->isEnabled(), qPrintable(tool->objectName()));
        QVERIFY(f.main->Pointerbutton->isEnabled());
        QVERIFY(f.main->Pointerbutton->isChecked());
        // Day clicks still open the editor.
        f.page().ClickCell(10);
        QVERIFY(f.main->EditorOpen);

        // Once available, a creation tool shows on the page that clicks now place an
        // object, and the selection tool takes that back.
        f.main->DrawLabelButton->click();
        QCOMPARE(f.page().cursor().shape(), Qt::CrossCursor);
        f.main->Pointerbutton->click();
        QCOMPARE(f.page().cursor().shape(), Qt::ArrowCursor);
    }

    void setButtonsFollowsItsTable()
    {
        MainWindowFixture f;
        QCOMPARE(QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 1200);

        // The formatting bar: page visible and the cell editor focused.
        QApplication::setActiveWindow(f.main.get());
        f.page().ClickCell(12);
        f.main->WPRichText1->setFocus();
        f.main->SetButtons();
        QVERIFY(f.main->WPToolBar1->isEnabled());
        f.main->PropertiesButton->setFocus();
        f.main->SetButtons();
        QVERIFY(!f.main->WPToolBar1->isEnabled());
        f.main->WPRichText1->setFocus();
        f.main->SetButtons();
        QVERIFY(f.main->WPToolBar1->isEnabled());
        f.page().hide();
        f.main->SetButtons();
        QVERIFY(!f.main->WPToolBar1->isEnabled());

        // Without a page only the commands that need none are left.
        QVERIFY(!f.main->mnuSaveAs->isEnabled());
        QVERIFY(!f.main->mnuProperties->isEnabled() && !f.main->PropertiesButton->isEnabled());
        QVERIFY(!f.main->ZoomSpinner->isEnabled());
        QVERIFY(!f.main->mnuFillRecurring->isEnabled());
        QVERIFY(f.main->New1->isEnabled() && f.main->Open1->isEnabled());
        QVERIFY(f.main->DefaultEditorFont1->isEnabled());
        QCOMPARE(f.main->ShowHideIconTool->text(), QStringLiteral("Show Icon Tool"));
    }
};
OV_TEST(TestCalendarMain)

#include "test_calendar_main.moc"
