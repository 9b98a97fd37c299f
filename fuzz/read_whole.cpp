// Any bytes through the whole-number reader: no fault, exactly the characters the rules allow
// consumed, and the value the digits spell, clamped to the range of int.

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>

#include "console.h"
#include "reference.h"
#include "stream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Stream input(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::string_view text = input.text();

    std::size_t at = fuzz::skip_space(text);
    const bool negative = at < text.size() && text[at] == '-';
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        ++at;
    const std::size_t first_digit = at;
    while (at < text.size() && fuzz::digit(text[at]))
        ++at;
    const std::string_view digits = text.substr(first_digit, at - first_digit);

    int value = 12345;
    const bool ok = console::read_whole(input, value);
    FUZZ_CHECK(ok == !digits.empty());
    FUZZ_CHECK(input.rest() == text.substr(at));
    if (!ok) {
        FUZZ_CHECK(value == 12345);
        return 0;
    }

    const std::string_view significant =
        digits.substr(std::min(digits.find_first_not_of('0'), digits.size()));
    long long exact = significant.size() > 10 ? LLONG_MAX
                      : significant.empty()   ? 0
                                              : std::stoll(std::string(significant));
    if (negative)
        exact = -exact;
    FUZZ_CHECK(value == std::clamp<long long>(exact, INT_MIN, INT_MAX));
    return 0;
}
