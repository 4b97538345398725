#include "shell_helpers.h"

#include "prompter.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>

namespace {
QPointer<QWidget> g_mainForm;
int g_hourglassDepth = 0;

QRect screenArea(const QWidget* w)
{
    QScreen* screen = w && w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}
} // namespace

void ShowInformation(const QString& text) { prompter().information(text, QStringLiteral("Information")); }

bool AskYesNo(const QString& text, const QString& caption) { return prompter().askYesNo(text, caption); }

void setMainForm(QWidget* form) { g_mainForm = form; }
QWidget* mainForm() { return g_mainForm; }

void CenterForm(QWidget* form)
{
    if (!form)
        return;
    // A form not shown yet has no final size: let its layout decide it first.
    if (!form->isVisible() && form != g_mainForm)
        form->adjustSize();
    const QSize size = form->frameGeometry().size();
    QWidget* main = g_mainForm;
    if (form == main || !main || main->isMaximized()) {
        const QRect area = screenArea(form);
        form->move(area.left() + (area.width() - size.width()) / 2, area.top() + (area.height() - size.height()) / 2);
    } else {
        const QRect m = main->frameGeometry();
        form->move(m.left() + (m.width() - size.width()) / 2, m.top() + (m.height() - size.height()) / 2);
    }
}

void HourglassOn()
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    ++g_hourglassDepth;
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void HourglassOff()
{
    if (g_hourglassDepth == 0)
        return;
    --g_hourglassDepth;
    QApplication::restoreOverrideCursor();
}
