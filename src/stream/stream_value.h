#pragma once
#include "stream/value_type.h"
#include "stream/win1252.h"

#include <QByteArray>
#include <QJsonValue>
#include <QList>
#include <optional>
#include <vector>

struct TCollectionItem;

// Any typed value, as read without knowing the class it belongs to. Used to skip,
// copy and dump values generically.
struct TStreamValue {
    TValueType type = TValueType::vaNil;
    qint64 integer = 0;                 // vaInt8, vaInt16, vaInt32
    double real = 0;                    // vaExtended
    QByteArray bytes;                   // vaString/vaLString (file bytes), vaIdent, vaBinary,
                                        // vaExtended as read (10 raw bytes; empty when made from a double)
    QList<QByteArray> set;              // vaSet
    std::vector<TStreamValue> list;     // vaList
    std::vector<TCollectionItem> items; // vaCollection

    static TStreamValue fromInteger(qint64 v);
    static TStreamValue fromString(const QString& s);
    static TStreamValue fromBoolean(bool b);
    static TStreamValue fromIdent(const QByteArray& id);
    static TStreamValue fromBinary(const QByteArray& data);
    static TStreamValue fromFloat(double d);

    bool isInteger() const { return type == TValueType::vaInt8 || type == TValueType::vaInt16 || type == TValueType::vaInt32; }
    bool isString() const { return type == TValueType::vaString || type == TValueType::vaLString; }
    QString text() const { return fromFileString(bytes); }

    // JSON for dumps: integers and floats as numbers (non-finite floats as strings),
    // strings as text, identifiers as their name, Booleans, nil as null, sets and lists
    // as arrays, data blocks as {"size", "base64"}, collections as arrays of
    // {"index", "properties"}.
    QJsonValue toJson() const;
};

// One "name, value" entry of a property list.
struct TStreamProperty {
    QByteArray name; // as stored: "Left", "Font.Name", "Picture.Data"
    TStreamValue value;
};

// One item of a collection: an optional ordinal, then a property list.
struct TCollectionItem {
    std::optional<qint32> index;
    std::vector<TStreamProperty> properties;
};

QJsonValue propertiesToJson(const std::vector<TStreamProperty>& props);
