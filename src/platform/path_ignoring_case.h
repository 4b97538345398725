#pragma once
#include <QString>

// The program's data files carry names written for a file system that ignores case
// ("MISC1.ICL" for misc1.icl). Returns the existing file or folder whose path equals
// `path` ignoring the case of every name in it, preferring an exact match; `path`
// unchanged when there is none.
QString FindPathIgnoringCase(const QString& path);

// ProgramFolder() + name (which may hold '/' separated folders), found ignoring case.
QString ProgramFile(const QString& name);
