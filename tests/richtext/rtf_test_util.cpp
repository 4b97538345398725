#include "rtf_test_util.h"

#include "richtext/rtf_picture.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QTextBlock>
#include <QTextDocument>

namespace rtftest {
namespace {

QString attrs(const QTextCharFormat& f)
{
    if (TWPRtfPicture::isPictureFormat(f)) {
        const TWPRtfPicture p = TWPRtfPicture::fromFormat(f);
        return QStringLiteral("pict:%1:%2x%3:%4x%5:%6")
            .arg(int(p.kind))
            .arg(p.picw)
            .arg(p.pich)
            .arg(p.goalw)
            .arg(p.goalh)
            .arg(QString::fromLatin1(QCryptographicHash::hash(p.data, QCryptographicHash::Md5).toHex().left(8)));
    }
    QStringList a;
    QStringList fam = f.fontFamilies().toStringList();
    if (!fam.isEmpty() && !fam.first().isEmpty())
        a << QStringLiteral("f=") + fam.first();
    if (f.hasProperty(QTextFormat::FontPointSize) && f.fontPointSize() > 0)
        a << QStringLiteral("s=") + QString::number(qRound(f.fontPointSize() * 2) / 2.0);
    if (f.hasProperty(QTextFormat::FontWeight) && f.fontWeight() >= QFont::DemiBold)
        a << QStringLiteral("b");
    if (f.fontItalic())
        a << QStringLiteral("i");
    if (f.fontUnderline())
        a << QStringLiteral("u");
    if (f.fontStrikeOut())
        a << QStringLiteral("x");
    if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush)
        a << QStringLiteral("c=") + f.foreground().color().name();
    if (f.hasProperty(QTextFormat::BackgroundBrush) && f.background().style() != Qt::NoBrush)
        a << QStringLiteral("bg=") + f.background().color().name();
    if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        a << QStringLiteral("sup");
    else if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
        a << QStringLiteral("sub");
    return a.join(QLatin1Char(','));
}

} // namespace

QString describe(const QTextDocument& doc)
{
    QStringList lines;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        QString line;
        const Qt::Alignment al = b.blockFormat().alignment();
        line += (al & Qt::AlignHCenter) ? QLatin1Char('C') : (al & Qt::AlignJustify) ? QLatin1Char('J')
            : (al & Qt::AlignRight) ? QLatin1Char('R') : QLatin1Char('L');
        line += QLatin1Char('|');
        QString current;
        bool first = true;
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            const QString a = attrs(frag.charFormat());
            const bool pict = TWPRtfPicture::isPictureFormat(frag.charFormat());
            for (QChar c : frag.text()) {
                if (first || a != current || pict) {
                    line += QLatin1Char('{') + a + QLatin1Char('}');
                    current = a;
                    first = false;
                }
                if (!pict)
                    line += c == QChar::LineSeparator ? QStringLiteral("<br>") : QString(c);
            }
        }
        line += QLatin1Char('{') + attrs(b.charFormat()) + QStringLiteral("}¶");
        lines << line;
    }
    return lines.join(QLatin1Char('\n'));
}

QString describeRtf(const QByteArray& rtf)
{
    QTextDocument d;
    ReadRtf(rtf, &d);
    return describe(d);
}

QByteArray normalise(const QByteArray& rtf)
{
    QTextDocument d;
    ReadRtf(rtf, &d);
    return WriteRtf(d);
}

QImage sampleImage(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(x * 40 % 256, y * 60 % 256, (x + y) * 20 % 256));
    return img;
}

QByteArray pngBytes(const QImage& img)
{
    QByteArray b;
    QBuffer buf(&b);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "PNG");
    return b;
}

} // namespace rtftest
