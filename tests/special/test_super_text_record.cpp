// SuperText in the object stream: the exact record bytes of a new and of a changed
// object, reading them back to the same bytes, and damaged texture blocks.
#include "flat_calendar_bytes.h"
#include "imaging/bmp_writer.h"
#include "imaging/picture_loader.h"
#include "objects/object_filer.h"
#include "stream/stream_reader.h"
#include "super_text_test_support.h"
#include "test_registry.h"

#include <QtEndian>

namespace {
using B = flatbytes::Record; // the byte helpers

QByteArray listOf(const QByteArray& record) { return QByteArray("\x01", 1) + record + QByteArray(1, '\0'); }

TObjectReadResult readList(TGBasePanel& panel, const QByteArray& list)
{
    TStreamReader r(list);
    r.readListBegin();
    return TGLabelObjectFiler::ReadRecords(r, &panel);
}

void string(QByteArray& b, const QByteArray& name, const QByteArray& value)
{
    B::str(b, name);
    b += char(6);
    B::str(b, value);
}

QByteArray le32(quint32 v)
{
    QByteArray b(4, '\0');
    qToLittleEndian(v, b.data());
    return b;
}

// A SuperText record spelled out from the record layout; defaults are a new object's.
struct Record {
    QByteArray objectName = "Component0";
    int left = 0, top = 0, width = 142, height = 33;
    bool locked = false;
    std::optional<int> shadowDepth;
    QByteArray shadowOrientation;
    std::optional<flatbytes::Color> shadowColor;
    QByteArray border = "bsNone";
    bool transparent = true;
    flatbytes::Color bg = "clWhite";
    QByteArray caption = "Text";
    flatbytes::Font font{"clBlack", -64, "Arial", {"fsBold"}};
    QByteArray fill = "gdRight";
    flatbytes::Color to = "clYellow", from = "clBlue";
    QByteArray imageBmp;
    flatbytes::Color outline = "clBlack";
    QByteArray outlineStyle = "psSolid";
    int outlineWidth = 1;
    QByteArray surface = "stGradientFill";
    QByteArray lastFile;

    QByteArray bytes() const
    {
        QByteArray b("TPF0");
        B::str(b, "TGSuperText");
        B::str(b, objectName);
        B::integer(b, "Left", left);
        B::integer(b, "Top", top);
        B::integer(b, "Width", width);
        B::integer(b, "Height", height);
        B::boolean(b, "Locked", locked);
        B::boolean(b, "Unselectable", false);
        if (shadowDepth)
            B::integer(b, "ShadowDepth", *shadowDepth);
        if (!shadowOrientation.isEmpty())
            B::ident(b, "ShadowOrientation", shadowOrientation);
        if (shadowColor)
            B::color(b, "Shadowcolor", *shadowColor);
        B::ident(b, "BorderStyle", border);
        B::boolean(b, "ControlTransparent", transparent);
        B::color(b, "BGColor", bg);
        string(b, "Caption", caption);
        B::font(b, "Font", font);
        B::ident(b, "FillDirection", fill);
        B::color(b, "GradientToColor", to);
        B::color(b, "GradientFromColor", from);
        if (!imageBmp.isEmpty()) {
            const QByteArray data = le32(quint32(imageBmp.size())) + imageBmp;
            B::str(b, "Image.Data");
            b += char(10);
            b += le32(quint32(data.size()));
            b += data;
        }
        B::color(b, "OutlineColor", outline);
        B::ident(b, "OutlineStyle", outlineStyle);
        B::integer(b, "OutlineWidth", outlineWidth);
        B::ident(b, "SurfaceType", surface);
        if (!lastFile.isEmpty())
            string(b, "LastBitmapFileNameandPath", lastFile);
        b += char(0);
        b += char(0);
        return b;
    }
};

QByteArray checkerBmp()
{
    QImage img(4, 2, QImage::Format_RGB32);
    img.fill(Qt::red);
    img.setPixelColor(1, 0, Qt::green);
    img.setPixelColor(2, 1, Qt::blue);
    return EncodeBmp(img);
}
} // namespace

class TestSuperTextRecord : public QObject {
    Q_OBJECT
private slots:
    void aNewObjectWritesItsDefaults()
    {
        ovtest::SuperTextHost f;
        TGSuperText* t = f.superText(QRect(40, 300, 142, 33));
        Record expected;
        expected.left = 40;
        expected.top = 300;
        QCOMPARE(t->Record(), expected.bytes());

        // The tool's object is framed, opaque and white.
        std::unique_ptr<TGSuperText> bordered(TGSuperText::CreateBordered());
        bordered->setObjectName(QStringLiteral("Component0"));
        Record framed;
        framed.border = "bsSingle";
        framed.transparent = false;
        QCOMPARE(bordered->Record(), framed.bytes());
    }

    void changedObjectWritesItsValuesAndReadsBackToTheSameBytes()
    {
        ovtest::SuperTextHost f;
        TGSuperText* t = f.superText(QRect(-3, 200, 300, 90));
        t->setObjectName(QStringLiteral("Component7"));
        t->SetLocked(true);
        t->SetShadowDepth(4);
        t->SetShadowOrientation(TShadowOrientation::sdLeft);
        t->SetShadowcolor(0x123456);
        t->SetBorderStyle(TBorderStyle::bsSingle);
        t->SetControlTransparent(false);
        t->SetBGColor(clBtnFace);
        t->SetCaption(QString::fromUtf8("Été"));
        TObjectFont font = t->Font();
        font.Name = QStringLiteral("Times New Roman");
        font.Height = -40;
        font.Bold = false;
        font.Italic = true;
        font.Color = clRed;
        t->SetFont(font);
        t->SetFillDirection(TFillDirection::gdUp);
        t->SetGradientToColor(clRed);
        t->SetGradientFromColor(0x010203);
        t->SetSurfaceType(TSurfaceType::stBrushImage);
        const QByteArray bmp = checkerBmp();
        t->SetImage(LoadPictureFromData(bmp, QStringLiteral("t.bmp")));
        t->SetOutlineColor(0x00FF00); // clLime
        t->SetOutlineStyle(TPenStyle::psDashDot);
        t->SetOutlineWidth(3);
        t->SetLastBitmapFileNameandPath(QStringLiteral("/home/me/Textures/Oak.bmp"));

        Record e;
        e.objectName = "Component7";
        e.left = -3, e.top = 200, e.width = 300, e.height = 90, e.locked = true;
        e.shadowDepth = 4;
        e.shadowOrientation = "sdLeft";
        e.shadowColor = flatbytes::Color(0x123456);
        e.border = "bsSingle";
        e.transparent = false;
        e.bg = "clBtnFace";
        e.caption = "\xC9t\xE9";
        e.font = {"clRed", -40, "Times New Roman", {"fsItalic"}};
        e.fill = "gdUp";
        e.to = "clRed";
        e.from = flatbytes::Color(0x010203);
        e.imageBmp = bmp;
        e.outline = "clLime";
        e.outlineStyle = "psDashDot";
        e.outlineWidth = 3;
        e.surface = "stBrushImage";
        e.lastFile = "/home/me/Textures/Oak.bmp";
        QCOMPARE(t->Record(), e.bytes());

        // Read back, the object writes the same bytes (name and all, on a fresh panel).
        ovtest::SuperTextHost g;
        const TObjectReadResult read = readList(*g.panel, listOf(e.bytes()));
        QVERIFY2(read.error.isEmpty(), qPrintable(read.error));
        QCOMPARE(read.objects.size(), 1);
        auto* back = qobject_cast<TGSuperText*>(read.objects.first());
        QVERIFY(back);
        back->setObjectName(QStringLiteral("Component7"));
        QCOMPARE(back->Record(), e.bytes());
        QCOMPARE(back->Image().image().pixelColor(1, 0), QColor(Qt::green));
    }

    void emptyCaptionReadsBackEmptyAndDamagedTextureIsAReadError()
    {
        ovtest::SuperTextHost f;
        TGSuperText* t = f.superText(QRect(0, 0, 142, 33));
        t->SetCaption(QString());
        Record e;
        e.caption.clear();
        QCOMPARE(t->Record(), e.bytes());
        const TObjectReadResult empty = readList(*f.panel, listOf(e.bytes()));
        QCOMPARE(empty.objects.size(), 1);
        QCOMPARE(qobject_cast<TGSuperText*>(empty.objects.first())->Caption(), QString());

        Record damaged;
        damaged.surface = "stBrushImage";
        damaged.imageBmp = QByteArray("BM not a bitmap at all");
        const TObjectReadResult read = readList(*f.panel, listOf(damaged.bytes()));
        QVERIFY(!read.error.isEmpty());
        QVERIFY(read.objects.isEmpty());
    }

    void surfaceTypeRulesAndTheTextureItKeeps()
    {
        ovtest::SuperTextHost f;
        TGSuperText* t = f.superText(QRect(0, 0, 142, 33));
        t->SetSurfaceType(TSurfaceType::stBrushImage);
        t->SetImage(LoadPictureFromData(checkerBmp(), QStringLiteral("t.bmp")));
        QVERIFY(!t->Image().isEmpty());
        t->SetSurfaceType(TSurfaceType::stNormal);
        QVERIFY(t->Image().isEmpty());
        t->SetSurfaceType(TSurfaceType::stBrushImage);
        QVERIFY(t->Image().isEmpty());

        t->SetOutlineStyle(TPenStyle::psClear);
        t->SetSurfaceType(TSurfaceType::stBrushTransparent);
        QCOMPARE(t->OutlineStyle(), TPenStyle::psSolid);

        // A record that stores a texture keeps it whatever order the reader meets them in.
        Record r;
        r.surface = "stBrushImage";
        r.imageBmp = checkerBmp();
        const TObjectReadResult read = readList(*f.panel, listOf(r.bytes()));
        QCOMPARE(read.objects.size(), 1);
        QVERIFY(!qobject_cast<TGSuperText*>(read.objects.first())->Image().isEmpty());
    }
};

OV_TEST(TestSuperTextRecord)
#include "test_super_text_record.moc"
