#include "object_test_support.h"
#include "objects/color_identifiers.h"
#include "objects/object_filer.h"
#include "objects/p_label.h"
#include "objects/stored_object.h"
#include "stream/stream_reader.h"
#include "stream/stream_writer.h"
#include "test_registry.h"

#include <QFile>

using ovtest::Bytes;

namespace {
QByteArray listOf(const QList<QByteArray>& records)
{
    QByteArray b("\x01", 1);
    for (const QByteArray& r : records)
        b += r;
    return b + QByteArray(1, '\0');
}

// The label entries every default label stores after its geometry.
Bytes& defaultLabelTail(Bytes& b, const QByteArray& caption)
{
    return b.prop("Caption").string(caption)
        .prop("Font.Color").ident("clBlack").prop("Font.Height").int8(-13).prop("Font.Name").string("Arial")
        .prop("Font.Style").set({})
        .prop("Transparent").boolean(true).prop("BackColor").ident("clWhite").prop("BorderStyle").ident("bsNone");
}

QByteArray readBack(TGBasePanel& panel, const QByteArray& list, TObjectReadResult* out = nullptr)
{
    TStreamReader r(list);
    r.readListBegin();
    TObjectReadResult res = TGLabelObjectFiler::ReadRecords(r, &panel);
    QByteArray again;
    TStreamWriter w(&again);
    TGLabelObjectFiler::WriteList(w, res.objects);
    if (out)
        *out = res;
    return again;
}
} // namespace

class TestObjectStream : public QObject {
    Q_OBJECT
private slots:
    void defaultLabelWritesExactlyTheListedEntries()
    {
        ovtest::PanelFixture f;
        auto* label = new TGPLabel(f.panel.get());
        label->setObjectName(QStringLiteral("Component0"));
        label->setGeometry(10, 300, 142, 33);
        Bytes expected;
        expected.record("TGPLabel", "Component0").geometry(10, 300, 142, 33);
        defaultLabelTail(expected, "Text").end().end();
        QCOMPARE(label->Record(), expected.b);
    }

    void changedLabelWritesEveryChangeInTableOrder()
    {
        ovtest::PanelFixture f;
        auto* label = new TGPLabel(f.panel.get());
        label->setObjectName(QStringLiteral("Component3"));
        label->setGeometry(-5, 40000 / 2, 200, 60);
        label->SetLocked(true);
        label->SetAlignment(TAlignment::taCenter);
        label->SetDepthHighlight(2);
        label->SetDepthShadow(3);
        label->SetDirectionHighlight(THighlightDirection::hdUp);
        label->SetDirectionShadow(TShadowDirection::sdDown);
        label->SetcolorHighlight(0x123456); // no name: an integer
        label->SetcolorShadow(0x0000FF);    // clRed
        label->SetAngle(90);                // a rotation resets the alignment
        label->SetCaption(QStringLiteral("Hi"));
        TObjectFont font = label->Font();
        font.Color = TColor(0x80000008u); // clWindowText
        font.Height = -200;
        font.Pitch = TFontPitch::fpFixed;
        font.Bold = font.StrikeOut = true;
        label->SetFont(font);
        label->SetTransparent(false);
        label->SetBackColor(0x00C0FFEE & 0xFFFFFF);
        label->SetBorderStyle(TBorderStyle::bsSingle);
        Bytes expected;
        expected.record("TGPLabel", "Component3")
            .prop("Left").int8(-5).prop("Top").int16(20000).prop("Width").int8(60).prop("Height").int16(200)
            .prop("Locked").boolean(true).prop("Unselectable").boolean(false)
            .prop("DepthHighlight").int8(2).prop("DepthShadow").int8(3)
            .prop("DirectionHighlight").ident("hdUp").prop("DirectionShadow").ident("sdDown")
            .prop("colorHighlight").int32(0x123456).prop("colorShadow").ident("clRed")
            .prop("Angle").int8(90).prop("Caption").string("Hi")
            .prop("Font.Color").ident("clWindowText").prop("Font.Height").int16(-200).prop("Font.Name").string("Arial")
            .prop("Font.Pitch").ident("fpFixed").prop("Font.Style").set({"fsBold", "fsStrikeOut"})
            .prop("Transparent").boolean(false).prop("BackColor").int32(0xC0FFEE).prop("BorderStyle").ident("bsSingle")
            .end().end();
        QCOMPARE(label->Record(), expected.b);

        // Read back onto a page (which names it anew), it writes the same bytes again.
        const QByteArray renamed = QByteArray(expected.b).replace("Component3", "Component0");
        QCOMPARE(readBack(*f.panel, listOf({expected.b})), listOf({renamed}));
    }

    void recordsOfClassesNotBuiltYetComeBackByteForByte()
    {
        ovtest::PanelFixture f;
        // Shapes the stream allows but our writer would never choose: a 32-bit tag for a
        // small Left, a long string tag, an unknown entry and an extended float.
        Bytes image;
        image.record("TGSuperText", "Component0")
            .prop("Left").int32(12).prop("Top").int8(20).prop("Width").int8(64).prop("Height").int8(48)
            .prop("Locked").boolean(false).prop("Unselectable").boolean(false)
            .prop("AutoSize").boolean(true).prop("BorderStyle").ident("bsSingle")
            .prop("Picture.Data").byte(10).raw(QByteArray("\x05\x00\x00\x00", 4)).raw("abcde")
            .prop("Whatever").byte(12).raw(QByteArray("\x02\x00\x00\x00", 4)).raw("hi")
            .prop("Ratio").byte(5).raw(QByteArray("\x00\x00\x00\x00\x00\x00\x00\x80\xff\x3f", 10))
            .end().end();
        Bytes rich;
        rich.record("TGSuperText", "Component1").geometry(300, 10, 90, 30)
            .prop("Image.Data").byte(10).raw(QByteArray("\x04\x00\x00\x00", 4)).raw(QByteArray(4, '\0'))
            .prop("BorderStyle").ident("bsSingle").end().end();
        Bytes super, flat;
        super.record("TGSuperText", "Component2").geometry(5, 200, 100, 40).prop("Caption").string("S").end().end();
        flat.record("TGFlatCalendar", "Component3").geometry(5, 260, 150, 120).prop("Month").int8(7).end().end();
        const QByteArray list = listOf({image.b, rich.b, super.b, flat.b});
        TObjectReadResult res;
        QCOMPARE(readBack(*f.panel, list, &res), list);
        QVERIFY(res.error.isEmpty());
        QCOMPARE(res.objects.size(), 4);
        // Each shows at its stored bounds under its own class name.
        QCOMPARE(res.objects[0]->geometry(), QRect(12, 20, 64, 48));
        QCOMPARE(res.objects[0]->StreamClassName(), QByteArray("TGSuperText"));
        QCOMPARE(res.objects[3]->StreamClassName(), QByteArray("TGFlatCalendar"));
        QVERIFY(res.objects[0]->ContextMenu()); // completed: it has its menu

        // Moved and locked, only those entries change, each in its place.
        res.objects[0]->move(300, 20);
        res.objects[0]->SetLocked(true);
        Bytes head, moved;
        head.record("TGSuperText", "Component0")
            .prop("Left").int32(12).prop("Top").int8(20).prop("Width").int8(64).prop("Height").int8(48)
            .prop("Locked").boolean(false).prop("Unselectable").boolean(false);
        moved.record("TGSuperText", "Component0")
            .prop("Left").int16(300).prop("Top").int8(20).prop("Width").int8(64).prop("Height").int8(48)
            .prop("Locked").boolean(true).prop("Unselectable").boolean(false);
        QCOMPARE(res.objects[0]->Record(), moved.b + image.b.mid(head.b.size()));
    }

    void aDamagedListKeepsTheObjectsBeforeTheDamageComplete()
    {
        ovtest::PanelFixture f;
        Bytes good, unknownClass;
        good.record("TTestBox", "x").geometry(1, 2, 30, 40).end().end();
        unknownClass.record("TNoSuchThing", "y").end().end();
        const QByteArray list = listOf({good.b, good.b, unknownClass.b, good.b});
        TStreamReader r(list);
        r.readListBegin();
        const TObjectReadResult res = TGLabelObjectFiler::ReadRecords(r, f.panel.get());
        QCOMPARE(res.objects.size(), 2);
        QCOMPARE(res.error, QStringLiteral("Class TNoSuchThing not found."));
        for (TGGraphicControl* o : res.objects) {
            QVERIFY(o->ContextMenu());
            QVERIFY(o->isVisible());
            QVERIFY(!o->Reading);
        }
        QCOMPARE(f.panel->Objects().size(), 2); // the half-read object did not stay behind
        QCOMPARE(res.objects[0]->objectName(), QStringLiteral("Component0"));
        QCOMPARE(res.objects[1]->objectName(), QStringLiteral("Component1"));
    }

    void badValuesAreReadErrorsNotObjects_data()
    {
        QTest::addColumn<QByteArray>("record");
        Bytes hugeLeft, badEnum, badColor, badStyle;
        hugeLeft.record("TGPLabel", "a").prop("Left").int32(5000000).end().end();
        badEnum.record("TGPLabel", "a").prop("Alignment").ident("taSideways").end().end();
        badColor.record("TGPLabel", "a").prop("BackColor").ident("clPlaid").end().end();
        badStyle.record("TGPLabel", "a").prop("Font.Style").set({"fsWobbly"}).end().end();
        QTest::newRow("coordinate beyond 16 bits") << hugeLeft.b;
        QTest::newRow("unknown enumeration") << badEnum.b;
        QTest::newRow("unknown colour name") << badColor.b;
        QTest::newRow("unknown style") << badStyle.b;
    }
    void badValuesAreReadErrorsNotObjects()
    {
        QFETCH(QByteArray, record);
        ovtest::PanelFixture f;
        TStreamReader r(listOf({record}));
        r.readListBegin();
        const TObjectReadResult res = TGLabelObjectFiler::ReadRecords(r, f.panel.get());
        QVERIFY(res.objects.isEmpty());
        QVERIFY(!res.error.isEmpty());
        QVERIFY(f.panel->Objects().isEmpty());
    }

    void anEmptyFontNameReadsAsTheDefaultAndWritesBackStable()
    {
        ovtest::PanelFixture f;
        Bytes stored;
        stored.record("TGPLabel", "Special1").geometry(10, 20, 100, 22).prop("Caption").string("Seed")
            .prop("Font.Name").string("").end().end();
        const QByteArray once = readBack(*f.panel, listOf({stored.b}));
        QVERIFY(once.contains("Arial"));
        ovtest::PanelFixture again;
        QCOMPARE(readBack(*again.panel, once), once);
    }

    void anEmptiedCaptionStaysEmpty()
    {
        ovtest::PanelFixture f;
        auto* label = new TGPLabel(f.panel.get());
        label->setObjectName(QStringLiteral("Component0"));
        label->SetCaption(QString());
        ovtest::PanelFixture again;
        TObjectReadResult read;
        const QByteArray once = readBack(*again.panel, listOf({label->Record()}), &read);
        QCOMPARE(read.objects.size(), 1);
        QCOMPARE(static_cast<TGPLabel*>(read.objects.first())->Caption(), QString());
        ovtest::PanelFixture third;
        QCOMPARE(readBack(*third.panel, once), once);
    }

    void namesNeverRunOut()
    {
        ovtest::PanelFixture f;
        for (int n = 1; n <= 1000; ++n) {
            auto* o = new ovtest::TestBox(f.panel.get());
            o->setObjectName(QStringLiteral("Special%1").arg(n));
        }
        QCOMPARE(f.panel->UniqueObjectName(QStringLiteral("Special")), QStringLiteral("Special1001"));
        QCOMPARE(f.panel->StreamObjectName(), QStringLiteral("Component0"));
    }

    void colourIdentifiersRoundTrip()
    {
        QCOMPARE(colorIdentifier(0x808080), QByteArray("clGray"));
        QCOMPARE(colorIdentifier(TColor(0x8000000Fu)), QByteArray("clBtnFace"));
        QCOMPARE(colorIdentifier(clNone), QByteArray("clNone"));
        QVERIFY(colorIdentifier(0x808081).isEmpty());
        QCOMPARE(*colorFromIdentifier("CLINFOBK"), TColor(0x80000018u));
        QVERIFY(!colorFromIdentifier("clOrange"));
    }
};
OV_TEST(TestObjectStream)

#include "test_object_stream.moc"
