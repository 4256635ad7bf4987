#include "commandLine.h"

#include "kestrix/shell/startup.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>
#include <cstdio>
#include <string>
#include <vector>

namespace kestrix::commandLine {
namespace {

constexpr int kExitUsage = 2;

QStringList Arguments(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    return arguments;
}

// The usage line takes the program's name from an application object; named plainly, the help
// reads the same wherever the program was started from (the man page quotes it).
void PrintHelp(const QCommandLineParser& parser) {
    int argc = 1;
    char name[] = "kestrix";
    char* argv[] = {name, nullptr};
    const QCoreApplication application(argc, argv);
    std::fputs(qPrintable(parser.helpText()), stdout);
}

} // namespace

CommandLine ParseCommandLine(int argc, char* argv[]) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Downloads, shows and exports the samples of portable particle counters."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Print this help and exit."));
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("Print the version and exit."));
    parser.addOption(help);
    parser.addOption(version);
    parser.addPositionalArgument(
        QStringLiteral("CONFIG_FILE"),
        QStringLiteral("Configuration file (default: config.ini in the configuration folder, "
                       "~/.config/Orvenda/Kestrix/)."),
        QStringLiteral("[CONFIG_FILE]"));

    if (!parser.parse(Arguments(argc, argv))) {
        std::fprintf(stderr, "kestrix: %s\nTry 'kestrix --help'.\n",
                     qPrintable(parser.errorText()));
        return {kExitUsage, {}};
    }
    if (parser.isSet(help)) {
        PrintHelp(parser);
        return {0, {}};
    }
    if (parser.isSet(version)) {
        std::printf("kestrix %s\n", KESTRIX_VERSION);
        return {0, {}};
    }
    std::vector<std::string> positional;
    for (const QString& argument : parser.positionalArguments()) {
        positional.push_back(argument.toLocal8Bit().toStdString());
    }
    return {std::nullopt, startup::CommandLineText(positional)};
}

} // namespace kestrix::commandLine
