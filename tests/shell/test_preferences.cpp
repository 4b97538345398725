#include "platform/ini_file.h"
#include "platform/program_folder.h"
#include "platform/screen_ppi.h"
#include "shell/preferences.h"
#include "test_registry.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <memory>

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

// "OV.ini" as the older Windows program left it.
const QByteArray kLegacyIni =
    "[Zooming]\r\n"
    "Main=80\r\n"
    "Prop=40\r\n"
    "\r\n"
    "[Default Font]\r\n"
    "Name=Times New Roman\r\n"
    "Size=14\r\n"
    "Bold=1\r\n"
    "Italic=0\r\n"
    "Underline=1\r\n"
    "Strikeout=0\r\n"
    "Color=255\r\n"
    "\r\n"
    "[Icons]\r\n"
    "Visible=0\r\n"
    "File=C:\\Program Files\\Orvanta\\BonusIcons\\F\xEAtes, 1997.ICL\r\n"
    "\r\n"
    "[Hints]\r\n"
    "On=0\r\n"
    "\r\n"
    "[MRU]\r\n"
    "F0=C:\\Calendars\\Dec1997.OVF\r\n"
    "\r\n"
    "[TCalendarMain_Placement]\r\n"
    "Left=10\r\n"
    "Top=20\r\n"
    "Right=650\r\n"
    "Bottom=500\r\n"
    "Maximized=0\r\n"
    "\r\n"
    "[Some Add-in]\r\n"
    "Path=C:\\x\\y,z\r\n";

} // namespace

class TestPreferences : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QString ini() const { return m_dir->filePath("OV.ini"); }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        setProgramFolderOverride(m_dir->path());
        setUserDataFolderOverride(m_dir->path());
        setScreenPPIOverride(96);
    }
    void cleanup()
    {
        setProgramFolderOverride({});
        setUserDataFolderOverride({});
        setScreenPPIOverride(0);
        m_dir.reset();
    }

    void freshInstallation()
    {
        QCOMPARE(IniFileName(), ini());
        TPreferences p;
        p.MainZoomPercent = 100; // whatever was there before is replaced by the defaults
        QVERIFY(p.LoadPreferences());
        QCOMPARE(p.MainZoomPercent, 60);
        QCOMPARE(p.PropZoomPercent, 30);
        QCOMPARE(p.DefaultFontName, QStringLiteral("Arial"));
        QCOMPARE(p.DefaultFontSize, 10);
        QVERIFY(!p.DefaultFontBold && !p.DefaultFontItalic && !p.DefaultFontUnderline && !p.DefaultFontStrikeout);
        QCOMPARE(p.DefaultFontColor, TColor(0));
        QCOMPARE(p.LastIconFile, ProgramFolder() + "MISC1.ICL");
        QVERIFY(p.IconToolVisible);
        QVERIFY(p.ShowHints);
        QVERIFY(!QFile::exists(ini())); // reading never creates the file

        const TFormPlacement placement = LoadFormPlacement("TCalendarMain", 96, QRect(0, 0, 1024, 768), false);
        QVERIFY(!placement.stored);
        QVERIFY(!placement.maximized);
    }

    void writeOrderOfAFreshFile()
    {
        TPreferences p = TPreferences::defaults();
        p.LastIconFile = "/opt/orvanta/MISC1.ICL";
        QVERIFY(p.SavePreferences());
        QCOMPARE(readAll(ini()), QByteArray("[Zooming]\r\nMain=60\r\nProp=30\r\n"
                                            "\r\n[Default Font]\r\nName=Arial\r\nSize=10\r\nBold=0\r\nItalic=0\r\n"
                                            "Underline=0\r\nStrikeout=0\r\nColor=0\r\n"
                                            "\r\n[Icons]\r\nVisible=1\r\nFile=/opt/orvanta/MISC1.ICL\r\n"
                                            "\r\n[Hints]\r\nOn=1\r\n"));
    }

    void legacyFileReadsCorrectlyAndIsKept()
    {
        writeAll(ini(), kLegacyIni);
        TPreferences p;
        QVERIFY(p.LoadPreferences());
        QCOMPARE(p.MainZoomPercent, 80);
        QCOMPARE(p.PropZoomPercent, 40);
        QCOMPARE(p.DefaultFontName, QStringLiteral("Times New Roman"));
        QCOMPARE(p.DefaultFontSize, 14);
        QVERIFY(p.DefaultFontBold && !p.DefaultFontItalic && p.DefaultFontUnderline);
        QCOMPARE(p.DefaultFontColor, TColor(255));
        QCOMPARE(p.LastIconFile, QString::fromUtf8("C:\\Program Files\\Orvanta\\BonusIcons\\Fêtes, 1997.ICL"));
        QVERIFY(!p.IconToolVisible);
        QVERIFY(!p.ShowHints);
        const TFormPlacement placement = LoadFormPlacement("TCalendarMain", 96, QRect(0, 0, 1024, 768), false);
        QVERIFY(placement.stored);
        QCOMPARE(placement.rect, QRect(10, 20, 640, 480));

        // Saving changes only what changed; other sections and bytes stay.
        p.MainZoomPercent = 100;
        p.DefaultFontStrikeout = true;
        QVERIFY(p.SavePreferences());
        QByteArray expected = kLegacyIni;
        expected.replace("Main=80", "Main=100").replace("Strikeout=0", "Strikeout=1");
        QCOMPARE(readAll(ini()), expected);
    }

    void strikeoutRoundTrip()
    {
        TPreferences first = TPreferences::defaults();
        QFont font("Courier New");
        font.setPointSize(12);
        font.setStrikeOut(true);
        font.setItalic(true);
        first.setDefaultFont(font);
        first.DefaultFontColor = clBlue;
        QVERIFY(first.SavePreferences());
        QVERIFY(readAll(ini()).contains("Strikeout=1\r\n"));

        TPreferences next;
        QVERIFY(next.LoadPreferences());
        QVERIFY(next.DefaultFontStrikeout);
        QVERIFY(next.DefaultFontItalic);
        QVERIFY(!next.DefaultFontBold);
        QCOMPARE(next.DefaultFontName, QStringLiteral("Courier New"));
        QCOMPARE(next.DefaultFontSize, 12);
        QCOMPARE(next.DefaultFontColor, clBlue);
        const QFont back = next.defaultFont();
        QVERIFY(back.strikeOut());
        QCOMPARE(back.pointSize(), 12);
    }

    void absurdValuesFallBack_data()
    {
        QTest::addColumn<QByteArray>("fontLines");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("size");
        QTest::newRow("size zero") << QByteArray("Size=0") << "Arial" << 10;
        QTest::newRow("negative size") << QByteArray("Size=-12") << "Arial" << 10;
        QTest::newRow("huge size") << QByteArray("Size=99999") << "Arial" << 10;
        QTest::newRow("size not a number") << QByteArray("Size=big") << "Arial" << 10;
        QTest::newRow("empty name") << QByteArray("Name=\r\nSize=11") << "Arial" << 11;
        QTest::newRow("largest size") << QByteArray("Name=X\r\nSize=1638") << "X" << 1638;
    }
    void absurdValuesFallBack()
    {
        QFETCH(QByteArray, fontLines);
        QFETCH(QString, name);
        QFETCH(int, size);
        writeAll(ini(), "[Default Font]\r\n" + fontLines + "\r\n[Zooming]\r\nMain=sixty\r\n");
        TPreferences p;
        QVERIFY(p.LoadPreferences());
        QCOMPARE(p.DefaultFontName, name);
        QCOMPARE(p.DefaultFontSize, size);
        QCOMPARE(p.MainZoomPercent, 60);
    }

    // ---- placement ------------------------------------------------------------------

    void fitToScreen_data()
    {
        QTest::addColumn<QRect>("stored");
        QTest::addColumn<QRect>("area");
        QTest::addColumn<QRect>("expected");
        const QRect screen(0, 0, 1024, 768);
        QTest::newRow("inside") << QRect(10, 20, 640, 480) << screen << QRect(10, 20, 640, 480);
        QTest::newRow("right edge beyond") << QRect(600, 20, 640, 480) << screen << QRect(384, 20, 640, 480);
        QTest::newRow("bottom edge beyond") << QRect(10, 500, 640, 480) << screen << QRect(10, 288, 640, 480);
        QTest::newRow("wider than the screen") << QRect(100, 10, 1300, 500) << screen << QRect(0, 10, 1024, 500);
        QTest::newRow("taller than the screen") << QRect(10, 100, 500, 900) << screen << QRect(10, 0, 500, 768);
        QTest::newRow("left of the screen") << QRect(-2000, 10, 640, 480) << screen << QRect(0, 10, 640, 480);
        QTest::newRow("panel at the top")
            << QRect(10, 0, 640, 480) << QRect(0, 30, 1024, 738) << QRect(10, 30, 640, 480);
        QTest::newRow("second screen") << QRect(1100, 10, 640, 480) << QRect(1024, 0, 800, 600)
                                       << QRect(1100, 10, 640, 480);
    }
    void fitToScreen()
    {
        QFETCH(QRect, stored);
        QFETCH(QRect, area);
        QFETCH(QRect, expected);
        const QRect fitted = fitPlacementToScreen(stored, area);
        QCOMPARE(fitted, expected);
        QVERIFY(area.contains(fitted));
    }

    void storedRectangleWiderThanTheScreenIsShifted()
    {
        QVERIFY(SaveFormPlacement("TCalendarMain", 96, QRect(200, 50, 1400, 600), false));
        const TFormPlacement p = LoadFormPlacement("TCalendarMain", 96, QRect(0, 0, 1280, 1024), false);
        QVERIFY(p.stored);
        QCOMPARE(p.rect.x() + p.rect.width(), 1280); // right edge on the screen's right edge
        QCOMPARE(p.rect.left(), 0);
        QCOMPARE(p.rect.top(), 50);
    }

    void placementSectionKeysAndMaximisedState()
    {
        QCOMPARE(placementSectionName("TCalendarMain", 72), QStringLiteral("TCalendarMain_Placement"));
        QVERIFY(SaveFormPlacement("TCalendarMain", 120, QRect(10, 20, 300, 200), true));
        QCOMPARE(readAll(ini()), QByteArray("[TCalendarMain_Placement120]\r\nLeft=10\r\nTop=20\r\nRight=310\r\n"
                                            "Bottom=220\r\nMaximized=1\r\n"));
        const QRect area(0, 0, 1024, 768);
        const TFormPlacement p = LoadFormPlacement("TCalendarMain", 120, area, false);
        QVERIFY(p.stored && p.maximized);
        QCOMPARE(p.rect, QRect(10, 20, 300, 200));
        QVERIFY(!LoadFormPlacement("TCalendarMain", 96, area, false).stored); // each density its own

        // Without a stored flag the form's current state is kept.
        writeAll(ini(), "[TCalendarMain_Placement]\r\nLeft=1\r\nTop=1\r\nRight=100\r\nBottom=100\r\n");
        QVERIFY(LoadFormPlacement("TCalendarMain", 96, area, true).maximized);
        QVERIFY(!LoadFormPlacement("TCalendarMain", 96, area, false).maximized);
    }

    void emptyOrInvertedRectangleMeansNothingStored_data()
    {
        QTest::addColumn<QByteArray>("section");
        QTest::newRow("bottom zero") << QByteArray("Left=10\r\nTop=10\r\nRight=200\r\nBottom=0");
        QTest::newRow("inverted") << QByteArray("Left=500\r\nTop=10\r\nRight=200\r\nBottom=300");
        QTest::newRow("bottom above top") << QByteArray("Left=10\r\nTop=400\r\nRight=200\r\nBottom=300");
        QTest::newRow("extreme")
            << QByteArray("Left=-2147483648\r\nTop=-2147483648\r\nRight=2147483647\r\nBottom=2147483647");
        // Edges whose distance or sums leave 32 bits: checked before any rectangle is made.
        QTest::newRow("extreme width")
            << QByteArray("Left=-2147483648\r\nTop=10\r\nRight=2147483647\r\nBottom=500");
        QTest::newRow("extreme height")
            << QByteArray("Left=10\r\nTop=-2147483648\r\nRight=500\r\nBottom=2147483647");
        QTest::newRow("far right and down")
            << QByteArray("Left=2147483000\r\nTop=2147483000\r\nRight=2147483647\r\nBottom=2147483647");
        QTest::newRow("far left and up")
            << QByteArray("Left=-2147483648\r\nTop=-2147483648\r\nRight=-2147483000\r\nBottom=-2147483000");
        QTest::newRow("wider than int")
            << QByteArray("Left=-2000000000\r\nTop=0\r\nRight=2000000000\r\nBottom=600");
    }
    void emptyOrInvertedRectangleMeansNothingStored()
    {
        QFETCH(QByteArray, section);
        writeAll(ini(), "[TCalendarMain_Placement]\r\n" + section + "\r\n");
        const TFormPlacement p = LoadFormPlacement("TCalendarMain", 96, QRect(0, 0, 1024, 768), false);
        if (p.stored) // only a rectangle that fits could be accepted
            QVERIFY(QRect(0, 0, 1024, 768).contains(p.rect));
        else
            QVERIFY(p.rect.isNull());
    }

    void windowWithoutPlacementIsCentredAndSaved()
    {
        QScreen* screen = QGuiApplication::primaryScreen();
        QVERIFY(screen);
        const QRect area = screen->availableGeometry();
        QWidget form;
        form.resize(300, 200);
        LoadFormPlacement(&form, "TCalendarMain");
        QVERIFY(qAbs(form.geometry().center().x() - area.center().x()) <= 1);
        QVERIFY(qAbs(form.geometry().center().y() - area.center().y()) <= 1);
        // Saved at once, so the next start finds it.
        const TFormPlacement p = LoadFormPlacement("TCalendarMain", 96, area, false);
        QVERIFY(p.stored);
        QCOMPARE(p.rect, form.geometry());

        form.move(area.x() + 20, area.y() + 30);
        QVERIFY(SaveFormPlacement(&form, "TCalendarMain"));
        QWidget next;
        LoadFormPlacement(&next, "TCalendarMain");
        QCOMPARE(next.geometry(), QRect(area.x() + 20, area.y() + 30, 300, 200));
    }

};
OV_TEST(TestPreferences)
#include "test_preferences.moc"
