// Start-up time and peak resident memory of programs against the floor, an
// empty Qt Widgets window with one label, as a user sees them: from the exec
// to the first paint of the program's window on the X server. This client
// puts a Damage object on the root window, which also reports drawing in
// every window above it, and takes its first damage after the exec as the
// first paint; then it ends the program with SIGTERM, reads its peak
// resident memory and waits for its windows to go. The programs are started
// in turn, round after round; the first rounds warm the caches and are
// dropped. Medians are printed, and the median of each round's ratio to the
// floor against the targets. Run it on a display of its own (xvfb-run),
// where nothing else draws.
//
// usage: startup_benchmark ROUNDS FLOOR PROGRAM...

#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kWarmUpRounds = 2;
constexpr double kTimeTarget = 1.15;
constexpr double kMemoryTarget = 1.10;
constexpr int kEventLimitMs = 10'000;

struct Sample {
    double milliseconds;
    double peakMebibytes;
};

struct Results {
    std::string program;
    std::vector<double> milliseconds;
    std::vector<double> peakMebibytes;
};

[[noreturn]] void fail(const std::string& why)
{
    std::fprintf(stderr, "startup_benchmark: %s\n", why.c_str());
    std::exit(EXIT_FAILURE);
}

double nowMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

class Display {
public:
    Display()
        : connection_(xcb_connect(nullptr, nullptr))
    {
        if (xcb_connection_has_error(connection_) != 0) {
            fail("no X display");
        }
        const std::unique_ptr<xcb_damage_query_version_reply_t, decltype(&std::free)> version(
            xcb_damage_query_version_reply(connection_, xcb_damage_query_version(connection_, 1, 1), nullptr),
            &std::free);
        if (!version) {
            fail("the X server has no DAMAGE extension");
        }
        screenDamage_ = xcb_generate_id(connection_);
        damageNotify_ = xcb_get_extension_data(connection_, &xcb_damage_id)->first_event + XCB_DAMAGE_NOTIFY;
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        // The program's windows coming and going.
        const uint32_t events = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection_, root, XCB_CW_EVENT_MASK, &events);
        xcb_damage_create(connection_, screenDamage_, root, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
    }
    ~Display() { xcb_disconnect(connection_); }
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

    // Starts `program` and returns once its first window is drawn and it has
    // ended again.
    Sample measure(const std::string& program)
    {
        // The damage left by the last program's windows going: one event at
        // the next drawing on a screen with none.
        xcb_damage_subtract(connection_, screenDamage_, XCB_NONE, XCB_NONE);
        std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
            std::free(event);
        }
        char* const arguments[] = {const_cast<char*>(program.c_str()), nullptr};
        pid_t pid = 0;
        const double start = nowMilliseconds();
        if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, arguments, environ) != 0) {
            fail("cannot start " + program);
        }
        bool painted = false;
        double paintedAt = 0;
        int windows = 0;
        const auto next = [&](const char* awaited) {
            xcb_generic_event_t* event = nextEvent(awaited);
            const uint8_t type = event->response_type & 0x7F;
            windows += static_cast<int>(type == XCB_CREATE_NOTIFY) - static_cast<int>(type == XCB_DESTROY_NOTIFY);
            if (type == damageNotify_ && !painted) {
                painted = true;
                paintedAt = nowMilliseconds();
            }
            std::free(event);
        };
        while (!painted) {
            next("no window was drawn");
        }
        kill(pid, SIGTERM);
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        while (windows > 0) {
            next("the program's windows stayed after it ended");
        }
        return {paintedAt - start, static_cast<double>(usage.ru_maxrss) / 1024};
    }

private:
    xcb_generic_event_t* nextEvent(const char* awaited)
    {
        const double deadline = nowMilliseconds() + kEventLimitMs;
        pollfd readable{xcb_get_file_descriptor(connection_), POLLIN, 0};
        for (;;) {
            if (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
                return event;
            }
            const double left = deadline - nowMilliseconds();
            if (left <= 0 || xcb_connection_has_error(connection_) != 0) {
                fail(std::string(awaited) + " within 10 s");
            }
            poll(&readable, 1, static_cast<int>(left) + 1);
        }
    }

    xcb_connection_t* connection_;
    xcb_damage_damage_t screenDamage_ = 0;
    uint8_t damageNotify_ = 0;
};

double median(std::vector<double> values)
{
    std::ranges::sort(values);
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s ROUNDS FLOOR PROGRAM...\n", argv[0]);
        return 2;
    }
    const int rounds = std::max(std::atoi(argv[1]), 1);
    std::vector<Results> results;
    for (int i = 2; i < argc; ++i) {
        results.push_back({argv[i], {}, {}});
    }

    Display display;
    for (int round = 0; round < kWarmUpRounds + rounds; ++round) {
        for (Results& program : results) {
            const Sample sample = display.measure(program.program);
            if (round >= kWarmUpRounds) {
                program.milliseconds.push_back(sample.milliseconds);
                program.peakMebibytes.push_back(sample.peakMebibytes);
            }
        }
    }

    // Each round's time against the floor's in the same round, so that a
    // load that comes and goes during the run weighs on both.
    const Results& floor = results.front();
    const auto ratio = [](const std::vector<double>& program, const std::vector<double>& floorValues) {
        std::vector<double> ratios;
        for (std::size_t round = 0; round < program.size(); ++round) {
            ratios.push_back(program[round] / floorValues[round]);
        }
        return median(ratios);
    };
    const auto against = [](double value, double target) { return value <= target ? "met" : "MISSED"; };
    std::printf("%d rounds, alternated, after %d to warm up; medians\n", rounds, kWarmUpRounds);
    std::printf("%-40s %12s %12s\n", "program", "first paint", "peak memory");
    for (const Results& program : results) {
        std::printf("%-40s %9.1f ms %8.1f MiB", program.program.c_str(), median(program.milliseconds),
                    median(program.peakMebibytes));
        if (&program != &floor) {
            const double time = ratio(program.milliseconds, floor.milliseconds);
            const double memory = ratio(program.peakMebibytes, floor.peakMebibytes);
            std::printf("   time %.3fx (target %.2fx: %s), memory %.3fx (target %.2fx: %s)", time, kTimeTarget,
                        against(time, kTimeTarget), memory, kMemoryTarget, against(memory, kMemoryTarget));
        }
        std::printf("\n");
    }
    return 0;
}
