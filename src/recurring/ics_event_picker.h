#pragma once
#include "ics_reader.h"
#include "select_recurring_dates.h"

#include <QList>

// Lets the user choose which events of an iCalendar file to write into the month: the
// recurring-date picker with one row per event, every row selected when it appears.
class IcsEventPicker : public TSelectRecurringDates {
    Q_OBJECT
public:
    explicit IcsEventPicker(QWidget* parent = nullptr);

    // One row per event, in IcsEventOrder.
    void setEvents(const QList<IcsEvent>& events, int year, int month);
    // Indexes into the events given, in row order.
    QList<int> selectedEvents() const;
};
