// Filling the shown month from an iCalendar file.
#include "calendar/calendar_panel.h"
#include "recurring/ics_fill_command.h"
#include "shell/calendar_main.h"
#include "shell/page_history.h"

void TCalendarMain::mnuFillFromIcsClick()
{
    DoSaveRichtext();
    PageStep step(History(), QStringLiteral("Fill Calendar from iCalendar File"));
    const TCalendarSettings& s = CalendarPanel->settings();
    RunFillFromIcsCommand(
        this, s.MainCalYear, s.MainCalMonth, [this](int day, const QString& text) { PuttextOnDay(day, text); },
        [this](bool hidden) { setIconToolHidden(hidden); });
    SetButtons();
}
