#pragma once
#include "objects/graphic_control.h"
#include "stream/stream_value.h"

#include <vector>

// Stands in for an object class this build cannot draw yet: it keeps the record exactly
// as stored and shows a framed box with the class name at the stored bounds. It can be
// selected, moved, sized, locked, copied and deleted; when written back only the entries
// that changed (Left, Top, Width, Height, Locked, Unselectable) are rewritten, each in
// its place, and every other byte of the record stays as it was read.
class StoredObject : public TGGraphicControl {
    Q_OBJECT
public:
    StoredObject(const QByteArray& streamName, QWidget* parent = nullptr);

    QByteArray StreamClassName() const override { return m_className; }
    void WriteRecord(TStreamWriter& w) const override;
    void RecordRead(const QByteArray& storedRecord) override;
    void paintTo(QPainter& painter) override;

    const QByteArray& StoredRecord() const { return m_record; }

private:
    struct Entry {
        QByteArray name;
        qsizetype begin = 0;      // where the entry's name starts
        qsizetype valueBegin = 0; // where its value starts
        qsizetype end = 0;        // one past its value
        TStreamValue value;
    };
    // The current value of a common property, when the object holds it.
    std::optional<TStreamValue> currentValue(const QByteArray& name) const;

    QByteArray m_className;
    QByteArray m_record;           // as stored, from "TPF0" to the end of the child list
    qsizetype m_propertiesBegin = 0;
    qsizetype m_propertiesEnd = 0; // where the end-of-list tag of the properties is
    std::vector<Entry> m_entries;
};
