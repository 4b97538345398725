#pragma once
// Shared pieces of the help tests: the help book of the source tree as the program
// folder's, and a recorder of help requests.
#include "platform/help_request.h"
#include "platform/program_folder.h"
#include "test_support.h"
#include "widgets/dialog_help.h"

#include <QList>

// Points the program folder at the source's assets (the help book as shipped) for the
// lifetime of the guard.
struct SourceHelpBook {
    SourceHelpBook()
    {
        setProgramFolderOverride(ovtest::sourceDir() + QStringLiteral("/assets"));
        reloadWhatsThisTexts();
    }
    ~SourceHelpBook()
    {
        setProgramFolderOverride(QString());
        reloadWhatsThisTexts();
    }
    static QString folder() { return ovtest::sourceDir() + QStringLiteral("/assets/help/"); }
};

// Records the contexts asked for while it lives.
struct HelpRecorder {
    QList<int> contexts;
    HelpHandler previous;
    HelpRecorder() { previous = setHelpHandler([this](int c) { contexts << c; }); }
    ~HelpRecorder() { setHelpHandler(std::move(previous)); }
};
