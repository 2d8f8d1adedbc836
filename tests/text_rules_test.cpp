#include "countdown/text_rules.h"
#include "platform/errors.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <limits>

using namespace timer::countdown;

namespace {

struct ReadCase {
    const char* name;
    std::u16string text;
    std::optional<double> number; // NumberFromText; nullopt = rejected
    double val;                   // ValFromText
};

const ReadCase kReadCases[] = {
    {"two_zeros", u"00", 0.0, 0.0},
    {"leading_zero", u"09", 9.0, 9.0},
    {"minus_one", u"-1", -1.0, -1.0},
    {"plus_sign", u"+7", 7.0, 7.0},
    {"minus_zero", u"-0", -0.0, -0.0},
    {"fraction", u".5", 0.5, 0.5},
    {"trailing_point", u"5.", 5.0, 5.0},
    {"zero_prefixed_fraction", u"00.5", 0.5, 0.5},
    {"exponent", u"1e3", 1000.0, 1000.0},
    {"signed_exponent", u"25E-1", 2.5, 2.5},
    {"blanks_around", u" \t12 ", 12.0, 12.0},
    {"zero_then_blank", u"0 ", 0.0, 0.0},
    {"empty", u"", std::nullopt, 0.0},
    {"letters", u"ab", std::nullopt, 0.0},
    {"one_blank", u" ", std::nullopt, 0.0},
    {"lone_minus", u"-", std::nullopt, 0.0},
    {"lone_point", u".", std::nullopt, 0.0},
    {"number_then_letter", u"7x", std::nullopt, 7.0},
    {"blank_inside", u"1 2", std::nullopt, 1.0},
    {"sign_after_digits", u"5-", std::nullopt, 5.0},
    {"zero_before_minus", u"0-1", std::nullopt, 0.0},
    {"two_points", u"1.2.3", std::nullopt, 1.2},
    {"exponent_without_digits", u"5e", std::nullopt, 5.0},
    {"exponent_sign_only", u"5e+", std::nullopt, 5.0},
    {"double_sign", u"--1", std::nullopt, 0.0},
    {"hexadecimal", u"0x1A", std::nullopt, 0.0},
    {"comma_decimal", u"1,5", std::nullopt, 1.0},
    {"arabic_indic_digit", u"\u0661", 1.0, 1.0},
    {"fullwidth_digit", u"\uFF15", 5.0, 5.0},
    {"persian_digit_then_ascii", u"\u06F30", 30.0, 30.0},
    {"bengali_digit", u"\u09EB", 5.0, 5.0},
    {"digit_beyond_the_bmp", u"\U0001D7D3", 5.0, 5.0},
    {"superscript_is_no_digit", u"\u00B2", std::nullopt, 0.0},
    {"infinity_word", u"inf", std::nullopt, 0.0},
    {"nan_word", u"nan", std::nullopt, 0.0},
    {"below_range_reads_zero", u"1e-400", 0.0, 0.0},
    {"beyond_range", u"1e400", std::nullopt, std::numeric_limits<double>::infinity()},
    {"beyond_range_negative", u"-1e400", std::nullopt, -std::numeric_limits<double>::infinity()},
};

} // namespace

TEST(text_rules_test, readers_agree_where_the_strict_one_accepts)
{
    for (const auto& row : kReadCases) {
        SCOPED_TRACE(row.name);
        const auto number = NumberFromText(row.text);
        ASSERT_EQ(number.has_value(), row.number.has_value());
        if (number) {
            EXPECT_EQ(*number, *row.number);
            EXPECT_EQ(std::signbit(*number), std::signbit(*row.number));
            EXPECT_EQ(ValFromText(row.text), *number);
        }
        EXPECT_EQ(ValFromText(row.text), row.val);
    }
}

// Whole numbers as bare digits; every finite value reads back as it was.
TEST(text_rules_test, text_from_number)
{
    struct Row {
        const char* name;
        double value;
        std::u16string text;
    };
    const Row rows[] = {
        {"nine_without_padding", 9.0, u"9"},
        {"fifty_nine", 59.0, u"59"},
        {"zero", 0.0, u"0"},
        {"negative_zero", -0.0, u"0"},
        {"minus_one", -1.0, u"-1"},
        {"large_whole", 1e15, u"1000000000000000"},
        {"half", 0.5, u"0.5"},
        {"negative_half", -0.5, u"-0.5"},
        {"tenth", 0.1, u"0.1"},
        {"third", 1.0 / 3.0, u"0.3333333333333333"},
        {"infinity", std::numeric_limits<double>::infinity(), u"inf"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(TextFromNumber(row.value), row.text);
        if (std::isfinite(row.value)) {
            EXPECT_EQ(NumberFromText(row.text), row.value);
        }
    }
    EXPECT_EQ(TextFromInteger(60), u"60");
}

TEST(text_rules_test, decrement)
{
    std::feclearexcept(FE_ALL_EXCEPT);
    EXPECT_EQ(Decrement(1.0), 0.0);
    EXPECT_EQ(Decrement(0.0), -1.0);
    EXPECT_EQ(Decrement(0.5), -0.5);
    EXPECT_EQ(Decrement(-std::numeric_limits<double>::max()), -std::numeric_limits<double>::max());
    EXPECT_EQ(Decrement(ValFromText(u"1e-400")), -1.0);

    // A value read beyond a double's range leaves the overflow flag set; a
    // division by zero or an invalid operation is as much an error.
    EXPECT_THROW(Decrement(ValFromText(u"9e999")), timer::platform::ArithmeticError);
    for (const int flag : {FE_DIVBYZERO, FE_INVALID}) {
        std::feclearexcept(FE_ALL_EXCEPT);
        std::feraiseexcept(flag);
        EXPECT_THROW(Decrement(5.0), timer::platform::ArithmeticError);
    }

    // An inexact result or an underflow is not an error.
    std::feclearexcept(FE_ALL_EXCEPT);
    std::feraiseexcept(FE_INEXACT | FE_UNDERFLOW);
    EXPECT_EQ(Decrement(5.0), 4.0);
    std::feclearexcept(FE_ALL_EXCEPT);
}

TEST(text_rules_test, comparisons)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();

    EXPECT_TRUE(IsBelowEleven(10.0));
    EXPECT_TRUE(IsBelowEleven(10.999));
    EXPECT_FALSE(IsBelowEleven(11.0));
    EXPECT_TRUE(IsBelowEleven(-1.0));
    EXPECT_TRUE(IsBelowEleven(nan));

    EXPECT_TRUE(IsEqualToZero(0.0));
    EXPECT_TRUE(IsEqualToZero(-0.0));
    EXPECT_FALSE(IsEqualToZero(-1.0));
    EXPECT_FALSE(IsEqualToZero(0.5));
    EXPECT_TRUE(IsEqualToZero(nan));

    EXPECT_TRUE(IsAboveZero(0.5));
    EXPECT_FALSE(IsAboveZero(0.0));
    EXPECT_FALSE(IsAboveZero(-1.0));
    EXPECT_FALSE(IsAboveZero(nan));
}

TEST(text_rules_test, errors_name_what_went_wrong)
{
    using namespace timer::platform;
    const ConversionError conversion(Display::Label3, u"a\u05D1");
    EXPECT_STREQ(conversion.what(), "Label3: 'a\xD7\x91' is not a number");

    // A lone surrogate cannot go into a message as it is.
    EXPECT_EQ(toUtf8(u"\xD800x"), "\xEF\xBF\xBDx");
    EXPECT_EQ(toUtf8(u"\U0001F600"), "\xF0\x9F\x98\x80");
}
