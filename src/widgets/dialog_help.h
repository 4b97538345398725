#pragma once
#include <QString>
#include <functional>

class QAbstractButton;
class QMenu;
class QToolButton;
class QWidget;

// Help for a dialog in one line, e.g. in a constructor:
//     attachHelp(this, HelpContexts::LabelText, helpButton);
// F1 anywhere in the dialog and a click on the "Help" button (when given) open the
// topic; the dialog's controls get their "What's this?" texts (below).
void attachHelp(QWidget* dialog, int context, QAbstractButton* helpButton = nullptr);
// For a dialog whose topic depends on what it shows (the current page).
void attachHelp(QWidget* dialog, std::function<int()> context, QAbstractButton* helpButton = nullptr);

// "What's this?" texts live in the help book ("help/whatsthis.ini" in the program
// folder): the section is the dialog's class name, each key a control's object name.
// applyWhatsThisTexts gives every named control of the dialog its text and a
// right-click item "What's this?" (Shift+F1 shows it too). attachHelp calls it with
// the dialog's class name.
void applyWhatsThisTexts(QWidget* dialog, const QString& dialogClass);
QString whatsThisText(const QString& dialogClass, const QString& controlName);
// Forgets the texts read so far (tests point the program folder elsewhere).
void reloadWhatsThisTexts();

// The right-click menu of a control with a "What's this?" text: an edit field's own
// menu with the item on top, or a menu of the item alone. The caller owns the menu.
QMenu* createWhatsThisMenu(QWidget* control);

// The help-pointer button of a dialog: press it, then click a control to read its text.
QToolButton* createWhatsThisButton(QWidget* parent);
