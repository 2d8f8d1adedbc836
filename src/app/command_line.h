#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QString>

#include <optional>

namespace timer::app {

// The program's own options, --help and --version, beside those of the
// window system that Qt takes for itself (-platform, -display). The first
// are answered before any display is reached; whatever Qt leaves over is a
// mistake.
class CommandLine {
    Q_DECLARE_TR_FUNCTIONS(timer::app::CommandLine)

public:
    CommandLine();

    // The text --help or --version asks for, where either is given.
    std::optional<QString> answer(int& argc, char* argv[]);

    // What is wrong with the arguments Qt left over, where anything is.
    // Precondition: the application object exists.
    std::optional<QString> mistake();

private:
    QCommandLineParser parser_;
    QCommandLineOption help_;
};

} // namespace timer::app
