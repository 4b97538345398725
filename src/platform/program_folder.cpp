#include "program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
QString g_programOverride;
QString g_userDataOverride;

QString withSlash(QString s)
{
    if (!s.endsWith(QLatin1Char('/')))
        s += QLatin1Char('/');
    return s;
}

bool isWritableFolder(const QString& folder)
{
    const QFileInfo info(folder);
    return info.isDir() && info.isWritable();
}

// An installed copy (make install, the package) is read-only data even for root, who
// may write anywhere: it keeps user files out of the program folder.
bool isInstalledCopy(const QString& folder)
{
    return QFileInfo::exists(folder + QStringLiteral(".installed"));
}

bool keepsUserData(const QString& folder) { return isWritableFolder(folder) && !isInstalledCopy(folder); }
} // namespace

void setProgramFolderOverride(const QString& folder) { g_programOverride = folder; }
void setUserDataFolderOverride(const QString& folder) { g_userDataOverride = folder; }

QString ProgramFolder()
{
    if (!g_programOverride.isEmpty())
        return withSlash(g_programOverride);
    if (QCoreApplication::instance())
        return withSlash(QCoreApplication::applicationDirPath());
    return withSlash(QDir::currentPath());
}

QString UserDataFolder()
{
    if (!g_userDataOverride.isEmpty()) {
        QDir().mkpath(g_userDataOverride);
        return withSlash(g_userDataOverride);
    }
    const QString program = ProgramFolder();
    if (keepsUserData(program))
        return program;
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty())
        config = QDir::homePath() + QStringLiteral("/.config");
    const QString folder = withSlash(config) + QStringLiteral("orvanta/");
    QDir().mkpath(folder);
    return folder;
}

QString IniFileName() { return UserDataFolder() + QStringLiteral("OV.ini"); }

QString DocumentsStartFolder()
{
    const QString program = ProgramFolder();
    if (keepsUserData(program))
        return program;
    const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return docs.isEmpty() ? QDir::homePath() : docs;
}
