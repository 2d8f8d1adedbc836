#include "countdown/control_state.h"
#include "countdown/handlers.h"

#include <benchmark/benchmark.h>

namespace {

using timer::platform::Display;

void startLongestCount(timer::countdown::ControlState& form)
{
    form.setCaption(Display::Label1, u"99");
    form.setCaption(Display::Label3, u"99");
    form.setCaption(Display::Label5, u"99");
    form.setTimerEnabled(true);
}

// One tick of a running count on the in-memory controls; the count restarts
// when it reaches zero (once in 362,439 ticks).
void BM_Timer1_Timer(benchmark::State& state)
{
    timer::countdown::ControlState form;
    startLongestCount(form);
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): Google Benchmark's loop
        timer::countdown::Timer1_Timer(form);
        if (!form.timerEnabled()) {
            startLongestCount(form);
        }
    }
    state.SetItemsProcessed(state.iterations());
    benchmark::DoNotOptimize(form.beeps());
}
BENCHMARK(BM_Timer1_Timer);

} // namespace
