#pragma once
#include "calendar/calendar_panel.h"
#include "objects/p_label.h"
#include "platform/program_folder.h"
#include "platform/prompter.h"
#include "shell/calendar_main.h"

#include <QDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTest>
#include <memory>

// A main window in a fresh user-data folder, activated as at start-up, with a page
// shown as after New (December 1997, layout 3).
struct MainWindowFixture {
    QTemporaryDir dir;
    ScopedScriptedPrompter prompts;
    std::unique_ptr<TCalendarMain> main;

    explicit MainWindowFixture(bool showPage = true)
    {
        setUserDataFolderOverride(dir.path());
        main = std::make_unique<TCalendarMain>();
        main->show();
        QTRY_VERIFY(main->FirstActivationDone());
        prompts->clear(); // the printer check at activation speaks up on a machine without printers
        if (showPage)
            this->showPage();
    }
    // Shows the page as a document would.
    void showPage()
    {
        TCalendarPanel32* page = main->CalendarPanel;
        page->SetMainCalYear(1997);
        page->SetMainCalMonth(12);
        page->show();
        page->DrawToImage(); // records the cell rectangles, as the first paint does
        main->SetButtons();
    }
    ~MainWindowFixture()
    {
        main->Modified = false; // no "Save changes?" when the test window closes
        main.reset();
        setUserDataFolderOverride(QString());
    }
    TCalendarPanel32& page() { return *main->CalendarPanel; }
    QString path(const QString& name) const { return dir.filePath(name); }
};

// Draws a label with the label tool at a page point, answering its text dialog.
inline TGPLabel* drawLabel(MainWindowFixture& f, QPoint at, const QString& text)
{
    f.prompts->dialogAnswers.push_back([text](QDialog& d) {
        d.findChild<QLineEdit*>(QStringLiteral("LabelText"))->setText(text);
        return int(QDialog::Accepted);
    });
    QTest::mouseClick(f.main->DrawLabelButton, Qt::LeftButton);
    QTest::mouseClick(&f.page(), Qt::LeftButton, {}, at);
    return f.page().Objects().isEmpty() ? nullptr : qobject_cast<TGPLabel*>(f.page().Objects().last());
}
