#include "calendar/calendar_panel.h"
#include "calendar/page_prefetch.h"
#include "platform/zoom_scale.h"
#include "page_samples.h"
#include "platform/screen_ppi.h"
#include "test_registry.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

namespace {

constexpr float kShownZoom = 0.601f;

QString writeSampleFile(const QTemporaryDir& dir, int layout)
{
    TCalendarPanel32 page(nullptr, 96);
    pagesamples::fillPage(page, layout);
    const QString path = dir.filePath(QStringLiteral("Sample%1.OVF").arg(layout));
    page.SaveToFile(path);
    return path;
}

// What the main window does with its page when it opens a file at start; the prefetch,
// when there is one, hands over right after the page has read the file.
void openLikeTheWindow(TCalendarPanel32& page, const QString& path, TPagePrefetch* prefetch = nullptr)
{
    page.ApplyMainFormDesignValues();
    page.ResetToDefaults();
    page.SetZoom(1.0f);
    page.LoadFromFile(path);
    if (prefetch)
        prefetch->handTo(page);
    page.SetZoom(kShownZoom);
}

QImage freshDrawing(const QString& path)
{
    TCalendarPanel32 page(nullptr, 96);
    openLikeTheWindow(page, path);
    return page.DrawToImage().copy();
}

} // namespace

class TestPagePrefetch : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { setScreenPPIOverride(96); }

    void firstPaintingCopiesWhatTheWorkerDrew_data()
    {
        QTest::addColumn<int>("layout");
        QTest::newRow("full month") << 0;
        QTest::newRow("month with minis") << 3;
        QTest::newRow("week planner") << 19;
        QTest::newRow("day planner") << 21;
    }
    void firstPaintingCopiesWhatTheWorkerDrew()
    {
        QFETCH(int, layout);
        QTemporaryDir dir;
        const QString path = writeSampleFile(dir, layout);
        TPagePrefetch prefetch({path, 96, kShownZoom});
        TCalendarPanel32 page(nullptr, 96);
        openLikeTheWindow(page, path, &prefetch);
        const TPagePixels& kept = page.keptPixels();
        QVERIFY(kept.cells.size() > 0);
        QVERIFY(kept.grids.size() > 0);
        const int cellMisses = kept.cells.misses(), gridMisses = kept.grids.misses();
        const QImage shown = page.DrawToImage().copy();
        QCOMPARE(kept.cells.misses(), cellMisses);
        QCOMPARE(kept.grids.misses(), gridMisses);
        QVERIFY(kept.cells.hits() > 0);
        QCOMPARE(shown, freshDrawing(path));
        QVERIFY(!prefetch.handTo(page)); // handed over once
    }

    // The worker draws at the size the window's page takes, so that the window can draw
    // over the worker's image: sized whole when it reads the file, then zoomed.
    void theWorkerDrawsAtTheSizeTheWindowGivesThePage()
    {
        QTemporaryDir dir;
        for (const int layout : {0, 3, 12, 21}) {
            const QString path = writeSampleFile(dir, layout);
            for (const int percent : {20, 50, 60, 90, 100}) {
                TCalendarPanel32 page(nullptr, 96);
                page.ApplyMainFormDesignValues();
                page.ResetToDefaults();
                page.SetZoom(1.0f);
                page.LoadFromFile(path);
                const QSize whole = PageImageSize(page, 1.0f);
                page.SetZoom(PercentToZoomScale(percent));
                QCOMPARE(page.size(), TGBasePanel::ZoomedSize(whole, PercentToZoomScale(percent)));
            }
        }
    }

    // The page is drawn over the image the worker drew on, whatever that image held, and
    // over a new one when the size differs.
    void thePageIsDrawnOverTheWorkersImage()
    {
        QTemporaryDir dir;
        const QString path = writeSampleFile(dir, 0);
        const QImage fresh = freshDrawing(path);
        for (const QSize size : {fresh.size(), fresh.size() / 2}) {
            TCalendarPanel32 page(nullptr, 96);
            openLikeTheWindow(page, path);
            QImage worker(size, QImage::Format_RGB32);
            worker.fill(Qt::red);
            const uchar* bits = worker.constBits();
            page.AdoptPixels(TPagePixels(), {}, std::move(worker));
            const QImage shown = page.DrawToImage();
            QCOMPARE(shown.constBits() == bits, size == fresh.size());
            QCOMPARE(shown, fresh);
        }
    }

    void theNextDrawingTakesItOverAndReadingAnotherFileLetsItGo()
    {
        QTemporaryDir dir;
        const QString month = writeSampleFile(dir, 0);
        const QString week = writeSampleFile(dir, 19);
        TCalendarPanel32 page(nullptr, 96);
        openLikeTheWindow(page, month);
        page.SetPrefetchedPage(std::make_unique<TPagePrefetch>(TPagePrefetch::Setup{month, 96, kShownZoom}));
        QCOMPARE(page.keptPixels().cells.size(), 0); // nothing taken over before a drawing
        const QImage shown = page.DrawToImage().copy();
        // Every kept text was drawn by the worker, and this drawing copied each of them.
        QCOMPARE(page.keptPixels().cells.misses(), page.keptPixels().cells.size());
        QVERIFY(page.keptPixels().cells.hits() >= page.keptPixels().cells.size());
        QCOMPARE(shown, freshDrawing(month));

        TCalendarPanel32 other(nullptr, 96);
        openLikeTheWindow(other, month);
        other.SetPrefetchedPage(std::make_unique<TPagePrefetch>(TPagePrefetch::Setup{month, 96, kShownZoom}));
        other.SetZoom(1.0f);
        other.LoadFromFile(week);
        other.SetZoom(kShownZoom);
        QCOMPARE(other.DrawToImage().copy(), freshDrawing(week));
        QCOMPARE(other.keptPixels().cells.hits(), 0);
    }

    void aWrongGuessOnlyCostsADrawing()
    {
        QTemporaryDir dir;
        const QString path = writeSampleFile(dir, 0);
        TPagePrefetch prefetch({path, 96, 1.0f}); // the window shows another zoom
        TCalendarPanel32 page(nullptr, 96);
        openLikeTheWindow(page, path, &prefetch);
        const int cellMisses = page.keptPixels().cells.misses();
        QCOMPARE(page.DrawToImage().copy(), freshDrawing(path));
        QVERIFY(page.keptPixels().cells.misses() > cellMisses);
    }

    void cellsThatDifferAreDrawnFromTheirOwnBytes()
    {
        QTemporaryDir dir;
        const QString path = writeSampleFile(dir, 0);
        TPagePrefetch prefetch({path, 96, kShownZoom});
        // As if the file had changed after the worker read it: cell 10 differs, the other
        // cells come from what the worker kept.
        auto openChanged = [&](TCalendarPanel32& page, TPagePrefetch* handing) {
            page.ApplyMainFormDesignValues();
            page.ResetToDefaults();
            page.SetZoom(1.0f);
            page.LoadFromFile(path);
            page.SetCellRtf(10, pagesamples::cellRtf(97));
            if (handing)
                QVERIFY(handing->handTo(page));
            page.SetZoom(kShownZoom);
        };
        TCalendarPanel32 page(nullptr, 96);
        openChanged(page, &prefetch);
        const int cellMisses = page.keptPixels().cells.misses();
        const QImage shown = page.DrawToImage().copy();
        QCOMPARE(page.keptPixels().cells.misses(), cellMisses + 1);

        TCalendarPanel32 fresh(nullptr, 96);
        openChanged(fresh, nullptr);
        QCOMPARE(shown, fresh.DrawToImage().copy());
    }

    void anUnreadableFileHandsOverNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("no calendar") << QByteArray("{\\rtf1 not a calendar}");
        QTest::newRow("cut short") << QByteArray("\x01\x00\x00\x00", 4);
    }
    void anUnreadableFileHandsOverNothing()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Broken.OVF"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        TPagePrefetch prefetch({path, 96, kShownZoom});
        TCalendarPanel32 page(nullptr, 96);
        QVERIFY(!prefetch.handTo(page));
        QCOMPARE(page.keptPixels().cells.size(), 0);
        TPagePrefetch missing({dir.filePath(QStringLiteral("Gone.OVF")), 96, kShownZoom});
        QVERIFY(!missing.handTo(page));
    }

    void aThreadToldItsResolutionKeepsIt()
    {
        int seen = 0, seenAfter = 0;
        std::unique_ptr<QThread> worker(QThread::create([&] {
            {
                const ScopedThreadScreenPPI ppi(150);
                seen = ScreenPPI();
            }
            seenAfter = ScreenPPI();
        }));
        worker->start();
        worker->wait();
        QCOMPARE(seen, 150);
        QCOMPARE(seenAfter, 96); // the override the tests set for every thread
        QCOMPARE(ScreenPPI(), 96);
    }
};

OV_TEST(TestPagePrefetch)
#include "test_page_prefetch.moc"
