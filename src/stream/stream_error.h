#pragma once
#include <QString>
#include <stdexcept>

// A read or write failure of the component stream. `reason()` is a short sentence fit
// to be shown to the user; `offset()` is the byte position where reading stopped (-1
// when unknown), kept for diagnostics.
class EStreamError : public std::runtime_error {
public:
    explicit EStreamError(const QString& reason, qint64 offset = -1)
        : std::runtime_error(reason.toStdString()), m_reason(reason), m_offset(offset)
    {
    }

    const QString& reason() const { return m_reason; }
    qint64 offset() const { return m_offset; }

private:
    QString m_reason;
    qint64 m_offset;
};
