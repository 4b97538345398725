#include "icons_command.h"
#include "cli_error.h"
#include "page_options.h"

#include "imaging/icon_error.h"
#include "imaging/icon_library.h"

#include <QImageWriter>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QJsonObject describe(const IconLibrary& library)
{
    QJsonArray icons;
    for (int i = 0; i < library.count(); ++i) {
        QJsonArray sizes;
        for (const TIconImageInfo& s : library.sizes(i))
            sizes.append(QJsonArray{s.width, s.height, s.bits});
        icons.append(QJsonObject{{QStringLiteral("index"), i}, {QStringLiteral("sizes"), sizes}});
    }
    return QJsonObject{{QStringLiteral("count"), library.count()}, {QStringLiteral("icons"), icons}};
}

int parseIndex(const QString& text)
{
    bool ok = false;
    const int index = text.toInt(&ok);
    if (!ok)
        fail(QStringLiteral("--index needs a number, not \"%1\"").arg(text));
    return index;
}

} // namespace

int RunIconsCommand(QStringList args, QTextStream& out)
{
    QString indexText, outPath;
    const bool extract = TakeOption(args, QStringLiteral("--index"), indexText);
    const bool write = TakeOption(args, QStringLiteral("--out"), outPath);
    if (extract != write)
        fail(QStringLiteral("icons: --index N and --out FILE go together"));
    if (args.size() != 1 || args.first().startsWith(QLatin1String("--")))
        fail(QStringLiteral("icons needs exactly one FILE"));
    const QString path = args.first();
    try {
        const IconLibrary library = IconLibrary::fromFile(path);
        if (!extract) {
            out << QJsonDocument(describe(library)).toJson(QJsonDocument::Indented);
            return 0;
        }
        const QImage image = library.image(parseIndex(indexText));
        QImageWriter writer(outPath);
        if (!writer.write(image))
            fail(QStringLiteral("Unable to save %1: %2").arg(outPath, writer.errorString()));
        return 0;
    } catch (const EIconError& e) {
        fail(QStringLiteral("Unable to open %1: %2").arg(path, e.reason()));
    }
}
