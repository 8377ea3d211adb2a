// On Windows a memory fault is a structured exception, which MinGW's gcc cannot catch (it has no
// __try). Each row is therefore checked before it is copied: IsBadReadPtr and IsBadWritePtr probe
// the ranges under the system's own exception handling and say whether touching them would fault.
// Unlike a vectored exception handler (Windows XP and later) they exist on every Windows that the
// simulators run on, and the copy never jumps across frames. The check and the copy are not one
// step, but the images belong to the panel, which does not change them while a gauge runs.
#include "guarded_copy.h"

#include <string.h>

#include "win32.h"

bool guarded_copy_rows(void* destination, ptrdiff_t destination_pitch, const void* source, ptrdiff_t source_pitch,
                       size_t row_bytes, size_t rows) {
    auto* to = static_cast<unsigned char*>(destination);
    const auto* from = static_cast<const unsigned char*>(source);
    for (size_t row = 0; row < rows; ++row) {
        if (IsBadReadPtr(from, row_bytes) || IsBadWritePtr(to, row_bytes)) return false;
        memcpy(to, from, row_bytes);
        to += destination_pitch;
        from += source_pitch;
    }
    return true;
}

bool guarded_copy_all(const GuardedCopy* copies, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        const GuardedCopy& copy = copies[i];
        if (!guarded_copy_rows(copy.destination, copy.destination_pitch, copy.source, copy.source_pitch, copy.row_bytes,
                               copy.rows)) {
            return false;
        }
    }
    return true;
}
