#include "platform/prompter.h"
#include "platform/shell_helpers.h"
#include "test_registry.h"

#include <QTest>

class TestPrompter : public QObject {
    Q_OBJECT
private slots:
    void scriptedAnswersAndRecords()
    {
        ScopedScriptedPrompter p;
        p->yesNoAnswers = {true};
        QVERIFY(AskYesNo(QStringLiteral("Save changes?"), QStringLiteral("Confirm")));
        // An unscripted question is answered No and still recorded.
        QVERIFY(!AskYesNo(QStringLiteral("Again?"), QStringLiteral("Confirm")));
        ShowInformation(QStringLiteral("Done"));
        QCOMPARE(p->records.size(), size_t(3));
        QCOMPARE(p->records[2].kind, QStringLiteral("information"));
        QCOMPARE(p->records[2].caption, QStringLiteral("Information"));
        QCOMPARE(p->texts(QStringLiteral("yesno")), QStringList({"Save changes?", "Again?"}));
    }

    void restoresPreviousPrompter()
    {
        Prompter* before = &prompter();
        {
            ScopedScriptedPrompter p;
            QVERIFY(&prompter() != before);
        }
        QCOMPARE(&prompter(), before);
    }
};
OV_TEST(TestPrompter)
#include "test_prompter.moc"
