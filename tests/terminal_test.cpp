// The closing wait at a real terminal: each program runs under a pseudo-terminal that is its
// controlling terminal, and the test plays the person at the keyboard. The wait itself is
// shared, so its finer points are tried on scaleconv alone.

#include <csignal>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "harness.h"

namespace {

const std::string scaleconv_answer = "100 1 leftovers\nthat are never read\n";

// Starts scaleconv with its answers piped, and waits until it waits for a key.
void start_at_wait(harness::Terminal& terminal) {
    terminal.start(SCALECONV, &scaleconv_answer);
    ASSERT_TRUE(terminal.await_output("100.00 F is 37.78 C")) << terminal.screen();
    ASSERT_TRUE(terminal.await_key_mode()) << terminal.screen();
}

// Each program with its answers piped and leftovers after them, and its last words, which must
// be on screen before it waits (the terminal shows each "\n" as "\r\n").
const struct {
    const char* path;
    std::string answers;
    std::string_view last_words;
} programs[] = {
    {SCALECONV, scaleconv_answer, "Enter Choice : 100.00 F is 37.78 C"},
    {HEATBAND, "30.7 leftovers\nthat are never read\n",
     "Enter your Temperature : Now Temperature is Normal!!\r\n\r\nPress any key to exit."},
    {ERAYEAR, "Somchai\n2558.5 leftovers\n",
     "Please input your BE : >> Your CE is : >> 2015\r\n\r\nPress any key to exit."},
};

TEST(AllPrograms, WaitForANewKeyAfterTheirLastWords) {
    for (const auto& program : programs) {
        harness::Terminal terminal;
        const termios before = terminal.settings();
        terminal.start(program.path, &program.answers);
        ASSERT_TRUE(terminal.await_output(program.last_words))
            << program.path << ": " << terminal.screen();
        ASSERT_TRUE(terminal.await_key_mode()) << program.path;
        EXPECT_TRUE(terminal.still_running_after(300)) << program.path << " did not wait";
        terminal.type("k");
        EXPECT_EQ(harness::describe(terminal.await_exit()), "exit 0") << program.path;
        EXPECT_TRUE(terminal.screen().ends_with(program.last_words))
            << program.path << ": " << terminal.screen();
        EXPECT_TRUE(harness::same_settings(terminal.settings(), before)) << program.path;
    }
}

TEST(Scaleconv, AnswersTypedAtTheTerminal) {
    harness::Terminal terminal;
    const termios before = terminal.settings();
    terminal.start(SCALECONV);
    // Each prompt is on screen before the program waits for its answer.
    ASSERT_TRUE(terminal.await_output("Enter Temperature : ")) << terminal.screen();
    terminal.type("100\n");
    ASSERT_TRUE(terminal.await_output("Enter Choice : ")) << terminal.screen();
    terminal.type("1\n");
    ASSERT_TRUE(terminal.await_output("Enter Choice : 1\r\n100.00 F is 37.78 C"))
        << terminal.screen();
    ASSERT_TRUE(terminal.await_key_mode());
    terminal.type("q");
    EXPECT_EQ(harness::describe(terminal.await_exit()), "exit 0");
    EXPECT_TRUE(terminal.screen().ends_with("100.00 F is 37.78 C"))
        << "the key was echoed: " << terminal.screen();
    EXPECT_TRUE(harness::same_settings(terminal.settings(), before));
}

TEST(Scaleconv, WaitsForANewKeyNotForLeftoversOrTypeAhead) {
    harness::Terminal terminal;
    terminal.start(SCALECONV);
    ASSERT_TRUE(terminal.await_output("Enter Temperature : "));
    // The rest of the line stays in standard input, and "x", typed before the wait began, is
    // type-ahead: neither is the keystroke the wait asks for.
    terminal.type("100 1 leftovers\nx");
    ASSERT_TRUE(terminal.await_output("100.00 F is 37.78 C")) << terminal.screen();
    ASSERT_TRUE(terminal.await_key_mode());
    EXPECT_TRUE(terminal.still_running_after(300));
    terminal.type(" ");
    EXPECT_EQ(harness::describe(terminal.await_exit()), "exit 0");
}

TEST(Scaleconv, WaitsWithoutUsingTheProcessor) {
    harness::Terminal terminal;
    start_at_wait(terminal);
    const long ticks = terminal.cpu_ticks();
    ASSERT_TRUE(terminal.still_running_after(500));
    EXPECT_LE(terminal.cpu_ticks() - ticks, 2) << "the wait spins";
    terminal.type("k");
    EXPECT_EQ(harness::describe(terminal.await_exit()), "exit 0");
}

// Every key ends the wait, and takes all of its bytes with it: nothing is left over for the
// shell, and the terminal is as it was.
TEST(Scaleconv, AnyKeyEndsTheWaitAndLeavesNothingBehind) {
    const struct {
        std::string_view name, bytes;
    } keys[] = {
        {"letter", "k"},
        {"Enter", "\r"},
        {"Ctrl-C", "\x03"},
        {"Ctrl-\\", "\x1c"},
        {"Ctrl-Z", "\x1a"},
        {"Ctrl-S", "\x13"},
        {"Ctrl-V", "\x16"},
        {"Ctrl-D", "\x04"},
        {"lone Esc", "\x1b"},
        {"Alt-x", "\x1bx"},
        {"arrow up", "\x1b[A"},
        {"F1", "\x1bOP"},
        {"F5", "\x1b[15~"},
        {"Shift-F5", "\x1b[15;2~"},
        {"Linux console F1", "\x1b[[A"},
        {"e acute", "\xc3\xa9"},
        {"Thai letter", "\xe0\xb8\x81"},
        {"emoji", "\xf0\x9f\x99\x82"},
    };
    for (const auto& key : keys) {
        harness::Terminal terminal;
        const termios before = terminal.settings();
        start_at_wait(terminal);
        terminal.type(key.bytes);
        EXPECT_EQ(harness::describe(terminal.await_exit()), "exit 0") << key.name;
        EXPECT_EQ(terminal.unread_input(), 0) << key.name;
        EXPECT_TRUE(harness::same_settings(terminal.settings(), before)) << key.name;
    }
}

TEST(Scaleconv, SignalAtTheWaitRestoresTheTerminal) {
    for (const int signo : {SIGHUP, SIGINT, SIGQUIT, SIGTERM}) {
        harness::Terminal terminal;
        const termios before = terminal.settings();
        start_at_wait(terminal);
        terminal.signal(signo);
        EXPECT_EQ(harness::describe(terminal.await_exit()), "signal " + std::to_string(signo));
        EXPECT_TRUE(harness::same_settings(terminal.settings(), before)) << "signal " << signo;
    }
}

TEST(Scaleconv, HangUpEndsTheWait) {
    harness::Terminal terminal;
    start_at_wait(terminal);
    terminal.hang_up();
    EXPECT_NE(harness::describe(terminal.await_exit()), "killed after timeout");
}

// Stopped at the wait (by kill, since Ctrl-Z is only a key there), the program gives the terminal
// back as it was; continued, it waits again.
TEST(Scaleconv, StopAndContinueAtTheWait) {
    harness::Terminal terminal;
    const termios before = terminal.settings();
    terminal.start_job(SCALECONV, scaleconv_answer, true);
    ASSERT_TRUE(terminal.await_output("100.00 F is 37.78 C")) << terminal.screen();
    ASSERT_TRUE(terminal.await_key_mode());

    terminal.signal(SIGTSTP);
    ASSERT_TRUE(terminal.await_stopped(true));
    EXPECT_TRUE(harness::same_settings(terminal.settings(), before))
        << "stopped with the terminal changed";

    terminal.signal(SIGCONT);
    ASSERT_TRUE(terminal.await_stopped(false));
    ASSERT_TRUE(terminal.await_key_mode());
    terminal.type("k");
    EXPECT_EQ(harness::describe(terminal.await_exit()), "exit 0");
    EXPECT_TRUE(harness::same_settings(terminal.settings(), before));
}

// Started in the background, the program may write but not take the terminal: it is stopped
// when it tries, leaves the terminal alone, and waits once it is brought to the foreground.
TEST(Scaleconv, BackgroundJobWaitsForTheForeground) {
    harness::Terminal terminal;
    const termios before = terminal.settings();
    terminal.start_job(SCALECONV, scaleconv_answer, false);
    ASSERT_TRUE(terminal.await_output("100.00 F is 37.78 C")) << terminal.screen();
    ASSERT_TRUE(terminal.await_stopped(true));
    EXPECT_TRUE(harness::same_settings(terminal.settings(), before));

    terminal.bring_to_foreground();
    ASSERT_TRUE(terminal.await_key_mode());
    terminal.type("k");
    EXPECT_EQ(harness::describe(terminal.await_exit()), "exit 0");
    EXPECT_TRUE(harness::same_settings(terminal.settings(), before));
}

}  // namespace
