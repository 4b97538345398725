#pragma once
#include <QDate>
#include <QLocale>
#include <QSize>
#include <QString>
#include <memory>

// What the configuration report tells about the computer, behind an interface so that
// the report can be tested with fixed values.
struct MemoryStatus {
    int loadPercent = 0; // share of the physical memory in use
    quint64 physicalTotal = 0, physicalAvailable = 0; // bytes
    quint64 swapTotal = 0, swapFree = 0;
    quint64 commitLimit = 0, commitAvailable = 0; // what the system lets programs reserve
};

class SystemInformation {
public:
    virtual ~SystemInformation() = default;
    virtual QDate today() const = 0;
    virtual QString systemName() const = 0; // the distribution, e.g. "Debian GNU/Linux 12 (bookworm)"
    virtual QString kernelRelease() const = 0; // "6.1.0-28-amd64"
    virtual QString kernelBuild() const = 0; // "#1 SMP PREEMPT_DYNAMIC Debian 6.1.119-1"
    virtual QString cpuArchitecture() const = 0; // "x86_64"
    virtual QString cpuModel() const = 0; // "Intel(R) Xeon(R) ..."
    virtual QSize screenSize() const = 0;
    virtual int colorDepth() const = 0; // bits per pixel
    virtual int logicalDpi() const = 0;
    virtual MemoryStatus memory() const = 0;
    virtual QLocale userLocale() const = 0;
    virtual QLocale systemLocale() const = 0; // the machine's default, /etc/default/locale
};

// Reads the running Linux system: /etc/os-release, uname, /proc/cpuinfo, /proc/meminfo,
// the primary screen and the locale settings.
std::unique_ptr<SystemInformation> CreateLinuxSystemInformation();

// Values of "key: value" lines (/proc/meminfo, /proc/cpuinfo) and "KEY=value" lines
// (os-release, locale files); exposed for tests.
quint64 MemInfoBytes(const QString& meminfo, const QString& key); // "MemTotal" -> bytes (kB lines)
QString CpuInfoValue(const QString& cpuinfo, const QString& key); // first "model name"
QString ShellVariable(const QString& text, const QString& key); // PRETTY_NAME="..." unquoted
MemoryStatus MemoryStatusFromMemInfo(const QString& meminfo);

// The source the configuration report reads: the Linux one unless a test installed
// another. setSystemInformation takes ownership and returns the previous source
// (nullptr restores the Linux one).
const SystemInformation& systemInformation();
std::unique_ptr<SystemInformation> setSystemInformation(std::unique_ptr<SystemInformation> source);
