#include "screen_ppi.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace {
int g_override = 0;
thread_local int t_threadPpi = 0;
}

ScopedThreadScreenPPI::ScopedThreadScreenPPI(int ppi) : m_previous(t_threadPpi) { t_threadPpi = ppi > 0 ? ppi : 0; }

ScopedThreadScreenPPI::~ScopedThreadScreenPPI() { t_threadPpi = m_previous; }

void setScreenPPIOverride(int ppi) { g_override = ppi > 0 ? ppi : 0; }

int ScreenPPI()
{
    if (t_threadPpi > 0)
        return t_threadPpi;
    if (g_override > 0)
        return g_override;
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        if (QScreen* screen = app->primaryScreen()) {
            const int dpi = int(std::lround(screen->logicalDotsPerInch()));
            if (dpi >= 48 && dpi <= 600)
                return dpi;
        }
    }
    return 96;
}
