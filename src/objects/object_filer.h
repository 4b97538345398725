#pragma once
#include <QList>
#include <QPoint>
#include <QString>

class TGBasePanel;
class TGGraphicControl;
class TGHandle;
class TStreamReader;
class TStreamWriter;

// What a read of object records gave: the objects created (complete, with their context
// menus, shown on the parent) and, when the list was damaged, the reason reading stopped.
struct TObjectReadResult {
    QList<TGGraphicControl*> objects;
    QString error;
};

// Writing and reading lists of object records: the object clipboard file, clones and
// the objects section of calendar files all use it.
namespace TGLabelObjectFiler {

// One record per object, in the order given (no list tags).
void WriteRecords(TStreamWriter& w, const QList<TGGraphicControl*>& objects);
// A whole list: list begin, records, end of list.
void WriteList(TStreamWriter& w, const QList<TGGraphicControl*>& objects);

// Reads records up to and including the end-of-list tag (the list-begin tag has been
// read), creating each object on `parent`, named "Component" + the first free number
// and moved by `offset`. A damaged record stops reading; the objects before it are kept
// and completed all the same.
TObjectReadResult ReadRecords(TStreamReader& r, TGBasePanel* parent, QPoint offset = QPoint());

// The clipboard file. The writers replace the file (throwing EStreamError when it cannot
// be written); WriteSelection writes nothing for an empty selection. ReadObjects reads
// nothing when the file does not exist and moves every object by (+15, +15).
void WriteSelection(const TGHandle& handle, const QString& fileName);
void WriteObject(const TGGraphicControl* obj, const QString& fileName);
TObjectReadResult ReadObjects(TGBasePanel* parent, const QString& fileName);

// The object written and read back at once on the same parent (renamed, not moved).
TGGraphicControl* CloneObject(const TGGraphicControl* obj, TGBasePanel* parent);

} // namespace TGLabelObjectFiler
