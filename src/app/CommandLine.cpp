#include "CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <algorithm>
#include <cstdio>

#include "platform/ProgramName.h"

namespace {

void describe(QCommandLineParser &parser)
{
    parser.setApplicationDescription(
        QStringLiteral("A dial-up cost and time monitor: dials your providers through pppd, counts the time "
                       "online and prices every call by your own tariffs."));
    // Not addHelpOption(): its --help-all would list Qt's options, which this text does not.
    parser.addOption(QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Displays this help and exits.")));
    parser.addVersionOption();
}

} // namespace

std::optional<int> AnswerInformationOptions(int &argc, char **argv)
{
    // A plain start has no options: no need for an application object of its own.
    if (std::none_of(argv + 1, argv + argc, [](const char *argument) { return argument[0] == '-'; }))
        return std::nullopt;
    const QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(ProgramName());
    QCoreApplication::setApplicationVersion(QStringLiteral(PROJECT_VERSION));
    QCommandLineParser parser;
    describe(parser);
    // The window system's options are unknown here and make the parse fail; the ones asked
    // for are still set. Unknown options are refused later, once Qt has taken its own.
    parser.parse(QCoreApplication::arguments());
    if (parser.isSet(QStringLiteral("version"))) {
        std::printf("%s %s\n", qPrintable(ProgramName()), PROJECT_VERSION);
        return 0;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    return std::nullopt;
}

bool AcceptRemainingOptions(const QStringList &arguments)
{
    QCommandLineParser parser;
    describe(parser);
    if (parser.parse(arguments))
        return true;
    std::fprintf(stderr, "lineminder: %s\nTry 'lineminder --help'.\n", qPrintable(parser.errorText()));
    return false;
}
