#pragma once
#include <QString>

// The executable's folder, always ending in '/'. Read-only data (borders, icon
// libraries, textures, help) is found from here.
QString ProgramFolder();

// Where the user's own files live ("OV.ini", "OVRECUR.DAX", clipboard files): the
// program folder when it is writable (a portable installation), otherwise
// $XDG_CONFIG_HOME/orvanta/. An installed copy, marked by a file ".installed" in the
// program folder, always uses the latter. Always ends in '/'; created on first use.
QString UserDataFolder();

// UserDataFolder() + "OV.ini".
QString IniFileName();

// Where file dialogs start: the program folder when it keeps the user's files, else the
// documents folder.
QString DocumentsStartFolder();

// Tests and the command-line tool redirect both folders (empty restores the default).
void setProgramFolderOverride(const QString& folder);
void setUserDataFolderOverride(const QString& folder);
