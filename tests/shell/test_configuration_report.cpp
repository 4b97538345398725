#include "main_window_fixture.h"
#include "shell/configuration_info.h"
#include "shell/configuration_report.h"
#include "shell/system_information.h"
#include "test_registry.h"
#include "../recurring/modal_helper.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {
// A computer that never changes.
class FakeSystemInformation : public SystemInformation {
public:
    QDate today() const override { return QDate(2026, 3, 9); }
    QString systemName() const override { return QStringLiteral("Debian GNU/Linux 12 (bookworm)"); }
    QString kernelRelease() const override { return QStringLiteral("6.1.0-28-amd64"); }
    QString kernelBuild() const override { return QStringLiteral("#1 SMP PREEMPT_DYNAMIC Debian 6.1.119-1"); }
    QString cpuArchitecture() const override { return QStringLiteral("x86_64"); }
    QString cpuModel() const override { return QStringLiteral("AMD Ryzen 5 5600"); }
    QSize screenSize() const override { return {1920, 1080}; }
    int colorDepth() const override { return 24; }
    int logicalDpi() const override { return 120; }
    MemoryStatus memory() const override
    {
        MemoryStatus m;
        m.loadPercent = 37;
        m.physicalTotal = 16777216000;
        m.physicalAvailable = 10569646080;
        m.swapTotal = 1023406080;
        m.swapFree = 1023406080;
        m.commitLimit = 9412018176;
        m.commitAvailable = 2048;
        return m;
    }
    QLocale userLocale() const override { return QLocale(QLocale::English, QLocale::UnitedStates); }
    QLocale systemLocale() const override { return QLocale(QLocale::German, QLocale::Germany); }
};

struct FakeSystem {
    std::unique_ptr<SystemInformation> previous = setSystemInformation(std::make_unique<FakeSystemInformation>());
    ~FakeSystem() { setSystemInformation(std::move(previous)); }
};

TPreferences sampleSettings()
{
    TPreferences s = TPreferences::defaults();
    s.MainZoomPercent = 70;
    s.PropZoomPercent = 40;
    s.DefaultFontName = QStringLiteral("Times New Roman");
    s.DefaultFontSize = 12;
    s.DefaultFontBold = true;
    s.DefaultFontUnderline = true;
    s.DefaultFontColor = 255;
    s.LastIconFile = QStringLiteral("/opt/orvanta/holiday.icl");
    s.IconToolVisible = false;
    s.ShowHints = true;
    return s;
}
} // namespace

class TestConfigurationReport : public QObject {
    Q_OBJECT
private slots:
    void reportHasEveryLabelInOrder()
    {
        const FakeSystemInformation system;
        const QLocale us(QLocale::English, QLocale::UnitedStates);
        const QStringList expected = {
            us.toString(QDate(2026, 3, 9), QLocale::LongFormat),
            QString(),
            QStringLiteral("[Product]"),
            QStringLiteral("Program:     \tOrvanta"),
            QStringLiteral("Version:     \t3.2g"),
            QString(),
            QStringLiteral("[Environment]"),
            QStringLiteral("Windows:     \tDebian GNU/Linux 12 (bookworm) version 6.1.0-28-amd64 build:#1 SMP "
                           "PREEMPT_DYNAMIC Debian 6.1.119-1"),
            QStringLiteral("CPU:         \tProcessor:  x86_64 AMD Ryzen 5 5600"),
            QStringLiteral("Video:       \t1920 x 1080 x 16,777,216 colors"),
            QStringLiteral("Font:        \tLarge Fonts in use"),
            QStringLiteral("Memory Load: \t37%"),
            QStringLiteral("Phys Memory: \tTotal: 16,777,216,000;    Available: 10,569,646,080"),
            QStringLiteral("Page File:   \tTotal: 1,023,406,080;    Available: 1,023,406,080"),
            QStringLiteral("Virt Memory: \tTotal: 9,412,018,176;    Available: 2,048"),
            QStringLiteral("Language:    \tUser: English;    System: German"),
            QStringLiteral("Country:     \tUser: United States;    System: Germany"),
            QStringLiteral("Date Format: \tShort: ") + us.dateFormat(QLocale::ShortFormat) + QStringLiteral(";    Long: ")
                + us.dateFormat(QLocale::LongFormat),
            QStringLiteral("Time Format: \tShort: ") + us.timeFormat(QLocale::ShortFormat) + QStringLiteral(";    Long: ")
                + us.timeFormat(QLocale::LongFormat),
            QString(),
            QStringLiteral("[OV.INI]"),
            QString(),
            QStringLiteral("LastZoom:    \t70/40"),
            QStringLiteral("DeFFont      \tTimes New Roman,12,1,0,1,255"),
            QStringLiteral("LastIconFile:\t/opt/orvanta/holiday.icl"),
            QStringLiteral("IconShowing :\t0"),
            QStringLiteral("ShowHint:   :\t1"),
        };
        const QStringList lines = ConfigurationReportLines(system, sampleSettings(), QStringLiteral("3.2g"));
        QCOMPARE(lines.size(), expected.size());
        for (int i = 0; i < lines.size(); ++i)
            QCOMPARE(lines.at(i), expected.at(i));
    }

    void colorsFontsAndNumbers()
    {
        const QList<QPair<int, qint64>> colors = {{1, 2}, {4, 16}, {8, 256}, {15, 32768}, {16, 65535},
                                                  {24, 16777216}, {32, 16777216}, {30, 30}, {0, 0}};
        for (const auto& [bits, count] : colors)
            QCOMPARE(ColorCount(bits), count);
        QCOMPARE(FontSizeText(96), QStringLiteral("Small Fonts in use"));
        QCOMPARE(FontSizeText(120), QStringLiteral("Large Fonts in use"));
        QCOMPARE(FontSizeText(144), QStringLiteral("Custom font size in use"));
        // The C locale leaves groups out by default; the report still separates thousands.
        QCOMPARE(GroupedNumber(16777216, QLocale::c()), QStringLiteral("16,777,216"));
        QCOMPARE(GroupedNumber(999, QLocale::c()), QStringLiteral("999"));
        QCOMPARE(GroupedNumber(1234567, QLocale(QLocale::German, QLocale::Germany)), QStringLiteral("1.234.567"));
    }

    void linuxFactsAreReadFromTheirFiles()
    {
        const QString meminfo = QStringLiteral("MemTotal:       16384000 kB\n"
                                               "MemFree:         1000000 kB\n"
                                               "MemAvailable:    4096000 kB\n"
                                               "SwapTotal:       2000000 kB\n"
                                               "SwapFree:        1500000 kB\n"
                                               "CommitLimit:    10192000 kB\n"
                                               "Committed_AS:   11000000 kB\n");
        const MemoryStatus m = MemoryStatusFromMemInfo(meminfo);
        QCOMPARE(m.physicalTotal, quint64(16384000) * 1024);
        QCOMPARE(m.physicalAvailable, quint64(4096000) * 1024);
        QCOMPARE(m.loadPercent, 75);
        QCOMPARE(m.swapTotal, quint64(2000000) * 1024);
        QCOMPARE(m.swapFree, quint64(1500000) * 1024);
        QCOMPARE(m.commitLimit, quint64(10192000) * 1024);
        QCOMPARE(m.commitAvailable, quint64(0)); // over-committed: nothing left, not a huge number
        // Old kernels have no MemAvailable.
        QCOMPARE(MemoryStatusFromMemInfo(QStringLiteral("MemTotal: 100 kB\nMemFree: 25 kB\n")).loadPercent, 75);
        QCOMPARE(MemoryStatusFromMemInfo(QString()).loadPercent, 0);

        const QString osRelease = QStringLiteral("NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nID=debian\n");
        QCOMPARE(ShellVariable(osRelease, QStringLiteral("PRETTY_NAME")), QStringLiteral("Debian GNU/Linux 12 (bookworm)"));
        QCOMPARE(ShellVariable(osRelease, QStringLiteral("ID")), QStringLiteral("debian"));
        QCOMPARE(ShellVariable(QStringLiteral("LANG='de_DE.UTF-8'\n"), QStringLiteral("LANG")), QStringLiteral("de_DE.UTF-8"));
        QCOMPARE(ShellVariable(osRelease, QStringLiteral("NAME_X")), QString());
        const QString cpuinfo = QStringLiteral("processor\t: 0\nmodel name\t: Intel(R) Core(TM) i5\nprocessor\t: 1\n"
                                               "model name\t: Intel(R) Core(TM) i5\n");
        QCOMPARE(CpuInfoValue(cpuinfo, QStringLiteral("model name")), QStringLiteral("Intel(R) Core(TM) i5"));
        // The real machine answers every question without failing.
        const auto real = CreateLinuxSystemInformation();
        QVERIFY(!real->systemName().isEmpty());
        QVERIFY(real->memory().physicalTotal > 0);
    }

    void dialogShowsTheReportAndCopiesIt()
    {
        FakeSystem fake;
        MainWindowFixture f(false);
        f.main->MainZoomPercent = 80;
        QString shown;
        QString clipboard;
        bool seen = false;
        ovtest::onModal<TConfigurationInfo>(
            [&](TConfigurationInfo* d) {
                QCOMPARE(d->windowTitle(), QStringLiteral("Configuration Information"));
                QCOMPARE(d->Memo1->textCursor().position(), 0); // read from the top
                QCOMPARE(d->Memo1->font().family(), QStringLiteral("Courier New"));
                QCOMPARE(d->Memo1->lineWrapMode(), QPlainTextEdit::NoWrap);
                shown = d->Memo1->toPlainText();
                d->Button1->click();
                clipboard = QGuiApplication::clipboard()->text();
                d->Button2->click();
            },
            &seen);
        f.main->mnuConfigInfo->trigger();
        QVERIFY(seen);
        QVERIFY(shown.startsWith(QLocale(QLocale::English, QLocale::UnitedStates).toString(QDate(2026, 3, 9), QLocale::LongFormat)));
        QVERIFY(shown.contains(QStringLiteral("LastZoom:    \t80/30")));
        QVERIFY(shown.contains(QStringLiteral("CPU:         \tProcessor:  x86_64 AMD Ryzen 5 5600")));
        QVERIFY(shown.endsWith(QStringLiteral("ShowHint:   :\t1")));
        QCOMPARE(clipboard, shown);
        QCOMPARE(f.prompts->records.back().kind, QStringLiteral("information"));
        QCOMPARE(f.prompts->records.back().text, QStringLiteral("Information copied to Windows clipboard"));
        QCOMPARE(f.prompts->records.back().caption, QStringLiteral("Configuration Information"));
    }
};

OV_TEST(TestConfigurationReport)
#include "test_configuration_report.moc"
