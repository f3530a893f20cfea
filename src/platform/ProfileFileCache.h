#pragma once
// The profile files a store has parsed (ProfileStore.h), shared by the
// store's copies: a file is parsed again only once it changed on disk, and
// while a read batch is open it is not looked at again at all. Each system's
// ProfileStore.cpp says what a parsed file is, how it is read and how a
// change is seen.

#include <functional>
#include <map>
#include <memory>
#include <mutex>

namespace platform {

template <typename Parsed, typename Key>
class ProfileFileCache {
public:
    // The file kept under `key` while a batch is open or while
    // `unchanged(kept)` holds; else what `load()` parses now, kept from now.
    template <typename Unchanged, typename Load>
    std::shared_ptr<const Parsed> get(const Key& key, Unchanged&& unchanged, Load&& load) {
        const std::lock_guard<std::mutex> lock(m_mutex);
        auto& slot = m_files[key];
        if (slot && m_batches > 0) return slot;
        if (!slot || !unchanged(*slot)) slot = load();
        return slot;
    }
    // Parsed anew at the next get(), batch or not.
    void forget(const Key& key) {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_files.erase(key);
    }
    void beginBatch() {
        const std::lock_guard<std::mutex> lock(m_mutex);
        ++m_batches;
    }
    void endBatch() {
        const std::lock_guard<std::mutex> lock(m_mutex);
        --m_batches;
    }

private:
    std::mutex m_mutex;
    std::map<Key, std::shared_ptr<const Parsed>, std::less<>> m_files;
    int m_batches = 0;
};

}  // namespace platform
