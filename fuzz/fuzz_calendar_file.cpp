// fuzz-link: ov_calendar
// Calendar files and style sheets read into a page: whatever the bytes, loading either
// succeeds or throws EStreamError; anything else (crash, leak, hang, huge allocation,
// undefined behaviour) is a finding. Objects are read generically, as the dump does.
#include "calendar/calendar_file.h"
#include "calendar/style_sheet.h"
#include "platform/program_folder.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

namespace {
QTemporaryDir* programFolder = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    // An empty border folder of our own: border names in inputs go through the setter
    // but never reach real files. (Loading an existing picture is covered by the tests;
    // here it would only slow every run down.)
    programFolder = new QTemporaryDir;
    QDir(programFolder->path()).mkpath(QStringLiteral("Borders"));
    setProgramFolderOverride(programFolder->path() + QLatin1Char('/'));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    {
        TCalendarPage page(96);
        QBuffer buf;
        buf.setData(bytes);
        buf.open(QIODevice::ReadOnly);
        try {
            LoadCalendarFile(page, buf, [](TStreamReader& r) {
                while (!r.endOfList())
                    (void)readComponentRecord(r).properties.size();
                r.readListEnd();
            });
            // What loaded must save.
            QByteArray out;
            QBuffer sink(&out);
            sink.open(QIODevice::WriteOnly);
            SaveCalendarFile(page, sink);
        } catch (const EStreamError&) {
        }
    }
    {
        TCalendarPage page(96);
        QBuffer buf;
        buf.setData(bytes);
        buf.open(QIODevice::ReadOnly);
        try {
            LoadStyleSheet(page, buf);
        } catch (const EStreamError&) {
        }
    }
    return 0;
}
