#include "config/SheetDescription.h"

#include <cctype>
#include <cstring>
#include <initializer_list>

namespace sheet {

namespace {

constexpr const char* kResetTip = "Resets all the above controls to their default settings";

// Reads and writes the numeric settings of the record by key, and knows
// their defaults.
struct Access {
    const char* key;
    int (*get)(const Settings&);
    void (*set)(Settings&, int);
    int defaultValue;
};

const Access kAccess[] = {
#define QV_SETTING(type, Key, get, set, def)                            \
    {#Key, [](const Settings& s) { return static_cast<int>(s.get()); }, \
     [](Settings& s, int v) { s.set(static_cast<type>(v)); }, static_cast<int>(Settings::kDefault##Key)},
    QV_SETTINGS_ALL
#undef QV_SETTING
};

const Access* accessOf(const char* key) {
    for (const Access& a : kAccess)
        if (std::strcmp(a.key, key) == 0) return &a;
    return nullptr;
}

// The record's default of a numeric setting.
int defaultOf(const char* key) {
    const Access* a = accessOf(key);
    return a ? a->defaultValue : 0;
}

// A control of the setting `key`, at the record's default.
Control make(Kind kind, const char* key, const char* label) {
    Control c;
    c.kind = kind;
    c.key = key;
    c.label = label;
    c.defaultValue = defaultOf(key);
    return c;
}

Page makePage(const char* caption, int resetId, const char* resetToolTip) {
    Page p;
    p.caption = caption;
    p.resetId = resetId;
    p.resetToolTip = resetToolTip;
    return p;
}

Control slider(const char* key, const char* label, int maximum, Unit unit, const char* tip, int block = 0) {
    Control c = make(Kind::Slider, key, label);
    c.maximum = maximum;
    c.step = maximum / 10;
    c.unit = unit;
    c.toolTips = {tip};
    c.block = block;
    return c;
}

// Milliseconds between steps: more is slower, which the ends say.
Control pace(const char* key, const char* label, int maximum, const char* tip, int block = 0) {
    Control c = slider(key, label, maximum, Unit::Milliseconds, tip, block);
    c.lowEnd = "Faster";
    c.highEnd = "Slower";
    return c;
}

Control check(const char* key, const char* label, std::vector<const char*> tips, int block = 0) {
    Control c = make(Kind::Check, key, label);
    c.maximum = 1;
    c.step = 1;
    c.toolTips = std::move(tips);
    c.block = block;
    return c;
}

// A row of a table of sliders from 0 to 100: weights, or chances in percent.
struct Row {
    const char* key;
    const char* label;
    const char* tip;
    Unit unit = Unit::Weight;
    int block = 0;
};

std::vector<Control> sliders(std::initializer_list<Row> rows) {
    std::vector<Control> out;
    for (const Row& r : rows) out.push_back(slider(r.key, r.label, 100, r.unit, r.tip, r.block));
    return out;
}

Page general() {
    Page p = makePage("General", 1043, kResetTip);
    p.controls = {
        pace("Speed", "&Speed:", 100, "Slide to the right slow to down the Drawing speed"),
        slider("DelayBetweenDrawings", "&Delay between drawings:", 60, Unit::Seconds,
               "Useful if you would like to be able to grab a screenshot before the drawing is overwritten"),
        slider("MinTime", "Mi&nimum time per drawing:", 300, Unit::Seconds,
               "Sets the minimum time a particular shape is Drawn, up to 5 minutes"),
        slider("MaxTime", "Ma&ximum time per drawing:", 300, Unit::Seconds,
               "Sets the maximum time a particular shape is Drawn, up to 5 minutes"),
        check("BlankScreen", "&Blank screen after specified period",
              {"Stops using images and text in case you run overnight disk utilities, eg backup, defrag",
               "Use this if you are also using automatic power off"},
              1),
    };
    Control minutes = make(Kind::Spin, "BlankMinutes", "Minutes before blanking:");
    minutes.minimum = 1;
    minutes.maximum = 999;
    minutes.step = 1;
    minutes.unit = Unit::Minutes;
    minutes.toolTips = {
        "Set to 5 minutes less than the difference between your power down time and screensaver delay time"};
    minutes.enabledBy = "BlankScreen";
    minutes.block = 1;
    p.controls.push_back(minutes);
    p.controls.push_back(check("IgnoreMouse", "&Ignore mouse for wake-up",
                               {"Moving the mouse will not stop the screensaver. (Not available under NT "
                                "unless running from a shortcut)"},
                               2));
    // The button is there (its mnemonic is taken) but hidden and idle.
    p.hasChaos = true;
    p.chaosHidden = true;
    p.ordered = {{"MinTime", "MaxTime"}};
    p.write = &Settings::writeTiming;
    return p;
}

Page styles() {
    Page p = makePage("Styles", 1048, kResetTip);
    p.controls = sliders({
        {"StyleSolid", "&Solid designs:", "Designs covering an entire area, such as fractals"},
        {"StyleDots", "&Designs made up of dots:", "Patterns created by scattered dots"},
        {"StyleLines", "Patterns made from &lines:", "Patterns created by drawing lines around an area"},
        {"StyleDistort", "Distorting &current display:", "Modifying what is already in the screen"},
        {"StyleBitmap", "&Images:", "Displaying your own JPEG images"},
        {"StyleText", "&Text:", "Writing text, including your own messages"},
        {"Style3D", "&3D shapes:", "3D shapes, such as spheres"},
        {"StyleOverlappingShapes", "O&verlapping shapes:", "Various scattered geometric shapes"},
        {"SingleDot", "Draw designs with a single p&oint (slower, but less chaotic):",
         "Draws slower but less messy patterns, particularly useful for the solid designs such as fractals",
         Unit::Percent},
    });
    // A calm choice: solid designs, drawn a point at a time. The images keep
    // their weight: they are the user's own.
    p.hasChaos = true;
    p.chaosToolTip = "Selects solid designs using a single pixel";
    p.chaos = {{"StyleSolid", 100},           {"StyleDots", 0},  {"StyleLines", 0},
               {"StyleDistort", 0},           {"StyleText", 0},  {"Style3D", 0},
               {"StyleOverlappingShapes", 0}, {"SingleDot", 100}};
    p.write = &Settings::writeStyles;
    return p;
}

Page images() {
    Page p = makePage(
        "Images", 1044,
        "Resets the pause, the period and the display order to their default settings; the folders stay");
    Control folders = make(Kind::FolderList, "Folders", "&Folders to search for images (JPEG and Bitmaps):");
    folders.toolTips = {"List of folders that Quorvane will search for images"};
    Control order = make(Kind::Choice, "ImageOrder", "Display order");
    order.maximum = 1;
    order.step = 1;
    order.options = {{"Ra&ndom", "Images will be selected for display in random order"},
                     {"A&lphabetically by folder",
                      "All images from the first folder will be displayed in alphabetical order, then the "
                      "second alphabetical folder, and so on"}};
    order.block = 2;
    p.controls = {
        folders,
        slider("ImagePause", "&Pause after displaying an image:", 60, Unit::Seconds,
               "How long to pause before starting the next drawing after an image is displayed", 1),
        slider("ImagePeriod", "&Minimum period between images:", 300, Unit::Seconds,
               "The minimum time between displaying images, so they don't cycle too quickly", 1),
        order,
    };
    p.buttons = {{"add", "&Add...", "Choose a folder to search for images"},
                 {"remove", "&Remove", "Takes the selected folder off the list"},
                 {"browserCache", "Add browser &cache", "Adds the web browser's cache folders"},
                 {"startFirst", "&Start at first image next run",
                  "The next run shows the first image of the first folder"}};
    p.write = &Settings::writeImages;
    return p;
}

Page colors() {
    // The twelve hue sectors, from red round the circle in steps of 30 degrees.
    static const char* const kHueNames[Settings::kColorCount] = {
        "Red",  "Orange", "Yellow", "Chartreuse", "Green",   "Spring green",
        "Cyan", "Azure",  "Blue",   "Violet",     "Magenta", "Rose"};
    static const char* const kKeys[Settings::kColorCount] = {"Color0", "Color1", "Color2",  "Color3",
                                                             "Color4", "Color5", "Color6",  "Color7",
                                                             "Color8", "Color9", "Color10", "Color11"};
    // On a palette display the samples are only approximate, so the tips
    // say which colour each slider really stands for.
    static const char* const kPaletteTips[Settings::kColorCount] = {
        "Slide to the right to use more of this color",
        "Actually orange",
        "Yellow",
        "Lime green",
        "Bright green",
        "Actually light green",
        "Cyan",
        "Blue",
        "Bright blue",
        "Violet",
        "Magenta",
        "Slightly bluish red"};
    Page p = makePage("Colors", 1043, kResetTip);
    for (int i = 0; i < Settings::kColorCount; ++i) {
        Control c =
            slider(kKeys[i], kHueNames[i], 100, Unit::Weight, "Slide to the right to use more of this color");
        c.defaultValue = static_cast<int>(Settings::defaultColor(i));
        c.paletteToolTip = kPaletteTips[i];
        c.column = i / (Settings::kColorCount / 2);
        c.hue = i;
        c.index = i;
        p.controls.push_back(c);
    }
    const std::vector<Control> bands = sliders({
        {"UseBlack", "&Black bands:", "Slide to the right to add black bands more often", Unit::Percent, 1},
        {"UseWhite", "&Highlights:", "Slide to the right to add bright highlights more often", Unit::Percent,
         1},
    });
    p.controls.insert(p.controls.end(), bands.begin(), bands.end());
    p.write = &Settings::writeColors;
    return p;
}

Page text() {
    Page p = makePage("Text", 1043, kResetTip);
    p.controls = sliders({
        {"TextMessages", "&Messages:", "Shows the messages you have entered on the next page"},
        {"TextDateTime", "&Date and time:", "Shows the current date and time"},
        {"TextChar", "A random &character:", "Shows just a single random characater"},
        {"TextRandom", "S&tatistics:", "Uses internal statistics, eg number of drawings done, time running"},
        {"QuorSpel", "Mis&spelling:", "Uses an unspell-checker to add speling erorrs to yor nessages",
         Unit::Percent},
    });
    p.write = &Settings::writeText;
    return p;
}

Page messages() {
    // Labels "&1:" to "&9:", "1&0:"; the last two have no mnemonic left.
    static const char* const kLabels[Settings::kMessageCount] = {
        "&1:", "&2:", "&3:", "&4:", "&5:", "&6:", "&7:", "&8:", "&9:", "1&0:", "11:", "12:"};
    static const char* const kKeys[Settings::kMessageCount] = {
        "Message0", "Message1", "Message2", "Message3", "Message4",  "Message5",
        "Message6", "Message7", "Message8", "Message9", "Message10", "Message11"};
    Page p = makePage("Messages", 1043, kResetTip);
    for (int i = 0; i < Settings::kMessageCount; ++i) {
        Control c = make(Kind::Text, kKeys[i], kLabels[i]);
        c.toolTips = {"A message for the text style to show; the numbers that are left empty are skipped"};
        c.index = i;
        p.controls.push_back(c);
    }
    p.heading = "&Enter your text messages - they will be displayed at random:";
    p.write = &Settings::writeMessages;
    return p;
}

Page layout() {
    Page p = makePage("Layout", 1043, kResetTip);
    p.controls = sliders({
        {"SectionFull", "&Full screen area:", "A drawing area that covers the whole screen"},
        {"SectionCentred",
         "&Centred area:", "A smaller section of the screen is covered, but the section is centered"},
        {"SectionRandom", "&Random area:", "A smaller section of the screen is selected at random"},
        {"LayoutFullScreen", "&One drawing area:", "A drawing area that covers the whole screen"},
        {"LayoutEven",
         "&Even areas:", "A series of smaller, evenly spaced, areas that cover the whole screen"},
        {"LayoutBar", "&Bar of areas:", "Smaller drawing areas in a narrow column or row"},
        {"LayoutLimn", "&Shaped areas:", "Smaller drawing areas forming a variety of shapes"},
    });
    p.hasChaos = true;
    p.chaosToolTip = "Selects full screen drawing with sub-area evenly spread";
    p.chaos = {{"SectionFull", 100}, {"SectionCentred", 0}, {"SectionRandom", 0}, {"LayoutFullScreen", 100},
               {"LayoutEven", 100},  {"LayoutBar", 0},      {"LayoutLimn", 0}};
    p.write = &Settings::writeLayout;
    return p;
}

Page outline() {
    Page p = makePage("Outline", 1043, kResetTip);
    p.controls = sliders({
        {"LayoutRect", "&Rectangle:", "Within a drawing area, the design will fill the area"},
        {"LayoutCircle", "&Circle:", "Within a drawing area, the design will be restricted to a circle"},
        {"LayoutTriangle",
         "&Triangle:", "The design will fill the upper or lower triangular part of the area"},
        {"LayoutSlant", "S&lant:", "The design will fill a narrow slant across the area"},
        {"LayoutWavy", "&Wavy:", "The design will have wavy sides"},
        {"LayoutShrinkRandom", "Random s&hrink:",
         "How often the areas will be reduced in size after a drawing. The sides will then be uneven.",
         Unit::Percent},
        {"LayoutShrinkEven", "E&ven shrink:",
         "The area will be made smaller, but centered within the previous area", Unit::Percent},
        {"LayoutCheckered", "Chec&kered:",
         "Successive drawings will only use alternate areas, giving a checkered appearance", Unit::Percent},
        // Any value from 1 up mirrors every time; shown as the number it is.
        {"LayoutSymmetric",
         "S&ymmetric:", "Adjacent areas will be mirrored, giving a more seamless appearance"},
    });
    p.hasChaos = true;
    p.chaosToolTip = "Selects a rectangular area, with full symmetry";
    p.chaos = {{"LayoutRect", 100},     {"LayoutCircle", 0},    {"LayoutTriangle", 0},
               {"LayoutSlant", 0},      {"LayoutWavy", 0},      {"LayoutShrinkRandom", 0},
               {"LayoutShrinkEven", 0}, {"LayoutCheckered", 0}, {"LayoutSymmetric", 100}};
    p.write = &Settings::writeOutline;
    return p;
}

Page animation() {
    Page p = makePage("Animation", 1043, kResetTip);
    p.controls = {
        check("UseAnimation", "&Use color animation", {"Select this to animate the colors"}),
        check("AnimatePause", "Animate during &pause",
              {"Animate during the pause between images if you have selected a pause"}),
        slider("Animation", "How &often to animate the colors:", 100, Unit::Percent,
               "Slide completely to the left to turn animation off", 1),
        pace("AnimationSpeed", "How &quickly to animate the colors:", 500,
             "How quickly the colors should pulsate", 1),
        slider("Colors256Change", "Ho&w long between changing colors when animating:", 300, Unit::Seconds,
               "How often a new palette of colors will be selected when in 256 color mode", 1),
        slider("ColorsFullChange", "How lon&g between changing colors (Hi/True Color):", 300, Unit::Seconds,
               "How often a new palette of colors will be selected when in Hi/True Color mode", 1),
    };
    p.needsAnimation = true;
    p.write = &Settings::writeAnimation;
    return p;
}

}  // namespace

std::string Control::name() const {
    std::string out;
    for (const char* p = label; *p; ++p) {
        if (*p == '&' && p[1] != '&') continue;
        if (*p == '&') ++p;
        out += *p;
    }
    while (!out.empty() && (out.back() == ':' || out.back() == ' ')) out.pop_back();
    return out;
}

const Control* Page::control(const char* key) const {
    for (const Control& c : controls)
        if (std::strcmp(c.key, key) == 0) return &c;
    return nullptr;
}

const std::vector<Page>& pages() {
    static const std::vector<Page> all = {general(),  styles(), images(),  colors(),   text(),
                                          messages(), layout(), outline(), animation()};
    return all;
}

const Page* page(const char* caption) {
    for (const Page& p : pages())
        if (std::strcmp(p.caption, caption) == 0) return &p;
    return nullptr;
}

int value(const Settings& settings, const Control& control) {
    if (control.hue >= 0) {
        // A stored weight as a position; a float out of range saturates.
        const float w = settings.color(control.index);
        if (!(w == w)) return 0;
        if (w >= 1.0e9f) return 1000000000;
        if (w <= -1.0e9f) return -1000000000;
        return static_cast<int>(w);
    }
    const Access* a = accessOf(control.key);
    return a ? a->get(settings) : 0;
}

void setValue(Settings& settings, const Control& control, int value) {
    if (control.hue >= 0) {
        settings.setColor(control.index, static_cast<float>(value));
        return;
    }
    if (const Access* a = accessOf(control.key)) a->set(settings, value);
}

std::string defaultText(const Settings& settings, const Control& control) {
    return control.kind == Kind::Text ? settings.messageDefault(control.index) : std::string();
}

const char* unitSymbol(Unit unit) {
    switch (unit) {
        case Unit::Percent:
            return "%";
        case Unit::Milliseconds:
            return "ms";
        case Unit::Seconds:
            return "s";
        case Unit::Minutes:
            return "min";
        case Unit::Weight:
            break;
    }
    return "";
}

std::string formatValue(const Control& control, int value) {
    const std::string n = std::to_string(value);
    switch (control.unit) {
        case Unit::Weight:
            return n;
        case Unit::Percent:
            return n + " %";
        case Unit::Milliseconds:
            return n + " ms";
        case Unit::Minutes:
            return n + " min";
        case Unit::Seconds:
            break;
    }
    if (value < 60) return n + " s";
    const int minutes = value / 60, seconds = value % 60;
    return std::to_string(minutes) + " min" + (seconds ? " " + std::to_string(seconds) + " s" : "");
}

char mnemonic(const char* label) {
    for (const char* p = label; *p && p[1]; ++p) {
        if (*p != '&') continue;
        if (p[1] != '&') return static_cast<char>(std::tolower(static_cast<unsigned char>(p[1])));
        ++p;
    }
    return 0;
}

// This platform counts as the NT line from version 5, where a true-colour
// display animates its colours by switching to a palette mode for the run.
std::string colorModeText(int bitsPerPixel) {
    if (bitsPerPixel < 8)
        return "The system has detected that you are running in less than 256 color mode, color "
               "animation will be not be used.";
    if (bitsPerPixel == 8)
        return "The system has detected that you are running in 256 color mode, and the amount of "
               "color animation will be controlled by the slider below.";
    return "Quorvane has detected that you are running in High Color or True Color mode, so color "
           "animation can be used. How often it is used is controlled by the slider below. If "
           "Quorvane does not work correctly, disable the use of animation below.";
}

bool animationPossible(int bitsPerPixel) { return bitsPerPixel >= 8; }

}  // namespace sheet
