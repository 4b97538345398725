#include "ics_event_picker.h"

#include "get_holidays.h"
#include "ics_fill.h"
#include "recurring_list.h"

#include <QListWidget>
#include <QPushButton>

namespace {
constexpr int kEventIndexRole = Qt::UserRole + 2;
}

IcsEventPicker::IcsEventPicker(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Select iCalendar Events To Use"));
    Events = new QListWidget(this);
    Events->setObjectName(QStringLiteral("Events"));
    setUpRecurringList(Events, new TRecurringCheckDelegate, QAbstractItemView::ExtendedSelection);
    addPickerButtons(this, Events, OkButton, AllButton, NoneButton, CancelButton);
    resize(460, 360);
}

void IcsEventPicker::setEvents(const QList<IcsEvent>& events, int year, int month)
{
    Events->clear();
    for (int i : IcsEventOrder(events)) {
        auto* item = new QListWidgetItem(IcsEventRowText(events[i], year, month));
        item->setData(kEventIndexRole, i);
        Events->addItem(item);
    }
}

QList<int> IcsEventPicker::selectedEvents() const
{
    QList<int> out;
    for (int row = 0; row < Events->count(); ++row) {
        if (Events->item(row)->isSelected())
            out.append(Events->item(row)->data(kEventIndexRole).toInt());
    }
    return out;
}

void IcsEventPicker::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Events->selectAll();
}
