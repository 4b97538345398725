#include "help_test_support.h"
#include "platform/help_contexts.h"
#include "shell/help_book.h"
#include "test_registry.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

namespace {
QString readPage(const QString& file)
{
    QFile f(SourceHelpBook::folder() + file);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QStringList hrefs(const QString& html)
{
    static const QRegularExpression href(QStringLiteral("href=\"([^\"]*)\""));
    QStringList out;
    for (auto it = href.globalMatch(html); it.hasNext();)
        out << it.next().captured(1);
    return out;
}
} // namespace

// The book as shipped: every number the program can ask for lands on a real page, and
// no page leads nowhere.
class TestHelpBook : public QObject {
    Q_OBJECT
private slots:
    void everyContextOfTheProgramHasItsOwnPage()
    {
        using namespace HelpContexts;
        // The numbers dialogs pass; each must be mapped, and not to the contents page.
        const QList<int> used = {FrequentlyAskedQuestions, TechnicalSupport, PropertiesLayout, PropertiesDate,
                                 PropertiesFontsColors, PropertiesMiniFontsColors, PropertiesHeaders, PropertiesLines,
                                 PropertiesPlanners, PropertiesLanguage, PropertiesMargins, PropertiesBorders,
                                 LoadImageFile, LabelText, Text3DEffects, LoadTextureImage, RichTextEditor,
                                 SuperTextProperties, FloatingCalendarProperties, MainWindow, UserDefinedTitle,
                                 RecurringDates, RecurringDateFormula, Holidays, SelectRecurringDates, SetTime,
                                 ConfigurationInformation, About, QuickTips, SymbolSelector, IconTool, StyleSheets};
        QSet<QString> pages;
        for (int context : used) {
            const QString page = HelpPageForContext(context);
            QVERIFY2(page != HelpContentsPage, qPrintable(QString::number(context)));
            QVERIFY2(QFile::exists(SourceHelpBook::folder() + page), qPrintable(page));
            pages.insert(page);
        }
        QCOMPARE(pages.size(), used.size()); // no two topics share a page
        QCOMPARE(HelpContextPages().size(), used.size() + 1); // and the contents
        QCOMPARE(HelpPageForContext(2100), QStringLiteral("properties_layout.html"));
        QCOMPARE(HelpPageForContext(3109), QStringLiteral("properties_borders.html"));
        QCOMPARE(HelpPageForContext(911), QStringLiteral("faq.html"));
        QCOMPARE(HelpPageForContext(1015), QStringLiteral("technical_support.html"));
        QCOMPARE(HelpPageForContext(12345), HelpContentsPage); // unknown: the contents
        QCOMPARE(HelpPageForContext(Contents), HelpContentsPage);
    }

    void everyLinkLeadsToAPageAndEveryPageIsInTheContents()
    {
        const HelpBook book(SourceHelpBook::folder());
        const QStringList files = book.pageFiles();
        QVERIFY(files.size() >= 60);
        for (const QString& file : files) {
            const QString html = readPage(file);
            QVERIFY2(html.contains(QStringLiteral("<title>")), qPrintable(file));
            QVERIFY2(!book.title(file).isEmpty() && book.title(file) != file, qPrintable(file));
            for (const QString& link : hrefs(html)) {
                if (link.startsWith(QLatin1String("https://")) || link.startsWith(QLatin1String("mailto:")))
                    continue;
                if (link == QLatin1String("help.css"))
                    continue;
                QVERIFY2(!link.contains(QLatin1Char('#')) && !link.contains(QLatin1Char(':')),
                         qPrintable(file + QStringLiteral(": ") + link));
                QVERIFY2(files.contains(link), qPrintable(file + QStringLiteral(" links to missing ") + link));
            }
        }
        QStringList listed;
        for (const HelpPage& p : book.contents())
            listed << p.file;
        for (const QString& file : files)
            if (file != HelpContentsPage)
                QVERIFY2(listed.contains(file), qPrintable(file + QStringLiteral(" is not in the contents")));
        QCOMPARE(book.contents().first().title, book.title(book.contents().first().file));
    }

    void searchFindsPagesHoldingEveryWord()
    {
        const HelpBook book(SourceHelpBook::folder());
        const QList<HelpPage> style = book.search(QStringLiteral("Style SHEET"));
        QVERIFY(!style.isEmpty());
        QCOMPARE(style.first().file, QStringLiteral("style_sheets.html")); // the title counts most
        for (const HelpPage& p : book.search(QStringLiteral("easter thanksgiving")))
            QVERIFY2(p.file == QStringLiteral("holidays_dialog.html"), qPrintable(p.file));
        QVERIFY(book.search(QStringLiteral("style xyzzy")).isEmpty());
        QVERIFY(book.search(QStringLiteral("   ")).isEmpty());
    }

    void whatsThisTextsNameRealControls()
    {
        // Every text of a window that exists is attached to one of its controls; a
        // misspelt name would leave its text unseen.
        SourceHelpBook book;
        QVERIFY(!whatsThisText(QStringLiteral("TCalendarProperties"), QStringLiteral("LayoutList")).isEmpty());
        QVERIFY(whatsThisText(QStringLiteral("TCalendarProperties"), QStringLiteral("NoSuchControl")).isEmpty());
        QVERIFY(whatsThisText(QStringLiteral("TCalendarProperties"), QString()).isEmpty());
    }
};

OV_TEST(TestHelpBook)
#include "test_help_book.moc"
