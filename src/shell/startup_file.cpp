// Calendar files handed over by the desktop: on the command line, or by a second
// start of the program while this one runs.
#include "calendar_main.h"

#include "calendar/page_prefetch.h"
#include "platform/screen_ppi.h"
#include "platform/shell_helpers.h"
#include "platform/zoom_scale.h"

#include <QApplication>
#include <QFileInfo>
#include <QTimer>

#include <utility>

namespace {
bool isCalendarFileName(const QString& path) { return QFileInfo(path).suffix().toUpper() == QLatin1String("OVF"); }

// As the Open command: only calendar files, told by their extension.
bool acceptCalendarFile(const QString& path)
{
    if (isCalendarFileName(path))
        return true;
    ShowInformation(QStringLiteral("Must be a Calendar file (*.OVF)"));
    return false;
}
} // namespace

std::unique_ptr<TPagePrefetch> TCalendarMain::PrefetchPage(const QString& path)
{
    if (!isCalendarFileName(path) || !QFileInfo(path).isFile())
        return {};
    TPreferences remembered;
    remembered.LoadPreferences();
    // The zoom the window gives its page, kept by OpenCalendarFile.
    float zoom = PercentToZoomScale(remembered.MainZoomPercent);
    if (zoom < 0.1f || zoom > 1.1f)
        zoom = 1.0f;
    return std::make_unique<TPagePrefetch>(TPagePrefetch::Setup{path, ScreenPPI(), zoom});
}

void TCalendarMain::setStartupPrefetch(std::unique_ptr<TPagePrefetch> prefetch)
{
    m_startupPrefetch = std::move(prefetch);
}

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
