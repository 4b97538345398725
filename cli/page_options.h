#pragma once
#include <QStringList>

class TCalendarPanel32;

// Applies the PAGE options (--layout, --paper, --month, --year, --day, --week-start,
// --margins, --number-position, --title, --style, --border) to a new page. Options it
// does not know are returned in rest. Throws std::runtime_error with a message.
void ApplyPageOptions(TCalendarPanel32& page, const QStringList& args, QStringList& rest);

// Pops "--name value" from args; returns false when absent. Throws when the value is missing.
bool TakeOption(QStringList& args, const QString& name, QString& value);
