#include "whats_this.h"

#include <QMenu>
#include <QPointer>
#include <QWhatsThis>
#include <QWidget>

QMenu* ContextHelpMenu(QWidget* control, QPoint globalPos)
{
    auto* menu = new QMenu(control);
    menu->setObjectName(QStringLiteral("WhatsThisMenu"));
    QAction* item = menu->addAction(QStringLiteral("What's this?"));
    QPointer<QWidget> guard(control);
    QObject::connect(item, &QAction::triggered, menu, [guard, globalPos] {
        if (guard)
            QWhatsThis::showText(globalPos, guard->whatsThis(), guard);
    });
    return menu;
}

void SetContextHelp(QWidget* control, const QString& text)
{
    control->setWhatsThis(text);
    control->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(control, &QWidget::customContextMenuRequested, control, [control](const QPoint& pos) {
        const QPoint global = control->mapToGlobal(pos);
        QPointer<QMenu> menu = ContextHelpMenu(control, global);
        menu->exec(global);
        delete menu; // null when the control went away meanwhile
    });
}
