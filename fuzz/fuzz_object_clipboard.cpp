// fuzz-link: ov_objects ov_special
// The object clipboard file (and the objects section of calendar files, which reads the
// same records): whatever the bytes, reading creates complete objects or reports why it
// stopped; anything else (crash, leak, hang, huge allocation, undefined behaviour) is a
// finding. What was read must write and read back to the same bytes, and draw.
#include "objects/base_panel.h"
#include "objects/graphic_control.h"
#include "objects/object_classes.h"
#include "objects/object_filer.h"
#include "platform/program_folder.h"
#include "platform/screen_ppi.h"
#include "richtext/wp_rich_text.h"
#include "special/flat_calendar.h"
#include "special/super_text.h"
#include "stream/stream_reader.h"
#include "stream/stream_writer.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {
QTemporaryDir* userData = nullptr;

// Rich-text labels draw through the hidden master editor of their window.
void addMasterEditor(QWidget& window)
{
    auto* master = new TWPRichText(&window);
    master->setObjectName(QStringLiteral("MASTERWPRICHTEXT"));
    master->hide();
}

QByteArray written(const QList<TGGraphicControl*>& objects)
{
    QByteArray out;
    TStreamWriter w(&out);
    TGLabelObjectFiler::WriteList(w, objects);
    return out;
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(*argc, *argv);
    userData = new QTemporaryDir;
    setUserDataFolderOverride(userData->path());
    setScreenPPIOverride(96);
    RegisterStandardObjectClasses();
    RegisterObjectClass<TGFlatCalendar>("TGFlatCalendar", TGFlatCalendar::Properties());
    RegisterObjectClass<TGSuperText>("TGSuperText", TGSuperText::Properties());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    TGBasePanel panel;
    panel.resize(800, 600);
    addMasterEditor(panel);
    TObjectReadResult read;
    try {
        TStreamReader r(bytes);
        r.readListBegin();
        read = TGLabelObjectFiler::ReadRecords(r, &panel);
    } catch (const EStreamError&) {
        return 0;
    }
    QImage canvas(64, 64, QImage::Format_RGB32);
    for (TGGraphicControl* o : read.objects) {
        if (!o->ContextMenu() || o->Reading)
            std::abort(); // an object left half-built
        QPainter p(&canvas);
        o->paintTo(p); // whatever values were stored
    }
    // Written and read again, the objects give the same bytes.
    const QByteArray once = written(read.objects);
    TGBasePanel again;
    addMasterEditor(again);
    TStreamReader r2(once);
    r2.readListBegin();
    const TObjectReadResult reread = TGLabelObjectFiler::ReadRecords(r2, &again);
    if (!reread.error.isEmpty() || written(reread.objects) != once)
        std::abort();
    return 0;
}
