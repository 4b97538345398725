#pragma once
#include <QByteArray>
#include <QList>

// Hand-written RTF in the style that common word processors emit.
namespace rtfsamples {

struct Sample {
    const char* name;
    QByteArray rtf;
};

QByteArray wordPad();
QByteArray word();
QByteArray libreOffice();
QByteArray pastedFromWord();
QList<Sample> all();

} // namespace rtfsamples
