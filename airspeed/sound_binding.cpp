// The airspeed gauge's callback: it binds the outside sound library "GaugeSound" for the life of the
// gauge and refreshes the gauge's three further host variables on every update. The gauge plays no
// sound of its own; of the library's entries only "TerminateSounds" is ever called, at kill.
#include "airspeed.h"
#include "win32.h"

#define SOUND_LIBRARY "GaugeSound"

static HMODULE sound_module;
static FARPROC play_sound_entry;
static FARPROC stop_sound_entry;
static FARPROC terminate_sounds_entry;
// Whether a LoadLibraryA of this module gave it the reference that kill gives back.
static bool sound_reference_taken;

static void load_sound_module(void) {
    sound_module = LoadLibraryA(SOUND_LIBRARY);
    if (sound_module != nullptr) sound_reference_taken = true;
}

// The library as already loaded by anyone, without taking a reference; loaded only when it is not.
static void find_sound_module(void) {
    sound_module = GetModuleHandleA(SOUND_LIBRARY);
    if (sound_module == nullptr) load_sound_module();
}

static void bind_sound_entries(void) {
    if (sound_module == nullptr) {
        play_sound_entry = nullptr;
        stop_sound_entry = nullptr;
        terminate_sounds_entry = nullptr;
        return;
    }
    play_sound_entry = GetProcAddress(sound_module, "GaugePlaySound");
    stop_sound_entry = GetProcAddress(sound_module, "GaugeStopSound");
    terminate_sounds_entry = GetProcAddress(sound_module, "TerminateSounds");
}

void GAUGE_CALL airspeed_gauge_callback(GaugeHeader*, uint32_t code, uint32_t) {
    switch (code) {
        case GAUGE_SERVICE_INITIALIZE:
            if (sound_module == nullptr) load_sound_module();
            bind_sound_entries();
            break;
        case GAUGE_SERVICE_UPDATE:
            find_sound_module();
            bind_sound_entries();
            for (ModuleVar& var : airspeed_extra_vars) var_refresh(&var);
            break;
        case GAUGE_SERVICE_KILL:
            find_sound_module();
            bind_sound_entries();
            if (terminate_sounds_entry != nullptr) terminate_sounds_entry();
            if (sound_reference_taken) FreeLibrary(sound_module);
            sound_reference_taken = false;
            sound_module = nullptr;
            break;
        default:
            break;
    }
}
