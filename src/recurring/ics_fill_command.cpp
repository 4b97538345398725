#include "ics_fill_command.h"

#include "ics_event_picker.h"
#include "ics_fill.h"
#include "ics_reader.h"
#include "platform/program_folder.h"
#include "platform/prompter.h"
#include "platform/shell_helpers.h"

namespace {

// Reading a large file takes a moment; the hourglass is off again on every way out.
struct Hourglass {
    Hourglass() { HourglassOn(); }
    ~Hourglass() { HourglassOff(); }
    Hourglass(const Hourglass&) = delete;
    Hourglass& operator=(const Hourglass&) = delete;
};

} // namespace

IcsFillOutcome RunFillFromIcsCommand(QWidget* parent, int year, int month, const PutTextOnDayFn& putTextOnDay,
                                     const IconToolHiderFn& setIconToolHidden)
{
    const QString path = prompter().openFileName(kIcsFileDialogTitle, DocumentsStartFolder(), kIcsFileFilter);
    if (path.isEmpty())
        return IcsFillOutcome::NoFile;
    IconToolHidden hidden(setIconToolHidden);

    QList<IcsEvent> events;
    try {
        Hourglass busy;
        events = ReadIcsFileMonth(path, year, month);
    } catch (const EIcsError& e) {
        ShowInformation(e.reason());
        return IcsFillOutcome::ReadFailed;
    }
    if (events.isEmpty()) {
        ShowInformation(kNoIcsMatchMessage);
        return IcsFillOutcome::NoMatch;
    }

    QList<int> chosen;
    {
        IcsEventPicker picker(parent);
        picker.setEvents(events, year, month);
        CenterForm(&picker);
        if (picker.exec() != QDialog::Accepted)
            return IcsFillOutcome::Cancelled;
        chosen = picker.selectedEvents();
    }
    for (const RecurringPlacement& p : ComputeIcsPlacements(events, chosen, year, month)) {
        try {
            if (putTextOnDay)
                putTextOnDay(p.day, p.text);
        } catch (...) {
            // A failing line is abandoned; the others are still written.
        }
    }
    return IcsFillOutcome::Filled;
}
