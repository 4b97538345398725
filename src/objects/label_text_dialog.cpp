#include "label_text_dialog.h"

#include "platform/shell_helpers.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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
    LabelText->setWhatsThis(QStringLiteral("Type the text the label shows. It is drawn on one line."));
    prompt->setBuddy(LabelText);
    layout->addWidget(prompt);
    layout->addWidget(LabelText);

    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setObjectName(QStringLiteral("OkButton"));
    ok->setDefault(true);
    ok->setWhatsThis(QStringLiteral("Puts the text on the label."));
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    cancel->setWhatsThis(QStringLiteral("Closes the dialog and leaves the label as it was."));
    auto* help = new QPushButton(QStringLiteral("Help"), this);
    help->setObjectName(QStringLiteral("HelpButton"));
    help->setWhatsThis(QStringLiteral("Shows the help topic about label text."));
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [] {
        if (HelpRequested)
            HelpRequested(kHelpContext);
    });
    LabelText->setFocus();
    CenterForm(this);
}

QString TGetLabelText::Text() const { return LabelText->text(); }

void TGetLabelText::SetText(const QString& text) { LabelText->setText(text); }
