#include "dialog_buttons.h"

#include "widgets/dialog_help.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QToolButton>

DialogButtons createDialogButtons(QDialog* dialog, bool okIsDefault)
{
    auto button = [dialog, okIsDefault](const QString& text, const QString& name) {
        auto* b = new QPushButton(text, dialog);
        b->setObjectName(name);
        b->setAutoDefault(okIsDefault);
        return b;
    };
    DialogButtons d;
    d.ok = button(QStringLiteral("Ok"), QStringLiteral("OkButton"));
    d.ok->setDefault(okIsDefault);
    d.cancel = button(QStringLiteral("Cancel"), QStringLiteral("CancelButton"));
    d.help = button(QStringLiteral("Help"), QStringLiteral("HelpButton"));
    d.row = new QHBoxLayout;
    d.row->addStretch(1);
    d.row->addWidget(d.ok);
    d.row->addWidget(d.cancel);
    d.row->addWidget(d.help);
    d.row->addWidget(createWhatsThisButton(dialog));
    QObject::connect(d.ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(d.cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return d;
}
