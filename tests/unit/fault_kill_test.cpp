// A recording program killed with SIGKILL: the script file keeps every
// event the wait returned, the run of ticks still being counted at the
// kill included (its line is rewritten in place as it grows).
//
// The test runs itself a second time as the recording program: the child
// starts the library offscreen, switches recording on with Ctrl+R, gets
// clicks, keys and ticks through the real event wait and reports every
// returned event through a pipe. The parent kills it while it is waiting
// for ticks and compares the file with the reports.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/library_fixture.h"
#include "zemka/platform/windowing.h"
#include "zemka/script/script_state.h"
#include "zemka/window/library_windows.h"

extern char **environ;

namespace zemka {
namespace {

constexpr const char *REPORT_FD = "ZEMKA_FAULT_KILL_REPORT_FD";
constexpr const char *CHILD_DIR = "ZEMKA_FAULT_KILL_DIR";

class FaultKill : public testing::LibraryTest {
protected:
    [[noreturn]] void run_child(int fd);
};

void report(int fd, const std::string &line) {
    const std::string text = line + "\n";
    if (write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size())) _exit(3);
}

// What the wait returned, as the script line it makes ("P" for a periodic
// event, which has a line only as part of a run).
std::string describe(int kind, const EventRecord &r) {
    switch (kind) {
        case ZEMKA_MOUSE: return "ZEMKA_MOUSE(" + std::to_string(r.x) + ", " + std::to_string(r.y) + ");";
        case ZEMKA_KBD: return "ZEMKA_KBD(" + std::to_string(static_cast<int>(static_cast<signed char>(r.key))) + ");";
        case ZEMKA_PERIODIC: return "P";
        default: return "kind " + std::to_string(kind);
    }
}

// The recording program. It never returns: it is killed, or ends itself
// after a minute should the parent be gone.
void FaultKill::run_child(int fd) {
    alarm(60);
    std::filesystem::current_path(std::getenv(CHILD_DIR));
    EventRecord r{};
    const auto take = [&] {
        const int kind = next(&r, 5000);
        report(fd, describe(kind, r));
        return kind;
    };
    const auto ticks = [&](int n) {
        for (int i = 0; i < n; ++i)
            if (take() != ZEMKA_PERIODIC) _exit(4);
    };
    ctrl('R');
    ZEMKA_set_animation(RUN_ANIMATE);  // the real 100 ms timer
    ticks(3);
    if (!recording) _exit(5);
    click(310, 240);
    take();
    ticks(2);
    type('a');
    take();
    ticks(1);
    platform::post_message(draw_window(), platform::WM_CHAR, 233, 0);
    take();
    click(300, 250);
    take();
    ticks(4);
    type('z');
    take();
    report(fd, "S");  // the sequence is over; ticks from here on
    for (;;) take();
}

// The file as it must be: the reported events with their periodic runs
// folded. extra_ticks are ticks the wait returned (and wrote) after the
// last report that reached the parent before the kill.
std::string expected_file(const std::vector<std::string> &reports, int extra_ticks = 0) {
    std::string text;
    int run = 0;
    for (const std::string &event : reports) {
        if (event == "S") continue;
        if (event == "P") {
            ++run;
            continue;
        }
        if (run > 0) text += "ZEMKA_PERIODIC(" + std::to_string(run) + ");\n";
        run = 0;
        text += event + "\n";
    }
    run += extra_ticks;
    if (run > 0) text += "ZEMKA_PERIODIC(" + std::to_string(run) + ");\n";
    return text;
}

TEST_F(FaultKill, RecordingKeepsEveryLineDueWhenKilled) {
    if (const char *fd = std::getenv(REPORT_FD)) run_child(std::atoi(fd));

    char dir_template[] = "/tmp/zemka-kill-XXXXXX";
    ASSERT_NE(mkdtemp(dir_template), nullptr);
    const std::string dir = dir_template;
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);

    // The child: this test alone, with the pipe's write end to report on.
    const std::string filter = std::string("--gtest_filter=") +
                               ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name() + "." +
                               ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::string self = std::filesystem::read_symlink("/proc/self/exe");
    std::vector<char *> argv = {self.data(), const_cast<char *>(filter.c_str()), nullptr};
    std::vector<std::string> env_strings = {std::string(REPORT_FD) + "=" + std::to_string(fds[1]),
                                            std::string(CHILD_DIR) + "=" + dir, "QT_QPA_PLATFORM=offscreen"};
    for (char **e = environ; *e; ++e) {
        const std::string entry = *e;
        if (entry.rfind("QT_QPA_PLATFORM=", 0) != 0) env_strings.push_back(entry);
    }
    std::vector<char *> envp;
    for (std::string &s : env_strings) envp.push_back(s.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    ASSERT_EQ(posix_spawn(&child, self.c_str(), &actions, nullptr, argv.data(), envp.data()), 0);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);

    // Reads the reports until three ticks after the sequence, then kills.
    std::vector<std::string> reports;
    std::string pending;
    int ticks_after_sequence = -1;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(40);
    bool killed = false, ended = false;
    while (!ended) {
        if (!killed && (ticks_after_sequence >= 3 || std::chrono::steady_clock::now() > deadline)) {
            kill(child, SIGKILL);
            killed = true;
        }
        pollfd p{fds[0], POLLIN, 0};
        if (poll(&p, 1, 200) <= 0) continue;
        char buffer[256];
        const ssize_t n = read(fds[0], buffer, sizeof buffer);
        if (n <= 0) {
            ended = true;  // the child is gone and so is its end of the pipe
            break;
        }
        pending.append(buffer, static_cast<std::size_t>(n));
        for (std::size_t nl; (nl = pending.find('\n')) != std::string::npos; pending.erase(0, nl + 1)) {
            reports.push_back(pending.substr(0, nl));
            if (reports.back() == "S")
                ticks_after_sequence = 0;
            else if (ticks_after_sequence >= 0 && reports.back() == "P")
                ++ticks_after_sequence;
        }
    }
    close(fds[0]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
        << "the child ended by itself, status " << status << "; reports: " << reports.size();
    ASSERT_GE(ticks_after_sequence, 3) << "the child did not get through its sequence in time";

    std::ifstream in(dir + "/ZEMKA.SCR", std::ios::binary);
    ASSERT_TRUE(in) << "no script file";
    std::ostringstream file;
    file << in.rdbuf();
    std::size_t returned = 0, in_file = 0;
    for (const std::string &event : reports) returned += event != "S";
    for (std::size_t at = 0, end; (end = file.str().find('\n', at)) != std::string::npos; at = end + 1) {
        const std::string line = file.str().substr(at, end - at);
        in_file += line.rfind("ZEMKA_PERIODIC(", 0) == 0 ? std::stoul(line.substr(15)) : 1;
    }
    std::printf("killed after %zu returned events; the file holds %zu\n", returned, in_file);
    // Every reported event is in the file; the child may have returned one
    // more tick that its report did not carry out before the kill.
    EXPECT_TRUE(file.str() == expected_file(reports) || file.str() == expected_file(reports, 1))
        << file.str() << "\nexpected\n"
        << expected_file(reports);
    // The sequence itself, as a reader of the file sees it.
    EXPECT_EQ(file.str().rfind("ZEMKA_PERIODIC(3);\nZEMKA_MOUSE(10, 10);\nZEMKA_PERIODIC(2);\nZEMKA_KBD(97);\n"
                               "ZEMKA_PERIODIC(1);\nZEMKA_KBD(-23);\nZEMKA_MOUSE(0, 0);\nZEMKA_PERIODIC(4);\n"
                               "ZEMKA_KBD(122);\nZEMKA_PERIODIC(",
                               0),
              0u);
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace zemka
