// The pages as the user sees them: every slider wired to its row, the sheet's
// tabs and buttons, the reset buttons, the presets, and the controls that
// follow others or the display's depth.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

#include "config/SheetSupport.h"

namespace {

constexpr const char* kHueTip = "Slide to the right to use more of this color";

// The sliders of each page in the order they are laid out, as key:maximum.
const std::pair<const char*, const char*> kSliders[] = {
    {"General", "Speed:100 DelayBetweenDrawings:60 MinTime:300 MaxTime:300"},
    {"Styles", "StyleSolid:100 StyleDots:100 StyleLines:100 StyleDistort:100 StyleBitmap:100 "
               "StyleText:100 Style3D:100 StyleOverlappingShapes:100 SingleDot:100"},
    {"Images", "ImagePause:60 ImagePeriod:300"},
    {"Colors", "Color0:100 Color1:100 Color2:100 Color3:100 Color4:100 Color5:100 Color6:100 "
               "Color7:100 Color8:100 Color9:100 Color10:100 Color11:100 UseBlack:100 UseWhite:100"},
    {"Text", "TextMessages:100 TextDateTime:100 TextChar:100 TextRandom:100 QuorSpel:100"},
    {"Layout", "SectionFull:100 SectionCentred:100 SectionRandom:100 LayoutFullScreen:100 "
               "LayoutEven:100 LayoutBar:100 LayoutLimn:100"},
    {"Outline", "LayoutRect:100 LayoutCircle:100 LayoutTriangle:100 LayoutSlant:100 LayoutWavy:100 "
                "LayoutShrinkRandom:100 LayoutShrinkEven:100 LayoutCheckered:100 LayoutSymmetric:100"},
    {"Animation", "Animation:100 AnimationSpeed:500 Colors256Change:300 ColorsFullChange:300"},
};

using Pages = SheetTest;

TEST_F(Pages, EverySliderIsWiredToItsRow) {
    open();
    std::string seen, expected;
    for (const auto& [page, keys] : kSliders) expected += std::string(page) + ": " + keys + "\n";
    for (CConfigPage* page : sheet->pages()) {
        if (page->sliders().empty()) continue;
        seen += page->caption().toStdString() + ":";
        for (const auto& [s, spec] : page->sliders()) {
            seen += " " + std::string(spec.key) + ":" + std::to_string(s->maximum());
            SCOPED_TRACE(spec.key);
            EXPECT_TRUE(page->slider(spec.key) == s && s->objectName() == spec.key);
            EXPECT_TRUE(s->minimum() == 0 && s->pageStep() == s->maximum() / 10);
            EXPECT_TRUE(!spec.toolTip.isEmpty() && s->toolTip() == spec.toolTip);
            EXPECT_EQ(page->toolTips(s), QStringList{spec.toolTip});
            // Only the hue sliders have a colour sample instead of a label.
            EXPECT_EQ(labelOf(s), spec.label);
            EXPECT_EQ(spec.label.isEmpty(),
                      page->caption() == "Colors" && std::string(spec.key).rfind("Color", 0) == 0);
        }
        seen += "\n";
    }
    EXPECT_EQ(seen, expected) << "the sliders, their pages, order and ranges";
}

TEST_F(Pages, TabsButtonsResetIdsAndHelp) {
    open();
    EXPECT_EQ(sheet->windowTitle(), "Quorvane Screensaver");
    const QStringList tabs = {"General",  "Styles", "Images",  "Colors",   "Text",
                              "Messages", "Layout", "Outline", "Animation"};
    ASSERT_EQ(sheet->tabs()->count(), tabs.size());
    for (int i = 0; i < tabs.size(); ++i) EXPECT_EQ(sheet->tabs()->tabText(i), tabs[i]);
    EXPECT_NE(dynamic_cast<CSettingsPage*>(sheet->tabs()->widget(0)), nullptr);
    EXPECT_NE(dynamic_cast<CAnimationPage*>(sheet->tabs()->widget(8)), nullptr);

    QDialogButtonBox* box = sheet->buttons();
    EXPECT_EQ(box->standardButtons(),
              QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help);
    box->button(QDialogButtonBox::Help)->click();
    EXPECT_TRUE(helps == 1 && notes.empty());
    for (CConfigPage* page : sheet->pages()) {
        auto* reset = child<QPushButton>(*page, "reset");
        ASSERT_NE(reset, nullptr);
        const int id = page->caption() == "Images" ? 1044 : page->caption() == "Styles" ? 1048 : 1043;
        EXPECT_EQ(reset->property("controlId").toInt(), id) << page->caption().toStdString();
    }
}

TEST_F(Pages, ResetSetsEverySliderOfItsPageOnly) {
    open();
    for (CConfigPage* page : sheet->pages())
        for (const auto& [slider, spec] : page->sliders()) slider->setValue(spec.minimum + 1);
    const auto resetGives = [&](CConfigPage& page, std::vector<std::pair<const char*, int>> values) {
        child<QPushButton>(page, "reset")->click();
        for (const auto& [key, value] : values) EXPECT_EQ(page.slider(key)->value(), value) << key;
    };
    resetGives(page<CColorsPage>(),
               {{"Color0", 60}, {"Color2", 60}, {"Color3", 40}, {"Color11", 40}, {"UseWhite", 15}});
    EXPECT_EQ(page<CStylePage>().slider("StyleSolid")->value(), 1) << "other pages keep theirs";
    resetGives(page<CSettingsPage>(), {{"Speed", 5}, {"MaxTime", 75}});
    resetGives(page<CAnimationPage>(), {{"AnimationSpeed", 50}, {"ColorsFullChange", 120}});
}

TEST_F(Pages, ReduceChaosPresets) {
    open();
    for (CConfigPage* page : sheet->pages())
        for (const auto& [slider, spec] : page->sliders()) slider->setValue(37);
    const auto pressed = [&](CConfigPage& page) {
        child<QPushButton>(page, "reduceChaos")->click();
        std::vector<int> v;
        for (const auto& [slider, spec] : page.sliders()) v.push_back(slider->value());
        return v;
    };
    EXPECT_EQ(pressed(page<CStylePage>()), (std::vector<int>{100, 0, 0, 0, 37, 0, 0, 0, 100}))
        << "the images keep their weight";
    EXPECT_EQ(pressed(page<CLayoutPage>()), (std::vector<int>{100, 0, 0, 100, 100, 0, 0}));
    EXPECT_EQ(pressed(page<COutlinePage>()), (std::vector<int>{100, 0, 0, 0, 0, 0, 0, 0, 100}));
    // General's button is hidden and does nothing; Text has none.
    EXPECT_TRUE(child<QPushButton>(page<CSettingsPage>(), "reduceChaos")->isHidden());
    EXPECT_EQ(pressed(page<CSettingsPage>()), (std::vector<int>{37, 37, 37, 37}));
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
    EXPECT_TRUE(minutes->value() == 12 && minutes->minimum() == 1 && minutes->maximum() == 999);
    blank->click();
    EXPECT_FALSE(minutes->isEnabled());
    blank->click();
    EXPECT_TRUE(minutes->isEnabled());
    blank->click();
    EXPECT_EQ(general.toolTips(blank).size(), 2) << "both of its tips";
    child<QCheckBox>(general, "IgnoreMouse")->click();
    sheet->accept();
    auto s = stored();
    EXPECT_TRUE(s->blankScreen() == 0 && s->blankMinutes() == 12 && s->ignoreMouse());
}

TEST_F(Pages, ColorTipsSampleNoteAndAnimationFollowTheDepth) {
    const char* tips8[] = {kHueTip,        "Actually orange",
                           "Yellow",       "Lime green",
                           "Bright green", "Actually light green",
                           "Cyan",         "Blue",
                           "Bright blue",  "Violet",
                           "Magenta",      "Slightly bluish red"};
    // The animation page's text names the mode; below 256 colours it is off.
    const std::pair<int, const char*> modes[] = {{4, "less than 256 color mode"},
                                                 {8, "running in 256 color mode"},
                                                 {16, "High Color or True Color"},
                                                 {24, "High Color or True Color"},
                                                 {32, "High Color or True Color"}};
    for (const auto& [bits, mode] : modes) {
        SCOPED_TRACE(bits);
        open(bits);
        auto& colors = page<CColorsPage>();
        EXPECT_EQ(child<QLabel>(colors, "sampleNote")->isHidden(), bits > 8);
        for (int i = 0; i < Settings::kColorCount; ++i) {
            const std::string key = "Color" + std::to_string(i);
            EXPECT_EQ(colors.slider(key.c_str())->toolTip(), bits > 8 ? kHueTip : tips8[i]) << key;
            EXPECT_NE(colors.findChild<QLabel*>(QString("sample%1").arg(i)), nullptr);
        }
        auto& anim = page<CAnimationPage>();
        EXPECT_TRUE(child<QLabel>(anim, "colorMode")->text().contains(mode));
        for (const char* name : {"UseAnimation", "AnimatePause"})
            EXPECT_EQ(child<QCheckBox>(anim, name)->isEnabled(), bits >= 8) << name;
        for (const auto& [slider, spec] : anim.sliders())
            EXPECT_EQ(slider->isEnabled(), bits >= 8) << spec.key;
    }
}

}  // namespace
