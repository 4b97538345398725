// Pictures and PDFs of the page: names, the crop rule, formats, messages, and that the
// document and the disk are left as they should be.
#include "main_window_fixture.h"
#include "private_cups.h"
#include "objects/p_label.h"
#include "platform/zoom_scale.h"
#include "recurring/recurring_formula.h"
#include "recurring/recurring_store.h"
#include "shell/pdf_export_form.h"
#include "test_registry.h"

#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QToolButton>

namespace {
QString savedMessage(const QString& path, int percent)
{
    return QStringLiteral("Saved as ") + path + QStringLiteral("\nNote: the calendar has been saved at its\n"
                                                               "current magnification level of ")
        + QString::number(percent) + QLatin1Char('%');
}

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

// Answers the PDF form: twelve months or one, filled or not.
std::function<int(QDialog&)> pdfForm(int months, bool fill)
{
    return [months, fill](QDialog& dialog) {
        auto* form = qobject_cast<TPdfExportForm*>(&dialog);
        if (!form)
            return int(QDialog::Rejected);
        (months == 12 ? form->TwelveMonths : form->ThisMonth)->setChecked(true);
        form->FillRecurring->setChecked(fill);
        return int(QDialog::Accepted);
    };
}
} // namespace

class PrintExportTest : public QObject {
    Q_OBJECT
private slots:
    void proposedNamesAndMessages()
    {
        MainWindowFixture f;
        f.page().SetMainCalYear(1999);
        f.page().SetMainCalMonth(3);
        const QString bmp = f.path(QStringLiteral("march"));
        f.prompts->fileAnswers = {bmp};
        f.main->mnuSaveAsBitmapClick();
        QCOMPARE(f.prompts->records.front().kind, QStringLiteral("save"));
        QCOMPARE(f.prompts->records.front().text, QStringLiteral("Save Calendar As Bitmap"));
        QCOMPARE(f.prompts->records.front().caption, QStringLiteral("Mar1999.BMP"));
        // A name typed without an extension gets the format's.
        QCOMPARE(f.prompts->texts(QStringLiteral("information")), QStringList{savedMessage(bmp + ".BMP", 60)});
        QCOMPARE(QImageReader(bmp + ".BMP").format(), QByteArray("bmp"));

        f.main->CalendarFileName = f.path(QStringLiteral("Home.OVF"));
        f.prompts->clear();
        f.main->mnuSaveAsJPGClick(); // cancelled
        QCOMPARE(f.prompts->records.front().caption, QStringLiteral("Home.JPG"));
        QCOMPARE(f.prompts->records.size(), size_t(1));
        f.prompts->clear();
        f.main->mnuSaveAsPNGClick();
        QCOMPARE(f.prompts->records.front().caption, QStringLiteral("Home.PNG"));
    }

    void pictureFollowsTheZoomAndLosesTheMargins()
    {
        MainWindowFixture f;
        for (auto set : {&TCalendarPage::SetLeftMarginInch, &TCalendarPage::SetTopMarginInch,
                         &TCalendarPage::SetRightMarginInch, &TCalendarPage::SetBottomMarginInch})
            (f.page().*set)(0.5f);
        f.page().SetZoom(1.0f);
        const QString full = f.path(QStringLiteral("full.png"));
        QVERIFY(f.main->SaveCalendarToBitmap(full, TCalendarMain::TPictureFormat::Png));
        const QImage page = f.page().DrawToImage();
        const QImage fullImage(full);
        // 48 pixels off each side at 96 ppi, then one pixel narrower and lower.
        QCOMPARE(fullImage.size(), QSize(page.width() - 96 - 1, page.height() - 96 - 1));
        QCOMPARE(fullImage.pixel(10, 10), page.pixel(58, 58));

        // Placed objects are in the picture, at the picture's zoom.
        auto* label = new TGPLabel(&f.page());
        label->setGeometry(300, 300, 100, 40);
        label->SetTransparent(false);
        label->SetBackColor(0x00FF00);
        label->AfterLoad();
        QVERIFY(f.main->SaveCalendarToBitmap(full, TCalendarMain::TPictureFormat::Png));
        QCOMPARE(QColor(QImage(full).pixel(300 - 48 + 5, 300 - 48 + 5)), QColor(0, 255, 0));

        f.page().SetZoom(0.6f);
        const QString small = f.path(QStringLiteral("small.jpg"));
        QVERIFY(f.main->SaveCalendarToBitmap(small, TCalendarMain::TPictureFormat::Jpeg));
        const QImage smallImage(small);
        QVERIFY(!smallImage.isNull());
        QVERIFY(std::abs(smallImage.width() - int(fullImage.width() * 0.6)) <= 2);
        QVERIFY(std::abs(smallImage.height() - int(fullImage.height() * 0.6)) <= 2);
    }

    void exportLeavesTheDocumentAndTheDiskAlone()
    {
        MainWindowFixture f;
        f.main->SetModified(true);
        const QString out = f.path(QStringLiteral("out.PNG"));
        f.prompts->fileAnswers = {out};
        f.main->mnuSaveAsPNGClick();
        QVERIFY(QImageReader(out).canRead());
        // An export is no save: the changes still wait to be saved.
        QVERIFY(f.main->Modified);
        QVERIFY(f.main->Savebutton->isVisibleTo(f.main.get()));
        QCOMPARE(filesIn(f.dir.path()).filter(QStringLiteral("out")), QStringList{QStringLiteral("out.PNG")});
    }

    void failedExportIsNoSuccessAndKeepsTheOldFile()
    {
        MainWindowFixture f;
        // A folder where the file should go: nothing can be written there.
        const QString blocked = f.path(QStringLiteral("blocked.BMP"));
        QDir().mkpath(blocked);
        f.prompts->fileAnswers = {blocked};
        f.main->mnuSaveAsBitmapClick();
        QCOMPARE(f.prompts->texts(QStringLiteral("information")),
                 QStringList{QStringLiteral("Unable to save ") + blocked
                             + QStringLiteral("\nPossible reasons include:\n -Not enough available memory\n"
                                              " -Not enough disk space\n -Invalid file name")});
        // An older file at the path is not this export's success, and stays as it was.
        const QString old = f.path(QStringLiteral("old.PNG"));
        QFile file(old);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("older picture");
        file.close();
        f.page().resize(0, 0); // nothing to draw
        QVERIFY(!f.main->SaveCalendarToBitmap(old, TCalendarMain::TPictureFormat::Png));
        QFile again(old);
        QVERIFY(again.open(QIODevice::ReadOnly));
        QCOMPARE(again.readAll(), QByteArray("older picture"));
        QCOMPARE(filesIn(f.dir.path()).filter(QStringLiteral("old")), QStringList{QStringLiteral("old.PNG")});
    }

    void pdfOfThisMonthIsVectorText()
    {
        MainWindowFixture f;
        f.page().SetCalendarLayout(TCalendarLayout(2)); // portrait Letter
        f.main->SetModified(true);
        const QString pdf = f.path(QStringLiteral("dec.pdf"));
        f.prompts->fileAnswers = {pdf};
        f.prompts->dialogAnswers = {pdfForm(1, false)};
        f.main->mnuSaveAsPDFClick();
        QCOMPARE(f.prompts->texts(QStringLiteral("dialog")), QStringList{QStringLiteral("Save As PDF File")});
        QCOMPARE(f.prompts->records[1].caption, QStringLiteral("Dec1997.PDF"));
        QCOMPARE(f.prompts->texts(QStringLiteral("information")), QStringList{QStringLiteral("Saved as ") + pdf});
        QCOMPARE(ovtest::pdfPageCount(pdf), 1);
        QCOMPARE(ovtest::pdfPageSize(pdf), QSizeF(612, 792));
        QVERIFY(ovtest::pdfText(pdf).contains(QStringLiteral("December 1997")));
        const QStringList fonts = ovtest::pdfFonts(pdf);
        QVERIFY(!fonts.isEmpty());
        for (const QString& font : fonts)
            QVERIFY2(font.simplified().split(QLatin1Char(' ')).at(4) == QLatin1String("yes"), qPrintable(font));
        QVERIFY(f.main->Modified);
        QCOMPARE(f.page().Zoom(), PercentToZoomScale(60));
        QVERIFY(!f.page().Printing);
    }

    void twelveMonthsFilledFromTheRecurringDates()
    {
        MainWindowFixture f;
        f.page().SetCalendarLayout(TCalendarLayout(1)); // landscape full month
        auto* label = new TGPLabel(&f.page());
        label->setGeometry(40, 20, 200, 40);
        label->SetCaption(QStringLiteral("Family Reunion"));
        label->AfterLoad();
        f.page().SetCellRtf(f.page().CellOfDay(3),
                            QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Typed by hand\\par}"));
        QVERIFY(WriteRecurringStore(RecurringStoreFileName(),
                                    {MakeRecurringEntry(QStringLiteral("Payday"), QStringLiteral("@0015")),
                                     MakeRecurringEntry(QStringLiteral("Fools"), QStringLiteral("@0401"))}));
        const QString pdf = f.path(QStringLiteral("year.pdf"));
        f.prompts->fileAnswers = {pdf};
        f.prompts->dialogAnswers = {pdfForm(12, true)};
        f.main->mnuSaveAsPDFClick();
        QCOMPARE(ovtest::pdfPageCount(pdf), 12);
        QCOMPARE(ovtest::pdfPageSize(pdf, 12), QSizeF(792, 612));
        const QString text = ovtest::pdfText(pdf);
        const QStringList pages = text.split(QLatin1Char('\f'));
        const char* titles[] = {"December 1997", "January 1998", "February 1998", "March 1998", "April 1998",
                                "May 1998", "June 1998", "July 1998", "August 1998", "September 1998",
                                "October 1998", "November 1998"};
        for (int i = 0; i < 12; ++i)
            QVERIFY2(pages.value(i).contains(QLatin1String(titles[i])), titles[i]);
        // The design's own month keeps its text; the further months get the store's days.
        QVERIFY(pages[0].contains(QStringLiteral("Typed by hand")));
        QVERIFY(!pages[0].contains(QStringLiteral("Payday")));
        for (int i = 1; i < 12; ++i) {
            QVERIFY(pages[i].contains(QStringLiteral("Payday")));
            QVERIFY(!pages[i].contains(QStringLiteral("Typed by hand")));
        }
        QCOMPARE(text.count(QStringLiteral("Fools")), 1);
        // The design's placed objects are on every month.
        QCOMPARE(text.count(QStringLiteral("Family Reunion")), 12);
        QVERIFY(pages[4].contains(QStringLiteral("Fools")));
        // Without the fill the further months are empty.
        f.prompts->fileAnswers = {pdf};
        f.prompts->dialogAnswers = {pdfForm(12, false)};
        f.main->mnuSaveAsPDFClick();
        QVERIFY(!ovtest::pdfText(pdf).contains(QStringLiteral("Payday")));
    }

    void fillLandsOnTheRightDay()
    {
        // Payday on the 15th: the word sits in the cell under the 15 of each month.
        MainWindowFixture f;
        f.page().SetCalendarLayout(TCalendarLayout(1));
        QVERIFY(WriteRecurringStore(RecurringStoreFileName(),
                                    {MakeRecurringEntry(QStringLiteral("Payday"), QStringLiteral("@0015"))}));
        const QString pdf = f.path(QStringLiteral("fill.pdf"));
        f.prompts->fileAnswers = {pdf};
        f.prompts->dialogAnswers = {pdfForm(12, true)};
        f.main->mnuSaveAsPDFClick();
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {QStringLiteral("-f"), QStringLiteral("3"), QStringLiteral("-l"),
                                              QStringLiteral("3"), QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
        QVERIFY(p.waitForFinished());
        const QString html = QString::fromUtf8(p.readAllStandardOutput());
        auto box = [&](const QString& word) {
            const QRegularExpression re(QStringLiteral("xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"[\\d.]+\" "
                                                       "yMax=\"[\\d.]+\">%1<").arg(word));
            const auto m = re.match(html);
            return m.hasMatch() ? QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()) : QPointF(-1, -1);
        };
        const QPointF payday = box(QStringLiteral("Payday"));
        const QPointF fifteen = box(QStringLiteral("15"));
        const QPointF sixteen = box(QStringLiteral("16"));
        QVERIFY(payday.x() >= 0 && fifteen.x() >= 0);
        // Below the 15, left of it in the same cell, and left of the 16's cell.
        QVERIFY(payday.y() > fifteen.y());
        QVERIFY(payday.x() < fifteen.x() && payday.x() > fifteen.x() - 120);
        QVERIFY(payday.x() < sixteen.x() - 60);
    }

    void cancelledPdfFormWritesNothing()
    {
        MainWindowFixture f;
        f.main->mnuSaveAsPDFClick(); // no answer: the form is cancelled
        QCOMPARE(f.prompts->records.size(), size_t(1));
        QCOMPARE(f.prompts->records[0].kind, QStringLiteral("dialog"));
    }
};

OV_TEST(PrintExportTest)
#include "test_print_export.moc"
