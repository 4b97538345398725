#pragma once
#include "shell/preferences.h"

#include <QStringList>

class QLocale;
class SystemInformation;

// The lines of the configuration report, in order: the date, "[Product]", the
// environment block, "[OV.INI]" and the remembered settings. Each label is followed by
// a tab; the Linux facts stand under the labels the report has always used.
QStringList ConfigurationReportLines(const SystemInformation& system, const TPreferences& settings,
                                     const QString& programVersion);

// The "[Environment]" block alone.
QStringList EnvironmentLines(const SystemInformation& system);

// Colours of a screen depth: 8 bits give 256, 24 and 32 give 16777216; unknown depths
// are shown as they are.
qint64 ColorCount(int bitsPerPixel);
// "Small Fonts in use" at 96 dots per inch, "Large Fonts in use" at 120, else custom.
QString FontSizeText(int dpi);
// An integer with the locale's thousands separators (also for locales that omit them).
QString GroupedNumber(quint64 n, const QLocale& locale);
