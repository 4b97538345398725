#include "private_cups.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSizeF>
#include <QThread>

#include <csignal>
#include <sys/stat.h>
#include <sys/types.h>

namespace ovtest {

namespace {
const char* kCupsd = "/usr/sbin/cupsd";
const char* kGenericPdfPpd = "/usr/share/ppd/cupsfilters/Generic-PDF_Printer-PDF.ppd";

bool writeFile(const QString& path, const QString& text)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(text.toUtf8()) == text.toUtf8().size();
}

QString runTool(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString pdfInfo(const QString& pdf, int page)
{
    return runTool(QStringLiteral("pdfinfo"),
                   {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"), QString::number(page), pdf});
}
} // namespace

PrivateCups& PrivateCups::instance()
{
    static PrivateCups server;
    return server;
}

PrivateCups::PrivateCups()
{
    if (!start() && m_error.isEmpty())
        m_error = QStringLiteral("cupsd did not start");
}

PrivateCups::~PrivateCups()
{
    if (m_pid > 0) {
        ::kill(pid_t(m_pid), SIGTERM);
        for (int i = 0; i < 100 && ::kill(pid_t(m_pid), 0) == 0; ++i)
            QThread::msleep(20);
    }
}

bool PrivateCups::failWith(const QString& reason)
{
    m_error = reason;
    return false;
}

QString PrivateCups::socketPath() const { return m_dir.filePath(QStringLiteral("cups.sock")); }

bool PrivateCups::start()
{
    if (!QFileInfo::exists(QString::fromLatin1(kCupsd)))
        return failWith(QStringLiteral("%1 is missing (scripts/install-deps installs cups-daemon)").arg(kCupsd));
    if (!QFileInfo::exists(QString::fromLatin1(kGenericPdfPpd)))
        return failWith(QStringLiteral("%1 is missing (scripts/install-deps installs cups-filters)").arg(kGenericPdfPpd));
    if (!m_dir.isValid())
        return failWith(QStringLiteral("no temporary folder for cupsd"));
    const QString root = m_dir.path();
    for (const char* sub : {"spool", "tmp", "cache", "state", "log", "out"})
        QDir(root).mkpath(QString::fromLatin1(sub));
    // cupsd running as root hands jobs to filters as the "lp" user: it must reach the
    // folder, and the file device writes into out/.
    ::chmod(QFile::encodeName(root).constData(), 0755);
    ::chmod(QFile::encodeName(root + QStringLiteral("/out")).constData(), 0777);
    const QString conf = QStringLiteral(
                             "Listen %1\nLogLevel info\nWebInterface No\nBrowsing No\nPreserveJobFiles Yes\n"
                             "DefaultAuthType None\n<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                             "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n")
                             .arg(socketPath());
    const QString files = QStringLiteral("ServerRoot %1\nRequestRoot %1/spool\nTempDir %1/tmp\nCacheDir %1/cache\n"
                                         "StateDir %1/state\nAccessLog %1/log/access_log\nErrorLog %1/log/error_log\n"
                                         "PageLog %1/log/page_log\nPrintcap %1/printcap\nFileDevice Yes\n")
                              .arg(root);
    if (!writeFile(root + QStringLiteral("/cupsd.conf"), conf)
        || !writeFile(root + QStringLiteral("/cups-files.conf"), files))
        return failWith(QStringLiteral("cannot write the cupsd configuration in %1").arg(root));

    QProcess cupsd;
    cupsd.setProgram(QString::fromLatin1(kCupsd));
    cupsd.setArguments({QStringLiteral("-f"), QStringLiteral("-c"), root + QStringLiteral("/cupsd.conf"),
                        QStringLiteral("-s"), root + QStringLiteral("/cups-files.conf")});
    cupsd.setStandardOutputFile(root + QStringLiteral("/log/cupsd.out"));
    cupsd.setStandardErrorFile(root + QStringLiteral("/log/cupsd.out"));
    if (!cupsd.startDetached(&m_pid))
        return failWith(QStringLiteral("cannot run %1").arg(kCupsd));
    QElapsedTimer clock;
    clock.start();
    while (!QFileInfo::exists(socketPath())) {
        if (clock.elapsed() > 15000 || ::kill(pid_t(m_pid), 0) != 0) {
            QFile log(root + QStringLiteral("/log/error_log"));
            log.open(QIODevice::ReadOnly);
            QFile out(root + QStringLiteral("/log/cupsd.out"));
            out.open(QIODevice::ReadOnly);
            return failWith(QStringLiteral("cupsd did not open its socket: ") + QString::fromUtf8(out.readAll())
                            + QString::fromUtf8(log.readAll()).right(2000));
        }
        QThread::msleep(20);
    }
    // Everything in this process that asks CUPS (Qt, libcups) now asks this server.
    qputenv("CUPS_SERVER", QFile::encodeName(socketPath()));
    qunsetenv("PRINTER");
    qunsetenv("LPDEST");
    return true;
}

bool PrivateCups::run(const QString& program, const QStringList& args, QString* output)
{
    QProcess p;
    p.start(program, QStringList{QStringLiteral("-h"), socketPath()} + args);
    const bool finished = p.waitForFinished(30000);
    const QString all = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
    if (output)
        *output = all;
    if (!finished || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        m_error = QStringLiteral("%1 %2 failed: %3").arg(program, args.join(QLatin1Char(' ')), all);
        return false;
    }
    return true;
}

bool PrivateCups::addQueue(const QString& name, bool makeDefault, double unprintableInch)
{
    if (!ok())
        return false;
    QString ppd = QString::fromLatin1(kGenericPdfPpd);
    if (unprintableInch > 0) {
        QFile generic(ppd);
        if (!generic.open(QIODevice::ReadOnly))
            return failWith(QStringLiteral("cannot read ") + ppd);
        const double m = unprintableInch * 72;
        QString text = QString::fromLatin1(generic.readAll());
        text.replace(QRegularExpression(QStringLiteral("\\*ImageableArea Letter/Letter: \"[^\"]*\"")),
                     QStringLiteral("*ImageableArea Letter/Letter: \"%1 %1 %2 %3\"").arg(m).arg(612 - m).arg(792 - m));
        ppd = m_dir.filePath(name + QStringLiteral(".ppd"));
        if (!writeFile(ppd, text))
            return failWith(QStringLiteral("cannot write ") + ppd);
    }
    const QString uri = QStringLiteral("file://") + outputFile(name);
    if (!run(QStringLiteral("lpadmin"), {QStringLiteral("-p"), name, QStringLiteral("-v"), uri, QStringLiteral("-P"),
                                         ppd, QStringLiteral("-E")}))
        return false;
    return !makeDefault || setDefault(name);
}

bool PrivateCups::setDefault(const QString& name) { return run(QStringLiteral("lpadmin"), {QStringLiteral("-d"), name}); }

bool PrivateCups::removeQueue(const QString& name) { return run(QStringLiteral("lpadmin"), {QStringLiteral("-x"), name}); }

QString PrivateCups::outputFile(const QString& queue) const
{
    return m_dir.filePath(QStringLiteral("out/") + queue + QStringLiteral(".pdf"));
}

bool PrivateCups::waitIdle(int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    QString pending;
    while (clock.elapsed() < timeoutMs) {
        if (!run(QStringLiteral("lpstat"), {QStringLiteral("-o")}, &pending))
            return false;
        if (pending.trimmed().isEmpty())
            return true;
        QThread::msleep(50);
    }
    QFile log(m_dir.filePath(QStringLiteral("log/error_log")));
    log.open(QIODevice::ReadOnly);
    m_error = QStringLiteral("jobs still pending after %1 ms: %2\n%3")
                  .arg(timeoutMs)
                  .arg(pending, QString::fromUtf8(log.readAll()).right(3000));
    return false;
}

QStringList PrivateCups::pageLog() const
{
    QFile f(m_dir.filePath(QStringLiteral("log/page_log")));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QString PrivateCups::jobDocument(int jobId) const
{
    return m_dir.filePath(QStringLiteral("spool/d%1-001").arg(jobId, 5, 10, QLatin1Char('0')));
}

int PrivateCups::lastJobId() const
{
    int last = 0;
    const QStringList docs = QDir(m_dir.filePath(QStringLiteral("spool"))).entryList({QStringLiteral("d*-001")});
    for (const QString& d : docs)
        last = std::max(last, d.mid(1, 5).toInt());
    return last;
}

QString pdfText(const QString& pdf) { return runTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}); }

int pdfPageCount(const QString& pdf)
{
    const auto m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(pdfInfo(pdf, 1));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QSizeF pdfPageSize(const QString& pdf, int page)
{
    const auto m = QRegularExpression(QStringLiteral("size:\\s+([\\d.]+) x ([\\d.]+) pts")).match(pdfInfo(pdf, page));
    return m.hasMatch() ? QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()) : QSizeF();
}

int pdfPageRotation(const QString& pdf, int page)
{
    const auto m = QRegularExpression(QStringLiteral("rot:\\s+(\\d+)")).match(pdfInfo(pdf, page));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QStringList pdfFonts(const QString& pdf)
{
    QStringList rows = runTool(QStringLiteral("pdffonts"), {pdf}).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return rows.mid(2); // past the heading and its rule
}

} // namespace ovtest
