#pragma once
#include "calendar/calendar_settings.h"

#include <QDialog>
#include <QString>
#include <array>
#include <functional>

class QButtonGroup;
class QCalendarWidget;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLayout;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QTabWidget;
class TCalendarPanel32;
class TColorButton;
class TSpinButton;

// The modal dialog in which the user changes every calendar setting. It edits its own
// preview page, ExampleCalendar; the caller copies the document's settings in before
// exec() and copies them back when exec() returns Accepted.
class TCalendarProperties : public QDialog {
    Q_OBJECT
public:
    // ppi 0: the screen's.
    explicit TCalendarProperties(QWidget* parent = nullptr, int ppi = 0);
    ~TCalendarProperties() override;

    TCalendarPanel32* ExampleCalendar() const { return m_example; }

    // A brand-new document: the preview is reset on activation and nothing warns.
    void setCreatingNew(bool creatingNew);
    // The open document: its layout family, and whether it has cell text (a family change
    // erases it) or placed objects (page changes move them).
    void setCurrentDocumentInfo(int layoutFamily, bool hasCellText, bool hasPlacedObjects);

    // The help topic of the current page (2100.. for the first nine pages, 3109 for
    // Borders), opened by "&Help" and F1.
    int HelpContext() const;

    // The texts the margin lists show for 0.25 .. 1.5 inches.
    static const QStringList& inchTexts();
    static const QStringList& millimeterTexts();
    static int marginIndex(float inches);

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Pages.
    QWidget* buildLayoutPage();
    QWidget* buildDatePage();
    QWidget* buildFontsPage();
    QWidget* buildMiniFontsPage();
    QWidget* buildHeadersPage();
    QWidget* buildLinesPage();
    QWidget* buildPlannersPage();
    QWidget* buildLanguagePage();
    QWidget* buildMarginsPage();
    QWidget* buildBordersPage();
    QLayout* buildPreview();

    // Dialog steps.
    void FormActivate();
    void FillControls();
    void LayoutSelection();
    void UpdateEnabledStates();
    void SelectBorderItem();
    void updateDateLabel();
    void updateZoomLabel();

    // Control events.
    void onCalendarDateChanged();
    void onWeekStartClicked(int index);
    using FontGetter = std::function<TCalFont()>;
    using FontSetter = std::function<void(const TCalFont&)>;
    void chooseFont(const FontGetter& get, const FontSetter& set);
    void wireFont(QPushButton* button, TColorButton* colorButton, FontGetter get, FontSetter set);
    void wireColor(TColorButton* button, std::function<void(TColor)> set);
    static QString shortTimeFormat();
    static QString formatShortTime(const QTime& time);
    void onStartingTimeClick();
    void applyMonthMemo();
    void applyDayMemo();
    void applyLanguage(int language);
    void onMarginActivated(int side, int index);
    void onUnitsChanged();
    void onBorderChosen(int row);
    void onZoomIn();
    void onZoomOut();
    void onOkClick();
    void onDefaultClick();
    void onSaveStyleSheetClick();
    void onLoadStyleSheetClick();

    bool eventFilter(QObject* watched, QEvent* event) override;

    TCalendarPanel32* m_example = nullptr;
    QScrollArea* m_previewScroll = nullptr;
    QTabWidget* m_tabs = nullptr;

    // Layout.
    QListWidget* m_layoutList = nullptr;
    QGroupBox* m_orientationGroup = nullptr;
    QRadioButton* m_portrait = nullptr;
    QRadioButton* m_landscape = nullptr;
    QRadioButton* m_letter = nullptr;
    QRadioButton* m_a4 = nullptr;
    // Date.
    QLabel* m_dateCaption = nullptr;
    QCalendarWidget* m_monthCalendar = nullptr;
    QLabel* m_dateLabel = nullptr;
    QGroupBox* m_weekStartGroup = nullptr;
    QButtonGroup* m_weekStart = nullptr;
    QCheckBox* m_showYearInTitle = nullptr;
    QCheckBox* m_showYearInMiniTitle = nullptr;
    // Fonts and colours.
    QPushButton* m_titleFont = nullptr;
    TColorButton* m_titleFontColor = nullptr;
    TColorButton* m_titleColor = nullptr;
    QPushButton* m_headerFont = nullptr;
    TColorButton* m_headerFontColor = nullptr;
    TColorButton* m_headerColor = nullptr;
    QPushButton* m_cellFont = nullptr;
    TColorButton* m_cellFontColor = nullptr;
    QPushButton* m_miniTitleFont = nullptr;
    TColorButton* m_miniTitleFontColor = nullptr;
    QPushButton* m_miniHeaderFont = nullptr;
    TColorButton* m_miniHeaderFontColor = nullptr;
    TColorButton* m_miniHeaderColor = nullptr;
    QPushButton* m_miniCellFont = nullptr;
    TColorButton* m_miniCellFontColor = nullptr;
    TColorButton* m_miniBackColor = nullptr;
    // Headers and lines.
    QListWidget* m_headerStyle = nullptr;
    QListWidget* m_miniHeaderStyle = nullptr;
    QGroupBox* m_lineGroup = nullptr;
    QButtonGroup* m_lineStyle = nullptr;
    QGroupBox* m_miniLineGroup = nullptr;
    QButtonGroup* m_miniLineStyle = nullptr;
    // Planners.
    QPushButton* m_startingTime = nullptr;
    QLabel* m_timeLabel = nullptr;
    // Language.
    QPlainTextEdit* m_monthMemo = nullptr;
    QPlainTextEdit* m_dayMemo = nullptr;
    // Margins.
    QRadioButton* m_useInches = nullptr;
    QRadioButton* m_useMillimeters = nullptr;
    std::array<QComboBox*, 4> m_margins{}; // left, top, right, bottom
    // Borders.
    QListWidget* m_borderList = nullptr;
    // Zoom.
    TSpinButton* m_zoomSpinner = nullptr;
    QLabel* m_zoomLabel = nullptr;

    // Dialog state.
    bool m_loading = true;
    bool m_planner = false;
    bool m_resetOnActivation = false;
    bool m_layoutWarning = false;
    int m_familyAtOpening = 0;
    bool m_objectsWarning = false;
    bool m_activated = false;
    // The preview's values at activation.
    std::array<float, 4> m_startMargins{};
    QString m_startBorder;
    TCalendarLayout m_startLayout = TCalendarLayout::loFullCalendar;
    quint8 m_startPaper = 0;
    TCalendarOrientation m_startOrientation = TCalendarOrientation::coPortrait;
};
