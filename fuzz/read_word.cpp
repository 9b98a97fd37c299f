// Any bytes through the word reader, into a buffer of 1 to 20 bytes chosen by the first byte:
// no fault, no byte written beyond the buffer, the whole word consumed and its start kept.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>

#include "console.h"
#include "reference.h"
#include "stream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::size_t capacity = 1 + data[0] % 20;
    const Stream input(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
    const std::string_view text = input.text();

    const std::size_t begin = fuzz::skip_space(text);
    std::size_t end = begin;
    while (end < text.size() && !fuzz::space(text[end]))
        ++end;

    // Exactly `capacity` bytes on the heap, so that AddressSanitizer sees any write past them.
    const std::unique_ptr<char[]> word(new char[capacity]);
    std::memset(word.get(), '#', capacity);
    const bool ok = console::read_word(input, std::span(word.get(), capacity));
    FUZZ_CHECK(ok == (begin < text.size()));
    FUZZ_CHECK(input.rest() == text.substr(ok ? end : text.size()));
    if (!ok) {
        FUZZ_CHECK(word[0] == '#');
        return 0;
    }
    const std::size_t kept = std::min(end - begin, capacity - 1);
    FUZZ_CHECK(std::memcmp(word.get(), text.data() + begin, kept) == 0);
    FUZZ_CHECK(word[kept] == '\0');
    return 0;
}
