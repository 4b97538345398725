// The program started with a calendar file of about 1 MB (42 cells of formatted text),
// from the process start to the page painted in full, as a user double-clicking the file
// waits for it. The program quits by itself after that paint (OV_QUIT_AFTER_FIRST_PAGE)
// and tells when the paint ended; it runs on the offscreen platform with a settings
// folder of its own. OV_BENCH_PROGRAM names another build to time instead.
#include "bench_calendar_data.h"
#include "bench_main.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <chrono>
#include <sys/resource.h>

namespace {

// Processor time the finished child processes used so far, in milliseconds: the wall
// time depends on what else the machine runs, this does not.
double childCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    auto ms = [](const timeval& t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

void BM_GuiStartToFirstPage(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Dec1997.OVF"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(benchdata::megabyteCalendarFile());
    file.close();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("OV_QUIT_AFTER_FIRST_PAGE"), QStringLiteral("1"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("HOME"), dir.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());
    // Another build of the program can be timed in the same run, for comparing.
    const QString program = qEnvironmentVariable("OV_BENCH_PROGRAM", QStringLiteral(ORVANTA_PROGRAM));
    static const QRegularExpression painted(QStringLiteral("page painted at (\\d+) ns"));
    const double cpuBefore = childCpuMs();
    double processMs = 0;
    for (auto _ : state) {
        QProcess child;
        child.setProcessEnvironment(env);
        QElapsedTimer clock;
        const auto started = std::chrono::steady_clock::now();
        clock.start();
        child.start(program, {path});
        if (!child.waitForFinished(30000) || child.exitCode() != 0) {
            state.SkipWithError("the program did not show the page and quit");
            return;
        }
        processMs += double(clock.nsecsElapsed()) / 1e6;
        const QRegularExpressionMatch match = painted.match(QString::fromLatin1(child.readAllStandardOutput()));
        if (!match.hasMatch()) {
            state.SkipWithError("the program did not tell when the page was painted");
            return;
        }
        const std::chrono::nanoseconds at(match.captured(1).toLongLong());
        state.SetIterationTime(std::chrono::duration<double>(at - started.time_since_epoch()).count());
    }
    // The time to the painted page is the iteration time; the whole run includes the exit.
    state.counters["process_ms"] = processMs / double(state.iterations());
    state.counters["program_cpu_ms"] = (childCpuMs() - cpuBefore) / double(state.iterations());
}
BENCHMARK(BM_GuiStartToFirstPage)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

OV_BENCHMARK_MAIN()
