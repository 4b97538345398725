#include "modal_helper.h"
#include "platform/font_choice.h"
#include "platform/prompter.h"
#include "platform/shell_helpers.h"
#include "test_registry.h"

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFontDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
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

    // ---- save dialogs --------------------------------------------------------------

    void everySaveDialogAddsItsExtensionBeforeAsking()
    {
        QTemporaryDir dir;
        const QString existing = dir.filePath(QStringLiteral("MyStyle.OVS"));
        QFile f(existing);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        ScopedScriptedPrompter p;
        const QString question = QStringLiteral("MyStyle.OVS already exists.\nDo you want to replace it?");
        p->fileAnswers = {dir.filePath(QStringLiteral("MyStyle")), dir.filePath(QStringLiteral("Other"))};
        p->yesNoAnswers = {false};
        QCOMPARE(prompter().saveFileName(QStringLiteral("Save"), dir.path(), QStringLiteral("MyStyle.OVS"),
                                         QStringLiteral("Style (*.OVS)"), QStringLiteral("OVS")),
                 dir.filePath(QStringLiteral("Other.OVS")));
        QCOMPARE(p->texts(), (QStringList{"Save", question, "Save"}));
        QCOMPARE(p->records[1].caption, QStringLiteral("Save")); // asked in the dialog's name

        p->clear();
        p->fileAnswers = {dir.filePath(QStringLiteral("MyStyle")), dir.filePath(QStringLiteral("MyStyle.OVS")),
                          dir.filePath(QStringLiteral("plain.txt"))};
        p->yesNoAnswers = {true};
        const auto ask = [&] {
            return prompter().saveFileName(QStringLiteral("Save"), dir.path(), QString(), QString(),
                                           QStringLiteral("OVS"));
        };
        QCOMPARE(ask(), existing); // replaced on Yes
        QCOMPARE(ask(), existing); // typed whole: the dialog asked itself
        QCOMPARE(ask(), dir.filePath(QStringLiteral("plain.txt"))); // an extension of its own stays
        QCOMPARE(p->texts(QStringLiteral("yesno")).size(), 1);
        QCOMPARE(ask(), QString()); // cancelled
    }

    void qtSaveDialogAddsTheExtensionItself()
    {
        QTemporaryDir dir;
        QString suffix;
        bool saving = false;
        QString chosen;
        {
            const auto dialog = ovtest::onModal<QFileDialog>([&](QFileDialog* d) {
                suffix = d->defaultSuffix();
                saving = d->acceptMode() == QFileDialog::AcceptSave;
                d->selectFile(dir.filePath(QStringLiteral("Dec1997")));
                QMetaObject::invokeMethod(d, "accept");
            });
            chosen = QtPrompter().saveFileName(QStringLiteral("Save Calendar File"), dir.path(),
                                               QStringLiteral("Dec1997.OVF"), QStringLiteral("Calendar File (*.OVF)"),
                                               QStringLiteral("OVF"));
        }
        QCOMPARE(suffix, QStringLiteral("OVF"));
        QVERIFY(saving);
        QCOMPARE(chosen, dir.filePath(QStringLiteral("Dec1997.OVF")));
    }

    // ---- message boxes -------------------------------------------------------------

    void messageBoxesAreWideEnoughForTheirCaptions()
    {
        const QString caption = QStringLiteral("Select Recurring Dates To Use");
        int width = 0;
        {
            const auto box = ovtest::onModal<QMessageBox>([&](QMessageBox* b) {
                width = b->width();
                b->button(QMessageBox::Ok)->click();
            });
            QtPrompter().information(QStringLiteral("OK"), caption);
        }
        QVERIFY2(width >= CaptionWidth(caption), qPrintable(QString::number(width)));
        QVERIFY(CaptionWidth(caption) > CaptionWidth(QStringLiteral("CANCEL")));
    }

    // ---- font dialogs --------------------------------------------------------------

    void fontDialogKeepsAStoredFamilyTheMachineLacks()
    {
        QCOMPARE(DrawnFontFamily(QStringLiteral("Times New Roman")), QStringLiteral("Liberation Serif"));
        QCOMPARE(DrawnFontFamily(QStringLiteral("Arial")), QStringLiteral("Liberation Sans"));
        QCOMPARE(DrawnFontFamily(QStringLiteral("Courier New")), QStringLiteral("Liberation Mono"));
        QCOMPARE(DrawnFontFamily(QStringLiteral("Liberation Serif")), QStringLiteral("Liberation Serif"));

        QFont stored(QStringLiteral("Times New Roman"), 26);
        stored.setBold(true);
        QFont opened;
        QString familyShown;
        QColor color(0, 0, 128);
        std::optional<QFont> result;
        {
            const auto dialog = ovtest::onModal<QFontDialog>([&](QFontDialog* d) {
                opened = d->currentFont();
                for (QLineEdit* e : d->findChildren<QLineEdit*>())
                    if (e->text() == QStringLiteral("Times New Roman"))
                        familyShown = e->text();
                auto* colors = d->findChild<QComboBox*>(QStringLiteral("FontColorList"));
                QVERIFY(colors);
                QCOMPARE(colors->currentText(), QStringLiteral("Navy"));
                colors->setCurrentIndex(colors->findText(QStringLiteral("Red")));
                d->accept();
            });
            result = ChooseStoredFont(stored, QStringLiteral("Font"), &color);
        }
        // Opened on the face that draws it, showing the stored name ...
        QCOMPARE(opened.family(), QStringLiteral("Liberation Serif"));
        QVERIFY(opened.bold());
        QCOMPARE(familyShown, QStringLiteral("Times New Roman"));
        // ... and accepted unchanged, nothing but the colour changed.
        QVERIFY(result);
        QCOMPARE(result->family(), QStringLiteral("Times New Roman"));
        QVERIFY(result->bold());
        QCOMPARE(result->pointSize(), 26);
        QCOMPARE(color, QColor(255, 0, 0));

        // Another family is taken as picked.
        ScopedScriptedPrompter p;
        p->fontAnswers = {QFont(QStringLiteral("Liberation Sans"), 12)};
        const auto other = ChooseStoredFont(stored, QStringLiteral("Font"));
        QCOMPARE(other->family(), QStringLiteral("Liberation Sans"));
        QCOMPARE(p->records.front().caption, QStringLiteral("Times New Roman"));
        QVERIFY(!ChooseStoredFont(stored, QStringLiteral("Font"))); // cancelled
    }
};
OV_TEST(TestPrompter)
#include "test_prompter.moc"
