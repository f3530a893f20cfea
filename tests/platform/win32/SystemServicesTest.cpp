// The small services on Windows: files replaced whole, the trace log
// appended, UTF-8 names and environment, the shell's verb, Ctrl+C asking
// for the orderly end, local time and wildcard search.
#ifdef _WIN32

#include <gtest/gtest.h>

#include "platform/win32/SystemHeaders.h"

#include <thread>

#include "platform/Environment.h"
#include "platform/FileSearch.h"
#include "platform/InputFile.h"
#include "platform/LocalTime.h"
#include "platform/OutputFile.h"
#include "platform/Signals.h"
#include "platform/win32/Termination.h"
#include "platform/win32/Utf8.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;
using platform::win32::utf8FromPath;

TEST(WindowsFiles, ReplacedWholeOrNotAtAll) {
    TempFolder tmp;
    const fs::path target = tmp.path() / L"r\u00e9sum\u00e9.txt";
    {
        platform::OutputFile out(target);
        ASSERT_TRUE(out.ok()) << out.error();
        ASSERT_TRUE(out.write("first"));
        ASSERT_TRUE(out.commit());
    }
    // A reader holding the file open (sharing deletion, as readers here
    // do) does not stop the replacement, and keeps the old contents.
    HANDLE reader = CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    {
        platform::OutputFile out(target);
        ASSERT_TRUE(out.write("second, longer") && out.commit()) << out.error();
    }
    char buffer[16] = {};
    DWORD n = 0;
    ReadFile(reader, buffer, sizeof buffer, &n, nullptr);
    CloseHandle(reader);
    EXPECT_EQ(std::string(buffer, n), "first");
    EXPECT_EQ(tmp.read(target), "second, longer");
    // Abandoned: the target stays and no temporary is left.
    {
        platform::OutputFile out(target);
        ASSERT_TRUE(out.write("never"));
    }
    EXPECT_EQ(tmp.read(target), "second, longer");
    // A temporary of a dead writer is removed; one of a live writer stays.
    const fs::path dead = target.native() + L".tmp.4000000000";
    const fs::path live = target.native() + L".tmp." + std::to_wstring(GetCurrentProcessId());
    tmp.write(dead, "x");
    tmp.write(live, "x");
    platform::removeTemporaries(target, false);
    EXPECT_FALSE(fs::exists(dead));
    EXPECT_TRUE(fs::exists(live)) << "this process runs";
    fs::remove(live);
    size_t files = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(tmp.path())) ++files;
    EXPECT_EQ(files, 1u);
    // A folder or a device is never written.
    fs::create_directory(tmp.path() / "dir");
    platform::OutputFile toFolder(tmp.path() / "dir");
    EXPECT_FALSE(toFolder.ok());
    EXPECT_NE(toFolder.error().find("it is a folder"), std::string::npos) << toFolder.error();
    EXPECT_EQ(platform::whyNotWritable(L"NUL"), "it is a device");
    EXPECT_EQ(platform::whyNotWritable(tmp.path() / "new"), "");
}

TEST(WindowsFiles, LogAppendsTruncatesAndRefusesFolders) {
    TempFolder tmp;
    const fs::path log = tmp.path() / "trace.txt";
    for (const bool truncate : {false, false, true, false}) {
        std::FILE* f = platform::openLogFile(log, truncate);
        ASSERT_NE(f, nullptr);
        std::fputs("line\r\n", f);
        std::fclose(f);
    }
    EXPECT_EQ(tmp.read(log), "line\r\nline\r\n");
    // Two writers at once: each line whole.
    std::FILE* a = platform::openLogFile(log, false);
    std::FILE* b = platform::openLogFile(log, false);
    ASSERT_TRUE(a && b);
    std::fputs("a\r\n", a), std::fflush(a);
    std::fputs("b\r\n", b), std::fflush(b);
    std::fclose(a), std::fclose(b);
    EXPECT_EQ(tmp.read(log), "line\r\nline\r\na\r\nb\r\n");
    fs::create_directory(tmp.path() / "folder");
    EXPECT_EQ(platform::openLogFile(tmp.path() / "folder", true), nullptr);
    EXPECT_TRUE(fs::is_directory(tmp.path() / "folder"));
}

TEST(WindowsShell, EnvironmentFoldersAndTheShellInUtf8) {
    SetEnvironmentVariableW(L"QV_TEST_VALUE", L"caf\u00e9 \u20ac");
    EXPECT_EQ(platform::getEnv("QV_TEST_VALUE"), std::optional<std::string>("caf\xC3\xA9 \xE2\x82\xAC"));
    SetEnvironmentVariableW(L"QV_TEST_VALUE", L"");
    EXPECT_EQ(platform::getEnv("QV_TEST_VALUE"), std::optional<std::string>(""));
    SetEnvironmentVariableW(L"QV_TEST_VALUE", nullptr);
    EXPECT_FALSE(platform::getEnv("QV_TEST_VALUE"));
    EXPECT_TRUE(platform::folderExists(platform::homeFolder()));
    EXPECT_TRUE(platform::displayNamed());

    TempFolder tmp;
    std::string why;
    const fs::path made = tmp.path() / L"\u00e9t\u00e9";
    EXPECT_TRUE(platform::makeFolder(made, why) && platform::folderExists(made)) << why;
    EXPECT_TRUE(platform::makeFolder(made, why)) << "already there";
    EXPECT_FALSE(platform::makeFolder(tmp.path() / "no" / "deeper", why));
    EXPECT_NE(why.find("only the last folder of the path is made"), std::string::npos) << why;
    tmp.write("file", "x");
    // Files are opened by their UTF-8 names (the pictures' reader does).
    tmp.write(made / L"é.bmp", "BM");
    std::FILE* picture = platform::openRegularFile(utf8FromPath(made / L"é.bmp"));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(std::fgetc(picture), 'B');
    std::fclose(picture);
    EXPECT_EQ(platform::openRegularFile(utf8FromPath(made / "none.bmp")), nullptr);
    EXPECT_FALSE(platform::makeFolder(tmp.path() / "file", why));
    EXPECT_NE(why.find("is a file, not a folder"), std::string::npos) << why;

    // Nothing opens a page that is not there; the error box goes to
    // standard error while there is one.
    EXPECT_FALSE(platform::shellOpen(tmp.path() / "missing.htm"));
    testing::internal::CaptureStderr();
    platform::showErrorBox("Error", "Sorry, caf\xC3\xA9");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "quorvane: Error: Sorry, caf\xC3\xA9\n");
}

TEST(WindowsShell, CtrlCAsksForTheOrderlyEndOnce) {
    platform::installTerminationHandlers();
    platform::installTerminationHandlers();  // again: nothing changes
    ASSERT_NE(platform::win32::terminationEvent(), nullptr);
    EXPECT_EQ(platform::terminationFd(), -1);
    EXPECT_FALSE(platform::takeTerminationRequest());
    // Delivered as the console delivers it, on a thread of its own.
    if (!GetConsoleWindow() && !AttachConsole(ATTACH_PARENT_PROCESS)) AllocConsole();
    if (!GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0)) GTEST_SKIP() << "no console to deliver Ctrl+C";
    const auto event = static_cast<HANDLE>(platform::win32::terminationEvent());
    ASSERT_EQ(WaitForSingleObject(event, 5000), WAIT_OBJECT_0);
    EXPECT_TRUE(platform::takeTerminationRequest());
    EXPECT_FALSE(platform::takeTerminationRequest()) << "once";
    EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "taken: no longer set";
}

TEST(WindowsShell, LocalTimeAndWildcardSearch) {
    const platform::LocalTime t = platform::localTime(4102444800);  // 2100-01-01 UTC, past 2038
    EXPECT_TRUE((t.year == 2100 && t.month == 1 && t.day == 1) || (t.year == 2099 && t.day == 31));
    const platform::LocalTime bad = platform::localTime(-1000000000000);
    EXPECT_TRUE(bad.year == 1970 && bad.month == 1 && bad.day == 1 && bad.hour == 0);

    TempFolder tmp;
    tmp.write(L"IMG_0001.JPG", "x");
    tmp.write(L"caf\u00e9.jpg", "x");
    tmp.write(L"photo.jpeg", "x");
    fs::create_directory(tmp.path() / "folder.jpg");
    const auto found = platform::findFiles(utf8FromPath(tmp.path()), "*.jpg");
    EXPECT_EQ(found, (std::vector<std::string>{"IMG_0001.JPG", "caf\xC3\xA9.jpg"}));
    EXPECT_EQ(platform::findFiles(utf8FromPath(tmp.path() / L"caf\u00e9.jpg"), "*"),
              std::vector<std::string>{});
}

#endif  // _WIN32
