#pragma once
#include <QStringList>
#include <QTextStream>

// Runs one command; returns the exit code. Errors throw std::runtime_error.
int RunCliCommand(const QString& command, QStringList args, QTextStream& out, QTextStream& err);
