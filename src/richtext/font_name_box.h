#pragma once
#include <QComboBox>

// The font name list of a formatting bar. It shows the family at the caret from the
// start, but asks the font database for every family only when the user first opens
// or enters it: making that list costs more than the rest of the main window.
class TFontNameBox : public QComboBox {
    Q_OBJECT
public:
    explicit TFontNameBox(QWidget* parent = nullptr);

    // Shows family without choosing it.
    void setFamily(const QString& family);
    QString family() const { return currentText().trimmed(); }
    // Whether the families are listed yet.
    bool listed() const { return m_listed; }
    void showPopup() override;

signals:
    // The user picked a family from the list or typed one and pressed Enter.
    void familyChosen();

protected:
    void focusInEvent(QFocusEvent* event) override;

private:
    void listFamilies();

    bool m_listed = false;
};
