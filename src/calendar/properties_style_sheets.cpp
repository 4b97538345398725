// The properties dialog's style-sheet buttons: save the preview's look, or load one
// into the preview and refill the controls from it.
#include "calendar/calendar_panel.h"
#include "calendar/properties_dialog.h"
#include "calendar/style_sheet.h"
#include "platform/program_folder.h"
#include "platform/prompter.h"

#include <QFileInfo>

namespace {
const QString kFilter = QStringLiteral("Calendar Style Sheets (*.OVS *.ovs);;All files (*)");

bool hasStyleSheetExtension(const QString& fileName)
{
    return QFileInfo(fileName).suffix().toUpper() == QStringLiteral("OVS");
}
} // namespace

void TCalendarProperties::onSaveStyleSheetClick()
{
    const QString fileName = prompter().saveFileName(QStringLiteral("Save As Calendar Style Sheet"),
                                                     DocumentsStartFolder(), QStringLiteral("MyStyle.OVS"), kFilter,
                                                     QStringLiteral("OVS"));
    if (fileName.isEmpty())
        return;
    if (!hasStyleSheetExtension(fileName)) {
        prompter().information(QStringLiteral("Must save as a Calendar Style Sheet (*.OVS)"),
                               QStringLiteral("Information"));
        return;
    }
    try {
        SaveStyleSheet(*m_example, fileName);
    } catch (const std::exception&) {
        // Saying nothing would let the user believe the style was kept.
        prompter().information(QStringLiteral("Unable to save ") + fileName, QStringLiteral("Information"));
    }
}

void TCalendarProperties::onLoadStyleSheetClick()
{
    const QString fileName
        = prompter().openFileName(QStringLiteral("Open Calendar Style Sheet"), DocumentsStartFolder(), kFilter);
    if (fileName.isEmpty())
        return;
    if (!hasStyleSheetExtension(fileName)) {
        prompter().information(QStringLiteral("Must be a Calendar Style Sheet (*.OVS)"), QStringLiteral("Information"));
        return;
    }
    m_loading = true;
    try {
        LoadStyleSheet(*m_example, fileName);
    } catch (...) {
        prompter().information(QStringLiteral("Unable to open ") + fileName
                                   + QStringLiteral(". Possibly \ncorrupted, possibly not a Calendar Style file"),
                               QStringLiteral("Information"));
    }
    // Whatever was read stays in the preview, so the controls show it either way.
    FillControls();
    SelectBorderItem();
    m_loading = false;
    LayoutSelection();
}
