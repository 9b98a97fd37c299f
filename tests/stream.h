// A stdio stream that holds given bytes, read the way standard input is, and what is left of
// them after a read. The reader tests and the fuzz targets both feed the readers through it.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

class Stream {
public:
    explicit Stream(std::string_view bytes)
        : text_(bytes), file_(fmemopen(text_.data(), text_.size(), "r")) {
        if (file_ == nullptr)
            std::abort();
    }
    ~Stream() { std::fclose(file_); }
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;

    operator std::FILE*() const { return file_; }
    std::string_view text() const { return text_; }

    // Everything a reader left for the next read.
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
