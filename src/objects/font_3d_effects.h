#pragma once
#include <QDialog>

class QComboBox;
class QFrame;
class TColorCombo;
class TGBaseLabel;
class TGPLabel;

// "Text 3D Effects": the shadow and highlight of a label, previewed on a sample label.
// Ok copies the sample's font and the six effect properties to the label (CopyBack,
// run by the label inside its change record).
class TGFont3DEffects : public QDialog {
    Q_OBJECT
public:
    TGFont3DEffects(TGBaseLabel& label, QWidget* parent = nullptr);

    TGPLabel* Sample = nullptr;
    QComboBox* ShadowDirection = nullptr;
    QComboBox* ShadowDepth = nullptr;
    TColorCombo* ShadowColorCombo = nullptr;
    QComboBox* HighlightDirection = nullptr;
    QComboBox* HighLightDepth = nullptr;
    TColorCombo* HighLightColorCombo = nullptr;
    TColorCombo* FontColorCombo = nullptr;

    void CopyBack();

private:
    QComboBox* combo(const QString& name, const QStringList& items);
    TColorCombo* colorCombo(const QString& name);
    void load();

    TGBaseLabel& m_label;
    QFrame* m_samplePanel = nullptr;
    bool m_loading = true;
};
