#pragma once
#include "stream/stream_reader.h"
#include "stream/stream_value.h"
#include "stream/stream_writer.h"

#include <QByteArray>
#include <QHash>
#include <functional>
#include <memory>
#include <vector>

// Component records: "TPF0" (top level only), class name, component name, the
// property list ended by an end-of-list tag, the child records ended by another.
// Class, component and property names are short strings without a tag.

// A record read without knowing its class, for skipping, copying and dumping.
struct TComponentRecord {
    QByteArray className;
    QByteArray name;
    std::vector<TStreamProperty> properties;
    std::vector<TComponentRecord> children;

    const TStreamProperty* property(const QByteArray& name) const; // case-insensitive
};

// Reads one record generically. Children are records without a signature.
TComponentRecord readComponentRecord(TStreamReader& r, bool withSignature = true);
// Skips one record without building it.
void skipComponentRecord(TStreamReader& r, bool withSignature = true);
void writeComponentRecord(TStreamWriter& w, const TComponentRecord& rec, bool withSignature = true);

// Reads the records of a list whose list-begin tag has been read, up to and including
// its end-of-list tag.
std::vector<TComponentRecord> readComponentList(TStreamReader& r);

// Writing one record by hand: header, then writePropertyName + a value per property,
// then endComponent (ends the property list and an empty child list).
void beginComponent(TStreamWriter& w, const QByteArray& className, const QByteArray& name,
                    bool withSignature = true);
void endComponent(TStreamWriter& w);

// Property names compare without regard to case, as the legacy streaming did.
inline QByteArray propertyKey(const QByteArray& name) { return name.toLower(); }

// How a class takes the properties of its records: a reader per property name, and
// for embedded objects ("Font.Name", "Picture.Data") a nested set reached from the
// object. Readers assign through the object's setters.
template <class T>
class TPropertySet {
public:
    using Reader = std::function<void(T&, TStreamReader&)>;
    // Reads the rest of a nested path ("Name" of "Font.Name"); false when unknown.
    struct NestedReader {
        std::function<bool(T&, const QByteArray&, TStreamReader&)> read;
        std::function<bool(const QByteArray&)> has;
    };

    TPropertySet& add(const QByteArray& name, Reader reader)
    {
        m_props.insert(propertyKey(name), std::move(reader));
        return *this;
    }

    template <class U>
    TPropertySet& addNested(const QByteArray& outer, std::function<U&(T&)> access, TPropertySet<U> inner)
    {
        NestedReader n;
        n.has = [inner](const QByteArray& rest) { return inner.has(rest); };
        n.read = [access = std::move(access), inner](T& obj, const QByteArray& rest, TStreamReader& r) {
            // Check first, so an unknown member does not touch the embedded object.
            return inner.has(rest) && inner.read(access(obj), rest, r);
        };
        m_nested.insert(propertyKey(outer), std::move(n));
        return *this;
    }

    // Takes every property of a base class's set.
    template <class B>
    TPropertySet& inherit(const TPropertySet<B>& base)
    {
        for (auto it = base.m_props.cbegin(); it != base.m_props.cend(); ++it)
            m_props.insert(it.key(), [r = it.value()](T& obj, TStreamReader& s) { r(static_cast<B&>(obj), s); });
        for (auto it = base.m_nested.cbegin(); it != base.m_nested.cend(); ++it) {
            NestedReader n;
            n.has = it.value().has;
            n.read = [r = it.value().read](T& obj, const QByteArray& rest, TStreamReader& s) {
                return r(static_cast<B&>(obj), rest, s);
            };
            m_nested.insert(it.key(), std::move(n));
        }
        return *this;
    }

    bool has(const QByteArray& path) const
    {
        const QByteArray key = propertyKey(path);
        if (m_props.contains(key))
            return true;
        const qsizetype dot = key.indexOf('.');
        if (dot <= 0)
            return false;
        auto nt = m_nested.constFind(key.left(dot));
        return nt != m_nested.cend() && nt.value().has(key.mid(dot + 1));
    }

    // Reads the value of `path` into obj. False, with nothing consumed, when the set has
    // no such property.
    bool read(T& obj, const QByteArray& path, TStreamReader& r) const
    {
        const QByteArray key = propertyKey(path);
        if (auto it = m_props.constFind(key); it != m_props.cend()) {
            it.value()(obj, r);
            return true;
        }
        const qsizetype dot = key.indexOf('.');
        if (dot <= 0)
            return false;
        auto nt = m_nested.constFind(key.left(dot));
        return nt != m_nested.cend() && nt.value().read(obj, path.mid(dot + 1), r);
    }

private:
    template <class>
    friend class TPropertySet;
    QHash<QByteArray, Reader> m_props;
    QHash<QByteArray, NestedReader> m_nested;
};

// Options of a registry read.
template <class Base>
struct TComponentReadOptions {
    bool withSignature = true;
    // Legacy readers failed on a property the class does not publish; by default such a
    // property is skipped (its value is well-formed, so the rest of the record is kept).
    bool failOnUnknownProperty = false;
    // Receives the name read from the stream, right after the object is created; the
    // owner renames it ("Component" + n) or keeps it.
    std::function<void(Base&, const QByteArray&)> assignName;
};

// The classes a reader can create by name: a factory and the class's property set.
// `CreateArgs` are what the reader passes to every factory (owner, parent, ...).
template <class Base, class... CreateArgs>
class TClassRegistry {
public:
    struct Entry {
        QByteArray className;
        std::function<Base*(CreateArgs...)> create;
        std::function<bool(Base&, const QByteArray&, TStreamReader&)> readProperty;
    };

    template <class T>
    void registerClass(const QByteArray& className, std::function<T*(CreateArgs...)> factory,
                       TPropertySet<T> properties)
    {
        Entry e;
        e.className = className;
        e.create = [f = std::move(factory)](CreateArgs... args) -> Base* { return f(args...); };
        e.readProperty = [p = std::move(properties)](Base& obj, const QByteArray& path, TStreamReader& r) {
            return p.read(static_cast<T&>(obj), path, r);
        };
        m_entries.insert(className.toLower(), std::move(e));
    }

    // Class names compare without regard to case.
    const Entry* find(const QByteArray& className) const
    {
        auto it = m_entries.constFind(className.toLower());
        return it == m_entries.cend() ? nullptr : &it.value();
    }

    bool isRegistered(const QByteArray& className) const { return find(className) != nullptr; }

    // Reads one record: signature, class name (an unregistered class is an error), then
    // creates the object, hands it the name read, assigns the properties and skips the
    // child list. On any error the half-read object is deleted and the error rethrown;
    // on success the caller owns the object.
    Base* readComponent(TStreamReader& r, const TComponentReadOptions<Base>& options, CreateArgs... args) const
    {
        if (options.withSignature)
            r.readSignature();
        const QByteArray className = r.readStr();
        const Entry* entry = find(className);
        if (!entry)
            r.fail(QStringLiteral("Class %1 not found.").arg(QString::fromLatin1(className)));
        std::unique_ptr<Base> obj(entry->create(args...));
        if (!obj)
            r.fail(QStringLiteral("Class %1 not found.").arg(QString::fromLatin1(className)));
        const QByteArray name = r.readStr();
        if (options.assignName)
            options.assignName(*obj, name);
        while (!r.endOfList()) {
            const QByteArray prop = r.readStr();
            if (!entry->readProperty(*obj, prop, r)) {
                if (options.failOnUnknownProperty)
                    r.fail(QStringLiteral("Property %1 does not exist.").arg(QString::fromLatin1(prop)));
                r.skipValue();
            }
        }
        r.readListEnd();
        while (!r.endOfList())
            skipComponentRecord(r, false);
        r.readListEnd();
        return obj.release();
    }

private:
    QHash<QByteArray, Entry> m_entries;
};
