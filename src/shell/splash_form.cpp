#include "splash_form.h"

#include "platform/help_contexts.h"
#include "shell/web_link.h"
#include "widgets/dialog_help.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TSplashform::TSplashform(const QString& version, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Splashform"));
    setWindowTitle(QStringLiteral("About Orvanta"));
    auto* layout = new QVBoxLayout(this);
    auto* name = new QLabel(QStringLiteral("Orvanta"), this);
    QFont big = name->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    name->setFont(big);
    name->setAlignment(Qt::AlignCenter);
    layout->addWidget(name);
    auto* versionLabel = new QLabel(QStringLiteral("Version ") + version, this);
    versionLabel->setObjectName(QStringLiteral("VersionLabel"));
    versionLabel->setAlignment(Qt::AlignCenter);
    layout->addWidget(versionLabel);
    auto* bits = new QLabel(QStringLiteral("32-bit version"), this);
    bits->setAlignment(Qt::AlignCenter);
    layout->addWidget(bits);
    // The maker's site, opened in the browser.
    auto* link = new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(ProductWebsite()), this);
    link->setObjectName(QStringLiteral("WebsiteLink"));
    link->setAlignment(Qt::AlignCenter);
    link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    connect(link, &QLabel::linkActivated, this, [](const QString& url) { OpenUrl(QUrl(url)); });
    layout->addWidget(link);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setDefault(true);
    row->addWidget(ok);
    row->addStretch(1);
    layout->addLayout(row);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    attachHelp(this, HelpContexts::About);
}
