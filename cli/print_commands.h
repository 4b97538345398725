#pragma once
#include <QStringList>
#include <QTextStream>

struct CliPage;

// render ... --out F.pdf [--months N] [--recurring OVRECUR.DAX]: the printed page as a
// vector PDF, one page per month. args holds what the page options left.
int RenderPdf(CliPage& cli, QStringList& args, const QString& outPath);

// print [PAGE | --file F] [--printer NAME] [--copies N] [--force]: prints through CUPS.
int PrintCommand(QStringList args, QTextStream& out, QTextStream& err);
