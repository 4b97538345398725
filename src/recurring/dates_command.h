#pragma once
#include <QStringList>
#include <QTextStream>

// orvanta-cli dates --store FILE --year Y --month M
// args are the arguments after "dates". Prints "<day>\t<name>" for every placement
// filling that month would make with every store entry chosen, in placement order
// (names without their padding blanks). Returns 0, or non-zero after writing the
// reason to err.
int runDatesCommand(const QStringList& args, QTextStream& out, QTextStream& err);
