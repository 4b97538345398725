// The icon tool window as the main window runs it: created with it, shown and hidden
// by the Show/Hide Icon Tool button, hidden while the page has no day cells and during
// some dialogs, its library, visibility and position kept in OV.ini.
#include "calendar/calendar_panel.h"
#include "shell/calendar_main.h"
#include "shell/preferences.h"
#include "special/floating_palette.h"
#include "special/icon_list_box.h"

#include <QToolButton>

namespace {
const QString kPaletteClass = QStringLiteral("TFloatingPalette");
}

void TCalendarMain::createIconTool()
{
    FloatingPalette = new TFloatingPalette(this);
    // Only the position is restored: the window keeps its designed size.
    const QSize designed = FloatingPalette->size();
    LoadFormPlacement(FloatingPalette, kPaletteClass);
    FloatingPalette->resize(designed);
    connect(FloatingPalette, &TFloatingPalette::hidden, this, &TCalendarMain::SetButtons);
    connect(FloatingPalette, &TFloatingPalette::closedByUser, this, [this] {
        IconToolVisible = false;
        SetButtons();
    });
    connect(ShowHideIconTool, &QToolButton::clicked, this, &TCalendarMain::ShowHideIconToolClick);
    setCommandAvailable(ShowHideIconTool, true);
}

void TCalendarMain::closeIconTool()
{
    // The program ends with the main window: the tool's position is kept now.
    SaveFormPlacement(FloatingPalette, kPaletteClass);
    FloatingPalette->hide();
}

bool TCalendarMain::IconToolShowing() const { return FloatingPalette && FloatingPalette->isVisible(); }

void TCalendarMain::ShowHideIconToolClick()
{
    if (IconToolShowing()) {
        FloatingPalette->hide();
        IconToolVisible = false;
    } else {
        FloatingPalette->show();
        IconToolVisible = true;
    }
    SetButtons();
}

void TCalendarMain::CheckFloaterStatus()
{
    if (!HasDayCells()) {
        IconToolVisible = false;
        if (FloatingPalette)
            FloatingPalette->hide();
    } else if (IconToolVisible && FloatingPalette && FloatingPalette->isHidden()) {
        FloatingPalette->show();
        SetButtons();
    }
}

void TCalendarMain::setIconToolHidden(bool hidden)
{
    // Dialogs that would sit under an always-on-top window put it away meanwhile.
    if (!IconToolVisible || !FloatingPalette)
        return;
    FloatingPalette->setVisible(!hidden);
    SetButtons();
}

void TCalendarMain::TakeIconToolState()
{
    if (!FloatingPalette)
        return;
    IconToolVisible = IconToolShowing();
    Preferences.IconToolVisible = IconToolVisible;
    Preferences.LastIconFile = FloatingPalette->IconListBox->FileName();
}
