#include "app/command_line.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QHash>

#include <array>
#include <cstdlib>

namespace timer::app {

namespace {

// The exit status of a command line with an unknown option, an argument or
// an option without its value; a window that cannot open gives 1.
constexpr int kWrongCommandLine = 2;

// Qt's own options, as its reference gives them for QGuiApplication,
// QApplication and the X11 platform, and whether each takes a value. Read
// here, so that whatever else is given is a mistake before any display is
// reached, they go on to Qt as qtArguments() gives them.
struct QtOption {
    const char* name;
    bool takesValue;
};
constexpr std::array kQtOptions{
    QtOption{"platform", true},  QtOption{"platformpluginpath", true}, QtOption{"platformtheme", true},
    QtOption{"plugin", true},    QtOption{"qmljsdebugger", true},      QtOption{"qwindowgeometry", true},
    QtOption{"qwindowicon", true}, QtOption{"qwindowtitle", true},     QtOption{"reverse", false},
    QtOption{"session", true},   QtOption{"style", true},              QtOption{"stylesheet", true},
    QtOption{"widgetcount", false}, QtOption{"testability", false},    QtOption{"display", true},
    QtOption{"geometry", true},  QtOption{"title", true},              QtOption{"icon", true},
    QtOption{"name", true},      QtOption{"visual", true},             QtOption{"nograb", false},
    QtOption{"dograb", false},
};

} // namespace

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
    for (const QtOption& known : kQtOptions) {
        QCommandLineOption option(QLatin1StringView(known.name));
        if (known.takesValue) {
            option.setValueName(QStringLiteral("value"));
        }
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser_.addOption(option);
    }
}

std::optional<CommandLine::Answer> CommandLine::answer(int& argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    program_ = arguments.value(0);
    const QString seeHelp = tr(" timer --help lists the options.");
    if (!parser_.parse(arguments)) {
        return Answer{parser_.errorText() + seeHelp, kWrongCommandLine};
    }
    if (parser_.isSet(help_)) {
        // The usage line names the program as it was called, which the
        // parser reads from an application object; one without a window
        // system needs no display.
        const QCoreApplication named(argc, argv);
        return Answer{parser_.helpText(), EXIT_SUCCESS};
    }
    if (parser_.isSet(QStringLiteral("version"))) {
        return Answer{QStringLiteral("%1 %2\n").arg(QCoreApplication::applicationName(),
                                                    QCoreApplication::applicationVersion()),
                      EXIT_SUCCESS};
    }
    if (const QStringList extra = parser_.positionalArguments(); !extra.isEmpty()) {
        return Answer{tr("Unexpected argument '%1'.").arg(extra.first()) + seeHelp, kWrongCommandLine};
    }
    return std::nullopt;
}

QStringList CommandLine::qtArguments() const
{
    // Qt reads each of its options as "-name value" (or "--name value"), and
    // as "-name=value" a few only (-style): each goes to it in the first form,
    // in the order given, which decides for one given twice. Only Qt's
    // options are left: --help and --version were answered.
    QStringList arguments{program_};
    QHash<QString, qsizetype> valuesHanded;
    for (const QString& name : parser_.optionNames()) {
        arguments << QLatin1Char('-') + name;
        if (const QStringList values = parser_.values(name); !values.isEmpty()) {
            arguments << values.at(valuesHanded[name]++);
        }
    }
    return arguments;
}

QString CommandLine::display() const
{
    // The last one given, as Qt takes it.
    return parser_.value(QStringLiteral("display"));
}

std::optional<CommandLine::Answer> CommandLine::leftByQt(const QStringList& left) const
{
    // Qt takes each option with its value, so what it leaves starts with an
    // option.
    if (left.size() <= 1) {
        return std::nullopt;
    }
    return Answer{tr("Qt does not take '%1' on the platform \"%2\".").arg(left.at(1), QGuiApplication::platformName()),
                  kWrongCommandLine};
}

ArgumentVector::ArgumentVector(const QStringList& arguments)
    : argc_(static_cast<int>(arguments.size()))
{
    texts_.reserve(arguments.size());
    for (const QString& argument : arguments) {
        texts_.push_back(argument.toLocal8Bit());
    }
    pointers_.reserve(texts_.size() + 1);
    for (QByteArray& text : texts_) {
        pointers_.push_back(text.data());
    }
    pointers_.push_back(nullptr);
}

} // namespace timer::app
