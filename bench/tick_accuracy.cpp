// How well three tick designs keep time, side by side in one event loop:
//   the Timer's tick source (fixed deadlines on the boot clock),
//   a plain repeating QTimer at 1000 ms (Qt's default coarse timer),
//   a single-shot QTimer re-armed for 1000 ms inside each tick.
// Runs them idle, with both cores busy, and with the loop stalled for 2.5 s
// at tick 3; writes every tick's error as CSV and draws it as a PNG.
//
// usage: tick_accuracy [ticks=60] [output-prefix=tick_accuracy]

#include "desktop/system_timer.h"

#include <QColor>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <csignal>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

constexpr std::array<const char*, 3> kDesigns{"tick source", "repeating QTimer", "re-armed single shot"};
constexpr std::array<QRgb, 3> kColours{0xFF1F77B4, 0xFFFF7F0E, 0xFF2CA02C};

struct Scenario {
    QString name;
    std::array<std::vector<double>, 3> errorsMs; // tick k's time minus t0 + k s
    std::array<int, 3> behindAtEnd{};            // whole seconds not counted at the end
};

double percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(std::ceil(p * static_cast<double>(values.size()))) - 1;
    return values[std::min(index, values.size() - 1)];
}

Scenario run(const QString& name, int ticks, bool stall)
{
    Scenario scenario{name, {}, {}};
    const timer::desktop::BootClock bootClock;
    timer::desktop::TickSource source(bootClock, timer::desktop::systemWakeTimers(bootClock));
    QTimer repeating;
    repeating.setInterval(1000);
    QTimer single;
    single.setSingleShot(true);
    single.setInterval(1000);

    Clock::time_point t0;
    const auto record = [&](std::size_t design) {
        const std::chrono::duration<double, std::milli> since = Clock::now() - t0;
        auto& errors = scenario.errorsMs.at(design);
        errors.push_back(since.count() - 1000.0 * static_cast<double>(errors.size() + 1));
    };
    QObject::connect(&source, &timer::desktop::TickSource::tick, [&] {
        record(0);
        if (stall && scenario.errorsMs[0].size() == 3) {
            std::this_thread::sleep_for(2500ms); // the loop is blocked
        }
    });
    QObject::connect(&repeating, &QTimer::timeout, [&] { record(1); });
    QObject::connect(&single, &QTimer::timeout, [&] {
        record(2);
        single.start();
    });

    const auto allDone = [&] {
        return std::all_of(scenario.errorsMs.begin(), scenario.errorsMs.end(),
                           [&](const auto& errors) { return static_cast<int>(errors.size()) >= ticks; });
    };
    QTimer finish;
    QObject::connect(&finish, &QTimer::timeout, [&] {
        // A stalled design may never catch up: stop half a second after the last due tick.
        if (allDone() || Clock::now() - t0 > std::chrono::milliseconds(ticks * 1000 + 500)) {
            QCoreApplication::quit();
        }
    });

    t0 = Clock::now();
    source.setEnabled(true);
    repeating.start();
    single.start();
    finish.start(100);
    QCoreApplication::exec();

    const auto secondsElapsed = static_cast<int>((Clock::now() - t0) / 1s);
    for (std::size_t design = 0; design < 3; ++design) {
        auto& errors = scenario.errorsMs[design];
        if (static_cast<int>(errors.size()) > ticks) {
            errors.resize(static_cast<std::size_t>(ticks));
        }
        scenario.behindAtEnd[design] = std::min(secondsElapsed, ticks) - static_cast<int>(errors.size());
    }
    return scenario;
}

// Busy processes, one per core, that end with the benchmark.
class Load {
public:
    explicit Load(unsigned processes)
    {
        for (unsigned i = 0; i < processes; ++i) {
            const pid_t pid = fork();
            if (pid == 0) {
                prctl(PR_SET_PDEATHSIG, SIGKILL);
                volatile unsigned long spin = 0;
                for (;;) {
                    spin = spin + 1;
                }
            }
            pids_.push_back(pid);
        }
    }
    ~Load()
    {
        for (const pid_t pid : pids_) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }
    Load(const Load&) = delete;
    Load& operator=(const Load&) = delete;

private:
    std::vector<pid_t> pids_;
};

void writeCsv(const std::vector<Scenario>& scenarios, const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return;
    }
    QTextStream out(&file);
    out << "scenario,design,tick,error_ms\n";
    for (const auto& scenario : scenarios) {
        for (std::size_t design = 0; design < 3; ++design) {
            const auto& errors = scenario.errorsMs[design];
            for (std::size_t k = 0; k < errors.size(); ++k) {
                out << scenario.name << ',' << kDesigns[design] << ',' << k + 1 << ','
                    << QString::number(errors[k], 'f', 3) << '\n';
            }
        }
    }
}

void drawPanel(QPainter& painter, const QRect& area, const Scenario& scenario)
{
    int ticks = 2;
    for (const auto& errors : scenario.errorsMs) {
        ticks = std::max(ticks, static_cast<int>(errors.size()));
    }
    double low = 0;
    double high = 1;
    for (const auto& errors : scenario.errorsMs) {
        for (const double error : errors) {
            low = std::min(low, error);
            high = std::max(high, error);
        }
    }
    const double span = high - low;
    low -= span * 0.05;
    high += span * 0.05;
    const QRect plot = area.adjusted(70, 28, -12, -30);
    const auto x = [&](double tick) { return plot.left() + (tick - 1) / (ticks - 1) * plot.width(); };
    const auto y = [&](double error) { return plot.bottom() - (error - low) / (high - low) * plot.height(); };

    painter.setPen(Qt::black);
    painter.drawText(area.adjusted(70, 4, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                     scenario.name + QStringLiteral(": error of tick k against t0 + k s (ms)"));
    painter.setPen(QColor(0xCC, 0xCC, 0xCC));
    for (int i = 0; i <= 4; ++i) {
        const double value = low + (high - low) * i / 4;
        const auto lineY = static_cast<int>(y(value));
        painter.drawLine(plot.left(), lineY, plot.right(), lineY);
        painter.setPen(Qt::black);
        const int decimals = high - low > 20 ? 0 : 1;
        const double shown = std::round(value * std::pow(10, decimals)) / std::pow(10, decimals);
        painter.drawText(QRect(area.left(), lineY - 8, 64, 16), Qt::AlignRight | Qt::AlignVCenter,
                         QString::number(shown + 0.0, 'f', decimals)); // + 0.0: no "-0"
        painter.setPen(QColor(0xCC, 0xCC, 0xCC));
    }
    painter.setPen(Qt::black);
    painter.drawRect(plot);
    painter.drawText(QRect(plot.left(), plot.bottom() + 4, plot.width(), 20), Qt::AlignHCenter,
                     QStringLiteral("tick number (1 to %1)").arg(ticks));
    for (std::size_t design = 0; design < 3; ++design) {
        const auto& errors = scenario.errorsMs[design];
        painter.setPen(QPen(QColor::fromRgb(kColours[design]), 2));
        for (std::size_t k = 1; k < errors.size(); ++k) {
            painter.drawLine(QPointF(x(static_cast<double>(k)), y(errors[k - 1])),
                             QPointF(x(static_cast<double>(k + 1)), y(errors[k])));
        }
        painter.drawText(QPointF(plot.left() + 10, plot.top() + 16 + 16 * static_cast<int>(design)),
                         QString::fromLatin1(kDesigns[design]));
    }
}

void drawPlot(const std::vector<Scenario>& scenarios, const QString& path)
{
    constexpr int kPanelHeight = 260;
    QImage image(900, kPanelHeight * static_cast<int>(scenarios.size()), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    for (std::size_t i = 0; i < scenarios.size(); ++i) {
        drawPanel(painter, QRect(0, static_cast<int>(i) * kPanelHeight, image.width(), kPanelHeight),
                  scenarios[i]);
    }
    painter.end();
    if (!image.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    }
}

void report(const Scenario& scenario, bool withTargets)
{
    std::printf("\n%s\n%-22s %9s %9s %9s %12s %7s\n", qPrintable(scenario.name), "design", "p50 ms",
                "p99 ms", "max ms", "last tick ms", "behind");
    for (std::size_t design = 0; design < 3; ++design) {
        const auto& errors = scenario.errorsMs[design];
        std::vector<double> magnitudes(errors.size());
        std::transform(errors.begin(), errors.end(), magnitudes.begin(), [](double e) { return std::abs(e); });
        std::printf("%-22s %9.2f %9.2f %9.2f %12.2f %6ds\n", kDesigns[design], percentile(magnitudes, 0.5),
                    percentile(magnitudes, 0.99), percentile(magnitudes, 1.0),
                    errors.empty() ? 0.0 : errors.back(), scenario.behindAtEnd[design]);
    }
    const auto& ours = scenario.errorsMs[0];
    std::vector<double> magnitudes(ours.size());
    std::transform(ours.begin(), ours.end(), magnitudes.begin(), [](double e) { return std::abs(e); });
    if (withTargets) {
        const double last = std::abs(ours.back());
        const double p99 = percentile(magnitudes, 0.99);
        std::printf("target: tick source cumulative error <= 2 ms: %.2f ms %s; p99 <= 3 ms: %.2f ms %s\n", last,
                    last <= 2 ? "MET" : "MISSED", p99, p99 <= 3 ? "MET" : "MISSED");
    } else {
        std::printf("target: tick source no second behind after the stall: %d s %s\n", scenario.behindAtEnd[0],
                    scenario.behindAtEnd[0] == 0 ? "MET" : "MISSED");
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication application(argc, argv); // fonts for the plot
    const int ticks = argc > 1 ? std::max(std::atoi(argv[1]), 5) : 60;
    const QString prefix = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("tick_accuracy");

    std::vector<Scenario> scenarios;
    std::printf("%d ticks per design; errors are |tick k time - (t0 + k s)|\n", ticks);
    scenarios.push_back(run(QStringLiteral("idle"), ticks, false));
    report(scenarios.back(), true);
    {
        const Load load(std::max(std::thread::hardware_concurrency(), 1U));
        scenarios.push_back(run(QStringLiteral("both cores busy"), ticks, false));
    }
    report(scenarios.back(), true);
    scenarios.push_back(run(QStringLiteral("loop stalled 2.5 s at tick 3"), std::min(ticks, 10), true));
    report(scenarios.back(), false);

    writeCsv(scenarios, prefix + QStringLiteral(".csv"));
    drawPlot(scenarios, prefix + QStringLiteral(".png"));
    std::printf("\nwrote %s.csv and %s.png\n", qPrintable(prefix), qPrintable(prefix));
    return 0;
}
