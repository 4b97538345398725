#include "stream/component_record.h"
#include "test_registry.h"

#include <QTest>

namespace {

// Small stand-ins for placed objects: a base with geometry and an embedded font.
struct FakeFont {
    QString name;
    int height = 0;
    QList<QByteArray> style;
};

struct FakeObject {
    static inline int alive = 0;
    FakeObject() { ++alive; }
    virtual ~FakeObject() { --alive; }
    QByteArray name;
    int left = 0, width = 0;
    bool locked = false;
    QString owner;
};

struct FakeLabel : FakeObject {
    QString caption;
    FakeFont font;
    QByteArray picture;
};

TPropertySet<FakeObject> baseProps()
{
    TPropertySet<FakeObject> p;
    p.add("Left", [](FakeObject& o, TStreamReader& r) { o.left = r.readInteger(); })
        .add("Width", [](FakeObject& o, TStreamReader& r) { o.width = r.readInteger(); })
        .add("Locked", [](FakeObject& o, TStreamReader& r) { o.locked = r.readBoolean(); });
    return p;
}

TPropertySet<FakeFont> fontProps()
{
    TPropertySet<FakeFont> p;
    p.add("Name", [](FakeFont& f, TStreamReader& r) { f.name = r.readString(); })
        .add("Height", [](FakeFont& f, TStreamReader& r) { f.height = r.readInteger(); })
        .add("Style", [](FakeFont& f, TStreamReader& r) { f.style = r.readSet(); });
    return p;
}

using Registry = TClassRegistry<FakeObject, const QString&>;

Registry makeRegistry()
{
    Registry reg;
    TPropertySet<FakeLabel> label;
    label.inherit(baseProps())
        .add("Caption", [](FakeLabel& o, TStreamReader& r) { o.caption = r.readString(); })
        .addNested<FakeFont>("Font", [](FakeLabel& o) -> FakeFont& { return o.font; }, fontProps())
        .add("Picture.Data", [](FakeLabel& o, TStreamReader& r) { o.picture = r.readBinary(); });
    reg.registerClass<FakeLabel>("TGPLabel", [](const QString& owner) {
        auto* l = new FakeLabel;
        l->owner = owner;
        return l;
    }, label);
    reg.registerClass<FakeObject>("TGImage", [](const QString&) { return new FakeObject; }, baseProps());
    return reg;
}

QByteArray labelRecord(bool withUnknown = false)
{
    QByteArray out;
    TStreamWriter w(&out);
    beginComponent(w, "TGPLabel", "Special3");
    w.writePropertyName("Left");
    w.writeInteger(-5);
    w.writePropertyName("Width");
    w.writeInteger(300);
    w.writePropertyName("Locked");
    w.writeBoolean(true);
    if (withUnknown) {
        w.writePropertyName("Angle3D");
        w.writeValueType(TValueType::vaList);
        w.writeString(QStringLiteral("ignored"));
        w.writeListEnd();
    }
    w.writePropertyName("Caption");
    w.writeString(QStringLiteral("Hello \u0416"));
    w.writePropertyName("Font.Height");
    w.writeInteger(-13);
    w.writePropertyName("FONT.name");
    w.writeString(QStringLiteral("Arial"));
    w.writePropertyName("Font.Style");
    w.writeSet({"fsBold"});
    w.writePropertyName("Picture.Data");
    w.writeBinary("PIC");
    endComponent(w);
    return out;
}

} // namespace

class TestComponentRecord : public QObject {
    Q_OBJECT
private slots:
    // The record layout byte by byte: signature, class, name, properties, two ends.
    void recordBytes()
    {
        QByteArray out;
        TStreamWriter w(&out);
        beginComponent(w, "TWPRtfStorage", "");
        w.writePropertyName("RtfText.Data");
        w.writeBinary(QByteArray("{\\rtf1}") + QByteArray(4, '\0'));
        endComponent(w);
        const QByteArray expected = QByteArray("TPF0\x0dTWPRtfStorage\x00\x0cRtfText.Data\x0a\x0b\x00\x00\x00{\\rtf1}", 44)
                                    + QByteArray(4, '\0') + QByteArray(2, '\0');
        QCOMPARE(out, expected);
        TStreamReader r(out);
        const TComponentRecord rec = readComponentRecord(r);
        QVERIFY(r.atEnd());
        QCOMPARE(rec.className, QByteArray("TWPRtfStorage"));
        QVERIFY(rec.name.isEmpty());
        QVERIFY(rec.property("rtftext.data"));
        QCOMPARE(rec.property("RtfText.Data")->value.bytes.left(7), QByteArray("{\\rtf1}"));
    }

    void genericRecordRoundTripWithChildren()
    {
        TComponentRecord rec;
        rec.className = "TOuter";
        rec.name = "Outer1";
        rec.properties.push_back({"Tag", TStreamValue::fromInteger(70000)});
        rec.properties.push_back({"Items", TStreamValue::fromString(QStringLiteral("x"))});
        TComponentRecord child;
        child.className = "TChild";
        child.name = "C";
        child.properties.push_back({"Visible", TStreamValue::fromBoolean(false)});
        rec.children.push_back(child);
        QByteArray out;
        TStreamWriter w(&out);
        writeComponentRecord(w, rec);
        QCOMPARE(out.count("TPF0"), 1); // children carry no signature
        TStreamReader r(out);
        const TComponentRecord back = readComponentRecord(r);
        QVERIFY(r.atEnd());
        QCOMPARE(int(back.children.size()), 1);
        QCOMPARE(back.children[0].className, QByteArray("TChild"));
        QByteArray again;
        TStreamWriter w2(&again);
        writeComponentRecord(w2, back);
        QCOMPARE(again, out);
        TStreamReader r2(out);
        skipComponentRecord(r2);
        QVERIFY(r2.atEnd());
    }

    void registryAssignsByNameAndNestedPath()
    {
        const Registry reg = makeRegistry();
        const QByteArray data = labelRecord();
        TStreamReader r(data);
        TComponentReadOptions<FakeObject> opt;
        QByteArray seenName;
        opt.assignName = [&](FakeObject& o, const QByteArray& n) {
            seenName = n;
            o.name = "Component0";
        };
        std::unique_ptr<FakeObject> obj(reg.readComponent(r, opt, QStringLiteral("main")));
        QVERIFY(r.atEnd());
        auto* label = dynamic_cast<FakeLabel*>(obj.get());
        QVERIFY(label);
        QCOMPARE(seenName, QByteArray("Special3"));
        QCOMPARE(label->name, QByteArray("Component0"));
        QCOMPARE(label->owner, QStringLiteral("main"));
        QCOMPARE(label->left, -5);
        QCOMPARE(label->width, 300);
        QVERIFY(label->locked);
        QCOMPARE(label->caption, QStringLiteral("Hello \u0416"));
        QCOMPARE(label->font.height, -13);
        QCOMPARE(label->font.name, QStringLiteral("Arial"));
        QCOMPARE(label->font.style, QList<QByteArray>{"fsBold"});
        QCOMPARE(label->picture, QByteArray("PIC"));
    }

    void unknownPropertySkippedOrFails()
    {
        const Registry reg = makeRegistry();
        const QByteArray data = labelRecord(true);
        {
            TStreamReader r(data);
            std::unique_ptr<FakeObject> obj(reg.readComponent(r, {}, QString()));
            QVERIFY(r.atEnd());
            QCOMPARE(static_cast<FakeLabel*>(obj.get())->caption, QStringLiteral("Hello \u0416"));
        }
        const int before = FakeObject::alive;
        TStreamReader r(data);
        TComponentReadOptions<FakeObject> strict;
        strict.failOnUnknownProperty = true;
        QVERIFY_THROWS_EXCEPTION(EStreamError, reg.readComponent(r, strict, QString()));
        QCOMPARE(FakeObject::alive, before); // the half-read object is gone
    }

    void unknownNestedMemberIsUnknown()
    {
        TPropertySet<FakeLabel> p;
        p.addNested<FakeFont>("Font", [](FakeLabel& o) -> FakeFont& { return o.font; }, fontProps());
        QVERIFY(p.has("Font.Name"));
        QVERIFY(!p.has("Font.Pitch"));
        QVERIFY(!p.has("Font"));
        QVERIFY(!p.has(".Name"));
    }

    void registryErrors_data()
    {
        QTest::addColumn<QByteArray>("data");
        const QByteArray good = labelRecord();
        QTest::newRow("bad signature") << (QByteArray("TPF1") + good.mid(4));
        QByteArray unknownClass;
        {
            TStreamWriter w(&unknownClass);
            beginComponent(w, "TGHacker", "X");
            endComponent(w);
        }
        QTest::newRow("unregistered class") << unknownClass;
        QTest::newRow("wrong value type") << QByteArray(good).replace(QByteArray("Left\x02", 5), QByteArray("Left\x06", 5));
        for (int cut : {3, 10, 25, int(good.size()) - 1})
            QTest::newRow(qPrintable(QStringLiteral("cut at %1").arg(cut))) << good.left(cut);
    }
    void registryErrors()
    {
        QFETCH(QByteArray, data);
        const Registry reg = makeRegistry();
        const int before = FakeObject::alive;
        TStreamReader r(data);
        QVERIFY_THROWS_EXCEPTION(EStreamError, reg.readComponent(r, {}, QString()));
        QCOMPARE(FakeObject::alive, before);
    }

    void classNamesIgnoreCase()
    {
        const Registry reg = makeRegistry();
        QVERIFY(reg.isRegistered("tgplabel"));
        QVERIFY(!reg.isRegistered("TGPLabel2"));
    }

    void componentListReadsUntilEnd()
    {
        QByteArray out;
        TStreamWriter w(&out);
        w.writeListBegin();
        w.write(labelRecord());
        w.write(labelRecord(true));
        w.writeListEnd();
        TStreamReader r(out);
        r.readListBegin();
        const auto list = readComponentList(r);
        QVERIFY(r.atEnd());
        QCOMPARE(int(list.size()), 2);
        QCOMPARE(list[1].property("Angle3D")->value.type, TValueType::vaList);
    }
};
OV_TEST(TestComponentRecord)
#include "test_component_record.moc"
