// The settings on Windows: every setting through the registry and back with
// its registry type, hostile text, values of the wrong type, stores kept
// apart, and the image folders' profile file beside other writers.
#ifdef _WIN32

#include <gtest/gtest.h>

#include "platform/win32/SystemHeaders.h"

#include <fstream>
#include <thread>
#include <type_traits>

#include "engine/Settings.h"
#include "platform/ProfileStore.h"
#include "platform/win32/StoreArea.h"
#include "platform/win32/Utf8.h"
#include "support/EnvOverride.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;
using platform::ProfileStore;
using namespace std::string_literals;

namespace {

const std::string kKey = Settings::kConfigKey;

// The registry key holding a store's settings, made by a write through it.
std::wstring storeKey(ProfileStore& store) {
    EXPECT_TRUE(store.writeValues(kKey, {{"Marker", "1"}}));
    return platform::win32::storeRegistryArea(store.folder()) + L"\\Software\\Quorvane\\Quorvane5\\Config";
}

DWORD typeOf(const std::wstring& key, const wchar_t* name) {
    DWORD type = REG_NONE;
    if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_ANY, &type, nullptr, nullptr) !=
        ERROR_SUCCESS)
        return REG_NONE;
    return type;
}

void setRaw(const std::wstring& key, const wchar_t* name, DWORD type, const void* data, DWORD bytes) {
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name, type, data, bytes), ERROR_SUCCESS);
}

}  // namespace

TEST(WindowsProfileStore, EverySettingRoundTripsWithItsRegistryType) {
    TempFolder tmp;
    ProfileStore store(tmp.path());
    Settings written(store, "Somebody Long");
    // Every numeric setting a value of its own, none the default.
    int next = 1000;
#define QV_SETTING(type, Key, get, set, def) \
    written.set(static_cast<type>(std::is_same_v<type, bool> ? !def : ++next));
    QV_SETTINGS_ALL
#undef QV_SETTING
    written.setMaxTime(written.minTime() + 1);
    std::string every1252;
    for (int c = 0; c < 256; ++c) every1252 += static_cast<char>(c);
    const std::string hostile[] = {"<<<END",
                                   "\"quoted\"",
                                   "line\r\nbreaks\n",
                                   std::string(10240, 'x'),
                                   every1252,
                                   " edge spaces ",
                                   "back\\slash\\x41",
                                   "42",
                                   "",
                                   "=[section]=",
                                   "trace",
                                   "\t"};
    for (int i = 0; i < Settings::kMessageCount; ++i) written.setMessage(i, hostile[i]);
    for (int i = 0; i < Settings::kColorCount; ++i) written.setColor(i, static_cast<float>(-7 * i - 1));
    written.setInstallFolder("C:\\Program Files\\Quorvan\xC3\xA9\\");  // UTF-8, as file names are
    written.setFolders({"C:\\Pictures", "D:\\Caf\xC3\xA9 photos", ""});
    ASSERT_TRUE(written.writeTiming() && written.writeAnimation() && written.writeStyles() &&
                written.writeText() && written.writeImages() && written.writeLayout() &&
                written.writeOutline() && written.writeColors() && written.writeImageNext());
    ASSERT_TRUE(written.writeMessages());
    ASSERT_TRUE(store.writeValues(kKey, {{"InstallFolder", written.installFolder()}}));

    const Settings read(ProfileStore(tmp.path()), "Somebody Long");
#define QV_SETTING(type, Key, get, set, def) EXPECT_EQ(read.get(), written.get()) << #Key;
    QV_SETTINGS_ALL
#undef QV_SETTING
    for (int i = 0; i < Settings::kMessageCount; ++i) EXPECT_EQ(read.message(i), written.message(i)) << i;
    EXPECT_EQ(read.message(11), "") << "compacted: the empty message went to the end";
    for (int i = 0; i < Settings::kColorCount; ++i) EXPECT_EQ(read.color(i), written.color(i)) << i;
    EXPECT_EQ(read.installFolder(), written.installFolder());
    EXPECT_EQ(read.folders(), written.folders());
    EXPECT_TRUE(read.traceRequested());

    const std::wstring key = storeKey(store);
    ASSERT_FALSE(key.empty());
    // "42" stays text; the folders are in the profile file of the store's folder, not in the registry.
    for (const auto& [name, type] : {std::pair{L"Speed", REG_DWORD},
                                     {L"Color3", REG_DWORD},
                                     {L"UseAnimation", REG_DWORD},
                                     {L"Message6", REG_SZ},
                                     {L"InstallFolder", REG_SZ},
                                     {L"Folders", REG_NONE}})
        EXPECT_EQ(typeOf(key, name), static_cast<DWORD>(type)) << platform::win32::utf8FromWide(name);
    EXPECT_NE(tmp.read("Quorvane5.ini").find("[Quorvane]\r\nFolders="), std::string::npos);
}

TEST(WindowsProfileStore, ValuesOfTheWrongTypeReadAsTheirDefaults) {
    TempFolder tmp;
    ProfileStore store(tmp.path());
    const std::wstring key = storeKey(store);
    ASSERT_FALSE(key.empty());
    const std::wstring twelve = L"12";
    setRaw(key, L"Speed", REG_SZ, twelve.c_str(), 6);  // a number as text
    const DWORD seven = 7;
    setRaw(key, L"Message0", REG_DWORD, &seven, 4);  // text as a number
    setRaw(key, L"MinTime", REG_BINARY, &seven, 4);  // the right bytes, the wrong type
    const uint64_t wide = 9;
    setRaw(key, L"MaxTime", REG_QWORD, &wide, 8);
    const DWORD all = 0xFFFFFFFF;
    setRaw(key, L"Animation", REG_DWORD, &all, 4);    // a DWORD above 2^31 wraps
    setRaw(key, L"StyleDots", REG_DWORD, &seven, 2);  // too short for a DWORD
    setRaw(key, L"Message1", REG_EXPAND_SZ, twelve.c_str(), 6);
    const wchar_t unterminated[] = {L'a', L'b'};
    setRaw(key, L"Message2", REG_SZ, unterminated, 4);  // no terminating NUL
    const Settings s(ProfileStore(tmp.path()), "Somebody Long");
    EXPECT_EQ(s.speed(), 5);
    EXPECT_EQ(s.message(0), "Somebody Long");
    EXPECT_EQ(s.minTime(), 10);
    EXPECT_EQ(s.maxTime(), 75);
    EXPECT_EQ(s.animation(), -1);
    EXPECT_EQ(s.styleDots(), 5);
    EXPECT_EQ(s.message(1), "Quorvane Screensaver");
    EXPECT_EQ(s.message(2), "ab");
    // Reading changed nothing; writing puts the right type back.
    EXPECT_EQ(typeOf(key, L"Speed"), static_cast<DWORD>(REG_SZ));
    ASSERT_TRUE(store.writeValues(kKey, {{"Speed", "12"}}));
    EXPECT_EQ(typeOf(key, L"Speed"), static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(store.readInt(kKey, "speed", 5), 12) << "names ignore case";
    EXPECT_FALSE(store.readValue(kKey, "Speed")) << "a number is not text";
}

TEST(WindowsProfileStore, StoresOnOtherFoldersKeepApartFromTheUsers) {
    TempFolder a, b;
    ProfileStore first(a.path()), second(b.path() / "nested");
    ASSERT_TRUE(first.writeValues(kKey, {{"Speed", "21"}}));
    EXPECT_EQ(second.readInt(kKey, "Speed", 5), 5);
    EXPECT_EQ(ProfileStore(a.path() / "." / "").readInt(kKey, "Speed", 5), 21) << "the same folder";
    EXPECT_NE(storeKey(first), storeKey(second));

    // The default folder is "Quorvane" in the roaming application data, and
    // its store is the user's registry key itself.
    const EnvOverride unset("QUORVANE_CONFIG_DIR", nullptr);
    const fs::path folder = ProfileStore::defaultFolder();
    EXPECT_EQ(folder.filename(), fs::path(L"Quorvane"));
    EXPECT_EQ(_wcsicmp(folder.parent_path().filename().c_str(), L"Roaming"), 0) << folder;
    ProfileStore user(folder);
    ASSERT_TRUE(user.writeValues(kKey, {{"TextChar", "33"}}));
    DWORD value = 0, bytes = sizeof value;
    EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Software\\Quorvane\\Quorvane5\\Config", L"TextChar",
                           RRF_RT_REG_DWORD, nullptr, &value, &bytes),
              ERROR_SUCCESS);
    EXPECT_EQ(value, 33u);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\Quorvane\\Quorvane5\\Config", L"TextChar");
    const EnvOverride set("QUORVANE_CONFIG_DIR", a.path());
    EXPECT_EQ(ProfileStore::defaultFolder(), a.path());
}

TEST(WindowsProfileStore, ProfileFileKeepsOthersLinesAndWritersValues) {
    TempFolder tmp;
    tmp.write("Quorvane5.ini", "; the user's note\r\n[Other]\r\nKey = kept\r\n[quorvane]\r\nOld=1\r\n");
    ProfileStore store(tmp.path());
    EXPECT_EQ(store.readPrivate("Quorvane5.ini", "Quorvane", "Old", "", 10), "1") << "sections ignore case";
    // Writers in parallel (each a store of its own, as another process
    // would be) each add their key, named by its number; none is lost.
    std::vector<std::thread> writers;
    for (int w = 0; w < 4; ++w)
        writers.emplace_back([&, w] {
            ProfileStore own(tmp.path());
            for (int i = 0; i < 10; ++i)
                EXPECT_TRUE(
                    own.writePrivate("Quorvane5.ini", "Quorvane", std::to_string(w), std::to_string(i)));
        });
    for (auto& t : writers) t.join();
    for (int w = 0; w < 4; ++w)
        EXPECT_EQ(store.readPrivate("Quorvane5.ini", "Quorvane", std::to_string(w), "", 10), "9");
    const std::string text = tmp.read("Quorvane5.ini");
    EXPECT_EQ(text.rfind("; the user's note\r\n[Other]\r\nKey = kept\r\n", 0), 0u) << text;
    for (const std::string& odd : {"<<<x"s, "a\nb"s, " pad "s, "\"q\""s, std::string(5000, 'y')}) {
        ASSERT_TRUE(store.writePrivate("Quorvane5.ini", "Quorvane", "Folders", odd));
        EXPECT_EQ(store.readPrivate("Quorvane5.ini", "Quorvane", "Folders", "", 10000), odd);
    }
    for (const auto& e : fs::directory_iterator(tmp.path())) {
        const std::wstring name = e.path().filename().native();
        EXPECT_TRUE(name == L"Quorvane5.ini" || name == L"Quorvane5.ini.lock") << e.path();
    }
}

TEST(WindowsProfileStore, ProfileFilesThatCannotBeReadStayAndGiveDefaults) {
    TempFolder tmp;
    ProfileStore store(tmp.path());
    // A folder where the file should be.
    fs::create_directory(tmp.path() / "Quorvane5.ini");
    EXPECT_EQ(store.readPrivate("Quorvane5.ini", "Quorvane", "Folders", "def", 100), "def");
    EXPECT_FALSE(store.writePrivate("Quorvane5.ini", "Quorvane", "Folders", "x"));
    EXPECT_TRUE(fs::is_directory(tmp.path() / "Quorvane5.ini"));
    // A NUL byte: read up to it, never replaced (what follows would be lost).
    const std::string withNul = "[Quorvane]\r\nFolders=C:\\a*\r\nX=1\0junk\r\nY=2\r\n"s;
    tmp.write("Other.ini", withNul);
    EXPECT_EQ(store.readPrivate("Other.ini", "Quorvane", "Y", "", 10), "2");
    EXPECT_EQ(store.readPrivate("Other.ini", "Quorvane", "X", "", 10), "1");
    EXPECT_FALSE(store.writePrivate("Other.ini", "Quorvane", "Folders", "D:\\b*"));
    EXPECT_EQ(tmp.read("Other.ini"), withNul);
    // Too large to be a settings file.
    tmp.write("Huge.ini", "[Quorvane]\r\nFolders=x\r\n" + std::string(ProfileStore::kMaxFileBytes, ';'));
    EXPECT_EQ(store.readPrivate("Huge.ini", "Quorvane", "Folders", "def", 100), "def");
}

#endif  // _WIN32
