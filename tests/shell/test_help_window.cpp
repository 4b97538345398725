#include "calendar/properties_dialog.h"
#include "calendar/set_time_dialog.h"
#include "help_test_support.h"
#include "main_window_fixture.h"
#include "objects/label_text_dialog.h"
#include "platform/help_contexts.h"
#include "platform/ini_file.h"
#include "recurring/edit_recurring_date_formula.h"
#include "recurring/edit_recurring_dates.h"
#include "recurring/get_holidays.h"
#include "recurring/select_recurring_dates.h"
#include "shell/configuration_info.h"
#include "shell/help_viewer.h"
#include "shell/help_window.h"
#include "shell/splash_form.h"
#include "shell/user_title_form.h"
#include "shell/web_link.h"
#include "test_registry.h"
#include "../recurring/modal_helper.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTabWidget>
#include <QPushButton>
#include <QTextBrowser>
#include <QToolButton>
#include <QWhatsThis>

namespace {
struct UrlRecorder {
    QList<QUrl> urls;
    UrlOpener previous;
    UrlRecorder()
    {
        previous = setUrlOpener([this](const QUrl& u) {
            urls << u;
            return true;
        });
    }
    ~UrlRecorder() { setUrlOpener(std::move(previous)); }
};

// A main window whose help comes from the source tree's book.
struct HelpFixture {
    SourceHelpBook book;
    MainWindowFixture f;
    HelpWindow* window() const { return f.main->Help->window(); }
};

// One of each dialog that exists today, with the help context it should ask for.
struct BuiltDialogs {
    TSetTimeDialog setTime;
    TUserTitleForm title;
    TEditRecurringDates dates;
    TEditRecurringDateFormula formula;
    TGetHolidays holidays;
    TSelectRecurringDates select;
    TConfigurationInfo report;
    TSplashform about{QStringLiteral("3.2g")};
    TGetLabelText labelText{QStringLiteral("Text")};
    QList<QPair<QWidget*, int>> all()
    {
        using namespace HelpContexts;
        return {{&labelText, LabelText}, {&setTime, SetTime}, {&title, UserDefinedTitle}, {&dates, RecurringDates},
                {&formula, RecurringDateFormula}, {&holidays, Holidays}, {&select, SelectRecurringDates},
                {&report, ConfigurationInformation}, {&about, About}};
    }
};

// F1 as the user presses it: in the active window (shortcuts act there only).
void pressF1(QWidget* window)
{
    QApplication::setActiveWindow(window);
    QTRY_VERIFY(window->isActiveWindow());
    QTest::keyClick(window, Qt::Key_F1);
}

bool whatsThisPopupShown()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && QByteArray(w->metaObject()->className()) == "QWhatsThat")
            return true;
    return false;
}
} // namespace

class TestHelpWindow : public QObject {
    Q_OBJECT
private slots:
    void helpMenuOpensContentsSupportAndQuestions()
    {
        HelpFixture h;
        QVERIFY(h.f.main->Contents1->isEnabled());
        QVERIFY(h.f.main->mnuTechSupport->isEnabled());
        QVERIFY(h.f.main->mnuFAQ->isEnabled());
        QVERIFY(h.f.main->mnuConfigInfo->isEnabled());
        h.f.main->Contents1->trigger();
        QVERIFY(h.window() && h.window()->isVisible());
        QCOMPARE(h.window()->currentPage(), QStringLiteral("contents.html"));
        QCOMPARE(h.window()->windowModality(), Qt::NonModal);
        QVERIFY(h.window()->contentsList()->count() >= 60);
        h.f.main->mnuTechSupport->trigger();
        QCOMPARE(h.window()->currentPage(), QStringLiteral("technical_support.html"));
        QCOMPARE(h.window()->windowTitle(), QStringLiteral("Orvanta Help - Technical Support"));
        h.f.main->mnuFAQ->trigger();
        QCOMPARE(h.window()->currentPage(), QStringLiteral("faq.html"));
        QCOMPARE(h.window()->contentsList()->currentItem()->data(Qt::UserRole).toString(), QStringLiteral("faq.html"));
    }

    void f1AndHelpInADialogOpenThePageOnTopOfIt()
    {
        HelpFixture h;
        QString shown;
        Qt::WindowModality modality = Qt::NonModal;
        bool seen = false;
        ovtest::onModal<TCalendarProperties>(
            [&](TCalendarProperties* d) {
                d->findChild<QTabWidget*>(QStringLiteral("PageTabs"))->setCurrentIndex(8);
                pressF1(d);
                QVERIFY(h.window());
                shown = h.window()->currentPage();
                modality = h.window()->windowModality();
                h.window()->close();
                d->findChild<QTabWidget*>(QStringLiteral("PageTabs"))->setCurrentIndex(9);
                d->findChild<QPushButton*>(QStringLiteral("btnHelp"))->click();
                QCOMPARE(h.window()->currentPage(), QStringLiteral("properties_borders.html"));
                h.window()->close();
                d->reject();
            },
            &seen);
        h.f.main->mnuPropertiesClick();
        QVERIFY(seen);
        QCOMPARE(shown, QStringLiteral("properties_margins.html"));
        // Readable while the dialog runs: the help window is modal over it.
        QCOMPARE(modality, Qt::ApplicationModal);
        h.f.main->Contents1->trigger();
        QCOMPARE(h.window()->windowModality(), Qt::NonModal);
    }

    void linksBackForwardAndTheWeb()
    {
        SourceHelpBook book;
        UrlRecorder web;
        HelpWindow w(SourceHelpBook::folder());
        w.showPage(QStringLiteral("contents.html"));
        QVERIFY(!w.findChild<QToolButton*>(QStringLiteral("BackButton"))->isEnabled());
        emit w.browser()->anchorClicked(QUrl(QStringLiteral("faq.html")));
        QCOMPARE(w.currentPage(), QStringLiteral("faq.html"));
        emit w.browser()->anchorClicked(QUrl(QStringLiteral("style_sheets.html")));
        QCOMPARE(w.currentPage(), QStringLiteral("style_sheets.html"));
        w.findChild<QToolButton*>(QStringLiteral("BackButton"))->click();
        QCOMPARE(w.currentPage(), QStringLiteral("faq.html"));
        w.findChild<QToolButton*>(QStringLiteral("ForwardButton"))->click();
        QCOMPARE(w.currentPage(), QStringLiteral("style_sheets.html"));
        w.findChild<QToolButton*>(QStringLiteral("ContentsButton"))->click();
        QCOMPARE(w.currentPage(), QStringLiteral("contents.html"));
        // Outside addresses go to the browser; the help stays where it was.
        emit w.browser()->anchorClicked(QUrl(QStringLiteral("https://orvanta.example.org/")));
        QCOMPARE(web.urls, QList<QUrl>{QUrl(QStringLiteral("https://orvanta.example.org/"))});
        QCOMPARE(w.currentPage(), QStringLiteral("contents.html"));
        // A page that is missing falls back to the contents rather than a blank window.
        w.showPage(QStringLiteral("no_such_page.html"));
        QCOMPARE(w.currentPage(), QStringLiteral("contents.html"));
        // Without its help folder the window says so.
        HelpWindow missing(QStringLiteral("/nonexistent/help/"));
        missing.showPage(QStringLiteral("faq.html"));
        QVERIFY(missing.browser()->toPlainText().contains(QStringLiteral("Help not found")));
        QVERIFY(missing.browser()->toPlainText().contains(QStringLiteral("/nonexistent/help/")));
    }

    void searchTabListsAndOpensMatches()
    {
        SourceHelpBook book;
        HelpWindow w(SourceHelpBook::folder());
        w.showPage(QStringLiteral("contents.html"));
        auto* field = w.findChild<QLineEdit*>(QStringLiteral("SearchText"));
        field->setText(QStringLiteral("margins printer"));
        QTest::keyClick(field, Qt::Key_Return);
        QListWidget* results = w.searchResults();
        QVERIFY(results->count() > 0);
        QVERIFY(results->isVisible() || !w.isVisible());
        QListWidgetItem* first = results->item(0);
        emit results->itemClicked(first);
        QCOMPARE(w.currentPage(), first->data(Qt::UserRole).toString());
        w.search(QStringLiteral("qwertyuiop"));
        QCOMPARE(results->count(), 1);
        QVERIFY(!(results->item(0)->flags() & Qt::ItemIsEnabled)); // the "nothing found" line
    }

    void whatsThisTextsReachTheDialogsControls()
    {
        SourceHelpBook book;
        IniFile texts;
        QVERIFY(texts.load(SourceHelpBook::folder() + QStringLiteral("whatsthis.ini")));
        // The windows that exist today; each key of their sections must name a control.
        TCalendarProperties properties(nullptr, 96);
        BuiltDialogs dialogs;
        MainWindowFixture f(false);
        QList<QWidget*> windows = {&properties, f.main.get()};
        for (const auto& [dialog, context] : dialogs.all())
            if (dialog != &dialogs.about) // the about box explains nothing
                windows << dialog;
        for (QWidget* window : windows) {
            const QString section = QString::fromLatin1(window->metaObject()->className());
            QVERIFY2(texts.sectionExists(section), qPrintable(section));
            for (const QString& key : texts.keys(section)) {
                auto* control = window->findChild<QWidget*>(key);
                QVERIFY2(control, qPrintable(section + QLatin1Char('/') + key));
                QCOMPARE(control->whatsThis(), texts.readString(section, key));
            }
        }
    }

    void whatsThisMenuShowsTheText()
    {
        SourceHelpBook book;
        TUserTitleForm form;
        form.show();
        auto* edit = form.findChild<QLineEdit*>(QStringLiteral("TitleText"));
        QVERIFY(!edit->whatsThis().isEmpty());
        std::unique_ptr<QMenu> menu(createWhatsThisMenu(edit));
        QVERIFY(menu);
        const QList<QAction*> actions = menu->actions();
        QCOMPARE(actions.first()->text(), QStringLiteral("What's this?"));
        QVERIFY(actions.size() > 3); // the edit field keeps its own items (copy, paste, ...)
        actions.first()->trigger();
        QTRY_VERIFY(whatsThisPopupShown());
        QVERIFY(!createWhatsThisMenu(form.findChild<QPushButton*>(QStringLiteral("CancelButton"))));
        // The help-pointer button puts the application into "click a control" mode.
        std::unique_ptr<QToolButton> pointer(createWhatsThisButton(nullptr));
        pointer->click();
        QVERIFY(QWhatsThis::inWhatsThisMode());
        QWhatsThis::leaveWhatsThisMode();
    }

    void f1InEveryDialogAsksForItsTopic()
    {
        HelpRecorder help;
        BuiltDialogs dialogs;
        for (const auto& [dialog, context] : dialogs.all()) {
            dialog->show();
            QVERIFY(QTest::qWaitForWindowExposed(dialog));
            pressF1(dialog);
            dialog->hide();
            QCOMPARE(help.contexts.value(help.contexts.size() - 1), context);
        }
        QCOMPARE(help.contexts.size(), dialogs.all().size());
    }

    void websiteFromTheMenuAndTheAboutBox()
    {
        MainWindowFixture f(false);
        UrlRecorder web;
        f.main->mnuWebsite->trigger();
        TSplashform about(QStringLiteral("3.2g"));
        auto* link = about.findChild<QLabel*>(QStringLiteral("WebsiteLink"));
        QVERIFY(link->text().contains(ProductWebsite()));
        emit link->linkActivated(ProductWebsite());
        QCOMPARE(web.urls, QList<QUrl>({QUrl(ProductWebsite()), QUrl(ProductWebsite())}));
    }
};

OV_TEST(TestHelpWindow)
#include "test_help_window.moc"
