#include "harness.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace harness {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto deadline = std::chrono::seconds(20);  // far beyond any healthy run

[[noreturn]] void fail(const char* what) {
    throw std::runtime_error(std::string(what) + ": " + std::strerror(errno));
}

int remaining_ms(Clock::time_point end) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

// Between fork and exec: only async-signal-safe calls. The test process ignores SIGPIPE, but
// the program must start with the default, and without writing a core file when a signal
// test ends it.
void prepare_child() {
    std::signal(SIGPIPE, SIG_DFL);
    const rlimit no_core = {0, 0};
    setrlimit(RLIMIT_CORE, &no_core);
}

// Makes `fd` the child's descriptor `target`. When they are already the same (the test was started
// with that descriptor closed), dup2 would do nothing and leave it to be closed on exec.
void place(int fd, int target) {
    if (fd == target)
        fcntl(fd, F_SETFD, 0);
    else
        dup2(fd, target);
}

[[noreturn]] void exec(const char* program, const std::vector<const char*>& args) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program));
    for (const char* arg : args)
        argv.push_back(const_cast<char*>(arg));
    argv.push_back(nullptr);
    execv(program, argv.data());
    _exit(127);
}

// Waits for `pid` until `end`; kills it then. Returns its status, or -1 if it was killed.
int reap(pid_t pid, Clock::time_point end) {
    int status = 0;
    while (Clock::now() < end) {
        const pid_t r = waitpid(pid, &status, WNOHANG);
        if (r == pid)
            return status;
        if (r < 0 && errno != EINTR)
            fail("waitpid");
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return -1;
}

struct IgnoreSigpipe {
    IgnoreSigpipe() { std::signal(SIGPIPE, SIG_IGN); }  // a program may stop reading early
} ignore_sigpipe;

}  // namespace

std::string describe(int status) {
    if (status == -1)
        return "killed after timeout";
    if (WIFEXITED(status))
        return "exit " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status))
        return "signal " + std::to_string(WTERMSIG(status));
    return "status " + std::to_string(status);
}

Result run(const Piped& piped) {
    int in[2], out[2], err[2];
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0)
        fail("pipe2");

    const pid_t pid = fork();
    if (pid < 0)
        fail("fork");
    if (pid == 0) {
        prepare_child();
        setsid();
        if (piped.address_space > 0) {
            const rlimit limit = {static_cast<rlim_t>(piped.address_space),
                                  static_cast<rlim_t>(piped.address_space)};
            setrlimit(RLIMIT_AS, &limit);
        }
        place(in[0], 0);
        if (piped.stdout_file != nullptr) {
            const int file = open(piped.stdout_file, O_WRONLY);
            if (file < 0)
                _exit(126);
            place(file, 1);
        } else {
            place(out[1], 1);
        }
        place(err[1], 2);
        exec(piped.program, piped.args);
    }
    close(in[0]);
    close(out[1]);
    close(err[1]);

    // Feed standard input and collect both outputs at once, so that no pipe fills up.
    Result result;
    std::size_t written = 0;
    int to_write = in[1];
    if (piped.input.empty()) {
        close(to_write);
        to_write = -1;
    }
    int from[2] = {out[0], err[0]};
    std::string* into[2] = {&result.out, &result.err};
    const auto end = Clock::now() + deadline;
    while ((to_write >= 0 || from[0] >= 0 || from[1] >= 0) && Clock::now() < end) {
        pollfd fds[3] = {{to_write, POLLOUT, 0}, {from[0], POLLIN, 0}, {from[1], POLLIN, 0}};
        if (poll(fds, 3, remaining_ms(end)) < 0 && errno != EINTR)
            fail("poll");
        if (to_write >= 0 && fds[0].revents != 0) {
            const ssize_t n = write(to_write, piped.input.data() + written,
                                    std::min<std::size_t>(piped.input.size() - written, 1 << 16));
            if (n > 0)
                written += static_cast<std::size_t>(n);
            if (n < 0 || written == piped.input.size()) {  // done, or the program closed its input
                close(to_write);
                to_write = -1;
            }
        }
        for (int i = 0; i < 2; ++i) {
            if (from[i] < 0 || fds[i + 1].revents == 0)
                continue;
            char buffer[1 << 16];
            const ssize_t n = read(from[i], buffer, sizeof buffer);
            if (n > 0) {
                into[i]->append(buffer, static_cast<std::size_t>(n));
            } else {
                close(from[i]);
                from[i] = -1;
            }
        }
    }
    for (int fd : {to_write, from[0], from[1]})
        if (fd >= 0)
            close(fd);
    result.status = reap(pid, end);
    return result;
}

Terminal::Terminal() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0)
        fail("posix_openpt");
    slave_ = open(ptsname(master_), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave_ < 0)
        fail("open pseudo-terminal");
    const winsize size = {24, 80, 0, 0};
    ioctl(master_, TIOCSWINSZ, &size);
}

Terminal::~Terminal() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        if (shell_ < 0)
            waitpid(pid_, nullptr, 0);
    }
    if (shell_ > 0) {
        kill(shell_, SIGKILL);
        waitpid(shell_, nullptr, 0);
        close(from_shell_);
        close(to_shell_);
    }
    if (master_ >= 0)
        close(master_);
    close(slave_);
}

void Terminal::start(const char* program, const std::string* piped_input) {
    int in[2] = {-1, -1};
    if (piped_input != nullptr && pipe2(in, O_CLOEXEC) != 0)
        fail("pipe2");
    const char* path = ptsname(master_);

    pid_ = fork();
    if (pid_ < 0)
        fail("fork");
    if (pid_ == 0) {
        prepare_child();
        setsid();
        const int tty = open(path, O_RDWR);  // a session leader's first terminal becomes its own
        if (tty < 0 || ioctl(tty, TIOCSCTTY, 0) != 0)
            _exit(126);
        place(piped_input != nullptr ? in[0] : tty, 0);
        place(tty, 1);
        place(tty, 2);
        exec(program, {});
    }
    if (piped_input != nullptr) {
        close(in[0]);
        // Small enough for the pipe's buffer: the program need not read it for this to finish.
        if (write(in[1], piped_input->data(), piped_input->size()) < 0)
            fail("write");
        close(in[1]);
    }
}

namespace {

// Reads exactly sizeof(T) bytes from `fd` before `end`; false if they do not come.
template <class T>
bool receive(int fd, T& value, Clock::time_point end) {
    pollfd ready = {fd, POLLIN, 0};
    if (poll(&ready, 1, remaining_ms(end)) <= 0)
        return false;
    return read(fd, &value, sizeof value) == static_cast<ssize_t>(sizeof value);
}

// The shell of start_job: it leads the session and owns the terminal, runs the program as a job
// in a process group of its own, hands it the terminal on "f", and reports its end.
[[noreturn]] void run_shell(const char* path, const char* program, int stdin_fd, bool foreground,
                            int report, int commands) {
    setsid();
    const int tty = open(path, O_RDWR);
    if (tty < 0 || ioctl(tty, TIOCSCTTY, 0) != 0)
        _exit(126);
    sigset_t ttou;
    sigemptyset(&ttou);
    sigaddset(&ttou, SIGTTOU);
    sigprocmask(SIG_BLOCK, &ttou, nullptr);  // the shell may give the terminal away

    const pid_t job = fork();
    if (job == 0) {
        setpgid(0, 0);
        if (foreground)
            tcsetpgrp(tty, getpid());
        sigprocmask(SIG_UNBLOCK, &ttou, nullptr);
        place(stdin_fd, 0);
        place(tty, 1);
        place(tty, 2);
        exec(program, {});
    }
    setpgid(job, job);
    if (write(report, &job, sizeof job) != sizeof job)
        _exit(125);
    for (;;) {
        int status;
        if (waitpid(job, &status, WNOHANG) == job) {
            if (write(report, &status, sizeof status) != sizeof status)
                _exit(125);
            _exit(0);
        }
        pollfd ready = {commands, POLLIN, 0};
        char command;
        if (poll(&ready, 1, 2) == 1 && read(commands, &command, 1) == 1 && command == 'f') {
            tcsetpgrp(tty, job);
            kill(-job, SIGCONT);
        }
    }
}

}  // namespace

void Terminal::start_job(const char* program, const std::string& piped_input, bool foreground) {
    int in[2], report[2], commands[2];
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(report, O_CLOEXEC) != 0 ||
        pipe2(commands, O_CLOEXEC) != 0)
        fail("pipe2");
    const char* path = ptsname(master_);

    shell_ = fork();
    if (shell_ < 0)
        fail("fork");
    if (shell_ == 0) {
        prepare_child();
        run_shell(path, program, in[0], foreground, report[1], commands[0]);
    }
    close(in[0]);
    close(report[1]);
    close(commands[0]);
    from_shell_ = report[0];
    to_shell_ = commands[1];
    if (write(in[1], piped_input.data(), piped_input.size()) < 0)
        fail("write");
    close(in[1]);
    if (!receive(from_shell_, pid_, Clock::now() + deadline))
        throw std::runtime_error("the job's shell did not start it");
}

void Terminal::bring_to_foreground() {
    if (write(to_shell_, "f", 1) != 1)
        fail("write to the shell");
}

// The fields of /proc/<pid>/stat after the command name (which is in parentheses and may hold
// blanks): the state, then the parent, and on to the times.
std::string Terminal::process_status() const {
    std::ifstream stat("/proc/" + std::to_string(pid_) + "/stat");
    const std::string text((std::istreambuf_iterator<char>(stat)),
                           std::istreambuf_iterator<char>());
    const std::size_t name_end = text.rfind(')');
    return name_end == std::string::npos ? "" : text.substr(name_end + 2);
}

bool Terminal::await_stopped(bool stopped) {
    const auto end = Clock::now() + deadline;
    while (Clock::now() < end) {
        const std::string status = process_status();
        if (!status.empty() && (status[0] == 'T') == stopped)
            return true;
        drain(2);
    }
    return false;
}

void Terminal::drain(int timeout_ms) {
    pollfd ready = {master_, POLLIN, 0};
    if (poll(&ready, 1, timeout_ms) <= 0 || (ready.revents & POLLIN) == 0)
        return;
    char buffer[4096];
    const ssize_t n = read(master_, buffer, sizeof buffer);
    if (n > 0)
        screen_.append(buffer, static_cast<std::size_t>(n));
}

bool Terminal::await_output(std::string_view text) {
    const auto end = Clock::now() + deadline;
    while (screen_.find(text) == std::string::npos) {
        if (Clock::now() >= end)
            return false;
        drain(10);
    }
    return true;
}

bool Terminal::await_key_mode() {
    const auto end = Clock::now() + deadline;
    while (Clock::now() < end) {
        if ((settings().c_lflag & (ECHO | ICANON)) == 0)
            return true;
        drain(2);
    }
    return false;
}

bool Terminal::still_running_after(int ms) {
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    while (Clock::now() < end)
        drain(remaining_ms(end));
    siginfo_t info = {};
    waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT);
    return info.si_pid == 0;
}

void Terminal::type(std::string_view keys) {
    if (write(master_, keys.data(), keys.size()) != static_cast<ssize_t>(keys.size()))
        fail("write to terminal");
}

void Terminal::signal(int signo) { kill(pid_, signo); }

void Terminal::hang_up() {
    close(master_);
    master_ = -1;
}

int Terminal::await_exit() {
    const auto end = Clock::now() + deadline;
    int status = 0;
    if (shell_ > 0) {  // the program is the shell's child, not ours
        if (!receive(from_shell_, status, end))
            return -1;
        pid_ = -1;
        drain(0);
        return status;
    }
    while (Clock::now() < end) {
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            if (master_ >= 0)
                drain(0);
            return status;
        }
        if (master_ >= 0)
            drain(2);
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return -1;  // the destructor kills it
}

termios Terminal::settings() const {
    termios t;
    if (tcgetattr(slave_, &t) != 0)
        fail("tcgetattr");
    return t;
}

int Terminal::unread_input() const {
    int n = 0;
    if (ioctl(slave_, FIONREAD, &n) != 0)
        fail("FIONREAD");
    return n;
}

long Terminal::cpu_ticks() const {
    std::istringstream fields(process_status());
    std::string field;
    long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {  // fields are numbered from 1, the pid
        if (i == 14)
            utime = std::stol(field);
        if (i == 15)
            stime = std::stol(field);
    }
    return utime + stime;
}

bool same_settings(const termios& a, const termios& b) {
    return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag &&
           a.c_lflag == b.c_lflag && std::memcmp(a.c_cc, b.c_cc, sizeof a.c_cc) == 0 &&
           cfgetispeed(&a) == cfgetispeed(&b) && cfgetospeed(&a) == cfgetospeed(&b);
}

}  // namespace harness
