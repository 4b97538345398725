#include "properties_dialog.h"

#include "calendar/calendar_panel.h"
#include "platform/help_contexts.h"
#include "platform/numeric.h"
#include "platform/prompter.h"
#include "widgets/color_button.h"
#include "widgets/dialog_help.h"
#include "widgets/spin_button.h"

#include <QButtonGroup>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {
const QString kLayoutWarning = QStringLiteral(
    "Warning: changing to this type of layout\nwill erase all text and icons from the current\ncalendar. Proceed?");
const QString kObjectsWarning = QStringLiteral(
    "Warning: The Calendar has one or more items\nplaced on it using the Label, Clip Art, RichText,\nSuperText or "
    "Floating Calendar tools.\n\nChanging Paper Size, Orientation, Layout, Margins or Border\nmeans you will have to "
    "reposition these items.\n\nProceed?");
const QString kWarningCaption = QStringLiteral("WARNING");
// Steps of 0.1 in single precision land a hair off the limits (0.3 - 0.1 is just above
// 0.2); the limits are meant as the percentages the label shows.
constexpr double kZoomSlack = 1e-6;

QPushButton* dialogButton(const QString& text, const QString& name, QWidget* parent)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}
} // namespace

TCalendarProperties::TCalendarProperties(QWidget* parent, int ppi) : QDialog(parent)
{
    m_loading = true; // until the first activation has filled the controls
    setWindowTitle(QStringLiteral("Calendar Properties"));
    setObjectName(QStringLiteral("CalendarProperties"));

    auto* outer = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("PageTabs"));
    m_tabs->addTab(buildLayoutPage(), QStringLiteral("Layout"));
    m_tabs->addTab(buildDatePage(), QStringLiteral("Date"));
    m_tabs->addTab(buildFontsPage(), QStringLiteral("Fonts, Colors"));
    m_tabs->addTab(buildMiniFontsPage(), QStringLiteral("Mini Fonts, Colors"));
    m_tabs->addTab(buildHeadersPage(), QStringLiteral("Headers"));
    m_tabs->addTab(buildLinesPage(), QStringLiteral("Lines"));
    m_tabs->addTab(buildPlannersPage(), QStringLiteral("Planners"));
    m_tabs->addTab(buildLanguagePage(), QStringLiteral("Language"));
    m_tabs->addTab(buildMarginsPage(), QStringLiteral("Margins"));
    m_tabs->addTab(buildBordersPage(), QStringLiteral("Borders"));
    // Every tab stays in sight; the preview takes the rest of the width.
    m_tabs->setMinimumWidth(m_tabs->tabBar()->sizeHint().width() + 8);
    top->addWidget(m_tabs, 0);

    auto* previewSide = new QVBoxLayout;
    m_example = new TCalendarPanel32(nullptr, ppi);
    m_example->setObjectName(QStringLiteral("ExampleCalendar"));
    m_example->setToolTip(QStringLiteral("This is an example calendar"));
    m_previewScroll = new QScrollArea(this);
    m_previewScroll->setObjectName(QStringLiteral("ExampleScroll"));
    m_previewScroll->setWidgetResizable(false);
    m_previewScroll->setBackgroundRole(QPalette::Dark);
    m_previewScroll->setWidget(m_example);
    m_previewScroll->setAlignment(Qt::AlignCenter);
    m_previewScroll->setMinimumSize(440, 460);
    previewSide->addWidget(m_previewScroll, 1);
    previewSide->addLayout(buildPreview());
    top->addLayout(previewSide, 1);
    outer->addLayout(top, 1);

    auto* buttons = new QHBoxLayout;
    QPushButton* ok = dialogButton(QStringLiteral("&Ok"), QStringLiteral("btnOk"), this);
    QPushButton* cancel = dialogButton(QStringLiteral("&Cancel"), QStringLiteral("btnCancel"), this);
    QPushButton* saveStyle = dialogButton(QStringLiteral("&Save As Style Sheet"), QStringLiteral("btnSaveStyle"), this);
    QPushButton* loadStyle = dialogButton(QStringLiteral("&Load Style Sheet"), QStringLiteral("btnLoadStyle"), this);
    QPushButton* defaults = dialogButton(QStringLiteral("&Default Style"), QStringLiteral("btnDefault"), this);
    QPushButton* help = dialogButton(QStringLiteral("&Help"), QStringLiteral("btnHelp"), this);
    ok->setDefault(true);
    for (QPushButton* b : {ok, cancel, saveStyle, loadStyle, defaults, help})
        buttons->addWidget(b);
    buttons->addStretch();
    outer->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, [this] { onOkClick(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(saveStyle, &QPushButton::clicked, this, [this] { onSaveStyleSheetClick(); });
    connect(loadStyle, &QPushButton::clicked, this, [this] { onLoadStyleSheetClick(); });
    connect(defaults, &QPushButton::clicked, this, [this] { onDefaultClick(); });
    attachHelp(this, [this] { return HelpContext(); }, help);
}

TCalendarProperties::~TCalendarProperties() = default;

QLayout* TCalendarProperties::buildPreview()
{
    auto* row = new QHBoxLayout;
    auto* caption = new QLabel(QStringLiteral("Zoom"), this);
    m_zoomSpinner = new TSpinButton(this, Qt::Horizontal);
    m_zoomSpinner->setObjectName(QStringLiteral("ZoomSpinner"));
    m_zoomSpinner->setUpHint(QStringLiteral("Zoom in"));
    m_zoomSpinner->setDownHint(QStringLiteral("Zoom out"));
    m_zoomLabel = new QLabel(QStringLiteral("100%"), this);
    m_zoomLabel->setObjectName(QStringLiteral("ZoomLabel"));
    m_zoomLabel->setMinimumWidth(40);
    row->addStretch();
    row->addWidget(caption);
    row->addWidget(m_zoomSpinner);
    row->addWidget(m_zoomLabel);
    connect(m_zoomSpinner, &TSpinButton::upClick, this, [this] { onZoomIn(); });
    connect(m_zoomSpinner, &TSpinButton::downClick, this, [this] { onZoomOut(); });
    return row;
}

void TCalendarProperties::setCreatingNew(bool creatingNew)
{
    m_resetOnActivation = creatingNew;
    if (creatingNew) {
        m_layoutWarning = false;
        m_objectsWarning = false;
    }
}

void TCalendarProperties::setCurrentDocumentInfo(int layoutFamily, bool hasCellText, bool hasPlacedObjects)
{
    m_familyAtOpening = layoutFamily;
    m_layoutWarning = hasCellText;
    m_objectsWarning = hasPlacedObjects;
}

void TCalendarProperties::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_activated) {
        m_activated = true;
        FormActivate();
    }
}

void TCalendarProperties::FormActivate()
{
    m_loading = true;
    updateZoomLabel();
    if (m_resetOnActivation)
        m_example->ResetToDefaults();
    FillControls();
    m_loading = false;
    LayoutSelection();
    SelectBorderItem();
    const TCalendarSettings& s = m_example->settings();
    m_startMargins = {s.LeftMarginInch, s.TopMarginInch, s.RightMarginInch, s.BottomMarginInch};
    m_startBorder = s.WMFBorderFile;
    m_startLayout = s.CalendarLayout;
    m_startPaper = s.PaperSize;
    m_startOrientation = s.CalendarOrientation;
}

void TCalendarProperties::FillControls()
{
    const TCalendarSettings& s = m_example->settings();
    const int layout = int(s.CalendarLayout);
    if (layout < 18) {
        m_layoutList->setCurrentRow(layout / 2);
        (layout % 2 ? m_landscape : m_portrait)->setChecked(true);
    } else {
        m_layoutList->setCurrentRow(layout - 9);
        m_portrait->setChecked(true);
    }
    (s.PaperSize == 1 ? m_a4 : m_letter)->setChecked(true);
    m_planner = layout > 17;
    m_dateCaption->setText(m_planner ? QStringLiteral("Select Starting Date") : QStringLiteral("Select Month & Year"));

    // Day 1 first, so a month change never meets a day the old month lacks; a date no
    // calendar holds is left as it was.
    const QDate first(s.MainCalYear, s.MainCalMonth, 1);
    if (first.isValid()) {
        m_monthCalendar->setSelectedDate(first);
        const QDate day(s.MainCalYear, s.MainCalMonth, s.MainCalDay);
        if (day.isValid())
            m_monthCalendar->setSelectedDate(day);
    }

    QStringList months, days;
    for (int i = 1; i <= 12; ++i)
        months << m_example->GetMonthName(i);
    for (int i = 1; i <= 7; ++i)
        days << m_example->GetDayName(i);
    m_monthMemo->setPlainText(months.join(QLatin1Char('\n')));
    m_dayMemo->setPlainText(days.join(QLatin1Char('\n')));
    m_monthMemo->document()->setModified(false);
    m_dayMemo->document()->setModified(false);

    if (QAbstractButton* b = m_weekStart->button(s.StartOfWeek == 1 ? 0 : 1))
        b->setChecked(true);
    m_monthCalendar->setFirstDayOfWeek(s.StartOfWeek == 1 ? Qt::Sunday : Qt::Monday);
    m_titleColor->setColor(s.TitleBGColor);
    m_headerColor->setColor(s.HeadersBGColor);
    m_miniHeaderColor->setColor(s.MiniHeadersBGColor);
    m_miniBackColor->setColor(s.MiniCalBGColor);
    m_titleFontColor->setColor(s.TitleFont.color);
    m_headerFontColor->setColor(s.HeadersFont.color);
    m_cellFontColor->setColor(s.CellFont.color);
    m_miniTitleFontColor->setColor(s.MiniTitleFont.color);
    m_miniHeaderFontColor->setColor(s.MiniHeadersFont.color);
    m_miniCellFontColor->setColor(s.MiniCellFont.color);
    m_headerStyle->setCurrentRow(int(s.HeadersStyle));
    m_miniHeaderStyle->setCurrentRow(int(s.MiniHeadersStyle));
    if (QAbstractButton* b = m_lineStyle->button(int(s.CalendarLineLayout)))
        b->setChecked(true);
    if (QAbstractButton* b = m_miniLineStyle->button(int(s.MiniCalendarLineLayout)))
        b->setChecked(true);
    m_dateLabel->setText(QLocale().toString(m_monthCalendar->selectedDate(), QStringLiteral("MMMM yyyy")));
    m_timeLabel->setText(formatShortTime(s.StartingTime));
    m_showYearInTitle->setChecked(s.TitleShowYear);
    m_showYearInMiniTitle->setChecked(s.MiniShowYear);
    const float margins[4] = {s.LeftMarginInch, s.TopMarginInch, s.RightMarginInch, s.BottomMarginInch};
    for (int i = 0; i < 4; ++i)
        m_margins[size_t(i)]->setCurrentIndex(marginIndex(margins[i]));
}

void TCalendarProperties::LayoutSelection()
{
    if (m_loading)
        return;
    m_example->SetPaperSize(m_a4->isChecked() ? 1 : 0);
    const int index = std::max(0, m_layoutList->currentRow());
    const int layout = index >= 9 ? index + 9 : 2 * index + (m_landscape->isChecked() ? 1 : 0);
    m_planner = layout > 17;
    m_dateCaption->setText(m_planner ? QStringLiteral("Select Starting Date") : QStringLiteral("Select Month & Year"));
    updateDateLabel();
    m_example->SetCalendarLayout(TCalendarLayout(layout));
    m_example->RecalcLayout(true);
    m_example->update();
    UpdateEnabledStates();
}

void TCalendarProperties::UpdateEnabledStates()
{
    const int layout = int(m_example->settings().CalendarLayout);
    const int family = m_example->LayoutFamily();
    const bool month = layout < 8;
    const bool titled = layout < 8 || layout > 17;
    const bool minis = layout >= 2 && layout <= 17;

    m_orientationGroup->setEnabled(family == 0 || family == 1);
    m_weekStartGroup->setEnabled(layout < 18);
    for (QWidget* w : std::initializer_list<QWidget*>{m_showYearInTitle, m_titleColor, m_cellFont, m_cellFontColor,
                                                      m_lineGroup})
        w->setEnabled(month);
    for (QWidget* w : std::initializer_list<QWidget*>{m_titleFont, m_titleFontColor, m_headerFont, m_headerFontColor,
                                                      m_headerColor, m_headerStyle})
        w->setEnabled(titled);
    for (QWidget* w : std::initializer_list<QWidget*>{m_showYearInMiniTitle, m_miniTitleFont, m_miniTitleFontColor,
                                                      m_miniHeaderFont, m_miniHeaderFontColor, m_miniHeaderColor,
                                                      m_miniCellFont, m_miniCellFontColor, m_miniBackColor,
                                                      m_miniHeaderStyle, m_miniLineGroup})
        w->setEnabled(minis);
    m_startingTime->setEnabled(family == 4 || family == 5);
}

void TCalendarProperties::updateDateLabel()
{
    const QDate d = m_monthCalendar->selectedDate();
    m_dateLabel->setText(m_planner ? QLocale().toString(d, QLocale::LongFormat)
                                   : QLocale().toString(d, QStringLiteral("MMMM yyyy")));
}

void TCalendarProperties::updateZoomLabel()
{
    m_zoomLabel->setText(QString::number(roundHalfEven(double(m_example->Zoom()) * 100)) + QLatin1Char('%'));
}

void TCalendarProperties::onZoomIn()
{
    const float z = m_example->Zoom();
    if (double(z) >= 1.0 - kZoomSlack)
        return;
    m_example->SetZoom(z + 0.1f);
    updateZoomLabel();
}

void TCalendarProperties::onZoomOut()
{
    const float z = m_example->Zoom();
    if (double(z) <= 0.2 + kZoomSlack)
        return;
    m_example->SetZoom(z - 0.1f);
    updateZoomLabel();
}

void TCalendarProperties::onDefaultClick()
{
    m_loading = true;
    m_example->ResetToDefaults();
    FillControls();
    SelectBorderItem();
    m_loading = false;
    LayoutSelection();
}

int TCalendarProperties::HelpContext() const
{
    const int page = m_tabs->currentIndex();
    return page == 9 ? HelpContexts::PropertiesBorders : HelpContexts::PropertiesLayout + std::clamp(page, 0, 8);
}

void TCalendarProperties::onOkClick()
{
    // Names typed just before Ok count even when the memo kept the focus.
    if (m_monthMemo->document()->isModified())
        applyMonthMemo();
    if (m_dayMemo->document()->isModified())
        applyDayMemo();

    if (m_layoutWarning && m_example->LayoutFamily() != m_familyAtOpening
        && !prompter().askYesNo(kLayoutWarning, kWarningCaption))
        return;

    const TCalendarSettings& s = m_example->settings();
    const std::array<float, 4> margins = {s.LeftMarginInch, s.TopMarginInch, s.RightMarginInch, s.BottomMarginInch};
    const bool pageChanged = margins != m_startMargins || s.CalendarLayout != m_startLayout
        || s.PaperSize != m_startPaper || s.CalendarOrientation != m_startOrientation
        || s.WMFBorderFile.isEmpty() != m_startBorder.isEmpty();
    if (m_objectsWarning && pageChanged && !prompter().askYesNo(kObjectsWarning, kWarningCaption))
        return;
    accept();
}
