// The headless renderer: which pictures a run writes and when, and the
// whole program's output, which the arguments alone decide.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>

#include "app/HeadlessRender.h"
#include "platform/PngWriter.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(Render, PlanOfPicturesAndEnd) {
    TempFolder tmp;
    LaunchRequest r;
    r.action = LaunchRequest::Action::Render;
    r.framesDir = (tmp.path() / "new" / "seq").string();
    r.renderPath = (tmp.path() / "last.png").string();
    r.seconds = 1;
    r.fps = 3;
    platform::HeadlessOptions o;
    std::string error;
    ASSERT_TRUE(planRender(r, o, error)) << error;
    EXPECT_EQ(o.width, 1280);
    EXPECT_EQ(o.height, 720);
    EXPECT_EQ(o.endAtMs, 1000);
    EXPECT_TRUE(fs::is_directory(r.framesDir)) << "made with its parents";
    // Three frames in a second at 3 a second, the last at the end, where
    // the still is taken too.
    ASSERT_EQ(o.snapshots.size(), 4u);
    EXPECT_EQ(o.snapshots[0].atMs, 333);
    EXPECT_EQ(o.snapshots[1].atMs, 667);
    EXPECT_EQ(o.snapshots[2].atMs, 1000);
    EXPECT_EQ(o.snapshots[2].path, (fs::path(r.framesDir) / "frame-000003.png").string());
    EXPECT_EQ(o.snapshots[3].atMs, 1000);
    EXPECT_EQ(o.snapshots[3].path, r.renderPath);

    // Under a frame: none; a bare still at --seconds 0 is taken at once.
    r.seconds = 0.3;
    r.renderPath.clear();
    ASSERT_TRUE(planRender(r, o, error));
    EXPECT_TRUE(o.snapshots.empty());

    // Too many pictures, or nowhere to put them: refused before any drawing.
    r.seconds = 1e7;
    r.fps = 1000;
    r.framesDir = (tmp.path() / "never").string();
    EXPECT_FALSE(planRender(r, o, error));
    EXPECT_NE(error.find("at most 100000"), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(r.framesDir));
    r.framesDir.clear();
    r.renderPath = (tmp.path() / "no" / "such" / "x.png").string();
    EXPECT_FALSE(planRender(r, o, error));
    EXPECT_NE(error.find("no folder"), std::string::npos) << error;
}

class RenderProgram : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("QV_TEST_EXE")) GTEST_SKIP() << "QV_TEST_EXE is not set";
    }
    // Runs quorvane with `args` on the empty settings folder; its exit
    // status, with standard error in `err`.
    int run(const std::string& args, std::string* err = nullptr) {
        const fs::path errFile = tmp.path() / "err.txt";
        const std::string cmd = "cd '" + tmp.path().string() + "' && QUORVANE_CONFIG_DIR='" +
                                (tmp.path() / "config").string() + "' '" + std::getenv("QV_TEST_EXE") +
                                "' " + args + " </dev/null >/dev/null 2>'" + errFile.string() + "'";
        const int status = std::system(cmd.c_str());
        if (err) *err = readFile(errFile);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string picture(const std::string& name) { return readFile(tmp.path() / name); }

    TempFolder tmp;
};

TEST_F(RenderProgram, SameArgumentsSameBytesAnotherSeedAnotherPicture) {
    const std::string common = " --size 240x160 --seconds 30";
    std::string err;
    ASSERT_EQ(run("--render a.png --seed 5" + common, &err), 0) << err;
    EXPECT_EQ(err, "") << "no progress line when standard error is not a terminal";
    ASSERT_EQ(run("--seed 5 --render b.png" + common), 0);
    ASSERT_EQ(run("--render c.png --seed 6" + common), 0);
    ASSERT_EQ(run("--render d.png --depth 8 --seed 5" + common), 0);
    ASSERT_EQ(run("--render e.png --depth 8 --seed 5" + common), 0);
    EXPECT_FALSE(picture("a.png").empty());
    EXPECT_EQ(picture("a.png"), picture("b.png"));
    EXPECT_NE(picture("a.png"), picture("c.png"));
    EXPECT_EQ(picture("d.png"), picture("e.png"));
    EXPECT_NE(picture("a.png"), picture("d.png"));

    // Something was drawn: many colours, on a palette display no more than
    // it can show.
    for (const std::string name : {"a.png", "d.png"}) {
        const CSurface s = readPng((tmp.path() / name).string());
        ASSERT_EQ(s.width(), 240);
        ASSERT_EQ(s.height(), 160);
        std::set<uint32_t> colours;
        for (int y = 0; y < s.height(); ++y)
            for (int x = 0; x < s.width(); ++x) colours.insert(s.at(x, y));
        EXPECT_GT(colours.size(), 20u) << name;
        if (name == "d.png") {
            EXPECT_LE(colours.size(), 256u);
        }
    }
    EXPECT_FALSE(fs::exists(tmp.path() / "config" / "registry.ini")) << "settings are only read";
}

TEST_F(RenderProgram, SequenceEndsWithTheStillAndFailuresAreSaid) {
    ASSERT_EQ(run("--frames seq --fps 2 --render still.png --size 160x120 --seconds 3 --seed 1"), 0);
    for (int k = 1; k <= 6; ++k)
        EXPECT_TRUE(fs::exists(tmp.path() / "seq" / frameFile("", k))) << k;
    EXPECT_FALSE(fs::exists(tmp.path() / "seq" / frameFile("", 7)));
    EXPECT_EQ(picture("seq/frame-000006.png"), picture("still.png"));
    EXPECT_NE(picture("seq/frame-000001.png"), picture("still.png"));

    std::string err;
    EXPECT_EQ(run("--render missing/x.png", &err), 1);
    EXPECT_EQ(err, "quorvane: there is no folder missing to write missing/x.png in\n");
    // A file where the folder should be: the picture cannot be written.
    std::ofstream(tmp.path() / "plain") << "x";
    EXPECT_EQ(run("--frames plain/seq --seconds 1", &err), 1);
    EXPECT_NE(err.find("cannot make the folder plain/seq"), std::string::npos) << err;
    EXPECT_EQ(run("/c", &err), 1);
    EXPECT_EQ(err, "quorvane: the configuration program (quorvane-config) is not available in this build\n");
    EXPECT_EQ(run("", &err), 1);
}

}  // namespace
