#pragma once
#include <QString>

class QWidget;

// An information box captioned "Information" with an OK button.
void ShowInformation(const QString& text);
// A Yes/No question; true when Yes was pressed.
bool AskYesNo(const QString& text, const QString& caption);

// The main window registers itself so other forms can be centred over it.
void setMainForm(QWidget* mainForm);
QWidget* mainForm();

// The main window is centred on the screen; any other form on the screen when the main
// window is maximised, otherwise over the main window (halves truncated toward zero).
void CenterForm(QWidget* form);

// The hourglass cursor (nested calls balance).
void HourglassOn();
void HourglassOff();
