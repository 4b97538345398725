#pragma once
#include <QDialog>

class QPlainTextEdit;
class QPushButton;

// "Configuration Information": the report as read-only text, to be copied into a
// message to technical support.
class TConfigurationInfo : public QDialog {
    Q_OBJECT
public:
    explicit TConfigurationInfo(QWidget* parent = nullptr);

    void appendLines(const QStringList& lines);
    QString reportText() const;

    // "Copy to Clipboard": the whole report goes to the clipboard, then a message says so.
    void Button1Click();

    QPlainTextEdit* Memo1 = nullptr;
    QPushButton* Button1 = nullptr; // "Copy to Clipboard"
    QPushButton* Button2 = nullptr; // "OK"

protected:
    void showEvent(QShowEvent* event) override;
};
