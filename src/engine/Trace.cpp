#include "engine/Trace.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {
TraceSink* gSink = nullptr;
}

void setTraceSink(TraceSink* sink) { gSink = sink; }

bool traceOn() { return gSink && gSink->traceOn(); }

std::string formatTraceLine(const char* format, va_list ap) {
    if (std::strlen(format) >= kTraceBufferSize) return "Trace string too long";
    char buffer[kTraceBufferSize];
    std::vsnprintf(buffer, sizeof buffer, format, ap);
    return buffer;
}

void trace(const char* format, ...) {
    if (!traceOn() || !format) return;
    va_list ap;
    va_start(ap, format);
    const std::string text = formatTraceLine(format, ap);
    va_end(ap);
    gSink->writeTraceLine(text);
}

void traceMade(const char* source, int line, const char* what, const char* name) {
    trace("%s line %d : %s = %s", source, line, what, name);
}
