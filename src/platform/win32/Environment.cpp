// The shell's services on Windows: the environment in UTF-8, the registered
// owner from the registry, the help page through the shell's "open" verb and
// error boxes as message boxes.

#include "platform/Environment.h"

#include "platform/win32/SystemHeaders.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <vector>

#include "platform/win32/SystemError.h"
#include "platform/win32/Utf8.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

std::optional<std::wstring> wideEnv(const wchar_t* name) {
    const DWORD n = GetEnvironmentVariableW(name, nullptr, 0);
    if (n == 0) {
        if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
        return std::wstring();
    }
    std::wstring value(n, L'\0');
    const DWORD got = GetEnvironmentVariableW(name, value.data(), n);
    if (got >= n) return std::nullopt;  // changed meanwhile
    value.resize(got);
    return value;
}

std::optional<std::wstring> registryText(HKEY root, const wchar_t* key, const wchar_t* name) {
    DWORD type = 0, bytes = 0;
    if (RegGetValueW(root, key, name, RRF_RT_REG_SZ, &type, nullptr, &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (RegGetValueW(root, key, name, RRF_RT_REG_SZ, &type, value.data(), &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    value.resize(wcsnlen(value.c_str(), value.size()));
    return value;
}

std::function<void(const std::string&, const std::string&)>& errorBoxHandler() {
    static std::function<void(const std::string&, const std::string&)> handler;
    return handler;
}

// Standard error leads somewhere: a console, a file or a pipe. A saver the
// desktop started has none.
bool standardErrorConnected() {
    const HANDLE h = GetStdHandle(STD_ERROR_HANDLE);
    return h != nullptr && h != INVALID_HANDLE_VALUE && GetFileType(h) != FILE_TYPE_UNKNOWN;
}

}  // namespace

std::optional<std::string> getEnv(const char* name) {
    const auto value = wideEnv(win32::wideFromUtf8(name).c_str());
    if (!value) return std::nullopt;
    return win32::utf8FromWide(*value);
}

fs::path homeFolder() {
    if (auto home = wideEnv(L"USERPROFILE"); home && !home->empty()) return *home;
    wchar_t* known = nullptr;
    if (SHGetKnownFolderPath(FOLDERID_Profile, 0, nullptr, &known) == S_OK && known) {
        fs::path folder(known);
        CoTaskMemFree(known);
        return folder;
    }
    CoTaskMemFree(known);
    return ".";
}

std::string ownerFromAccount(const std::string& gecos, const std::string& login) {
    const std::string fullName = gecos.substr(0, gecos.find(','));
    return fullName.empty() ? login : fullName;
}

std::string registeredOwner() {
    // Where Windows keeps the name given at installation (the NT line).
    const auto owner = registryText(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                                    L"RegisteredOwner");
    if (owner && !owner->empty()) return win32::utf8FromWide(*owner);
    return getEnv("USERNAME").value_or("");
}

bool fileExists(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

bool folderExists(const fs::path& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

std::string notAFolder(const fs::path& path) {
    std::error_code ec;
    const auto status = fs::status(path, ec);
    const std::string shown = win32::utf8FromPath(path);
    if (fs::is_directory(status)) return "";
    if (fs::is_regular_file(status)) return shown + " is a file, not a folder";
    if (fs::exists(status)) return shown + " is not a folder";
    return "there is no folder " + shown;
}

bool makeFolder(const fs::path& path, std::string& why) {
    std::string existing = notAFolder(path);
    if (existing.empty()) return true;
    if (existing.rfind("there is no folder", 0) != 0) {
        why = existing;
        return false;
    }
    if (CreateDirectoryW(path.c_str(), nullptr)) return true;
    const DWORD error = GetLastError();
    fs::path parent = path;
    if (!parent.has_filename()) parent = parent.parent_path();
    parent = parent.parent_path();
    const std::string shown = win32::utf8FromPath(path);
    if (error == ERROR_PATH_NOT_FOUND && !parent.empty())
        why = "cannot make the folder " + shown + ": " + notAFolder(parent) +
              (folderExists(parent) ? "" : " (only the last folder of the path is made)");
    else
        why = "cannot make the folder " + shown + ": " + win32::systemMessage(error);
    return false;
}

// Windows always has its desktop.
bool displayNamed() { return true; }

bool standardErrorIsTerminal() {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

bool shellOpen(const fs::path& path) {
    // The shell may start its handler through COM; it wants the apartment
    // of a window thread.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    const auto result = reinterpret_cast<intptr_t>(
        ShellExecuteW(nullptr, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (SUCCEEDED(com)) CoUninitialize();
    return result > 32;
}

void showErrorBox(const std::string& title, const std::string& text) {
    if (errorBoxHandler()) {
        errorBoxHandler()(title, text);
        return;
    }
    // Started from a console, or with its output caught, the program says
    // it there; started by the desktop, in a message box.
    if (standardErrorConnected()) {
        std::fprintf(stderr, "quorvane: %s: %s\n", title.c_str(), text.c_str());
        std::fflush(stderr);
        return;
    }
    MessageBoxW(nullptr, win32::wideFromUtf8(text).c_str(), win32::wideFromUtf8(title).c_str(),
                MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

void setErrorBoxHandler(std::function<void(const std::string&, const std::string&)> handler) {
    errorBoxHandler() = std::move(handler);
}

std::vector<std::string> programArguments(int argc, char** argv) {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    // Without the wide command line, the narrow one is all there is.
    if (!wide) return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i) args.push_back(win32::utf8FromWide(wide[i]));
    LocalFree(wide);
    return args;
}

void execSibling(const std::string& program, int argc, char** argv) {
    // Windows cannot replace a process: the sibling runs, this process waits
    // for it and ends with its exit code.
    std::vector<wchar_t> self(32768);
    const DWORD n = GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size()));
    const std::wstring name = win32::wideFromUtf8(program);
    std::wstring file = name;
    if (n > 0 && n < self.size())
        file = (fs::path(std::wstring(self.data(), n)).parent_path() / name).native();
    // Each argument quoted as the C runtime reads it back.
    const auto quoted = [](const std::wstring& arg) {
        std::wstring out = L"\"";
        size_t slashes = 0;
        for (wchar_t c : arg) {
            if (c == L'\\') {
                ++slashes;
                continue;
            }
            out.append(c == L'"' ? 2 * slashes + 1 : slashes, L'\\');
            slashes = 0;
            out += c;
        }
        out.append(2 * slashes, L'\\');
        return out + L"\"";
    };
    std::wstring commandLine = quoted(file);
    for (int i = 1; i < argc; ++i) commandLine += L" " + quoted(win32::wideFromUtf8(argv[i]));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    for (const std::wstring& candidate : {file, name}) {
        commandLine.replace(0, commandLine.find(L'"', 1) + 1, quoted(candidate));
        if (!CreateProcessW(candidate == file ? candidate.c_str() : nullptr, commandLine.data(), nullptr,
                            nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
            continue;
        CloseHandle(process.hThread);
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD code = 1;
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hProcess);
        std::fflush(nullptr);
        ExitProcess(code);
    }
}

}  // namespace platform
