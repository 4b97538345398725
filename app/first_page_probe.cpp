#include "first_page_probe.h"

#include "calendar/calendar_panel.h"
#include "platform/prompter.h"
#include "shell/calendar_main.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <chrono>
#include <cstdio>

namespace {
class UnattendedPrompter : public QtPrompter {
public:
    void information(const QString& text, const QString& caption) override { report(text, caption); }
    void warning(const QString& text, const QString& caption) override { report(text, caption); }
    void error(const QString& text, const QString& caption) override { report(text, caption); }

private:
    static void report(const QString& text, const QString& caption)
    {
        qWarning("%s: %s", qPrintable(caption), qPrintable(text));
    }
};
} // namespace

FirstPageProbe::FirstPageProbe(TCalendarMain* main)
    : QObject(main), m_main(main)
{
    setPrompter(std::make_unique<UnattendedPrompter>());
    m_main->CalendarPanel->installEventFilter(this);
}

bool FirstPageProbe::eventFilter(QObject* watched, QEvent* event)
{
    TCalendarPanel32* page = m_main->CalendarPanel;
    if (watched == page && event->type() == QEvent::Paint && !page->PaintSuspended && page->isVisible()
        && !m_main->CalendarFileName.isEmpty()) {
        // Quit after this paint has run, not before it, telling when that was on the clock
        // every process shares, so that the benchmark leaves the exit out of the time.
        page->removeEventFilter(this);
        QTimer::singleShot(0, qApp, [] {
            const auto now = std::chrono::steady_clock::now().time_since_epoch();
            std::printf("page painted at %lld ns\n", static_cast<long long>(std::chrono::nanoseconds(now).count()));
            std::fflush(stdout);
            QCoreApplication::quit();
        });
    }
    return false;
}
