#include "stored_object.h"

#include "stream/stream_reader.h"
#include "stream/stream_writer.h"

#include <QPainter>

namespace {
const QByteArray kRewritable[] = {"Left", "Top", "Width", "Height", "Locked", "Unselectable"};
}

StoredObject::StoredObject(const QByteArray& streamName, QWidget* parent)
    : TGGraphicControl(parent), m_className(streamName)
{
}

void StoredObject::RecordRead(const QByteArray& storedRecord)
{
    m_record = storedRecord;
    m_entries.clear();
    TStreamReader r(storedRecord);
    r.readSignature();
    m_className = r.readStr();
    r.readStr(); // the name: the object's own name replaces it
    m_propertiesBegin = r.position();
    while (!r.endOfList()) {
        Entry e;
        e.begin = r.position();
        e.name = r.readStr();
        e.valueBegin = r.position();
        e.value = r.readValue();
        e.end = r.position();
        m_entries.push_back(std::move(e));
    }
    m_propertiesEnd = r.position();

    // The common properties, read with the checks every object class applies.
    const TPropertySet<TGGraphicControl> common = CommonProperties();
    for (const Entry& e : m_entries) {
        if (!common.has(e.name))
            continue;
        TStreamReader value(storedRecord.mid(e.valueBegin, e.end - e.valueBegin));
        common.read(*this, e.name, value);
    }
}

std::optional<TStreamValue> StoredObject::currentValue(const QByteArray& name) const
{
    if (name == "Left")
        return TStreamValue::fromInteger(x());
    if (name == "Top")
        return TStreamValue::fromInteger(y());
    if (name == "Width")
        return TStreamValue::fromInteger(width());
    if (name == "Height")
        return TStreamValue::fromInteger(height());
    if (name == "Locked")
        return TStreamValue::fromBoolean(Locked());
    if (name == "Unselectable")
        return TStreamValue::fromBoolean(Unselectable());
    return std::nullopt;
}

void StoredObject::WriteRecord(TStreamWriter& w) const
{
    auto sameValue = [](const TStreamValue& a, const TStreamValue& b) {
        if (a.isInteger() && b.isInteger())
            return a.integer == b.integer;
        return a.type == b.type;
    };
    auto rewritable = [](const QByteArray& name) {
        for (const QByteArray& n : kRewritable)
            if (name.compare(n, Qt::CaseInsensitive) == 0)
                return QByteArray(n);
        return QByteArray();
    };
    beginComponent(w, m_className, objectName().toLatin1());
    QList<QByteArray> seen;
    for (const Entry& e : m_entries) {
        const QByteArray key = rewritable(e.name);
        const auto now = key.isEmpty() ? std::nullopt : currentValue(key);
        if (key.isEmpty() || !now || sameValue(*now, e.value)) {
            w.write(m_record.mid(e.begin, e.end - e.begin));
        } else {
            w.write(m_record.mid(e.begin, e.valueBegin - e.begin)); // the name as stored
            w.writeValue(*now);
        }
        if (!key.isEmpty())
            seen << key;
    }
    // An entry the record lacked is added once it no longer has its default.
    for (const QByteArray& n : kRewritable) {
        const TStreamValue v = *currentValue(n);
        const bool isDefault = v.isInteger() ? v.integer == 0 : v.type == TValueType::vaFalse;
        if (!seen.contains(n) && !isDefault) {
            w.writePropertyName(n);
            w.writeValue(v);
        }
    }
    w.write(m_record.mid(m_propertiesEnd));
}

void StoredObject::paintTo(QPainter& p)
{
    // A framed box naming the class, so the user sees what is there.
    p.save();
    const QRect r(0, 0, width() - 1, height() - 1);
    p.fillRect(r, QColor(240, 240, 240, 160));
    p.setPen(QPen(QColor(96, 96, 96), 1, Qt::DashLine));
    p.drawRect(r);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(std::max(8, std::min(12, height() / 3)));
    p.setFont(f);
    p.setPen(QColor(64, 64, 64));
    p.drawText(r.adjusted(3, 2, -3, -2), Qt::AlignCenter | Qt::TextWordWrap, QString::fromLatin1(m_className));
    p.restore();
}
