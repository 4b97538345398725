#include "configuration_report.h"

#include "shell/system_information.h"

namespace {
QString flag(bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); }

QString languageName(const QLocale& l) { return QLocale::languageToString(l.language()); }
QString countryName(const QLocale& l) { return QLocale::territoryToString(l.territory()); }

QString totalAndAvailable(quint64 total, quint64 available, const QLocale& locale)
{
    return QStringLiteral("Total: ") + GroupedNumber(total, locale) + QStringLiteral(";    Available: ")
        + GroupedNumber(available, locale);
}
} // namespace

qint64 ColorCount(int bitsPerPixel)
{
    switch (bitsPerPixel) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    case 15: return 32768;
    case 16: return 65535;
    case 24:
    case 32: return 16777216;
    default: return bitsPerPixel;
    }
}

QString FontSizeText(int dpi)
{
    if (dpi == 96)
        return QStringLiteral("Small Fonts in use");
    if (dpi == 120)
        return QStringLiteral("Large Fonts in use");
    return QStringLiteral("Custom font size in use");
}

QString GroupedNumber(quint64 n, const QLocale& locale)
{
    QLocale grouped = locale;
    grouped.setNumberOptions(QLocale::DefaultNumberOptions);
    return grouped.toString(n);
}

QStringList EnvironmentLines(const SystemInformation& system)
{
    const QLocale user = system.userLocale();
    const QLocale machine = system.systemLocale();
    const MemoryStatus memory = system.memory();
    const QSize screen = system.screenSize();
    return {
        QStringLiteral("Windows:     \t") + system.systemName() + QStringLiteral(" version ") + system.kernelRelease()
            + QStringLiteral(" build:") + system.kernelBuild(),
        QStringLiteral("CPU:         \tProcessor:  ") + system.cpuArchitecture() + QLatin1Char(' ') + system.cpuModel(),
        QStringLiteral("Video:       \t") + QString::number(screen.width()) + QStringLiteral(" x ")
            + QString::number(screen.height()) + QStringLiteral(" x ")
            + GroupedNumber(quint64(ColorCount(system.colorDepth())), user) + QStringLiteral(" colors"),
        QStringLiteral("Font:        \t") + FontSizeText(system.logicalDpi()),
        QStringLiteral("Memory Load: \t") + QString::number(memory.loadPercent) + QLatin1Char('%'),
        QStringLiteral("Phys Memory: \t") + totalAndAvailable(memory.physicalTotal, memory.physicalAvailable, user),
        QStringLiteral("Page File:   \t") + totalAndAvailable(memory.swapTotal, memory.swapFree, user),
        QStringLiteral("Virt Memory: \t") + totalAndAvailable(memory.commitLimit, memory.commitAvailable, user),
        QStringLiteral("Language:    \tUser: ") + languageName(user) + QStringLiteral(";    System: ")
            + languageName(machine),
        QStringLiteral("Country:     \tUser: ") + countryName(user) + QStringLiteral(";    System: ") + countryName(machine),
        QStringLiteral("Date Format: \tShort: ") + user.dateFormat(QLocale::ShortFormat) + QStringLiteral(";    Long: ")
            + user.dateFormat(QLocale::LongFormat),
        QStringLiteral("Time Format: \tShort: ") + user.timeFormat(QLocale::ShortFormat) + QStringLiteral(";    Long: ")
            + user.timeFormat(QLocale::LongFormat),
    };
}

QStringList ConfigurationReportLines(const SystemInformation& system, const TPreferences& settings,
                                     const QString& programVersion)
{
    QStringList lines;
    lines << system.userLocale().toString(system.today(), QLocale::LongFormat);
    lines << QString() << QStringLiteral("[Product]") << QStringLiteral("Program:     \tOrvanta")
          << QStringLiteral("Version:     \t") + programVersion;
    lines << QString() << QStringLiteral("[Environment]") << EnvironmentLines(system);
    lines << QString() << QStringLiteral("[OV.INI]") << QString();
    lines << QStringLiteral("LastZoom:    \t") + QString::number(settings.MainZoomPercent) + QLatin1Char('/')
            + QString::number(settings.PropZoomPercent);
    lines << QStringLiteral("DeFFont      \t") + settings.DefaultFontName + QLatin1Char(',')
            + QString::number(settings.DefaultFontSize) + QLatin1Char(',') + flag(settings.DefaultFontBold)
            + QLatin1Char(',') + flag(settings.DefaultFontItalic) + QLatin1Char(',')
            + flag(settings.DefaultFontUnderline) + QLatin1Char(',') + QString::number(settings.DefaultFontColor);
    lines << QStringLiteral("LastIconFile:\t") + settings.LastIconFile;
    lines << QStringLiteral("IconShowing :\t") + flag(settings.IconToolVisible);
    lines << QStringLiteral("ShowHint:   :\t") + flag(settings.ShowHints);
    return lines;
}
