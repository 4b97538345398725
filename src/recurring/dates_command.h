#pragma once
#include <QStringList>
#include <QTextStream>

// orvanta-cli dates --store FILE --year Y --month M
// args are the arguments after "dates". Prints "<day>\t<name>" for every placement
// filling that month would make with every store entry chosen, in placement order
// (names without their padding blanks). Returns 0, or non-zero after writing the
// reason to err.
// With --ics FILE.ics instead of --store, prints "<day>\t<text>" for every placement
// the iCalendar fill would make with every event chosen, in its writing order (see
// ComputeIcsPlacements), times in the machine's zone and locale.
int runDatesCommand(const QStringList& args, QTextStream& out, QTextStream& err);
