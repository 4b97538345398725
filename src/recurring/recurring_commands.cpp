#include "recurring_commands.h"

#include "edit_recurring_dates.h"
#include "platform/prompter.h"
#include "platform/shell_helpers.h"
#include "recurring_fill.h"
#include "recurring_store.h"
#include "select_recurring_dates.h"

#include <QFileInfo>

namespace {

void showReadError(const QString& error) { prompter().warning(error, QStringLiteral("WARNING")); }

} // namespace

FillCalendarOutcome RunFillCalendarCommand(QWidget* parent, int year, int month, const PutTextOnDayFn& putTextOnDay,
                                           const IconToolHiderFn& setIconToolHidden)
{
    const QString storeName = RecurringStoreFileName();
    if (!QFileInfo::exists(storeName))
        return FillCalendarOutcome::NoStore;
    IconToolHidden hidden(setIconToolHidden);

    const RecurringStoreRead store = ReadRecurringStore(storeName);
    if (!store.error.isEmpty()) {
        showReadError(store.error);
        return FillCalendarOutcome::ReadFailed;
    }
    const QStringList candidates = FilterRecurringEntries(store.lines, year, month);
    if (candidates.isEmpty()) {
        ShowInformation(kNoRecurringMatchMessage);
        return FillCalendarOutcome::NoMatch;
    }

    QStringList chosen;
    {
        TSelectRecurringDates picker(parent);
        picker.setEntries(candidates);
        CenterForm(&picker);
        if (picker.exec() != QDialog::Accepted)
            return FillCalendarOutcome::Cancelled;
        chosen = picker.selectedEntries();
    }
    for (const QString& line : chosen) {
        try {
            for (const RecurringPlacement& p : PlaceRecurringEntry(line, year, month)) {
                if (putTextOnDay)
                    putTextOnDay(p.day, p.text);
            }
        } catch (...) {
            // A failing line is abandoned; the others are still placed.
        }
    }
    return FillCalendarOutcome::Filled;
}

bool RunEditRecurringDatesCommand(QWidget* parent, const IconToolHiderFn& setIconToolHidden)
{
    IconToolHidden hidden(setIconToolHidden);
    TEditRecurringDates editor(parent);
    if (!editor.loadError().isEmpty()) {
        // Opening the editor on an unreadable store would let Ok replace it with nothing.
        showReadError(editor.loadError());
        return false;
    }
    CenterForm(&editor);
    return editor.exec() == QDialog::Accepted;
}

void RunOldRecurringStoreConversion()
{
    QString error;
    if (!ConvertOldRecurringStore(&error))
        showReadError(error);
}
