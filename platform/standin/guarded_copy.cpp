// On POSIX systems a memory fault is a SIGSEGV or SIGBUS delivered to the faulting thread. The
// guard's handler for both is installed at the first guarded copy and stays: installing it and
// restoring the one before around every copy cost four system calls a frame. It lives in the
// stand-in, which stays loaded as long as the process runs, never in a module, which may be
// unloaded with the handler still in place.
//
// A fault on a thread inside a guarded copy jumps back out of the copy. Any other fault goes on to
// the handler in place before the guard's (the process's own, or a sanitizer's) or, where there
// was none, to the default action. A handler installed later must chain to the one it replaces, as
// it must for a sanitizer's, or the guard stops catching faults.
#include "guarded_copy.h"

#include <pthread.h>
#include <setjmp.h>
#include <signal.h>
#include <string.h>

namespace {

struct sigaction earlier_segv;
struct sigaction earlier_bus;
pthread_once_t installed = PTHREAD_ONCE_INIT;

// This thread's way out of its running copy, null while it runs none. Initial-exec: the handler
// reads it without the general TLS path, which may allocate.
__thread sigjmp_buf* fault_exit __attribute__((tls_model("initial-exec")));

// Whether the signal was sent (kill, raise) rather than raised by a faulting instruction.
bool sent(const siginfo_t* info) { return info->si_code <= 0; }

void on_fault(int signal_number, siginfo_t* info, void* context) {
    if (fault_exit != nullptr && !sent(info)) siglongjmp(*fault_exit, 1);
    const struct sigaction& earlier = signal_number == SIGSEGV ? earlier_segv : earlier_bus;
    if ((earlier.sa_flags & SA_SIGINFO) != 0) {
        earlier.sa_sigaction(signal_number, info, context);
        return;
    }
    if (earlier.sa_handler == SIG_IGN && sent(info)) return;
    if (earlier.sa_handler != SIG_DFL && earlier.sa_handler != SIG_IGN) {
        earlier.sa_handler(signal_number);
        return;
    }
    // The default action, which a fault gets even when ignored: the faulting instruction runs
    // again without the guard's handler, a sent signal is sent again.
    signal(signal_number, SIG_DFL);
    if (sent(info)) raise(signal_number);
}

void install() {
    // Read before installing, so that a fault on another thread never sees the earlier handler unset.
    sigaction(SIGSEGV, nullptr, &earlier_segv);
    sigaction(SIGBUS, nullptr, &earlier_bus);
    struct sigaction guard = {};
    guard.sa_sigaction = on_fault;
    // The fault stays unblocked while the handler runs, so jumping out of it leaves the signal mask
    // as it was: sigsetjmp need not save the mask, which would cost a system call on every copy.
    // On the thread's alternate stack, where it has one, so that a sanitizer still sees a stack
    // overflow.
    guard.sa_flags = SA_SIGINFO | SA_NODEFER | SA_ONSTACK;
    sigemptyset(&guard.sa_mask);
    sigaction(SIGSEGV, &guard, nullptr);
    sigaction(SIGBUS, &guard, nullptr);
}

}  // namespace

// The modules reach the guard through the stand-in's library, whose symbols are hidden by default.
#pragma GCC visibility push(default)

bool guarded_copy_all(const GuardedCopy* copies, size_t count) {
    pthread_once(&installed, install);
    sigjmp_buf exit;
    bool copied = false;
    // Everything the fault path reads is set before sigsetjmp and not changed after it.
    fault_exit = &exit;
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
    fault_exit = nullptr;
    return copied;
}

bool guarded_copy_rows(void* destination, ptrdiff_t destination_pitch, const void* source, ptrdiff_t source_pitch,
                       size_t row_bytes, size_t rows) {
    const GuardedCopy copy = {destination, destination_pitch, source, source_pitch, row_bytes, rows};
    return guarded_copy_all(&copy, 1);
}

#pragma GCC visibility pop
