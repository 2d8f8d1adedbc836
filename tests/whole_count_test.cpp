#include "count_helpers.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>
#include <vector>

using namespace timer::countdown;
using namespace timer::testing;

namespace {

std::u16string typed(int value)
{
    const std::string digits = std::to_string(value);
    return {digits.begin(), digits.end()};
}

// Starts a count from the typed fields and ticks it to its end, checking that
// every tick takes exactly one second off the display and that the one beep
// comes on the tick whose number is the starting total.
void expectWholeCount(int hours, int minutes, int seconds)
{
    SCOPED_TRACE(::testing::Message() << hours << ":" << minutes << ":" << seconds);
    ControlState form;
    typeEntries(form, {typed(hours), typed(minutes), typed(seconds)});
    Command1_Click(form);

    const long total = hours * 3600L + minutes * 60L + seconds;
    ASSERT_EQ(form.timerEnabled(), total > 0);
    long ticks = 0;
    double shown = displayTotal(form);
    while (form.timerEnabled()) {
        ASSERT_LE(ticks, total) << "the count runs past its total";
        Timer1_Timer(form);
        ++ticks;
        const double now = displayTotal(form);
        ASSERT_EQ(now, shown - 1) << "tick " << ticks;
        shown = now;
        ASSERT_EQ(form.beeps(), form.timerEnabled() ? 0U : 1U) << "tick " << ticks;
    }
    EXPECT_EQ(ticks, total);
    EXPECT_EQ(displayTotal(form), 0);
    if (total > 0) {
        EXPECT_EQ(display(form), kAllZero);
        EXPECT_EQ(entries(form), kAllZero);
    }
}

const int kEdges[] = {0, 1, 9, 10, 11, 59, 60, 99};

} // namespace

TEST(whole_count_test, minutes_and_seconds_at_every_edge)
{
    for (const int hours : {0, 1}) {
        for (const int minutes : kEdges) {
            for (const int seconds : kEdges) {
                expectWholeCount(hours, minutes, seconds);
            }
        }
    }
}

TEST(whole_count_test, hours_at_every_edge)
{
    for (const int hours : kEdges) {
        expectWholeCount(hours, 0, 0);
    }
}

TEST(whole_count_test, random_fields)
{
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> field(0, 99);
    std::uniform_int_distribution<int> fewHours(0, 2);
    for (int i = 0; i < 40; ++i) {
        expectWholeCount(fewHours(random), field(random), field(random));
    }
}

TEST(whole_count_test, longest_count_the_boxes_allow)
{
    expectWholeCount(99, 99, 99);
}
