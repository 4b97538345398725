#include "shell_helpers.h"

#include "prompter.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPointer>
#include <QProxyStyle>
#include <QScreen>
#include <QWidget>

namespace {
// The application's style with the hint delay of the program.
class HintDelayStyle : public QProxyStyle {
public:
    int delay = 700;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_ToolTip_WakeUpDelay)
            return delay;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

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

int CaptionWidth(const QString& caption)
{
    QFont title = QApplication::font("QMdiSubWindowTitleBar");
    title.setBold(true);
    // Icon, minimise, maximise and close buttons, and the frame.
    constexpr int decorations = 140;
    return QFontMetrics(title).horizontalAdvance(caption) + decorations;
}

void EnsureCaptionFits(QWidget* window)
{
    if (!window)
        return;
    const int needed = CaptionWidth(window->windowTitle());
    if (window->minimumWidth() < needed)
        window->setMinimumWidth(needed);
}

void SetHintDelay(int milliseconds)
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    auto* style = dynamic_cast<HintDelayStyle*>(QApplication::style());
    if (!style) {
        style = new HintDelayStyle; // wraps the style in use; the application owns it
        QApplication::setStyle(style);
    }
    style->delay = milliseconds;
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
