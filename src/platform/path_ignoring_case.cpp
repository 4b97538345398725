#include "path_ignoring_case.h"

#include "program_folder.h"

#include <QDir>
#include <QFileInfo>

QString FindPathIgnoringCase(const QString& path)
{
    if (path.isEmpty() || QFileInfo::exists(path))
        return path;
    const QFileInfo info(path);
    const QString name = info.fileName();
    const QString parent = info.path();
    if (name.isEmpty() || parent == path)
        return path;
    const QString folder = FindPathIgnoringCase(parent);
    if (!QFileInfo(folder).isDir())
        return path;
    const QDir dir(folder);
    // Sorted by name, so that two names differing only in case give the same answer every time.
    const QStringList entries
        = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    return path;
}

QString ProgramFile(const QString& name) { return FindPathIgnoringCase(ProgramFolder() + name); }
