#include "assistant_tip_form.h"

#include "platform/help_contexts.h"
#include "platform/help_request.h"
#include "shell/tips_paging.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QStackedWidget>
#include <QStyleOptionButton>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

constexpr int kWidth = 280;
constexpr int kHeight = 380;
constexpr int kAnswerWidth = 250;
constexpr int kAnswerHeight = 220;

// A flat button whose text wraps, as a topic title needs.
class TopicButton : public QPushButton {
public:
    explicit TopicButton(QWidget* parent) : QPushButton(parent)
    {
        setFlat(true);
        setCursor(Qt::PointingHandCursor);
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Minimum);
    }
    QSize sizeHint() const override
    {
        const int w = kAnswerWidth - 16;
        const QRect r = fontMetrics().boundingRect(QRect(0, 0, w, 1000), Qt::TextWordWrap, text());
        return {w + 16, r.height() + 8};
    }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        QFont f = font();
        f.setUnderline(underMouse());
        p.setFont(f);
        p.setPen(palette().color(QPalette::Link));
        p.drawText(rect().adjusted(14, 4, -2, -4), Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, text());
        p.setBrush(palette().color(QPalette::Link));
        p.drawEllipse(QPoint(6, 4 + fontMetrics().height() / 2), 2, 2);
    }
};

QPushButton* pushButton(const QString& text, const QString& name, QWidget* parent)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QLabel* captionLabel(const QString& name, QWidget* parent)
{
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setWordWrap(true);
    QFont bold = l->font();
    bold.setBold(true);
    l->setFont(bold);
    return l;
}

} // namespace

TAssistantTipForm::TAssistantTipForm(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("AssistantTipForm"));
    setWindowTitle(QStringLiteral("Assistant"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::ToolTipBase));
    pal.setColor(QPalette::WindowText, pal.color(QPalette::ToolTipText));
    setPalette(pal);
    setCursor(Qt::ArrowCursor);
    setFixedSize(kWidth, kHeight);

    TitlePanel = new QLabel(QStringLiteral("Assistant"), this);
    TitlePanel->setObjectName(QStringLiteral("TitlePanel"));
    TitlePanel->setAlignment(Qt::AlignCenter);
    TitlePanel->setAutoFillBackground(true);
    QPalette titlePal = TitlePanel->palette();
    titlePal.setColor(QPalette::Window, titlePal.color(QPalette::Highlight));
    titlePal.setColor(QPalette::WindowText, titlePal.color(QPalette::HighlightedText));
    TitlePanel->setPalette(titlePal);
    QFont titleFont = TitlePanel->font();
    titleFont.setBold(true);
    TitlePanel->setFont(titleFont);
    TitlePanel->setMinimumHeight(24);
    TitlePanel->setCursor(Qt::SizeAllCursor);
    TitlePanel->installEventFilter(this);

    Pages = new QStackedWidget(this);
    Pages->setObjectName(QStringLiteral("Pages"));

    auto* main = new QWidget(Pages);
    main->setObjectName(QStringLiteral("Main"));
    auto* mainLayout = new QVBoxLayout(main);
    mainLayout->setContentsMargins(0, 0, 0, 0);
    mainLayout->setSpacing(2);
    PreviousButton = pushButton(QStringLiteral("Previous"), QStringLiteral("PreviousButton"), main);
    mainLayout->addWidget(PreviousButton, 0, Qt::AlignLeft);
    for (int i = 0; i < 5; ++i) {
        TopicButtons[i] = new TopicButton(main);
        TopicButtons[i]->setObjectName(QStringLiteral("TopicButton%1").arg(i + 1));
        mainLayout->addWidget(TopicButtons[i]);
        connect(TopicButtons[i], &QPushButton::clicked, this,
                [this, i] { showTopic(TopicButtons[i]->property("topic").toInt()); });
    }
    MoreButton = pushButton(QStringLiteral("More"), QStringLiteral("MoreButton"), main);
    mainLayout->addWidget(MoreButton, 0, Qt::AlignLeft);
    mainLayout->addStretch(1);
    SeeAlsoLabel = new QLabel(QStringLiteral("<a href=\"faq\">See also: Frequently Asked Questions</a>"), main);
    SeeAlsoLabel->setObjectName(QStringLiteral("SeeAlsoLabel"));
    SeeAlsoLabel->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    mainLayout->addWidget(SeeAlsoLabel);

    auto* labelPage = new QWidget(Pages);
    labelPage->setObjectName(QStringLiteral("LabelPage"));
    auto* labelLayout = new QVBoxLayout(labelPage);
    labelLayout->setContentsMargins(0, 0, 0, 0);
    LabelCaption = captionLabel(QStringLiteral("LabelCaption"), labelPage);
    AnswerLabel = new QLabel(labelPage);
    AnswerLabel->setObjectName(QStringLiteral("AnswerLabel"));
    AnswerLabel->setWordWrap(true);
    AnswerLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    AnswerLabel->setFixedSize(kAnswerWidth, kAnswerHeight);
    labelLayout->addWidget(LabelCaption);
    labelLayout->addWidget(AnswerLabel);
    labelLayout->addStretch(1);

    auto* memoPage = new QWidget(Pages);
    memoPage->setObjectName(QStringLiteral("MemoPage"));
    auto* memoLayout = new QVBoxLayout(memoPage);
    memoLayout->setContentsMargins(0, 0, 0, 0);
    MemoCaption = captionLabel(QStringLiteral("MemoCaption"), memoPage);
    AnswerMemo = new QTextEdit(memoPage);
    AnswerMemo->setObjectName(QStringLiteral("AnswerMemo"));
    AnswerMemo->setReadOnly(true);
    AnswerMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memoLayout->addWidget(MemoCaption);
    memoLayout->addWidget(AnswerMemo, 1);

    Pages->addWidget(main);
    Pages->addWidget(labelPage);
    Pages->addWidget(memoPage);

    BackButton = pushButton(QStringLiteral("Back  "), QStringLiteral("BackButton"), this);
    CloseButton = pushButton(QStringLiteral("Close"), QStringLiteral("CloseButton"), this);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(BackButton);
    bottom->addStretch(1);
    bottom->addWidget(CloseButton);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 8, 10, 10);
    layout->addWidget(TitlePanel);
    layout->addWidget(Pages, 1);
    layout->addLayout(bottom);

    connect(PreviousButton, &QPushButton::clicked, this, [this] { setPage(m_page - 1); });
    connect(MoreButton, &QPushButton::clicked, this, [this] { setPage(m_page + 1); });
    connect(BackButton, &QPushButton::clicked, this, &TAssistantTipForm::showMainPage);
    connect(CloseButton, &QPushButton::clicked, this, &QWidget::close);
    connect(SeeAlsoLabel, &QLabel::linkActivated, this,
            [] { ShowHelpContext(HelpContexts::FrequentlyAskedQuestions); });
    showMainPage();
}

void TAssistantTipForm::setTitle(const QString& title) { TitlePanel->setText(title); }

void TAssistantTipForm::setTopics(const QStringList& titles, const QStringList& answers)
{
    m_titles = titles;
    m_answers = answers;
    fillPage();
}

int TAssistantTipForm::pageCount() const { return TipsPageLayout(int(m_titles.size()), 1).pageCount; }

void TAssistantTipForm::setPage(int page)
{
    m_page = std::clamp(page, 1, std::max(pageCount(), 1));
    fillPage();
}

void TAssistantTipForm::fillPage()
{
    const TipsPage p = TipsPageLayout(int(m_titles.size()), m_page);
    for (int i = 0; i < 5; ++i) {
        QPushButton* b = TopicButtons[i];
        const bool used = i < p.topicCount;
        const int topic = p.firstTopic - 1 + i;
        b->setText(used ? m_titles.value(topic).trimmed() : QString());
        b->setProperty("topic", used ? topic : -1);
        b->setVisible(used);
        b->setEnabled(used);
    }
    PreviousButton->setVisible(p.previousVisible);
    MoreButton->setVisible(p.moreVisible);
}

void TAssistantTipForm::showMainPage()
{
    Pages->setCurrentIndex(0);
    BackButton->setVisible(false);
}

void TAssistantTipForm::showTopic(int index)
{
    if (index < 0 || index >= m_titles.size())
        return;
    const QString title = m_titles.at(index).trimmed();
    const QString answer = m_answers.value(index);
    const QRect needed = AnswerLabel->fontMetrics().boundingRect(QRect(0, 0, AnswerLabel->width(), 100000),
                                                                  Qt::TextWordWrap, answer);
    if (needed.height() > AnswerLabel->height()) {
        MemoCaption->setText(title);
        AnswerMemo->setPlainText(answer);
        Pages->setCurrentIndex(2);
    } else {
        LabelCaption->setText(title);
        AnswerLabel->setText(answer);
        Pages->setCurrentIndex(1);
    }
    BackButton->setVisible(true);
}

QString TAssistantTipForm::currentPageName() const { return Pages->currentWidget()->objectName(); }

QSize TAssistantTipForm::cornerSize() const { return {width() / 8, height() / 8}; }

void TAssistantTipForm::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(palette().color(QPalette::WindowText), 1));
    p.setBrush(Qt::NoBrush);
    const QSize c = cornerSize();
    p.drawRoundedRect(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5), c.width() / 2.0, c.height() / 2.0);
}

void TAssistantTipForm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const QSize c = cornerSize();
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), c.width() / 2.0, c.height() / 2.0);
    setMask(QRegion(shape.toFillPolygon().toPolygon()));
}

bool TAssistantTipForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != TitlePanel)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() != Qt::LeftButton)
            break;
        m_dragging = true;
        m_dragOffset = e->globalPosition().toPoint() - frameGeometry().topLeft();
        return true;
    }
    case QEvent::MouseMove:
        if (m_dragging) {
            move(static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - m_dragOffset);
            return true;
        }
        break;
    case QEvent::MouseButtonRelease:
        m_dragging = false;
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}
