// The "&Help" menu and the tool bar's "Tips": the help book, the configuration report,
// the quick tips and the web site.
#include "calendar_main.h"

#include "platform/help_contexts.h"
#include "platform/help_request.h"
#include "platform/shell_helpers.h"
#include "shell/assistant_tip.h"
#include "shell/configuration_info.h"
#include "shell/configuration_report.h"
#include "shell/help_viewer.h"
#include "shell/system_information.h"
#include "shell/web_link.h"
#include "widgets/dialog_help.h"

#include <QAction>
#include <QToolButton>

void TCalendarMain::createHelpCommands()
{
    Help = new HelpViewer(this);
    AssistantTip1 = new TAssistantTip(this);
    AssistantTip1->Caption = QStringLiteral("Quick Tips");
    AssistantTip1->SetTopics(MainWindowQuickTips());

    connect(Contents1, &QAction::triggered, this, &TCalendarMain::Contents1Click);
    connect(mnuTechSupport, &QAction::triggered, this, &TCalendarMain::mnuTechSupportClick);
    connect(mnuFAQ, &QAction::triggered, this, &TCalendarMain::mnuFAQClick);
    connect(mnuWebsite, &QAction::triggered, this, &TCalendarMain::mnuWebsiteClick);
    connect(mnuConfigInfo, &QAction::triggered, this, &TCalendarMain::ConfigurationInformation1Click);
    connect(Assistantbutton, &QToolButton::clicked, this, &TCalendarMain::AssistantbuttonClick);
    attachHelp(this, HelpContexts::MainWindow);
}

void TCalendarMain::Contents1Click() { ShowHelpContext(HelpContexts::Contents); }

void TCalendarMain::mnuTechSupportClick() { ShowHelpContext(HelpContexts::TechnicalSupport); }

void TCalendarMain::mnuFAQClick() { ShowHelpContext(HelpContexts::FrequentlyAskedQuestions); }

void TCalendarMain::mnuWebsiteClick() { OpenUrl(QUrl(ProductWebsite())); }

void TCalendarMain::ConfigurationInformation1Click()
{
    // The settings as this run holds them, which is what "OV.ini" will say.
    TPreferences settings = Preferences;
    settings.MainZoomPercent = MainZoomPercent;
    settings.PropZoomPercent = PropZoomPercent;
    settings.IconToolVisible = IconToolVisible;
    settings.ShowHints = ShowHints;

    TConfigurationInfo dialog(this);
    dialog.appendLines(ConfigurationReportLines(systemInformation(), settings, ProgramVersion));
    CenterForm(&dialog);
    dialog.exec();
}

void TCalendarMain::AssistantbuttonClick() { AssistantTip1->Show(this); }
