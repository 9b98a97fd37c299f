// The closing wait on a POSIX terminal: one keystroke read straight from the controlling
// terminal with echo, line editing, signal keys and flow control switched off, and the
// terminal's settings put back exactly as they were on every way out, signals included.

#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include "console.h"
#include "stream.h"

namespace console {

namespace {

// The signal handler needs these; they are set before it is installed.
int tty = -1;
termios saved;  // the settings as the wait found them
termios raw;    // the settings of the wait
volatile std::sig_atomic_t waiting = 0;

// Signals whose default action ends the program, and which may come while it waits. SIGTSTP,
// which stops it, is handled too. SIGTTIN and SIGTTOU keep their default action: they only come
// while the program is in the background, where the terminal belongs to another job.
constexpr int handled_signals[] = {SIGHUP, SIGINT,  SIGQUIT, SIGTERM,
                                   SIGALRM, SIGUSR1, SIGUSR2, SIGTSTP};
constexpr int handled_count = sizeof handled_signals / sizeof handled_signals[0];

// How long the rest of a keystroke (an escape sequence, a UTF-8 character) may take to arrive
// after its first byte. Terminals send a key's bytes together, so this only delays a lone Esc.
constexpr int rest_of_key_ms = 50;

int set_terminal(int when, const termios& settings) {
    int r;
    do
        r = tcsetattr(tty, when, &settings);
    while (r != 0 && errno == EINTR);
    return r;
}

// Puts the terminal back, then lets the signal take its default effect. If that effect was
// to stop the program, the wait resumes once it continues.
extern "C" void on_signal(int signo) {
    const int saved_errno = errno;
    tcsetattr(tty, TCSANOW, &saved);

    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    struct sigaction ours;
    sigaction(signo, &action, &ours);
    raise(signo);  // delivered at once: the handler runs with SA_NODEFER

    // Only a stop comes back here, after SIGCONT.
    sigaction(signo, &ours, nullptr);
    if (waiting)
        tcsetattr(tty, TCSAFLUSH, &raw);
    errno = saved_errno;
}

void catch_signals(struct sigaction (&previous)[handled_count]) {
    struct sigaction action = {};
    action.sa_handler = on_signal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_NODEFER;  // no SA_RESTART: a signal interrupts the read
    for (int i = 0; i < handled_count; ++i) {
        sigaction(handled_signals[i], nullptr, &previous[i]);
        // A signal ignored by whoever started the program (nohup, a background job of a
        // non-interactive shell) stays ignored.
        if (previous[i].sa_handler != SIG_IGN)
            sigaction(handled_signals[i], &action, nullptr);
    }
}

void release_signals(const struct sigaction (&previous)[handled_count]) {
    for (int i = 0; i < handled_count; ++i)
        sigaction(handled_signals[i], &previous[i], nullptr);
}

// One byte of the terminal: blocks until there is one when `timeout_ms` is negative, otherwise
// waits at most that long. Returns the byte, or -1 for none (time up, hang-up or error).
int next_byte(int timeout_ms) {
    if (timeout_ms >= 0) {
        pollfd ready = {tty, POLLIN, 0};
        int r;
        do
            r = poll(&ready, 1, timeout_ms);
        while (r < 0 && errno == EINTR);
        if (r <= 0 || (ready.revents & POLLIN) == 0)
            return -1;
    }
    unsigned char byte;
    ssize_t n;
    do
        n = read(tty, &byte, 1);
    while (n < 0 && errno == EINTR);
    return n == 1 ? byte : -1;
}

// Many keys send several bytes: arrows and function keys an escape sequence, letters beyond
// ASCII a UTF-8 sequence. Takes the rest of the keystroke begun by `first`, so that no byte of
// it is left over for whatever reads the terminal next.
void take_rest_of_key(int first) {
    if (first == 0x1b) {
        const int second = next_byte(rest_of_key_ms);
        if (second == 'O') {  // SS3: one final byte, as in F1 "\eOP"
            next_byte(rest_of_key_ms);
        } else if (second == '[') {  // CSI: parameters up to a final byte, as in "\e[15~"
            for (int i = 0; i < 16; ++i) {
                const int b = next_byte(rest_of_key_ms);
                if (b < 0x20 || b > 0x3f) {
                    if (i == 0 && b == '[')  // the Linux console's F1 to F5, "\e[[A"
                        next_byte(rest_of_key_ms);
                    break;
                }
            }
        }
        return;
    }
    int more = first >= 0xf0 ? 3 : first >= 0xe0 ? 2 : first >= 0xc0 ? 1 : 0;
    for (; more > 0; --more) {
        const int b = next_byte(rest_of_key_ms);
        if (b < 0x80 || b > 0xbf)
            break;
    }
}

}  // namespace

void wait_key() {
    flush_output();
    tty = open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (tty < 0)
        return;  // no controlling terminal: there is no key to wait for
    if (tcgetattr(tty, &saved) != 0) {
        close(tty);
        return;
    }

    raw = saved;
    raw.c_lflag &= ~static_cast<tcflag_t>(ECHO | ICANON | ISIG | IEXTEN);
    raw.c_iflag &= ~static_cast<tcflag_t>(IXON);
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;

    struct sigaction previous[handled_count];
    catch_signals(previous);
    waiting = 1;
    // TCSAFLUSH drops what was typed before the wait: only a new keystroke ends it. A program
    // in the background stops here (SIGTTOU) until it is brought to the foreground.
    if (set_terminal(TCSAFLUSH, raw) == 0) {
        const int first = next_byte(-1);
        if (first >= 0)
            take_rest_of_key(first);
    }
    waiting = 0;
    set_terminal(TCSADRAIN, saved);
    release_signals(previous);
    close(tty);
    tty = -1;
}

}  // namespace console
