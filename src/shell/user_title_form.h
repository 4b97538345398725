#pragma once
#include <QDialog>

class QLineEdit;

// "User Defined Title": one line that replaces the generated calendar title.
class TUserTitleForm : public QDialog {
    Q_OBJECT
public:
    explicit TUserTitleForm(QWidget* parent = nullptr);
    void setTitle(const QString& title);
    QString title() const;
    QLineEdit* TitleText = nullptr;
};
