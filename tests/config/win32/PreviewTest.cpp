// The preview beside the native sheet: the saver runs as "/p <window>" in a
// window of the sheet, on a store of its own filled with the values as they
// stand; a change starts it again with the new value; Cancel ends it, removes
// its store and leaves the user's registry values byte for byte as they were.
// A picture of the sheet with the preview goes to sheet-preview.bmp.

#include <gtest/gtest.h>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <filesystem>
#include <vector>

#include "config/WindowsSheet.h"
#include "platform/win32/PreviewApi.h"
#include "platform/win32/SheetApi.h"
#include "platform/win32/Utf8.h"
#include "support/BuildPath.h"
#include "support/TempFolder.h"

namespace {

using platform::win32::SheetRemote;

// Every key, value name, type and byte below `key`, as one text.
void dump(HKEY key, const std::wstring& path, std::wstring& out) {
    wchar_t name[16384];
    std::vector<BYTE> data(1 << 16);
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = 16384, type = 0, bytes = static_cast<DWORD>(data.size());
        if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data.data(), &bytes) != ERROR_SUCCESS)
            break;
        out += path + L"|" + name + L"|" + std::to_wstring(type) + L"|";
        for (DWORD b = 0; b < bytes; ++b) out += std::to_wstring(data[b]) + L",";
        out += L"\n";
    }
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = 16384;
        if (RegEnumKeyExW(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        HKEY sub = nullptr;
        if (RegOpenKeyExW(key, name, 0, KEY_READ, &sub) != ERROR_SUCCESS) continue;
        dump(sub, path + L"\\" + name, out);
        RegCloseKey(sub);
    }
}

std::wstring quorvaneRegistry() {
    std::wstring out;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Quorvane", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return out;
    dump(key, L"", out);
    RegCloseKey(key);
    return out;
}

bool alive(uint32_t id) {
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
    if (!process) return false;
    const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return running;
}

int dotsIn(const std::string& storeFolder) {
    return Settings(platform::ProfileStore(platform::win32::pathFromUtf8(storeFolder)), "").styleDots();
}

TEST(SheetPreview, RunsOnAStoreOfItsOwnRestartsOnAChangeAndGoesWithTheSheet) {
    TempFolder tmp;
    Settings settings{platform::ProfileStore(tmp.path()), "Test Owner"};
    settings.setStyleDots(5);
    ASSERT_TRUE(settings.writeStyles());
    const std::wstring before = quorvaneRegistry();

    std::vector<platform::win32::PreviewStart> starts;
    platform::win32::setPreviewWatcher([&](const platform::win32::PreviewStart& s) { starts.push_back(s); });
    HWND pane = nullptr;
    bool onTheSheet = false, shown = false;
    DWORD drawnBy = 0;
    std::vector<int> stored;  // the preview store's value at each start
    platform::win32::setSheetRemote([&](SheetRemote& remote) {
        pane = reinterpret_cast<HWND>(remote.previewWindow());
        onTheSheet = pane && GetAncestor(pane, GA_ROOT) == reinterpret_cast<HWND>(remote.window());
        // The saver makes its window in the pane once it has started.
        HWND child = nullptr;
        for (int i = 0; i < 200 && !child; ++i) {
            remote.wait(50);
            child = pane ? GetWindow(pane, GW_CHILD) : nullptr;
        }
        if (child) GetWindowThreadProcessId(child, &drawnBy);
        if (!starts.empty()) stored.push_back(dotsIn(starts.back().storeFolder));
        remote.wait(1500);  // a few drawing steps for the picture
        shown = child && IsWindowVisible(child);
        remote.screenshot("sheet-preview.bmp");
        remote.select(1);  // Styles: Dots
        remote.setValue(1, 37);
        for (int i = 0; i < 200 && starts.size() < 2; ++i) remote.wait(50);
        if (starts.size() >= 2) stored.push_back(dotsIn(starts.back().storeFolder));
        remote.press(SheetRemote::Button::Cancel);
    });
    std::string error;
    const int result = sheet::showWindowsSheet(settings, 0, nullptr, error, buildPath(QV_TEST_EXE).string());
    platform::win32::setSheetRemote(nullptr);
    platform::win32::setPreviewWatcher(nullptr);

    EXPECT_EQ(result, 0) << error;
    ASSERT_NE(pane, nullptr) << "no preview beside the pages";
    EXPECT_TRUE(onTheSheet);
    ASSERT_EQ(starts.size(), 2u) << "started once, and once after the change";
    const std::string window = " /p " + std::to_string(reinterpret_cast<uintptr_t>(pane));
    for (const auto& s : starts) {
        EXPECT_EQ(s.commandLine.substr(s.commandLine.size() - window.size()), window) << s.commandLine;
        EXPECT_NE(platform::win32::pathFromUtf8(s.storeFolder), tmp.path());
        EXPECT_FALSE(alive(s.processId)) << "the preview outlived the sheet";
        EXPECT_FALSE(std::filesystem::exists(platform::win32::pathFromUtf8(s.storeFolder)));
    }
    EXPECT_EQ(drawnBy, starts[0].processId) << "the saver's window is not in the pane";
    EXPECT_TRUE(shown);
    EXPECT_EQ(stored, (std::vector<int>{5, 37})) << "the values as they stood";
    EXPECT_EQ(settings.styleDots(), 5);
    EXPECT_TRUE(quorvaneRegistry() == before) << "the user's values changed, or the preview's store stayed";
    platform::win32::removePreviewStore(tmp.path());
}

}  // namespace
