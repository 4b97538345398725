#include "style_sheet.h"

#include <QFile>
#include <QSaveFile>

void SaveStyleSheet(const TCalendarPage& page, QIODevice& device)
{
    TStreamWriter w(device);
    w.writeListBegin();
    w.writeInteger(kCalendarFormatVersion);
    w.writeInteger(kStyleSheetFileKind);
    WriteSettingsBlock(w, page.settings());
    w.writeString(page.settings().WMFBorderFile);
    w.writeListEnd();
}

void SaveStyleSheet(const TCalendarPage& page, const QString& fileName)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw EStreamError(QStringLiteral("The file cannot be created: %1").arg(file.errorString()));
    SaveStyleSheet(page, file);
    if (!file.commit())
        throw EStreamError(QStringLiteral("The file could not be written: %1").arg(file.errorString()));
}

void LoadStyleSheet(TCalendarPage& page, QIODevice& device, TCalendarFileInfo* info)
{
    TCalendarFileInfo local;
    TCalendarFileInfo& out = info ? *info : local;
    out = TCalendarFileInfo();
    TStreamReader r(device);
    try {
        ReadFileHeader(r, out.version, out.kind);
        ReadSettingsBlock(r, page.rawSettings());
        if (out.version < 4) {
            page.SetWMFBorderFile(QString());
        } else {
            out.borderName = r.readString();
            // A name with a path in it would reach files outside the border folder.
            page.SetWMFBorderFile(isPlainBorderName(out.borderName) ? out.borderName : QString());
        }
        r.readListEnd();
    } catch (...) {
        page.RecalcLayout(false);
        throw;
    }
    page.RecalcLayout(false);
}

void LoadStyleSheet(TCalendarPage& page, const QString& fileName, TCalendarFileInfo* info)
{
    QFile file(fileName);
    openDocumentFile(file);
    LoadStyleSheet(page, file, info);
}
