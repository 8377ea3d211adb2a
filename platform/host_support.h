// What the gauge host needs of the platform beyond Win32 itself.
#ifndef PLATFORM_HOST_SUPPORT_H
#define PLATFORM_HOST_SUPPORT_H

// Sets the state of a virtual key as GetAsyncKeyState and GetKeyState report it to the gauges.
// Returns false where the platform's keyboard cannot be driven by a program (real Windows).
bool platform_set_key_down(int virtual_key, bool down);

#endif
