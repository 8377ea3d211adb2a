// On POSIX systems a memory fault is a SIGSEGV or SIGBUS delivered to the faulting thread. For the
// length of the copy both are caught by a handler that jumps back out of the copy; the handlers in
// place before (the process's own, or a sanitizer's) are restored afterwards.
#include "guarded_copy.h"

#include <setjmp.h>
#include <signal.h>
#include <string.h>

namespace {

// The guard of the copy running on this thread.
thread_local sigjmp_buf* fault_exit = nullptr;

void leave_copy(int) { siglongjmp(*fault_exit, 1); }

}  // namespace

bool guarded_copy_rows(void* destination, ptrdiff_t destination_pitch, const void* source, ptrdiff_t source_pitch,
                       size_t row_bytes, size_t rows) {
    struct sigaction on_fault = {};
    on_fault.sa_handler = leave_copy;
    sigemptyset(&on_fault.sa_mask);
    struct sigaction earlier_segv;
    struct sigaction earlier_bus;
    sigjmp_buf exit;
    sigjmp_buf* const outer = fault_exit;
    // Everything the fault path reads is set before sigsetjmp and not changed after it.
    sigaction(SIGSEGV, &on_fault, &earlier_segv);
    sigaction(SIGBUS, &on_fault, &earlier_bus);
    fault_exit = &exit;
    bool copied = false;
    if (sigsetjmp(exit, 1) == 0) {
        auto* to = static_cast<unsigned char*>(destination);
        const auto* from = static_cast<const unsigned char*>(source);
        for (size_t row = 0; row < rows; ++row) {
            memcpy(to, from, row_bytes);
            to += destination_pitch;
            from += source_pitch;
        }
        copied = true;
    }
    fault_exit = outer;
    sigaction(SIGBUS, &earlier_bus, nullptr);
    sigaction(SIGSEGV, &earlier_segv, nullptr);
    return copied;
}
