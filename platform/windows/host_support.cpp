#include "host_support.h"

// On Windows the gauges read the real keyboard; the host does not fake key presses there.
bool platform_set_key_down(int, bool) { return false; }

void platform_reset_keyboard(void) {}
