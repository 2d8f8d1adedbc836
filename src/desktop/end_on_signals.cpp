#include "desktop/end_on_signals.h"

#include <QCoreApplication>

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

EndOnSignals::EndOnSignals()
{
    std::array<int, 2> ends{-1, -1};
    if (pipe2(ends.data(), O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    readEnd_ = FileDescriptor(ends[0]);
    writeEnd_ = FileDescriptor(ends[1]);
    signalPipe = writeEnd_.get();
    notifier_ = std::make_unique<QSocketNotifier>(readEnd_.get(), QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(), [fd = readEnd_.get()] {
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
    if (notifier_ == nullptr) {
        return;
    }
    for (const int number : kStopSignals) {
        if (!ignored(number)) {
            std::signal(number, SIG_DFL);
        }
    }
    notifier_.reset();
    signalPipe = -1; // before the pipe closes
}

} // namespace timer::desktop
