#include "platform/help_request.h"
#include "calendar/calendar_panel.h"
#include "calendar/properties_dialog.h"
#include "calendar/set_time_dialog.h"
#include "platform/program_folder.h"
#include "platform/prompter.h"
#include "modal_helper.h"
#include "test_registry.h"
#include "widgets/color_button.h"
#include "widgets/spin_button.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <map>
#include <QToolButton>

namespace {
// The smallest picture the border loader accepts (pictures are recognised by content).
const char kBorderPicture[] = R"(<svg xmlns="http://www.w3.org/2000/svg" width="100" height="100">)"
                              R"(<rect x="2" y="2" width="96" height="96" fill="none" stroke="black"/></svg>)";

const QString kLayoutWarning = QStringLiteral(
    "Warning: changing to this type of layout\nwill erase all text and icons from the current\ncalendar. Proceed?");
const QString kObjectsWarning = QStringLiteral(
    "Warning: The Calendar has one or more items\nplaced on it using the Label, Clip Art, RichText,\nSuperText or "
    "Floating Calendar tools.\n\nChanging Paper Size, Orientation, Layout, Margins or Border\nmeans you will have to "
    "reposition these items.\n\nProceed?");

template <class T> T* child(const QWidget& parent, const char* name)
{
    T* w = parent.findChild<T*>(QString::fromLatin1(name));
    if (!w)
        qFatal("no control %s", name);
    return w;
}

QPushButton* button(const QWidget& d, const char* name) { return child<QPushButton>(d, name); }

// A dialog as the main window opens it: preview filled, then shown (first activation).
struct Dialog {
    TCalendarProperties d{nullptr, 96};
    TCalendarPanel32& page() { return *d.ExampleCalendar(); }
    const TCalendarSettings& s() { return d.ExampleCalendar()->settings(); }
    void open() { d.show(); }
    void chooseLayoutRow(int row) { child<QListWidget>(d, "LayoutList")->setCurrentRow(row); }
    void ok() { button(d, "btnOk")->click(); }
};

// A program folder with a "Borders" folder of small border files.
struct BorderFolder {
    QTemporaryDir dir;
    explicit BorderFolder(const QStringList& files)
    {
        QDir(dir.path()).mkdir(QStringLiteral("Borders"));
        for (const QString& f : files) {
            QFile file(dir.path() + QStringLiteral("/Borders/") + f);
            file.open(QIODevice::WriteOnly);
            file.write(kBorderPicture);
        }
        setProgramFolderOverride(dir.path() + QLatin1Char('/'));
    }
    ~BorderFolder() { setProgramFolderOverride(QString()); }
};

// What a user's pick in a drop-down list does (also when the shown item is picked again).
void choose(QComboBox* combo, int index)
{
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

QStringList items(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

} // namespace

class TestPropertiesDialog : public QObject {
    Q_OBJECT
private slots:
    void captionsAndPages()
    {
        Dialog t;
        t.open();
        QCOMPARE(t.d.windowTitle(), QStringLiteral("Calendar Properties"));
        auto* tabs = child<QTabWidget>(t.d, "PageTabs");
        QStringList names;
        for (int i = 0; i < tabs->count(); ++i)
            names << tabs->tabText(i);
        QCOMPARE(names, QStringList({"Layout", "Date", "Fonts, Colors", "Mini Fonts, Colors", "Headers", "Lines",
                                     "Planners", "Language", "Margins", "Borders"}));
        auto* layouts = child<QListWidget>(t.d, "LayoutList");
        QCOMPARE(layouts->count(), 13);
        QCOMPARE(layouts->item(2)->text(), QStringLiteral("1 Month Calendar, 6 Mini Calendars Before & After "));
        QCOMPARE(layouts->item(12)->text(), QStringLiteral("Day Planner (15 hours) "));
        QCOMPARE(t.page().toolTip(), QStringLiteral("This is an example calendar"));
        QStringList languageButtons;
        for (const char* n : {"btnEnglish", "btnFrench", "btnGerman", "btnItalian", "btnSpanish"})
            languageButtons << button(t.d, n)->text();
        QCOMPARE(languageButtons,
                 QStringList({"English", QString::fromUtf8("Français"), "Deutsch", "L'italiano",
                              QString::fromUtf8("Español")}));
    }

    void fillFromPreview()
    {
        Dialog t;
        TCalendarPanel32& p = t.page();
        p.SetPaperSize(1);
        p.SetCalendarLayout(TCalendarLayout::lo2Week);
        p.SetStartOfWeek(2);
        p.SetHeadersStyle(TCalHeadersStyle::dsWhole);
        p.SetMiniCalendarLineLayout(TMiniCalendarLineLayout::mllMinimal);
        p.SetCalendarLineLayout(TCalendarLineLayout::llCellsOnly);
        p.SetTitleShowYear(false);
        p.SetMainCalYear(2024);
        p.SetMainCalMonth(2);
        p.SetMainCalDay(31); // no such day: the month calendar keeps the 1st
        p.SetTitleBGColor(0x123456);
        p.SetTopMarginInch(1.3f);
        t.open();
        QCOMPARE(child<QListWidget>(t.d, "LayoutList")->currentRow(), 10);
        QVERIFY(child<QRadioButton>(t.d, "rbPortrait")->isChecked());
        QVERIFY(child<QRadioButton>(t.d, "rbA4")->isChecked());
        QVERIFY(child<QRadioButton>(t.d, "rbWeekStart1")->isChecked());
        QVERIFY(child<QRadioButton>(t.d, "rbLine2")->isChecked());
        QVERIFY(child<QRadioButton>(t.d, "rbMiniLine2")->isChecked());
        QVERIFY(!child<QCheckBox>(t.d, "cbShowYearInTitle")->isChecked());
        QCOMPARE(child<QListWidget>(t.d, "HeaderStyleList")->currentRow(), 2);
        QCOMPARE(child<QCalendarWidget>(t.d, "MonthCalendar")->selectedDate(), QDate(2024, 2, 1));
        QCOMPARE(child<TColorButton>(t.d, "TitleColorButton")->color(), TColor(0x123456));
        QCOMPARE(child<QComboBox>(t.d, "TopMarginList")->currentText(), QString::fromUtf8("1¼ Inch"));
        QCOMPARE(child<QLabel>(t.d, "DateCaption")->text(), QStringLiteral("Select Starting Date"));
        // Filling wrote nothing back: the impossible day and the layout stay as they were.
        QCOMPARE(t.s().MainCalDay, 31);
        QCOMPARE(t.s().CalendarLayout, TCalendarLayout::lo2Week);
        QCOMPARE(t.s().PaperSize, quint8(1));
    }

    void layoutSelectionEnablesControls_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("landscape");
        QTest::addColumn<int>("layout");
        QTest::addColumn<bool>("orientation");
        QTest::addColumn<bool>("weekStart");
        QTest::addColumn<bool>("monthOnly"); // show year in title, title colour, cell font, line style
        QTest::addColumn<bool>("titled"); // title and header fonts, header colour and style
        QTest::addColumn<bool>("minis");
        QTest::addColumn<bool>("startingTime");
        QTest::addColumn<QString>("caption");
        const QString month = QStringLiteral("Select Month & Year");
        const QString start = QStringLiteral("Select Starting Date");
        QTest::newRow("1 month") << 0 << false << 0 << true << true << true << true << false << false << month;
        QTest::newRow("2 minis landscape") << 1 << true << 3 << true << true << true << true << true << false << month;
        QTest::newRow("12 after landscape") << 3 << true << 7 << true << true << true << true << true << false << month;
        QTest::newRow("6 months") << 4 << false << 8 << true << true << false << false << true << false << month;
        QTest::newRow("60 months ls") << 8 << true << 17 << true << true << false << false << true << false << month;
        QTest::newRow("week") << 9 << false << 18 << false << false << false << true << false << false << start;
        QTest::newRow("two weeks") << 10 << true << 19 << false << false << false << true << false << false << start;
        QTest::newRow("day 10") << 11 << false << 20 << false << false << false << true << false << true << start;
        QTest::newRow("day 15") << 12 << true << 21 << false << false << false << true << false << true << start;
    }
    void layoutSelectionEnablesControls()
    {
        QFETCH(int, row);
        QFETCH(bool, landscape);
        QFETCH(int, layout);
        QFETCH(bool, orientation);
        QFETCH(bool, weekStart);
        QFETCH(bool, monthOnly);
        QFETCH(bool, titled);
        QFETCH(bool, minis);
        QFETCH(bool, startingTime);
        QFETCH(QString, caption);
        Dialog t;
        t.page().SetCalendarLayout(TCalendarLayout::loFullCalendar);
        t.open();
        child<QRadioButton>(t.d, landscape ? "rbLandscape" : "rbPortrait")->click();
        t.chooseLayoutRow(row);
        QCOMPARE(int(t.s().CalendarLayout), layout);
        QCOMPARE(child<QGroupBox>(t.d, "OrientationGroup")->isEnabled(), orientation);
        QCOMPARE(child<QGroupBox>(t.d, "WeekStartGroup")->isEnabled(), weekStart);
        QCOMPARE(child<QCheckBox>(t.d, "cbShowYearInTitle")->isEnabled(), monthOnly);
        QCOMPARE(child<TColorButton>(t.d, "TitleColorButton")->isEnabled(), monthOnly);
        QCOMPARE(button(t.d, "CellFontButton")->isEnabled(), monthOnly);
        QCOMPARE(child<QGroupBox>(t.d, "LineStyleGroup")->isEnabled(), monthOnly);
        QCOMPARE(button(t.d, "TitleFontButton")->isEnabled(), titled);
        QCOMPARE(button(t.d, "HeaderFontButton")->isEnabled(), titled);
        QCOMPARE(child<TColorButton>(t.d, "HeaderColorButton")->isEnabled(), titled);
        QCOMPARE(child<QListWidget>(t.d, "HeaderStyleList")->isEnabled(), titled);
        QCOMPARE(child<QCheckBox>(t.d, "cbShowYearInMiniTitle")->isEnabled(), minis);
        QCOMPARE(button(t.d, "MiniTitleFontButton")->isEnabled(), minis);
        QCOMPARE(button(t.d, "MiniCellFontButton")->isEnabled(), minis);
        QCOMPARE(child<TColorButton>(t.d, "MiniBackColorButton")->isEnabled(), minis);
        QCOMPARE(child<QListWidget>(t.d, "MiniHeaderStyleList")->isEnabled(), minis);
        QCOMPARE(child<QGroupBox>(t.d, "MiniLineStyleGroup")->isEnabled(), minis);
        QCOMPARE(button(t.d, "StartingTimeButton")->isEnabled(), startingTime);
        QCOMPARE(child<QLabel>(t.d, "DateCaption")->text(), caption);
    }

    void paperAndOrientation()
    {
        Dialog t;
        t.page().SetCalendarLayout(TCalendarLayout::loFCMinisInTitleLS);
        t.open();
        child<QRadioButton>(t.d, "rbA4")->click();
        QCOMPARE(t.s().PaperSize, quint8(1));
        child<QRadioButton>(t.d, "rbPortrait")->click();
        QCOMPARE(t.s().CalendarLayout, TCalendarLayout::loFCMinisInTitle);
        QCOMPARE(t.s().CalendarOrientation, TCalendarOrientation::coPortrait);
        // The preview widget follows the page size at its zoom.
        QVERIFY(t.page().height() > t.page().width());
    }

    void layoutWarningNoKeepsDialogOpen()
    {
        ScopedScriptedPrompter sp;
        sp->yesNoAnswers = {false, true};
        Dialog t;
        t.page().SetCalendarLayout(TCalendarLayout::loFullCalendar);
        t.d.setCurrentDocumentInfo(0, true, false);
        t.open();
        t.chooseLayoutRow(5); // 12 months: another family
        t.ok();
        QVERIFY(t.d.isVisible());
        QCOMPARE(t.d.result(), int(QDialog::Rejected));
        QCOMPARE(sp->records.size(), size_t(1));
        QCOMPARE(sp->records[0].kind, QStringLiteral("yesno"));
        QCOMPARE(sp->records[0].text, kLayoutWarning);
        QCOMPARE(sp->records[0].caption, QStringLiteral("WARNING"));
        QCOMPARE(t.s().CalendarLayout, TCalendarLayout::loMC12Month);
        t.ok();
        QVERIFY(!t.d.isVisible());
        QCOMPARE(t.d.result(), int(QDialog::Accepted));
    }

    void noLayoutWarningWithinFamilyOrWithoutText()
    {
        ScopedScriptedPrompter sp;
        {
            Dialog t;
            t.page().SetCalendarLayout(TCalendarLayout::loFullCalendar);
            t.d.setCurrentDocumentInfo(0, true, false);
            t.open();
            t.chooseLayoutRow(3); // still a month layout
            t.ok();
            QCOMPARE(t.d.result(), int(QDialog::Accepted));
        }
        {
            Dialog t;
            t.page().SetCalendarLayout(TCalendarLayout::loFullCalendar);
            t.d.setCurrentDocumentInfo(0, false, false);
            t.open();
            t.chooseLayoutRow(9);
            t.ok();
            QCOMPARE(t.d.result(), int(QDialog::Accepted));
        }
        {
            // A new document never warns, whatever it was told before.
            Dialog t;
            t.d.setCurrentDocumentInfo(0, true, true);
            t.d.setCreatingNew(true);
            t.open();
            QCOMPARE(t.s().CalendarLayout, TCalendarLayout::loFCMinisInTitleLS); // reset on activation
            t.chooseLayoutRow(10);
            t.ok();
            QCOMPARE(t.d.result(), int(QDialog::Accepted));
        }
        QVERIFY(sp->records.empty());
    }

    void objectsWarning_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("warns");
        QTest::newRow("colours only") << "colours" << false;
        QTest::newRow("fonts and styles") << "styles" << false;
        QTest::newRow("date") << "date" << false;
        QTest::newRow("margin") << "margin" << true;
        QTest::newRow("margin back to start") << "margin-back" << false;
        QTest::newRow("paper") << "paper" << true;
        QTest::newRow("orientation") << "orientation" << true;
        QTest::newRow("layout") << "layout" << true;
    }
    void objectsWarning()
    {
        QFETCH(QString, change);
        QFETCH(bool, warns);
        ScopedScriptedPrompter sp;
        sp->fontAnswers = {QFont(QStringLiteral("Liberation Sans"), 30)};
        Dialog t;
        t.page().SetCalendarLayout(TCalendarLayout::loFCMinisInTitleLS);
        t.d.setCurrentDocumentInfo(0, true, true);
        t.open();
        if (change == "colours") {
            child<TColorButton>(t.d, "TitleColorButton")->pickColor(clRed);
            child<TColorButton>(t.d, "MiniBackColorButton")->pickColor(clBlue);
            QCOMPARE(t.s().TitleBGColor, clRed);
            QCOMPARE(t.s().MiniCalBGColor, clBlue);
        } else if (change == "styles") {
            button(t.d, "TitleFontButton")->click();
            QCOMPARE(t.s().TitleFont.name, QStringLiteral("Liberation Sans"));
            child<QListWidget>(t.d, "HeaderStyleList")->setCurrentRow(0);
            QCOMPARE(t.s().HeadersStyle, TCalHeadersStyle::dsFirstChar);
            child<QRadioButton>(t.d, "rbLine1")->click();
            QCOMPARE(t.s().CalendarLineLayout, TCalendarLineLayout::llHeadersAndCells);
        } else if (change == "date") {
            button(t.d, "btnNextYear")->click();
        } else if (change == "margin" || change == "margin-back") {
            auto* combo = child<QComboBox>(t.d, "LeftMarginList");
            const int start = combo->currentIndex();
            choose(combo, 4);
            QCOMPARE(t.s().LeftMarginInch, 1.25f);
            if (change == "margin-back")
                choose(combo, start);
        } else if (change == "paper") {
            child<QRadioButton>(t.d, "rbA4")->click();
        } else if (change == "orientation") {
            child<QRadioButton>(t.d, "rbPortrait")->click();
        } else if (change == "layout") {
            t.chooseLayoutRow(2);
        }
        t.ok(); // answered No when asked
        QCOMPARE(sp->texts(QStringLiteral("yesno")), warns ? QStringList{kObjectsWarning} : QStringList{});
        QCOMPARE(t.d.isVisible(), warns);
    }

    void marginLists()
    {
        Dialog t;
        t.page().SetLeftMarginInch(0.6f);
        t.page().SetRightMarginInch(1.6f);
        t.open();
        auto* left = child<QComboBox>(t.d, "LeftMarginList");
        QCOMPARE(left->currentText(), QString::fromUtf8("½ Inch"));
        QCOMPARE(child<QComboBox>(t.d, "RightMarginList")->currentText(), QString::fromUtf8("1½ Inch"));
        QCOMPARE(t.s().LeftMarginInch, 0.6f); // showing is not choosing
        choose(left, left->currentIndex());
        QCOMPARE(t.s().LeftMarginInch, 0.5f);

        child<QRadioButton>(t.d, "rbMillimeters")->click();
        QCOMPARE(left->currentText(), QStringLiteral("13 mm"));
        QCOMPARE(left->itemText(5), QStringLiteral("38 mm"));
        choose(left, 0);
        QCOMPARE(t.s().LeftMarginInch, 0.25f);
        child<QRadioButton>(t.d, "rbInches")->click();
        QCOMPARE(left->currentText(), QString::fromUtf8("¼ Inch"));
        QCOMPARE(left->itemText(2), QString::fromUtf8("¾ Inch"));
    }

    void marginIndexThresholds_data()
    {
        QTest::addColumn<float>("inches");
        QTest::addColumn<int>("index");
        QTest::newRow("0") << 0.0f << 0;
        QTest::newRow("0.49") << 0.49f << 0;
        QTest::newRow("0.5") << 0.5f << 1;
        QTest::newRow("0.74") << 0.74f << 1;
        QTest::newRow("0.75") << 0.75f << 2;
        QTest::newRow("1") << 1.0f << 3;
        QTest::newRow("1.49") << 1.49f << 4;
        QTest::newRow("1.5") << 1.5f << 5;
        QTest::newRow("4") << 4.0f << 5;
    }
    void marginIndexThresholds()
    {
        QFETCH(float, inches);
        QFETCH(int, index);
        QCOMPARE(TCalendarProperties::marginIndex(inches), index);
    }

    void zoomLimits_data()
    {
        QTest::addColumn<float>("start");
        QTest::addColumn<bool>("zoomIn");
        QTest::addColumn<QStringList>("labels"); // after activation, then after each of three steps
        QTest::newRow("in from 95") << 0.95f << true << QStringList({"95%", "105%", "105%", "105%"});
        QTest::newRow("in from 80") << 0.801f << true << QStringList({"80%", "90%", "100%", "100%"});
        QTest::newRow("out from 40") << 0.401f << false << QStringList({"40%", "30%", "20%", "10%"});
        QTest::newRow("out from 30") << 0.3f << false << QStringList({"30%", "20%", "20%", "20%"});
    }
    void zoomLimits()
    {
        QFETCH(float, start);
        QFETCH(bool, zoomIn);
        QFETCH(QStringList, labels);
        Dialog t;
        t.page().SetZoom(start);
        t.open();
        auto* label = child<QLabel>(t.d, "ZoomLabel");
        auto* spin = child<TSpinButton>(t.d, "ZoomSpinner");
        QStringList seen{label->text()};
        for (int i = 0; i < 3; ++i) {
            (zoomIn ? spin->upButton() : spin->downButton())->click();
            seen << label->text();
        }
        QCOMPARE(seen, labels);
    }

    void germanNames()
    {
        Dialog t;
        t.open();
        button(t.d, "btnGerman")->click();
        QCOMPARE(t.page().GetDayName(6), QStringLiteral("Freitag "));
        QCOMPARE(t.page().GetDayName(1), QStringLiteral("Sonntag"));
        QCOMPARE(t.page().GetMonthName(3), QString::fromUtf8("März"));
        QCOMPARE(t.page().GetMonthName(12), QStringLiteral("Dezember"));
        const QStringList memo = child<QPlainTextEdit>(t.d, "DayNamesMemo")->toPlainText().split('\n');
        QCOMPARE(memo.value(5), QStringLiteral("Freitag "));
        button(t.d, "btnItalian")->click();
        QCOMPARE(t.page().GetDayName(2), QString::fromUtf8("Lunedì"));
        button(t.d, "btnEnglish")->click();
        QCOMPARE(t.page().GetMonthName(1), QStringLiteral("January"));
        QCOMPARE(t.page().GetDayName(7), QStringLiteral("Saturday"));
    }

    void memoLinesApplyOnLeaving()
    {
        Dialog t;
        t.open();
        button(t.d, "btnEnglish")->click();
        auto* months = child<QPlainTextEdit>(t.d, "MonthNamesMemo");
        months->setPlainText(QStringLiteral("Jan\nFeb\n")); // two lines; the rest keep their names
        QFocusEvent out(QEvent::FocusOut);
        QApplication::sendEvent(months, &out);
        QCOMPARE(t.page().GetMonthName(1), QStringLiteral("Jan"));
        QCOMPARE(t.page().GetMonthName(2), QStringLiteral("Feb"));
        QCOMPARE(t.page().GetMonthName(3), QStringLiteral("March"));
        // Typed and confirmed without leaving the memo still counts.
        auto* days = child<QPlainTextEdit>(t.d, "DayNamesMemo");
        days->selectAll();
        days->insertPlainText(QStringLiteral("Su\nMo\nTu\nWe\nTh\nFr\nSa\nExtra"));
        t.ok();
        QCOMPARE(t.page().GetDayName(1), QStringLiteral("Su"));
        QCOMPARE(t.page().GetDayName(7), QStringLiteral("Sa"));
    }

    void datePage()
    {
        Dialog t;
        TCalendarPanel32& p = t.page();
        p.SetCalendarLayout(TCalendarLayout::loFullCalendar);
        p.SetMainCalYear(2024);
        p.SetMainCalMonth(2);
        p.SetMainCalDay(29);
        t.open();
        auto* cal = child<QCalendarWidget>(t.d, "MonthCalendar");
        QCOMPARE(cal->selectedDate(), QDate(2024, 2, 29));
        button(t.d, "btnNextYear")->click();
        QCOMPARE(cal->selectedDate(), QDate(2025, 2, 28));
        QCOMPARE(std::tuple(t.s().MainCalYear, t.s().MainCalMonth, t.s().MainCalDay), std::tuple(2025, 2, 28));
        button(t.d, "btnPrevMonth")->click();
        button(t.d, "btnPrevMonth")->click();
        QCOMPARE(std::tuple(t.s().MainCalYear, t.s().MainCalMonth), std::tuple(2024, 12));
        button(t.d, "btnNextMonth")->click();
        button(t.d, "btnPrevYear")->click();
        QCOMPARE(std::tuple(t.s().MainCalYear, t.s().MainCalMonth, t.s().MainCalDay), std::tuple(2024, 1, 28));
        auto* label = child<QLabel>(t.d, "DateLabel");
        QCOMPARE(label->text(), QLocale().toString(QDate(2024, 1, 28), QStringLiteral("MMMM yyyy")));
        button(t.d, "btnNow")->click();
        QCOMPARE(t.s().MainCalDay, QDate::currentDate().day());

        child<QRadioButton>(t.d, "rbWeekStart1")->click();
        QCOMPARE(t.s().StartOfWeek, 2);
        child<QCheckBox>(t.d, "cbShowYearInTitle")->click();
        QVERIFY(!t.s().TitleShowYear);

        // Planners show the whole date.
        t.chooseLayoutRow(9);
        cal->setSelectedDate(QDate(2025, 3, 9));
        QCOMPARE(label->text(), QLocale().toString(QDate(2025, 3, 9), QLocale::LongFormat));
        QCOMPARE(t.s().MainCalDay, 9);

    }

    void fontAndColorButtons()
    {
        ScopedScriptedPrompter sp;
        QFont chosen(QStringLiteral("Liberation Mono"), 18);
        chosen.setItalic(true);
        sp->fontAnswers = {chosen, std::nullopt};
        Dialog t;
        t.page().SetCalendarLayout(TCalendarLayout::loFCMinisInTitleLS);
        TCalFont old = t.s().MiniHeadersFont;
        t.open();
        button(t.d, "MiniHeaderFontButton")->click();
        const TCalFont& f = t.s().MiniHeadersFont;
        QCOMPARE(f.name, QStringLiteral("Liberation Mono"));
        QCOMPARE(f.size, 18);
        QVERIFY(f.italic);
        QCOMPARE(f.color, old.color); // the font dialog leaves the colour alone
        button(t.d, "MiniHeaderFontButton")->click(); // cancelled
        QCOMPARE(t.s().MiniHeadersFont.name, QStringLiteral("Liberation Mono"));
        child<TColorButton>(t.d, "MiniHeaderFontColorButton")->pickColor(clRed);
        QCOMPARE(t.s().MiniHeadersFont.color, clRed);
        child<TColorButton>(t.d, "MiniHeaderColorButton")->pickColor(clGreen);
        QCOMPARE(t.s().MiniHeadersBGColor, clGreen);
        QCOMPARE(sp->texts(QStringLiteral("font")).size(), 2);
    }

    void fontButtonsKeepTheStoredFamily_data()
    {
        QTest::addColumn<QString>("buttonName");
        QTest::newRow("title") << "TitleFontButton";
        QTest::newRow("headers") << "HeaderFontButton";
        QTest::newRow("number cells") << "CellFontButton";
        QTest::newRow("mini title") << "MiniTitleFontButton";
        QTest::newRow("mini headers") << "MiniHeaderFontButton";
        QTest::newRow("mini number cells") << "MiniCellFontButton";
    }
    void fontButtonsKeepTheStoredFamily()
    {
        QFETCH(QString, buttonName);
        ScopedScriptedPrompter sp;
        Dialog t;
        t.page().SetCalendarLayout(TCalendarLayout::loFCMinisInTitleLS);
        auto fontOf = [&] {
            const TCalendarSettings& s = t.s();
            const std::map<QString, TCalFont> fonts = {
                {"TitleFontButton", s.TitleFont},         {"HeaderFontButton", s.HeadersFont},
                {"CellFontButton", s.CellFont},           {"MiniTitleFontButton", s.MiniTitleFont},
                {"MiniHeaderFontButton", s.MiniHeadersFont}, {"MiniCellFontButton", s.MiniCellFont}};
            return fonts.at(buttonName);
        };
        t.open();
        const TCalFont before = fontOf();
        QCOMPARE(before.name, QStringLiteral("Times New Roman"));
        // Accepted as it opened: on the face that draws the font here, same size and style.
        QFont asOpened(QStringLiteral("Liberation Serif"), before.size);
        asOpened.setBold(before.bold);
        sp->fontAnswers = {asOpened};
        button(t.d, qPrintable(buttonName))->click();
        QCOMPARE(sp->records.back().caption, QStringLiteral("Times New Roman"));
        QVERIFY(sp->fontsShown.back().bold() == before.bold);
        QCOMPARE(fontOf(), before);
    }

    void setTimeDialogCaptionAndSelection()
    {
        TSetTimeDialog dlg;
        dlg.SetTime(QTime(8, 0));
        dlg.show();
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Set Time As: 08:00 am"));
        QCOMPARE(dlg.hourButton(8)->text(), QStringLiteral("8"));
        QCOMPARE(dlg.hourButton(12)->text(), QStringLiteral("12"));
        QCOMPARE(dlg.hourButton(0)->text(), QStringLiteral("12"));
        QCOMPARE(dlg.minuteButton(7)->text(), QStringLiteral("07"));
        const QColor yellow(255, 255, 0), silver(192, 192, 192);
        auto color = [](QPushButton* b) { return b->palette().color(QPalette::Button); };
        QCOMPARE(color(dlg.hourButton(8)), yellow);
        QCOMPARE(color(dlg.minuteButton(0)), yellow);

        dlg.hourButton(13)->click();
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Set Time As: 01:00 pm"));
        QCOMPARE(color(dlg.hourButton(13)), yellow);
        QVERIFY(color(dlg.hourButton(8)) != yellow);
        dlg.minuteButton(5)->click();
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Set Time As: 01:05 pm"));
        QCOMPARE(color(dlg.minuteButton(0)), silver); // silver buttons stay silver
        QCOMPARE(color(dlg.minuteButton(5)), yellow);
        dlg.hourButton(0)->click();
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Set Time As: 12:05 am"));
        dlg.hourButton(12)->click();
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Set Time As: 12:05 pm"));
        dlg.okButton()->click();
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(dlg.Time(), QTime(12, 5));
    }

    void startingTimeThroughDialog()
    {
        Dialog t;
        t.page().SetCalendarLayout(TCalendarLayout::loDay10);
        t.open();
        auto* label = child<QLabel>(t.d, "TimeLabel");
        QVERIFY(label->text().contains(QStringLiteral("8:00")));
        QVERIFY(!label->text().contains(QStringLiteral("8:00:00")));
        QString shownTitle;
        {
            const auto picker = ovtest::onModal<TSetTimeDialog>([&](TSetTimeDialog* dlg) {
                shownTitle = dlg->windowTitle();
                dlg->hourButton(21)->click();
                dlg->minuteButton(45)->click();
                dlg->okButton()->click();
            });
            button(t.d, "StartingTimeButton")->click();
        }
        QCOMPARE(shownTitle, QStringLiteral("Set Time As: 08:00 am"));
        QCOMPARE(t.s().StartingTime, QTime(21, 45));
        QVERIFY(label->text().contains(QStringLiteral(":45")));

        // A label that does not read as a time starts the picker at the current time.
        label->setText(QStringLiteral("soon"));
        {
            const auto picker =
                ovtest::onModal<TSetTimeDialog>([](TSetTimeDialog* dlg) { dlg->cancelButton()->click(); });
            button(t.d, "StartingTimeButton")->click();
        }
        QVERIFY(label->text() != QStringLiteral("soon"));
        QCOMPARE(t.s().StartingTime, QTime(21, 45));

        // Cancel changes nothing.
        {
            const auto picker = ovtest::onModal<TSetTimeDialog>([](TSetTimeDialog* dlg) {
                dlg->hourButton(3)->click();
                dlg->cancelButton()->click();
            });
            button(t.d, "StartingTimeButton")->click();
        }
        QCOMPARE(t.s().StartingTime, QTime(21, 45));
    }

    void defaultStyle()
    {
        Dialog t;
        TCalendarPanel32& p = t.page();
        p.SetPaperSize(1);
        p.SetCalendarLayout(TCalendarLayout::loWeek);
        p.SetLeftMarginInch(1.5f);
        p.SetTitleBGColor(clRed);
        p.SetMiniCalendarLineLayout(TMiniCalendarLineLayout::mllFull);
        t.open();
        button(t.d, "btnDefault")->click();
        QCOMPARE(t.s().CalendarLayout, TCalendarLayout::loFCMinisInTitleLS);
        QCOMPARE(t.s().PaperSize, quint8(0));
        QCOMPARE(t.s().LeftMarginInch, 0.5f);
        QCOMPARE(t.s().TitleBGColor, clWhite);
        QCOMPARE(t.s().MiniCalendarLineLayout, TMiniCalendarLineLayout::mllBoxed);
        QCOMPARE(t.s().MainCalMonth, QDate::currentDate().month());
        QCOMPARE(child<QListWidget>(t.d, "LayoutList")->currentRow(), 1);
        QVERIFY(child<QRadioButton>(t.d, "rbLandscape")->isChecked());
        QVERIFY(child<QRadioButton>(t.d, "rbLetter")->isChecked());
        QVERIFY(child<QRadioButton>(t.d, "rbMiniLine1")->isChecked());
        QCOMPARE(child<QComboBox>(t.d, "LeftMarginList")->currentText(), QString::fromUtf8("½ Inch"));
        QCOMPARE(child<TColorButton>(t.d, "TitleColorButton")->color(), clWhite);
        QVERIFY(child<QGroupBox>(t.d, "OrientationGroup")->isEnabled());
        QCOMPARE(child<QLabel>(t.d, "DateCaption")->text(), QStringLiteral("Select Month & Year"));
    }

    void cancelAndHelp()
    {
        Dialog t;
        t.open();
        QList<int> contexts;
        const HelpHandler previous = setHelpHandler([&](int c) { contexts << c; });
        auto* tabs = child<QTabWidget>(t.d, "PageTabs");
        for (int page : {0, 3, 8, 9}) {
            tabs->setCurrentIndex(page);
            button(t.d, "btnHelp")->click();
        }
        setHelpHandler(previous);
        QCOMPARE(contexts, QList<int>({2100, 2103, 2108, 3109}));
        button(t.d, "btnCancel")->click();
        QCOMPARE(t.d.result(), int(QDialog::Rejected));
    }

    void borderList()
    {
        BorderFolder folder({"Gamma.wls", "Gamma.wpo", "alpha.wls", "Beta.wls", "Beta.wpo", "Note.txt"});
        Dialog t;
        t.page().SetCalendarLayout(TCalendarLayout::loFCMinisInTitleLS);
        t.page().rawSettings().WMFBorderFile = QStringLiteral("BETA"); // as a file may spell it
        t.open();
        auto* list = child<QListWidget>(t.d, "BorderList");
        QVERIFY(list->isEnabled());
        QCOMPARE(items(list), QStringList({" [No Special Border]", "alpha", "Beta", "Gamma"}));
        QCOMPARE(list->currentRow(), 2);
        list->setCurrentRow(3);
        QCOMPARE(t.s().WMFBorderFile, QStringLiteral("Gamma"));
        list->setCurrentRow(0);
        QCOMPARE(t.s().WMFBorderFile, QString());
        // Portrait layout, landscape-only border: the setter keeps the old state.
        child<QRadioButton>(t.d, "rbPortrait")->click();
        list->setCurrentRow(1);
        QCOMPARE(t.s().WMFBorderFile, QString());
    }

    void borderListWithoutFolder()
    {
        QTemporaryDir dir;
        setProgramFolderOverride(dir.path() + QLatin1Char('/'));
        Dialog t;
        t.open();
        auto* list = child<QListWidget>(t.d, "BorderList");
        QVERIFY(!list->isEnabled());
        QCOMPARE(list->count(), 0);
        setProgramFolderOverride(QString());
    }

    void borderChangesAndObjectsWarning_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("warns");
        QTest::newRow("one border for another") << "Beta" << 2 << false;
        QTest::newRow("border added") << "" << 1 << true;
        QTest::newRow("border removed") << "Beta" << 0 << true;
    }
    void borderChangesAndObjectsWarning()
    {
        QFETCH(QString, start);
        QFETCH(int, row);
        QFETCH(bool, warns);
        BorderFolder folder({"Alpha.wls", "Beta.wls", "Gamma.wls"});
        ScopedScriptedPrompter sp;
        Dialog t;
        t.page().SetCalendarLayout(TCalendarLayout::loFCMinisInTitleLS);
        t.page().SetWMFBorderFile(start);
        QCOMPARE(t.s().WMFBorderFile, start);
        t.d.setCurrentDocumentInfo(0, false, true);
        t.open();
        child<QListWidget>(t.d, "BorderList")->setCurrentRow(row);
        t.ok();
        QCOMPARE(sp->texts(QStringLiteral("yesno")).size(), warns ? 1 : 0);
        QCOMPARE(t.d.isVisible(), warns);
    }
};
OV_TEST(TestPropertiesDialog)
#include "test_properties_dialog.moc"
