#pragma once
// The events of an iCalendar file (RFC 5545) that fall in one month, read through
// libical. Times with a time zone (a VTIMEZONE of the file, a system zone name, or UTC)
// are shown in the machine's local time, as desktop calendar programs show them;
// floating times and all-day dates are taken as written.
#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <stdexcept>

// A file that cannot be used. `reason()` is the sentence shown to the user.
class EIcsError : public std::runtime_error {
public:
    explicit EIcsError(const QString& reason)
        : std::runtime_error(reason.toStdString()), m_reason(reason)
    {
    }
    const QString& reason() const { return m_reason; }

private:
    QString m_reason;
};

// Calendar exports of many years stay far below this.
inline constexpr qint64 kMaxIcsFileBytes = 16 * 1024 * 1024;

// Bounds on the work one file may cause. Work is counted in steps of a repeat rule's
// frequency from where its expansion starts to the end of the month, plus one for
// every occurrence the rule produces on the way.
struct IcsLimits {
    qint64 ruleWork = 500'000; // one rule of one event
    qint64 fileWork = 5'000'000; // all rules of the file together
    int occurrences = 5'000; // occurrences that touch the month, all events together
};

// One occurrence, in local wall-clock time. QDateTime is used in Qt::UTC only as a
// plain wall clock, so that no daylight-saving rule moves a time that is already local.
struct IcsOccurrence {
    QDateTime start;
    QDateTime end; // exclusive; equal to start for an instant
    bool allDay = false;
    QString summary; // a moved occurrence may carry a summary of its own
};

// One event: a single one, or a repeating series together with its moved occurrences.
struct IcsEvent {
    QString summary; // one line; "(No title)" when the file gives none
    QList<IcsOccurrence> occurrences; // only those touching the month, earliest first
};

inline const QString kIcsNoTitle = QStringLiteral("(No title)");

// Every event with an occurrence that touches year/month, in the order of the file.
// Cancelled events and cancelled or excluded occurrences are left out. Repeat rules
// without an end are expanded only as far as the month. Throws EIcsError with the
// reason (without the file name) when the bytes are no iCalendar data, are damaged,
// or would exceed the limits; nothing is returned then.
QList<IcsEvent> ReadIcsMonth(const QByteArray& bytes, int year, int month, const IcsLimits& limits = {});

// Reads a file as above. The EIcsError of a failure reads "Unable to open FILE: reason".
QList<IcsEvent> ReadIcsFileMonth(const QString& fileName, int year, int month);
