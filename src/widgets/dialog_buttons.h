#pragma once
class QDialog;
class QHBoxLayout;
class QPushButton;

// The button row most dialogs end with: "Ok" (accepts), "Cancel" (rejects), "Help" and
// the help-pointer button, pushed to the right. Help does nothing until attachHelp.
struct DialogButtons {
    QHBoxLayout* row = nullptr;
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    QPushButton* help = nullptr;
};
// okIsDefault: Enter presses "Ok" (otherwise no button is pressed by Enter, for dialogs
// whose Enter belongs to a text editor).
DialogButtons createDialogButtons(QDialog* dialog, bool okIsDefault = true);
