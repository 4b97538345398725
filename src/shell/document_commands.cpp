// The document's life: New, Open, Save, Save As, Cancel Changes, and the question
// asked before a document is replaced.
#include "calendar/calendar_file.h"
#include "calendar/calendar_panel.h"
#include "calendar/page_prefetch.h"
#include "platform/program_folder.h"
#include "platform/prompter.h"
#include "platform/shell_helpers.h"
#include "shell/calendar_main.h"
#include "shell/mru_file_list.h"
#include "shell/page_history.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {
const QString kCalendarFilter = QStringLiteral("Calendar File (*.OVF *.ovf)");
} // namespace

void TCalendarMain::New1Click()
{
    if (!CheckSaveNeeded())
        return;
    HourglassOn();
    DoSaveRichtext();
    HourglassOff();
    CreatingNew = true;
    mnuPropertiesClick();
    if (!PropertiesAccepted)
        return;
    SetModified(true);
    CalendarFileName.clear();
    CalendarPanel->ClearAllCells();
    CalendarPanel->ClearObjects();
    CalendarPanel->show();
    // A new page starts a history of its own; it was never saved, so it stays modified.
    m_history->clear(false);
    SetButtons();
    SetCaption(); // "Orvanta [untitled]"
}

void TCalendarMain::Open1Click()
{
    DoSaveRichtext();
    if (!CheckSaveNeeded())
        return;
    const QString path =
        prompter().openFileName(QStringLiteral("Open Calendar File"), DocumentsStartFolder(), kCalendarFilter);
    if (path.isEmpty())
        return;
    if (QStringLiteral(".") + QFileInfo(path).suffix().toUpper() != QLatin1String(".OVF")) {
        ShowInformation(QStringLiteral("Must be a Calendar file (*.OVF)"));
        return;
    }
    OpenCalendarFile(path);
}

void TCalendarMain::OpenCalendarFile(const QString path)
{
    // path is a copy: callers pass CalendarFileName itself ("&Cancel Changes"), which is
    // cleared below.
    CalendarPanel->PaintSuspended = true;
    float z = CalendarPanel->Zoom() != 1.0f ? CalendarPanel->Zoom() : 1.0f;
    if (z < 0.1f || z > 1.1f)
        z = 1.0f;
    FirstActivation = true;
    CalendarFileName.clear();
    DoSaveRichtext();

    if (QFileInfo::exists(path)) {
        try {
            HourglassOn();
            CalendarPanel->Loading = true;
            CalendarPanel->ClearAllCells();
            CalendarPanel->ClearObjects();
            CalendarPanel->SetUserTitle(QString());
            if (CalendarPanel->Zoom() != 1.0f)
                CalendarPanel->SetZoom(1.0f);
            CalendarPanel->LoadFromFile(path);
            if (m_startupPrefetch && m_startupPrefetch->fileName() == path)
                CalendarPanel->SetPrefetchedPage(std::move(m_startupPrefetch));
            CalendarPanel->HookAllObjects();
            HourglassOff();
            CalendarFileName = path;
            RecentFiles->AddFile(path);
            RecentFiles->Save();
            setWindowTitle(QStringLiteral("Orvanta [") + QFileInfo(path).fileName() + QLatin1Char(']'));
        } catch (const std::exception&) {
            CalendarFileName.clear();
            CalendarPanel->ResetToDefaults();
            HourglassOff();
            ShowInformation(QStringLiteral("Unable to open ") + path + QStringLiteral(". Possibly \n")
                            + QStringLiteral("corrupted, possibly not a Calendar file"));
        }
    } else {
        ShowInformation(FileNoLongerExistsText(path));
    }
    m_startupPrefetch.reset(); // its drawing serves the first opening only

    QCoreApplication::processEvents();
    FirstActivation = false;
    CalendarPanel->setVisible(!CalendarFileName.isEmpty());
    CalendarPanel->update();
    SetModified(false);
    SetButtons();
    CheckFloaterStatus();
    HourglassOff();
    if (z != 1.0f)
        CalendarPanel->SetZoom(z);
    SetCaption(); // after the zoom, so the label shows the zoom the page is drawn at
    CalendarPanel->PaintSuspended = false;
    CalendarPanel->update();
    QCoreApplication::processEvents();
    CalendarPanel->Loading = false;
    m_history->clear(true);
}

bool TCalendarMain::SaveCalendarFile(const QString& path)
{
    CalendarPanel->PaintSuspended = true;
    float z = 1.0f;
    if (CalendarPanel->Zoom() != 1.0f) {
        z = CalendarPanel->Zoom() == 0.0f ? 1.0f : CalendarPanel->Zoom();
        CalendarPanel->SetZoom(1.0f);
    }
    bool saved = false;
    try {
        HourglassOn();
        DoSaveRichtext();
        CalendarPanel->SaveToFile(path);
        HourglassOff();
        CalendarFileName = path;
        SetModified(false);
        saved = true;
    } catch (const std::exception& e) {
        HourglassOff();
        // A save that failed must never look like one that worked: the user keeps the
        // changes (Modified stays set) and learns why.
        ShowInformation(QStringLiteral("Unable to save ") + path + QStringLiteral("\n") + QString::fromUtf8(e.what()));
    }
    if (z >= 0.2f && z <= 1.0f)
        CalendarPanel->SetZoom(z);
    CalendarPanel->PaintSuspended = false;
    CalendarPanel->update();
    QCoreApplication::processEvents();
    // After the zoom is back, so the saved state is the page as it now stands.
    if (saved)
        m_history->markSaved();
    SetButtons();
    SetCaption();
    return saved;
}

void TCalendarMain::mnuSaveClick()
{
    if (!CalendarFileName.isEmpty())
        SaveCalendarFile(CalendarFileName);
}

bool TCalendarMain::mnuSaveAsClick()
{
    QString proposed;
    if (CalendarFileName.isEmpty()) {
        const TCalendarSettings& s = CalendarPanel->settings();
        proposed = CalendarPanel->GetMonthName(s.MainCalMonth).left(3) + QString::number(s.MainCalYear)
            + QStringLiteral(".OVF");
    } else {
        proposed = QFileInfo(CalendarFileName).fileName();
    }
    bool saved = false;
    const QString path = prompter().saveFileName(QStringLiteral("Save Calendar File"), DocumentsStartFolder(),
                                                 proposed, kCalendarFilter, QStringLiteral("OVF"));
    if (!path.isEmpty()) {
        if (SaveCalendarFile(path)) {
            SetModified(false);
            RecentFiles->AddFile(path);
            RecentFiles->Save();
            saved = true;
        }
    }
    SetButtons();
    return saved;
}

void TCalendarMain::SavebuttonClick()
{
    if (mnuSave->isEnabled())
        mnuSaveClick();
    else
        mnuSaveAsClick();
}

void TCalendarMain::mnuCancelChangesClick()
{
    if (!AskYesNo(QStringLiteral("Cancel all changes?"), QStringLiteral("CANCEL")))
        return;
    if (!CalendarFileName.isEmpty())
        OpenCalendarFile(CalendarFileName);
    QCoreApplication::processEvents();
    m_history->clear(true);
    SetModified(false);
}

bool TCalendarMain::CheckSaveNeeded()
{
    DoSaveRichtext();
    if (!Modified || !AskYesNo(QStringLiteral("Save changes?"), QStringLiteral("Save")))
        return true;
    // Only a save that happened clears Modified. A cancelled Save As or a failed save
    // keeps the changes, and the command that asked must not throw them away.
    const bool saved = CalendarFileName.isEmpty() ? mnuSaveAsClick() : SaveCalendarFile(CalendarFileName);
    if (saved)
        SetModified(false);
    return saved;
}

void TCalendarMain::RecentFileClick(const QString& path)
{
    // Like Open, a recent file first offers to keep the changes of the current one.
    if (CheckSaveNeeded())
        OpenCalendarFile(path);
}
