// RTF reading and writing throughput, and repainting a month page's 42 cell texts.
#include "bench_main.h"
#include "platform/screen_ppi.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_renderer.h"
#include "richtext/rtf_writer.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// About 1 MB of RTF: paragraphs of formatted runs in several fonts and colours, with
// accented and non-Latin text.
const QByteArray& megabyteRtf()
{
    static const QByteArray rtf = [] {
        QRandomGenerator rng(1);
        QTextDocument doc;
        doc.setDefaultFont(QFont(QStringLiteral("Arial")));
        QTextCursor c(&doc);
        const QStringList fonts = {QStringLiteral("Arial"), QStringLiteral("Times New Roman"), QStringLiteral("Courier New")};
        const QStringList words = {QStringLiteral("Meeting"), QStringLiteral("dentist"), QStringLiteral("birthday"),
                                   QString::fromUtf8("Café"), QString::fromUtf8("Grüße"), QString::fromUtf8("Встреча"),
                                   QStringLiteral("at"), QStringLiteral("3pm"), QStringLiteral("holiday"), QStringLiteral("{x}")};
        QByteArray out;
        while (true) {
            for (int p = 0; p < 200; ++p) {
                c.insertBlock();
                for (int r = 0; r < 4; ++r) {
                    QTextCharFormat f;
                    f.setFontFamilies({fonts[rng.bounded(fonts.size())]});
                    f.setFontPointSize(8 + rng.bounded(12));
                    f.setFontWeight(rng.bounded(2) ? QFont::Bold : QFont::Normal);
                    f.setFontItalic(rng.bounded(3) == 0);
                    if (rng.bounded(2))
                        f.setForeground(QColor::fromRgb(rng.bounded(256), 0, rng.bounded(256)));
                    QString text;
                    for (int w = 0; w < 6; ++w)
                        text += words[rng.bounded(words.size())] + QLatin1Char(' ');
                    c.insertText(text, f);
                }
            }
            out = WriteRtf(doc);
            if (out.size() >= 1024 * 1024)
                return out;
        }
    }();
    return rtf;
}

void BM_RtfRead(benchmark::State& state)
{
    const QByteArray& rtf = megabyteRtf();
    for (auto _ : state) {
        QTextDocument doc;
        ReadRtf(rtf, &doc);
        benchmark::DoNotOptimize(doc.characterCount());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * rtf.size());
    state.counters["rtf_bytes"] = double(rtf.size());
}
BENCHMARK(BM_RtfRead)->Unit(benchmark::kMillisecond);

// The text alone, as loading a cell store or dumping a file needs it: no document built.
void BM_RtfReadPlainText(benchmark::State& state)
{
    const QByteArray& rtf = megabyteRtf();
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadRtfPlainText(rtf).size());
    state.SetBytesProcessed(int64_t(state.iterations()) * rtf.size());
}
BENCHMARK(BM_RtfReadPlainText)->Unit(benchmark::kMillisecond);

void BM_RtfWrite(benchmark::State& state)
{
    QTextDocument doc;
    ReadRtf(megabyteRtf(), &doc);
    qint64 bytes = 0;
    for (auto _ : state) {
        const QByteArray out = WriteRtf(doc);
        bytes += out.size();
        benchmark::DoNotOptimize(out.constData());
    }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_RtfWrite)->Unit(benchmark::kMillisecond);

void BM_RtfReadWrite(benchmark::State& state)
{
    const QByteArray& rtf = megabyteRtf();
    for (auto _ : state) {
        QTextDocument doc;
        ReadRtf(rtf, &doc);
        const QByteArray out = WriteRtf(doc);
        benchmark::DoNotOptimize(out.constData());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * rtf.size());
}
BENCHMARK(BM_RtfReadWrite)->Unit(benchmark::kMillisecond);

// 42 cells of three formatted lines each, repainted at a zoom (parsed documents cached,
// as while a user types in one cell).
void BM_RepaintMonthCells(benchmark::State& state)
{
    const int zoom = int(state.range(0));
    std::vector<TWPRtfStorage> cells;
    for (int i = 0; i < 42; ++i)
        cells.emplace_back(QByteArray("{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red255\\green0\\blue0;}"
                                      "{\\f0\\fs20\\b\\cf1 Birthday ") + QByteArray::number(i)
                           + "}\\par{\\f0\\fs16\\i Dentist 3pm}\\par{\\f0\\fs16 Call the office}\\par}");
    const int cellW = 140 * zoom / 100, cellH = 90 * zoom / 100;
    QImage page(7 * cellW, 6 * cellH, QImage::Format_RGB32);
    TWPRtfDocumentCache::instance().clear();
    for (auto _ : state) {
        QPainter p(&page);
        for (int i = 0; i < 42; ++i)
            RenderRtfToRect(p, QRect((i % 7) * cellW, (i / 7) * cellH, cellW, cellH), cells[size_t(i)], zoom);
    }
    state.counters["cells_per_s"] = benchmark::Counter(42.0 * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RepaintMonthCells)->Arg(100)->Arg(60)->Unit(benchmark::kMillisecond);

// A cell holding one enormous word, drawn afresh (nothing cached): the cost follows what
// the cell shows, not the length of the text.
void BM_DrawHugeWordCell(benchmark::State& state)
{
    const TWPRtfStorage cell("{\\rtf1 " + QByteArray(qsizetype(state.range(0)), 'x') + "\\par}");
    QImage image(140, 90, QImage::Format_RGB32);
    for (auto _ : state) {
        TWPRtfDocumentCache::instance().clear();
        QPainter p(&image);
        RenderRtfToRect(p, QRect(0, 0, 140, 90), cell, 100);
    }
}
BENCHMARK(BM_DrawHugeWordCell)->Arg(1000)->Arg(200000)->Arg(1000000)->Unit(benchmark::kMillisecond);

} // namespace

OV_BENCHMARK_MAIN()
