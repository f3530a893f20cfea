#pragma once
// <windows.h> as the system side of the Windows platform files includes it:
// wide-character functions, no min/max macros, Windows 10 declarations.
// Never included by a file that includes our WinTypes.h (their names clash).

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0A00
#endif
#include <windows.h>
