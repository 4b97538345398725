#include "cli_commands.h"
#include "cli_error.h"

#include "calendar/calendar_panel.h"
#include "cli_page_setup.h"
#include "icons_command.h"
#include "page_options.h"
#include "print_commands.h"

#include <QFileInfo>
#include <QImageWriter>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {


QJsonArray rectJson(const TRect& r) { return QJsonArray{r.Left, r.Top, r.Right, r.Bottom}; }

void rejectLeftovers(const QStringList& rest)
{
    if (!rest.isEmpty())
        fail(QStringLiteral("unknown option \"%1\"").arg(rest.first()));
}

int geometryCommand(QStringList args, QTextStream& out)
{
    CliPage cli = MakeCliPage(args);
    rejectLeftovers(args);
    TCalendarPanel32& page = *cli.page;
    const TLayoutGeometry& g = page.layoutGeometry();

    QJsonObject o;
    o[QStringLiteral("ppi")] = g.ppi;
    o[QStringLiteral("zoom")] = double(cli.zoom);
    o[QStringLiteral("page_width")] = g.PageWidthPx;
    o[QStringLiteral("page_height")] = g.PageHeightPx;
    o[QStringLiteral("orientation")] =
        g.orientation == TCalendarOrientation::coPortrait ? QStringLiteral("portrait") : QStringLiteral("landscape");
    o[QStringLiteral("margin_rect")] = rectJson(g.MarginRect);
    o[QStringLiteral("content_rect")] = rectJson(g.ContentRect);
    o[QStringLiteral("main_rect")] = (g.ShowMainCalendar || g.IsPlanner) ? QJsonValue(rectJson(g.MainCalendarRect))
                                                                          : QJsonValue(QJsonValue::Null);
    QJsonArray minis;
    if (g.ShowMiniCalendars)
        for (int i = 0; i < page.MiniCount() && i < int(g.minis.size()); ++i) {
            const TMiniPlacement& m = g.minis[size_t(i)];
            minis.append(QJsonObject{{QStringLiteral("rect"), rectJson(m.rect)},
                                     {QStringLiteral("month"), m.month},
                                     {QStringLiteral("year"), m.year}});
        }
    o[QStringLiteral("minis")] = minis;

    // Band and cell rectangles come from a drawing at the requested zoom.
    page.DrawToImage();
    const TDrawnCalendar& d = page.drawn();
    o[QStringLiteral("title_rect")] = rectJson(d.titleRect);
    o[QStringLiteral("header_rect")] = rectJson(d.headerRect);
    QJsonArray cells;
    for (int i = 0; i < TCalendarPage::kCellCount; ++i) {
        const TCellGeometry& c = d.cells[size_t(i)];
        cells.append(QJsonObject{{QStringLiteral("index"), i + 1},
                                 {QStringLiteral("day"), c.day},
                                 {QStringLiteral("total"), rectJson(c.rTotal)},
                                 {QStringLiteral("free"), rectJson(c.rFree)}});
    }
    o[QStringLiteral("cells")] = cells;
    out << QJsonDocument(o).toJson(QJsonDocument::Indented);
    return 0;
}

int renderCommand(QStringList args)
{
    QString outPath;
    if (!TakeOption(args, QStringLiteral("--out"), outPath))
        fail(QStringLiteral("render needs --out FILE (.png, .bmp, .jpg or .pdf)"));
    CliPage cli = MakeCliPage(args);
    const QString suffix = QFileInfo(outPath).suffix().toLower();
    if (suffix == QLatin1String("pdf"))
        return RenderPdf(cli, args, outPath);
    rejectLeftovers(args);
    if (suffix != QLatin1String("png") && suffix != QLatin1String("bmp") && suffix != QLatin1String("jpg")
        && suffix != QLatin1String("jpeg"))
        fail(QStringLiteral("cannot write \"%1\": use .png, .bmp, .jpg or .pdf").arg(outPath));
    const QImage image = cli.page->DrawToBitmap(TPageTarget::Screen); // as the screen shows it
    QImageWriter writer(outPath, suffix == QLatin1String("jpeg") ? "jpg" : suffix.toLatin1());
    if (suffix.startsWith(QLatin1String("jp")))
        writer.setQuality(90);
    if (!writer.write(image))
        fail(QStringLiteral("Unable to save %1: %2").arg(outPath, writer.errorString()));
    return 0;
}

} // namespace

int RunCliCommand(const QString& command, QStringList args, QTextStream& out, QTextStream& err)
{
    if (command == QLatin1String("geometry"))
        return geometryCommand(args, out);
    if (command == QLatin1String("render"))
        return renderCommand(args);
    if (command == QLatin1String("print"))
        return PrintCommand(args, out, err);
    if (command == QLatin1String("paths"))
        return RunPathsCommand(args, out);
    if (command == QLatin1String("icons"))
        return RunIconsCommand(args, out);
    return RunDocumentCommand(command, args, out, err);
}
