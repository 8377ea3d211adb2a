// Libraries and their resources. Reference counting is the dynamic loader's own, which counts as
// Windows does: each LoadLibraryA takes a reference, each FreeLibrary gives one back, and
// GetModuleHandleA takes none.
#include <dlfcn.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "standin_resources.h"
#include "win32_standin.h"

namespace {

// A plain name without a folder or an extension is a library on the search path: "GaugeSound"
// is GaugeSound.so, as Windows would look for GaugeSound.dll.
std::string library_file(LPCSTR name) {
    std::string file(name);
    const size_t slash = file.find_last_of('/');
    const size_t dot = file.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        file += ".so";
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
    if (name == nullptr || name[0] == '\0') {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    void* handle = dlopen(library_file(name).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    return handle;
}

HMODULE GetModuleHandleA(LPCSTR name) {
    void* handle = dlopen(name == nullptr ? nullptr : library_file(name).c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle == nullptr) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    dlclose(handle);  // the probe's own reference
    return handle;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR name) {
    if (module == nullptr || name == nullptr || IS_INTRESOURCE(name)) {
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
    if (module == nullptr || dlclose(module) != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return TRUE;
}

HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type) {
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
        if (entry.type == type_id && entry.id == id) return const_cast<StandInResource*>(&entry);
    }
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
}

HGLOBAL LoadResource(HMODULE, HRSRC resource) {
    if (resource == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return const_cast<unsigned char*>(static_cast<const StandInResource*>(resource)->data);
}

LPVOID LockResource(HGLOBAL loaded) { return loaded; }

DWORD SizeofResource(HMODULE, HRSRC resource) {
    return resource == nullptr ? 0 : static_cast<const StandInResource*>(resource)->size;
}
