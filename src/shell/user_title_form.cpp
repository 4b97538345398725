#include "user_title_form.h"

#include "platform/help_contexts.h"
#include "widgets/dialog_help.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TUserTitleForm::TUserTitleForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("UserTitleForm"));
    setWindowTitle(QStringLiteral("User Defined Title"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Enter calendar title (leave blank for default):"), this));
    TitleText = new QLineEdit(this);
    TitleText->setObjectName(QStringLiteral("TitleText"));
    TitleText->setMinimumWidth(320);
    layout->addWidget(TitleText);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setObjectName(QStringLiteral("OkButton"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    attachHelp(this, HelpContexts::UserDefinedTitle);
}

void TUserTitleForm::setTitle(const QString& title) { TitleText->setText(title); }
QString TUserTitleForm::title() const { return TitleText->text(); }
