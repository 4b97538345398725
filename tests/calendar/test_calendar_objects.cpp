// Calendar files with placed objects: read onto the page, written back unchanged.
#include "calendar/calendar_panel.h"
#include "calendar_file_golden.h"
#include "../special/flat_calendar_bytes.h"
#include "objects/handle.h"
#include "objects/p_label.h"
#include "special/flat_calendar.h"
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
    // A 2 x 2 bitmap: file header, info header, four 24-bit pixels in rows of 8 bytes.
    QByteArray bmp("BM");
    auto le = [&bmp](quint32 v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            bmp += char((v >> (8 * i)) & 0xFF);
    };
    le(70, 4), le(0, 4), le(54, 4);
    le(40, 4), le(2, 4), le(2, 4), le(1, 2), le(24, 2), le(0, 4), le(16, 4), le(2835, 4), le(2835, 4), le(0, 4), le(0, 4);
    bmp += QByteArray("\x00\x00\xff\x00\xff\x00\x00\x00\xff\x00\x00\xff\xff\xff\x00\x00", 16);
    QByteArray count(4, '\0');
    count[0] = char(bmp.size());
    x.name("Picture.Data").binary(QByteArray("\x07TBitmap", 8) + count + bmp);
    x.name("Reverse").f().name("Flip").f();
    return x.listEnd().listEnd().b;
}

// The bytes as the calendar file "in.OVF" in dir.
QString inputFile(const QTemporaryDir& dir, const QByteArray& bytes)
{
    const QString path = dir.filePath(QStringLiteral("in.OVF"));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return path;
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
        const QString in = inputFile(dir, legacy), out = dir.filePath(QStringLiteral("out.OVF"));

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
        const QString in =
            inputFile(dir, golden::knownFile(4, {}, legacyLabel("Special7", 1, "a") + legacyLabel("Special9", 2, "b")));
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
        const QString in = inputFile(dir, golden::knownFile(4, {}, legacyLabel("Component0", 40, "kept") + bad.b));
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

    void floatingCalendarToolPlacesACalendarWhereDrawnWithoutADialog()
    {
        TCalendarPanel32 page(nullptr, 96);
        page.ApplyMainFormDesignValues();
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        ScopedScriptedPrompter prompts;
        int dropped = 0;
        page.DroppedObjectEvent = [&](QRect&) { ++dropped; };
        page.SetPanelState(TLPanelState::psFlatCalendar);
        // A rectangle dragged from lower right to upper left.
        QTest::mousePress(&page, Qt::LeftButton, {}, QPoint(330, 260));
        QTest::mouseMove(&page, QPoint(200, 150));
        QTest::mouseMove(&page, QPoint(130, 100));
        QTest::mouseRelease(&page, Qt::LeftButton, {}, QPoint(130, 100));
        QCOMPARE(page.Objects().size(), 1);
        auto* calendar = qobject_cast<TGFlatCalendar*>(page.Objects().first());
        QVERIFY(calendar);
        QCOMPARE(calendar->geometry(), QRect(130, 100, 200, 160));
        QCOMPARE(calendar->Month(), QDate::currentDate().month());
        QCOMPARE(calendar->Year(), QDate::currentDate().year());
        QVERIFY(calendar->MenuItem(QStringLiteral("Properties")));
        QVERIFY(calendar->Hooked);
        QCOMPARE(dropped, 1);
        QVERIFY(prompts->records.empty()); // no dialog opens
        QCOMPARE(page.PanelState(), TLPanelState::psPointing);

        // A click makes the smallest one, 50 × 15.
        page.SetPanelState(TLPanelState::psFlatCalendar);
        QTest::mouseClick(&page, Qt::LeftButton, {}, QPoint(400, 500));
        QCOMPARE(page.Objects().size(), 2);
        QCOMPARE(page.Objects().last()->geometry(), QRect(400, 500, 50, 15));
        QCOMPARE(page.Objects().last()->objectName(), QStringLiteral("Special2"));
    }

    void fileWithFloatingCalendarsResavesByteForByte()
    {
        QTemporaryDir dir;
        flatbytes::Record german, shadowed;
        german.left = 500, german.top = 700, german.language = "fclGerman", german.dayNameStyle = "fdsWhole";
        german.startOfWeek = 2, german.showYear = true, german.title.style = {"fsBold"};
        shadowed.objectName = "Component1";
        shadowed.month = 13; // no such month: kept as stored
        shadowed.shadowDepth = 5, shadowed.shadowPosition = "fcpUpperLeft", shadowed.shadow = 0x336699;
        shadowed.transparent = true;
        const QByteArray legacy = golden::knownFile(4, QByteArray(), german.bytes() + shadowed.bytes());
        const QString in = inputFile(dir, legacy), out = dir.filePath(QStringLiteral("out.OVF"));

        TCalendarPanel32 page(nullptr, 96);
        page.LoadFromFile(in);
        page.HookAllObjects();
        QCOMPARE(page.Objects().size(), 2);
        auto* first = qobject_cast<TGFlatCalendar*>(page.Objects()[0]);
        auto* second = qobject_cast<TGFlatCalendar*>(page.Objects()[1]);
        QVERIFY(first && second);
        QCOMPARE(first->Language(), TFlatCalLanguage::fclGerman);
        QCOMPARE(first->StartOfWeek(), 2);
        QVERIFY(first->TitleFont().Bold);
        QCOMPARE(second->Month(), 13);
        QCOMPARE(second->ShadowColor(), TColor(0x336699));
        page.DrawToBitmap(); // draws, whatever the month

        page.SaveToFile(out);
        QCOMPARE(fileBytes(out), legacy);
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
