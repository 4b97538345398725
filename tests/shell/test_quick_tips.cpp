#include "help_test_support.h"
#include "main_window_fixture.h"
#include "platform/help_contexts.h"
#include "shell/assistant_tip.h"
#include "shell/assistant_tip_form.h"
#include "shell/tips_paging.h"
#include "test_registry.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTextEdit>
#include <QToolButton>

namespace {
QStringList visibleTopics(const TAssistantTipForm& form)
{
    QStringList out;
    for (QPushButton* b : form.TopicButtons)
        if (!b->isHidden())
            out << b->text();
    return out;
}

QStringList titles(int from, int to)
{
    TAssistantTip tip;
    tip.SetTopics(MainWindowQuickTips());
    QStringList out;
    for (int i = from; i <= to; ++i)
        out << tip.Titles.at(i - 1).trimmed();
    return out;
}
} // namespace

class TestQuickTips : public QObject {
    Q_OBJECT
private slots:
    void pagingByFive()
    {
        struct Row {
            int topics, page, pages, first, count;
            bool previous, more;
        };
        const Row rows[] = {
            {12, 1, 3, 1, 5, false, true}, {12, 2, 3, 6, 5, true, true}, {12, 3, 3, 11, 2, true, false},
            {10, 2, 2, 6, 5, true, false}, {5, 1, 1, 1, 5, false, false}, {1, 1, 1, 1, 1, false, false},
            {0, 1, 0, 1, 0, false, false}, {12, 9, 3, 11, 2, true, false}, // past the end: the last page
        };
        for (const Row& r : rows) {
            const TipsPage p = TipsPageLayout(r.topics, r.page);
            const QByteArray at = QByteArray::number(r.topics) + "/" + QByteArray::number(r.page);
            QVERIFY2(p.pageCount == r.pages, at);
            QVERIFY2(p.firstTopic == r.first, at);
            QVERIFY2(p.topicCount == r.count, at);
            QVERIFY2(p.previousVisible == r.previous, at);
            QVERIFY2(p.moreVisible == r.more, at);
        }
    }

    void storedTopicsAreCountTitlesThenAnswers()
    {
        TAssistantTip tip;
        QCOMPARE(tip.Caption, QStringLiteral("Quick Tips"));
        QVERIFY(tip.SetTopics(MainWindowQuickTips()));
        QCOMPARE(tip.Titles.size(), 12);
        QCOMPARE(tip.Answers.size(), 12);
        QCOMPARE(tip.Titles.first(), QStringLiteral("How do I create a new calendar?"));
        QCOMPARE(tip.Titles.at(1), QStringLiteral("How to I change the look (layout) of an existing calendar ?"));
        QVERIFY(tip.Titles.at(10).startsWith(QStringLiteral("How do I move a freeform drawing object? ")));
        QVERIFY(tip.Titles.at(11).startsWith(QStringLiteral("How do I resize a freeform drawing object? ")));
        QCOMPARE(tip.Topics(), MainWindowQuickTips());
        // What each answer must tell.
        QVERIFY(tip.Answers.at(0).contains(QStringLiteral("New")) && tip.Answers.at(0).contains(QStringLiteral("Properties")));
        QVERIFY(tip.Answers.at(3).contains(QStringLiteral("Ctrl+A")));
        QVERIFY(tip.Answers.at(6).contains(QStringLiteral("six drawing tools")));
        QVERIFY(tip.Answers.at(10).contains(QStringLiteral("eight small handles")));
        // A list of the wrong shape is refused and changes nothing.
        QVERIFY(!tip.SetTopics({QStringLiteral("1"), QStringLiteral("only a title")}));
        QVERIFY(!tip.SetTopics({QStringLiteral("x"), QStringLiteral("a"), QStringLiteral("b")}));
        QVERIFY(!tip.SetTopics({}));
        QCOMPARE(tip.Titles.size(), 12);
    }

    void tipsButtonPagesThroughTheTwelveTopics()
    {
        MainWindowFixture f(false);
        QVERIFY(f.main->Assistantbutton->isEnabled());
        f.main->Assistantbutton->click();
        TAssistantTipForm* form = f.main->AssistantTip1->Form();
        QVERIFY(form && form->isVisible());
        QVERIFY(form->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(form->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(form->TitlePanel->text(), QStringLiteral("Quick Tips"));
        QCOMPARE(form->currentPageName(), QStringLiteral("Main"));
        QCOMPARE(visibleTopics(*form), titles(1, 5));
        QVERIFY(form->PreviousButton->isHidden());
        QVERIFY(!form->MoreButton->isHidden());
        QVERIFY(form->BackButton->isHidden());

        form->MoreButton->click();
        QCOMPARE(visibleTopics(*form), titles(6, 10));
        QVERIFY(!form->PreviousButton->isHidden());
        QVERIFY(!form->MoreButton->isHidden());

        form->MoreButton->click();
        QCOMPARE(visibleTopics(*form), titles(11, 12));
        for (int i = 2; i < 5; ++i)
            QVERIFY(form->TopicButtons[i]->isHidden() && !form->TopicButtons[i]->isEnabled());
        QVERIFY(!form->PreviousButton->isHidden());
        QVERIFY(form->MoreButton->isHidden());

        form->PreviousButton->click();
        QCOMPARE(visibleTopics(*form), titles(6, 10));
        // Shown again: back to page 1.
        form->close();
        f.main->Assistantbutton->click();
        QCOMPARE(visibleTopics(*form), titles(1, 5));
    }

    void answersOnTheLabelOrInTheScrollingBox()
    {
        TAssistantTip tip;
        const QString longAnswer = QStringLiteral("A long answer. ").repeated(120);
        QVERIFY(tip.SetTopics({QStringLiteral("1"), QStringLiteral("Short?"), QStringLiteral("Long?"),
                               QStringLiteral("A short answer."), longAnswer}));
        tip.Show(nullptr);
        TAssistantTipForm* form = tip.Form();
        form->TopicButtons[0]->click();
        QCOMPARE(form->currentPageName(), QStringLiteral("LabelPage"));
        QCOMPARE(form->LabelCaption->text(), QStringLiteral("Short?"));
        QCOMPARE(form->AnswerLabel->text(), QStringLiteral("A short answer."));
        QVERIFY(!form->BackButton->isHidden());
        form->BackButton->click();
        QCOMPARE(form->currentPageName(), QStringLiteral("Main"));
        QVERIFY(form->BackButton->isHidden());
        form->TopicButtons[1]->click();
        QCOMPARE(form->currentPageName(), QStringLiteral("MemoPage"));
        QCOMPARE(form->MemoCaption->text(), QStringLiteral("Long?"));
        QCOMPARE(form->AnswerMemo->toPlainText(), longAnswer);
        // Every shipped answer fits one of the two pages and keeps its text.
        TAssistantTip shipped;
        shipped.SetTopics(MainWindowQuickTips());
        shipped.Show(nullptr);
        for (int i = 0; i < 12; ++i) {
            shipped.Form()->showTopic(i);
            const QString page = shipped.Form()->currentPageName();
            const QString text = page == QLatin1String("LabelPage") ? shipped.Form()->AnswerLabel->text()
                                                                   : shipped.Form()->AnswerMemo->toPlainText();
            QCOMPARE(text, shipped.Answers.at(i));
        }
    }

    void seeAlsoOpensTheQuestions()
    {
        TAssistantTip tip;
        tip.SetTopics(MainWindowQuickTips());
        tip.Show(nullptr);
        HelpRecorder help;
        emit tip.Form()->SeeAlsoLabel->linkActivated(QStringLiteral("faq"));
        QCOMPARE(help.contexts, QList<int>{HelpContexts::FrequentlyAskedQuestions});
        QCOMPARE(tip.Form()->SeeAlsoLabel->text().contains(QStringLiteral("See also: Frequently Asked Questions")), true);
    }

    void roundedWindowAtTheRightEdgeDraggedByItsTitle()
    {
        MainWindowFixture f(false);
        const QRect area = f.main->screen()->geometry();
        f.main->showNormal();
        f.main->setGeometry(area.left() + 20, area.top() + 40, 300, 300);
        f.main->AssistantbuttonClick();
        TAssistantTipForm* form = f.main->AssistantTip1->Form();
        const int expectedLeft = std::min(f.main->frameGeometry().left() + f.main->frameGeometry().width() - form->width() / 2,
                                          area.right() + 1 - form->width());
        QCOMPARE(form->x(), expectedLeft);
        QVERIFY(form->y() + form->height() <= area.bottom() + 1);

        // Rounded: the corners are cut away, the middle is inside.
        const QRegion mask = form->mask();
        QVERIFY(!mask.contains(QPoint(0, 0)));
        QVERIFY(!mask.contains(QPoint(form->width() - 1, form->height() - 1)));
        QVERIFY(mask.contains(QPoint(form->width() / 2, form->height() / 2)));
        QVERIFY(mask.contains(QPoint(form->width() / 2, 0)));

        const QPoint start = form->pos();
        QWidget* title = form->TitlePanel;
        const QPoint grip(title->width() / 2, title->height() / 2);
        QTest::mousePress(title, Qt::LeftButton, {}, grip);
        QMouseEvent move(QEvent::MouseMove, QPointF(grip + QPoint(-30, 25)), title->mapToGlobal(QPointF(grip + QPoint(-30, 25))),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(title, &move);
        QTest::mouseRelease(title, Qt::LeftButton, {}, grip + QPoint(-30, 25));
        QCOMPARE(form->pos(), start + QPoint(-30, 25));
    }
};

OV_TEST(TestQuickTips)
#include "test_quick_tips.moc"
