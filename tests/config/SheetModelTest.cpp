// The values of a native sheet while it is open: shown within range, kept
// in order, reset and calmed per page, and written page by page only where
// something changed, so that a stored value nobody touched stays as stored.

#include <gtest/gtest.h>

#include "config/SheetModel.h"
#include "support/TempFolder.h"

namespace {

const std::string kSection = "[HKEY_CURRENT_USER\\Software\\Quorvane\\Quorvane5\\Config]\n";

struct Located {
    size_t page;
    size_t index;
};

Located find(const char* caption, const char* key) {
    const auto& all = sheet::pages();
    for (size_t p = 0; p < all.size(); ++p) {
        if (std::string(all[p].caption) != caption) continue;
        for (size_t i = 0; i < all[p].controls.size(); ++i)
            if (std::string(all[p].controls[i].key) == key) return {p, i};
    }
    ADD_FAILURE() << caption << "/" << key << " is not described";
    return {0, 0};
}

class SheetModel : public ::testing::Test {
protected:
    void read(const std::string& registry) {
        tmp.write("registry.ini", kSection + registry);
        settings = std::make_unique<Settings>(platform::ProfileStore(tmp.path()), "Test Owner");
        model = std::make_unique<sheet::Model>(*settings);
    }
    int value(const char* caption, const char* key) const {
        const Located at = find(caption, key);
        return model->value(at.page, at.index);
    }
    void set(const char* caption, const char* key, int v) {
        const Located at = find(caption, key);
        model->setValue(at.page, at.index, v);
    }
    TempFolder tmp;
    std::unique_ptr<Settings> settings;
    std::unique_ptr<sheet::Model> model;
};

TEST_F(SheetModel, ShowsStoredNonsenseInRangeAndLeavesItAloneUntilItsPageChanges) {
    const std::string stored = "Speed=500\nStyleSolid=lots\nStyleDots=-4\nMinTime=40\nMaxTime=20\n";
    read(stored);
    EXPECT_EQ(value("General", "Speed"), 100) << "clamped to the slider's end";
    EXPECT_EQ(value("Styles", "StyleSolid"), Settings::kDefaultStyleSolid) << "mistyped: the default";
    EXPECT_EQ(value("Styles", "StyleDots"), 0);
    EXPECT_EQ(value("General", "MaxTime"), 40) << "a pair out of order shows in order";
    const size_t styles = find("Styles", "StyleDots").page;
    EXPECT_FALSE(model->changed(styles));
    for (size_t p = 0; p < sheet::pages().size(); ++p) {
        if (p != find("General", "Speed").page) {
            EXPECT_TRUE(model->write(p, *settings));
        }
    }
    EXPECT_EQ(tmp.read("registry.ini"), kSection + stored) << "unchanged pages are not written";

    set("Styles", "StyleDots", 250);
    EXPECT_EQ(value("Styles", "StyleDots"), 100);
    ASSERT_TRUE(model->write(styles, *settings));
    EXPECT_FALSE(model->changed(styles)) << "written: nothing left to write";
    const Settings again(platform::ProfileStore(tmp.path()), "Test Owner");
    EXPECT_EQ(again.styleDots(), 100);
    EXPECT_EQ(again.speed(), 500) << "another page's value stays as stored";
}

TEST_F(SheetModel, PairsResetsAndCalmValues) {
    read("StyleBitmap=33\n");
    set("General", "MinTime", 200);
    EXPECT_EQ(value("General", "MaxTime"), 200) << "the upper follows the lower up";
    set("General", "MaxTime", 10);
    EXPECT_EQ(value("General", "MinTime"), 10) << "the lower follows the upper down";

    const size_t general = find("General", "BlankMinutes").page;
    const size_t minutes = find("General", "BlankMinutes").index;
    set("General", "BlankScreen", 0);
    EXPECT_FALSE(model->enabled(general, minutes));
    set("General", "BlankScreen", 1);
    EXPECT_TRUE(model->enabled(general, minutes));
    model->reset(general);
    EXPECT_EQ(value("General", "MinTime"), Settings::kDefaultMinTime);
    EXPECT_EQ(value("General", "BlankScreen"), Settings::kDefaultBlankScreen);
    EXPECT_FALSE(model->changed(general)) << "back to what was stored";

    model->reduceChaos(find("Styles", "StyleSolid").page);
    EXPECT_EQ(value("Styles", "StyleSolid"), 100);
    EXPECT_EQ(value("Styles", "SingleDot"), 100);
    EXPECT_EQ(value("Styles", "StyleBitmap"), 33) << "the user's images keep their weight";

    // Without colour animation the animation page cannot be used.
    const sheet::Model palette(*settings, 4);
    const Located animation = find("Animation", "UseAnimation");
    EXPECT_FALSE(palette.enabled(animation.page, animation.index));
    EXPECT_TRUE(model->enabled(animation.page, animation.index));
}

TEST_F(SheetModel, MessagesKeepWhatNobodyEditedAndSayWhatAnEditLoses) {
    read("Message0=Zürich Ωmega\nMessage1=plain\nImageNext=5\n");
    const Located first = find("Messages", "Message0");
    const Located second = find("Messages", "Message1");
    EXPECT_EQ(model->text(first.page, first.index), "Zürich Ωmega") << "shown as stored";
    model->setText(second.page, second.index, "plain, edited");
    EXPECT_EQ(model->lost(first.page), "") << "the unedited message loses nothing";
    ASSERT_TRUE(model->write(first.page, *settings));
    EXPECT_NE(tmp.read("registry.ini").find("Zürich Ωmega"), std::string::npos);

    model->setText(first.page, first.index, "Ωhm € Ω ✓");
    EXPECT_EQ(model->lost(first.page), "Ω✓") << "each once, in order; the euro sign is kept";
    ASSERT_TRUE(model->write(first.page, *settings));
    EXPECT_EQ(settings->message(0), "?hm \x80 ? ?");
    EXPECT_EQ(sheet::charactersLost("abc \xC3\xA9"), "");

    // The folders are not the reset's: they are the user's own. A name with
    // the list's separator in it cannot be stored.
    const Located folders = find("Images", "Folders");
    EXPECT_NE(model->addFolder("C:\\a*b").find("\"C:\\a*b\" cannot be added"), std::string::npos);
    EXPECT_EQ(model->addFolder("C:\\Pictures"), "");
    EXPECT_EQ(model->addFolder("C:\\Pictures"), "");
    model->removeFolder(7);
    model->reset(folders.page);
    EXPECT_TRUE(model->changed(folders.page));
    // "Start at first image next run" goes with the page.
    model->startAtFirstImage(folders.page);
    ASSERT_TRUE(model->write(folders.page, *settings));
    EXPECT_EQ(settings->folders(), std::vector<std::string>{"C:\\Pictures"});
    EXPECT_EQ(Settings(platform::ProfileStore(tmp.path()), "Test Owner").imageNext(), 0);
    EXPECT_FALSE(model->changed(folders.page));
}

// A preview runs with the whole sheet as it stands, changed or not, with the
// messages, the folders and the image cursor, on a record of its own store;
// the user's store and what counts as changed stay as they were.
TEST_F(SheetModel, APreviewGetsTheWholeSheetOnAStoreOfItsOwnAndNothingElseMoves) {
    tmp.write("Quorvane5.ini", "[Quorvane]\nFolders=/a*/b*\n");
    read("StyleDots=-4\nImageNext=7\nMessage0=Hello\n");
    const std::string registry = tmp.read("registry.ini");
    set("General", "Speed", 42);
    TempFolder preview;
    Settings target(platform::ProfileStore(preview.path()), "Owner");
    ASSERT_TRUE(model->writeAll(target));
    const Settings reread(platform::ProfileStore(preview.path()), "Someone else");
    const auto& pages = sheet::pages();
    for (size_t p = 0; p < pages.size(); ++p)
        for (size_t i = 0; i < pages[p].controls.size(); ++i)
            EXPECT_TRUE(!pages[p].controls[i].numeric() ||
                        sheet::value(reread, pages[p].controls[i]) == model->value(p, i))
                << pages[p].controls[i].key;
    EXPECT_EQ(reread.speed(), 42);
    EXPECT_EQ(reread.styleDots(), 0) << "as the sheet shows it";
    EXPECT_EQ(reread.message(0), "Hello");
    EXPECT_EQ(reread.folders(), (std::vector<std::string>{"/a", "/b"}));
    EXPECT_EQ(reread.imageNext(), 7);
    EXPECT_EQ(tmp.read("registry.ini"), registry);
    for (size_t p = 0; p < pages.size(); ++p)
        EXPECT_EQ(model->changed(p), p == find("General", "Speed").page) << pages[p].caption;
}

}  // namespace
