#pragma once
#include "platform/help_request.h"

#include <QObject>
#include <QPointer>

class HelpWindow;

// Answers help requests of the whole program (ShowHelpContext) with the help window,
// created on first use. Lives as long as its owner (the main window); the previous
// handler comes back when it goes.
class HelpViewer : public QObject {
    Q_OBJECT
public:
    explicit HelpViewer(QObject* owner);
    ~HelpViewer() override;

    void showContext(int context);
    // The window, or nullptr before the first request.
    HelpWindow* window() const;

private:
    QPointer<HelpWindow> m_window;
    HelpHandler m_previous;
};
