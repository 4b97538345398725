#pragma once
#include <QDialog>

// "About Orvanta".
class TSplashform : public QDialog {
    Q_OBJECT
public:
    explicit TSplashform(const QString& version, QWidget* parent = nullptr);
};
