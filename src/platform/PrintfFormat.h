#pragma once
// Marks a function that formats its arguments as printf does (C99 rules:
// %zu, %lld), so that the compiler checks the calls. The C library of the
// Windows build takes those rules only through its own printf family
// (__USE_MINGW_ANSI_STDIO), which the compiler calls gnu_printf there.

#if defined(__MINGW32__)
#define QV_PRINTF_FORMAT(formatIndex, firstArgument) \
    __attribute__((format(gnu_printf, formatIndex, firstArgument)))
#else
#define QV_PRINTF_FORMAT(formatIndex, firstArgument) \
    __attribute__((format(printf, formatIndex, firstArgument)))
#endif
