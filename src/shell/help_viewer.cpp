#include "help_viewer.h"

#include "shell/help_window.h"

HelpViewer::HelpViewer(QObject* owner) : QObject(owner)
{
    m_previous = setHelpHandler([this](int context) { showContext(context); });
}

HelpViewer::~HelpViewer()
{
    setHelpHandler(std::move(m_previous));
    delete m_window;
}

HelpWindow* HelpViewer::window() const { return m_window; }

void HelpViewer::showContext(int context)
{
    if (!m_window)
        m_window = new HelpWindow;
    m_window->showContext(context);
}
