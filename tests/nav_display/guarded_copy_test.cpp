// The platform's guarded copy: rows copied as asked, and a memory fault that ends the copy instead
// of the program, on every thread that copies, while a fault anywhere else still goes to the fault
// handling the process had before.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <thread>
#include <vector>

#include "guarded_copy.h"

namespace {

TEST(GuardedCopy, CopiesRowsBetweenPitches) {
    const std::vector<unsigned char> source = {1, 2, 3, 9, 4, 5, 6, 9, 7, 8, 9, 9};
    std::vector<unsigned char> destination(15, 0);
    EXPECT_TRUE(guarded_copy_rows(destination.data(), 5, source.data(), 4, 3, 3));
    EXPECT_EQ(destination, (std::vector<unsigned char>{1, 2, 3, 0, 0, 4, 5, 6, 0, 0, 7, 8, 9, 0, 0}));
}

TEST(GuardedCopy, FaultEndsTheCopy) {
    const size_t page = 4096;
    auto* pages = static_cast<unsigned char*>(mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(pages, MAP_FAILED);
    ASSERT_EQ(mprotect(pages + page, page, PROT_READ), 0);
    const std::vector<unsigned char> source(2 * page, 0x5A);
    // Rows of 1024 bytes: four fit in the writable page, the fifth faults.
    EXPECT_FALSE(guarded_copy_rows(pages, 1024, source.data(), 1024, 1024, 8));
    EXPECT_EQ(pages[0], 0x5A);
    EXPECT_EQ(pages[page - 1], 0x5A);
    EXPECT_EQ(pages[page], 0);
    // Reading memory that may not be read faults as well.
    void* hidden = mmap(nullptr, page, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(hidden, MAP_FAILED);
    EXPECT_FALSE(guarded_copy_rows(pages, 0, hidden, 0, 16, 1));
    munmap(hidden, page);
    munmap(pages, 2 * page);
}

// The guard's handler stays installed between copies; a fault outside them must still end the
// process as it would have without the guard: by the default action, or, under AddressSanitizer,
// by its report. A handler that returned to the fault would leave the child faulting forever.
TEST(GuardedCopy, FaultOutsideACopyGoesToTheHandlingBefore) {
    const size_t page = 4096;
    auto* read_only = static_cast<unsigned char*>(mmap(nullptr, page, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(read_only, MAP_FAILED);
    constexpr int kGuardMissedTheFault = 70;
    constexpr int kOutsideFaultSurvived = 71;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const struct rlimit no_core = {0, 0};
        setrlimit(RLIMIT_CORE, &no_core);
        const unsigned char byte = 1;
        if (guarded_copy_rows(read_only, 0, &byte, 0, 1, 1)) _exit(kGuardMissedTheFault);
        *static_cast<volatile unsigned char*>(read_only) = byte;
        _exit(kOutsideFaultSurvived);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    munmap(read_only, page);
#ifdef __SANITIZE_ADDRESS__
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_NE(WEXITSTATUS(status), 0);
    EXPECT_NE(WEXITSTATUS(status), kGuardMissedTheFault);
    EXPECT_NE(WEXITSTATUS(status), kOutsideFaultSurvived);
#else
    ASSERT_TRUE(WIFSIGNALED(status)) << "exit status " << (WIFEXITED(status) ? WEXITSTATUS(status) : -1);
    EXPECT_EQ(WTERMSIG(status), SIGSEGV);
#endif
}

// Threads copy at the same time, each catching the faults of its own copies.
TEST(GuardedCopy, EveryThreadCatchesItsOwnFaults) {
    const size_t page = 4096;
    auto* read_only = static_cast<unsigned char*>(mmap(nullptr, page, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(read_only, MAP_FAILED);
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&wrong, read_only, t] {
            const std::vector<unsigned char> source(64, static_cast<unsigned char>(t + 1));
            for (int i = 0; i < 200; ++i) {
                std::vector<unsigned char> destination(64, 0);
                if (guarded_copy_rows(read_only, 0, source.data(), 0, 64, 1)) ++wrong;
                if (!guarded_copy_rows(destination.data(), 0, source.data(), 0, 64, 1) || destination != source) ++wrong;
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(wrong.load(), 0);
    EXPECT_EQ(read_only[0], 0);
    munmap(read_only, page);
}

TEST(GuardedCopy, FaultInOneOfSeveralCopiesLeavesTheLaterOnesUndone) {
    const size_t page = 4096;
    auto* read_only = static_cast<unsigned char*>(mmap(nullptr, page, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(read_only, MAP_FAILED);
    const std::vector<unsigned char> source(16, 0x5A);
    std::vector<unsigned char> before(16, 0);
    std::vector<unsigned char> after(16, 0);
    const GuardedCopy copies[] = {
        {before.data(), 0, source.data(), 0, 16, 1},
        {read_only, 0, source.data(), 0, 16, 1},
        {after.data(), 0, source.data(), 0, 16, 1},
    };
    EXPECT_FALSE(guarded_copy_all(copies, 3));
    EXPECT_EQ(before, source);
    EXPECT_EQ(after, std::vector<unsigned char>(16, 0));
    EXPECT_TRUE(guarded_copy_all(copies, 1));
    munmap(read_only, page);
}

}  // namespace
