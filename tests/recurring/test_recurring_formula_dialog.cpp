#include "platform/prompter.h"
#include "recurring/edit_recurring_date_formula.h"
#include "test_registry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

namespace {

QList<QCheckBox*> dayBoxes(TEditRecurringDateFormula& d)
{
    return {d.Sunday, d.Monday, d.Tuesday, d.Wednesday, d.Thursday, d.Friday, d.Saturday};
}

} // namespace

class TestRecurringFormulaDialog : public QObject {
    Q_OBJECT
private slots:
    void newEntryStartsOnDayOfMonth()
    {
        TEditRecurringDateFormula d;
        QCOMPARE(d.windowTitle(), QStringLiteral("Recurring Date - Formulas"));
        QCOMPARE(d.formula(), QStringLiteral("@"));
        d.show();
        QVERIFY(d.rbDayOfMonth->isChecked());
        QCOMPARE(d.DayOfMonthDay->value(), 1);
        QCOMPARE(d.DayOfMonthMonth->currentText(), QStringLiteral("Each Month"));
        QCOMPARE(d.SpecialOccurrance->currentIndex(), 0);
        QCOMPARE(d.SpecialDayOfWeek->currentIndex(), 0);
        QCOMPARE(d.SpecialMonth->currentIndex(), 0);
        // Monday to Friday ticked, but disabled in this mode.
        const QList<bool> ticked{false, true, true, true, true, true, false};
        for (int i = 0; i < 7; ++i) {
            QCOMPARE(dayBoxes(d)[i]->isChecked(), ticked[i]);
            QVERIFY(!dayBoxes(d)[i]->isEnabled());
        }
        QVERIFY(d.rbDayOfMonth->font().bold());
        QVERIFY(!d.rbDayOfweek->font().bold());
        QVERIFY(!d.rbSpecial->font().bold());
        QVERIFY(d.DayOfMonthDay->isEnabled());
        QVERIFY(!d.SpecialMonth->isEnabled());
        QCOMPARE(d.SpecialDayOfWeek->count(), 8);
        QCOMPARE(d.SpecialDayOfWeek->itemText(7), QStringLiteral("Day (any day)"));
        QCOMPARE(d.SpecialOccurrance->itemText(5), QStringLiteral("Last"));
        QCOMPARE(d.DayOfMonthMonth->count(), 13);
    }

    void modesEnableTheirControls()
    {
        TEditRecurringDateFormula d;
        d.show();
        d.rbSpecial->click();
        QVERIFY(d.rbSpecial->font().bold());
        QVERIFY(!d.rbDayOfMonth->font().bold());
        QVERIFY(d.SpecialOccurrance->isEnabled() && d.SpecialDayOfWeek->isEnabled() && d.SpecialMonth->isEnabled());
        QVERIFY(!d.DayOfMonthDay->isEnabled() && !d.DayOfMonthMonth->isEnabled());
        QVERIFY(!d.AllDaysCheck->isEnabled());
        d.rbDayOfweek->click();
        QVERIFY(d.rbDayOfweek->font().bold());
        QVERIFY(d.AllDaysCheck->isEnabled() && d.Sunday->isEnabled() && d.Saturday->isEnabled());
        QVERIFY(!d.SpecialMonth->isEnabled());
    }

    void setEmUpReadsFormula_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QList<int>>("values");
        QTest::newRow("last Sun of Oct") << "$5 0 10   " << "rbSpecial" << QList<int>{5, 0, 10};
        QTest::newRow("any day") << "$0 7 0    " << "rbSpecial" << QList<int>{0, 7, 0};
        QTest::newRow("christmas") << "@1225     " << "rbDayOfMonth" << QList<int>{25, 12};
        QTest::newRow("weekend") << "%17       " << "rbDayOfweek" << QList<int>{1, 0, 0, 0, 0, 0, 1};
        QTest::newRow("unknown type") << "?246" << "rbDayOfweek" << QList<int>{0, 1, 0, 1, 0, 1, 0};
    }
    void setEmUpReadsFormula()
    {
        QFETCH(QString, formula);
        QFETCH(QString, mode);
        QFETCH(QList<int>, values);
        TEditRecurringDateFormula d;
        d.setFormula(formula);
        d.show();
        QVERIFY(d.findChild<QRadioButton*>(mode)->isChecked());
        QVERIFY(d.findChild<QRadioButton*>(mode)->font().bold());
        if (mode == QLatin1String("rbSpecial")) {
            QCOMPARE(d.SpecialOccurrance->currentIndex(), values[0]);
            QCOMPARE(d.SpecialDayOfWeek->currentIndex(), values[1]);
            QCOMPARE(d.SpecialMonth->currentIndex(), values[2]);
        } else if (mode == QLatin1String("rbDayOfMonth")) {
            QCOMPARE(d.DayOfMonthDay->value(), values[0]);
            QCOMPARE(d.DayOfMonthMonth->currentIndex(), values[1]);
        } else {
            for (int i = 0; i < 7; ++i)
                QCOMPARE(dayBoxes(d)[i]->isChecked(), values[i] != 0);
        }
        // Accepting unchanged gives the formula back (without its padding).
        QVERIFY(d.DetermineFormulaString());
        if (mode != QLatin1String("rbDayOfweek") || formula.startsWith(QLatin1Char('%')))
            QCOMPARE(d.formula().trimmed(), formula.trimmed());
    }

    void unreadableFormulaKeepsControls()
    {
        TEditRecurringDateFormula d;
        d.setFormula(QStringLiteral("$x"));
        d.show();
        QVERIFY(d.rbDayOfMonth->isChecked());
        QCOMPARE(d.DayOfMonthDay->value(), 1);
    }

    void allDaysTicksAndClearsEveryDay()
    {
        TEditRecurringDateFormula d;
        d.show();
        d.rbDayOfweek->click();
        d.AllDaysCheck->click();
        for (QCheckBox* box : dayBoxes(d))
            QVERIFY(box->isChecked());
        d.AllDaysCheck->click();
        for (QCheckBox* box : dayBoxes(d))
            QVERIFY(!box->isChecked());
    }

    void okWithoutDaysKeepsDialogOpen()
    {
        ScopedScriptedPrompter prompts;
        TEditRecurringDateFormula d;
        d.show();
        d.rbDayOfweek->click();
        for (QCheckBox* box : dayBoxes(d))
            box->setChecked(false);
        d.OkButton->click();
        QVERIFY(d.isVisible());
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QCOMPARE(prompts->texts(QStringLiteral("information")),
                 QStringList{QStringLiteral("You must select at least one day for this \nreminder to occur on")});
        QCOMPARE(prompts->records[0].caption, QStringLiteral("Information"));
        QCOMPARE(d.formula(), QStringLiteral("@"));
    }

    void buildsFormulas()
    {
        TEditRecurringDateFormula d;
        d.show();
        d.rbDayOfweek->click();
        for (QCheckBox* box : dayBoxes(d))
            box->setChecked(false);
        d.Friday->setChecked(true);
        d.Monday->setChecked(true);
        d.Wednesday->setChecked(true);
        d.OkButton->click();
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(d.formula(), QStringLiteral("%246"));

        d.rbSpecial->click();
        d.SpecialOccurrance->setCurrentIndex(3);
        d.SpecialDayOfWeek->setCurrentIndex(4);
        d.SpecialMonth->setCurrentIndex(11);
        QVERIFY(d.DetermineFormulaString());
        QCOMPARE(d.formula(), QStringLiteral("$3 4 11"));

        d.rbDayOfMonth->click();
        d.DayOfMonthDay->setValue(31);
        d.DayOfMonthMonth->setCurrentIndex(0);
        QVERIFY(d.DetermineFormulaString());
        QCOMPARE(d.formula(), QStringLiteral("@0031"));
    }

    void validationMessages()
    {
        ScopedScriptedPrompter prompts;
        TEditRecurringDateFormula d;
        d.show();
        d.DayOfMonthMonth->setCurrentIndex(-1);
        QVERIFY(!d.DetermineFormulaString());
        d.rbSpecial->click();
        d.SpecialDayOfWeek->setCurrentIndex(-1);
        QVERIFY(!d.DetermineFormulaString());
        QCOMPARE(prompts->texts(QStringLiteral("information")),
                 (QStringList{QStringLiteral("Invalid month entered "),
                              QStringLiteral("Invalid value entered for Special category")}));
    }

    void emptyEventNameIsAccepted()
    {
        TEditRecurringDateFormula d;
        d.setEventText(QString());
        d.show();
        d.OkButton->click();
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(d.eventText(), QString());
        QCOMPARE(d.formula(), QStringLiteral("@0001"));
    }

    void cancelRejects()
    {
        TEditRecurringDateFormula d;
        d.show();
        d.CancelButton->click();
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QCOMPARE(d.formula(), QStringLiteral("@"));
    }
};
OV_TEST(TestRecurringFormulaDialog)
#include "test_recurring_formula_dialog.moc"
