// The program with hostile files around it: special output paths, special
// and huge settings files, and a stop request while it starts.

#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "support/ProgramRun.h"

namespace fs = std::filesystem;

namespace {

class ProgramFiles : public ProgramRun {
protected:
    void SetUp() override {
        ProgramRun::SetUp();
        fs::create_directory(tmp.path() / "config");
    }
    fs::file_type typeOf(const std::string& name) { return fs::symlink_status(tmp.path() / name).type(); }

    const std::string small = " --size 64x48 --seconds 2 --seed 3";
};

}  // namespace

// Only regular files are replaced: a FIFO or a device node at the output
// path is refused before anything is drawn, a link is followed.
TEST_F(ProgramFiles, RenderWritesOnlyRegularFiles) {
    std::string err;
    ASSERT_EQ(::mkfifo((tmp.path() / "pipe.png").c_str(), 0644), 0);
    EXPECT_EQ(run("--render pipe.png --size 64x48 --seconds 100000", &err), 1);
    EXPECT_NE(err.find("cannot write pipe.png: it is a FIFO (named pipe)"), std::string::npos) << err;
    EXPECT_EQ(typeOf("pipe.png"), fs::file_type::fifo);
    if (::mknod((tmp.path() / "full.png").c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0) {
        EXPECT_EQ(run("--render full.png" + small, &err), 1);
        EXPECT_NE(err.find("it is a device"), std::string::npos) << err;
        EXPECT_EQ(typeOf("full.png"), fs::file_type::character);
    }
    fs::create_symlink("real.png", tmp.path() / "link.png");
    ASSERT_EQ(run("--render link.png" + small, &err), 0) << err;
    EXPECT_TRUE(typeOf("link.png") == fs::file_type::symlink && typeOf("real.png") == fs::file_type::regular);
    // A frame whose name is taken by a FIFO fails the run and stays.
    fs::create_directory(tmp.path() / "seq");
    ASSERT_EQ(::mkfifo((tmp.path() / "seq/frame-000002.png").c_str(), 0644), 0);
    EXPECT_EQ(run("--frames seq --fps 1" + small, &err), 1);
    EXPECT_NE(err.find("FIFO"), std::string::npos) << err;
    EXPECT_EQ(typeOf("seq/frame-000002.png"), fs::file_type::fifo);
}

// Settings files that are a FIFO, a link to an endless device or 50 MB big
// are passed over with one message; the program starts with the defaults.
TEST_F(ProgramFiles, SpecialSettingsFilesStartWithTheDefaults) {
    std::string err;
    ASSERT_EQ(::mkfifo((tmp.path() / "config/registry.ini").c_str(), 0644), 0);
    fs::create_symlink("/dev/zero", tmp.path() / "config/Quorvane5.ini");
    ASSERT_EQ(run("--render a.png" + small, &err), 0) << err;
    EXPECT_NE(err.find("config/registry.ini is not a regular file"), std::string::npos) << err;
    EXPECT_NE(err.find("config/Quorvane5.ini is not a regular file"), std::string::npos) << err;
    fs::remove(tmp.path() / "config/registry.ini");
    {
        std::ofstream big(tmp.path() / "config/registry.ini", std::ios::binary);
        big << "[HKEY_CURRENT_USER\\Software\\Quorvane\\Quorvane5\\Config]\n";
        const std::string block(1 << 20, 'k');
        for (int i = 0; i < 50; ++i) big << "Key" << i << "=" << block << "\n";
    }
    ASSERT_EQ(run("--render b.png" + small, &err), 0) << err;
    EXPECT_NE(err.find("config/registry.ini is larger than"), std::string::npos) << err;
    EXPECT_EQ(tmp.read("a.png"), tmp.read("b.png")) << "the defaults both times";
}

// A stop request that arrives while the program starts, from a shell that
// ignores SIGINT for its background jobs, ends the run. The child holds the
// signal blocked across exec, so it arrives before main at the latest.
TEST_F(ProgramFiles, StopRequestWhileStartingIsNotLost) {
    int ready[2];
    ASSERT_EQ(::pipe2(ready, O_CLOEXEC), 0);
    const std::string out = (tmp.path() / "x.png").string();
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ::signal(SIGINT, SIG_IGN);
        sigset_t mask;
        sigemptyset(&mask);
        sigaddset(&mask, SIGINT);
        ::sigprocmask(SIG_BLOCK, &mask, nullptr);
        ::setenv("QUORVANE_CONFIG_DIR", (tmp.path() / "config").c_str(), 1);
        ::execl(exe, exe, "--render", out.c_str(), "--size", "64x48", "--seconds", "1000000", nullptr);
        ::_exit(127);
    }
    ::close(ready[1]);
    char byte;
    ASSERT_EQ(::read(ready[0], &byte, 1), 0) << "exec done";
    ::close(ready[0]);
    ::kill(pid, SIGINT);
    int status = 0;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > giveUp) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            FAIL() << "the request was lost";
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(WIFEXITED(status)) << "an orderly end";
    EXPECT_FALSE(fs::exists(out)) << "stopped before the end";
}
