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

// The width a window needs for its caption to show whole in the title bar: the
// caption in the bold title font plus room for the window system's icon and buttons.
int CaptionWidth(const QString& caption);
// Widens a window (minimum width) so that its caption shows whole.
void EnsureCaptionFits(QWidget* window);

// How long the mouse rests on a control before its hint shows, program-wide.
void SetHintDelay(int milliseconds);

// The hourglass cursor (nested calls balance).
void HourglassOn();
void HourglassOff();
