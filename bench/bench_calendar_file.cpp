// Opening a calendar file of about 1 MB (42 cells of formatted text), and opening it
// followed by the first drawing of the whole page (nothing cached), as the program
// shows a file it opens.
#include "bench_calendar_data.h"
#include "bench_main.h"
#include "calendar/document_dump.h"
#include "richtext/rtf_renderer.h"

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>

namespace {

void loadInto(TCalendarPanel32& page, const QByteArray& bytes)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    page.ClearAllCells();
    LoadCalendarFile(page, buffer);
}

void BM_OpenCalendarFile(benchmark::State& state)
{
    const QByteArray& bytes = benchdata::megabyteCalendarFile();
    TCalendarPanel32 page(nullptr, 96);
    for (auto _ : state) {
        loadInto(page, bytes);
        benchmark::DoNotOptimize(page.CellStorage(1)->rtf().constData());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * bytes.size());
    state.counters["file_bytes"] = double(bytes.size());
}
BENCHMARK(BM_OpenCalendarFile)->Unit(benchmark::kMillisecond);

void BM_OpenAndDrawFirstPage(benchmark::State& state)
{
    const QByteArray& bytes = benchdata::megabyteCalendarFile();
    TCalendarPanel32 page(nullptr, 96);
    for (auto _ : state) {
        TWPRtfDocumentCache::instance().clear();
        loadInto(page, bytes);
        const QImage image = page.DrawToImage();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_OpenAndDrawFirstPage)->Unit(benchmark::kMillisecond);

void BM_DumpCalendarFile(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("month.OVF"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(benchdata::megabyteCalendarFile());
    file.close();
    for (auto _ : state) {
        const QByteArray json = DumpDocumentJson(path);
        benchmark::DoNotOptimize(json.constData());
    }
}
BENCHMARK(BM_DumpCalendarFile)->Unit(benchmark::kMillisecond);

} // namespace

OV_BENCHMARK_MAIN()
