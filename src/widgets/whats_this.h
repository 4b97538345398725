#pragma once
#include <QPoint>
#include <QString>

class QMenu;
class QWidget;

// Gives a control its context help: the text, and a context menu with a "What's this?"
// item that shows it in a popup beside the control.
void SetContextHelp(QWidget* control, const QString& text);
// That context menu, for a click at `globalPos` (the caller owns it).
QMenu* ContextHelpMenu(QWidget* control, QPoint globalPos);
