#pragma once
#include <QString>
#include <stdexcept>

// A print job or PDF that could not be made; reason() is the text the user sees.
class EPrintError : public std::runtime_error {
public:
    explicit EPrintError(const QString& reason) : std::runtime_error(reason.toStdString()), m_reason(reason) {}
    const QString& reason() const { return m_reason; }

private:
    QString m_reason;
};
