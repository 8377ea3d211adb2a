// The platform's guarded copy: rows copied as asked, and a memory fault that ends the copy instead
// of the program, with the process's own fault handling back in place afterwards.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/mman.h>

#include <vector>

#include "guarded_copy.h"

namespace {

TEST(GuardedCopy, CopiesRowsBetweenPitches) {
    const std::vector<unsigned char> source = {1, 2, 3, 9, 4, 5, 6, 9, 7, 8, 9, 9};
    std::vector<unsigned char> destination(15, 0);
    EXPECT_TRUE(guarded_copy_rows(destination.data(), 5, source.data(), 4, 3, 3));
    EXPECT_EQ(destination, (std::vector<unsigned char>{1, 2, 3, 0, 0, 4, 5, 6, 0, 0, 7, 8, 9, 0, 0}));
}

TEST(GuardedCopy, FaultEndsTheCopyAndLeavesTheHandlersAsTheyWere) {
    struct sigaction before_segv, before_bus;
    sigaction(SIGSEGV, nullptr, &before_segv);
    sigaction(SIGBUS, nullptr, &before_bus);
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
    struct sigaction after_segv, after_bus;
    sigaction(SIGSEGV, nullptr, &after_segv);
    sigaction(SIGBUS, nullptr, &after_bus);
    EXPECT_EQ(after_segv.sa_handler, before_segv.sa_handler);
    EXPECT_EQ(after_bus.sa_handler, before_bus.sa_handler);
    munmap(pages, 2 * page);
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
