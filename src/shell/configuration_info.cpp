#include "configuration_info.h"

#include "platform/help_contexts.h"
#include "platform/prompter.h"
#include "widgets/dialog_help.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

TConfigurationInfo::TConfigurationInfo(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ConfigurationInfo"));
    setWindowTitle(QStringLiteral("Configuration Information"));

    auto* intro = new QLabel(QStringLiteral("When you write to technical support, please copy the information below "
                                            "into your message: press \"Copy to Clipboard\", then paste it into the "
                                            "message."),
                             this);
    intro->setObjectName(QStringLiteral("IntroLabel"));
    intro->setWordWrap(true);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont courier(QStringLiteral("Courier New"));
    courier.setStyleHint(QFont::TypeWriter);
    courier.setPointSize(9);
    Memo1->setFont(courier);
    Memo1->setTabStopDistance(QFontMetricsF(courier).horizontalAdvance(QLatin1Char(' ')) * 8);

    Button1 = new QPushButton(QStringLiteral("Copy to Clipboard"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAutoDefault(false);
    Button2 = new QPushButton(QStringLiteral("OK"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(Memo1, 1);
    layout->addLayout(buttons);
    resize(620, 480);

    connect(Button1, &QPushButton::clicked, this, &TConfigurationInfo::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QDialog::accept);
    attachHelp(this, HelpContexts::ConfigurationInformation);
}

void TConfigurationInfo::appendLines(const QStringList& lines)
{
    for (const QString& line : lines)
        Memo1->appendPlainText(line);
}

QString TConfigurationInfo::reportText() const { return Memo1->toPlainText(); }

void TConfigurationInfo::Button1Click()
{
    QGuiApplication::clipboard()->setText(reportText());
    prompter().information(QStringLiteral("Information copied to Windows clipboard"),
                           QStringLiteral("Configuration Information"));
}

void TConfigurationInfo::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The report is read from its first line.
    Memo1->moveCursor(QTextCursor::Start);
    Memo1->ensureCursorVisible();
    Memo1->horizontalScrollBar()->setValue(0);
}
