#pragma once
// A sequence of PNG pictures written on a thread of its own, so that the
// next picture is drawn while the last one is compressed. Pictures are
// written in the order given, each byte for byte as writeRgbPng writes it.

#include <array>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/PngWriter.h"

class PngQueue {
  public:
    explicit PngQueue(const PngSettings& settings);
    ~PngQueue();  // writes what is still queued
    PngQueue(const PngQueue&) = delete;
    PngQueue& operator=(const PngQueue&) = delete;

    // Takes the surface as it is now (converted into one of two buffers
    // that are reused from picture to picture) and queues it for `path`.
    // Waits while both buffers are taken.
    void add(const CSurface& surface, const std::array<uint32_t, 256>& hardware,
             const std::string& path);
    // Waits until everything queued is written.
    void finish();

    // After finish(): the files written, and why the last failure failed.
    const std::vector<std::string>& written() const { return m_written; }
    const std::string& error() const { return m_error; }

  private:
    struct Picture {
        std::vector<uint8_t> rgb;
        int width = 0;
        int height = 0;
        std::string path;
        bool queued = false;  // waiting for or being written by the thread
    };
    void run();

    const PngSettings m_settings;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::array<Picture, 2> m_pictures;
    size_t m_next = 0;   // the buffer the next picture goes into
    size_t m_queued = 0;  // pictures queued and not yet written
    bool m_stop = false;
    std::vector<std::string> m_written;
    std::string m_error;
    std::thread m_thread;
};
