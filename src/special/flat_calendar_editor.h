#pragma once
#include "platform/win_color.h"

#include <QDialog>
#include <functional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QPushButton;
class QScrollArea;
class QSpinBox;
class TColorButton;
class TGFlatCalendar;
struct TObjectFont;

// "Floating Calendar Properties": edits a preview calendar, Sample, which the caller
// fills before showing the dialog and copies back from on Ok. Every control writes its
// property to Sample at once, so the preview shows each change.
class TFlatCalendarEditor : public QDialog {
    Q_OBJECT
public:
    explicit TFlatCalendarEditor(QWidget* parent = nullptr);

    TGFlatCalendar* Sample = nullptr;

    QComboBox* MonthCombo = nullptr;
    QSpinBox* YearSpinner = nullptr;
    QButtonGroup* WeekStartsOn = nullptr;
    QCheckBox* ShowtitleInyearCheck = nullptr;
    QComboBox* HeadersStyleCombo = nullptr;
    QComboBox* LanguageCombo = nullptr;
    QPushButton* TitleFontbutton = nullptr;
    QPushButton* HeaderFontbutton = nullptr;
    QPushButton* CellFontbutton = nullptr;
    QComboBox* CalendarBorderCombo = nullptr;
    QComboBox* HeaderBorderCombo = nullptr;
    QComboBox* CellBorderCombo = nullptr;
    TColorButton* TitleBackgroundbutton = nullptr;
    TColorButton* HeaderBackgroundButton = nullptr;
    TColorButton* Bodybackgroundbutton = nullptr;
    QCheckBox* TransparentCheck = nullptr;
    TColorButton* ShadowColorButton = nullptr;
    QComboBox* ShadowOrientationCombo = nullptr;
    QSpinBox* ShadowDepthSpinner = nullptr;

    // Loads the controls from Sample; runs once, when the dialog is first shown.
    void FormActivate();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildMiscellaneous();
    QWidget* buildFonts();
    QWidget* buildBorders();
    QWidget* buildColors();
    QWidget* buildShadow();
    QComboBox* combo(const QString& name, const QStringList& items, std::function<void(int)> apply);
    TColorButton* colorButton(const QString& text, const QString& name,
                              std::function<void(TGFlatCalendar&, TColor)> apply);
    using FontGetter = std::function<const TObjectFont&(const TGFlatCalendar&)>;
    using FontSetter = std::function<void(TGFlatCalendar&, const TObjectFont&)>;
    // A button that opens the font dialog (with the text colour) for one of Sample's fonts.
    QPushButton* fontButton(const QString& text, const QString& name, FontGetter get, FontSetter set);
    // Runs a control's change on Sample unless the controls are being loaded.
    void edit(const std::function<void(TGFlatCalendar&)>& change);

    QScrollArea* m_sampleBox = nullptr;
    bool m_loading = true;
    bool m_activated = false;
};
