// Orvanta: the desktop calendar designer.
#include "platform/single_instance.h"
#include "shell/calendar_main.h"

#include <QApplication>
#include <QFileInfo>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    SingleInstance guard(QFileInfo(QString::fromLocal8Bit(argv[0])).fileName());
    if (guard.anotherInstanceRunning())
        return 0;
    SetApplicationTitle();

    TCalendarMain main;
    guard.onActivationRequest = [&main] {
        if (main.isMinimized())
            main.showNormal();
        main.raise();
        main.activateWindow();
    };
    main.show();
    QApplication::restoreOverrideCursor();
    return app.exec();
}
