#include "get_holidays.h"

#include "platform/help_contexts.h"
#include "widgets/dialog_help.h"

#include "recurring_formula.h"
#include "recurring_list.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

QStringList BuiltInHolidayEntries()
{
    static const char* const table[][2] = {
        {"April Fools's Day", "@0401"},
        {"Armed Forces Day", "$2 6 5"},
        {"Christmas Day", "@1225"},
        {"Daylight Savings time begins", "$0 0 4"},
        {"Daylight Savings Time ends", "$5 0 10"},
        {"Easter", "#EASTER"},
        {"Father's Day", "$2 0 6"},
        {"Flag Day", "@0614"},
        {"Good Friday", "#GOODFRIDAY"},
        {"Groundhog Day", "@0202"},
        {"Halloween", "@1031"},
        {"Independence Day", "@0704"},
        {"Labor Day", "$0 1 9"},
        {"Lincoln's Birthday", "@0212"},
        {"Martin Luther King Day", "$2 1 1"},
        {"Memorial Day", "$5 1 5"},
        {"Mother's Day", "$1 0 5"},
        {"New Year's Day", "@0101"},
        {"Palm Sunday", "#PALMSUNDAY"},
        {"President's Day", "$2 1 2"},
        {"St. Patrick's Day", "@0317"},
        {"Thanksgiving Day", "$3 4 11"},
        {"United Nations Day", "@1024"},
        {"Valentine's Day", "@0214"},
        {"Veterans Day", "@1111"},
        {"Washington's Birthday", "@0222"},
    };
    QStringList out;
    for (const auto& row : table) {
        const QString name = QString::fromLatin1(row[0]);
        const QString formula = QString::fromLatin1(row[1]);
        out.append(formula.startsWith(kKeywordType) ? PadField(name, kRecurringNameLength) + formula
                                                    : MakeRecurringEntry(name, formula));
    }
    return out;
}

void addPickerButtons(QDialog* dialog, QListWidget* list, QPushButton*& ok, QPushButton*& all, QPushButton*& none,
                      QPushButton*& cancel)
{
    ok = new QPushButton(QStringLiteral("&Ok"), dialog);
    ok->setObjectName(QStringLiteral("OkButton"));
    ok->setDefault(true);
    all = new QPushButton(QStringLiteral("&All"), dialog);
    all->setObjectName(QStringLiteral("AllButton"));
    all->setAutoDefault(false);
    none = new QPushButton(QStringLiteral("&None"), dialog);
    none->setObjectName(QStringLiteral("NoneButton"));
    none->setAutoDefault(false);
    cancel = new QPushButton(QStringLiteral("&Cancel"), dialog);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    cancel->setAutoDefault(false);

    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(list);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {ok, all, none, cancel})
        buttons->addWidget(b);
    layout->addLayout(buttons);

    QObject::connect(ok, &QPushButton::clicked, dialog, [dialog, list] {
        if (list->selectedItems().isEmpty())
            QApplication::beep();
        else
            dialog->accept();
    });
    QObject::connect(all, &QPushButton::clicked, list, &QListWidget::selectAll);
    QObject::connect(none, &QPushButton::clicked, list, &QListWidget::clearSelection);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
}

TGetHolidays::TGetHolidays(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Holidays"));
    Holidays = new QListWidget(this);
    Holidays->setObjectName(QStringLiteral("Holidays"));
    setUpRecurringList(Holidays, new TRecurringCheckDelegate, QAbstractItemView::ExtendedSelection);
    for (const QString& entry : BuiltInHolidayEntries())
        insertRecurringSorted(Holidays, entry);
    addPickerButtons(this, Holidays, OkButton, AllButton, NoneButton, CancelButton);
    resize(360, 420);
    attachHelp(this, HelpContexts::Holidays);
}

void TGetHolidays::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    fitListDialog(this, Holidays);
}

QStringList TGetHolidays::selectedHolidays() const { return selectedRecurringEntries(Holidays); }
