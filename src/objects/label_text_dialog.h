#pragma once
#include <QDialog>

class QLineEdit;

// The label's "Text" dialog: one line of text, Ok, Cancel and Help.
class TGetLabelText : public QDialog {
    Q_OBJECT
public:
    explicit TGetLabelText(const QString& text, QWidget* parent = nullptr);

    QString Text() const;
    void SetText(const QString& text);
    QLineEdit* LabelText = nullptr;
};
