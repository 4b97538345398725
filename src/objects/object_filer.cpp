#include "object_filer.h"

#include "objects/base_panel.h"
#include "objects/handle.h"
#include "objects/object_classes.h"
#include "stream/stream_error.h"
#include "stream/stream_reader.h"
#include "stream/stream_writer.h"

#include <QFile>
#include <QSaveFile>
#include <memory>

namespace {

// More objects than any page could hold means damage; it also bounds how many widgets
// a hostile file can make us create.
constexpr int kMaxObjects = 10000;

TGGraphicControl* readOne(TStreamReader& r, TGBasePanel* parent, QPoint offset)
{
    QByteArray stored;
    TComponentReadOptions<TGGraphicControl> options;
    options.assignName = [parent](TGGraphicControl& obj, const QByteArray&) {
        obj.Reading = true;
        obj.setObjectName(parent->StreamObjectName());
    };
    r.setCapture(&stored);
    std::unique_ptr<TGGraphicControl> obj;
    try {
        obj.reset(objectClasses().readComponent(r, options, parent));
    } catch (...) {
        r.setCapture(nullptr);
        throw;
    }
    r.setCapture(nullptr);
    obj->RecordRead(stored);
    if (!offset.isNull()) {
        obj->move(obj->x(), obj->y() + offset.y());
        obj->move(obj->x() + offset.x(), obj->y());
    }
    obj->Reading = false;
    return obj.release();
}

void saveList(const QList<TGGraphicControl*>& objects, const QString& fileName)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw EStreamError(QStringLiteral("The file cannot be created: %1").arg(file.errorString()));
    TStreamWriter w(file);
    TGLabelObjectFiler::WriteList(w, objects);
    if (!file.commit())
        throw EStreamError(QStringLiteral("The file could not be written: %1").arg(file.errorString()));
}

} // namespace

namespace TGLabelObjectFiler {

void WriteRecords(TStreamWriter& w, const QList<TGGraphicControl*>& objects)
{
    for (const TGGraphicControl* o : objects)
        o->WriteRecord(w);
}

void WriteList(TStreamWriter& w, const QList<TGGraphicControl*>& objects)
{
    w.writeListBegin();
    WriteRecords(w, objects);
    w.writeListEnd();
}

TObjectReadResult ReadRecords(TStreamReader& r, TGBasePanel* parent, QPoint offset)
{
    TObjectReadResult result;
    try {
        while (!r.endOfList()) {
            if (result.objects.size() >= kMaxObjects)
                r.fail(QStringLiteral("The file holds too many objects."));
            result.objects << readOne(r, parent, offset);
        }
        r.readListEnd();
    } catch (const EStreamError& e) {
        result.error = e.reason();
    } catch (const std::exception&) {
        result.error = QStringLiteral("The objects could not all be read.");
    }
    // Completed whether or not the list was whole: no half-built object stays behind.
    // An object that cannot be completed (a rich-text label without its master editor)
    // is dropped, and the first such reason reported.
    QList<TGGraphicControl*> complete;
    for (TGGraphicControl* o : std::as_const(result.objects)) {
        try {
            o->AfterLoad();
        } catch (const std::exception& e) {
            if (result.error.isEmpty())
                result.error = QString::fromUtf8(e.what());
            delete o;
            continue;
        }
        o->show();
        complete << o;
    }
    result.objects = complete;
    return result;
}

void WriteSelection(const TGHandle& handle, const QString& fileName)
{
    if (handle.Count() > 0)
        saveList(handle.Selection(), fileName);
}

void WriteObject(const TGGraphicControl* obj, const QString& fileName)
{
    saveList({const_cast<TGGraphicControl*>(obj)}, fileName);
}

TObjectReadResult ReadObjects(TGBasePanel* parent, const QString& fileName)
{
    QFile file(fileName);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly))
        return {{}, QStringLiteral("The file cannot be opened: %1").arg(file.errorString())};
    try {
        TStreamReader r(file);
        r.readListBegin();
        return ReadRecords(r, parent, QPoint(15, 15));
    } catch (const EStreamError& e) {
        return {{}, e.reason()};
    }
}

TGGraphicControl* CloneObject(const TGGraphicControl* obj, TGBasePanel* parent)
{
    QByteArray buffer;
    {
        TStreamWriter w(&buffer);
        WriteList(w, {const_cast<TGGraphicControl*>(obj)});
    }
    TStreamReader r(buffer);
    r.readListBegin();
    const TObjectReadResult read = ReadRecords(r, parent);
    return read.objects.isEmpty() ? nullptr : read.objects.first();
}

} // namespace TGLabelObjectFiler
