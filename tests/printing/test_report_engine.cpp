// The report engine on its own: inch conversions, pages of a PDF job, and failures that
// leave nothing behind.
#include "private_cups.h"
#include "printing/pdf_report.h"
#include "printing/print_error.h"
#include "test_registry.h"

#include <QDir>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

class ReportEngineTest : public QObject {
    Q_OBJECT
private slots:
    void inchesToDots()
    {
        QImage image(10, 10, QImage::Format_RGB32);
        QPainter p(&image);
        TReportCanvas canvas(p, 300, 600, {});
        QCOMPARE(canvas.XD(0.0999), 29); // truncated toward zero
        QCOMPARE(canvas.YD(0.5), 300);
        // Edges converted on their own: neighbours share them exactly.
        QCOMPARE(canvas.RectToDots(QRectF(QPointF(0.1, 0.1), QPointF(0.2, 0.3))), QRect(30, 60, 30, 120));
        QCOMPARE(canvas.RectToDots(QRectF(QPointF(0.2, 0.3), QPointF(0.4, 0.4))).left(), 60);
        QCOMPARE(canvas.PenWidthDots(-1), 3); // a hundredth of an inch
        QCOMPARE(canvas.PenWidthDots(-10), 30);
        QCOMPARE(canvas.PenWidthDots(2), 2);
        QCOMPARE(TReportCanvas::FontHeightInches(36), 0.5);
    }

    void pdfJobWritesItsPages()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("two.pdf"));
        TPdfReport pdf(path);
        pdf.PageSize = QPageSize(QPageSize::A4);
        pdf.Orientation = QPageLayout::Landscape;
        QList<int> pages;
        pdf.Execute([&](TReportCanvas& report) {
            QCOMPARE(report.XDPI(), 1200);
            report.painter().drawText(QPoint(report.XD(1), report.YD(1)), QStringLiteral("First"));
            pages << report.PageNumber();
            report.NewPage();
            report.painter().drawText(QPoint(report.XD(1), report.YD(1)), QStringLiteral("Second"));
            pages << report.PageNumber();
        });
        QCOMPARE(pages, (QList<int>{1, 2}));
        QCOMPARE(ovtest::pdfPageCount(path), 2);
        QCOMPARE(ovtest::pdfPageSize(path, 2), QSizeF(842, 595));
        const QStringList text = ovtest::pdfText(path).split(QLatin1Char('\f'));
        QVERIFY(text[0].contains(QStringLiteral("First")) && text[1].contains(QStringLiteral("Second")));
    }

    void failedPdfJobsLeaveNothingBehind()
    {
        QTemporaryDir dir;
        // No folder to write in.
        const QString nowhere = dir.filePath(QStringLiteral("missing/x.pdf"));
        try {
            TPdfReport(nowhere).Execute([](TReportCanvas&) {});
            QFAIL("no error");
        } catch (const EPrintError& e) {
            QVERIFY(e.reason().startsWith(QStringLiteral("Unable to save ") + nowhere));
        }
        // A drawing that fails half-way keeps the older file and leaves no temporary one.
        const QString path = dir.filePath(QStringLiteral("old.pdf"));
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("older");
        old.close();
        QVERIFY_THROWS_EXCEPTION(EPrintError, TPdfReport(path).Execute([](TReportCanvas& report) {
            report.NewPage();
            throw std::runtime_error("drawing failed");
        }));
        QFile again(path);
        QVERIFY(again.open(QIODevice::ReadOnly));
        QCOMPARE(again.readAll(), QByteArray("older"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("old.pdf")});
    }
};

OV_TEST(ReportEngineTest)
#include "test_report_engine.moc"
