// The formatted readers, row by row: what each input gives and what it leaves unread. Where the
// C library's own formatted input is right (valid numbers in range), the readers must agree with
// it exactly; the rows show where they deliberately differ.

#include <bit>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "console.h"
#include "stream.h"
#include "text.h"

namespace {

using text::cat;
using text::shown;

std::uint32_t bits(float f) { return std::bit_cast<std::uint32_t>(f); }

// ---------------------------------------------------------------- whole numbers

struct WholeRow {
    std::string_view input;
    bool ok;
    int value;
    std::string_view rest;
};

TEST(ReadWhole, Rows) {
    const WholeRow rows[] = {
        {"42", true, 42, ""},
        {" \t\n\v\f\r42\n", true, 42, "\n"},
        {"\n\n\n7 8", true, 7, " 8"},
        {"+25", true, 25, ""},
        {"-5x", true, -5, "x"},
        {"015", true, 15, ""},  // base ten, never octal
        {"0000000000000000000000000000042", true, 42, ""},
        {"0x40", true, 0, "x40"},  // never hexadecimal: the x ends the number
        {"2.9", true, 2, ".9"},
        {"35abc", true, 35, "abc"},
        {"2147483647", true, INT_MAX, ""},
        {"-2147483648", true, INT_MIN, ""},
        // Beyond the range of int: saturated, never wrapped around.
        {"2147483648", true, INT_MAX, ""},
        {"-2147483649", true, INT_MIN, ""},
        {"4294967297", true, INT_MAX, ""},
        {"99999999999999999999999999999999999999 1", true, INT_MAX, " 1"},
        {"-99999999999", true, INT_MIN, ""},
        // No number: the value stays as it was.
        {"", false, 0, ""},
        {"   \n\t ", false, 0, ""},
        {"abc", false, 0, "abc"},
        {".5", false, 0, ".5"},
        {"-", false, 0, ""},
        {"-x", false, 0, "x"},  // the sign is taken, the letter is left
        {"+ 5", false, 0, " 5"},
        {"--5", false, 0, "-5"},
    };
    for (const WholeRow& row : rows) {
        Stream in(row.input);
        int value = -7;
        const bool ok = console::read_whole(in, value);
        EXPECT_EQ(ok, row.ok) << "input " << shown(row.input);
        EXPECT_EQ(value, row.ok ? row.value : -7) << "input " << shown(row.input);
        EXPECT_EQ(in.rest(), row.rest) << "input " << shown(row.input);
    }
}

TEST(ReadWhole, AgreesWithScanfInRange) {
    std::mt19937 random(2026);
    std::uniform_int_distribution<int> any_int(INT_MIN, INT_MAX);
    const char* signs[] = {"", "+", "-"};
    for (int i = 0; i < 20000; ++i) {
        const int n = any_int(random);
        std::string text = std::string(random() % 3, ' ') + signs[random() % 3] +
                           std::string(random() % 4, '0') + std::to_string(n < 0 ? -(n + 1) : n) +
                           std::string(random() % 2, 'z');
        int expected = 0, consumed = 0;
        ASSERT_EQ(std::sscanf(text.c_str(), "%d%n", &expected, &consumed), 1) << shown(text);
        Stream in(text);
        int value = 0;
        EXPECT_TRUE(console::read_whole(in, value)) << shown(text);
        EXPECT_EQ(value, expected) << shown(text);
        EXPECT_EQ(in.rest(), text.substr(static_cast<std::size_t>(consumed))) << shown(text);
    }
}

// ---------------------------------------------------------------- real numbers

struct RealRow {
    std::string input;
    bool ok;
    float value;
    std::string_view rest;
};

const float smallest_subnormal = std::numeric_limits<float>::denorm_min();

TEST(ReadReal, Rows) {
    const float inf = INFINITY;
    const RealRow rows[] = {
        {"98.6", true, 98.6f, ""},
        {"-40", true, -40.0f, ""},
        {".5", true, 0.5f, ""},
        {"5.", true, 5.0f, ""},
        {"+7.25x", true, 7.25f, "x"},
        {" \t\n\v\f\r1e10\n", true, 1e10f, "\n"},
        {"2.5E-3", true, 2.5e-3f, ""},
        {"1e+3 1", true, 1000.0f, " 1"},
        {"1e5.5", true, 1e5f, ".5"},
        {"1.2.3", true, 1.2f, ".3"},
        {"-0", true, -0.0f, ""},
        {"-0e999999", true, -0.0f, ""},
        {"0.000", true, 0.0f, ""},
        // Never hexadecimal: the x ends the number 0.
        {"0x1p3", true, 0.0f, "x1p3"},
        // Beyond the range of float, and below its smallest step.
        {"1e50", true, inf, ""},
        {"-1e50", true, -inf, ""},
        {"1e-50", true, 0.0f, ""},
        {"-1e-50", true, -0.0f, ""},
        {"1e-45", true, smallest_subnormal, ""},
        {"7e-46", true, 0.0f, ""},
        {"1e99999999999999999999999", true, inf, ""},
        {"1e-99999999999999999999999", true, 0.0f, ""},
        // The largest float, and the midpoint above it, which rounds to even: infinity.
        {"3.40282347e38", true, FLT_MAX, ""},
        {"340282356779733661637539395458142568447.999", true, FLT_MAX, ""},
        {"340282356779733661637539395458142568448", true, inf, ""},
        // Digits far beyond any that can be kept still decide the rounding.
        {cat({"1", std::string(10000, '0'), "e-10000"}), true, 1.0f, ""},
        {cat({"0.", std::string(10000, '0'), "1e10001"}), true, 1.0f, ""},
        {"1.000000059604644775390625", true, 1.0f, ""},  // halfway: to even
        {cat({"1.000000059604644775390625", std::string(300, '0'), "1"}), true, 1.00000012f, ""},
        {cat({"1.000000059604644775390624", std::string(300, '9')}), true, 1.0f, ""},
        // No number: the value stays as it was, and what was taken is gone.
        {"", false, 0, ""},
        {"  \n ", false, 0, ""},
        {"abc", false, 0, "abc"},
        {"inf", false, 0, "inf"},
        {"nan", false, 0, "nan"},
        {"-inf", false, 0, "inf"},
        {".", false, 0, ""},
        {".e5", false, 0, "e5"},
        {"+", false, 0, ""},
        {"+-1", false, 0, "-1"},
        {"100e", false, 0, ""},
        {"100e\n2", false, 0, "\n2"},
        {"1.5E-x", false, 0, "x"},
        {"1e+", false, 0, ""},
    };
    for (const RealRow& row : rows) {
        Stream in(row.input);
        float value = -7.0f;
        const bool ok = console::read_real(in, value);
        EXPECT_EQ(ok, row.ok) << "input " << shown(row.input);
        EXPECT_EQ(bits(value), bits(row.ok ? row.value : -7.0f))
            << "input " << shown(row.input) << " gave " << value;
        EXPECT_EQ(in.rest(), row.rest) << "input " << shown(row.input);
    }
}

// Reads `text` both with the reader and with the C library's "%f", which is correctly rounded
// for valid numbers, and expects the same float and the same text left over.
void expect_as_scanf(const std::string& text) {
    float expected = 0;
    int consumed = 0;
    ASSERT_EQ(std::sscanf(text.c_str(), "%f%n", &expected, &consumed), 1) << shown(text);
    Stream in(text);
    float value = 0;
    EXPECT_TRUE(console::read_real(in, value)) << shown(text);
    EXPECT_EQ(bits(value), bits(expected)) << shown(text) << ": " << value << " not " << expected;
    EXPECT_EQ(in.rest(), text.substr(static_cast<std::size_t>(consumed))) << shown(text);
}

std::string digits(std::mt19937& random, std::size_t count) {
    std::string s;
    for (std::size_t i = 0; i < count; ++i)
        s += static_cast<char>('0' + random() % 10);
    return s;
}

TEST(ReadReal, AgreesWithScanfOnDecimalText) {
    std::mt19937 random(1959);
    for (int i = 0; i < 20000; ++i) {
        std::string text = std::string(random() % 2, '\n') + "+-"[random() % 2];
        const std::size_t whole = random() % 45, fraction = random() % 45;
        text += digits(random, whole == 0 && fraction == 0 ? 1 : whole);
        if (fraction > 0 || random() % 4 == 0)
            text += '.' + digits(random, fraction);
        if (random() % 2 == 0) {
            text += "eE"[random() % 2];
            text += std::string(random() % 2, "+-"[random() % 2]);
            text += std::to_string(random() % 100);
        }
        text += std::string(random() % 2, ';');
        expect_as_scanf(text);
    }
}

// The hardest numbers to round: midpoints between adjacent floats, and numbers that differ from
// one only far beyond the digits a reader could hold. Each must land on the right side.
TEST(ReadReal, RoundsMidpointsExactly) {
    std::mt19937 random(1970);
    std::uniform_int_distribution<std::uint32_t> finite(0, 0x7f7ffffe);
    for (int i = 0; i < 4000; ++i) {
        const float low = std::bit_cast<float>(finite(random));
        const float high = std::nextafter(low, INFINITY);
        const double mid = (static_cast<double>(low) + static_cast<double>(high)) / 2;  // exact
        const float even = (bits(low) & 1) == 0 ? low : high;

        char text[1024];
        std::snprintf(text, sizeof text, "%.150e", mid);  // every digit of the midpoint
        std::string exact = text;
        const std::size_t e = exact.find('e');
        const std::string above =
            cat({exact.substr(0, e), std::string(200, '0'), "1", exact.substr(e)});
        std::snprintf(text, sizeof text, "%.800e", std::nextafter(mid, 0.0));  // just below it
        const std::string below = text;

        const struct {
            const std::string& text;
            float expected;
        } cases[] = {{exact, even}, {above, high}, {below, low}};
        for (const auto& c : cases) {
            for (const bool negative : {false, true}) {
                const std::string input = (negative ? "-" : "") + c.text;
                Stream in(input);
                float value = 0;
                EXPECT_TRUE(console::read_real(in, value)) << shown(input);
                EXPECT_EQ(bits(value), bits(negative ? -c.expected : c.expected)) << shown(input);
                expect_as_scanf(input);
            }
        }
    }
}

// ---------------------------------------------------------------- words

struct WordRow {
    std::string_view input;
    bool ok;
    std::string_view word;
    std::string_view rest;
};

TEST(ReadWord, Rows) {
    const WordRow rows[] = {
        {"Somchai", true, "Somchai", ""},
        {" \n\t Alice Smith\n", true, "Alice", " Smith\n"},
        {"name\n2558\n", true, "name", "\n2558\n"},
        {"abcdefghijklmn 2558", true, "abcdefghijklmn", " 2558"},  // 14 bytes: all kept
        // Longer words are taken whole and cut to 14 bytes.
        {"abcdefghijklmnopqrstuvwxyz 2558", true, "abcdefghijklmn", " 2558"},
        {"\xe0\xb8\xaa\xe0\xb8\xa1\xe0\xb8\x8a\xe0\xb8\xb2\xe0\xb8\xa2 2558", true,
         "\xe0\xb8\xaa\xe0\xb8\xa1\xe0\xb8\x8a\xe0\xb8\xb2\xe0\xb8", " 2558"},
        {std::string_view("a\0b c", 5), true, std::string_view("a\0b", 3), " c"},
        {"", false, "", ""},
        {" \n\n ", false, "", ""},
    };
    for (const WordRow& row : rows) {
        Stream in(row.input);
        char word[15] = "unchanged";
        const bool ok = console::read_word(in, word);
        EXPECT_EQ(ok, row.ok) << "input " << shown(row.input);
        const std::string_view kept(word, row.ok ? row.word.size() : 9);
        EXPECT_EQ(kept, row.ok ? row.word : "unchanged") << "input " << shown(row.input);
        EXPECT_EQ(word[kept.size()], '\0') << "input " << shown(row.input);
        EXPECT_EQ(in.rest(), row.rest) << "input " << shown(row.input);
    }
}

TEST(ReadWord, HoldsNoMoreThanItsBuffer) {
    const std::string huge(1 << 20, 'x');
    Stream in(huge + " next");
    char word[4];
    EXPECT_TRUE(console::read_word(in, word));
    EXPECT_EQ(std::string_view(word), "xxx");
    EXPECT_EQ(in.rest(), " next");
}

}  // namespace
