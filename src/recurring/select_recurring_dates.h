#pragma once
#include <QDialog>
#include <QStringList>

class QListWidget;
class QPushButton;

// Lets the user choose which recurring dates to use; every row is selected when the
// dialog appears.
class TSelectRecurringDates : public QDialog {
    Q_OBJECT
public:
    explicit TSelectRecurringDates(QWidget* parent = nullptr);

    // Fills the list in the given order (not sorted).
    void setEntries(const QStringList& entries);
    // The selected lines in list order.
    QStringList selectedEntries() const;

    QListWidget* Dates;
    QPushButton* OkButton;
    QPushButton* AllButton;
    QPushButton* NoneButton;
    QPushButton* CancelButton;

protected:
    void showEvent(QShowEvent* event) override;
};
