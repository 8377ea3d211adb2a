// Libraries and their resources. Reference counting is the dynamic loader's own, which counts as
// Windows does: each LoadLibraryA takes a reference, each FreeLibrary gives one back, and
// GetModuleHandleA takes none. Only handles that LoadLibraryA or GetModuleHandleA gave out are
// accepted; anything else is refused rather than handed to the loader.
#include <dlfcn.h>
#include <stdlib.h>
#include <string.h>

#include <map>
#include <set>
#include <string>

#include "call.h"
#include "counters.h"
#include "standin_resources.h"
#include "win32_standin.h"

using standin::Arg;
using standin::Call;
using standin::Counted;
using standin::Text;

namespace {

// Handles given out, with the references that LoadLibraryA took on each and that FreeLibrary has
// not given back yet.
std::map<void*, long> known_modules;

bool known(HMODULE module) { return module != nullptr && known_modules.count(module) != 0; }

// Resources that FindResourceA has found: the only ones LoadResource and SizeofResource look into.
std::set<const void*> found_resources;

// A resource name or type for the journal: its number, or its text.
Arg resource_arg(LPCSTR name) {
    if (IS_INTRESOURCE(name)) return Arg(static_cast<unsigned>(reinterpret_cast<UINT_PTR>(name)));
    return Arg(Text{name, -1});
}

// A name without an extension means that name with ".so", as Windows adds ".dll". A name without a
// folder is looked for as Windows does it, first in the program's own folder, which for gauges is
// the simulator's folder: the host runs gauges with it as the current folder. Then the library path.
std::string library_file(LPCSTR name) {
    std::string file(name);
    const size_t slash = file.find_last_of('/');
    const size_t dot = file.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        file += ".so";
    }
    if (slash == std::string::npos) {
        if (char* local = realpath(("./" + file).c_str(), nullptr)) {
            file = local;
            free(local);
        }
    }
    return file;
}

// Resource names and types are either small integers or "#1234" texts.
bool resource_number(LPCSTR name, uint32_t* number) {
    if (IS_INTRESOURCE(name)) {
        *number = static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(name));
        return true;
    }
    if (name[0] != '#' || name[1] < '0' || name[1] > '9') return false;
    char* end = nullptr;
    const unsigned long value = strtoul(name + 1, &end, 10);
    if (*end != '\0' || value > 0xFFFF) return false;
    *number = static_cast<uint32_t>(value);
    return true;
}

}  // namespace

HMODULE LoadLibraryA(LPCSTR name) {
    const Call call("LoadLibraryA", {Text{name, -1}});
    if (call.failed()) return nullptr;
    if (name == nullptr || name[0] == '\0') {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    void* handle = dlopen(library_file(name).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    ++known_modules[handle];
    standin::count_live(Counted::LibraryReference, +1);
    return handle;
}

HMODULE GetModuleHandleA(LPCSTR name) {
    const Call call("GetModuleHandleA", {Text{name, -1}});
    if (call.failed()) return nullptr;
    void* handle = dlopen(name == nullptr ? nullptr : library_file(name).c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle == nullptr) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    dlclose(handle);  // the probe's own reference
    known_modules.emplace(handle, 0);
    return handle;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR name) {
    const Call call("GetProcAddress", {name != nullptr && IS_INTRESOURCE(name) ? resource_arg(name) : Arg(Text{name, -1})});
    if (call.failed()) return nullptr;
    if (!known(module) || name == nullptr || IS_INTRESOURCE(name)) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    void* entry = dlsym(module, name);
    if (entry == nullptr) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    return reinterpret_cast<FARPROC>(entry);
}

BOOL FreeLibrary(HMODULE module) {
    const Call call("FreeLibrary");
    if (call.failed()) return FALSE;
    if (!known(module) || dlclose(module) != 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    long& references = known_modules[module];
    if (references > 0) {
        --references;
        standin::count_live(Counted::LibraryReference, -1);
    }
    // The library may be gone now; a later GetModuleHandleA finds it again if it is not.
    if (references == 0) known_modules.erase(module);
    return TRUE;
}

HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type) {
    const Call call("FindResourceA", {resource_arg(name), resource_arg(type)});
    if (call.failed()) return nullptr;
    if (module != nullptr && !known(module)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    uint32_t id = 0;
    uint32_t type_id = 0;
    if (name == nullptr || type == nullptr || !resource_number(name, &id) || !resource_number(type, &type_id)) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    void* self = module;
    if (self == nullptr) self = dlopen(nullptr, RTLD_NOW);
    const auto* directory =
        self == nullptr ? nullptr : static_cast<const StandInResourceDirectory*>(dlsym(self, STANDIN_RESOURCES_SYMBOL));
    if (module == nullptr && self != nullptr) dlclose(self);
    if (directory == nullptr) {
        SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
        return nullptr;
    }
    for (uint32_t i = 0; i < directory->count; ++i) {
        const StandInResource& entry = directory->entries[i];
        if (entry.type == type_id && entry.id == id) {
            found_resources.insert(&entry);
            return const_cast<StandInResource*>(&entry);
        }
    }
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
}

HGLOBAL LoadResource(HMODULE, HRSRC resource) {
    const Call call("LoadResource");
    if (call.failed()) return nullptr;
    if (found_resources.count(resource) == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return const_cast<unsigned char*>(static_cast<const StandInResource*>(resource)->data);
}

LPVOID LockResource(HGLOBAL loaded) {
    const Call call("LockResource");
    if (call.failed()) return nullptr;
    return loaded;
}

DWORD SizeofResource(HMODULE, HRSRC resource) {
    const Call call("SizeofResource");
    if (call.failed()) return 0;
    return found_resources.count(resource) == 0 ? 0 : static_cast<const StandInResource*>(resource)->size;
}
