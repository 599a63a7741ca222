#include "zemka/window/end_signals.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "zemka/support/end_signal.h"

#if !defined(_WIN32) && !defined(__wasm__)
#include <signal.h>
#include <time.h>
#include <unistd.h>
#define ZEMKA_END_SIGNALS 1
#endif

namespace zemka::end_signals {

#ifdef ZEMKA_END_SIGNALS

namespace {

// Time for the program to reach a wait and its quit path after a signal.
constexpr unsigned GRACE_SECONDS = 3;
constexpr int HANDLED[] = {SIGINT, SIGTERM, SIGHUP};

using support::end_signal;
volatile std::sig_atomic_t stopping = 0;
// When the first signal came. The same signal again within a second is the
// same request from a second sender (a shell or timeout that signals the
// whole process group, and the zemka command that passes it on), not a
// person asking twice.
constexpr long SAME_REQUEST_NS = 1000000000L;
timespec first_signal_at{};
bool announced = false;

// Ends the process as the signal's default action does. Async-signal-safe.
void end_by(int sig) {
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    sigaction(sig, &action, nullptr);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, sig);
    sigprocmask(SIG_UNBLOCK, &set, nullptr);
    raise(sig);
}

// The program did not end its own way in time (it is busy without waiting,
// or ignores ZEMKA_QUIT).
void on_grace_over(int) {
    if (!stopping) end_by(end_signal);
}

long ns_since(const timespec &then) {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (now.tv_sec - then.tv_sec) * 1000000000L + (now.tv_nsec - then.tv_nsec);
}

void on_signal(int sig) {
    if (end_signal != 0) {
        if (sig == end_signal && ns_since(first_signal_at) < SAME_REQUEST_NS) return;
        end_by(sig);  // asked twice: at once
        return;
    }
    clock_gettime(CLOCK_MONOTONIC, &first_signal_at);
    end_signal = sig;
    struct sigaction action {};
    action.sa_handler = on_grace_over;
    sigemptyset(&action.sa_mask);
    sigaction(SIGALRM, &action, nullptr);
    alarm(GRACE_SECONDS);
}

const char *name_of(int sig) {
    switch (sig) {
        case SIGINT: return "SIGINT";
        case SIGTERM: return "SIGTERM";
        case SIGHUP: return "SIGHUP";
        default: return "a signal";
    }
}

// After the library's own exit work (registered before it, so it runs
// after): the caller learns that the signal ended the program.
void end_by_signal_at_exit() {
    if (end_signal == 0) return;
    std::fflush(nullptr);
    end_by(end_signal);
}

}  // namespace

void install() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    for (const int sig : HANDLED) {
        struct sigaction old {};
        if (sigaction(sig, nullptr, &old) != 0 || (old.sa_flags & SA_SIGINFO) || old.sa_handler != SIG_DFL) continue;
        struct sigaction action {};
        action.sa_handler = on_signal;
        sigemptyset(&action.sa_mask);
        // No SA_RESTART: a read that blocks (an answer from a terminal) is
        // cut short, so the program comes back to the library.
        action.sa_flags = 0;
        sigaction(sig, &action, nullptr);
    }
    std::atexit(end_by_signal_at_exit);
}

int requested() {
    const int sig = end_signal;
    if (sig != 0 && !announced) {
        announced = true;
        std::fprintf(stderr, "ZEMKA: %s received: the program is asked to quit\n", name_of(sig));
    }
    return sig;
}

void ending() {
    if (end_signal == 0 || stopping) return;
    stopping = 1;
    alarm(0);
}

#else

// Systems without POSIX signals send a program none of these.
void install() {}
int requested() { return 0; }
void ending() {}

#endif

}  // namespace zemka::end_signals
