// The pages as the user sees them: every slider's label, range, page size
// and tool tip, the sheet's caption, tabs and buttons, the reset buttons,
// the presets, and the controls that follow others.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

#include "config/SheetSupport.h"

namespace {

struct Row {
    const char* page;
    const char* label;  // empty: a colour sample stands beside it
    const char* key;
    int minimum, maximum, pageSize;
    const char* tip;
};

constexpr const char* kHueTip = "Slide to the right to use more of this color";

// The sliders of the sheet, page by page, in the order they are laid out.
const Row kRows[] = {
    {"General", "&Speed:", "Speed", 0, 100, 10, "Slide to the right slow to down the Drawing speed"},
    {"General", "&Delay between drawings:", "DelayBetweenDrawings", 0, 60, 6,
     "Useful if you would like to be able to grab a screenshot before the drawing is overwritten"},
    {"General", "Mi&nimum time per drawing:", "MinTime", 0, 300, 30,
     "Sets the minimum time a particular shape is Drawn, up to 5 minutes"},
    {"General", "Ma&ximum time per drawing:", "MaxTime", 0, 300, 30,
     "Sets the maximum time a particular shape is Drawn, up to 5 minutes"},
    {"Styles", "&Solid designs:", "StyleSolid", 0, 100, 10, "Designs covering an entire area, such as fractals"},
    {"Styles", "&Designs made up of dots:", "StyleDots", 0, 100, 10, "Patterns created by scattered dots"},
    {"Styles", "Patterns made from &lines:", "StyleLines", 0, 100, 10, "Patterns created by drawing lines around an area"},
    {"Styles", "Di&storting current display:", "StyleDistort", 0, 100, 10, "Modifying what is already in the screen"},
    {"Styles", "&Images:", "StyleBitmap", 0, 100, 10, "Displaying your own JPEG images"},
    {"Styles", "&Text:", "StyleText", 0, 100, 10, "Writing text, including your own messages"},
    {"Styles", "&3D shapes:", "Style3D", 0, 100, 10, "3D shapes, such as spheres"},
    {"Styles", "O&verlapping shapes:", "StyleOverlappingShapes", 0, 100, 10, "Various scattered geometric shapes"},
    {"Styles", "Draw designs with a single p&oint (slower, but less chaotic):", "SingleDot", 0, 100, 10,
     "Draws slower but less messy patterns, particularly useful for the solid designs such as fractals"},
    {"Images", "&Pause after displaying an image:", "ImagePause", 0, 60, 6,
     "How long to pause before starting the next drawing after an image is displayed"},
    {"Images", "&Minimum period between images:", "ImagePeriod", 0, 300, 30,
     "The minimum time between displaying images, so they don't cycle too quickly"},
    {"Colors", "", "Color0", 0, 100, 10, kHueTip},
    {"Colors", "", "Color1", 0, 100, 10, kHueTip},
    {"Colors", "", "Color2", 0, 100, 10, kHueTip},
    {"Colors", "", "Color3", 0, 100, 10, kHueTip},
    {"Colors", "", "Color4", 0, 100, 10, kHueTip},
    {"Colors", "", "Color5", 0, 100, 10, kHueTip},
    {"Colors", "", "Color6", 0, 100, 10, kHueTip},
    {"Colors", "", "Color7", 0, 100, 10, kHueTip},
    {"Colors", "", "Color8", 0, 100, 10, kHueTip},
    {"Colors", "", "Color9", 0, 100, 10, kHueTip},
    {"Colors", "", "Color10", 0, 100, 10, kHueTip},
    {"Colors", "", "Color11", 0, 100, 10, kHueTip},
    {"Colors", "&Black bands:", "UseBlack", 0, 100, 10, "Slide to the right to add black bands more often"},
    {"Colors", "&Highlights:", "UseWhite", 0, 100, 10, "Slide to the right to add bright highlights more often"},
    {"Text", "&Messages:", "TextMessages", 0, 100, 10, "Shows the messages you have entered on the next page"},
    {"Text", "&Date and time:", "TextDateTime", 0, 100, 10, "Shows the current date and time"},
    {"Text", "A random &character:", "TextChar", 0, 100, 10, "Shows just a single random characater"},
    {"Text", "S&tatistics:", "TextRandom", 0, 100, 10, "Uses internal statistics, eg number of drawings done, time running"},
    {"Text", "Mis&spelling:", "QuorSpel", 0, 100, 10, "Uses an unspell-checker to add speling erorrs to yor nessages"},
    {"Layout", "&Full screen area:", "SectionFull", 0, 100, 10, "A drawing area that covers the whole screen"},
    {"Layout", "&Centred area:", "SectionCentred", 0, 100, 10,
     "A smaller section of the screen is covered, but the section is centered"},
    {"Layout", "&Random area:", "SectionRandom", 0, 100, 10, "A smaller section of the screen is selected at random"},
    {"Layout", "&One drawing area:", "LayoutFullScreen", 0, 100, 10, "A drawing area that covers the whole screen"},
    {"Layout", "&Even areas:", "LayoutEven", 0, 100, 10,
     "A series of smaller, evenly spaced, areas that cover the whole screen"},
    {"Layout", "&Bar of areas:", "LayoutBar", 0, 100, 10, "Smaller drawing areas in a narrow column or row"},
    {"Layout", "&Shaped areas:", "LayoutLimn", 0, 100, 10, "Smaller drawing areas forming a variety of shapes"},
    {"Outline", "&Rectangle:", "LayoutRect", 0, 100, 10, "Within a drawing area, the design will fill the area"},
    {"Outline", "&Circle:", "LayoutCircle", 0, 100, 10, "Within a drawing area, the design will be restricted to a circle"},
    {"Outline", "&Triangle:", "LayoutTriangle", 0, 100, 10,
     "The design will fill the upper or lower triangular part of the area"},
    {"Outline", "S&lant:", "LayoutSlant", 0, 100, 10, "The design will fill a narrow slant across the area"},
    {"Outline", "&Wavy:", "LayoutWavy", 0, 100, 10, "The design will have wavy sides"},
    {"Outline", "Random s&hrink:", "LayoutShrinkRandom", 0, 100, 10,
     "How often the areas will be reduced in size after a drawing. The sides will then be uneven."},
    {"Outline", "E&ven shrink:", "LayoutShrinkEven", 0, 100, 10,
     "The area will be made smaller, but centered within the previous area"},
    {"Outline", "Chec&kered:", "LayoutCheckered", 0, 100, 10,
     "Successive drawings will only use alternate areas, giving a checkered appearance"},
    {"Outline", "S&ymmetric:", "LayoutSymmetric", 0, 100, 10,
     "Adjacent areas will be mirrored, giving a more seamless appearance"},
    {"Animation", "&How often to &animate the colors:", "Animation", 0, 100, 10,
     "Slide completely to the left to turn animation off"},
    {"Animation", "How quickly to &animate the colors:", "AnimationSpeed", 0, 500, 50,
     "How quickly the colors should pulsate"},
    {"Animation", "Ho&w long between changing colors when animating:", "Colors256Change", 0, 300, 30,
     "How often a new palette of colors will be selected when in 256 color mode"},
    {"Animation", "Ho&w long between changing colors (Hi/True Color):", "ColorsFullChange", 0, 300, 30,
     "How often a new palette of colors will be selected when in Hi/True Color mode"},
};

using Pages = SheetTest;

TEST_F(Pages, EverySliderAsTheTableWritesIt) {
    open();
    std::vector<std::string> seen, expected;
    for (const Row& row : kRows) expected.push_back(std::string(row.page) + "/" + row.key);
    for (CConfigPage* page : sheet->pages())
        for (const auto& [slider, spec] : page->sliders())
            seen.push_back(page->caption().toStdString() + "/" + spec.key);
    EXPECT_EQ(seen, expected) << "the sliders, their pages and their order";

    for (const Row& row : kRows) {
        SCOPED_TRACE(row.key);
        CConfigPage* page = nullptr;
        for (CConfigPage* p : sheet->pages())
            if (p->caption() == row.page) page = p;
        ASSERT_NE(page, nullptr);
        QSlider* s = page->slider(row.key);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->objectName(), row.key);
        EXPECT_EQ(s->minimum(), row.minimum);
        EXPECT_EQ(s->maximum(), row.maximum);
        EXPECT_EQ(s->pageStep(), row.pageSize);
        EXPECT_EQ(s->toolTip(), row.tip);
        EXPECT_EQ(page->toolTips(s), QStringList{row.tip});
        EXPECT_EQ(labelOf(s), row.label);
    }
}

TEST_F(Pages, CaptionTabsButtonsAndHelp) {
    open();
    EXPECT_EQ(sheet->windowTitle(), "Quorvane Screensaver");
    const QStringList tabs = {"General", "Styles", "Images",   "Colors",   "Text",
                              "Messages", "Layout", "Outline", "Animation"};
    ASSERT_EQ(sheet->tabs()->count(), tabs.size());
    for (int i = 0; i < tabs.size(); ++i) EXPECT_EQ(sheet->tabs()->tabText(i), tabs[i]);
    EXPECT_NE(dynamic_cast<CSettingsPage*>(sheet->tabs()->widget(0)), nullptr);
    EXPECT_NE(dynamic_cast<CAnimationPage*>(sheet->tabs()->widget(8)), nullptr);

    QDialogButtonBox* box = sheet->buttons();
    EXPECT_EQ(box->standardButtons(),
              QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help);
    EXPECT_EQ(box->button(QDialogButtonBox::Apply), nullptr);
    box->button(QDialogButtonBox::Help)->click();
    EXPECT_EQ(helps, 1);
    EXPECT_TRUE(notes.empty());

    // Every page has its reset button, with its id and tip.
    for (CConfigPage* page : sheet->pages()) {
        SCOPED_TRACE(page->caption().toStdString());
        auto* reset = child<QPushButton>(*page, "reset");
        ASSERT_NE(reset, nullptr);
        EXPECT_EQ(reset->text(), "Reset to defaults");
        EXPECT_EQ(reset->toolTip(), "Resets all the above controls to their default settings");
        const int id = page->caption() == "Images" ? 1044 : page->caption() == "Styles" ? 1048 : 1043;
        EXPECT_EQ(reset->property("controlId").toInt(), id);
    }
}

TEST_F(Pages, ResetSetsEverySliderOfItsPageOnly) {
    open();
    for (CConfigPage* page : sheet->pages())
        for (const auto& [slider, spec] : page->sliders()) slider->setValue(spec.minimum + 1);
    auto& colors = page<CColorsPage>();
    child<QPushButton>(colors, "reset")->click();
    EXPECT_EQ(colors.slider("Color0")->value(), 60);
    EXPECT_EQ(colors.slider("Color2")->value(), 60);
    EXPECT_EQ(colors.slider("Color3")->value(), 40);
    EXPECT_EQ(colors.slider("Color11")->value(), 40);
    EXPECT_EQ(colors.slider("UseWhite")->value(), 15);
    EXPECT_EQ(page<CStylePage>().slider("StyleSolid")->value(), 1) << "other pages keep theirs";

    auto& general = page<CSettingsPage>();
    child<QPushButton>(general, "reset")->click();
    EXPECT_EQ(general.slider("Speed")->value(), 5);
    EXPECT_EQ(general.slider("MaxTime")->value(), 75);
    auto& anim = page<CAnimationPage>();
    child<QPushButton>(anim, "reset")->click();
    EXPECT_EQ(anim.slider("AnimationSpeed")->value(), 50);
    EXPECT_EQ(anim.slider("ColorsFullChange")->value(), 120);
}

TEST_F(Pages, ReduceChaosPresets) {
    open();
    for (CConfigPage* page : sheet->pages())
        for (const auto& [slider, spec] : page->sliders()) slider->setValue(37);
    const auto press = [&](CConfigPage& page, const char* tip) {
        auto* b = child<QPushButton>(page, "reduceChaos");
        EXPECT_EQ(b->text(), "Reduce Ch&aos");
        EXPECT_EQ(b->toolTip(), tip);
        b->click();
    };
    const auto values = [](CConfigPage& page) {
        std::vector<int> v;
        for (const auto& [slider, spec] : page.sliders()) v.push_back(slider->value());
        return v;
    };
    press(page<CStylePage>(), "Selects solid designs using a single pixel");
    EXPECT_EQ(values(page<CStylePage>()), (std::vector<int>{100, 0, 0, 0, 37, 0, 0, 0, 100}))
        << "the images keep their weight";
    press(page<CLayoutPage>(), "Selects full screen drawing with sub-area evenly spread");
    EXPECT_EQ(values(page<CLayoutPage>()), (std::vector<int>{100, 0, 0, 100, 100, 0, 0}));
    press(page<COutlinePage>(), "Selects a rectangular area, with full symmetry");
    EXPECT_EQ(values(page<COutlinePage>()), (std::vector<int>{100, 0, 0, 0, 0, 0, 0, 0, 100}));

    // General's button is hidden and does nothing.
    auto& general = page<CSettingsPage>();
    auto* hidden = child<QPushButton>(general, "reduceChaos");
    EXPECT_TRUE(hidden->isHidden());
    hidden->click();
    EXPECT_EQ(values(general), (std::vector<int>{37, 37, 37, 37}));
    EXPECT_EQ(page<CTextPage>().findChild<QPushButton*>("reduceChaos"), nullptr);
}

TEST_F(Pages, BlankMinutesFollowTheirCheckBox) {
    tmp.write("registry.ini", "[HKEY_CURRENT_USER\\Software\\Quorvane\\Quorvane5\\Config]\n"
                              "BlankScreen = 1\nBlankMinutes = 12\n");
    open();
    auto& general = page<CSettingsPage>();
    auto* blank = child<QCheckBox>(general, "BlankScreen");
    auto* minutes = child<QSpinBox>(general, "BlankMinutes");
    EXPECT_TRUE(blank->isChecked() && minutes->isEnabled());
    EXPECT_EQ(minutes->value(), 12);
    EXPECT_EQ(minutes->minimum(), 1);
    EXPECT_EQ(minutes->maximum(), 999);
    blank->click();
    EXPECT_FALSE(minutes->isEnabled());
    blank->click();
    EXPECT_TRUE(minutes->isEnabled());
    blank->click();

    EXPECT_EQ(general.toolTips(blank),
              (QStringList{"Stops using images and text in case you run overnight disk utilities, eg backup, defrag",
                           "Use this if you are also using automatic power off"}));
    EXPECT_EQ(blank->text(), "&Blank screen after specified period");
    auto* mouse = child<QCheckBox>(general, "IgnoreMouse");
    EXPECT_EQ(mouse->text(), "&Ignore mouse for wake-up");
    EXPECT_EQ(mouse->toolTip(),
              "Moving the mouse will not stop the screensaver. (Not available under NT unless running from a shortcut)");
    mouse->click();
    sheet->accept();
    auto s = stored();
    EXPECT_EQ(s->blankScreen(), 0);
    EXPECT_EQ(s->blankMinutes(), 12);
    EXPECT_TRUE(s->ignoreMouse());
}

TEST_F(Pages, ColorSampleNoteAndTipsFollowTheDepth) {
    const char* tips8[] = {kHueTip,      "Actually orange", "Yellow",     "Lime green",
                           "Bright green", "Actually light green", "Cyan", "Blue",
                           "Bright blue",  "Violet",          "Magenta",    "Slightly bluish red"};
    for (int bits : {8, 16, 24, 32, 4}) {
        SCOPED_TRACE(bits);
        open(bits);
        auto& colors = page<CColorsPage>();
        auto* note = child<QLabel>(colors, "sampleNote");
        EXPECT_EQ(note->text(), "(The color samples above only show accurately in Hi or True Color.)");
        EXPECT_EQ(note->isHidden(), bits > 8);
        for (int i = 0; i < Settings::kColorCount; ++i) {
            const std::string key = "Color" + std::to_string(i);
            EXPECT_EQ(colors.slider(key.c_str())->toolTip(), bits > 8 ? kHueTip : tips8[i]) << key;
            EXPECT_NE(colors.findChild<QLabel*>(QString("sample%1").arg(i)), nullptr);
        }
    }
}

TEST_F(Pages, AnimationTextFollowsTheDepth) {
    const struct {
        int bits;
        const char* text;
        bool enabled;
    } cases[] = {
        {4, "The system has detected that you are running in less than 256 color mode, color animation "
            "will be not be used.", false},
        {8, "The system has detected that you are running in 256 color mode, and the amount of color "
            "animation will be controlled by the slider below.", true},
        {32, "Quorvane has detected that you are running in High Color or True Color mode, so color "
             "animation can be used. How often it is used is controlled by the slider below. If Quorvane "
             "does not work correctly, disable the use of animation below.", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bits);
        open(c.bits);
        auto& anim = page<CAnimationPage>();
        EXPECT_EQ(child<QLabel>(anim, "colorMode")->text(), c.text);
        for (const char* name : {"UseAnimation", "AnimatePause"})
            EXPECT_EQ(child<QCheckBox>(anim, name)->isEnabled(), c.enabled) << name;
        for (const auto& [slider, spec] : anim.sliders()) EXPECT_EQ(slider->isEnabled(), c.enabled) << spec.key;
    }
    EXPECT_EQ(child<QCheckBox>(page<CAnimationPage>(), "UseAnimation")->text(), "&Use color animation");
    EXPECT_EQ(child<QCheckBox>(page<CAnimationPage>(), "AnimatePause")->toolTip(),
              "Animate during the pause between images if you have selected a pause");
}

}  // namespace
