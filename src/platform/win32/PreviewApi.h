#pragma once
// Bridge to the settings sheet's preview (PreviewApi.cpp, the system side):
// the saver started as "<program> /p <window>" in a window of the sheet,
// reading a settings store of its own that the sheet fills with the values
// as they stand, and that store removed again when the sheet closes. See
// Api.h for the rules of bridge headers.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

namespace platform::win32 {

// The saver in the preview. The child finds its store as every program of
// ours does, through QUORVANE_CONFIG_DIR; a store on any folder but the
// user's keeps its registry values apart (ProfileStore.cpp).
class PreviewProcess {
public:
    // How long a preview may take to end after its window was asked to close.
    static constexpr uint32_t kEndMs = 2000;

    PreviewProcess() = default;
    ~PreviewProcess() { stop(); }
    PreviewProcess(const PreviewProcess&) = delete;
    PreviewProcess& operator=(const PreviewProcess&) = delete;

    // Ends the preview running, then starts `program` (empty: the program
    // running now) drawing in `window` on the store in `storeFolder`. What
    // went wrong, or empty.
    std::string start(const std::string& program, uint64_t window, const std::filesystem::path& storeFolder);
    // Asks the saver's window to close and waits for the process, answering
    // meanwhile what the saver's window sends the window it is a child of;
    // ends the process when it takes longer than kEndMs.
    void stop();
    bool running() const;

private:
    void* m_process = nullptr;
    uint64_t m_window = 0;
};

// Told of every start of a preview (tests): the command line, the store's
// folder (UTF-8) and the process.
struct PreviewStart {
    std::string commandLine;
    std::string storeFolder;
    uint32_t processId = 0;
};
void setPreviewWatcher(std::function<void(const PreviewStart&)> watcher);

// A new, empty folder for the preview's store in the user's temporary
// folder; empty with the reason in `why` when none could be made.
std::filesystem::path newPreviewFolder(std::string& why);
// Removes a store apart from the user's: its registry values and its folder.
// The user's own store is never removed (false).
bool removePreviewStore(const std::filesystem::path& folder);

}  // namespace platform::win32
