#pragma once
#include "recurring_commands.h" // PutTextOnDayFn, IconToolHiderFn

class QWidget;

enum class IcsFillOutcome {
    NoFile, // the user chose no file
    ReadFailed, // the file could not be used (the user was told why)
    NoMatch, // kNoIcsMatchMessage was shown
    Cancelled, // the user cancelled the picker
    Filled, // the chosen events were written through putTextOnDay
};

inline const QString kIcsFileDialogTitle = QStringLiteral("Fill Calendar from iCalendar File");
inline const QString kIcsFileFilter = QStringLiteral("iCalendar files (*.ics *.ICS *.ical *.ifb);;All files (*)");

// "Fill Calendar from iCalendar File...": asks for a file, reads the events that fall
// in year/month, lets the user choose in IcsEventPicker and writes the chosen events
// through putTextOnDay in the order of ComputeIcsPlacements. Nothing is written when
// the file cannot be used. An exception thrown by putTextOnDay abandons that line only.
// The caller refreshes its command states afterwards.
IcsFillOutcome RunFillFromIcsCommand(QWidget* parent, int year, int month, const PutTextOnDayFn& putTextOnDay,
                                     const IconToolHiderFn& setIconToolHidden = {});
