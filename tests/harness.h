// Runs the built programs the two ways they meet people: with piped standard input and no
// terminal at all, and under a pseudo-terminal that becomes their controlling terminal.
// Every wait here has a deadline, so no test can hang on a program that misbehaves.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <sys/types.h>
#include <termios.h>

namespace harness {

struct Piped {
    const char* program = nullptr;
    std::string_view input = {};          // all of standard input, then end of input
    std::vector<const char*> args = {};   // after the program's name
    const char* stdout_file = nullptr;    // standard output goes here instead of a pipe
    long address_space = 0;               // a limit on the program's memory, in bytes, if set
};

struct Result {
    std::string out;  // standard output, byte for byte
    std::string err;  // standard error
    int status = -1;  // as waitpid reports it; -1 when the program had to be killed
};

// Runs the program in a new session, so that it has no controlling terminal.
Result run(const Piped& run);

// "exit 0", "exit 1", "signal 15", "killed after timeout": a status as a test failure shows it.
std::string describe(int status);

// A pseudo-terminal. The program it starts runs in a session of its own with the terminal as
// its controlling terminal, on standard output and error, and on standard input unless the
// input is piped.
class Terminal {
public:
    Terminal();
    ~Terminal();
    Terminal(const Terminal&) = delete;
    Terminal& operator=(const Terminal&) = delete;

    // Starts the program; with `piped_input`, standard input is a pipe that holds it.
    void start(const char* program, const std::string* piped_input = nullptr);
    // Starts the program as a job of a small shell that leads the session, in a process group
    // of its own, in the foreground or the background. Unlike a session leader's, such a
    // group can be stopped by job-control signals.
    void start_job(const char* program, const std::string& piped_input, bool foreground);
    // What a shell's `fg` does: gives the job the terminal and lets it continue.
    void bring_to_foreground();

    // Reads what the program writes until `text` has appeared; false if it does not in time.
    bool await_output(std::string_view text);
    // Waits until the terminal is set to hand over single keys: no echo, no line editing.
    bool await_key_mode();
    // True if the program is still running after `ms` milliseconds.
    bool still_running_after(int ms);

    void type(std::string_view keys);
    void signal(int signo);
    // Waits until the program is stopped ('T') or running or sleeping (not 'T').
    bool await_stopped(bool stopped);
    void hang_up();  // closes the terminal's other side, as a closed terminal window does

    // Waits for the program to end and returns its status, or -1 after killing it on timeout.
    int await_exit();

    termios settings() const;
    int unread_input() const;  // bytes waiting in the terminal's input queue
    long cpu_ticks() const;    // user and system time used by the running program so far
    const std::string& screen() const { return screen_; }

private:
    void drain(int timeout_ms);
    std::string process_status() const;

    int master_ = -1;
    int slave_ = -1;  // kept open to look at the settings, and so output can be read after exit
    pid_t pid_ = -1;
    pid_t shell_ = -1;       // the job's shell, which reports the program's pid and status
    int from_shell_ = -1;
    int to_shell_ = -1;
    std::string screen_;
};

// True when two terminal settings are the same in every field that a program can change.
bool same_settings(const termios& a, const termios& b);

}  // namespace harness
