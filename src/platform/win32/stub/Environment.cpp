// Stand-in for the Windows environment services until the system's version
// exists: the portable parts through the standard library; the owner is
// unknown, the help page cannot be opened and no other program is started.

#include "platform/Environment.h"

#include <cstdio>
#include <cstdlib>

namespace platform {

std::optional<std::string> getEnv(const char* name) {
    const char* v = std::getenv(name);
    if (!v) return std::nullopt;
    return std::string(v);
}

std::filesystem::path homeFolder() {
    for (const char* name : {"USERPROFILE", "HOME"})
        if (auto v = getEnv(name); v && !v->empty()) return *v;
    return ".";
}

std::string ownerFromAccount(const std::string& gecos, const std::string& login) {
    const std::string fullName = gecos.substr(0, gecos.find(','));
    return fullName.empty() ? login : fullName;
}

std::string registeredOwner() { return getEnv("USERNAME").value_or(""); }

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
    std::error_code ec;
    if (existing.rfind("there is no folder", 0) == 0 && std::filesystem::create_directory(path, ec))
        return true;
    why = ec ? "cannot make the folder " + path.string() + ": " + ec.message() : existing;
    return false;
}

// Windows always has its desktop.
bool displayNamed() { return true; }

bool standardErrorIsTerminal() { return false; }

bool shellOpen(const std::filesystem::path&) { return false; }

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

void execSibling(const std::string&, int, char**) {}

}  // namespace platform
