// Copying memory that may turn out not to be there: the last line of defence of a module that
// copies into images owned by someone else. Only the platform knows how to survive a memory fault.
#ifndef PLATFORM_GUARDED_COPY_H
#define PLATFORM_GUARDED_COPY_H

#include <stddef.h>

// Copies `rows` rows of `row_bytes` bytes each, row r from source + r * source_pitch to
// destination + r * destination_pitch, in order. Returns false when a memory fault stopped the
// copy (the rows before the faulting one are copied), true when every row was copied.
bool guarded_copy_rows(void* destination, ptrdiff_t destination_pitch, const void* source, ptrdiff_t source_pitch,
                       size_t row_bytes, size_t rows);

// One copy of rows, as guarded_copy_rows takes them.
struct GuardedCopy {
    void* destination;
    ptrdiff_t destination_pitch;
    const void* source;
    ptrdiff_t source_pitch;
    size_t row_bytes;
    size_t rows;
};

// The copies one after another under one guard: a memory fault ends the copy it happens in and
// leaves the later ones undone. Returns false when a memory fault stopped them.
bool guarded_copy_all(const GuardedCopy* copies, size_t count);

#endif
