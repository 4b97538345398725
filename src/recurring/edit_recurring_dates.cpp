#include "edit_recurring_dates.h"

#include "platform/help_contexts.h"
#include "widgets/dialog_help.h"

#include "edit_recurring_date_formula.h"
#include "get_holidays.h"
#include "platform/prompter.h"
#include "platform/shell_helpers.h"
#include "recurring_formula.h"
#include "recurring_list.h"
#include "recurring_store.h"

#include <QApplication>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QPushButton* button(QWidget* parent, const char* text, const char* name)
{
    auto* b = new QPushButton(QString::fromLatin1(text), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

TEditRecurringDates::TEditRecurringDates(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Recurring Dates"));
    DatesList = new QListWidget(this);
    DatesList->setObjectName(QStringLiteral("DatesList"));
    setUpRecurringList(DatesList, new TRecurringRowDelegate, QAbstractItemView::SingleSelection);

    OkButton = button(this, "Ok", "OkButton");
    OkButton->setDefault(true);
    EditButton = button(this, "Edit", "EditButton");
    NewButton = button(this, "New", "NewButton");
    DeleteButton = button(this, "Delete", "DeleteButton");
    HolidaysButton = button(this, "Holidays", "HolidaysButton");
    CancelButton = button(this, "Cancel", "CancelButton");

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(DatesList, 1);
    auto* column = new QVBoxLayout;
    for (QPushButton* b : {OkButton, EditButton, NewButton, DeleteButton, HolidaysButton, CancelButton})
        column->addWidget(b);
    column->addStretch();
    layout->addLayout(column);
    resize(560, 360);

    connect(OkButton, &QPushButton::clicked, this, [this] { okbuttonClick(); });
    connect(EditButton, &QPushButton::clicked, this, [this] { EditbuttonClick(); });
    connect(NewButton, &QPushButton::clicked, this, [this] { NewbuttonClick(); });
    connect(DeleteButton, &QPushButton::clicked, this, [this] { DeleteButtonClick(); });
    connect(HolidaysButton, &QPushButton::clicked, this, [this] { HolidaysbuttonClick(); });
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

    // FormCreate
    setbuttons();
    const RecurringStoreRead store = ReadRecurringStore(RecurringStoreFileName());
    m_loadError = store.error;
    QStringList lines = store.lines;
    std::stable_sort(lines.begin(), lines.end(), recurringEntryLess);
    for (const QString& line : lines)
        DatesList->addItem(makeRecurringItem(line));
    if (DatesList->count() > 0)
        selectRow(0);
    attachHelp(this, HelpContexts::RecurringDates);
}

QStringList TEditRecurringDates::entries() const { return recurringEntriesOf(DatesList); }

void TEditRecurringDates::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    fitListDialog(this, DatesList);
    setbuttons();
}

void TEditRecurringDates::selectRow(int row)
{
    DatesList->setCurrentRow(row);
    if (QListWidgetItem* item = DatesList->item(row))
        item->setSelected(true);
}

void TEditRecurringDates::setbuttons()
{
    const bool selected = DatesList->currentRow() >= 0;
    EditButton->setEnabled(selected);
    DeleteButton->setEnabled(selected);
}

void TEditRecurringDates::NewbuttonClick()
{
    TEditRecurringDateFormula dialog(this);
    dialog.setFormula(QStringLiteral("@"));
    dialog.setEventText(QStringLiteral("[Enter event]"));
    dialog.setWindowTitle(QStringLiteral("Add Recurring Date"));
    dialog.adjustSize();
    CenterForm(&dialog);
    if (dialog.exec() == QDialog::Accepted)
        selectRow(insertRecurringSorted(DatesList, MakeRecurringEntry(dialog.eventText(), dialog.formula())));
    setbuttons();
}

void TEditRecurringDates::EditbuttonClick()
{
    const int row = DatesList->currentRow();
    if (row < 0) {
        QApplication::beep();
        return;
    }
    const QChar type = RecurringEntryType(recurringEntryOf(DatesList->item(row)));
    if (type == kKeywordType)
        ShowInformation(QStringLiteral("This entry cannot be edited"));
    else if (type == kNthWeekdayType || type == kWeekdaysType || type == kDayOfMonthType)
        DoEditRecurringFormula();
}

void TEditRecurringDates::DoEditRecurringFormula()
{
    const int row = DatesList->currentRow();
    if (row < 0) {
        QApplication::beep();
        return;
    }
    const QString entry = recurringEntryOf(DatesList->item(row));
    TEditRecurringDateFormula dialog(this);
    dialog.setEventText(RecurringEntryName(entry));
    dialog.setFormula(RecurringEntryFormula(entry));
    dialog.setWindowTitle(QStringLiteral("Edit Recurring Date Formula"));
    dialog.adjustSize();
    CenterForm(&dialog);
    if (dialog.exec() == QDialog::Accepted) {
        delete DatesList->takeItem(row);
        const int newRow = insertRecurringSorted(DatesList, MakeRecurringEntry(dialog.eventText(), dialog.formula()));
        QCoreApplication::processEvents();
        selectRow(newRow);
    }
    setbuttons();
}

void TEditRecurringDates::DeleteButtonClick()
{
    const int row = DatesList->currentRow();
    if (row >= 0)
        delete DatesList->takeItem(row);
    if (DatesList->count() > 0)
        selectRow(0);
    setbuttons();
}

void TEditRecurringDates::HolidaysbuttonClick()
{
    TGetHolidays picker(this);
    CenterForm(&picker);
    if (picker.exec() == QDialog::Accepted) {
        for (const QString& holiday : picker.selectedHolidays()) {
            const QStringList present = entries();
            const bool duplicate = std::any_of(present.begin(), present.end(), [&](const QString& e) {
                return QString::compare(e, holiday, Qt::CaseInsensitive) == 0;
            });
            if (!duplicate)
                insertRecurringSorted(DatesList, holiday);
        }
    }
    if (DatesList->count() > 0 && DatesList->currentRow() < 0)
        selectRow(0);
    setbuttons();
}

void TEditRecurringDates::okbuttonClick()
{
    QString error;
    if (!WriteRecurringStore(RecurringStoreFileName(), entries(), &error)) {
        // The dialog stays open so the user can try again or cancel knowingly.
        prompter().warning(error, QStringLiteral("WARNING"));
        return;
    }
    accept();
}
