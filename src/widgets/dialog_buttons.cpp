#include "dialog_buttons.h"

#include "widgets/dialog_help.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QToolButton>

DialogButtons createDialogButtons(QDialog* dialog, bool okIsDefault, const DialogButtonNames& names)
{
    auto button = [dialog, okIsDefault](const QString& text, const QString& name) {
        auto* b = new QPushButton(text, dialog);
        b->setObjectName(name);
        b->setAutoDefault(okIsDefault);
        return b;
    };
    DialogButtons d;
    d.ok = button(QStringLiteral("Ok"), names.ok);
    d.ok->setDefault(okIsDefault);
    d.cancel = button(QStringLiteral("Cancel"), names.cancel);
    d.help = button(QStringLiteral("Help"), names.help);
    d.row = new QHBoxLayout;
    d.row->addStretch(1);
    d.row->addWidget(d.ok);
    d.row->addWidget(d.cancel);
    d.row->addWidget(d.help);
    d.row->addWidget(createWhatsThisButton(dialog));
    QObject::connect(d.cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return d;
}
