// The JPEG library behind the image reader.
//
// A fatal error of the library jumps back to the decoding function (the
// library's error manager may not return). Nothing with a destructor lives
// in the frames the jump crosses, and what the jump must not lose sits in
// the job record outside them. Warnings go to the caller's trace. The
// library's memory is capped, the scans of a progressive file are counted,
// and the caller sees the scaled size from the header before anything of its
// size is allocated. A long decode polls the caller through the library's
// progress reports (and between reads of the file) and stops when it says so.
//
// The file is read through a source of our own that reads no further than a
// picture of the declared size can need: a few megabytes of markers before
// the frame header, then a generous multiple of the picture's samples. A
// file that goes on past that (a sparse file of gigabytes of zeros behind a
// JPEG marker) is refused instead of read to its end at every visit.

#include "platform/JpegDecoder.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <functional>

#include "platform/InputFile.h"

#include <jpeglib.h>
// After jpeglib.h, which it needs.
#include <jerror.h>

namespace {

// Enough for the coefficients of a progressive photograph of about 25
// million pixels; a baseline file decodes in a few rows whatever its size.
constexpr long kMemoryLimit = 80L * 1024 * 1024;
// Real encoders write ten or so scans; thousands only make decoding slow.
constexpr int kMaxScans = 100;
constexpr int kMaxScale = 8;
// The library reports progress once per row and per row of blocks read;
// every so many reports the caller is asked whether to go on.
constexpr unsigned kReportsPerPoll = 16;
// What may come before the frame header: application markers are at most
// 64 kB each, and an ICC profile spread over many of them stays well within.
constexpr uint64_t kHeaderBytes = 16u << 20;
// Compressed data of a picture takes well under a byte a sample, noise at
// the highest quality about one and a half, progressive scans a little
// more; four bytes a sample is more than any encoder writes.
constexpr uint64_t kBytesPerSample = 4;
constexpr size_t kReadBytes = 64 * 1024;

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    const std::function<void(const char*)>* trace;
};

[[noreturn]] void fail(j_common_ptr cinfo, const char* why) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    if (err->trace && *err->trace) (*err->trace)(why);
    std::longjmp(err->jump, 1);
}

[[noreturn]] void errorExit(j_common_ptr cinfo) {
    char message[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, message);
    fail(cinfo, message);
}

void outputMessage(j_common_ptr cinfo) {
    char message[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, message);
    const auto* trace = reinterpret_cast<ErrorManager*>(cinfo->err)->trace;
    if (trace && *trace) (*trace)(message);
}

// Warnings (level -1) of corrupt data are traced once per file, as the
// library itself would print them; trace messages are dropped.
void emitMessage(j_common_ptr cinfo, int level) {
    if (level >= 0) return;
    if (cinfo->err->num_warnings == 0) (*cinfo->err->output_message)(cinfo);
    ++cinfo->err->num_warnings;
}

struct ProgressMonitor {
    jpeg_progress_mgr pub;
    const std::function<bool()>* keepGoing;
    unsigned reports;
};

void progressMonitor(j_common_ptr cinfo) {
    if (!cinfo->is_decompressor) return;
    if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans)
        fail(cinfo, "too many scans");
    auto* progress = reinterpret_cast<ProgressMonitor*>(cinfo->progress);
    const bool poll = ++progress->reports % kReportsPerPoll == 0;
    if (poll && progress->keepGoing && *progress->keepGoing && !(*progress->keepGoing)())
        fail(cinfo, "stopped for input");
}

// The file as the library reads it, up to a bound.
struct BoundedSource {
    jpeg_source_mgr pub;
    std::FILE* file;
    const std::function<bool()>* keepGoing;
    uint64_t read;
    uint64_t limit;
    JOCTET buffer[kReadBytes];
};

void initSource(j_decompress_ptr) {}

boolean fillInputBuffer(j_decompress_ptr cinfo) {
    auto* src = reinterpret_cast<BoundedSource*>(cinfo->src);
    if (src->read >= src->limit)
        fail(reinterpret_cast<j_common_ptr>(cinfo), "more data than the picture needs");
    if (src->read > 0 && src->keepGoing && *src->keepGoing && !(*src->keepGoing)())
        fail(reinterpret_cast<j_common_ptr>(cinfo), "stopped for input");
    const size_t want = static_cast<size_t>(std::min<uint64_t>(kReadBytes, src->limit - src->read));
    size_t got = std::fread(src->buffer, 1, want, src->file);
    if (got == 0) {
        if (src->read == 0) fail(reinterpret_cast<j_common_ptr>(cinfo), "empty file");
        // As the library's own file source does at the end of a cut file:
        // warn and end the picture there.
        WARNMS(cinfo, JWRN_JPEG_EOF);
        src->buffer[0] = 0xFF;
        src->buffer[1] = JPEG_EOI;
        got = 2;
    } else {
        src->read += got;
    }
    src->pub.next_input_byte = src->buffer;
    src->pub.bytes_in_buffer = got;
    return TRUE;
}

void skipInputData(j_decompress_ptr cinfo, long count) {
    auto* src = reinterpret_cast<BoundedSource*>(cinfo->src);
    while (count > 0) {
        if (src->pub.bytes_in_buffer == 0) fillInputBuffer(cinfo);
        const size_t n = std::min(src->pub.bytes_in_buffer, static_cast<size_t>(count));
        src->pub.next_input_byte += n;
        src->pub.bytes_in_buffer -= n;
        count -= static_cast<long>(n);
    }
}

void termSource(j_decompress_ptr) {}

// Everything of one decode that outlives a jump.
struct JpegJob {
    jpeg_decompress_struct cinfo{};
    ErrorManager err{};
    ProgressMonitor progress{};
    BoundedSource source{};
    std::FILE* file = nullptr;
    JDIMENSION rowsRead = 0;
};

// The steps that may end in the library's jump.
bool decode(JpegJob& job, const platform::JpegRequest& request) {
    jpeg_decompress_struct& cinfo = job.cinfo;
    cinfo.err = jpeg_std_error(&job.err.pub);
    job.err.pub.error_exit = errorExit;
    job.err.pub.output_message = outputMessage;
    job.err.pub.emit_message = emitMessage;
    job.err.trace = &request.trace;
    if (setjmp(job.err.jump)) {
        // A fault after the last row (trailing junk) leaves the picture whole.
        return job.rowsRead > 0 && job.rowsRead == cinfo.output_height;
    }
    jpeg_create_decompress(&cinfo);
    cinfo.mem->max_memory_to_use = kMemoryLimit;
    job.progress.pub.progress_monitor = progressMonitor;
    job.progress.keepGoing = &request.keepGoing;
    cinfo.progress = &job.progress.pub;
    BoundedSource& source = job.source;
    source.file = job.file;
    source.keepGoing = &request.keepGoing;
    source.limit = kHeaderBytes;
    source.pub.init_source = initSource;
    source.pub.fill_input_buffer = fillInputBuffer;
    source.pub.skip_input_data = skipInputData;
    source.pub.resync_to_restart = jpeg_resync_to_restart;
    source.pub.term_source = termSource;
    cinfo.src = &source.pub;
    if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK) return false;
    // From here on the picture's size says how much more there can be, with
    // room for the tables and markers between the scans.
    source.limit = source.read + kHeaderBytes +
                   kBytesPerSample * cinfo.image_width * cinfo.image_height *
                       static_cast<uint64_t>(cinfo.num_components);
    // Grayscale, CMYK and YCCK pictures are not shown.
    if ((cinfo.jpeg_color_space != JCS_YCbCr && cinfo.jpeg_color_space != JCS_RGB) ||
        cinfo.num_components != 3)
        return false;

    // The largest of 1/1, 1/2, 1/4 and 1/8 at which the picture fits the
    // width; its height is measured against the width too.
    int denominator = 1;
    const int64_t w = cinfo.image_width, h = cinfo.image_height;
    while ((request.fitWidth < w / denominator || request.fitWidth < h / denominator) &&
           denominator < kMaxScale)
        denominator *= 2;
    cinfo.scale_num = 1;
    cinfo.scale_denom = static_cast<unsigned>(denominator);
    // Rows in the bitmap's blue, green, red order straight from the library.
    cinfo.out_color_space = JCS_EXT_BGR;
    jpeg_calc_output_dimensions(&cinfo);
    const int width = static_cast<int>(cinfo.output_width), height = static_cast<int>(cinfo.output_height);
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    uint8_t* pixels = request.rows ? request.rows(width, height, denominator, stride) : nullptr;
    if (!pixels) return false;

    jpeg_start_decompress(&cinfo);
    if (cinfo.output_components != 3) return false;
    // The first scanline is the top of the picture: the last row in memory.
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = pixels + static_cast<size_t>(cinfo.output_height - 1 - cinfo.output_scanline) * stride;
        if (jpeg_read_scanlines(&cinfo, &row, 1) != 1) break;
        job.rowsRead = cinfo.output_scanline;
    }
    return job.rowsRead == cinfo.output_height;
}

}  // namespace

namespace platform {

bool decodeJpeg(const std::string& path, const JpegRequest& request) {
    JpegJob job;
    job.file = openRegularFile(path);
    if (!job.file) return false;
    const bool whole = decode(job, request);
    // Safe on a record the library never set up: it checks for its memory.
    jpeg_destroy_decompress(&job.cinfo);
    std::fclose(job.file);
    return whole;
}

}  // namespace platform
