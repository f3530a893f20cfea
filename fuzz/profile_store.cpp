// The settings files as the program finds them: the input is registry.ini,
// then, after the first form feed, Quorvane5.ini. The settings record reads
// every value from them (one parse of each file) and writes one group back,
// which must leave every value as it was; the values, however absurd, then
// go through the accessors, the chooser tables for one kind of display (the
// input's length picks which), draws from those tables, and the layout and
// drawing time computed from the settings. The files live in memory
// (/dev/shm) where there is one, so that syncing them costs nothing.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/Settings.h"
#include "engine/Saver.h"
#include "layout/Layout.h"
#include "support/TempFolder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const TempFolder folder = [] {
        std::error_code ec;
        if (std::filesystem::is_directory("/dev/shm", ec)) ::setenv("TMPDIR", "/dev/shm", 1);
        return TempFolder();
    }();
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t split = input.find('\f');
    folder.write(platform::ProfileStore::kRegistryFile, input.substr(0, split));
    folder.write(Settings::kIniFile, split == std::string::npos ? "" : input.substr(split + 1));

    Settings settings(platform::ProfileStore(folder.path()), "Fuzz Owner");
    int64_t sum = 0;
#define QV_SETTING(type, Key, get, set, def) sum += settings.get();
    QV_SETTINGS_ALL
#undef QV_SETTING
    for (int i = 0; i < Settings::kColorCount; ++i) sum += static_cast<int64_t>(settings.color(i));
    for (int i = 0; i < Settings::kMessageCount; ++i) sum += settings.message(i).size();
    for (const std::string& f : settings.folders()) sum += f.size();
    if (settings.folders().size() > Settings::kFoldersMaxChars + 1) std::abort();

    // Writing groups back must keep every value as it was read (the
    // messages compacted, as writing them does).
    if (settings.writeTiming() && settings.writeMessages()) {
        const Settings again(platform::ProfileStore(folder.path()), "Fuzz Owner");
#define QV_SETTING(type, Key, get, set, def) \
    if (again.get() != settings.get()) std::abort();
        QV_SETTINGS_ALL
#undef QV_SETTING
        for (int i = 0; i < Settings::kMessageCount; ++i)
            if (again.message(i) != settings.message(i)) std::abort();
        for (int i = 0; i < Settings::kColorCount; ++i)
            if (again.color(i) != settings.color(i)) std::abort();
        if (again.installFolder() != settings.installFolder()) std::abort();
    }

    RandomSource random(static_cast<int32_t>(sum));
    settings.randomMessage(random);
    settings.buildTables({size % 2 == 0, size % 4 < 2});
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
