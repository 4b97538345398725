#include "dates_command.h"

#include "ics_fill.h"
#include "ics_reader.h"
#include "recurring_fill.h"
#include "recurring_formula.h"
#include "recurring_store.h"

namespace {

const char* const kUsage = "usage: orvanta-cli dates (--store FILE | --ics FILE.ics) --year Y --month M";

bool parseNumber(const QString& text, int low, int high, int& value)
{
    bool ok = false;
    const int v = text.toInt(&ok, 10);
    if (!ok || v < low || v > high)
        return false;
    value = v;
    return true;
}

} // namespace

int runDatesCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    QString store;
    QString ics;
    QString yearText;
    QString monthText;
    for (int i = 0; i < args.size(); ++i) {
        QString option = args[i];
        QString value;
        const int eq = int(option.indexOf(QLatin1Char('=')));
        if (option.startsWith(QStringLiteral("--")) && eq > 0) {
            value = option.mid(eq + 1);
            option = option.left(eq);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            err << "dates: missing value for " << option << "\n" << kUsage << "\n";
            return 2;
        }
        if (option == QStringLiteral("--store"))
            store = value;
        else if (option == QStringLiteral("--ics"))
            ics = value;
        else if (option == QStringLiteral("--year"))
            yearText = value;
        else if (option == QStringLiteral("--month"))
            monthText = value;
        else {
            err << "dates: unknown option " << option << "\n" << kUsage << "\n";
            return 2;
        }
    }
    if (store.isEmpty() == ics.isEmpty() || yearText.isEmpty() || monthText.isEmpty()) {
        err << kUsage << "\n";
        return 2;
    }
    int year = 0;
    int month = 0;
    if (!parseNumber(yearText, 1, 9999, year)) {
        err << "dates: invalid year " << yearText << " (1..9999)\n";
        return 2;
    }
    if (!parseNumber(monthText, 1, 12, month)) {
        err << "dates: invalid month " << monthText << " (1..12)\n";
        return 2;
    }
    if (!ics.isEmpty()) {
        try {
            for (const RecurringPlacement& p : ComputeIcsPlacements(ReadIcsFileMonth(ics, year, month), year, month))
                out << p.day << '\t' << p.text << '\n';
        } catch (const EIcsError& e) {
            err << "dates: " << e.reason() << "\n";
            return 1;
        }
        out.flush();
        return 0;
    }
    const RecurringStoreRead read = ReadRecurringStore(store);
    if (!read.exists) {
        err << "dates: no such file " << store << "\n";
        return 1;
    }
    if (!read.error.isEmpty()) {
        err << "dates: " << read.error << "\n";
        return 1;
    }
    const RecurringFillResult fill = ComputeRecurringFill(read.lines, year, month);
    for (const RecurringPlacement& p : fill.placements)
        out << p.day << '\t' << TrimBlanks(p.text) << '\n';
    out.flush();
    return 0;
}
