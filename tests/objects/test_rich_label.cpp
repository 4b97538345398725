// The rich-text label: its record, its master editor, its drawing at every zoom and
// its editor dialog.
#include "object_test_support.h"
#include "objects/object_filer.h"
#include "objects/p_rich_base_label.h"
#include "objects/rich_text_label_editor.h"
#include "picture_samples.h"
#include "richtext/rtf_renderer.h"
#include "richtext/wp_rich_text.h"
#include "test_registry.h"
#include "test_support.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

using ovtest::Bytes;

namespace {

const QByteArray kText = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 The quick brown fox jumps over the lazy dog "
                         "and keeps running across the whole page of the label, never stopping, not even for the "
                         "birthday cake that waits on the table.\\par\\b\\fs28 Birthday party at "
                         "noon in the garden\\par}";

TWPRichText* addMaster(ovtest::PanelFixture& f)
{
    auto* master = new TWPRichText(f.panel.get());
    master->setObjectName(QStringLiteral("MasterWPRichText")); // found whatever its case
    master->hide();
    return master;
}

TGPRichBaseLabel* newLabel(ovtest::PanelFixture& f, const QRect& r, const QByteArray& rtf = kText)
{
    auto* label = new TGPRichBaseLabel(f.panel.get());
    label->setObjectName(f.panel->StreamObjectName());
    label->setGeometry(r);
    label->AfterLoad();
    label->SetRTFText(TWPRtfStorage(rtf));
    f.panel->HookObjectEvents(label);
    label->show();
    return label;
}

QByteArray listOf(const QList<QByteArray>& records)
{
    return QByteArray(1, '\x01') + records.join() + QByteArray(1, '\0');
}

TObjectReadResult readList(TGBasePanel& panel, const QByteArray& list)
{
    TStreamReader r(list);
    r.readListBegin();
    return TGLabelObjectFiler::ReadRecords(r, &panel);
}

QByteArray writeList(const QList<TGGraphicControl*>& objects)
{
    QByteArray out;
    TStreamWriter w(&out);
    TGLabelObjectFiler::WriteList(w, objects);
    return out;
}

// Where each line of a laid-out document starts (character positions).
QList<int> lineStarts(QTextDocument* doc)
{
    doc->documentLayout()->documentSize(); // lays the whole text out
    QList<int> starts;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
        for (int i = 0; i < b.layout()->lineCount(); ++i)
            starts << b.position() + b.layout()->lineAt(i).textStart();
    return starts;
}

QImage drawnOn(TGGraphicControl& obj, QColor under)
{
    QImage img(obj.size(), QImage::Format_RGB32);
    img.fill(under);
    QPainter p(&img);
    obj.paintTo(p);
    return img;
}

} // namespace

class TestRichLabel : public QObject {
    Q_OBJECT
private slots:
    void recordsAreExactAndComeBackUnchanged()
    {
        ovtest::PanelFixture f;
        addMaster(f);
        TGPRichBaseLabel* label = newLabel(f, QRect(10, 20, 190, 33), QByteArray());
        Bytes plain;
        plain.record("TGPRichBaseLabel", "Component0").geometry(10, 20, 190, 33).prop("BorderStyle").ident("bsSingle")
            .prop("Transparent").boolean(true).prop("BGColor").ident("clWhite").end().end();
        QCOMPARE(label->Record(), plain.b);

        label->SetRTFText(TWPRtfStorage(kText));
        label->SetTransparent(false);
        label->SetBGColor(0x00C0FFEE);
        label->SetBorderStyle(TBorderStyle::bsNone);
        Bytes full;
        full.record("TGPRichBaseLabel", "Component0").geometry(10, 20, 190, 33)
            .prop("RTFText.Data").binary(kText + QByteArray(4, '\0')).prop("BorderStyle").ident("bsNone")
            .prop("Transparent").boolean(false).prop("BGColor").int32(0x00C0FFEE).end().end();
        QCOMPARE(label->Record(), full.b);

        // Blocks shaped as no writer of ours makes them (a short trailer, no text at all)
        // go back as they came.
        Bytes oneZero, onlyZeros;
        oneZero.record("TGPRichBaseLabel", "Component1").geometry(1, 2, 100, 40)
            .prop("RTFText.Data").binary(kText + QByteArray(1, '\0')).prop("BorderStyle").ident("bsSingle")
            .prop("Transparent").boolean(true).prop("BGColor").ident("clYellow").end().end();
        onlyZeros.record("TGPRichBaseLabel", "Component2").geometry(1, 2, 100, 40)
            .prop("RTFText.Data").binary(QByteArray(4, '\0')).prop("BorderStyle").ident("bsSingle")
            .prop("Transparent").boolean(true).prop("BGColor").ident("clWhite").end().end();
        const QByteArray list = listOf({full.b, oneZero.b, onlyZeros.b});
        delete label;
        const TObjectReadResult read = readList(*f.panel, list);
        QVERIFY(read.error.isEmpty());
        QCOMPARE(read.objects.size(), 3);
        auto* first = qobject_cast<TGPRichBaseLabel*>(read.objects[0]);
        QCOMPARE(first->RTFText().rtf(), kText);
        QCOMPARE(first->BGColor(), TColor(0x00C0FFEE));
        QCOMPARE(writeList(read.objects), list);
        QVERIFY(first->ContextMenu());
        QVERIFY(first->EditAction);
    }

    void withoutAMasterEditorNoHalfBuiltLabelStays()
    {
        ovtest::PanelFixture f;
        Bytes rich, box;
        rich.record("TGPRichBaseLabel", "a").geometry(1, 2, 100, 40).end().end();
        box.record("TTestBox", "b").geometry(5, 5, 20, 20).end().end();
        const TObjectReadResult read = readList(*f.panel, listOf({rich.b, box.b}));
        QCOMPARE(read.error, QStringLiteral("No master rich text object found"));
        QCOMPARE(read.objects.size(), 1);
        QCOMPARE(read.objects[0]->StreamClassName(), QByteArray("TTestBox"));
        QCOMPARE(f.panel->Objects().size(), 1);

        auto* orphan = new TGPRichBaseLabel(f.panel.get());
        QVERIFY_THROWS_EXCEPTION(ENoMasterWPRich, orphan->AfterLoad());
        delete orphan;
    }

    void atHalfZoomTheTextWrapsAsInTheEditor()
    {
        ovtest::PanelFixture f;
        addMaster(f);
        // 200 x 100 pixels at 50 %: a page of 400 x 200 unzoomed pixels.
        TGPRichBaseLabel* label = newLabel(f, QRect(0, 0, 200, 100));
        label->SetZoomFactor(0.5f);
        QCOMPARE(label->PageTwips(), QSize(6000, 3000));
        const qreal width100 = 6000 * 96 / 1440.0;
        const QList<int> drawnLines = lineStarts(CreateLayoutDocument(kText, width100).get());
        QVERIFY2(drawnLines.size() >= 4, qPrintable(QString::number(drawnLines.size())));

        QList<int> editorLines;
        int editorZoom = 0;
        QSize panel, pageTwips;
        f.prompts->dialogAnswers.push_back([&](QDialog& d) {
            auto& editor = static_cast<TRichTextLabelEditor&>(d);
            editorLines = lineStarts(editor.WPRichText1->document());
            editorZoom = editor.WPRichText1->zoom();
            pageTwips = QSize(editor.WPRichText1->pageWidthTwips(), editor.WPRichText1->pageHeightTwips());
            panel = editor.WPPanel->size();
            return int(QDialog::Rejected);
        });
        label->EditRichText();
        QCOMPARE(editorZoom, 50);
        QCOMPARE(pageTwips, QSize(6000, 3000));
        QCOMPARE(panel, QSize(201, 101));
        QCOMPARE(editorLines, drawnLines);

        // Drawn at 50 % the text takes half the room it takes at 100 %.
        const QRect half = ovtest::darkBounds(drawnOn(*label, Qt::white), QRect(1, 1, 198, 98));
        label->ZoomTo(1.0f);
        QCOMPARE(label->size(), QSize(400, 200));
        const QRect full = ovtest::darkBounds(drawnOn(*label, Qt::white), QRect(1, 1, 398, 198));
        QVERIFY(!half.isEmpty());
        QVERIFY2(qAbs(full.width() - 2 * half.width()) <= 6, qPrintable(QStringLiteral("%1 %2").arg(full.width()).arg(half.width())));
        QVERIFY(qAbs(full.height() - 2 * half.height()) <= 6);
    }

    void transparentShowsThePageAndOpaqueFills()
    {
        ovtest::PanelFixture f;
        addMaster(f);
        TGPRichBaseLabel* label = newLabel(f, QRect(0, 0, 300, 80));
        label->SetBorderStyle(TBorderStyle::bsNone);
        const QColor page(0, 160, 0);
        QImage img = drawnOn(*label, page);
        QCOMPARE(img.pixel(290, 75), page.rgb()); // a gap of the text
        QVERIFY(ovtest::darkPixelsInRect(img, QRect(0, 0, 300, 20), 60) > 20); // the text
        label->SetTransparent(false);
        label->SetBGColor(0x0000FFFF); // yellow
        img = drawnOn(*label, page);
        QCOMPARE(img.pixel(290, 75), qRgb(255, 255, 0));
        label->SetBorderStyle(TBorderStyle::bsSingle);
        img = drawnOn(*label, page);
        QCOMPARE(img.pixel(0, 40), qRgb(0, 0, 0));
        QCOMPARE(img.pixel(299, 79), qRgb(0, 0, 0));
    }

    void theEditorTakesTheTextOnOkOnly()
    {
        ovtest::PanelFixture f;
        addMaster(f);
        TGPRichBaseLabel* label = newLabel(f, QRect(0, 0, 190, 60));
        QSignalSpy records(f.panel.get(), &TGBasePanel::objectRecordChanged);
        const QByteArray before = label->Record();
        f.prompts->dialogAnswers.push_back([](QDialog& d) {
            static_cast<TRichTextLabelEditor&>(d).WPRichText1->insertPlainText(QStringLiteral("Lost "));
            return int(QDialog::Rejected);
        });
        label->EditRichText();
        QCOMPARE(label->Record(), before);
        QCOMPARE(records.size(), 0);

        f.prompts->dialogAnswers.push_back([](QDialog& d) {
            auto& editor = static_cast<TRichTextLabelEditor&>(d);
            editor.show();
            if (!QTest::qWaitForWindowExposed(&editor))
                return int(QDialog::Rejected);
            // Activation put the caret at the start of the text.
            editor.WPRichText1->insertPlainText(QStringLiteral("Kept "));
            return int(QDialog::Accepted);
        });
        label->EditRichText();
        QCOMPARE(records.size(), 1);
        QTextDocument doc;
        QVERIFY(label->RTFText().rtf().contains("Kept The quick"));

        // Emptied text is stored as none.
        f.prompts->dialogAnswers.push_back([](QDialog& d) {
            static_cast<TRichTextLabelEditor&>(d).WPRichText1->clear();
            return int(QDialog::Accepted);
        });
        label->EditRichText();
        QVERIFY(label->RTFText().rtf().isEmpty());
        QVERIFY(!label->Record().contains("RTFText.Data"));
    }

    // What the dialog of a label at 70 % shows, and how its zoom buttons step.
    static void checkZoomButtons(TRichTextLabelEditor& editor)
    {
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        QCOMPARE(editor.windowTitle(), QStringLiteral("Rich Text Editor"));
        QVERIFY(editor.WPPanel->isVisible());
        QCOMPARE(editor.WPRichText1->zoom(), 70);
        QCOMPARE(editor.WPPanel->size(), QSize(211, 71));
        QCOMPARE(editor.ZoomCaption->text(), QStringLiteral("70%"));
        QList<int> zooms;
        for (int i = 0; i < 5; ++i) {
            editor.ZoomInButton->trigger();
            zooms << editor.WPRichText1->zoom();
        }
        QCOMPARE(zooms, (QList<int>{80, 90, 100, 100, 100}));
        QCOMPARE(editor.WPPanel->size(), QSize(301, 101)); // 100 x 211 / 70, 100 x 71 / 70
        editor.grab().save(QDir::tempPath() + QStringLiteral("/orvanta-rich-text-editor.png"));
        zooms.clear();
        for (int i = 0; i < 7; ++i) {
            editor.ZoomOutButton->trigger();
            zooms << editor.WPRichText1->zoom();
        }
        QCOMPARE(zooms, (QList<int>{90, 80, 70, 60, 50, 50, 50}));
        QCOMPARE(editor.WPPanel->size(), QSize(151, 51));
    }

    void editorZoomsFromFiftyToAHundred()
    {
        ovtest::PanelFixture f;
        addMaster(f);
        TGPRichBaseLabel* label = newLabel(f, QRect(0, 0, 210, 70));
        label->SetZoomFactor(0.7f);
        f.prompts->dialogAnswers.push_back([](QDialog& d) {
            checkZoomButtons(static_cast<TRichTextLabelEditor&>(d));
            return int(QDialog::Rejected);
        });
        label->EditRichText();
        QCOMPARE(f.prompts->texts(QStringLiteral("dialog")), QStringList{QStringLiteral("Rich Text Editor")});
    }

    void menuItemsChangeTheLabelThroughRecords()
    {
        ovtest::PanelFixture f;
        addMaster(f);
        TGPRichBaseLabel* label = newLabel(f, QRect(0, 0, 190, 40));
        QSignalSpy records(f.panel.get(), &TGBasePanel::objectRecordChanged);
        f.prompts->colorAnswers.push_back(QColor(255, 0, 0));
        label->MenuItem(QStringLiteral("Background Color"))->trigger();
        QCOMPARE(label->BGColor(), TColor(0x0000FF));
        QVERIFY(!label->Transparent());
        label->MenuItem(QStringLiteral("Transparent"))->trigger();
        QVERIFY(label->Transparent());
        label->MenuItem(QStringLiteral("Border"))->trigger();
        QCOMPARE(label->BorderStyle(), TBorderStyle::bsNone);
        QCOMPARE(records.size(), 3);
        label->UpdateMenuChecks();
        QVERIFY(label->MenuItem(QStringLiteral("Transparent"))->isChecked());
        QVERIFY(!label->MenuItem(QStringLiteral("Border"))->isChecked());

        // "Edit" and a double click open the editor.
        label->MenuItem(QStringLiteral("Edit"))->trigger();
        label->EditAction();
        QCOMPARE(f.prompts->texts(QStringLiteral("dialog")),
                 (QStringList{QStringLiteral("Rich Text Editor"), QStringLiteral("Rich Text Editor")}));
    }
};
OV_TEST(TestRichLabel)
#include "test_rich_label.moc"
