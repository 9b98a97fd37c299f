// The console conventions that every program here follows, written once.
//
// The readers take the place of scanf's "%d", "%f" and "%s". They follow the same rules of
// formatted input, made exact and alike on every platform: "." is always the decimal separator,
// a value never depends on the locale or on the length of the input, and no input, however long
// or odd, can make a read misbehave. Each reader takes characters one at a time from `in`, pushes
// back at most one (the character that ended the read stays unread for the next one), and uses a
// small fixed amount of memory. Each flushes standard output first, so that a prompt is on the
// console before the program waits for the answer.
//
// A failed read leaves its value as it was: programs start their values at 0 and let that stand.
#pragma once

#include <cstdio>
#include <span>

namespace console {

// Reads a whole number. Skips white space (space, \t, \n, \v, \f, \r), then takes an optional
// sign directly followed by decimal digits, always in base ten: leading zeros do not make it octal,
// and in "0x40" the x ends the number 0. The first character that cannot continue the number
// stays unread.
//
// Returns true and stores the number in `value`. A number beyond the range of int saturates to
// INT_MAX or INT_MIN, however many digits it has. Returns false with `value` unchanged when there
// is no digit: at the end of input, or at a character that cannot begin a number (left unread),
// or after a sign that no digit follows (the sign is consumed, the character after it is not).
bool read_whole(std::FILE* in, int& value);

// Reads a real number. Skips white space, then takes an optional sign, decimal digits among which
// one decimal point may stand (at least one digit in all), and an optional exponent: e or E, an
// optional sign, at least one digit. No hexadecimal forms and no words for infinity or
// not-a-number: those stop at their first letter.
//
// The read takes the longest text that could still begin a number and leaves the character that
// stopped it unread. Returns true and stores in `value` the float nearest to the number (ties to
// even), exact for any number of digits and any exponent: an infinity of the number's sign beyond
// the range of float, a zero of its sign below its smallest subnormal. Returns false with `value`
// unchanged when that text is not a whole number: nothing at all, a lone sign or point, or an
// exponent without digits as in "100e" or "1.5E-x". What it took is then gone.
bool read_real(std::FILE* in, float& value);

// Reads a word: skips white space, then takes every character up to the next white space or the
// end of input, which stays unread, so the next read starts after the whole word. Keeps the
// first word.size() - 1 bytes of it in `word` followed by a zero byte and drops the rest.
//
// Returns true when there was a word. Returns false at the end of input, with `word` unchanged.
// `word` must hold at least one byte.
bool read_word(std::FILE* in, std::span<char> word);

// The closing wait: flushes standard output, then waits for one new keystroke at the console,
// without echo and without Enter, and returns. What is left unread in standard input does not
// count, nor does anything typed before the wait began; the key's value is ignored.
//
// With no console to read from (no controlling terminal) it returns at once. On a terminal every
// setting it changes is put back before it returns, and also when a signal ends or stops the
// program during the wait.
void wait_key();

// Tells how the run ends: flushes standard output and returns 0 when everything written reached
// its destination. Otherwise writes "<program>: write error: <reason>" to standard error and
// returns 1, so that lost output is never reported as success.
int exit_status(const char* program);

}  // namespace console
