#pragma once
#include <QStringList>
#include <QTextStream>
#include <QWidget>
#include <memory>

class TCalendarPanel32;

struct CliPage {
    // The window the page sits in, with the hidden master editor rich-text labels draw
    // through; declared first, so the page goes before it.
    std::unique_ptr<QWidget> form;
    std::unique_ptr<TCalendarPanel32> page;
    float zoom = 1.0f;
};

// A new page as the program starts one (or the page of --file F), with --ppi, --zoom and
// the PAGE options applied; consumed options are removed from args.
CliPage MakeCliPage(QStringList& args);

// dump, save and dates (document_commands.cpp).
int RunDocumentCommand(const QString& command, QStringList args, QTextStream& out, QTextStream& err);
