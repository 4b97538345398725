#include "stream_value.h"

#include <QJsonArray>
#include <QJsonObject>
#include <cmath>

TStreamValue TStreamValue::fromInteger(qint64 i)
{
    TStreamValue v;
    v.type = i >= -128 && i <= 127         ? TValueType::vaInt8
             : i >= -32768 && i <= 32767   ? TValueType::vaInt16
                                           : TValueType::vaInt32;
    v.integer = i;
    return v;
}

TStreamValue TStreamValue::fromString(const QString& s)
{
    TStreamValue v;
    v.bytes = toFileString(s);
    v.type = v.bytes.size() <= 255 ? TValueType::vaString : TValueType::vaLString;
    return v;
}

TStreamValue TStreamValue::fromBoolean(bool b)
{
    TStreamValue v;
    v.type = b ? TValueType::vaTrue : TValueType::vaFalse;
    return v;
}

TStreamValue TStreamValue::fromIdent(const QByteArray& id)
{
    TStreamValue v;
    v.type = TValueType::vaIdent;
    v.bytes = id;
    return v;
}

TStreamValue TStreamValue::fromBinary(const QByteArray& data)
{
    TStreamValue v;
    v.type = TValueType::vaBinary;
    v.bytes = data;
    return v;
}

TStreamValue TStreamValue::fromFloat(double d)
{
    TStreamValue v;
    v.type = TValueType::vaExtended;
    v.real = d;
    return v;
}

QJsonValue propertiesToJson(const std::vector<TStreamProperty>& props)
{
    QJsonObject o;
    for (const TStreamProperty& p : props)
        o.insert(QString::fromLatin1(p.name), p.value.toJson());
    return o;
}

QJsonValue TStreamValue::toJson() const
{
    switch (type) {
    case TValueType::vaNull:
    case TValueType::vaNil:
        return QJsonValue::Null;
    case TValueType::vaList: {
        QJsonArray a;
        for (const TStreamValue& v : list)
            a.append(v.toJson());
        return a;
    }
    case TValueType::vaInt8:
    case TValueType::vaInt16:
    case TValueType::vaInt32:
        return double(integer);
    case TValueType::vaExtended:
        if (std::isnan(real))
            return QStringLiteral("NaN");
        if (std::isinf(real))
            return real > 0 ? QStringLiteral("Infinity") : QStringLiteral("-Infinity");
        return real;
    case TValueType::vaString:
    case TValueType::vaLString:
        return text();
    case TValueType::vaIdent:
        return QString::fromLatin1(bytes);
    case TValueType::vaFalse:
        return false;
    case TValueType::vaTrue:
        return true;
    case TValueType::vaBinary:
        return QJsonObject{{QStringLiteral("size"), double(bytes.size())},
                           {QStringLiteral("base64"), QString::fromLatin1(bytes.toBase64())}};
    case TValueType::vaSet: {
        QJsonArray a;
        for (const QByteArray& n : set)
            a.append(QString::fromLatin1(n));
        return a;
    }
    case TValueType::vaCollection: {
        QJsonArray a;
        for (const TCollectionItem& item : items) {
            QJsonObject o;
            o.insert(QStringLiteral("index"), item.index ? QJsonValue(double(*item.index)) : QJsonValue());
            o.insert(QStringLiteral("properties"), propertiesToJson(item.properties));
            a.append(o);
        }
        return a;
    }
    }
    return QJsonValue::Null;
}
