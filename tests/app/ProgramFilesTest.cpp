// The program with hostile files around it: special output files, a file
// size limit, and a stop request while it starts. (The file layers' own
// tests take devices, links, huge and special settings files.)

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "support/Forked.h"
#include "support/ProgramRun.h"

namespace fs = std::filesystem;

namespace {

using ProgramFiles = ProgramRun;

// A FIFO at the output path, or at a frame's, fails the run before anything
// is drawn and stays.
TEST_F(ProgramFiles, SpecialOutputFilesAreRefused) {
    std::string err;
    fs::create_directories(tmp.path() / "seq");
    ASSERT_EQ(::mkfifo((tmp.path() / "pipe.png").c_str(), 0644), 0);
    ASSERT_EQ(::mkfifo((tmp.path() / "seq/frame-000002.png").c_str(), 0644), 0);
    EXPECT_EQ(run("--render pipe.png --size 64x48 --seconds 100000", &err), 1);
    EXPECT_NE(err.find("cannot write pipe.png: it is a FIFO (named pipe)"), std::string::npos) << err;
    EXPECT_EQ(run("--frames seq --fps 1 --size 64x48 --seconds 2", &err), 1);
    EXPECT_NE(err.find("FIFO"), std::string::npos) << err;
    for (const char* fifo : {"pipe.png", "seq/frame-000002.png"})
        EXPECT_EQ(fs::symlink_status(tmp.path() / fifo).type(), fs::file_type::fifo) << fifo;
}

// Under a file-size limit too small for the picture, the render says it
// cannot write it and fails, leaving nothing behind; the limit's signal
// does not kill it in the middle of the write.
TEST_F(ProgramFiles, FileSizeLimitFailsTheRenderWithAMessage) {
    tmp.write("o.png", "old");
    std::string err;
    EXPECT_EQ(run("--render o.png --size 200x150 --seconds 3 --seed 3", &err, nullptr, "ulimit -f 2 && "), 1)
        << "exits, not killed by the signal: " << err;
    EXPECT_NE(err.find("cannot write o.png"), std::string::npos) << err;
    EXPECT_TRUE(tmp.read("o.png") == "old" && countTemporaries(tmp.path()) == 0);
}

// A stop request (SIGINT, or SIGHUP as a closed terminal sends it) that
// arrives while the program starts, from a shell that ignores the signal for
// its background jobs, ends the run. The child holds the signal blocked
// across exec, so it arrives before main at the latest.
TEST_F(ProgramFiles, StopRequestWhileStartingIsNotLost) {
    for (const int sig : {SIGINT, SIGHUP}) {
        int ready[2];
        ASSERT_EQ(::pipe2(ready, O_CLOEXEC), 0);
        const std::string out = (tmp.path() / "x.png").string();
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ::signal(sig, SIG_IGN);
            sigset_t mask;
            sigemptyset(&mask);
            sigaddset(&mask, sig);
            ::sigprocmask(SIG_BLOCK, &mask, nullptr);
            ::setenv("QUORVANE_CONFIG_DIR", (tmp.path() / "config").c_str(), 1);
            ::execl(exe, exe, "--render", out.c_str(), "--size", "64x48", "--seconds", "1000000", nullptr);
            ::_exit(127);
        }
        ::close(ready[1]);
        char byte;
        ASSERT_EQ(::read(ready[0], &byte, 1), 0) << "exec done";
        ::close(ready[0]);
        ::kill(pid, sig);
        int status = 0;
        pid_t ended = 0;
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while ((ended = ::waitpid(pid, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < giveUp)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (ended == 0) ::kill(pid, SIGKILL), ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status)) << "signal " << sig << ": lost, or no orderly end";
        EXPECT_FALSE(fs::exists(out)) << "stopped before the end";
    }
}

}  // namespace
