#include "object_properties.h"

#include "objects/color_identifiers.h"

void TObjectPropertyWriter::integer(const char* name, qint64 v)
{
    m_w.writePropertyName(name);
    m_w.writeInteger(v);
}

void TObjectPropertyWriter::integerUnless(const char* name, qint64 v, qint64 defaultValue)
{
    if (v != defaultValue)
        integer(name, v);
}

void TObjectPropertyWriter::boolean(const char* name, bool v)
{
    m_w.writePropertyName(name);
    m_w.writeBoolean(v);
}

void TObjectPropertyWriter::ident(const char* name, const QByteArray& id)
{
    m_w.writePropertyName(name);
    m_w.writeIdent(id);
}

void TObjectPropertyWriter::color(const char* name, TColor c)
{
    const QByteArray id = colorIdentifier(c);
    m_w.writePropertyName(name);
    if (id.isEmpty())
        m_w.writeInteger(c);
    else
        m_w.writeIdent(id);
}

void TObjectPropertyWriter::colorUnless(const char* name, TColor c, TColor defaultValue)
{
    if (c != defaultValue)
        color(name, c);
}

void TObjectPropertyWriter::stringUnlessEmpty(const char* name, const QString& s)
{
    if (s.isEmpty())
        return;
    m_w.writePropertyName(name);
    m_w.writeString(s);
}

void TObjectPropertyWriter::font(const char* name, const TObjectFont& f)
{
    const QByteArray n(name);
    color(n + ".Color", f.Color);
    integer(n + ".Height", f.Height);
    stringUnlessEmpty(n + ".Name", f.Name);
    if (f.Pitch != TFontPitch::fpDefault)
        ident(n + ".Pitch", fontPitchName(f.Pitch));
    QList<QByteArray> style;
    if (f.Bold)
        style << "fsBold";
    if (f.Italic)
        style << "fsItalic";
    if (f.Underline)
        style << "fsUnderline";
    if (f.StrikeOut)
        style << "fsStrikeOut";
    m_w.writePropertyName(n + ".Style");
    m_w.writeSet(style);
}

void TObjectPropertyWriter::binary(const char* name, const QByteArray& data)
{
    m_w.writePropertyName(name);
    m_w.writeBinary(data);
}

TColor readColor(TStreamReader& r)
{
    if (r.nextValue() == TValueType::vaIdent) {
        const QByteArray id = r.readIdent();
        if (const auto c = colorFromIdentifier(id))
            return *c;
        r.fail(streamtext::invalidValue());
    }
    return r.readInteger();
}

int readEnumIdent(TStreamReader& r, std::initializer_list<const char*> names)
{
    const QByteArray id = r.readIdent();
    int i = 0;
    for (const char* n : names) {
        if (id.compare(n, Qt::CaseInsensitive) == 0)
            return i;
        ++i;
    }
    r.fail(streamtext::invalidValue());
}

TPropertySet<TObjectFont> fontProperties()
{
    TPropertySet<TObjectFont> p;
    p.add("Color", [](TObjectFont& f, TStreamReader& r) { f.Color = readColor(r); });
    p.add("Height", [](TObjectFont& f, TStreamReader& r) {
        const qint32 h = r.readInteger();
        // Windows fonts stop far below this; larger is damage.
        if (h < -16384 || h > 16384)
            r.fail(streamtext::invalidValue());
        f.Height = h;
    });
    p.add("Name", [](TObjectFont& f, TStreamReader& r) { f.Name = r.readString(); });
    p.add("Pitch", [](TObjectFont& f, TStreamReader& r) {
        f.Pitch = TFontPitch(readEnumIdent(r, {"fpDefault", "fpVariable", "fpFixed"}));
    });
    p.add("Style", [](TObjectFont& f, TStreamReader& r) {
        f.Bold = f.Italic = f.Underline = f.StrikeOut = false;
        for (const QByteArray& m : r.readSet()) {
            if (m.compare("fsBold", Qt::CaseInsensitive) == 0)
                f.Bold = true;
            else if (m.compare("fsItalic", Qt::CaseInsensitive) == 0)
                f.Italic = true;
            else if (m.compare("fsUnderline", Qt::CaseInsensitive) == 0)
                f.Underline = true;
            else if (m.compare("fsStrikeOut", Qt::CaseInsensitive) == 0)
                f.StrikeOut = true;
            else
                r.fail(streamtext::invalidValue());
        }
    });
    return p;
}
