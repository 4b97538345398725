#pragma once
#include <QStringList>
#include <QTextStream>

// icons FILE: the icons of any file that holds them as JSON;
// icons FILE --index N --out icon.png: one icon's picture as the list shows it (32 x 32
// when the icon has it, else its nearest size).
int RunIconsCommand(QStringList args, QTextStream& out);
