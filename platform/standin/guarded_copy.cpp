// On POSIX systems a memory fault is a SIGSEGV or SIGBUS delivered to the faulting thread. For the
// length of the copy both are caught by a handler that jumps back out of the copy; the handlers in
// place before (the process's own, or a sanitizer's) are restored afterwards.
//
// Handlers belong to the process, so one guarded copy runs at a time. The guard's state is plain
// process data rather than thread-local: a module that holds thread-local data cannot always be
// unloaded cleanly, and gauge modules are loaded and unloaded again and again.
#include "guarded_copy.h"

#include <pthread.h>
#include <setjmp.h>
#include <signal.h>
#include <string.h>

namespace {

pthread_mutex_t one_copy_at_a_time = PTHREAD_MUTEX_INITIALIZER;
sigjmp_buf* fault_exit;  // the running copy's way out, null while none runs
pthread_t copying_thread;

// A fault on any other thread gets the default action when its instruction runs again.
void leave_copy(int signal_number) {
    if (fault_exit == nullptr || !pthread_equal(pthread_self(), copying_thread)) {
        signal(signal_number, SIG_DFL);
        return;
    }
    siglongjmp(*fault_exit, 1);
}

// Whether any copy has a byte to copy: the guard costs four system calls.
bool any_bytes(const GuardedCopy* copies, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        if (copies[i].rows != 0 && copies[i].row_bytes != 0) return true;
    }
    return false;
}

}  // namespace

bool guarded_copy_all(const GuardedCopy* copies, size_t count) {
    if (!any_bytes(copies, count)) return true;
    pthread_mutex_lock(&one_copy_at_a_time);
    struct sigaction on_fault = {};
    on_fault.sa_handler = leave_copy;
    // The fault stays unblocked while the handler runs, so jumping out of it leaves the signal mask
    // as it was: sigsetjmp need not save the mask, which would cost a system call on every copy.
    on_fault.sa_flags = SA_NODEFER;
    sigemptyset(&on_fault.sa_mask);
    struct sigaction earlier_segv;
    struct sigaction earlier_bus;
    sigjmp_buf exit;
    // Everything the fault path reads is set before sigsetjmp and not changed after it.
    copying_thread = pthread_self();
    fault_exit = &exit;
    sigaction(SIGSEGV, &on_fault, &earlier_segv);
    sigaction(SIGBUS, &on_fault, &earlier_bus);
    bool copied = false;
    if (sigsetjmp(exit, 0) == 0) {
        for (size_t i = 0; i < count; ++i) {
            const GuardedCopy& copy = copies[i];
            auto* to = static_cast<unsigned char*>(copy.destination);
            const auto* from = static_cast<const unsigned char*>(copy.source);
            for (size_t row = 0; row < copy.rows; ++row) {
                memcpy(to, from, copy.row_bytes);
                to += copy.destination_pitch;
                from += copy.source_pitch;
            }
        }
        copied = true;
    }
    sigaction(SIGBUS, &earlier_bus, nullptr);
    sigaction(SIGSEGV, &earlier_segv, nullptr);
    fault_exit = nullptr;
    pthread_mutex_unlock(&one_copy_at_a_time);
    return copied;
}

bool guarded_copy_rows(void* destination, ptrdiff_t destination_pitch, const void* source, ptrdiff_t source_pitch,
                       size_t row_bytes, size_t rows) {
    const GuardedCopy copy = {destination, destination_pitch, source, source_pitch, row_bytes, rows};
    return guarded_copy_all(&copy, 1);
}
