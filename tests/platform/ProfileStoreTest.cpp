// The settings files: values round trip, merge between processes and are
// escaped only where needed; garbled, special, huge and shared files, stray
// NUL bytes, links, and killed writers. (A write cut by a full disk is the
// settings record's test, SettingsTest.cpp.)

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <chrono>
#include <climits>
#include <fstream>
#include <optional>
#include <random>
#include <thread>

#include "platform/ProfileStore.h"
#include "support/EnvOverride.h"
#include "support/Forked.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;
using platform::ProfileStore;
using namespace std::string_literals;

namespace {

const std::string kKey = "HKEY_CURRENT_USER\\Software\\Quorvane\\Quorvane5\\Config";
const std::string kRegistry = ProfileStore::kRegistryFile;

}  // namespace

TEST(ProfileStore, RegistryValuesRoundTripAndMergePrivateFilesApart) {
    TempFolder tmp;
    ProfileStore store(tmp.path() / "nested" / "config");
    EXPECT_TRUE(!store.readValue(kKey, "Speed") && store.readString(kKey, "Message0", "def") == "def");
    ASSERT_TRUE(store.writeValues(kKey, {{"Speed", "12"}, {"Message0", "hello world"}}));
    EXPECT_EQ(store.readInt(kKey, "SPEED", 5), 12);  // names ignore case
    // A second store on the same folder (another process) adds and replaces
    // values; what the first wrote survives, empty and multi-line values too.
    ProfileStore other(store.folder());
    ASSERT_TRUE(other.writeValues(kKey, {{"Speed", "-3"}, {"Message1", ""}, {"Message2", "one\ntwo"}}));
    ASSERT_TRUE(other.writeValues("Other\\Key", {{"Speed", "99"}}));
    EXPECT_TRUE(store.readInt(kKey, "Speed", 5) == -3 && store.readInt("Other\\Key", "Speed", 0) == 99);
    EXPECT_EQ(store.readString(kKey, "Message0", ""), "hello world");
    EXPECT_EQ(store.readValue(kKey, "Message1"), std::optional<std::string>(""));
    EXPECT_EQ(store.readString(kKey, "Message2", ""), "one\ntwo");
    // Values that the file's syntax would otherwise take apart come back exactly.
    for (const std::string& odd : {"<<<wow"s, "a\nEND_OF_TEXT\nb"s, "a\0b"s}) {
        EXPECT_TRUE(store.writeValues(kKey, {{"Speed", "1"}, {"Message3", odd}}));
        EXPECT_EQ(store.readString(kKey, "Message3", ""), odd);
    }
    EXPECT_TRUE(store.readInt(kKey, "Speed", 5) == 1 && countTemporaries(store.folder()) == 0);
    // Private files are apart from the registry file; reads are cut to the buffer size given.
    TempFolder tmp2;
    ProfileStore priv(tmp2.path());
    EXPECT_EQ(priv.readPrivate("Quorvane5.ini", "Quorvane", "Folders", "abcdef", 3), "abc");
    const std::string longValue(5000, 'x');
    ASSERT_TRUE(priv.writePrivate("Quorvane5.ini", "Quorvane", "Folders", longValue));
    EXPECT_EQ(priv.readPrivate("Quorvane5.ini", "Quorvane", "Folders", "", 4096), std::string(4096, 'x'));
    EXPECT_EQ(priv.readPrivate("Quorvane5.ini", "quorvane", "folders", "", 10000), longValue);
    EXPECT_EQ(priv.readPrivate("Quorvane5.ini", "Other", "Folders", "d", 100), "d");
    EXPECT_FALSE(priv.readValue("Quorvane", "Folders") || fs::exists(tmp2.path() / kRegistry));
}

TEST(ProfileStore, ParseIntTakesDecimalDwords) {
    // Above 2^31 a value wraps as a 32-bit DWORD does.
    for (const auto& [text, value] : {std::pair{"+7", 7},
                                      {" -7\t", -7},
                                      {"-2147483648", INT_MIN},
                                      {"2147483648", INT_MIN},
                                      {"4294967295", -1}})
        EXPECT_EQ(ProfileStore::parseInt(text), value) << text;
    for (const char* bad :
         {"", "-", "12x", "1 2", "0x10", "4294967296", "-2147483649", "123456789012345678901"})
        EXPECT_EQ(ProfileStore::parseInt(bad), std::nullopt) << '"' << bad << '"';
}

// Values are stored as they are unless the file's syntax would take them
// apart; the escaped form is read back only when it is exactly the writer's,
// so hand-written quotes and backslashes read as they stand.
TEST(ProfileStore, ValuesEscapedOnlyWhenNeeded) {
    for (const auto& [value, stored] : {std::pair{""s, ""s},
                                        {"plain text = [x] ; >>>"s, "plain text = [x] ; >>>"s},
                                        {"a\\b"s, "a\\b"s},
                                        {" a "s, "\"\\x20a\\x20\""s},
                                        {"a\nb\r\tc\x01"s, "\"a\\nb\\r\\tc\\x01\""s},
                                        {"\0"s, "\"\\x00\""s},
                                        {"<<<EOT"s, "\"<<<EOT\""s},
                                        {"x<<<"s, "\"x<<<\""s},
                                        {"\"q\" \\"s, "\"\"q\" \\\\\""s}}) {
        EXPECT_EQ(ProfileStore::encodeValue(value), stored);
        EXPECT_EQ(ProfileStore::decodeValue(stored), value);
    }
    for (const std::string& typed : {"\"quoted\""s, "\"\""s, "\"a\\q\""s, "\"\\x4\""s, "\"\\x41\""s,
                                     "\"a\\x20b\""s, "\"ends in \\\""s, "\""s, "<<< Welcome >>>"s})
        EXPECT_EQ(ProfileStore::decodeValue(typed), typed);
    std::mt19937 random(7);
    for (int i = 0; i < 3000; ++i) {
        std::string s(random() % 12, '\0');
        for (char& c : s) c = "\0\n\r\t \"\\<x\xe9\x7f"[random() % 12];
        ASSERT_EQ(ProfileStore::decodeValue(ProfileStore::encodeValue(s)), s);
    }
}

TEST(ProfileStore, DefaultFolderFollowsTheEnvironment) {
    EnvOverride config("QUORVANE_CONFIG_DIR", "/cfg/here"), xdg("XDG_CONFIG_HOME", "/xdg"),
        home("HOME", "/home/someone");
    EXPECT_EQ(ProfileStore::defaultFolder(), fs::path("/cfg/here"));
    EnvOverride emptyConfig("QUORVANE_CONFIG_DIR", "");
    EXPECT_EQ(ProfileStore::defaultFolder(), fs::path("/xdg/quorvane"));
    for (const char* noXdg : {static_cast<const char*>(nullptr), ""}) {
        EnvOverride unset("XDG_CONFIG_HOME", noXdg);
        EXPECT_EQ(ProfileStore::defaultFolder(), fs::path("/home/someone/.config/quorvane"));
    }
}

// Garbled files read as defaults and can still be written over; files that
// cannot be read, or paths that are not files, are never replaced.
TEST(ProfileStore, BadFilesAndPaths) {
    TempFolder tmp;
    ProfileStore store(tmp.path());
    const fs::path reg = tmp.path() / kRegistry;
    for (const std::string& text : {"Speed=7\n"s, "[" + kKey + "\nSpeed=7\n", "[x]\xff\xfe\x01=\n==\n[[["s}) {
        tmp.write(reg, text);
        EXPECT_EQ(store.readInt(kKey, "Speed", 5), 5);
        EXPECT_TRUE(store.writeValues(kKey, {{"MinTime", "3"}}) && store.readInt(kKey, "MinTime", 0) == 3);
    }
    // A hand-written multi-line value is no such thing: its first line is the
    // value and the keys after it still count.
    tmp.write(reg, "[" + kKey + "]\nMessage0 = <<<EOT\nEND_OF_TEXT\nSpeed = 1\nEOT\nMinTime=2\n");
    EXPECT_EQ(store.readString(kKey, "Message0", ""), "<<<EOT");
    EXPECT_TRUE(store.readInt(kKey, "Speed", 5) == 1 && store.readInt(kKey, "MinTime", 0) == 2);
    ASSERT_TRUE(store.writeValues(kKey, {{"MaxTime", "3"}}));
    EXPECT_TRUE(store.readString(kKey, "Message0", "") == "<<<EOT" && store.readInt(kKey, "Speed", 5) == 1);

    fs::create_directory(tmp.path() / "Quorvane5.ini");
    EXPECT_EQ(store.readPrivate("Quorvane5.ini", "Quorvane", "Folders", "d", 10), "d");
    EXPECT_FALSE(store.writePrivate("Quorvane5.ini", "Quorvane", "Folders", "a*"));
    tmp.write("blocked", "x");  // a folder that cannot be created
    ProfileStore blocked(tmp.path() / "blocked" / "sub");
    EXPECT_TRUE(blocked.readInt(kKey, "Speed", 5) == 5 && !blocked.writeValues(kKey, {{"Speed", "1"}}));
    EXPECT_EQ(countTemporaries(tmp.path()), 0);

    const std::string original = "[" + kKey + "]\nSpeed=9\n";
    tmp.write(reg, original);
    fs::permissions(reg, fs::perms::none);
    if (!std::ifstream(reg).is_open()) {  // permissions apply to this user
        EXPECT_TRUE(store.readInt(kKey, "Speed", 5) == 5 && !store.writeValues(kKey, {{"Speed", "1"}}));
        fs::permissions(reg, fs::perms::owner_read | fs::perms::owner_write);
        EXPECT_TRUE(tmp.read(reg) == original && countTemporaries(tmp.path()) == 0);
    }
    // A NUL byte cuts only its own line when reading; a write, which could not
    // keep the file's bytes, is refused and changes nothing.
    const std::string withNul = "[" + kKey + "]\nSpeed=7\nMessage0=ab\0cd\nMinTime=3\n[Other]\nMaxTime=4\n"s;
    tmp.write(reg, withNul);
    EXPECT_TRUE(store.readInt(kKey, "Speed", 0) == 7 && store.readString(kKey, "Message0", "") == "ab" &&
                store.readInt(kKey, "MinTime", 0) == 3 && store.readInt("Other", "MaxTime", 0) == 4);
    EXPECT_FALSE(store.writeValues(kKey, {{"Speed", "1"}}));
    EXPECT_EQ(tmp.read(reg), withNul);
}

// A FIFO, a link to an endless device, a device node and a file far beyond
// any settings file all read as the defaults at once, are reported once on
// standard error, and are never replaced. (Files just within the bound are
// read and rewritten below.)
TEST(ProfileStore, SpecialAndHugeFilesReadAsDefaultsAndStay) {
    const std::string huge = "[" + kKey + "]\nSpeed=7\nKey3=3\n" + std::string(50u << 20, ';');
    const auto makers = {
        +[](const fs::path& p, const std::string&) { return ::mkfifo(p.c_str(), 0644) == 0; },
        +[](const fs::path& p, const std::string&) { return ::symlink("/dev/zero", p.c_str()) == 0; },
        +[](const fs::path& p, const std::string&) {  // /dev/zero's numbers; needs privileges
            return ::mknod(p.c_str(), S_IFCHR | 0644, makedev(1, 5)) == 0;
        },
        +[](const fs::path& p, const std::string& text) {
            return !!(std::ofstream(p, std::ios::binary) << text);
        }};
    int kind = 0;
    for (const auto make : makers) {
        SCOPED_TRACE(kind++);
        TempFolder tmp;
        const fs::path reg = tmp.path() / kRegistry;
        if (!make(reg, huge)) continue;
        const auto before = fs::symlink_status(reg).type();
        ProfileStore store(tmp.path());
        testing::internal::CaptureStderr();
        EXPECT_TRUE(store.readInt(kKey, "Speed", 5) == 5 && store.readInt(kKey, "Key3", -1) == -1);
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find(reg.string()), std::string::npos) << said;
        EXPECT_EQ(said.find('\n'), said.size() - 1) << "one line: " << said;
        EXPECT_FALSE(store.writeValues(kKey, {{"Speed", "1"}}));
        EXPECT_TRUE(fs::symlink_status(reg).type() == before && countTemporaries(tmp.path()) == 0);
        EXPECT_TRUE(before != fs::file_type::regular || fs::file_size(reg) == huge.size());
    }
}

// Three processes write their own key 200 times each; every last value is
// there at the end. Writers killed in the middle of their work leave
// temporaries that the next write removes.
TEST(ProfileStore, ConcurrentAndKilledWritersLoseNothing) {
    TempFolder tmp;
    std::vector<pid_t> children;
    for (int w = 0; w < 3; ++w) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ProfileStore store(tmp.path());
            bool ok = true;
            for (int i = 0; i < 200; ++i)
                ok = store.writeValues(kKey, {{"Writer" + std::to_string(w), std::to_string(i)}}) && ok;
            ::_exit(ok ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (const pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    ProfileStore store(tmp.path());
    for (int w = 0; w < 3; ++w) EXPECT_EQ(store.readInt(kKey, "Writer" + std::to_string(w), -1), 199) << w;

    tmp.write(kRegistry + ".tmp.999999", "[" + kKey + "]\nSpeed=77\nMinT");  // a writer long dead
    for (int round = 0; round < 5; ++round) {
        // The writer says when its first write is complete; it is killed
        // somewhere in a later one, however slow the machine.
        int written[2];
        ASSERT_EQ(::pipe(written), 0);
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ProfileStore writer(tmp.path());
            for (int i = 0;; ++i) {
                if (writer.writeValues(kKey, {{"Message1", std::string(100000, char('a' + i % 26))}}) &&
                    i == 0) [[maybe_unused]]
                    const ssize_t n = ::write(written[1], "w", 1);
            }
        }
        ::close(written[1]);
        char byte = 0;
        ASSERT_EQ(::read(written[0], &byte, 1), 1) << "the writer never completed a write";
        ::close(written[0]);
        std::this_thread::sleep_for(std::chrono::milliseconds(3 * round));
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
    ASSERT_TRUE(store.writeValues(kKey, {{"MinTime", "8"}}));
    EXPECT_EQ(countTemporaries(tmp.path()), 0);
    EXPECT_TRUE(store.readInt(kKey, "Writer2", -1) == 199 && store.readInt(kKey, "MinTime", 0) == 8);
    EXPECT_EQ(store.readString(kKey, "Message1", "").size(), 100000u);
}

// A file written by hand as "key=value" stays so when rewritten (the other
// form adds two bytes a line), so a file the reader takes never becomes one
// it refuses; a write that would pass the limit anyway is refused with a
// message and the file stays as it was.
TEST(ProfileStore, RewritesKeepTheFilesFormAndStayWithinTheLimit) {
    TempFolder tmp;
    ProfileStore store(tmp.path());
    tmp.write(kRegistry, "[" + kKey + "]\nSpeed=7\nMinTime=3\n");
    ASSERT_TRUE(store.writeValues(kKey, {{"ImageNext", "2"}}));
    EXPECT_EQ(tmp.read(kRegistry), "[" + kKey + "]\nSpeed=7\nMinTime=3\nImageNext=2\n");
    tmp.write(kRegistry, "; mine\n[" + kKey + "]\nSpeed = 7\n");
    ASSERT_TRUE(store.writeValues(kKey, {{"ImageNext", "2"}}));
    EXPECT_NE(tmp.read(kRegistry).find("Speed = 7\nImageNext = 2\n"), std::string::npos)
        << tmp.read(kRegistry);

    std::string full = "[" + kKey + "]\n";
    for (int i = 0; full.size() < ProfileStore::kMaxFileBytes - 100; ++i)
        full += "Key" + std::to_string(i) + "=" + std::to_string(i) + "\n";
    tmp.write(kRegistry, full);
    ASSERT_TRUE(store.writeValues(kKey, {{"ImageNext", "12"}}));
    EXPECT_LE(fs::file_size(tmp.path() / kRegistry), ProfileStore::kMaxFileBytes);
    EXPECT_TRUE(ProfileStore(tmp.path()).readInt(kKey, "ImageNext", 0) == 12 &&
                ProfileStore(tmp.path()).readInt(kKey, "Key3", 0) == 3);
    const std::string before = tmp.read(kRegistry);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(store.writeValues(kKey, {{"Message0", std::string(200, 'm')}}));
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("registry.ini"), std::string::npos) << said;
    EXPECT_TRUE(tmp.read(kRegistry) == before && countTemporaries(tmp.path()) == 0);
}

// While another writer holds the settings file (a lock taken on another
// open of the lock file conflicts even within one process), a write that
// must not wait gives up at once and changes nothing.
TEST(ProfileStore, WriteThatMustNotWaitGivesUpWhileTheFileIsHeld) {
    TempFolder tmp;
    ProfileStore store(tmp.path());
    ASSERT_TRUE(store.writeValues(kKey, {{"ImageNext", "1"}}));
    const int lock = ::open((tmp.path() / (kRegistry + ".lock")).c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_TRUE(lock >= 0 && ::flock(lock, LOCK_EX) == 0);
    EXPECT_FALSE(store.tryWriteValues(kKey, {{"ImageNext", "2"}}));
    EXPECT_TRUE(store.readInt(kKey, "ImageNext", 0) == 1 && countTemporaries(tmp.path()) == 0);
    ::close(lock);
    EXPECT_TRUE(store.tryWriteValues(kKey, {{"ImageNext", "3"}}) && store.readInt(kKey, "ImageNext", 0) == 3);
}
