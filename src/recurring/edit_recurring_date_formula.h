#pragma once
#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

// Edits one recurring date: its event text and its formula, in one of three modes
// (days of the week, day of the month, nth weekday). The caller sets the event text
// and the formula before showing and reads them back after OK.
class TEditRecurringDateFormula : public QDialog {
    Q_OBJECT
public:
    explicit TEditRecurringDateFormula(QWidget* parent = nullptr);

    QString formula() const { return m_formula; }
    void setFormula(const QString& formula) { m_formula = formula; }
    QString eventText() const;
    void setEventText(const QString& text);

    // Fills the controls from the formula (runs when the dialog is shown).
    void SetEmUp();
    // Enables the controls of the checked mode and makes its caption bold.
    void SetRecurType();
    // Builds the formula from the controls; shows the reason and fails on bad input.
    bool DetermineFormulaString();

    QLineEdit* Event;
    QLabel* EventLabel;
    QRadioButton* rbDayOfweek;
    QCheckBox* Monday;
    QCheckBox* Tuesday;
    QCheckBox* Wednesday;
    QCheckBox* Thursday;
    QCheckBox* Friday;
    QCheckBox* Saturday;
    QCheckBox* Sunday;
    QCheckBox* AllDaysCheck;
    QRadioButton* rbDayOfMonth;
    QSpinBox* DayOfMonthDay;
    QComboBox* DayOfMonthMonth;
    QRadioButton* rbSpecial;
    QComboBox* SpecialOccurrance;
    QComboBox* SpecialDayOfWeek;
    QComboBox* SpecialMonth;
    QPushButton* OkButton;
    QPushButton* CancelButton;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void AllDaysCheckClick();
    void OkbuttonClick();
    // Sunday .. Saturday, the order of the formula digits "1" .. "7".
    QCheckBox* dayBox(int digit) const;

    QString m_formula;
};
