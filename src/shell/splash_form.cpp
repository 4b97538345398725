#include "splash_form.h"

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
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setDefault(true);
    row->addWidget(ok);
    row->addStretch(1);
    layout->addLayout(row);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
