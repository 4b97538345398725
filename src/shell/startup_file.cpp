// Calendar files handed over by the desktop: on the command line, or by a second
// start of the program while this one runs.
#include "calendar_main.h"

#include "platform/shell_helpers.h"

#include <QApplication>
#include <QFileInfo>
#include <QTimer>

#include <utility>

namespace {
// As the Open command: only calendar files, told by their extension.
bool acceptCalendarFile(const QString& path)
{
    if (QFileInfo(path).suffix().toUpper() == QLatin1String("OVF"))
        return true;
    ShowInformation(QStringLiteral("Must be a Calendar file (*.OVF)"));
    return false;
}
} // namespace

void TCalendarMain::openStartupFile()
{
    const QString path = std::exchange(m_startupFile, QString());
    if (acceptCalendarFile(path))
        OpenCalendarFile(path);
}

void TCalendarMain::OpenFileFromDesktop(const QString& path)
{
    if (!m_firstActivationDone) {
        m_startupFile = path; // the first activation opens it
        return;
    }
    // A dialog of ours is open: its work comes first, the file opens once it is closed.
    if (QApplication::activeModalWidget()) {
        QTimer::singleShot(250, this, [this, path] { OpenFileFromDesktop(path); });
        return;
    }
    if (!acceptCalendarFile(path))
        return;
    DoSaveRichtext();
    CheckSaveNeeded();
    OpenCalendarFile(path);
}
