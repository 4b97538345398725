#pragma once
#include <QString>
#include <stdexcept>

// Ends a command with a message for stderr (main prints it and exits non-zero).
[[noreturn]] inline void fail(const QString& message) { throw std::runtime_error(message.toStdString()); }
