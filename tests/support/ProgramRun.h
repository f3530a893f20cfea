#pragma once
// The built program run in a temporary folder with its settings in "config" there.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "support/TempFolder.h"

class ProgramRun : public ::testing::Test {
protected:
    void SetUp() override {
        if (!exe) GTEST_SKIP() << "QV_TEST_EXE is not set";
    }
    // The exit code of the program run with `args` in the temporary folder,
    // with no display, after the shell commands `before` (such as a ulimit);
    // its standard error in `err`, its output in `out`.
    int run(const std::string& args, std::string* err = nullptr, std::string* out = nullptr,
            const std::string& before = "") {
        const std::string cmd = "cd '" + tmp.path().string() + "' && " + before +
                                "QUORVANE_CONFIG_DIR=config env -u DISPLAY -u WAYLAND_DISPLAY "
                                "-u SDL_VIDEODRIVER '" +
                                exe + "' " + args + " >out.txt 2>err.txt";
        const int status = std::system(cmd.c_str());
        if (err) *err = tmp.read("err.txt");
        if (out) *out = tmp.read("out.txt");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    const char* exe = std::getenv("QV_TEST_EXE");
    TempFolder tmp;
};
