#include "desktop/end_on_signals.h"

#include "desktop/file_descriptor.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace timer::desktop {

namespace {

constexpr std::array kStopSignals{SIGTERM, SIGINT, SIGHUP};

// Where the handler writes: set before the handlers are installed, cleared
// after they are taken away.
volatile std::sig_atomic_t signalPipe = -1;

extern "C" void onStopSignal(int number)
{
    const int saved = errno;
    const auto byte = static_cast<unsigned char>(number);
    // A full pipe already holds a stop for the loop to read.
    [[maybe_unused]] const ssize_t written = write(signalPipe, &byte, 1);
    errno = saved;
}

bool ignored(int number)
{
    struct sigaction current {};
    sigaction(number, nullptr, &current);
    return current.sa_handler == SIG_IGN; // NOLINT(cppcoreguidelines-pro-type-union-access)
}

} // namespace

struct EndOnSignals::SignalPipe {
    SignalPipe(int readFd, int writeFd)
        : readEnd(readFd)
        , writeEnd(writeFd)
        , notifier(readFd, QSocketNotifier::Read)
    {
    }

    FileDescriptor readEnd;
    FileDescriptor writeEnd;
    QSocketNotifier notifier; // last, so that it goes before the pipe closes
};

EndOnSignals::EndOnSignals()
{
    std::array<int, 2> ends{-1, -1};
    if (pipe2(ends.data(), O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    pipe_ = std::make_unique<SignalPipe>(ends[0], ends[1]);
    signalPipe = pipe_->writeEnd.get();
    QObject::connect(&pipe_->notifier, &QSocketNotifier::activated, &pipe_->notifier, [fd = ends[0]] {
        std::array<unsigned char, 16> numbers{};
        // The first signal decides the status.
        if (read(fd, numbers.data(), numbers.size()) > 0) {
            QCoreApplication::exit(128 + numbers[0]);
        }
    });
    struct sigaction stop {};
    stop.sa_handler = onStopSignal; // NOLINT(cppcoreguidelines-pro-type-union-access)
    // One handler at a time, so that the first signal's number is written first.
    sigemptyset(&stop.sa_mask);
    for (const int number : kStopSignals) {
        sigaddset(&stop.sa_mask, number);
    }
    stop.sa_flags = SA_RESTART;
    for (const int number : kStopSignals) {
        if (!ignored(number)) {
            sigaction(number, &stop, nullptr);
        }
    }
}

EndOnSignals::~EndOnSignals()
{
    if (pipe_ == nullptr) {
        return;
    }
    for (const int number : kStopSignals) {
        if (!ignored(number)) {
            std::signal(number, SIG_DFL);
        }
    }
    signalPipe = -1; // before the pipe closes
}

} // namespace timer::desktop
