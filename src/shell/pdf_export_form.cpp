#include "pdf_export_form.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TPdfExportForm::TPdfExportForm(bool canFill, QWidget* parent) : QDialog(parent), m_canFill(canFill)
{
    setObjectName(QStringLiteral("PdfExportForm"));
    setWindowTitle(QStringLiteral("Save As PDF File"));
    auto* layout = new QVBoxLayout(this);
    ThisMonth = new QRadioButton(QStringLiteral("this month"), this);
    ThisMonth->setObjectName(QStringLiteral("ThisMonth"));
    ThisMonth->setChecked(true);
    TwelveMonths = new QRadioButton(QStringLiteral("12 months starting with this month"), this);
    TwelveMonths->setObjectName(QStringLiteral("TwelveMonths"));
    FillRecurring = new QCheckBox(QStringLiteral("Fill each month from recurring dates"), this);
    FillRecurring->setObjectName(QStringLiteral("FillRecurring"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    OkButton = buttons->button(QDialogButtonBox::Ok);
    layout->addWidget(ThisMonth);
    layout->addWidget(TwelveMonths);
    layout->addWidget(FillRecurring);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(TwelveMonths, &QRadioButton::toggled, this, &TPdfExportForm::updateFill);
    updateFill();
}

int TPdfExportForm::months() const { return TwelveMonths->isChecked() ? 12 : 1; }

bool TPdfExportForm::fillFromRecurring() const { return FillRecurring->isEnabled() && FillRecurring->isChecked(); }

void TPdfExportForm::updateFill() { FillRecurring->setEnabled(m_canFill && TwelveMonths->isChecked()); }
