#include "label_text_dialog.h"

#include "platform/help_contexts.h"
#include "platform/shell_helpers.h"
#include "widgets/dialog_help.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

TGetLabelText::TGetLabelText(const QString& text, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("GetLabelText"));
    setWindowTitle(QStringLiteral("Text"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, true);
    auto* layout = new QVBoxLayout(this);
    auto* prompt = new QLabel(QStringLiteral("Enter Text"), this);
    LabelText = new QLineEdit(text, this);
    LabelText->setObjectName(QStringLiteral("LabelText"));
    LabelText->setMinimumWidth(320);
    prompt->setBuddy(LabelText);
    layout->addWidget(prompt);
    layout->addWidget(LabelText);

    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setObjectName(QStringLiteral("OkButton"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    auto* help = new QPushButton(QStringLiteral("Help"), this);
    help->setObjectName(QStringLiteral("HelpButton"));
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    buttons->addWidget(createWhatsThisButton(this));
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    attachHelp(this, HelpContexts::LabelText, help);
    LabelText->setFocus();
    CenterForm(this);
}

QString TGetLabelText::Text() const { return LabelText->text(); }

void TGetLabelText::SetText(const QString& text) { LabelText->setText(text); }
