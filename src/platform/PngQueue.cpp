#include "platform/PngQueue.h"

PngQueue::PngQueue(const PngSettings& settings)
    : m_settings(settings), m_thread([this] { run(); }) {}

PngQueue::~PngQueue() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void PngQueue::add(const CSurface& surface, const std::array<uint32_t, 256>& hardware,
                   const std::string& path) {
    std::unique_lock lock(m_mutex);
    Picture& p = m_pictures[m_next];
    m_changed.wait(lock, [&p] { return !p.queued; });
    lock.unlock();
    // The thread only touches buffers that are queued: this one is ours.
    surfaceToRgb(surface, hardware, p.rgb);
    p.width = surface.width();
    p.height = surface.height();
    p.path = path;
    lock.lock();
    p.queued = true;
    ++m_queued;
    m_next = (m_next + 1) % m_pictures.size();
    lock.unlock();
    m_changed.notify_all();
}

void PngQueue::finish() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_queued == 0; });
}

void PngQueue::run() {
    size_t current = 0;  // pictures are taken in the order they were added
    std::unique_lock lock(m_mutex);
    for (;;) {
        Picture& p = m_pictures[current];
        m_changed.wait(lock, [&] { return p.queued || m_stop; });
        if (!p.queued) return;  // stopped with nothing left
        lock.unlock();
        std::string why;
        const bool ok = writeRgbPng(p.rgb.data(), p.width, p.height, m_settings, p.path, &why);
        lock.lock();
        if (ok)
            m_written.push_back(p.path);
        else
            m_error = why;
        p.queued = false;
        --m_queued;
        current = (current + 1) % m_pictures.size();
        m_changed.notify_all();
    }
}
