#pragma once
#include "imaging/picture.h"
#include "platform/win_color.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QFrame;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTimer;
class TColorButton;
class TGSuperText;
class TSpinButton;

// "SuperText Properties": edits a preview object, Preview, which the caller fills
// before showing the dialog and copies back from on Ok. Every control changes Preview at
// once; typing refits it at most five times a second, through Timer1.
class TSuperTextProperties : public QDialog {
    Q_OBJECT
public:
    explicit TSuperTextProperties(QWidget* parent = nullptr);

    TGSuperText* Preview = nullptr;
    // The texture file last chosen, handed in by the object and back on Ok.
    QString TexturePath;
    // The texture "Texture" brings back: the object's own, the one last chosen in the
    // browser, or the built-in one.
    TPicture LastUsedImage;
    QTimer* Timer1 = nullptr;
    // How often the preview has been refitted (tests count the timer's work by it).
    int PreviewRefits = 0;

    QLineEdit* CaptionText = nullptr;
    QComboBox* SurfaceTypeCombo = nullptr;
    QFrame* FillPanel = nullptr;
    QComboBox* FillDirectionCombo = nullptr;
    TColorButton* GradientFromcolorButton = nullptr;
    TColorButton* GradientToColorButton = nullptr;
    QFrame* FontcolorPanel = nullptr;
    TColorButton* FontColorButton = nullptr;
    QFrame* ImagePanel = nullptr;
    QPushButton* LoadImageButton = nullptr;
    TColorButton* ShadowColorButton = nullptr;
    QComboBox* ShadowOrientationCombo = nullptr;
    QSpinBox* ShadowDepthSpinner = nullptr;
    TColorButton* OutlineColorButton = nullptr;
    QComboBox* OutlineStyleCombo = nullptr;
    QSpinBox* OutLineWidthSpinner = nullptr;
    QPushButton* Fontbutton = nullptr;
    TSpinButton* RapidChangeFontSize = nullptr;
    QPushButton* SelectSymbolbutton = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* Cancelbutton = nullptr;
    QPushButton* Helpbutton = nullptr;

    // The texture shown before any is chosen: 120 x 84 pixels of 256 colours.
    static QImage BuiltInTexture();

    // Loads the controls from Preview; runs once, when the dialog is first shown.
    void FormActivate();
    // One tick of the refit timer.
    void Timer1Timer();
    void SurfaceTypeComboChange(int index);
    void LoadImageButtonClick();
    void SelectSymbolbuttonClick();
    void FontbuttonClick();
    void RapidChangeFontSizeUpClick();
    void RapidChangeFontSizeDownClick();
    void OKButtonClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildSurface();
    QWidget* buildShadow();
    QWidget* buildOutline();
    QWidget* buildFont();
    QWidget* effectGroup(const QString& title, QWidget* button, const QString& listCaption, QComboBox* list,
                         const QString& spinnerCaption, QSpinBox* spin);
    // Controls that write their value to Preview at once.
    TColorButton* colorButton(const QString& text, const QString& name, QWidget* parent,
                              std::function<void(TGSuperText&, TColor)> apply);
    QComboBox* combo(const QString& name, const QStringList& items, QWidget* parent,
                     std::function<void(TGSuperText&, int)> apply);
    QSpinBox* spinner(const QString& name, QWidget* parent, std::function<void(TGSuperText&, int)> apply);
    void showPanels();
    void changeFontSize(int step);
    void followPreviewFont();
    // Runs a control's change on Preview unless the controls are being loaded.
    void edit(const std::function<void(TGSuperText&)>& change);

    bool m_captionChanged = false;
    bool m_loading = true;
    bool m_activated = false;
};
