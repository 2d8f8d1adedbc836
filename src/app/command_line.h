#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QString>

#include <optional>

namespace timer::app {

// The program's own options, --help and --version, beside those of the
// window system that Qt takes for itself (-platform, -display, ...). All are
// read before Qt starts, so that a mistake is named even where no window
// could open.
class CommandLine {
    Q_DECLARE_TR_FUNCTIONS(timer::app::CommandLine)

public:
    CommandLine();

    // What the program answers without opening its window, and the exit
    // status it ends with.
    struct Answer {
        QString text;
        int status; // EXIT_SUCCESS: the text goes to stdout, else to stderr
    };

    // The text --help or --version asks for, or what is wrong with the
    // arguments; none where the window is to open.
    std::optional<Answer> answer(int& argc, char* argv[]);

private:
    QCommandLineParser parser_;
    QCommandLineOption help_;
};

} // namespace timer::app
