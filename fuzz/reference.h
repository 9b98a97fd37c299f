// What the fuzz targets share: the plain reference scan of the readers' rules, which tells what
// a read must consume and leave, and the check that stops the fuzzer on a broken rule.
#pragma once

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace fuzz {

constexpr bool space(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
constexpr bool digit(char c) { return c >= '0' && c <= '9'; }

inline std::size_t skip_space(std::string_view text, std::size_t at = 0) {
    while (at < text.size() && space(text[at]))
        ++at;
    return at;
}

// Stops the fuzzer with the input that broke a rule.
#define FUZZ_CHECK(condition)                                                        \
    do {                                                                             \
        if (!(condition)) {                                                          \
            std::fprintf(stderr, "check failed: %s (%s:%d)\n", #condition, __FILE__, \
                         __LINE__);                                                  \
            std::abort();                                                            \
        }                                                                            \
    } while (0)

}  // namespace fuzz
