#include "count_helpers.h"

#include "platform/errors.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <random>

using namespace timer::countdown;
using namespace timer::testing;

namespace {

// What the count should do, told in plain numbers: no texts, no handlers.
// A field that holds no number is std::nullopt.
class CountModel {
public:
    using Value = std::optional<double>;

    Texts entries{u"00", u"00", u"00"};
    std::array<Value, 3> shown{0.0, 0.0, 0.0};
    bool running = false;
    std::size_t beeps = 0;

    // False when a field holds no number: the start fails there.
    bool start()
    {
        for (std::size_t i = 0; i < 3; ++i) {
            if (entries[i].empty()) {
                entries[i] = u"00";
            }
            shown[i] = valueTyped(entries[i]);
        }
        for (const Value& field : shown) {
            if (!field) {
                return false;
            }
        }
        running = *shown[0] != 0 || *shown[1] != 0 || *shown[2] != 0;
        return true;
    }

    void pause() { running = !running; }

    void reset()
    {
        entries = {u"00", u"00", u"00"};
        shown = {0.0, 0.0, 0.0};
        running = false;
    }

    // Precondition: every field holds a number, and cannotLend() is false.
    void tick()
    {
        double& hours = *shown[0];
        double& minutes = *shown[1];
        double& seconds = *shown[2];
        const auto borrow = [&] {
            if (minutes > 0) {
                minutes -= 1;
                seconds = 60;
                return true;
            }
            if (minutes == 0 && hours > 0) {
                hours -= 1;
                minutes = 59;
                seconds = 60;
                return true;
            }
            return false;
        };
        // Nothing left to count: the count stops without a beep.
        if (seconds < 1 && !borrow()) {
            reset();
            return;
        }
        seconds -= 1;
        if (seconds == 0 && !borrow() && minutes == 0) {
            hours = 0;
        }
        if (hours == 0 && minutes == 0 && seconds == 0) {
            end();
        }
    }

    bool allNumbers() const { return shown[0] && shown[1] && shown[2]; }

    // Seconds below 1 and minutes below 0 that cannot lend them a minute:
    // the tick fails without the hours ever being read.
    bool cannotLend() const { return shown[1] && shown[2] && *shown[2] < 1 && *shown[1] < 0; }

    void end()
    {
        ++beeps;
        reset();
    }

private:
    // The value the display shows for each text the test types.
    static Value valueTyped(const std::u16string& text)
    {
        static const std::map<std::u16string, Value> values{
            {u"00", 0.0}, {u" ", 0.0},   {u"0", 0.0},   {u"5", 5.0},    {u"05", 5.0},
            {u"9", 9.0},  {u"10", 10.0}, {u"59", 59.0}, {u"60", 60.0},  {u"99", 99.0},
            {u"-1", -1.0}, {u".5", 0.5}, {u"ab", std::nullopt},
        };
        return values.at(text);
    }
};

const std::u16string kTypedTexts[] = {u"",   u" ",  u"0",  u"5",  u"05", u"9",  u"10",
                                      u"59", u"60", u"99", u"-1", u".5", u"ab"};

void expectSameAs(const CountModel& model, ControlState& form)
{
    EXPECT_EQ(entries(form), model.entries);
    const Texts shown = display(form);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(NumberFromText(shown[i]), model.shown[i]) << "field " << i;
    }
    EXPECT_EQ(form.timerEnabled(), model.running);
    EXPECT_EQ(form.beeps(), model.beeps);
}

} // namespace

TEST(model_test, random_events_follow_the_model)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> pickEvent(0, 9);
    std::uniform_int_distribution<std::size_t> pickField(0, 2);
    std::uniform_int_distribution<std::size_t> pickText(0, std::size(kTypedTexts) - 1);
    std::uniform_int_distribution<int> pickTicks(1, 130);

    for (int run = 0; run < 300; ++run) {
        ControlState form;
        CountModel model;
        for (int step = 0; step < 40; ++step) {
            SCOPED_TRACE(::testing::Message() << "run " << run << " step " << step);
            const int event = pickEvent(random);
            if (event < 4) {
                const std::size_t field = pickField(random);
                const std::u16string& text = kTypedTexts[pickText(random)];
                form.setText(timer::platform::kFieldPairs[field].entry, text);
                model.entries[field] = text;
            } else if (event < 6) {
                if (model.start()) {
                    EXPECT_NO_THROW(Command1_Click(form));
                } else {
                    EXPECT_THROW(Command1_Click(form), timer::platform::ConversionError);
                }
            } else if (event == 6) {
                Command2_Click(form);
                model.pause();
            } else if (event == 7) {
                Command3_Click(form);
                model.reset();
            } else {
                // A run of ticks, as the tick source gives them while switched on.
                for (int tick = pickTicks(random); tick > 0 && model.running; --tick) {
                    if (model.cannotLend()) {
                        EXPECT_THROW(Timer1_Timer(form), timer::platform::NegativeFieldError);
                        break;
                    }
                    if (!model.allNumbers()) {
                        EXPECT_THROW(Timer1_Timer(form), timer::platform::ConversionError);
                        // What an interrupted tick left is the error tests' business;
                        // the model carries on from the display as it stands.
                        const Texts shown = display(form);
                        for (std::size_t i = 0; i < 3; ++i) {
                            model.shown[i] = NumberFromText(shown[i]);
                        }
                        break;
                    }
                    Timer1_Timer(form);
                    model.tick();
                }
            }
            expectSameAs(model, form);
            if (::testing::Test::HasFailure()) {
                return;
            }
        }
    }
}
