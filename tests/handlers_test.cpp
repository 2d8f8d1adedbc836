#include "countdown/control_state.h"
#include "countdown/handlers.h"
#include "platform/errors.h"

#include <gtest/gtest.h>

#include <array>
#include <cfenv>
#include <optional>
#include <string>

using namespace timer::countdown;
using timer::platform::Display;
using timer::platform::Entry;
using timer::platform::FieldError;
using timer::platform::kFieldPairs;

namespace {

using Texts = std::array<std::u16string, 3>; // hours, minutes, seconds
using Handler = void (*)(timer::platform::FormsRuntime&);

const Texts kAllZero{u"00", u"00", u"00"};

// The controls with `typed` in the boxes, `shown` on the display and the
// tick source on or off.
ControlState formWith(const Texts& typed, const Texts& shown, bool running)
{
    ControlState form;
    for (std::size_t i = 0; i < kFieldPairs.size(); ++i) {
        form.setText(kFieldPairs[i].entry, typed[i]);
        form.setCaption(kFieldPairs[i].display, shown[i]);
    }
    form.setTimerEnabled(running);
    return form;
}

Texts entries(ControlState& form)
{
    return {form.text(Entry::Text1), form.text(Entry::Text2), form.text(Entry::Text3)};
}

Texts display(ControlState& form)
{
    return {form.caption(Display::Label1), form.caption(Display::Label3), form.caption(Display::Label5)};
}

// Runs `handler`, which must end normally or, when `rejected` names a display
// field, with an error that names it and quotes the text it holds.
void runRejecting(Handler handler, ControlState& form, std::optional<Display> rejected)
{
    try {
        handler(form);
        EXPECT_FALSE(rejected) << "no error";
    } catch (const FieldError& error) {
        ASSERT_TRUE(rejected) << error.what();
        EXPECT_EQ(error.label(), *rejected);
        EXPECT_EQ(error.text(), form.caption(*rejected));
    }
}

// What Start makes of what was typed: the boxes filled, the display copied,
// the count switched on unless the display reads zero; or the first display
// field that is not a number rejected, with the switch left as it was.
struct StartCase {
    const char* name;
    Texts typed;
    bool runningBefore;
    Texts entriesAfter;
    Texts displayAfter;
    bool runningAfter;
    std::optional<Display> rejected;
};

const StartCase kStartCases[] = {
    {"all_empty", {u"", u"", u""}, false, kAllZero, kAllZero, false, {}},
    {"one_empty_one_char", {u"1", u"", u"5"}, false, {u"1", u"00", u"5"}, {u"01", u"00", u"05"}, true, {}},
    {"one_second", {u"00", u"00", u"01"}, false, {u"00", u"00", u"01"}, {u"00", u"00", u"01"}, true, {}},
    {"zero_while_running_stops", kAllZero, true, kAllZero, kAllZero, false, {}},
    {"restart_while_running", {u"1", u"2", u"3"}, true, {u"1", u"2", u"3"}, {u"01", u"02", u"03"}, true, {}},
    {"one_blank_is_not_empty", {u"00", u"00", u" "}, false, {u"00", u"00", u" "}, {u"00", u"00", u"0 "}, false, {}},
    {"negative_seconds_run", {u"00", u"00", u"-1"}, false, {u"00", u"00", u"-1"}, {u"00", u"00", u"-1"}, true, {}},
    {"whole_minutes", {u"00", u"05", u"00"}, false, {u"00", u"05", u"00"}, {u"00", u"05", u"00"}, true, {}},
    {"long_text_copied_unchanged", {u"123", u"0", u"0"}, false, {u"123", u"0", u"0"}, {u"123", u"00", u"00"}, true, {}},
    {"fraction", {u".5", u"", u""}, false, {u".5", u"00", u"00"}, {u".5", u"00", u"00"}, true, {}},
    {"hours_rejected", {u"ab", u"5", u""}, false, {u"ab", u"5", u"00"}, {u"ab", u"05", u"00"}, false, Display::Label1},
    {"minutes_rejected_after_nonzero_hours", {u"1", u"x", u"2"}, true, {u"1", u"x", u"2"}, {u"01", u"0x", u"02"},
     true, Display::Label3},
    {"lone_minus_rejected", {u"00", u"00", u"-"}, false, {u"00", u"00", u"-"}, {u"00", u"00", u"0-"}, false,
     Display::Label5},
    {"hebrew_rejected", {u"00", u"\u05D0", u"00"}, true, {u"00", u"\u05D0", u"00"}, {u"00", u"0\u05D0", u"00"},
     true, Display::Label3},
    // One character outside the Basic Multilingual Plane takes both places.
    {"emoji_rejected", {u"00", u"\U0001F600", u"00"}, false, {u"00", u"\U0001F600", u"00"},
     {u"00", u"\U0001F600", u"00"}, false, Display::Label3},
};

} // namespace

TEST(start_test, copies_entries_and_decides_whether_to_count)
{
    for (const auto& row : kStartCases) {
        SCOPED_TRACE(row.name);
        ControlState form = formWith(row.typed, kAllZero, row.runningBefore);
        runRejecting(Command1_Click, form, row.rejected);
        EXPECT_EQ(entries(form), row.entriesAfter);
        EXPECT_EQ(display(form), row.displayAfter);
        EXPECT_EQ(form.timerEnabled(), row.runningAfter);
        EXPECT_EQ(form.beeps(), 0U);
    }
}

// A count walked tick by tick from a display, with other texts in the boxes
// that the tick never reads: where the count ends, with the beep, every field
// is "00"; where it stops with nothing to count, every field keeps its text.
// A display it cannot count from ends the tick with an error.
TEST(tick_test, walks_from_a_display)
{
    struct Row {
        const char* name;
        Texts shown;
        int ticks;
        Texts after;
        bool running;
        std::size_t beeps;
        std::optional<Display> rejected = {}; // what the last tick rejects; none where it ends normally
    };
    const Row rows[] = {
        // Sixty-two seconds: the seconds borrow a minute and read 60 for one
        // tick; 10 is below 11 and takes a "0" in front, 11 does not.
        {"62s_first_tick", {u"00", u"01", u"02"}, 1, {u"00", u"01", u"01"}, true, 0},
        {"62s_minute_borrow", {u"00", u"01", u"02"}, 2, {u"00", u"0", u"60"}, true, 0},
        {"62s_after_the_borrow", {u"00", u"01", u"02"}, 3, {u"00", u"0", u"59"}, true, 0},
        {"62s_eleven_to_ten", {u"00", u"01", u"02"}, 52, {u"00", u"0", u"10"}, true, 0},
        {"62s_ten_to_nine", {u"00", u"01", u"02"}, 53, {u"00", u"0", u"09"}, true, 0},
        {"62s_end", {u"00", u"01", u"02"}, 62, kAllZero, false, 1},
        {"hour_borrow", {u"01", u"00", u"01"}, 1, {u"0", u"59", u"60"}, true, 0},
        {"minute_borrow_after_an_hour", {u"01", u"00", u"01"}, 61, {u"0", u"58", u"60"}, true, 0},
        {"seventy_five_seconds", {u"00", u"00", u"75"}, 1, {u"00", u"00", u"74"}, true, 0},
        {"fraction_below_eleven", {u"00", u"01", u"1.5"}, 1, {u"00", u"01", u"00.5"}, true, 0},
        // Seconds below 1 borrow a whole minute or hour before they count;
        // whole minutes end after exactly their seconds.
        {"five_whole_minutes", {u"00", u"05", u"00"}, 1, {u"00", u"4", u"59"}, true, 0},
        {"five_whole_minutes_to_the_end", {u"00", u"05", u"00"}, 300, kAllZero, false, 1},
        {"five_whole_minutes_a_second_before", {u"00", u"05", u"00"}, 299, {u"00", u"0", u"01"}, true, 0},
        {"one_whole_hour", {u"01", u"00", u"00"}, 1, {u"0", u"59", u"59"}, true, 0},
        {"fraction_seconds_with_minutes", {u"00", u"01", u".5"}, 1, {u"00", u"0", u"59"}, true, 0},
        {"last_second", {u"00", u"00", u"01"}, 1, kAllZero, false, 1},
        {"last_second_unpadded", {u"0", u"0", u"1"}, 1, kAllZero, false, 1},
        // A tick that begins with seconds of 1 or more counts whatever the
        // hours hold.
        {"negative_hours_over_seconds", {u"-1", u"00", u"03"}, 3, kAllZero, false, 1},
        // Nothing whole to count: the tick stops and every text stays, with
        // no end announced: a zero display switched on by Pause/Continue, a
        // fraction of a unit, or the half minute a count leaves of ".5".
        {"zero_display_switched_on", kAllZero, 1, kAllZero, false, 0},
        {"fraction_seconds_alone", {u"00", u"00", u".5"}, 1, {u"00", u"00", u".5"}, false, 0},
        {"fraction_minutes_alone", {u"00", u".5", u"00"}, 1, {u"00", u".5", u"00"}, false, 0},
        {"half_a_minute_left", {u"00", u".5", u"05"}, 70, {u"00", u"-0.5", u"00"}, false, 0},
        // A text that is not a number, or a field a whole unit below zero
        // where the seconds have run out, end the tick with an error that
        // quotes the field; the count stays switched on for the caller to
        // stop.
        {"not_a_number_seconds_first", {u"ab", u"00", u"x"}, 1, {u"ab", u"00", u"x"}, true, 0, Display::Label5},
        {"not_a_number_hours_after_the_seconds_count", {u"ab", u"00", u"05"}, 1, {u"ab", u"00", u"04"}, true, 0,
         Display::Label1},
        {"not_a_number_minutes_when_borrowing", {u"00", u"ab", u"01"}, 1, {u"00", u"ab", u"00"}, true, 0,
         Display::Label3},
        {"negative_minutes_under_hours", {u"05", u"-1", u"00"}, 1, {u"05", u"-1", u"00"}, true, 0, Display::Label3},
        {"negative_minutes_after_the_seconds", {u"00", u"-1", u"02"}, 3, {u"00", u"-1", u"00"}, true, 0,
         Display::Label3},
        {"negative_seconds_with_minutes", {u"00", u"02", u"-1"}, 1, {u"00", u"02", u"-1"}, true, 0, Display::Label5},
        {"negative_hours_first", {u"-1", u"-1", u"00"}, 1, {u"-1", u"-1", u"00"}, true, 0, Display::Label1},
    };
    const Texts typed{u"1", u"30", u"7"};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ControlState form = formWith(typed, row.shown, true);
        for (int tick = 0; tick < row.ticks && form.timerEnabled(); ++tick) {
            // What a failed conversion in an earlier handler may leave
            // behind (glibc's strtod raises it, the Windows one does not)
            // is no concern of this tick's decrement.
            std::feraiseexcept(FE_OVERFLOW);
            runRejecting(Timer1_Timer, form, tick + 1 == row.ticks ? row.rejected : std::nullopt);
        }
        EXPECT_EQ(display(form), row.after);
        EXPECT_EQ(entries(form), row.beeps == 0 ? typed : kAllZero);
        EXPECT_EQ(form.timerEnabled(), row.running);
        EXPECT_EQ(form.beeps(), row.beeps);
    }
}

namespace {

// Passes every access to the controls and logs it in short, with each beep:
// "R L5" reads Label5, "W T1" writes Text1, "W E" writes Timer1's Enabled.
class AccessLog final : public timer::platform::FormsRuntime {
public:
    explicit AccessLog(ControlState state)
        : state_(std::move(state))
    {
    }

    std::u16string caption(Display label) override
    {
        log('R', name(label));
        return state_.caption(label);
    }
    void setCaption(Display label, std::u16string_view text) override
    {
        log('W', name(label));
        state_.setCaption(label, text);
    }
    std::u16string text(Entry box) override
    {
        log('R', name(box));
        return state_.text(box);
    }
    void setText(Entry box, std::u16string_view text) override
    {
        log('W', name(box));
        state_.setText(box, text);
    }
    bool timerEnabled() override
    {
        trace += "R E ";
        return state_.timerEnabled();
    }
    void setTimerEnabled(bool enabled) override
    {
        trace += "W E ";
        state_.setTimerEnabled(enabled);
    }
    void beep() override { trace += "beep "; }

    // Each step followed by a blank.
    std::string trace;

private:
    void log(char access, std::string_view control) { trace += {access, ' ', control.front(), control.back(), ' '}; }

    ControlState state_;
};

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
        // Seconds below 1 when the tick begins: it looks for a field below
        // zero, then borrows, then counts from what the borrow wrote; with
        // nothing to borrow it stops the count.
        {"tick_from_whole_minutes", Timer1_Timer, kAllZero, {u"00", u"05", u"00"}, true,
         "R L5 " + endTest + "R L3 R L3 W L3 W L5 " + decrement + endTest},
        {"tick_from_whole_hours", Timer1_Timer, kAllZero, {u"01", u"00", u"00"}, true,
         "R L5 " + endTest + "R L3 R L1 R L1 W L1 W L3 W L5 " + decrement + endTest},
        {"tick_on_a_zero_display", Timer1_Timer, kAllZero, kAllZero, true, "R L5 " + endTest + "R L3 R L1 W E "},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        AccessLog logged(formWith(row.typed, row.shown, row.running));
        row.handler(logged);
        EXPECT_EQ(logged.trace, row.expected);
    }
}
