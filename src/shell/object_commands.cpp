// The main window's side of the placed objects: the drawing tools and the page's
// object events.
#include "calendar/calendar_panel.h"
#include "shell/calendar_main.h"

#include <QToolButton>

void TCalendarMain::createObjectCommands()
{
    CalendarPanel->DroppedObjectEvent = [this](QRect& r) { CalendarPanelDroppedObjectEvent(r); };
    CalendarPanel->LabelChangedEvent = [this] { CalendarPanelLabelChangedEvent(); };
    setCommandAvailable(DrawLabelButton, true);
    setCommandAvailable(DrawImageButton, true);
    setCommandAvailable(DrawRichText, true);
    setCommandAvailable(DrawSuperText, true);
    setCommandAvailable(PSpeedButton1, true);
}

void TCalendarMain::CalendarPanelDroppedObjectEvent(QRect&)
{
    SetModified(true);
    // The page has gone back to the selection tool itself.
    Pointerbutton->setChecked(true);
}

void TCalendarMain::CalendarPanelLabelChangedEvent() { SetModified(true); }
