#pragma once
#include <QString>
#include <stdexcept>

// A file with icons that cannot be read. `reason()` is a short sentence fit to be shown
// to the user after the file name ("... is damaged: ...").
class EIconError : public std::runtime_error {
public:
    explicit EIconError(const QString& reason) : std::runtime_error(reason.toStdString()), m_reason(reason) {}

    const QString& reason() const { return m_reason; }

private:
    QString m_reason;
};
