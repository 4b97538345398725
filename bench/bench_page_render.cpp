// One full page render at 100 % (offscreen image, as the screen paints it).
#include "calendar/calendar_panel.h"
#include "platform/screen_ppi.h"

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

OV_BENCHMARK_MAIN()
