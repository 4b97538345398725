#include "ics_event_picker.h"

#include "ics_fill.h"

#include <QListWidget>

namespace {
constexpr int kEventIndexRole = Qt::UserRole + 2;
}

IcsEventPicker::IcsEventPicker(QWidget* parent)
    : TSelectRecurringDates(parent)
{
    setWindowTitle(QStringLiteral("Select iCalendar Events To Use"));
    resize(460, 360);
}

void IcsEventPicker::setEvents(const QList<IcsEvent>& events, int year, int month)
{
    Dates->clear();
    for (int i : IcsEventOrder(events)) {
        auto* item = new QListWidgetItem(IcsEventRowText(events[i], year, month));
        item->setData(kEventIndexRole, i);
        Dates->addItem(item);
    }
}

QList<int> IcsEventPicker::selectedEvents() const
{
    QList<int> out;
    for (int row = 0; row < Dates->count(); ++row) {
        if (Dates->item(row)->isSelected())
            out.append(Dates->item(row)->data(kEventIndexRole).toInt());
    }
    return out;
}
