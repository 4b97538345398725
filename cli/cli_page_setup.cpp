#include "cli_page_setup.h"

#include "calendar/calendar_panel.h"
#include "page_options.h"
#include "platform/screen_ppi.h"
#include "recurring/dates_command.h"

#include <stdexcept>

namespace {
[[noreturn]] void fail(const QString& message) { throw std::runtime_error(message.toStdString()); }
} // namespace

CliPage MakeCliPage(QStringList& args)
{
    CliPage cli;
    QString v;
    int ppi = 96;
    if (TakeOption(args, QStringLiteral("--ppi"), v)) {
        bool ok = false;
        ppi = v.toInt(&ok);
        if (!ok || ppi < 24 || ppi > 1200)
            fail(QStringLiteral("--ppi must be a whole number from 24 to 1200, not \"%1\"").arg(v));
    }
    setScreenPPIOverride(ppi);
    if (TakeOption(args, QStringLiteral("--zoom"), v)) {
        bool ok = false;
        cli.zoom = v.toFloat(&ok);
        if (!ok || cli.zoom < 0.05f || cli.zoom > 8.0f)
            fail(QStringLiteral("--zoom must be a factor from 0.05 to 8 (1 = 100 %), not \"%1\"").arg(v));
    }

    cli.page = std::make_unique<TCalendarPanel32>(nullptr, ppi);
    TCalendarPanel32& page = *cli.page;
    page.ApplyMainFormDesignValues();
    page.ResetToDefaults();
    if (args.contains(QStringLiteral("--file")))
        fail(QStringLiteral("--file is not supported by this build"));
    QStringList rest;
    ApplyPageOptions(page, args, rest);
    args = rest;
    page.SetZoom(cli.zoom);
    return cli;
}

int RunDocumentCommand(const QString& command, QStringList args, QTextStream& out, QTextStream& err)
{
    if (command == QLatin1String("dates"))
        return runDatesCommand(args, out, err);
    fail(QStringLiteral("unknown command \"%1\"").arg(command));
}
