// Start-up time (exec to the window's first paint) and peak resident memory
// of the Timer against the floor, an empty Qt Widgets window with one label.
// The two are started alternately; medians are printed against the targets.
// Needs an X display (run it under xvfb-run).
//
// usage: startup_benchmark TIMER FLOOR PROBE [runs=15]

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace {

struct Sample {
    double milliseconds;
    double peakMegabytes;
};

long long monotonicNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1'000'000'000LL + now.tv_nsec;
}

// Starts the program with the probe preloaded; nullopt-like -1 when it never painted.
Sample measure(const std::string& program, const std::string& probe)
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        std::perror("pipe");
        std::exit(1);
    }
    const pid_t pid = fork();
    if (pid == 0) {
        close(pipeEnds[0]);
        setenv("LD_PRELOAD", probe.c_str(), 1);
        setenv("FIRST_PAINT_FD", std::to_string(pipeEnds[1]).c_str(), 1);
        setenv("FIRST_PAINT_START_NS", std::to_string(monotonicNanoseconds()).c_str(), 1);
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        std::perror("exec");
        _exit(127);
    }
    close(pipeEnds[1]);
    char buffer[64] = {};
    const ssize_t got = read(pipeEnds[0], buffer, sizeof buffer - 1);
    close(pipeEnds[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (got <= 0) {
        std::fprintf(stderr, "%s never painted\n", program.c_str());
        std::exit(1);
    }
    return {static_cast<double>(std::atoll(buffer)) / 1e6, static_cast<double>(usage.ru_maxrss) / 1024.0};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s TIMER FLOOR PROBE [runs]\n", argv[0]);
        return 2;
    }
    const std::string timer = argv[1];
    const std::string floor = argv[2];
    const std::string probe = argv[3];
    const int runs = argc > 4 ? std::max(std::atoi(argv[4]), 1) : 15;

    measure(timer, probe); // warm the file cache for both
    measure(floor, probe);
    std::vector<double> timerTimes;
    std::vector<double> floorTimes;
    std::vector<double> timerMemory;
    std::vector<double> floorMemory;
    for (int run = 0; run < runs; ++run) {
        const Sample t = measure(timer, probe);
        const Sample f = measure(floor, probe);
        timerTimes.push_back(t.milliseconds);
        timerMemory.push_back(t.peakMegabytes);
        floorTimes.push_back(f.milliseconds);
        floorMemory.push_back(f.peakMegabytes);
    }

    const double timeRatio = median(timerTimes) / median(floorTimes);
    const double memoryRatio = median(timerMemory) / median(floorMemory);
    std::printf("%d runs each, alternated; medians\n", runs);
    std::printf("%-8s %22s %18s\n", "program", "exec to first paint", "peak resident");
    std::printf("%-8s %19.1f ms %15.1f MiB\n", "Timer", median(timerTimes), median(timerMemory));
    std::printf("%-8s %19.1f ms %15.1f MiB\n", "floor", median(floorTimes), median(floorMemory));
    std::printf("target: time <= 1.15 x floor: %.3f x %s\n", timeRatio, timeRatio <= 1.15 ? "MET" : "MISSED");
    std::printf("target: memory <= 1.10 x floor: %.3f x %s\n", memoryRatio, memoryRatio <= 1.10 ? "MET" : "MISSED");
    return 0;
}
