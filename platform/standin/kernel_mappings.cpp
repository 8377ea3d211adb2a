// Named file mappings on POSIX shared memory, visible to every process of the machine.
//
// Windows destroys a mapping when its last handle and its last view are gone; shared memory lives
// until it is unlinked. Each object therefore starts with a small header that counts the handles
// and views of all processes, and the last one to go unlinks the name (a process that ends without
// closing its handles leaves the name behind in /dev/shm). The environment variable
// WIN32_STANDIN_PREFIX, when set, prefixes every name so that parallel test runs never meet.
#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "call.h"
#include "counters.h"
#include "win32_standin.h"

using standin::Call;
using standin::Counted;
using standin::LiveCount;
using standin::Text;

namespace {

struct SharedHeader {
    std::atomic<uint32_t> users;  // handles and views, all processes together
    uint32_t size;
};
constexpr size_t kHeaderBytes = 64;
static_assert(sizeof(SharedHeader) <= kHeaderBytes, "header");

struct Mapping {
    std::string shm_name;
    int fd;
    size_t size;
    LiveCount<Counted::FileMapping> live;
};

struct View {
    void* base;
    size_t length;
    std::string shm_name;
    LiveCount<Counted::FileView> live;
};

std::set<Mapping*> mappings;
std::map<const void*, std::unique_ptr<View>> views;

std::string shm_name_for(LPCSTR name) {
    std::string result = "/";
    if (const char* prefix = getenv("WIN32_STANDIN_PREFIX")) result += prefix;
    result += name;
    for (size_t i = 1; i < result.size(); ++i) {
        if (result[i] == '/' || result[i] == '\\') result[i] = '_';
    }
    return result;
}

SharedHeader* map_header(int fd) {
    void* base = mmap(nullptr, kHeaderBytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    return base == MAP_FAILED ? nullptr : static_cast<SharedHeader*>(base);
}

// Adds delta to the object's user count; the last user unlinks its name.
void count_user(int fd, const std::string& shm_name, int delta) {
    SharedHeader* header = map_header(fd);
    if (header == nullptr) return;
    const uint32_t users = header->users.fetch_add(static_cast<uint32_t>(delta)) + static_cast<uint32_t>(delta);
    munmap(header, kHeaderBytes);
    if (users == 0) shm_unlink(shm_name.c_str());
}

Mapping* open_mapping(const std::string& shm_name, int fd) {
    SharedHeader* header = map_header(fd);
    if (header == nullptr) {
        close(fd);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    const size_t size = header->size;
    header->users.fetch_add(1);
    munmap(header, kHeaderBytes);
    auto* mapping = new Mapping{shm_name, fd, size, {}};
    mappings.insert(mapping);
    return mapping;
}

}  // namespace

HANDLE CreateFileMappingA(HANDLE file, LPSECURITY_ATTRIBUTES, DWORD protect, DWORD size_high, DWORD size_low,
                          LPCSTR name) {
    const Call call("CreateFileMappingA", {protect, size_high, size_low, Text{name, -1}});
    if (call.failed()) return nullptr;
    // Only mappings backed by the page file, and only named ones, are offered here.
    if (file != INVALID_HANDLE_VALUE || size_high != 0 || size_low == 0 || name == nullptr || name[0] == '\0') {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const std::string shm_name = shm_name_for(name);
    int fd = shm_open(shm_name.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
    if (fd >= 0) {
        if (ftruncate(fd, static_cast<off_t>(kHeaderBytes + size_low)) != 0) {
            close(fd);
            shm_unlink(shm_name.c_str());
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
        if (SharedHeader* header = map_header(fd)) {
            header->size = size_low;
            munmap(header, kHeaderBytes);
        }
        Mapping* mapping = open_mapping(shm_name, fd);
        if (mapping != nullptr) SetLastError(ERROR_SUCCESS);
        return mapping;
    }
    if (errno != EEXIST || (fd = shm_open(shm_name.c_str(), O_RDWR, 0600)) < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    Mapping* mapping = open_mapping(shm_name, fd);
    if (mapping != nullptr) SetLastError(ERROR_ALREADY_EXISTS);
    return mapping;
}

HANDLE OpenFileMappingA(DWORD access, BOOL inherit, LPCSTR name) {
    const Call call("OpenFileMappingA", {access, inherit, Text{name, -1}});
    if (call.failed()) return nullptr;
    if (name == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const std::string shm_name = shm_name_for(name);
    const int fd = shm_open(shm_name.c_str(), O_RDWR, 0600);
    if (fd < 0) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    return open_mapping(shm_name, fd);
}

LPVOID MapViewOfFile(HANDLE handle, DWORD access, DWORD offset_high, DWORD offset_low, SIZE_T bytes) {
    const Call call("MapViewOfFile", {access, offset_high, offset_low, bytes});
    if (call.failed()) return nullptr;
    auto* mapping = static_cast<Mapping*>(handle);
    if (mappings.count(mapping) == 0 || offset_high != 0 || offset_low != 0 || bytes > mapping->size) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const size_t length = kHeaderBytes + mapping->size;
    void* base = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_SHARED, mapping->fd, 0);
    if (base == MAP_FAILED) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    count_user(mapping->fd, mapping->shm_name, +1);
    void* view = static_cast<char*>(base) + kHeaderBytes;
    views[view] = std::unique_ptr<View>(new View{base, length, mapping->shm_name, {}});
    return view;
}

BOOL UnmapViewOfFile(LPCVOID address) {
    const Call call("UnmapViewOfFile");
    if (call.failed()) return FALSE;
    const auto found = views.find(address);
    if (found == views.end()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const View& view = *found->second;
    auto* header = static_cast<SharedHeader*>(view.base);
    const uint32_t users = header->users.fetch_sub(1) - 1;
    munmap(view.base, view.length);
    if (users == 0) shm_unlink(view.shm_name.c_str());
    views.erase(found);
    return TRUE;
}

BOOL CloseHandle(HANDLE handle) {
    const Call call("CloseHandle");
    if (call.failed()) return FALSE;
    auto* mapping = static_cast<Mapping*>(handle);
    if (mappings.erase(mapping) == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    count_user(mapping->fd, mapping->shm_name, -1);
    close(mapping->fd);
    delete mapping;
    return TRUE;
}
