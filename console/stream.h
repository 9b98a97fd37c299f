// Character-level helpers the readers share. Classification is by hand rather than by
// <cctype>, whose answers follow the locale; the console's rules do not.
#pragma once

#include <cstdio>

namespace console {

// Flushes standard output and remembers why, if it failed, for exit_status().
void flush_output();

// White space in the sense of formatted input in the "C" locale.
constexpr bool is_space(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

constexpr bool is_digit(int c) { return c >= '0' && c <= '9'; }

// Consumes white space and returns the first other character, or EOF.
inline int skip_space(std::FILE* in) {
    int c = std::getc(in);
    while (is_space(c))
        c = std::getc(in);
    return c;
}

// Leaves `c`, the character that ended a read, for the next read.
inline void unread(int c, std::FILE* in) {
    if (c != EOF)
        std::ungetc(c, in);
}

}  // namespace console
