#include "rtf_format_facts.h"

#include <QBrush>
#include <QFont>
#include <QVariant>

namespace {

// A property's value read where it lies when it holds a T, else null: a property of
// another type reads as none, as QTextFormat's typed getters have it.
template <typename T>
const T* peek(const QVariant& value)
{
    return value.metaType() == QMetaType::fromType<T>() ? static_cast<const T*>(value.constData()) : nullptr;
}
template <typename T>
const T* peek(const QVariant&& value) = delete; // a temporary keeps no value to point to

// Reads one property; counts it when the format has it.
class Reader {
public:
    explicit Reader(const QTextFormat& f) : m_f(f) {}
    QVariant take(int property)
    {
        QVariant v = m_f.property(property);
        m_found += v.isValid();
        return v;
    }
    // Whether the format has properties besides those taken.
    bool hasOthers() const { return m_found < m_f.propertyCount(); }

private:
    const QTextFormat& m_f;
    int m_found = 0;
};

// The first family, as QTextCharFormat::fontFamilies() and then the single family give it.
QString familyOf(Reader& r)
{
    const QVariant families = r.take(QTextFormat::FontFamilies);
    if (const QStringList* list = peek<QStringList>(families)) {
        if (!list->isEmpty())
            return list->first();
    } else if (const QStringList list = families.toStringList(); !list.isEmpty()) {
        return list.first();
    }
    return r.take(QTextFormat::FontFamily).toString();
}

// A brush's colour, when the property holds a brush that paints.
bool colourOf(const QVariant& value, QColor* colour)
{
    const QBrush* brush = peek<QBrush>(value);
    if (!brush || brush->style() == Qt::NoBrush)
        return false;
    *colour = brush->color();
    return true;
}

} // namespace

RtfFormatFacts RtfFormatFacts::read(const QTextFormat& f)
{
    RtfFormatFacts facts;
    Reader r(f);
    facts.family = familyOf(r);
    const QVariant size = r.take(QTextFormat::FontPointSize);
    if (const double* d = peek<double>(size)) // doubleProperty reads floats too
        facts.points = *d;
    else if (const float* s = peek<float>(size))
        facts.points = *s;
    const QVariant weight = r.take(QTextFormat::FontWeight);
    if (const int* w = peek<int>(weight))
        facts.bold = *w >= QFont::DemiBold;
    const QVariant italic = r.take(QTextFormat::FontItalic);
    if (const bool* i = peek<bool>(italic))
        facts.italic = *i;
    facts.hasForeground = colourOf(r.take(QTextFormat::ForegroundBrush), &facts.foreground);
    facts.hasBackground = colourOf(r.take(QTextFormat::BackgroundBrush), &facts.background);
    if (r.hasOthers()) {
        facts.image = f.isImageFormat();
        const QTextCharFormat c = f.toCharFormat();
        facts.underline = c.fontUnderline();
        facts.strike = c.fontStrikeOut();
        facts.vertical = c.verticalAlignment();
    }
    return facts;
}
