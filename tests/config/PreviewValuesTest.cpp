// The values a native sheet's preview runs with: the whole sheet as it
// stands goes to a record on the preview's own store, changed or not, with
// the messages, the folders and the image cursor; the user's store and what
// counts as changed stay as they were.

#include <gtest/gtest.h>

#include "config/SheetModel.h"
#include "support/TempFolder.h"

namespace {

TEST(SheetPreviewValues, TheWholeSheetGoesToTheOtherStoreAndNothingElseMoves) {
    TempFolder user, preview;
    user.write("registry.ini", "[HKEY_CURRENT_USER\\Software\\Quorvane\\Quorvane5\\Config]\n"
                               "StyleDots=-4\nImageNext=7\nMessage0=Hello\n");
    user.write("Quorvane5.ini", "[Quorvane]\nFolders=/a*/b*\n");
    const std::string registry = user.read("registry.ini");
    Settings settings(platform::ProfileStore(user.path()), "Owner");
    sheet::Model model(settings);
    const auto& pages = sheet::pages();
    ASSERT_EQ(std::string(pages[0].controls[0].key), "Speed");
    model.setValue(0, 0, 42);

    Settings target(platform::ProfileStore(preview.path()), "Owner");
    ASSERT_TRUE(model.writeAll(target));
    const Settings reread(platform::ProfileStore(preview.path()), "Someone else");
    for (size_t p = 0; p < pages.size(); ++p) {
        for (size_t i = 0; i < pages[p].controls.size(); ++i) {
            if (!pages[p].controls[i].numeric()) continue;
            EXPECT_EQ(sheet::value(reread, pages[p].controls[i]), model.value(p, i))
                << pages[p].controls[i].key;
        }
    }
    EXPECT_EQ(reread.speed(), 42);
    EXPECT_EQ(reread.styleDots(), 0) << "as the sheet shows it";
    EXPECT_EQ(reread.message(0), "Hello");
    EXPECT_EQ(reread.folders(), (std::vector<std::string>{"/a", "/b"}));
    EXPECT_EQ(reread.imageNext(), 7);

    EXPECT_EQ(user.read("registry.ini"), registry);
    EXPECT_TRUE(model.changed(0));
    for (size_t p = 1; p < pages.size(); ++p) EXPECT_FALSE(model.changed(p)) << pages[p].caption;
}

}  // namespace
