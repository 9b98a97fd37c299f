// The closing wait on Windows: the console's own keystroke read, which neither echoes nor
// waits for Enter and does not look at what standard input holds.

#include <conio.h>
#include <cstdio>

#include "console.h"
#include "stream.h"

namespace console {

void wait_key() {
    flush_output();
    const int key = _getch();
    // Arrows and function keys come as two codes; the second must not be left for the shell.
    if (key == 0 || key == 0xe0)
        _getch();
}

}  // namespace console
