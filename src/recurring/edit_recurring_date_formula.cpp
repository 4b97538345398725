#include "edit_recurring_date_formula.h"

#include "platform/help_contexts.h"
#include "widgets/dialog_help.h"

#include "platform/shell_helpers.h"
#include "recurring_formula.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QStringList monthItems()
{
    return {QStringLiteral("Each Month"), QStringLiteral("January"), QStringLiteral("February"),
            QStringLiteral("March"),      QStringLiteral("April"),   QStringLiteral("May"),
            QStringLiteral("June"),       QStringLiteral("July"),    QStringLiteral("August"),
            QStringLiteral("September"),  QStringLiteral("October"), QStringLiteral("November"),
            QStringLiteral("December")};
}

template <typename W>
W* named(W* w, const char* name)
{
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

void setBold(QWidget* w, bool bold)
{
    QFont f = w->font();
    f.setBold(bold);
    w->setFont(f);
}

} // namespace

TEditRecurringDateFormula::TEditRecurringDateFormula(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Recurring Date - Formulas"));

    EventLabel = new QLabel(QStringLiteral("Recurring event (birthday, anniversary, etc)"), this);
    Event = named(new QLineEdit(this), "Event");
    EventLabel->setBuddy(Event);

    rbDayOfweek = named(new QRadioButton(QStringLiteral("Day of the &Week"), this), "rbDayOfweek");
    Monday = named(new QCheckBox(QStringLiteral("Mon"), this), "Monday");
    Tuesday = named(new QCheckBox(QStringLiteral("Tues"), this), "Tuesday");
    Wednesday = named(new QCheckBox(QStringLiteral("Wed"), this), "Wednesday");
    Thursday = named(new QCheckBox(QStringLiteral("Thu"), this), "Thursday");
    Friday = named(new QCheckBox(QStringLiteral("Fri"), this), "Friday");
    Saturday = named(new QCheckBox(QStringLiteral("Sat"), this), "Saturday");
    Sunday = named(new QCheckBox(QStringLiteral("Sun"), this), "Sunday");
    AllDaysCheck = named(new QCheckBox(QStringLiteral("All Days"), this), "AllDaysCheck");
    for (QCheckBox* box : {Monday, Tuesday, Wednesday, Thursday, Friday})
        box->setChecked(true);

    rbDayOfMonth = named(new QRadioButton(QStringLiteral("Day of the &Month"), this), "rbDayOfMonth");
    DayOfMonthDay = named(new QSpinBox(this), "DayOfMonthDay");
    DayOfMonthDay->setRange(1, 31);
    DayOfMonthDay->setValue(1);
    DayOfMonthMonth = named(new QComboBox(this), "DayOfMonthMonth");
    DayOfMonthMonth->addItems(monthItems());

    rbSpecial = named(new QRadioButton(QStringLiteral("&Special"), this), "rbSpecial");
    SpecialOccurrance = named(new QComboBox(this), "SpecialOccurrance");
    SpecialOccurrance->addItems({QStringLiteral("1st"), QStringLiteral("2nd"), QStringLiteral("3rd"),
                                 QStringLiteral("4th"), QStringLiteral("5th"), QStringLiteral("Last")});
    SpecialDayOfWeek = named(new QComboBox(this), "SpecialDayOfWeek");
    SpecialDayOfWeek->addItems({QStringLiteral("Sunday"), QStringLiteral("Monday"), QStringLiteral("Tuesday"),
                                QStringLiteral("Wednesday"), QStringLiteral("Thursday"), QStringLiteral("Friday"),
                                QStringLiteral("Saturday"), QStringLiteral("Day (any day)")});
    SpecialMonth = named(new QComboBox(this), "SpecialMonth");
    SpecialMonth->addItems(monthItems());

    OkButton = named(new QPushButton(QStringLiteral("&Ok"), this), "OkButton");
    OkButton->setDefault(true);
    OkButton->setAutoDefault(true);
    CancelButton = named(new QPushButton(QStringLiteral("&Cancel"), this), "CancelButton");
    CancelButton->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(EventLabel);
    layout->addWidget(Event);

    auto* modes = new QGridLayout;
    modes->addWidget(rbDayOfweek, 0, 0, 1, 5);
    auto* days = new QGridLayout;
    QCheckBox* dayOrder[] = {Monday, Tuesday, Wednesday, Thursday, Friday, Saturday, Sunday};
    for (int i = 0; i < 7; ++i)
        days->addWidget(dayOrder[i], i / 4, i % 4);
    days->addWidget(AllDaysCheck, 1, 3);
    modes->addLayout(days, 1, 1, 1, 4);

    modes->addWidget(rbDayOfMonth, 2, 0, 1, 5);
    auto* monthRow = new QHBoxLayout;
    monthRow->addWidget(DayOfMonthDay);
    monthRow->addWidget(new QLabel(QStringLiteral("of"), this));
    monthRow->addWidget(DayOfMonthMonth);
    monthRow->addStretch();
    modes->addLayout(monthRow, 3, 1, 1, 4);

    modes->addWidget(rbSpecial, 4, 0, 1, 5);
    auto* specialRow = new QHBoxLayout;
    specialRow->addWidget(SpecialOccurrance);
    specialRow->addWidget(SpecialDayOfWeek);
    specialRow->addWidget(new QLabel(QStringLiteral("of"), this));
    specialRow->addWidget(SpecialMonth);
    specialRow->addStretch();
    modes->addLayout(specialRow, 5, 1, 1, 4);
    modes->setColumnMinimumWidth(0, 16);
    layout->addLayout(modes);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OkButton);
    buttons->addWidget(CancelButton);
    layout->addLayout(buttons);

    for (QRadioButton* rb : {rbDayOfweek, rbDayOfMonth, rbSpecial})
        connect(rb, &QRadioButton::toggled, this, [this] { SetRecurType(); });
    connect(AllDaysCheck, &QCheckBox::clicked, this, [this] { AllDaysCheckClick(); });
    connect(OkButton, &QPushButton::clicked, this, [this] { OkbuttonClick(); });
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

    // FormCreate
    DayOfMonthMonth->setCurrentIndex(0);
    SpecialOccurrance->setCurrentIndex(0);
    SpecialDayOfWeek->setCurrentIndex(0);
    SpecialMonth->setCurrentIndex(0);
    rbDayOfMonth->setChecked(true);
    m_formula = QStringLiteral("@");
    SetRecurType();
    attachHelp(this, HelpContexts::RecurringDateFormula);
}

QString TEditRecurringDateFormula::eventText() const { return Event->text(); }

void TEditRecurringDateFormula::setEventText(const QString& text)
{
    // Entries hold 120-character names; the field must not cut a longer stored text.
    Event->setMaxLength(qMax(32767, int(text.size())));
    Event->setText(text);
}

void TEditRecurringDateFormula::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Event->setFocus();
    SetEmUp();
}

QCheckBox* TEditRecurringDateFormula::dayBox(int digit) const
{
    switch (digit) {
    case 1: return Sunday;
    case 2: return Monday;
    case 3: return Tuesday;
    case 4: return Wednesday;
    case 5: return Thursday;
    case 6: return Friday;
    case 7: return Saturday;
    default: return nullptr;
    }
}

void TEditRecurringDateFormula::SetEmUp()
{
    const QChar type = m_formula.isEmpty() ? QChar() : m_formula.at(0);
    if (type == kNthWeekdayType) {
        int occurrence = 0, weekday = 0, month = 0;
        if (ParseNthWeekdayFormula(m_formula, occurrence, weekday, month)) {
            rbSpecial->setChecked(true);
            SpecialOccurrance->setCurrentIndex(occurrence);
            SpecialDayOfWeek->setCurrentIndex(weekday);
            SpecialMonth->setCurrentIndex(month);
        }
    } else if (type == kDayOfMonthType) {
        int day = 0, month = 0;
        if (ParseDayOfMonthFormula(m_formula, day, month)) {
            rbDayOfMonth->setChecked(true);
            DayOfMonthDay->setValue(day);
            DayOfMonthMonth->setCurrentIndex(month);
        }
    } else {
        rbDayOfweek->setChecked(true);
        for (int d = 1; d <= 7; ++d)
            dayBox(d)->setChecked(m_formula.contains(QChar(QLatin1Char('0' + d))));
    }
    SetRecurType();
}

void TEditRecurringDateFormula::SetRecurType()
{
    const bool week = rbDayOfweek->isChecked();
    const bool month = rbDayOfMonth->isChecked();
    const bool special = rbSpecial->isChecked();
    for (int d = 1; d <= 7; ++d)
        dayBox(d)->setEnabled(week);
    AllDaysCheck->setEnabled(week);
    DayOfMonthDay->setEnabled(month);
    DayOfMonthMonth->setEnabled(month);
    SpecialOccurrance->setEnabled(special);
    SpecialDayOfWeek->setEnabled(special);
    SpecialMonth->setEnabled(special);
    setBold(rbDayOfweek, week);
    setBold(rbDayOfMonth, month);
    setBold(rbSpecial, special);
}

void TEditRecurringDateFormula::AllDaysCheckClick()
{
    for (int d = 1; d <= 7; ++d)
        dayBox(d)->setChecked(AllDaysCheck->isChecked());
}

void TEditRecurringDateFormula::OkbuttonClick()
{
    if (DetermineFormulaString())
        accept();
}

bool TEditRecurringDateFormula::DetermineFormulaString()
{
    if (rbDayOfMonth->isChecked()) {
        const int day = DayOfMonthDay->value();
        if (day < 1 || day > 31) {
            ShowInformation(QStringLiteral("Invalid day of month entered "));
            return false;
        }
        if (DayOfMonthMonth->currentIndex() < 0) {
            ShowInformation(QStringLiteral("Invalid month entered "));
            return false;
        }
        m_formula = MakeDayOfMonthFormula(day, DayOfMonthMonth->currentIndex());
        return true;
    }
    if (rbSpecial->isChecked()) {
        if (SpecialOccurrance->currentIndex() < 0 || SpecialDayOfWeek->currentIndex() < 0
            || SpecialMonth->currentIndex() < 0) {
            ShowInformation(QStringLiteral("Invalid value entered for Special category"));
            return false;
        }
        m_formula = MakeNthWeekdayFormula(SpecialOccurrance->currentIndex(), SpecialDayOfWeek->currentIndex(),
                                          SpecialMonth->currentIndex());
        return true;
    }
    QString formula = QStringLiteral("%");
    for (int d = 1; d <= 7; ++d) {
        if (dayBox(d)->isChecked())
            formula += QChar(QLatin1Char('0' + d));
    }
    if (formula.size() == 1) {
        ShowInformation(QStringLiteral("You must select at least one day for this \nreminder to occur on"));
        return false;
    }
    m_formula = formula;
    return true;
}
