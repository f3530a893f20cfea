#include <gtest/gtest.h>

#include "app/SaverApp.h"
#include "support/EnvOverride.h"
#include "support/ManualClock.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;

namespace {

std::vector<int> firstValues(RandomSource& r) {
    std::vector<int> v;
    for (int i = 0; i < 20; ++i) v.push_back(r.next());
    return v;
}

}  // namespace

TEST(SaverApp, SeedArgumentRepeatsTheSequence) {
    CSaverApp a, b;
    a.construct({"/s", "/r7"});
    b.construct({"-S", "-r7"});
    EXPECT_EQ(a.rand.seedValue(), 7);
    RandomSource seven(7);
    const auto expected = firstValues(seven);
    EXPECT_TRUE(firstValues(a.rand) == expected && firstValues(b.rand) == expected);
    // Without the rule the calendar time seeds the generator.
    platform::ScopedClock clock(std::make_unique<ManualClock>());
    CSaverApp c;
    for (const auto& args :
         std::vector<std::vector<std::string>>{{}, {"/s"}, {"/s", "/R7"}, {"/s", "7"}, {"--window", "/r7"}}) {
        c.construct(args);
        EXPECT_EQ(c.rand.seedValue(), 1700000000) << args.size();
    }
    c.construct({"/p", "/r"});
    EXPECT_TRUE(c.rand.seedValue() == 0 && c.mode() == CSaverApp::kModeNone) << "no digits seed 0";
}

TEST(SaverApp, TraceFlagsAndFolder) {
    TempFolder tmp;
    {
        EnvOverride quortemp("QUORTEMP", nullptr);
        CSaverApp app;
        EXPECT_FALSE(app.traceOn() || app.traceFolderSet());
        // A message "trace" switches tracing on without the folder variable.
        platform::ProfileStore store(tmp.path());
        ASSERT_TRUE(store.writeValues(Settings::kConfigKey, {{"Message4", "trace"}}));
        LaunchRequest password;
        password.action = LaunchRequest::Action::ChangePassword;
        EXPECT_FALSE(app.InitInstance(password, store));
        EXPECT_TRUE(app.mode() == CSaverApp::kModePassword && app.ExitInstance() == 0);
        EXPECT_TRUE(app.traceOn() && !app.traceFolderSet());
    }
    EnvOverride quortemp("QUORTEMP", tmp.path().c_str());
    CSaverApp app;
    EXPECT_TRUE(app.traceOn() && app.traceFolderSet());
    // The trace folder: QUORTEMP, else TEMP, else TMPDIR, else /tmp.
    EnvOverride q("QUORTEMP", "/q"), t("TEMP", "/t"), d("TMPDIR", "/d");
    EXPECT_EQ(CSaverApp::traceFile(), fs::path("/q/trace.txt"));
    std::vector<std::unique_ptr<EnvOverride>> unset;
    for (const auto& [name, next] : {std::pair{"QUORTEMP", "/t"}, {"TEMP", "/d"}, {"TMPDIR", "/tmp"}}) {
        unset.push_back(std::make_unique<EnvOverride>(name, nullptr));
        EXPECT_EQ(CSaverApp::traceFolder(), fs::path(next)) << "without " << name;
    }
}

TEST(SaverApp, TraceLines) {
    TempFolder tmp;
    EnvOverride quortemp("QUORTEMP", tmp.path().c_str());
    auto owned = std::make_unique<ManualClock>();
    ManualClock& clock = *owned;
    platform::ScopedClock scope(std::move(owned));
    tmp.write("trace.txt", "left from an earlier run\n");
    CSaverApp app;
    clock.sleepMs(5000), app.trace("%s line %d : rand.seed() = %d", "App", 42, -7);  // the lap starts here
    clock.sleepMs(1234), app.trace("Saver line 9");
    clock.sleepMs(3), app.trace("%s", std::string(2000, 'x').c_str());  // the result is cut, not the format
    EXPECT_EQ(tmp.read("trace.txt"),
              "         0: App line 42 : rand.seed() = -7\r\n      1234: Saver line 9\r\n"
              "         3: " +
                  std::string(1023, 'x') + "\r\n");
    // A format of 1024 characters or more is replaced; one of 1023 is not.
    const std::string just(1023, 'y');
    app.trace(just.c_str(), 0), app.trace((just + "y").c_str(), 0);
    const std::string text = tmp.read("trace.txt");
    EXPECT_NE(text.find("         0: " + just + "\r\n"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 35), "         0: Trace string too long\r\n");
    // A new-file request empties the file with the next line.
    app.setTraceNewFile(), app.trace("fresh");
    // Tracing off writes nothing; a folder that cannot hold the file loses the line quietly.
    app.setTraceOn(false), app.trace("lost");
    EXPECT_EQ(tmp.read("trace.txt"), "         0: fresh\r\n");
    app.setTraceOn(true);
    EnvOverride missing("QUORTEMP", (tmp.path() / "no" / "such").c_str());
    app.trace("lost too");
}

TEST(SaverApp, HelpPageErrorsAndTheProgramsOwnSheet) {
    TempFolder tmp;
    platform::ProfileStore store(tmp.path());
    ASSERT_TRUE(store.writeValues(Settings::kConfigKey, {{"InstallFolder", (tmp.path() / "inst").string()}}));
    CSaverApp app;
    LaunchRequest password;
    password.action = LaunchRequest::Action::ChangePassword;
    app.InitInstance(password, store);
    const fs::path page = tmp.path() / "inst" / "quorvane.htm";
    EXPECT_EQ(app.helpFile(), page) << "a separator is added to the folder";
    testing::internal::CaptureStderr();
    app.showHelp();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "quorvane: Error: Sorry, could not find help file " +
                                                          page.string() +
                                                          ". It may be installed in another folder.\n");
    // No InstallFolder: the page is looked for where it is installed.
    CSaverApp installed;
    installed.InitInstance(password, platform::ProfileStore(tmp.path() / "empty"));
    EXPECT_EQ(installed.helpFile(), fs::path(QV_DATA_DIR "quorvane.htm"));
    EXPECT_TRUE(installed.helpFile().is_absolute());
    // Where the program shows the settings sheet itself, the configuration
    // mode opens it on the record read, modal to the window named, and ends.
    CSaverApp configuring;
    Settings* shown = nullptr;
    uint64_t owner = 0;
    configuring.setSettingsSheet([&](Settings& s, uint64_t o) { shown = &s, owner = o; });
    LaunchRequest configure;
    configure.action = LaunchRequest::Action::Configure;
    configure.windowId = 4242;
    EXPECT_FALSE(configuring.InitInstance(configure, store));
    EXPECT_TRUE(shown && shown == configuring.settings() && owner == 4242u);
    EXPECT_TRUE(configuring.mode() == CSaverApp::kModeConfigure && configuring.ExitInstance() == 0);
}
