// The settings sheet's preview on the system side: the saver as a child
// process drawing in a window of the sheet, and the store it reads.

#include "platform/win32/PreviewApi.h"

#include "platform/win32/SystemHeaders.h"

#include <algorithm>
#include <vector>

#include "platform/win32/StoreArea.h"
#include "platform/win32/Utf8.h"

namespace platform::win32 {

namespace {

constexpr const wchar_t* kStoreVariable = L"QUORVANE_CONFIG_DIR";

std::function<void(const PreviewStart&)>& watcher() {
    static std::function<void(const PreviewStart&)> hook;
    return hook;
}

std::wstring thisProgram() {
    std::vector<wchar_t> path(32768);
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    return n > 0 && n < path.size() ? std::wstring(path.data(), n) : std::wstring();
}

bool startsWithVariable(const std::wstring& entry) {
    const size_t length = wcslen(kStoreVariable);
    return entry.size() > length && entry[length] == L'=' &&
           _wcsnicmp(entry.c_str(), kStoreVariable, length) == 0;
}

// This process's environment with the store variable naming `folder`, as
// a block for CreateProcessW: sorted without regard to case, as Windows
// keeps it.
std::vector<wchar_t> environmentFor(const std::filesystem::path& folder) {
    std::vector<std::wstring> entries;
    if (wchar_t* block = GetEnvironmentStringsW()) {
        for (const wchar_t* e = block; *e; e += wcslen(e) + 1)
            if (!startsWithVariable(e)) entries.emplace_back(e);
        FreeEnvironmentStringsW(block);
    }
    entries.push_back(std::wstring(kStoreVariable) + L"=" + folder.native());
    std::stable_sort(entries.begin(), entries.end(), [](const std::wstring& a, const std::wstring& b) {
        return _wcsicmp(a.c_str(), b.c_str()) < 0;
    });
    std::vector<wchar_t> out;
    for (const std::wstring& e : entries) out.insert(out.end(), e.c_str(), e.c_str() + e.size() + 1);
    out.push_back(L'\0');
    return out;
}

struct Children {
    DWORD process;
    std::vector<HWND> windows;
};

BOOL CALLBACK collect(HWND window, LPARAM data) {
    auto* c = reinterpret_cast<Children*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == c->process) c->windows.push_back(window);
    return TRUE;
}

}  // namespace

std::string PreviewProcess::start(const std::string& program, uint64_t window,
                                  const std::filesystem::path& storeFolder) {
    stop();
    const std::wstring file = program.empty() ? thisProgram() : wideFromUtf8(program);
    if (file.empty()) return "The saver was not found, so there is no preview.";
    // A file name holds no quote, so quoting it whole is enough.
    std::wstring line = L"\"" + file + L"\" /p " + std::to_wstring(window);
    std::vector<wchar_t> environment = environmentFor(storeFolder);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(file.c_str(), line.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                        environment.data(), nullptr, &startup, &process))
        return "The preview could not be started (error " + std::to_string(GetLastError()) + ").";
    CloseHandle(process.hThread);
    m_process = process.hProcess;
    m_window = window;
    if (watcher()) watcher()({utf8FromWide(line), utf8FromPath(storeFolder), process.dwProcessId});
    return {};
}

void PreviewProcess::stop() {
    if (!m_process) return;
    HANDLE process = m_process;
    m_process = nullptr;
    // The saver ends when its window is closed (and by itself, within a
    // moment, when the window it draws in is gone).
    Children children{GetProcessId(process), {}};
    HWND host = reinterpret_cast<HWND>(static_cast<uintptr_t>(m_window));
    if (IsWindow(host)) EnumChildWindows(host, collect, reinterpret_cast<LPARAM>(&children));
    for (HWND w : children.windows) PostMessageW(w, WM_CLOSE, 0, 0);
    // Its window, a child of ours, sends ours messages as it goes: they are
    // answered while waiting, else both would wait for each other.
    const ULONGLONG giveUp = GetTickCount64() + kEndMs;
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        const DWORD left = now < giveUp ? static_cast<DWORD>(giveUp - now) : 0;
        const DWORD r = MsgWaitForMultipleObjects(1, &process, FALSE, left, QS_SENDMESSAGE);
        if (r != WAIT_OBJECT_0 + 1) break;
        MSG m;
        PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    if (WaitForSingleObject(process, 0) != WAIT_OBJECT_0) {
        TerminateProcess(process, 1);
        WaitForSingleObject(process, kEndMs);
    }
    CloseHandle(process);
    m_window = 0;
}

bool PreviewProcess::running() const {
    return m_process && WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT;
}

void setPreviewWatcher(std::function<void(const PreviewStart&)> hook) { watcher() = std::move(hook); }

std::filesystem::path newPreviewFolder(std::string& why) {
    std::vector<wchar_t> base(MAX_PATH + 2);
    const DWORD n = GetTempPathW(static_cast<DWORD>(base.size()), base.data());
    if (n == 0 || n >= base.size()) {
        why = "there is no temporary folder";
        return {};
    }
    const std::filesystem::path temp(std::wstring(base.data(), n));
    const std::wstring stem = L"Quorvane preview " + std::to_wstring(GetCurrentProcessId()) + L"-";
    for (unsigned i = GetTickCount() % 10000, tries = 0; tries < 100; ++i, ++tries) {
        const std::filesystem::path folder = temp / (stem + std::to_wstring(i));
        if (CreateDirectoryW(folder.c_str(), nullptr)) return folder;
        if (GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    why = "no folder could be made in " + utf8FromPath(temp) + " (error " + std::to_string(GetLastError()) +
          ")";
    return {};
}

bool removePreviewStore(const std::filesystem::path& folder) {
    const std::wstring area = storeRegistryArea(folder);
    if (area.empty()) return false;
    const LSTATUS status = RegDeleteTreeW(HKEY_CURRENT_USER, area.c_str());
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    return (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) && !ec;
}

}  // namespace platform::win32
