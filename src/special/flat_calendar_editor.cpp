#include "flat_calendar_editor.h"

#include "objects/object_font.h"
#include "platform/help_contexts.h"
#include "platform/shell_helpers.h"
#include "special/flat_calendar.h"
#include "widgets/color_button.h"
#include "widgets/dialog_help.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const QStringList kBorderChoices{QStringLiteral("None"), QStringLiteral("All"), QStringLiteral("Top"),
                                 QStringLiteral("Bottom"), QStringLiteral("Top & Bottom")};
constexpr int kFirstYear = 1950;
constexpr int kLastYear = 2500;

// The year the spinner starts with: this year, or 1998 when the date cannot be read.
int currentYear()
{
    bool ok = false;
    const int year = QDate::currentDate().toString(QStringLiteral("yyyy")).toInt(&ok);
    return ok ? year : 1998;
}

QPushButton* dialogButton(const QString& text, const QString& name, QWidget* parent)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}
} // namespace

TFlatCalendarEditor::TFlatCalendarEditor(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FlatCalendarEditor"));
    setWindowTitle(QStringLiteral("Floating Calendar Properties"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, true);

    // The preview sits in a white box that scrolls when the calendar is large.
    Sample = new TGFlatCalendar;
    Sample->setObjectName(QStringLiteral("Sample"));
    m_sampleBox = new QScrollArea(this);
    m_sampleBox->setObjectName(QStringLiteral("SampleBox"));
    m_sampleBox->setWidget(Sample);
    m_sampleBox->setWidgetResizable(false);
    m_sampleBox->setAlignment(Qt::AlignCenter);
    m_sampleBox->setMinimumSize(250, 230);
    QPalette white = m_sampleBox->palette();
    white.setColor(QPalette::Window, Qt::white);
    m_sampleBox->setPalette(white);
    m_sampleBox->setBackgroundRole(QPalette::Window);
    m_sampleBox->viewport()->setAutoFillBackground(true);
    m_sampleBox->viewport()->setPalette(white);

    auto* outer = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(m_sampleBox, 1);
    top->addWidget(buildMiscellaneous());
    outer->addLayout(top, 1);
    auto* groups = new QHBoxLayout;
    groups->addWidget(buildFonts());
    groups->addWidget(buildBorders());
    groups->addWidget(buildColors());
    groups->addWidget(buildShadow());
    outer->addLayout(groups);

    auto* buttons = new QHBoxLayout;
    QPushButton* ok = dialogButton(QStringLiteral("Ok"), QStringLiteral("OkButton"), this);
    ok->setDefault(true);
    QPushButton* cancel = dialogButton(QStringLiteral("Cancel"), QStringLiteral("CancelButton"), this);
    QPushButton* help = dialogButton(QStringLiteral("Help"), QStringLiteral("HelpButton"), this);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    buttons->addWidget(createWhatsThisButton(this));
    outer->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    attachHelp(this, HelpContexts::FloatingCalendarProperties, help);

    // Controls write to Sample only once they have been loaded from it.
    YearSpinner->setValue(currentYear());
    CenterForm(this);
}

void TFlatCalendarEditor::edit(const std::function<void(TGFlatCalendar&)>& change)
{
    if (!m_loading)
        change(*Sample);
}

QComboBox* TFlatCalendarEditor::combo(const QString& name, const QStringList& items, std::function<void(int)> apply)
{
    auto* c = new QComboBox(this);
    c->setObjectName(name);
    c->addItems(items);
    connect(c, &QComboBox::currentIndexChanged, this, [this, apply = std::move(apply)](int i) {
        if (i >= 0)
            edit([&](TGFlatCalendar&) { apply(i); });
    });
    return c;
}

TColorButton* TFlatCalendarEditor::colorButton(const QString& text, const QString& name,
                                               std::function<void(TGFlatCalendar&, TColor)> apply)
{
    auto* b = new TColorButton(text, this);
    b->setObjectName(name);
    b->setAutoDefault(false);
    connect(b, &TColorButton::colorChanged, this,
            [this, apply = std::move(apply)](TColor c) { edit([&](TGFlatCalendar& s) { apply(s, c); }); });
    return b;
}

QPushButton* TFlatCalendarEditor::fontButton(const QString& text, const QString& name, FontGetter get, FontSetter set)
{
    QPushButton* button = dialogButton(text, name, this);
    connect(button, &QPushButton::clicked, this, [this, get, set] {
        if (const auto chosen = ChooseObjectFont(get(*Sample), TGGraphicControl::ppi(), QStringLiteral("Font")))
            edit([&](TGFlatCalendar& s) { set(s, *chosen); });
    });
    return button;
}

// --- Groups --------------------------------------------------------------------------------

QWidget* TFlatCalendarEditor::buildMiscellaneous()
{
    auto* box = new QGroupBox(QStringLiteral("Miscellaneous"), this);
    auto* grid = new QGridLayout(box);
    QStringList months;
    for (int m = 1; m <= 12; ++m)
        months << flatCalendarMonthNames(TFlatCalLanguage::fclEnglish)[m - 1];
    MonthCombo = combo(QStringLiteral("MonthCombo"), months,
                       [this](int i) { Sample->SetMonth(i + 1); });
    YearSpinner = new QSpinBox(box);
    YearSpinner->setObjectName(QStringLiteral("YearSpinner"));
    YearSpinner->setRange(kFirstYear, kLastYear);
    connect(YearSpinner, &QSpinBox::valueChanged, this,
            [this](int y) { edit([y](TGFlatCalendar& s) { s.SetYear(y); }); });
    auto* yearCaption = new QLabel(QStringLiteral("Year"), box);
    yearCaption->setBuddy(YearSpinner);

    auto* weekBox = new QGroupBox(QStringLiteral("Week Starts On"), box);
    weekBox->setObjectName(QStringLiteral("WeekStartsOn"));
    auto* weekRow = new QHBoxLayout(weekBox);
    WeekStartsOn = new QButtonGroup(weekBox);
    const QStringList days{QStringLiteral("Sunday"), QStringLiteral("Monday")};
    for (int i = 0; i < days.size(); ++i) {
        auto* radio = new QRadioButton(days[i], weekBox);
        radio->setObjectName(QStringLiteral("WeekStartsOn") + days[i]);
        WeekStartsOn->addButton(radio, i);
        weekRow->addWidget(radio);
    }
    connect(WeekStartsOn, &QButtonGroup::idClicked, this,
            [this](int i) { edit([i](TGFlatCalendar& s) { s.SetStartOfWeek(i + 1); }); });

    ShowtitleInyearCheck = new QCheckBox(QStringLiteral("Show Year in Title"), box);
    ShowtitleInyearCheck->setObjectName(QStringLiteral("ShowtitleInyearCheck"));
    connect(ShowtitleInyearCheck, &QCheckBox::toggled, this,
            [this](bool on) { edit([on](TGFlatCalendar& s) { s.SetShowYear(on); }); });

    HeadersStyleCombo = combo(QStringLiteral("HeadersStyleCombo"),
                              {QStringLiteral("First Character"), QStringLiteral("First Three Characters"),
                               QStringLiteral("Whole Word")},
                              [this](int i) { Sample->SetDayNameStyle(TFlatCalHeadersStyle(i)); });
    LanguageCombo = combo(QStringLiteral("LanguageCombo"),
                          {QStringLiteral("English"), QStringLiteral("Deutsch"), QString::fromUtf8("Français"),
                           QStringLiteral("L'italiano"), QString::fromUtf8("Español")},
                          [this](int i) { Sample->SetLanguage(TFlatCalLanguage(i)); });

    grid->addWidget(MonthCombo, 0, 0, 1, 2);
    grid->addWidget(yearCaption, 1, 0);
    grid->addWidget(YearSpinner, 1, 1);
    grid->addWidget(weekBox, 2, 0, 1, 2);
    grid->addWidget(ShowtitleInyearCheck, 3, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Header Style"), box), 4, 0, 1, 2);
    grid->addWidget(HeadersStyleCombo, 5, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Language"), box), 6, 0, 1, 2);
    grid->addWidget(LanguageCombo, 7, 0, 1, 2);
    grid->setRowStretch(8, 1);
    return box;
}

QWidget* TFlatCalendarEditor::buildFonts()
{
    auto* box = new QGroupBox(QStringLiteral("Fonts"), this);
    auto* column = new QVBoxLayout(box);
    TitleFontbutton = fontButton(
        QStringLiteral("Title Font"), QStringLiteral("TitleFontbutton"),
        [](const TGFlatCalendar& s) -> const TObjectFont& { return s.TitleFont(); },
        [](TGFlatCalendar& s, const TObjectFont& f) { s.SetTitleFont(f); });
    HeaderFontbutton = fontButton(
        QStringLiteral("Header Font"), QStringLiteral("HeaderFontbutton"),
        [](const TGFlatCalendar& s) -> const TObjectFont& { return s.DayNameFont(); },
        [](TGFlatCalendar& s, const TObjectFont& f) { s.SetDayNameFont(f); });
    CellFontbutton = fontButton(
        QStringLiteral("Cell Font"), QStringLiteral("CellFontbutton"),
        [](const TGFlatCalendar& s) -> const TObjectFont& { return s.CellFont(); },
        [](TGFlatCalendar& s, const TObjectFont& f) { s.SetCellFont(f); });
    for (QPushButton* b : {TitleFontbutton, HeaderFontbutton, CellFontbutton})
        column->addWidget(b);
    column->addStretch(1);
    return box;
}

QWidget* TFlatCalendarEditor::buildBorders()
{
    auto* box = new QGroupBox(QStringLiteral("Borders"), this);
    auto* grid = new QGridLayout(box);
    CalendarBorderCombo = combo(QStringLiteral("CalendarBorderCombo"), kBorderChoices,
                                [this](int i) { Sample->SetCalendarBorderStyle(TFlatCalBorderStyle(i)); });
    HeaderBorderCombo = combo(QStringLiteral("HeaderBorderCombo"), kBorderChoices,
                              [this](int i) { Sample->SetDayNameBorderStyle(TFlatCalBorderStyle(i)); });
    CellBorderCombo = combo(QStringLiteral("CellBorderCombo"), kBorderChoices,
                            [this](int i) { Sample->SetCellBorderStyle(TFlatCalBorderStyle(i)); });
    const std::pair<const char*, QComboBox*> rows[] = {
        {"Calendar ", CalendarBorderCombo}, {"Header", HeaderBorderCombo}, {"Cell ", CellBorderCombo}};
    int row = 0;
    for (const auto& [caption, c] : rows) {
        auto* label = new QLabel(QString::fromLatin1(caption), box);
        label->setBuddy(c);
        grid->addWidget(label, row, 0);
        grid->addWidget(c, row++, 1);
    }
    grid->setRowStretch(row, 1);
    return box;
}

QWidget* TFlatCalendarEditor::buildColors()
{
    auto* box = new QGroupBox(QStringLiteral("Colors"), this);
    auto* column = new QVBoxLayout(box);
    TitleBackgroundbutton = colorButton(QStringLiteral("Title Background"), QStringLiteral("TitleBackgroundbutton"),
                                        [](TGFlatCalendar& s, TColor c) { s.SetTitleBGcolor(c); });
    HeaderBackgroundButton = colorButton(QStringLiteral("Header Background "), QStringLiteral("HeaderBackgroundButton"),
                                         [](TGFlatCalendar& s, TColor c) { s.SetDayNameBGColor(c); });
    Bodybackgroundbutton = colorButton(QStringLiteral("Body Background "), QStringLiteral("Bodybackgroundbutton"),
                                       [](TGFlatCalendar& s, TColor c) { s.SetBackgroundcolor(c); });
    TransparentCheck = new QCheckBox(QStringLiteral("Transparent"), box);
    TransparentCheck->setObjectName(QStringLiteral("TransparentCheck"));
    connect(TransparentCheck, &QCheckBox::toggled, this,
            [this](bool on) { edit([on](TGFlatCalendar& s) { s.SetCalTransparent(on); }); });
    for (QWidget* w : {static_cast<QWidget*>(TitleBackgroundbutton), static_cast<QWidget*>(HeaderBackgroundButton),
                       static_cast<QWidget*>(Bodybackgroundbutton), static_cast<QWidget*>(TransparentCheck)})
        column->addWidget(w);
    column->addStretch(1);
    return box;
}

QWidget* TFlatCalendarEditor::buildShadow()
{
    auto* box = new QGroupBox(QStringLiteral("Shadow"), this);
    auto* grid = new QGridLayout(box);
    ShadowColorButton = colorButton(QStringLiteral("Color"), QStringLiteral("ShadowColorButton"),
                                    [](TGFlatCalendar& s, TColor c) { s.SetShadowColor(c); });
    ShadowOrientationCombo = combo(QStringLiteral("ShadowOrientationCombo"),
                                   {QStringLiteral("Lower Right"), QStringLiteral("Lower Left"),
                                    QStringLiteral("UpperRight"), QStringLiteral("UpperLeft")},
                                   [this](int i) { Sample->SetShadowPosition(TFlatShadowPosition(i)); });
    ShadowDepthSpinner = new QSpinBox(box);
    ShadowDepthSpinner->setObjectName(QStringLiteral("ShadowDepthSpinner"));
    ShadowDepthSpinner->setRange(0, 10);
    connect(ShadowDepthSpinner, &QSpinBox::valueChanged, this,
            [this](int d) { edit([d](TGFlatCalendar& s) { s.SetShadowDepth(d); }); });
    auto* orientation = new QLabel(QStringLiteral("Orientation"), box);
    orientation->setBuddy(ShadowOrientationCombo);
    auto* depth = new QLabel(QStringLiteral("Depth"), box);
    depth->setBuddy(ShadowDepthSpinner);
    grid->addWidget(ShadowColorButton, 0, 0, 1, 2);
    grid->addWidget(orientation, 1, 0);
    grid->addWidget(ShadowOrientationCombo, 1, 1);
    grid->addWidget(depth, 2, 0);
    grid->addWidget(ShadowDepthSpinner, 2, 1);
    grid->setRowStretch(3, 1);
    return box;
}

// --- Activation ----------------------------------------------------------------------------

void TFlatCalendarEditor::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_activated) {
        m_activated = true;
        FormActivate();
    }
}

void TFlatCalendarEditor::FormActivate()
{
    m_loading = true;
    const TGFlatCalendar& s = *Sample;
    if (s.Month() >= 1 && s.Month() <= 12)
        MonthCombo->setCurrentIndex(s.Month() - 1);
    else
        MonthCombo->setCurrentIndex(-1);
    // A year from a file may lie outside the spinner's range; show it as it is.
    YearSpinner->setRange(std::min(kFirstYear, s.Year()), std::max(kLastYear, s.Year()));
    YearSpinner->setValue(s.Year());
    WeekStartsOn->button(s.StartOfWeek() == 2 ? 1 : 0)->setChecked(true);
    ShowtitleInyearCheck->setChecked(s.ShowYear());
    HeadersStyleCombo->setCurrentIndex(int(s.DayNameStyle()));
    LanguageCombo->setCurrentIndex(int(s.Language()));
    CalendarBorderCombo->setCurrentIndex(int(s.CalendarBorderStyle()));
    HeaderBorderCombo->setCurrentIndex(int(s.DayNameBorderStyle()));
    CellBorderCombo->setCurrentIndex(int(s.CellBorderStyle()));
    TitleBackgroundbutton->setColor(s.TitleBGcolor());
    HeaderBackgroundButton->setColor(s.DayNameBGColor());
    Bodybackgroundbutton->setColor(s.Backgroundcolor());
    TransparentCheck->setChecked(s.CalTransparent());
    ShadowColorButton->setColor(s.ShadowColor());
    ShadowOrientationCombo->setCurrentIndex(int(s.ShadowPosition()));
    // Depths below 0 from a file show as 0 but stay until the spinner is used.
    ShadowDepthSpinner->setValue(s.ShadowDepth());
    m_loading = false;
}
