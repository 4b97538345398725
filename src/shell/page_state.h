#pragma once
#include "calendar/calendar_settings.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <array>

class TCalendarPanel32;

// Everything a calendar file holds, as the file holds it: the settings block, each day
// cell's RTF and each placed object's stream record in z-order. Two states taken one
// after the other share the bytes of whatever did not change, so a history of them
// costs little more than the changes themselves.
struct PageState {
    struct Object {
        QString name;
        QByteArray record;
        bool operator==(const Object&) const = default;
    };

    TCalendarSettings settings; // restored as a value, compared through settingsBlock
    QByteArray settingsBlock;
    std::array<QByteArray, 42> cells; // cell i + 1
    QList<Object> objects; // back to front
    float zoom = 1.0f; // the zoom the objects' geometry was taken at

    // Same document (the zoom is not part of it).
    bool samePage(const PageState& other) const;
    // Adds each block of bytes to `seen` (keyed by its data, so shared blocks count once).
    void collectBlocks(QHash<const char*, qsizetype>& seen) const;
};

// Takes the page's state; blocks equal to those of `share` are taken from it.
PageState CapturePageState(const TCalendarPanel32& page, const PageState* share = nullptr);

// Makes the page hold `state` again: settings, cells, and the objects whose record
// differs (or all of them after a zoom change) rebuilt through the object stream. The
// selection is cleared. Nothing here throws.
void RestorePageState(TCalendarPanel32& page, const PageState& state);
