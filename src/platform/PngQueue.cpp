#include "platform/PngQueue.h"

#include <algorithm>

PngQueue::PngQueue(const PngSettings& settings, int writers)
    : m_settings(settings), m_pictures(static_cast<size_t>(std::max(writers, 1)) + 1) {
    for (int i = 0; i < std::max(writers, 1); ++i) m_threads.emplace_back([this] { run(); });
}

PngQueue::~PngQueue() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    for (std::thread& t : m_threads) t.join();
}

void PngQueue::add(const CSurface& surface, const std::array<uint32_t, 256>& hardware,
                   const std::string& path) {
    std::unique_lock lock(m_mutex);
    Picture& p = m_pictures[m_next];
    m_changed.wait(lock, [&p] { return !p.taken; });
    lock.unlock();
    // Writers only touch pictures that are taken: this one is ours.
    surfaceToRgb(surface, hardware, p.rgb);
    p.width = surface.width();
    p.height = surface.height();
    p.path = path;
    lock.lock();
    p.number = m_count++;
    p.taken = true;
    ++m_busy;
    m_queue.push_back(m_next);
    m_next = (m_next + 1) % m_pictures.size();
    lock.unlock();
    m_changed.notify_all();
}

void PngQueue::finish() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_busy == 0; });
    std::sort(m_results.begin(), m_results.end(),
              [](const Result& a, const Result& b) { return a.number < b.number; });
    for (Result& r : m_results) {
        if (r.error.empty())
            m_written.push_back(std::move(r.path));
        else
            m_error = std::move(r.error);
    }
    m_results.clear();
}

const std::vector<std::string>& PngQueue::written() {
    finish();
    return m_written;
}

const std::string& PngQueue::error() {
    finish();
    return m_error;
}

void PngQueue::run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return !m_queue.empty() || m_stop; });
        if (m_queue.empty()) return;  // stopped with nothing left
        Picture& p = m_pictures[m_queue.front()];
        m_queue.pop_front();
        lock.unlock();
        std::string why;
        const bool ok = writeRgbPng(p.rgb.data(), p.width, p.height, m_settings, p.path, &why);
        lock.lock();
        m_results.push_back({p.number, ok ? p.path : std::string(), ok ? std::string() : why});
        p.taken = false;
        --m_busy;
        m_changed.notify_all();
    }
}
