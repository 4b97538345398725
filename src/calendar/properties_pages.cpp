// The ten pages of the properties dialog: their controls and what each control does
// to the preview page.
#include "calendar/calendar_panel.h"
#include "calendar/properties_dialog.h"
#include "calendar/set_time_dialog.h"
#include "platform/calendar_languages.h"
#include "platform/font_choice.h"
#include "widgets/color_button.h"

#include <QButtonGroup>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QGroupBox* radioGroup(QWidget* parent, const QString& title, const QStringList& items, QButtonGroup*& group,
                      const QString& namePrefix)
{
    auto* box = new QGroupBox(title, parent);
    auto* lay = new QVBoxLayout(box);
    group = new QButtonGroup(box);
    for (int i = 0; i < items.size(); ++i) {
        auto* rb = new QRadioButton(items[i], box);
        rb->setObjectName(namePrefix + QString::number(i));
        group->addButton(rb, i);
        lay->addWidget(rb);
    }
    lay->addStretch();
    return box;
}

QListWidget* namedList(QWidget* parent, const QString& name, const QStringList& items)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->addItems(items);
    return list;
}

QFont toQFont(const TCalFont& f)
{
    QFont q(f.name, f.size > 0 ? f.size : 10);
    q.setBold(f.bold);
    q.setItalic(f.italic);
    q.setUnderline(f.underline);
    q.setStrikeOut(f.strikeout);
    return q;
}

TCalFont fromQFont(const QFont& q, const TCalFont& old)
{
    TCalFont f = old; // the colour is the font colour button's business
    f.name = q.family();
    if (q.pointSize() > 0)
        f.size = q.pointSize();
    else if (q.pointSizeF() > 0)
        f.size = qRound(q.pointSizeF());
    f.bold = q.bold();
    f.italic = q.italic();
    f.underline = q.underline();
    f.strikeout = q.strikeOut();
    return f;
}

QStringList memoLines(const QPlainTextEdit* memo)
{
    // Lines as a text box counts them: a final line break does not start another line.
    QString text = memo->toPlainText();
    if (text.isEmpty())
        return {};
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text.split(QLatin1Char('\n'));
}

} // namespace

QWidget* TCalendarProperties::buildLayoutPage()
{
    auto* page = new QWidget;
    auto* lay = new QHBoxLayout(page);
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Select Layout"), page));
    m_layoutList = namedList(page, QStringLiteral("LayoutList"),
                             {QStringLiteral("1 Month Calendar "), QStringLiteral("1 Month Calendar, 2 Mini Calendars"),
                              QStringLiteral("1 Month Calendar, 6 Mini Calendars Before & After "),
                              QStringLiteral("1 Month Calendar, 12 Mini Calendars After "),
                              QStringLiteral("6 Month Calendar (Mini Calendars)"),
                              QStringLiteral("12 Month Calendar (Mini Calendars)"),
                              QStringLiteral("24 Month Calendar (Mini Calendars)"),
                              QStringLiteral("48 Month Calendar (Mini Calendars)"),
                              QStringLiteral("60 Month Calendar (Mini Calendars)"), QStringLiteral("One Week Planner"),
                              QStringLiteral("Two Week Planner"), QStringLiteral("Day Planner (10 hours) "),
                              QStringLiteral("Day Planner (15 hours) ")});
    left->addWidget(m_layoutList);
    lay->addLayout(left, 1);
    connect(m_layoutList, &QListWidget::currentRowChanged, this, [this] { LayoutSelection(); });

    auto* right = new QVBoxLayout;
    m_orientationGroup = new QGroupBox(QStringLiteral("Orientation"), page);
    m_orientationGroup->setObjectName(QStringLiteral("OrientationGroup"));
    auto* ol = new QVBoxLayout(m_orientationGroup);
    m_portrait = new QRadioButton(QStringLiteral("Portrait"), m_orientationGroup);
    m_landscape = new QRadioButton(QStringLiteral("Landscape"), m_orientationGroup);
    m_portrait->setObjectName(QStringLiteral("rbPortrait"));
    m_landscape->setObjectName(QStringLiteral("rbLandscape"));
    ol->addWidget(m_portrait);
    ol->addWidget(m_landscape);
    right->addWidget(m_orientationGroup);

    auto* paper = new QGroupBox(QStringLiteral("Paper"), page);
    paper->setObjectName(QStringLiteral("PaperGroup"));
    auto* pl = new QVBoxLayout(paper);
    m_letter = new QRadioButton(QStringLiteral("Letter"), paper);
    m_a4 = new QRadioButton(QStringLiteral("A4"), paper);
    m_letter->setObjectName(QStringLiteral("rbLetter"));
    m_a4->setObjectName(QStringLiteral("rbA4"));
    pl->addWidget(m_letter);
    pl->addWidget(m_a4);
    right->addWidget(paper);
    right->addStretch();
    lay->addLayout(right);
    for (QRadioButton* rb : {m_portrait, m_landscape, m_letter, m_a4})
        connect(rb, &QRadioButton::clicked, this, [this] { LayoutSelection(); });
    return page;
}

QWidget* TCalendarProperties::buildDatePage()
{
    auto* page = new QWidget;
    auto* lay = new QHBoxLayout(page);
    auto* left = new QVBoxLayout;
    // Shown as "Select Month & Year"; the doubled ampersand is the stored caption's escape.
    m_dateCaption = new QLabel(QStringLiteral("Select Month & Year"), page);
    m_dateCaption->setObjectName(QStringLiteral("DateCaption"));
    left->addWidget(m_dateCaption);
    m_monthCalendar = new QCalendarWidget(page);
    m_monthCalendar->setObjectName(QStringLiteral("MonthCalendar"));
    m_monthCalendar->setNavigationBarVisible(false);
    m_monthCalendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    m_monthCalendar->setGridVisible(false);
    left->addWidget(m_monthCalendar);
    connect(m_monthCalendar, &QCalendarWidget::selectionChanged, this, [this] { onCalendarDateChanged(); });

    auto* nav = new QHBoxLayout;
    const struct {
        const char* text;
        const char* name;
        int months;
    } steps[] = {{"<<", "btnPrevYear", -12}, {"<", "btnPrevMonth", -1}, {"Now", "btnNow", 0},
                 {">", "btnNextMonth", 1},   {">>", "btnNextYear", 12}};
    for (const auto& s : steps) {
        auto* b = new QPushButton(QString::fromLatin1(s.text), page);
        b->setObjectName(QString::fromLatin1(s.name));
        b->setAutoDefault(false);
        b->setMinimumWidth(34);
        const int months = s.months;
        connect(b, &QPushButton::clicked, this, [this, months] {
            const QDate d = months == 0 ? QDate::currentDate() : m_monthCalendar->selectedDate().addMonths(months);
            if (d.isValid())
                m_monthCalendar->setSelectedDate(d);
        });
        nav->addWidget(b);
    }
    left->addLayout(nav);
    m_dateLabel = new QLabel(page);
    m_dateLabel->setObjectName(QStringLiteral("DateLabel"));
    QFont bold = m_dateLabel->font();
    bold.setBold(true);
    m_dateLabel->setFont(bold);
    left->addWidget(m_dateLabel);
    left->addStretch();
    lay->addLayout(left, 1);

    auto* right = new QVBoxLayout;
    m_weekStartGroup = radioGroup(page, QStringLiteral("Week Starts On"),
                                  {QStringLiteral("Sunday"), QStringLiteral("Monday")}, m_weekStart,
                                  QStringLiteral("rbWeekStart"));
    m_weekStartGroup->setObjectName(QStringLiteral("WeekStartGroup"));
    connect(m_weekStart, &QButtonGroup::idClicked, this, [this](int id) { onWeekStartClicked(id); });
    right->addWidget(m_weekStartGroup);
    m_showYearInTitle = new QCheckBox(QStringLiteral("Show Year in Title"), page);
    m_showYearInTitle->setObjectName(QStringLiteral("cbShowYearInTitle"));
    m_showYearInMiniTitle = new QCheckBox(QStringLiteral("Show Year in Mini Title"), page);
    m_showYearInMiniTitle->setObjectName(QStringLiteral("cbShowYearInMiniTitle"));
    connect(m_showYearInTitle, &QCheckBox::clicked, this, [this](bool on) {
        if (!m_loading)
            m_example->SetTitleShowYear(on);
    });
    connect(m_showYearInMiniTitle, &QCheckBox::clicked, this, [this](bool on) {
        if (!m_loading)
            m_example->SetMiniShowYear(on);
    });
    right->addWidget(m_showYearInTitle);
    right->addWidget(m_showYearInMiniTitle);
    right->addStretch();
    lay->addLayout(right);
    return page;
}

void TCalendarProperties::onCalendarDateChanged()
{
    updateDateLabel();
    if (m_loading)
        return;
    const QDate d = m_monthCalendar->selectedDate();
    m_example->SetMainCalMonth(d.month());
    m_example->SetMainCalYear(d.year());
    m_example->SetMainCalDay(d.day());
}

void TCalendarProperties::onWeekStartClicked(int index)
{
    m_monthCalendar->setFirstDayOfWeek(index == 0 ? Qt::Sunday : Qt::Monday);
    if (!m_loading)
        m_example->SetStartOfWeek(index + 1);
}

void TCalendarProperties::chooseFont(const FontGetter& get, const FontSetter& set)
{
    if (m_loading)
        return;
    const TCalFont old = get();
    const std::optional<QFont> chosen = ChooseStoredFont(toQFont(old), QStringLiteral("Font"));
    if (chosen)
        set(fromQFont(*chosen, old));
}

namespace {
// One row of a fonts page: "Font", its colour, and optionally a background colour.
struct FontRow {
    QPushButton* font = nullptr;
    TColorButton* fontColor = nullptr;
    TColorButton* background = nullptr;
};
} // namespace

#define OV_FONT_ACCESS(Name)                                                                                     \
    [this] { return m_example->settings().Name; }, [this](const TCalFont& f) { m_example->Set##Name(f); }

static FontRow addFontRow(QWidget* page, QVBoxLayout* lay, const QString& title, const QString& name,
                          bool withBackground)
{
    auto* box = new QGroupBox(title, page);
    box->setObjectName(name + QStringLiteral("Group"));
    auto* row = new QHBoxLayout(box);
    FontRow r;
    r.font = new QPushButton(QStringLiteral("Font"), box);
    r.font->setObjectName(name + QStringLiteral("FontButton"));
    r.font->setAutoDefault(false);
    row->addWidget(r.font);
    r.fontColor = new TColorButton(QStringLiteral("Text Color"), box);
    r.fontColor->setObjectName(name + QStringLiteral("FontColorButton"));
    r.fontColor->setAutoDefault(false);
    r.fontColor->setToolTip(QStringLiteral("Color of the font"));
    row->addWidget(r.fontColor);
    if (withBackground) {
        r.background = new TColorButton(QStringLiteral("Background"), box);
        r.background->setObjectName(name + QStringLiteral("ColorButton"));
        r.background->setAutoDefault(false);
        row->addWidget(r.background);
    }
    row->addStretch();
    lay->addWidget(box);
    return r;
}

void TCalendarProperties::wireFont(QPushButton* button, TColorButton* colorButton, FontGetter get, FontSetter set)
{
    connect(button, &QPushButton::clicked, this, [this, get, set] { chooseFont(get, set); });
    connect(colorButton, &TColorButton::colorChanged, this, [this, get, set](TColor c) {
        if (m_loading)
            return;
        TCalFont f = get();
        f.color = c;
        set(f);
    });
}

void TCalendarProperties::wireColor(TColorButton* button, std::function<void(TColor)> set)
{
    connect(button, &TColorButton::colorChanged, this, [this, set](TColor c) {
        if (!m_loading)
            set(c);
    });
}

QWidget* TCalendarProperties::buildFontsPage()
{
    auto* page = new QWidget;
    auto* lay = new QVBoxLayout(page);
    FontRow title = addFontRow(page, lay, QStringLiteral("Title"), QStringLiteral("Title"), true);
    FontRow header = addFontRow(page, lay, QStringLiteral("Header"), QStringLiteral("Header"), true);
    FontRow cells = addFontRow(page, lay, QStringLiteral("Number Cells"), QStringLiteral("Cell"), false);
    lay->addStretch();
    m_titleFont = title.font;
    m_titleFontColor = title.fontColor;
    m_titleColor = title.background;
    m_headerFont = header.font;
    m_headerFontColor = header.fontColor;
    m_headerColor = header.background;
    m_cellFont = cells.font;
    m_cellFontColor = cells.fontColor;
    wireFont(m_titleFont, m_titleFontColor, OV_FONT_ACCESS(TitleFont));
    wireFont(m_headerFont, m_headerFontColor, OV_FONT_ACCESS(HeadersFont));
    wireFont(m_cellFont, m_cellFontColor, OV_FONT_ACCESS(CellFont));
    wireColor(m_titleColor, [this](TColor c) { m_example->SetTitleBGColor(c); });
    wireColor(m_headerColor, [this](TColor c) { m_example->SetHeadersBGColor(c); });
    return page;
}

QWidget* TCalendarProperties::buildMiniFontsPage()
{
    auto* page = new QWidget;
    auto* lay = new QVBoxLayout(page);
    FontRow title = addFontRow(page, lay, QStringLiteral("Mini Title"), QStringLiteral("MiniTitle"), false);
    FontRow header = addFontRow(page, lay, QStringLiteral("Mini Header"), QStringLiteral("MiniHeader"), true);
    FontRow cells = addFontRow(page, lay, QStringLiteral("Mini Number Cells"), QStringLiteral("MiniCell"), false);
    auto* back = new QGroupBox(QStringLiteral("Mini Calendar Background Color"), page);
    auto* bl = new QHBoxLayout(back);
    m_miniBackColor = new TColorButton(QStringLiteral("Background"), back);
    m_miniBackColor->setObjectName(QStringLiteral("MiniBackColorButton"));
    m_miniBackColor->setAutoDefault(false);
    bl->addWidget(m_miniBackColor);
    bl->addStretch();
    lay->addWidget(back);
    lay->addStretch();
    m_miniTitleFont = title.font;
    m_miniTitleFontColor = title.fontColor;
    m_miniHeaderFont = header.font;
    m_miniHeaderFontColor = header.fontColor;
    m_miniHeaderColor = header.background;
    m_miniCellFont = cells.font;
    m_miniCellFontColor = cells.fontColor;
    wireFont(m_miniTitleFont, m_miniTitleFontColor, OV_FONT_ACCESS(MiniTitleFont));
    wireFont(m_miniHeaderFont, m_miniHeaderFontColor, OV_FONT_ACCESS(MiniHeadersFont));
    wireFont(m_miniCellFont, m_miniCellFontColor, OV_FONT_ACCESS(MiniCellFont));
    wireColor(m_miniHeaderColor, [this](TColor c) { m_example->SetMiniHeadersBGColor(c); });
    wireColor(m_miniBackColor, [this](TColor c) { m_example->SetMiniCalBGColor(c); });
    return page;
}

QWidget* TCalendarProperties::buildHeadersPage()
{
    auto* page = new QWidget;
    auto* lay = new QHBoxLayout(page);
    const QStringList styles = {QStringLiteral("First Character"), QStringLiteral("First Three Characters"),
                                QStringLiteral("Whole Word")};
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Header Style"), page));
    m_headerStyle = namedList(page, QStringLiteral("HeaderStyleList"), styles);
    left->addWidget(m_headerStyle);
    lay->addLayout(left);
    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("Mini Header Style"), page));
    m_miniHeaderStyle = namedList(page, QStringLiteral("MiniHeaderStyleList"), styles);
    right->addWidget(m_miniHeaderStyle);
    lay->addLayout(right);
    connect(m_headerStyle, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_loading && row >= 0)
            m_example->SetHeadersStyle(TCalHeadersStyle(row));
    });
    connect(m_miniHeaderStyle, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_loading && row >= 0)
            m_example->SetMiniHeadersStyle(TCalHeadersStyle(row));
    });
    return page;
}

QWidget* TCalendarProperties::buildLinesPage()
{
    auto* page = new QWidget;
    auto* lay = new QHBoxLayout(page);
    m_lineGroup = radioGroup(page, QStringLiteral("Calendar Line Style"),
                             {QStringLiteral("Full"), QStringLiteral("Headers && Cells"), QStringLiteral("Cells Only")},
                             m_lineStyle, QStringLiteral("rbLine"));
    m_lineGroup->setObjectName(QStringLiteral("LineStyleGroup"));
    m_miniLineGroup = radioGroup(page, QStringLiteral("Mini-Calendar Line Style"),
                                 {QStringLiteral("Full"), QStringLiteral("Boxed"), QStringLiteral("Minimal")},
                                 m_miniLineStyle, QStringLiteral("rbMiniLine"));
    m_miniLineGroup->setObjectName(QStringLiteral("MiniLineStyleGroup"));
    lay->addWidget(m_lineGroup);
    lay->addWidget(m_miniLineGroup);
    connect(m_lineStyle, &QButtonGroup::idClicked, this, [this](int id) {
        if (!m_loading)
            m_example->SetCalendarLineLayout(TCalendarLineLayout(id));
    });
    connect(m_miniLineStyle, &QButtonGroup::idClicked, this, [this](int id) {
        if (!m_loading)
            m_example->SetMiniCalendarLineLayout(TMiniCalendarLineLayout(id));
    });
    return page;
}

QWidget* TCalendarProperties::buildPlannersPage()
{
    auto* page = new QWidget;
    auto* lay = new QVBoxLayout(page);
    auto* box = new QGroupBox(QStringLiteral("Starting Time (for day planners)"), page);
    auto* row = new QHBoxLayout(box);
    m_startingTime = new QPushButton(QStringLiteral("Set Time..."), box);
    m_startingTime->setObjectName(QStringLiteral("StartingTimeButton"));
    m_startingTime->setAutoDefault(false);
    m_timeLabel = new QLabel(box);
    m_timeLabel->setObjectName(QStringLiteral("TimeLabel"));
    row->addWidget(m_startingTime);
    row->addWidget(m_timeLabel);
    row->addStretch();
    lay->addWidget(box);
    auto* note = new QLabel(QStringLiteral("*(Note: This setting only applies if you have selected one of the two Day "
                                           "Planners from the Layout tab)"),
                            page);
    note->setWordWrap(true);
    lay->addWidget(note);
    lay->addStretch();
    connect(m_startingTime, &QPushButton::clicked, this, [this] { onStartingTimeClick(); });
    return page;
}

QString TCalendarProperties::shortTimeFormat()
{
    // The locale's short time, hours and minutes only (some locales add seconds).
    QString format = QLocale().timeFormat(QLocale::ShortFormat);
    format.remove(QStringLiteral(":ss"));
    format.remove(QStringLiteral(".ss"));
    return format;
}

QString TCalendarProperties::formatShortTime(const QTime& t) { return QLocale().toString(t, shortTimeFormat()); }

void TCalendarProperties::onStartingTimeClick()
{
    QTime t = QLocale().toTime(m_timeLabel->text(), shortTimeFormat());
    if (!t.isValid()) {
        t = QTime::currentTime();
        m_timeLabel->setText(formatShortTime(t));
    }
    TSetTimeDialog dlg(this);
    dlg.SetTime(t);
    if (dlg.exec() != QDialog::Accepted)
        return;
    m_timeLabel->setText(formatShortTime(dlg.Time()));
    if (!m_loading)
        m_example->SetStartingTime(dlg.Time());
}

QWidget* TCalendarProperties::buildLanguagePage()
{
    auto* page = new QWidget;
    auto* lay = new QHBoxLayout(page);
    auto* months = new QVBoxLayout;
    months->addWidget(new QLabel(QStringLiteral("Month Names"), page));
    m_monthMemo = new QPlainTextEdit(page);
    m_monthMemo->setObjectName(QStringLiteral("MonthNamesMemo"));
    m_monthMemo->setPlainText(calendarLanguage(TCalendarLanguageId::English).monthNames.join(QLatin1Char('\n')));
    months->addWidget(m_monthMemo);
    lay->addLayout(months);
    auto* days = new QVBoxLayout;
    days->addWidget(new QLabel(QStringLiteral("Day Names"), page));
    m_dayMemo = new QPlainTextEdit(page);
    m_dayMemo->setObjectName(QStringLiteral("DayNamesMemo"));
    m_dayMemo->setPlainText(calendarLanguage(TCalendarLanguageId::English).dayNames.join(QLatin1Char('\n')));
    days->addWidget(m_dayMemo);
    lay->addLayout(days);
    for (QPlainTextEdit* memo : {m_monthMemo, m_dayMemo}) {
        memo->setLineWrapMode(QPlainTextEdit::NoWrap);
        memo->installEventFilter(this);
    }
    auto* buttons = new QVBoxLayout;
    static const char* names[kCalendarLanguageCount] = {"btnEnglish", "btnFrench", "btnGerman", "btnItalian",
                                                        "btnSpanish"};
    for (int i = 0; i < kCalendarLanguageCount; ++i) {
        auto* b = new QPushButton(calendarLanguage(TCalendarLanguageId(i)).buttonCaption, page);
        b->setObjectName(QString::fromLatin1(names[i]));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, i] { applyLanguage(i); });
        buttons->addWidget(b);
    }
    buttons->addStretch();
    lay->addLayout(buttons);
    return page;
}

bool TCalendarProperties::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        if (watched == m_monthMemo)
            applyMonthMemo();
        else if (watched == m_dayMemo)
            applyDayMemo();
    }
    return QDialog::eventFilter(watched, event);
}

void TCalendarProperties::applyMonthMemo()
{
    if (m_loading)
        return;
    const QStringList lines = memoLines(m_monthMemo);
    for (int i = 0; i < 12 && i < lines.size(); ++i)
        m_example->SetMonthName(i + 1, lines[i]);
    m_monthMemo->document()->setModified(false);
}

void TCalendarProperties::applyDayMemo()
{
    if (m_loading)
        return;
    const QStringList lines = memoLines(m_dayMemo);
    for (int i = 0; i < 7 && i < lines.size(); ++i)
        m_example->SetDayName(i + 1, lines[i]);
    m_dayMemo->document()->setModified(false);
}

void TCalendarProperties::applyLanguage(int language)
{
    const TCalendarLanguage& lang = calendarLanguage(TCalendarLanguageId(language));
    m_monthMemo->setPlainText(lang.monthNames.join(QLatin1Char('\n')));
    m_dayMemo->setPlainText(lang.dayNames.join(QLatin1Char('\n')));
    applyMonthMemo();
    applyDayMemo();
}

const QStringList& TCalendarProperties::inchTexts()
{
    static const QStringList texts = {QString::fromUtf8("¼ Inch"), QString::fromUtf8("½ Inch"),
                                      QString::fromUtf8("¾ Inch"), QStringLiteral("1 Inch"),
                                      QString::fromUtf8("1¼ Inch"), QString::fromUtf8("1½ Inch")};
    return texts;
}

const QStringList& TCalendarProperties::millimeterTexts()
{
    static const QStringList texts = {QStringLiteral("6 mm"),  QStringLiteral("13 mm"), QStringLiteral("19 mm"),
                                      QStringLiteral("25 mm"), QStringLiteral("32 mm"), QStringLiteral("38 mm")};
    return texts;
}

int TCalendarProperties::marginIndex(float inches)
{
    if (inches < 0.5f)
        return 0;
    if (inches < 0.75f)
        return 1;
    if (inches < 1.0f)
        return 2;
    if (inches < 1.25f)
        return 3;
    if (inches < 1.5f)
        return 4;
    return 5;
}

QWidget* TCalendarProperties::buildMarginsPage()
{
    auto* page = new QWidget;
    auto* lay = new QVBoxLayout(page);
    auto* units = new QHBoxLayout;
    m_useInches = new QRadioButton(QStringLiteral("Use Inches"), page);
    m_useMillimeters = new QRadioButton(QStringLiteral("Use Millimeters"), page);
    m_useInches->setObjectName(QStringLiteral("rbInches"));
    m_useMillimeters->setObjectName(QStringLiteral("rbMillimeters"));
    m_useInches->setChecked(true);
    units->addWidget(m_useInches);
    units->addWidget(m_useMillimeters);
    units->addStretch();
    lay->addLayout(units);
    connect(m_useInches, &QRadioButton::toggled, this, [this] { onUnitsChanged(); });

    auto* grid = new QGridLayout;
    const char* titles[4] = {"Left Margin", "Top Margin", "Right Margin", "Bottom Margin"};
    const char* names[4] = {"LeftMarginList", "TopMarginList", "RightMarginList", "BottomMarginList"};
    for (int side = 0; side < 4; ++side) {
        grid->addWidget(new QLabel(QString::fromLatin1(titles[side]), page), side / 2 * 2, side % 2);
        auto* combo = new QComboBox(page);
        combo->setObjectName(QString::fromLatin1(names[side]));
        combo->addItems(inchTexts());
        grid->addWidget(combo, side / 2 * 2 + 1, side % 2);
        // "activated" also fires when the shown item is chosen again: that sets the exact value.
        connect(combo, &QComboBox::activated, this, [this, side](int index) { onMarginActivated(side, index); });
        m_margins[size_t(side)] = combo;
    }
    grid->setColumnStretch(2, 1);
    lay->addLayout(grid);
    lay->addStretch();
    return page;
}

void TCalendarProperties::onMarginActivated(int side, int index)
{
    if (m_loading || index < 0 || index > 5)
        return;
    static constexpr float values[6] = {0.25f, 0.5f, 0.75f, 1.0f, 1.25f, 1.5f};
    const float v = values[index];
    switch (side) {
    case 0: m_example->SetLeftMarginInch(v); break;
    case 1: m_example->SetTopMarginInch(v); break;
    case 2: m_example->SetRightMarginInch(v); break;
    default: m_example->SetBottomMarginInch(v); break;
    }
}

void TCalendarProperties::onUnitsChanged()
{
    const QStringList& texts = m_useInches->isChecked() ? inchTexts() : millimeterTexts();
    for (QComboBox* combo : m_margins)
        for (int i = 0; i < texts.size() && i < combo->count(); ++i)
            combo->setItemText(i, texts[i]);
}

QWidget* TCalendarProperties::buildBordersPage()
{
    auto* page = new QWidget;
    auto* lay = new QVBoxLayout(page);
    m_borderList = new QListWidget(page);
    m_borderList->setObjectName(QStringLiteral("BorderList"));
    lay->addWidget(m_borderList);
    const QDir folder(TCalendarPage::BorderFolder());
    if (!folder.exists()) {
        m_borderList->setEnabled(false);
    } else {
        m_borderList->addItem(QStringLiteral(" [No Special Border]"));
        // Sorted by name so the list reads the same on every file system.
        const QStringList files = folder.entryList({QStringLiteral("*.wls")}, QDir::Files | QDir::Readable,
                                                   QDir::Name | QDir::IgnoreCase);
        for (const QString& f : files)
            m_borderList->addItem(f.section(QLatin1Char('.'), 0, 0));
    }
    connect(m_borderList, &QListWidget::currentRowChanged, this, [this](int row) { onBorderChosen(row); });
    return page;
}

void TCalendarProperties::onBorderChosen(int row)
{
    if (m_loading || row < 0)
        return;
    m_example->SetWMFBorderFile(row == 0 ? QString() : m_borderList->item(row)->text());
}

void TCalendarProperties::SelectBorderItem()
{
    if (m_borderList->count() == 0)
        return;
    const bool wasLoading = m_loading;
    m_loading = true;
    int row = 0;
    const QString& name = m_example->settings().WMFBorderFile;
    for (int i = 1; i < m_borderList->count(); ++i)
        if (m_borderList->item(i)->text().compare(name, Qt::CaseInsensitive) == 0) {
            row = i;
            break;
        }
    m_borderList->setCurrentRow(row);
    m_loading = wasLoading;
}
