#include "count_helpers.h"

#include "platform/errors.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

using namespace timer::countdown;
using namespace timer::testing;
using timer::platform::Access;
using timer::platform::ConversionError;
using timer::platform::FieldError;
using timer::platform::NegativeFieldError;
using timer::platform::Property;
using timer::platform::PropertyAccessError;

namespace {

struct StartCase {
    const char* name;
    Texts typed;
    bool runningBefore;
    Texts entriesAfter;
    Texts displayAfter;
    bool runningAfter;
};

const StartCase kStartCases[] = {
    {"all_empty", {u"", u"", u""}, false, kAllZero, kAllZero, false},
    {"one_empty_one_char", {u"1", u"", u"5"}, false, {u"1", u"00", u"5"}, {u"01", u"00", u"05"}, true},
    {"one_second", {u"00", u"00", u"01"}, false, {u"00", u"00", u"01"}, {u"00", u"00", u"01"}, true},
    {"zero_while_running_stops", kAllZero, true, kAllZero, kAllZero, false},
    {"restart_while_running", {u"1", u"2", u"3"}, true, {u"1", u"2", u"3"}, {u"01", u"02", u"03"}, true},
    {"one_blank_is_not_empty", {u"00", u"00", u" "}, false, {u"00", u"00", u" "}, {u"00", u"00", u"0 "}, false},
    {"negative_seconds_run", {u"00", u"00", u"-1"}, false, {u"00", u"00", u"-1"}, {u"00", u"00", u"-1"}, true},
    {"whole_minutes", {u"00", u"05", u"00"}, false, {u"00", u"05", u"00"}, {u"00", u"05", u"00"}, true},
    {"long_text_copied_unchanged", {u"123", u"0", u"0"}, false, {u"123", u"0", u"0"}, {u"123", u"00", u"00"}, true},
    {"fraction", {u".5", u"", u""}, false, {u".5", u"00", u"00"}, {u".5", u"00", u"00"}, true},
};

} // namespace

TEST(start_test, copies_entries_and_decides_whether_to_count)
{
    for (const auto& row : kStartCases) {
        SCOPED_TRACE(row.name);
        ControlState form;
        form.setTimerEnabled(row.runningBefore);
        typeEntries(form, row.typed);

        Command1_Click(form);

        EXPECT_EQ(entries(form), row.entriesAfter);
        EXPECT_EQ(display(form), row.displayAfter);
        EXPECT_EQ(form.timerEnabled(), row.runningAfter);
        EXPECT_EQ(form.beeps(), 0U);
    }
}

TEST(start_test, twice_leaves_the_state_of_once)
{
    ControlState once;
    ControlState twice;
    for (ControlState* form : {&once, &twice}) {
        typeEntries(*form, {u"", u"7", u"30"});
        Command1_Click(*form);
    }
    Command1_Click(twice);
    EXPECT_EQ(display(twice), display(once));
    EXPECT_EQ(entries(twice), entries(once));
    EXPECT_EQ(twice.timerEnabled(), once.timerEnabled());
}

TEST(start_test, rejected_text_ends_it_before_the_switch)
{
    struct Row {
        const char* name;
        Texts typed;
        Display rejected;
        std::u16string rejectedText;
        Texts displayAfter;
    };
    const Row rows[] = {
        {"hours", {u"ab", u"5", u""}, Display::Label1, u"ab", {u"ab", u"05", u"00"}},
        {"minutes_after_nonzero_hours", {u"1", u"x", u"2"}, Display::Label3, u"0x", {u"01", u"0x", u"02"}},
        {"seconds", {u"00", u"00", u"-"}, Display::Label5, u"0-", {u"00", u"00", u"0-"}},
        {"hebrew", {u"00", u"\u05D0", u"00"}, Display::Label3, u"0\u05D0", {u"00", u"0\u05D0", u"00"}},
        // One character outside the Basic Multilingual Plane takes both places.
        {"emoji", {u"00", u"\U0001F600", u"00"}, Display::Label3, u"\U0001F600", {u"00", u"\U0001F600", u"00"}},
    };
    for (const auto& row : rows) {
        for (const bool runningBefore : {false, true}) {
            SCOPED_TRACE(std::string(row.name) + (runningBefore ? " running" : " stopped"));
            ControlState form;
            form.setTimerEnabled(runningBefore);
            typeEntries(form, row.typed);
            try {
                Command1_Click(form);
                ADD_FAILURE() << "no conversion error";
            } catch (const ConversionError& error) {
                EXPECT_EQ(error.label(), row.rejected);
                EXPECT_EQ(error.text(), row.rejectedText);
            }
            EXPECT_EQ(display(form), row.displayAfter);
            EXPECT_EQ(form.timerEnabled(), runningBefore);
        }
    }
}

TEST(pause_test, toggles_the_switch_and_nothing_else)
{
    ControlState form;
    typeEntries(form, {u"", u"1", u"30"});
    Command1_Click(form);
    Timer1_Timer(form);
    const Texts shown = display(form);

    Command2_Click(form);
    EXPECT_FALSE(form.timerEnabled());
    EXPECT_EQ(display(form), shown);
    Command2_Click(form);
    EXPECT_TRUE(form.timerEnabled());
    EXPECT_EQ(display(form), shown);
    Timer1_Timer(form);
    EXPECT_EQ(display(form), (Texts{u"00", u"01", u"28"}));
}

TEST(reset_test, zeroes_every_field_and_stops_without_a_beep)
{
    for (const bool running : {true, false}) {
        SCOPED_TRACE(running ? "running" : "stopped");
        ControlState form;
        typeEntries(form, {u"1", u"2", u"3"});
        Command1_Click(form);
        form.setTimerEnabled(running);

        Command3_Click(form);

        EXPECT_EQ(display(form), kAllZero);
        EXPECT_EQ(entries(form), kAllZero);
        EXPECT_FALSE(form.timerEnabled());
        EXPECT_EQ(form.beeps(), 0U);

        // A Start right after finds nothing to count.
        Command1_Click(form);
        EXPECT_FALSE(form.timerEnabled());
    }
}

namespace {

struct Row {
    int tick;
    Texts display;
};

void expectCount(const Texts& shown, const std::vector<Row>& rows)
{
    ControlState form;
    showOnDisplay(form, shown);
    form.setTimerEnabled(true);
    int tick = 0;
    for (const auto& row : rows) {
        while (tick < row.tick) {
            Timer1_Timer(form);
            ++tick;
        }
        SCOPED_TRACE(::testing::Message() << "after tick " << tick);
        EXPECT_EQ(display(form), row.display);
    }
}

} // namespace

TEST(tick_test, count_of_sixty_two_seconds)
{
    expectCount({u"00", u"01", u"02"}, {
                                           {1, {u"00", u"01", u"01"}},
                                           {2, {u"00", u"0", u"60"}},
                                           {3, {u"00", u"0", u"59"}},
                                           {51, {u"00", u"0", u"11"}},
                                           {52, {u"00", u"0", u"10"}},
                                           {53, {u"00", u"0", u"09"}},
                                           {61, {u"00", u"0", u"01"}},
                                           {62, kAllZero},
                                       });
}

TEST(tick_test, count_across_an_hour_borrow)
{
    expectCount({u"01", u"00", u"01"}, {
                                           {1, {u"0", u"59", u"60"}},
                                           {2, {u"0", u"59", u"59"}},
                                           {60, {u"0", u"59", u"01"}},
                                           {61, {u"0", u"58", u"60"}},
                                       });
}

TEST(tick_test, first_ticks_from_edge_displays)
{
    struct Case {
        const char* name;
        Texts before;
        Texts after;
    };
    const Case cases[] = {
        {"ten_minutes_one_second", {u"00", u"10", u"01"}, {u"00", u"9", u"60"}},
        {"seventy_five_seconds", {u"00", u"00", u"75"}, {u"00", u"00", u"74"}},
        {"ten_seconds_gets_prefix", {u"00", u"00", u"10"}, {u"00", u"00", u"09"}},
        {"eleven_seconds_without_prefix", {u"00", u"00", u"11"}, {u"00", u"00", u"10"}},
        {"fraction_below_eleven", {u"00", u"01", u"1.5"}, {u"00", u"01", u"00.5"}},
        // Seconds below 1 borrow before they count.
        {"five_whole_minutes", {u"00", u"05", u"00"}, {u"00", u"4", u"59"}},
        {"one_whole_hour", {u"01", u"00", u"00"}, {u"0", u"59", u"59"}},
        {"negative_seconds_with_minutes", {u"00", u"02", u"-1"}, {u"00", u"1", u"59"}},
        {"fraction_seconds_with_minutes", {u"00", u"01", u".5"}, {u"00", u"0", u"59"}},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        ControlState form;
        showOnDisplay(form, row.before);
        form.setTimerEnabled(true);
        Timer1_Timer(form);
        EXPECT_EQ(display(form), row.after);
        EXPECT_TRUE(form.timerEnabled());
        EXPECT_EQ(form.beeps(), 0U);
    }
}

TEST(tick_test, ends_the_count)
{
    struct Case {
        const char* name;
        Texts before;
        std::size_t beeps;
    };
    const Case cases[] = {
        {"last_second", {u"00", u"00", u"01"}, 1},
        {"last_second_unpadded", {u"0", u"0", u"1"}, 1},
        // Nothing to borrow, so nothing was counted and no end is announced: a
        // zero display switched on by Pause/Continue, or fields below zero
        // with nothing above them.
        {"zero_display_switched_on", kAllZero, 0},
        {"negative_seconds_alone", {u"00", u"00", u"-1"}, 0},
        {"fraction_seconds_alone", {u"00", u"00", u".5"}, 0},
        {"negative_hours", {u"-1", u"00", u"00"}, 0},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        ControlState form;
        typeEntries(form, {u"1", u"30", u"7"});
        showOnDisplay(form, row.before);
        form.setTimerEnabled(true);
        Timer1_Timer(form);
        EXPECT_EQ(display(form), kAllZero);
        EXPECT_EQ(entries(form), kAllZero);
        EXPECT_FALSE(form.timerEnabled());
        EXPECT_EQ(form.beeps(), row.beeps);
    }
}

TEST(tick_test, counts_whole_minutes_to_the_end)
{
    ControlState form;
    typeEntries(form, {u"00", u"05", u"00"});
    Command1_Click(form);
    int ticks = 0;
    while (form.timerEnabled() && ticks < 1000) {
        Timer1_Timer(form);
        ++ticks;
        EXPECT_EQ(form.beeps(), form.timerEnabled() ? 0U : 1U);
    }
    EXPECT_EQ(ticks, 300);
}

TEST(tick_test, entries_typed_during_a_count_are_ignored_then_cleared)
{
    ControlState form;
    typeEntries(form, {u"", u"", u"3"});
    Command1_Click(form);
    Timer1_Timer(form);
    form.setText(Entry::Text2, u"30");
    Timer1_Timer(form);
    EXPECT_EQ(display(form), (Texts{u"00", u"00", u"01"}));
    Timer1_Timer(form);
    EXPECT_EQ(entries(form), kAllZero);
    EXPECT_EQ(form.beeps(), 1U);
}

// A text that is not a number, or minutes below zero that must lend a
// minute, end the tick with an error that quotes the field.
TEST(tick_test, display_it_cannot_count_from_ends_the_tick)
{
    struct Case {
        const char* name;
        Texts before;
        Display rejected;
        bool belowZero;
        Texts after;
    };
    const Case cases[] = {
        {"seconds_first", {u"ab", u"00", u"x"}, Display::Label5, false, {u"ab", u"00", u"x"}},
        {"hours_after_the_seconds_count", {u"ab", u"00", u"05"}, Display::Label1, false, {u"ab", u"00", u"04"}},
        {"minutes_when_borrowing", {u"00", u"ab", u"01"}, Display::Label3, false, {u"00", u"ab", u"00"}},
        {"negative_minutes_under_hours", {u"05", u"-1", u"00"}, Display::Label3, true, {u"05", u"-1", u"00"}},
        {"negative_minutes_alone", {u"00", u"-1", u"00"}, Display::Label3, true, {u"00", u"-1", u"00"}},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        ControlState form;
        showOnDisplay(form, row.before);
        form.setTimerEnabled(true);
        try {
            Timer1_Timer(form);
            ADD_FAILURE() << "no error";
        } catch (const FieldError& error) {
            EXPECT_EQ(error.label(), row.rejected);
            EXPECT_EQ(error.text(), form.caption(row.rejected));
            EXPECT_EQ(dynamic_cast<const NegativeFieldError*>(&error) != nullptr, row.belowZero);
        }
        EXPECT_EQ(display(form), row.after);
        EXPECT_TRUE(form.timerEnabled());
        EXPECT_EQ(form.beeps(), 0U);
    }
}

namespace {

// The tick source's name among the controls.
constexpr std::string_view kTimerName = "Timer1";

// Passes every access to a ControlState and logs it, so a test can see where
// a handler stopped. Seconds reads can be scripted to change under the handler,
// and one access can be made to fail.
class AccessLog final : public timer::platform::FormsRuntime {
public:
    struct Entry {
        std::string control;
        Property property;
        Access access;
        bool operator==(const Entry&) const = default;
    };

    explicit AccessLog(ControlState& state)
        : state_(state)
    {
    }

    std::u16string caption(Display label) override
    {
        log(name(label), Property::Caption, Access::Read);
        std::u16string text = state_.caption(label);
        if (label == Display::Label5 && !scriptedSeconds.empty()) {
            text = scriptedSeconds.front();
            scriptedSeconds.pop_front();
        }
        return text;
    }
    void setCaption(Display label, std::u16string_view text) override
    {
        log(name(label), Property::Caption, Access::Write);
        state_.setCaption(label, text);
    }
    std::u16string text(timer::platform::Entry box) override
    {
        log(name(box), Property::Text, Access::Read);
        return state_.text(box);
    }
    void setText(timer::platform::Entry box, std::u16string_view text) override
    {
        log(name(box), Property::Text, Access::Write);
        state_.setText(box, text);
    }
    bool timerEnabled() override
    {
        log(kTimerName, Property::Enabled, Access::Read);
        return state_.timerEnabled();
    }
    void setTimerEnabled(bool enabled) override
    {
        log(kTimerName, Property::Enabled, Access::Write);
        state_.setTimerEnabled(enabled);
    }
    void beep() override
    {
        trace += "beep ";
        state_.beep();
    }

    std::vector<Entry> entries;
    // The accesses and beeps in order, in short: "R L5 W T1 R E beep ...".
    std::string trace;
    std::deque<std::u16string> scriptedSeconds;
    // The access (counted from 1) that throws PropertyAccessError, logged but
    // not passed on.
    std::optional<std::size_t> failingAccess;

private:
    void log(std::string_view control, Property property, Access access)
    {
        entries.push_back({std::string(control), property, access});
        trace += access == Access::Read ? "R " : "W ";
        trace += property == Property::Enabled ? std::string("E") : control.front() + std::string(1, control.back());
        trace += ' ';
        if (failingAccess == entries.size()) {
            throw PropertyAccessError(control, property, access);
        }
    }

    ControlState& state_;
};

using Handler = void (*)(timer::platform::FormsRuntime&);

struct FaultCase {
    const char* name;
    Handler handler;
    Texts typed;
    Texts shown;
    bool running;
};

const FaultCase kFaultCases[] = {
    {"start", Command1_Click, {u"", u"5", u"30"}, kAllZero, false},
    {"pause", Command2_Click, kAllZero, kAllZero, true},
    {"reset", Command3_Click, {u"1", u"2", u"3"}, {u"01", u"02", u"03"}, true},
    {"tick_hour_borrow", Timer1_Timer, kAllZero, {u"01", u"00", u"01"}, true},
    {"tick_whole_minutes", Timer1_Timer, kAllZero, {u"00", u"05", u"00"}, true},
    {"tick_end_of_count", Timer1_Timer, kAllZero, {u"00", u"00", u"01"}, true},
    {"tick_zero_display", Timer1_Timer, kAllZero, kAllZero, true},
};

void prepare(ControlState& state, const FaultCase& row)
{
    typeEntries(state, row.typed);
    showOnDisplay(state, row.shown);
    state.setTimerEnabled(row.running);
}

} // namespace

// Each path through a handler makes its reads and writes in the order of its
// steps: a field needed twice is read twice, and nothing is read ahead.
TEST(access_order_test, each_path_makes_its_steps_accesses_in_order)
{
    struct Row {
        const char* name;
        Handler handler;
        Texts typed;
        Texts shown;
        bool running;
        std::string expected;
    };
    const std::string fill = "R T1 W T1 R T2 R T3 ";   // Text1 empty
    const std::string copy = "R T1 R T1 W L1 R T2 R T2 W L3 R T3 R T3 W L5 ";
    const std::string sevenZeros = "W L1 W L3 W L5 W T1 W T2 W T3 W E ";
    const std::string decrement = "R L5 R L5 W L5 R L5 "; // threshold, decrement, zero test
    const std::string endTest = "R L1 R L3 R L5 ";
    const Row rows[] = {
        {"start_fills_copies_and_runs", Command1_Click, {u"", u"5", u"30"}, kAllZero, false,
         fill + copy + endTest + "W E "},
        {"start_on_zero_entries_stops", Command1_Click, {u"00", u"0", u""}, kAllZero, true,
         "R T1 R T2 R T3 W T3 " + copy + endTest + "W E "},
        {"pause_while_running", Command2_Click, kAllZero, {u"00", u"00", u"09"}, true, "R E W E "},
        {"continue_while_stopped", Command2_Click, kAllZero, kAllZero, false, "R E W E "},
        {"reset", Command3_Click, {u"1", u"2", u"3"}, {u"01", u"02", u"03"}, true, sevenZeros},
        {"tick_below_eleven", Timer1_Timer, kAllZero, {u"00", u"00", u"05"}, true, decrement + endTest},
        {"tick_from_eleven_up", Timer1_Timer, kAllZero, {u"00", u"00", u"30"}, true, decrement + endTest},
        {"tick_minute_borrow", Timer1_Timer, kAllZero, {u"00", u"01", u"01"}, true,
         decrement + "R L3 R L3 W L3 W L5 " + endTest},
        {"tick_hour_borrow", Timer1_Timer, kAllZero, {u"01", u"00", u"01"}, true,
         decrement + "R L3 R L3 R L1 R L1 W L1 W L3 W L5 " + endTest},
        {"tick_end_of_count", Timer1_Timer, kAllZero, {u"00", u"00", u"01"}, true,
         decrement + "R L3 R L3 R L1 W L1 W L3 " + endTest + "beep " + sevenZeros},
        {"tick_minutes_negative", Timer1_Timer, kAllZero, {u"00", u"-1", u"01"}, true,
         decrement + "R L3 R L3 " + endTest},
        // Seconds below 1 when the tick begins: it borrows first, then counts
        // from what the borrow wrote; with nothing to borrow it ends the count.
        {"tick_from_whole_minutes", Timer1_Timer, kAllZero, {u"00", u"05", u"00"}, true,
         "R L5 R L3 R L3 W L3 W L5 " + decrement + endTest},
        {"tick_from_whole_hours", Timer1_Timer, kAllZero, {u"01", u"00", u"00"}, true,
         "R L5 R L3 R L3 R L1 R L1 W L1 W L3 W L5 " + decrement + endTest},
        {"tick_on_a_zero_display", Timer1_Timer, kAllZero, kAllZero, true,
         "R L5 R L3 R L3 R L1 " + sevenZeros},
    };
    for (const auto& row : rows) {
        ControlState state;
        typeEntries(state, row.typed);
        showOnDisplay(state, row.shown);
        state.setTimerEnabled(row.running);
        AccessLog form(state);
        row.handler(form);
        EXPECT_EQ(form.trace, row.expected) << row.name;
    }
}

// A conversion that raises a floating-point flag leaves nothing behind for
// the next handler's decrement.
TEST(access_order_test, no_flag_leaks_into_the_next_handler)
{
    ControlState form;
    typeEntries(form, {u"00", u"00", u"9e999"});
    EXPECT_THROW(Command1_Click(form), ConversionError);
    // What the conversion may leave: glibc's strtod raises the flag, the
    // Windows one does not.
    std::feraiseexcept(FE_OVERFLOW);
    typeEntries(form, {u"00", u"00", u"05"});
    Command1_Click(form);
    EXPECT_NO_THROW(Timer1_Timer(form));
    EXPECT_EQ(display(form), (Texts{u"00", u"00", u"04"}));
}

TEST(error_path_test, failed_access_ends_the_handler_at_that_access)
{
    for (const auto& row : kFaultCases) {
        ControlState cleanState;
        prepare(cleanState, row);
        AccessLog clean(cleanState);
        row.handler(clean);
        const std::size_t total = clean.entries.size();
        ASSERT_GT(total, 0U) << row.name;

        for (std::size_t n = 1; n <= total; ++n) {
            SCOPED_TRACE(::testing::Message() << row.name << ", access " << n << " of " << total);
            ControlState state;
            prepare(state, row);
            AccessLog logged(state);
            logged.failingAccess = n;
            try {
                row.handler(logged);
                ADD_FAILURE() << "no access error";
            } catch (const PropertyAccessError& error) {
                const auto& failed = clean.entries[n - 1];
                EXPECT_EQ(error.control(), failed.control);
                EXPECT_EQ(error.property(), failed.property);
                EXPECT_EQ(error.access(), failed.access);
            }
            // The same accesses as the clean run up to the failing one, then none.
            const std::vector<AccessLog::Entry> prefix(clean.entries.begin(),
                                                       clean.entries.begin() + static_cast<long>(n));
            EXPECT_EQ(logged.entries, prefix);
            // The end of a count beeps just before its seven zero writes.
            const bool beepedBeforeFailing = cleanState.beeps() == 1 && n > total - 7;
            EXPECT_EQ(state.beeps(), beepedBeforeFailing ? 1U : 0U);
        }
    }
}

TEST(error_path_test, overflowing_decrement_is_an_arithmetic_error)
{
    // The seconds read as 5 for the threshold, then as a value beyond a double
    // for the decrement below 11.
    ControlState state;
    showOnDisplay(state, {u"00", u"01", u"05"});
    state.setTimerEnabled(true);
    AccessLog form(state);
    form.scriptedSeconds = {u"5", u"-9e999"};

    EXPECT_THROW(Timer1_Timer(form), timer::platform::ArithmeticError);
    EXPECT_EQ(display(state), (Texts{u"00", u"01", u"05"}));
    EXPECT_TRUE(state.timerEnabled());
}
