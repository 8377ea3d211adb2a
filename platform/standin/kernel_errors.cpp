#include "win32_standin.h"

namespace {
thread_local DWORD last_error = ERROR_SUCCESS;
}

DWORD GetLastError(void) { return last_error; }

void SetLastError(DWORD error) { last_error = error; }
