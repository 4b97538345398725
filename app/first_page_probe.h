#pragma once
#include <QObject>

class TCalendarMain;

// For the start-up benchmark: ends the program once the page of the file it was started
// with has been painted in full, and writes messages (a machine without printers is told
// so at start) to standard error instead of waiting for someone to close them. Used only
// when OV_QUIT_AFTER_FIRST_PAGE is set.
class FirstPageProbe : public QObject {
public:
    explicit FirstPageProbe(TCalendarMain* main);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TCalendarMain* m_main;
};
