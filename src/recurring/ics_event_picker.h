#pragma once
#include "ics_reader.h"

#include <QDialog>
#include <QList>

class QListWidget;
class QPushButton;

// Lets the user choose which events of an iCalendar file to write into the month; it
// looks and works like the recurring-date picker, and every row is selected when it
// appears.
class IcsEventPicker : public QDialog {
    Q_OBJECT
public:
    explicit IcsEventPicker(QWidget* parent = nullptr);

    // One row per event, in IcsEventOrder.
    void setEvents(const QList<IcsEvent>& events, int year, int month);
    // Indexes into the events given, in row order.
    QList<int> selectedEvents() const;

    QListWidget* Events;
    QPushButton* OkButton;
    QPushButton* AllButton;
    QPushButton* NoneButton;
    QPushButton* CancelButton;

protected:
    void showEvent(QShowEvent* event) override;
};
