// Text helpers for the tables of tests.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace text {

// Glues long inputs together. (Plain string concatenation trips a false -Wrestrict in GCC 12.)
inline std::string cat(std::initializer_list<std::string_view> parts) {
    std::string all;
    for (std::string_view part : parts)
        all.append(part);
    return all;
}

// An input as a failing row shows it: quoted, control characters made visible, long runs cut.
inline std::string shown(std::string_view input) {
    std::string out = "\"";
    for (std::size_t i = 0; i < input.size(); ++i) {
        if (i == 60 && input.size() > 80) {
            out += "...(" + std::to_string(input.size() - 80) + " more)...";
            i = input.size() - 20;
        }
        const unsigned char c = static_cast<unsigned char>(input[i]);
        if (c == '\n')
            out += "\\n";
        else if (c < 0x20 || c == 0x7f)
            out.append("\\x")
                .append(1, "0123456789abcdef"[c >> 4])
                .append(1, "0123456789abcdef"[c & 15]);
        else
            out += static_cast<char>(c);
    }
    return out + "\"";
}

}  // namespace text
