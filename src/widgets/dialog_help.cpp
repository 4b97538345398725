#include "dialog_help.h"

#include "platform/help_request.h"
#include "platform/ini_file.h"
#include "platform/program_folder.h"

#include <QAbstractButton>
#include <QAction>
#include <QContextMenuEvent>
#include <QHash>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QShortcut>
#include <QTextEdit>
#include <QToolButton>
#include <QWhatsThis>
#include <QWidget>

namespace {

const QString kWhatsThisItem = QStringLiteral("What's this?");

struct WhatsThisBook {
    bool loaded = false;
    IniFile ini;
};

WhatsThisBook& book()
{
    static WhatsThisBook b;
    if (!b.loaded) {
        b.loaded = true;
        b.ini.load(ProgramFolder() + QStringLiteral("help/whatsthis.ini"));
    }
    return b;
}

// Opens the control's "What's this?" menu on a right click.
class WhatsThisMenuFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::ContextMenu || !watched->isWidgetType())
            return false;
        auto* control = static_cast<QWidget*>(watched);
        QMenu* menu = createWhatsThisMenu(control);
        if (!menu)
            return false;
        menu->exec(static_cast<QContextMenuEvent*>(event)->globalPos());
        delete menu;
        return true;
    }
};

WhatsThisMenuFilter* menuFilter()
{
    static auto* filter = new WhatsThisMenuFilter;
    return filter;
}

QMenu* standardMenuOf(QWidget* control)
{
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        return edit->createStandardContextMenu();
    if (auto* edit = qobject_cast<QTextEdit*>(control))
        return edit->createStandardContextMenu();
    if (auto* edit = qobject_cast<QPlainTextEdit*>(control))
        return edit->createStandardContextMenu();
    return nullptr;
}

} // namespace

void attachHelp(QWidget* dialog, int context, QAbstractButton* helpButton)
{
    attachHelp(dialog, [context] { return context; }, helpButton);
}

void attachHelp(QWidget* dialog, std::function<int()> context, QAbstractButton* helpButton)
{
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), dialog);
    f1->setObjectName(QStringLiteral("HelpShortcut"));
    f1->setContext(Qt::WindowShortcut);
    QObject::connect(f1, &QShortcut::activated, dialog, [context] { ShowHelpContext(context()); });
    if (helpButton)
        QObject::connect(helpButton, &QAbstractButton::clicked, dialog, [context] { ShowHelpContext(context()); });
    applyWhatsThisTexts(dialog, QString::fromLatin1(dialog->metaObject()->className()));
}

QString whatsThisText(const QString& dialogClass, const QString& controlName)
{
    if (controlName.isEmpty())
        return {};
    return book().ini.readString(dialogClass, controlName);
}

void reloadWhatsThisTexts() { book() = WhatsThisBook{}; }

void applyWhatsThisTexts(QWidget* dialog, const QString& dialogClass)
{
    for (QWidget* control : dialog->findChildren<QWidget*>()) {
        const QString text = whatsThisText(dialogClass, control->objectName());
        if (text.isEmpty())
            continue;
        control->setWhatsThis(text);
        control->installEventFilter(menuFilter());
    }
}

QMenu* createWhatsThisMenu(QWidget* control)
{
    const QString text = control->whatsThis();
    if (text.isEmpty())
        return nullptr;
    QMenu* menu = standardMenuOf(control);
    if (!menu)
        menu = new QMenu;
    auto* item = new QAction(kWhatsThisItem, menu);
    item->setObjectName(QStringLiteral("WhatsThisItem"));
    QPointer<QWidget> target(control);
    QObject::connect(item, &QAction::triggered, menu, [target] {
        if (target)
            QWhatsThis::showText(target->mapToGlobal(QPoint(target->width() / 2, target->height())),
                                 target->whatsThis(), target);
    });
    const QList<QAction*> existing = menu->actions();
    if (existing.isEmpty()) {
        menu->addAction(item);
    } else {
        menu->insertAction(existing.first(), item);
        menu->insertSeparator(existing.first());
    }
    return menu;
}

QToolButton* createWhatsThisButton(QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QStringLiteral("WhatsThisButton"));
    button->setText(QStringLiteral("?"));
    button->setToolTip(QStringLiteral("Click here, then on a control, to see what it does"));
    QObject::connect(button, &QToolButton::clicked, button, [] { QWhatsThis::enterWhatsThisMode(); });
    return button;
}
