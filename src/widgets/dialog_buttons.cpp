#include "dialog_buttons.h"

#include "widgets/dialog_help.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QToolButton>

DialogButtons createDialogButtons(QDialog* dialog, const QString& okName, const QString& cancelName,
                                  const QString& helpName)
{
    auto button = [dialog](const QString& text, const QString& name) {
        auto* b = new QPushButton(text, dialog);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    DialogButtons b;
    b.ok = button(QStringLiteral("Ok"), okName);
    b.ok->setDefault(true);
    b.cancel = button(QStringLiteral("Cancel"), cancelName);
    b.help = button(QStringLiteral("Help"), helpName);
    b.row = new QHBoxLayout;
    b.row->addStretch(1);
    b.row->addWidget(b.ok);
    b.row->addWidget(b.cancel);
    b.row->addWidget(b.help);
    b.row->addWidget(createWhatsThisButton(dialog));
    QObject::connect(b.cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return b;
}
