#include "app/command_line.h"

#include <QCoreApplication>

namespace timer::app {

CommandLine::CommandLine()
    : help_({QStringLiteral("h"), QStringLiteral("help")}, tr("Displays this help."))
{
    parser_.setApplicationDescription(
        tr("Counts down hours, minutes and seconds in one window with Hebrew captions.\n"
           "Qt's own options, such as -platform NAME and -display DISPLAY, work as well."));
    // Qt's own options are single words behind one dash: read ours the same way.
    parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser_.addOption(help_);
    parser_.addVersionOption();
}

std::optional<QString> CommandLine::answer(int& argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    // Qt's own options are not known yet: they are told apart from mistakes
    // once Qt has taken them.
    parser_.parse(arguments);
    if (parser_.isSet(help_)) {
        // The usage line names the program as it was called, which the
        // parser reads from an application object; one without a window
        // system needs no display.
        const QCoreApplication named(argc, argv);
        return parser_.helpText();
    }
    if (parser_.isSet(QStringLiteral("version"))) {
        return QStringLiteral("%1 %2\n").arg(QCoreApplication::applicationName(), QCoreApplication::applicationVersion());
    }
    return std::nullopt;
}

std::optional<QString> CommandLine::mistake()
{
    const QString seeHelp = tr(" timer --help lists the options.");
    if (!parser_.parse(QCoreApplication::arguments())) {
        return parser_.errorText() + seeHelp;
    }
    if (const QStringList extra = parser_.positionalArguments(); !extra.isEmpty()) {
        return tr("Unexpected argument '%1'.").arg(extra.first()) + seeHelp;
    }
    return std::nullopt;
}

} // namespace timer::app
