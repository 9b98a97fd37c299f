// What the fuzz targets share: the fuzzer's bytes as the stream a reader takes, and a reference
// scan of the same rules written plainly, to tell what a read must consume and leave.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace fuzz {

// The bytes as a read-only stream, and what is left of them after a read.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size)
        : text_(reinterpret_cast<const char*>(data), size),
          file_(fmemopen(text_.data(), size, "r")) {
        if (file_ == nullptr)
            std::abort();
    }
    ~Input() { std::fclose(file_); }
    Input(const Input&) = delete;
    Input& operator=(const Input&) = delete;

    std::FILE* stream() const { return file_; }
    std::string_view text() const { return text_; }

    std::string rest() const {
        std::string left;
        for (int c; (c = std::getc(file_)) != EOF;)
            left += static_cast<char>(c);
        return left;
    }

private:
    std::string text_;
    std::FILE* file_;
};

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
