#pragma once
#include <QStringList>
#include <QTextStream>
#include <memory>

class TCalendarPanel32;

struct CliPage {
    std::unique_ptr<TCalendarPanel32> page;
    float zoom = 1.0f;
};

// A new page as the program starts one (or the page of --file F), with --ppi, --zoom and
// the PAGE options applied; consumed options are removed from args.
CliPage MakeCliPage(QStringList& args);

// dump, save and dates (document_commands.cpp).
int RunDocumentCommand(const QString& command, QStringList args, QTextStream& out, QTextStream& err);
