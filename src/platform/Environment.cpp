#include "platform/Environment.h"

#include <pwd.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

extern char** environ;

namespace platform {

std::optional<std::string> getEnv(const char* name) {
    const char* v = std::getenv(name);
    if (!v) return std::nullopt;
    return std::string(v);
}

std::filesystem::path homeFolder() {
    if (auto home = getEnv("HOME"); home && !home->empty()) return *home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return ".";
}

std::string ownerFromAccount(const std::string& gecos, const std::string& login) {
    const std::string fullName = gecos.substr(0, gecos.find(','));
    return fullName.empty() ? login : fullName;
}

std::string registeredOwner() {
    const passwd* pw = ::getpwuid(::getuid());
    if (!pw) return getEnv("USER").value_or("");
    return ownerFromAccount(pw->pw_gecos ? pw->pw_gecos : "", pw->pw_name ? pw->pw_name : "");
}

bool fileExists(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

bool folderExists(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::is_directory(path, ec);
}

std::string notAFolder(const std::filesystem::path& path) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (std::filesystem::is_directory(status)) return "";
    if (std::filesystem::is_regular_file(status)) return path.string() + " is a file, not a folder";
    if (std::filesystem::exists(status)) return path.string() + " is not a folder";
    return "there is no folder " + path.string();
}

bool makeFolder(const std::filesystem::path& path, std::string& why) {
    std::string existing = notAFolder(path);
    if (existing.empty()) return true;
    if (existing.rfind("there is no folder", 0) != 0) {
        why = existing;
        return false;
    }
    if (::mkdir(path.c_str(), 0777) == 0) return true;
    const int error = errno;
    // "a/b/" names the folder b, whose parent is a.
    std::filesystem::path parent = path;
    if (!parent.has_filename()) parent = parent.parent_path();
    parent = parent.parent_path();
    if (error == ENOENT && !parent.empty())
        why = "cannot make the folder " + path.string() + ": there is no folder " + parent.string() +
              " (only the last folder of the path is made)";
    else if (error == ENOTDIR && !parent.empty())
        why = "cannot make the folder " + path.string() + ": " + notAFolder(parent);
    else
        why = "cannot make the folder " + path.string() + ": " + std::strerror(error);
    return false;
}

bool displayNamed() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"})
        if (!getEnv(name).value_or("").empty()) return true;
    return false;
}

bool standardErrorIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

bool shellOpen(const std::filesystem::path& path) {
    const std::string file = path.string();
    char* argv[] = {const_cast<char*>("xdg-open"), const_cast<char*>(file.c_str()), nullptr};
    pid_t pid = 0;
    if (::posix_spawnp(&pid, "xdg-open", nullptr, nullptr, argv, environ) != 0) return false;
    // xdg-open returns once the viewer has been handed the file.
    int status = 0;
    if (::waitpid(pid, &status, 0) < 0) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

namespace {
std::function<void(const std::string&, const std::string&)>& errorBoxHandler() {
    static std::function<void(const std::string&, const std::string&)> handler;
    return handler;
}
}  // namespace

void showErrorBox(const std::string& title, const std::string& text) {
    if (errorBoxHandler()) {
        errorBoxHandler()(title, text);
        return;
    }
    std::fprintf(stderr, "quorvane: %s: %s\n", title.c_str(), text.c_str());
}

void setErrorBoxHandler(std::function<void(const std::string&, const std::string&)> handler) {
    errorBoxHandler() = std::move(handler);
}

std::vector<std::string> programArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

void execSibling(const std::string& program, int argc, char** argv) {
    std::vector<char*> args;
    args.push_back(const_cast<char*>(program.c_str()));
    for (int i = 1; i < argc; ++i) args.push_back(argv[i]);
    args.push_back(nullptr);
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        const std::string sibling = (self.parent_path() / program).string();
        ::execv(sibling.c_str(), args.data());
    }
    ::execvp(program.c_str(), args.data());
}

}  // namespace platform
