// The user-interface calls, headless: message boxes become lines on standard error, and the
// keyboard is whatever the host says it is.
#include <stdio.h>

#include <string>

#include "call.h"
#include "host_support.h"
#include "win32_standin.h"

using standin::Call;
using standin::Text;

namespace {

struct KeyState {
    bool down = false;
    bool pressed_since_query = false;
};

KeyState keys[256];

bool valid_key(int virtual_key) { return virtual_key >= 0 && virtual_key < 256; }

}  // namespace

int MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT type) {
    const Call call("MessageBoxA", {Text{text, -1}, Text{caption, -1}, type});
    if (call.failed()) return 0;
    std::string line = "message ";
    line += caption == nullptr ? "Error" : caption;
    line += ": ";
    for (const char* c = text == nullptr ? "" : text; *c != '\0'; ++c) {
        if (*c == '\n') {
            line += "\\n";
        } else if (*c != '\r') {
            line += *c;
        }
    }
    line += '\n';
    fflush(stdout);
    fputs(line.c_str(), stderr);
    fflush(stderr);
    return IDOK;
}

SHORT GetAsyncKeyState(int virtual_key) {
    const Call call("GetAsyncKeyState", {virtual_key});
    if (call.failed() || !valid_key(virtual_key)) return 0;
    KeyState& key = keys[virtual_key];
    const unsigned state = (key.down ? 0x8000u : 0u) | (key.pressed_since_query ? 1u : 0u);
    key.pressed_since_query = false;
    return static_cast<SHORT>(state);
}

SHORT GetKeyState(int virtual_key) {
    const Call call("GetKeyState", {virtual_key});
    if (call.failed()) return 0;
    return valid_key(virtual_key) && keys[virtual_key].down ? static_cast<SHORT>(0x8000u) : 0;
}

__attribute__((visibility("default"))) void platform_reset_keyboard(void) {
    const auto lock = standin::lock_standin();
    for (KeyState& key : keys) key = KeyState{};
}

__attribute__((visibility("default"))) bool platform_set_key_down(int virtual_key, bool down) {
    if (!valid_key(virtual_key)) return false;
    const auto lock = standin::lock_standin();
    KeyState& key = keys[virtual_key];
    if (down && !key.down) key.pressed_since_query = true;
    key.down = down;
    return true;
}
