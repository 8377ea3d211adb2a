// What the gauge host needs of the platform beyond Win32 itself.
#ifndef PLATFORM_HOST_SUPPORT_H
#define PLATFORM_HOST_SUPPORT_H

// Sets the state of a virtual key as GetAsyncKeyState and GetKeyState report it to the gauges.
// Returns false where the platform's keyboard cannot be driven by a program (real Windows).
bool platform_set_key_down(int virtual_key, bool down);

// Puts every key up and forgets the presses that GetAsyncKeyState has not yet reported, so that a
// run of gauges starts with a keyboard of its own. Does nothing where the keyboard is real.
void platform_reset_keyboard(void);

#endif
