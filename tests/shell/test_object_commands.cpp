#include "main_window_fixture.h"
#include "objects/handle.h"
#include "objects/image.h"
#include "objects/image_browser.h"
#include "objects/p_label.h"
#include "objects/p_rich_base_label.h"
#include "objects/rich_text_label_editor.h"
#include "platform/screen_ppi.h"
#include "richtext/wp_rich_text.h"
#include "special/flat_calendar.h"
#include "special/super_text.h"
#include "test_registry.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

class TestObjectCommands : public QObject {
    Q_OBJECT
private slots:
    void onlyTheToolsWithObjectClassesAreEnabled()
    {
        MainWindowFixture f;
        QVERIFY(f.main->Pointerbutton->isEnabled());
        for (QToolButton* b : {f.main->DrawLabelButton, f.main->DrawImageButton, f.main->DrawRichText,
                               f.main->DrawSuperText, f.main->PSpeedButton1})
            QVERIFY(b->isEnabled());
    }

    void drawingALabelMarksModifiedAndReturnsToTheSelectionTool()
    {
        MainWindowFixture f;
        f.main->SetModified(false);
        TGPLabel* label = drawLabel(f, QPoint(200, 150), QStringLiteral("Birthday"));
        QVERIFY(label);
        QCOMPARE(label->Caption(), QStringLiteral("Birthday"));
        QCOMPARE(label->pos(), QPoint(200, 150));
        QVERIFY(f.main->Modified);
        QVERIFY(f.main->Pointerbutton->isChecked());
        QCOMPARE(f.page().PanelState(), TLPanelState::psPointing);

        // Moving it marks the document modified again.
        f.main->SetModified(false);
        f.page().MoveObjects({{label, label->geometry().translated(5, 0)}});
        QVERIFY(f.main->Modified);
    }

    void theCalendarToolPlacesAFloatingCalendar()
    {
        MainWindowFixture f;
        f.main->SetModified(false);
        QTest::mouseClick(f.main->PSpeedButton1, Qt::LeftButton);
        QCOMPARE(f.page().PanelState(), TLPanelState::psFlatCalendar);
        QTest::mousePress(&f.page(), Qt::LeftButton, {}, QPoint(100, 120));
        QTest::mouseMove(&f.page(), QPoint(260, 250));
        QTest::mouseRelease(&f.page(), Qt::LeftButton, {}, QPoint(260, 250));
        QCOMPARE(f.page().Objects().size(), 1);
        auto* calendar = qobject_cast<TGFlatCalendar*>(f.page().Objects().first());
        QVERIFY(calendar);
        QCOMPARE(calendar->geometry(), QRect(100, 120, 160, 130));
        QVERIFY(f.main->Modified);
        QVERIFY(f.main->Pointerbutton->isChecked());
        QVERIFY(f.prompts->records.empty());
    }

    void theSuperTextToolPlacesAFramedObjectAndOpensItsDialog()
    {
        MainWindowFixture f;
        f.main->SetModified(false);
        bool seen = false;
        f.prompts->dialogAnswers.push_back([&](QDialog& d) {
            seen = true;
            d.show(); // the controls load from the preview as the dialog shows
            d.findChild<QLineEdit*>(QStringLiteral("CaptionText"))->setText(QStringLiteral("Holidays"));
            d.findChild<QPushButton*>(QStringLiteral("OKButton"))->click();
            return d.result();
        });
        QTest::mouseClick(f.main->DrawSuperText, Qt::LeftButton);
        QCOMPARE(f.page().PanelState(), TLPanelState::psSuperText);
        QTest::mousePress(&f.page(), Qt::LeftButton, {}, QPoint(100, 120));
        QTest::mouseMove(&f.page(), QPoint(400, 220));
        QTest::mouseRelease(&f.page(), Qt::LeftButton, {}, QPoint(400, 220));
        QVERIFY(seen);
        QCOMPARE(f.prompts->texts(QStringLiteral("dialog")), QStringList{QStringLiteral("SuperText Properties")});
        QCOMPARE(f.page().Objects().size(), 1);
        auto* text = qobject_cast<TGSuperText*>(f.page().Objects().first());
        QVERIFY(text);
        QCOMPARE(text->pos(), QPoint(100, 120));
        QCOMPARE(text->Caption(), QStringLiteral("Holidays"));
        QCOMPARE(text->BorderStyle(), TBorderStyle::bsSingle);
        QVERIFY(!text->ControlTransparent());
        QCOMPARE(text->BGColor(), clWhite);
        QVERIFY(f.main->Modified);
        QVERIFY(f.main->Pointerbutton->isChecked());
        QVERIFY(f.main->HasSuperText());
    }

    void aClickOnAnObjectNeverOpensTheCellEditor()
    {
        MainWindowFixture f;
        const TCellGeometry& cell = f.page().drawn().cells[10];
        const QPoint inCell(cell.rTotal.Left + 10, cell.rTotal.Top + 10);
        TGPLabel* label = drawLabel(f, inCell, QStringLiteral("On a cell"));
        QVERIFY(label);
        QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(3, 3));
        QVERIFY(!f.main->EditorOpen);
        QCOMPARE(f.page().Handle()->Count(), 1);
    }

    void saveAndReopenFindsTheObjectsWhereTheyWere()
    {
        MainWindowFixture f;
        f.page().SetZoom(0.6f);
        TGPLabel* label = drawLabel(f, QPoint(120, 90), QStringLiteral("Kept"));
        QVERIFY(label);
        const QRect atZoom = label->geometry();
        const QString file = f.path(QStringLiteral("objects.OVF"));
        QVERIFY(f.main->SaveCalendarFile(file));
        QCOMPARE(label->geometry(), atZoom); // saved at zoom 1, shown at 60 % again

        f.main->OpenCalendarFile(file);
        QCOMPARE(f.page().Objects().size(), 1);
        auto* reopened = qobject_cast<TGPLabel*>(f.page().Objects().first());
        QVERIFY(reopened);
        QCOMPARE(reopened->Caption(), QStringLiteral("Kept"));
        QVERIFY(qAbs(reopened->x() - atZoom.x()) <= 1 && qAbs(reopened->y() - atZoom.y()) <= 1);
        QVERIFY(reopened->Hooked);
        QCOMPARE(reopened->Zoom(), f.page().Zoom());
        QVERIFY(!f.main->Modified);
    }

    void openingAnotherFileReplacesTheObjects()
    {
        MainWindowFixture f;
        const QString empty = f.path(QStringLiteral("empty.OVF"));
        QVERIFY(f.main->SaveCalendarFile(empty));
        TGPLabel* label = drawLabel(f, QPoint(50, 50), QStringLiteral("Gone"));
        QVERIFY(label);
        f.page().Handle()->Select(label);
        f.main->SetModified(false);
        f.main->OpenCalendarFile(empty);
        QVERIFY(!f.page().HasPlacedObjects());
        QCOMPARE(f.page().Handle()->Count(), 0);
    }

    void theClipArtToolOpensTheBrowserAndLeavesABoxWhenCancelled()
    {
        MainWindowFixture f;
        f.main->SetModified(false);
        QTest::mouseClick(f.main->DrawImageButton, Qt::LeftButton);
        QCOMPARE(f.page().PanelState(), TLPanelState::psImage);
        QString shownFolder;
        f.prompts->dialogAnswers.push_back([&shownFolder](QDialog& d) {
            shownFolder = static_cast<TGImageBrowser&>(d).Folder();
            return int(QDialog::Rejected);
        });
        QTest::mousePress(&f.page(), Qt::LeftButton, {}, QPoint(100, 100));
        QTest::mouseMove(&f.page(), QPoint(220, 200));
        QTest::mouseRelease(&f.page(), Qt::LeftButton, {}, QPoint(220, 200));
        QCOMPARE(f.prompts->texts(QStringLiteral("dialog")), QStringList{QStringLiteral("Load Image File ")});
        // The browser starts in the clip art that comes with the program.
        QVERIFY(shownFolder.endsWith(QStringLiteral("/ClipArt")));
        QCOMPARE(f.page().Objects().size(), 1);
        auto* image = qobject_cast<TGImage*>(f.page().Objects().first());
        QVERIFY(image);
        QVERIFY(image->Picture().isEmpty());
        QCOMPARE(image->geometry(), QRect(100, 100, 120, 100));
        QVERIFY(f.main->Modified);
        QVERIFY(f.main->Pointerbutton->isChecked());
    }

    void theRichTextToolOpensTheEditorAndADoubleClickReopensIt()
    {
        MainWindowFixture f;
        QVERIFY(f.main->MASTERWPRICHTEXT);
        QTest::mouseClick(f.main->DrawRichText, Qt::LeftButton);
        f.prompts->dialogAnswers.push_back([](QDialog& d) {
            static_cast<TRichTextLabelEditor&>(d).WPRichText1->insertPlainText(QStringLiteral("Party at noon"));
            return int(QDialog::Accepted);
        });
        QTest::mouseClick(&f.page(), Qt::LeftButton, {}, QPoint(150, 120));
        QCOMPARE(f.prompts->texts(QStringLiteral("dialog")), QStringList{QStringLiteral("Rich Text Editor")});
        QCOMPARE(f.page().Objects().size(), 1);
        auto* rich = qobject_cast<TGPRichBaseLabel*>(f.page().Objects().first());
        QVERIFY(rich);
        QCOMPARE(rich->MasterEditor(), f.main->MASTERWPRICHTEXT);
        QVERIFY(!rich->Transparent());
        QCOMPARE(rich->BorderStyle(), TBorderStyle::bsSingle);
        QCOMPARE(rich->geometry(), QRect(150, 120, 50, 15));
        QVERIFY(rich->RTFText().rtf().contains("Party at noon"));

        // Selected, a double click on it opens its editor again.
        f.page().Handle()->Select(rich);
        f.page().ObjectDblClick(f.page().Handle(), f.page().mapToGlobal(QPoint(160, 125)));
        QCOMPARE(f.prompts->texts(QStringLiteral("dialog")).size(), 2);

        // Saved and opened again, it is the same label.
        rich->setObjectName(QStringLiteral("Component0")); // the name reading gives it
        const QByteArray record = rich->Record();
        const QString file = f.path(QStringLiteral("rich.OVF"));
        QVERIFY(f.main->SaveCalendarFile(file));
        f.main->OpenCalendarFile(file);
        QCOMPARE(f.page().Objects().size(), 1);
        QCOMPARE(f.page().Objects().first()->Record(), record);
    }

    void withoutAMasterEditorTheRichTextToolSaysSoAndPlacesNothing()
    {
        ScopedScriptedPrompter prompts;
        setScreenPPIOverride(96);
        TCalendarPanel32 page(nullptr, 96);
        page.SetPanelState(TLPanelState::psRichLabel);
        QRect r(10, 10, 100, 50);
        page.CreateObjectInRect(r);
        QCOMPARE(prompts->texts(QStringLiteral("error")), QStringList{QStringLiteral("No master rich text object found")});
        QVERIFY(page.Objects().isEmpty());
        QCOMPARE(page.PanelState(), TLPanelState::psPointing);
    }
};
OV_TEST(TestObjectCommands)

#include "test_object_commands.moc"
