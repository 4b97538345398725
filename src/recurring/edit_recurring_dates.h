#pragma once
#include <QDialog>
#include <QStringList>

class QListWidget;
class QPushButton;

// The list editor of the user's recurring dates. It loads the store on creation and
// writes it back only on Ok; Cancel drops every change.
class TEditRecurringDates : public QDialog {
    Q_OBJECT
public:
    explicit TEditRecurringDates(QWidget* parent = nullptr);

    // Non-empty when the store exists but could not be read; the caller must not let
    // the user overwrite it then.
    QString loadError() const { return m_loadError; }
    // The list's lines in their (sorted) order.
    QStringList entries() const;

    void setbuttons();
    void NewbuttonClick();
    void EditbuttonClick();
    void DoEditRecurringFormula();
    void DeleteButtonClick();
    void HolidaysbuttonClick();
    void okbuttonClick();

    QListWidget* DatesList;
    QPushButton* OkButton;
    QPushButton* EditButton;
    QPushButton* NewButton;
    QPushButton* DeleteButton;
    QPushButton* HolidaysButton;
    QPushButton* CancelButton;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void selectRow(int row);

    QString m_loadError;
};
