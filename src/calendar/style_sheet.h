#pragma once
#include "calendar/calendar_file.h"

// Style sheets (".OVS"): the look of a calendar without its content. List begin,
// version 4, kind 2, the settings block, the border name, list end.

void SaveStyleSheet(const TCalendarPage& page, QIODevice& device);
// Writes through QSaveFile.
void SaveStyleSheet(const TCalendarPage& page, const QString& fileName);

// Stores the settings directly; a version below 4 clears the border, otherwise the
// border name is assigned through the page's border setter. A calendar file read as a
// style sheet keeps its settings and border and then fails at the expected list end.
// Throws EStreamError; settings read before a failure stay.
void LoadStyleSheet(TCalendarPage& page, QIODevice& device, TCalendarFileInfo* info = nullptr);
void LoadStyleSheet(TCalendarPage& page, const QString& fileName, TCalendarFileInfo* info = nullptr);
