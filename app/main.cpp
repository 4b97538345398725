// Orvanta: the desktop calendar designer.
#include "first_page_probe.h"
#include "calendar/page_prefetch.h"
#include "platform/single_instance.h"
#include "shell/calendar_main.h"

#include <QApplication>
#include <QFileInfo>
#include <QUrl>

namespace {
// The calendar file named on the command line (the desktop passes one when a file is
// opened with the program), as an absolute path; empty when there is none.
QString fileArgument(const QStringList& arguments)
{
    bool optionsEnded = false;
    for (const QString& a : arguments.mid(1)) {
        if (!optionsEnded && a == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && a.startsWith(QLatin1Char('-')))
            continue;
        const QString path = a.startsWith(QLatin1String("file:")) ? QUrl(a).toLocalFile() : a;
        return path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
    }
    return {};
}
} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString file = fileArgument(QApplication::arguments());
    SingleInstance guard(QFileInfo(QString::fromLocal8Bit(argv[0])).fileName(), file);
    if (guard.anotherInstanceRunning())
        return 0;
    SetApplicationTitle();
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.orvanta"));

    // The file's page is drawn on another core while the window is built.
    std::unique_ptr<TPagePrefetch> prefetch = TCalendarMain::PrefetchPage(file);
    TCalendarMain main;
    guard.onActivationRequest = [&main] {
        if (main.isMinimized())
            main.showNormal();
        main.raise();
        main.activateWindow();
    };
    guard.onOpenRequest = [&main](const QString& path) { main.OpenFileFromDesktop(path); };
    if (!file.isEmpty()) {
        main.setStartupFile(file);
        main.setStartupPrefetch(std::move(prefetch));
    }
    if (qEnvironmentVariableIsSet("OV_QUIT_AFTER_FIRST_PAGE"))
        new FirstPageProbe(&main);
    main.show();
    QApplication::restoreOverrideCursor();
    return app.exec();
}
