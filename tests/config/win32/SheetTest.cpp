// The native settings sheet, driven as a person would: every page opens with
// a control for every one the description has (pictures of each page go to
// sheet-pages/ in the working folder), OK writes what was changed and Cancel
// nothing, Help asks for the help page, and the sheet is modal to the window
// it is given (the program started with /c:<HWND> is tests/app/win32's).

#include <gtest/gtest.h>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <filesystem>
#include <map>

#include "config/SheetModel.h"
#include "config/WindowsSheet.h"
#include "platform/win32/SheetApi.h"
#include "support/TempFolder.h"

namespace {

using platform::win32::SheetRemote;

// Every numeric value the description edits, as a record holds it.
std::map<std::string, int> snapshot(const Settings& s) {
    std::map<std::string, int> values;
    for (const sheet::Page& page : sheet::pages())
        for (const sheet::Control& c : page.controls)
            if (c.numeric()) values[c.key] = sheet::value(s, c);
    return values;
}

class NativeSheet : public ::testing::Test {
protected:
    NativeSheet() {
        platform::win32::setSheetBoxes([this](const std::string& text) {
            boxes.push_back(text);
            return answer;
        });
    }
    ~NativeSheet() override {
        platform::win32::setSheetRemote(nullptr);
        platform::win32::setSheetBoxes(nullptr);
    }
    // Shows the sheet with `script` driving it; what showWindowsSheet says.
    int run(std::function<void(SheetRemote&)> script, uint64_t owner = 0) {
        platform::win32::setSheetRemote(std::move(script));
        std::string error;
        const int result = sheet::showWindowsSheet(
            settings, owner, [this] { ++helps; }, error);
        EXPECT_GE(result, 0) << error;
        return result;
    }
    TempFolder tmp;
    Settings settings{platform::ProfileStore(tmp.path()), "Test Owner"};
    std::vector<std::string> boxes;
    bool answer = true;
    int helps = 0;
};

TEST_F(NativeSheet, EveryPageOpensWithTheDescribedControls) {
    std::vector<std::vector<int>> controlOf;
    const auto tabs = sheet::windowsTabs(32, controlOf);
    ASSERT_EQ(tabs.size(), sheet::pages().size());
    for (size_t t = 0; t < tabs.size(); ++t) {
        const sheet::Page& page = sheet::pages()[t];
        SCOPED_TRACE(page.caption);
        EXPECT_EQ(tabs[t].caption, page.caption);
        // Each control of the page once, in order, under its own label.
        std::vector<std::string> labels;
        for (size_t i = 0; i < tabs[t].items.size(); ++i)
            if (controlOf[t][i] >= 0) {
                EXPECT_EQ(static_cast<size_t>(controlOf[t][i]), labels.size());
                labels.push_back(tabs[t].items[i].label);
                EXPECT_FALSE(tabs[t].items[i].toolTip.empty() && tabs[t].items[i].optionTips.empty());
            }
        ASSERT_EQ(labels.size(), page.controls.size());
        for (size_t i = 0; i < labels.size(); ++i) EXPECT_EQ(labels[i], page.controls[i].label);
    }

    const std::filesystem::path pictures = std::filesystem::absolute("sheet-pages");
    std::filesystem::create_directories(pictures);
    std::vector<int> made;
    bool shot = true;
    run([&](SheetRemote& remote) {
        for (int t = 0; t < static_cast<int>(tabs.size()); ++t) {
            remote.select(t);
            made.push_back(remote.itemsMade(t));
            shot = remote.screenshot(
                       (pictures / (std::to_string(t) + "-" + tabs[t].caption + ".bmp")).string()) &&
                   shot;
        }
        remote.press(SheetRemote::Button::Cancel);
    });
    ASSERT_EQ(made.size(), tabs.size());
    for (size_t t = 0; t < made.size(); ++t)
        EXPECT_EQ(made[t], static_cast<int>(sheet::pages()[t].controls.size())) << sheet::pages()[t].caption;
    EXPECT_TRUE(shot);
}

TEST_F(NativeSheet, CancelWritesNothing) {
    const auto before = snapshot(settings);
    const int result = run([](SheetRemote& remote) {
        for (int t = 0; t < 9; ++t) {
            remote.select(t);
            remote.press("Reset to defaults");
        }
        remote.select(1);
        remote.setValue(0, 3);
        remote.select(5);
        remote.setText(1, "Cancelled");
        remote.press(SheetRemote::Button::Cancel);
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(snapshot(settings), before) << "the record is untouched";
    EXPECT_EQ(settings.message(0), Settings(platform::ProfileStore(tmp.path()), "Test Owner").message(0));
    EXPECT_TRUE(boxes.empty());
    const Settings reread(platform::ProfileStore(tmp.path()), "Test Owner");
    EXPECT_EQ(snapshot(reread), before) << "and so is the store";
}

// OK writes the changed pages through the record. Where the store cannot be
// written, the sheet says so and stays open with the values as they are.
TEST_F(NativeSheet, OkWritesTheChangedPages) {
    bool closed = false;
    const int result = run([&](SheetRemote& remote) {
        remote.select(1);  // Styles
        remote.setValue(1, 37);
        remote.select(0);  // General
        remote.setValue(4, 0);
        remote.press(SheetRemote::Button::Ok);
        closed = remote.closing();
        if (!closed) remote.press(SheetRemote::Button::Cancel);
    });
    EXPECT_EQ(settings.styleDots(), 37) << "the record holds what was set";
    EXPECT_FALSE(settings.blankScreen());
    const Settings reread(platform::ProfileStore(tmp.path()), "Test Owner");
    if (boxes.empty()) {
        EXPECT_EQ(result, 1);
        EXPECT_EQ(reread.styleDots(), 37);
        EXPECT_FALSE(reread.blankScreen());
    } else {
        // This build's store writes nothing: the failure is told, not hidden.
        EXPECT_NE(boxes.front().find("could not save"), std::string::npos) << boxes.front();
        EXPECT_EQ(result, 0);
    }
}

// A message with a character the record's code page lacks: the user is
// asked before it becomes "?", and saying no keeps the sheet open, unwritten.
TEST_F(NativeSheet, AMessageThatWouldLoseCharactersIsQuestioned) {
    answer = false;
    const std::string before = settings.message(0);
    bool closed = true;
    run([&](SheetRemote& remote) {
        remote.select(5);  // Messages: its heading, then the twelve fields
        remote.setText(1, "Ωmega €");
        remote.press(SheetRemote::Button::Ok);
        closed = remote.closing();
        remote.press(SheetRemote::Button::Cancel);
    });
    EXPECT_FALSE(closed);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("replaced by \"?\":\n\nΩ\n"), std::string::npos) << boxes[0];
    EXPECT_EQ(settings.message(0), before);
}

TEST_F(NativeSheet, HelpAndTheOwnerWindow) {
    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(owner, nullptr);
    uint64_t ownedBy = 0;
    bool disabled = false;
    run(
        [&](SheetRemote& remote) {
            ownedBy = remote.owner();
            disabled = !IsWindowEnabled(owner);
            remote.press(SheetRemote::Button::Help);
            remote.press(SheetRemote::Button::Cancel);
        },
        reinterpret_cast<uintptr_t>(owner));
    EXPECT_EQ(ownedBy, reinterpret_cast<uintptr_t>(owner));
    EXPECT_TRUE(disabled) << "modal to its owner";
    EXPECT_EQ(helps, 1);
    DestroyWindow(owner);
}

}  // namespace
