#include <array>
#include <cstdio>

#include "console.h"

namespace {

// One menu entry. The temperature is widened to double and the formula evaluated there, in
// the order written, with double constants; only the result is rounded back to float.
struct Conversion {
    char from;  // scale of the temperature: F, C, K or R
    char to;    // scale of the result
    double (*formula)(double t);
};

constexpr Conversion conversions[] = {
    {'F', 'C', [](double t) { return (t - 32) / 1.8; }},
    {'C', 'F', [](double t) { return t * 1.8 + 32; }},
    {'K', 'C', [](double t) { return t - 273.15; }},
    {'R', 'C', [](double t) { return t * 1.25; }},
    {'C', 'R', [](double t) { return t * 0.8; }},
    {'C', 'K', [](double t) { return t + 273.15; }},
    {'K', 'F', [](double t) { return t * 1.8 - 459.67; }},
    {'F', 'K', [](double t) { return (t + 459.67) / 1.8; }},  // also every other choice
};
constexpr int entries = sizeof conversions / sizeof conversions[0];

// The menu, "1. F to C.\n" to "8. F to K.\n", composed from the table when the program is
// compiled, so that a run copies it instead of formatting eight lines.
constexpr auto menu = [] {
    static_assert(entries <= 9, "one digit a menu number");
    std::array<char, entries * 11 + 1> text = {};
    std::size_t at = 0;
    for (int i = 0; i < entries; ++i) {
        const Conversion& c = conversions[i];
        const char number = static_cast<char>('1' + i);
        for (const char letter : {number, '.', ' ', c.from, ' ', 't', 'o', ' ', c.to, '.', '\n'})
            text[at++] = letter;
    }
    return text;
}();

}  // namespace

// Converts one temperature between the Fahrenheit, Celsius, Kelvin and Reaumur scales.
int main() {
    std::printf("Temperature Converter\n\n"
                "Enter Temperature : ");
    float temperature = 0;
    console::read_real(stdin, temperature);

    std::printf("\n\nPlease select choice\n\n\n%s\nEnter Choice : ", menu.data());
    int choice = 0;
    console::read_whole(stdin, choice);

    const Conversion& conversion =
        conversions[choice >= 1 && choice < entries ? choice - 1 : entries - 1];
    const float result = static_cast<float>(conversion.formula(temperature));
    std::printf("%.2f %c is %.2f %c", static_cast<double>(temperature), conversion.from,
                static_cast<double>(result), conversion.to);

    console::wait_key();
    return console::exit_status("scaleconv");
}
