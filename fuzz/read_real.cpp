// Any bytes through the real-number reader: no fault, exactly the characters of the longest
// text that could begin a number consumed, success exactly when that text is a number, and then
// the same float, bit for bit, as the C library's correctly rounded strtof of that text.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "console.h"
#include "reference.h"
#include "stream.h"

namespace {

// The grammar as a table of states: sign, digits, point, digits, e, sign, digits.
enum State { start, sign, whole, lone_point, fraction, e, e_sign, e_digits, stop };

State next(State state, char c) {
    const bool is_digit = fuzz::digit(c);
    const bool is_sign = c == '+' || c == '-';
    const bool is_e = c == 'e' || c == 'E';
    switch (state) {
    case start:
        return is_sign ? sign : is_digit ? whole : c == '.' ? lone_point : stop;
    case sign:
        return is_digit ? whole : c == '.' ? lone_point : stop;
    case whole:
        return is_digit ? whole : c == '.' ? fraction : is_e ? e : stop;
    case lone_point:
        return is_digit ? fraction : stop;
    case fraction:
        return is_digit ? fraction : is_e ? e : stop;
    case e:
        return is_sign ? e_sign : is_digit ? e_digits : stop;
    case e_sign:
    case e_digits:
        return is_digit ? e_digits : stop;
    case stop:
        break;
    }
    return stop;
}

std::uint32_t bits(float f) {
    std::uint32_t b;
    std::memcpy(&b, &f, sizeof b);
    return b;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Stream input(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::string_view text = input.text();

    const std::size_t begin = fuzz::skip_space(text);
    std::size_t at = begin;
    State state = start;
    while (at < text.size()) {
        const State following = next(state, text[at]);
        if (following == stop)
            break;
        state = following;
        ++at;
    }
    const bool is_number = state == whole || state == fraction || state == e_digits;

    float value = 12345.0f;
    const bool ok = console::read_real(input, value);
    FUZZ_CHECK(ok == is_number);
    FUZZ_CHECK(input.rest() == text.substr(at));
    if (!ok) {
        FUZZ_CHECK(bits(value) == bits(12345.0f));
        return 0;
    }
    const std::string number(text.substr(begin, at - begin));
    FUZZ_CHECK(bits(value) == bits(std::strtof(number.c_str(), nullptr)));
    return 0;
}
