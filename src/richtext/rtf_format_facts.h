#pragma once
#include <QColor>
#include <QString>
#include <QTextCharFormat>

// What a character format says that RTF carries, read in one go and as QTextCharFormat's
// getters read it. The writer reads each of a document's formats once, and with
// thousands of formats the reading is much of its work: the properties most formats
// set are read in place, and the rare ones are looked for only when the format has
// properties besides those.
struct RtfFormatFacts {
    QString family; // the first font family; empty: none set
    qreal points = 0; // the size in points; 0 or less: none set
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool hasForeground = false; // a brush that paints
    QColor foreground;
    bool hasBackground = false;
    QColor background;
    QTextCharFormat::VerticalAlignment vertical = QTextCharFormat::AlignNormal;
    bool image = false; // an image's object character

    static RtfFormatFacts read(const QTextFormat& format);
};
