#include <algorithm>
#include <cstdlib>

#include "console.h"
#include "stream.h"

namespace console {

namespace {

// Counts of digits and exponents stop here: far beyond anything that can matter for a float,
// yet any sum of two of them still fits a long long.
constexpr long long count_limit = 1'000'000'000;

long long saturated(long long x) { return std::clamp(x, -count_limit, count_limit); }

// A decimal number of any length, reduced to what decides its rounding to float. Every float
// and every midpoint between two adjacent floats has at most 113 significant digits, so a number
// that agrees with one of them on its first 113 digits and then goes on with any nonzero digit
// lies strictly beyond it. Keeping more digits than that, plus one sticky digit for all nonzero
// digits dropped, rounds exactly as the whole number would.
class Decimal {
public:
    void integer_digit(int c) {
        if (count_ == 0 && c == '0')
            return;  // a leading zero changes nothing
        if (count_ < kept)
            text_[1 + count_++] = static_cast<char>(c);
        else
            drop(c, +1);
    }

    void fraction_digit(int c) {
        if (count_ == 0 && c == '0') {
            scale_ = saturated(scale_ - 1);
        } else if (count_ < kept) {
            text_[1 + count_++] = static_cast<char>(c);
            scale_ = saturated(scale_ - 1);
        } else {
            drop(c, 0);
        }
    }

    // The nearest float to the number times 10^exponent, ties to even.
    float to_float(bool negative, long long exponent) {
        if (count_ == 0)
            return negative ? -0.0f : 0.0f;

        // The C library converts correctly; it is given only a sign, digits and an exponent,
        // never a decimal point, so the locale cannot change the reading.
        char* p = text_ + 1 + count_;
        long long power = scale_ + saturated(exponent);
        if (dropped_nonzero_) {
            *p++ = '1';
            --power;
        }
        // With at most 121 digits, 10^100000 overflows any float and 10^-100000 underflows it.
        power = std::clamp(power, -100000LL, 100000LL);
        *p++ = 'e';
        if (power < 0) {
            *p++ = '-';
            power = -power;
        }
        char reversed[20];
        int n = 0;
        do {
            reversed[n++] = static_cast<char>('0' + power % 10);
            power /= 10;
        } while (power != 0);
        while (n > 0)
            *p++ = reversed[--n];
        *p = '\0';
        text_[0] = '-';
        return std::strtof(negative ? text_ : text_ + 1, nullptr);
    }

private:
    void drop(int c, int scale_step) {
        dropped_nonzero_ = dropped_nonzero_ || c != '0';
        scale_ = saturated(scale_ + scale_step);
    }

    static constexpr int kept = 120;
    // The text for strtof: a sign, the kept digits, a sticky digit, the exponent.
    char text_[1 + kept + 1 + 2 + 20 + 1];
    int count_ = 0;                 // significant digits kept, from text_[1] on
    bool dropped_nonzero_ = false;  // a nonzero digit was dropped after them
    long long scale_ = 0;           // the number is the digits times 10^scale_
};

}  // namespace

bool read_real(std::FILE* in, float& value) {
    flush_output();
    int c = skip_space(in);
    const bool negative = c == '-';
    if (c == '+' || c == '-')
        c = std::getc(in);

    Decimal number;
    bool any_digit = false;
    for (; is_digit(c); c = std::getc(in)) {
        number.integer_digit(c);
        any_digit = true;
    }
    if (c == '.') {
        for (c = std::getc(in); is_digit(c); c = std::getc(in)) {
            number.fraction_digit(c);
            any_digit = true;
        }
    }
    if (!any_digit) {
        unread(c, in);
        return false;
    }

    long long exponent = 0;
    if (c == 'e' || c == 'E') {
        c = std::getc(in);
        const bool exponent_negative = c == '-';
        if (c == '+' || c == '-')
            c = std::getc(in);
        if (!is_digit(c)) {
            unread(c, in);  // "1e" or "1e+" cannot end a number: the read fails
            return false;
        }
        for (; is_digit(c); c = std::getc(in))
            exponent = std::min(exponent * 10 + (c - '0'), count_limit);
        if (exponent_negative)
            exponent = -exponent;
    }
    unread(c, in);

    value = number.to_float(negative, exponent);
    return true;
}

}  // namespace console
