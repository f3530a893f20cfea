#pragma once
// The settings sheet's nine pages as plain data: for every control the key it
// edits, its kind, range, step, default, label, unit, end labels and tool
// tips, and for every page its "Reset to defaults" and "Reduce Chaos" values.
// Every program that shows the sheet lays its pages out from this alone (the
// Qt program here, a native property sheet elsewhere), so that a label, a
// range or a tip is written once. Nothing here knows a toolkit or a system.

#include <string>
#include <utility>
#include <vector>

#include "engine/Settings.h"

namespace sheet {

enum class Kind {
    Slider,      // a track bar: minimum..maximum, `step` its page size
    Spin,        // a number box with arrows: minimum..maximum by 1
    Check,       // a check box: 0 or 1
    Choice,      // radio buttons in a titled group: the option's index
    Text,        // one line of text (a message)
    FolderList,  // the list of image folders
};

// What a number counts, so that it can be shown with its unit.
enum class Unit {
    Weight,        // a relative weight: shown as the bare number
    Percent,       // a chance in percent
    Milliseconds,  // shown as "50 ms"
    Seconds,       // shown as "45 s", "1 min 15 s", "5 min"
    Minutes,       // shown as "60 min"
};

struct Option {
    const char* label;
    const char* toolTip;
};

struct Control {
    Kind kind = Kind::Slider;
    // The key as stored ("Speed", "Color3", "Message0", "Folders").
    const char* key = "";
    // With its '&' mnemonic. A hue slider's label is its colour's name
    // (shown beside the sample, no mnemonic); a choice's is its group title.
    const char* label = "";
    int minimum = 0;
    int maximum = 0;
    int step = 0;
    // The record's default (texts: see defaultText()).
    int defaultValue = 0;
    Unit unit = Unit::Weight;
    // Words at the two ends of a slider whose direction is not obvious;
    // null when there are none.
    const char* lowEnd = nullptr;
    const char* highEnd = nullptr;
    // Shown on pointing at the control; a control may have two.
    std::vector<const char*> toolTips;
    // The tip instead on a display of 8 bits per pixel or fewer (the hue
    // sliders: there the samples are only approximate); null when the same.
    const char* paletteToolTip = nullptr;
    // The radio buttons of a choice, by value.
    std::vector<Option> options;
    // The check box (by key) that enables this control; null when always.
    const char* enabledBy = nullptr;
    // Layout hints: controls of one block share a grid; column 1 puts a
    // slider in a second column beside the first.
    int block = 0;
    int column = 0;
    // The hue (0 to 11) whose colour sample stands beside the slider, or -1.
    int hue = -1;
    // The index in the record's array ("Message3", "Color3": 3), else -1.
    int index = -1;

    bool numeric() const {
        return kind == Kind::Slider || kind == Kind::Spin || kind == Kind::Check || kind == Kind::Choice;
    }
    // The accessible name: the label without its mnemonic mark and colon.
    std::string name() const;
};

// A button that acts rather than holds a setting (the folder list's).
struct Button {
    // The name the program knows it by.
    const char* name;
    const char* label;
    const char* toolTip;
};

struct Page {
    const char* caption = "";
    // The control id of the page's "Reset to defaults" button.
    int resetId = 0;
    const char* resetToolTip = "";
    std::vector<Control> controls;
    // "Reduce Chaos": a tip and the values it sets. A page may carry the
    // button hidden and without values.
    bool hasChaos = false;
    bool chaosHidden = false;
    const char* chaosToolTip = nullptr;
    std::vector<std::pair<const char*, int>> chaos;
    // Pairs of sliders (lower, upper) kept in order: moving one past the
    // other takes the other along.
    std::vector<std::pair<const char*, const char*>> ordered;
    // Every control is disabled where colour animation is not possible.
    bool needsAnimation = false;
    // The record's write operation for the page's keys.
    bool (Settings::*write)() = nullptr;
    // A line above the controls (with the mnemonic of the first), or null.
    const char* heading = nullptr;
    // The page's buttons that act: beside the folder list, and (the last)
    // beside the display order.
    std::vector<Button> buttons;

    const Control* control(const char* key) const;
};

constexpr const char* kResetText = "Reset to defaults";
constexpr const char* kReduceChaosText = "Reduce Ch&aos";
constexpr const char* kSheetCaption = "Quorvane Screensaver";
constexpr const char* kSampleNote = "(The color samples above only show accurately in Hi or True Color.)";

// The images page's folder browser and notes (captioned kNoteCaption).
constexpr const char* kNoteCaption = "Quorvane";
constexpr const char* kChooseFolderTitle = "Choose a folder containing your images:";
constexpr const char* kNoImagesNote = "No images (jpg, jpe, jpeg or bmp) were found in this folder.";
constexpr const char* kStartFirstNote = "Images will start from the first one on the next run.";
constexpr const char* kNetscapeCacheNote =
    "Quorvane could not locate the Netscape cache.\nIt can be added by searching with the Add button.";
// Follows the browser's name.
constexpr const char* kCacheUnsupportedNote =
    " not supported.\nOnly IExplore and Netscape. Other cache folders can be added with the Add button.";
// The folder list separates folders with "*": a name holding one cannot be
// stored. Follows the folder's name in quotes.
constexpr const char* kStarInFolderNote =
    " cannot be added: its name holds a \"*\", which the settings use to separate folders. Rename the "
    "folder, or choose a folder above it.";

// The nine pages, in tab order.
const std::vector<Page>& pages();
const Page* page(const char* caption);

// A numeric control's value in `settings`, and back. Check boxes are 0 or 1.
int value(const Settings& settings, const Control& control);
void setValue(Settings& settings, const Control& control, int value);
// The default of a text control (the messages' depend on the owner's name).
std::string defaultText(const Settings& settings, const Control& control);

// The short name of a unit ("ms", "s", "min", "%"); empty for a weight.
const char* unitSymbol(Unit unit);
// `value` with the control's unit, as a person reads it.
std::string formatValue(const Control& control, int value);
// The character of the mnemonic in `label` ("Mi&nimum" gives 'n'), lower
// case; 0 when there is none ("&&" is a plain ampersand).
char mnemonic(const char* label);

// The colour mode text of the animation page, for a display of
// `bitsPerPixel`, and whether colour animation can be used on it.
std::string colorModeText(int bitsPerPixel);
bool animationPossible(int bitsPerPixel);

}  // namespace sheet
