// paths: where this copy of the program finds its data and keeps the user's files.
#include "cli_commands.h"
#include "cli_error.h"

#include "platform/program_folder.h"

#include <QJsonDocument>
#include <QJsonObject>

int RunPathsCommand(const QStringList& args, QTextStream& out)
{
    if (!args.isEmpty())
        fail(QStringLiteral("unknown option \"%1\"").arg(args.first()));
    const QJsonObject o{
        {QStringLiteral("program_folder"), ProgramFolder()},
        {QStringLiteral("user_data_folder"), UserDataFolder()},
        {QStringLiteral("ini_file"), IniFileName()},
    };
    out << QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Indented));
    return 0;
}
