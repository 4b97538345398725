// orvanta-cli: headless rendering and scripting of calendar pages.
#include "cli_commands.h"

#include <QApplication>
#include <QTextStream>
#include <cstdio>
#include <stdexcept>

namespace {
const char* kUsage =
    "usage: orvanta-cli <command> [options]\n"
    "  geometry [PAGE] [--zoom Z] [--ppi N]\n"
    "  render [PAGE | --file F] --out OUT [--zoom Z] [--ppi N]\n"
    "  dump FILE\n"
    "  save [PAGE | --file F] (--out F.OVF | --stylesheet-out F.OVS)\n"
    "  dates --store F --year Y --month M\n"
    "  icons FILE [--index N --out icon.png]\n"
    "PAGE: --layout N --paper letter|a4 --month M --year Y --day D --week-start 1|2\n"
    "      --margins L,T,R,B --number-position center|upper-right --title TEXT --style F.OVS --border NAME\n";
}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt must not take our options for its own (it knows --style, for one).
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    if (args.isEmpty() || args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h")) {
        err << kUsage;
        return args.isEmpty() ? 2 : 0;
    }
    const QString command = args.takeFirst();
    try {
        return RunCliCommand(command, args, out, err);
    } catch (const std::exception& e) {
        err << "orvanta-cli: " << QString::fromUtf8(e.what()) << "\n";
        return 1;
    }
}
