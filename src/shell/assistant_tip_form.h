#pragma once
#include <QStringList>
#include <QWidget>

class QLabel;
class QPushButton;
class QStackedWidget;
class QTextEdit;

// The quick-tips window: borderless, rounded, always on top, dragged by its title.
// "Main" lists five topics a page; choosing one shows its answer on "LabelPage", or on
// "MemoPage" with a scroll bar when it is too long for the label.
class TAssistantTipForm : public QWidget {
    Q_OBJECT
public:
    explicit TAssistantTipForm(QWidget* parent = nullptr);

    void setTitle(const QString& title);
    void setTopics(const QStringList& titles, const QStringList& answers);
    void setPage(int page);
    int page() const { return m_page; }
    int pageCount() const;
    void showMainPage();
    // Shows the answer of a topic (index from 0).
    void showTopic(int index);
    QString currentPageName() const;

    QLabel* TitlePanel = nullptr;
    QStackedWidget* Pages = nullptr;
    QPushButton* PreviousButton = nullptr;
    QPushButton* TopicButtons[5] = {};
    QPushButton* MoreButton = nullptr;
    QLabel* SeeAlsoLabel = nullptr;
    QLabel* LabelCaption = nullptr;
    QLabel* AnswerLabel = nullptr;
    QLabel* MemoCaption = nullptr;
    QTextEdit* AnswerMemo = nullptr;
    QPushButton* BackButton = nullptr;
    QPushButton* CloseButton = nullptr;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillPage();
    QSize cornerSize() const;

    QStringList m_titles;
    QStringList m_answers;
    int m_page = 1;
    QPoint m_dragOffset;
    bool m_dragging = false;
};
