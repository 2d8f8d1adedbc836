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
        {"whole_minutes_before_the_hours", {u"01", u"05", u"00"}, 1, {u"01", u"4", u"59"}, true, 0},
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

// Pause/Continue switches the tick source off when it runs and on when it
// stands, and touches no text.
TEST(pause_test, toggles_the_tick_alone)
{
    ControlState form = formWith({u"1", u"2", u"3"}, {u"01", u"02", u"03"}, true);
    Command2_Click(form);
    EXPECT_FALSE(form.timerEnabled());
    Command2_Click(form);
    EXPECT_TRUE(form.timerEnabled());
    EXPECT_EQ(display(form), (Texts{u"01", u"02", u"03"}));
}
