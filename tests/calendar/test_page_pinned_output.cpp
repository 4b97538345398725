// Pages and files pinned exactly: every layout drawn with 42 cells of formatted text at
// the screen's 96 PPI and at 300 PPI gives the same pixels, and a calendar file holding
// such cells is written, read and written again byte for byte the same.
//
// The digests live in data/page_output.txt. After a deliberate change of drawing or
// of the file format, run the test with OV_UPDATE_PINNED_OUTPUT=1 to write them anew,
// and look at the pages before committing them.
#include "calendar/calendar_file.h"
#include "calendar/calendar_panel.h"
#include "calendar/document_dump.h"
#include "page_samples.h"
#include "richtext/rtf_renderer.h"
#include "test_registry.h"
#include "test_support.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString digest(const QByteArray& bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().left(20));
}

QString imageDigest(const QImage& image)
{
    QCryptographicHash h(QCryptographicHash::Sha256);
    h.addData(QByteArray::number(image.width()) + 'x' + QByteArray::number(image.height()));
    for (int y = 0; y < image.height(); ++y)
        h.addData(QByteArrayView(reinterpret_cast<const char*>(image.constScanLine(y)), image.width() * 4));
    return QString::fromLatin1(h.result().toHex().left(20));
}

QByteArray saved(const TCalendarPage& page)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    SaveCalendarFile(page, buffer);
    return bytes;
}

QString pinnedPath() { return ovtest::sourceDir() + QStringLiteral("/tests/calendar/data/page_output.txt"); }

} // namespace

class TestPagePinnedOutput : public QObject {
    Q_OBJECT
private:
    bool m_update = qEnvironmentVariableIntValue("OV_UPDATE_PINNED_OUTPUT") != 0;
    QMap<QString, QString> m_expected;
    QStringList m_lines;

    // Compares one result with its pinned digests (or records it when pinning anew).
    bool matches(const QString& key, const QString& value)
    {
        m_lines << key + QLatin1String(" = ") + value;
        return m_update || m_expected.value(key) == value;
    }

private slots:
    void initTestCase()
    {
        if (m_update)
            return;
        QFile in(pinnedPath());
        QVERIFY2(in.open(QIODevice::ReadOnly), qPrintable(pinnedPath()));
        for (const QString& line : QString::fromUtf8(in.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            const qsizetype split = line.indexOf(QLatin1String(" = "));
            m_expected.insert(line.left(split), line.mid(split + 3));
        }
    }

    void everyLayoutDrawsAsPinned()
    {
        for (int ppi : {96, 300}) {
            for (int layout = 0; layout < kLayoutCount; ++layout) {
                TWPRtfDocumentCache::instance().clear();
                TCalendarPanel32 page(nullptr, ppi);
                pagesamples::fillPage(page, layout);
                const QImage first = page.DrawToImage();
                const QImage again = page.DrawToImage(); // cell layouts now cached
                QVERIFY2(again == first, qPrintable(QStringLiteral("a repaint differs from the first drawing at %1 PPI, layout %2").arg(ppi).arg(layout)));
                // Printed pages differ only by the marks of cut texts: once is enough.
                const QImage printed = ppi == 96 ? page.DrawToImage(TPageTarget::Output) : again;
                const QString key = QStringLiteral("page %1 %2").arg(ppi).arg(QLatin1String(layoutName(TCalendarLayout(layout))));
                if (!matches(key, QStringLiteral("%1 %2 %3").arg(imageDigest(first), imageDigest(again), imageDigest(printed)))) {
                    const QString shown = QDir::temp().filePath(QStringLiteral("ov-page-%1-%2.png").arg(ppi).arg(layout));
                    first.save(shown);
                    QFAIL(qPrintable(key + QStringLiteral(" differs from its pinned drawing; drawn now: ") + shown));
                }
            }
        }
    }

    void zoomedPagesDrawAsPinned()
    {
        for (float zoom : {0.6f, 1.5f}) {
            for (int layout : {0, 12, 17, 19}) {
                TWPRtfDocumentCache::instance().clear();
                TCalendarPanel32 page(nullptr, 96);
                pagesamples::fillPage(page, layout);
                page.SetZoom(zoom);
                const QString key = QStringLiteral("zoom %1 %2").arg(zoom).arg(layout);
                QVERIFY2(matches(key, imageDigest(page.DrawToImage())), qPrintable(key));
            }
        }
    }

    void filesKeepEveryByte()
    {
        TCalendarPanel32 page(nullptr, 96);
        pagesamples::fillPage(page, 12);
        const QByteArray bytes = saved(page);

        TCalendarPanel32 reopened(nullptr, 96);
        QByteArray copy = bytes;
        QBuffer in(&copy);
        in.open(QIODevice::ReadOnly);
        reopened.ClearAllCells();
        LoadCalendarFile(reopened, in);
        QCOMPARE(saved(reopened), bytes);

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("month.OVF"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        QVERIFY(matches(QStringLiteral("file"), QStringLiteral("%1 %2").arg(digest(bytes), digest(DumpDocumentJson(path)))));
    }

    void cleanupTestCase()
    {
        if (!m_update)
            return;
        QFile out(pinnedPath());
        QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(m_lines.join(QLatin1Char('\n')).toUtf8() + '\n');
    }
};

OV_TEST(TestPagePinnedOutput)
#include "test_page_pinned_output.moc"
