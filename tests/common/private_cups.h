#pragma once
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace ovtest {

// A CUPS server of the test process's own: configuration, socket, spool and logs in a
// temporary folder, queues that print through CUPS' generic PDF driver into a file, and
// CUPS_SERVER pointing at it (set before anything in the process talks to CUPS). Started
// on first use, stopped when the process ends. Every failure carries its reason.
class PrivateCups {
public:
    static PrivateCups& instance();
    ~PrivateCups();

    bool ok() const { return m_error.isEmpty(); }
    const QString& error() const { return m_error; }
    QString socketPath() const;

    // A queue whose output lands in outputFile(name); optionally the server's default.
    // unprintableInch > 0 makes a device that cannot print that close to any edge of a
    // Letter page.
    bool addQueue(const QString& name, bool makeDefault, double unprintableInch = 0);
    bool setDefault(const QString& name);
    bool removeQueue(const QString& name);
    QString outputFile(const QString& queue) const;

    // Waits until no job is pending; false (with the reason in error()) after timeoutMs.
    bool waitIdle(int timeoutMs = 30000);
    // One line per finished job: "queue user id [date] total pages ... job-name media ...".
    QStringList pageLog() const;
    // The document of a job as the program sent it (jobs are kept after printing).
    QString jobDocument(int jobId) const;
    int lastJobId() const;

private:
    PrivateCups();
    bool start();
    bool failWith(const QString& reason);
    bool run(const QString& program, const QStringList& args, QString* output = nullptr);

    QTemporaryDir m_dir;
    QString m_error;
    qint64 m_pid = 0;
};

// Poppler's command-line tools on a PDF (empty results when they fail).
QString pdfText(const QString& pdf);
int pdfPageCount(const QString& pdf);
// Page size in points of page n (1-based), and its rotation in degrees.
QSizeF pdfPageSize(const QString& pdf, int page = 1);
int pdfPageRotation(const QString& pdf, int page = 1);
// The rows of pdffonts: one per font, "name type encoding emb sub uni object ID".
QStringList pdfFonts(const QString& pdf);

} // namespace ovtest
