#pragma once
#include <QString>

#include <functional>

class QWidget;

// Writes one line of text into the cell of a day of the shown month (the page's
// PuttextOnDay). A day without a cell must be ignored by the callee.
using PutTextOnDayFn = std::function<void(int day, const QString& text)>;
// Called with true before a command shows its dialogs and with false on every way
// out, so the caller can hide and restore its icon tool window. May be empty.
using IconToolHiderFn = std::function<void(bool hidden)>;

// Hides the icon tool for the lifetime of a command.
class IconToolHidden {
public:
    explicit IconToolHidden(const IconToolHiderFn& fn)
        : m_fn(fn)
    {
        if (m_fn)
            m_fn(true);
    }
    ~IconToolHidden()
    {
        if (m_fn)
            m_fn(false);
    }
    IconToolHidden(const IconToolHidden&) = delete;
    IconToolHidden& operator=(const IconToolHidden&) = delete;

private:
    const IconToolHiderFn& m_fn;
};

enum class FillCalendarOutcome {
    NoStore, // no store file: nothing happened
    ReadFailed, // the store could not be read (the user was told)
    NoMatch, // "No predefined dates match the current month" was shown
    Cancelled, // the user cancelled the picker
    Filled, // the chosen dates were written through putTextOnDay
};

// "Fill Calendar with Recurring Dates": reads the store, keeps what can fall in
// year/month, lets the user choose in TSelectRecurringDates and writes every chosen
// line's days through putTextOnDay, line by line in store order. An exception thrown
// by putTextOnDay abandons that line only. The caller refreshes its command states
// afterwards.
FillCalendarOutcome RunFillCalendarCommand(QWidget* parent, int year, int month, const PutTextOnDayFn& putTextOnDay,
                                           const IconToolHiderFn& setIconToolHidden = {});

// "Edit Recurring Dates": the modal list editor. Returns true when the user pressed
// Ok (the store was written).
bool RunEditRecurringDatesCommand(QWidget* parent, const IconToolHiderFn& setIconToolHidden = {});

// The one-time conversion of an old "OVRECUR.DAT" at start-up; a failure is reported
// through the prompter and the old file is kept.
void RunOldRecurringStoreConversion();
