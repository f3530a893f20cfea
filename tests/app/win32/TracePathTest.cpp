// The trace log in a folder whose name is not ASCII (a user named "José"):
// the environment's UTF-8 text must name that folder, not what the ANSI code
// page makes of its bytes.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "app/SaverApp.h"
#include "platform/OutputFile.h"

TEST(TracePathTest, TraceFileLandsInANonAsciiTempFolder) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / L"Jos\u00e9 \u0141\u00f3d\u017a \u6771\u4eac";
    fs::create_directories(folder);
    _wputenv_s(L"QUORTEMP", folder.c_str());
    EXPECT_EQ(CSaverApp::traceFolder(), folder);
    std::FILE* f = platform::openLogFile(CSaverApp::traceFile(), true);
    EXPECT_NE(f, nullptr);
    if (f) std::fclose(f);
    EXPECT_TRUE(fs::is_regular_file(folder / L"trace.txt"));
    _wputenv_s(L"QUORTEMP", L"");
    std::error_code ec;
    fs::remove_all(folder, ec);
}
