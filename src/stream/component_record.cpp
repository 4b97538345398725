#include "component_record.h"

namespace {

TComponentRecord readRecordAt(TStreamReader& r, bool withSignature, int depth)
{
    if (depth > TStreamReader::kMaxDepth)
        r.fail(QStringLiteral("The file nests components too deeply."));
    if (withSignature)
        r.readSignature();
    TComponentRecord rec;
    rec.className = r.readStr();
    rec.name = r.readStr();
    while (!r.endOfList()) {
        TStreamProperty p;
        p.name = r.readStr();
        p.value = r.readValue();
        rec.properties.push_back(std::move(p));
    }
    r.readListEnd();
    while (!r.endOfList())
        rec.children.push_back(readRecordAt(r, false, depth + 1));
    r.readListEnd();
    return rec;
}

void skipRecordAt(TStreamReader& r, bool withSignature, int depth)
{
    if (depth > TStreamReader::kMaxDepth)
        r.fail(QStringLiteral("The file nests components too deeply."));
    if (withSignature)
        r.readSignature();
    r.skip(r.readByte()); // class name
    r.skip(r.readByte()); // component name
    while (!r.endOfList()) {
        r.skip(r.readByte());
        r.skipValue();
    }
    r.readListEnd();
    while (!r.endOfList())
        skipRecordAt(r, false, depth + 1);
    r.readListEnd();
}

} // namespace

const TStreamProperty* TComponentRecord::property(const QByteArray& n) const
{
    const QByteArray key = propertyKey(n);
    for (const TStreamProperty& p : properties)
        if (propertyKey(p.name) == key)
            return &p;
    return nullptr;
}

TComponentRecord readComponentRecord(TStreamReader& r, bool withSignature)
{
    return readRecordAt(r, withSignature, 0);
}

void skipComponentRecord(TStreamReader& r, bool withSignature) { skipRecordAt(r, withSignature, 0); }

std::vector<TComponentRecord> readComponentList(TStreamReader& r)
{
    std::vector<TComponentRecord> out;
    while (!r.endOfList())
        out.push_back(readComponentRecord(r, true));
    r.readListEnd();
    return out;
}

void beginComponent(TStreamWriter& w, const QByteArray& className, const QByteArray& name, bool withSignature)
{
    if (withSignature)
        w.writeSignature();
    w.writeStr(className);
    w.writeStr(name);
}

void endComponent(TStreamWriter& w)
{
    w.writeListEnd(); // properties
    w.writeListEnd(); // children
}

void writeComponentRecord(TStreamWriter& w, const TComponentRecord& rec, bool withSignature)
{
    beginComponent(w, rec.className, rec.name, withSignature);
    for (const TStreamProperty& p : rec.properties) {
        w.writePropertyName(p.name);
        w.writeValue(p.value);
    }
    w.writeListEnd();
    for (const TComponentRecord& child : rec.children)
        writeComponentRecord(w, child, false);
    w.writeListEnd();
}
