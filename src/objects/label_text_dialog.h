#pragma once
#include <QDialog>
#include <functional>

class QLineEdit;

// The label's "Text" dialog: one line of text, Ok, Cancel and Help.
class TGetLabelText : public QDialog {
    Q_OBJECT
public:
    explicit TGetLabelText(const QString& text, QWidget* parent = nullptr);

    QString Text() const;
    void SetText(const QString& text);
    QLineEdit* LabelText = nullptr;

    static constexpr int kHelpContext = 40004;
    // The help system shows the dialog's topic (set by the program once help exists).
    static inline std::function<void(int)> HelpRequested;
};
