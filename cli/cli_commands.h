#pragma once
#include <QStringList>
#include <QTextStream>

// Runs one command; returns the exit code. Errors throw std::runtime_error.
int RunCliCommand(const QString& command, QStringList args, QTextStream& out, QTextStream& err);

// paths: the program folder, the user-data folder and the settings file as JSON.
int RunPathsCommand(const QStringList& args, QTextStream& out);
