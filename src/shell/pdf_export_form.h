#pragma once
#include <QDialog>

class QCheckBox;
class QPushButton;
class QRadioButton;

// "Save As PDF File": this month alone or twelve months from it, the further months
// optionally filled from the recurring dates.
class TPdfExportForm : public QDialog {
    Q_OBJECT
public:
    // canFill: the layout has day cells that recurring dates could fill.
    explicit TPdfExportForm(bool canFill, QWidget* parent = nullptr);

    int months() const; // 1 or 12
    bool fillFromRecurring() const;

    QRadioButton* ThisMonth = nullptr;
    QRadioButton* TwelveMonths = nullptr;
    QCheckBox* FillRecurring = nullptr;
    QPushButton* OkButton = nullptr;

private:
    void updateFill();
    bool m_canFill;
};
