// Settings read from the fuzzed files (see profile_store_input.h) and two
// groups written back: afterwards every value must read as it did (the
// messages compacted, as writing them does), whatever the files held.

#include "profile_store_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::filesystem::path& folder = settingsFilesOf(data, size);
    Settings settings(platform::ProfileStore(folder), "Fuzz Owner");
    if (!settings.writeTiming() || !settings.writeMessages()) return 0;
    const Settings again(platform::ProfileStore(folder), "Fuzz Owner");
#define QV_SETTING(type, Key, get, set, def) \
    if (again.get() != settings.get()) std::abort();
    QV_SETTINGS_ALL
#undef QV_SETTING
    for (int i = 0; i < Settings::kMessageCount; ++i)
        if (again.message(i) != settings.message(i)) std::abort();
    for (int i = 0; i < Settings::kColorCount; ++i)
        if (again.color(i) != settings.color(i)) std::abort();
    if (again.installFolder() != settings.installFolder() || again.folders() != settings.folders())
        std::abort();
    return 0;
}
