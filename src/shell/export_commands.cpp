// Export: the page as a BMP, JPEG or PNG picture as the screen shows it, and as a
// printed PDF of one or twelve months.
#include "calendar/calendar_panel.h"
#include "platform/numeric.h"
#include "platform/program_folder.h"
#include "platform/prompter.h"
#include "platform/shell_helpers.h"
#include "printing/print_error.h"
#include "recurring/recurring_store.h"
#include "shell/calendar_main.h"
#include "shell/calendar_pdf.h"
#include "shell/pdf_export_form.h"
#include "shell/print_scope.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

namespace {

struct PictureKind {
    const char* extension; // as proposed and added to a name typed without one
    const char* filter;
    const char* writerFormat;
};

PictureKind pictureKind(TCalendarMain::TPictureFormat format)
{
    switch (format) {
    case TCalendarMain::TPictureFormat::Jpeg:
        return {".JPG", "JPG File (*.JPG *.jpg)", "jpg"};
    case TCalendarMain::TPictureFormat::Png:
        return {".PNG", "PNG File (*.PNG *.png)", "png"};
    case TCalendarMain::TPictureFormat::Bmp:
        break;
    }
    return {".BMP", "Bitmap File (*.BMP *.bmp)", "bmp"};
}

// Writes through a temporary file that replaces the target only when complete, so a
// failed export neither leaves a file behind nor spoils one that was there.
bool writePicture(const QImage& image, const QString& path, const char* format)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QImageWriter writer(&file, format);
    if (qstrcmp(format, "jpg") == 0)
        writer.setQuality(80);
    if (!writer.write(image))
        return false; // the unfinished file is discarded with the QSaveFile
    return file.commit();
}

QString unableToSave(const QString& path)
{
    return QStringLiteral("Unable to save ") + path
        + QStringLiteral("\nPossible reasons include:\n -Not enough available memory\n -Not enough disk space\n"
                         " -Invalid file name");
}

} // namespace

void TCalendarMain::connectExportCommands()
{
    connect(mnuSaveAsBitmap, &QAction::triggered, this, &TCalendarMain::mnuSaveAsBitmapClick);
    connect(mnuSaveAsJPG, &QAction::triggered, this, &TCalendarMain::mnuSaveAsJPGClick);
    connect(mnuSaveAsPNG, &QAction::triggered, this, &TCalendarMain::mnuSaveAsPNGClick);
    connect(mnuSaveAsPDF, &QAction::triggered, this, &TCalendarMain::mnuSaveAsPDFClick);
}

QString TCalendarMain::proposedExportName(const QString& extension) const
{
    if (CalendarFileName.isEmpty()) {
        const TCalendarSettings& s = CalendarPanel->settings();
        return CalendarPanel->GetMonthName(s.MainCalMonth).left(3) + QString::number(s.MainCalYear) + extension;
    }
    return QFileInfo(CalendarFileName).completeBaseName() + extension;
}

void TCalendarMain::mnuSaveAsBitmapClick() { exportPicture(TPictureFormat::Bmp); }

void TCalendarMain::mnuSaveAsJPGClick() { exportPicture(TPictureFormat::Jpeg); }

void TCalendarMain::mnuSaveAsPNGClick() { exportPicture(TPictureFormat::Png); }

void TCalendarMain::exportPicture(TPictureFormat format)
{
    DoSaveRichtext();
    const PictureKind kind = pictureKind(format);
    const QString extension = QString::fromLatin1(kind.extension);
    QString path = prompter().saveFileName(QStringLiteral("Save Calendar As Bitmap"), DocumentsStartFolder(),
                                           proposedExportName(extension), QString::fromLatin1(kind.filter),
                                           extension.mid(1));
    if (path.isEmpty())
        return;
    if (SaveCalendarToBitmap(path, format))
        ShowInformation(QStringLiteral("Saved as ") + path
                        + QStringLiteral("\nNote: the calendar has been saved at its\ncurrent magnification level of ")
                        + QString::number(roundHalfEven(double(CalendarPanel->Zoom()) * 100.0))
                        + QLatin1Char('%'));
    else
        ShowInformation(unableToSave(path));
}

bool TCalendarMain::SaveCalendarToBitmap(const QString& path, TPictureFormat format)
{
    HourglassOn();
    CalendarPanel->update();
    QCoreApplication::processEvents();
    bool written = false;
    try {
        const QImage page = CalendarPanel->DrawToBitmap(); // with the placed objects
        const TCalendarSettings& s = CalendarPanel->settings();
        const double scale = CalendarPanel->ppi() * double(CalendarPanel->Zoom());
        const int left = truncToInt(scale * s.LeftMarginInch);
        const int top = truncToInt(scale * s.TopMarginInch);
        const int right = page.width() - truncToInt(scale * s.RightMarginInch);
        const int bottom = page.height() - truncToInt(scale * s.BottomMarginInch);
        // The area inside the margins, copied into a picture one pixel narrower and lower.
        const QSize size(right - left - 1, bottom - top - 1);
        if (size.width() > 0 && size.height() > 0) {
            const QImage cropped = page.copy(left, top, right - left, bottom - top)
                                       .scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
            written = writePicture(cropped, path, pictureKind(format).writerFormat);
        }
    } catch (const std::exception&) {
        written = false;
    }
    // The document itself is unchanged: Modified stays as it was.
    CalendarPanel->PaintSuspended = false;
    CalendarPanel->update();
    HourglassOff();
    QCoreApplication::processEvents();
    SetButtons();
    SetCaption();
    return written;
}

void TCalendarMain::mnuSaveAsPDFClick()
{
    DoSaveRichtext();
    TPdfExportForm form(HasDayCells(), this);
    CenterForm(&form);
    if (prompter().execDialog(form) != QDialog::Accepted)
        return;
    QString path = prompter().saveFileName(QStringLiteral("Save Calendar As PDF"), DocumentsStartFolder(),
                                           proposedExportName(QStringLiteral(".PDF")),
                                           QStringLiteral("PDF File (*.PDF *.pdf)"), QStringLiteral("PDF"));
    if (path.isEmpty())
        return;

    TCalendarPdfRequest request;
    request.months = form.months();
    if (form.fillFromRecurring()) {
        const RecurringStoreRead store = ReadRecurringStore(RecurringStoreFileName());
        if (!store.error.isEmpty()) {
            ShowInformation(store.error);
            return;
        }
        request.recurringLines = store.lines;
    }
    QString failure;
    {
        const PagePrintScope scope(*CalendarPanel);
        try {
            WriteCalendarPdf(*CalendarPanel, path, request, Preferences);
        } catch (const EPrintError& e) {
            failure = e.reason();
        }
    }
    SetButtons();
    SetCaption();
    ShowInformation(failure.isEmpty() ? QStringLiteral("Saved as ") + path : failure);
}
