#pragma once
// A sequence of PNG pictures written on threads of their own, so that the
// next pictures are drawn while the last ones are compressed. Each picture
// is written byte for byte as writeRgbPng writes it, whichever thread
// writes it.

#include <array>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/PngWriter.h"

class PngQueue {
public:
    // Two writers: compression takes far longer than drawing a frame, and
    // on two cores two pictures compressed at once take half the time.
    static constexpr int kWriters = 2;

    explicit PngQueue(const PngSettings& settings, int writers = kWriters);
    ~PngQueue();  // writes what is still queued
    PngQueue(const PngQueue&) = delete;
    PngQueue& operator=(const PngQueue&) = delete;

    // Takes the surface as it is now (converted into one of the buffers,
    // which are reused from picture to picture) and queues it for `path`.
    // Waits while every buffer is taken.
    void add(const CSurface& surface, const std::array<uint32_t, 256>& hardware, const std::string& path);
    // Waits until everything queued is written.
    void finish();

    // After finish(): the files written, in the order they were queued, and
    // why the last failure (in that order) failed.
    const std::vector<std::string>& written();
    const std::string& error();

private:
    struct Picture {
        std::vector<uint8_t> rgb;
        int width = 0;
        int height = 0;
        std::string path;
        uint64_t number = 0;  // in the order queued
        bool taken = false;   // queued or being written
    };
    struct Result {
        uint64_t number;
        std::string path;
        std::string error;  // empty: written
    };
    void run();

    const PngSettings m_settings;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<Picture> m_pictures;  // one more than there are writers
    std::deque<size_t> m_queue;       // pictures waiting for a writer, oldest first
    size_t m_next = 0;                // the buffer the next picture goes into
    size_t m_busy = 0;                // pictures taken and not yet written
    uint64_t m_count = 0;
    bool m_stop = false;
    std::vector<Result> m_results;
    std::vector<std::string> m_written;
    std::string m_error;
    std::vector<std::thread> m_threads;
};
