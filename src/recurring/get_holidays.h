#pragma once
#include <QDialog>
#include <QStringList>

class QListWidget;
class QPushButton;

// The built-in holidays as store lines: the name padded to 120 characters and the
// formula padded to 10, except the "#" keywords, which follow the name unpadded.
QStringList BuiltInHolidayEntries();

// Picks built-in holidays (multi-select, sorted, check-mark rows).
class TGetHolidays : public QDialog {
    Q_OBJECT
public:
    explicit TGetHolidays(QWidget* parent = nullptr);

    // The selected holiday lines in the list's order.
    QStringList selectedHolidays() const;

    QListWidget* Holidays;
    QPushButton* OkButton;
    QPushButton* AllButton;
    QPushButton* NoneButton;
    QPushButton* CancelButton;

protected:
    void showEvent(QShowEvent* event) override;
};

// Shared by the two pickers: Ok (default; beeps with nothing selected), All, None, Cancel.
void addPickerButtons(QDialog* dialog, QListWidget* list, QPushButton*& ok, QPushButton*& all, QPushButton*& none,
                      QPushButton*& cancel);
