#include "select_recurring_dates.h"

#include "platform/help_contexts.h"
#include "widgets/dialog_help.h"

#include "get_holidays.h"
#include "recurring_list.h"

#include <QListWidget>
#include <QPushButton>

TSelectRecurringDates::TSelectRecurringDates(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Select Recurring Dates To Use"));
    Dates = new QListWidget(this);
    Dates->setObjectName(QStringLiteral("Dates"));
    setUpRecurringList(Dates, new TRecurringCheckDelegate, QAbstractItemView::ExtendedSelection);
    addPickerButtons(this, Dates, OkButton, AllButton, NoneButton, CancelButton);
    resize(420, 360);
    attachHelp(this, HelpContexts::SelectRecurringDates);
}

void TSelectRecurringDates::setEntries(const QStringList& entries)
{
    Dates->clear();
    for (const QString& entry : entries)
        Dates->addItem(makeRecurringItem(entry));
}

QStringList TSelectRecurringDates::selectedEntries() const { return selectedRecurringEntries(Dates); }

void TSelectRecurringDates::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    fitListDialog(this, Dates);
    Dates->selectAll();
}
