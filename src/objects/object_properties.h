#pragma once
#include "objects/object_font.h"
#include "stream/component_record.h"
#include "stream/stream_reader.h"
#include "stream/stream_writer.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Writing the property list of an object record: each helper writes the name and one
// typed value by the rules every object class shares (smallest integer tag, named
// colours as identifiers, enumerations as identifiers, Booleans always as their tags).
class TObjectPropertyWriter {
public:
    explicit TObjectPropertyWriter(TStreamWriter& w) : m_w(w) {}

    void integer(const char* name, qint64 v);
    void integerUnless(const char* name, qint64 v, qint64 defaultValue);
    void boolean(const char* name, bool v);
    void ident(const char* name, const QByteArray& id);
    void color(const char* name, TColor c);
    void colorUnless(const char* name, TColor c, TColor defaultValue);
    void stringUnlessEmpty(const char* name, const QString& s);
    // "Name.Color", "Name.Height", "Name.Name" (when not empty), "Name.Pitch" (when not
    // fpDefault), "Name.Style".
    void font(const char* name, const TObjectFont& f);
    void binary(const char* name, const QByteArray& data);

    TStreamWriter& stream() { return m_w; }

private:
    TStreamWriter& m_w;
};

// Reading values of object properties.
TColor readColor(TStreamReader& r); // an identifier of a named colour or an integer
// An enumeration stored as its identifier: the index of the name in `names`
// (case-insensitive); any other identifier is an invalid value.
int readEnumIdent(TStreamReader& r, std::initializer_list<const char*> names);
// The nested members of a font ("Color", "Height", "Name", "Pitch", "Style").
TPropertySet<TObjectFont> fontProperties();
