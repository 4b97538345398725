// A designed year as one PDF: twelve months filled from recurring dates in one process,
// against pcal + ps2pdf making the same year (both only when installed: the benchmark
// needs `apt-get install pcal ghostscript`, which the project does not install).
#include "calendar/calendar_panel.h"
#include "recurring/recurring_formula.h"
#include "shell/calendar_pdf.h"
#include "shell/preferences.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "bench_main.h"

namespace {
struct Holiday {
    const char* name;
    int month, day;
};
const Holiday kHolidays[] = {{"New Year", 1, 1}, {"Fools", 4, 1}, {"Independence", 7, 4}, {"Christmas", 12, 25}};
const char* kMonthAbbrev[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
} // namespace

static void BM_YearPdfInOneProcess(benchmark::State& state)
{
    QTemporaryDir dir;
    TCalendarPanel32 page(nullptr, 96);
    page.ApplyMainFormDesignValues();
    page.ResetToDefaults();
    page.SetCalendarLayout(TCalendarLayout(0));
    page.SetMainCalYear(1998);
    page.SetMainCalMonth(1);
    TCalendarPdfRequest request;
    request.months = 12;
    QStringList lines;
    for (const Holiday& h : kHolidays)
        lines << MakeRecurringEntry(QString::fromLatin1(h.name),
                                    QStringLiteral("@%1%2").arg(h.month, 2, 10, QLatin1Char('0')).arg(h.day, 2, 10, QLatin1Char('0')));
    request.recurringLines = lines;
    const TPreferences preferences = TPreferences::defaults();
    for (auto _ : state)
        WriteCalendarPdf(page, dir.filePath(QStringLiteral("year.pdf")), request, preferences);
}
BENCHMARK(BM_YearPdfInOneProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

static void BM_YearPdfWithPcalAndPs2pdf(benchmark::State& state)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pcal")).isEmpty()
        || QStandardPaths::findExecutable(QStringLiteral("ps2pdf")).isEmpty()) {
        state.SkipWithError("pcal or ps2pdf missing: apt-get install pcal ghostscript");
        return;
    }
    QTemporaryDir dir;
    QFile dates(dir.filePath(QStringLiteral("dates")));
    dates.open(QIODevice::WriteOnly);
    for (const Holiday& h : kHolidays)
        dates.write(QStringLiteral("%1 %2 %3\n").arg(QLatin1String(kMonthAbbrev[h.month - 1])).arg(h.day).arg(QLatin1String(h.name)).toLatin1());
    dates.close();
    const QString script = QStringLiteral("pcal -f '%1' 1 1998 12 | ps2pdf - '%2'")
                               .arg(dates.fileName(), dir.filePath(QStringLiteral("year.pdf")));
    for (auto _ : state) {
        QProcess p;
        p.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script});
        if (!p.waitForFinished(60000) || p.exitCode() != 0) {
            state.SkipWithError("pcal | ps2pdf failed");
            return;
        }
    }
}
BENCHMARK(BM_YearPdfWithPcalAndPs2pdf)->Unit(benchmark::kMillisecond)->UseRealTime();

OV_BENCHMARK_MAIN()
