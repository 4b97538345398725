#include "cli_page_setup.h"
#include "cli_error.h"

#include "calendar/calendar_file.h"
#include "calendar/calendar_panel.h"
#include "calendar/style_sheet.h"
#include "page_options.h"
#include "platform/screen_ppi.h"
#include "richtext/wp_rich_text.h"


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

    cli.form = std::make_unique<QWidget>();
    auto* master = new TWPRichText(cli.form.get());
    master->setObjectName(QStringLiteral("MASTERWPRICHTEXT"));
    master->hide();
    cli.page = std::make_unique<TCalendarPanel32>(cli.form.get(), ppi);
    TCalendarPanel32& page = *cli.page;
    page.ApplyMainFormDesignValues();
    page.ResetToDefaults();
    if (TakeOption(args, QStringLiteral("--file"), v)) {
        // A calendar file replaces the new page, as opening it in the program does.
        page.ClearAllCells();
        page.SetUserTitle(QString());
        try {
            page.LoadFromFile(v);
            page.HookAllObjects();
        } catch (const EStreamError& e) {
            fail(QStringLiteral("Unable to open %1: %2").arg(v, e.reason()));
        }
    }
    if (TakeOption(args, QStringLiteral("--style"), v)) {
        try {
            LoadStyleSheet(page, v);
        } catch (const EStreamError& e) {
            fail(QStringLiteral("Unable to load style sheet %1: %2").arg(v, e.reason()));
        }
    }
    QStringList rest;
    ApplyPageOptions(page, args, rest);
    args = rest;
    page.SetZoom(cli.zoom);
    return cli;
}
