// Settings read from the fuzzed files (see profile_store_input.h), one
// parse of each: the values, however absurd, go through the accessors, the
// chooser tables for one kind of display (the input's length picks which),
// draws from those tables, and the layout and drawing time computed from the
// settings. Writing them back is profile_store_write's part.

#include "layout/Layout.h"
#include "profile_store_input.h"
#include "scene/ChooserTables.h"
#include "styles/Saver.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Settings settings(platform::ProfileStore(settingsFilesOf(data, size)), "Fuzz Owner");
    int64_t sum = 0;
#define QV_SETTING(type, Key, get, set, def) sum += settings.get();
    QV_SETTINGS_ALL
#undef QV_SETTING
    for (int i = 0; i < Settings::kColorCount; ++i) sum += static_cast<int64_t>(settings.color(i));
    for (int i = 0; i < Settings::kMessageCount; ++i) sum += settings.message(i).size();
    for (const std::string& f : settings.folders()) sum += f.size();
    if (settings.folders().size() > Settings::kFoldersMaxChars + 1) std::abort();

    RandomSource random(static_cast<int32_t>(sum));
    settings.randomMessage(random);
    buildChooserTables(settings.choosers(), settings, {size % 2 == 0, size % 4 < 2});
    settings.perturbAll(random);
    for (int row = 1; row <= kFamilyCount; ++row) {
        const WeightedChooser& chooser = settings.choosers().chooser(static_cast<Family>(row));
        if (chooser.empty()) continue;
        const int member = chooser.choose(random);
        if (member < 0 || member >= chooser.size()) std::abort();
    }
    Layout layout;
    layout.newLayout(true, 64, 48, random, settings);
    layout.renew(false, 64, 48, random, settings);
    Saver::timeLimitMs(random.uniform(), random.uniform(), settings.minTime(), settings.maxTime(),
                       layout.coverage());
    return 0;
}
