// "Floating Calendar Properties" driven through its real controls: loading from the
// preview, live preview changes, copying back on Ok and nothing on Cancel.
#include "special/flat_calendar_editor.h"
#include "special_test_support.h"
#include "platform/help_request.h"
#include "test_registry.h"
#include "test_support.h"
#include "widgets/color_button.h"
#include "widgets/dialog_help.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

namespace {
// Picks an item the way a user does: opens the list and clicks the entry.
void pick(QComboBox* combo, int index)
{
    QTest::mouseClick(combo, Qt::LeftButton);
    QAbstractItemView* view = combo->view();
    QTRY_VERIFY(view->isVisible());
    const QPoint item = view->visualRect(view->model()->index(index, 0)).center();
    // Moving over the list first, so the list takes the click as a choice.
    QTest::mouseMove(view->viewport(), item);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item);
    QTRY_VERIFY(!view->isVisible());
}

void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(8, w->height() / 2)); }

// A calendar with every setting away from its default, at zoom 2.
TGFlatCalendar* setUpCalendar(ovtest::HostFixture& f)
{
    TGFlatCalendar* c = f.calendar(QRect(50, 40, 300, 250));
    c->SetZoomFactor(2.0f);
    c->SetMonth(11);
    c->SetYear(2030);
    c->SetShowYear(true);
    c->SetLanguage(TFlatCalLanguage::fclFrench);
    c->SetDayNameStyle(TFlatCalHeadersStyle::fdsThreeChars);
    c->SetCellBorderStyle(TFlatCalBorderStyle::fcbAll);
    c->SetTitleBGcolor(0x00FFFF);
    c->SetShadowDepth(3);
    c->SetShadowPosition(TFlatShadowPosition::fcpUpperRight);
    return c;
}

// Answers the dialog: shows it, runs `use` on it, then clicks the button named.
void answer(ovtest::HostFixture& f, const QString& button, std::function<void(TFlatCalendarEditor&)> use)
{
    f.prompts->dialogAnswers.push_back([button, use](QDialog& d) {
        auto& dlg = static_cast<TFlatCalendarEditor&>(d);
        d.show();
        if (!QTest::qWaitForWindowExposed(&d))
            return int(QDialog::Rejected);
        use(dlg);
        QTest::mouseClick(d.findChild<QPushButton*>(button), Qt::LeftButton);
        return d.result();
    });
}

// The stored properties after the geometry: what the dialog edits.
QByteArray calendarPart(const TGFlatCalendar& c)
{
    const QByteArray r = c.Record();
    return r.mid(r.indexOf("\x0bStartOfWeek"));
}

// Makes one change with every kind of control, as a user does.
void changeEverything(TFlatCalendarEditor& d)
{
    pick(d.MonthCombo, 1);
    QTest::keyClick(d.YearSpinner, Qt::Key_Up);
    click(d.WeekStartsOn->button(1));
    click(d.ShowtitleInyearCheck);
    pick(d.HeadersStyleCombo, 2);
    pick(d.LanguageCombo, 1);
    pick(d.CalendarBorderCombo, 4);
    pick(d.HeaderBorderCombo, 2);
    pick(d.CellBorderCombo, 3);
    QTest::mouseClick(d.TitleFontbutton, Qt::LeftButton);
    QTest::mouseClick(d.CellFontbutton, Qt::LeftButton);
    // What a click on a palette's swatch does.
    d.Bodybackgroundbutton->pickColor(0x00C0C0);
    d.HeaderBackgroundButton->pickColor(0x808080);
    d.TitleBackgroundbutton->pickColor(clWhite);
    d.ShadowColorButton->pickColor(0xFF0000);
    pick(d.ShadowOrientationCombo, 1);
    // The spinner's up arrow, at its right edge.
    QTest::mouseClick(d.ShadowDepthSpinner, Qt::LeftButton, {},
                      QPoint(d.ShadowDepthSpinner->width() - 6, d.ShadowDepthSpinner->height() / 4));
    click(d.TransparentCheck);
}

void checkEverythingChanged(const TGFlatCalendar& s)
{
    QCOMPARE(s.Month(), 2);
    QCOMPARE(s.Year(), 2031);
    QCOMPARE(s.StartOfWeek(), 2);
    QVERIFY(!s.ShowYear());
    QCOMPARE(s.DayNameStyle(), TFlatCalHeadersStyle::fdsWhole);
    QCOMPARE(s.Language(), TFlatCalLanguage::fclGerman);
    QCOMPARE(s.CalendarBorderStyle(), TFlatCalBorderStyle::fcbTopBottom);
    QCOMPARE(s.DayNameBorderStyle(), TFlatCalBorderStyle::fcbTop);
    QCOMPARE(s.CellBorderStyle(), TFlatCalBorderStyle::fcbBottom);
    QCOMPARE(s.TitleFont().Name, QStringLiteral("Liberation Serif"));
    QCOMPARE(s.TitleFont().Size(96), 14);
    QVERIFY(s.TitleFont().Bold);
    QCOMPARE(s.CellFont().Color, clRed);
    QCOMPARE(s.CellFont().Name, QStringLiteral("Arial")); // the same face keeps its stored name
    QCOMPARE(s.Backgroundcolor(), TColor(0x00C0C0));
    QCOMPARE(s.DayNameBGColor(), TColor(0x808080));
    QCOMPARE(s.TitleBGcolor(), clWhite);
    QCOMPARE(s.ShadowColor(), TColor(0xFF0000));
    QCOMPARE(s.ShadowPosition(), TFlatShadowPosition::fcpLowerLeft);
    QCOMPARE(s.ShadowDepth(), 4);
    QVERIFY(s.CalTransparent());
}

// Answers for the title font (another family, size and style) and the cell font (the
// same face in red).
void queueFontAnswers(ScriptedPrompter& prompts)
{
    QFont title(QStringLiteral("Liberation Serif"));
    title.setPointSize(14);
    title.setBold(true);
    QFont cell(QStringLiteral("Liberation Sans"));
    cell.setPointSize(7);
    prompts.fontAnswers = {title, cell};
    prompts.fontColorAnswers = {QColor(0, 0, 0), QColor(255, 0, 0)};
}
} // namespace

class TestFlatCalendarEditor : public QObject {
    Q_OBJECT
private slots:
    void controlsShowTheCalendarAndThePreviewIsAtZoomOne()
    {
        ovtest::HostFixture f;
        TGFlatCalendar* c = setUpCalendar(f);
        bool seen = false;
        answer(f, QStringLiteral("CancelButton"), [&](TFlatCalendarEditor& d) {
            seen = true;
            QCOMPARE(d.Sample->size(), QSize(150, 125));
            QCOMPARE(d.Sample->Zoom(), 1.0f);
            QCOMPARE(calendarPart(*d.Sample), calendarPart(*c));
            QCOMPARE(d.MonthCombo->currentText(), QStringLiteral("November"));
            QCOMPARE(d.YearSpinner->value(), 2030);
            QVERIFY(d.ShowtitleInyearCheck->isChecked());
            QCOMPARE(d.WeekStartsOn->checkedId(), 0);
            QCOMPARE(d.LanguageCombo->currentText(), QString::fromUtf8("Français"));
            QCOMPARE(d.HeadersStyleCombo->currentText(), QStringLiteral("First Three Characters"));
            QCOMPARE(d.CellBorderCombo->currentText(), QStringLiteral("All"));
            QCOMPARE(d.CalendarBorderCombo->itemText(4), QStringLiteral("Top & Bottom"));
            QCOMPARE(d.TitleBackgroundbutton->color(), TColor(0x00FFFF));
            QCOMPARE(d.ShadowDepthSpinner->value(), 3);
            QCOMPARE(d.ShadowOrientationCombo->currentText(), QStringLiteral("UpperRight"));
            // Loading the controls wrote nothing back.
            QCOMPARE(calendarPart(*d.Sample), calendarPart(*c));
        });
        c->MenuItem(QStringLiteral("Properties"))->trigger();
        QVERIFY(seen);
        QCOMPARE(f.prompts->texts(QStringLiteral("dialog")),
                 QStringList{QStringLiteral("Floating Calendar Properties")});
    }

    void okCopiesEveryChangeBackButNotTheSize()
    {
        ovtest::HostFixture f;
        TGFlatCalendar* c = setUpCalendar(f);
        const QByteArray original = c->Record();
        queueFontAnswers(*f.prompts);
        answer(f, QStringLiteral("OkButton"), [&](TFlatCalendarEditor& d) {
            changeEverything(d);
            // The preview takes each change at once; the object waits for Ok.
            checkEverythingChanged(*d.Sample);
            QCOMPARE(c->Record(), original);
        });
        int records = 0, changes = 0;
        QByteArray before, after;
        QObject::connect(f.panel.get(), &TGBasePanel::objectRecordChanged,
                         [&](const QString&, const QByteArray& b, const QByteArray& a) {
                             ++records;
                             before = b;
                             after = a;
                         });
        f.panel->LabelChangedEvent = [&] { ++changes; };
        c->MenuItem(QStringLiteral("Properties"))->trigger();
        checkEverythingChanged(*c);
        QCOMPARE(c->geometry(), QRect(50, 40, 300, 250)); // the size is not copied back
        QCOMPARE(c->Zoom(), 2.0f);
        QCOMPARE(records, 1); // one change for undo, with the records around it
        QCOMPARE(before, original);
        QCOMPARE(after, c->Record());
        QVERIFY(changes > 0);
    }

    void cancelLeavesTheObjectUntouched()
    {
        ovtest::HostFixture f;
        TGFlatCalendar* c = setUpCalendar(f);
        const QByteArray original = c->Record();
        queueFontAnswers(*f.prompts);
        answer(f, QStringLiteral("CancelButton"), [&](TFlatCalendarEditor& d) {
            changeEverything(d);
            checkEverythingChanged(*d.Sample);
        });
        int records = 0, changes = 0;
        QObject::connect(f.panel.get(), &TGBasePanel::objectRecordChanged, [&] { ++records; });
        f.panel->LabelChangedEvent = [&] { ++changes; };
        c->MenuItem(QStringLiteral("Properties"))->trigger();
        QCOMPARE(c->Record(), original);
        QCOMPARE(records, 0);
        QCOMPARE(changes, 0);
    }

    void aCancelledFontDialogChangesNothing()
    {
        ovtest::HostFixture f;
        TGFlatCalendar* c = setUpCalendar(f);
        answer(f, QStringLiteral("OkButton"), [&](TFlatCalendarEditor& d) {
            const QByteArray shown = d.Sample->Record();
            QTest::mouseClick(d.CellFontbutton, Qt::LeftButton); // no answer queued: cancelled
            QCOMPARE(d.Sample->Record(), shown);
        });
        const QByteArray before = c->Record();
        c->MenuItem(QStringLiteral("Properties"))->trigger();
        QCOMPARE(f.prompts->texts(QStringLiteral("font")), QStringList{QStringLiteral("Font")});
        QCOMPARE(c->Record(), before);
    }

    void theYearSpinnerStartsAtThisYearAndShowsAnyStoredYear()
    {
        ovtest::HostFixture f;
        TFlatCalendarEditor d;
        QCOMPARE(d.YearSpinner->value(), QDate::currentDate().year());
        d.Sample->SetYear(1900); // before the spinner's range, as a file may hold
        QCOMPARE(d.Sample->Year(), 1900);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QCOMPARE(d.YearSpinner->value(), 1900);
        QCOMPARE(d.Sample->Year(), 1900);
        QTest::keyClick(d.YearSpinner, Qt::Key_Up);
        QCOMPARE(d.Sample->Year(), 1901);
    }

    void everyControlHasContextHelpAndTheHelpButtonItsTopic()
    {
        ovtest::HostFixture f;
        // The help book as shipped.
        setProgramFolderOverride(ovtest::sourceDir() + QStringLiteral("/assets"));
        reloadWhatsThisTexts();
        TFlatCalendarEditor d;
        QList<QWidget*> controls{d.Sample};
        for (QWidget* w : d.findChildren<QWidget*>())
            if ((qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractButton*>(w) || qobject_cast<QSpinBox*>(w))
                && w->objectName() != QStringLiteral("WhatsThisButton"))
                controls << w;
        QVERIFY(controls.size() >= 22);
        for (QWidget* w : controls)
            QVERIFY2(!w->whatsThis().isEmpty(), qPrintable(w->objectName()));
        std::unique_ptr<QMenu> menu(createWhatsThisMenu(d.LanguageCombo));
        QCOMPARE(menu->actions().first()->text(), QStringLiteral("What's this?"));

        QStringList groups;
        for (QGroupBox* g : d.findChildren<QGroupBox*>())
            groups << g->title();
        for (const char* g : {"Miscellaneous", "Fonts", "Borders", "Colors", "Shadow", "Week Starts On"})
            QVERIFY2(groups.contains(QString::fromLatin1(g)), g);

        QList<int> topics;
        const HelpHandler previous = setHelpHandler([&](int t) { topics << t; });
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("HelpButton")), Qt::LeftButton);
        setHelpHandler(previous);
        setProgramFolderOverride(QString());
        reloadWhatsThisTexts();
        QCOMPARE(topics, QList<int>{40015});
    }
};
OV_TEST(TestFlatCalendarEditor)

#include "test_flat_calendar_editor.moc"
