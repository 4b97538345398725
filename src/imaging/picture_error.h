#pragma once
#include <QString>
#include <stdexcept>

// A picture that cannot be read or written. `reason()` is a short sentence fit to be
// shown to the user; callers catch it at the command boundary.
class EPictureError : public std::runtime_error {
public:
    explicit EPictureError(const QString& reason)
        : std::runtime_error(reason.toStdString()), m_reason(reason)
    {
    }

    const QString& reason() const { return m_reason; }

private:
    QString m_reason;
};
