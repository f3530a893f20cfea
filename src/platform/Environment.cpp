#include "platform/Environment.h"

#include <pwd.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
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

bool makeFolders(const std::filesystem::path& path) {
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    return folderExists(path);
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
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
}

void setErrorBoxHandler(std::function<void(const std::string&, const std::string&)> handler) {
    errorBoxHandler() = std::move(handler);
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
