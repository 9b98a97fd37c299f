// Whole dialogues, byte for byte: each program run with piped standard input and no terminal,
// as a script would run it. With no terminal the closing wait returns at once.

#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "harness.h"
#include "text.h"

namespace {

using text::cat;

struct Row {
    const char* program;
    std::string input;
    std::string expected;  // all of standard output
};

// Runs the row's program on its input, with whatever else `run` sets (arguments, a memory
// limit), and shows the row if the dialogue is not exactly the expected one.
void expect_dialogue(const Row& row, harness::Piped run = {}) {
    run.program = row.program;
    run.input = row.input;
    const harness::Result result = harness::run(run);
    const std::string given = std::string(row.program) + " given " + text::shown(row.input);
    EXPECT_EQ(result.out, row.expected) << given;
    EXPECT_EQ(harness::describe(result.status), "exit 0") << given;
    EXPECT_EQ(result.err, "") << given;
}

void expect_dialogues(const std::vector<Row>& rows) {
    for (const Row& row : rows)
        expect_dialogue(row);
}

// ---------------------------------------------------------------- scaleconv

const std::string scaleconv_dialogue =
    "Temperature Converter\n\n"
    "Enter Temperature : "
    "\n\nPlease select choice\n"
    "\n\n1. F to C.\n2. C to F.\n3. K to C.\n4. R to C.\n"
    "5. C to R.\n6. C to K.\n7. K to F.\n8. F to K.\n\n"
    "Enter Choice : ";

Row scaleconv(std::string_view input, std::string_view result_line) {
    return {SCALECONV, std::string(input), scaleconv_dialogue + std::string(result_line)};
}

TEST(Scaleconv, Conversions) {
    expect_dialogues({
        scaleconv("100\n1\n", "100.00 F is 37.78 C"),
        scaleconv("212\n1\n", "212.00 F is 100.00 C"),
        scaleconv("-40\n1\n", "-40.00 F is -40.00 C"),
        scaleconv("98.6\n1\n", "98.60 F is 37.00 C"),
        scaleconv("100\n2\n", "100.00 C is 212.00 F"),
        scaleconv("-40\n2\n", "-40.00 C is -40.00 F"),
        scaleconv("1e10\n2\n", "10000000000.00 C is 18000001024.00 F"),
        scaleconv("0\n3\n", "0.00 K is -273.15 C"),
        scaleconv("273.15\n3\n", "273.15 K is -0.00 C"),
        scaleconv("80\n4\n", "80.00 R is 100.00 C"),
        scaleconv("100\n5\n", "100.00 C is 80.00 R"),
        scaleconv("0\n6\n", "0.00 C is 273.15 K"),
        scaleconv("0\n7\n", "0.00 K is -459.67 F"),
        scaleconv("373.15\n7\n", "373.15 K is 212.00 F"),
        scaleconv("32\n8\n", "32.00 F is 273.15 K"),
        scaleconv("-459.67\n8\n", "-459.67 F is -0.00 K"),
    });
}

TEST(Scaleconv, AnyOtherChoiceConvertsFahrenheitToKelvin) {
    expect_dialogues({
        scaleconv("32\n0\n", "32.00 F is 273.15 K"),
        scaleconv("32\n9\n", "32.00 F is 273.15 K"),
        scaleconv("32\n-1\n", "32.00 F is 273.15 K"),
        scaleconv("32\n-2147483648\n", "32.00 F is 273.15 K"),
        // Saturated, not wrapped around to 1.
        scaleconv("32\n4294967297\n", "32.00 F is 273.15 K"),
    });
}

TEST(Scaleconv, ChoiceAsWrittenByHand) {
    expect_dialogues({
        scaleconv("0\n2.9\n", "0.00 C is 32.00 F"),
        scaleconv("0\n+3\n", "0.00 K is -273.15 C"),
        scaleconv("0\n03\n", "0.00 K is -273.15 C"),
        scaleconv("0\n3 leftovers\nand more\n", "0.00 K is -273.15 C"),
    });
}

TEST(Scaleconv, LinesAndBlanks) {
    // One line for both answers, and empty lines before each: the output never changes.
    expect_dialogues({
        scaleconv("100 1\n", "100.00 F is 37.78 C"),
        scaleconv("\n\n  \t100\n\n\n   1\n", "100.00 F is 37.78 C"),
        scaleconv("100\r\n1\r\n", "100.00 F is 37.78 C"),
    });
}

TEST(Scaleconv, NoNumberMeansZero) {
    expect_dialogues({
        scaleconv("", "0.00 F is 255.37 K"),
        scaleconv("abc\n1\n", "0.00 F is 255.37 K"),  // the choice read meets the same letter
        scaleconv("100\nx\n", "100.00 F is 310.93 K"),
        scaleconv("100\n", "100.00 F is 310.93 K"),
        scaleconv("100e\n2\n", "0.00 C is 32.00 F"),
        scaleconv("inf\n2\n", "0.00 F is 255.37 K"),
        scaleconv("0x1p3\n2\n", "0.00 F is 255.37 K"),
    });
}

TEST(Scaleconv, BeyondTheRangeOfFloat) {
    expect_dialogues({
        scaleconv("1e50\n2\n", "inf C is inf F"),
        scaleconv("-1e50\n1\n", "-inf F is -inf C"),
        scaleconv("3e38\n2\n", "300000000549775575777803994281145270272.00 C is inf F"),
        scaleconv("1e-50\n6\n", "0.00 C is 273.15 K"),
        scaleconv("-1e-50\n5\n", "-0.00 C is -0.00 R"),
    });
}

// ---------------------------------------------------------------- heatband

Row heatband(std::string_view input, std::string_view message) {
    return {HEATBAND, std::string(input),
            "Enter your Temperature : " + std::string(message) + "Press any key to exit."};
}

const std::string_view hot = "Now Temperature is Hot!!\n\n";
const std::string_view normal = "Now Temperature is Normal!!\n\n";
const std::string_view cool = "Now Temperature is Cool!!\n\n";
const std::string_view unknown = "Unknow Temperature!!\n\n";

TEST(Heatband, BoundsOfTheBands) {
    expect_dialogues({
        heatband("2147483647\n", hot),
        heatband("35\n", hot),
        heatband("34\n", normal),
        heatband("30\n", normal),
        heatband("25\n", normal),
        heatband("24\n", cool),
        heatband("15\n", cool),
        heatband("14\n", unknown),
        heatband("0\n", unknown),
        heatband("-5\n", unknown),
        heatband("-2147483648\n", unknown),
    });
}

TEST(Heatband, NumbersAsWrittenByHand) {
    expect_dialogues({
        heatband("+25\n", normal),
        heatband("015\n", cool),
        heatband("035\n", hot),
        heatband("34.9\n", normal),  // a fraction never lifts a number into the next band
        heatband("14.9\n", unknown),
        heatband("0x40\n", unknown),
        heatband("\n\n   \t35\n", hot),
        heatband("35abc\n", hot),
        heatband("30 40\n", normal),
    });
}

TEST(Heatband, NoNumberOrOutOfRange) {
    expect_dialogues({
        heatband("", unknown),
        heatband("abc\n", unknown),
        heatband("-\n", unknown),
        heatband("2147483648\n", hot),
        heatband("99999999999999999999\n", hot),
        heatband("-99999999999\n", unknown),
    });
}

// ---------------------------------------------------------------- erayear

Row erayear(std::string_view input, std::string_view ce) {
    return {ERAYEAR, std::string(input),
            "Please input your name : >> Please input your BE : >> Your CE is : >> " +
                std::string(ce) + "\n\nPress any key to exit."};
}

TEST(Erayear, Years) {
    expect_dialogues({
        erayear("Somchai\n2558\n", "2015"),
        erayear("Somchai\n544\n", "1"),
        erayear("Somchai\n543\n", "0"),
        erayear("Somchai\n1\n", "-542"),
        erayear("Somchai\n0\n", "-543"),
        erayear("Somchai\n-100\n", "-643"),
        erayear("Somchai\n2147483647\n", "2147483104"),
        erayear("Somchai\n-2147483105\n", "-2147483648"),
        // Beyond what a 32-bit result holds: written exactly, not wrapped around.
        erayear("Somchai\n-2147483648\n", "-2147484191"),
        erayear("Somchai\n99999999999\n", "2147483104"),
    });
}

TEST(Erayear, YearsAsWrittenByHand) {
    expect_dialogues({
        erayear("Somchai\n+2558\n", "2015"),
        erayear("Somchai\n02558\n", "2015"),
        erayear("Somchai\n2558abc\n", "2015"),
        erayear("Somchai\n2558.75\n", "2015"),
        erayear("\n\n  Somchai\n\n\n  2558\n", "2015"),
        erayear("Somchai 2558\n", "2015"),
        erayear("Somchai\t2558 2600\n", "2015"),
    });
}

TEST(Erayear, NamesOfAnyLength) {
    expect_dialogues({
        erayear("abcdefghijklmn 2558\n", "2015"),
        erayear("abcdefghijklmnopqrstuvwxyz 2558\n", "2015"),
        erayear(std::string(100000, 'n').append(" 2558\n"), "2015"),
        // Five letters of three bytes each: fifteen bytes, one more than is kept.
        erayear("\xe0\xb8\xaa\xe0\xb8\xa1\xe0\xb8\x8a\xe0\xb8\xb2\xe0\xb8\xa2 2558\n", "2015"),
    });
}

TEST(Erayear, NoYearMeansZero) {
    expect_dialogues({
        erayear("Somchai Jaidee\n2558\n", "-543"),  // the year read meets the second word
        erayear("Somchai\nx\n", "-543"),
        erayear("Somchai\n0x7E3\n", "-543"),
        erayear("Somchai\n", "-543"),
        erayear("", "-543"),
    });
}

// ---------------------------------------------------------------- all programs

TEST(AllPrograms, IgnoreArguments) {
    for (const Row& row : {scaleconv("100\n1\n", "100.00 F is 37.78 C"), heatband("30\n", normal),
                           erayear("Somchai\n2558\n", "2015")})
        expect_dialogue(row, {.args = {"--help", "2", "-v"}});
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool sanitized = true;
#elif defined(__has_feature)
constexpr bool sanitized = __has_feature(address_sanitizer);
#else
constexpr bool sanitized = false;
#endif

// A single 64 MiB token, read by a program that may use only 32 MiB of address space in all:
// the readers hold a fixed amount of it, however long the input.
TEST(AllPrograms, ReadHugeTokensInBoundedMemory) {
    if (sanitized)
        GTEST_SKIP() << "sanitizer shadow memory needs far more address space";
    const std::size_t huge = 64 << 20;
    const std::string zeros(huge, '0');
    const Row rows[] = {
        scaleconv(cat({"1", zeros, "e-67108864\n", zeros, "1\n"}), "1.00 F is -17.22 C"),
        heatband(cat({zeros, "30\n"}), normal),
        heatband(std::string(huge, '9'), hot),
        erayear(cat({std::string(huge, 'n'), "\n", zeros, "2558\n"}), "2015"),
    };
    for (const Row& row : rows)
        expect_dialogue(row, {.address_space = 32 << 20});
}

TEST(AllPrograms, ReportLostOutput) {
    for (const char* program : {SCALECONV, HEATBAND, ERAYEAR}) {
        const harness::Result result =
            harness::run({.program = program, .input = "1 1\n", .stdout_file = "/dev/full"});
        EXPECT_EQ(harness::describe(result.status), "exit 1") << program;
        const std::string name = std::string(program).substr(std::string(program).rfind('/') + 1);
        EXPECT_EQ(result.err, name + ": write error: No space left on device\n") << program;
    }
}

}  // namespace
