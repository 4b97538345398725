#pragma once
#include "objects/base_label.h"

// The label the label tool creates and calendar files hold: the base label plus the
// text dialog and the rotation commands.
class TGPLabel : public TGBaseLabel {
    Q_OBJECT
public:
    explicit TGPLabel(QWidget* parent = nullptr) : TGBaseLabel(parent) {}

    QByteArray StreamClassName() const override { return QByteArrayLiteral("TGPLabel"); }
    static TPropertySet<TGPLabel> Properties();

    // The "Text" dialog with the caption; on OK the caption takes the text and the label
    // grows to hold it.
    void EditText();
    // Runs right after the label tool created the label.
    void EditAfterCreate() { EditText(); }
    void ChooseFont() override;
    void AfterLoad() override;
};
