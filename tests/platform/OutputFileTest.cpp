// Written files replace only regular files: links are followed, special
// files refused, and a failed write leaves what was there.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>

#include <tuple>

#include "platform/OutputFile.h"
#include "platform/PngWriter.h"
#include "support/Forked.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;

namespace {

mode_t modeOf(const fs::path& p) {
    struct stat st {};
    return ::stat(p.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

bool writeText(const fs::path& path, const std::string& text) {
    platform::OutputFile out(path);
    return out.write(text) && out.commit();
}

CSurface picture(int w, int h) {
    CSurface s(w, h, 32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) s.row32(y)[x] = static_cast<uint32_t>(x * 2654435761u ^ y * 40503u);
    return s;
}

}  // namespace

TEST(OutputFile, RegularFilesAndLinksAreReplacedKeepingTheirMode) {
    TempFolder tmp;
    const fs::path file = tmp.path() / "a.txt";
    ASSERT_TRUE(writeText(file, "one"));
    EXPECT_EQ(tmp.read("a.txt"), "one");
    ::chmod(file.c_str(), 0640);
    ASSERT_TRUE(writeText(file, "two"));
    EXPECT_TRUE(tmp.read("a.txt") == "two" && modeOf(file) == 0640);
    // A link, relative and through another link, stays; its file changes.
    fs::create_directory(tmp.path() / "sub");
    fs::create_symlink("../a.txt", tmp.path() / "sub" / "link");
    fs::create_symlink("sub/link", tmp.path() / "link2");
    ASSERT_TRUE(writeText(tmp.path() / "link2", "three"));
    EXPECT_TRUE(fs::is_symlink(tmp.path() / "link2") && fs::is_symlink(tmp.path() / "sub" / "link"));
    EXPECT_TRUE(tmp.read("a.txt") == "three" && modeOf(file) == 0640);
    // A link to a name not there yet makes that file.
    fs::create_symlink("made.txt", tmp.path() / "dangling");
    ASSERT_TRUE(writeText(tmp.path() / "dangling", "four"));
    EXPECT_TRUE(fs::is_symlink(tmp.path() / "dangling") && tmp.read("made.txt") == "four");
    EXPECT_EQ(countTemporaries(tmp.path()), 0);
    // What a killed writer left is removed; a running writer's file stays.
    const pid_t dead = ::fork();
    if (dead == 0) ::_exit(0);
    ::waitpid(dead, nullptr, 0);
    tmp.write("made.txt.tmp." + std::to_string(dead), "half");
    tmp.write("made.txt.tmp." + std::to_string(::getppid()), "busy");
    ASSERT_TRUE(writeText(tmp.path() / "made.txt", "five"));
    EXPECT_FALSE(fs::exists(tmp.path() / ("made.txt.tmp." + std::to_string(dead))));
    EXPECT_TRUE(fs::exists(tmp.path() / ("made.txt.tmp." + std::to_string(::getppid()))));
}

// A FIFO, a device node, a socket, a folder and a loop of links are refused
// with a message naming what is there, and stay as they were.
TEST(OutputFile, SpecialFilesAreRefused) {
    TempFolder tmp;
    const fs::path fifo = tmp.path() / "fifo.png";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const fs::path device = tmp.path() / "full.png";
    const bool haveDevice = ::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0;  // /dev/full
    const fs::path socketPath = tmp.path() / "sock.png";
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const bool haveSocket = socketPath.string().size() < sizeof addr.sun_path;
    if (haveSocket) {
        std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", socketPath.c_str());
        ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    }
    fs::create_directory(tmp.path() / "folder.png");
    fs::create_symlink("loop2", tmp.path() / "loop1");
    fs::create_symlink("loop1", tmp.path() / "loop2");
    fs::create_symlink("fifo.png", tmp.path() / "to-fifo.png");

    for (const auto& [path, says, present] : {std::tuple{fifo, "FIFO", true},
                                              {tmp.path() / "to-fifo.png", "FIFO", true},
                                              {device, "device", haveDevice},
                                              {socketPath, "socket", haveSocket},
                                              {tmp.path() / "folder.png", "folder", true},
                                              {tmp.path() / "loop1", "links", true}}) {
        if (!present) continue;
        SCOPED_TRACE(path.string());
        const auto before = fs::symlink_status(path).type();
        std::string error;
        EXPECT_FALSE(writePng(picture(4, 4), {}, path.string(), &error));
        EXPECT_EQ(error.rfind("cannot write " + path.string() + ": ", 0), 0u) << error;
        EXPECT_NE(error.find(says), std::string::npos) << error;
        EXPECT_EQ(fs::symlink_status(path).type(), before);
    }
    ::close(sock);
    EXPECT_EQ(countTemporaries(tmp.path()), 0);
}

// In a folder this user may not write to, beyond the file size limit or on
// a full disk, the write fails with the reason and the old file stays whole.
TEST(OutputFile, ReadOnlyFolderAndFullDiskKeepTheOldFile) {
    TempFolder tmp;
    const std::string old = "old picture";
    for (const char* name : {"locked/a.png", "b.png", "disk/c.png"}) {
        fs::create_directories((tmp.path() / name).parent_path());
        tmp.write(name, old);
    }
    // 0 when the picture was refused for `reason` and `file` holds the old bytes.
    const auto refused = [&](const char* file, int size, const char* reason) {
        std::string error;
        const bool wrote = writePng(picture(size, size), {}, (tmp.path() / file).string(), &error);
        return (wrote ? 1 : 0) | (error.find(reason) == std::string::npos ? 2 : 0) |
               (tmp.read(file) != old ? 4 : 0);
    };
    ::chmod((tmp.path() / "locked").c_str(), 0555);
    ::chmod(tmp.path().c_str(), 0755);
    // Root may write anywhere; the write is tried as nobody then.
    EXPECT_EQ(runForked([&] {
                  if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) return 77;
                  return refused("locked/a.png", 4, "Permission denied");
              }),
              0);
    ::chmod((tmp.path() / "locked").c_str(), 0755);
    EXPECT_EQ(runForked([&] { return limitFileSize(1000), refused("b.png", 200, "cannot write"); }), 0);
    const int onTmpfs = runForked([&] {
        if (!mountSmallTmpfs(tmp.path() / "disk", 32 << 10)) return 77;
        tmp.write("disk/c.png", old);
        return refused("disk/c.png", 300, "cannot write") | (countTemporaries(tmp.path() / "disk") ? 8 : 0);
    });
    EXPECT_TRUE(onTmpfs == 0 || onTmpfs == 77) << onTmpfs;
    EXPECT_EQ(countTemporaries(tmp.path()) + countTemporaries(tmp.path() / "locked"), 0);
}

// The data is never more open than the file it replaces: the temporary has
// the mode of the file from its creation, and a new file stays private until
// it is complete, then gets the usual mode.
TEST(OutputFile, TemporaryIsNeverMoreOpenThanTheFile) {
    TempFolder tmp;
    const mode_t mask = ::umask(022);
    const auto temporaryMode = [&] {
        for (const auto& e : fs::directory_iterator(tmp.path()))
            if (e.path().filename().string().find(".tmp.") != std::string::npos) return modeOf(e.path());
        return mode_t{0};
    };
    tmp.write("private.ini", "secret");
    ::chmod((tmp.path() / "private.ini").c_str(), 0600);
    for (const char* name : {"private.ini", "new.png"}) {
        SCOPED_TRACE(name);
        platform::OutputFile out(tmp.path() / name);
        ASSERT_TRUE(out.write("data"));
        EXPECT_EQ(temporaryMode(), 0600u);
        ASSERT_TRUE(out.commit());
    }
    ::umask(mask);
    EXPECT_TRUE(modeOf(tmp.path() / "private.ini") == 0600 && modeOf(tmp.path() / "new.png") == 0644);
}

// The trace log appends to a regular file, never opens a FIFO (which would
// wait for a reader) and never cuts anything but a regular file.
TEST(OutputFile, LogFilesAreRegularFilesOnly) {
    TempFolder tmp;
    const fs::path log = tmp.path() / "trace.log";
    tmp.write("trace.log", "old\n");
    for (const bool truncate : {true, false}) {
        std::FILE* f = platform::openLogFile(log, truncate);
        ASSERT_NE(f, nullptr);
        std::fputs("line\n", f);
        std::fclose(f);
    }
    EXPECT_EQ(tmp.read("trace.log"), "line\nline\n");
    const fs::path fifo = tmp.path() / "fifo.log";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    EXPECT_EQ(platform::openLogFile(fifo, true), nullptr);
    EXPECT_EQ(fs::symlink_status(fifo).type(), fs::file_type::fifo);
}
