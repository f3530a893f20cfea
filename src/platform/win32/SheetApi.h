#pragma once
// Bridge to the settings sheet of Windows (SheetApi.cpp, the system side): a
// modal property sheet whose pages are laid out from plain descriptions of
// their controls, asking a host for every value it shows and telling it of
// every change. The host (built from the page description) owns the values;
// this side owns the windows. See Api.h for the rules of bridge headers.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform::win32 {

// One control of a page.
struct SheetItem {
    enum class Kind { Slider, Spin, Check, Choice, Text, FolderList, Note };
    Kind kind = Kind::Slider;
    std::string label;  // with its '&' mnemonic; a Note's text
    std::string toolTip;
    int minimum = 0;
    int maximum = 0;
    int pageStep = 1;
    std::string unit;  // shown after a spin control
    std::string lowEnd, highEnd;
    std::vector<std::string> options, optionTips;  // a choice's radio buttons
    // The folder list's "Add" and "Remove" buttons, and the picker's title;
    // a choice's one button beside its group (see SheetHost::act).
    std::vector<std::string> buttons, buttonTips;
    std::string pickerTitle;
    // Items of one block share rows; column 1 puts a slider beside the
    // column-0 slider of the same row, both then half as wide.
    int block = 0;
    int column = 0;
    // A colour sample before the label (0x00RRGGBB), or -1.
    int64_t sample = -1;
};

struct SheetTab {
    std::string caption;
    std::vector<SheetItem> items;
    std::string resetLabel, resetTip;
    bool chaos = false;  // a "Reduce Chaos" button is shown
    std::string chaosLabel, chaosTip;
};

// What the sheet asks and tells; tab and item are indices into the tabs.
class SheetHost {
public:
    virtual ~SheetHost() = default;
    virtual int value(int tab, int item) = 0;
    virtual std::string text(int tab, int item) = 0;
    virtual std::vector<std::string> folders() = 0;
    virtual bool enabled(int tab, int item) = 0;
    // A slider's value as shown beside it.
    virtual std::string shown(int tab, int item, int value) = 0;
    virtual void setValue(int tab, int item, int value) = 0;
    virtual void setText(int tab, int item, const std::string& utf8) = 0;
    // Adds a folder the picker gave; what to tell the user when it cannot
    // be added (empty: added, or already there).
    virtual std::string addFolder(const std::string& folder) = 0;
    virtual void removeFolder(int index) = 0;
    // A choice's button: what it does, and what to tell the user then.
    virtual std::string act(int tab, int item) = 0;
    virtual bool canAct(int tab, int item) = 0;
    // What the text fields of the tab would lose when stored; empty: nothing.
    virtual std::string lost(int tab) = 0;
    virtual void reset(int tab) = 0;
    virtual void reduceChaos(int tab) = 0;
    virtual bool changed(int tab) = 0;
    // Writes the tab's values; false with the reason in `error`.
    virtual bool apply(int tab, std::string& error) = 0;
    virtual void help() = 0;
    // The preview beside the pages, when the host wants one: (re)starts the
    // saver drawing in `window` with the values as they stand; what to show
    // in its place when it cannot (empty: it runs). The sheet asks a moment
    // after it opens and after the last of a run of changes.
    virtual bool hasPreview() { return false; }
    virtual std::string showPreview(uint64_t /*window*/) { return {}; }
    // The sheet has closed: the preview ends and its store goes.
    virtual void endPreview() {}
};

// Drives an open sheet without a person (tests): called once the sheet is
// shown, from inside its modal loop.
class SheetRemote {
public:
    virtual ~SheetRemote() = default;
    virtual uint64_t window() = 0;
    virtual uint64_t owner() = 0;
    virtual void select(int tab) = 0;
    // The item controls made for a tab (0 before it was first shown).
    virtual int itemsMade(int tab) = 0;
    // Sets an item of the current tab as a person would: a slider or spin
    // control to a value, a check box (0/1), a radio button, a text field.
    virtual void setValue(int item, int value) = 0;
    virtual void setText(int item, const std::string& utf8) = 0;
    // A push button of the current tab by its label ("Reset to defaults").
    virtual void press(const std::string& label) = 0;
    // The sheet's OK, Cancel, Apply or Help button.
    enum class Button { Ok, Cancel, Apply, Help };
    virtual void press(Button button) = 0;
    // OK or Cancel was taken: the sheet closes when the script returns.
    virtual bool closing() = 0;
    // The window the preview draws in (0: the sheet has none).
    virtual uint64_t previewWindow() = 0;
    // Lets the sheet run for `ms` milliseconds (timers and all).
    virtual void wait(int ms) = 0;
    // The sheet as it is on screen, as a 24-bit BMP file.
    virtual bool screenshot(const std::string& path) = 0;
};
void setSheetRemote(std::function<void(SheetRemote&)> remote);
// Answers in place of the sheet's message boxes (tests): the question about
// characters a message cannot keep (true: store anyway), and a failed write
// (the answer is not used).
void setSheetBoxes(std::function<bool(const std::string& text)> answer);

// Shows the sheet modal to `owner` (0: the foreground window) on tab
// `startTab`. 1 when OK or Apply wrote anything, 0 otherwise, -1 when it
// could not be shown (the reason in `error`).
int showSheet(const std::string& caption, const std::vector<SheetTab>& tabs, SheetHost& host, uint64_t owner,
              int startTab, std::string& error);

// Bits per pixel of the primary display.
int displayBitsPerPixel();

}  // namespace platform::win32
