#pragma once
// The Windows headers, as every system-side file of the Windows platform
// layer includes them: wide-character functions, no min/max macros, the
// lean set, nothing older than Windows 7. A file that includes this must not
// include our WinTypes.h or any header that includes it (docs/structure.md,
// "Windows"); it talks to our side through a bridge header (*Api.h).

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

#include <windows.h>
