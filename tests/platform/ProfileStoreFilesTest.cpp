// The settings files under hostile conditions: special and huge files, several
// writers at once, writers killed or out of disk space, stray NUL bytes and
// symbolic links.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "platform/ProfileStore.h"
#include "support/Forked.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;
using platform::ProfileStore;

namespace {

const std::string kKey = "HKEY_CURRENT_USER\\Software\\Quorvane\\Quorvane5\\Config";
const std::string kRegistry = ProfileStore::kRegistryFile;

int countTemporaries(const fs::path& folder) {
    int n = 0;
    for (const auto& e : fs::directory_iterator(folder))
        n += e.path().filename().string().find(".tmp.") != std::string::npos;
    return n;
}

}  // namespace

// A FIFO, a link to an endless device, a device node and a file far beyond
// any settings file all read as the defaults at once, are reported once on
// standard error, and are never replaced.
TEST(ProfileStoreFiles, SpecialAndHugeFilesReadAsDefaultsAndStay) {
    // 50 MB of keys.
    std::string keys;
    for (int i = 0; keys.size() < 1u << 20; ++i) keys += "Key" + std::to_string(i) + "=" + std::to_string(i) + "\n";
    std::string huge = "[" + kKey + "]\nSpeed=7\n";
    while (huge.size() < 50u << 20) huge += keys;
    const auto makers = {
        +[](const fs::path& p, const std::string&) { return ::mkfifo(p.c_str(), 0644) == 0; },
        +[](const fs::path& p, const std::string&) { return ::symlink("/dev/zero", p.c_str()) == 0; },
        +[](const fs::path& p, const std::string&) {
            return ::mknod(p.c_str(), S_IFCHR | 0644, makedev(1, 5)) == 0;  // /dev/zero's numbers
        },
        +[](const fs::path& p, const std::string& text) {
            std::ofstream(p, std::ios::binary) << text;
            return true;
        }};
    int kind = 0;
    for (const auto make : makers) {
        SCOPED_TRACE(kind++);
        TempFolder tmp;
        const fs::path reg = tmp.path() / kRegistry;
        if (!make(reg, huge)) continue;  // device nodes need privileges
        const auto before = fs::symlink_status(reg).type();
        ProfileStore store(tmp.path());
        testing::internal::CaptureStderr();
        EXPECT_EQ(store.readInt(kKey, "Speed", 5), 5);
        EXPECT_EQ(store.readInt(kKey, "Key3", -1), -1);
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find(reg.string()), std::string::npos) << said;
        EXPECT_EQ(said.find('\n'), said.size() - 1) << "one line: " << said;
        EXPECT_FALSE(store.writeValues(kKey, {{"Speed", "1"}}));
        EXPECT_EQ(fs::symlink_status(reg).type(), before);
        EXPECT_EQ(countTemporaries(tmp.path()), 0);
        if (before == fs::file_type::regular) {
            EXPECT_EQ(fs::file_size(reg), huge.size());
        }
    }
    // Just within the bound, every key is found.
    std::string large = "[" + kKey + "]\n";
    for (int i = 0; large.size() < ProfileStore::kMaxFileBytes - 30; ++i)
        large += "Key" + std::to_string(i) + "=" + std::to_string(i) + "\n";
    large += "Speed=7\n";
    TempFolder tmp;
    tmp.write(kRegistry, large);
    ProfileStore store(tmp.path());
    EXPECT_TRUE(store.readInt(kKey, "Speed", 5) == 7 && store.readInt(kKey, "Key3", -1) == 3);
}

// Three processes write their own key 200 times each; every last value is
// there at the end.
TEST(ProfileStoreFiles, ConcurrentWritersLoseNothing) {
    TempFolder tmp;
    constexpr int kWrites = 200;
    std::vector<pid_t> children;
    for (int w = 0; w < 3; ++w) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ProfileStore store(tmp.path());
            int failed = 0;
            for (int i = 0; i < kWrites; ++i)
                failed += !store.writeValues(kKey, {{"Writer" + std::to_string(w), std::to_string(i)}});
            ::_exit(failed ? 1 : 0);
        }
        children.push_back(pid);
    }
    for (const pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    ProfileStore store(tmp.path());
    for (int w = 0; w < 3; ++w) EXPECT_EQ(store.readInt(kKey, "Writer" + std::to_string(w), -1), kWrites - 1) << w;
    EXPECT_EQ(countTemporaries(tmp.path()), 0);
}

// A NUL byte cuts only its own line when reading; a write, which could not
// keep the file's bytes, is refused and changes nothing.
TEST(ProfileStoreFiles, StrayNulByteLosesNothing) {
    TempFolder tmp;
    using namespace std::string_literals;
    const std::string withNul =
        "[" + kKey + "]\nSpeed=7\nMessage0=ab\0cd\nMinTime=3\n[Other]\nMaxTime=4\n"s;
    ASSERT_NE(withNul.find('\0'), std::string::npos);
    tmp.write(kRegistry, withNul);
    ProfileStore store(tmp.path());
    EXPECT_TRUE(store.readInt(kKey, "Speed", 0) == 7 && store.readString(kKey, "Message0", "") == "ab" &&
                store.readInt(kKey, "MinTime", 0) == 3 && store.readInt("Other", "MaxTime", 0) == 4);
    EXPECT_FALSE(store.writeValues(kKey, {{"Speed", "1"}}));
    EXPECT_EQ(tmp.read(kRegistry), withNul);
}

// Writers killed in the middle of their work leave temporaries that the next
// write removes.
TEST(ProfileStoreFiles, KilledWritersLeaveNoTemporaryBehind) {
    TempFolder tmp;
    ProfileStore store(tmp.path());
    ASSERT_TRUE(store.writeValues(kKey, {{"Speed", "4"}}));
    tmp.write(kRegistry + ".tmp.999999", "[" + kKey + "]\nSpeed=77\nMinT");  // a writer long dead
    for (int round = 0; round < 5; ++round) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ProfileStore writer(tmp.path());
            for (int i = 0;; ++i) writer.writeValues(kKey, {{"Message1", std::string(100000, char('a' + i % 26))}});
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20 + 7 * round));
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
    ASSERT_TRUE(store.writeValues(kKey, {{"MinTime", "8"}}));
    EXPECT_EQ(countTemporaries(tmp.path()), 0);
    EXPECT_TRUE(store.readInt(kKey, "Speed", 5) == 4 && store.readInt(kKey, "MinTime", 0) == 8);
    EXPECT_EQ(store.readString(kKey, "Message1", "").size(), 100000u);
}

// A settings file that is a link to a file elsewhere stays a link; the file
// it names is replaced and keeps its mode and owner.
TEST(ProfileStoreFiles, SymlinkedFileStaysALinkWithItsModeAndOwner) {
    TempFolder tmp;
    fs::create_directories(tmp.path() / "dotfiles");
    fs::create_directories(tmp.path() / "config");
    const fs::path real = tmp.path() / "dotfiles" / "registry.ini";
    std::ofstream(real) << "[" << kKey << "]\nSpeed=3\n";
    ::chmod(real.c_str(), 0644);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(real.c_str(), 4321, 4322), 0);
    }
    fs::create_symlink("../dotfiles/registry.ini", tmp.path() / "config" / kRegistry);
    ProfileStore store(tmp.path() / "config");
    ASSERT_TRUE(store.writeValues(kKey, {{"MinTime", "9"}}));
    EXPECT_TRUE(fs::is_symlink(tmp.path() / "config" / kRegistry));
    struct stat st {};
    ASSERT_EQ(::stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);
    if (root) {
        EXPECT_TRUE(st.st_uid == 4321 && st.st_gid == 4322);
    }
    EXPECT_TRUE(store.readInt(kKey, "Speed", 0) == 3 && store.readInt(kKey, "MinTime", 0) == 9);
    EXPECT_EQ(countTemporaries(tmp.path() / "dotfiles") + countTemporaries(tmp.path() / "config"), 0);
}

// Out of disk space, a write says it failed and the old file stays whole: on
// a small full tmpfs where mounting one is allowed, and always with the file
// size limit standing in for the full disk.
TEST(ProfileStoreFiles, FullDiskKeepsTheOldFile) {
    TempFolder tmp;
    const fs::path disk = tmp.path() / "disk";
    fs::create_directory(disk);
    const std::string old = "[" + kKey + "]\nSpeed=3\nMinTime=4\n";
    const std::string big(60000, 'x');
    const int onTmpfs = runForked([&] {
        if (!mountSmallTmpfs(disk, 64 << 10)) return 77;
        std::ofstream(disk / kRegistry) << old;
        std::ofstream fill(disk / "fill", std::ios::binary);
        for (int i = 0; i < 1000 && fill; ++i) fill << std::string(1024, 'f') << std::flush;
        ProfileStore store(disk);
        const bool wrote = store.writeValues(kKey, {{"Message0", big}});
        std::ifstream in(disk / kRegistry);
        const std::string now{std::istreambuf_iterator<char>(in), {}};
        return (wrote ? 1 : 0) | (now != old ? 2 : 0) | (countTemporaries(disk) ? 4 : 0);
    });
    EXPECT_TRUE(onTmpfs == 0 || onTmpfs == 77) << onTmpfs;
    tmp.write(kRegistry, old);
    const int limited = runForked([&] {
        limitFileSize(4096);
        ProfileStore store(tmp.path());
        return store.writeValues(kKey, {{"Message0", big}}) ? 1 : 0;
    });
    EXPECT_EQ(limited, 0);
    EXPECT_EQ(tmp.read(kRegistry), old);
    EXPECT_EQ(countTemporaries(tmp.path()), 0);
}
