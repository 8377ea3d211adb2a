// The one header through which modules and the gauge host reach Win32: the system's own headers on
// Windows, the project's stand-in elsewhere.
#ifndef PLATFORM_WIN32_H
#define PLATFORM_WIN32_H

#if defined(_WIN32)
#include <windows.h>
#include <ddraw.h>
#define PATH_SEPARATOR "\\"
#else
#include "standin/win32_standin.h"
#define PATH_SEPARATOR "/"
#endif

#endif
