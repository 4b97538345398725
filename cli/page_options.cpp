#include "page_options.h"
#include "cli_error.h"

#include "calendar/calendar_panel.h"


namespace {

int toInt(const QString& name, const QString& value, int lo, int hi)
{
    bool ok = false;
    const int v = value.toInt(&ok);
    if (!ok || v < lo || v > hi)
        fail(QStringLiteral("%1 must be a whole number from %2 to %3, not \"%4\"").arg(name).arg(lo).arg(hi).arg(value));
    return v;
}
} // namespace

bool TakeOption(QStringList& args, const QString& name, QString& value)
{
    const int i = args.indexOf(name);
    if (i < 0)
        return false;
    if (i + 1 >= args.size())
        fail(QStringLiteral("%1 needs a value").arg(name));
    value = args.at(i + 1);
    args.remove(i, 2);
    return true;
}

void ApplyPageOptions(TCalendarPanel32& page, const QStringList& input, QStringList& rest)
{
    QStringList args = input;
    QString v;
    if (TakeOption(args, QStringLiteral("--paper"), v)) {
        if (v.compare(QLatin1String("letter"), Qt::CaseInsensitive) == 0)
            page.SetPaperSize(0);
        else if (v.compare(QLatin1String("a4"), Qt::CaseInsensitive) == 0)
            page.SetPaperSize(1);
        else
            fail(QStringLiteral("--paper must be letter or a4, not \"%1\"").arg(v));
    }
    if (TakeOption(args, QStringLiteral("--layout"), v))
        page.ChooseCalendarLayout(TCalendarLayout(toInt(QStringLiteral("--layout"), v, 0, 21)));
    if (TakeOption(args, QStringLiteral("--year"), v))
        page.SetMainCalYear(toInt(QStringLiteral("--year"), v, 1, 9999));
    if (TakeOption(args, QStringLiteral("--month"), v))
        page.SetMainCalMonth(toInt(QStringLiteral("--month"), v, 1, 12));
    if (TakeOption(args, QStringLiteral("--day"), v))
        page.SetMainCalDay(toInt(QStringLiteral("--day"), v, 1, 31));
    if (TakeOption(args, QStringLiteral("--week-start"), v))
        page.SetStartOfWeek(toInt(QStringLiteral("--week-start"), v, 1, 2));
    if (TakeOption(args, QStringLiteral("--margins"), v)) {
        const QStringList parts = v.split(QLatin1Char(','));
        if (parts.size() != 4)
            fail(QStringLiteral("--margins needs four inch values L,T,R,B, not \"%1\"").arg(v));
        float m[4];
        for (int i = 0; i < 4; ++i) {
            bool ok = false;
            m[i] = parts[i].trimmed().toFloat(&ok);
            if (!ok || m[i] < 0 || m[i] > 4)
                fail(QStringLiteral("margin \"%1\" must be a number of inches from 0 to 4").arg(parts[i]));
        }
        page.SetLeftMarginInch(m[0]);
        page.SetTopMarginInch(m[1]);
        page.SetRightMarginInch(m[2]);
        page.SetBottomMarginInch(m[3]);
    }
    if (TakeOption(args, QStringLiteral("--number-position"), v)) {
        if (v == QLatin1String("center"))
            page.SetNumberPosition(TCalendarNumberPosition::cnpCenter);
        else if (v == QLatin1String("upper-right"))
            page.SetNumberPosition(TCalendarNumberPosition::cnpUpperRight);
        else
            fail(QStringLiteral("--number-position must be center or upper-right, not \"%1\"").arg(v));
    }
    if (TakeOption(args, QStringLiteral("--title"), v))
        page.SetUserTitle(v);
    if (TakeOption(args, QStringLiteral("--border"), v))
        page.SetWMFBorderFile(v);
    rest = args;
}
