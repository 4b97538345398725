#pragma once
#include <QString>

class QDialog;
class QHBoxLayout;
class QPushButton;

// The button row most dialogs end with: "Ok", "Cancel" (rejects), "Help" and the
// help-pointer button, pushed to the right. The caller connects Ok (some dialogs check
// their input first); Help does nothing until attachHelp.
struct DialogButtons {
    QHBoxLayout* row = nullptr;
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    QPushButton* help = nullptr;
};

// Object names of the three buttons, as the dialog's help texts know them.
struct DialogButtonNames {
    QString ok = QStringLiteral("OkButton");
    QString cancel = QStringLiteral("CancelButton");
    QString help = QStringLiteral("HelpButton");
};

// okIsDefault: Enter presses "Ok" (otherwise no button is pressed by Enter, for dialogs
// whose Enter belongs to a text editor).
DialogButtons createDialogButtons(QDialog* dialog, bool okIsDefault = true, const DialogButtonNames& names = {});
