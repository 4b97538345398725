#include "system_information.h"

#include <QFile>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QScreen>
#include <QSysInfo>

#include <sys/utsname.h>

namespace {

QString readSmallFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.read(1024 * 1024));
}

// The line "key<separator>value" of text, value trimmed.
QString lineValue(const QString& text, const QString& key, QChar separator)
{
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const int at = line.indexOf(separator);
        if (at > 0 && line.left(at).trimmed() == key)
            return line.mid(at + 1).trimmed();
    }
    return {};
}

class LinuxSystemInformation : public SystemInformation {
public:
    QDate today() const override { return QDate::currentDate(); }
    QString systemName() const override
    {
        QString name = ShellVariable(readSmallFile(QStringLiteral("/etc/os-release")), QStringLiteral("PRETTY_NAME"));
        return name.isEmpty() ? QSysInfo::prettyProductName() : name;
    }
    QString kernelRelease() const override { return QSysInfo::kernelVersion(); }
    QString kernelBuild() const override
    {
        utsname u{};
        return uname(&u) == 0 ? QString::fromLocal8Bit(u.version) : QString();
    }
    QString cpuArchitecture() const override { return QSysInfo::currentCpuArchitecture(); }
    QString cpuModel() const override
    {
        const QString cpuinfo = readSmallFile(QStringLiteral("/proc/cpuinfo"));
        QString model = CpuInfoValue(cpuinfo, QStringLiteral("model name"));
        if (model.isEmpty()) // ARM and others name it differently
            model = CpuInfoValue(cpuinfo, QStringLiteral("Model"));
        return model;
    }
    QSize screenSize() const override
    {
        const QScreen* s = QGuiApplication::primaryScreen();
        return s ? s->size() : QSize();
    }
    int colorDepth() const override
    {
        const QScreen* s = QGuiApplication::primaryScreen();
        return s ? s->depth() : 0;
    }
    int logicalDpi() const override
    {
        const QScreen* s = QGuiApplication::primaryScreen();
        return s ? qRound(s->logicalDotsPerInch()) : 96;
    }
    MemoryStatus memory() const override
    {
        return MemoryStatusFromMemInfo(readSmallFile(QStringLiteral("/proc/meminfo")));
    }
    QLocale userLocale() const override { return QLocale::system(); }
    QLocale systemLocale() const override
    {
        for (const char* file : {"/etc/default/locale", "/etc/locale.conf"}) {
            const QString lang = ShellVariable(readSmallFile(QString::fromLatin1(file)), QStringLiteral("LANG"));
            if (!lang.isEmpty())
                return QLocale(lang.section(QLatin1Char('.'), 0, 0));
        }
        return QLocale::system();
    }
};

} // namespace

std::unique_ptr<SystemInformation> CreateLinuxSystemInformation()
{
    return std::make_unique<LinuxSystemInformation>();
}

quint64 MemInfoBytes(const QString& meminfo, const QString& key)
{
    const QString value = lineValue(meminfo, key, QLatin1Char(':'));
    const QStringList parts = value.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return 0;
    const quint64 n = parts.first().toULongLong();
    return parts.size() > 1 && parts.at(1).compare(QLatin1String("kB"), Qt::CaseInsensitive) == 0 ? n * 1024 : n;
}

QString CpuInfoValue(const QString& cpuinfo, const QString& key) { return lineValue(cpuinfo, key, QLatin1Char(':')); }

QString ShellVariable(const QString& text, const QString& key)
{
    QString value = lineValue(text, key, QLatin1Char('='));
    if (value.size() >= 2 && (value.startsWith(QLatin1Char('"')) || value.startsWith(QLatin1Char('\'')))
        && value.endsWith(value.front()))
        value = value.mid(1, value.size() - 2);
    return value;
}

MemoryStatus MemoryStatusFromMemInfo(const QString& meminfo)
{
    MemoryStatus m;
    m.physicalTotal = MemInfoBytes(meminfo, QStringLiteral("MemTotal"));
    m.physicalAvailable = MemInfoBytes(meminfo, QStringLiteral("MemAvailable"));
    if (m.physicalAvailable == 0) // kernels before 3.14
        m.physicalAvailable = MemInfoBytes(meminfo, QStringLiteral("MemFree"));
    m.swapTotal = MemInfoBytes(meminfo, QStringLiteral("SwapTotal"));
    m.swapFree = MemInfoBytes(meminfo, QStringLiteral("SwapFree"));
    m.commitLimit = MemInfoBytes(meminfo, QStringLiteral("CommitLimit"));
    const quint64 committed = MemInfoBytes(meminfo, QStringLiteral("Committed_AS"));
    m.commitAvailable = m.commitLimit > committed ? m.commitLimit - committed : 0;
    if (m.physicalTotal > 0 && m.physicalAvailable <= m.physicalTotal)
        m.loadPercent = int((m.physicalTotal - m.physicalAvailable) * 100 / m.physicalTotal);
    return m;
}

namespace {
std::unique_ptr<SystemInformation>& currentSource()
{
    static std::unique_ptr<SystemInformation> source = CreateLinuxSystemInformation();
    return source;
}
} // namespace

const SystemInformation& systemInformation() { return *currentSource(); }

std::unique_ptr<SystemInformation> setSystemInformation(std::unique_ptr<SystemInformation> source)
{
    auto previous = std::move(currentSource());
    currentSource() = source ? std::move(source) : CreateLinuxSystemInformation();
    return previous;
}
