#pragma once
// The trace log: diagnostic lines that any part of the program writes, and
// that go to the log file only when tracing is on. The application installs
// the sink that decides and writes; without one every line is dropped.

#include <cstdarg>
#include <cstddef>
#include <string>

#include "platform/PrintfFormat.h"

// Where trace lines go.
class TraceSink {
public:
    virtual ~TraceSink() = default;
    virtual bool traceOn() const = 0;
    virtual void writeTraceLine(const std::string& text) = 0;
};

// Installs `sink` (nullptr: none). The sink must outlive its use here.
void setTraceSink(TraceSink* sink);
bool traceOn();

// Appends one line (printf rules), composed in a buffer of kTraceBufferSize
// characters: longer lines are cut, and a format that alone fills the buffer
// is written as "Trace string too long".
constexpr std::size_t kTraceBufferSize = 1024;
void trace(const char* format, ...) QV_PRINTF_FORMAT(1, 2);
// The text of such a line, for a sink that is called directly.
std::string formatTraceLine(const char* format, va_list ap);

// The line a factory writes when it has made a member:
// "<source> line <line> : <what> = <name>".
void traceMade(const char* source, int line, const char* what, const char* name);
