// Paths whose names are not ASCII (a user named "José", a picture saved as
// "東京.png"): the program must name those files, not what the ANSI code
// page makes of their characters.

#include <gtest/gtest.h>

#include <process.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "app/SaverApp.h"
#include "platform/OutputFile.h"
#include "support/BuildPath.h"

namespace fs = std::filesystem;

namespace {

const wchar_t* const kName = L"Jos\u00e9 \u0141\u00f3d\u017a \u6771\u4eac";

struct NonAsciiFolder {
    NonAsciiFolder() { fs::create_directories(path); }
    ~NonAsciiFolder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
    const fs::path path = fs::temp_directory_path() / kName;
};

}  // namespace

TEST(NonAsciiPathTest, TraceFileLandsInANonAsciiTempFolder) {
    NonAsciiFolder folder;
    _wputenv_s(L"QUORTEMP", folder.path.c_str());
    EXPECT_EQ(CSaverApp::traceFolder(), folder.path);
    std::FILE* f = platform::openLogFile(CSaverApp::traceFile(), true);
    EXPECT_NE(f, nullptr);
    if (f) std::fclose(f);
    EXPECT_TRUE(fs::is_regular_file(folder.path / L"trace.txt"));
    _wputenv_s(L"QUORTEMP", L"");
}

// The command line reaches the program as UTF-16; its narrow argv would hold
// the ANSI code page's "?" for each of these characters.
TEST(NonAsciiPathTest, RenderWritesToTheNonAsciiPathOfItsCommandLine) {
    NonAsciiFolder folder;
    const fs::path picture = folder.path / (std::wstring(kName) + L".png");
    const std::wstring program = buildPath(QV_TEST_EXE).native();
    // Spawned arguments are joined into one line: the path is quoted.
    const std::wstring quotedPicture = L"\"" + picture.native() + L"\"";
    const wchar_t* const args[] = {program.c_str(),
                                   L"--render",
                                   quotedPicture.c_str(),
                                   L"--seed",
                                   L"1",
                                   L"--seconds",
                                   L"1",
                                   L"--size",
                                   L"32x18",
                                   L"--style",
                                   L"Plasma",
                                   nullptr};
    EXPECT_EQ(_wspawnv(_P_WAIT, program.c_str(), args), 0);
    EXPECT_TRUE(fs::is_regular_file(picture));
}
