#include "modal_helper.h"
#include "platform/program_folder.h"
#include "platform/shell_helpers.h"
#include "platform/prompter.h"
#include "recurring/edit_recurring_date_formula.h"
#include "recurring/edit_recurring_dates.h"
#include "recurring/get_holidays.h"
#include "recurring/recurring_commands.h"
#include "recurring/recurring_formula.h"
#include "recurring/recurring_list.h"
#include "recurring/recurring_store.h"
#include "recurring/select_recurring_dates.h"
#include "test_registry.h"
#include "test_support.h"

#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <stdexcept>

#include <algorithm>

using ovtest::onModal;

namespace {

QString entry(const char* name, const char* formula)
{
    return MakeRecurringEntry(QString::fromLatin1(name), QString::fromLatin1(formula));
}
QString feast(const char* name, const char* keyword)
{
    return PadField(QString::fromLatin1(name), 120) + QString::fromLatin1(keyword);
}

void writeStore(const QStringList& lines) { QVERIFY(WriteRecurringStore(RecurringStoreFileName(), lines)); }

QByteArray storeBytes()
{
    QFile f(RecurringStoreFileName());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

ovtest::ModalGuard pickAllHolidays()
{
    return onModal<TGetHolidays>([](TGetHolidays* d) {
        d->AllButton->click();
        d->OkButton->click();
    });
}

} // namespace

class TestRecurringEditors : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void init()
    {
        QVERIFY(m_dir.isValid());
        setUserDataFolderOverride(m_dir.path());
        QFile::remove(RecurringStoreFileName());
        QFile::remove(OldRecurringStoreFileName());
    }
    void cleanupTestCase() { setUserDataFolderOverride(QString()); }

    void builtInHolidays()
    {
        const QStringList holidays = BuiltInHolidayEntries();
        QCOMPARE(holidays.size(), 26);
        QCOMPARE(holidays.first(), entry("April Fools's Day", "@0401"));
        QCOMPARE(holidays[5], feast("Easter", "#EASTER"));
        QCOMPARE(holidays[5].size(), 127);
        QCOMPARE(holidays[8].size(), 131);
        QCOMPARE(holidays[18], feast("Palm Sunday", "#PALMSUNDAY"));
        QCOMPARE(holidays.last(), entry("Washington's Birthday", "@0222"));
        QCOMPARE(RecurringEntryText(holidays[1]), QStringLiteral("Armed Forces Day (3rd Sat of May)"));
        QCOMPARE(RecurringEntryText(holidays[21]), QStringLiteral("Thanksgiving Day (4th Thu of November)"));
        QVERIFY(std::is_sorted(holidays.begin(), holidays.end(), recurringEntryLess));

        TGetHolidays picker;
        QCOMPARE(picker.windowTitle(), QStringLiteral("Holidays"));
        QCOMPARE(recurringEntriesOf(picker.Holidays), holidays);
        QVERIFY(picker.Holidays->selectedItems().isEmpty());
    }

    void holidayPickerNeedsASelection()
    {
        TGetHolidays picker;
        picker.show();
        picker.OkButton->click(); // beeps, stays open
        QVERIFY(picker.isVisible());
        picker.AllButton->click();
        QCOMPARE(picker.selectedHolidays().size(), 26);
        picker.NoneButton->click();
        QVERIFY(picker.selectedHolidays().isEmpty());
        picker.Holidays->item(2)->setSelected(true);
        picker.OkButton->click();
        QCOMPARE(picker.result(), int(QDialog::Accepted));
        QCOMPARE(picker.selectedHolidays(), QStringList{entry("Christmas Day", "@1225")});
    }

    void editorLoadsSortedAndSelectsFirst()
    {
        writeStore({entry("zebra", "@0101"), entry("Apple", "@0202"), entry("mango", "%2")});
        TEditRecurringDates editor;
        // The buttons follow the selection only from activation on.
        QVERIFY(!editor.EditButton->isEnabled());
        editor.show();
        QCOMPARE(editor.windowTitle(), QStringLiteral("Recurring Dates"));
        QCOMPARE(editor.entries(), (QStringList{entry("Apple", "@0202"), entry("mango", "%2"), entry("zebra", "@0101")}));
        QCOMPARE(editor.DatesList->currentRow(), 0);
        QVERIFY(editor.EditButton->isEnabled());
        QVERIFY(editor.DeleteButton->isEnabled());
        QCOMPARE(editor.DatesList->item(1)->text(), QStringLiteral("mango (Mon)"));
    }

    void emptyEditorDisablesEditAndDelete()
    {
        TEditRecurringDates editor;
        editor.show();
        QCOMPARE(editor.DatesList->count(), 0);
        QVERIFY(!editor.EditButton->isEnabled());
        QVERIFY(!editor.DeleteButton->isEnabled());
    }

    void holidaysTwiceGiveOneCopy()
    {
        TEditRecurringDates editor;
        editor.show();
        {
            const auto holidays = pickAllHolidays();
            editor.HolidaysButton->click();
        }
        QCOMPARE(editor.DatesList->count(), 26);
        QCOMPARE(editor.DatesList->currentRow(), 0);
        QVERIFY(editor.EditButton->isEnabled());
        {
            const auto holidays = pickAllHolidays();
            editor.HolidaysButton->click();
        }
        QCOMPARE(editor.DatesList->count(), 26);
        QCOMPARE(editor.entries(), BuiltInHolidayEntries());
    }

    void holidayDuplicatesIgnoreCase()
    {
        writeStore({entry("CHRISTMAS DAY", "@1225")});
        TEditRecurringDates editor;
        editor.show();
        const auto dialog = onModal<TGetHolidays>([](TGetHolidays* d) {
            d->Holidays->item(2)->setSelected(true); // Christmas Day
            d->Holidays->item(3)->setSelected(true); // Daylight Savings time begins
            d->OkButton->click();
        });
        editor.HolidaysButton->click();
        QCOMPARE(editor.DatesList->count(), 2);
    }

    void unchangedNewEntry()
    {
        TEditRecurringDates editor;
        editor.show();
        QString title;
        QString eventText;
        const auto dialog = onModal<TEditRecurringDateFormula>([&](TEditRecurringDateFormula* d) {
            title = d->windowTitle();
            eventText = d->Event->text();
            d->OkButton->click();
        });
        editor.NewButton->click();
        QCOMPARE(title, QStringLiteral("Add Recurring Date"));
        QCOMPARE(eventText, QStringLiteral("[Enter event]"));
        QCOMPARE(editor.entries(), QStringList{entry("[Enter event]", "@0001")});
        QCOMPARE(editor.DatesList->currentRow(), 0);
        QVERIFY(editor.EditButton->isEnabled());
        QCOMPARE(editor.DatesList->item(0)->text(), QStringLiteral("[Enter event] (1st of Each Month)"));
    }

    void newEntryGoesToItsSortedPlace()
    {
        writeStore({entry("Alpha", "@0101"), entry("Gamma", "@0303")});
        TEditRecurringDates editor;
        editor.show();
        const auto dialog = onModal<TEditRecurringDateFormula>([](TEditRecurringDateFormula* d) {
            d->Event->setText(QStringLiteral("beta"));
            d->OkButton->click();
        });
        editor.NewButton->click();
        QCOMPARE(editor.DatesList->currentRow(), 1);
        QCOMPARE(RecurringEntryName(recurringEntryOf(editor.DatesList->currentItem())), PadField("beta", 120));
    }

    void cancelledNewAddsNothing()
    {
        TEditRecurringDates editor;
        editor.show();
        const auto dialog =
            onModal<TEditRecurringDateFormula>([](TEditRecurringDateFormula* d) { d->CancelButton->click(); });
        editor.NewButton->click();
        QCOMPARE(editor.DatesList->count(), 0);
    }

    void editMovesEntryAndKeepsSelection()
    {
        writeStore({entry("Alpha", "$1 0 5"), entry("Beta", "@0202"), entry("Gamma", "@0303")});
        TEditRecurringDates editor;
        editor.show();
        QCOMPARE(editor.DatesList->currentRow(), 0);
        QString title, eventText;
        bool special = false;
        const auto dialog = onModal<TEditRecurringDateFormula>([&](TEditRecurringDateFormula* d) {
            title = d->windowTitle();
            eventText = d->Event->text();
            special = d->rbSpecial->isChecked();
            d->Event->setText(QStringLiteral("Zeta"));
            d->OkButton->click();
        });
        editor.EditButton->click();
        QCOMPARE(title, QStringLiteral("Edit Recurring Date Formula"));
        QCOMPARE(eventText, PadField("Alpha", 120)); // blanks included
        QVERIFY(special);
        QCOMPARE(editor.entries(), (QStringList{entry("Beta", "@0202"), entry("Gamma", "@0303"), entry("Zeta", "$1 0 5")}));
        QCOMPARE(editor.DatesList->currentRow(), 2);
        QVERIFY(editor.DatesList->item(2)->isSelected());
        QVERIFY(editor.EditButton->isEnabled());
    }

    void feastsCannotBeEdited()
    {
        ScopedScriptedPrompter prompts;
        writeStore({feast("Easter", "#EASTER")});
        TEditRecurringDates editor;
        editor.show();
        {
            const auto noFormula = ovtest::expectNoModal<TEditRecurringDateFormula>();
            editor.EditButton->click();
        }
        QCOMPARE(prompts->texts(QStringLiteral("information")), QStringList{QStringLiteral("This entry cannot be edited")});
        // ... but they can be deleted.
        editor.DeleteButton->click();
        QCOMPARE(editor.DatesList->count(), 0);
        QVERIFY(!editor.EditButton->isEnabled());
        QVERIFY(!editor.DeleteButton->isEnabled());
    }

    void deleteSelectsFirst()
    {
        writeStore({entry("A", "@0101"), entry("B", "@0202"), entry("C", "@0303")});
        TEditRecurringDates editor;
        editor.show();
        editor.DatesList->setCurrentRow(2);
        editor.DeleteButton->click();
        QCOMPARE(editor.entries(), (QStringList{entry("A", "@0101"), entry("B", "@0202")}));
        QCOMPARE(editor.DatesList->currentRow(), 0);
    }

    void okWritesSortedStoreCancelWritesNothing()
    {
        {
            TEditRecurringDates editor;
            editor.show();
            const auto holidays = pickAllHolidays();
            editor.HolidaysButton->click();
            editor.CancelButton->click();
            QCOMPARE(editor.result(), int(QDialog::Rejected));
        }
        QVERIFY(!QFile::exists(RecurringStoreFileName()));
        {
            TEditRecurringDates editor;
            editor.show();
            const auto holidays = pickAllHolidays();
            editor.HolidaysButton->click();
            editor.OkButton->click();
            QCOMPARE(editor.result(), int(QDialog::Accepted));
        }
        const QByteArray bytes = storeBytes();
        QCOMPARE(bytes.count("\r\n"), 26);
        // 23 lines of 130 characters, Easter 127, Good Friday and Palm Sunday 131.
        QCOMPARE(bytes.size(), 23 * 132 + 129 + 2 * 133);
        QCOMPARE(ReadRecurringStore(RecurringStoreFileName()).lines, BuiltInHolidayEntries());
    }

    void editCommandWithUnreadableStoreLeavesItAlone()
    {
        ScopedScriptedPrompter prompts;
        QFile f(RecurringStoreFileName());
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.resize(kMaxRecurringStoreBytes + 10));
        f.close();
        QList<bool> hider;
        QVERIFY(!RunEditRecurringDatesCommand(nullptr, [&](bool h) { hider.append(h); }));
        QCOMPARE(prompts->texts(QStringLiteral("warning")).size(), 1);
        QCOMPARE(QFileInfo(RecurringStoreFileName()).size(), kMaxRecurringStoreBytes + 10);
        QCOMPARE(hider, (QList<bool>{true, false}));
    }

    void editCommandRunsTheEditor()
    {
        writeStore({entry("A", "@0101")});
        QList<bool> hider;
        const auto dialog = onModal<TEditRecurringDates>([](TEditRecurringDates* e) {
            e->DeleteButton->click();
            e->OkButton->click();
        });
        QVERIFY(RunEditRecurringDatesCommand(nullptr, [&](bool h) { hider.append(h); }));
        QCOMPARE(hider, (QList<bool>{true, false}));
        QVERIFY(QFile::exists(RecurringStoreFileName()));
        QVERIFY(storeBytes().isEmpty());
    }

    void oldStoreConversionShowsInEditor()
    {
        QFile old(OldRecurringStoreFileName());
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("0704Independence Day\r\n");
        old.close();
        RunOldRecurringStoreConversion();
        QVERIFY(!QFile::exists(OldRecurringStoreFileName()));
        TEditRecurringDates editor;
        QCOMPARE(editor.DatesList->count(), 1);
        QCOMPARE(editor.DatesList->item(0)->text(), QStringLiteral("Independence Day (4th of July)"));
        QCOMPARE(recurringEntryOf(editor.DatesList->item(0)).size(), 131);
    }

    void fillWithoutStoreDoesNothing()
    {
        ScopedScriptedPrompter prompts;
        int calls = 0;
        QList<bool> hider;
        QCOMPARE(RunFillCalendarCommand(nullptr, 1998, 4, [&](int, const QString&) { ++calls; },
                                        [&](bool h) { hider.append(h); }),
                 FillCalendarOutcome::NoStore);
        QCOMPARE(calls, 0);
        QVERIFY(hider.isEmpty());
        QVERIFY(prompts->records.empty());
    }

    void fillWithoutMatchSaysSo()
    {
        ScopedScriptedPrompter prompts;
        writeStore({feast("Easter", "#EASTER"), entry("Xmas", "@1225")});
        QList<bool> hider;
        QCOMPARE(RunFillCalendarCommand(nullptr, 1998, 3, {}, [&](bool h) { hider.append(h); }),
                 FillCalendarOutcome::NoMatch);
        QCOMPARE(prompts->texts(QStringLiteral("information")),
                 QStringList{QStringLiteral("No predefined dates match the current month")});
        QCOMPARE(hider, (QList<bool>{true, false}));
    }

    void fillPlacesEveryChosenLineInStoreOrder()
    {
        // Store order, not sorted order.
        writeStore({entry("Zed", "@0412"), feast("Easter", "#EASTER"), entry("Xmas", "@1225"),
                    feast("Good Friday", "#GOODFRIDAY")});
        QStringList offered;
        int selectedOnShow = -1;
        QString title;
        const auto dialog = onModal<TSelectRecurringDates>([&](TSelectRecurringDates* d) {
            title = d->windowTitle();
            offered = recurringEntriesOf(d->Dates);
            selectedOnShow = int(d->Dates->selectedItems().size());
            d->OkButton->click();
        });
        QList<QPair<int, QString>> placed;
        QCOMPARE(RunFillCalendarCommand(nullptr, 1998, 4,
                                        [&](int day, const QString& text) { placed.append({day, text}); }),
                 FillCalendarOutcome::Filled);
        QCOMPARE(title, QStringLiteral("Select Recurring Dates To Use"));
        QCOMPARE(offered, (QStringList{entry("Zed", "@0412"), feast("Easter", "#EASTER"),
                                       feast("Good Friday", "#GOODFRIDAY")}));
        QCOMPARE(selectedOnShow, 3);
        QCOMPARE(placed, (QList<QPair<int, QString>>{{12, QStringLiteral("Zed")},
                                                     {12, PadField("Easter", 120)},
                                                     {10, PadField("Good Friday", 120)}}));
    }

    void fillUsesOnlyTheChosenLines()
    {
        writeStore({entry("Zed", "@0412"), feast("Easter", "#EASTER")});
        const auto dialog = onModal<TSelectRecurringDates>([](TSelectRecurringDates* d) {
            d->NoneButton->click();
            d->OkButton->click(); // nothing selected: beeps and stays
            QVERIFY(d->isVisible());
            d->Dates->item(1)->setSelected(true);
            d->OkButton->click();
        });
        QList<int> days;
        QCOMPARE(RunFillCalendarCommand(nullptr, 1998, 4, [&](int day, const QString&) { days.append(day); }),
                 FillCalendarOutcome::Filled);
        QCOMPARE(days, QList<int>{12});
    }

    void fillCancelled()
    {
        writeStore({entry("Zed", "@0412")});
        const auto dialog =
            onModal<TSelectRecurringDates>([](TSelectRecurringDates* d) { d->CancelButton->click(); });
        int calls = 0;
        QCOMPARE(RunFillCalendarCommand(nullptr, 1998, 4, [&](int, const QString&) { ++calls; }),
                 FillCalendarOutcome::Cancelled);
        QCOMPARE(calls, 0);
    }

    void failingLineIsAbandonedOthersGoOn()
    {
        writeStore({entry("Gym", "%2"), entry("Zed", "@0412")});
        const auto dialog = onModal<TSelectRecurringDates>([](TSelectRecurringDates* d) { d->OkButton->click(); });
        QStringList placed;
        RunFillCalendarCommand(nullptr, 1998, 4, [&](int day, const QString& text) {
            if (day == 13)
                throw std::runtime_error("cell failed");
            placed.append(QString::number(day) + TrimBlanks(text));
        });
        // Mondays 6, 13, 20, 27: the line stops at the failing 13th, the next line still runs.
        QCOMPARE(placed, (QStringList{"6Gym", "12Zed"}));
    }

    void listDialogsFitTheirCaptionAndRows()
    {
        const QString longName = QStringLiteral("The annual general meeting of the neighbourhood gardening club");
        writeStore({MakeRecurringEntry(longName, QStringLiteral("$3 4 11")), entry("Zed", "@0412")});
        auto fits = [](QDialog& d, QListWidget* list) {
            d.show();
            QVERIFY2(d.width() >= CaptionWidth(d.windowTitle()), qPrintable(d.windowTitle()));
            QTRY_VERIFY2(list->viewport()->width() >= list->sizeHintForColumn(0), qPrintable(d.windowTitle()));
        };
        TSelectRecurringDates select;
        select.setEntries(ReadRecurringStore(RecurringStoreFileName()).lines);
        fits(select, select.Dates);
        TEditRecurringDates editor;
        fits(editor, editor.DatesList);
        TGetHolidays holidays;
        fits(holidays, holidays.Holidays);
    }

    void checkRowDrawing()
    {
        QListWidget list;
        auto* delegate = new TRecurringCheckDelegate;
        setUpRecurringList(&list, delegate, QAbstractItemView::ExtendedSelection);
        list.addItem(makeRecurringItem(entry("Row", "@0101")));
        const QModelIndex index = list.model()->index(0, 0);

        auto draw = [&](QStyle::State state) {
            QImage img(200, 16, QImage::Format_RGB32);
            img.fill(Qt::gray);
            QStyleOptionViewItem option;
            option.initFrom(&list);
            option.rect = QRect(0, 0, 200, 16);
            option.state = state;
            option.palette.setColor(QPalette::Base, Qt::white);
            QPainter p(&img);
            delegate->paint(&p, option, index);
            return img;
        };
        const QRect checkArea(0, 0, 16, 16);
        const QImage plain = draw(QStyle::State_Enabled);
        QCOMPARE(ovtest::darkPixelsInRect(plain, checkArea), 0);
        QCOMPARE(plain.pixel(2, 2), QColor(Qt::white).rgb());
        QVERIFY(ovtest::darkPixelsInRect(plain, QRect(0, 0, 200, 16)) > 0); // the text

        const QImage selected = draw(QStyle::State_Enabled | QStyle::State_Selected);
        QVERIFY(ovtest::darkPixelsInRect(selected, checkArea) > 5);
        QCOMPARE(selected.pixel(0, 15), QColor(Qt::white).rgb());

        const QImage focused = draw(QStyle::State_Enabled | QStyle::State_Selected | QStyle::State_HasFocus);
        QCOMPARE(focused.pixel(199, 15), QColor(Qt::black).rgb());
        int light = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                light += qGray(focused.pixel(x, y)) > 160 ? 1 : 0;
        QVERIFY(light > 5); // the inverted check mark

        QCOMPARE(delegate->sizeHint(QStyleOptionViewItem(), index).height(), 16);
    }
};
OV_TEST(TestRecurringEditors)
#include "test_recurring_editors.moc"
