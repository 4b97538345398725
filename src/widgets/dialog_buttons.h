#pragma once
#include <QString>

class QDialog;
class QHBoxLayout;
class QPushButton;

// The button row of the object dialogs: "Ok" (the default button), "Cancel" (rejects),
// "Help" and the help-pointer button, at the right. The caller connects Ok.
struct DialogButtons {
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    QPushButton* help = nullptr;
    QHBoxLayout* row = nullptr;
};
DialogButtons createDialogButtons(QDialog* dialog, const QString& okName, const QString& cancelName,
                                  const QString& helpName);
