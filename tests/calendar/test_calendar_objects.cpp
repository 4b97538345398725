// Calendar files with placed objects: read onto the page, written back unchanged.
#include "calendar/calendar_panel.h"
#include "calendar_file_golden.h"
#include "objects/handle.h"
#include "objects/p_label.h"
#include "platform/prompter.h"
#include "platform/screen_ppi.h"
#include "test_registry.h"

#include <QDialog>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using golden::Bytes;

namespace {
QByteArray legacyLabel(const QByteArray& name, int left, const QByteArray& caption)
{
    Bytes x;
    x.raw("TPF0").name("TGPLabel").name(name);
    x.name("Left").i8(left).name("Top").i16(200).name("Width").i8(120).name("Height").i8(22);
    x.name("Locked").f().name("Unselectable").f();
    x.name("DepthShadow").i8(2).name("colorShadow").tag(7).name("clSilver");
    x.name("Caption").sstr(caption);
    x.name("Font.Color").tag(7).name("clNavy").name("Font.Height").i8(-16).name("Font.Name").sstr("Times New Roman");
    x.name("Font.Style").tag(11).name("fsBold").name("");
    x.name("Transparent").f().name("BackColor").i32(0x00E0F0FF).name("BorderStyle").tag(7).name("bsSingle");
    return x.listEnd().listEnd().b;
}

QByteArray legacyImage()
{
    Bytes x;
    x.raw("TPF0").name("TGImage").name("Component1");
    x.name("Left").i16(400).name("Top").i8(10).name("Width").i8(90).name("Height").i8(70);
    x.name("Locked").t().name("Unselectable").f().name("BorderStyle").tag(7).name("bsNone");
    x.name("Picture.Data").binary(QByteArray("\x07TBitmap", 8) + QByteArray(40, 'x'));
    x.name("Reverse").f().name("Flip").f();
    return x.listEnd().listEnd().b;
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

class TestCalendarObjects : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { setScreenPPIOverride(96); }

    void legacyFileWithObjectsResavesByteForByte()
    {
        QTemporaryDir dir;
        const QByteArray objects = legacyLabel("Component0", 40, "Hello") + legacyImage();
        const QByteArray legacy = golden::knownFile(4, QByteArray(), objects);
        const QString in = dir.filePath(QStringLiteral("in.OVF")), out = dir.filePath(QStringLiteral("out.OVF"));
        QFile f(in);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(legacy);
        f.close();

        TCalendarPanel32 page(nullptr, 96);
        page.LoadFromFile(in);
        page.HookAllObjects();
        const QList<TGGraphicControl*> objs = page.Objects();
        QCOMPARE(objs.size(), 2);
        auto* label = qobject_cast<TGPLabel*>(objs[0]);
        QVERIFY(label);
        QCOMPARE(label->Caption(), QStringLiteral("Hello"));
        QCOMPARE(label->geometry(), QRect(40, 200, 120, 22));
        QCOMPARE(label->Font().Name, QStringLiteral("Times New Roman"));
        QVERIFY(label->Font().Bold);
        QCOMPARE(objs[1]->StreamClassName(), QByteArray("TGImage"));
        QVERIFY(objs[1]->Locked());
        QVERIFY(page.HasPlacedObjects());

        page.SaveToFile(out);
        QCOMPARE(fileBytes(out), legacy);
    }

    void objectsAreNamedByTheFirstFreeNumbers()
    {
        QTemporaryDir dir;
        const QString in = dir.filePath(QStringLiteral("in.OVF"));
        QFile f(in);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(golden::knownFile(4, {}, legacyLabel("Special7", 1, "a") + legacyLabel("Special9", 2, "b")));
        f.close();
        TCalendarPanel32 page(nullptr, 96);
        page.LoadFromFile(in);
        QCOMPARE(page.Objects()[0]->objectName(), QStringLiteral("Component0"));
        QCOMPARE(page.Objects()[1]->objectName(), QStringLiteral("Component1"));
    }

    void aDamagedObjectSectionKeepsCompletedObjectsAndTheRest()
    {
        QTemporaryDir dir;
        Bytes bad;
        bad.raw("TPF0").name("TGPLabel").name("Component2").name("Left").tag(77);
        const QString in = dir.filePath(QStringLiteral("in.OVF"));
        QFile f(in);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(golden::knownFile(4, {}, legacyLabel("Component0", 40, "kept") + bad.b));
        f.close();
        TCalendarPanel32 page(nullptr, 96);
        TCalendarFileInfo info;
        page.LoadFromFile(in, &info);
        QVERIFY(info.objectSectionFailed);
        QCOMPARE(page.settings().UserTitle, QStringLiteral("My year"));
        QVERIFY(!page.CellRtf(2).isEmpty());
        QCOMPARE(page.Objects().size(), 1);
        TGGraphicControl* kept = page.Objects().first();
        QVERIFY(kept->ContextMenu());
        QVERIFY(!kept->Reading);
        QVERIFY(!kept->isHidden());
    }

    void labelToolClickMakesA50By15LabelAndOpensTheTextDialog()
    {
        TCalendarPanel32 page(nullptr, 96);
        page.ApplyMainFormDesignValues();
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        ScopedScriptedPrompter prompts;
        prompts->dialogAnswers.push_back([](QDialog&) { return int(QDialog::Rejected); });
        QRect dropped;
        page.DroppedObjectEvent = [&](QRect& r) { dropped = r; };
        page.SetPanelState(TLPanelState::psLabel);
        QTest::mouseClick(&page, Qt::LeftButton, {}, QPoint(120, 80));
        QCOMPARE(page.Objects().size(), 1);
        auto* label = qobject_cast<TGPLabel*>(page.Objects().first());
        QVERIFY(label);
        QCOMPARE(label->pos(), QPoint(120, 80));
        QCOMPARE(dropped, QRect(120, 80, 50, 15));
        QCOMPARE(label->Caption(), QStringLiteral("Enter text..."));
        QCOMPARE(label->Font().Size(96), 20);
        QVERIFY(!label->Transparent());
        QCOMPARE(label->BorderStyle(), TBorderStyle::bsSingle);
        QCOMPARE(label->objectName(), QStringLiteral("Special1"));
        QCOMPARE(page.PanelState(), TLPanelState::psPointing);
        QCOMPARE(prompts->texts(QStringLiteral("dialog")), QStringList{QStringLiteral("Text")});

        // A click on the label selects it; it never reaches the day cell below.
        bool cellClicked = false;
        page.ClickedInCellEvent = [&](auto&&...) { cellClicked = true; };
        QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(!cellClicked);
        QCOMPARE(page.Handle()->Count(), 1);
    }

    void bitmapShowsTheObjects()
    {
        TCalendarPanel32 page(nullptr, 96);
        page.ApplyMainFormDesignValues();
        auto* label = new TGPLabel(&page);
        label->setGeometry(30, 30, 142, 33);
        label->SetTransparent(false);
        label->SetBackColor(0x00FF00);
        label->AfterLoad();
        const QImage plain = page.DrawToImage();
        const QImage withObjects = page.DrawToBitmap();
        QCOMPARE(QColor(withObjects.pixel(35, 35)), QColor(0, 255, 0));
        QVERIFY(QColor(plain.pixel(35, 35)) != QColor(0, 255, 0));
    }
};
OV_TEST(TestCalendarObjects)

#include "test_calendar_objects.moc"
