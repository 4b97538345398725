#pragma once
// What filling a month from iCalendar events writes into which day.
#include "ics_reader.h"
#include "recurring_fill.h" // RecurringPlacement

#include <QList>
#include <QLocale>

// The placements of the chosen events (indexes into `events`) in the order they are
// written: day by day; within a day first what lasts the whole day or goes on from an
// earlier day (earliest start first), then timed occurrences by start time; equal
// starts by text, then by their order in the file.
//
// An all-day occurrence writes its summary on every day of the month it covers. A timed
// occurrence writes "<start time> <summary>" on its first day, the time in the locale's
// short format, and the summary alone on the further days it covers; an occurrence
// ending at midnight does not cover the day that begins then.
QList<RecurringPlacement> ComputeIcsPlacements(const QList<IcsEvent>& events, const QList<int>& chosen, int year,
                                               int month, const QLocale& locale = QLocale());

// Every event chosen.
QList<RecurringPlacement> ComputeIcsPlacements(const QList<IcsEvent>& events, int year, int month,
                                               const QLocale& locale = QLocale());

// The picker's order of the events: by their first start in the month, then by summary,
// then by file order. Returns indexes into `events`.
QList<int> IcsEventOrder(const QList<IcsEvent>& events);

// The picker's row for an event: its summary and the days it falls on in the month,
// runs of days joined ("Course (3–5, 12)").
QString IcsEventRowText(const IcsEvent& event, int year, int month);

inline const QString kNoIcsMatchMessage = QStringLiteral("No events of this file fall in the current month");
