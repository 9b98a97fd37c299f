#include "console.h"
#include "stream.h"

namespace console {

bool read_word(std::FILE* in, std::span<char> word) {
    flush_output();
    int c = skip_space(in);
    if (c == EOF)
        return false;

    // The whole word is consumed, however long, but only what fits is kept.
    std::size_t kept = 0;
    for (; c != EOF && !is_space(c); c = std::getc(in)) {
        if (kept + 1 < word.size())
            word[kept++] = static_cast<char>(c);
    }
    unread(c, in);
    if (!word.empty())
        word[kept] = '\0';
    return true;
}

}  // namespace console
