#include "console.h"
#include "stream.h"

namespace console {

bool read_whole(std::FILE* in, int& value) {
    flush_output();
    int c = skip_space(in);
    const bool negative = c == '-';
    if (c == '+' || c == '-')
        c = std::getc(in);
    if (!is_digit(c)) {
        unread(c, in);
        return false;
    }

    // The magnitude stops growing once it passes 2^31, so any number of digits saturates
    // instead of overflowing, and -2147483648 is still exact.
    constexpr long long beyond = 2147483648LL;
    long long magnitude = 0;
    for (; is_digit(c); c = std::getc(in)) {
        if (magnitude <= beyond)
            magnitude = magnitude * 10 + (c - '0');
    }
    unread(c, in);

    if (negative)
        value = magnitude >= beyond ? -2147483647 - 1 : static_cast<int>(-magnitude);
    else
        value = magnitude >= beyond ? 2147483647 : static_cast<int>(magnitude);
    return true;
}

}  // namespace console
