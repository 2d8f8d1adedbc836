#pragma once

#include <QByteArray>
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

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

    // Where the window is to open: the arguments for Qt, the program's name
    // and each of Qt's options as taken here, in the form Qt reads.
    // Precondition: answer() gave none.
    QStringList qtArguments() const;

    // The X display named by -display, empty where none is.
    // Precondition: answer() gave none.
    QString display() const;

    // What is wrong with what Qt left of qtArguments() as it started
    // (QCoreApplication::arguments()): an option Qt reads on some platforms
    // only (-geometry: on X11), which would do nothing here; none where Qt
    // took them all.
    std::optional<Answer> leftByQt(const QStringList& left) const;

private:
    QCommandLineParser parser_;
    QCommandLineOption help_;
    QString program_;
};

// An argument vector as main() is given one, made from arguments, for an
// application object, which keeps argc (by reference) and argv for as long
// as it lives: this must outlive it.
class ArgumentVector {
public:
    explicit ArgumentVector(const QStringList& arguments);
    ArgumentVector(const ArgumentVector&) = delete;
    ArgumentVector& operator=(const ArgumentVector&) = delete;
    ArgumentVector(ArgumentVector&&) = delete;
    ArgumentVector& operator=(ArgumentVector&&) = delete;
    ~ArgumentVector() = default;

    int& argc() { return argc_; }
    char** argv() { return pointers_.data(); }

private:
    std::vector<QByteArray> texts_;
    std::vector<char*> pointers_; // into texts_, then a null pointer
    int argc_;
};

} // namespace timer::app
