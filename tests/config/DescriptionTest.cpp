// The page description against the settings record: every setting the sheet
// edits appears once, with the record's default, within its range; presets,
// pairs and enabling check boxes name controls of their own page; values are
// shown with their units.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <set>

#include "config/SheetDescription.h"
#include "support/TempFolder.h"

namespace {

// Every key the record reads.
std::set<std::string> recordKeys() {
    std::set<std::string> keys = {"InstallFolder", Settings::kFoldersKey};
#define QV_SETTING(type, Key, get, set, def) keys.insert(#Key);
    QV_SETTINGS_ALL
#undef QV_SETTING
    for (int i = 0; i < Settings::kMessageCount; ++i) keys.insert("Message" + std::to_string(i));
    for (int i = 0; i < Settings::kColorCount; ++i) keys.insert("Color" + std::to_string(i));
    return keys;
}

TEST(Description, EverySettingOnceWithTheRecordsDefault) {
    TempFolder tmp;
    const Settings empty(platform::ProfileStore(tmp.path()), "Test Owner");
    std::map<std::string, int> seen;
    for (const sheet::Page& page : sheet::pages()) {
        SCOPED_TRACE(page.caption);
        ASSERT_NE(page.write, nullptr);
        for (const sheet::Control& c : page.controls) {
            SCOPED_TRACE(c.key);
            ++seen[c.key];
            EXPECT_EQ(page.control(c.key), &c);
            if (c.numeric()) {
                EXPECT_EQ(sheet::value(empty, c), c.defaultValue) << "the record's default";
                EXPECT_TRUE(c.minimum <= c.defaultValue && c.defaultValue <= c.maximum);
                EXPECT_GT(c.step, 0);
            }
            if (c.kind == sheet::Kind::Text) {
                EXPECT_EQ(sheet::defaultText(empty, c), empty.message(c.index));
            }
            if (c.kind == sheet::Kind::Choice) {
                EXPECT_EQ(c.options.size(), static_cast<size_t>(c.maximum + 1));
            }
            if (c.enabledBy) {
                const sheet::Control* by = page.control(c.enabledBy);
                EXPECT_TRUE(by && by->kind == sheet::Kind::Check);
            }
            for (const sheet::Option& o : c.options) EXPECT_NE(o.toolTip, nullptr);
            EXPECT_NE(c.toolTips.empty(), c.kind != sheet::Kind::Choice) << "every control has a tip";
            EXPECT_FALSE(c.name().empty());
        }
        for (const auto& [key, value] : page.chaos) {
            const sheet::Control* c = page.control(key);
            ASSERT_NE(c, nullptr) << key;
            EXPECT_TRUE(c->minimum <= value && value <= c->maximum) << key;
        }
        for (const auto& [lower, upper] : page.ordered)
            EXPECT_TRUE(page.control(lower) && page.control(upper)) << lower;
    }
    std::set<std::string> described;
    for (const auto& [key, count] : seen) {
        EXPECT_EQ(count, 1) << key << " is described more than once";
        described.insert(key);
    }
    std::set<std::string> expected = recordKeys();
    // The install folder and the image cursor are no one's to edit.
    expected.erase("InstallFolder");
    expected.erase("ImageNext");
    EXPECT_EQ(described, expected);
}

// A value set through the description is the record's value by that key.
TEST(Description, ValuesReachTheRecordByKey) {
    TempFolder tmp;
    Settings s(platform::ProfileStore(tmp.path()), "Test Owner");
    const sheet::Page& colors = *sheet::page("Colors");
    sheet::setValue(s, *colors.control("Color7"), 93);
    sheet::setValue(s, *colors.control("UseBlack"), 44);
    sheet::setValue(s, *sheet::page("General")->control("IgnoreMouse"), 1);
    EXPECT_TRUE(s.color(7) == 93.0f && s.useBlack() == 44 && s.ignoreMouse());
    s.setColor(3, 1.0e20f);
    EXPECT_EQ(sheet::value(s, *colors.control("Color3")), 1000000000)
        << "a stored float out of range saturates";
}

TEST(Description, ValuesWithTheirUnitsAndMnemonics) {
    const auto shown = [](const char* page, const char* key, int v) {
        return sheet::formatValue(*sheet::page(page)->control(key), v);
    };
    EXPECT_EQ(shown("General", "MinTime", 0), "0 s");
    EXPECT_EQ(shown("General", "MinTime", 59), "59 s");
    EXPECT_EQ(shown("General", "MinTime", 60), "1 min");
    EXPECT_EQ(shown("General", "MaxTime", 75), "1 min 15 s");
    EXPECT_EQ(shown("Animation", "ColorsFullChange", 300), "5 min");
    EXPECT_EQ(shown("General", "Speed", 5), "5 ms");
    EXPECT_EQ(shown("General", "BlankMinutes", 60), "60 min");
    EXPECT_EQ(shown("Colors", "UseWhite", 15), "15 %");
    EXPECT_EQ(shown("Styles", "StyleSolid", 80), "80");
    // Right is slower where the number is a pause between steps.
    for (const auto& [page, key] : {std::pair{"General", "Speed"}, {"Animation", "AnimationSpeed"}}) {
        const sheet::Control* c = sheet::page(page)->control(key);
        EXPECT_TRUE(c->lowEnd && c->highEnd && std::strcmp(c->highEnd, "Slower") == 0) << key;
    }
    EXPECT_EQ(sheet::mnemonic("Mi&nimum"), 'n');
    EXPECT_EQ(sheet::mnemonic("&Speed"), 's');
    EXPECT_EQ(sheet::mnemonic("Black && white"), 0);
    EXPECT_EQ(sheet::mnemonic("A && &B"), 'b');
    EXPECT_EQ(sheet::mnemonic("end&"), 0);
    EXPECT_EQ(sheet::page("General")->control("MinTime")->name(), "Minimum time per drawing");
}

}  // namespace
