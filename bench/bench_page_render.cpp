// One full page render at 100 % (offscreen image, as the screen paints it).
#include "bench_calendar_data.h"
#include "calendar/calendar_panel.h"
#include "platform/screen_ppi.h"
#include "richtext/rtf_renderer.h"

#include <QApplication>
#include "bench_main.h"

static void BM_PageRender(benchmark::State& state)
{
    TCalendarPanel32 page(nullptr, 96);
    page.ApplyMainFormDesignValues();
    page.ResetToDefaults();
    page.SetMainCalYear(1997);
    page.SetMainCalMonth(12);
    page.SetMainCalDay(1);
    page.SetCalendarLayout(TCalendarLayout(state.range(0)));
    page.RecalcLayout(true);
    for (auto _ : state) {
        QImage image = page.DrawToImage();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetLabel(layoutName(page.settings().CalendarLayout));
}
BENCHMARK(BM_PageRender)->Arg(3)->Arg(17)->Arg(21)->Unit(benchmark::kMillisecond);

// Every layout repainted with 42 cells of formatted text (about 25 KB each, as in a
// full calendar file), at the screen's 96 PPI and at 300 PPI (3300 × 2550 pixels).
// The cell layouts are cached, as while the page is on the screen.
static void BM_RepaintLayout(benchmark::State& state)
{
    const int ppi = int(state.range(1));
    TCalendarPanel32 page(nullptr, ppi);
    benchdata::fillPage(page, int(state.range(0)), 25000);
    TWPRtfDocumentCache::instance().clear();
    benchmark::DoNotOptimize(page.DrawToImage().constBits());
    for (auto _ : state) {
        QImage image = page.DrawToImage();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetLabel(layoutName(page.settings().CalendarLayout));
}
BENCHMARK(BM_RepaintLayout)->ArgsProduct({benchmark::CreateDenseRange(0, 21, 1), {96, 300}})->Unit(benchmark::kMillisecond);

// A page drawn again after a change of its title (the calendar's grid is drawn anew, the
// cell texts and minis are as before), at 96 and 300 PPI.
static void BM_RedrawAfterTitleChange(benchmark::State& state)
{
    TCalendarPanel32 page(nullptr, int(state.range(1)));
    benchdata::fillPage(page, int(state.range(0)), 25000);
    TWPRtfDocumentCache::instance().clear();
    benchmark::DoNotOptimize(page.DrawToImage().constBits());
    bool year = true;
    for (auto _ : state) {
        year = !year;
        page.SetTitleShowYear(year);
        QImage image = page.DrawToImage();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetLabel(layoutName(page.settings().CalendarLayout));
}
BENCHMARK(BM_RedrawAfterTitleChange)->ArgsProduct({{0, 16, 18}, {96, 300}})->Unit(benchmark::kMillisecond);

OV_BENCHMARK_MAIN()
