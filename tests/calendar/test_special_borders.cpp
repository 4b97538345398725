#include "calendar/calendar_page.h"
#include "calendar/calendar_renderer.h"
#include "imaging/metafile_player.h"
#include "platform/program_folder.h"
#include "test_registry.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr auto kPortrait = TCalendarLayout(0);  // full month, portrait
constexpr auto kLandscape = TCalendarLayout(3); // minis in title, landscape

// A picture filling a ring 5 % wide along the edges of whatever it is stretched into.
QByteArray ringSvg(const char* color)
{
    return QByteArray("<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"100\" height=\"100\" "
                      "viewBox=\"0 0 100 100\"><path fill-rule=\"evenodd\" fill=\"")
        + color + "\" d=\"M0,0 L100,0 L100,100 L0,100 Z M5,5 L95,5 L95,95 L5,95 Z\"/></svg>\n";
}

// A picture covering its whole rectangle in a light colour (not "dark" for the probes).
QByteArray solidSvg()
{
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 10 10\">"
           "<rect x=\"0\" y=\"0\" width=\"10\" height=\"10\" fill=\"#ffff00\"/></svg>";
}

QImage render(TCalendarPage& page, float zoom = 1.0f)
{
    const TLayoutGeometry& g = page.layoutGeometry();
    QImage img(int(g.PageWidthPx * zoom), int(g.PageHeightPx * zoom), QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    PaintCalendarPage(p, page, zoom, {});
    return img;
}

bool isRed(QRgb c) { return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60; }
bool isWhite(QRgb c) { return qRed(c) > 245 && qGreen(c) > 245 && qBlue(c) > 245; }

// Pixels at zoom 1 exactly as the layout converts inches (single precision, truncated).
int px(float inches) { return int(96.0f * inches); }

struct PaperCase {
    quint8 paper;
    TCalendarLayout layout;
    float margin;
};

} // namespace

class TestSpecialBorders : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QByteArray m_portraitRing = ringSvg("#ff0000");
    QByteArray m_landscapeRing = ringSvg("#e00000");

    void write(const QString& fileName, const QByteArray& bytes)
    {
        QFile f(m_dir.path() + QStringLiteral("/Borders/") + fileName);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("Borders")));
        setProgramFolderOverride(m_dir.path());
        write(QStringLiteral("Frame.wpo"), m_portraitRing);
        write(QStringLiteral("Frame.wls"), m_landscapeRing);
        write(QStringLiteral("Other.wpo"), solidSvg());
        write(QStringLiteral("Other.wls"), solidSvg());
        write(QStringLiteral("Wide.wls"), m_landscapeRing); // no portrait variant
        write(QStringLiteral("Half.wls"), m_landscapeRing);
        write(QStringLiteral("Half.wpo"), "this is not a picture at all");
    }
    void cleanupTestCase() { setProgramFolderOverride(QString()); }

    void folderIsBesideTheProgram()
    {
        QCOMPARE(TCalendarPage::BorderFolder(), m_dir.path() + QStringLiteral("/Borders/"));
    }

    void extensionFollowsOrientation_data()
    {
        QTest::addColumn<int>("layout");
        QTest::addColumn<bool>("portrait");
        QTest::newRow("full month portrait") << 0 << true;
        QTest::newRow("full month landscape") << 1 << false;
        QTest::newRow("minis in title landscape") << 3 << false;
        QTest::newRow("12 months portrait") << 10 << true;
        QTest::newRow("60 months landscape") << 17 << false;
        QTest::newRow("week planner portrait") << 18 << true;
    }
    void extensionFollowsOrientation()
    {
        QFETCH(int, layout);
        QFETCH(bool, portrait);
        TCalendarPage page(96);
        page.SetCalendarLayout(TCalendarLayout(layout));
        page.SetWMFBorderFile(QStringLiteral("Frame"));
        QCOMPARE(page.settings().WMFBorderFile, QStringLiteral("Frame"));
        QCOMPARE(page.borderPicture(), portrait ? m_portraitRing : m_landscapeRing);
    }

    void layoutChangeLoadsTheOtherOrientation()
    {
        TCalendarPage page(96);
        page.SetCalendarLayout(kPortrait);
        page.SetWMFBorderFile(QStringLiteral("Frame"));
        QCOMPARE(page.borderPicture(), m_portraitRing);
        page.SetCalendarLayout(kLandscape);
        QCOMPARE(page.settings().CalendarOrientation, TCalendarOrientation::coLandscape);
        QCOMPARE(page.settings().WMFBorderFile, QStringLiteral("Frame"));
        QCOMPARE(page.borderPicture(), m_landscapeRing);
        page.SetCalendarLayout(kPortrait);
        QCOMPARE(page.borderPicture(), m_portraitRing);
    }

    void missingFileKeepsTheOldBorder()
    {
        TCalendarPage page(96);
        page.SetCalendarLayout(kPortrait);
        page.SetWMFBorderFile(QStringLiteral("Frame"));
        const TRect content = page.layoutGeometry().ContentRect;
        page.SetWMFBorderFile(QStringLiteral("NoSuchBorder"));
        QCOMPARE(page.settings().WMFBorderFile, QStringLiteral("Frame"));
        QCOMPARE(page.borderPicture(), m_portraitRing);
        QCOMPARE(page.layoutGeometry().ContentRect.Left, content.Left);

        // Without a border before, a missing file leaves the page without one.
        TCalendarPage plain(96);
        plain.SetWMFBorderFile(QStringLiteral("NoSuchBorder"));
        QVERIFY(plain.settings().WMFBorderFile.isEmpty());
        QVERIFY(plain.borderPicture().isEmpty());
    }

    void unreadableFileClearsTheBorder_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("text") << QByteArray("hello, this is no picture");
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("broken svg") << QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\"><rect");
        QTest::newRow("bare wmf header") << QByteArray::fromHex("010009000003");
        QTest::newRow("placeable key only") << QByteArray::fromHex("d7cdc69a0000");
    }
    void unreadableFileClearsTheBorder()
    {
        QFETCH(QByteArray, bytes);
        write(QStringLiteral("Damaged.wpo"), bytes);
        TCalendarPage page(96);
        page.SetCalendarLayout(kPortrait);
        const TRect fullContent = page.layoutGeometry().ContentRect;
        page.SetWMFBorderFile(QStringLiteral("Frame"));
        QVERIFY(page.layoutGeometry().ContentRect.Left > fullContent.Left);
        page.SetWMFBorderFile(QStringLiteral("Damaged"));
        QVERIFY(page.settings().WMFBorderFile.isEmpty());
        QVERIFY(page.borderPicture().isEmpty());
        QCOMPARE(page.layoutGeometry().ContentRect.Left, fullContent.Left);
        QCOMPARE(page.layoutGeometry().ContentRect.Bottom, fullContent.Bottom);
        // Nothing of the old picture is drawn any more.
        const QImage img = render(page);
        const TRect m = page.layoutGeometry().MarginRect;
        QVERIFY(!isRed(img.pixel(m.Left + 5, (m.Top + m.Bottom) / 2)));
    }

    void emptyNameClears()
    {
        TCalendarPage page(96);
        page.SetCalendarLayout(kLandscape);
        page.SetWMFBorderFile(QStringLiteral("Frame"));
        QVERIFY(!page.borderPicture().isEmpty());
        page.SetWMFBorderFile(QString());
        QVERIFY(page.settings().WMFBorderFile.isEmpty());
        QVERIFY(page.borderPicture().isEmpty());
    }

    void landscapeOnlyBorderSurvivesPortrait()
    {
        TCalendarPage page(96);
        page.SetCalendarLayout(kLandscape);
        page.SetWMFBorderFile(QStringLiteral("Wide"));
        QCOMPARE(page.borderPicture(), m_landscapeRing);
        page.SetCalendarLayout(kPortrait);
        QCOMPARE(page.settings().CalendarOrientation, TCalendarOrientation::coPortrait);
        QCOMPARE(page.settings().WMFBorderFile, QStringLiteral("Wide"));
        QCOMPARE(page.borderPicture(), m_landscapeRing);
        // The kept picture is still drawn, stretched into the portrait margins.
        const QImage img = render(page);
        const TRect m = page.layoutGeometry().MarginRect;
        QVERIFY(isRed(img.pixel(m.Left + 5, (m.Top + m.Bottom) / 2)));
        QVERIFY(img.width() < img.height());
    }

    void damagedOtherOrientationClearsOnLayoutChange()
    {
        TCalendarPage page(96);
        page.SetCalendarLayout(kLandscape);
        page.SetWMFBorderFile(QStringLiteral("Half"));
        QCOMPARE(page.settings().WMFBorderFile, QStringLiteral("Half"));
        page.SetCalendarLayout(kPortrait);
        QVERIFY(page.settings().WMFBorderFile.isEmpty());
        QVERIFY(page.borderPicture().isEmpty());
    }

    void nameIsMatchedAsAFileName()
    {
        // The list offers names as the directory holds them; the stored name is what was chosen.
        TCalendarPage page(96);
        page.SetCalendarLayout(kPortrait);
        page.SetWMFBorderFile(QStringLiteral("Other"));
        QCOMPARE(page.settings().WMFBorderFile, QStringLiteral("Other"));
        QCOMPARE(page.borderPicture(), solidSvg());
        page.SetWMFBorderFile(QStringLiteral("Frame"));
        QCOMPARE(page.borderPicture(), m_portraitRing);
    }

    void nameFromAnotherFileSystemIgnoresCase()
    {
        // Calendar files written on Windows may spell a border name in another case than
        // the file on disk; the file is still the same border there.
        TCalendarPage page(96);
        page.SetCalendarLayout(kPortrait);
        page.SetWMFBorderFile(QStringLiteral("FRAME"));
        QCOMPARE(page.borderPicture(), m_portraitRing);
    }

    void insetOnContentMarginRectStays_data()
    {
        QTest::addColumn<int>("paper");
        QTest::addColumn<int>("layout");
        QTest::addColumn<float>("margin");
        QTest::newRow("letter portrait 0.25") << 0 << 0 << 0.25f;
        QTest::newRow("letter portrait 0.5") << 0 << 0 << 0.5f;
        QTest::newRow("letter landscape 0.5") << 0 << 3 << 0.5f;
        QTest::newRow("a4 portrait 0.3") << 1 << 0 << 0.3f;
        QTest::newRow("a4 landscape 0") << 1 << 1 << 0.0f;
        QTest::newRow("letter week planner 0.75") << 0 << 18 << 0.75f;
    }
    void insetOnContentMarginRectStays()
    {
        QFETCH(int, paper);
        QFETCH(int, layout);
        QFETCH(float, margin);
        TCalendarPage page(96);
        page.SetPaperSize(quint8(paper));
        page.SetCalendarLayout(TCalendarLayout(layout));
        page.SetLeftMarginInch(margin);
        page.SetTopMarginInch(margin);
        page.SetRightMarginInch(margin);
        page.SetBottomMarginInch(margin);
        const TLayoutGeometry plain = page.layoutGeometry();
        const int W = plain.PageWidthPx, H = plain.PageHeightPx;
        QCOMPARE(plain.ContentRect.Left, px(margin) + 2);

        page.SetWMFBorderFile(QStringLiteral("Frame"));
        const TLayoutGeometry& g = page.layoutGeometry();
        const int inset = px(margin + 0.47f);
        QCOMPARE(g.ContentRect.Left, inset + 2);
        QCOMPARE(g.ContentRect.Top, inset + 2);
        QCOMPARE(g.ContentRect.Right, W - inset - 2);
        QCOMPARE(g.ContentRect.Bottom, H - inset - 2);
        QCOMPARE(g.MarginRect.Left, plain.MarginRect.Left);
        QCOMPARE(g.MarginRect.Top, plain.MarginRect.Top);
        QCOMPARE(g.MarginRect.Right, plain.MarginRect.Right);
        QCOMPARE(g.MarginRect.Bottom, plain.MarginRect.Bottom);
        QCOMPARE(g.MarginRect.Left, px(margin));

        // Choosing no border restores the full calendar area.
        page.SetWMFBorderFile(QString());
        QCOMPARE(page.layoutGeometry().ContentRect.Left, plain.ContentRect.Left);
        QCOMPARE(page.layoutGeometry().ContentRect.Right, plain.ContentRect.Right);
        QCOMPARE(page.layoutGeometry().ContentRect.Top, plain.ContentRect.Top);
        QCOMPARE(page.layoutGeometry().ContentRect.Bottom, plain.ContentRect.Bottom);
    }

    void pictureFillsMarginRectAndCalendarIsDrawn_data()
    {
        QTest::addColumn<int>("layout");
        QTest::addColumn<float>("zoom");
        QTest::newRow("portrait 100%") << 0 << 1.0f;
        QTest::newRow("landscape 100%") << 3 << 1.0f;
        QTest::newRow("portrait 50%") << 0 << 0.501f;
        QTest::newRow("day planner 70%") << 20 << 0.701f;
    }
    void pictureFillsMarginRectAndCalendarIsDrawn()
    {
        QFETCH(int, layout);
        QFETCH(float, zoom);
        TCalendarPage page(96);
        page.SetCalendarLayout(TCalendarLayout(layout));
        page.SetLeftMarginInch(0.5f);
        page.SetTopMarginInch(0.5f);
        page.SetRightMarginInch(0.5f);
        page.SetBottomMarginInch(0.5f);
        page.SetWMFBorderFile(QStringLiteral("Frame"));
        const QImage img = render(page, zoom);
        const TRect m = page.layoutGeometry().MarginRect.scaled(zoom);
        const TRect c = page.layoutGeometry().ContentRect.scaled(zoom);
        const int midX = (m.Left + m.Right) / 2, midY = (m.Top + m.Bottom) / 2;
        // The ring sits just inside each edge of the margin rectangle...
        QVERIFY(isRed(img.pixel(m.Left + 3, midY)));
        QVERIFY(isRed(img.pixel(m.Right - 4, midY)));
        QVERIFY(isRed(img.pixel(midX, m.Top + 3)));
        QVERIFY(isRed(img.pixel(midX, m.Bottom - 4)));
        QVERIFY(isRed(img.pixel(m.Left + 2, m.Top + 2)));
        QVERIFY(isRed(img.pixel(m.Right - 3, m.Bottom - 3)));
        // ...and nothing is drawn in the margins outside it.
        QVERIFY(isWhite(img.pixel(m.Left - 3, midY)));
        QVERIFY(isWhite(img.pixel(m.Right + 2, midY)));
        QVERIFY(isWhite(img.pixel(midX, m.Top - 3)));
        QVERIFY(isWhite(img.pixel(midX, m.Bottom + 2)));
        // The calendar is drawn inside the inset content and never on the picture's band.
        QVERIFY(ovtest::darkPixelsInRect(img, c.toQRect()) > 100);
        for (int x = m.Left + 1; x < m.Left + (m.Right - m.Left) / 25; ++x)
            QVERIFY2(isRed(img.pixel(x, midY)), qPrintable(QStringLiteral("x=%1").arg(x)));
    }

    void pictureIsDrawnBeforeTheCalendar()
    {
        TCalendarPage page(96);
        page.SetCalendarLayout(kPortrait);
        const int plainDark = [&] {
            const QImage img = render(page);
            return ovtest::darkPixelsInRect(img, img.rect());
        }();
        page.SetWMFBorderFile(QStringLiteral("Other")); // covers its whole rectangle
        const QImage img = render(page);
        const TRect m = page.layoutGeometry().MarginRect;
        const QRgb corner = img.pixel(m.Left + 2, m.Top + 2);
        QVERIFY(qRed(corner) > 200 && qGreen(corner) > 200 && qBlue(corner) < 60);
        // Grid lines and texts still show on top of the picture.
        const int dark = ovtest::darkPixelsInRect(img, page.layoutGeometry().ContentRect.toQRect());
        QVERIFY(dark > plainDark / 4);
    }

    void shippedBordersComeInPairsAndStayInTheirBand()
    {
        const QDir dir(ovtest::sourceDir() + QStringLiteral("/assets/Borders"));
        if (!dir.exists())
            QSKIP("assets/Borders not found; run through ctest or set OV_SOURCE_DIR");
        const QStringList landscape = dir.entryList({QStringLiteral("*.wls")}, QDir::Files, QDir::Name);
        const QStringList portrait = dir.entryList({QStringLiteral("*.wpo")}, QDir::Files, QDir::Name);
        QVERIFY2(landscape.size() >= 8, qPrintable(QString::number(landscape.size())));
        QCOMPARE(portrait.size(), landscape.size());

        // The band the calendar leaves free, measured from each edge of the margin
        // rectangle on the page sizes and margins a user is likely to choose.
        const PaperCase cases[] = {{0, kPortrait, 0.5f},  {0, kLandscape, 0.5f}, {1, kPortrait, 0.5f},
                                   {1, kLandscape, 0.5f}, {0, kPortrait, 0.25f}, {1, kLandscape, 0.25f},
                                   {0, kPortrait, 1.0f},  {0, kLandscape, 0.0f}};
        for (const QString& wls : landscape) {
            const QString base = wls.left(wls.lastIndexOf(QLatin1Char('.')));
            QVERIFY2(!base.contains(QLatin1Char('.')), qPrintable(wls)); // the list shows names up to a full stop
            for (const char* ext : {".wpo", ".wls"}) {
                const QString path = dir.filePath(base + QLatin1String(ext));
                QVERIFY2(QFileInfo::exists(path), qPrintable(path));
                QVERIFY2(QFileInfo(path).size() < 200 * 1024, qPrintable(path));
                TMetafile picture;
                QVERIFY2(picture.loadFromFile(path), qPrintable(path + QLatin1Char(' ') + picture.errorText()));
            }
            for (const PaperCase& pc : cases) {
                TCalendarPage page(96);
                page.SetPaperSize(pc.paper);
                page.SetCalendarLayout(pc.layout);
                page.SetLeftMarginInch(pc.margin);
                page.SetTopMarginInch(pc.margin);
                page.SetRightMarginInch(pc.margin);
                page.SetBottomMarginInch(pc.margin);
                const TRect m = page.layoutGeometry().MarginRect;
                const int free = px(pc.margin + 0.47f) + 2 - px(pc.margin);
                QImage img(m.width(), m.height(), QImage::Format_RGB32);
                img.fill(Qt::white);
                {
                    TMetafile picture;
                    const bool portraitPage = page.settings().CalendarOrientation == TCalendarOrientation::coPortrait;
                    QVERIFY(picture.loadFromFile(dir.filePath(base + (portraitPage ? ".wpo" : ".wls"))));
                    QPainter p(&img);
                    p.setRenderHint(QPainter::Antialiasing);
                    picture.play(p, QRectF(0, 0, m.width(), m.height()));
                }
                const QRect inner(free, free, m.width() - 2 * free, m.height() - 2 * free);
                int inked = 0, band = 0;
                for (int y = 0; y < img.height(); ++y)
                    for (int x = 0; x < img.width(); ++x) {
                        if (isWhite(img.pixel(x, y)))
                            continue;
                        if (inner.contains(x, y))
                            ++inked;
                        else
                            ++band;
                    }
                QVERIFY2(inked == 0, qPrintable(QStringLiteral("%1 draws %2 pixels over the calendar (paper %3, %4 in)")
                                                    .arg(base)
                                                    .arg(inked)
                                                    .arg(pc.paper)
                                                    .arg(pc.margin)));
                // A real frame: ink all around, not a few stray marks.
                QVERIFY2(band > (m.width() + m.height()) * 2 * 4, qPrintable(base));
            }
        }
    }
};

OV_TEST(TestSpecialBorders)
#include "test_special_borders.moc"
