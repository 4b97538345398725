// dump, save and dates: the commands that read or write documents and stores.
#include "calendar/calendar_file.h"
#include "calendar/calendar_panel.h"
#include "calendar/document_dump.h"
#include "calendar/style_sheet.h"
#include "cli_error.h"
#include "cli_page_setup.h"
#include "page_options.h"
#include "recurring/dates_command.h"

int RunDocumentCommand(const QString& command, QStringList args, QTextStream& out, QTextStream& err)
{
    if (command == QLatin1String("dates"))
        return runDatesCommand(args, out, err);
    if (command == QLatin1String("dump")) {
        if (args.size() != 1)
            fail(QStringLiteral("dump needs exactly one FILE"));
        try {
            out << QString::fromUtf8(DumpDocumentJson(args.first()));
        } catch (const EStreamError& e) {
            fail(QStringLiteral("Unable to open %1: %2").arg(args.first(), e.reason()));
        }
        return 0;
    }
    if (command == QLatin1String("save")) {
        QString calendarOut, styleOut;
        const bool calendar = TakeOption(args, QStringLiteral("--out"), calendarOut);
        const bool style = TakeOption(args, QStringLiteral("--stylesheet-out"), styleOut);
        if (calendar == style)
            fail(QStringLiteral("save needs either --out F.OVF or --stylesheet-out F.OVS"));
        CliPage cli = MakeCliPage(args);
        if (!args.isEmpty())
            fail(QStringLiteral("unknown option \"%1\"").arg(args.first()));
        cli.page->SetZoom(1.0f); // files hold the geometry of zoom 1
        try {
            if (calendar)
                cli.page->SaveToFile(calendarOut);
            else
                SaveStyleSheet(*cli.page, styleOut);
        } catch (const EStreamError& e) {
            fail(QStringLiteral("Unable to save %1: %2").arg(calendar ? calendarOut : styleOut, e.reason()));
        }
        return 0;
    }
    fail(QStringLiteral("unknown command \"%1\"").arg(command));
}
